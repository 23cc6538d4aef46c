// Column drag and fixed-width dividers of CLxHeaderCtrl.
#include "listctrl/LxHeaderCtrl.h"

#include "listctrl/LxListCtrl.h"

#include <stdlib.h>

namespace
{
// A drag starts once the pointer is this far from where the button went down.
const int kDragStart = 6;
const int kMarkerHeight = 8;
const int kMarkerHalfWidth = 3;

// Where the column at index i ends up when the column at from is inserted
// at to and then deleted from its old place.
int IndexAfterMove(int i, int from, int to)
{
    if (i == from)
        return to < from ? to : to - 1;
    if (to < from && i >= to && i < from)
        return i + 1;
    if (to > from && i > from && i < to)
        return i - 1;
    return i;
}
}

BEGIN_MESSAGE_MAP(CLxHeaderCtrl, CHeaderCtrl)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
END_MESSAGE_MAP()

bool CLxHeaderCtrl::DividerAllowed(int x)
{
    if (!m_fixedWidthMask)
        return true;
    int half = ::GetSystemMetrics(SM_CXCURSOR) / 2;
    int right = 0;
    for (int i = 0; i < GetItemCount(); i++)
    {
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_LPARAM;
        GetItem(i, &item);
        right += item.cxy;
        if ((m_fixedWidthMask & LxColumnBit((int)item.lParam)) && abs(x - right) < half)
            return false;
    }
    return true;
}

LRESULT CLxHeaderCtrl::OnNcHitTest(CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    m_dividerAllowed = DividerAllowed(client.x);
    return Default();
}

BOOL CLxHeaderCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_dividerAllowed)
        return (BOOL)Default();
    ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    return TRUE;
}

void CLxHeaderCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    // A double click on a divider sizes the column to its contents.
    if (DividerAllowed(point.x))
        Default();
}

void CLxHeaderCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (m_dragEnabled)
    {
        HDHITTESTINFO hit = {};
        hit.pt = point;
        SendMessage(HDM_HITTEST, 0, (LPARAM)&hit);
        if (hit.iItem >= 0 && (hit.flags & HHT_ONHEADER) &&
            !(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)))
        {
            m_downPoint = point;
            m_dragSource = hit.iItem;
            m_dragPending = true;
            Invalidate();
        }
    }
    Default();
}

void CLxHeaderCtrl::StartDrag()
{
    m_dragPending = false;
    m_dragging = true;
    m_dragTarget = m_dragSource;
    SetCapture();
    m_widths.clear();
    for (int i = 0; i < GetItemCount(); i++)
    {
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_FORMAT;
        GetItem(i, &item);
        m_widths.push_back(item.cxy);
        if (!(item.fmt & HDF_OWNERDRAW))
        {
            item.mask = HDI_FORMAT;
            item.fmt |= HDF_OWNERDRAW;
            SetItem(i, &item);
        }
    }
    m_lastDragRect.SetRectEmpty();
    m_markerRect.SetRectEmpty();
    CRect client;
    GetClientRect(&client);
    m_dragSize = CRect(0, 0, m_dragSource < (int)m_widths.size() ? m_widths[m_dragSource] : 0,
                       client.Height());
    Invalidate();
}

int CLxHeaderCtrl::DropTarget(int x) const
{
    if (x <= 0)
        return 0;
    int right = 0;
    for (size_t i = 0; i < m_widths.size(); i++)
    {
        right += m_widths[i];
        if (x < right)
            return (int)i;
    }
    return (int)m_widths.size();
}

void CLxHeaderCtrl::MoveDropMarker(int target)
{
    if (!m_markerRect.IsRectEmpty())
    {
        InvalidateRect(&m_markerRect);
        UpdateWindow();
    }
    int x = 0;
    for (int i = 0; i < target && i < (int)m_widths.size(); i++)
        x += m_widths[i];
    CRect client;
    GetClientRect(&client);
    m_markerRect = CRect(x - kMarkerHalfWidth - 1, client.bottom - kMarkerHeight,
                         x + kMarkerHalfWidth + 1, client.bottom);
    CClientDC dc(this);
    PaintDropMarker(dc);
}

