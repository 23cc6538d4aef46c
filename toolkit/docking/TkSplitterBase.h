// TkSplitterBase: a window split into up to four panes (2 x 2) by a row bar
// (at a y position) and a column bar (at an x position). Which panes are
// present decides how long each bar is. The user drags a bar, or the
// crossing of both, with the left button: an outline follows the mouse, or
// with live tracking the panes are resized at every move. Derived classes
// place something in the pane rectangles (LayoutPanes).
//
// Coordinates: the splitter area and the bar rectangles are in the parent's
// client coordinates; the window covers the area, so the hit rectangles and
// mouse points are area-relative.
#pragma once

#include <afxwin.h>

class TkSplitterPaneInfo : public CObject
{
public:
    enum Pane
    {
        kTopLeft = 0,
        kTopRight = 1,
        kBottomLeft = 2,
        kBottomRight = 3,
        kPaneCount = 4,
    };

    TkSplitterPaneInfo();
    // No rectangle marks the pane absent.
    void SetPane(int pane, const RECT* rect);
    // Copies the rectangle only for a present pane; answers whether it is.
    BOOL GetPane(int pane, RECT* rect) const;

private:
    CRect m_rects[kPaneCount];
    int m_present[kPaneCount];
};

class TkSplitterBase : public CWnd
{
public:
    // Splitter flags.
    enum
    {
        kLiveTracking = 1,
        // With three panes, the pane beside the missing one spans the full width.
        kThreePaneFullWidth = 2,
    };
    // Bar styles: how far a bar runs.
    enum
    {
        kToCrossing = 0,
        kFromCrossing = 1,
        kFullLength = 2,
        kNoBar = 3,
    };
    // Bar drawing styles; any other value draws raised bars.
    enum
    {
        kUseDefaultDrawStyle = 1,
        kFlatBars = 4,
        kPlainBars = 8,
    };
    static const UINT kCursorCrossing = 30979;
    static const UINT kCursorColumn = 30980;
    static const UINT kCursorRow = 30981;
    static const UINT kIdsSplitterName = 21088;

    static void SetBarWidth(int width);
    static int GetBarWidth();
    static void SetDefaultDrawStyle(int style);
    static int GetDefaultDrawStyle();

    TkSplitterBase();

