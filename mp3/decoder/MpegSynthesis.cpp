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
const float kC32_0 = 0.500602998f;
const float kC32_1 = 0.505470960f;
const float kC32_2 = 0.515447310f;
const float kC32_3 = 0.531042591f;
const float kC32_4 = 0.553103896f;
const float kC32_5 = 0.582934968f;
const float kC32_6 = 0.622504123f;
const float kC32_7 = 0.674808341f;
const float kC32_8 = 0.744536271f;
const float kC32_9 = 0.839349645f;
const float kC32_10 = 0.972568238f;
const float kC32_11 = 1.169439933f;
const float kC32_12 = 1.484164616f;
const float kC32_13 = 2.057781010f;
const float kC32_14 = 3.407608418f;
const float kC32_15 = 10.190008124f;
const float kC16_0 = 0.502419286f;
const float kC16_1 = 0.522498615f;
const float kC16_2 = 0.566944035f;
const float kC16_3 = 0.646821783f;
const float kC16_4 = 0.788154623f;
const float kC16_5 = 1.060677686f;
const float kC16_6 = 1.722447098f;
const float kC16_7 = 5.101148619f;
const float kC8_0 = 0.509795579f;
const float kC8_1 = 0.601344887f;
const float kC8_2 = 0.899976223f;
const float kC8_3 = 2.562915448f;
const float kC4_0 = 0.541196100f;
const float kC4_1 = 1.306562965f;
const float kC2_0 = 0.707106781f;

