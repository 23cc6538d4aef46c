// The menu bar on a toolkit MDI frame, driven by real input: keyboard menu
// mode and its keys, popups opened, switched and closed by keys and mouse,
// the system menu, and the menus' bits.
#include "tests/support/TestFramework.h"

#include "toolkit/menus/TkBmpMenuPlugIn.h"
#include "toolkit/menus/tests/MenuHost.h"
#include "toolkit/menus/tests/MenuTest.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
CMenuHostFrame* g_frame;
std::vector<std::string> g_seen;

// A script step that notes what shows.
void Snap()
{
    g_seen.push_back(MenuState(g_frame));
}

class MenuBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_seen.clear();
        g_frame = new CMenuHostFrame;
        ASSERT_TRUE(g_frame->Make({IDR_MENUHOST, IDR_DOCMENU}));
        g_frame->m_feature.SetActiveMenu(IDR_MENUHOST);
        PumpIdle();
    }
    void TearDown() override
    {
        g_frame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = NULL;
        PumpIdle();
    }
    TkMDIMenuBar& Bar() { return g_frame->m_menuBar; }
    int IndexOf(const char* title)
    {
        for (int i = 0; i < Bar().GetCount(); i++)
        {
            TkStdBtn* button = Bar().GetButton(i);
            if (button->m_nKind == kTkBtnMenu &&
                static_cast<TkTBMenuBtn*>(button)->m_strText == title)
                return i;
        }
        return -1;
    }
};

struct KeyCase
{
    const char* name;
    std::vector<std::function<void()>> steps;
    std::vector<std::string> seen;
    std::vector<std::string> done;
};

TEST_F(MenuBarTest, Keys)
{
    const KeyCase cases[] = {
        {"Alt alone toggles menu mode",
         {[] { Tap(VK_MENU); }, Snap, [] { Tap(VK_MENU); }, Snap},
         {"mode &File", "idle"},
         {}},
        {"Alt+F opens File on its first item, Enter fires it",
         {[] { AltChord('F'); }, Snap, [] { Tap(VK_RETURN); }, Snap},
         {"popup &New\tCtrl+N", "idle"},
         {"command 101"}},
        {"Right on a leaf opens the next menu",
         {[] { AltChord('F'); }, [] { Tap(VK_RIGHT); }, Snap, [] { Tap(VK_RETURN); }},
         {"popup &Cut"},
         {"command 201"}},
        {"Right on a submenu item opens the submenu",
         {[] { AltChord('F'); }, [] { Tap(VK_DOWN); }, [] { Tap(VK_DOWN); },
          [] { Tap(VK_RIGHT); }, Snap, [] { Tap(VK_ESCAPE); }, [] { Tap(VK_ESCAPE); }, Snap},
         {"popup &New\tCtrl+N > popup One", "idle"},
         {}},
        {"Left past the first menu opens the system menu, Right the first again",
         {[] { AltChord('F'); }, [] { Tap(VK_LEFT); }, Snap, [] { Tap(VK_RIGHT); }, Snap,
          [] { Tap(VK_ESCAPE); }},
         {"system", "popup &New\tCtrl+N"},
         {}},
        {"Alt in an open popup closes it without menu mode",
         {[] { AltChord('E'); }, Snap, [] { Tap(VK_MENU); }, Snap},
         {"popup &Cut", "idle"},
         {}},
        {"Alt+Space opens the system menu",
         {[] { AltChord(VK_SPACE); }, Snap, [] { Tap(VK_ESCAPE); }, Snap},
         {"system", "idle"},
         {}},
        {"Alt+minus opens the system menu",
         {[] { AltChord(VK_OEM_MINUS); }, Snap, [] { Tap(VK_ESCAPE); }},
         {"system"},
         {}},
        {"Escape leaves menu mode",
         {[] { Tap(VK_MENU); }, [] { Tap(VK_ESCAPE); }, Snap},
         {"idle"},
         {}},
        {"menu mode: Right moves, a letter opens its menu",
         {[] { Tap(VK_MENU); }, [] { Tap(VK_RIGHT); }, Snap, [] { Tap('V'); }, Snap,
          [] { Tap(VK_RETURN); }},
         {"mode &Edit", "popup &Bar"},
         {"command 301"}},
        {"menu mode: Down drops the hot menu",
         {[] { Tap(VK_MENU); }, [] { Tap(VK_DOWN); }, Snap, [] { Tap(VK_ESCAPE); }},
         {"popup &New\tCtrl+N"},
         {}},
        // Mended: Alt released after a chord does not enter menu mode.
        {"Alt+Backspace is no lone Alt",
         {[] { AltChord(VK_BACK); }, Snap},
         {"idle"},
         {}},
        // Mended: function keys are no mnemonics (F1 is the code of "p").
        {"Alt+F1 opens nothing",
         {[] { AltChord(VK_F1); }, Snap},
         {"idle"},
         {}},
        {"Alt+P opens Play",
         {[] { AltChord('P'); }, Snap, [] { Tap(VK_ESCAPE); }},
         {"popup &Start"},
         {}},
    };
    for (const KeyCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        g_seen.clear();
        g_frame->m_done.clear();
        g_frame->SetForegroundWindow();
        g_frame->SetFocus();
        // A pointer resting where a popup opens selects its items as the
        // menu moves under it, and the selection takes the key's place.
        MoveMouse(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2));
        RunScript(test.steps);
        EXPECT_EQ(test.seen, g_seen);
        EXPECT_EQ(test.done, g_frame->m_done);
        // Whatever the case left open goes before the next.
        if (MenuState(g_frame) != "idle")
            RunScript({[] { Tap(VK_ESCAPE); }, [] { Tap(VK_ESCAPE); }});
        if (Bar().IsInMenuMode())
            Bar().ExitMenuMode();
    }
}

