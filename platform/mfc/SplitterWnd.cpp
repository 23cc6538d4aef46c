#include "platform/mfc/SplitterWnd.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WindowDc.h"

#include <algorithm>

using std::max;
using std::min;

namespace
{
const int kBarThickness = 6;
// Pane ids go row by row, this many to a row.
const int kIdsPerRow = 16;
// Intersection codes number the crossings this many to a row.
const int kIntersectionsPerRow = 15;
}

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursorMessage)
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_pDynamicViewClass(NULL), m_nMaxRows(0), m_nMaxCols(0), m_nRows(0), m_nCols(0),
      m_pRowInfo(NULL), m_pColInfo(NULL), m_cxSplitterGap(kBarThickness),
      m_cySplitterGap(kBarThickness), m_bTracking(FALSE), m_htTrack(noHit)
{
}

CSplitterWnd::~CSplitterWnd()
{
    delete[] m_pRowInfo;
    delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateCommon(CWnd* parentWnd, int rows, int cols, DWORD style, UINT id)
{
    if (rows < 1 || cols < 1 || m_nMaxRows > kMaxPanes || m_nMaxCols > kMaxPanes)
        return FALSE;
    m_nRows = rows;
    m_nCols = cols;
    m_pRowInfo = new CRowColInfo[m_nMaxRows]();
    m_pColInfo = new CRowColInfo[m_nMaxCols]();
    return CreateEx(0, NULL, NULL, (style | WS_CHILD) & ~SPLS_DYNAMIC_SPLIT, CRect(0, 0, 0, 0),
                    parentWnd, id);
}

BOOL CSplitterWnd::CreateStatic(CWnd* parentWnd, int rows, int cols, DWORD style, UINT id)
{
    m_nMaxRows = rows;
    m_nMaxCols = cols;
    return CreateCommon(parentWnd, rows, cols, style, id);
}

BOOL CSplitterWnd::Create(CWnd* parentWnd, int maxRows, int maxCols, SIZE sizeMin,
                          CCreateContext* context, DWORD style, UINT id)
{
    if (!context || !context->m_pNewViewClass)
        return FALSE;
    m_nMaxRows = maxRows;
    m_nMaxCols = maxCols;
    m_pDynamicViewClass = context->m_pNewViewClass;
    if (!CreateCommon(parentWnd, 1, 1, style, id))
        return FALSE;
    for (int row = 0; row < m_nMaxRows; row++)
        m_pRowInfo[row].nMinSize = sizeMin.cy;
    for (int col = 0; col < m_nMaxCols; col++)
        m_pColInfo[col].nMinSize = sizeMin.cx;
    return CreateView(0, 0, m_pDynamicViewClass, CSize(0, 0), context);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initSize,
                              CCreateContext* context)
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || GetPane(row, col))
        return FALSE;
    m_pRowInfo[row].nIdealSize = initSize.cy;
    m_pColInfo[col].nIdealSize = initSize.cx;
    CWnd* view = static_cast<CWnd*>(viewClass->CreateObject());
    // A view whose window fails has deleted itself through PostNcDestroy.
    if (!view || !view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_BORDER,
                               CRect(0, 0, initSize.cx, initSize.cy), this,
                               IdFromRowCol(row, col), context))
        return FALSE;
    if (IsWindowVisible())
        RecalcLayout();
    return TRUE;
}

int CSplitterWnd::GetRowCount() const
{
    return m_nRows;
}

int CSplitterWnd::GetColumnCount() const
{
    return m_nCols;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_pRowInfo[row].nIdealSize = cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_pColInfo[col].nIdealSize = cxIdeal;
    m_pColInfo[col].nMinSize = cxMin;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    return GetDlgItem(IdFromRowCol(row, col));
}

BOOL CSplitterWnd::IsChildPane(CWnd* wnd, int* row, int* col)
{
    if (!wnd || ::GetParent(wnd->m_hWnd) != m_hWnd)
        return FALSE;
    int id = wnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    if (id < 0 || id / kIdsPerRow >= m_nRows || id % kIdsPerRow >= m_nCols)
        return FALSE;
    if (row)
        *row = id / kIdsPerRow;
    if (col)
        *col = id % kIdsPerRow;
    return TRUE;
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return AFX_IDW_PANE_FIRST + row * kIdsPerRow + col;
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* info, int count, int size, int gap)
{
    int left = size;
    for (int i = 0; i < count; i++)
    {
        int cur = i == count - 1 ? left : min(info[i].nIdealSize, left);
        if (i < count - 1 && cur < info[i].nMinSize)
            cur = 0;
        info[i].nCurSize = max(cur, 0);
        left -= info[i].nCurSize + gap;
    }
}

