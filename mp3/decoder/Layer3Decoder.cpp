#include "mp3/decoder/Layer3Decoder.h"

#include <math.h>
#include <string.h>
#include <xmmintrin.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/MpegBitReader.h"

namespace {

// Scale-factor band boundaries in lines: long bands, then short bands (per window).
struct BandTable {
    short longBands[kLongBands + 1];
    short shortBands[kShortBands + 1];
};

// MPEG-1 44.1, 48, 32 kHz; MPEG-2 22.05, 24, 16 kHz; MPEG-2.5 11.025, 12, 8 kHz.
const BandTable kBandTables[9] = {
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576},
     {0, 4, 8, 12, 16, 22, 30, 40, 52, 66, 84, 106, 136, 192}},
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576},
     {0, 4, 8, 12, 16, 22, 28, 38, 50, 64, 80, 100, 126, 192}},
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576},
     {0, 4, 8, 12, 16, 22, 30, 42, 58, 78, 104, 138, 180, 192}},
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 24, 32, 42, 56, 74, 100, 132, 174, 192}},
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 136, 180, 192}},
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192}},
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192}},
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192}},
    {{0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476, 566, 568, 570, 572, 574, 576},
     {0, 8, 16, 24, 36, 52, 72, 96, 124, 160, 162, 164, 166, 192}},
};

const unsigned char kPretab[kLongBands] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3, 2, 0};

// MPEG-1 scale-factor lengths by scalefac_compress.
const unsigned char kSlen1[16] = {0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4};
const unsigned char kSlen2[16] = {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3};
// The long bands that each scfsi flag covers.
const int kScfsiBands[5] = {0, 6, 11, 16, 21};

// MPEG-2 scale-factor partitions: number of scale factors in each of four partitions,
// by the partition table (from scalefac_compress) and block kind (long, short, mixed).
const unsigned char kPartitions[6][3][4] = {
    {{6, 5, 5, 5}, {9, 9, 9, 9}, {6, 9, 9, 9}},
    {{6, 5, 7, 3}, {9, 9, 12, 6}, {6, 9, 12, 6}},
    {{11, 10, 0, 0}, {18, 18, 0, 0}, {15, 18, 0, 0}},
    {{7, 7, 7, 0}, {12, 12, 12, 0}, {6, 15, 12, 0}},
    {{6, 6, 6, 3}, {12, 9, 9, 6}, {6, 12, 9, 6}},
    {{8, 8, 5, 0}, {15, 12, 9, 0}, {6, 18, 9, 0}},
};

// The alias-reduction coefficients c[i] give the butterfly's cs and ca.
const double kAliasCoefficients[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};

const int kGainOffset = 512;    // quarter steps below 2^0 that the gain table covers
const int kGainSize = kGainOffset + 64;
const int kMpeg1IllegalPosition = 7;
const int kMixedLongLines = 36; // the two lowest subbands of a mixed block
const int kDctRow = 20;

struct Layer3Tables {
    float gain[kGainSize]; // 2^((i - kGainOffset) / 4)
    float cs[8], ca[8];
    // DCT-IV of 18 values, the core of the 36-point IMDCT, by input line; each row
    // is padded to a whole number of vectors.
    alignas(16) float dct18[18][kDctRow];
    // Long-block windows by subband parity and block type (2 unused); the odd
    // subbands' copies reverse every second value, which is the synthesis bank's
    // frequency inversion of their odd time slots.
    float window[2][4][36];
    float imdct12[12][6];
    float window12[12];
    float mpeg1Intensity[7][2];
    float mpeg2Intensity[2][32][2];