TEST_F(MenuBarTest, MouseSweepsSwitchPopupsAndTheOpenButtonCloses)
{
    static int file, edit, view;
    file = IndexOf("&File");
    edit = IndexOf("&Edit");
    view = IndexOf("&View");
    static TkMDIMenuBar* bar;
    bar = &Bar();
    RunScript({[] { ClickAt(ButtonCentre(bar, file)); }, Snap,
               [] { MoveMouse(ButtonCentre(bar, edit)); }, Snap,
               [] { MoveMouse(ButtonCentre(bar, view)); }, Snap,
               [] { MoveMouse(ButtonCentre(bar, file)); }, Snap,
               [] { MoveMouse(ButtonCentre(bar, view)); }, Snap,
               [] { ClickAt(ButtonCentre(bar, view)); }, Snap});
    const std::vector<std::string> expected = {"popup &New\tCtrl+N", "popup &Cut", "popup &Bar",
                                               "popup &New\tCtrl+N", "popup &Bar", "idle"};
    EXPECT_EQ(expected, g_seen);
}

TEST_F(MenuBarTest, MovingOntoAPlainButtonClosesThePopup)
{
    // Inserted at the end, it goes before the caption group.
    Bar().InsertButton(Bar().GetCount(), ID_VIEW_BAR, FALSE, FALSE);
    PumpIdle();
    static TkMDIMenuBar* bar;
    bar = &Bar();
    ASSERT_EQ(ID_VIEW_BAR, (int)bar->GetButtonID(bar->GetCount() - 2));
    EXPECT_EQ(kTkBtnCaption, bar->GetButton(bar->GetCount() - 1)->m_nKind);
    RunScript({[] { ClickAt(ButtonCentre(bar, 1)); }, Snap,
               [] { MoveMouse(ButtonCentre(bar, bar->GetCount() - 2)); }, Snap});
    const std::vector<std::string> expected = {"popup &New\tCtrl+N", "idle"};
    EXPECT_EQ(expected, g_seen);
}

TEST_F(MenuBarTest, PopupOpensBelowItsButton)
{
    static CRect popup;
    RunScript({[] { AltChord('E'); },
               [] {
                   HWND window = ::FindWindowExA(NULL, NULL, "#32768", NULL);
                   ::GetWindowRect(window, &popup);
               },
               [] { Tap(VK_ESCAPE); }});
    CRect button;
    Bar().GetButtonRect(IndexOf("&Edit"), &button);
    Bar().ClientToScreen(&button);
    EXPECT_EQ(button.left, popup.left);
    EXPECT_EQ(button.bottom, popup.top);
}

