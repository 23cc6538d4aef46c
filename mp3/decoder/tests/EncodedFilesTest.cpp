// Files from a real encoder (lame) with what real files carry: cover art in an
// ID3v2 tag (written by mutagen) that holds frame-like bytes, and an "Info" frame
// followed by a lost frame. Each decodes as the plain stream does, without a burst.
#include "tests/support/TestFramework.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "mp3/decoder/tests/support/SyntheticStreams.h"
#include "tests/support/HostProgram.h"
#include "tests/support/TempFolder.h"

namespace {

const int kRate = 44100;
const int kSeconds = 2;
const int kAmplitude = 1000;

class EncodedFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.IsValid());
        ASSERT_TRUE(WriteSignal(folder.UnixPath("signal.raw")));
        // 96 kbit/s keeps lame at 44.1 kHz and makes it use the reservoir from the
        // second audio frame on; its first frame is an "Info" frame.
        ASSERT_TRUE(RunHostProgram({"lame", "--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "--signed",
                                    "--little-endian", "-b", "96", "--resample", "44.1",
                                    folder.UnixPath("signal.raw"), folder.UnixPath("plain.mp3")}));
        plain = ReadFileBytes(folder.UnixPath("plain.mp3"));
        ASSERT_GT(plain.size(), 10000u);
    }

    // A quiet 440 Hz tone with noise, stereo, 16-bit little-endian.
    static bool WriteSignal(const std::string& path)
    {
        FILE* file = fopen(path.c_str(), "wb");
        if (!file)
            return false;
        unsigned seed = 1;
        for (int n = 0; n < kRate * kSeconds; n++) {
            seed = seed * 1103515245 + 12345;
            int noise = (int)(seed >> 16 & 0x1FF) - 256;
            short v = (short)(kAmplitude * sin(2 * M_PI * 440 * n / kRate) + noise);
            unsigned char bytes[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)v,
                                      (unsigned char)(v >> 8)};
            fwrite(bytes, 1, sizeof bytes, file);
        }
        return fclose(file) == 0;
    }

    CTempFolder folder{"zym-encoded"};
    Bytes plain;
};

DecodedStream Decode(const Bytes& bytes)
{
    MemoryInput input;
    input.bytes = bytes;
    return DecodeStream(input);
}

int Peak(const std::vector<short>& samples)
{
    int peak = 0;
    for (short s : samples)
        peak = std::max(peak, abs(s));
    return peak;
}

// Where each frame of a clean stream starts.
std::vector<size_t> FrameStarts(const Bytes& stream)
{
    std::vector<size_t> starts;
    for (size_t pos = 0; pos + 4 <= stream.size();) {
        MpegHeader header;
        ParseMpegHeader(BigEndian32(&stream[pos]), &header);
        int size, sideInfo;
        GetMpegFrameSize(header, &size, &sideInfo);
        if (size <= 0)
            break;
        starts.push_back(pos);
        pos += size;
    }
    return starts;
}

TEST_F(EncodedFilesTest, CoverArtThatLooksLikeFramesIsNotPlayed)
{
    // The picture: a JPEG start, the "FF FF 00 00" runs of real cover art, and
    // whole frames of the stream itself.
    std::string picture = "\xFF\xD8\xFF\xE0";
    for (int i = 0; i < 64; i++)
        picture += std::string("\xFF\xFF\x00\x00", 4);
    picture += std::string(plain.begin() + 2000, plain.begin() + 6000);
    FILE* file = fopen(folder.UnixPath("picture.bin").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(picture.data(), 1, picture.size(), file);
    fclose(file);
    const char* script =
        "import sys\n"
        "from mutagen.id3 import ID3, APIC\n"
        "t = ID3()\n"
        "t.add(APIC(encoding=0, mime='image/jpeg', type=3, desc='', data=open(sys.argv[2], 'rb').read()))\n"
        "t.save(sys.argv[1])\n";
    ASSERT_TRUE(RunHostProgram({"/usr/bin/python3", "-c", script, folder.UnixPath("plain.mp3"),
                                folder.UnixPath("picture.bin")}));
    Bytes tagged = ReadFileBytes(folder.UnixPath("plain.mp3"));
    ASSERT_GT(tagged.size(), plain.size() + picture.size());

    DecodedStream expected = Decode(plain);
    DecodedStream decoded = Decode(tagged);
    EXPECT_EQ(decoded.frames.size(), expected.frames.size());
    EXPECT_TRUE(decoded.samples == expected.samples);
}

TEST_F(EncodedFilesTest, AFrameLostAfterTheInfoFrameLeavesSilenceNotABurst)
{
    std::vector<size_t> starts = FrameStarts(plain);
    ASSERT_GT(starts.size(), 10u);
    Bytes lost(plain);
    lost.erase(lost.begin() + starts[1], lost.begin() + starts[2]);
    // The frame now after the Info frame reaches back into the lost one.
    unsigned mainDataBegin = (lost[starts[1] + 4] << 8 | lost[starts[1] + 5]) >> 7;
    ASSERT_GT(mainDataBegin, 0u);

    int peak = Peak(Decode(plain).samples);
    DecodedStream decoded = Decode(lost);
    ASSERT_GT(decoded.frames.size(), 2u);
    EXPECT_TRUE(decoded.frames[1].silent);
    EXPECT_LE(Peak(decoded.samples), peak + peak / 4);
}

} // namespace
