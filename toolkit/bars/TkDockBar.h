// TkDockBar: the toolkit's dock bar. Each TkControlBar in a row has a
// proportion, its share of the row's length; rows of resizable bars are
// stretched across the side, 6 pixels apart; rows of fixed-size bars are laid
// one after another. One bar of a row can be expanded to take the row and
// contracted again; bars moved by a layout are repainted once afterwards.
#pragma once

#include "toolkit/bars/TkControlBar.h"

class TkControlBarInfo;

class TkDockBar : public CDockBar
{
    DECLARE_DYNCREATE(TkDockBar)
public:
    class Splitter;
    class ClientEdge;

    enum ExpandMode
    {
        kExpand = 1,
        kContract = 2,
    };
    // A saved place: row and column, flags of kFromEnd...
    struct Position
    {
        int row;
        int column;
        int flags;
    };
    enum PositionFlags
    {
        kRowFromEnd = 1,
        kColumnFromEnd = 2,
        kNewRow = 4,
    };

    TkDockBar(BOOL floating = FALSE, BOOL mdiChild = FALSE);
    ~TkDockBar() override;

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void DoPaint(CDC* dc) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL RemoveControlBar(CControlBar* bar, int excludeIndex = -1,
                          BOOL addPlaceholder = FALSE) override;
    // A bar dropped back at its own place (the same insertion index or the
    // one after) stays; so does a fixed-size bar docked again without a place.
    void DockControlBar(CControlBar* bar, LPCRECT rect = NULL) override;
    int InsertBarAtRect(CControlBar* bar, CRect rect, CPoint point) override;
    // The bar takes the place its id kept and keeps its share of the row.
    void ReDockControlBar(CControlBar* bar, LPCRECT rect = NULL) override;

    virtual int GetVisibleBarCount() const;
    virtual BOOL IsBarExpanded(CControlBar* bar) const;
    virtual BOOL IsOnlyBarInRow(CControlBar* bar) const;
    virtual void DockControlBarAt(CControlBar* bar, Position position);
    virtual void DockControlBarAtRowColumn(CControlBar* bar, int column, int row);
    virtual void GetRowBars(CPtrArray& bars, CControlBar* bar) const;
    virtual void ExpandBar(CControlBar* bar, int mode);
    virtual void OnBarRemoved(CControlBar* bar);
    virtual void RedrawNow();
    virtual void TrackSplitter(Splitter* splitter, CPoint point);
    virtual void AddSplitter(BOOL betweenBars, int orientation, const CRect& rect, int index);
    virtual void PrepareSplitterTrack(Splitter* splitter);
    virtual void AddClientEdge(int kind, const CRect& rect);
    virtual void QueueRowToolBars(CControlBar* bar);
    virtual void NormalizeRow(int rowStart, CControlBar* fixedBar, int* resizable, int* fixedSize);
    virtual void UpdateMinProportion();
    virtual float AddToProportion(float delta, TkControlBar* bar);
    virtual int InsertBarAtPosition(CControlBar* bar, Position position);
    virtual int InsertBarAtRowColumn(CControlBar* bar, int column, int row);
    virtual int InsertBarAsFirstRow(CControlBar* bar);
    virtual int InsertBarAtIndex(int index, CControlBar* bar);
    // Where a bar dragged at dragRect (screen coordinates) would dock, sized
    // by its share of the target row; the last row, rectangle and mouse point
    // are kept by the caller between calls.
    virtual CRect CalcDockFeedbackRect(CControlBar* bar, const CRect& dragRect, CPoint point,
                                       int& lastRow, CRect& lastRect, CPoint& lastPoint);
    virtual BOOL RemoveControlBarEx(CControlBar* bar, int indexHint, BOOL addPlaceholder);
    virtual void ApplySplitterOffset(Splitter* splitter, int offset);

    // The first docked bar, never a row end or a placeholder.
    CControlBar* GetFirstBar() const;
    void GetDockBarInfo(TkControlBarInfo* info);
    BOOL FindBarPosition(CControlBar* bar, int& row, int& column, int& thickness) const;
    void QueueBarsFrom(int index);
    // The index a bar dropped at rect (client coordinates) takes: in the row
    // under the centre, after the last bar whose leading edge lies before the
    // rectangle's. 0 before the first row, the array's size past the last.
    int FindInsertIndex(CControlBar* bar, const CRect& rect, CPoint centre) const;
    // Takes a destroyed bar out of the array and the redraw list.
    void OnBarDestroyed(CControlBar* bar);
    int RowStart(int index) const;
    int RowEnd(int index) const;
    float GetMinProportion() const { return m_fMinProportion; }
    // Commits the bar's length along its row plus delta (at least 18 pixels)
    // and makes it the bar's share of rowLength; returns what it could not take.
    int ResizeBarBy(CControlBar* bar, int delta, int rowLength);
    int GetRowThickness(int index) const;
    void ShrinkRowThickness(int index, int amount);
    // Searched from the last: NULL where there is none.
    Splitter* SplitterAt(CPoint point) const;
    int GetSplitterCount() const { return (int)m_splitters.GetSize(); }
    Splitter* GetSplitter(int index) const;
    int GetClientEdgeCount() const { return (int)m_clientEdges.GetSize(); }
    ClientEdge* GetClientEdge(int index) const;

    BOOL m_bMDIChild;
    CPtrArray m_redrawList;
    CControlBar* m_pFixedBar;
    BOOL m_bRedrawNow;
    BOOL m_bDeferredRedraw;
    float m_fMinProportion;

    // The least length of a bar in a row, in pixels.
    static constexpr int kMinBarLength = 18;
    // Shown over a splitter that moves along x, and over one that moves along y.
    static constexpr UINT kSplitterCursorX = 30980;
    static constexpr UINT kSplitterCursorY = 30981;

protected:
    void Queue(CControlBar* bar);
    void Unqueue(CControlBar* bar);
    DWORD LayoutMode(const CControlBar* bar) const;
    BOOL IsResizable(const CControlBar* bar) const;
    void VisibleRowBars(int rowStart, CPtrArray& bars) const;
    CRect ClientRectOf(CWnd* window) const;
    int LayoutRow(HDWP& deferred, int rowStart, int across, int rowLength);
    void MoveBar(HDWP& deferred, CControlBar* bar, const CRect& rect);
    // Moves a child to rect (client coordinates) through the deferred handle,
    // nothing when that is null; FALSE when it is there already.
    BOOL MoveWindowTo(HDWP& deferred, CWnd* window, const CRect& rect, UINT flags);
    // The separators of a row of resizable bars, before and after it.
    int AddRowSeparator(BOOL leading, int rowStart, int across, int rowLength);
    void UnmarkSeparators();
    void DeleteUnusedSeparators();
    void DeleteSeparators();
    int DragSplitter(Splitter* splitter, CPoint point);
    // The bar's mode for its row thickness, and whether its thickness is cy.
    DWORD ThicknessMode(const CControlBar* bar, BOOL& thicknessIsCY) const;
    int CountVisible(int from, int to) const;

    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    // While a redraw is deferred the bars it moves are not painted at once.
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    UINT SelfMoveFlags(const CRect& rect) const;
    DECLARE_MESSAGE_MAP()

    CObArray m_splitters;
    CObArray m_clientEdges;
    static HCURSOR s_cursorX;
    static HCURSOR s_cursorY;
};