// Wine's TrackPopupMenuEx ignores the exclusion rectangle: a popup that
// would cover its button at the screen's bottom is moved above it.
TEST_F(MenuBarTest, APopupWithoutRoomBelowOpensAboveItsButton)
{
    const int screen = ::GetSystemMetrics(SM_CYSCREEN);
    g_frame->SetWindowPos(NULL, 40, screen - 90, 640, 90, SWP_NOZORDER);
    g_frame->RecalcLayout();
    PumpIdle();
    static CRect popup;
    RunScript({[] { AltChord('F'); },
               [] {
                   HWND window = ::FindWindowExA(NULL, NULL, "#32768", NULL);
                   ::GetWindowRect(window, &popup);
               },
               [] { Tap(VK_ESCAPE); }});
    CRect button;
    Bar().GetButtonRect(IndexOf("&File"), &button);
    Bar().ClientToScreen(&button);
    ASSERT_GT(popup.Height(), 0);
    EXPECT_EQ(button.top, popup.bottom);
    EXPECT_EQ(button.left, popup.left);
}

TEST_F(MenuBarTest, DoubleClickOnTheIconWithTheSystemMenuOpenClosesTheFrame)
{
    static CPoint icon;
    CRect window;
    g_frame->GetWindowRect(&window);
    icon = CPoint(window.left + ::GetSystemMetrics(SM_CXFRAME) + 4,
                  window.top + ::GetSystemMetrics(SM_CYFRAME) + 4);
    RunScript({[] { AltChord(VK_SPACE); }, Snap, [] { DoubleClickAt(icon); }, Snap});
    const std::vector<std::string> seen = {"system", "idle"};
    EXPECT_EQ(seen, g_seen);
    const std::vector<std::string> done = {"syscommand F060"};
    EXPECT_EQ(done, g_frame->m_done);
}

TEST_F(MenuBarTest, MenusGetBitsAndOnlyTheActiveMenusButtonsShow)
{
    UINT bit = 0;
    ASSERT_TRUE(Bar().LookupMenuBit(IDR_MENUHOST, &bit));
    EXPECT_EQ(1u, bit);
    ASSERT_TRUE(Bar().LookupMenuBit(IDR_DOCMENU, &bit));
    EXPECT_EQ(2u, bit);
    auto visible = [&] {
        std::vector<std::string> titles;
        for (int i = 0; i < Bar().GetCount(); i++)
        {
            TkStdBtn* button = Bar().GetButton(i);
            if (button->m_nKind == kTkBtnMenu && !button->IsHidden())
                titles.push_back((LPCSTR) static_cast<TkTBMenuBtn*>(button)->m_strText);
        }
        return titles;
    };
    EXPECT_EQ(std::vector<std::string>({"&File", "&Edit", "&View", "&Play"}), visible());
    g_frame->m_feature.SetActiveMenu(IDR_DOCMENU);
    EXPECT_EQ(std::vector<std::string>({"&Doc", "&Window"}), visible());
    EXPECT_EQ((UINT)IDR_DOCMENU, Bar().GetActiveMenu());
    // The frames of docked views have no menu: the main frame's shows.
    g_frame->m_feature.SetActiveMenu(20514);
    EXPECT_EQ(std::vector<std::string>({"&File", "&Edit", "&View", "&Play"}), visible());
    EXPECT_EQ(20514u, Bar().GetActiveMenu());
    // Command ids run from 0x80000001 over both menus.
    EXPECT_EQ(0x80000001u, Bar().GetButtonID(1));
    EXPECT_EQ(0x80000006u, Bar().GetButtonID(6));
}

// The plug-ins a frame is handed: the menu bar's drives that bar and shows
// the menu asked for; the bitmap menus' drives none. Both plug into the frame.
TEST_F(MenuBarTest, TheMenuBarsPlugInDrivesItAndTheBitmapMenusNone)
{
    const struct
    {
        const char* name;
        bool menuBar;
        BOOL activated;
        UINT activeAfter;
    } cases[] = {
        {"menu bar", true, TRUE, IDR_DOCMENU},
        {"bitmap menus", false, FALSE, IDR_MENUHOST},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_frame->m_feature.SetActiveMenu(IDR_MENUHOST);
        TkFrameMenuBar& bar = Bar();
        std::unique_ptr<TkFrameMenuPlugIn> plugIn(
            c.menuBar ? bar.PlugInMenus(g_frame) : TkBmpMenuPlugIn::PlugInBmpMenus(g_frame));
        ASSERT_NE(nullptr, plugIn);
        EXPECT_EQ(g_frame->GetSafeHwnd(), dynamic_cast<CWnd*>(plugIn.get())->GetSafeHwnd());
        EXPECT_EQ(c.activated, plugIn->ActivateMenu(IDR_DOCMENU));
        EXPECT_EQ(c.activeAfter, Bar().GetActiveMenu());
    }
}

