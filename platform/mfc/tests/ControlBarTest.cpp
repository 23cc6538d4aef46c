#include "tests/support/TestFramework.h"
#include "platform/mfc/tests/DockBarEntries.h"
#include "platform/mfc/tests/PostDrag.h"
#include "tests/support/Waits.h"
#include "tests/support/TempFolder.h"

#include <afxext.h>

#include <string.h>

#include <string>
#include <vector>

namespace
{
const UINT kAlpha = 0xE810;
const UINT kBeta = 0xE811;
const UINT kGamma = 0xE812;
// A bar of one size: 120 x 24 lying along a side, 24 x 120 standing.
const CSize kLying(120, 24);
const CSize kStanding(24, 120);

class CFixedBar : public CControlBar
{
public:
    BOOL Make(CFrameWnd* frame, UINT id, LPCSTR title)
    {
        m_dwStyle = CBRS_TOP;
        if (!AfxRegisterControlBarClass() ||
            !CreateEx(0, kControlBarClassName, title, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                      frame->m_hWnd, (HMENU)(UINT_PTR)id))
            return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
        return TRUE;
    }
    CSize CalcFixedLayout(BOOL, BOOL horizontal) override { return horizontal ? kLying : kStanding; }
    CSize CalcDynamicLayout(int, DWORD mode) override
    {
        return (mode & LM_VERTDOCK) ? kStanding : kLying;
    }
};

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("ControlBarTest") {}
};

CRect RectIn(CWnd* window, CWnd* reference)
{
    CRect rect;
    window->GetWindowRect(&rect);
    reference->ScreenToClient(&rect);
    return rect;
}

class ControlBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        free((void*)m_app.m_pszProfileName);
        m_app.m_pszProfileName = strdup(m_folder.WindowsPath("bars.ini").c_str());
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(NULL, "Bars", WS_OVERLAPPEDWINDOW, CRect(40, 40, 680, 520)));
        m_app.m_pMainWnd = m_frame;
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(m_alpha.Make(m_frame, kAlpha, "Alpha"));
        ASSERT_TRUE(m_beta.Make(m_frame, kBeta, "Beta"));
        ASSERT_TRUE(m_gamma.Make(m_frame, kGamma, "Gamma"));
        m_frame->ShowWindow(SW_SHOW);
        m_frame->DockControlBar(&m_alpha);
        m_frame->DockControlBar(&m_beta);
        m_frame->DockControlBar(&m_gamma, AFX_IDW_DOCKBAR_LEFT);
        Layout();
    }
    void TearDown() override
    {
        if (::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow();
        PumpMessages();
        m_app.m_pMainWnd = NULL;
    }
    void Layout()
    {
        PumpMessages();
        m_frame->RecalcLayout();
        PumpMessages();
    }
    CDockBar* Side(UINT id) { return static_cast<CDockBar*>(m_frame->GetControlBar(id)); }
    CMiniDockFrameWnd* MiniFrameOf(CControlBar* bar)
    {
        CFrameWnd* frame = bar->GetParentFrame();
        return frame != NULL && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))
                   ? static_cast<CMiniDockFrameWnd*>(frame)
                   : NULL;
    }
    // Posts a drag to the bar's queue; the drag loop takes the messages in turn.
    void PostDrag(CControlBar* bar, std::vector<CPoint> screenPoints, UINT last = WM_LBUTTONUP)
    {
        std::vector<POINT> points;
        for (CPoint point : screenPoints) {
            bar->ScreenToClient(&point);
            points.push_back(point);
        }
        ::PostDrag(bar->m_hWnd, points, last);
    }

    CTempFolder m_folder{"controlbars"};
    CTestApp m_app;
    CFrameWnd* m_frame = NULL;
    CFixedBar m_alpha;
    CFixedBar m_beta;
    CFixedBar m_gamma;
};
}  // namespace

TEST_F(ControlBarTest, EnableDockingMakesOneDockBarPerSide)
{
    const UINT ids[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                        AFX_IDW_DOCKBAR_BOTTOM};
    for (UINT id : ids) {
        CControlBar* bar = m_frame->GetControlBar(id);
        ASSERT_NE(nullptr, bar) << id;
        EXPECT_TRUE(bar->IsDockBar());
    }
    m_frame->EnableDocking(CBRS_ALIGN_ANY);
    int dockBars = 0;
    for (POSITION position = m_frame->m_listControlBars.GetHeadPosition(); position != NULL;)
        dockBars += static_cast<CControlBar*>(m_frame->m_listControlBars.GetNext(position))->IsDockBar();
    EXPECT_EQ(4, dockBars);
}

