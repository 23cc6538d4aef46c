// The frame reader finds, checks and delivers frames from synthetic streams: junk
// and false sync words, the last frame, tags before, between and after frames, free
// format, padding, a Xing frame's payload, and input time-outs at any point of a
// frame, also while layer III main data wraps the reservoir.
#include "tests/support/TestFramework.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/MpegBitReader.h"
#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"

namespace {

// Layer I single channel at 32 kHz: bit-rate index 1 gives 48-byte frames, 2 gives 96.
const unsigned kLayer1At32k = 0xFFFF18C0;
const unsigned kLayer1At64k = 0xFFFF28C0;
const int kLayer1At32kSize = 48;
const int kLayer1At64kSize = 96;

std::vector<unsigned> BitrateIndexes(const DecodedStream& decoded)
{
    std::vector<unsigned> indexes;
    for (const MpegFrameOutput& frame : decoded.frames)
        indexes.push_back(frame.header.bitrateIndex);
    return indexes;
}

Bytes ThreeFrames()
{
    Bytes stream;
    Append(stream, Frame(kLayer1At32k, kLayer1At32kSize));
    Append(stream, Frame(kLayer1At64k, kLayer1At64kSize));
    Append(stream, Frame(kLayer1At32k, kLayer1At32kSize));
    return stream;
}

struct SyncCase {
    const char* name;
    Bytes before;  // bytes ahead of the three frames
    bool truncate; // the stream ends within a fourth frame
};

class SyncTest : public ::testing::TestWithParam<SyncCase> {};

TEST_P(SyncTest, DeliversExactlyTheRealFrames)
{
    const SyncCase& c = GetParam();
    MemoryInput input;
    input.bytes = c.before;
    Append(input.bytes, ThreeFrames());
    if (c.truncate) {
        Bytes half = Frame(kLayer1At64k, kLayer1At64kSize);
        half.resize(kLayer1At64kSize / 2);
        Append(input.bytes, half);
    }
    DecodedStream decoded = DecodeStream(input);
    EXPECT_EQ(BitrateIndexes(decoded), (std::vector<unsigned>{1, 2, 1}));
    ASSERT_FALSE(decoded.codes.empty());
    EXPECT_EQ(decoded.codes.back(), kErrInputEnd);
    EXPECT_EQ(decoded.samples.size(), 3u * 384);
}

Bytes FalseFrame()
{
    // A header that passes the check, whose frame is followed by no header.
    Bytes junk = Frame(kLayer1At64k, kLayer1At64kSize, 0x55);
    Append(junk, Bytes{0x00, 0x11, 0x22, 0x33});
    return junk;
}

INSTANTIATE_TEST_SUITE_P(
    FrameReader, SyncTest,
    ::testing::Values(
        SyncCase{"NothingBefore", {}, false},
        SyncCase{"JunkBefore", {0x00, 0x12, 0xFF, 0xE0, 0x7F}, false},
        // Refused candidates that overlap the real header by up to three bytes.
        SyncCase{"RefusedCandidatesOverlapTheHeader", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
        SyncCase{"FalseSyncWord", FalseFrame(), false},
        // A free-format header of the same layer and frequency, in junk.
        SyncCase{"FreeFormatHeaderInJunk", {0xFF, 0xFF, 0x08, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        SyncCase{"TruncatedLastFrame", {}, true}),
    [](const ::testing::TestParamInfo<SyncCase>& info) { return std::string(info.param.name); });

Bytes Text(const char* text)
{
    return Bytes(text, text + strlen(text));
}

Bytes Id3v1Tag()
{
    Bytes tag = Text("TAGTitle");
    tag.resize(128, 0);
    return tag;
}

struct TagCase {
    const char* name;
    Bytes tag;
    int framesAfter;
};

class TagTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagTest, ATagAfterAFrameCostsNoFrame)
{
    const TagCase& c = GetParam();
    MemoryInput input;
    input.bytes = Frame(kLayer1At32k, kLayer1At32kSize);
    Append(input.bytes, c.tag);
    for (int i = 0; i < c.framesAfter; i++)
        Append(input.bytes, Frame(kLayer1At64k, kLayer1At64kSize));
    DecodedStream decoded = DecodeStream(input);
    std::vector<unsigned> expected{1};
    expected.resize(1 + c.framesAfter, 2);
    EXPECT_EQ(BitrateIndexes(decoded), expected);
    EXPECT_EQ(decoded.codes, std::vector<int>{kErrInputEnd});
}

INSTANTIATE_TEST_SUITE_P(
    FrameReader, TagTest,
    ::testing::Values(TagCase{"Id3v1AfterTheOnlyFrame", Id3v1Tag(), 0}, TagCase{"ApeAfterTheOnlyFrame", ApeTag(), 0},
                      TagCase{"ApeBeforeId3v1", [] { Bytes b = ApeTag(); Append(b, Id3v1Tag()); return b; }(), 0},
                      TagCase{"FramesGoOnAfterATag", Id3v1Tag(), 2}),
    [](const ::testing::TestParamInfo<TagCase>& info) { return std::string(info.param.name); });

// Bits given back are read again: the position moves back by the count, and
// never before the frame's first bit.
TEST(FrameReader, BitsGivenBackAreReadAgain)
{
    // 1010 0101 1100 0011 0011 1100 1110 0001
    const unsigned char bytes[] = {0xA5, 0xC3, 0x3C, 0xE1};
    const struct {
        int taken;
        int givenBack;
        int read;
        unsigned expected;
    } cases[] = {
        {12, 5, 5, 0x1C},   // bits 7-11
        {20, 1, 4, 0x0E},   // bits 19-22
        {16, 16, 8, 0xA5},  // all of them
        {4, 9, 8, 0xA5},    // more than were taken: from the first bit
    };
    std::vector<unsigned char> frame(kFrameBufferSize + kFrameBufferSlack, 0);
    memcpy(frame.data(), bytes, sizeof bytes);
    for (const auto& c : cases) {
        MpegBitReader reader = {};
        reader.frame = frame.data();
        GetBits(&reader, c.taken);
        UngetBits(&reader, c.givenBack);
        EXPECT_EQ(c.expected, GetBits(&reader, c.read)) << c.taken << " taken, " << c.givenBack << " back";
    }
}

TEST(FrameReader, PaddingIsValidAtEveryRate)
{
    // Layer I single channel at 48 kHz, 32 kbit/s: 32 bytes, 36 with padding.
    const unsigned plain = 0xFFFF14C0;
    const unsigned padded = plain | 0x200;
    MemoryInput input;
    Append(input.bytes, Frame(plain, 32));
    Append(input.bytes, Frame(padded, 36));
    Append(input.bytes, Frame(padded, 36));
    Append(input.bytes, Frame(plain, 32));
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.frames[1].header.padding, 1u);
    EXPECT_EQ(decoded.frames[1].frequency, 48000);
}

TEST(FrameReader, FreeFormatYieldsNoFrame)
{
    // Layer II single channel at 32 kHz in free format, 100 bytes a frame.
    const unsigned freeFormat = 0xFFFD08C0;
    MemoryInput input;
    for (int i = 0; i < 4; i++)
        Append(input.bytes, Frame(freeFormat, 100));
    DecodedStream decoded = DecodeStream(input);
    EXPECT_TRUE(decoded.frames.empty());
    EXPECT_EQ(decoded.codes, std::vector<int>{kErrInputEnd});
}

// An ID3v2 tag (version 4) whose body holds what looks like frames: three layer I
// frames at 96 kbit/s and the "FF FF 00 00" of cover art, which a sync search
// inside the tag would play.
Bytes Id3v2TagWithFrames(bool footer)
{
    const unsigned layer1At96k = 0xFFFF38C0;
    Bytes body;
    for (int i = 0; i < 3; i++)
        Append(body, Frame(layer1At96k, 144, 0x33));
    Append(body, Bytes{0xFF, 0xFF, 0x00, 0x00, 0x12, 0x34});
    Bytes tag = Text("ID3");
    Append(tag, Bytes{4, 0, (unsigned char)(footer ? 0x10 : 0)});
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back((unsigned char)(body.size() >> shift & 0x7F));
    Bytes footerBytes(tag);
    std::copy_n("3DI", 3, footerBytes.begin());
    Append(tag, body);
    if (footer)
        Append(tag, footerBytes);
    return tag;
}

struct Id3v2Case {
    const char* name;
    Bytes stream;
    std::vector<size_t> timeouts;
    std::vector<unsigned> rates;   // bit-rate indexes of the frames delivered
};

TEST(FrameReader, AnId3v2TagIsPassedOverWhole)
{
    Bytes tag = Id3v2TagWithFrames(false);
    Bytes first = Frame(kLayer1At32k, kLayer1At32kSize);
    Bytes cut(tag.begin(), tag.end() - 10);
    Bytes bad = tag;
    bad[8] = 0x80;   // no synchsafe size: no tag, the search goes on after its header
    const Id3v2Case cases[] = {
        {"at the start", Concat({tag, ThreeFrames()}), {}, {1, 2, 1}},
        {"with a footer", Concat({Id3v2TagWithFrames(true), ThreeFrames()}), {}, {1, 2, 1}},
        {"between frames", Concat({first, tag, ThreeFrames()}), {}, {1, 1, 2, 1}},
        {"time-outs inside", Concat({tag, ThreeFrames()}), {2, 5, 9, 100, 200}, {1, 2, 1}},
        {"cut by the end", Concat({first, cut}), {}, {1}},
        // The last false frame is followed by no header and is dropped.
        {"not a tag", Concat({bad, ThreeFrames()}), {}, {3, 3, 1, 2, 1}},
    };
    for (const Id3v2Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryInput input;
        input.bytes = c.stream;
        input.timeouts = c.timeouts;
        DecodedStream decoded = DecodeStream(input);
        EXPECT_EQ(BitrateIndexes(decoded), c.rates);
        ASSERT_FALSE(decoded.codes.empty());
        EXPECT_EQ(decoded.codes.back(), kErrInputEnd);
    }
}

// A Xing or Info frame carries no audio: when the frame after it is lost, the next
// one reaches back into nothing and is silent instead of playing the tag's bytes.
TEST(FrameReader, AXingFramesPayloadIsNoMainData)
{
    Bytes stream = RandomLayer3Stream(4, 5);
    stream.erase(stream.begin(), stream.begin() + kLayer3FrameSize);   // the lost frame
    BitWriter(stream, 4).Put(200, 9);
    for (const char* name : {"Xing", "Info"}) {
        SCOPED_TRACE(name);
        Bytes tagFrame = Frame(kLayer3Header, kLayer3FrameSize, 0x5A);
        std::fill_n(tagFrame.begin() + 4, kLayer3SideInfo, 0);
        std::copy_n(name, 4, tagFrame.begin() + 4 + kLayer3SideInfo);
        MemoryInput input;
        input.bytes = Concat({tagFrame, stream});
        DecodedStream decoded = DecodeStream(input);
        ASSERT_EQ(decoded.frames.size(), 4u);
        EXPECT_TRUE(decoded.frames[1].silent);
        EXPECT_FALSE(decoded.frames[2].silent);
        int peak = 0;
        for (size_t i = 0; i < 2 * 2304; i++)
            peak = std::max(peak, abs(decoded.samples[i]));
        EXPECT_EQ(peak, 0);
    }
}

TEST(FrameReader, ForbiddenLayer1AllocationSkipsOnlyThatFrame)
{
    MemoryInput input;
    Append(input.bytes, Frame(kLayer1At32k, kLayer1At32kSize));
    Bytes broken = Frame(kLayer1At64k, kLayer1At64kSize);
    broken[4] = 0xF0; // subband 0 allocation 15
    Append(input.bytes, broken);
    Append(input.bytes, Frame(kLayer1At32k, kLayer1At32kSize));
    DecodedStream decoded = DecodeStream(input);
    EXPECT_EQ(BitrateIndexes(decoded), (std::vector<unsigned>{1, 1}));
    EXPECT_EQ(decoded.codes, (std::vector<int>{kErrInvalidFrame, kErrInputEnd}));
}

struct ResumeCase {
    const char* name;
    int chunk;
    int timeoutEvery; // bytes between injected time-outs
};

class ResumeTest : public ::testing::TestWithParam<ResumeCase> {};

TEST_P(ResumeTest, TimeoutsAnywhereGiveTheSameOutput)
{
    const ResumeCase& c = GetParam();
    // 30 frames write 11 kB of main data: the reservoir wraps twice.
    Bytes stream = RandomLayer3Stream(30, 7);
    MemoryInput plain;
    plain.bytes = stream;
    DecodedStream expected = DecodeStream(plain);
    ASSERT_EQ(expected.frames.size(), 30u);

    MemoryInput input;
    input.bytes = stream;
    input.chunk = c.chunk;
    for (size_t at = 1; at < stream.size(); at += c.timeoutEvery)
        input.timeouts.push_back(at);
    size_t injected = input.timeouts.size();
    DecodedStream decoded = DecodeStream(input);
    EXPECT_EQ(decoded.samples, expected.samples);
    EXPECT_EQ(decoded.frames.size(), expected.frames.size());
    EXPECT_EQ(std::count(decoded.codes.begin(), decoded.codes.end(), kErrTimeout), (long)injected);
}

INSTANTIATE_TEST_SUITE_P(
    FrameReader, ResumeTest,
    ::testing::Values(ResumeCase{"EveryByte", 0, 1}, ResumeCase{"OddPlaces", 0, 37},
                      ResumeCase{"TrickleAndTimeouts", 7, 53}),
    [](const ::testing::TestParamInfo<ResumeCase>& info) { return std::string(info.param.name); });

TEST(FrameReader, MainDataBeforeTheStreamGivesSilenceThenDecodingGoesOn)
{
    Bytes stream = RandomLayer3Stream(4, 11);
    BitWriter(stream, 4).Put(300, 9); // the first frame reaches back 300 bytes
    MemoryInput input;
    input.bytes = stream;
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 4u);
    EXPECT_TRUE(decoded.frames[0].silent);
    EXPECT_FALSE(decoded.frames[1].silent);
    for (int i = 0; i < 2304; i++)
        ASSERT_EQ(decoded.samples[i], 0);
}

} // namespace
