// The polyphase synthesis filter bank: 32 subband samples in, 32 PCM samples out
// (16 or 8 at half or quarter rate), written as 16-bit samples with a stride so that
// two filters interleave a stereo frame.
#pragma once

const int kSubbands = 32;
const int kSynthesisSlots = 16;

struct MpegSynthesis {
    // The last 16 matrixing results, 64 values each, newest at ringPos.
    alignas(16) float v[kSynthesisSlots][2 * kSubbands];
    int ringPos;
    const float* equalizer; // 32 gains, one per subband, or none
    int shift;              // 0 full rate, 1 half, 2 quarter
    short* output;
    int stride;
};

MpegSynthesis* CreateMpegSynthesis();
void DeleteMpegSynthesis(MpegSynthesis* filter);
void ResetMpegSynthesis(MpegSynthesis* filter);
void SetSynthesisOutput(MpegSynthesis* filter, short* output, int stride, int shift);

// Consumes the 32 subband samples at input and writes 32 >> shift PCM samples.
void SynthesizeSlot(MpegSynthesis* filter, const float* input);
void SynthesizeSilence(MpegSynthesis* filter);

// Where a frame's channels go: left and right filters, either may be null; the same
// filter twice mixes both channels into it.
struct MpegFilters {
    MpegSynthesis* left;
    MpegSynthesis* right;
};

// Sends one slot of subband samples of each channel (right null for a single-channel
// stream) to the filters.
void OutputSlot(const MpegFilters& filters, const float* left, const float* right);