    Layer3Tables()
    {
        for (int i = 0; i < kGainSize; i++)
            gain[i] = (float)pow(2.0, (i - kGainOffset) / 4.0);
        for (int i = 0; i < 8; i++) {
            double c = kAliasCoefficients[i];
            cs[i] = (float)(1.0 / sqrt(1.0 + c * c));
            ca[i] = (float)(c / sqrt(1.0 + c * c));
        }
        for (int k = 0; k < 18; k++)
            for (int n = 0; n < kDctRow; n++)
                dct18[k][n] = n < 18 ? (float)cos(M_PI / 72.0 * (2 * n + 1) * (2 * k + 1)) : 0.0f;
        MakeWindows();
        for (int i = 0; i < 12; i++) {
            window12[i] = (float)sin(M_PI / 12.0 * (i + 0.5));
            for (int k = 0; k < 6; k++)
                imdct12[i][k] = (float)cos(M_PI / 24.0 * (2 * i + 1 + 6) * (2 * k + 1));
        }
        for (int p = 0; p < 7; p++) {
            double ratio = tan(p * M_PI / 12.0);
            bool vertical = p == 6;
            mpeg1Intensity[p][0] = vertical ? 1.0f : (float)(ratio / (1.0 + ratio));
            mpeg1Intensity[p][1] = vertical ? 0.0f : (float)(1.0 / (1.0 + ratio));
        }
        for (int scale = 0; scale < 2; scale++) {
            double base = scale ? sqrt(0.5) : pow(2.0, -0.25);
            for (int p = 0; p < 32; p++) {
                double k = pow(base, (p + 1) / 2);
                bool odd = p & 1;
                mpeg2Intensity[scale][p][0] = odd ? (float)k : 1.0f;
                mpeg2Intensity[scale][p][1] = odd || p == 0 ? 1.0f : (float)k;
            }
        }
    }

    void MakeWindows()
    {
        for (int i = 0; i < 36; i++) {
            double longWindow = sin(M_PI / 36.0 * (i + 0.5));
            // Start block: long rise, flat, short fall, zeros.
            double start = i < 18 ? longWindow : i < 24 ? 1.0 : i < 30 ? sin(M_PI / 12.0 * (i - 18 + 0.5)) : 0.0;
            // Stop block: zeros, short rise, flat, long fall.
            double stop = i < 6 ? 0.0 : i < 12 ? sin(M_PI / 12.0 * (i - 6 + 0.5)) : i < 18 ? 1.0 : longWindow;
            double byType[4] = {longWindow, start, 0.0, stop};
            for (int type = 0; type < 4; type++) {
                window[0][type][i] = (float)byType[type];
                window[1][type][i] = (i & 1) ? -window[0][type][i] : window[0][type][i];
            }
        }
    }
};

const Layer3Tables kTables;

unsigned Bits(MpegBitReader* reader, int n) { return n ? GetBits(reader, n) : 0; }

__m128 Reversed(__m128 v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3)); }

const BandTable& Bands(const MpegHeader& header)
{
    int base = header.version == kVersionMpeg1 ? 0 : header.version == kVersionMpeg2 ? 3 : 6;
    return kBandTables[base + header.frequencyIndex];
}

bool IsShort(const Layer3GranuleInfo& info)
{
    return info.window_switching_flag && info.block_type == 2;
}

// The first short band of a mixed block: the one that starts after the long part.
int MixedShortStart(const BandTable& bands)
{
    int b = 0;
    while (bands.shortBands[b] * 3 < kMixedLongLines)
        b++;
    return b;
}

int MixedLongEnd(const BandTable& bands)
{
    int b = 0;
    while (bands.longBands[b + 1] <= kMixedLongLines)
        b++;
    return b;
}

float Gain(int quarterSteps)
{
    int i = quarterSteps + kGainOffset;
    if (i < 0)
        return 0.0f;
    return kTables.gain[i < kGainSize ? i : kGainSize - 1];
}

