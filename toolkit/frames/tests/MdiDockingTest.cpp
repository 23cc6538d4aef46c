// The toolkit MDI frame's docking: every dock and float runs between the
// bar's hooks, bars float in mini frames or in MDI children of the frame
// ("Float In Main Window", there and back), floated children cascade, and
// closing such a child only hides its bar.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockContext.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"
#include "toolkit/frames/TkControlBarMDIChildWnd.h"
#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"

#include <string>
#include <vector>

namespace
{
CCallRecorder g_hooks;

class CDockingApp : public CWinApp
{
public:
    CDockingApp() : CWinApp("MdiDockingTest") {}
    using CWinApp::SetRegistryKey;
};

class CHookedBar : public TkControlBar
{
public:
    void OnBeforeDock() override { g_hooks.Record("before dock"); }
    void AfterDock() override { g_hooks.Record("after dock"); }
    void OnBeforeFloat() override { g_hooks.Record("before float"); }
    void AfterFloat() override { g_hooks.Record("after float"); }
    void OnBeforeFloatAsMDIChild() override { g_hooks.Record("before child"); }
    void AfterFloatAsMDIChild() override { g_hooks.Record("after child"); }
};

const UINT kFirstBar = 0xE820;

class MdiDockingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_hooks.Clear();
        m_main = MakeMainFrame<TkMDIFrameWnd>(m_app, 800, 900);
        ASSERT_NE(nullptr, m_main);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        const char* titles[] = {"Albums", "Tracks"};
        for (int i = 0; i < 2; i++)
        {
            m_bars[i] = new CHookedBar;
            m_bars[i]->m_bAutoDelete = TRUE;
            ASSERT_TRUE(m_bars[i]->Create(m_main, titles[i], WS_VISIBLE | CBRS_TOP,
                                          TKCBRS_GRIPPER | TKCBRS_FLOATINMAIN, kFirstBar + i));
            m_bars[i]->EnableDocking(CBRS_ALIGN_ANY);
            m_main->DockControlBar(m_bars[i]);
        }
        m_main->ShowWindow(SW_SHOW);
        Layout();
        g_hooks.Clear();
    }
    void TearDown() override
    {
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    void Layout()
    {
        m_main->RecalcLayout();
        PumpMessages();
    }
    // Where the bar lies: the side it is docked on, "mini frame" or "child".
    std::string Place(CControlBar* bar)
    {
        CDockBar* dockBar = bar->m_pDockBar;
        if (dockBar == NULL)
            return "nowhere";
        if (!dockBar->m_bFloating)
            return dockBar->GetDlgCtrlID() == (int)AFX_IDW_DOCKBAR_TOP ? "top" : "other side";
        CFrameWnd* frame = dockBar->GetParentFrame();
        if (frame->IsKindOf(RUNTIME_CLASS(TkControlBarMDIChildWnd)))
            return "child";
        return frame->IsKindOf(RUNTIME_CLASS(TkMiniDockFrameWnd)) ? "mini frame" : "other frame";
    }
    std::string Hooks()
    {
        std::string all;
        for (const std::string& hook : g_hooks.Calls())
            all += (all.empty() ? "" : ", ") + hook;
        g_hooks.Clear();
        return all;
    }
    static std::string Text(const CRect& r)
    {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    TkDockContext* Context(CControlBar* bar) { return static_cast<TkDockContext*>(bar->m_pDockContext); }
    CRect ChildRect(CControlBar* bar)
    {
        CRect rect;
        bar->m_pDockBar->GetParentFrame()->GetWindowRect(&rect);
        ::MapWindowPoints(NULL, m_main->m_hWndMDIClient, (LPPOINT)&rect, 2);
        return rect;
    }

    CDockingApp m_app;
    TkMDIFrameWnd* m_main = NULL;
    CHookedBar* m_bars[2] = {};
};
}  // namespace

TEST_F(MdiDockingTest, EveryDockAndFloatRunsBetweenTheBarsHooks)
{
    CHookedBar* bar = m_bars[0];
    struct Step
    {
        const char* name;
        void (*run)(TkMDIFrameWnd* main, CHookedBar* bar);
        const char* hooks;
        const char* place;
    };
    const Step steps[] = {
        {"float", [](TkMDIFrameWnd* main, CHookedBar* b) { main->FloatControlBarEx(b, 300, 300, CBRS_ALIGN_TOP); },
         "before float, after float", "mini frame"},
        {"float alone again only moves", [](TkMDIFrameWnd* main, CHookedBar* b) { main->FloatControlBarEx(b, 320, 300, CBRS_ALIGN_TOP); },
         "", "mini frame"},
        {"dock", [](TkMDIFrameWnd* main, CHookedBar* b) { main->DockControlBar(b); }, "before dock, after dock", "top"},
        {"float in the main window", [](TkMDIFrameWnd* main, CHookedBar* b) { main->FloatControlBarInMDIChild(b, -1, -1, CBRS_ALIGN_TOP); },
         "before child, after child", "child"},
        {"re-dock into its place", [](TkMDIFrameWnd* main, CHookedBar* b) { main->ReDockControlBar(b, NULL, NULL); },
         "before dock, after dock", "top"},
        {"toggle to floating", [](TkMDIFrameWnd*, CHookedBar* b) { b->m_pDockContext->ToggleDocking(); },
         "before float, after float", "mini frame"},
        {"toggle back", [](TkMDIFrameWnd*, CHookedBar* b) { b->m_pDockContext->ToggleDocking(); },
         "before dock, after dock", "top"},
        {"always a new mini frame", [](TkMDIFrameWnd* main, CHookedBar* b) { main->FloatControlBar(b, CPoint(300, 300), CBRS_ALIGN_TOP); },
         "before float, after float", "mini frame"},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        step.run(m_main, bar);
        Layout();
        EXPECT_EQ(step.hooks, Hooks());
        EXPECT_EQ(step.place, Place(bar));
        EXPECT_TRUE(bar->IsWindowVisible());
    }
}

