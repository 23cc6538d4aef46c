// Untrusted files: headers that don't fit, mutated and truncated files, the
// files that once broke a reader, and writes that come up short.
#include "tests/support/TestFramework.h"

#include <dirent.h>
#include <stdlib.h>

#include "image/tests/BmpBytes.h"
#include "image/tests/ImageFixture.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TestData.h"

namespace
{
TEST(HostileFiles, BmpHeadersThatDoNotFitAreRefused)
{
    const struct
    {
        const char* name;
        size_t offset;
        size_t size;  // bytes of the field
        DWORD value;
        BOOL read;
    } kCases[] = {
        {"width 0", kBiWidth, 4, 0, FALSE},
        {"width huge", kBiWidth, 4, 0x7FFFFFFF, FALSE},
        {"width negative", kBiWidth, 4, 0xFFFFFFFF, FALSE},
        {"wider than its pixels", kBiWidth, 4, 5, FALSE},
        {"height huge", kBiHeight, 4, 0x40000000, FALSE},
        {"top-down rows", kBiHeight, 4, DWORD(-2), FALSE},
        {"colours used huge", kBiClrUsed, 4, 0x10000000, FALSE},
        {"colours used 257", kBiClrUsed, 4, 257, FALSE},
        {"colour table past the end", kBiClrUsed, 4, 200, FALSE},
        {"bit count 0", kBiBitCount, 2, 0, FALSE},
        {"bit count 7", kBiBitCount, 2, 7, FALSE},
        {"bit count 64", kBiBitCount, 2, 64, FALSE},
        {"unknown compression", kBiCompression, 4, 9, FALSE},
        {"4-bit runs on 8 bits", kBiCompression, 4, BI_RLE4, FALSE},
        {"masks on 8 bits", kBiCompression, 4, BI_BITFIELDS, FALSE},
        {"bits past the end", kBfOffBits, 4, 0x7FFFFFF0, FALSE},
        {"header size 20", kBiSize, 4, 20, FALSE},
        {"header size huge", kBiSize, 4, 0xFFFFFFFF, FALSE},
        // Taken from the geometry instead.
        {"image size wrong", kBiSizeImage, 4, 1, TRUE},
        {"untouched", kBiSizeImage, 4, 8, TRUE},
    };
    std::vector<RGBQUAD> table(2);
    table[1].rgbRed = 255;
    const std::vector<unsigned char> bits = {0, 1, 0, 1, 1, 0, 1, 0};
    CImageFolder folder;
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes = MakeBmp(4, 2, 8, BI_RGB, table, bits);
        for (size_t i = 0; i < c.size; i++)
            bytes[c.offset + i] = BYTE(c.value >> (8 * i));
        folder.WriteBytes("hostile.bmp", bytes);
        CImage image;
        EXPECT_EQ(c.read, image.Read(folder.Windows("hostile.bmp"), -1));
        if (c.read)
        {
            EXPECT_EQ(1, image.GetPixelIndex(1, 0));
        }
    }
}

TEST(HostileFiles, ShortWritesAreReported)
{
    const struct
    {
        int type;
        const char* box;
    } kCases[] = {
        {kImageBMP, NULL},
        {kImageGIF, "Write Error in GIF file"},
        {kImagePNG, NULL},
        {kImageJPG, NULL},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.type);
        CImage image;
        ASSERT_TRUE(CreateGreyImage(image, 64, 64));
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        // Every write to this device fails: the disk is full.
        EXPECT_FALSE(image.Write("Z:\\dev\\full", c.type));
        std::vector<ShownMessageBox> shown = boxes.Shown();
        if (c.box)
        {
            ASSERT_EQ(1u, shown.size());
            EXPECT_EQ(c.box, shown[0].text);
        }
        else
            EXPECT_TRUE(shown.empty());
    }
}

// Same sequence on every run, so that a failure can be repeated.
class CXorShift
{
public:
    explicit CXorShift(unsigned seed) : m_state(seed) {}

    unsigned Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    unsigned Below(unsigned limit) { return Next() % limit; }

private:
    unsigned m_state;
};