int ReadGranuleInfo(MpegBitReader* reader, MpegLayer3State* state, Layer3GranuleInfo* info)
{
    bool mpeg1 = state->header.version == kVersionMpeg1;
    info->part2_3_length = GetBits(reader, 12);
    info->big_values = GetBits(reader, 9);
    info->global_gain = GetBits(reader, 8);
    info->scalefac_compress = GetBits(reader, mpeg1 ? 4 : 9);
    info->window_switching_flag = GetBits(reader, 1);
    if (info->window_switching_flag) {
        info->block_type = GetBits(reader, 2);
        info->mixed_block_flag = GetBits(reader, 1);
        info->table_select[0] = GetBits(reader, 5);
        info->table_select[1] = GetBits(reader, 5);
        info->table_select[2] = 0;
        for (int w = 0; w < 3; w++)
            info->subblock_gain[w] = GetBits(reader, 3);
        info->region0_count = 0;
        info->region1_count = 0;
    } else {
        info->block_type = 0;
        info->mixed_block_flag = 0;
        for (int r = 0; r < 3; r++)
            info->table_select[r] = GetBits(reader, 5);
        for (int w = 0; w < 3; w++)
            info->subblock_gain[w] = 0;
        info->region0_count = GetBits(reader, 4);
        info->region1_count = GetBits(reader, 3);
    }
    info->preflag = mpeg1 ? GetBits(reader, 1) : 0;
    info->scalefac_scale = GetBits(reader, 1);
    info->count1table_select = GetBits(reader, 1);
    state->totalBits += info->part2_3_length;

    if (info->big_values > kGranuleLines / 2)
        return kErrInvalidFrame;
    if (info->window_switching_flag && info->block_type == 0)
        return kErrInvalidFrame;

    const BandTable& bands = Bands(state->header);
    if (info->window_switching_flag) {
        info->region1Start = info->block_type == 2 ? bands.shortBands[3] * 3 : bands.longBands[8];
        info->region2Start = kGranuleLines;
    } else {
        int r1 = info->region0_count + 1;
        int r2 = info->region0_count + info->region1_count + 2;
        info->region1Start = bands.longBands[r1 < kLongBands ? r1 : kLongBands];
        info->region2Start = bands.longBands[r2 < kLongBands ? r2 : kLongBands];
    }
    return 0;
}

int ReadSideInfo(MpegBitReader* reader, MpegLayer3State* state)
{
    bool mpeg1 = state->header.version == kVersionMpeg1;
    int channels = MpegChannels(state->header);
    state->main_data_begin = GetBits(reader, mpeg1 ? 9 : 8);
    state->private_bits = GetBits(reader, mpeg1 ? (channels == 1 ? 5 : 3) : channels);
    if (mpeg1) {
        for (int ch = 0; ch < channels; ch++)
            for (int g = 0; g < 4; g++)
                state->scfsi[ch][g] = GetBits(reader, 1);
    }
    state->totalBits = 0;
    for (int gr = 0; gr < state->granules; gr++) {
        for (int ch = 0; ch < channels; ch++) {
            int code = ReadGranuleInfo(reader, state, &state->info[gr][ch]);
            if (code)
                return code;
        }
    }
    return 0;
}

void ReadScaleFactorsMpeg1(MpegBitReader* reader, MpegLayer3State* state, int gr, int ch)
{
    Layer3GranuleInfo& info = state->info[gr][ch];
    Layer3Channel& c = state->channel[ch];
    int slen1 = kSlen1[info.scalefac_compress];
    int slen2 = kSlen2[info.scalefac_compress];
    if (IsShort(info)) {
        int firstShort = 0;
        if (info.mixed_block_flag) {
            for (int b = 0; b < 8; b++)
                c.scalefacLong[b] = (int)Bits(reader, slen1);
            firstShort = 3;
        }
        for (int b = firstShort; b < 12; b++)
            for (int w = 0; w < 3; w++)
                c.scalefacShort[b][w] = (int)Bits(reader, b < 6 ? slen1 : slen2);
        for (int w = 0; w < 3; w++)
            c.scalefacShort[12][w] = 0;
    } else {
        for (int g = 0; g < 4; g++) {
            if (gr == 1 && state->scfsi[ch][g])
                continue;
            for (int b = kScfsiBands[g]; b < kScfsiBands[g + 1]; b++)
                c.scalefacLong[b] = (int)Bits(reader, g < 2 ? slen1 : slen2);
        }
        c.scalefacLong[21] = 0;
    }
    for (int b = 0; b < kLongBands; b++)
        c.illegalLong[b] = kMpeg1IllegalPosition;
    for (int b = 0; b < kShortBands; b++)
        c.illegalShort[b] = kMpeg1IllegalPosition;
}

