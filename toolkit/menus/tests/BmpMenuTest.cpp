// Bitmap menus: which items a popup's opening converts, how an item draws
// (its tool-bar image, the embossed image of a disabled command, a check
// mark without image), menu keys by mnemonic, and menus left as plain text
// once the plug-in goes.
#include "tests/support/TestFramework.h"

#include "toolkit/menus/TkBmpMenuPlugIn.h"
#include "toolkit/toolbars/TkBmpMgr.h"

#include <memory>
#include <string>
#include <vector>

namespace
{
const UINT kWithImage = 601;
const UINT kWithoutImage = 602;
const UINT kDrawnElsewhere = 603;
const COLORREF kRed = RGB(255, 0, 0);

class BmpMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.CreateEx(0, AfxRegisterWndClass(0), "Bitmap menus", WS_POPUP, 0, 0,
                                      10, 10, NULL, NULL));
        m_plugIn.reset(new TkBmpMenuPlugIn);
        ASSERT_TRUE(m_plugIn->PlugInTo(&m_window));
        // A strip of two 16 x 15 images on the face colour: a red square in
        // the first.
        CWindowDC screen(NULL);
        m_strip.CreateCompatibleBitmap(&screen, 32, 15);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap* old = dc.SelectObject(&m_strip);
        dc.FillSolidRect(0, 0, 32, 15, ::GetSysColor(COLOR_3DFACE));
        dc.FillSolidRect(4, 4, 8, 7, kRed);
        dc.SelectObject(old);
        const UINT ids[] = {kWithImage, 9999};
        m_plugIn->GetBmpMgr()->AddBitmap((HBITMAP)m_strip.GetSafeHandle(), NULL, ids, 2);
    }
    void TearDown() override
    {
        m_plugIn.reset();
        m_window.DestroyWindow();
    }
    HMENU MakeMenu()
    {
        HMENU menu = ::CreatePopupMenu();
        ::AppendMenuA(menu, MF_STRING, kWithImage, "&Copy\tCtrl+C");
        ::AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
        ::AppendMenuA(menu, MF_STRING, kWithoutImage, "C&ut");
        ::AppendMenuA(menu, MF_OWNERDRAW, kDrawnElsewhere, (LPCSTR)0x1234);
        ::AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close");
        ::AppendMenuA(menu, MF_STRING, 604, "&Paste");
        return menu;
    }
    void Open(HMENU menu) { m_window.SendMessage(WM_INITMENUPOPUP, (WPARAM)menu, 0); }
    // "o" for an item the plug-in draws, "-" for others, in order.
    std::string Kinds(HMENU menu)
    {
        std::string kinds;
        for (int i = 0; i < ::GetMenuItemCount(menu); i++)
        {
            MENUITEMINFOA info = {sizeof(info)};
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            ::GetMenuItemInfoA(menu, i, TRUE, &info);
            kinds += m_plugIn->FindInfo(menu, info.dwItemData) ? "o" : "-";
        }
        return kinds;
    }
    // Draws item position of menu, 200 x 25, and reads pixels from it.
    struct Drawn
    {
        CBitmap bitmap;
        CDC dc;
    };
    void Draw(HMENU menu, UINT position, UINT state, Drawn& drawn)
    {
        CWindowDC screen(NULL);
        drawn.dc.CreateCompatibleDC(&screen);
        drawn.bitmap.CreateCompatibleBitmap(&screen, 200, 25);
        drawn.dc.SelectObject(&drawn.bitmap);
        drawn.dc.FillSolidRect(0, 0, 200, 25, RGB(1, 2, 3));
        MENUITEMINFOA info = {sizeof(info)};
        info.fMask = MIIM_ID | MIIM_DATA;
        ::GetMenuItemInfoA(menu, position, TRUE, &info);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_MENU;
        item.itemID = info.wID;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = (HWND)menu;
        item.hDC = drawn.dc.m_hDC;
        item.rcItem = CRect(0, 0, 200, 25);
        item.itemData = info.dwItemData;
        EXPECT_TRUE(m_window.SendMessage(WM_DRAWITEM, 0, (LPARAM)&item));
    }

    CWnd m_window;
    std::unique_ptr<TkBmpMenuPlugIn> m_plugIn;
    CBitmap m_strip;
};

