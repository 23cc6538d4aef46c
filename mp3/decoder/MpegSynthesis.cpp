#include "mp3/decoder/MpegSynthesis.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <xmmintrin.h>
#include <emmintrin.h>

namespace {

const int kWindowSize = 512;
const float kPi = 3.14159265358979f;

// The synthesis window D[0..256] in units of 2^-16; the rest follows from the
// prototype filter's symmetry.
const int kWindowHalf[257] = {
    0, -1, -1, -1, -1, -1, -1, -2,
    -2, -2, -2, -3, -3, -4, -4, -5,
    -5, -6, -7, -7, -8, -9, -10, -11,
    -13, -14, -16, -17, -19, -21, -24, -26,
    -29, -31, -35, -38, -41, -45, -49, -53,
    -58, -63, -68, -73, -79, -85, -91, -97,
    -104, -111, -117, -125, -132, -139, -147, -154,
    -161, -169, -176, -183, -190, -196, -202, -208,
    213, 218, 222, 225, 227, 228, 228, 227,
    224, 221, 215, 208, 200, 189, 177, 163,
    146, 127, 106, 83, 57, 29, -2, -36,
    -72, -111, -153, -197, -244, -294, -347, -401,
    -459, -519, -581, -645, -711, -779, -848, -919,
    -991, -1064, -1137, -1210, -1283, -1356, -1428, -1498,
    -1567, -1634, -1698, -1759, -1817, -1870, -1919, -1962,
    -2001, -2032, -2057, -2075, -2085, -2087, -2080, -2063,
    2037, 2000, 1952, 1893, 1822, 1739, 1644, 1535,
    1414, 1280, 1131, 970, 794, 605, 402, 185,
    -45, -288, -545, -814, -1095, -1388, -1692, -2006,
    -2330, -2663, -3004, -3351, -3705, -4063, -4425, -4788,
    -5153, -5517, -5879, -6237, -6589, -6935, -7271, -7597,
    -7910, -8209, -8491, -8755, -8998, -9219, -9416, -9585,
    -9727, -9838, -9916, -9959, -9966, -9935, -9863, -9750,
    -9592, -9389, -9139, -8840, -8492, -8092, -7640, -7134,
    6574, 5959, 5288, 4561, 3776, 2935, 2037, 1082,
    70, -998, -2122, -3300, -4533, -5818, -7154, -8540,
    -9975, -11455, -12980, -14548, -16155, -17799, -19478, -21189,
    -22929, -24694, -26482, -28289, -30112, -31947, -33791, -35640,
    -37489, -39336, -41176, -43006, -44821, -46617, -48390, -50137,
    -51853, -53534, -55178, -56778, -58333, -59838, -61289, -62684,
    -64019, -65290, -66494, -67629, -68692, -69679, -70590, -71420,
    -72169, -72835, -73415, -73908, -74313, -74630, -74856, -74992,
    75038,};

struct SynthesisTables {
    alignas(16) float window[kWindowSize]; // D[i] scaled to 16-bit output

    SynthesisTables()
    {
        for (int i = 0; i < kWindowSize; i++) {
            int mirror = kWindowSize - i;
            int value;
            if (i <= 256)
                value = kWindowHalf[i];
            else
                value = mirror % 64 == 0 ? kWindowHalf[mirror] : -kWindowHalf[mirror];
            window[i] = value * (32768.0f / 65536.0f);
        }
    }
};

const SynthesisTables kTables;

// Factors 1 / (2 cos((2i + 1) pi / 2n)) of the DCT's halving steps, by size n.
alignas(16) const float kFold32[16] = {0.500602998f, 0.505470960f, 0.515447310f, 0.531042591f, 0.553103896f, 0.582934968f, 0.622504123f, 0.674808341f, 0.744536271f, 0.839349645f, 0.972568238f, 1.169439933f, 1.484164616f, 2.057781010f, 3.407608418f, 10.190008124f};
alignas(16) const float kFold16[8] = {0.502419286f, 0.522498615f, 0.566944035f, 0.646821783f, 0.788154623f, 1.060677686f, 1.722447098f, 5.101148619f};
alignas(16) const float kFold8[4] = {0.509795579f, 0.601344887f, 0.899976223f, 2.562915448f};
alignas(16) const float kFold4[4] = {0.541196100f, 1.306562965f, 0.0f, 0.0f};
const float kFold2 = 0.707106781f;

__m128 Reversed(__m128 v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3)); }

