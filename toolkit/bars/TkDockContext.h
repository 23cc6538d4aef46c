// TkDockContext: the drag context of a TkControlBar. Beyond the platform's
// context it keeps the bar's share of its row while the bar floats, gives it
// back when the bar docks again, shows the docking place sized by the target
// row, keeps a floating bar's size within limits, and tells the user how to
// keep a bar from docking while it is dragged.
#pragma once

#include <afxext.h>

class TkDockContext : public CDockContext
{
public:
    explicit TkDockContext(CControlBar* bar);
    ~TkDockContext() override;

    void StartDrag(CPoint point) override;
    void ToggleDocking() override;
    // Moves the bar into a child window of the main window's client area, or
    // back from there to the mini frame or dock row it came from.
    virtual void FloatInMainWindow();

    // Feedback row in a dock bar, -1 when none, with the last feedback
    // rectangle and mouse point there.
    int m_nFeedbackRow;
    CRect m_rectFeedback;
    CPoint m_ptFeedback;
    CPoint m_ptDragStart;
    // 1 when the bar went into an MDI child from a mini frame.
    BOOL m_bFloatedFromFloating;
    CSize m_sizeMinFloat;
    CSize m_sizeMaxFloat;

protected:
    void EndDrag() override;
    void CancelLoop() override;
    BOOL ShowsDockFeedback() override;
    CRect DockFeedbackRect(CDockBar* dockBar, const CRect& dragRect) override;
    // A resizable toolkit bar is sized from all eight borders, within the
    // floating size limits.
    void Stretch(CPoint point) override;
    void EndResize() override;
    // A toolkit frame docks and floats the bar its own way.
    void DockAtSite(CDockBar* dockBar, const CRect& rect) override;
    void ReDockAtSite(CDockBar* dockBar, const CRect& rect) override;
    void FloatAtSite(CPoint point, DWORD style) override;
    // The last dock rectangle in screen coordinates, and its dock bar.
    CDockBar* LastDockPlace(CRect& rect);
    void SetMainMessage(UINT id);
    // A floating bar released this close to where its drag began stays
    // where it is.
    BOOL HasHardlyMoved() const;
    BOOL IsResizableTkBar() const;
};
