// Image strips: bitmaps whose greys follow the button colours, damaged
// bitmap blocks, tool-bar resources, and the bitmap manager's strips made
// from bitmaps drawn here.
#include "tests/support/TestFramework.h"

#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkSysColorBitmap.h"

#include <string.h>

#include <random>
#include <vector>

namespace {

const COLORREF kText = RGB(1, 2, 3);
const COLORREF kShadow = RGB(4, 5, 6);
const COLORREF kFace = RGB(7, 8, 9);
const COLORREF kHilite = RGB(11, 12, 13);

// Distinct button colours for the test, the old ones back afterwards.
class ScopedButtonColors
{
public:
    ScopedButtonColors()
    {
        for (int i = 0; i < 4; i++)
            m_old[i] = ::GetSysColor(kElements[i]);
        const COLORREF colors[] = {kText, kShadow, kFace, kHilite};
        ::SetSysColors(4, kElements, colors);
    }
    ~ScopedButtonColors() { ::SetSysColors(4, kElements, m_old); }

private:
    static constexpr INT kElements[4] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    COLORREF m_old[4];
};

std::vector<BYTE> MakeDib(DWORD headerSize, WORD bits, LONG width, LONG height,
                          const std::vector<RGBQUAD>& table, const std::vector<BYTE>& pixels)
{
    std::vector<BYTE> dib(headerSize);
    BITMAPINFOHEADER header = {};
    header.biSize = headerSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;
    header.biClrUsed = (DWORD)table.size();
    memcpy(dib.data(), &header, sizeof(header));
    const BYTE* entries = reinterpret_cast<const BYTE*>(table.data());
    dib.insert(dib.end(), entries, entries + table.size() * sizeof(RGBQUAD));
    dib.insert(dib.end(), pixels.begin(), pixels.end());
    return dib;
}

RGBQUAD Entry(BYTE red, BYTE green, BYTE blue)
{
    RGBQUAD entry = {blue, green, red, 0};
    return entry;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    COLORREF color = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return color;
}

CSize SizeOf(HBITMAP bitmap)
{
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof(info), &info);
    return CSize(info.bmWidth, info.bmHeight);
}

// A strip of cells of one colour each.
HBITMAP MakeStrip(CSize cell, const std::vector<COLORREF>& colors)
{
    HDC screen = ::GetDC(NULL);
    HBITMAP strip = ::CreateCompatibleBitmap(screen, cell.cx * (int)colors.size(), cell.cy);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, strip);
    for (size_t i = 0; i < colors.size(); i++) {
        HBRUSH brush = ::CreateSolidBrush(colors[i]);
        RECT rect = {(LONG)i * cell.cx, 0, (LONG)(i + 1) * cell.cx, cell.cy};
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(NULL, screen);
    return strip;
}

BOOL IsBitmap(HBITMAP bitmap)
{
    return ::GetObjectType(bitmap) == OBJ_BITMAP;
}

// Six pixels, one per table entry: the four mapped colours, another grey and
// a colour.
const std::vector<RGBQUAD> kTable = {Entry(0, 0, 0),       Entry(128, 128, 128), Entry(192, 192, 192),
                                     Entry(255, 255, 255), Entry(160, 160, 160), Entry(10, 20, 30)};
const COLORREF kMapped[] = {kText, kShadow, kFace, kHilite, RGB(160, 160, 160), RGB(10, 20, 30)};

}  // namespace

