// Intensity stereo puts the left channel's lines on both channels by the right
// channel's positions, in MPEG-1 and in MPEG-2; the channel options pick, or mix,
// the decoded channels.
#include "tests/support/TestFramework.h"

#include <math.h>

#include <vector>

#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"

namespace {

// A joint-stereo layer III frame with intensity stereo only: the left channel holds
// one line of value 1 (table 1), the right channel no lines, only its scale factors,
// which are the intensity positions: 3 bits each for the lowest long bands. With
// reuse (MPEG-1), the right channel's second granule is empty and takes its
// positions from the first through scfsi.
Bytes IntensityFrame(bool mpeg1, unsigned position, unsigned scale, bool reuse = false)
{
    const int sideStart = 4;
    Bytes frame = Frame(mpeg1 ? 0xFFFB9050 : 0xFFF38050, mpeg1 ? 417 : 208);
    int sideBytes = mpeg1 ? 32 : 17;
    // MPEG-1: scalefac_compress 4 gives 3 bits to bands 0-10 and none above.
    // MPEG-2: 216 (with the intensity scale in bit 0) gives 3 bits to bands 0-6.
    int positionBands = mpeg1 ? 11 : 7;
    unsigned rightCompress = mpeg1 ? 4 : 216 + scale;
    int granules = mpeg1 ? 2 : 1;

    BitWriter side(frame, sideStart);
    side.Put(0, mpeg1 ? 9 : 8);       // main_data_begin
    side.Put(0, mpeg1 ? 3 + 4 : 2);   // private bits (and the left channel's scfsi)
    if (mpeg1)
        side.Put(reuse ? 15 : 0, 4);  // the right channel's scfsi
    for (int gr = 0; gr < granules; gr++) {
        for (int ch = 0; ch < 2; ch++) {
            bool empty = ch == 1 && gr == 1 && reuse;
            side.Put(ch == 0 ? 3 : empty ? 0 : 3 * positionBands, 12); // part2_3_length
            side.Put(ch == 0 ? 1 : 0, 9);                   // big_values
            side.Put(190, 8);                               // global_gain
            side.Put(ch == 0 ? 0 : rightCompress, mpeg1 ? 4 : 9);
            side.Put(0, 1);                                 // no window switching
            side.Put(ch == 0 ? 1 : 0, 5);                   // table_select
            side.Put(0, 10 + 4 + 3);                        // the other tables, region counts
            side.Put(0, mpeg1 ? 3 : 2);                     // (preflag,) scalefac_scale, count1table_select
        }
    }
    BitWriter main(frame, sideStart + sideBytes);
    for (int gr = 0; gr < granules; gr++) {
        main.Put(0x2, 3); // code 01 for (1, 0), then a plus sign
        for (int b = 0; b < positionBands && !(gr == 1 && reuse); b++)
            main.Put(position, 3);
    }
    return frame;
}

Bytes IntensityStream(bool mpeg1, unsigned position, unsigned scale, bool reuse = false)
{
    Bytes stream;
    for (int i = 0; i < 3; i++)
        Append(stream, IntensityFrame(mpeg1, position, scale, reuse));
    return stream;
}

// Huffman lines (table 1) that are zero up to one line of value 1 at an even index.
void PutLineAt(BitWriter& main, int line)
{
    for (int pair = 0; pair < line / 2; pair++)
        main.Put(1, 1); // code 1 for (0, 0)
    main.Put(0x2, 3);   // code 01 for (1, 0), then a plus sign
}

// A joint-stereo intensity frame in which only the highest long band is intensity
// coded: the right channel holds one line in the band below, too weak to be heard
// (global gain 0), and a legal position for that band; the left channel holds one
// line of value 1 in the highest band.
Bytes HighestBandFrame(bool mpeg1)
{
    const int sideStart = 4;
    Bytes frame = Frame(mpeg1 ? 0xFFFB9050 : 0xFFF38050, mpeg1 ? 417 : 208);
    int sideBytes = mpeg1 ? 32 : 17;
    // The highest band starts at line 418 (MPEG-1, 44.1 kHz) or 522 (MPEG-2, 22.05 kHz).
    int leftLine = mpeg1 ? 420 : 530;
    int rightLine = mpeg1 ? 400 : 500;
    // MPEG-1: scalefac_compress 1 gives 1 bit to bands 11-20, here position 1.
    // MPEG-2: 6 gives 3 bits to bands 14-20, here position 4 (right lower).
    int positionBands = mpeg1 ? 10 : 7;
    int positionBits = mpeg1 ? 1 : 3;
    unsigned position = mpeg1 ? 1 : 4;
    unsigned rightCompress = mpeg1 ? 1 : 6;
    int granules = mpeg1 ? 2 : 1;

    BitWriter side(frame, sideStart);
    side.Put(0, mpeg1 ? 9 : 8);     // main_data_begin
    side.Put(0, mpeg1 ? 3 + 8 : 2); // private bits (and scfsi)
    for (int gr = 0; gr < granules; gr++) {
        for (int ch = 0; ch < 2; ch++) {
            int line = ch == 0 ? leftLine : rightLine;
            int scaleBits = ch == 0 ? 0 : positionBands * positionBits;
            side.Put(scaleBits + line / 2 + 3, 12); // part2_3_length
            side.Put(line / 2 + 1, 9);              // big_values
            side.Put(ch == 0 ? 190 : 0, 8);         // global_gain
            side.Put(ch == 0 ? 0 : rightCompress, mpeg1 ? 4 : 9);
            side.Put(0, 1);                         // no window switching
            side.Put(0x421, 15);                    // table 1 in all three regions
            side.Put(0, 4 + 3);                     // region counts
            side.Put(0, mpeg1 ? 3 : 2);             // (preflag,) scalefac_scale, count1table_select
        }
    }
    BitWriter main(frame, sideStart + sideBytes);
    for (int gr = 0; gr < granules; gr++) {
        PutLineAt(main, leftLine);
        for (int b = 0; b < positionBands; b++)
            main.Put(position, positionBits);
        PutLineAt(main, rightLine);
    }
    return frame;
}

double Energy(const std::vector<short>& samples, int first, int step)
{
    double sum = 0;
    for (size_t i = first; i < samples.size(); i += step)
        sum += (double)samples[i] * samples[i];
    return sum;
}

struct IntensityCase {
    const char* name;
    bool mpeg1;
    unsigned position;
    unsigned scale;
    double rightToLeft; // energy of the right channel over the left's; -1: left silent
    bool highestBandAlone = false; // HighestBandFrame, else IntensityFrame
};

class IntensityTest : public ::testing::TestWithParam<IntensityCase> {};

TEST_P(IntensityTest, SpreadsTheLeftLinesByPosition)
{
    const IntensityCase& c = GetParam();
    MemoryInput input;
    if (c.highestBandAlone) {
        for (int i = 0; i < 3; i++)
            Append(input.bytes, HighestBandFrame(c.mpeg1));
    } else {
        input.bytes = IntensityStream(c.mpeg1, c.position, c.scale);
    }
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 3u);
    ASSERT_EQ(decoded.frames[0].channels, 2);
    double left = Energy(decoded.samples, 0, 2);
    double right = Energy(decoded.samples, 1, 2);
    if (c.rightToLeft < 0) {
        EXPECT_EQ(left, 0.0);
        EXPECT_GT(right, 0.0);
    } else {
        ASSERT_GT(left, 0.0);
        EXPECT_NEAR(right / left, c.rightToLeft, 0.01 * c.rightToLeft + 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stereo, IntensityTest,
    ::testing::Values(
        // MPEG-1: the position is an angle in steps of 15 degrees, from all right
        // to all left.
        IntensityCase{"Mpeg1AllRight", true, 0, 0, -1},
        IntensityCase{"Mpeg1Centre", true, 3, 0, 1.0},
        IntensityCase{"Mpeg1AllLeft", true, 6, 0, 0.0},
        // MPEG-2: odd positions lower the left channel, even ones the right, by
        // 2^(-1/4) a step (2^(-1/2) with the intensity scale), in amplitude.
        IntensityCase{"Mpeg2Both", false, 0, 0, 1.0},
        IntensityCase{"Mpeg2LeftLower", false, 1, 0, sqrt(2.0)},
        IntensityCase{"Mpeg2RightLower", false, 4, 0, 0.5},
        IntensityCase{"Mpeg2RightLowerScaled", false, 2, 1, 0.5},
        // The highest band takes the position of the band below only when that band
        // is intensity coded too; else MPEG-2 puts it on both channels alike and
        // MPEG-1 leaves it to ordinary stereo.
        IntensityCase{"Mpeg2HighestBandAloneOnBothChannels", false, 0, 0, 1.0, true},
        IntensityCase{"Mpeg1HighestBandAloneStaysLeft", true, 0, 0, 0.0, true}),
    [](const ::testing::TestParamInfo<IntensityCase>& info) { return std::string(info.param.name); });

TEST(Stereo, EmptyGranuleKeepsItsReusedPositions)
{
    MemoryInput input;
    input.bytes = IntensityStream(true, 6, 0, true);
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 3u);
    EXPECT_GT(Energy(decoded.samples, 0, 2), 0.0);
    EXPECT_EQ(Energy(decoded.samples, 1, 2), 0.0);
}

TEST(Stereo, IllegalPositionLeavesTheChannelsApart)
{
    MemoryInput input;
    input.bytes = IntensityStream(true, 7, 0);
    DecodedStream decoded = DecodeStream(input);
    EXPECT_GT(Energy(decoded.samples, 0, 2), 0.0);
    EXPECT_EQ(Energy(decoded.samples, 1, 2), 0.0);
}

struct ChannelCase {
    const char* name;
    int channelMode;
};

class ChannelOptionTest : public ::testing::TestWithParam<ChannelCase> {};

// A stream whose sound is all in the left channel.
TEST_P(ChannelOptionTest, PicksOrMixesTheChannels)
{
    const ChannelCase& c = GetParam();
    MemoryInput both;
    both.bytes = IntensityStream(true, 6, 0);
    DecodedStream stereo = DecodeStream(both);
    MemoryInput input;
    input.bytes = both.bytes;
    DecodedStream decoded = DecodeStream(input, MpegDecodeOptions{c.channelMode, 0});
    ASSERT_EQ(decoded.frames.size(), 3u);
    EXPECT_EQ(decoded.frames[0].channels, 1);
    ASSERT_EQ(decoded.samples.size() * 2, stereo.samples.size());
    for (size_t i = 0; i < decoded.samples.size(); i++) {
        int left = stereo.samples[2 * i];
        int expected = c.channelMode == kChannelsLeft ? left : c.channelMode == kChannelsRight ? 0 : left / 2;
        ASSERT_NEAR(decoded.samples[i], expected, c.channelMode == kChannelsMix ? 1 : 0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Stereo, ChannelOptionTest,
                         ::testing::Values(ChannelCase{"LeftAlone", kChannelsLeft},
                                           ChannelCase{"RightAlone", kChannelsRight},
                                           ChannelCase{"MixAtHalfLevel", kChannelsMix}),
                         [](const ::testing::TestParamInfo<ChannelCase>& info) { return std::string(info.param.name); });

} // namespace
