#include "toolkit/bars/TkToolBarRectTracker.h"

#include <algorithm>

TkToolBarRectTracker::TkToolBarRectTracker(LPCRECT rect) : CRectTracker(rect, hatchedBorder)
{
}

TkToolBarRectTracker::~TkToolBarRectTracker()
{
}

// A frame one pixel thinner than the handles, dragged from the last one.
void TkToolBarRectTracker::DrawTrackerRect(LPCRECT rect, CWnd* clipWindow, CDC* dc, CWnd* window)
{
    CRect shown = RectOnCanvas(rect, clipWindow, window);
    int border = std::max(1, m_nHandleSize - 1);
    DrawDragFrame(dc, shown, m_bFinalErase ? CSize(0, 0) : CSize(border, border));
}

BOOL TkToolBarRectTracker::TrackHandle(CWnd* window, CPoint point)
{
    m_bAllowInvert = FALSE;
    return CRectTracker::TrackHandle(hitMiddle, window, point, CWnd::GetDesktopWindow());
}

BOOL TkToolBarRectTracker::TrackRightEdge(CWnd* window, CPoint point)
{
    m_bAllowInvert = FALSE;
    return CRectTracker::TrackHandle(hitRight, window, point, CWnd::GetDesktopWindow());
}
