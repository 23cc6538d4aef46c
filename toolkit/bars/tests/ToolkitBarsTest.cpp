#include "toolkit/bars/tests/BarsFixture.h"
#include "tests/support/Waits.h"

#include <string.h>

void BarsFixture::SetUp()
{
    ASSERT_TRUE(m_folder.IsValid());
    free((void*)m_app.m_pszProfileName);
    m_app.m_pszProfileName = strdup(m_folder.WindowsPath("bars.ini").c_str());
    m_frame = new CToolkitFrame;
    ASSERT_TRUE(m_frame->Create(NULL, "Toolkit bars", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 460)));
    m_app.m_pMainWnd = m_frame;
    m_frame->m_pFloatingFrameClass = RUNTIME_CLASS(TkMiniDockFrameWnd);
    m_frame->EnableDocking(CBRS_ALIGN_ANY);
    const char* titles[] = {"One", "Two", "Three"};
    for (int i = 0; i < 3; i++) {
        m_bars[i] = MakeBar(kFirstId + i, titles[i], TKCBRS_GRIPPER);
        ASSERT_NE(nullptr, m_bars[i]);
        m_frame->DockControlBar(m_bars[i]);
    }
    m_frame->ShowWindow(SW_SHOW);
    Layout();
}

void BarsFixture::TearDown()
{
    if (m_frame != NULL && ::IsWindow(m_frame->m_hWnd))
        m_frame->DestroyWindow();
    PumpMessages();
    m_app.m_pMainWnd = NULL;
}

TkControlBar* BarsFixture::MakeBar(UINT id, LPCSTR title, DWORD exStyle)
{
    TkControlBar* bar = new TkControlBar;
    bar->m_bAutoDelete = TRUE;
    if (!bar->Create(m_frame, title, WS_VISIBLE | CBRS_TOP, exStyle, id)) {
        delete bar;
        return NULL;
    }
    bar->EnableDocking(CBRS_ALIGN_ANY);
    return bar;
}

void BarsFixture::OneRowAt(UINT side)
{
    for (int i = 0; i < 3; i++)
        Side(side)->DockControlBarAt(m_bars[i], {0, i, 0});
    Layout();
}

void BarsFixture::Layout()
{
    PumpMessages();
    m_frame->RecalcLayout();
    PumpMessages();
}

TkDockBar* BarsFixture::Side(UINT id)
{
    return static_cast<TkDockBar*>(m_frame->GetControlBar(id));
}

CRect BarsFixture::RectIn(CWnd* window, CWnd* reference)
{
    CRect rect;
    window->GetWindowRect(&rect);
    reference->ScreenToClient(&rect);
    return rect;
}

namespace {

// The first redraw bits a window's move carried since the last Start.
class MoveFlagsRecorder
{
public:
    explicit MoveFlagsRecorder(HWND window) : m_window(window)
    {
        s_old = (WNDPROC)::SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    ~MoveFlagsRecorder() { ::SetWindowLongPtrA(m_window, GWLP_WNDPROC, (LONG_PTR)s_old); }
    void Start() { s_recorded = FALSE; }
    BOOL Recorded() const { return s_recorded; }
    UINT Flags() const { return s_flags & (SWP_NOCOPYBITS | SWP_NOREDRAW); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_WINDOWPOSCHANGING && !s_recorded) {
            const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
                s_flags = pos->flags;
                s_recorded = TRUE;
            }
        }
        return ::CallWindowProcA(s_old, window, message, wParam, lParam);
    }

    HWND m_window;
    static WNDPROC s_old;
    static BOOL s_recorded;
    static UINT s_flags;
};

WNDPROC MoveFlagsRecorder::s_old = NULL;
BOOL MoveFlagsRecorder::s_recorded = FALSE;
UINT MoveFlagsRecorder::s_flags = 0;

