#include "tests/support/TestFramework.h"

#include <afxwin.h>

namespace
{
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const int kSize = 64;

// A 64x64 screen-compatible bitmap selected into a memory DC, filled white.
class MemoryDCTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDC* screen = CDC::FromHandle(::GetDC(NULL));
        ASSERT_TRUE(m_dc.CreateCompatibleDC(screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(screen, kSize, kSize));
        ::ReleaseDC(NULL, screen->m_hDC);
        m_oldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kSize, kSize, kWhite);
    }

    void TearDown() override
    {
        m_dc.SelectObject(m_oldBitmap);
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = NULL;
};

struct PixelCase
{
    int x;
    int y;
    COLORREF color;
};

void ExpectPixels(CDC& dc, const PixelCase* cases, size_t count)
{
    for (size_t i = 0; i < count; i++)
    {
        SCOPED_TRACE(::testing::Message() << "pixel " << cases[i].x << "," << cases[i].y);
        EXPECT_EQ(cases[i].color, dc.GetPixel(cases[i].x, cases[i].y));
    }
}

TEST_F(MemoryDCTest, SelectObjectGivesThePreviousObjectOfItsKind)
{
    CPen red(PS_SOLID, 1, kRed);
    CPen blue(PS_SOLID, 1, kBlue);
    CPen* original = m_dc.SelectObject(&red);
    ASSERT_NE(nullptr, original);
    EXPECT_TRUE(original->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(GetStockObject(BLACK_PEN), original->m_hObject);
    EXPECT_EQ(&red, m_dc.SelectObject(&blue));
    EXPECT_EQ(&blue, m_dc.GetCurrentPen());

    CGdiObject* previousBrush = m_dc.SelectStockObject(NULL_BRUSH);
    EXPECT_TRUE(previousBrush->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), previousBrush->m_hObject);
    EXPECT_EQ(&m_bitmap, m_dc.GetCurrentBitmap());

    // A temporary object borrows its handle: dropping it leaves the pen alive.
    m_dc.SelectObject(original);
    HGDIOBJ stockPen = original->m_hObject;
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(OBJ_PEN, GetObjectType(stockPen));
    EXPECT_EQ(OBJ_PEN, GetObjectType(blue.m_hObject));
}

TEST_F(MemoryDCTest, ObjectsDeleteTheirHandleUnlessDetached)
{
    HGDIOBJ deleted;
    HGDIOBJ kept;
    {
        CBrush owned(kRed);
        CBrush detached(kBlue);
        deleted = owned.m_hObject;
        kept = detached.Detach();
        EXPECT_EQ(NULL, detached.m_hObject);
        // Once detached, the handle's object is a temporary one.
        EXPECT_NE(&detached, CGdiObject::FromHandle(kept));
        EXPECT_EQ(&owned, CBrush::FromHandle((HBRUSH)deleted));
    }
    EXPECT_EQ(0u, GetObjectType(deleted));
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(kept));
    CGdiObject::DeleteTempMap();
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(kept));
    DeleteObject(kept);
}

TEST_F(MemoryDCTest, ShapesAndFills)
{
    CBrush green(kGreen);
    m_dc.FillRect(CRect(0, 0, 10, 10), &green);
    m_dc.FillSolidRect(CRect(10, 0, 20, 10), kBlue);
    CPen red(PS_SOLID, 1, kRed);
    CPen* oldPen = m_dc.SelectObject(&red);
    m_dc.MoveTo(0, 20);
    m_dc.LineTo(30, 20);
    CBrush* oldBrush = m_dc.SelectObject(&green);
    m_dc.Rectangle(40, 40, 50, 50);
    m_dc.SelectObject(oldBrush);
    m_dc.SelectObject(oldPen);
    m_dc.PatBlt(0, 60, 4, 4, BLACKNESS);

    const PixelCase pixels[] = {
        { 0, 0, kGreen }, { 9, 9, kGreen }, { 10, 0, kBlue }, { 19, 9, kBlue },
        { 20, 0, kWhite }, { 0, 20, kRed }, { 29, 20, kRed }, { 30, 20, kWhite },
        // The rectangle's border is the pen, its inside the brush.
        { 40, 40, kRed }, { 49, 45, kRed }, { 45, 45, kGreen }, { 50, 50, kWhite },
        { 3, 63, kBlack }, { 4, 63, kWhite },
    };
    ExpectPixels(m_dc, pixels, ARRAYSIZE(pixels));
}

