// GIF files built code by code: decoding, interlacing, transparency, damage,
// and the bytes the writer produces.
#include "tests/support/TestFramework.h"

#include "image/tests/ImageFixture.h"
#include "tests/support/MessageBoxScript.h"

namespace
{
// Packs LZW codes least significant bit first, the width following the
// decoder's table as it fills (the codes after a clear add no entry first).
std::vector<unsigned char> PackCodes(int codeSize, const std::vector<int>& codes)
{
    const int clear = 1 << codeSize;
    int width = codeSize + 1, free = clear + 2;
    bool first = true;
    std::vector<unsigned char> bytes;
    unsigned long accumulator = 0;
    int bits = 0;
    for (int code : codes)
    {
        accumulator |= (unsigned long)code << bits;
        bits += width;
        while (bits >= 8)
        {
            bytes.push_back((unsigned char)(accumulator & 0xFF));
            accumulator >>= 8;
            bits -= 8;
        }
        if (code == clear)
        {
            width = codeSize + 1;
            free = clear + 2;
            first = true;
        }
        else if (first)
            first = false;
        else if (free < 4096 && ++free == (1 << width) && width < 12)
            width++;
    }
    if (bits > 0)
        bytes.push_back((unsigned char)accumulator);
    return bytes;
}

struct GifSpec
{
    int width = 1;
    int height = 1;
    std::vector<unsigned char> table = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};  // red, green, blue triples
    int transparent = -1;
    bool interlaced = false;
    int codeSize = 2;
    std::vector<unsigned char> data;  // LZW bytes, cut into sub-blocks
    bool terminated = true;           // data sub-blocks end with a size 0
};

void PutWord(std::vector<unsigned char>& bytes, int value)
{
    bytes.push_back((unsigned char)(value & 0xFF));
    bytes.push_back((unsigned char)(value >> 8));
}

std::vector<unsigned char> MakeGif(const GifSpec& spec)
{
    std::vector<unsigned char> bytes = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(bytes, spec.width);
    PutWord(bytes, spec.height);
    int entries = int(spec.table.size() / 3), exponent = 0;
    while ((2 << exponent) < entries)
        exponent++;
    bytes.push_back((unsigned char)(0x80 | exponent));
    bytes.push_back(0);
    bytes.push_back(0);
    std::vector<unsigned char> table = spec.table;
    table.resize(3 * (2 << exponent));
    bytes.insert(bytes.end(), table.begin(), table.end());
    if (spec.transparent >= 0)
    {
        const unsigned char control[] = {'!', 0xF9, 4, 1, 0, 0, (unsigned char)spec.transparent, 0};
        bytes.insert(bytes.end(), control, control + sizeof(control));
    }
    bytes.push_back(',');
    PutWord(bytes, 0);
    PutWord(bytes, 0);
    PutWord(bytes, spec.width);
    PutWord(bytes, spec.height);
    bytes.push_back(spec.interlaced ? 0x40 : 0);
    bytes.push_back((unsigned char)spec.codeSize);
    for (size_t at = 0; at < spec.data.size(); at += 255)
    {
        size_t size = std::min<size_t>(255, spec.data.size() - at);
        bytes.push_back((unsigned char)size);
        bytes.insert(bytes.end(), spec.data.begin() + at, spec.data.begin() + at + size);
    }
    if (spec.terminated)
    {
        bytes.push_back(0);
        bytes.push_back(';');
    }
    return bytes;
}

// What a 2 x 2 picture of indexes 1, 2 over 3, 0 decodes from.
GifSpec TwoByTwo()
{
    GifSpec spec;
    spec.width = spec.height = 2;
    spec.data = PackCodes(2, {4, 1, 2, 3, 0, 5});
    return spec;
}

