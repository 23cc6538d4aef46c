// The decoding engine of one decoder: frame reader, layer decoders and the two
// synthesis filters, and the call that decodes one frame into 16-bit PCM.
#pragma once

#include "mp3/decoder/Layer12Decoder.h"
#include "mp3/decoder/Layer3Decoder.h"
#include "mp3/decoder/MpegBitReader.h"

struct Decoder;

// Channel options: both channels interleaved, left alone, right alone, or both
// mixed into one.
const int kChannelsBoth = 0;
const int kChannelsLeft = 1;
const int kChannelsRight = 2;
const int kChannelsMix = 3;

struct MpegDecodeOptions {
    int channelMode;  // kChannelsBoth .. kChannelsMix
    int downsampling; // 0 full rate, 1 halve from 32 kHz up, 2 quarter from 32 kHz up
};

// The most samples one frame gives: 1152 for each of two channels.
const int kMaxFrameSamples = 2304;

struct MpegFrameOutput {
    MpegHeader header;
    int sampleCount; // all channels together
    int channels;    // output channels, 1 or 2
    int frequency;   // output rate in Hz
    bool silent;     // a layer III frame whose main data was not in the stream gave silence
};

struct MpegEngine {
    MpegBitReader reader;
    MpegLayer3State layer3;
    MpegLayer12State layer12;
    MpegSynthesis* left;
    MpegSynthesis* right;
};

// Creates the engine reading from the decoder's input. Returns 0 or kErrOutOfMemory.
int CreateMpegEngine(MpegEngine** engine, Decoder* decoder);
void DeleteMpegEngine(MpegEngine* engine);
// Starts afresh, as when an input opens: reader, reservoir, overlaps and filters.
void ResetMpegEngine(MpegEngine* engine);

// Reads and decodes one frame into output (kMaxFrameSamples at most). Returns 0, an
// input code (kErrTimeout, kErrInputEnd, ...), or kErrInvalidFrame for a frame the
// layer decoder gave up on.
int DecodeMpegFrame(MpegEngine* engine, const MpegDecodeOptions& options, short* output,
                    MpegFrameOutput* frame);
