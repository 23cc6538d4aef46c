#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockBarSplitter.h"

#include <algorithm>
#include <limits.h>

namespace {

BOOL IsFixedSizeTkBar(CControlBar* bar)
{
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    return tkBar != NULL && (tkBar->m_dwExStyle & TKCBRS_FIXEDSIZE);
}

// Shrinks (or grows) [low, high) to length, keeping at the same relative
// place in it.
void FitAround(LONG& low, LONG& high, int length, int at)
{
    int size = high - low;
    if (size <= 0)
        return;
    double fraction = std::max(0.0, std::min(1.0, (double)(at - low) / size));
    int change = size - length;
    low += (int)(change * fraction);
    high = low + length;
}

}  // namespace

CRect TkDockBar::ClientRectOf(CWnd* window) const
{
    CRect rect;
    window->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
}

int TkDockBar::FindInsertIndex(CControlBar* bar, const CRect& rect, CPoint centre) const
{
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int across = horizontal ? centre.y : centre.x;
    int leading = horizontal ? rect.left : rect.top;
    BOOL firstRow = TRUE;
    for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1) {
        int rowNear = INT_MAX;
        int rowFar = INT_MIN;
        int after = start;
        for (int i = start; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
            CControlBar* other = GetDockedControlBar(i);
            if (other == NULL || other == bar || other->m_hWnd == NULL || !other->IsVisible())
                continue;
            CRect r = ClientRectOf(other);
            rowNear = std::min<int>(rowNear, horizontal ? r.top : r.left);
            rowFar = std::max<int>(rowFar, horizontal ? r.bottom : r.right);
            if ((horizontal ? r.left : r.top) < leading)
                after = i + 1;
        }
        if (rowFar == INT_MIN)
            continue;
        if (firstRow && across < rowNear)
            return 0;
        firstRow = FALSE;
        // A row reaches over the separator that follows it.
        if (across < rowFar + Splitter::kThickness)
            return after;
    }
    return (int)m_arrBars.GetSize();
}

void TkDockBar::DockControlBar(CControlBar* bar, LPCRECT rect)
{
    if (bar->m_pDockBar == this) {
        if (rect == NULL && IsFixedSizeTkBar(bar))
            return;
        if (rect != NULL && !IsFixedSizeTkBar(bar)) {
            CRect place(*rect);
            ScreenToClient(&place);
            int current = FindBar(bar);
            int index = FindInsertIndex(bar, place, place.CenterPoint());
            if (index == current || index == current + 1)
                return;
        }
    }
    CDockBar::DockControlBar(bar, rect);
}

void TkDockBar::ReDockControlBar(CControlBar* bar, LPCRECT rect)
{
    CDockBar::ReDockControlBar(bar, rect);
    m_pFixedBar = bar;
}

// Before the first row the bar makes a new first row, past the last a new
// last row; else it joins the row under the point.
int TkDockBar::InsertBarAtRect(CControlBar* bar, CRect rect, CPoint point)
{
    Queue(bar);
    int index = FindInsertIndex(bar, rect, point);
    if (index == 0) {
        QueueBarsFrom(1);
        return InsertBarAsFirstRow(bar);
    }
    if (index < m_arrBars.GetSize()) {
        QueueBarsFrom(index);
        return InsertBarAtIndex(index, bar);
    }
    QueueBarsFrom((int)m_arrBars.GetSize() - 1);
    m_bDeferredRedraw = TRUE;
    if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
        m_arrBars.Add(NULL);
    index = (int)m_arrBars.Add(bar);
    m_arrBars.Add(NULL);
    return index;
}

CRect TkDockBar::CalcDockFeedbackRect(CControlBar* bar, const CRect& dragRect, CPoint point,
                                      int& lastRow, CRect& lastRect, CPoint& lastPoint)
{
    CRect client = dragRect;
    ScreenToClient(&client);
    int index = FindInsertIndex(bar, client, client.CenterPoint());
    int rowStart = index > 0 && index < m_arrBars.GetSize() ? RowStart(index) : -1;
    CPtrArray others;
    if (rowStart > 0) {
        VisibleRowBars(rowStart, others);
        for (int i = (int)others.GetSize() - 1; i >= 0; i--)
            if (others[i] == bar)
                others.RemoveAt(i);
    }
    if (rowStart > 0 && rowStart == lastRow && others.GetSize() > 0) {
        lastRect.OffsetRect(point - lastPoint);
        lastPoint = point;
        return lastRect;
    }
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CRect feedback = dragRect;
    CRect window;
    GetWindowRect(&window);
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL && !IsFixedSizeTkBar(bar)) {
        if (others.GetSize() > 0) {
            float shares = 0.0f;
            int thickness = horizontal ? dragRect.Height() : dragRect.Width();
            for (int i = 0; i < others.GetSize(); i++) {
                CControlBar* other = static_cast<CControlBar*>(others[i]);
                if (TkControlBar* tkOther = TkControlBar::FromBar(other))
                    shares += tkOther->m_fProportion;
                CRect r;
                other->GetWindowRect(&r);
                thickness = std::max<int>(thickness, horizontal ? r.Height() : r.Width());
            }
            float total = shares + tkBar->m_fProportion;
            float share = total > 0.0f ? tkBar->m_fProportion / total : 1.0f;
            int length = (int)((horizontal ? window.Width() : window.Height()) * share);
            if (horizontal) {
                FitAround(feedback.left, feedback.right, length, point.x);
                FitAround(feedback.top, feedback.bottom, thickness, point.y);
            } else {
                FitAround(feedback.top, feedback.bottom, length, point.y);
                FitAround(feedback.left, feedback.right, thickness, point.x);
            }
        } else if (horizontal) {
            feedback.left = window.left;
            feedback.right = window.right;
        } else {
            feedback.top = window.top;
            feedback.bottom = window.bottom;
        }
    }
    lastRow = rowStart;
    lastRect = feedback;
    lastPoint = point;
    return feedback;
}
