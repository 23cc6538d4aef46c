// The decoder object: an input module, the decoding engine and an output module,
// each module behind its chain of filters, with the decoder's environment and the
// three reports through which modules and the decoder speak to the player.
#pragma once

#include "mp3/decoder/DecoderEnvironment.h"
#include "mp3/decoder/DecoderModules.h"
#include "mp3/decoder/MpegEngine.h"

// Reports of the decoder and its modules (module id first); the player turns them
// into notifications.
typedef void (*DecoderEventReport)(void* context, int module, int code, int value, const char* text);
typedef void (*DecoderDebugReport)(void* context, int module, int level, const char* message,
                                   const char* detail);
typedef void (*DecoderErrorReport)(void* context, int module, int code, const char* message,
                                   const char* detail);

struct DecoderTimecode {
    int hours;
    int minutes;
    int seconds;
    int hundredths;
};

// Format-change flags of the PCM record.
const int kPcmSampleSizeChanged = 1;
const int kPcmChannelsChanged = 2;
const int kPcmRateChanged = 4;

// Bytes of one decoded frame: 1152 samples of two 16-bit channels.
const int kDecoderFrameBytes = 4608;

// The decoder's two sides: its input and its output, each with its modules.
enum DecoderSide { kInputSide, kOutputSide };

struct DecoderPart {
    int open;
    int capabilities;
    void* instance;
    DecoderModuleRecord* module; // that made the instance
    char* name;
};

struct Decoder {
    DecoderPart input;
    unsigned bytesRead;
    unsigned size;      // bytes, 0 unknown
    double duration;    // seconds

    DecoderPart output;

    int inputModuleCount;
    int outputModuleCount;
    DecoderModuleRecord* inputModules;  // newest first
    DecoderModuleRecord* outputModules;
    InputFilterNode* inputChain;        // ends with its last node
    OutputFilterNode* outputChain;

    // Status.
    unsigned frames;
    double fraction;
    int infoChanged;
    MpegStreamInfo info;
    DecoderTimecode timecode;
    double playedTime;  // seconds the timecode shows, since the open or the last seek

    // PCM record.
    int formatChanges;
    unsigned char* pcm;
    int pcmBytes;
    int bytesPerSample;
    int channelsFlag; // 0 mono, 1 stereo, -1 before the first frame
    int rate;         // 0 before the first frame
    int delay;        // microseconds

    void* reportContext;
    DecoderEventReport eventReport;
    DecoderDebugReport debugReport;
    DecoderErrorReport errorReport;

    MpegEngine* engine;
    unsigned char* seekTable; // 100 entries, or none
    short* internalPcm;
    MpegDecodeOptions options;
    float* equalizer[2];      // 32 gains for each channel, or none

    DecoderVariable* variables; // newest first
    DecoderWatcher* watchers;
};

int CreateDecoder(Decoder** decoder);
void DestroyDecoder(Decoder* decoder);

// Module ids: file input 0, network input 1; file output 0, waveform output 1.
int RegisterBuiltinInputModules(Decoder* decoder);
int RegisterBuiltinOutputModules(Decoder* decoder);
// Both return the new module's id or an error.
int AddInputModule(Decoder* decoder, const InputModuleDescriptor* descriptor);
int AddOutputModule(Decoder* decoder, const OutputModuleDescriptor* descriptor);
int QueryInputModule(Decoder* decoder, int id, DecoderModuleInfo* info, int flags);
int QueryOutputModule(Decoder* decoder, int id, DecoderModuleInfo* info, int flags);

// module -1 chooses by name.
int SelectInput(Decoder* decoder, const char* name, int module);
void ReleaseInput(Decoder* decoder);
int OpenInput(Decoder* decoder);
int CloseInput(Decoder* decoder);
int SeekInput(Decoder* decoder, unsigned offset);
int SeekInputFraction(Decoder* decoder, double fraction);
int SeekInputTime(Decoder* decoder, double seconds);
int SeekInputTimecode(Decoder* decoder, const DecoderTimecode* timecode);
int SendInputMessage(Decoder* decoder, int id, const unsigned char* bytes, int length);

int SelectOutput(Decoder* decoder, const char* name, int module);
void ReleaseOutput(Decoder* decoder);
int OpenOutput(Decoder* decoder);
int CloseOutput(Decoder* decoder);
int WriteOutput(Decoder* decoder, unsigned char* buffer, int size);
int SetOutputControl(Decoder* decoder, OutputControl* control, int flags);
int GetOutputControl(Decoder* decoder, OutputControl* control, int flags);
int SendOutputMessage(Decoder* decoder, int id, const unsigned char* bytes, int length);

int SetChannelMode(Decoder* decoder, int mode);
int GetChannelMode(Decoder* decoder);
int SetDownsampling(Decoder* decoder, int mode);
int GetDownsampling(Decoder* decoder);
// 64 signed bytes (left then right), or none to remove the equalizer.
int SetEqualizer(Decoder* decoder, const signed char* bytes);
int GetEqualizer(Decoder* decoder, signed char* bytes);

// Decodes one frame into buffer (or the internal buffer) and updates the status.
int DecodeFrame(Decoder* decoder, unsigned char* buffer);
// Decodes one frame into the output's buffer and writes it to the output.
int DecodeStep(Decoder* decoder);

// Reports that modules use (absent reports are skipped).
void ReportDebug(Decoder* decoder, int module, int level, const char* message, const char* detail);
void ReportEvent(Decoder* decoder, int module, int code, int value, const char* text);
