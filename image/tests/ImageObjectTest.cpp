// The image object: types from file names, pixel access in every depth,
// palettes, conversion between formats, and drawing.
#include "tests/support/TestFramework.h"

#include "image/tests/ImageFixture.h"
#include "tests/support/MessageBoxScript.h"

namespace
{
TEST(ImageObject, TypeComesFromTheExtension)
{
    const struct
    {
        const char* name;
        int type;
    } kCases[] = {
        {"cover.JpG", kImageJPG},  {"cover.bmp", kImageBMP}, {"COVER.GIF", kImageGIF},
        {"a.b.png", kImagePNG},    {"cover.xpm", kImageXPM}, {"cover.jpeg", -1},
        {"cover", -1},             {"cover.", -1},           {"c:\\dir.d\\cover", -1},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.type, CImage::TypeFromFileName(c.name)) << c.name;
}

TEST(ImageObject, NamesWithoutAFormatClassDoNotRead)
{
    CImageFolder folder;
    Magick("-size 2x2 xc:red 'BMP3:" + folder.Unix("cover.jpeg") + "'");
    Magick("-size 2x2 xc:red 'BMP3:" + folder.Unix("cover.xpm") + "'");
    for (const char* name : {"cover.jpeg", "cover.xpm", "cover", "cover."})
    {
        CImage image(folder.Windows(name), -1);
        EXPECT_FALSE(image.IsValid()) << name;
        EXPECT_EQ(0, image.GetWidth()) << name;
        EXPECT_EQ(-1, image.GetPixelIndex(0, 0)) << name;
    }
}

TEST(ImageObject, PixelIndexesInEveryDepthKeepTheirNeighbours)
{
    const struct
    {
        int depth;
        int width;
        int rowSize;
        int index;
    } kCases[] = {
        {1, 33, 8, 1}, {4, 9, 8, 11}, {8, 5, 8, 200},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.depth);
        CImage image;
        ASSERT_TRUE(image.Create(c.width, 3, c.depth, -1));
        EXPECT_EQ(c.rowSize, image.GetEffWidth());
        EXPECT_EQ(0, image.GetFlags());
        for (int x = 0; x < c.width; x += 2)
            ASSERT_TRUE(image.SetPixelIndex(x, 1, c.index));
        for (int x = 0; x < c.width; x++)
        {
            EXPECT_EQ(x % 2 ? 0 : c.index, image.GetPixelIndex(x, 1)) << x;
            EXPECT_EQ(0, image.GetPixelIndex(x, 0)) << x;
            EXPECT_EQ(0, image.GetPixelIndex(x, 2)) << x;
        }
        EXPECT_FALSE(image.SetPixelIndex(c.width, 0, 0));
        EXPECT_FALSE(image.SetPixelIndex(0, 3, 0));
        EXPECT_FALSE(image.SetPixelIndex(0, 0, 1 << c.depth));
        EXPECT_EQ(-1, image.GetPixelIndex(-1, 0));
    }
}

TEST(ImageObject, TrueColourPixelsHaveNoIndex)
{
    CImage image;
    ASSERT_TRUE(image.Create(3, 2, 24, -1));
    EXPECT_EQ(kImageColor, image.GetFlags());
    EXPECT_EQ(12, image.GetEffWidth());
    ASSERT_TRUE(image.SetPixelColor(2, 1, 10, 20, 30));
    EXPECT_EQ(-1, image.GetPixelIndex(2, 1));
    EXPECT_FALSE(image.SetPixelIndex(2, 1, 0));
    BYTE red, green, blue;
    ASSERT_TRUE(image.GetPixelColor(2, 1, red, green, blue));
    EXPECT_EQ(10, red);
    EXPECT_EQ(20, green);
    EXPECT_EQ(30, blue);
    // Held as blue, green, red.
    const BYTE* pixel = image.GetBits() + image.GetEffWidth() + 6;
    EXPECT_EQ(30, pixel[0]);
    EXPECT_EQ(10, pixel[2]);
}

TEST(ImageObject, ColoursOfAPaletteImageGoThroughThePalette)
{
    CImage image;
    ASSERT_TRUE(image.Create(4, 1, 8, -1));
    // Without a palette there is no colour to look up: nothing is stored.
    EXPECT_FALSE(image.SetPixelColor(3, 0, 255, 0, 0));
    const BYTE red[] = {0, 255, 0, 0}, green[] = {0, 0, 255, 0}, blue[] = {0, 0, 0, 255};
    ASSERT_TRUE(image.CreatePalette(4, red, green, blue));
    EXPECT_EQ(kImageHasPalette | kImageColor, image.GetFlags());
    ASSERT_TRUE(image.SetPixelColor(3, 0, 250, 10, 0));
    EXPECT_EQ(1, image.GetPixelIndex(3, 0));
    ASSERT_TRUE(image.SetPixelIndex(2, 0, 3));
    BYTE r, g, b;
    ASSERT_TRUE(image.GetPixelColor(2, 0, r, g, b));
    EXPECT_EQ(0, r);
    EXPECT_EQ(255, b);
    // The colour table holds palette indexes while the palette is attached.
    const WORD* table = reinterpret_cast<const WORD*>(image.GetImplementation()->GetDIB() + 1);
    EXPECT_EQ(2, table[2]);
    EXPECT_EQ(3, table[3]);
}

