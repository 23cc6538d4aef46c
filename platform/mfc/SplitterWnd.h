// CSplitterWnd: panes in rows and columns with bars between them that the
// user drags. A static splitter has its panes from the start (CreateStatic
// and CreateView); a dynamic one starts with one pane and splits (SplitRow,
// SplitColumn) into new views of the same class on the same document.
#pragma once

#include "platform/mfc/FrameWnd.h"

// Create's style: the splitter may be split and unsplit by the user.
const DWORD SPLS_DYNAMIC_SPLIT = 0x0001;

class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    // Rows and columns each have at most this many panes.
    static const int kMaxPanes = 16;

    CSplitterWnd();
    ~CSplitterWnd() override;

    BOOL Create(CWnd* parentWnd, int maxRows, int maxCols, SIZE sizeMin,
                CCreateContext* context, DWORD style = WS_CHILD | WS_VISIBLE | SPLS_DYNAMIC_SPLIT,
                UINT id = AFX_IDW_PANE_FIRST);
    BOOL CreateStatic(CWnd* parentWnd, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initSize,
                            CCreateContext* context);

    int GetRowCount() const;
    int GetColumnCount() const;
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);

    CWnd* GetPane(int row, int col) const;
    BOOL IsChildPane(CWnd* wnd, int* row, int* col);
    int IdFromRowCol(int row, int col) const;

    // Sizes the rows and columns to the window and moves the panes: every
    // row (column) but the last gets its ideal size, or nothing when that
    // is below its minimum; the last takes the rest.
    virtual void RecalcLayout();

    // A dynamic splitter adds a row (column) of views after the first, which
    // keeps cyBefore (cxBefore); the bars collapse them again.
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int row);
    virtual void DeleteColumn(int col);

protected:
    struct CRowColInfo
    {
        int nMinSize;
        int nIdealSize;
        int nCurSize;
    };

    // What a point is over: a bar between rows (vSplitterBar1 + row), between
    // columns (hSplitterBar1 + column) or where two cross.
    enum HitTestValue
    {
        noHit = 0,
        vSplitterBar1 = 101,
        vSplitterBar15 = 115,
        hSplitterBar1 = 201,
        hSplitterBar15 = 215,
        splitterIntersection1 = 301,
        splitterIntersection225 = 525,
    };

    virtual int HitTest(CPoint point) const;
    virtual void StartTracking(int hit);
    virtual void StopTracking(BOOL accept);
    virtual void OnInvertTracker(const CRect& rect);
    virtual void OnDrawSplitter(CDC* dc, const CRect& rect);
    // The bar after row (column) index, in client coordinates.
    CRect RowBarRect(int row) const;
    CRect ColumnBarRect(int col) const;

    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursorMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CRuntimeClass* m_pDynamicViewClass;
    int m_nMaxRows;
    int m_nMaxCols;
    int m_nRows;
    int m_nCols;
    CRowColInfo* m_pRowInfo;
    CRowColInfo* m_pColInfo;
    // The thickness of the bars between rows and between columns.
    int m_cxSplitterGap;
    int m_cySplitterGap;

    BOOL m_bTracking;
    int m_htTrack;
    // The bars being dragged, as last drawn, and where the drag began.
    CRect m_rectTrackRow;
    CRect m_rectTrackColumn;
    CPoint m_ptTrackStart;

private:
    static void LayoutRowCol(CRowColInfo* info, int count, int size, int gap);
    BOOL CreateCommon(CWnd* parentWnd, int rows, int cols, DWORD style, UINT id);
    // Makes one more row (or column) of views like the first pane.
    BOOL AddRowOrColumn(BOOL row, int sizeBefore);
    void RemoveRowOrColumn(BOOL row, int index);
};