std::vector<unsigned char> Mutate(const std::vector<unsigned char>& original, CXorShift& random)
{
    const DWORD kExtremes[] = {0, 1, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    std::vector<unsigned char> bytes = original;
    switch (random.Below(4))
    {
    case 0:  // a few bytes anywhere
        for (unsigned n = 1 + random.Below(4); n > 0; n--)
            bytes[random.Below(bytes.size())] = (unsigned char)random.Next();
        break;
    case 1:  // an extreme number in a header
    {
        size_t at = random.Below(std::min<size_t>(bytes.size() - 4, 80));
        DWORD value = kExtremes[random.Below(sizeof(kExtremes) / sizeof(kExtremes[0]))];
        for (int i = 0; i < 4; i++)
            bytes[at + i] = (unsigned char)(value >> (8 * i));
        break;
    }
    case 2:  // cut short
        bytes.resize(random.Below(bytes.size()));
        break;
    default:  // bytes of the data changed, then cut
        for (unsigned n = 1 + random.Below(16); n > 0; n--)
            bytes[random.Below(bytes.size())] ^= (unsigned char)(1 << random.Below(8));
        bytes.resize(bytes.size() - random.Below(bytes.size() / 4 + 1));
        break;
    }
    return bytes;
}

// Reads every pixel the image says it holds.
void TouchPixels(const CImage& image)
{
    ASSERT_GT(image.GetWidth(), 0);
    ASSERT_GT(image.GetHeight(), 0);
    ASSERT_GE(image.GetEffWidth() * 8, image.GetWidth() * image.GetDepth());
    OurPixels(image);
}

TEST(HostileFiles, MutatedFilesNeverCrashAReader)
{
    const struct
    {
        const char* name;
        const char* options;
        int type;
    } kSeeds[] = {
        {"rgb.bmp", "-type TrueColor BMP3:", kImageBMP},
        {"palette.bmp", "-type Palette BMP3:", kImageBMP},
        {"rle8.bmp", "-type Palette -compress RLE BMP3:", kImageBMP},
        {"os2.bmp", "-type Palette BMP2:", kImageBMP},
        {"bitfields.bmp", "-alpha set -type TrueColorAlpha BMP:", kImageBMP},
        {"plain.gif", "GIF:", kImageGIF},
        {"interlaced.gif", "-interlace GIF -transparent white GIF:", kImageGIF},
        {"colour.jpg", "JPG:", kImageJPG},
        {"progressive.jpg", "-interlace JPEG JPG:", kImageJPG},
        {"grey.jpg", "-colorspace Gray JPG:", kImageJPG},
        {"rgb.png", "PNG24:", kImagePNG},
        {"palette.png", "PNG8:", kImagePNG},
        {"interlaced.png", "-interlace PNG PNG32:", kImagePNG},
    };
    const unsigned kRounds = 150;
    CImageFolder folder;
    WritePpm(folder.Unix("source.ppm"), PatternPicture());
    CXorShift random(20261210);
    for (const auto& seed : kSeeds)
    {
        SCOPED_TRACE(seed.name);
        ASSERT_TRUE(Magick("'" + folder.Unix("source.ppm") + "' " + seed.options + "'" + folder.Unix(seed.name) + "'"));
        std::vector<unsigned char> original = folder.ReadBytes(seed.name);
        ASSERT_GT(original.size(), 84u);
        for (unsigned round = 0; round < kRounds; round++)
        {
            // Left behind when the reader crashes, to be looked at.
            folder.WriteBytes("mutated", Mutate(original, random));
            CImage image;
            if (image.Read(folder.Windows("mutated"), seed.type))
                TouchPixels(image);
        }
    }
}

std::vector<std::string> CorpusFiles(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir))
    {
        if (entry->d_name[0] != '.')
            names.push_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

// Files that once broke a reader. Their own reader refuses those named
// "refused-..." and reads those named "read-...", and no reader stumbles
// over any of them.
TEST(HostileFiles, CorpusFilesReadSafely)
{
    std::string corpus = SourcePath("image/tests/corpus");
    std::vector<std::string> names = CorpusFiles(corpus);
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names)
    {
        SCOPED_TRACE(name);
        std::string path = WindowsPath(corpus + "/" + name);
        CImage own;
        EXPECT_EQ(name.compare(0, 5, "read-") == 0, own.Read(path.c_str(), -1) != FALSE);
        for (int type : {kImageBMP, kImageJPG, kImageGIF, kImagePNG})
        {
            CImage image;
            if (image.Read(path.c_str(), type))
                TouchPixels(image);
        }
    }
}
}