TEST_F(ControlBarTest, BarsDockedWithoutAPlaceTakeRowsOfTheirOwn)
{
    CDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ("E810 | E811 |", DockBarEntries(top));
    EXPECT_EQ(top, m_alpha.GetParent());
    EXPECT_EQ(CBRS_ALIGN_TOP, m_alpha.GetBarStyle() & CBRS_ALIGN_ANY);
    EXPECT_EQ(CBRS_ALIGN_LEFT, m_gamma.GetBarStyle() & CBRS_ALIGN_ANY);
    CRect alpha = RectIn(&m_alpha, top);
    CRect beta = RectIn(&m_beta, top);
    EXPECT_EQ(kLying, alpha.Size());
    EXPECT_EQ(alpha.bottom - 2, beta.top);
    EXPECT_EQ(kStanding, RectIn(&m_gamma, Side(AFX_IDW_DOCKBAR_LEFT)).Size());
    // The left dock bar starts below the top one.
    EXPECT_EQ(RectIn(top, m_frame).bottom, RectIn(Side(AFX_IDW_DOCKBAR_LEFT), m_frame).top);

    // A second layout with nothing changed moves no bar.
    CRect before = RectIn(&m_beta, top);
    Layout();
    EXPECT_EQ(before, RectIn(&m_beta, top));
}

TEST_F(ControlBarTest, DockingAtARectangleJoinsTheRowUnderIt)
{
    CDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    CRect alpha;
    m_alpha.GetWindowRect(&alpha);
    CRect place(CPoint(alpha.right + 30, alpha.top + 2), kLying);
    m_frame->DockControlBar(&m_beta, top, &place);
    Layout();
    EXPECT_EQ("E810 E811 |", DockBarEntries(top));
    CRect beta = RectIn(&m_beta, top);
    EXPECT_EQ(RectIn(&m_alpha, top).top, beta.top);
    // A gap dragged into a row stays.
    EXPECT_EQ(RectIn(&m_alpha, top).right + 30, beta.left);
}

TEST_F(ControlBarTest, FloatingLeavesAPlaceholderThatToggleDockingFillsAgain)
{
    CDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    m_frame->FloatControlBar(&m_alpha, CPoint(300, 260), CBRS_ALIGN_TOP);
    Layout();
    CMiniDockFrameWnd* mini = MiniFrameOf(&m_alpha);
    ASSERT_NE(nullptr, mini);
    EXPECT_TRUE(m_alpha.IsFloating());
    EXPECT_TRUE(mini->IsWindowVisible());
    CString caption;
    mini->GetWindowText(caption);
    EXPECT_EQ("Alpha", caption);
    EXPECT_EQ("#E810 | E811 |", DockBarEntries(top));
    CRect client;
    mini->GetClientRect(&client);
    EXPECT_EQ(kLying.cx - 4, client.Width());

    HWND miniWindow = mini->m_hWnd;
    m_alpha.m_pDockContext->ToggleDocking();
    Layout();
    EXPECT_FALSE(::IsWindow(miniWindow));
    EXPECT_EQ("E810 | E811 |", DockBarEntries(top));
    EXPECT_EQ(top, m_alpha.GetParent());
}

TEST_F(ControlBarTest, ClosingAMiniFrameOnlyHidesItsBars)
{
    m_frame->FloatControlBar(&m_beta, CPoint(200, 200), CBRS_ALIGN_TOP);
    CMiniDockFrameWnd* mini = MiniFrameOf(&m_beta);
    ASSERT_NE(nullptr, mini);
    mini->SendMessage(WM_CLOSE);
    Layout();
    EXPECT_TRUE(::IsWindow(mini->m_hWnd));
    EXPECT_FALSE(mini->IsWindowVisible());
    EXPECT_FALSE(m_beta.IsVisible());
    m_frame->ShowControlBar(&m_beta, TRUE, FALSE);
    EXPECT_TRUE(mini->IsWindowVisible());
}

