// TkStatusBar: the frame's status bar, a status-bar common control wrapped as
// a toolkit control bar. Each pane is bound to a command id whose string
// resource gives its first text and its width; command updates (through
// TkStatusCmdUI) set the panes' texts, enabling and pop-out look. The pane
// of id 0 is the message pane: the bar's window text is its text.
#pragma once

#include "toolkit/bars/TkControlBar.h"

#include <commctrl.h>

#include <vector>

// Pane styles: the control's drawing style in the low word, and ours above.
const UINT SBPS_NORMAL = 0x0000;
const UINT SBPS_NOBORDERS = SBT_NOBORDERS;
const UINT SBPS_POPOUT = SBT_POPOUT;
const UINT SBPS_OWNERDRAW = SBT_OWNERDRAW;
const UINT SBPS_DISABLED = 0x04000000;
const UINT SBPS_STRETCH = 0x08000000;

struct TkStatusPane
{
    // 0 for the message pane.
    UINT nID;
    int cxText;
    UINT nStyle;
    // Bit 0: the text has still to be sent to the control.
    UINT nFlags;
    CString strText;
};

class TkStatusBar : public TkControlBar
{
    DECLARE_DYNAMIC(TkStatusBar)
public:
    TkStatusBar();

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = 0,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id; without ids the panes are empty message panes.
    BOOL SetIndicators(const UINT* ids, int count);

    int GetPaneCount() const { return (int)m_panes.size(); }
    // -1 when no pane has the id.
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    // Lays the panes out in the control and sends the pending texts.
    void UpdateAllPanes(BOOL updateRects, BOOL updateText);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    using TkControlBar::CalcInsideRect;
    // The control bar's, less the size grip while the frame can be sized.
    void CalcInsideRect(CRect& rect, BOOL horizontal) const override;
    // Owner-drawn panes; the bar draws nothing itself.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    const TkStatusPane* Pane(int index) const;
    TkStatusPane* Pane(int index);
    // The font of the control, for measuring texts.
    HFONT BarFont() const;

    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void OnNcPaint();
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    std::vector<TkStatusPane> m_panes;
    int m_nMinHeight;
};

// The update of one pane: its command's handlers enable it, check it (shown
// popped out) and set its text.
class TkStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(LPCSTR text) override;
};
