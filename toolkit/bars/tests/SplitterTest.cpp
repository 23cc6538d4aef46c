#include "toolkit/bars/tests/BarsFixture.h"
#include "platform/mfc/tests/PostDrag.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkDockBarSplitter.h"
#include "toolkit/colors/TkSysColors.h"

#include <vector>

namespace {

const UINT kSides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                       AFX_IDW_DOCKBAR_RIGHT};

class SplitterTest : public BarsFixture
{
protected:
    static BOOL IsHorizontal(UINT side)
    {
        return side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
    }
    static BOOL IsNearSide(UINT side)
    {
        return side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_LEFT;
    }
    // Edges across the row (near, far) and along it.
    static int AcrossNear(UINT side, const CRect& r) { return IsHorizontal(side) ? r.top : r.left; }
    static int AcrossFar(UINT side, const CRect& r) { return IsHorizontal(side) ? r.bottom : r.right; }
    static int AlongNear(UINT side, const CRect& r) { return IsHorizontal(side) ? r.left : r.top; }
    static int AlongFar(UINT side, const CRect& r) { return IsHorizontal(side) ? r.right : r.bottom; }
    static int Length(UINT side, const CRect& r) { return IsHorizontal(side) ? r.Width() : r.Height(); }
    static int Thickness(UINT side, const CRect& r) { return IsHorizontal(side) ? r.Height() : r.Width(); }

    TkDockBar::Splitter* RowSplitter(TkDockBar* dockBar)
    {
        for (int i = 0; i < dockBar->GetSplitterCount(); i++)
            if (!dockBar->GetSplitter(i)->m_bBetweenBars)
                return dockBar->GetSplitter(i);
        return NULL;
    }
    TkDockBar::Splitter* SplitterAfter(TkDockBar* dockBar, TkControlBar* bar)
    {
        for (int i = 0; i < dockBar->GetSplitterCount(); i++) {
            TkDockBar::Splitter* splitter = dockBar->GetSplitter(i);
            if (splitter->m_bBetweenBars && dockBar->GetDockedControlBar(splitter->m_nIndex) == bar)
                return splitter;
        }
        return NULL;
    }
    // Presses the left button on the splitter's middle and lets the drag loop
    // take the queued moves and the last message (button up, Escape or the
    // right button), each moved by its offset along the splitter's direction.
    void Drag(TkDockBar* dockBar, TkDockBar::Splitter* splitter, std::vector<int> moves, UINT last)
    {
        CPoint grab = splitter->m_rect.CenterPoint();
        std::vector<POINT> points;
        for (int move : moves) {
            CPoint point = grab;
            (splitter->MovesAlongX() ? point.x : point.y) += move;
            points.push_back(point);
        }
        PostDrag(dockBar->m_hWnd, points, last);
        dockBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        Layout();
    }
    CRect FreeArea()
    {
        CRect free;
        m_frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &free);
        return free;
    }
};

// The splitter of a row always faces the frame's client area and the client
// edge the frame's border; the bars of a row are 6 pixels apart.
TEST_F(SplitterTest, SeparatorsLieBetweenBarsAndFaceTheClientArea)
{
    for (UINT side : kSides) {
        OneRowAt(side);
        TkDockBar* dockBar = Side(side);
        CRect rects[3];
        for (int i = 0; i < 3; i++)
            rects[i] = RectIn(m_bars[i], dockBar);
        ASSERT_EQ(3, dockBar->GetSplitterCount()) << side;
        ASSERT_EQ(1, dockBar->GetClientEdgeCount()) << side;
        int lineAcross = IsHorizontal(side) ? TkDockBar::Splitter::kHorizontalLine
                                            : TkDockBar::Splitter::kVerticalLine;
        int lineBetween = IsHorizontal(side) ? TkDockBar::Splitter::kVerticalLine
                                             : TkDockBar::Splitter::kHorizontalLine;
        for (int i = 0; i < 2; i++) {
            TkDockBar::Splitter* splitter = SplitterAfter(dockBar, m_bars[i]);
            ASSERT_NE(nullptr, splitter) << side << " " << i;
            EXPECT_EQ(lineBetween, splitter->m_nOrientation) << side;
            EXPECT_EQ(AlongFar(side, rects[i]), AlongNear(side, splitter->m_rect)) << side << " " << i;
            EXPECT_EQ(AlongNear(side, rects[i + 1]), AlongFar(side, splitter->m_rect)) << side << " " << i;
            EXPECT_EQ(6, Length(side, splitter->m_rect)) << side;
            EXPECT_EQ(Thickness(side, rects[i]), Thickness(side, splitter->m_rect)) << side;
        }
        TkDockBar::Splitter* row = RowSplitter(dockBar);
        ASSERT_NE(nullptr, row) << side;
        EXPECT_EQ(lineAcross, row->m_nOrientation) << side;
        EXPECT_EQ(6, Thickness(side, row->m_rect)) << side;
        CRect edge = dockBar->GetClientEdge(0)->m_rect;
        EXPECT_EQ(2, Thickness(side, edge)) << side;
        if (IsNearSide(side)) {
            EXPECT_EQ(AcrossFar(side, rects[0]), AcrossNear(side, row->m_rect)) << side;
            EXPECT_EQ(AcrossNear(side, rects[0]), AcrossFar(side, edge)) << side;
        } else {
            EXPECT_EQ(AcrossNear(side, rects[0]), AcrossFar(side, row->m_rect)) << side;
            EXPECT_EQ(AcrossFar(side, rects[0]), AcrossNear(side, edge)) << side;
        }
    }
}

