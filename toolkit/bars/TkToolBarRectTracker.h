// TkToolBarRectTracker: the tracker with which a tool bar drags a button's
// rectangle over the desktop; the rectangle is drawn as a hatched drag frame.
#pragma once

#include <afxext.h>

class TkToolBarRectTracker : public CRectTracker
{
public:
    explicit TkToolBarRectTracker(LPCRECT rect);
    ~TkToolBarRectTracker() override;

    void DrawTrackerRect(LPCRECT rect, CWnd* clipWindow, CDC* dc, CWnd* window) override;
    // Moves the whole rectangle from point (window's client coordinates)
    // over the desktop; TRUE when it moved.
    BOOL TrackHandle(CWnd* window, CPoint point);
    // Only the right edge follows the mouse; TRUE when it moved.
    BOOL TrackRightEdge(CWnd* window, CPoint point);
};