TEST(SysColorBitmap, GreysOfTheTableBecomeButtonColours)
{
    ScopedButtonColors colors;
    const struct
    {
        const char* name;
        std::vector<BYTE> dib;
    } kCases[] = {
        {"8 bits", MakeDib(40, 8, 6, 1, kTable, {0, 1, 2, 3, 4, 5, 0, 0})},
        {"8 bits, larger header", MakeDib(124, 8, 6, 1, kTable, {0, 1, 2, 3, 4, 5, 0, 0})},
        {"4 bits, short table", MakeDib(40, 4, 6, 1, kTable, {0x01, 0x23, 0x45, 0})},
    };
    for (const auto& c : kCases) {
        HBITMAP bitmap = TkCreateSysColorBitmap(c.dib.data(), (DWORD)c.dib.size());
        ASSERT_TRUE(bitmap != NULL) << c.name;
        EXPECT_EQ(CSize(6, 1), SizeOf(bitmap)) << c.name;
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(kMapped[x], PixelOf(bitmap, x, 0)) << c.name << " pixel " << x;
        ::DeleteObject(bitmap);
    }

    // Deeper bitmaps have no table: their greys stay.
    std::vector<BYTE> deep = MakeDib(40, 24, 1, 1, {}, {192, 192, 192, 0});
    HBITMAP bitmap = TkCreateSysColorBitmap(deep.data(), (DWORD)deep.size());
    ASSERT_TRUE(bitmap != NULL);
    EXPECT_EQ(RGB(192, 192, 192), PixelOf(bitmap, 0, 0));
    ::DeleteObject(bitmap);
}

TEST(SysColorBitmap, BlocksThatAreNoCompleteBitmapAreRefused)
{
    const std::vector<BYTE> sound = MakeDib(40, 8, 6, 1, kTable, {0, 1, 2, 3, 4, 5, 0, 0});
    const struct
    {
        const char* name;
        size_t offset;
        DWORD value;
    } kCases[] = {
        {"header size 12", offsetof(BITMAPINFOHEADER, biSize), 12},
        {"header past the end", offsetof(BITMAPINFOHEADER, biSize), 4000},
        {"width 0", offsetof(BITMAPINFOHEADER, biWidth), 0},
        {"width negative", offsetof(BITMAPINFOHEADER, biWidth), DWORD(-6)},
        {"height huge", offsetof(BITMAPINFOHEADER, biHeight), 0x10000000},
        {"rows past the end", offsetof(BITMAPINFOHEADER, biHeight), 2},
        {"bit count 7", offsetof(BITMAPINFOHEADER, biBitCount), 7},
        {"runs", offsetof(BITMAPINFOHEADER, biCompression), BI_RLE8},
        {"257 colours", offsetof(BITMAPINFOHEADER, biClrUsed), 257},
        {"table past the end", offsetof(BITMAPINFOHEADER, biClrUsed), 200},
    };
    for (const auto& c : kCases) {
        std::vector<BYTE> dib = sound;
        size_t bytes = c.offset == offsetof(BITMAPINFOHEADER, biBitCount) ? 2 : 4;
        memcpy(dib.data() + c.offset, &c.value, bytes);
        EXPECT_TRUE(TkCreateSysColorBitmap(dib.data(), (DWORD)dib.size()) == NULL) << c.name;
    }
    for (DWORD cut = 0; cut < sound.size(); cut++)
        EXPECT_TRUE(TkCreateSysColorBitmap(sound.data(), cut) == NULL) << cut;
    EXPECT_TRUE(TkCreateSysColorBitmap(NULL, 100) == NULL);

    std::minstd_rand random(9106);
    for (int round = 0; round < 1000; round++) {
        std::vector<BYTE> dib = sound;
        for (int n = 1 + random() % 4; n > 0; n--)
            dib[random() % dib.size()] = (BYTE)random();
        dib.resize(random() % (dib.size() + 1));
        HBITMAP bitmap = TkCreateSysColorBitmap(dib.data(), (DWORD)dib.size());
        if (bitmap != NULL)
            ::DeleteObject(bitmap);
    }
}

