// The decoder's messages: commands (codes 1-63) to the player thread and
// notifications (64-113) back, the record that carries them, and their two serial
// forms: window messages (wParam, lParam) and packed byte blocks.
#pragma once

#include <windows.h>

#include <stdarg.h>

enum DecoderMessageCode {
    kMsgExit = 1, kMsgPing, kMsgPlay, kMsgPause, kMsgStop, kMsgSeek, kMsgInputOpen, kMsgInputClose,
    kMsgInputSendMessage, kMsgInputFilterRegister, kMsgInputFilterUnregister, kMsgInputFiltersList,
    kMsgInputModuleRegister, kMsgInputModuleQuery, kMsgInputModulesList, kMsgOutputOpen, kMsgOutputClose,
    kMsgOutputSendMessage, kMsgOutputMute, kMsgOutputUnmute, kMsgOutputReset, kMsgOutputDrain,
    kMsgOutputFilterRegister, kMsgOutputFilterUnregister, kMsgOutputFiltersList, kMsgOutputModuleRegister,
    kMsgOutputModuleQuery, kMsgOutputModulesList, kMsgSetPlayerMode, kMsgGetPlayerMode,
    kMsgSetEnvironmentInteger, kMsgGetEnvironmentInteger, kMsgSetEnvironmentString, kMsgGetEnvironmentString,
    kMsgUnsetEnvironment, kMsgSetInputName, kMsgGetInputName, kMsgSetInputModule, kMsgGetInputModule,
    kMsgSetInputPositionRange, kMsgGetInputPositionRange, kMsgSetInputTimecodeGranularity,
    kMsgGetInputTimecodeGranularity, kMsgSetOutputName, kMsgGetOutputName, kMsgSetOutputModule,
    kMsgGetOutputModule, kMsgSetOutputVolume, kMsgGetOutputVolume, kMsgSetOutputChannels,
    kMsgGetOutputChannels, kMsgSetOutputPorts, kMsgGetOutputPorts, kMsgSetOutputFeedbackRate,
    kMsgGetOutputFeedbackRate, kMsgSetCodecQuality, kMsgGetCodecQuality, kMsgSetCodecEqualizer,
    kMsgGetCodecEqualizer, kMsgSetNotificationMask, kMsgGetNotificationMask, kMsgSetDebugLevel,
    kMsgGetDebugLevel,
    kMsgReady = 64, kMsgAck, kMsgNack, kMsgPong, kMsgExited, kMsgPlayerState, kMsgPlayerMode,
    kMsgEnvironmentInteger, kMsgEnvironmentString, kMsgInputState, kMsgInputName, kMsgInputCaps,
    kMsgInputPosition, kMsgInputPositionRange, kMsgInputTimecode, kMsgInputTimecodeGranularity,
    kMsgInputDuration, kMsgInputStreamInfo, kMsgInputModule, kMsgInputModuleInfo, kMsgInputDeviceInfo,
    kMsgInputFilterInfo, kMsgOutputState, kMsgOutputName, kMsgOutputCaps, kMsgOutputVolumeTriple,
    kMsgOutputBalance, kMsgOutputPcmLevel, kMsgOutputMasterLevel, kMsgOutputChannels, kMsgOutputPorts,
    kMsgOutputFeedbackRate, kMsgOutputModule, kMsgOutputModuleInfo, kMsgOutputDeviceInfo,
    kMsgOutputFilterInfo, kMsgCodecQuality, kMsgCodecEqualizer, kMsgNotificationMask, kMsgDebugLevel,
    kMsgModuleEvent, kMsgDebugReport, kMsgErrorReport, kMsgOutputFeedback, kMsgReserved108,
    kMsgReserved112 = 112, kMsgReserved113,
};

const int kFirstCommand = 1;
const int kLastCommand = 63;
const int kLastMessageCode = 113;
// Window messages carry the code above this base.
const UINT kDecoderMessageBase = 0x9000;
const int kMaxMessageFields = 5;
const int kEqualizerBytes = 64;

// One argument: a number (byte, short or long), a text, or a blob.
struct DecoderField {
    int value;
    const char* text;
    const unsigned char* bytes;
    int length;
};

// The fields in the order a sender passes the arguments. Texts and blobs point into
// memory of the sender, or of the thread that received the message.
struct DecoderMessage {
    int code; // 0: the record could not be built
    DecoderField fields[kMaxMessageFields];
};

// The fields' letters in argument order ("b", "s", "l", "c", "B"), or null for a
// code that has none (89, 109-111 and codes outside 1-113).
const char* DecoderMessageFormat(int code);
// Fills the record from a send call's arguments; code 0 when the code cannot be sent.
// A blob is passed as length and pointer, except the equalizer's (pointer alone).
void BuildDecoderMessage(DecoderMessage* message, int code, va_list arguments);
// The window-message form: 0, kErrOutOfMemory, or 1 when the code has no such form
// (nothing to post). The receiver of heap copies frees them with FreeMessageParams.
int EncodeWindowMessage(const DecoderMessage* message, WPARAM* wParam, LPARAM* lParam);
// Fills the record from a received message, copying texts and blobs into area (size
// bytes, its last byte always NUL) and freeing the heap copies.
void DecodeWindowMessage(DecoderMessage* message, UINT number, WPARAM wParam, LPARAM lParam, char* area,
                         int size);

// The byte-stream form: bytes used; 0 for a code without format; minus the bytes
// needed when size is too small (nothing written).
int PackDecoderMessage(const DecoderMessage* message, unsigned char* buffer, int size);
// 0, kErrInvalidMessage for a code that cannot be unpacked, kErrInternal for a
// damaged block. Texts and blobs point into the block.
int UnpackDecoderMessage(DecoderMessage* message, const unsigned char* block, int size);
