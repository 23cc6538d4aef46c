// Tk3DTabControl: the tab strip of a tab window. Tabs carry an optional
// 16 x 16 icon and a label, lie along any of the four edges, are drawn with
// 3-D edges in the system colours (the active one bolder and larger), have
// their labels shortened with "..." when the strip is too short, can be
// disabled, and are chosen by mouse or arrow keys; with TKTS_DRAGTABS the
// active tab can be dragged to another place. Tk3DTab: one of its tabs.
#pragma once

#include "toolkit/tabs/TkTabControlBase.h"

// Window styles of the strip.
const DWORD TKTS_TOP = 0x0010;          // tabs hang from the top edge
const DWORD TKTS_BOTTOM = 0x0020;       // tabs stand on the bottom edge
const DWORD TKTS_RIGHT = 0x0040;        // tabs against the right edge, text upward
const DWORD TKTS_LEFT = 0x0080;         // tabs against the left edge, text downward
const DWORD TKTS_SIDES = 0x00F0;
const DWORD TKTS_NOACTIVEGROW = 0x0100; // the active tab keeps its size
const DWORD TKTS_FAREDGEIN = 0x0200;    // each tab's far edge one pixel further in
const DWORD TKTS_THINEDGE = 0x0400;     // the strip's edge in two lines, not four
const DWORD TKTS_DRAGTABS = 0x0800;     // capture the mouse, drag the active tab

class Tk3DTab : public TkTab
{
    DECLARE_DYNCREATE(Tk3DTab)
public:
    Tk3DTab();

    RECT m_rect;
    HICON m_hIcon;
    BOOL m_bEnabled;
    // The label as given; m_strLabel is the one drawn.
    CString m_strFullLabel;
    BOOL m_bTruncated;
};

class Tk3DTabControl : public TkTabControlBase
{
    DECLARE_DYNAMIC(Tk3DTabControl)
public:
    Tk3DTabControl();
    ~Tk3DTabControl() override;

    void Initialize(DWORD style) override;
    TkTab* CreateNewTab() override;
    void RecalcLayout() override;
    void ScrollToTab(int index) override;
    void DestroyGdiObjects() override;
    TkTab* InsertTab(int index, LPCSTR label, CWnd* pane, DWORD extra1 = 0,
                     DWORD extra2 = 0) override;
    TkTab* AddTab(LPCSTR label, CWnd* pane, DWORD extra1 = 0, DWORD extra2 = 0) override;
    void SetTabIcon(int index, LPCSTR resourceName, int cx, int cy) override;
    void SetTabIcon(int index, UINT resourceId, int cx, int cy) override;
    void SetTabIcon(int index, HICON icon) override;
    void RenameTab(int index, LPCSTR label) override;
    void InvalidateTab(int index) override;

    virtual void CreateFonts(DWORD style);
    virtual void EnableTab(int index, BOOL enable);
    virtual BOOL IsTabEnabled(int index) const;
    virtual BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    virtual void FitLabels(int fullLength, int iconRoom, int available);
    // which: 0 the inactive tabs' font, 1 the active tab's.
    virtual BOOL SetFont(CFont* font, int which, BOOL redraw = TRUE);
    virtual BOOL GetTabRect(int index, CRect& rect) const;
    virtual void SizeTab(int index, int x, int y, DWORD style);
    virtual void DrawTab(CDC* dc, int index);
    virtual void FillSolid(CDC* dc, int x, int y, int cx, int cy, COLORREF color);
    virtual void DrawTabEdgesTop(CDC* dc, Tk3DTab* tab, DWORD style);
    virtual void DrawTabEdgesBottom(CDC* dc, Tk3DTab* tab, DWORD style);
    virtual void DrawTabEdgesRight(CDC* dc, Tk3DTab* tab, DWORD style);
    virtual void DrawTabEdgesLeft(CDC* dc, Tk3DTab* tab, DWORD style);
    virtual void DrawTabContent(CDC* dc, Tk3DTab* tab, DWORD style);
    virtual void DrawDisabledImage(CDC* dc, int cx, int cy);

    Tk3DTab* Get3DTab(int index) const;
    // The tab under a point of the client area, -1 for none.
    int TabFromPoint(CPoint point) const;
    BOOL AreLabelsShown() const { return m_bShowLabels; }

    BOOL m_bAutoFit;
    int m_nTabHeight;
    int m_nTabWidth;
    int m_nHorzOffset;
    int m_nVertOffset;

protected:
    BOOL IsHorizontal() const;
    // Along the edge: every tab's edges, icon and label.
    int MeasureTabs(BOOL fullLabels, int* iconRoom = NULL);
    int LabelWidth(const CString& label);
    // The drawn label that is widest, the first on ties.
    int WidestLabel();
    void ShortenWidest();
    void ReplaceFont(CFont& font, const LOGFONTA& description);
    // Escapement of the style's text direction, in tenths of a degree.
    static int Escapement(DWORD style);
    // The enabled tab nearest the active one in direction step, -1 for none.
    int NextEnabledTab(int step) const;
    void DrawStripEdge(CDC* dc, const CRect& client, DWORD style);
    void DrawLabelAndIcon(CDC* dc, Tk3DTab* tab, CPoint label, CPoint icon, const CRect& clip,
                          DWORD style);
    void DrawDisabledContent(CDC* dc, Tk3DTab* tab, CPoint label, CPoint icon,
                             const CRect& clip, DWORD style);
    // Moves the active tab to index, as a drag asks.
    void MoveActiveTab(int index);
    BOOL WouldLieUnderCursor(const CRect& active, const CRect& target, CPoint point) const;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CFont m_fontNormal;
    CFont m_fontActive;
    CPen m_penBlack;
    CPen m_penBlack2;
    CPen m_penShadow;
    CPen m_penHilite;
    CBrush m_brushFace;
    CBrush m_brushWindow;
    BOOL m_bShowLabels;
    // Set while labels may still be shortened.
    BOOL m_bShorten;
};
