// What a dock bar tells of its rows and a docked bar of its place: the bars
// that show, the bars of a row in the order a resize walks them, a share that
// would drop below the least one, a redraw of the queued bars at once, and a
// bar's row, column, side and share.
#include "toolkit/bars/tests/BarsFixture.h"
#include "tests/support/Waits.h"

#include <vector>

namespace {

class DockRowQueriesTest : public BarsFixture
{
protected:
    void SetUp() override
    {
        BarsFixture::SetUp();
        OneRowAt(AFX_IDW_DOCKBAR_TOP);
    }
    TkDockBar* Top() { return Side(AFX_IDW_DOCKBAR_TOP); }
    std::vector<UINT> RowBars(CControlBar* bar)
    {
        CPtrArray bars;
        Top()->GetRowBars(bars, bar);
        std::vector<UINT> ids;
        for (int i = 0; i < bars.GetSize(); i++)
            ids.push_back(static_cast<CControlBar*>(bars[i])->GetDlgCtrlID());
        return ids;
    }
    // A fourth bar, docked on the left side.
    TkControlBar* LeftBar()
    {
        TkControlBar* bar = MakeBar(kFirstId + 3, "Left", TKCBRS_GRIPPER);
        if (bar != NULL) {
            Side(AFX_IDW_DOCKBAR_LEFT)->DockControlBarAt(bar, {0, 0, 0});
            Layout();
        }
        return bar;
    }
};

TEST_F(DockRowQueriesTest, VisibleBarsAreCountedOnTheirOwnSide)
{
    ASSERT_NE(nullptr, LeftBar());
    const struct
    {
        int hidden;
        int count;
    } cases[] = {{-1, 3}, {1, 2}, {0, 1}, {2, 0}};
    for (const auto& c : cases) {
        if (c.hidden >= 0)
            m_frame->ShowControlBar(m_bars[c.hidden], FALSE, FALSE);
        Layout();
        EXPECT_EQ(c.count, Top()->GetVisibleBarCount()) << c.hidden;
    }
}

TEST_F(DockRowQueriesTest, RowBarsRunFromTheNearestBackwardsThenOnwards)
{
    TkControlBar* left = LeftBar();
    ASSERT_NE(nullptr, left);
    const UINT a = kFirstId, b = kFirstId + 1, c = kFirstId + 2;
    const struct
    {
        CControlBar* bar;
        std::vector<UINT> row;
    } cases[] = {
        {m_bars[0], {a, b, c}},
        {m_bars[1], {a, b, c}},
        {m_bars[2], {b, a, c}},
        {left, {}},
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.row, RowBars(t.bar)) << t.bar->GetDlgCtrlID();
}

TEST_F(DockRowQueriesTest, AShareNeverDropsBelowTheLeastOne)
{
    const float least = Top()->GetMinProportion();
    ASSERT_GT(least, 0.0f);
    const struct
    {
        const char* name;
        float start;
        float delta;
        float shortfall;
        float share;
    } cases[] = {
        {"grows", 0.2f, 0.3f, 0.0f, 0.5f},
        {"shrinks within", 0.5f, -0.2f, 0.0f, 0.3f},
        {"shrinks to the least", least + 0.1f, -0.1f, 0.0f, least},
        {"shrinks past the least", least + 0.1f, -0.3f, -0.2f, least},
    };
    for (const auto& c : cases) {
        m_bars[0]->m_fProportion = c.start;
        EXPECT_NEAR(c.shortfall, Top()->AddToProportion(c.delta, m_bars[0]), 1e-5) << c.name;
        EXPECT_NEAR(c.share, m_bars[0]->m_fProportion, 1e-5) << c.name;
    }
}

// Counts the paints a window gets, through its window procedure.
WNDPROC g_barProc;
int g_barPaints;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        g_barPaints++;
    return ::CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

// The queued bars are drawn again at once and the queue empties; with none
// queued nothing is drawn.
TEST_F(DockRowQueriesTest, RedrawNowDrawsTheQueuedBars)
{
    HWND bar = m_bars[1]->m_hWnd;
    g_barProc = (WNDPROC)::SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)CountingProc);
    const struct
    {
        const char* name;
        CControlBar* queued;
        bool painted;
    } cases[] = {{"nothing queued", NULL, false}, {"the second bar queued", m_bars[1], true}};
    for (const auto& c : cases) {
        Layout();
        m_frame->UpdateWindow();
        Top()->m_redrawList.RemoveAll();
        if (c.queued != NULL)
            Top()->m_redrawList.Add(c.queued);
        g_barPaints = 0;
        Top()->RedrawNow();
        EXPECT_EQ(c.painted, g_barPaints > 0) << c.name;
        EXPECT_EQ(0, Top()->m_redrawList.GetSize()) << c.name;
        EXPECT_FALSE(Top()->m_bRedrawNow) << c.name;
    }
    ::SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)g_barProc);
}

TEST_F(DockRowQueriesTest, ABarTellsItsRowColumnSideAndShare)
{
    TkControlBar* left = LeftBar();
    ASSERT_NE(nullptr, left);
    m_bars[2]->m_fProportion = 0.25f;
    const struct
    {
        TkControlBar* bar;
        int row;
        int column;
        UINT side;
        float share;
    } cases[] = {
        {m_bars[0], 0, 0, AFX_IDW_DOCKBAR_TOP, m_bars[0]->m_fProportion},
        {m_bars[2], 0, 2, AFX_IDW_DOCKBAR_TOP, 0.25f},
        {left, 0, 0, AFX_IDW_DOCKBAR_LEFT, left->m_fProportion},
    };
    for (const auto& c : cases) {
        int row = -1, column = -1;
        UINT side = 0;
        float share = -1;
        ASSERT_TRUE(c.bar->GetDockPosition(row, column, side, share)) << c.bar->GetDlgCtrlID();
        EXPECT_EQ(c.row, row);
        EXPECT_EQ(c.column, column);
        EXPECT_EQ(c.side, side);
        EXPECT_FLOAT_EQ(c.share, share);
    }
    // A floating bar lies in its mini frame's dock bar; a hidden one in none.
    m_frame->FloatControlBar(m_bars[1], CPoint(300, 300), CBRS_ALIGN_TOP);
    Layout();
    int row, column;
    UINT side;
    float share;
    ASSERT_TRUE(m_bars[1]->GetDockPosition(row, column, side, share));
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_FLOAT, side);
    m_frame->ShowControlBar(m_bars[0], FALSE, FALSE);
    Layout();
    EXPECT_FALSE(m_bars[0]->GetDockPosition(row, column, side, share));
}

TEST_F(DockRowQueriesTest, TheGripperAddsToTheLengthAlongTheBar)
{
    const int width = m_bars[0]->m_gripper.GetWidth();
    const int height = m_bars[0]->m_gripper.GetHeight();
    ASSERT_GT(width, 0);
    const struct
    {
        BOOL horizontal;
        CSize grown;
    } cases[] = {{TRUE, CSize(10 + width, 20)}, {FALSE, CSize(10, 20 + height)}};
    for (const auto& c : cases) {
        CSize size(10, 20);
        m_bars[0]->AddGripperSize(size, c.horizontal);
        EXPECT_EQ(c.grown, size) << c.horizontal;
    }
}

}  // namespace