TEST_F(MenuBarTest, AFloatingMenuBarHasNoCloseBox)
{
    g_frame->FloatControlBar(&Bar(), CPoint(300, 300), CBRS_ALIGN_TOP);
    g_frame->RecalcLayout();
    PumpIdle();
    CFrameWnd* mini = Bar().GetParentFrame();
    ASSERT_TRUE(mini->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_FALSE(mini->GetStyle() & WS_SYSMENU);
    EXPECT_TRUE(mini->GetStyle() & WS_CAPTION);
}

TEST_F(MenuBarTest, MissingMenusGetNoBit)
{
    TkMenuBar bar;
    const UINT menus[] = {999, IDR_DOCMENU};
    ASSERT_TRUE(bar.SetMenuList(menus, 2));
    UINT bit = 0;
    EXPECT_FALSE(bar.LookupMenuBit(999, &bit));
    ASSERT_TRUE(bar.LookupMenuBit(IDR_DOCMENU, &bit));
    EXPECT_EQ(1u, bit);
    EXPECT_EQ(2, bar.GetCount());
    const UINT none[] = {999};
    EXPECT_FALSE(bar.SetMenuList(none, 1));
}

// The menus come from the argument list in order; a missing one is skipped,
// and none found leaves the bar's buttons as they were.
TEST_F(MenuBarTest, SetMenusTakesItsMenusFromTheArguments)
{
    TkMenuBar bar;
    const struct
    {
        const char* name;
        std::function<BOOL()> set;
        BOOL result;
        int buttons;
        std::vector<std::pair<UINT, UINT>> bits;
    } cases[] = {
        {"one menu", [&] { return bar.SetMenus(1, IDR_DOCMENU); }, TRUE, 2, {{IDR_DOCMENU, 1}}},
        {"two menus", [&] { return bar.SetMenus(2, IDR_MENUHOST, IDR_DOCMENU); }, TRUE, 6,
         {{IDR_MENUHOST, 1}, {IDR_DOCMENU, 2}}},
        {"a missing one skipped", [&] { return bar.SetMenus(2, 999, IDR_DOCMENU); }, TRUE, 2,
         {{IDR_DOCMENU, 1}}},
        {"none found", [&] { return bar.SetMenus(1, 999); }, FALSE, 2, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.set()) << c.name;
        EXPECT_EQ(c.buttons, bar.GetCount()) << c.name;
        for (const auto& menu : c.bits) {
            UINT bit = 0;
            EXPECT_TRUE(bar.LookupMenuBit(menu.first, &bit)) << c.name;
            EXPECT_EQ(menu.second, bit) << c.name;
        }
    }
}

// The bar's menu font is the system's menu font.
TEST_F(MenuBarTest, TheMenuFontIsTheSystemsMenuFont)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    LOGFONTA font = {};
    ASSERT_NE(nullptr, Bar().GetMenuFont());
    ASSERT_TRUE(Bar().GetMenuFont()->GetLogFont(&font));
    EXPECT_STREQ(metrics.lfMenuFont.lfFaceName, font.lfFaceName);
    EXPECT_EQ(metrics.lfMenuFont.lfHeight, font.lfHeight);
    EXPECT_EQ(metrics.lfMenuFont.lfWeight, font.lfWeight);
}

TEST_F(MenuBarTest, AFrameAnsweringTheMenuQueryGivesThePopup)
{
    // The frame answers WM_TKGETMENU with a menu of its own for Edit.
    static HMENU own;
    own = ::CreatePopupMenu();
    ::AppendMenuA(own, MF_STRING, ID_EDIT_PASTE, "Own item");
    class CAnswer : public TkWndListener
    {
    public:
        BOOL OnListenerMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
        {
            if (message != WM_TKGETMENU || wParam != IDR_MENUHOST || lParam != 1)
                return FALSE;
            *result = (LRESULT)own;
            SetRoutingFlags(kHandled);
            return TRUE;
        }
    } answer;
    ASSERT_TRUE(answer.PlugInTo(g_frame));
    RunScript({[] { AltChord('E'); }, Snap, [] { Tap(VK_ESCAPE); }, [] { AltChord('F'); }, Snap,
               [] { Tap(VK_ESCAPE); }});
    answer.UnPlug();
    const std::vector<std::string> expected = {"popup Own item", "popup &New\tCtrl+N"};
    EXPECT_EQ(expected, g_seen);
    EXPECT_TRUE(::IsMenu(own));
    ::DestroyMenu(own);
}
}  // namespace
