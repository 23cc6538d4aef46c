// TkWorkbook: an MDI main frame whose children (TkWorksheet) show as sheet
// tabs along the bottom of the MDI client area; a click on a tab activates
// that sheet. TkWorkbookClient: the subclassed MDI client, kept inside
// margins so that the frame has room for a sunken border and the tabs.
#pragma once

#include "toolkit/frames/TkMDIFrameWnd.h"

#include <afxcmn.h>

#include <memory>

class TkWorksheet;

class TkWorkbookClient : public CWnd
{
public:
    TkWorkbookClient();
    void SetMargins(int left, int top, int right, int bottom);
    // The client's window rectangle for the place the layout gives it.
    void CalcWindowRect(CRect& rect) const;

    int m_nLeftMargin;
    int m_nTopMargin;
    int m_nRightMargin;
    int m_nBottomMargin;

protected:
    // The layout places the client without asking it: the margins come off
    // every place it is given.
    void OnWindowPosChanging(WINDOWPOS* position);
    LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Sent by the client to the workbook after a menu change, and by a sheet to
// the client when it shows no menu of its own.
const UINT WM_TKWB_MENUCHANGED = 0x084D;
const UINT WM_TKWB_SETMENU = 0x084E;

class TkWorkbook : public TkMDIFrameWnd
{
    DECLARE_DYNAMIC(TkWorkbook)
public:
    TkWorkbook();

    BOOL CreateClient(LPCREATESTRUCTA cs, CMenu* windowMenu) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    // Over a tab whose title does not fit: index + 1, with the tab's box and
    // the title in info (text allocated with malloc). Else -1.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info);
    // A TkControlBarWorksheet whose sheet icon is the bar's big icon.
    CMDIChildWnd* CreateFloatingMDIChild(DWORD style, CControlBar* bar) override;

    virtual void GetWorkbookRect(CRect& rect);
    virtual BOOL CanActivateSheet(TkWorksheet* sheet);
    virtual void AddSheet(TkWorksheet* sheet);
    virtual void RemoveSheet(TkWorksheet* sheet);
    virtual BOOL TabTextFits(TkWorksheet* sheet);
    // Seven points, the last equal to the first.
    virtual void GetTabPolygon(TkWorksheet* sheet, POINT* points, int& count);
    // Whether the sheet's tab holds the point; box gets the tab's bounds.
    BOOL TabContains(TkWorksheet* sheet, CPoint point, RECT* box = NULL);
    virtual CString GetSheetTitle(TkWorksheet* sheet);
    virtual void GetTabTextRect(const POINT* points, int iconWidth, CRect& rect);
    virtual void DrawTab(CDC* dc, TkWorksheet* sheet);
    virtual void DrawWorkbookBorder(CDC* dc);
    virtual void DrawTabLabel(CDC* dc, TkWorksheet* sheet);
    virtual HICON GetSheetIcon(TkWorksheet* sheet);
    virtual BOOL SetSheetIcon(TkWorksheet* sheet, HICON icon, BOOL redraw);

    void ShowTabs(BOOL show);
    // A paint that finds the client window's size changed invalidates the
    // whole frame.
    BOOL m_bRepaintOnResize;
    void ShowIcons(BOOL show);
    // The tab of sheet, or the strip from it to the right edge.
    void InvalidateTab(TkWorksheet* sheet, BOOL toEnd = FALSE);
    // The title shortened until it fits width (or is shorter than 4
    // characters): each step turns its last four characters into "...".
    static CString ShortenTitle(CDC* dc, CString title, int width);

    int GetSheetCount() const { return (int)m_sheets.GetSize(); }
    TkWorksheet* GetSheet(int index) const { return static_cast<TkWorksheet*>(m_sheets[index]); }
    int GetTabPitch() const { return m_nTabPitch; }
    TkWorkbookClient* GetClient() const { return m_pClient.get(); }

    static const int kTabHeight = 23;
    static const int kSlant = 2;
    static const int kActiveExtraWidth = 4;
    static const int kActiveExtraHeight = 2;
    static const int kMaxTabPitch = 90;
    static const int kIconSize = 16;

protected:
    // The MDI client's window rectangle in this frame's client coordinates.
    CRect ClientWindowRect();
    int HiddenBefore(int index) const;
    BOOL RecomputeTabPitch();
    void InvalidateStrip();
    BOOL IsRaised(TkWorksheet* sheet);
    void DrawInnerEdges(CDC* dc, const CRect& area);
    // The tab under the mouse shows its whole title as a tip.
    void RelayToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    LRESULT OnLButtonUpMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CPtrArray m_sheets;
    BOOL m_bShowTabs;
    BOOL m_bShowIcons;
    HFONT m_hTabFont;
    std::unique_ptr<TkWorkbookClient> m_pClient;
    CPen m_penHighlight;
    CPen m_penBlack;
    CPen m_penShadow;
    CPen m_penFace;
    int m_nTabPitch;
    // The area the bars left at the last layout with tabs.
    CRect m_rectLastLayout;
    // The client window's rectangle at the last paint (repaint on resize).
    CRect m_rectLastClient;
    int m_nActiveSheet;
    // Made with the first sheet.
    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    // The tool the tip shows, 0 for none.
    INT_PTR m_nTipTool;
};