// A red triangle pointing up at the boundary where the column would go.
void CLxHeaderCtrl::PaintDropMarker(CDC& dc)
{
    int x = m_markerRect.CenterPoint().x, bottom = m_markerRect.bottom;
    POINT triangle[] = {{x, bottom - kMarkerHeight},
                        {x - kMarkerHalfWidth, bottom - 1},
                        {x + kMarkerHalfWidth, bottom - 1}};
    CBrush red(RGB(255, 0, 0));
    CPen redPen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&red);
    CPen* oldPen = dc.SelectObject(&redPen);
    dc.Polygon(triangle, 3);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

// The header repaints itself while the mouse moves: the marker stays on top.
void CLxHeaderCtrl::OnPaint()
{
    Default();
    if (!m_dragging || m_markerRect.IsRectEmpty())
        return;
    CClientDC dc(this);
    PaintDropMarker(dc);
}

void CLxHeaderCtrl::DrawDragFrame(CPoint point)
{
    CWnd* list = GetParent();
    if (!list)
        return;
    CRect frame = m_dragSize;
    frame.OffsetRect(point.x - frame.Width() / 2, point.y - frame.Height() / 2);
    MapWindowPoints(list, &frame);
    CClientDC dc(list);
    CSize size(2, 2);
    dc.DrawDragRect(&frame, size, m_lastDragRect.IsRectEmpty() ? NULL : &m_lastDragRect, size);
    m_lastDragRect = frame;
}

void CLxHeaderCtrl::TrackDrag(CPoint point)
{
    int target = DropTarget(point.x);
    if (target != m_dragTarget)
    {
        m_dragTarget = target;
        MoveDropMarker(target);
    }
    DrawDragFrame(point);
}

void CLxHeaderCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!(flags & MK_LBUTTON))
    {
        m_dragPending = false;
        m_dragging = false;
    }
    else if (m_dragPending && !m_dragging && (abs(point.x - m_downPoint.x) >= kDragStart ||
                                                abs(point.y - m_downPoint.y) >= kDragStart))
        StartDrag();
    if (m_dragging)
        TrackDrag(point);
    Default();
}

void CLxHeaderCtrl::EraseDragFrame()
{
    CWnd* list = GetParent();
    if (!list || m_lastDragRect.IsRectEmpty())
        return;
    CRect erase = m_lastDragRect;
    erase.top--;
    list->InvalidateRect(&erase);
    list->UpdateWindow();
    m_lastDragRect.SetRectEmpty();
}

void CLxHeaderCtrl::EndDrag()
{
    EraseDragFrame();
    m_dragging = false;
    m_markerRect.SetRectEmpty();
    m_widths.clear();
    ::ReleaseCapture();
    int from = m_dragSource, to = m_dragTarget;
    if (to == from || to == from + 1 || !m_pReorderList || !m_reorderCallback)
        return;
    // The list may change both: a drop in front of column 0 lands at 1.
    int source = from, target = to;
    (m_pReorderList->*m_reorderCallback)(&source, &target);
    if (from != 0 && target != from)
        FollowMove(from, target);
}

void CLxHeaderCtrl::FollowMove(int from, int to)
{
    if (m_sortColumn >= 0)
        m_sortColumn = IndexAfterMove(m_sortColumn, from, to);
    if (m_prevSortColumn >= 0)
        m_prevSortColumn = IndexAfterMove(m_prevSortColumn, from, to);
    int count = std::min(GetItemCount(), 32);
    DWORD moved = m_directionMask;
    for (int i = 0; i < count; i++)
    {
        int after = IndexAfterMove(i, from, to);
        if (after >= count)
            continue;
        if (m_directionMask & LxColumnBit(i))
            moved |= LxColumnBit(after);
        else
            moved &= ~LxColumnBit(after);
    }
    m_directionMask = moved;
}

void CLxHeaderCtrl::OnLButtonUp(UINT, CPoint)
{
    m_dragPending = false;
    if (m_dragging)
        EndDrag();
    Invalidate();
    Default();
}