// Lengths of the four partitions and the partition table, from scalefac_compress.
int Mpeg2Slen(unsigned compress, bool intensityRight, int* slen, unsigned* preflag)
{
    *preflag = 0;
    slen[3] = 0;
    if (intensityRight) {
        unsigned c = compress >> 1;
        if (c < 180) {
            slen[0] = c / 36; slen[1] = (c % 36) / 6; slen[2] = c % 6;
            return 3;
        }
        if (c < 244) {
            c -= 180;
            slen[0] = (c & 63) >> 4; slen[1] = (c & 15) >> 2; slen[2] = c & 3;
            return 4;
        }
        c -= 244;
        slen[0] = c / 3; slen[1] = c % 3; slen[2] = 0;
        return 5;
    }
    if (compress < 400) {
        slen[0] = (compress >> 4) / 5; slen[1] = (compress >> 4) % 5;
        slen[2] = (compress & 15) >> 2; slen[3] = compress & 3;
        return 0;
    }
    if (compress < 500) {
        unsigned c = compress - 400;
        slen[0] = (c >> 2) / 5; slen[1] = (c >> 2) % 5; slen[2] = c & 3;
        return 1;
    }
    unsigned c = compress - 500;
    slen[0] = c / 3; slen[1] = c % 3; slen[2] = 0;
    *preflag = 1;
    return 2;
}

void ReadScaleFactorsMpeg2(MpegBitReader* reader, MpegLayer3State* state, int gr, int ch)
{
    Layer3GranuleInfo& info = state->info[gr][ch];
    Layer3Channel& c = state->channel[ch];
    int slen[4];
    bool intensityRight = ch == 1 && state->intensityStereo;
    int table = Mpeg2Slen(info.scalefac_compress, intensityRight, slen, &info.preflag);
    int kind = IsShort(info) ? (info.mixed_block_flag ? 2 : 1) : 0;

    int values[40];
    int illegal[40];
    int n = 0;
    for (int p = 0; p < 4; p++) {
        for (int k = 0; k < kPartitions[table][kind][p]; k++) {
            values[n] = (int)Bits(reader, slen[p]);
            illegal[n++] = (1 << slen[p]) - 1;
        }
    }

    int i = 0;
    int firstShort = 0;
    if (kind == 0) {
        for (int b = 0; b < kLongBands - 1; b++, i++) {
            c.scalefacLong[b] = values[i];
            c.illegalLong[b] = illegal[i];
        }
        c.scalefacLong[21] = 0;
        return;
    }
    if (kind == 2) {
        for (int b = 0; b < 6; b++, i++) {
            c.scalefacLong[b] = values[i];
            c.illegalLong[b] = illegal[i];
        }
        firstShort = 3;
    }
    for (int b = firstShort; b < kShortBands - 1; b++) {
        c.illegalShort[b] = illegal[i];
        for (int w = 0; w < 3; w++, i++)
            c.scalefacShort[b][w] = values[i];
    }
    for (int w = 0; w < 3; w++)
        c.scalefacShort[12][w] = 0;
}

void RequantizeLong(const float* powered, int count, const Layer3GranuleInfo& info,
                    const Layer3Channel& c, const BandTable& bands, int fromBand, int toLine, float* lines)
{
    int shift = 1 + (int)info.scalefac_scale;
    int base = (int)info.global_gain - 210;
    for (int b = fromBand; b < kLongBands && bands.longBands[b] < toLine; b++) {
        int start = bands.longBands[b];
        int end = bands.longBands[b + 1] < count ? bands.longBands[b + 1] : count;
        if (start >= end)
            break;
        int pre = info.preflag ? kPretab[b] : 0;
        float gain = Gain(base - ((c.scalefacLong[b] + pre) << shift));
        for (int i = start; i < end; i++)
            lines[i] = powered[i] * gain;
    }
}