class ToolkitBarsTest : public BarsFixture
{
protected:
    // Puts all three bars into the top row, in order.
    void OneRow()
    {
        TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
        for (int i = 1; i < 3; i++) {
            CRect previous;
            m_bars[i - 1]->GetWindowRect(&previous);
            CRect place(CPoint(previous.right + 4, previous.top + 2), CSize(40, 20));
            top->DockControlBar(m_bars[i], &place);
            Layout();
        }
        ASSERT_EQ("E820 E821 E822 |", DockBarEntries(top));
    }
    void SetProportions(float a, float b, float c)
    {
        m_bars[0]->m_fProportion = a;
        m_bars[1]->m_fProportion = b;
        m_bars[2]->m_fProportion = c;
    }
};

TEST_F(ToolkitBarsTest, MinimumProportionFollowsTheRowLength)
{
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    struct Case
    {
        int length;
        float minimum;
    } cases[] = {{360, 0.05f}, {180, 0.1f}, {10, 1.0f}, {0, 0.05f}};
    for (const Case& c : cases) {
        top->SetWindowPos(NULL, 0, 0, c.length, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        top->UpdateMinProportion();
        EXPECT_FLOAT_EQ(c.minimum, top->GetMinProportion()) << c.length;
    }
}

// A fixed bar keeps its share and the others split what is left; without one
// the shares are scaled to add up to 1.
TEST_F(ToolkitBarsTest, NormalizeRowKeepsTheFixedBarsShare)
{
    OneRow();
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    struct Case
    {
        const char* name;
        float in[3];
        int fixed;
        float out[3];
    } cases[] = {
        {"no fixed bar", {1.0f, 1.0f, 2.0f}, -1, {0.25f, 0.25f, 0.5f}},
        {"fixed bar, others sum to more than 1", {0.5f, 1.0f, 1.0f}, 0, {0.5f, 0.25f, 0.25f}},
        {"fixed bar, others sum to less than 1", {0.6f, 0.1f, 0.1f}, 0, {0.6f, 0.2f, 0.2f}},
        {"others equal to the fixed share", {0.4f, 0.2f, 0.2f}, 0, {0.4f, 0.3f, 0.3f}},
        {"fixed share above 0.95 loses its role", {0.97f, 0.0f, 0.03f}, 0, {0.97f, 0.0f, 0.03f}},
        {"all zero", {0.0f, 0.0f, 0.0f}, -1, {1.0f / 3, 1.0f / 3, 1.0f / 3}},
    };
    for (const Case& c : cases) {
        SetProportions(c.in[0], c.in[1], c.in[2]);
        int resizable = 0;
        int fixedSize = 0;
        top->NormalizeRow(1, c.fixed >= 0 ? m_bars[c.fixed] : NULL, &resizable, &fixedSize);
        EXPECT_EQ(3, resizable);
        EXPECT_EQ(0, fixedSize);
        float minimum = top->GetMinProportion();
        float sum = 0;
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(std::max(c.out[i], minimum), m_bars[i]->m_fProportion, 1e-4) << c.name << " " << i;
            EXPECT_GE(m_bars[i]->m_fProportion, minimum) << c.name;
            sum += m_bars[i]->m_fProportion;
        }
        EXPECT_LT(sum, 1.0f + 3 * minimum) << c.name;
    }
}

TEST_F(ToolkitBarsTest, ExpandingTakesTheRowAndContractingSharesItEqually)
{
    OneRow();
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    SetProportions(0.2f, 0.5f, 0.3f);
    top->ExpandBar(m_bars[1], TkDockBar::kExpand);
    EXPECT_FLOAT_EQ(1.0f, m_bars[1]->m_fProportion);
    EXPECT_FLOAT_EQ(top->GetMinProportion(), m_bars[0]->m_fProportion);
    EXPECT_TRUE(top->IsBarExpanded(m_bars[1]));
    EXPECT_FALSE(top->IsBarExpanded(m_bars[0]));
    Layout();
    EXPECT_GT(RectIn(m_bars[1], top).Width(), RectIn(m_bars[0], top).Width() * 5);

    top->ExpandBar(m_bars[1], TkDockBar::kContract);
    for (TkControlBar* bar : m_bars)
        EXPECT_NEAR(1.0f / 3, bar->m_fProportion, 1e-4);
    EXPECT_FALSE(top->IsBarExpanded(m_bars[1]));
}

