// CDockContext: drags a control bar by the mouse between the frame's dock
// bars and floating mini frames, resizes a floating bar from its frame's
// border, and toggles a bar between its last docked and floating places.
// The drag runs its own message loop while the bar holds the capture; the
// feedback is drawn on the desktop's DC.
#pragma once

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/GdiObject.h"

class CDockContext
{
public:
    explicit CDockContext(CControlBar* bar);
    virtual ~CDockContext();

    virtual void StartDrag(CPoint point);
    virtual void StartResize(int hitTest, CPoint point);
    virtual void ToggleDocking();

    // Last dock place (in the dock bar's client coordinates) and float place.
    UINT m_uMRUDockID;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast;
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle;
    DWORD m_dwOverDockStyle;
    DWORD m_dwStyle;
    BOOL m_bFlip;
    BOOL m_bForceFrame;
    CDC* m_pDC;
    BOOL m_bDragging;
    int m_nHitTest;

protected:
    virtual void Move(CPoint point);
    virtual void EndDrag();
    virtual void Stretch(CPoint point);
    virtual void EndResize();
    virtual void DrawFocusRect(BOOL remove = FALSE);
    virtual DWORD CanDock();
    virtual BOOL Track();
    virtual void InitLoop();
    virtual void CancelLoop();
    virtual void OnKey(int key, BOOL down);
    // Whether the feedback shows a docking place (else the floating frame),
    // and the rectangle shown over the dock bar for the drag rectangle.
    virtual BOOL ShowsDockFeedback();
    virtual CRect DockFeedbackRect(CDockBar* dockBar, const CRect& dragRect);
    CDockBar* GetDockBar(DWORD overDockStyle);
    // What the context asks of the dock site; frames with docking of their
    // own are called through these.
    virtual void DockAtSite(CDockBar* dockBar, const CRect& rect);
    virtual void ReDockAtSite(CDockBar* dockBar, const CRect& rect);
    virtual void FloatAtSite(CPoint point, DWORD style);

private:
    // What the last stretch asked of the bar, committed when the resize ends.
    int m_nResizeLength;
    DWORD m_dwResizeMode;
    HWND m_hDesktopLocked;
    CDC m_dc;
};
