// BMP files: the layout written, files with and without the file header,
// and the compressed and bitfield forms read.
#include "tests/support/TestFramework.h"

#include "image/Dib.h"
#include "image/tests/ImageFixture.h"
#include "image/tests/BmpBytes.h"

namespace
{
TEST(BmpFile, PaletteImageIsWrittenWithItsColours)
{
    CImageFolder folder;
    CImage image;
    ASSERT_TRUE(image.Create(3, 2, 8, -1));
    BYTE red[256], green[256], blue[256];
    for (int i = 0; i < 256; i++)
    {
        red[i] = BYTE(i);
        green[i] = BYTE(255 - i);
        blue[i] = BYTE(i / 2);
    }
    ASSERT_TRUE(image.CreatePalette(256, red, green, blue));
    image.SetPixelIndex(0, 0, 7);
    ASSERT_TRUE(image.Write(folder.Windows("out.bmp"), -1));

    std::vector<unsigned char> bytes = folder.ReadBytes("out.bmp");
    ASSERT_EQ(1078u + 2 * 4, bytes.size());
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    EXPECT_EQ(bytes.size(), DwordAt(bytes, kBfSize));
    EXPECT_EQ(1078u, DwordAt(bytes, kBfOffBits));
    for (int i = 0; i < 256; i++)
    {
        const unsigned char* entry = &bytes[54 + 4 * i];
        EXPECT_EQ(blue[i], entry[0]) << i;
        EXPECT_EQ(green[i], entry[1]) << i;
        EXPECT_EQ(red[i], entry[2]) << i;
    }
    EXPECT_EQ(7, bytes[1078]);
    // Back in memory the table holds indexes again.
    const WORD* table = reinterpret_cast<const WORD*>(image.GetImplementation()->GetDIB() + 1);
    EXPECT_EQ(5, table[5]);
}

TEST(BmpFile, TrueColourFileHasNoPalette)
{
    CImageFolder folder;
    ASSERT_TRUE(Magick("-size 2x2 xc:orange -type TrueColor 'BMP3:" + folder.Unix("rgb.bmp") + "'"));
    CImage image(folder.Windows("rgb.bmp"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(24, image.GetDepth());
    EXPECT_EQ(0, image.GetFlags());
    EXPECT_EQ(NULL, image.GetPalette());
}

TEST(BmpFile, ColourTableOfATrueColourFileMakesNoPalette)
{
    // Such a table only suggests colours for displays of 256 colours.
    std::vector<RGBQUAD> table(2);
    table[1].rgbGreen = 255;
    CImageFolder folder;
    folder.WriteBytes("hint.bmp", MakeBmp(1, 1, 24, BI_RGB, table, {10, 20, 30, 0}));
    CImage image(folder.Windows("hint.bmp"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(NULL, image.GetPalette());
    EXPECT_EQ(0, image.GetFlags());
    BYTE r, g, b;
    ASSERT_TRUE(image.GetPixelColor(0, 0, r, g, b));
    EXPECT_EQ(30, r);
    EXPECT_EQ(20, g);
    EXPECT_EQ(10, b);
}

TEST(BmpFile, BarePackedDibReadsLikeTheFile)
{
    CImageFolder folder;
    WritePpm(folder.Unix("source.ppm"), PatternPicture());
    for (const char* format : {"-type Palette BMP3:", "-type TrueColor BMP3:", "-type Palette BMP2:", "-monochrome BMP3:"})
    {
        SCOPED_TRACE(format);
        ASSERT_TRUE(Magick("'" + folder.Unix("source.ppm") + "' " + format + "'" + folder.Unix("with.bmp") + "'"));
        std::vector<unsigned char> bytes = folder.ReadBytes("with.bmp");
        ASSERT_GT(bytes.size(), 14u);
        folder.WriteBytes("bare.bmp", std::vector<unsigned char>(bytes.begin() + 14, bytes.end()));
        CImage with(folder.Windows("with.bmp"), -1);
        CImage bare(folder.Windows("bare.bmp"), -1);
        ASSERT_TRUE(with.IsValid());
        ASSERT_TRUE(bare.IsValid());
        EXPECT_EQ(0, MaxDifference(OurPixels(with), OurPixels(bare)));
        RgbPicture theirs;
        ASSERT_TRUE(MagickPixels(folder.Unix("with.bmp"), theirs));
        EXPECT_EQ(0, MaxDifference(theirs, OurPixels(bare)));
    }
}

TEST(BmpFile, RunLengthDataIsDecodedNotTakenAsPixels)
{
    const struct
    {
        const char* name;
        int bitCount;
        DWORD compression;
        int width;
        std::vector<unsigned char> data;
        std::vector<const char*> rows;  // bottom row first, one hex digit an index
    } kCases[] = {
        {"runs, absolute and delta", 8, BI_RLE8, 4,
         {4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 0, 2, 5, 0, 1},
         {"1111", "2340", "0055"}},
        {"nibbles", 4, BI_RLE4, 8, {4, 0x12, 0, 3, 0x34, 0x50, 0, 1}, {"12123450"}},
        // Runs past the row end and deltas past the image are dropped; the
        // absolute run that claims more bytes than there are ends decoding.
        {"hostile", 8, BI_RLE8, 4, {255, 7, 0, 2, 255, 255, 16, 9, 0, 255, 1, 2}, {"7777", "0000"}},
    };
    CImageFolder folder;
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        std::vector<RGBQUAD> table(1 << c.bitCount);
        for (size_t i = 0; i < table.size(); i++)
            table[i].rgbRed = BYTE(i);
        folder.WriteBytes("rle.bmp", MakeBmp(c.width, int(c.rows.size()), c.bitCount, c.compression, table, c.data));
        CImage image(folder.Windows("rle.bmp"), -1);
        ASSERT_TRUE(image.IsValid());
        for (size_t y = 0; y < c.rows.size(); y++)
        {
            for (int x = 0; x < c.width; x++)
            {
                int expected = c.rows[y][x] - '0';
                EXPECT_EQ(expected, image.GetPixelIndex(x, int(y))) << x << "," << y;
            }
        }
    }
}

TEST(BmpFile, SixteenBitPixelsFollowTheColourMasks)
{
    const struct
    {
        const char* name;
        DWORD compression;
        std::vector<DWORD> masks;
        WORD red, green;
    } kCases[] = {
        {"565 masks", BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0xF800, 0x07E0},
        {"555 plain", BI_RGB, {}, 0x7C00, 0x03E0},
    };
    CImageFolder folder;
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bits = {BYTE(c.red), BYTE(c.red >> 8), BYTE(c.green), BYTE(c.green >> 8)};
        folder.WriteBytes("deep.bmp", MakeBmp(2, 1, 16, c.compression, {}, bits, c.masks));
        CImage image(folder.Windows("deep.bmp"), -1);
        ASSERT_TRUE(image.IsValid());
        RgbPicture ours = OurPixels(image);
        EXPECT_EQ(255, ours.At(0, 0)[0]);
        EXPECT_EQ(0, ours.At(0, 0)[1]);
        EXPECT_EQ(0, ours.At(1, 0)[0]);
        EXPECT_EQ(255, ours.At(1, 0)[1]);
        EXPECT_EQ(0, ours.At(1, 0)[2]);
    }
}
}
