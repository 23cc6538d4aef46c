// The frame reader finds, checks and delivers frames from synthetic streams: junk
// and false sync words, the last frame, free format, padding, and input time-outs
// at any point of a frame, also while layer III main data wraps the reservoir.
#include "tests/support/TestFramework.h"

#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/tests/support/StreamDecoding.h"

namespace {

typedef std::vector<unsigned char> Bytes;

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// A frame of the given header and length; a zero body is silence in every layer.
Bytes Frame(unsigned header, int size, unsigned char fill = 0)
{
    Bytes frame(size, fill);
    for (int i = 0; i < 4; i++)
        frame[i] = (unsigned char)(header >> (24 - 8 * i));
    return frame;
}

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
    Decoder input;
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
        SyncCase{"TruncatedLastFrame", {}, true}),
    [](const ::testing::TestParamInfo<SyncCase>& info) { return std::string(info.param.name); });

TEST(FrameReader, PaddingIsValidAtEveryRate)
{
    // Layer I single channel at 48 kHz, 32 kbit/s: 32 bytes, 36 with padding.
    const unsigned plain = 0xFFFF14C0;
    const unsigned padded = plain | 0x200;
    Decoder input;
    Append(input.bytes, Frame(plain, 32));
    Append(input.bytes, Frame(padded, 36));
    Append(input.bytes, Frame(padded, 36));
    Append(input.bytes, Frame(plain, 32));
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.frames[1].header.padding, 1u);
    EXPECT_EQ(decoded.frames[1].frequency, 48000);
}

TEST(FrameReader, FreeFormatFramesAreMeasuredAndDecoded)
{
    // Layer II single channel at 32 kHz in free format: every frame 100 bytes, one
    // more with padding.
    const unsigned freeFormat = 0xFFFD08C0;
    Decoder input;
    Append(input.bytes, Frame(freeFormat, 100));
    Append(input.bytes, Frame(freeFormat | 0x200, 101));
    Append(input.bytes, Frame(freeFormat, 100));
    Append(input.bytes, Frame(freeFormat, 100));
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.frames[1].header.padding, 1u);
    EXPECT_EQ(decoded.samples.size(), 4u * 1152);
    EXPECT_EQ(decoded.codes, std::vector<int>{kErrInputEnd});
}

TEST(FrameReader, ForbiddenLayer1AllocationSkipsOnlyThatFrame)
{
    Decoder input;
    Append(input.bytes, Frame(kLayer1At32k, kLayer1At32kSize));
    Bytes broken = Frame(kLayer1At64k, kLayer1At64kSize);
    broken[4] = 0xF0; // subband 0 allocation 15
    Append(input.bytes, broken);
    Append(input.bytes, Frame(kLayer1At32k, kLayer1At32kSize));
    DecodedStream decoded = DecodeStream(input);
    EXPECT_EQ(BitrateIndexes(decoded), (std::vector<unsigned>{1, 1}));
    EXPECT_EQ(decoded.codes, (std::vector<int>{kErrInvalidFrame, kErrInputEnd}));
}

// Writes fields most significant bit first.
class BitWriter {
public:
    explicit BitWriter(Bytes& out, size_t at) : out_(out), pos_(at * 8) {}
    void Put(unsigned value, int bits)
    {
        for (int i = bits - 1; i >= 0; i--, pos_++) {
            unsigned char mask = (unsigned char)(0x80 >> (pos_ & 7));
            if ((value >> i) & 1)
                out_[pos_ >> 3] |= mask;
            else
                out_[pos_ >> 3] &= (unsigned char)~mask;
        }
    }

private:
    Bytes& out_;
    size_t pos_;
};

// MPEG-1 layer III, 44.1 kHz, 128 kbit/s, stereo: 417-byte frames with random main
// data and side information that stays within the format, main_data_begin included,
// so the decoder reaches back into the reservoir.
Bytes RandomLayer3Stream(int frames, unsigned seed)
{
    srand(seed);
    const int size = 417;
    const int sideInfo = 32;
    Bytes stream;
    int reservoir = 0;
    for (int f = 0; f < frames; f++) {
        Bytes frame = Frame(0xFFFB9000, size);
        for (int i = 4 + sideInfo; i < size; i++)
            frame[i] = (unsigned char)rand();
        BitWriter side(frame, 4);
        int back = rand() % 200;
        side.Put(back < reservoir ? back : reservoir, 9);
        side.Put(0, 3 + 8);
        for (int gr = 0; gr < 2; gr++) {
            for (int ch = 0; ch < 2; ch++) {
                side.Put(200 + rand() % 500, 12); // part2_3_length
                side.Put(rand() % 289, 9);        // big_values
                side.Put(130 + rand() % 40, 8);   // global_gain
                side.Put(rand() % 16, 4);         // scalefac_compress
                side.Put(0, 1);                   // no window switching
                for (int r = 0; r < 3; r++) {
                    int table = rand() % 32;
                    side.Put(table == 4 || table == 14 ? 1 : table, 5);
                }
                side.Put(rand() % 16, 4);
                side.Put(rand() % 8, 3);
                side.Put(rand() % 8, 3); // preflag, scalefac_scale, count1table_select
            }
        }
        reservoir = size - 4 - sideInfo;
        Append(stream, frame);
    }
    return stream;
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
    Decoder plain;
    plain.bytes = stream;
    DecodedStream expected = DecodeStream(plain);
    ASSERT_EQ(expected.frames.size(), 30u);

    Decoder input;
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
    ::testing::Values(ResumeCase{"EveryByteOfSomeFrames", 0, 1}, ResumeCase{"OddPlaces", 0, 37},
                      ResumeCase{"TrickleAndTimeouts", 7, 53}),
    [](const ::testing::TestParamInfo<ResumeCase>& info) { return std::string(info.param.name); });

TEST(FrameReader, MainDataBeforeTheStreamGivesSilenceThenDecodingGoesOn)
{
    Bytes stream = RandomLayer3Stream(4, 11);
    BitWriter(stream, 4).Put(300, 9); // the first frame reaches back 300 bytes
    Decoder input;
    input.bytes = stream;
    DecodedStream decoded = DecodeStream(input);
    ASSERT_EQ(decoded.frames.size(), 4u);
    EXPECT_TRUE(decoded.frames[0].silent);
    EXPECT_FALSE(decoded.frames[1].silent);
    for (int i = 0; i < 2304; i++)
        ASSERT_EQ(decoded.samples[i], 0);
}

} // namespace
