// CDockBar: the control bar that holds docked bars, one per side of a frame
// and one in each mini frame. Its bar array has one entry per bar; a NULL
// entry ends a row and entry 0 is NULL; a small number (a control id) keeps
// the place of a bar that is hidden or floating elsewhere (a placeholder).
#pragma once

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Collections.h"

class CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL floating = FALSE);

    virtual BOOL Create(CWnd* parent, DWORD style, UINT id);
    BOOL IsDockBar() const override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;

    virtual void DockControlBar(CControlBar* bar, LPCRECT rect = NULL);
    virtual void ReDockControlBar(CControlBar* bar, LPCRECT rect = NULL);
    // addPlaceholder leaves the bar's id in its entry. TRUE when the mini
    // frame of a floating dock bar was destroyed with its last bar.
    virtual BOOL RemoveControlBar(CControlBar* bar, int excludeIndex = -1,
                                  BOOL addPlaceholder = FALSE);
    virtual void ShowAll(BOOL show);
    // Puts bar into the array where rect (client coordinates) with its centre
    // point lies; returns its index.
    virtual int InsertBarAtRect(CControlBar* bar, CRect rect, CPoint point);

    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // Index of entry (a bar or a placeholder id), -1 when absent.
    int FindBar(void* entry, int excludeIndex = -1) const;
    // NULL for row ends and placeholders.
    CControlBar* GetDockedControlBar(int index) const;
    void RemovePlaceholder(CControlBar* bar);
    // Contained ids for the saved state: a bar's id, a placeholder as
    // id + 0x10000, a row end as 0.
    void GetDockBarIds(CDWordArray& ids) const;
    void SetDockBarInfo(CControlBarInfo* info, CFrameWnd* frame);

    static BOOL IsPlaceholder(void* entry);
    static void* Placeholder(UINT id) { return (void*)(UINT_PTR)id; }

    BOOL m_bFloating;
    CPtrArray m_arrBars;
    BOOL m_bLayoutQuery;
    CRect m_rectLayout;

protected:
    // Where the layout puts bars: the layout rectangle, else the frame's client area.
    CRect GetAvailableRect();
    // Gives bar this dock bar's alignment and borders, and the bar's size
    // style to the dock bar. A visible bar coming from elsewhere is hidden
    // until AttachBar shows it: TRUE then.
    BOOL AdoptBar(CControlBar* bar);
    // Re-parents bar, takes it out of its old dock bar and makes it ours.
    void AttachBar(CControlBar* bar, int index, BOOL show);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Placeholders in saved contained ids carry this bit.
const DWORD kPlaceholderIdFlag = 0x10000;