TEST_F(BmpMenuTest, OpeningAPopupConvertsItsOwnTextItemsOnly)
{
    HMENU menu = MakeMenu();
    Open(menu);
    // Separator, an item another party draws and a system command stay.
    EXPECT_EQ("o-o--o", Kinds(menu));
    EXPECT_TRUE(m_plugIn->IsExcluded(kDrawnElsewhere));
    // Opening again converts nothing twice.
    Open(menu);
    EXPECT_EQ("o-o--o", Kinds(menu));
    // The system menu is never converted.
    HMENU system = MakeMenu();
    m_window.SendMessage(WM_INITMENUPOPUP, (WPARAM)system, MAKELPARAM(0, 1));
    EXPECT_EQ("------", Kinds(system));
    ::DestroyMenu(menu);
    ::DestroyMenu(system);
}

TEST_F(BmpMenuTest, AnExcludedCommandStaysPlainInEveryPopup)
{
    m_plugIn->ExcludeCommand(kWithoutImage);
    HMENU first = MakeMenu();
    HMENU second = MakeMenu();
    Open(first);
    Open(second);
    EXPECT_EQ("o----o", Kinds(first));
    EXPECT_EQ("o----o", Kinds(second));
    ::DestroyMenu(first);
    ::DestroyMenu(second);
}

TEST_F(BmpMenuTest, ItemsMeasureTheirTextAndImage)
{
    HMENU menu = MakeMenu();
    Open(menu);
    MENUITEMINFOA info = {sizeof(info)};
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoA(menu, 0, TRUE, &info);
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemID = kWithImage;
    measure.itemData = info.dwItemData;
    EXPECT_TRUE(m_window.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure));
    EXPECT_GE((int)measure.itemHeight, std::max(::GetSystemMetrics(SM_CYMENU), 15 + 4));
    EXPECT_GT((int)measure.itemWidth, 16 + 30);
    ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, ItemPixels)
{
    HMENU menu = MakeMenu();
    Open(menu);
    const COLORREF menuColor = ::GetSysColor(COLOR_MENU);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_3DHIGHLIGHT);
    // The image box is 19 high, centred in 25: the image starts at (2, 5),
    // its red square covers (6..13, 9..15).
    {
        SCOPED_TRACE("image beside the text");
        Drawn drawn;
        Draw(menu, 0, 0, drawn);
        EXPECT_EQ(kRed, drawn.dc.GetPixel(8, 11));
        EXPECT_EQ(::GetSysColor(COLOR_3DFACE), drawn.dc.GetPixel(3, 6));
        EXPECT_EQ(menuColor, drawn.dc.GetPixel(30, 2));
    }
    {
        // Embossed by hand: the mask's square in the highlight colour one
        // pixel right and down, then in the shadow colour in place.
        SCOPED_TRACE("disabled image");
        Drawn drawn;
        Draw(menu, 0, ODS_DISABLED, drawn);
        EXPECT_EQ(shadow, drawn.dc.GetPixel(8, 11));
        EXPECT_EQ(shadow, drawn.dc.GetPixel(6, 9));
        EXPECT_EQ(light, drawn.dc.GetPixel(14, 12));
        EXPECT_EQ(light, drawn.dc.GetPixel(8, 16));
        EXPECT_EQ(menuColor, drawn.dc.GetPixel(3, 6));
    }
    {
        SCOPED_TRACE("selected item");
        Drawn drawn;
        Draw(menu, 0, ODS_SELECTED, drawn);
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), drawn.dc.GetPixel(190, 2));
        EXPECT_EQ(kRed, drawn.dc.GetPixel(8, 11));
    }
    auto textColoured = [](CDC& dc, int left, int right, COLORREF color) {
        for (int x = left; x < right; x++)
            for (int y = 0; y < 25; y++)
                if (dc.GetPixel(x, y) == color)
                    return true;
        return false;
    };
    {
        SCOPED_TRACE("checked command without image");
        Drawn drawn;
        Draw(menu, 2, ODS_CHECKED, drawn);
        EXPECT_TRUE(textColoured(drawn.dc, 0, 20, ::GetSysColor(COLOR_MENUTEXT)));
        EXPECT_TRUE(textColoured(drawn.dc, 20, 120, ::GetSysColor(COLOR_MENUTEXT)));
    }
    {
        SCOPED_TRACE("unchecked command without image");
        Drawn drawn;
        Draw(menu, 2, 0, drawn);
        EXPECT_FALSE(textColoured(drawn.dc, 0, 20, ::GetSysColor(COLOR_MENUTEXT)));
    }
    {
        SCOPED_TRACE("disabled text drawn twice");
        Drawn drawn;
        Draw(menu, 2, ODS_GRAYED, drawn);
        EXPECT_TRUE(textColoured(drawn.dc, 20, 120, ::GetSysColor(COLOR_GRAYTEXT)));
        EXPECT_TRUE(textColoured(drawn.dc, 20, 120, light));
    }
    ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, MenuKeysByMnemonic)
{
    HMENU menu = MakeMenu();
    Open(menu);
    auto key = [&](char ch) {
        return (LRESULT)m_window.SendMessage(WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), (LPARAM)menu);
    };
    // One match executes; "u" of "C&ut" and "p" of "&Paste".
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), key('u'));
    EXPECT_EQ(MAKELRESULT(5, MNC_EXECUTE), key('P'));
    EXPECT_EQ(0, key('z'));
    // Two matches select in turn after the highlighted item.
    ::ModifyMenuA(menu, 2, MF_BYPOSITION | MF_STRING, kWithoutImage, "&Cut");
    HMENU again = menu;
    m_plugIn.reset(new TkBmpMenuPlugIn);
    ASSERT_TRUE(m_plugIn->PlugInTo(&m_window));
    Open(again);
    EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), key('c'));
    MENUITEMINFOA info = {sizeof(info)};
    info.fMask = MIIM_STATE;
    info.fState = MFS_HILITE;
    ::SetMenuItemInfoA(menu, 0, TRUE, &info);
    EXPECT_EQ(MAKELRESULT(2, MNC_SELECT), key('c'));
    info.fState = 0;
    ::SetMenuItemInfoA(menu, 0, TRUE, &info);
    info.fState = MFS_HILITE;
    ::SetMenuItemInfoA(menu, 2, TRUE, &info);
    EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), key('c'));
    ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, MenusAreTextAgainOnceThePlugInGoes)
{
    HMENU menu = MakeMenu();
    Open(menu);
    m_plugIn.reset();
    const char* texts[] = {"&Copy\tCtrl+C", "", "C&ut", "", "&Close", "&Paste"};
    for (int i = 0; i < ::GetMenuItemCount(menu); i++)
    {
        SCOPED_TRACE(i);
        MENUITEMINFOA info = {sizeof(info)};
        char text[64] = "";
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        if (i == 3)
        {
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
            EXPECT_EQ(0x1234u, info.dwItemData);
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
        EXPECT_STREQ(texts[i], text);
    }
    ::DestroyMenu(menu);
}
}  // namespace