    virtual BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, int splitterFlags);
    virtual void SetSplitPosition(int x, int y);
    // Row and column below 3; any nonzero value counts as 1.
    virtual BOOL ShowPane(int row, int column);
    virtual BOOL HidePane(int row, int column);
    virtual void LayoutPanes(TkSplitterPaneInfo& panes);
    virtual void Draw(CDC* dc);
    virtual void DrawRowBar(CDC* dc, const CRect& bar, const CRect& columnBar);
    virtual void DrawColumnBar(CDC* dc, const CRect& bar, const CRect& rowBar);
    virtual void DrawRowBarFlat(CDC* dc, const CRect& bar, const CRect& columnBar);
    virtual void DrawColumnBarFlat(CDC* dc, const CRect& bar, const CRect& rowBar);
    virtual void FillBackground(CDC* dc, const CRect& rect);
    virtual BOOL CanStartTracking(UINT flags, CPoint point);
    virtual void OnBarsMoved(int dx, int dy);
    // rect is area-relative.
    virtual void InvalidateArea(const CRect& rect, BOOL erase);
    // x and y are area-relative; the rectangles are the bars as tracked so far.
    virtual void OnTrackMove(CDC* dc, int x, int y, CRect& rowRect, CRect& columnRect,
                             BOOL trackRow, BOOL trackColumn);
    virtual CDC* GetTrackDC();
    virtual void ReleaseTrackDC(CDC* dc);
    // Converts area-relative outline rectangles into the tracking DC's coordinates.
    virtual void MapOutlineRects(CRect& rect, CRect& previous);
    virtual void GetTrackLimits(int& minX, int& minY, int& maxX, int& maxY);
    // Pulls rect back inside bounds across the bar; answers how far it moved it.
    virtual int KeepInside(CRect& rect, const CRect& bounds, BOOL vertical);
    virtual BOOL CanPaint();
    virtual void ChooseBarStyles();
    virtual void InvalidateBarMove(const CRect& oldRect, const CRect& newRect, BOOL isRow);
    // TRUE when the bar moved.
    virtual BOOL ApplyBarRect(const CRect& rect, BOOL isRow);
    virtual void HitTestBars(int x, int y, BOOL& onRow, BOOL& onColumn);
    virtual void RecalcBars();
    // Clamps the positions to the track limits and corrects x and y.
    virtual void ComputeBarRects(CRect& row, CRect& column, int& x, int& y);
    virtual void UpdateHitRects();
    virtual void TrackBars(UINT flags, int x, int y, BOOL trackRow, BOOL trackColumn);
    // The movement left to apply: with live tracking none, the moves were
    // applied as they came.
    virtual CSize RunTrackCapture(BOOL trackRow, BOOL trackColumn);
    virtual void DrawTrackOutline(const CRect& rect, CDC* dc, BOOL isRow, BOOL hide);
    // TRUE when the button went up, FALSE when cancelled or the capture was lost.
    virtual BOOL RunTrackLoop(CDC* dc, CRect& rowRect, CRect& columnRect, BOOL trackRow,
                              BOOL trackColumn);
    virtual void ComputePaneRects(const CRect& row, const CRect& column,
                                  TkSplitterPaneInfo& panes);
    virtual void RecalcPanes();
    virtual void PumpPaint();
    // The drawing style in force.
    virtual int GetBarStyle();

    void SetMargins(int left, int top, int right, int bottom);
    void SetBarDrawStyle(int style) { m_barDrawStyle = style; }
    void SetSplitterFlags(int flags) { m_splitterFlags = flags; }
    int GetSplitterFlags() const { return m_splitterFlags; }
    BOOL IsLiveTracking() const { return (m_splitterFlags & kLiveTracking) != 0; }
    BOOL IsPanePresent(int row, int column) const;
    int GetRowBarStyle() const { return m_rowStyle; }
    int GetColumnBarStyle() const { return m_columnStyle; }
    CPoint GetSplitPosition() const { return CPoint(m_x, m_y); }
    CRect GetRowBarRect() const { return m_rowBar; }
    CRect GetColumnBarRect() const { return m_columnBar; }
    CRect GetRowHitRect() const { return m_rowHit; }
    CRect GetColumnHitRect() const { return m_columnHit; }
    CRect GetSplitterArea() const { return m_area; }
    void SetSplitterArea(const CRect& area) { m_area = area; }

protected:
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnPaint();

    int m_splitterFlags;
    // Top-left, top-right, bottom-left, bottom-right.
    int m_panePresent[TkSplitterPaneInfo::kPaneCount];
    int m_y;
    int m_x;
    CRect m_rowBar;
    CRect m_columnBar;
    CRect m_rowHit;
    CRect m_columnHit;
    CRect m_area;
    int m_rowStyle;
    int m_columnStyle;
    BOOL m_tracking;
    CRect m_lastRowOutline;
    CSize m_lastRowOutlineSize;
    CRect m_lastColumnOutline;
    CSize m_lastColumnOutlineSize;
    int m_marginLeft;
    int m_marginRight;
    int m_marginTop;
    int m_marginBottom;
    int m_barDrawStyle;

    DECLARE_MESSAGE_MAP()

private:
    static HCURSOR CursorFor(BOOL onRow, BOOL onColumn);
    void DrawBar(CDC* dc, BOOL isRow, const CRect& bar, const CRect& other, BOOL flat);
    // Puts both bars back where the drag found them, telling of the way back.
    void RestoreBars(const CRect& rowRect, const CRect& columnRect, CPoint position);
    void EraseOutlines(CDC* dc);

    HWND m_trackDCWindow;
};
