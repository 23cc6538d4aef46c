#include "mp3/decoder/Layer12Decoder.h"

#include <math.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/MpegBitReader.h"

namespace {

const int kScaleFactors = 64;
const int kLayer1Slots = 12;
const int kLayer2Granules = 12;
const int kLayer1ForbiddenAllocation = 15;
const int kLayer1AllocationBits = 4;

// Quantisation classes: number of levels, bits per code word, and whether three
// samples share one code word.
struct QuantClass {
    int levels;
    int bits;
    bool grouped;
};
const QuantClass kClasses[17] = {
    {3, 5, true}, {5, 7, true}, {7, 3, false}, {9, 10, true}, {15, 4, false},
    {31, 5, false}, {63, 6, false}, {127, 7, false}, {255, 8, false}, {511, 9, false},
    {1023, 10, false}, {2047, 11, false}, {4095, 12, false}, {8191, 13, false},
    {16383, 14, false}, {32767, 15, false}, {65535, 16, false},
};

// One row of an allocation table: the width of the allocation code and the class of
// each allocation value from 1 up.
struct AllocationRow {
    int bits;
    signed char classes[15];
};
const AllocationRow kRow3To65535 = {4, {0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}};
const AllocationRow kRow3To8191 = {4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16}};
const AllocationRow kRow3To31 = {3, {0, 1, 2, 3, 4, 5, 16}};
const AllocationRow kRow3To5 = {2, {0, 1, 16}};
const AllocationRow kRowLow3To32767 = {4, {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};
const AllocationRow kRowLow3To127 = {3, {0, 1, 3, 4, 5, 6, 7}};
const AllocationRow kRowLsf3To16383 = {4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}};
const AllocationRow kRowLsf3To9 = {2, {0, 1, 3}};

// An allocation table as runs of subbands sharing a row.
struct AllocationRun {
    const AllocationRow* row;
    int subbands;
};
const AllocationRun kTable27[] = {{&kRow3To65535, 3}, {&kRow3To8191, 8}, {&kRow3To31, 12}, {&kRow3To5, 4}, {nullptr, 0}};
const AllocationRun kTable30[] = {{&kRow3To65535, 3}, {&kRow3To8191, 8}, {&kRow3To31, 12}, {&kRow3To5, 7}, {nullptr, 0}};
const AllocationRun kTable8[] = {{&kRowLow3To32767, 2}, {&kRowLow3To127, 6}, {nullptr, 0}};
const AllocationRun kTable12[] = {{&kRowLow3To32767, 2}, {&kRowLow3To127, 10}, {nullptr, 0}};
const AllocationRun kTableLsf[] = {{&kRowLsf3To16383, 4}, {&kRowLow3To127, 7}, {&kRowLsf3To9, 19}, {nullptr, 0}};

struct Layer12Tables {
    float scalefactors[kScaleFactors]; // 2^(1 - i/3)

    Layer12Tables()
    {
        for (int i = 0; i < kScaleFactors; i++)
            scalefactors[i] = (float)pow(2.0, 1.0 - i / 3.0);
    }
};

const Layer12Tables kTables;

// Dequantised value of code v of a class with the given levels, in (-1, 1).
float Dequantize(unsigned v, int levels)
{
    return (float)(2 * (int)v + 1 - levels) / (float)levels;
}

const AllocationRun* ChooseTable(const MpegHeader& header, int frameSize)
{
    if (header.version != kVersionMpeg1)
        return kTableLsf;
    int frequency = MpegFrequency(header);
    // Free-format frames give their rate by their length.
    int bitrate = header.bitrateIndex ? MpegBitrate(header) : frameSize * frequency / 144000;
    int perChannel = bitrate / MpegChannels(header);
    if (perChannel <= 48)
        return frequency == 32000 ? kTable12 : kTable8;
    if (perChannel <= 80 || frequency == 48000)
        return kTable27;
    return kTable30;
}

int JointBound(const MpegHeader& header, int subbands)
{
    if (header.mode != kModeJointStereo)
        return subbands;
    int bound = (int)header.modeExtension * 4 + 4;
    return bound < subbands ? bound : subbands;
}

int Channels(const MpegLayer12State* state) { return MpegChannels(state->header); }

// Allocation codes by the table's rows (layer II) or all of one width (layer I, rows
// null); above the joint-stereo bound one code serves both channels.
void ReadAllocations(MpegBitReader* reader, MpegLayer12State* state, const AllocationRow* const* rows)
{
    int channels = Channels(state);
    for (int sb = 0; sb < state->sblimit; sb++) {
        int bits = rows ? rows[sb]->bits : kLayer1AllocationBits;
        if (sb < state->bound) {
            for (int ch = 0; ch < channels; ch++)
                state->allocation[ch][sb] = GetBits(reader, bits);
        } else {
            state->allocation[0][sb] = state->allocation[1][sb] = GetBits(reader, bits);
        }
    }
    for (int ch = 0; ch < 2; ch++)
        for (int sb = state->sblimit; sb < kSubbands; sb++)
            state->allocation[ch][sb] = 0;
}

// Subbands above the output's band limit are dropped before synthesis.
int OutputLimit(const MpegLayer12State* state)
{
    int limit = kSubbands >> state->shift;
    return state->sblimit < limit ? state->sblimit : limit;
}

} // namespace

