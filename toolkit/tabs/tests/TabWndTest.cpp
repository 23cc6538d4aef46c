// The 3-D tab window: pane and tab areas on each side, panes made with their
// place's ids, activation through the tab control's notification passed on
// to the notify window, the active pane's removal, and only the active tab's
// pane shown however the tabs are filled and switched.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"

#include "tests/support/InputScript.h"
#include "toolkit/tabs/Tk3DTabControl.h"
#include "toolkit/tabs/TkTabWnd.h"

#include <string>

namespace
{
CCallRecorder g_heard;

class CTabWndApp : public CWinApp
{
public:
    CTabWndApp() : CWinApp("TabWndTest") {}
};

class CPaneWnd : public CWnd
{
    DECLARE_DYNCREATE(CPaneWnd)
};
IMPLEMENT_DYNCREATE(CPaneWnd, CWnd)

// A pane made as the main frame makes its views: a view from a creation
// context.
class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
protected:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

// The notify window: records the activations it hears of.
class CHostFrame : public CFrameWnd
{
public:
    LRESULT OnTabActivate(WPARAM wParam, LPARAM lParam)
    {
        const TkTabSelection* selection = (const TkTabSelection*)lParam;
        g_heard.Record("activate " + std::to_string(wParam) +
                       (selection ? " id " + std::to_string(selection->nCtrlId) : std::string()));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHostFrame, CFrameWnd)
    ON_MESSAGE(WM_TKTAB_ACTIVATE, OnTabActivate)
END_MESSAGE_MAP()

const UINT kTabWndId = 0x6E;

class TabWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_heard.Clear();
        m_host = new CHostFrame;
        ASSERT_TRUE(m_host->Create(NULL, "Tabs", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)));
        m_host->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        m_host->DestroyWindow();
        PumpMessages();
    }
    Tk3DTabWnd* Make(DWORD style)
    {
        Tk3DTabWnd* tabs = new Tk3DTabWnd;
        EXPECT_TRUE(tabs->Create(m_host, style, kTabWndId));
        tabs->MoveWindow(0, 0, 400, 300);
        tabs->AddTab(RUNTIME_CLASS(CPaneWnd), "One");
        tabs->AddTab(RUNTIME_CLASS(CPaneWnd), "Two");
        tabs->ActivateTab(0);
        PumpMessages();
        return tabs;
    }
    static CRect RectIn(CWnd* window, CWnd* reference)
    {
        CRect rect;
        window->GetWindowRect(&rect);
        reference->ScreenToClient(&rect);
        return rect;
    }

    CTabWndApp m_app;
    CHostFrame* m_host = NULL;
};
}  // namespace