// One halving step over each block of n values (n of 8 or more): the first half
// becomes the sums of mirrored pairs, the second their weighted differences.
void Fold(float* b, int n, const float* factors)
{
    int half = n / 2;
    for (int block = 0; block < 32; block += n) {
        float* x = b + block;
        __m128 lo[4], hi[4];
        for (int q = 0; q < half / 4; q++) {
            lo[q] = _mm_load_ps(x + 4 * q);
            hi[q] = Reversed(_mm_load_ps(x + n - 4 - 4 * q));
        }
        for (int q = 0; q < half / 4; q++) {
            _mm_store_ps(x + 4 * q, _mm_add_ps(lo[q], hi[q]));
            _mm_store_ps(x + half + 4 * q, _mm_mul_ps(_mm_sub_ps(lo[q], hi[q]), _mm_load_ps(factors + 4 * q)));
        }
    }
}

// Unnormalised DCT-II of 32 values: out[m] = sum of in[k] cos((2k + 1) m pi / 64).
// Each halving step folds a block into a sum half, whose DCT gives the block's even
// outputs, and a weighted difference half, whose DCT gives the odd outputs as sums of
// neighbours. The folds run on vectors; the neighbour sums are written out.
void Dct32(const float* in, float* out)
{
    alignas(16) float b[32];
    memcpy(b, in, sizeof(b));
    Fold(b, 32, kFold32);
    Fold(b, 16, kFold16);
    Fold(b, 8, kFold8);
    const __m128 fold4 = _mm_load_ps(kFold4);
    for (int block = 0; block < 32; block += 4) {
        __m128 v = _mm_load_ps(b + block);
        __m128 r = Reversed(v);
        _mm_store_ps(b + block, _mm_movelh_ps(_mm_add_ps(v, r), _mm_mul_ps(_mm_sub_ps(v, r), fold4)));
    }
    const __m128 fold2 = _mm_set1_ps(kFold2);
    for (int block = 0; block < 32; block += 4) {
        __m128 v = _mm_load_ps(b + block);
        __m128 r = _mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 3, 0, 1));
        __m128 sums = _mm_add_ps(v, r);
        __m128 differences = _mm_mul_ps(_mm_sub_ps(v, r), fold2);
        __m128 mixed = _mm_shuffle_ps(sums, differences, _MM_SHUFFLE(2, 0, 2, 0));
        _mm_store_ps(b + block, _mm_shuffle_ps(mixed, mixed, _MM_SHUFFLE(3, 1, 2, 0)));
    }
    float r1 = b[2] + b[3];
    float r2 = b[6] + b[7];
    float r3 = b[4] + r2;
    float r4 = r2 + b[5];
    float r5 = b[5] + b[7];
    float r6 = b[10] + b[11];
    float r7 = b[14] + b[15];
    float r8 = b[12] + r7;
    float r9 = r7 + b[13];
    float r10 = b[13] + b[15];
    float r11 = b[8] + r8;
    float r12 = r8 + r6;
    float r13 = r6 + r9;
    float r14 = r9 + b[9];
    float r15 = b[9] + r10;
    float r16 = r10 + b[11];
    float r17 = b[11] + b[15];
    float r18 = b[18] + b[19];
    float r19 = b[22] + b[23];
    float r20 = b[20] + r19;
    float r21 = r19 + b[21];
    float r22 = b[21] + b[23];
    float r23 = b[26] + b[27];
    float r24 = b[30] + b[31];
    float r25 = b[28] + r24;
    float r26 = r24 + b[29];
    float r27 = b[29] + b[31];
    float r28 = b[24] + r25;
    float r29 = r25 + r23;
    float r30 = r23 + r26;
    float r31 = r26 + b[25];
    float r32 = b[25] + r27;
    float r33 = r27 + b[27];
    float r34 = b[27] + b[31];
    float r35 = b[16] + r28;
    float r36 = r28 + r20;
    float r37 = r20 + r29;
    float r38 = r29 + r18;
    float r39 = r18 + r30;
    float r40 = r30 + r21;
    float r41 = r21 + r31;
    float r42 = r31 + b[17];
    float r43 = b[17] + r32;
    float r44 = r32 + r22;
    float r45 = r22 + r33;
    float r46 = r33 + b[19];
    float r47 = b[19] + r34;
    float r48 = r34 + b[23];
    float r49 = b[23] + b[31];
    out[0] = b[0];
    out[1] = r35;
    out[2] = r11;
    out[3] = r36;
    out[4] = r3;
    out[5] = r37;
    out[6] = r12;
    out[7] = r38;
    out[8] = r1;
    out[9] = r39;
    out[10] = r13;
    out[11] = r40;
    out[12] = r4;
    out[13] = r41;
    out[14] = r14;
    out[15] = r42;
    out[16] = b[1];
    out[17] = r43;
    out[18] = r15;
    out[19] = r44;
    out[20] = r5;
    out[21] = r45;
    out[22] = r16;
    out[23] = r46;
    out[24] = b[3];
    out[25] = r47;
    out[26] = r17;
    out[27] = r48;
    out[28] = b[7];
    out[29] = r49;
    out[30] = b[15];
    out[31] = b[31];
}