void CSplitterWnd::RecalcLayout()
{
    CRect client;
    GetClientRect(client);
    LayoutRowCol(m_pRowInfo, m_nRows, client.Height(), m_cySplitterGap);
    LayoutRowCol(m_pColInfo, m_nCols, client.Width(), m_cxSplitterGap);

    HDWP positions = ::BeginDeferWindowPos(m_nRows * m_nCols);
    int y = 0;
    for (int row = 0; row < m_nRows; row++)
    {
        int x = 0;
        for (int col = 0; col < m_nCols; col++)
        {
            CWnd* pane = GetPane(row, col);
            if (pane)
                positions = ::DeferWindowPos(positions, pane->m_hWnd, NULL, x, y,
                                             m_pColInfo[col].nCurSize,
                                             m_pRowInfo[row].nCurSize,
                                             SWP_NOZORDER | SWP_NOACTIVATE);
            x += m_pColInfo[col].nCurSize + m_cxSplitterGap;
        }
        y += m_pRowInfo[row].nCurSize + m_cySplitterGap;
    }
    ::EndDeferWindowPos(positions);
    Invalidate();
}

CRect CSplitterWnd::RowBarRect(int row) const
{
    CRect client;
    GetClientRect(client);
    int y = 0;
    for (int i = 0; i <= row; i++)
        y += m_pRowInfo[i].nCurSize + (i < row ? m_cySplitterGap : 0);
    return CRect(0, y, client.right, y + m_cySplitterGap);
}

CRect CSplitterWnd::ColumnBarRect(int col) const
{
    CRect client;
    GetClientRect(client);
    int x = 0;
    for (int i = 0; i <= col; i++)
        x += m_pColInfo[i].nCurSize + (i < col ? m_cxSplitterGap : 0);
    return CRect(x, 0, x + m_cxSplitterGap, client.bottom);
}

int CSplitterWnd::HitTest(CPoint point) const
{
    int row = -1;
    int col = -1;
    for (int i = 0; i < m_nRows - 1 && row < 0; i++)
    {
        if (RowBarRect(i).PtInRect(point))
            row = i;
    }
    for (int i = 0; i < m_nCols - 1 && col < 0; i++)
    {
        if (ColumnBarRect(i).PtInRect(point))
            col = i;
    }
    if (row >= 0 && col >= 0)
        return splitterIntersection1 + row * kIntersectionsPerRow + col;
    if (row >= 0)
        return vSplitterBar1 + row;
    if (col >= 0)
        return hSplitterBar1 + col;
    return noHit;
}

void CSplitterWnd::StartTracking(int hit)
{
    m_htTrack = hit;
    m_rectTrackRow.SetRectEmpty();
    m_rectTrackColumn.SetRectEmpty();
    if (hit >= splitterIntersection1 && hit <= splitterIntersection225)
    {
        m_rectTrackRow = RowBarRect((hit - splitterIntersection1) / kIntersectionsPerRow);
        m_rectTrackColumn = ColumnBarRect((hit - splitterIntersection1) % kIntersectionsPerRow);
    }
    else if (hit >= vSplitterBar1 && hit <= vSplitterBar15)
    {
        m_rectTrackRow = RowBarRect(hit - vSplitterBar1);
    }
    else
    {
        m_rectTrackColumn = ColumnBarRect(hit - hSplitterBar1);
    }
    m_bTracking = TRUE;
    SetCapture();
    if (!m_rectTrackRow.IsRectEmpty())
        OnInvertTracker(m_rectTrackRow);
    if (!m_rectTrackColumn.IsRectEmpty())
        OnInvertTracker(m_rectTrackColumn);
}