namespace
{
TEST_F(BmpMenuTest, TheRadioDotOptionMarksRadioItemsWithItsDot)
{
    m_plugIn.reset(new TkBmpMenuPlugIn(TRUE));
    ASSERT_TRUE(m_plugIn->PlugInTo(&m_window));
    HBITMAP dot = AfxGetMenuRadioBitmap();
    ASSERT_NE(nullptr, dot);
    HMENU menu = MakeMenu();
    CMenu wrapper;
    wrapper.Attach(menu);
    CCmdUI state;
    state.m_pMenu = &wrapper;
    state.m_nIndex = 2;
    state.m_nID = kWithoutImage;
    state.SetRadio(TRUE);
    MENUITEMINFOA info = {sizeof(info)};
    info.fMask = MIIM_CHECKMARKS | MIIM_STATE | MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, 2, TRUE, &info);
    EXPECT_EQ(dot, info.hbmpChecked);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    Open(menu);
    // The dot in the menu text colour in the middle of the image column.
    Drawn drawn;
    Draw(menu, 2, ODS_CHECKED, drawn);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), drawn.dc.GetPixel(8, 12));
    wrapper.Detach();
    m_plugIn.reset();
    EXPECT_EQ(nullptr, AfxGetMenuRadioBitmap());
    ::DestroyMenu(menu);
}
}  // namespace
