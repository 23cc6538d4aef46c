// TkDockContext: the drag context of a TkControlBar. Beyond the platform's
// context it keeps the bar's share of its row while the bar floats, gives it
// back when the bar docks again, and tells the user how to keep a bar from
// docking while it is dragged.
#pragma once

#include <afxext.h>

class TkDockContext : public CDockContext
{
public:
    explicit TkDockContext(CControlBar* bar);
    ~TkDockContext() override;

    void StartDrag(CPoint point) override;
    void ToggleDocking() override;

    // Feedback row in a dock bar, -1 when none.
    int m_nFeedbackRow;
    CPoint m_ptDragStart;
    // 1 when the bar went into an MDI child from a mini frame.
    BOOL m_bFloatedFromFloating;
    CSize m_sizeMinFloat;
    CSize m_sizeMaxFloat;

protected:
    void EndDrag() override;
    void CancelLoop() override;
    void SetMainMessage(UINT id);
};