// Short-block lines arrive band by band, window by window; they are stored with the
// three windows of each frequency side by side, as the short transform takes them.
void RequantizeShort(const float* powered, int count, const Layer3GranuleInfo& info,
                     const Layer3Channel& c, const BandTable& bands, int fromBand, float* lines)
{
    int shift = 1 + (int)info.scalefac_scale;
    int base = (int)info.global_gain - 210;
    for (int b = fromBand; b < kShortBands; b++) {
        int start = bands.shortBands[b] * 3;
        int width = bands.shortBands[b + 1] - bands.shortBands[b];
        if (start >= count)
            break;
        for (int w = 0; w < 3; w++) {
            float gain = Gain(base - 8 * (int)info.subblock_gain[w] - (c.scalefacShort[b][w] << shift));
            const float* in = powered + start + w * width;
            int available = count - (start + w * width);
            for (int f = 0; f < width && f < available; f++)
                lines[start + f * 3 + w] = in[f] * gain;
        }
    }
}

void Requantize(MpegLayer3State* state, int gr, int ch, int count)
{
    const Layer3GranuleInfo& info = state->info[gr][ch];
    Layer3Channel& c = state->channel[ch];
    const BandTable& bands = Bands(state->header);
    memset(c.lines, 0, sizeof(c.lines));
    if (!IsShort(info)) {
        RequantizeLong(state->powered, count, info, c, bands, 0, kGranuleLines, c.lines);
        c.nonzeroLines = count;
        return;
    }
    int firstShort = 0;
    if (info.mixed_block_flag) {
        RequantizeLong(state->powered, count, info, c, bands, 0, kMixedLongLines, c.lines);
        firstShort = MixedShortStart(bands);
    }
    RequantizeShort(state->powered, count, info, c, bands, firstShort, c.lines);
    c.nonzeroLines = kGranuleLines;
}

bool AnyNonzero(const float* lines, int start, int end, int step)
{
    for (int i = start; i < end; i += step)
        if (lines[i] != 0.0f)
            return true;
    return false;
}

struct IntensityContext {
    bool mpeg1;
    unsigned scale; // MPEG-2 intensity_scale
    float* left;
    float* right;
    bool* marked;
};

// Spreads the left channel's lines over both channels by the band's intensity
// position; an illegal position leaves the band to ordinary stereo.
void ApplyIntensity(const IntensityContext& ctx, int position, int illegal, int start, int end, int step)
{
    if (position == illegal)
        return;
    float kl, kr;
    if (ctx.mpeg1) {
        if (position > 6)
            return;
        kl = kTables.mpeg1Intensity[position][0];
        kr = kTables.mpeg1Intensity[position][1];
    } else {
        kl = kTables.mpeg2Intensity[ctx.scale][position & 31][0];
        kr = kTables.mpeg2Intensity[ctx.scale][position & 31][1];
    }
    for (int i = start; i < end; i += step) {
        float x = ctx.left[i];
        ctx.left[i] = x * kl;
        ctx.right[i] = x * kr;
        ctx.marked[i] = true;
    }
}

// The highest band has no position of its own: it takes the one of the band below
// when that band is intensity-coded too. Otherwise MPEG-2 codes it at position 0 (both
// channels equal) and MPEG-1 at its illegal position, which leaves it to ordinary stereo.
int HighestBandPosition(const IntensityContext& ctx, bool belowCoded, int belowPosition)
{
    return belowCoded ? belowPosition : ctx.mpeg1 ? kMpeg1IllegalPosition : 0;
}

// Long bands from the one after the right channel's last non-zero line up to toBand.
void IntensityLong(const IntensityContext& ctx, const Layer3Channel& right, const BandTable& bands,
                   int fromLine, int toBand)
{
    int last = fromLine - 1;
    while (last >= 0 && ctx.right[last] == 0.0f)
        last--;
    int b = 0;
    while (b < toBand && bands.longBands[b + 1] <= last)
        b++;
    if (last >= 0)
        b++;
    for (int first = b; b < toBand; b++) {
        int position = right.scalefacLong[b];
        int illegal = right.illegalLong[b];
        if (b == kLongBands - 1) {
            position = HighestBandPosition(ctx, b > first, right.scalefacLong[b - 1]);
            illegal = right.illegalLong[b - 1];
        }
        ApplyIntensity(ctx, position, illegal, bands.longBands[b], bands.longBands[b + 1], 1);
    }
}