void CSplitterWnd::StopTracking(BOOL accept)
{
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!m_rectTrackRow.IsRectEmpty())
        OnInvertTracker(m_rectTrackRow);
    if (!m_rectTrackColumn.IsRectEmpty())
        OnInvertTracker(m_rectTrackColumn);
    if (!accept)
        return;

    // The pane before a moved bar takes its new size; the one after gives
    // the difference, so that bars further on stay where they were.
    int hit = m_htTrack;
    BOOL both = hit >= splitterIntersection1;
    int row = both ? (hit - splitterIntersection1) / kIntersectionsPerRow : hit - vSplitterBar1;
    int col = both ? (hit - splitterIntersection1) % kIntersectionsPerRow : hit - hSplitterBar1;
    if (both || hit <= vSplitterBar15)
    {
        int delta = m_rectTrackRow.top - RowBarRect(row).top;
        m_pRowInfo[row].nIdealSize = m_pRowInfo[row].nCurSize + delta;
        if (row + 1 < m_nRows - 1)
            m_pRowInfo[row + 1].nIdealSize = m_pRowInfo[row + 1].nCurSize - delta;
    }
    if (both || (hit >= hSplitterBar1 && hit <= hSplitterBar15))
    {
        int delta = m_rectTrackColumn.left - ColumnBarRect(col).left;
        m_pColInfo[col].nIdealSize = m_pColInfo[col].nCurSize + delta;
        if (col + 1 < m_nCols - 1)
            m_pColInfo[col + 1].nIdealSize = m_pColInfo[col + 1].nCurSize - delta;
    }
    // A dynamic splitter drops a row or column dragged below its minimum.
    if (m_pDynamicViewClass && (both || hit <= vSplitterBar15) &&
        m_pRowInfo[row].nIdealSize < m_pRowInfo[row].nMinSize)
        DeleteRow(row);
    else if (m_pDynamicViewClass && !(both || hit <= vSplitterBar15) &&
             m_pColInfo[col].nIdealSize < m_pColInfo[col].nMinSize)
        DeleteColumn(col);
    else
        RecalcLayout();
}

void CSplitterWnd::OnInvertTracker(const CRect& rect)
{
    CClientDC dc(this);
    dc.InvertRect(rect);
}

void CSplitterWnd::OnDrawSplitter(CDC* dc, const CRect& rect)
{
    dc->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    for (int row = 0; row < m_nRows - 1; row++)
        OnDrawSplitter(&dc, RowBarRect(row));
    for (int col = 0; col < m_nCols - 1; col++)
        OnDrawSplitter(&dc, ColumnBarRect(col));
}

void CSplitterWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

LRESULT CSplitterWnd::OnLButtonDown(WPARAM, LPARAM lParam)
{
    int hit = HitTest(CPoint((DWORD)lParam));
    if (hit != noHit && !m_bTracking)
    {
        m_ptTrackStart = CPoint((DWORD)lParam);
        StartTracking(hit);
    }
    return 0;
}

LRESULT CSplitterWnd::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (!m_bTracking)
        return Default();
    CPoint point((DWORD)lParam);
    CRect client;
    GetClientRect(client);
    // Bars move along their own axis and stay inside the window.
    if (!m_rectTrackRow.IsRectEmpty())
    {
        CRect moved(m_rectTrackRow);
        int top = RowBarRect(m_htTrack >= splitterIntersection1
                                 ? (m_htTrack - splitterIntersection1) / kIntersectionsPerRow
                                 : m_htTrack - vSplitterBar1)
                      .top +
                  point.y - m_ptTrackStart.y;
        top = max(0, min(top, (int)client.bottom - m_cySplitterGap));
        moved.OffsetRect(0, top - moved.top);
        OnInvertTracker(m_rectTrackRow);
        m_rectTrackRow = moved;
        OnInvertTracker(m_rectTrackRow);
    }
    if (!m_rectTrackColumn.IsRectEmpty())
    {
        CRect moved(m_rectTrackColumn);
        int left = ColumnBarRect(m_htTrack >= splitterIntersection1
                                     ? (m_htTrack - splitterIntersection1) % kIntersectionsPerRow
                                     : m_htTrack - hSplitterBar1)
                       .left +
                   point.x - m_ptTrackStart.x;
        left = max(0, min(left, (int)client.right - m_cxSplitterGap));
        moved.OffsetRect(left - moved.left, 0);
        OnInvertTracker(m_rectTrackColumn);
        m_rectTrackColumn = moved;
        OnInvertTracker(m_rectTrackColumn);
    }
    return 0;
}