// Reduced-rate outputs are truncated toward zero, full-rate ones rounded.
short ClipTruncated(float sample)
{
    float r = truncf(sample);
    if (r > 32767.0f)
        return 32767;
    if (r < -32768.0f)
        return -32768;
    return (short)r;
}

} // namespace

MpegSynthesis* CreateMpegSynthesis()
{
    MpegSynthesis* filter = (MpegSynthesis*)calloc(1, sizeof(MpegSynthesis));
    if (filter)
        filter->stride = 1;
    return filter;
}

void DeleteMpegSynthesis(MpegSynthesis* filter) { free(filter); }

void ResetMpegSynthesis(MpegSynthesis* filter)
{
    memset(filter->v, 0, sizeof(filter->v));
    filter->ringPos = 0;
}

void SetSynthesisOutput(MpegSynthesis* filter, short* output, int stride, int shift)
{
    filter->output = output;
    filter->stride = stride;
    filter->shift = shift;
}

void SynthesizeSlot(MpegSynthesis* filter, const float* input)
{
    float a[kSubbands];
    if (filter->equalizer) {
        float gained[kSubbands];
        for (int i = 0; i < kSubbands; i++)
            gained[i] = input[i] * filter->equalizer[i];
        Dct32(gained, a);
    } else {
        Dct32(input, a);
    }

    // The 64 matrixing outputs follow from the 32 DCT values by symmetry.
    float* v = filter->v[filter->ringPos];
    for (int j = 0; j < 16; j++) {
        v[j] = a[16 + j];
        v[32 + j] = -a[16 - j];
        v[48 + j] = -a[j];
    }
    v[16] = 0.0f;
    for (int j = 17; j < 32; j++)
        v[j] = -a[48 - j];

    // Each output sums 16 products: the even steps back take the first half of
    // their V values, the odd steps the second half.
    __m128 sum[kSubbands / 4];
    for (int q = 0; q < kSubbands / 4; q++)
        sum[q] = _mm_setzero_ps();
    for (int s = 0; s < kSynthesisSlots; s++) {
        const float* row = filter->v[(filter->ringPos + s) & (kSynthesisSlots - 1)] + (s & 1) * kSubbands;
        const float* d = kTables.window + kSubbands * s;
        for (int q = 0; q < kSubbands / 4; q++)
            sum[q] = _mm_add_ps(sum[q], _mm_mul_ps(_mm_load_ps(row + 4 * q), _mm_load_ps(d + 4 * q)));
    }
    filter->ringPos = (filter->ringPos - 1) & (kSynthesisSlots - 1);

    short* out = filter->output;
    if (filter->shift == 0) {
        // Round to nearest and clip to 16 bits in one step each.
        alignas(16) short pcm[kSubbands];
        for (int q = 0; q < kSubbands / 8; q++) {
            __m128i low = _mm_cvtps_epi32(sum[2 * q]);
            __m128i high = _mm_cvtps_epi32(sum[2 * q + 1]);
            _mm_store_si128((__m128i*)(pcm + 8 * q), _mm_packs_epi32(low, high));
        }
        for (int j = 0; j < kSubbands; j++) {
            *out = pcm[j];
            out += filter->stride;
        }
    } else {
        alignas(16) float values[kSubbands];
        for (int q = 0; q < kSubbands / 4; q++)
            _mm_store_ps(values + 4 * q, sum[q]);
        for (int j = 0; j < kSubbands; j += 1 << filter->shift) {
            *out = ClipTruncated(values[j]);
            out += filter->stride;
        }
    }
    filter->output = out;
}

void SynthesizeSilence(MpegSynthesis* filter)
{
    short* out = filter->output;
    for (int j = 0; j < kSubbands >> filter->shift; j++) {
        *out = 0;
        out += filter->stride;
    }
    filter->output = out;
}

void OutputSlot(const MpegFilters& filters, const float* left, const float* right)
{
    if (filters.left && filters.left == filters.right) {
        if (!right) {
            SynthesizeSlot(filters.left, left);
            return;
        }
        float mix[kSubbands];
        for (int i = 0; i < kSubbands; i++)
            mix[i] = (left[i] + right[i]) * 0.5f;
        SynthesizeSlot(filters.left, mix);
        return;
    }
    if (filters.left)
        SynthesizeSlot(filters.left, left);
    if (filters.right && right)
        SynthesizeSlot(filters.right, right);
}