// Unnormalised DCT-II of 32 values: out[m] = sum of in[k] cos((2k + 1) m pi / 64).
// Each halving step folds its input into a sum half, whose DCT gives the even outputs,
// and a weighted difference half, whose DCT gives the odd outputs as neighbour sums.
void Dct32(const float* in, float* out)
{
    float t1 = in[0] + in[31];
    float t2 = (in[0] - in[31]) * kC32_0;
    float t3 = in[1] + in[30];
    float t4 = (in[1] - in[30]) * kC32_1;
    float t5 = in[2] + in[29];
    float t6 = (in[2] - in[29]) * kC32_2;
    float t7 = in[3] + in[28];
    float t8 = (in[3] - in[28]) * kC32_3;
    float t9 = in[4] + in[27];
    float t10 = (in[4] - in[27]) * kC32_4;
    float t11 = in[5] + in[26];
    float t12 = (in[5] - in[26]) * kC32_5;
    float t13 = in[6] + in[25];
    float t14 = (in[6] - in[25]) * kC32_6;
    float t15 = in[7] + in[24];
    float t16 = (in[7] - in[24]) * kC32_7;
    float t17 = in[8] + in[23];
    float t18 = (in[8] - in[23]) * kC32_8;
    float t19 = in[9] + in[22];
    float t20 = (in[9] - in[22]) * kC32_9;
    float t21 = in[10] + in[21];
    float t22 = (in[10] - in[21]) * kC32_10;
    float t23 = in[11] + in[20];
    float t24 = (in[11] - in[20]) * kC32_11;
    float t25 = in[12] + in[19];
    float t26 = (in[12] - in[19]) * kC32_12;
    float t27 = in[13] + in[18];
    float t28 = (in[13] - in[18]) * kC32_13;
    float t29 = in[14] + in[17];
    float t30 = (in[14] - in[17]) * kC32_14;
    float t31 = in[15] + in[16];
    float t32 = (in[15] - in[16]) * kC32_15;
    float t33 = t1 + t31;
    float t34 = (t1 - t31) * kC16_0;
    float t35 = t3 + t29;
    float t36 = (t3 - t29) * kC16_1;
    float t37 = t5 + t27;
    float t38 = (t5 - t27) * kC16_2;
    float t39 = t7 + t25;
    float t40 = (t7 - t25) * kC16_3;
    float t41 = t9 + t23;
    float t42 = (t9 - t23) * kC16_4;
    float t43 = t11 + t21;
    float t44 = (t11 - t21) * kC16_5;
    float t45 = t13 + t19;
    float t46 = (t13 - t19) * kC16_6;
    float t47 = t15 + t17;
    float t48 = (t15 - t17) * kC16_7;
    float t49 = t33 + t47;
    float t50 = (t33 - t47) * kC8_0;
    float t51 = t35 + t45;
    float t52 = (t35 - t45) * kC8_1;
    float t53 = t37 + t43;
    float t54 = (t37 - t43) * kC8_2;
    float t55 = t39 + t41;
    float t56 = (t39 - t41) * kC8_3;
    float t57 = t49 + t55;
    float t58 = (t49 - t55) * kC4_0;
    float t59 = t51 + t53;
    float t60 = (t51 - t53) * kC4_1;
    float t61 = t57 + t59;
    float t62 = (t57 - t59) * kC2_0;
    float t63 = t58 + t60;
    float t64 = (t58 - t60) * kC2_0;
    float t65 = t63 + t64;
    float t66 = t50 + t56;
    float t67 = (t50 - t56) * kC4_0;
    float t68 = t52 + t54;
    float t69 = (t52 - t54) * kC4_1;
    float t70 = t66 + t68;
    float t71 = (t66 - t68) * kC2_0;
    float t72 = t67 + t69;
    float t73 = (t67 - t69) * kC2_0;
    float t74 = t72 + t73;
    float t75 = t70 + t74;
    float t76 = t74 + t71;
    float t77 = t71 + t73;
    float t78 = t34 + t48;
    float t79 = (t34 - t48) * kC8_0;
    float t80 = t36 + t46;
    float t81 = (t36 - t46) * kC8_1;
    float t82 = t38 + t44;
    float t83 = (t38 - t44) * kC8_2;
    float t84 = t40 + t42;
    float t85 = (t40 - t42) * kC8_3;
    float t86 = t78 + t84;
    float t87 = (t78 - t84) * kC4_0;
    float t88 = t80 + t82;
    float t89 = (t80 - t82) * kC4_1;
    float t90 = t86 + t88;
    float t91 = (t86 - t88) * kC2_0;
    float t92 = t87 + t89;
    float t93 = (t87 - t89) * kC2_0;
    float t94 = t92 + t93;
    float t95 = t79 + t85;
    float t96 = (t79 - t85) * kC4_0;
    float t97 = t81 + t83;
    float t98 = (t81 - t83) * kC4_1;
    float t99 = t95 + t97;
    float t100 = (t95 - t97) * kC2_0;
    float t101 = t96 + t98;
    float t102 = (t96 - t98) * kC2_0;
    float t103 = t101 + t102;
    float t104 = t99 + t103;
    float t105 = t103 + t100;
    float t106 = t100 + t102;
    float t107 = t90 + t104;
    float t108 = t104 + t94;
    float t109 = t94 + t105;
    float t110 = t105 + t91;
    float t111 = t91 + t106;
    float t112 = t106 + t93;
    float t113 = t93 + t102;
    float t114 = t2 + t32;
    float t115 = (t2 - t32) * kC16_0;
    float t116 = t4 + t30;
    float t117 = (t4 - t30) * kC16_1;
    float t118 = t6 + t28;
    float t119 = (t6 - t28) * kC16_2;
    float t120 = t8 + t26;
    float t121 = (t8 - t26) * kC16_3;
    float t122 = t10 + t24;
    float t123 = (t10 - t24) * kC16_4;
    float t124 = t12 + t22;
    float t125 = (t12 - t22) * kC16_5;
    float t126 = t14 + t20;
    float t127 = (t14 - t20) * kC16_6;
    float t128 = t16 + t18;
    float t129 = (t16 - t18) * kC16_7;
    float t130 = t114 + t128;
    float t131 = (t114 - t128) * kC8_0;
    float t132 = t116 + t126;
    float t133 = (t116 - t126) * kC8_1;
    float t134 = t118 + t124;
    float t135 = (t118 - t124) * kC8_2;
    float t136 = t120 + t122;
    float t137 = (t120 - t122) * kC8_3;
    float t138 = t130 + t136;
    float t139 = (t130 - t136) * kC4_0;
    float t140 = t132 + t134;
    float t141 = (t132 - t134) * kC4_1;
    float t142 = t138 + t140;
    float t143 = (t138 - t140) * kC2_0;
    float t144 = t139 + t141;
    float t145 = (t139 - t141) * kC2_0;
    float t146 = t144 + t145;
    float t147 = t131 + t137;
    float t148 = (t131 - t137) * kC4_0;
    float t149 = t133 + t135;
    float t150 = (t133 - t135) * kC4_1;
    float t151 = t147 + t149;
    float t152 = (t147 - t149) * kC2_0;
    float t153 = t148 + t150;
    float t154 = (t148 - t150) * kC2_0;
    float t155 = t153 + t154;
    float t156 = t151 + t155;
    float t157 = t155 + t152;
    float t158 = t152 + t154;
    float t159 = t115 + t129;
    float t160 = (t115 - t129) * kC8_0;
    float t161 = t117 + t127;
    float t162 = (t117 - t127) * kC8_1;
    float t163 = t119 + t125;
    float t164 = (t119 - t125) * kC8_2;
    float t165 = t121 + t123;
    float t166 = (t121 - t123) * kC8_3;
    float t167 = t159 + t165;
    float t168 = (t159 - t165) * kC4_0;
    float t169 = t161 + t163;
    float t170 = (t161 - t163) * kC4_1;
    float t171 = t167 + t169;
    float t172 = (t167 - t169) * kC2_0;
    float t173 = t168 + t170;
    float t174 = (t168 - t170) * kC2_0;
    float t175 = t173 + t174;
    float t176 = t160 + t166;
    float t177 = (t160 - t166) * kC4_0;
    float t178 = t162 + t164;
    float t179 = (t162 - t164) * kC4_1;
    float t180 = t176 + t178;
    float t181 = (t176 - t178) * kC2_0;
    float t182 = t177 + t179;
    float t183 = (t177 - t179) * kC2_0;
    float t184 = t182 + t183;
    float t185 = t180 + t184;
    float t186 = t184 + t181;
    float t187 = t181 + t183;
    float t188 = t171 + t185;
    float t189 = t185 + t175;
    float t190 = t175 + t186;
    float t191 = t186 + t172;
    float t192 = t172 + t187;
    float t193 = t187 + t174;
    float t194 = t174 + t183;
    float t195 = t142 + t188;
    float t196 = t188 + t156;
    float t197 = t156 + t189;
    float t198 = t189 + t146;
    float t199 = t146 + t190;
    float t200 = t190 + t157;
    float t201 = t157 + t191;
    float t202 = t191 + t143;
    float t203 = t143 + t192;
    float t204 = t192 + t158;
    float t205 = t158 + t193;
    float t206 = t193 + t145;
    float t207 = t145 + t194;
    float t208 = t194 + t154;
    float t209 = t154 + t183;
    out[0] = t61;
    out[1] = t195;
    out[2] = t107;
    out[3] = t196;
    out[4] = t75;
    out[5] = t197;
    out[6] = t108;
    out[7] = t198;
    out[8] = t65;
    out[9] = t199;
    out[10] = t109;
    out[11] = t200;
    out[12] = t76;
    out[13] = t201;
    out[14] = t110;
    out[15] = t202;
    out[16] = t62;
    out[17] = t203;
    out[18] = t111;
    out[19] = t204;
    out[20] = t77;
    out[21] = t205;
    out[22] = t112;
    out[23] = t206;
    out[24] = t64;
    out[25] = t207;
    out[26] = t113;
    out[27] = t208;
    out[28] = t73;
    out[29] = t209;
    out[30] = t102;
    out[31] = t183;
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