TEST_F(ControlBarTest, DragLoopFloatsDocksAndCancels)
{
    CRect alpha;
    m_alpha.GetWindowRect(&alpha);
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    CPoint grip(alpha.left + 10, alpha.top + 10);
    CPoint middle = client.CenterPoint();

    struct Step
    {
        const char* name;
        std::vector<CPoint> path;
        UINT last;
        bool floating;
        UINT dockBar;
    } steps[] = {
        {"escape keeps the bar", {grip, middle, middle}, WM_KEYDOWN, false, AFX_IDW_DOCKBAR_TOP},
        {"right button cancels", {grip, middle, middle}, WM_RBUTTONDOWN, false, AFX_IDW_DOCKBAR_TOP},
        {"dropped on the client area floats", {grip, middle, middle}, WM_LBUTTONUP, true, 0},
    };
    for (const Step& step : steps) {
        PostDrag(&m_alpha, step.path, step.last);
        m_alpha.m_pDockContext->StartDrag(step.path[0]);
        Layout();
        EXPECT_EQ(step.floating, m_alpha.IsFloating() != FALSE) << step.name;
        if (step.dockBar != 0) {
            EXPECT_EQ(Side(step.dockBar), m_alpha.GetParent()) << step.name;
        }
        EXPECT_EQ(nullptr, CWnd::GetCapture()) << step.name;
    }
    EXPECT_EQ(CBRS_ALIGN_TOP, m_alpha.m_pDockContext->m_dwMRUFloatStyle & CBRS_ALIGN_ANY);

    // Dragged back by its place in the mini frame onto the left side: docks standing.
    CRect floating;
    m_alpha.GetWindowRect(&floating);
    CPoint start(floating.left + 5, floating.top + 5);
    CPoint left(client.left + 4, client.top + 150);
    PostDrag(&m_alpha, {start, left, left});
    m_alpha.m_pDockContext->StartDrag(start);
    Layout();
    EXPECT_FALSE(m_alpha.IsFloating());
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_LEFT), m_alpha.GetParent());
    EXPECT_EQ(kStanding, RectIn(&m_alpha, Side(AFX_IDW_DOCKBAR_LEFT)).Size());
}

TEST_F(ControlBarTest, SavedLayoutComesBack)
{
    m_frame->FloatControlBar(&m_beta, CPoint(320, 300), CBRS_ALIGN_TOP);
    m_frame->ShowControlBar(&m_gamma, FALSE, FALSE);
    Layout();
    CMiniDockFrameWnd* mini = MiniFrameOf(&m_beta);
    ASSERT_NE(nullptr, mini);
    CRect betaBefore;
    m_beta.GetWindowRect(&betaBefore);
    m_frame->SaveBarState("Layout");

    m_frame->DockControlBar(&m_beta, AFX_IDW_DOCKBAR_BOTTOM);
    m_frame->ShowControlBar(&m_gamma, TRUE, FALSE);
    m_frame->FloatControlBar(&m_alpha, CPoint(100, 100), CBRS_ALIGN_TOP);
    Layout();

    m_frame->LoadBarState("Layout");
    Layout();
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_TOP), m_alpha.GetParent());
    EXPECT_TRUE(m_beta.IsFloating());
    CRect betaAfter;
    m_beta.GetWindowRect(&betaAfter);
    EXPECT_EQ(betaBefore, betaAfter);
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_LEFT), m_gamma.GetParent());
    EXPECT_FALSE(m_gamma.IsWindowVisible());
    EXPECT_TRUE(m_alpha.IsWindowVisible());
}

TEST_F(ControlBarTest, DamagedProfileLoadsWithoutLosingBars)
{
    m_frame->SaveBarState("Damaged");
    struct Damage
    {
        const char* section;
        const char* key;
        const char* value;
    } damages[] = {
        {"Damaged-Summary", "Bars", "2000000000"},
        {"Damaged-Summary", "ScreenCX", "0"},
        {"Damaged-Bar0", "Bars", "-5"},
        {"Damaged-Bar1", "Bar#0", "59410"},
        {"Damaged-Bar1", "Bar#1", "59410"},
    };
    for (const Damage& damage : damages)
        m_app.WriteProfileString(damage.section, damage.key, damage.value);
    m_frame->LoadBarState("Damaged");
    Layout();
    CFixedBar* bars[] = {&m_alpha, &m_beta, &m_gamma};
    for (CFixedBar* bar : bars) {
        ASSERT_NE(nullptr, bar->m_pDockBar);
        EXPECT_EQ(bar->m_pDockBar, bar->GetParent());
        EXPECT_NE(-1, bar->m_pDockBar->FindBar(bar));
    }
}
