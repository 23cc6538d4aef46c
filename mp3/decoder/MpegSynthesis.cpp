#include "mp3/decoder/MpegSynthesis.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

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
    float window[kWindowSize]; // D[i] scaled to 16-bit output
    float dct32[16], dct16[8], dct8[4], dct4[2], dct2[1];

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
        Factors(dct32, 32);
        Factors(dct16, 16);
        Factors(dct8, 8);
        Factors(dct4, 4);
        Factors(dct2, 2);
    }

    static void Factors(float* f, int n)
    {
        for (int i = 0; i < n / 2; i++)
            f[i] = (float)(0.5 / cos(M_PI * (2 * i + 1) / (2.0 * n)));
    }

    const float* DctFactors(int n) const
    {
        switch (n) {
        case 32: return dct32;
        case 16: return dct16;
        case 8: return dct8;
        case 4: return dct4;
        default: return dct2;
        }
    }
};

const SynthesisTables kTables;

// Unnormalised DCT-II in place: x[m] = sum of in[k] cos((2k + 1) m pi / 2n), by
// halving (the even outputs are the DCT of the folded sum, the odd ones of the
// weighted difference); scratch holds n values.
void Dct(float* x, int n, float* scratch)
{
    if (n == 1)
        return;
    int half = n / 2;
    const float* f = kTables.DctFactors(n);
    for (int i = 0; i < half; i++) {
        float a = x[i];
        float b = x[n - 1 - i];
        scratch[i] = a + b;
        scratch[half + i] = (a - b) * f[i];
    }
    Dct(scratch, half, x);
    Dct(scratch + half, half, x);
    for (int k = 0; k < half; k++)
        x[2 * k] = scratch[k];
    for (int k = 0; k < half - 1; k++)
        x[2 * k + 1] = scratch[half + k] + scratch[half + k + 1];
    x[n - 1] = scratch[n - 1];
}

short Clip(float sample, bool round)
{
    float r = round ? nearbyintf(sample) : truncf(sample);
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
    float scratch[kSubbands];
    if (filter->equalizer) {
        for (int i = 0; i < kSubbands; i++)
            a[i] = input[i] * filter->equalizer[i];
    } else {
        memcpy(a, input, sizeof(a));
    }
    Dct(a, kSubbands, scratch);

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
    float sum[kSubbands] = {};
    for (int s = 0; s < kSynthesisSlots; s++) {
        const float* row = filter->v[(filter->ringPos + s) & (kSynthesisSlots - 1)] + (s & 1) * kSubbands;
        const float* d = kTables.window + kSubbands * s;
        for (int j = 0; j < kSubbands; j++)
            sum[j] += row[j] * d[j];
    }

    int step = 1 << filter->shift;
    short* out = filter->output;
    for (int j = 0; j < kSubbands; j += step) {
        *out = Clip(sum[j], filter->shift == 0);
        out += filter->stride;
    }
    filter->output = out;
    filter->ringPos = (filter->ringPos - 1) & (kSynthesisSlots - 1);
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
