// Layer III: side information, scale factors, Huffman decoding, requantisation,
// stereo processing, alias reduction and the hybrid filter bank.
#pragma once

#include "mp3/decoder/Layer3Huffman.h"
#include "mp3/decoder/MpegHeader.h"
#include "mp3/decoder/MpegSynthesis.h"

struct MpegBitReader;

const int kLongBands = 22;
const int kShortBands = 13;
const int kGranuleSlots = 18;

struct Layer3GranuleInfo {
    unsigned part2_3_length;
    unsigned big_values;
    unsigned global_gain;
    unsigned scalefac_compress;
    unsigned window_switching_flag;
    unsigned block_type;
    unsigned mixed_block_flag;
    unsigned table_select[3];
    unsigned subblock_gain[3];
    unsigned region0_count;
    unsigned region1_count;
    int region1Start; // lines
    int region2Start;
    unsigned preflag;
    unsigned scalefac_scale;
    unsigned count1table_select;
    unsigned part2Bits; // bits its scale factors used
};

struct Layer3Channel {
    float lines[kGranuleLines];   // 18 a subband, subband after subband
    float samples[kGranuleLines]; // slot after slot, 32 subbands each
    float overlap[kGranuleLines]; // second halves of the last transforms, 18 a subband
    int zeroSubbands;             // all-zero subbands at the top of the granule
    int nonzeroLines;             // lines up to the last decoded one
    int scalefacLong[kLongBands];
    int scalefacShort[kShortBands][3];
    // Intensity positions that mean "no intensity" for this band (MPEG-2 right channel).
    int illegalLong[kLongBands];
    int illegalShort[kShortBands];
};

struct MpegLayer3State {
    MpegHeader header;
    int granules;
    bool msStereo;
    bool intensityStereo;
    unsigned main_data_begin;
    unsigned private_bits;
    unsigned scfsi[2][4];
    unsigned totalBits;
    Layer3GranuleInfo info[2][2]; // [granule][channel]
    Layer3Channel channel[2];
    int shift;
    bool mainDataMissing; // the last frame reached back before the reservoir's content
    float powered[kGranuleLines]; // decoded lines raised to the power 4/3
};

void ClearLayer3Buffers(MpegLayer3State* state);

// Decodes the frame the reader delivered. Returns 0, or kErrInvalidFrame when the side
// information is impossible.
int DecodeLayer3Frame(MpegBitReader* reader, MpegLayer3State* state, const MpegFilters& filters);
