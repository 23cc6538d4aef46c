// A docking view's frame inside its frame bar: it stands in for the active
// child while active, gives that back when it goes, goes with its bar, and
// turns caption double clicks into docking moves of the bar.
#include "tests/support/TestFramework.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIFrameWnd.h"

namespace
{
class CDockableApp : public CWinApp
{
public:
    CDockableApp() : CWinApp("DockableFrameTest") {}
};

const UINT kBarId = 0xE840;

class DockableFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_main = MakeMainFrame<TkMDIFrameWnd>(m_app, 800, 600);
        ASSERT_NE(nullptr, m_main);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        m_bar = new TkFrameBar;
        m_bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(m_bar->Create(m_main, "Notes", WS_VISIBLE | CBRS_LEFT, TKCBRS_FILLCHILD, kBarId));
        m_bar->EnableDocking(CBRS_ALIGN_ANY);
        m_main->DockControlBar(m_bar);
        m_frame = new TkDockableFrame;
        ASSERT_TRUE(m_frame->Create(NULL, "Notes", WS_CHILD | WS_VISIBLE | WS_CAPTION | FWS_PREFIXTITLE,
                                    CRect(0, 0, 100, 100), m_bar));
        m_main->ShowWindow(SW_SHOW);
        m_main->RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        m_main->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }

    CDockableApp m_app;
    TkMDIFrameWnd* m_main = NULL;
    TkFrameBar* m_bar = NULL;
    TkDockableFrame* m_frame = NULL;
};
}  // namespace

TEST_F(DockableFrameTest, IsAToolWindowWithoutThePrefixedTitle)
{
    EXPECT_TRUE(m_frame->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(m_frame->GetStyle() & FWS_PREFIXTITLE);
}

TEST_F(DockableFrameTest, ClickingTakesTheMainFramesActivationAndGoingGivesItBack)
{
    EXPECT_EQ(NULL, m_main->GetActiveDockedFrame());
    m_frame->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_main->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_frame, m_main->GetActiveDockedFrame());
    EXPECT_EQ(m_frame, m_main->GetActiveFrame());

    HWND bar = m_bar->m_hWnd;
    CDockBar* dockBar = m_bar->m_pDockBar;
    int docked = dockBar->GetDockedCount();
    m_frame->DestroyWindow();
    PumpMessages();
    EXPECT_FALSE(::IsWindow(bar));
    EXPECT_EQ(docked - 1, dockBar->GetDockedCount());
    EXPECT_EQ(NULL, m_main->GetActiveDockedFrame());
}

TEST_F(DockableFrameTest, CaptionDoubleClicksToggleTheBarsDocking)
{
    EXPECT_FALSE(m_frame->IsFloating());
    m_frame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(10, 10));
    PumpMessages();
    EXPECT_TRUE(m_bar->IsFloating());
    EXPECT_TRUE(m_frame->IsFloating());
    m_frame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(10, 10));
    PumpMessages();
    EXPECT_FALSE(m_frame->IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, (UINT)m_bar->m_pDockBar->GetDlgCtrlID());
}