TEST_F(ToolkitBarsTest, ResizableRowSharesItsLengthBetweenSplitters)
{
    OneRow();
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    SetProportions(0.25f, 0.25f, 0.5f);
    Layout();
    CRect client;
    top->GetClientRect(&client);
    int available = client.Width() - 12;
    CRect rects[3];
    for (int i = 0; i < 3; i++)
        rects[i] = RectIn(m_bars[i], top);
    EXPECT_EQ(0, rects[0].left);
    EXPECT_EQ(available / 4, rects[0].Width());
    EXPECT_EQ(rects[0].right + 6, rects[1].left);
    EXPECT_EQ(rects[1].right + 6, rects[2].left);
    EXPECT_EQ(client.right, rects[2].right);
    EXPECT_EQ(rects[0].Height(), rects[2].Height());

    // An unchanged second layout moves nothing.
    Layout();
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(rects[i], RectIn(m_bars[i], top)) << i;
}

TEST_F(ToolkitBarsTest, OnlyBarInItsRowCannotExpand)
{
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    EXPECT_TRUE(top->IsOnlyBarInRow(m_bars[0]));
    EXPECT_FALSE(top->IsOnlyBarInRow(NULL));
    m_bars[0]->UpdateExpandState(TRUE);
    OneRow();
    EXPECT_FALSE(top->IsOnlyBarInRow(m_bars[0]));
    m_frame->ShowControlBar(m_bars[1], FALSE, FALSE);
    m_frame->ShowControlBar(m_bars[2], FALSE, FALSE);
    EXPECT_TRUE(top->IsOnlyBarInRow(m_bars[0]));
}

TEST_F(ToolkitBarsTest, SavedPositionsPlaceBarsByRowAndColumn)
{
    TkDockBar* left = Side(AFX_IDW_DOCKBAR_LEFT);
    struct Case
    {
        const char* name;
        TkDockBar::Position position;
        const char* entries;
    } cases[] = {
        {"empty dock bar", {0, 0, 0}, "E820 |"},
        {"row -1: front of the first row", {-1, 0, 0}, "E821 E820 |"},
        {"row -2: a row before all others", {-2, 0, 0}, "E822 | E821 E820 |"},
    };
    for (int i = 0; i < 3; i++) {
        left->DockControlBarAt(m_bars[i], cases[i].position);
        EXPECT_EQ(cases[i].entries, DockBarEntries(left)) << cases[i].name;
        EXPECT_EQ(left, m_bars[i]->GetParent()) << cases[i].name;
    }
    // Own-row bars never share a row.
    TkControlBar* own = MakeBar(0xE830, "Own", TKCBRS_OWNROW);
    ASSERT_NE(nullptr, own);
    left->DockControlBarAt(own, {1, 1, 0});
    EXPECT_EQ("E822 | E821 | E830 | E820 |", DockBarEntries(left));
}