TEST(ImageObject, OneArrayMakesAGreyPalette)
{
    CImage image;
    ASSERT_TRUE(image.Create(1, 1, 8, -1));
    BYTE greys[3] = {0, 100, 255};
    ASSERT_TRUE(image.CreatePalette(3, greys));
    BYTE r, g, b;
    ASSERT_TRUE(image.GetPalette()->GetEntry(1, r, g, b));
    EXPECT_EQ(100, r);
    EXPECT_EQ(100, g);
    EXPECT_EQ(100, b);
    EXPECT_FALSE(image.GetPalette()->GetEntry(3, r, g, b));
}

TEST(ImageObject, APaletteFromTriplesReplacesTheOldOneWithAWarning)
{
    CImage image;
    ASSERT_TRUE(image.Create(1, 1, 8, -1));
    const BYTE first[] = {1, 2, 3}, second[] = {10, 20, 30, 40, 50, 60};
    ASSERT_TRUE(image.SetPaletteFromTriples(1, first));
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    ASSERT_TRUE(image.SetPaletteFromTriples(2, second));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("CImageImpl::imagePalette already exists!", boxes.Shown()[0].text);
    EXPECT_EQ(2, image.GetPalette()->GetEntryCount());
    BYTE r, g, b;
    image.GetPalette()->GetEntry(1, r, g, b);
    EXPECT_EQ(40, r);
    EXPECT_EQ(60, b);
}

TEST(ImageObject, WritingUnderAnotherTypeConvertsTheImplementation)
{
    CImageFolder folder;
    ASSERT_TRUE(Magick("-size 3x2 xc:orange 'BMP3:" + folder.Unix("in.bmp") + "'"));
    CImage image(folder.Windows("in.bmp"), -1);
    ASSERT_TRUE(image.IsValid());
    CImageImpl* before = image.GetImplementation();
    // No format class for the name: the image keeps what it had.
    EXPECT_FALSE(image.Write(folder.Windows("out.jpeg"), -1));
    EXPECT_EQ(before, image.GetImplementation());
    EXPECT_EQ(kImageBMP, image.GetType());

    ASSERT_TRUE(image.Write(folder.Windows("out.png"), -1));
    EXPECT_EQ(kImagePNG, image.GetType());
    EXPECT_TRUE(image.IsValid());
    std::vector<unsigned char> bytes = folder.ReadBytes("out.png");
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(0, memcmp(bytes.data(), "\x89PNG", 4));
    RgbPicture theirs;
    ASSERT_TRUE(MagickPixels(folder.Unix("out.png"), theirs));
    EXPECT_EQ(0, MaxDifference(theirs, OurPixels(image)));
}

TEST(ImageObject, PureRedStaysRedThroughEveryFormat)
{
    CImageFolder folder;
    for (const char* name : {"red.bmp", "red.png", "red.jpg"})
    {
        SCOPED_TRACE(name);
        CImage image;
        ASSERT_TRUE(image.Create(8, 8, 24, -1));
        for (int y = 0; y < 8; y++)
        {
            for (int x = 0; x < 8; x++)
                image.SetPixelColor(x, y, 255, 0, 0);
        }
        ASSERT_TRUE(image.Write(folder.Windows(name), -1));
        CImage back(folder.Windows(name), -1);
        ASSERT_TRUE(back.IsValid());
        BYTE r, g, b;
        ASSERT_TRUE(back.GetPixelColor(4, 4, r, g, b));
        EXPECT_GE(r, 250);
        EXPECT_LE(g, 5);
        EXPECT_LE(b, 5);
    }
}

// A memory DC with a true-colour bitmap to draw into.
class CMemoryCanvas
{
public:
    CMemoryCanvas(int width, int height) : m_width(width), m_height(height)
    {
        m_dc.CreateCompatibleDC(NULL);
        m_bitmap.CreateBitmap(width, height, 1, 32, NULL);
        m_old = m_dc.SelectObject(&m_bitmap);
    }

    ~CMemoryCanvas()
    {
        m_dc.SelectObject(m_old);
    }

    bool IsReady() const { return m_old != NULL; }
    CDC* Dc() { return &m_dc; }

    void Fill(COLORREF colour)
    {
        m_dc.FillSolidRect(0, 0, m_width, m_height, colour);
    }

    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