TEST(GifFile, DecodesRowsFromTheTop)
{
    CImageFolder folder;
    folder.WriteBytes("two.gif", MakeGif(TwoByTwo()));
    CImage image(folder.Windows("two.gif"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(1, image.GetPixelIndex(0, 1));
    EXPECT_EQ(2, image.GetPixelIndex(1, 1));
    EXPECT_EQ(3, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0, image.GetPixelIndex(1, 0));
    EXPECT_EQ(4, image.GetPalette()->GetEntryCount());
}

TEST(GifFile, InterlacedRowsGoByTheFourPasses)
{
    GifSpec spec;
    spec.height = 10;
    spec.interlaced = true;
    spec.codeSize = 4;
    spec.table.resize(3 * 16);
    spec.data = PackCodes(4, {16, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 17});
    CImageFolder folder;
    folder.WriteBytes("interlaced.gif", MakeGif(spec));
    CImage image(folder.Windows("interlaced.gif"), -1);
    ASSERT_TRUE(image.IsValid());
    const int kRowsInDataOrder[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int value = 0; value < 10; value++)
        EXPECT_EQ(value, image.GetPixelIndex(0, 9 - kRowsInDataOrder[value])) << value;
}

TEST(GifFile, DamagedDataFailsTheRead)
{
    const struct
    {
        const char* name;
        GifSpec spec;
        BOOL read;
    } kCases[] = {
        {"code size 1", [] { GifSpec s = TwoByTwo(); s.codeSize = 1; return s; }(), FALSE},
        {"code size 10", [] { GifSpec s = TwoByTwo(); s.codeSize = 10; return s; }(), FALSE},
        {"code beyond the table", [] { GifSpec s = TwoByTwo(); s.data = PackCodes(2, {4, 1, 7, 5}); return s; }(), FALSE},
        {"file ends in the data", [] { GifSpec s = TwoByTwo(); s.data.pop_back(); s.terminated = false; return s; }(), FALSE},
        {"no pixels at all", [] { GifSpec s = TwoByTwo(); s.data.clear(); s.terminated = false; return s; }(), FALSE},
        {"width 0", [] { GifSpec s = TwoByTwo(); s.width = 0; return s; }(), FALSE},
        {"larger than any cover", [] { GifSpec s = TwoByTwo(); s.width = s.height = 65535; return s; }(), FALSE},
        // The pixels decoded up to the terminator are kept.
        {"no end code", [] { GifSpec s = TwoByTwo(); s.data = PackCodes(2, {4, 1, 2, 3}); return s; }(), TRUE},
        {"well formed", TwoByTwo(), TRUE},
    };
    CImageFolder folder;
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        folder.WriteBytes("damaged.gif", MakeGif(c.spec));
        CImage image;
        EXPECT_EQ(c.read, image.Read(folder.Windows("damaged.gif"), -1));
    }
}

TEST(GifFile, FilesWithoutAGifImageAreRefused)
{
    CImageFolder folder;
    std::vector<unsigned char> bytes = MakeGif(TwoByTwo());
    bytes[3] = '7';
    folder.WriteBytes("not.gif", bytes);
    CImage image;
    EXPECT_FALSE(image.Read(folder.Windows("not.gif"), -1));
    folder.WriteBytes("short.gif", {'G', 'I', 'F', '8'});
    EXPECT_FALSE(image.Read(folder.Windows("short.gif"), -1));
    // A well-formed file that holds no image has nothing to show.
    bytes = MakeGif(TwoByTwo());
    bytes.resize(13 + 12);
    bytes.push_back(';');
    folder.WriteBytes("empty.gif", bytes);
    EXPECT_FALSE(image.Read(folder.Windows("empty.gif"), -1));
    EXPECT_FALSE(image.IsValid());
}

TEST(GifFile, TransparentEntryTurnsBlackAndWhiteIsAdded)
{
    const struct
    {
        const char* name;
        int entries;
        int whiteAt;
    } kCases[] = {
        {"full table without white", 256, 255},
        {"short table", 4, 4},
    };
    CImageFolder folder;
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GifSpec spec = TwoByTwo();
        spec.table.assign(3 * c.entries, 0);
        for (int i = 0; i < 3 * c.entries; i++)
            spec.table[i] = (unsigned char)(10 + i % 3);
        spec.transparent = 2;
        folder.WriteBytes("clear.gif", MakeGif(spec));
        CImage image(folder.Windows("clear.gif"), -1);
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(2, image.GetImplementation()->GetTransparentIndex());
        CImagePalette* palette = image.GetPalette();
        EXPECT_EQ(256, palette->GetEntryCount());
        BYTE r, g, b;
        palette->GetEntry(2, r, g, b);
        EXPECT_EQ(0, r + g + b);
        palette->GetEntry(c.whiteAt, r, g, b);
        EXPECT_EQ(3 * 255, r + g + b);
        palette->GetEntry(1, r, g, b);
        EXPECT_EQ(10, r);
    }
}

TEST(GifFile, OnePixelIsClearPixelEndInOneSubBlock)
{
    CImageFolder folder;
    CImage image;
    ASSERT_TRUE(image.Create(1, 1, 8, -1));
    const BYTE grey[] = {0, 60, 120, 180, 240, 250};
    ASSERT_TRUE(image.CreatePalette(6, grey));
    ASSERT_TRUE(image.SetPixelIndex(0, 0, 5));
    ASSERT_TRUE(image.Write(folder.Windows("one.gif"), -1));
    std::vector<unsigned char> bytes = folder.ReadBytes("one.gif");
    const size_t kHeader = 13, kTable = 768, kDescriptor = 10;
    ASSERT_EQ(kHeader + kTable + kDescriptor + 8, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), "GIF87a\x01\x00\x01\x00\xF7\x00\x00", kHeader));
    EXPECT_EQ(250, bytes[kHeader + 3 * 5]);
    EXPECT_EQ(0, bytes[kHeader + 3 * 6]);
    const std::vector<unsigned char> tail(bytes.begin() + kHeader + kTable, bytes.end());
    const std::vector<unsigned char> expected = {',', 0, 0, 0, 0, 1, 0, 1, 0, 0,
                                                 8, 4, 0x00, 0x0B, 0x04, 0x04, 0, ';'};
    EXPECT_EQ(expected, tail);
}

TEST(GifFile, LongRunsSurviveTableResets)
{
    // Enough pixels to fill the 4096-entry table several times over.
    CImageFolder folder;
    CImage image;
    ASSERT_TRUE(CreateGreyImage(image, 300, 200));
    unsigned seed = 7;
    for (int y = 0; y < 200; y++)
    {
        for (int x = 0; x < 300; x++)
        {
            seed = seed * 1103515245 + 12345;
            image.SetPixelIndex(x, y, y < 100 ? (seed >> 16) & 0xFF : x / 30);
        }
    }
    ASSERT_TRUE(image.Write(folder.Windows("long.gif"), -1));
    RgbPicture theirs;
    ASSERT_TRUE(MagickPixels(folder.Unix("long.gif"), theirs));
    EXPECT_EQ(0, MaxDifference(theirs, OurPixels(image)));
    CImage back(folder.Windows("long.gif"), -1);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(0, MaxDifference(OurPixels(back), OurPixels(image)));
}

TEST(GifFile, TrueColourCannotBeWritten)
{
    CImageFolder folder;
    CImage image;
    ASSERT_TRUE(image.Create(2, 2, 24, -1));
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(image.Write(folder.Windows("deep.gif"), -1));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("GIF Images must be 8 bit or less", boxes.Shown()[0].text);
}
}