// The row-and-column forms take the column first.
TEST_F(ToolkitBarsTest, RowAndColumnFormsTakeTheColumnFirst)
{
    TkDockBar* left = Side(AFX_IDW_DOCKBAR_LEFT);
    OneRowAt(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_EQ("E820 E821 E822 |", DockBarEntries(left));
    TkControlBar* extra = MakeBar(0xE840, "Extra", 0);
    ASSERT_NE(nullptr, extra);
    struct Case
    {
        const char* name;
        int column;
        int row;
        int index;
        const char* entries;
    } cases[] = {
        {"column 1 of row 0", 1, 0, 2, "E820 E840 E821 E822 |"},
        {"row 1 does not exist: a new last row", 0, 1, 5, "E820 E821 E822 | E840 |"},
        {"row -1: front of the first row", 2, -1, 1, "E840 E820 E821 E822 |"},
    };
    for (const Case& c : cases) {
        int index = left->InsertBarAtRowColumn(extra, c.column, c.row);
        EXPECT_EQ(c.index, index) << c.name;
        EXPECT_EQ(c.entries, DockBarEntries(left)) << c.name;
        // Back to the one row: the array only, the bar was never docked.
        left->m_arrBars.RemoveAt(index);
        if (left->m_arrBars[index] == NULL && left->m_arrBars[index - 1] == NULL)
            left->m_arrBars.RemoveAt(index);
        ASSERT_EQ("E820 E821 E822 |", DockBarEntries(left)) << c.name;
    }
    extra->DestroyWindow();

    left->DockControlBarAtRowColumn(m_bars[2], 0, 1);
    EXPECT_EQ("E820 E821 | E822 |", DockBarEntries(left));
    left->DockControlBarAtRowColumn(m_bars[0], 1, 1);
    EXPECT_EQ("E821 | E822 E820 |", DockBarEntries(left));
    EXPECT_EQ(left, m_bars[0]->GetParent());
}

TEST_F(ToolkitBarsTest, FloatingLeavesAPlaceholderAndFirstBarSkipsIt)
{
    OneRow();
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    m_frame->FloatControlBar(m_bars[0], CPoint(200, 200), CBRS_ALIGN_TOP);
    Layout();
    EXPECT_EQ("#E820 E821 E822 |", DockBarEntries(top));
    EXPECT_EQ(m_bars[1], top->GetFirstBar());
    ASSERT_TRUE(m_bars[0]->IsFloating());
    EXPECT_TRUE(m_bars[0]->GetParentFrame()->IsKindOf(RUNTIME_CLASS(TkMiniDockFrameWnd)));
    EXPECT_FALSE(m_bars[0]->HasGripper());

    m_bars[0]->m_pDockContext->ToggleDocking();
    Layout();
    EXPECT_EQ("E820 E821 E822 |", DockBarEntries(top));
}

// Laid out at a point, a mini frame that snaps to its bars takes the size
// its bar asks for and moves there at once; one that does not snap only
// lays its bars out where it is.
TEST_F(ToolkitBarsTest, RecalcLayoutAtSizesTheMiniFrameToItsBarsAndMovesIt)
{
    // Floating, a dynamic bar asks for its floating size.
    m_bars[0]->SetBarStyle(m_bars[0]->GetBarStyle() | CBRS_SIZE_DYNAMIC);
    m_frame->FloatControlBar(m_bars[0], CPoint(200, 200), CBRS_ALIGN_TOP);
    Layout();
    CFrameWnd* parent = m_bars[0]->GetParentFrame();
    ASSERT_TRUE(parent->IsKindOf(RUNTIME_CLASS(TkMiniDockFrameWnd)));
    TkMiniDockFrameWnd* mini = static_cast<TkMiniDockFrameWnd*>(parent);
    m_bars[0]->m_sizeFloat = CSize(240, 130);
    mini->DelayRecalcLayout();
    mini->RecalcLayoutAt(300, 250);
    EXPECT_EQ(0u, mini->m_nIdleFlags & (CFrameWnd::idleLayout | CFrameWnd::idleNotify));
    CRect frame;
    mini->GetWindowRect(&frame);
    EXPECT_EQ(CPoint(300, 250), frame.TopLeft());
    EXPECT_EQ(CSize(240, 130), RectIn(m_bars[0], mini).Size());
    // The size is the one a layout where it stands gives.
    mini->RecalcLayout();
    CRect snapped;
    mini->GetWindowRect(&snapped);
    EXPECT_EQ(frame, snapped);
    CString caption;
    mini->GetWindowText(caption);
    EXPECT_STREQ("One", caption);

    mini->ModifyStyle(FWS_SNAPTOBARS, 0);
    m_bars[0]->m_sizeFloat = CSize(200, 100);
    mini->RecalcLayoutAt(10, 10);
    CRect kept;
    mini->GetWindowRect(&kept);
    EXPECT_EQ(frame, kept);
    EXPECT_EQ(CSize(200, 100), RectIn(m_bars[0], mini).Size());
}

TEST_F(ToolkitBarsTest, AllowDockingOffFloatsAndOnRestoresTheSides)
{
    m_bars[0]->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
    m_bars[0]->SendMessage(WM_COMMAND, ID_TKCB_ALLOWDOCKING);
    Layout();
    EXPECT_TRUE(m_bars[0]->IsFloating());
    EXPECT_EQ(0u, m_bars[0]->m_dwDockStyle & CBRS_ALIGN_ANY);
    m_bars[0]->SendMessage(WM_COMMAND, ID_TKCB_ALLOWDOCKING);
    EXPECT_EQ(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT, m_bars[0]->m_dwDockStyle & CBRS_ALIGN_ANY);

    m_bars[1]->SendMessage(WM_COMMAND, ID_TKCB_HIDE);
    EXPECT_FALSE(m_bars[1]->IsWindowVisible());
}

// Children recorded while the bar had no size are left where they are; once
// recorded at a size they scale with the bar.
TEST_F(ToolkitBarsTest, ProportionalChildrenScaleWithTheBar)
{
    TkControlBar* bar = MakeBar(0xE831, "Children", 0);
    ASSERT_NE(nullptr, bar);
    CWnd child;
    ASSERT_TRUE(child.Create("STATIC", "x", WS_CHILD | WS_VISIBLE, CRect(10, 5, 30, 15), bar, 1));
    bar->SetExBarStyle(TKCBRS_PROPORTIONAL_CHILDREN, FALSE);
    bar->SetWindowPos(NULL, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CRect(10, 5, 30, 15), RectIn(&child, bar));

    bar->SetExBarStyle(0, FALSE);
    bar->SetExBarStyle(TKCBRS_PROPORTIONAL_CHILDREN, FALSE);
    bar->SetWindowPos(NULL, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(CRect(20, 10, 60, 30), RectIn(&child, bar));
}

TEST_F(ToolkitBarsTest, FreeBarIdSkipsTheIdsInUse)
{
    EXPECT_EQ(kFirstId + 3, TkControlBar::FindFreeBarId(m_frame->m_listControlBars, kFirstId));
    EXPECT_EQ(256u, TkControlBar::FindFreeBarId(m_frame->m_listControlBars, 256));
}

TEST_F(ToolkitBarsTest, GripperTakesItsWidthFromTheInsideRectangle)
{
    TkGripperInfo gripper;
    EXPECT_EQ(17, gripper.GetWidth());
    EXPECT_EQ(17, gripper.GetHeight());
    EXPECT_EQ("Hide docked window", gripper.m_closeTip);
    CRect client;
    m_bars[0]->GetClientRect(&client);
    CRect inside;
    m_bars[0]->GetInsideRect(inside);
    EXPECT_EQ(CRect(client.left + 17, client.top + 3, client.right - 3, client.bottom - 3), inside);
}

// With the switch on, the dock bar moves itself by the deferred-redraw flag:
// old pixels dropped when its size stays, no painting when only its thickness
// changes; the switch is back as it was after the pass.
TEST_F(ToolkitBarsTest, DockBarMoveFollowsTheDeferredRedraw)
{
    enum Change { kNone, kThickness, kLength };
    struct Case
    {
        const char* name;
        int redrawSwitch;
        BOOL deferred;
        Change change;
        UINT flags;
    } cases[] = {
        {"nothing deferred", 1, FALSE, kNone, 0},
        {"same size", 1, TRUE, kNone, SWP_NOCOPYBITS},
        {"thickness changed", 1, TRUE, kThickness, SWP_NOREDRAW},
        {"length changed", 1, TRUE, kLength, 0},
        {"switch off", 0, TRUE, kNone, 0},
    };
    int savedSwitch = TkControlBar::GetRedrawOnLayout();
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
        MoveFlagsRecorder recorder(top->m_hWnd);
        TkControlBar::SetRedrawOnLayout(c.redrawSwitch);
        top->m_bDeferredRedraw = c.deferred;
        recorder.Start();
        if (c.change == kThickness)
            m_frame->ShowControlBar(m_bars[2], FALSE, FALSE);
        else if (c.change == kLength)
            m_frame->SetWindowPos(NULL, 0, 0, 700, 440, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_frame->RecalcLayout();
        EXPECT_TRUE(recorder.Recorded()) << c.name;
        EXPECT_EQ(c.flags, recorder.Flags()) << c.name;
        EXPECT_EQ(c.redrawSwitch, TkControlBar::GetRedrawOnLayout()) << c.name;
    }
    TkControlBar::SetRedrawOnLayout(savedSwitch);
}

}  // namespace
