// Hostile and damaged streams never crash the engine, never make it read outside its
// buffers (the fuzz target runs the same engine under AddressSanitizer) and never
// hang it: every stream is read to its end in a bounded number of calls.
#include "tests/support/TestFramework.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"

namespace {

const int kFrames = 10;

// Offset of a granule's side information within frame f of a synthetic layer III
// stream: main_data_begin 9 bits, private bits and scfsi 11, then 59 bits a granule.
size_t GranuleBits(int f, int granule) { return (size_t)(f * kLayer3FrameSize + 4) * 8 + 20 + 59 * granule; }

void PutBitsAt(Bytes& stream, size_t bit, unsigned value, int bits)
{
    BitWriter writer(stream, bit / 8);
    // BitWriter starts at a byte: write the leading bits of that byte back unchanged.
    int lead = (int)(bit % 8);
    if (lead)
        writer.Put(stream[bit / 8] >> (8 - lead), lead);
    writer.Put(value, bits);
}

Bytes Garbage(size_t n, unsigned seed)
{
    std::minstd_rand random(seed);
    Bytes bytes(n);
    for (unsigned char& b : bytes)
        b = (unsigned char)(random() & 0x7F); // never a sync byte
    return bytes;
}

struct HostileCase {
    const char* name;
    Bytes (*make)();
    int frames;       // frames delivered
    int invalid;      // kErrInvalidFrame results
    int silentFrames; // frames whose main data was not there
};

Bytes GarbageBetweenFrames()
{
    Bytes base = RandomLayer3Stream(kFrames, 3);
    Bytes stream(base.begin(), base.begin() + 4 * kLayer3FrameSize);
    Append(stream, Garbage(100, 1));
    stream.insert(stream.end(), base.begin() + 4 * kLayer3FrameSize, base.begin() + 7 * kLayer3FrameSize);
    Append(stream, Garbage(3, 2));
    stream.insert(stream.end(), base.begin() + 7 * kLayer3FrameSize, base.end());
    return stream;
}

Bytes HugeBigValues()
{
    Bytes stream = RandomLayer3Stream(kFrames, 4);
    PutBitsAt(stream, GranuleBits(2, 1) + 12, 511, 9);
    return stream;
}

Bytes BadPart23Length()
{
    Bytes stream = RandomLayer3Stream(kFrames, 5);
    for (int f = 0; f < kFrames; f++)
        for (int g = 0; g < 4; g++)
            PutBitsAt(stream, GranuleBits(f, g), 4095, 12);
    return stream;
}

Bytes ReservoirBeforeTheStart()
{
    Bytes stream = RandomLayer3Stream(kFrames, 6);
    for (int f = 0; f < kFrames; f++)
        PutBitsAt(stream, (size_t)(f * kLayer3FrameSize + 4) * 8, 511, 9);
    return stream;
}

Bytes HeadersWithoutBodies()
{
    Bytes stream;
    for (int i = 0; i < 50; i++)
        Append(stream, Frame(kLayer3Header, 4));
    return stream;
}

Bytes AllOnes() { return Bytes(4096, 0xFF); }

Bytes FreeFormatWithoutEnd()
{
    Bytes stream = Frame(0xFFFB0000, 4);
    Append(stream, Garbage(5000, 3));
    return stream;
}

class HostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileTest, IsReadToTheEndWithTheDamageContained)
{
    const HostileCase& c = GetParam();
    MemoryInput input;
    input.bytes = c.make();
    DecodedStream decoded = DecodeStream(input);
    EXPECT_EQ(input.position, input.bytes.size());
    ASSERT_FALSE(decoded.codes.empty());
    EXPECT_EQ(decoded.codes.back(), kErrInputEnd);
    EXPECT_EQ((int)decoded.frames.size(), c.frames);
    EXPECT_EQ(std::count(decoded.codes.begin(), decoded.codes.end(), kErrInvalidFrame), c.invalid);
    int silent = 0;
    for (const MpegFrameOutput& frame : decoded.frames)
        silent += frame.silent ? 1 : 0;
    EXPECT_EQ(silent, c.silentFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, HostileTest,
    ::testing::Values(
        // A frame followed by garbage is dropped within the reader; the frames after
        // the garbage play.
        HostileCase{"GarbageBetweenFrames", GarbageBetweenFrames, kFrames - 2, 0, 0},
        HostileCase{"HugeBigValues", HugeBigValues, kFrames - 1, 1, 0},
        HostileCase{"BadPart23Length", BadPart23Length, kFrames, 0, 0},
        // 511 bytes back: two frames pass before the reservoir holds that much.
        HostileCase{"ReservoirBeforeTheStart", ReservoirBeforeTheStart, kFrames, 0, 2},
        HostileCase{"HeadersWithoutBodies", HeadersWithoutBodies, 0, 0, 0},
        HostileCase{"AllOnes", AllOnes, 0, 0, 0},
        HostileCase{"FreeFormatWithoutEnd", FreeFormatWithoutEnd, 0, 0, 0}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

// Streams of every layer, damaged at random: bytes changed, sync words planted,
// pieces cut out, the end cut off; decoded with every channel and rate option.
TEST(Robustness, RandomlyDamagedStreamsAreReadToTheEnd)
{
    Bytes base = RandomLayer3Stream(12, 9);
    for (int i = 0; i < 6; i++) {
        Append(base, Frame(0xFFFF28C0, 96, (unsigned char)(0x11 * i)));  // layer I
        Append(base, Frame(0xFFFD9004, 418, (unsigned char)(0x23 * i))); // layer II
    }
    std::minstd_rand random(2024);
    auto below = [&random](size_t n) { return (size_t)(random() % n); };
    for (int round = 0; round < 400; round++) {
        SCOPED_TRACE(round);
        Bytes stream = base;
        int damage = 1 + (int)below(20);
        for (int d = 0; d < damage && !stream.empty(); d++) {
            size_t at = below(stream.size());
            switch (below(5)) {
            case 0:
                stream[at] = (unsigned char)random();
                break;
            case 1:
                stream[at] = 0xFF;
                if (at + 1 < stream.size())
                    stream[at + 1] = (unsigned char)(0xE0 | random());
                break;
            case 2:
                stream.erase(stream.begin() + at, stream.begin() + std::min(stream.size(), at + below(600)));
                break;
            case 3:
                stream[at] ^= (unsigned char)(1 << below(8));
                break;
            default:
                stream.resize(at);
                break;
            }
        }
        MemoryInput input;
        input.bytes = stream;
        input.chunk = (int)below(4) * 5;
        MpegDecodeOptions options = {(int)below(4), (int)below(3)};
        DecodedStream decoded = DecodeStream(input, options);
        ASSERT_EQ(input.position, input.bytes.size());
        ASSERT_FALSE(decoded.codes.empty());
        ASSERT_EQ(decoded.codes.back(), kErrInputEnd);
        for (const MpegFrameOutput& frame : decoded.frames)
            ASSERT_LE(frame.sampleCount, kMaxFrameSamples);
    }
}

} // namespace
