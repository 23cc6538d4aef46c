// Files ImageMagick writes, read by our classes, and files our classes write,
// read by ImageMagick: the pixels must agree.
#include "tests/support/TestFramework.h"

#include "image/tests/ImageFixture.h"

namespace
{
struct MagickFile
{
    const char* name;     // file name in the folder
    const char* options;  // ImageMagick options and output format prefix
    int depth;            // bits a pixel our image holds
    double tolerance;     // mean difference allowed; 0 means exactly equal
};

const MagickFile kMagickFiles[] = {
    {"rgb.bmp", "-type TrueColor BMP3:", 24, 0},
    {"v5.bmp", "-type TrueColor BMP:", 24, 0},
    {"palette.bmp", "-type Palette BMP3:", 8, 0},
    {"sixteen.bmp", "-colors 16 -type Palette BMP3:", 4, 0},
    {"mono.bmp", "-monochrome BMP3:", 1, 0},
    {"rle8.bmp", "-type Palette -compress RLE BMP3:", 8, 0},
    {"os2.bmp", "-type Palette BMP2:", 8, 0},
    {"bitfields.bmp", "-alpha set -type TrueColorAlpha BMP:", 32, 0},
    {"rgb565.bmp", "-define bmp:subtype=RGB565 BMP:", 16, 0},
    {"rgb555.bmp", "-define bmp:subtype=RGB555 BMP:", 16, 0},
    {"plain.gif", "GIF:", 8, 0},
    {"interlaced.gif", "-interlace GIF GIF:", 8, 0},
    {"four.gif", "-colors 4 GIF:", 8, 0},
    {"rgb.png", "PNG24:", 24, 0},
    {"palette.png", "PNG8:", 8, 0},
    {"grey.png", "-colorspace Gray -define png:color-type=0 -define png:bit-depth=8 PNG:", 8, 0},
    {"mono.png", "-monochrome -define png:color-type=0 -define png:bit-depth=1 PNG:", 1, 0},
    {"grey2.png", "-colorspace Gray -depth 2 PNG:", 8, 0},
    {"palette4.png", "-colors 16 -define png:color-type=3 -define png:bit-depth=4 PNG:", 4, 0},
    {"palette2.png", "-colors 3 -type Palette PNG8:", 8, 0},
    {"deep.png", "PNG48:", 24, 0},
    {"opaque-alpha.png", "-alpha opaque PNG32:", 24, 0},
    {"interlaced.png", "-interlace PNG PNG24:", 24, 0},
    // Colour pictures are quantised to 128 colours, with dithering.
    {"colour.jpg", "-quality 95 JPG:", 8, 12},
    {"progressive.jpg", "-interlace JPEG -quality 95 JPG:", 8, 12},
    {"grey.jpg", "-colorspace Gray -quality 95 JPG:", 8, 1},
};

class ImageFiles : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = new CImageFolder;
        WritePpm(s_folder->Unix("source.ppm"), PatternPicture());
        for (const MagickFile& file : kMagickFiles)
            Magick("'" + s_folder->Unix("source.ppm") + "' " + file.options + "'" + s_folder->Unix(file.name) + "'");
    }

    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = NULL;
    }

    static const MagickFile& Find(const char* name)
    {
        for (const MagickFile& file : kMagickFiles)
        {
            if (strcmp(file.name, name) == 0)
                return file;
        }
        return kMagickFiles[0];
    }

    static void ExpectSamePixels(const RgbPicture& theirs, const RgbPicture& ours, double tolerance)
    {
        if (tolerance == 0)
            EXPECT_EQ(0, MaxDifference(theirs, ours));
        else
            EXPECT_LE(MeanDifference(theirs, ours), tolerance);
    }

    static CImageFolder* s_folder;
};

CImageFolder* ImageFiles::s_folder = NULL;

TEST_F(ImageFiles, ReadsWhatImageMagickWrites)
{
    for (const MagickFile& file : kMagickFiles)
    {
        SCOPED_TRACE(file.name);
        RgbPicture theirs;
        ASSERT_TRUE(MagickPixels(s_folder->Unix(file.name), theirs));
        CImage image(s_folder->Windows(file.name), -1);
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(file.depth, image.GetDepth());
        ExpectSamePixels(theirs, OurPixels(image), file.tolerance);
    }
}

struct Conversion
{
    const char* source;
    const char* target;
    double tolerance;
};

TEST_F(ImageFiles, ImageMagickReadsWhatWeWrite)
{
    const Conversion kConversions[] = {
        {"rgb.bmp", "out-rgb.bmp", 0},
        {"palette.bmp", "out-palette.bmp", 0},
        {"sixteen.bmp", "out-sixteen.bmp", 0},
        {"mono.bmp", "out-mono.bmp", 0},
        {"rle8.bmp", "out-rle8.bmp", 0},
        {"bitfields.bmp", "out-bitfields.bmp", 0},
        {"rgb565.bmp", "out-rgb565.bmp", 0},
        {"plain.gif", "out-plain.bmp", 0},
        {"plain.gif", "out-plain.gif", 0},
        {"palette.bmp", "out-palette.gif", 0},
        {"sixteen.bmp", "out-sixteen.gif", 0},
        {"mono.bmp", "out-mono.gif", 0},
        {"palette.png", "out-palette.gif", 0},
        {"rgb.bmp", "out-rgb.png", 0},
        {"bitfields.bmp", "out-bitfields.png", 0},
        {"rgb555.bmp", "out-rgb555.png", 0},
        {"rgb565.bmp", "out-rgb565.jpg", 10},
        {"palette.bmp", "out-palette.png", 0},
        {"sixteen.bmp", "out-sixteen.png", 0},
        {"mono.bmp", "out-mono.png", 0},
        {"grey.png", "out-grey.png", 0},
        {"mono.png", "out-mono.png", 0},
        {"palette4.png", "out-palette4.png", 0},
        {"opaque-alpha.png", "out-opaque-alpha.png", 0},
        {"deep.png", "out-deep.png", 0},
        {"grey.png", "out-grey.bmp", 0},
        {"rgb.png", "out-rgb.bmp", 0},
        {"colour.jpg", "out-colour.png", 0},
        // Quality 30, chroma subsampled.
        {"rgb.bmp", "out-rgb.jpg", 10},
        {"palette.bmp", "out-palette.jpg", 10},
        {"grey.png", "out-grey.jpg", 10},
        {"plain.gif", "out-plain.jpg", 10},
    };
    for (const Conversion& conversion : kConversions)
    {
        SCOPED_TRACE(conversion.target);
        CImage image(s_folder->Windows(conversion.source), -1);
        ASSERT_TRUE(image.IsValid());
        RgbPicture ours = OurPixels(image);
        ASSERT_TRUE(image.Write(s_folder->Windows(conversion.target), -1));
        RgbPicture theirs;
        ASSERT_TRUE(MagickPixels(s_folder->Unix(conversion.target), theirs));
        ExpectSamePixels(theirs, ours, conversion.tolerance);
    }
}
}
