#include "toolkit/bars/tests/BarsFixture.h"
#include "platform/mfc/tests/PostDrag.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkDockContext.h"
#include "toolkit/colors/TkSysColors.h"

#include <functional>
#include <vector>

namespace {

class DockingTest : public BarsFixture
{
protected:
    TkDockBar* Top() { return Side(AFX_IDW_DOCKBAR_TOP); }
    CRect ScreenRect(CWnd* window)
    {
        CRect rect;
        window->GetWindowRect(&rect);
        return rect;
    }
    TkDockContext* ContextOf(TkControlBar* bar) { return static_cast<TkDockContext*>(bar->m_pDockContext); }
    // Runs the bar's drag loop over queued moves (screen points) to a release.
    void DragBar(TkControlBar* bar, CPoint start, std::vector<CPoint> path)
    {
        std::vector<POINT> points;
        for (CPoint point : path) {
            bar->ScreenToClient(&point);
            points.push_back(point);
        }
        PostDrag(bar->m_hWnd, points);
        bar->m_pDockContext->StartDrag(start);
        Layout();
    }
    // Floats the bar at a size of its own, with the mini frame's top-left at point.
    void FloatAt(TkControlBar* bar, CPoint point, CSize size)
    {
        bar->m_sizeFloat = size;
        m_frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
        Layout();
    }
};

// Where a bar dropped on the top dock bar lands, by the rectangle's place
// against the row of three bars.
TEST_F(DockingTest, DroppedBarJoinsTheRowUnderItOrMakesANewRow)
{
    struct Case
    {
        const char* name;
        int bar;
        // The drop rectangle from the bars' screen rectangles.
        std::function<CRect(const CRect rects[3])> place;
        const char* entries;
    } cases[] = {
        {"back at its own place", 1, [](const CRect r[3]) { return CRect(r[1].left + 3, r[1].top + 2, r[1].right + 3, r[1].bottom + 2); },
         "E820 E821 E822 |"},
        {"before the first bar", 2, [](const CRect r[3]) { return CRect(r[0].left - 5, r[0].top, r[0].left + 40, r[0].bottom); },
         "E822 E820 E821 |"},
        {"after the last bar", 0, [](const CRect r[3]) { return CRect(r[2].left + 10, r[2].top, r[2].left + 60, r[2].bottom); },
         "E821 E822 E820 |"},
        {"above the first row", 1, [](const CRect r[3]) { return CRect(r[0].left, r[0].top - 60, r[0].left + 40, r[0].top - 20); },
         "E821 | E820 E822 |"},
        {"past the last row", 0, [](const CRect r[3]) { return CRect(r[0].left, r[0].bottom + 20, r[0].left + 40, r[0].bottom + 60); },
         "E821 E822 | E820 |"},
    };
    for (const Case& c : cases) {
        OneRowAt(AFX_IDW_DOCKBAR_TOP);
        CRect rects[3];
        for (int i = 0; i < 3; i++)
            rects[i] = ScreenRect(m_bars[i]);
        CRect place = c.place(rects);
        Top()->DockControlBar(m_bars[c.bar], &place);
        Layout();
        EXPECT_EQ(c.entries, DockBarEntries(Top())) << c.name;
        EXPECT_EQ(Top(), m_bars[c.bar]->GetParent()) << c.name;
    }
}

// The feedback over a row with bars takes the dragged bar's share of the row
// and the row's thickness, the mouse keeping its place in it; over an empty
// row it spans the side; a fixed-size bar shows its own rectangle.
TEST_F(DockingTest, FeedbackIsSizedByTheTargetRow)
{
    OneRowAt(AFX_IDW_DOCKBAR_TOP);
    for (TkControlBar* bar : m_bars)
        bar->m_fProportion = 1.0f / 3;
    TkControlBar* dragged = MakeBar(kFirstId + 3, "Dragged", 0);
    ASSERT_NE(nullptr, dragged);
    TkControlBar* fixed = MakeBar(kFirstId + 4, "Fixed", TKCBRS_FIXEDSIZE);
    ASSERT_NE(nullptr, fixed);
    dragged->m_fProportion = 1.0f;
    CRect side = ScreenRect(Top());
    CRect row = ScreenRect(m_bars[1]);
    int half = side.Width() / 2;
    struct Case
    {
        const char* name;
        TkControlBar* bar;
        CRect drag;
        CPoint mouse;
        CRect expected;
    } cases[] = {
        {"row with bars: half the side, the row's thickness", dragged,
         CRect(row.left, row.top, row.left + 100, row.top + 40), CPoint(row.left + 25, row.top + 10),
         CRect(row.left + (100 - half) / 4, row.top + (40 - row.Height()) / 4,
               row.left + (100 - half) / 4 + half, row.top + (40 - row.Height()) / 4 + row.Height())},
        {"empty row below: the side's whole length", dragged,
         CRect(row.left, row.bottom + 30, row.left + 100, row.bottom + 70),
         CPoint(row.left + 50, row.bottom + 50),
         CRect(side.left, row.bottom + 30, side.right, row.bottom + 70)},
        {"fixed-size bar", fixed, CRect(row.left, row.top, row.left + 100, row.top + 40),
         CPoint(row.left + 25, row.top + 10), CRect(row.left, row.top, row.left + 100, row.top + 40)},
    };
    for (const Case& c : cases) {
        int lastRow = -1;
        CRect lastRect;
        CPoint lastPoint;
        CRect feedback = Top()->CalcDockFeedbackRect(c.bar, c.drag, c.mouse, lastRow, lastRect, lastPoint);
        EXPECT_NEAR(c.expected.left, feedback.left, 1) << c.name;
        EXPECT_NEAR(c.expected.right, feedback.right, 1) << c.name;
        EXPECT_NEAR(c.expected.top, feedback.top, 1) << c.name;
        EXPECT_NEAR(c.expected.bottom, feedback.bottom, 1) << c.name;
        EXPECT_EQ(feedback, lastRect) << c.name;
    }

    // Within the same row the feedback only follows the mouse.
    int lastRow = -1;
    CRect lastRect;
    CPoint lastPoint;
    CRect drag(row.left, row.top, row.left + 100, row.top + 40);
    CRect first = Top()->CalcDockFeedbackRect(dragged, drag, CPoint(row.left + 25, row.top + 10),
                                               lastRow, lastRect, lastPoint);
    drag.OffsetRect(30, 4);
    CRect next = Top()->CalcDockFeedbackRect(dragged, drag, CPoint(row.left + 55, row.top + 14),
                                              lastRow, lastRect, lastPoint);
    first.OffsetRect(30, 4);
    EXPECT_EQ(first, next);
}

// A floating bar released less than 5 pixels from where its drag began
// stays floating where it is, even over a dock bar.
TEST_F(DockingTest, FloatingBarMovedUnderFivePixelsNeverDocks)
{
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    struct Case
    {
        const char* name;
        CPoint move;
        bool floating;
    } cases[] = {
        {"not moved", CPoint(0, 0), true},
        {"4 pixels", CPoint(2, 2), true},
        {"5 pixels", CPoint(3, 2), false},
    };
    for (const Case& c : cases) {
        FloatAt(m_bars[0], CPoint(client.left + 40, client.top + 4), CSize(120, 60));
        ASSERT_TRUE(m_bars[0]->IsFloating()) << c.name;
        CRect before = ScreenRect(m_bars[0]);
        CPoint start(before.left + 8, before.top + 8);
        CPoint end = start + c.move;
        DragBar(m_bars[0], start, {end, end});
        EXPECT_EQ(c.floating, m_bars[0]->IsFloating() != FALSE) << c.name;
        if (c.floating) {
            EXPECT_EQ(before.TopLeft(), ScreenRect(m_bars[0]).TopLeft()) << c.name;
        }
        EXPECT_EQ(nullptr, ::GetCapture()) << c.name;
    }
}

// A floating toolkit bar follows every border; the size stays within the
// least floating size and the screen, and the mouse position of an axis
// that left the limits is not taken over.
TEST_F(DockingTest, FloatingBordersResizeWithinTheLimits)
{
    const CSize start(200, 120);
    struct Case
    {
        const char* name;
        int hit;
        std::vector<CPoint> moves;
        CSize change;  // of the bar's size
        CPoint shift;  // of its top-left
    } cases[] = {
        {"right border", HTRIGHT, {CPoint(30, 0)}, CSize(30, 0), CPoint(0, 0)},
        {"left border", HTLEFT, {CPoint(-20, 0)}, CSize(20, 0), CPoint(-20, 0)},
        {"bottom border", HTBOTTOM, {CPoint(0, 25)}, CSize(0, 25), CPoint(0, 0)},
        {"top-left corner", HTTOPLEFT, {CPoint(-10, -15)}, CSize(10, 15), CPoint(-10, -15)},
        {"bottom-right corner", HTBOTTOMRIGHT, {CPoint(15, 5)}, CSize(15, 5), CPoint(0, 0)},
        {"below the least width: stops", HTRIGHT, {CPoint(-1000, 0)}, CSize(0, 0), CPoint(0, 0)},
        {"past the screen: stops", HTBOTTOM, {CPoint(0, 5000)}, CSize(0, 0), CPoint(0, 0)},
        {"too far, then back to a legal size", HTRIGHT, {CPoint(-1000, 0), CPoint(-1000 + 10, 0), CPoint(10, 0)},
         CSize(10, 0), CPoint(0, 0)},
    };
    m_bars[0]->SetBarStyle(m_bars[0]->GetBarStyle() | CBRS_SIZE_DYNAMIC);
    for (const Case& c : cases) {
        FloatAt(m_bars[0], CPoint(300, 300), start);
        CRect before = ScreenRect(m_bars[0]);
        CPoint grab = c.hit == HTLEFT || c.hit == HTTOPLEFT ? before.TopLeft() : before.BottomRight();
        std::vector<POINT> points;
        for (CPoint move : c.moves) {
            CPoint point = grab + move;
            m_bars[0]->ScreenToClient(&point);
            points.push_back(point);
        }
        points.push_back(points.back());
        PostDrag(m_bars[0]->m_hWnd, points);
        m_bars[0]->m_pDockContext->StartResize(c.hit, grab);
        Layout();
        CRect after = ScreenRect(m_bars[0]);
        EXPECT_TRUE(m_bars[0]->IsFloating()) << c.name;
        EXPECT_EQ(before.Size() + c.change, after.Size()) << c.name;
        EXPECT_EQ(before.TopLeft() + c.shift, after.TopLeft()) << c.name;
        EXPECT_EQ(after.Size(), m_bars[0]->m_sizeFloat) << c.name;
    }
}

// A double click on the gripper floats a docked bar; one on the mini
// frame's caption docks it back into its place in the row.
TEST_F(DockingTest, DoubleClicksToggleBetweenRowAndMiniFrame)
{
    OneRowAt(AFX_IDW_DOCKBAR_TOP);
    CRect before = RectIn(m_bars[1], Top());
    m_bars[1]->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    Layout();
    ASSERT_TRUE(m_bars[1]->IsFloating());
    EXPECT_EQ("E820 #E821 E822 |", DockBarEntries(Top()));

    CWnd* mini = m_bars[1]->GetParentFrame();
    CRect caption;
    mini->GetWindowRect(&caption);
    mini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.left + 20, caption.top + 5));
    Layout();
    EXPECT_FALSE(m_bars[1]->IsFloating());
    EXPECT_EQ("E820 E821 E822 |", DockBarEntries(Top()));
    EXPECT_EQ(before, RectIn(m_bars[1], Top()));
}