    // The pixels at (left, top) of a picture drawn scale times its size: the
    // top left canvas pixel of each picture pixel.
    RgbPicture Picture(int left, int top, int width, int height, int scale) const
    {
        RgbPicture picture;
        picture.width = width;
        picture.height = height;
        for (int y = 0; y < height; y++)
        {
            for (int x = 0; x < width; x++)
            {
                COLORREF colour = At(left + scale * x, top + scale * y);
                picture.rgb.push_back(GetRValue(colour));
                picture.rgb.push_back(GetGValue(colour));
                picture.rgb.push_back(GetBValue(colour));
            }
        }
        return picture;
    }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old;
};

TEST(ImageObject, TransparentPixelsShowTheBackgroundWhenStretched)
{
    CImageFolder folder;
    ASSERT_TRUE(Magick("-size 1x1 xc:red xc:lime +append -transparent lime 'GIF:" +
                       folder.Unix("clear.gif") + "'"));
    CImage image(folder.Windows("clear.gif"), -1);
    ASSERT_TRUE(image.IsValid());
    ASSERT_GE(image.GetImplementation()->GetTransparentIndex(), 0);
    CMemoryCanvas canvas(4, 2);
    ASSERT_TRUE(canvas.IsReady());
    canvas.Fill(RGB(0, 0, 255));
    CPalette* old = canvas.Dc()->SelectPalette(image.GetPalette(), FALSE);
    EXPECT_TRUE(image.Stretch(canvas.Dc(), 0, 0, 4, 2));
    canvas.Dc()->SelectPalette(old, FALSE);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 1));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(2, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(3, 1));
    // The pixels are what they were before drawing.
    EXPECT_EQ(image.GetImplementation()->GetTransparentIndex(), image.GetPixelIndex(1, 0));
}

TEST(ImageObject, DrawsAtItsOwnSize)
{
    CImage image;
    ASSERT_TRUE(image.Create(2, 2, 24, -1));
    image.SetPixelColor(0, 1, 0, 255, 0);  // top left
    CMemoryCanvas canvas(4, 4);
    ASSERT_TRUE(canvas.IsReady());
    canvas.Fill(RGB(0, 0, 0));
    EXPECT_TRUE(image.Draw(canvas.Dc(), 1, 1));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(1, 1));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(2, 2));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 0));
    EXPECT_TRUE(image.Draw(NULL, 0, 0));
    CImage empty;
    EXPECT_FALSE(empty.Draw(canvas.Dc(), 0, 0));
}

TEST(ImageObject, PaletteImagesDrawThroughTheirPalette)
{
    const struct
    {
        const char* name;
        const char* options;
    } kFiles[] = {
        {"mono.bmp", "-monochrome BMP3:"},
        {"sixteen.bmp", "-colors 16 -type Palette BMP3:"},
        {"palette.bmp", "-type Palette BMP3:"},
        {"plain.gif", "GIF:"},
        {"palette.png", "PNG8:"},
    };
    const COLORREF kBackground = RGB(1, 2, 3);
    const int kLeft = 3, kTop = 2, kScale = 2;
    CImageFolder folder;
    WritePpm(folder.Unix("source.ppm"), PatternPicture());
    for (const auto& file : kFiles)
    {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(Magick("'" + folder.Unix("source.ppm") + "' " + file.options + "'" + folder.Unix(file.name) + "'"));
        RgbPicture theirs;
        ASSERT_TRUE(MagickPixels(folder.Unix(file.name), theirs));
        CImage image(folder.Windows(file.name), -1);
        ASSERT_TRUE(image.IsValid());
        ASSERT_NE(nullptr, image.GetPalette());
        int width = image.GetWidth(), height = image.GetHeight();
        CMemoryCanvas canvas(kLeft + kScale * width, kTop + kScale * height);
        ASSERT_TRUE(canvas.IsReady());
        canvas.Fill(kBackground);
        CPalette* old = canvas.Dc()->SelectPalette(image.GetPalette(), FALSE);

        EXPECT_TRUE(image.Draw(canvas.Dc(), kLeft, kTop));
        EXPECT_EQ(0, MaxDifference(theirs, canvas.Picture(kLeft, kTop, width, height, 1)));
        EXPECT_EQ(kBackground, canvas.At(kLeft - 1, kTop));
        EXPECT_EQ(kBackground, canvas.At(kLeft, kTop - 1));
        EXPECT_EQ(kBackground, canvas.At(kLeft + width, kTop + height - 1));

        EXPECT_TRUE(image.Stretch(canvas.Dc(), 0, 0, kScale * width, kScale * height));
        EXPECT_EQ(0, MaxDifference(theirs, canvas.Picture(0, 0, width, height, kScale)));
        EXPECT_EQ(0, MaxDifference(theirs, canvas.Picture(kScale - 1, kScale - 1, width, height, kScale)));
        canvas.Dc()->SelectPalette(old, FALSE);
    }
}
}