// Returns true when a window of the short part still holds right-channel lines, which
// keeps the long part of a mixed block out of intensity coding.
bool IntensityShort(const IntensityContext& ctx, const Layer3Channel& right, const BandTable& bands,
                    int firstBand)
{
    bool anyRight = false;
    for (int w = 0; w < 3; w++) {
        int bound = firstBand;
        for (int b = kShortBands - 1; b >= firstBand; b--) {
            int start = bands.shortBands[b] * 3 + w;
            int end = bands.shortBands[b + 1] * 3;
            if (AnyNonzero(ctx.right, start, end, 3)) {
                bound = b + 1;
                anyRight = true;
                break;
            }
        }
        for (int b = bound; b < kShortBands; b++) {
            int position = right.scalefacShort[b][w];
            int illegal = right.illegalShort[b];
            if (b == kShortBands - 1) {
                position = HighestBandPosition(ctx, b > bound, right.scalefacShort[b - 1][w]);
                illegal = right.illegalShort[b - 1];
            }
            ApplyIntensity(ctx, position, illegal, bands.shortBands[b] * 3 + w, bands.shortBands[b + 1] * 3, 3);
        }
    }
    return anyRight;
}

void ProcessStereo(MpegLayer3State* state, int gr)
{
    Layer3Channel& left = state->channel[0];
    Layer3Channel& right = state->channel[1];
    int extent = left.nonzeroLines > right.nonzeroLines ? left.nonzeroLines : right.nonzeroLines;
    bool marked[kGranuleLines] = {};
    if (state->intensityStereo) {
        const Layer3GranuleInfo& info = state->info[gr][1];
        const BandTable& bands = Bands(state->header);
        IntensityContext ctx = {state->header.version == kVersionMpeg1, info.scalefac_compress & 1,
                                left.lines, right.lines, marked};
        if (!IsShort(info)) {
            IntensityLong(ctx, right, bands, kGranuleLines, kLongBands);
        } else if (!info.mixed_block_flag) {
            IntensityShort(ctx, right, bands, 0);
        } else if (!IntensityShort(ctx, right, bands, MixedShortStart(bands))) {
            IntensityLong(ctx, right, bands, kMixedLongLines, MixedLongEnd(bands));
        }
        extent = kGranuleLines;
    }
    if (state->msStereo) {
        const float scale = (float)M_SQRT1_2;
        for (int i = 0; i < extent; i++) {
            if (marked[i])
                continue;
            float m = left.lines[i];
            float s = right.lines[i];
            left.lines[i] = (m + s) * scale;
            right.lines[i] = (m - s) * scale;
        }
    }
    left.nonzeroLines = extent;
    right.nonzeroLines = extent;
}

void ReduceAliases(Layer3Channel& c, const Layer3GranuleInfo& info)
{
    int boundaries;
    if (IsShort(info))
        boundaries = info.mixed_block_flag ? 1 : 0;
    else
        boundaries = (c.nonzeroLines + kGranuleSlots - 1) / kGranuleSlots;
    if (boundaries > kSubbands - 1)
        boundaries = kSubbands - 1;
    // The eight butterflies of a boundary, four at a time: the lines below it are
    // taken in reverse order.
    const __m128 cs[2] = {_mm_loadu_ps(kTables.cs), _mm_loadu_ps(kTables.cs + 4)};
    const __m128 ca[2] = {_mm_loadu_ps(kTables.ca), _mm_loadu_ps(kTables.ca + 4)};
    for (int sb = 1; sb <= boundaries; sb++) {
        float* x = c.lines + sb * kGranuleSlots;
        for (int h = 0; h < 2; h++) {
            __m128 below = Reversed(_mm_loadu_ps(x - 4 - 4 * h));
            __m128 above = _mm_loadu_ps(x + 4 * h);
            __m128 newBelow = _mm_sub_ps(_mm_mul_ps(below, cs[h]), _mm_mul_ps(above, ca[h]));
            __m128 newAbove = _mm_add_ps(_mm_mul_ps(above, cs[h]), _mm_mul_ps(below, ca[h]));
            _mm_storeu_ps(x - 4 - 4 * h, Reversed(newBelow));
            _mm_storeu_ps(x + 4 * h, newAbove);
        }
    }
    c.zeroSubbands = (kGranuleLines - c.nonzeroLines) / kGranuleSlots;
}