int DecodeLayer1Frame(MpegBitReader* reader, MpegLayer12State* state, const MpegFilters& filters)
{
    int channels = Channels(state);
    state->sblimit = kSubbands;
    state->bound = channels == 2 ? JointBound(state->header, kSubbands) : kSubbands;
    ReadAllocations(reader, state, nullptr);
    for (int sb = 0; sb < kSubbands; sb++)
        for (int ch = 0; ch < channels; ch++)
            if (state->allocation[ch][sb] == (unsigned)kLayer1ForbiddenAllocation)
                return kErrInvalidFrame;
    for (int sb = 0; sb < kSubbands; sb++)
        for (int ch = 0; ch < channels; ch++)
            if (state->allocation[ch][sb])
                state->scalefactor[ch][sb][0] = kTables.scalefactors[GetBits(reader, 6)];

    int limit = OutputLimit(state);
    memset(state->samples, 0, sizeof(state->samples));
    for (int s = 0; s < kLayer1Slots; s++) {
        for (int sb = 0; sb < kSubbands; sb++) {
            unsigned shared = 0;
            for (int ch = 0; ch < channels; ch++) {
                unsigned allocation = state->allocation[ch][sb];
                if (!allocation) {
                    state->samples[ch][0][sb] = 0.0f;
                    continue;
                }
                int bits = (int)allocation + 1;
                unsigned v = sb >= state->bound && ch == 1 ? shared : GetBits(reader, bits);
                shared = v;
                float value = Dequantize(v, (1 << bits) - 1) * state->scalefactor[ch][sb][0];
                state->samples[ch][0][sb] = sb < limit ? value : 0.0f;
            }
        }
        OutputSlot(filters, state->samples[0][0], channels == 2 ? state->samples[1][0] : nullptr);
    }
    return 0;
}

int DecodeLayer2Frame(MpegBitReader* reader, MpegLayer12State* state, const MpegFilters& filters)
{
    int channels = Channels(state);
    const AllocationRun* table = ChooseTable(state->header, reader->frameSize);
    const AllocationRow* rows[kSubbands];
    int sblimit = 0;
    for (const AllocationRun* run = table; run->row; run++)
        for (int i = 0; i < run->subbands; i++)
            rows[sblimit++] = run->row;
    state->sblimit = sblimit;
    state->bound = channels == 2 ? JointBound(state->header, sblimit) : sblimit;
    ReadAllocations(reader, state, rows);

    for (int sb = 0; sb < sblimit; sb++)
        for (int ch = 0; ch < channels; ch++)
            if (state->allocation[ch][sb])
                state->scfsi[ch][sb] = GetBits(reader, 2);
    for (int sb = 0; sb < sblimit; sb++) {
        for (int ch = 0; ch < channels; ch++) {
            if (!state->allocation[ch][sb])
                continue;
            float* sf = state->scalefactor[ch][sb];
            switch (state->scfsi[ch][sb]) {
            case 0:
                for (int p = 0; p < kLayer2Parts; p++)
                    sf[p] = kTables.scalefactors[GetBits(reader, 6)];
                break;
            case 1:
                sf[0] = sf[1] = kTables.scalefactors[GetBits(reader, 6)];
                sf[2] = kTables.scalefactors[GetBits(reader, 6)];
                break;
            case 2:
                sf[0] = sf[1] = sf[2] = kTables.scalefactors[GetBits(reader, 6)];
                break;
            default:
                sf[0] = kTables.scalefactors[GetBits(reader, 6)];
                sf[1] = sf[2] = kTables.scalefactors[GetBits(reader, 6)];
                break;
            }
        }
    }

    int limit = OutputLimit(state);
    memset(state->samples, 0, sizeof(state->samples));
    for (int gr = 0; gr < kLayer2Granules; gr++) {
        int part = gr / 4;
        for (int sb = 0; sb < sblimit; sb++) {
            unsigned codes[kGranuleSamples] = {};
            for (int ch = 0; ch < channels; ch++) {
                unsigned allocation = state->allocation[ch][sb];
                if (!allocation) {
                    for (int s = 0; s < kGranuleSamples; s++)
                        state->samples[ch][s][sb] = 0.0f;
                    continue;
                }
                const QuantClass& q = kClasses[rows[sb]->classes[allocation - 1]];
                if (sb < state->bound || ch == 0) {
                    if (q.grouped) {
                        unsigned c = GetBits(reader, q.bits);
                        for (int s = 0; s < kGranuleSamples; s++) {
                            codes[s] = c % q.levels;
                            c /= q.levels;
                        }
                    } else {
                        for (int s = 0; s < kGranuleSamples; s++)
                            codes[s] = GetBits(reader, q.bits);
                    }
                }
                float scale = state->scalefactor[ch][sb][part];
                for (int s = 0; s < kGranuleSamples; s++)
                    state->samples[ch][s][sb] = sb < limit ? Dequantize(codes[s], q.levels) * scale : 0.0f;
            }
        }
        for (int s = 0; s < kGranuleSamples; s++)
            OutputSlot(filters, state->samples[0][s], channels == 2 ? state->samples[1][s] : nullptr);
    }
    return 0;
}