// Ctrl held while dragging always floats; Shift docks only in the bar's
// other orientation, so a lying bar dropped on the top row floats standing.
TEST_F(DockingTest, CtrlForcesFloatingAndShiftTurnsTheBar)
{
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    const CPoint left(client.left + 4, client.top + 200);
    const CPoint top(client.left + 300, client.top + 10);
    struct Case
    {
        const char* name;
        UINT key;
        CPoint drop;
        UINT side;  // 0: floats
        DWORD floatAlign;
    } cases[] = {
        {"on the left side: docks there", 0, left, AFX_IDW_DOCKBAR_LEFT, 0},
        {"Ctrl on the left side: floats", VK_CONTROL, left, 0, CBRS_ALIGN_TOP},
        {"on the top row: docks there", 0, top, AFX_IDW_DOCKBAR_TOP, 0},
        {"Shift on the top row: floats standing", VK_SHIFT, top, 0, CBRS_ALIGN_LEFT},
    };
    // Thin rows, so that the top dock bar ends well above the drop on the left.
    for (TkControlBar* bar : m_bars) {
        bar->m_sizeHorz = CSize(120, 30);
        bar->m_sizeVert = CSize(30, 120);
    }
    for (const Case& c : cases) {
        m_frame->DockControlBar(m_bars[0], AFX_IDW_DOCKBAR_TOP);
        Layout();
        CRect bar = ScreenRect(m_bars[0]);
        CPoint grip(bar.left + 5, bar.top + 5);
        CPoint drop = c.drop;
        m_bars[0]->ScreenToClient(&drop);
        m_bars[0]->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25, 25));
        if (c.key != 0)
            m_bars[0]->PostMessage(WM_KEYDOWN, c.key, 0);
        m_bars[0]->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
        m_bars[0]->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
        m_bars[0]->m_pDockContext->StartDrag(grip);
        Layout();
        EXPECT_EQ(c.side == 0, m_bars[0]->IsFloating() != FALSE) << c.name;
        if (c.side != 0) {
            EXPECT_EQ(Side(c.side), m_bars[0]->GetParent()) << c.name;
        } else {
            EXPECT_EQ(c.floatAlign, m_bars[0]->m_pDockContext->m_dwMRUFloatStyle & CBRS_ALIGN_ANY) << c.name;
        }
    }
}

}  // namespace
