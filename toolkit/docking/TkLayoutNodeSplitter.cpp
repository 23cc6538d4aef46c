#include "toolkit/docking/TkLayoutNodeSplitter.h"

#include <algorithm>
#include <climits>

namespace
{
// A limit that is never reached.
const int kUnlimited = INT_MAX / 4;

// Whether v still has room towards limit in the direction of the move.
BOOL ShortOf(int v, int limit, BOOL increasing)
{
    return increasing ? v < limit : v > limit;
}

BOOL Beyond(int v, int limit, BOOL increasing)
{
    return increasing ? v > limit : v < limit;
}

// v takes part of delta; what passes the limit stays in delta.
void Take(int& v, int limit, int part, int& delta, BOOL increasing)
{
    v += part;
    delta -= part;
    if (Beyond(v, limit, increasing))
    {
        delta += v - limit;
        v = limit;
    }
}
}

TkLayoutNodeSplitter::TkLayoutNodeSplitter() : m_oddX(0), m_oddY(0)
{
    std::fill(m_paneNodes, m_paneNodes + 4, (TkLayoutNode*)NULL);
    TkLayoutNodeWnd::SetNodeStyle(kDeferErase, FALSE);
}

BOOL TkLayoutNodeSplitter::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id,
                                  int splitterFlags)
{
    if (!TkSplitterBase::Create(parent, rect, style, id, splitterFlags))
        return FALSE;
    return AttachWnd(static_cast<CWnd*>(this), parent);
}

BOOL TkLayoutNodeSplitter::SetPaneNode(int row, int column, TkLayoutNode* node)
{
    if (!node || node->GetParentNode() != this || row < 0 || row > 1 || column < 0 ||
        column > 1)
        return FALSE;
    m_paneNodes[row + 2 * column] = node;
    if (ShowPane(row, column))
        return TRUE;
    HidePane(row, column);
    return FALSE;
}

TkLayoutNode* TkLayoutNodeSplitter::GetPaneNode(int row, int column) const
{
    if (row < 0 || row > 1 || column < 0 || column > 1)
        return NULL;
    return m_paneNodes[row + 2 * column];
}

void TkLayoutNodeSplitter::LayoutPanes(TkSplitterPaneInfo& panes)
{
    static const int kInfoPane[4] = {TkSplitterPaneInfo::kTopLeft,
                                     TkSplitterPaneInfo::kBottomLeft,
                                     TkSplitterPaneInfo::kTopRight,
                                     TkSplitterPaneInfo::kBottomRight};
    for (int index = 0; index < 4; ++index)
    {
        CRect rect;
        if (!m_paneNodes[index] || !panes.GetPane(kInfoPane[index], &rect))
            continue;
        CRect accepted;
        m_paneNodes[index]->RecalcLayout(accepted, rect, FALSE, TRUE);
    }
}

BOOL TkLayoutNodeSplitter::HidePane(int row, int column)
{
    if (row < 0 || row > 1 || column < 0 || column > 1)
        return FALSE;
    TkLayoutNode*& slot = m_paneNodes[row + 2 * column];
    if (!slot)
        return FALSE;
    TkLayoutNode* node = slot;
    slot = NULL;
    RemoveChildNode(node);
    return TkSplitterBase::HidePane(row, column);
}

// The bars are drawn by the splitter window, which lies under the panes and
// covers the area: the strip repaints in the host and in the splitter.
void TkLayoutNodeSplitter::InvalidateArea(const CRect& rect, BOOL erase)
{
    HWND host = GetParentWnd();
    if (host)
        ::InvalidateRect(host, rect + m_area.TopLeft(), erase);
    if (GetSafeHwnd())
        ::InvalidateRect(GetSafeHwnd(), rect, erase);
}

