// CRectTracker: follows the mouse with a rectangle, moving it whole or by one
// edge, until the left button comes up; Escape, a right-button press or a
// lost capture cancel and give the rectangle back. The moving rectangle is
// drawn by DrawTrackerRect, which derived trackers replace.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/Dc.h"

class CRectTracker
{
public:
    enum StyleFlags
    {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
    };
    // What the mouse holds: a corner, an edge or the whole rectangle.
    enum TrackerHit
    {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker();
    CRectTracker(LPCRECT rect, UINT style);
    virtual ~CRectTracker();

    // Tracks from point (window's client coordinates) what HitTest finds
    // there; TRUE when the left button came up with the rectangle moved.
    BOOL Track(CWnd* window, CPoint point, BOOL allowInvert = FALSE, CWnd* clipWindow = NULL);
    // hitMiddle inside the rectangle, hitNothing elsewhere.
    int HitTest(CPoint point) const;

    // Draws rect (window's client coordinates) on dc, the DC of clipWindow
    // (of window when there is none), erasing the rectangle drawn last.
    virtual void DrawTrackerRect(LPCRECT rect, CWnd* clipWindow, CDC* dc, CWnd* window);
    // Lets a derived tracker limit the rectangle while handle moves.
    virtual void AdjustRect(int handle, LPRECT rect);

    CRect m_rect;
    UINT m_nStyle;
    int m_nHandleSize;

protected:
    BOOL TrackHandle(int handle, CWnd* window, CPoint point, CWnd* clipWindow);
    CRect MovedRect(int handle, const CRect& start, CSize offset) const;
    // rect normalised, in the clip window's client coordinates when there is one.
    CRect RectOnCanvas(LPCRECT rect, CWnd* clipWindow, CWnd* window) const;
    // Drags a frame of the given border (0: none) on the canvas from the
    // last one drawn.
    void DrawDragFrame(CDC* dc, const CRect& shown, CSize border);

    BOOL m_bAllowInvert;
    // Set for the drawing that only erases the last rectangle.
    BOOL m_bFinalErase;
    CRect m_rectLast;
    CSize m_sizeLast;
};