TEST_F(SplitterTest, SplitterBetweenBarsMovesTheNeighboursShares)
{
    struct Case
    {
        const char* name;
        std::vector<int> moves;
        UINT last;
        int change[3];
    } cases[] = {
        {"dragged right", {10, 30, 30}, WM_LBUTTONUP, {30, -30, 0}},
        {"dragged left", {-10, -30}, WM_LBUTTONUP, {-30, 30, 0}},
        {"Escape cancels", {30, 0}, WM_KEYDOWN, {0, 0, 0}},
        {"right button cancels", {30, 30}, WM_RBUTTONDOWN, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        OneRowAt(AFX_IDW_DOCKBAR_TOP);
        TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
        for (TkControlBar* bar : m_bars)
            bar->m_fProportion = 1.0f / 3;
        Layout();
        int before[3];
        for (int i = 0; i < 3; i++)
            before[i] = RectIn(m_bars[i], top).Width();
        Drag(top, SplitterAfter(top, m_bars[0]), c.moves, c.last);
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(before[i] + c.change[i], RectIn(m_bars[i], top).Width(), 1) << c.name << " " << i;
        EXPECT_EQ(nullptr, ::GetCapture()) << c.name;
    }
}

// Each bar keeps 24 pixels of the row per bar on either side of the splitter
// (the splitters between them included), and none becomes shorter than 18.
TEST_F(SplitterTest, SplitterBetweenBarsStopsBeforeTheRowsEnds)
{
    OneRowAt(AFX_IDW_DOCKBAR_TOP);
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    CRect client;
    top->GetClientRect(&client);
    Drag(top, SplitterAfter(top, m_bars[0]), {-1000}, WM_LBUTTONUP);
    EXPECT_NEAR(24, RectIn(m_bars[0], top).Width(), 1);

    Drag(top, SplitterAfter(top, m_bars[0]), {2000}, WM_LBUTTONUP);
    EXPECT_NEAR(client.right - 2 * 24 - 6, RectIn(m_bars[0], top).right, 1);
    for (int i = 1; i < 3; i++)
        EXPECT_GE(RectIn(m_bars[i], top).Width(), TkDockBar::kMinBarLength) << i;
    EXPECT_EQ(client.right, RectIn(m_bars[2], top).right);
}

// Dragging the row's splitter into the client area thickens the row, away
// from it thins the row; the row and the client area each keep 19 pixels.
TEST_F(SplitterTest, RowSplitterChangesTheRowsThickness)
{
    for (UINT side : kSides) {
        // Moves are along the splitter's axis; positive goes right or down.
        int intoClient = IsNearSide(side) ? 1 : -1;
        struct Case
        {
            const char* name;
            int move;
        } cases[] = {{"into the client area", 20}, {"away from the client area", -20}};
        for (const Case& c : cases) {
            for (TkControlBar* bar : m_bars)
                bar->m_sizeHorz = bar->m_sizeVert = CSize(120, 120);
            OneRowAt(side);
            TkDockBar* dockBar = Side(side);
            int before = Thickness(side, RectIn(m_bars[0], dockBar));
            Drag(dockBar, RowSplitter(dockBar), {c.move * intoClient}, WM_LBUTTONUP);
            for (int i = 0; i < 3; i++)
                EXPECT_EQ(before + c.move, Thickness(side, RectIn(m_bars[i], dockBar)))
                    << side << " " << c.name << " " << i;
        }
        Drag(Side(side), RowSplitter(Side(side)), {-5000 * intoClient}, WM_LBUTTONUP);
        EXPECT_EQ(19, Thickness(side, RectIn(m_bars[0], Side(side)))) << side;
        Drag(Side(side), RowSplitter(Side(side)), {5000 * intoClient}, WM_LBUTTONUP);
        EXPECT_EQ(19, IsHorizontal(side) ? FreeArea().Height() : FreeArea().Width()) << side;
    }
}

TEST_F(SplitterTest, CursorShowsTheWayASplitterMoves)
{
    OneRowAt(AFX_IDW_DOCKBAR_TOP);
    TkDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    HINSTANCE instance = AfxGetResourceHandle();
    HCURSOR alongX = ::LoadCursorA(instance, MAKEINTRESOURCEA(TkDockBar::kSplitterCursorX));
    HCURSOR alongY = ::LoadCursorA(instance, MAKEINTRESOURCEA(TkDockBar::kSplitterCursorY));
    ASSERT_NE(nullptr, alongX);
    ASSERT_NE(nullptr, alongY);
    ASSERT_NE(alongX, alongY);
    CRect bar = RectIn(m_bars[0], top);
    struct Case
    {
        const char* name;
        CPoint point;
        HCURSOR cursor;
    } cases[] = {
        {"between bars", SplitterAfter(top, m_bars[0])->m_rect.CenterPoint(), alongX},
        {"below the row", RowSplitter(top)->m_rect.CenterPoint(), alongY},
        {"elsewhere", CPoint(bar.left - 1, bar.top - 1), ::LoadCursorA(NULL, IDC_ARROW)},
    };
    for (const Case& c : cases) {
        top->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.point.x, c.point.y));
        EXPECT_EQ(c.cursor, ::GetCursor()) << c.name;
    }
}