TEST_F(MemoryDCTest, Draw3dRectDrawsOnePixelFrame)
{
    m_dc.Draw3dRect(CRect(10, 10, 20, 30), kRed, kBlue);
    const PixelCase pixels[] = {
        { 10, 10, kRed }, { 18, 10, kRed }, { 10, 28, kRed },
        // The far corners belong to the bottom-right colour.
        { 19, 10, kBlue }, { 10, 29, kBlue }, { 19, 29, kBlue }, { 19, 20, kBlue },
        { 15, 29, kBlue },
        { 11, 11, kWhite }, { 18, 28, kWhite }, { 20, 10, kWhite }, { 10, 30, kWhite },
    };
    ExpectPixels(m_dc, pixels, ARRAYSIZE(pixels));
}

TEST_F(MemoryDCTest, BlitsBetweenMemoryDCs)
{
    CDC source;
    CBitmap sourceBits;
    ASSERT_TRUE(source.CreateCompatibleDC(&m_dc));
    ASSERT_TRUE(sourceBits.CreateCompatibleBitmap(&m_dc, 2, 2));
    CBitmap* old = source.SelectObject(&sourceBits);
    source.SetPixel(0, 0, kRed);
    source.SetPixel(1, 0, kGreen);
    source.SetPixel(0, 1, kBlue);
    source.SetPixel(1, 1, kBlack);

    m_dc.BitBlt(0, 0, 2, 2, &source, 0, 0, SRCCOPY);
    m_dc.SetStretchBltMode(COLORONCOLOR);
    m_dc.StretchBlt(10, 10, 8, 8, &source, 0, 0, 2, 2, SRCCOPY);
    source.SelectObject(old);

    BITMAP info = {};
    ASSERT_EQ((int)sizeof(info), sourceBits.GetBitmap(&info));
    EXPECT_EQ(2, info.bmWidth);
    const PixelCase pixels[] = {
        { 0, 0, kRed }, { 1, 0, kGreen }, { 0, 1, kBlue }, { 1, 1, kBlack }, { 2, 2, kWhite },
        { 10, 10, kRed }, { 13, 13, kRed }, { 14, 10, kGreen }, { 10, 14, kBlue },
        { 17, 17, kBlack }, { 18, 18, kWhite },
    };
    ExpectPixels(m_dc, pixels, ARRAYSIZE(pixels));
}

TEST_F(MemoryDCTest, ClippingAndSavedStates)
{
    int saved = m_dc.SaveDC();
    m_dc.IntersectClipRect(10, 10, 30, 30);
    m_dc.ExcludeClipRect(15, 15, 20, 20);
    m_dc.FillSolidRect(0, 0, kSize, kSize, kRed);
    ASSERT_TRUE(m_dc.RestoreDC(saved));
    CRgn region;
    region.CreateRectRgn(40, 40, 50, 50);
    m_dc.SelectClipRgn(&region);
    m_dc.FillSolidRect(0, 0, kSize, kSize, kBlue);
    m_dc.SelectClipRgn(NULL);

    const PixelCase pixels[] = {
        { 9, 9, kWhite }, { 10, 10, kRed }, { 29, 29, kRed }, { 30, 30, kWhite },
        { 15, 15, kWhite }, { 19, 19, kWhite }, { 20, 20, kRed },
        { 39, 39, kWhite }, { 40, 40, kBlue }, { 49, 49, kBlue }, { 50, 50, kWhite },
    };
    ExpectPixels(m_dc, pixels, ARRAYSIZE(pixels));
}