TEST(ToolBarResource, IdsAndImageSizeOfCompleteResourcesOnly)
{
    const struct
    {
        const char* name;
        std::vector<BYTE> data;
        BOOL read;
        std::vector<DWORD> ids;
    } kCases[] = {
        {"three items", {1, 0, 16, 0, 15, 0, 3, 0, 100, 0, 0, 0, 101, 0}, TRUE, {100, 0, 101}},
        {"no items", {1, 0, 16, 0, 15, 0, 0, 0}, TRUE, {}},
        {"ids cut", {1, 0, 16, 0, 15, 0, 3, 0, 100, 0, 0, 0, 101}, FALSE, {}},
        {"count past the end", {1, 0, 16, 0, 15, 0, 0xFF, 0xFF, 100, 0}, FALSE, {}},
        {"header cut", {1, 0, 16, 0, 15, 0, 3}, FALSE, {}},
    };
    for (const auto& c : kCases) {
        CSize image(0, 0);
        CDWordArray ids;
        EXPECT_EQ(c.read, TkParseToolBarResource(c.data.data(), (DWORD)c.data.size(), &image, ids)) << c.name;
        EXPECT_EQ(c.ids, std::vector<DWORD>(ids.GetData(), ids.GetData() + ids.GetSize())) << c.name;
        if (c.read) {
            EXPECT_EQ(CSize(16, 15), image) << c.name;
        }
    }
}

TEST(BmpMgr, FirstStripThatListsAnIdGivesItsImage)
{
    TkBmpMgr* manager = new TkBmpMgr;
    HBITMAP first = MakeStrip(CSize(16, 15), {RGB(255, 0, 0), RGB(0, 255, 0)});
    HBITMAP second = MakeStrip(CSize(16, 15), {RGB(0, 0, 255), RGB(0, 0, 0)});
    const UINT firstIds[] = {100, 101};
    const UINT secondIds[] = {102, 100};
    ASSERT_TRUE(manager->AddBitmap(first, NULL, firstIds, 2));
    ASSERT_TRUE(manager->AddBitmap(second, NULL, secondIds, 2));
    const struct
    {
        UINT id;
        HBITMAP bitmap;
        int index;
    } kCases[] = {{100, first, 0}, {101, first, 1}, {102, second, 0}};
    for (const auto& c : kCases) {
        HBITMAP bitmap = NULL;
        int index = -1;
        ASSERT_TRUE(manager->GetImage(c.id, &bitmap, &index, FALSE)) << c.id;
        EXPECT_EQ(c.bitmap, bitmap) << c.id;
        EXPECT_EQ(c.index, index) << c.id;
    }
    HBITMAP bitmap = NULL;
    int index = -1;
    EXPECT_FALSE(manager->GetImage(999, &bitmap, &index, FALSE));
    manager->Release();
    ::DeleteObject(first);
    ::DeleteObject(second);
}

TEST(BmpMgr, LargeCellsAreStretchedFromTheSmallOnes)
{
    const std::vector<COLORREF> colors = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    HBITMAP smallStrip = MakeStrip(CSize(16, 15), colors);
    TkBmpMgr* manager = new TkBmpMgr;
    const UINT ids[] = {100, 101, 102};
    ASSERT_TRUE(manager->AddBitmap(smallStrip, NULL, ids, 3));
    manager->SetSmallMode(FALSE);
    HBITMAP largeStrip = NULL;
    int index = -1;
    ASSERT_TRUE(manager->GetImage(101, &largeStrip, &index, FALSE));
    ASSERT_TRUE(largeStrip != NULL && largeStrip != smallStrip);
    EXPECT_EQ(CSize(3 * 22, 24), SizeOf(largeStrip));
    for (int cell = 0; cell < 3; cell++) {
        const CPoint kPoints[] = {{0, 0}, {21, 0}, {0, 23}, {21, 23}, {11, 12}};
        for (CPoint pt : kPoints)
            EXPECT_EQ(colors[cell], PixelOf(largeStrip, cell * 22 + pt.x, pt.y)) << cell << " " << pt.x << "," << pt.y;
    }
    HBITMAP forced = NULL;
    ASSERT_TRUE(manager->GetImage(101, &forced, &index, TRUE));
    EXPECT_EQ(smallStrip, forced);
    manager->Release();
    EXPECT_TRUE(IsBitmap(smallStrip));
    ::DeleteObject(smallStrip);
}