TEST_F(MdiDockingTest, FloatInMainWindowTwiceReturnsTheBarWhereItCameFrom)
{
    CHookedBar* bar = m_bars[1];
    const int row = bar->m_pDockBar->FindBar(bar);

    bar->SendMessage(WM_COMMAND, ID_TKCB_FLOATINMAIN);
    Layout();
    EXPECT_EQ("child", Place(bar));
    EXPECT_TRUE(bar->IsInMDIChild());
    CString title;
    bar->m_pDockBar->GetParentFrame()->GetWindowText(title);
    EXPECT_STREQ("Tracks", title);
    // The place it had is kept for it.
    EXPECT_LT(0, static_cast<CDockBar*>(m_main->GetControlBar(AFX_IDW_DOCKBAR_TOP))
                     ->FindBar(CDockBar::Placeholder(kFirstBar + 1)));

    bar->SendMessage(WM_COMMAND, ID_TKCB_FLOATINMAIN);
    Layout();
    EXPECT_EQ("top", Place(bar));
    EXPECT_EQ(row, bar->m_pDockBar->FindBar(bar));
    EXPECT_FALSE(bar->IsInMDIChild());

    m_main->FloatControlBarEx(bar, 300, 300, CBRS_ALIGN_TOP);
    bar->SendMessage(WM_COMMAND, ID_TKCB_FLOATINMAIN);
    EXPECT_EQ("child", Place(bar));
    EXPECT_TRUE(Context(bar)->m_bFloatedFromFloating);
    bar->SendMessage(WM_COMMAND, ID_TKCB_FLOATINMAIN);
    EXPECT_EQ("mini frame", Place(bar));
    EXPECT_EQ("before child, after child, before dock, after dock, before float, after float, "
              "before child, after child, before float, after float",
              Hooks());
}

