// JPEG and PNG specifics: palettes of decoded JPEGs, transparency and depth
// of PNGs, and library errors that must come back as failures.
#include "tests/support/TestFramework.h"

#include "tests/support/HostProgram.h"
#include "image/tests/ImageFixture.h"
#include "image/ImageJPG.h"

namespace
{
class JpegPng : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WritePpm(m_folder.Unix("source.ppm"), PatternPicture());
    }

    std::string Source() const
    {
        return "'" + m_folder.Unix("source.ppm") + "' ";
    }

    CImageFolder m_folder;
};

TEST_F(JpegPng, GreyJpegGetsAGreyRamp)
{
    ASSERT_TRUE(Magick(Source() + "-colorspace Gray 'JPG:" + m_folder.Unix("grey.jpg") + "'"));
    CImage image(m_folder.Windows("grey.jpg"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(8, image.GetDepth());
    ASSERT_NE(nullptr, image.GetPalette());
    EXPECT_EQ(256, image.GetPalette()->GetEntryCount());
    BYTE r, g, b;
    image.GetPalette()->GetEntry(200, r, g, b);
    EXPECT_EQ(200, r);
    EXPECT_EQ(200, g);
    EXPECT_EQ(200, b);
}

TEST_F(JpegPng, ColourJpegIsQuantisedToAPalette)
{
    ASSERT_TRUE(Magick("-size 64x64 gradient:red-blue -quality 95 'JPG:" + m_folder.Unix("colour.jpg") + "'"));
    CImage image(m_folder.Windows("colour.jpg"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(8, image.GetDepth());
    ASSERT_NE(nullptr, image.GetPalette());
    EXPECT_LE(image.GetPalette()->GetEntryCount(), 128);
    EXPECT_GT(image.GetPalette()->GetEntryCount(), 1);
}

TEST_F(JpegPng, TransparentPngPartsShowTheBackgroundBlue)
{
    for (const char* format : {"PNG32:", "PNG64:"})
    {
        SCOPED_TRACE(format);
        ASSERT_TRUE(Magick(std::string("-size 1x1 xc:none xc:red +append ") + format + "'" + m_folder.Unix("alpha.png") + "'"));
        CImage image(m_folder.Windows("alpha.png"), -1);
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(24, image.GetDepth());
        EXPECT_EQ(kImageColor | kImageAlpha, image.GetFlags());
        RgbPicture ours = OurPixels(image);
        EXPECT_EQ(31, ours.At(0, 0)[0]);
        EXPECT_EQ(127, ours.At(0, 0)[1]);
        EXPECT_EQ(255, ours.At(0, 0)[2]);
        EXPECT_EQ(255, ours.At(1, 0)[0]);
        EXPECT_EQ(0, ours.At(1, 0)[2]);

        // Written again, it is what was read: colour without alpha.
        ASSERT_TRUE(image.Write(m_folder.Windows("again.png"), -1));
        RgbPicture theirs;
        ASSERT_TRUE(MagickPixels(m_folder.Unix("again.png"), theirs));
        EXPECT_EQ(0, MaxDifference(theirs, ours));
        EXPECT_EQ(2, m_folder.ReadBytes("again.png")[25]);  // colour type RGB
    }
}

TEST_F(JpegPng, SixteenBitSamplesBecomeEight)
{
    ASSERT_TRUE(Magick(Source() + "PNG48:'" + m_folder.Unix("deep.png") + "'"));
    ASSERT_EQ(16, m_folder.ReadBytes("deep.png")[24]);
    CImage image(m_folder.Windows("deep.png"), -1);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(24, image.GetDepth());
    EXPECT_EQ(kImageColor, image.GetFlags());
}

TEST_F(JpegPng, LibraryErrorsComeBackAsFailures)
{
    ASSERT_TRUE(Magick(Source() + "'JPG:" + m_folder.Unix("good.jpg") + "'"));
    ASSERT_TRUE(Magick(Source() + "'PNG:" + m_folder.Unix("good.png") + "'"));
    std::vector<unsigned char> jpeg = m_folder.ReadBytes("good.jpg");
    std::vector<unsigned char> png = m_folder.ReadBytes("good.png");
    ASSERT_GT(jpeg.size(), 200u);
    ASSERT_GT(png.size(), 100u);
    std::vector<unsigned char> badCrc = png;
    badCrc[20] ^= 0x55;  // inside the header chunk
    const struct
    {
        const char* name;
        std::vector<unsigned char> bytes;
    } kCases[] = {
        {"empty.jpg", {}},
        {"start only.jpg", {0xFF, 0xD8}},
        {"half.jpg", std::vector<unsigned char>(jpeg.begin(), jpeg.begin() + 120)},
        {"text.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}},
        {"png named.jpg", png},
        {"empty.png", {}},
        {"signature only.png", std::vector<unsigned char>(png.begin(), png.begin() + 8)},
        {"half.png", std::vector<unsigned char>(png.begin(), png.begin() + png.size() / 2)},
        {"bad crc.png", badCrc},
        {"jpeg named.png", jpeg},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        m_folder.WriteBytes(c.name, c.bytes);
        CImage image;
        EXPECT_FALSE(image.Read(m_folder.Windows(c.name), -1));
    }
    // The program goes on and reads the next file.
    CImage image(m_folder.Windows("good.jpg"), -1);
    EXPECT_TRUE(image.IsValid());
}

TEST_F(JpegPng, QualityIsThirtyUnlessSet)
{
    ASSERT_TRUE(Magick(Source() + "-type TrueColor 'BMP3:" + m_folder.Unix("in.bmp") + "'"));
    CImage image(m_folder.Windows("in.bmp"), -1);
    ASSERT_TRUE(image.Write(m_folder.Windows("default.jpg"), -1));
    CImageJPG* jpeg = static_cast<CImageJPG*>(image.GetImplementation());
    EXPECT_EQ(30, jpeg->GetQuality());
    jpeg->SetQuality(95);
    ASSERT_TRUE(image.Write(m_folder.Windows("fine.jpg"), -1));
    std::string text;
    ASSERT_TRUE(RunHostProgram({MagickProgram("identify"), "-format", "%Q", m_folder.Unix("default.jpg"),
                                m_folder.Unix("fine.jpg")}, &text));
    EXPECT_EQ("3095", text);
}
}
