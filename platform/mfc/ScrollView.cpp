#include "platform/mfc/ScrollView.h"
#include "platform/mfc/WindowDc.h"

#include <stdlib.h>

namespace
{
// Parts of the window a default page and line take.
const int kLinesPerPage = 10;
}

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = { 0, 0 };

CScrollView::CScrollView() : m_nMapMode(MM_TEXT), m_bInsideUpdate(FALSE)
{
}

CSize CScrollView::LogicalToDevice(SIZE size) const
{
    if (m_nMapMode == MM_TEXT)
        return size;
    CWindowDC dc(NULL);
    dc.SetMapMode(m_nMapMode);
    CSize device(size);
    dc.LPtoDP(&device);
    return CSize(abs(device.cx), abs(device.cy));
}

void CScrollView::SetScrollSizes(int mapMode, SIZE sizeTotal, const SIZE& sizePage,
                                 const SIZE& sizeLine)
{
    m_nMapMode = mapMode;
    m_totalLog = sizeTotal;
    m_totalDev = LogicalToDevice(sizeTotal);
    m_pageDev = LogicalToDevice(sizePage);
    m_lineDev = LogicalToDevice(sizeLine);
    if (m_hWnd)
    {
        UpdateBars();
        Invalidate();
    }
}

CSize CScrollView::GetTotalSize() const
{
    return m_totalLog;
}

void CScrollView::GetDeviceScrollSizes(int& mapMode, SIZE& sizeTotal, SIZE& sizePage,
                                       SIZE& sizeLine) const
{
    mapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetScrollPosition() const
{
    CPoint position(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
    if (m_nMapMode != MM_TEXT)
    {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.DPtoLP(&position);
    }
    return position;
}

void CScrollView::ScrollToPosition(POINT point)
{
    CPoint device(point);
    if (m_nMapMode != MM_TEXT)
    {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.LPtoDP(&device);
    }
    OnScrollBy(CSize(device.x - GetScrollPos(SB_HORZ), device.y - GetScrollPos(SB_VERT)));
}

void CScrollView::OnPrepareDC(CDC* dc)
{
    dc->SetMapMode(m_nMapMode);
    dc->SetViewportOrg(-GetScrollPos(SB_HORZ), -GetScrollPos(SB_VERT));
    CView::OnPrepareDC(dc);
}

void CScrollView::UpdateBars()
{
    // Showing a bar takes room from the window, which may call for the other bar.
    if (m_bInsideUpdate)
        return;
    m_bInsideUpdate = TRUE;
    for (int pass = 0; pass < 2; pass++)
    {
        CRect client;
        GetClientRect(client);
        const int bars[] = { SB_HORZ, SB_VERT };
        for (int bar : bars)
        {
            int total = bar == SB_HORZ ? m_totalDev.cx : m_totalDev.cy;
            int page = bar == SB_HORZ ? client.Width() : client.Height();
            SCROLLINFO info = { sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS };
            info.nMax = total > page ? total - 1 : 0;
            info.nPage = total > page ? page : 0;
            int maxPos = total > page ? total - page : 0;
            int pos = GetScrollPos(bar);
            info.nPos = pos > maxPos ? maxPos : pos;
            // What was scrolled past a shrinking total comes back into view.
            if (info.nPos != pos)
                ScrollWindow(bar == SB_HORZ ? pos - info.nPos : 0,
                             bar == SB_VERT ? pos - info.nPos : 0);
            // A bar with nothing to scroll goes away.
            SetScrollInfo(bar, &info, TRUE);
        }
    }
    m_bInsideUpdate = FALSE;
}

int CScrollView::NewPosition(int bar, UINT code, UINT pos) const
{
    CRect client;
    GetClientRect(client);
    BOOL horizontal = bar == SB_HORZ;
    int page = horizontal ? m_pageDev.cx : m_pageDev.cy;
    if (page == 0)
        page = horizontal ? client.Width() : client.Height();
    int line = horizontal ? m_lineDev.cx : m_lineDev.cy;
    if (line == 0)
        line = page / kLinesPerPage;
    int current = GetScrollPos(bar);
    switch (code)
    {
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return horizontal ? m_totalDev.cx : m_totalDev.cy;
    case SB_LINEUP:
        return current - line;
    case SB_LINEDOWN:
        return current + line;
    case SB_PAGEUP:
        return current - page;
    case SB_PAGEDOWN:
        return current + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
    {
        // The 16-bit position of the message would cut long views short.
        SCROLLINFO info = { sizeof(info), SIF_TRACKPOS };
        return GetScrollInfo(bar, &info, SIF_TRACKPOS) ? info.nTrackPos : (int)pos;
    }
    default:
        return current;
    }
}

BOOL CScrollView::OnScroll(UINT code, UINT pos, BOOL doScroll)
{
    int x = GetScrollPos(SB_HORZ);
    int y = GetScrollPos(SB_VERT);
    UINT horizontal = LOBYTE(code);
    UINT vertical = HIBYTE(code);
    if (horizontal != 0xFF)
        x = NewPosition(SB_HORZ, horizontal, pos);
    if (vertical != 0xFF)
        y = NewPosition(SB_VERT, vertical, pos);
    return OnScrollBy(CSize(x - GetScrollPos(SB_HORZ), y - GetScrollPos(SB_VERT)), doScroll);
}

BOOL CScrollView::OnScrollBy(CSize size, BOOL doScroll)
{
    int x = GetScrollPos(SB_HORZ);
    int y = GetScrollPos(SB_VERT);
    int newX = x + size.cx;
    int newY = y + size.cy;
    int maxX = GetScrollLimit(SB_HORZ);
    int maxY = GetScrollLimit(SB_VERT);
    newX = newX < 0 ? 0 : (newX > maxX ? maxX : newX);
    newY = newY < 0 ? 0 : (newY > maxY ? maxY : newY);
    if (newX == x && newY == y)
        return FALSE;
    if (doScroll)
    {
        ScrollWindow(x - newX, y - newY);
        SetScrollPos(SB_HORZ, newX);
        SetScrollPos(SB_VERT, newY);
    }
    return TRUE;
}

void CScrollView::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        UpdateBars();
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar*)
{
    OnScroll(MAKEWORD(code, 0xFF), pos);
}

void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar*)
{
    OnScroll(MAKEWORD(0xFF, code), pos);
}