LRESULT CSplitterWnd::OnLButtonUp(WPARAM, LPARAM)
{
    StopTracking(TRUE);
    return 0;
}

LRESULT CSplitterWnd::OnCancelMode(WPARAM, LPARAM)
{
    StopTracking(FALSE);
    return Default();
}

LRESULT CSplitterWnd::OnSetCursorMessage(WPARAM wParam, LPARAM lParam)
{
    if ((HWND)wParam != m_hWnd || LOWORD(lParam) != HTCLIENT)
        return Default();
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    int hit = HitTest(point);
    LPCSTR cursor = IDC_ARROW;
    if (hit >= splitterIntersection1)
        cursor = IDC_SIZEALL;
    else if (hit >= hSplitterBar1)
        cursor = IDC_SIZEWE;
    else if (hit >= vSplitterBar1)
        cursor = IDC_SIZENS;
    ::SetCursor(::LoadCursorA(NULL, cursor));
    return TRUE;
}

BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    return AddRowOrColumn(TRUE, cyBefore);
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    return AddRowOrColumn(FALSE, cxBefore);
}

void CSplitterWnd::DeleteRow(int row)
{
    RemoveRowOrColumn(TRUE, row);
}

void CSplitterWnd::DeleteColumn(int col)
{
    RemoveRowOrColumn(FALSE, col);
}

BOOL CSplitterWnd::AddRowOrColumn(BOOL row, int sizeBefore)
{
    int& count = row ? m_nRows : m_nCols;
    if (!m_pDynamicViewClass || count >= (row ? m_nMaxRows : m_nMaxCols))
        return FALSE;
    CWnd* first = GetPane(0, 0);
    CCreateContext context;
    context.m_pNewViewClass = m_pDynamicViewClass;
    if (first && first->IsKindOf(RUNTIME_CLASS(CView)))
    {
        context.m_pLastView = static_cast<CView*>(first);
        context.m_pCurrentDoc = context.m_pLastView->GetDocument();
    }
    CRowColInfo* info = row ? m_pRowInfo : m_pColInfo;
    CRect client;
    GetClientRect(client);
    int total = row ? client.Height() : client.Width();
    int index = count++;
    int others = row ? m_nCols : m_nRows;
    for (int i = 0; i < others; i++)
    {
        CWnd* view = static_cast<CWnd*>(m_pDynamicViewClass->CreateObject());
        int id = row ? IdFromRowCol(index, i) : IdFromRowCol(i, index);
        if (!view || !view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                   CRect(0, 0, 0, 0), this, id, &context))
        {
            RemoveRowOrColumn(row, index);
            return FALSE;
        }
    }
    info[index - 1].nIdealSize = sizeBefore;
    info[index].nIdealSize = total - sizeBefore - (row ? m_cySplitterGap : m_cxSplitterGap);
    RecalcLayout();
    // The new views show the document as the first one does.
    for (int i = 0; i < others; i++)
        (row ? GetPane(index, i) : GetPane(i, index))->SendMessage(WM_INITIALUPDATE);
    return TRUE;
}

void CSplitterWnd::RemoveRowOrColumn(BOOL row, int index)
{
    int& count = row ? m_nRows : m_nCols;
    int others = row ? m_nCols : m_nRows;
    if (count <= 1 || index < 0 || index >= count)
        return;
    for (int i = 0; i < others; i++)
    {
        CWnd* pane = row ? GetPane(index, i) : GetPane(i, index);
        if (pane)
            pane->DestroyWindow();
    }
    // Later panes move up one place, and take the ids of their new places.
    CRowColInfo* info = row ? m_pRowInfo : m_pColInfo;
    for (int moved = index + 1; moved < count; moved++)
    {
        for (int i = 0; i < others; i++)
        {
            CWnd* pane = row ? GetPane(moved, i) : GetPane(i, moved);
            if (pane)
                pane->SetDlgCtrlID(row ? IdFromRowCol(moved - 1, i) : IdFromRowCol(i, moved - 1));
        }
        info[moved - 1] = info[moved];
    }
    count--;
    RecalcLayout();
}