// Splitters are raised lines, client edges sunken ones.
TEST_F(SplitterTest, SeparatorsDrawTheirLines)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    CBitmap bitmap;
    CClientDC screen(NULL);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 20));
    dc.SelectObject(&bitmap);
    const COLORREF face = tkSysColors.m_clrBtnFace;
    const COLORREF light = tkSysColors.m_clrBtnHilite;
    const COLORREF shadow = tkSysColors.m_clrBtnShadow;
    const COLORREF frame = tkSysColors.m_clrWindowFrame;
    struct Case
    {
        const char* name;
        int orientation;  // -1: client edge
        int kind;
        std::vector<COLORREF> across;  // from the leading edge
    } cases[] = {
        {"splitter moving along x", TkDockBar::Splitter::kVerticalLine, 0,
         {light, face, face, face, shadow, frame}},
        {"splitter moving along y", TkDockBar::Splitter::kHorizontalLine, 0,
         {light, face, face, face, shadow, frame}},
        {"upright client edge", -1, TkDockBar::ClientEdge::kVertical, {shadow, light}},
        {"level client edge", -1, TkDockBar::ClientEdge::kHorizontal, {shadow, light}},
    };
    for (const Case& c : cases) {
        dc.FillSolidRect(0, 0, 20, 20, RGB(1, 2, 3));
        BOOL alongX = c.orientation >= 0 ? c.orientation == TkDockBar::Splitter::kVerticalLine
                                         : c.kind == TkDockBar::ClientEdge::kVertical;
        int size = (int)c.across.size();
        CRect rect = alongX ? CRect(4, 2, 4 + size, 12) : CRect(2, 4, 12, 4 + size);
        if (c.orientation >= 0)
            TkDockBar::Splitter(FALSE, c.orientation, rect, 1).Draw(&dc);
        else
            TkDockBar::ClientEdge(c.kind, rect).Draw(&dc);
        for (int i = 0; i < size; i++) {
            CPoint at = alongX ? CPoint(4 + i, 7) : CPoint(7, 4 + i);
            EXPECT_EQ(c.across[i], dc.GetPixel(at.x, at.y)) << c.name << " " << i;
        }
        EXPECT_EQ(RGB(1, 2, 3), dc.GetPixel(alongX ? 4 + size : 7, alongX ? 7 : 4 + size)) << c.name;
    }
}

}  // namespace