// Saved while floating in the main window, a bar comes back there, in a
// child window where that child was, when the next start loads the layout.
TEST_F(MdiDockingTest, ABarFloatedInTheMainWindowComesBackThereOnTheNextStart)
{
    // The placement is binary: kept in the registry.
    struct Key
    {
        ~Key() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZymMdiDockingTest"); }
    } key;
    m_app.SetRegistryKey("ZymMdiDockingTest");
    m_bars[1]->SendMessage(WM_COMMAND, ID_TKCB_FLOATINMAIN);
    Layout();
    ASSERT_EQ("child", Place(m_bars[1]));
    m_bars[1]->m_pDockBar->GetParentFrame()->SetWindowPos(NULL, 40, 50, 260, 140,
                                                          SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    const std::string saved = Text(ChildRect(m_bars[1]));
    ASSERT_TRUE(m_main->SaveBarState("Bars"));

    // The next start: a new frame makes the same bars, docked, and loads the layout.
    TearDown();
    SetUp();
    ASSERT_EQ("top", Place(m_bars[1]));
    m_main->LoadBarState("Bars");
    Layout();
    EXPECT_EQ("child", Place(m_bars[1]));
    EXPECT_TRUE(m_bars[1]->IsInMDIChild());
    EXPECT_EQ(saved, Text(ChildRect(m_bars[1])));
    EXPECT_TRUE(m_bars[1]->m_pDockBar->GetParentFrame()->IsWindowVisible());
    EXPECT_EQ("top", Place(m_bars[0]));
}

TEST_F(MdiDockingTest, BarsFloatedWithoutAPlaceCascadeInTheClientArea)
{
    // The limits come from the client window's outer size.
    CRect client;
    ::GetWindowRect(m_main->m_hWndMDIClient, &client);
    m_main->FloatControlBarInMDIChild(m_bars[0], -1, -1, CBRS_ALIGN_TOP);
    m_main->FloatControlBarInMDIChild(m_bars[1], -1, -1, CBRS_ALIGN_TOP);
    EXPECT_EQ(CPoint(30, 30), ChildRect(m_bars[0]).TopLeft());
    EXPECT_EQ(CPoint(50, 53), ChildRect(m_bars[1]).TopLeft());
    EXPECT_EQ(70, m_main->m_nNextCascadeX);
    EXPECT_EQ(76, m_main->m_nNextCascadeY);
    // Each axis starts again on its own once it passes the client area.
    m_main->m_nNextCascadeX = client.Width() - 40;
    m_main->FloatControlBarInMDIChild(m_bars[0], -1, -1, CBRS_ALIGN_TOP);
    EXPECT_EQ(30, m_main->m_nNextCascadeX);
    EXPECT_EQ(99, m_main->m_nNextCascadeY);
    // A bar alone in a child of the same side only moves it; a place is
    // given in screen coordinates and kept inside the client area.
    CPoint screen(100, 5000);
    ::ClientToScreen(m_main->m_hWndMDIClient, &screen);
    CFrameWnd* child = m_bars[0]->m_pDockBar->GetParentFrame();
    m_main->FloatControlBarInMDIChild(m_bars[0], screen.x, screen.y, CBRS_ALIGN_LEFT);
    EXPECT_EQ(child, m_bars[0]->m_pDockBar->GetParentFrame());
    EXPECT_EQ(CPoint(100, client.Height() - 30), ChildRect(m_bars[0]).TopLeft());
}

TEST_F(MdiDockingTest, ClosingABarsChildHidesTheBarAndKeepsTheChild)
{
    CHookedBar* bar = m_bars[0];
    m_main->FloatControlBarInMDIChild(bar, -1, -1, CBRS_ALIGN_TOP);
    CFrameWnd* child = bar->m_pDockBar->GetParentFrame();
    child->SendMessage(WM_CLOSE);
    PumpMessages();
    ASSERT_TRUE(::IsWindow(child->m_hWnd));
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_FALSE(child->IsWindowVisible());
    EXPECT_EQ("child", Place(bar));
    m_main->ShowControlBar(bar, TRUE, FALSE);
    EXPECT_TRUE(bar->IsWindowVisible());
    EXPECT_TRUE(child->IsWindowVisible());
}

TEST_F(MdiDockingTest, ContextMenuOffersFloatInMainWindowToBarsThatAskForIt)
{
    struct Case
    {
        const char* name;
        DWORD exStyle;
        BOOL inChild;
        int items;
        UINT floatState;
        UINT dockingState;
    };
    const Case cases[] = {
        {"docked", TKCBRS_FLOATINMAIN, FALSE, 4, MF_UNCHECKED, MF_ENABLED},
        {"without the style", 0, FALSE, 2, (UINT)-1, MF_ENABLED},
        {"in the main window", TKCBRS_FLOATINMAIN, TRUE, 4, MF_CHECKED, MF_GRAYED},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CHookedBar* bar = m_bars[0];
        bar->m_dwExStyle = c.exStyle;
        if (c.inChild)
            m_main->FloatControlBarInMDIChild(bar, -1, -1, CBRS_ALIGN_TOP);
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, ID_TKCB_ALLOWDOCKING, "Allow Docking");
        menu.AppendMenu(MF_STRING, ID_TKCB_HIDE, "Hide");
        m_main->SendMessage(WM_TKADDCONTEXTMENUITEMS, (WPARAM)bar, (LPARAM)&menu);
        EXPECT_EQ(c.items, ::GetMenuItemCount(menu.m_hMenu));
        UINT floatState = ::GetMenuState(menu.m_hMenu, ID_TKCB_FLOATINMAIN, MF_BYCOMMAND);
        EXPECT_EQ(c.floatState, floatState == (UINT)-1 ? floatState : floatState & MF_CHECKED);
        EXPECT_EQ(c.dockingState, ::GetMenuState(menu.m_hMenu, ID_TKCB_ALLOWDOCKING, MF_BYCOMMAND) & MF_GRAYED);
        menu.DestroyMenu();
    }
}

TEST(SdiDockingTest, TheSdiFrameDocksAndFloatsBetweenTheHooksToo)
{
    g_hooks.Clear();
    CDockingApp app;
    TkFrameWnd* frame = new TkFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Sdi", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CHookedBar* bar = new CHookedBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(frame, "Albums", WS_VISIBLE | CBRS_TOP, TKCBRS_GRIPPER, kFirstBar));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar);
    frame->RecalcLayout();
    EXPECT_TRUE(bar->m_pDockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)));

    bar->m_pDockContext->ToggleDocking();
    EXPECT_TRUE(bar->m_pDockBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(TkMiniDockFrameWnd)));
    bar->m_pDockContext->ToggleDocking();
    EXPECT_FALSE(bar->IsFloating());
    frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.5f, 120);
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, (UINT)bar->m_pDockBar->GetDlgCtrlID());
    std::string all;
    for (const std::string& hook : g_hooks.Calls())
        all += hook + "; ";
    EXPECT_EQ("before dock; after dock; before float; after float; before dock; after dock; "
              "before dock; after dock; ",
              all);
    frame->DestroyWindow();
    app.m_pMainWnd = NULL;
    PumpMessages();
}