TEST_F(MemoryDCTest, TextTakesColourAndExtent)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Tahoma", &m_dc));
    LOGFONTA logFont = {};
    font.GetLogFont(&logFont);
    // 12 points at the DC's pixels per inch, as a character height.
    EXPECT_EQ(-MulDiv(12, m_dc.GetDeviceCaps(LOGPIXELSY), 72), logFont.lfHeight);

    CFont* old = m_dc.SelectObject(&font);
    CString text("WWW");
    CSize extent = m_dc.GetTextExtent(text);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(extent, m_dc.GetTextExtent("WWWxyz", 3));
    EXPECT_LT(extent.cx, m_dc.GetTextExtent(CString("WWWWWW")).cx);

    m_dc.SetTextColor(kRed);
    m_dc.SetBkColor(kBlue);
    m_dc.SetBkMode(OPAQUE);
    m_dc.TextOut(0, 0, text);
    CRect drawn(0, 32, kSize, kSize);
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.DrawText(text, drawn, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(extent.cx, drawn.Width());
    m_dc.SelectObject(old);

    // The glyphs take the text colour, the opaque cell the background.
    int red = 0;
    int blue = 0;
    for (int x = 0; x < extent.cx; x++)
    {
        for (int y = 0; y < extent.cy; y++)
        {
            red += m_dc.GetPixel(x, y) == kRed;
            blue += m_dc.GetPixel(x, y) == kBlue;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0);
    EXPECT_EQ(kWhite, m_dc.GetPixel(extent.cx + 1, 1));
}

TEST_F(MemoryDCTest, DragRectMovesTheFrameAndLeavesNothingBehind)
{
    // Solid brushes make the inverted pixels easy to see: white XOR white is black.
    CBrush brush(kWhite);
    CRect first(10, 10, 30, 30);
    m_dc.DrawDragRect(first, CSize(2, 2), NULL, CSize(0, 0), &brush, &brush);
    EXPECT_EQ(kBlack, m_dc.GetPixel(10, 10));
    EXPECT_EQ(kBlack, m_dc.GetPixel(11, 20));
    EXPECT_EQ(kWhite, m_dc.GetPixel(12, 20));

    CRect second(20, 20, 40, 40);
    m_dc.DrawDragRect(second, CSize(2, 2), first, CSize(2, 2), &brush, &brush);
    const PixelCase moved[] = {
        { 10, 10, kWhite }, { 11, 20, kWhite }, { 20, 20, kBlack }, { 39, 39, kBlack },
        // Where the old and new frames cross, the new one shows.
        { 28, 20, kBlack }, { 20, 28, kBlack }, { 25, 25, kWhite },
    };
    ExpectPixels(m_dc, moved, ARRAYSIZE(moved));

    // Erasing the last frame (a NULL size) restores every pixel.
    m_dc.DrawDragRect(CRect(0, 0, 0, 0), CSize(0, 0), second, CSize(2, 2), &brush, &brush);
    for (int x = 0; x < kSize; x++)
    {
        for (int y = 0; y < kSize; y++)
            ASSERT_EQ(kWhite, m_dc.GetPixel(x, y)) << x << "," << y;
    }
}

TEST_F(MemoryDCTest, MappingModesConvertPointsAndSizes)
{
    m_dc.SetMapMode(MM_ANISOTROPIC);
    m_dc.SetWindowExt(100, 100);
    m_dc.SetViewportExt(50, -50);
    m_dc.SetViewportOrg(0, kSize);
    CPoint point(40, 20);
    m_dc.LPtoDP(&point);
    EXPECT_EQ(CPoint(20, kSize - 10), point);
    m_dc.DPtoLP(&point);
    EXPECT_EQ(CPoint(40, 20), point);
    // Sizes keep their sign even where the y axis points up.
    CSize size(40, 20);
    m_dc.LPtoDP(&size);
    EXPECT_EQ(CSize(20, 10), size);
    m_dc.DPtoLP(&size);
    EXPECT_EQ(CSize(40, 20), size);
    CRect rect(0, 0, 20, 20);
    m_dc.LPtoDP(rect);
    EXPECT_EQ(CRect(0, kSize, 10, kSize - 10), rect);
}

TEST(RegionTest, CombineAndQuery)
{
    CRgn a, b, combined;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 20, 20);
    combined.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, combined.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    combined.GetRgnBox(box);
    EXPECT_EQ(CRect(0, 0, 20, 20), box);
    EXPECT_TRUE(combined.PtInRegion(2, 2));
    EXPECT_FALSE(combined.PtInRegion(CPoint(15, 2)));
    EXPECT_EQ(SIMPLEREGION, combined.CombineRgn(&a, &b, RGN_AND));
    combined.OffsetRgn(CPoint(10, 10));
    combined.GetRgnBox(box);
    EXPECT_EQ(CRect(15, 15, 20, 20), box);
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    copy.CopyRgn(&combined);
    EXPECT_TRUE(copy.EqualRgn(&combined));
}

TEST(PaletteTest, EntriesAndNearestIndex)
{
    struct
    {
        LOGPALETTE header;
        PALETTEENTRY more[2];
    } logPalette = { { 0x300, 3, { { 255, 0, 0, 0 } } }, { { 0, 255, 0, 0 }, { 0, 0, 255, 0 } } };
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&logPalette.header));
    EXPECT_EQ(3, palette.GetEntryCount());
    EXPECT_EQ(2u, palette.GetNearestPaletteIndex(RGB(10, 10, 240)));
    PALETTEENTRY entry = { 1, 2, 3, 0 };
    palette.SetPaletteEntries(1, 1, &entry);
    PALETTEENTRY read = {};
    palette.GetPaletteEntries(1, 1, &read);
    EXPECT_EQ(3, read.peBlue);
    EXPECT_TRUE(palette.ResizePalette(5));
    EXPECT_EQ(5, palette.GetEntryCount());
}
}
