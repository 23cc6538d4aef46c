// Layer II chooses its allocation table by rate and sampling frequency, keeps the
// joint-stereo bound within the coded subbands, and leaves out the subbands above the
// band limit of reduced-rate output.
#include "tests/support/TestFramework.h"

#include <vector>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"

namespace {

int FrameSize(unsigned word)
{
    MpegHeader header;
    ParseMpegHeader(word, &header);
    int size, sideInfo;
    GetMpegFrameSize(header, &size, &sideInfo);
    return size;
}

struct TableCase {
    const char* name;
    unsigned header;
    int sblimit;
};

class Layer2TableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(Layer2TableTest, CodesTheSubbandsOfItsTable)
{
    const TableCase& c = GetParam();
    MemoryInput input;
    input.bytes = Frame(c.header, FrameSize(c.header));
    MpegEngine* engine = nullptr;
    ASSERT_EQ(CreateMpegEngine(&engine, input.decoder()), 0);
    ResetMpegEngine(engine);
    short pcm[kMaxFrameSamples];
    MpegFrameOutput frame;
    EXPECT_EQ(DecodeMpegFrame(engine, MpegDecodeOptions{}, pcm, &frame), 0);
    EXPECT_EQ(engine->layer12.sblimit, c.sblimit);
    DeleteMpegEngine(engine);
}

INSTANTIATE_TEST_SUITE_P(
    Layer2, Layer2TableTest,
    ::testing::Values(
        // Two channels count half the rate each.
        TableCase{"Stereo192kAt48k", 0xFFFDA400, 27},
        TableCase{"Stereo192kAt44k", 0xFFFDA000, 30},
        TableCase{"Stereo64kAt44k", 0xFFFD4000, 8},
        TableCase{"Stereo64kAt32k", 0xFFFD4800, 12},
        TableCase{"Mono56kAt44k", 0xFFFD30C0, 27},
        TableCase{"Mono48kAt48k", 0xFFFD24C0, 8},
        TableCase{"Mono192kAt32k", 0xFFFDA8C0, 30},
        TableCase{"Mpeg2At22k", 0xFFF58000, 30},
        // Joint stereo with a bound of 16 subbands over a table of 8: all 8 are
        // shared, and the frame decodes.
        TableCase{"JointBoundAboveTheTable", 0xFFFD4470, 8}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

// Mono, 48 kHz, 192 kbit/s (table of 27 subbands): one constant tone in subband 20.
Bytes HighSubbandFrame()
{
    const unsigned header = 0xFFFDA4C0;
    Bytes frame = Frame(header, FrameSize(header));
    BitWriter bits(frame, 4);
    for (int sb = 0; sb < 27; sb++)
        bits.Put(sb == 20 ? 3 : 0, sb < 11 ? 4 : sb < 23 ? 3 : 2); // allocation: 7 levels
    bits.Put(2, 2);  // one scale factor for the frame
    bits.Put(9, 6);  // scale factor 0.25
    for (int s = 0; s < 36; s++)
        bits.Put(6, 3);
    return frame;
}

struct RateCase {
    const char* name;
    int downsampling;
    size_t samplesPerFrame;
    bool silent;
};

class ReducedRateTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(ReducedRateTest, DropsTheSubbandsAboveTheBandLimit)
{
    const RateCase& c = GetParam();
    MemoryInput input;
    for (int i = 0; i < 3; i++)
        Append(input.bytes, HighSubbandFrame());
    DecodedStream decoded = DecodeStream(input, MpegDecodeOptions{kChannelsBoth, c.downsampling});
    ASSERT_EQ(decoded.frames.size(), 3u);
    EXPECT_EQ(decoded.samples.size(), 3 * c.samplesPerFrame);
    bool silent = true;
    for (short s : decoded.samples)
        silent = silent && s == 0;
    EXPECT_EQ(silent, c.silent);
}

INSTANTIATE_TEST_SUITE_P(Layer2, ReducedRateTest,
                         ::testing::Values(RateCase{"FullRate", 0, 1152, false},
                                           RateCase{"HalfRate", 1, 576, true},
                                           RateCase{"QuarterRate", 2, 288, true}),
                         [](const ::testing::TestParamInfo<RateCase>& info) { return std::string(info.param.name); });

} // namespace