// 36-point IMDCT of one subband, windowed: the DCT-IV of its 18 lines unfolds into
// the 36 outputs.
void Imdct36(const float* in, const float* window, float* out)
{
    __m128 y[kDctRow / 4];
    for (int q = 0; q < kDctRow / 4; q++)
        y[q] = _mm_setzero_ps();
    for (int k = 0; k < 18; k++) {
        __m128 x = _mm_set1_ps(in[k]);
        const float* row = kTables.dct18[k];
        for (int q = 0; q < kDctRow / 4; q++)
            y[q] = _mm_add_ps(y[q], _mm_mul_ps(x, _mm_load_ps(row + 4 * q)));
    }
    alignas(16) float v[kDctRow];
    for (int q = 0; q < kDctRow / 4; q++)
        _mm_store_ps(v + 4 * q, y[q]);
    for (int i = 0; i < 9; i++) {
        out[i] = v[i + 9] * window[i];
        out[27 + i] = -v[i] * window[27 + i];
    }
    for (int i = 9; i < 27; i++)
        out[i] = -v[26 - i] * window[i];
}

// Three overlapped 12-point IMDCTs of a short-block subband into 36 outputs.
void Imdct12x3(const float* in, float* out)
{
    for (int i = 0; i < 36; i++)
        out[i] = 0.0f;
    for (int w = 0; w < 3; w++) {
        for (int i = 0; i < 12; i++) {
            float sum = 0.0f;
            for (int k = 0; k < 6; k++)
                sum += in[k * 3 + w] * kTables.imdct12[i][k];
            out[6 + 6 * w + i] += sum * kTables.window12[i];
        }
    }
}

void HybridFilter(Layer3Channel& c, const Layer3GranuleInfo& info, int shift)
{
    int limit = kSubbands >> shift;
    int transformed;
    if (IsShort(info)) {
        transformed = limit;
    } else {
        transformed = kSubbands - c.zeroSubbands + (c.zeroSubbands > 0 ? 1 : 0);
        if (transformed > limit)
            transformed = limit;
    }
    for (int sb = 0; sb < transformed; sb++) {
        float raw[36];
        const float* in = c.lines + sb * kGranuleSlots;
        int parity = sb & 1;
        // The two lowest subbands of a mixed block are long blocks with the normal
        // window, whatever the block type.
        bool mixedLow = info.window_switching_flag && info.mixed_block_flag && sb < 2;
        if (!IsShort(info) || mixedLow) {
            Imdct36(in, kTables.window[parity][mixedLow ? 0 : info.block_type], raw);
        } else {
            Imdct12x3(in, raw);
            if (parity)
                for (int i = 1; i < 36; i += 2)
                    raw[i] = -raw[i];
        }
        float* overlap = c.overlap + sb * kGranuleSlots;
        for (int t = 0; t < kGranuleSlots; t++) {
            c.samples[t * kSubbands + sb] = raw[t] + overlap[t];
            overlap[t] = raw[18 + t];
        }
    }
    // Overlaps already carry the frequency inversion.
    for (int sb = transformed; sb < kSubbands; sb++) {
        float* overlap = c.overlap + sb * kGranuleSlots;
        for (int t = 0; t < kGranuleSlots; t++) {
            c.samples[t * kSubbands + sb] = overlap[t];
            overlap[t] = 0.0f;
        }
    }
}

