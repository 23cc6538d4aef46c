// The first frame's header and its "Xing" or "VBRI" tag give the duration, the
// average bit rate and the seek table.
#include "tests/support/TestFramework.h"

#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "mp3/decoder/XingHeader.h"

namespace {

typedef std::vector<unsigned char> Bytes;

void Put32(Bytes& b, size_t at, unsigned v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (unsigned char)(v >> (24 - 8 * i));
}

// The start of a stream: a header, and a Xing tag at the given offset when flags
// is not negative.
Bytes Start(unsigned header, int tagAt, int flags, unsigned frames)
{
    Bytes b(kXingProbeBytes, 0);
    Put32(b, 0, header);
    if (flags < 0)
        return b;
    b[tagAt] = 'X';
    b[tagAt + 1] = 'i';
    b[tagAt + 2] = 'n';
    b[tagAt + 3] = 'g';
    Put32(b, tagAt + 4, (unsigned)flags);
    size_t at = tagAt + 8;
    if (flags & 1) {
        Put32(b, at, frames);
        at += 4;
    }
    if (flags & 2) {
        Put32(b, at, 123456);
        at += 4;
    }
    if (flags & 4)
        for (int i = 0; i < kXingTocSize; i++)
            b[at + i] = (unsigned char)(i * 2);
    return b;
}

// The start of a stream with a VBRI tag of that frame count, 36 bytes in.
Bytes VbriStart(unsigned header, unsigned frames)
{
    Bytes b(kXingProbeBytes, 0);
    Put32(b, 0, header);
    std::copy_n("VBRI", 4, b.begin() + 36);
    b[41] = 1;   // version
    Put32(b, 46, 3000000);
    Put32(b, 50, frames);
    return b;
}

const unsigned kMpeg1Stereo128k = 0xFFFB9000; // 44.1 kHz
const unsigned kMpeg1Mono128k = 0xFFFB90C0;
const unsigned kMpeg2Stereo64k = 0xFFF38000;  // 22.05 kHz
const unsigned kMpeg2FreeFormat = 0xFFF30000;

struct XingCase {
    const char* name;
    Bytes start;
    unsigned fileSize;
    int result;
    double duration;
    int bitrate;
    int vbr;
    bool toc;
};

class XingTest : public ::testing::TestWithParam<XingCase> {};

TEST_P(XingTest, ReadsDurationRateAndTable)
{
    const XingCase& c = GetParam();
    MpegStreamInfo info = {};
    double duration = -1;
    unsigned char* toc = nullptr;
    int vbr = -1;
    ASSERT_EQ(ReadXingHeader(c.fileSize, c.start.data(), (int)c.start.size(), &info, &duration, &toc, &vbr), c.result);
    if (c.result) {
        EXPECT_DOUBLE_EQ(duration, c.duration);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(vbr, c.vbr);
    }
    EXPECT_EQ(toc != nullptr, c.toc);
    if (toc) {
        EXPECT_EQ(toc[99], 198);
    }
    free(toc);
}

INSTANTIATE_TEST_SUITE_P(
    Xing, XingTest,
    ::testing::Values(
        XingCase{"NotAHeader", Bytes(kXingProbeBytes, 0), 1000000, 0, 0, 0, 0, false},
        XingCase{"NoTag", Start(kMpeg1Stereo128k, 36, -1, 0), 1600000, 1, 100.0, 128, 0, false},
        XingCase{"Mpeg2FrameCount", Start(kMpeg2Stereo64k, 21, 1, 1000), 260000, 1, 26.0, 80, 1, false},
        XingCase{"AllFieldsMono", Start(kMpeg1Mono128k, 21, 7, 3829), 1000000, 1, 100.0, 80, 1, true},
        XingCase{"TagAtTheWrongPlace", Start(kMpeg1Stereo128k, 21, 7, 3828), 1600000, 1, 100.0, 128, 0, false},
        XingCase{"Vbri", VbriStart(kMpeg1Stereo128k, 8500), 3000000, 1, 222.0, 108, 1, false},
        XingCase{"VbriMono", VbriStart(kMpeg1Mono128k, 8500), 3000000, 1, 222.0, 108, 1, false},
        // Free format is not decoded.
        XingCase{"FreeFormat", Start(kMpeg2FreeFormat, 21, -1, 0), 1000000, 0, 0.0, 0, 0, false}),
    [](const ::testing::TestParamInfo<XingCase>& info) { return std::string(info.param.name); });

} // namespace