TEST_F(TabWndTest, TabsSitOnTheirSideOfThePaneArea)
{
    struct Case
    {
        const char* name;
        DWORD style;
        CRect pane;
        CRect tabs;
    } cases[] = {
        {"bottom", 0x50000010, CRect(6, 4, 392, 269), CRect(6, 270, 393, 301)},
        {"top", 0x50000020, CRect(6, 31, 392, 296), CRect(6, 0, 393, 31)},
        {"left", 0x50000040, CRect(31, 4, 392, 294), CRect(0, 4, 31, 294)},
        {"right", 0x50000000, CRect(6, 4, 368, 294), CRect(369, 0, 400, 290)},
        {"bottom, tab not enlarged", 0x50000110, CRect(6, 4, 392, 273), CRect(6, 274, 393, 301)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Tk3DTabWnd* tabs = Make(c.style);
        EXPECT_EQ(c.style & 0x0FF0, tabs->GetTabStyle());
        EXPECT_FALSE(tabs->GetStyle() & 0x0FF3);
        EXPECT_EQ(c.pane, RectIn(tabs->GetActivePane(), tabs));
        EXPECT_EQ(c.tabs, RectIn(tabs->GetTabControl(), tabs));
        tabs->DestroyWindow();
        delete tabs;
    }
}

TEST_F(TabWndTest, PanesTakeTheIdsOfTheirPlacesAndTheTabControlSwitchesThem)
{
    Tk3DTabWnd* tabs = Make(0x50000010);
    CWnd* one = tabs->GetDlgItem(TkTabWndBase::kFirstPaneId);
    CWnd* two = tabs->GetDlgItem(TkTabWndBase::kFirstPaneId + 1);
    ASSERT_TRUE(one != NULL && two != NULL);
    EXPECT_EQ(one, tabs->GetActivePane());

    g_heard.Clear();
    tabs->GetTabControl()->ActivateTab(1);
    EXPECT_EQ(two, tabs->GetActivePane());
    EXPECT_FALSE(one->IsWindowVisible());
    EXPECT_TRUE(two->IsWindowVisible());
    // The record names the tab window, not its tab control.
    EXPECT_EQ(std::vector<std::string>{"activate 1 id 110"}, g_heard.Calls());

    // Removing the active tab: the tab control activates another, whose pane
    // the window then shows.
    g_heard.Clear();
    tabs->RemoveTab(two);
    EXPECT_EQ(1, tabs->GetTabCount());
    EXPECT_EQ(one, tabs->GetActivePane());
    EXPECT_TRUE(one->IsWindowVisible());
    EXPECT_EQ(std::vector<std::string>{"activate 0 id 110"}, g_heard.Calls());
    tabs->DestroyWindow();
    delete tabs;
}

TEST_F(TabWndTest, AMinimisedOrEmptyWindowIsNotLaidOut)
{
    Tk3DTabWnd* tabs = Make(0x50000010);
    CWnd* pane = tabs->GetActivePane();
    pane->MoveWindow(1, 1, 10, 10);
    tabs->SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(400, 300));
    tabs->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 300));
    EXPECT_EQ(CRect(1, 1, 11, 11), RectIn(pane, tabs));
    tabs->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_EQ(CRect(6, 4, 392, 269), RectIn(pane, tabs));
    tabs->DestroyWindow();
    delete tabs;
}

TEST_F(TabWndTest, KeysMoveBetweenTheTabsThePaneAndTheNextTabStop)
{
    Tk3DTabWnd* tabs = Make(WS_CHILD | WS_VISIBLE | WS_TABSTOP | Tk3DTabWnd::tabsBottom);
    CWnd* tabControl = tabs->GetTabControl();
    // The next tab stop after the tab window.
    HWND after = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 320, 100, 20,
                                   m_host->m_hWnd, (HMENU)0x70, NULL, NULL);
    ASSERT_NE(nullptr, after);
    m_host->SetForegroundWindow();
    PumpMessages();
    enum Focus
    {
        tabsFocused,
        paneFocused,
        afterFocused,
    };
    struct Step
    {
        const char* name;
        Focus from;
        WPARAM key;
        BOOL shift;
        BOOL control;
        Focus to;
        int activeTab;
    } steps[] = {
        {"Right on the tabs", tabsFocused, VK_RIGHT, FALSE, FALSE, tabsFocused, 1},
        {"Up on the tabs", tabsFocused, VK_UP, FALSE, FALSE, tabsFocused, 0},
        {"Ctrl+Tab on the tabs", tabsFocused, VK_TAB, FALSE, TRUE, tabsFocused, 1},
        {"Ctrl+Shift+Tab on the tabs", tabsFocused, VK_TAB, TRUE, TRUE, tabsFocused, 0},
        {"Tab on the tabs", tabsFocused, VK_TAB, FALSE, FALSE, paneFocused, 0},
        {"Tab in the pane", paneFocused, VK_TAB, FALSE, FALSE, afterFocused, 0},
        {"Shift+Tab in the pane", paneFocused, VK_TAB, TRUE, FALSE, tabsFocused, 0},
    };
    for (const Step& step : steps)
    {
        HWND from[] = {tabControl->m_hWnd, tabs->GetActivePane()->m_hWnd, after};
        ::SetFocus(from[step.from]);
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = step.shift ? 0x80 : 0;
        keys[VK_CONTROL] = step.control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG msg = {::GetFocus(), WM_KEYDOWN, step.key, 0};
        EXPECT_TRUE(tabs->PreTranslateMessage(&msg)) << step.name;
        PumpMessages();
        HWND to[] = {tabControl->m_hWnd, tabs->GetActivePane()->m_hWnd, after};
        EXPECT_EQ(to[step.to], ::GetFocus()) << step.name;
        int active = -1;
        EXPECT_TRUE(tabs->GetActiveTab(active));
        EXPECT_EQ(step.activeTab, active) << step.name;
    }
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
}

