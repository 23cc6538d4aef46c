// Layers I and II: bit allocation, scale factors, sample grouping and dequantisation.
#pragma once

#include "mp3/decoder/MpegHeader.h"
#include "mp3/decoder/MpegSynthesis.h"

struct MpegBitReader;

const int kLayer2Parts = 3;    // scale-factor parts of a layer II frame
const int kGranuleSamples = 3; // samples a subband gives per layer II granule

struct MpegLayer12State {
    MpegHeader header;
    int sblimit;
    int bound;
    unsigned allocation[2][kSubbands];
    unsigned scfsi[2][kSubbands];
    float scalefactor[2][kSubbands][kLayer2Parts];
    float samples[2][kGranuleSamples][kSubbands];
    int shift;
};

// Decode the frame the reader delivered into the filters. Return 0, or
// kErrInvalidFrame for a frame that cannot be decoded.
int DecodeLayer1Frame(MpegBitReader* reader, MpegLayer12State* state, const MpegFilters& filters);
int DecodeLayer2Frame(MpegBitReader* reader, MpegLayer12State* state, const MpegFilters& filters);