// Handles the caller gave stay the caller's through every mode and the
// manager's end.
TEST(BmpMgr, GivenHandlesAreNeverDeleted)
{
    HBITMAP smallStrip = MakeStrip(CSize(16, 15), {RGB(255, 0, 0)});
    HBITMAP largeStrip = MakeStrip(CSize(22, 24), {RGB(0, 255, 0)});
    HBITMAP largeOnly = MakeStrip(CSize(22, 24), {RGB(0, 0, 255)});
    TkBmpMgr* manager = new TkBmpMgr;
    const UINT ids[] = {100};
    const UINT otherIds[] = {200};
    EXPECT_TRUE(manager->AddBitmap(smallStrip, largeStrip, ids, 1));
    // No smallStrip image to load, but the largeStrip one given must survive smallStrip mode.
    EXPECT_FALSE(manager->AddBitmap(NULL, largeOnly, otherIds, 1));
    EXPECT_TRUE(IsBitmap(largeOnly));
    manager->SetSmallMode(FALSE);
    manager->SetKeepBoth(TRUE);
    manager->SetKeepBoth(FALSE);
    manager->SetSmallMode(TRUE);
    EXPECT_TRUE(manager->ReloadBitmaps(TRUE));
    HBITMAP bitmap = NULL;
    int index = -1;
    ASSERT_TRUE(manager->GetImage(100, &bitmap, &index, FALSE));
    EXPECT_EQ(smallStrip, bitmap);
    manager->SetSmallMode(FALSE);
    ASSERT_TRUE(manager->GetImage(100, &bitmap, &index, FALSE));
    EXPECT_EQ(largeStrip, bitmap);
    manager->AddRef();
    manager->Release();
    manager->Release();
    for (HBITMAP given : {smallStrip, largeStrip, largeOnly}) {
        EXPECT_TRUE(IsBitmap(given));
        ::DeleteObject(given);
    }
}

// The tool bar of ToolBarTest.rc: its bitmap's grey cells take the button
// colours when mapped, and large buttons stretch them.
TEST(BmpMgr, ToolBarResourceStripsFollowTheButtonColours)
{
    ScopedButtonColors scheme;
    const COLORREF kRed = RGB(255, 0, 0);
    const struct
    {
        const char* name;
        BOOL mapColors;
        BOOL smallMode;
        CSize cell;
        COLORREF colors[3];
    } kCases[] = {
        {"mapped", TRUE, TRUE, CSize(16, 15), {kFace, kShadow, kRed}},
        {"mapped, large", TRUE, FALSE, CSize(22, 24), {kFace, kShadow, kRed}},
        {"plain", FALSE, TRUE, CSize(16, 15), {RGB(192, 192, 192), RGB(128, 128, 128), kRed}},
    };
    const UINT kIds[] = {100, 101, 102};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TkBmpMgr* manager = new TkBmpMgr;
        ASSERT_TRUE(manager->LoadToolBarResource(MAKEINTRESOURCEA(200), NULL, c.mapColors));
        EXPECT_EQ(CSize(16, 15), manager->GetSmallSize());
        manager->SetSmallMode(c.smallMode);
        for (int i = 0; i < 3; i++) {
            HBITMAP strip = NULL;
            int index = -1;
            ASSERT_TRUE(manager->GetImage(kIds[i], &strip, &index, FALSE));
            EXPECT_EQ(i, index);
            EXPECT_EQ(CSize(3 * c.cell.cx, c.cell.cy), SizeOf(strip));
            EXPECT_EQ(c.colors[i], PixelOf(strip, i * c.cell.cx + 1, 1)) << i;
            EXPECT_EQ(c.colors[i], PixelOf(strip, (i + 1) * c.cell.cx - 1, c.cell.cy - 1)) << i;
        }
        manager->Release();
    }
    TkBmpMgr* manager = new TkBmpMgr;
    EXPECT_FALSE(manager->LoadToolBarResource(MAKEINTRESOURCEA(201), NULL, TRUE));
    EXPECT_FALSE(manager->AddBitmapResource(MAKEINTRESOURCEA(201), NULL, kIds, 3, TRUE));
    manager->Release();
}