void DecodeChannel(MpegBitReader* reader, MpegLayer3State* state, int gr, int ch)
{
    Layer3GranuleInfo& info = state->info[gr][ch];
    unsigned start = reader->bitPos;
    unsigned end = start + info.part2_3_length;
    if (state->header.version == kVersionMpeg1)
        ReadScaleFactorsMpeg1(reader, state, gr, ch);
    else
        ReadScaleFactorsMpeg2(reader, state, gr, ch);
    info.part2Bits = reader->bitPos - start;

    int bigEnd = (int)info.big_values * 2;
    HuffmanRegions regions;
    regions.end[0] = info.region1Start < bigEnd ? info.region1Start : bigEnd;
    regions.end[1] = info.region2Start < bigEnd ? info.region2Start : bigEnd;
    regions.end[2] = bigEnd;
    for (int r = 0; r < 3; r++)
        regions.table[r] = info.table_select[r];
    regions.count1Table = info.count1table_select;
    // An empty granule (part2_3_length 0) has no lines; its scale factors may all
    // come from granule 0 through scfsi, and intensity stereo still uses them.
    unsigned pos = reader->bitPos;
    int count = pos < end ? DecodeHuffmanLines(reader->frame, &pos, end, regions, state->powered) : 0;
    // The next granule starts at its own bits whatever this one took.
    reader->bitPos = end;
    Requantize(state, gr, ch, count);
}

void OutputSilence(const MpegFilters& filters, int slots)
{
    for (int i = 0; i < slots; i++) {
        if (filters.left)
            SynthesizeSilence(filters.left);
        if (filters.right && filters.right != filters.left)
            SynthesizeSilence(filters.right);
    }
}

} // namespace

void ClearLayer3Buffers(MpegLayer3State* state)
{
    for (int ch = 0; ch < 2; ch++) {
        Layer3Channel& c = state->channel[ch];
        memset(c.lines, 0, sizeof(c.lines));
        memset(c.samples, 0, sizeof(c.samples));
        memset(c.overlap, 0, sizeof(c.overlap));
    }
}

int DecodeLayer3Frame(MpegBitReader* reader, MpegLayer3State* state, const MpegFilters& filters)
{
    const MpegHeader& header = state->header;
    int channels = MpegChannels(header);
    bool joint = header.mode == kModeJointStereo;
    state->granules = header.version == kVersionMpeg1 ? 2 : 1;
    state->msStereo = joint && (header.modeExtension & 2);
    state->intensityStereo = joint && (header.modeExtension & 1);

    int code = ReadSideInfo(reader, state);
    if (code)
        return code;
    state->mainDataMissing = !AssembleMainData(reader, state->main_data_begin, state->totalBits);
    if (state->mainDataMissing) {
        OutputSilence(filters, state->granules * kGranuleSlots);
        ClearLayer3Buffers(state);
        return 0;
    }

    bool mix = filters.left && filters.left == filters.right;
    for (int gr = 0; gr < state->granules; gr++) {
        for (int ch = 0; ch < channels; ch++)
            DecodeChannel(reader, state, gr, ch);
        if (channels == 2 && (state->msStereo || state->intensityStereo))
            ProcessStereo(state, gr);
        for (int ch = 0; ch < channels; ch++) {
            bool used = ch == 0 ? filters.left != nullptr || channels == 1 : filters.right != nullptr;
            if (!used)
                continue;
            Layer3Channel& c = state->channel[ch];
            ReduceAliases(c, state->info[gr][ch]);
            HybridFilter(c, state->info[gr][ch], state->shift);
        }
        const float* left = state->channel[0].samples;
        const float* right = state->channel[1].samples;
        for (int t = 0; t < kGranuleSlots; t++) {
            if (channels == 1) {
                OutputSlot(filters, left + t * kSubbands, nullptr);
            } else if (!filters.left) {
                OutputSlot(MpegFilters{filters.right, nullptr}, right + t * kSubbands, nullptr);
            } else {
                OutputSlot(filters, left + t * kSubbands, mix || filters.right ? right + t * kSubbands : nullptr);
            }
        }
    }
    return 0;
}