TEST_F(TabWndTest, OnlyTheActiveTabsPaneIsShown)
{
    enum Filling
    {
        whileShown,
        whileHiddenThenShown,
        oneInsertedAfterActivation,
    };
    struct Case
    {
        const char* name;
        Filling filling;
    } cases[] = {
        {"filled while shown", whileShown},
        {"filled while hidden, then shown", whileHiddenThenShown},
        {"one inserted after the first activation", oneInsertedAfterActivation},
    };
    const char* const labels[] = {"One", "Two", "Three"};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const DWORD shown = c.filling == whileHiddenThenShown ? 0 : WS_VISIBLE;
        Tk3DTabWnd* tabs = new Tk3DTabWnd;
        ASSERT_TRUE(tabs->Create(m_host, WS_CHILD | shown | Tk3DTabWnd::tabsBottom, kTabWndId));
        tabs->MoveWindow(0, 0, 400, 300);
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CPaneView);
        context.m_pCurrentFrame = m_host;
        const int first = c.filling == oneInsertedAfterActivation ? 2 : 3;
        for (int index = 0; index < first; index++)
            tabs->AddTab(RUNTIME_CLASS(CPaneView), labels[index], &context, (UINT)-1);
        tabs->ActivateTab(0);
        if (c.filling == oneInsertedAfterActivation)
            tabs->InsertTab(RUNTIME_CLASS(CPaneView), 1, labels[2], &context, (UINT)-1);
        if (!shown)
            tabs->ShowWindow(SW_SHOW);
        m_host->SetForegroundWindow();
        PumpUntilIdle();
        // The labels of the tabs whose panes are visible.
        auto visible = [tabs]() {
            std::string names;
            CString label;
            BOOL selected;
            CWnd* pane;
            DWORD extra1, extra2;
            for (int index = 0; index < tabs->GetTabCount(); index++)
            {
                tabs->GetTabControl()->GetTabInfo(index, label, selected, pane, extra1, extra2);
                if (pane->IsWindowVisible())
                    names += (names.empty() ? "" : " ") + std::string(label);
            }
            return names;
        };
        EXPECT_EQ("One", visible());

        Tk3DTabControl* strip = static_cast<Tk3DTabControl*>(tabs->GetTabControl());
        strip->SendMessage(WM_KEYDOWN, VK_RIGHT);
        EXPECT_EQ(c.filling == oneInsertedAfterActivation ? "Three" : "Two", visible()) << "Right on the tabs";

        // A hidden pane shown from outside goes at the next switch.
        tabs->GetDlgItem(TkTabWndBase::kFirstPaneId)->ShowWindow(SW_SHOW);
        strip->ActivateTab(2);
        EXPECT_EQ(c.filling == oneInsertedAfterActivation ? "Two" : "Three", visible()) << "the tab control";

        CRect firstTab;
        ASSERT_TRUE(strip->GetTabRect(0, firstTab));
        strip->ClientToScreen(&firstTab);
        InputScript().MoveTo(firstTab.CenterPoint()).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
        EXPECT_EQ("One", visible()) << "a click on the first tab";

        CWnd* removed = tabs->GetActivePane();
        tabs->RemoveTab(removed);
        EXPECT_FALSE(removed->IsWindowVisible()) << "the removed pane";
        EXPECT_EQ(c.filling == oneInsertedAfterActivation ? "Three" : "Two", visible()) << "after the removal";
        tabs->DestroyWindow();
        delete tabs;
    }
}