void TkLayoutNodeSplitter::OnNodeInit(BOOL broadcast)
{
    TkLayoutNodeWnd::OnNodeInit(broadcast);
    if (GetSafeHwnd())
        ::SetWindowPos(GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

void TkLayoutNodeSplitter::SetNodeStyle(DWORD style, BOOL recurse)
{
    TkLayoutNodeWnd::SetNodeStyle(style | kDeferErase, FALSE);
    if (recurse)
        ForEachInSubtree([style](TkLayoutNode* node) { node->SetNodeStyle(style, FALSE); },
                         FALSE);
}

void TkLayoutNodeSplitter::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL)
{
    CRect area = ResizeArea(m_area, rect, m_x, m_y, constrain);
    SetCurrentRect(area);
    m_area = area;
    ComputeBarRects(m_rowBar, m_columnBar, m_x, m_y);
    UpdateHitRects();
    RecalcPanes();
    result = area;
}

int TkLayoutNodeSplitter::DistributeMove(int& a, int& b, int limitA, int limitB, int delta)
{
    BOOL increasing = delta >= 0;
    BOOL aHadRoom = ShortOf(a, limitA, increasing);
    if (aHadRoom)
    {
        Take(a, limitA, delta / 2, delta, increasing);
        aHadRoom = a != limitA;
    }
    if (ShortOf(b, limitB, increasing))
        Take(b, limitB, delta, delta, increasing);
    if (delta != 0 && aHadRoom)
        Take(a, limitA, delta, delta, increasing);
    return delta;
}

// Pane extents are limits of the panes; a and b include the margin and, for
// b, the bar.
void TkLayoutNodeSplitter::GetPassLimits(BOOL horizontal, int pass, BOOL growing, int* limitA,
                                         int* limitB)
{
    // Panes before and after the bar: for a column bar the left column
    // (top-left, bottom-left) and the right one; for a row bar the top row.
    static const int kBefore[2][2] = {{0, 2}, {0, 1}};
    static const int kAfter[2][2] = {{1, 3}, {2, 3}};
    int axis = horizontal ? 1 : 0;
    auto limitOf = [&](const int* indexes) {
        int limit = growing ? kUnlimited : 0;
        for (int i = 0; i < 2; ++i)
        {
            if (pass != 0 && pass != i + 1)
                continue;
            TkLayoutNode* node = m_paneNodes[indexes[i]];
            if (!node)
                continue;
            CSize minimum, maximum;
            DWORD flags = 0;
            node->GetSizeLimits(&minimum, &maximum, &flags);
            if (growing && !(flags & kNoMaximum))
                limit = std::min(limit, (int)(horizontal ? maximum.cx : maximum.cy));
            if (!growing && !(flags & kNoMinimum))
                limit = std::max(limit, (int)(horizontal ? minimum.cx : minimum.cy));
        }
        return limit;
    };
    int before = limitOf(kBefore[axis]);
    int after = limitOf(kAfter[axis]);
    int marginBefore = horizontal ? m_marginLeft : m_marginTop;
    int marginAfter = (horizontal ? m_marginRight : m_marginBottom) + GetBarWidth();
    *limitA = before >= kUnlimited ? kUnlimited : before + marginBefore;
    *limitB = after >= kUnlimited ? kUnlimited : after + marginAfter;
}

// Three passes: within the limits of both panes on each side, then of the
// first row (column) alone, then of the second.
int TkLayoutNodeSplitter::ResizeAxis(BOOL horizontal, int oldExtent, int& position, int delta,
                                     BOOL keepSize)
{
    int a = position;
    int b = oldExtent - position;
    for (int pass = 0; pass < 3 && delta != 0; ++pass)
    {
        int limitA, limitB;
        GetPassLimits(horizontal, pass, delta >= 0, &limitA, &limitB);
        delta = DistributeMove(a, b, limitA, limitB, delta);
    }
    position = a;
    if (keepSize || delta == 0)
        return delta;
    // Nothing has room: the bar takes half, the odd pixel going to either
    // side in turn.
    int& odd = horizontal ? m_oddX : m_oddY;
    position += delta / 2;
    if (delta % 2 != 0)
    {
        if (odd)
            position += delta > 0 ? 1 : -1;
        odd = !odd;
    }
    return 0;
}

CRect TkLayoutNodeSplitter::ResizeArea(const CRect& oldArea, const CRect& newRect, int& x,
                                       int& y, BOOL keepSize)
{
    CRect result = newRect;
    int dW = newRect.Width() - oldArea.Width();
    int dH = newRect.Height() - oldArea.Height();
    if (dW != 0)
        result.right -= ResizeAxis(TRUE, oldArea.Width(), x, dW, keepSize);
    if (dH != 0)
        result.bottom -= ResizeAxis(FALSE, oldArea.Height(), y, dH, keepSize);
    return result;
}

// ---- TkLNVirtualSplitter ----

TkLNVirtualSplitter::TkLNVirtualSplitter() : m_observer(NULL)
{
    m_panePresent[TkSplitterPaneInfo::kTopLeft] = 1;
    m_panePresent[TkSplitterPaneInfo::kTopRight] = 1;
    ChooseBarStyles();
}

void TkLNVirtualSplitter::SetNodeActive(BOOL active, BOOL recurse)
{
    TkLayoutNodeSplitter::SetNodeActive(active, recurse);
    m_panePresent[TkSplitterPaneInfo::kTopLeft] = 1;
    m_panePresent[TkSplitterPaneInfo::kTopRight] = 1;
    m_panePresent[TkSplitterPaneInfo::kBottomLeft] = active ? 0 : 1;
    m_panePresent[TkSplitterPaneInfo::kBottomRight] = active ? 0 : 1;
    m_rowBar.SetRectEmpty();
    m_columnBar.SetRectEmpty();
    ChooseBarStyles();
    RecalcBars();
}

// The bar fills the node; the positions count from the node's corner.
void TkLNVirtualSplitter::CalcLayout(CRect& result, const CRect& rect, BOOL, BOOL)
{
    SetCurrentRect(rect);
    m_area = rect;
    m_x = m_y = 0;
    ComputeBarRects(m_rowBar, m_columnBar, m_x, m_y);
    UpdateHitRects();
    result = rect;
}

// Only the bar of the orientation is drawn and moves.
void TkLNVirtualSplitter::ChooseBarStyles()
{
    BOOL vertical = IsVerticalBar();
    m_rowStyle = vertical ? kNoBar : kFullLength;
    m_columnStyle = vertical ? kFullLength : kNoBar;
}

BOOL TkLNVirtualSplitter::ApplyBarRect(const CRect& rect, BOOL isRow)
{
    if (!isRow != !!IsVerticalBar())
        return FALSE;
    return TkLayoutNodeSplitter::ApplyBarRect(rect, isRow);
}

// The bar moves within the limits and spans the node across.
void TkLNVirtualSplitter::ComputeBarRects(CRect& row, CRect& column, int& x, int& y)
{
    int minX, minY, maxX, maxY;
    GetTrackLimits(minX, minY, maxX, maxY);
    int w = GetBarWidth();
    row.SetRectEmpty();
    column.SetRectEmpty();
    if (IsVerticalBar())
    {
        int X = std::max(std::min(m_area.left + x, maxX), minX);
        x = X - m_area.left;
        column.SetRect(X, m_area.top, X + w, m_area.bottom);
    }
    else
    {
        int Y = std::max(std::min(m_area.top + y, maxY), minY);
        y = Y - m_area.top;
        row.SetRect(m_area.left, Y, m_area.right, Y + w);
    }
}

// A node thinner than the bar cannot be grabbed.
void TkLNVirtualSplitter::UpdateHitRects()
{
    TkLayoutNodeSplitter::UpdateHitRects();
    int w = GetBarWidth();
    if (IsVerticalBar())
    {
        m_rowHit.SetRectEmpty();
        if (m_area.Width() < w)
            m_columnHit.right = m_columnHit.left;
    }
    else
    {
        m_columnHit.SetRectEmpty();
        if (m_area.Height() < w)
            m_rowHit.bottom = m_rowHit.top;
    }
}

// Without a limit rectangle the bar stays where the node is.
void TkLNVirtualSplitter::GetTrackLimits(int& minX, int& minY, int& maxX, int& maxY)
{
    CRect limit = m_limitRect.IsRectEmpty() ? m_area : m_limitRect;
    int w = GetBarWidth();
    minX = limit.left;
    minY = limit.top;
    maxX = std::max(limit.right - w, minX);
    maxY = std::max(limit.bottom - w, minY);
}

BOOL TkLNVirtualSplitter::CanPaint()
{
    return GetRealizeLock() == 0;
}

void TkLNVirtualSplitter::OnBarsMoved(int dx, int dy)
{
    if (!m_observer)
        return;
    if (IsVerticalBar())
        m_observer->OnSplitterMoved(this, dx, 0);
    else
        m_observer->OnSplitterMoved(this, 0, dy);
}

// The outline may leave the bar's small window: it is drawn on the screen.
CDC* TkLNVirtualSplitter::GetTrackDC()
{
    HDC dc = ::GetDC(NULL);
    return dc ? CDC::FromHandle(dc) : NULL;
}

void TkLNVirtualSplitter::MapOutlineRects(CRect& rect, CRect& previous)
{
    if (!GetSafeHwnd())
        return;
    for (CRect* r : {&rect, &previous})
        if (!r->IsRectEmpty())
            ::MapWindowPoints(GetSafeHwnd(), NULL, (LPPOINT)r, 2);
}
