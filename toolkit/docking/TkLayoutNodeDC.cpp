#include "toolkit/docking/TkLayoutNodeDC.h"

#include <afxwin.h>

BOOL TkLayoutNodeDCBase::IsNodeValid()
{
    return m_hWnd != NULL;
}

int TkLayoutNodeDCBase::GetDeferCount()
{
    return 1;
}

BOOL TkLayoutNodeDCBase::RealizeNode(HDWP&, LPARAM)
{
    OnPaintNode(FALSE, NULL);
    return TRUE;
}

void TkLayoutNodeDCBase::InvalidateNodeRect(const CRect& rect, BOOL erase)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, rect, erase);
}

void TkLayoutNodeDCBase::SetNodeWnd(HWND window)
{
    m_hWnd = window;
}

void TkLayoutNodeDCBase::DrawNode(CDC*, const CRect&)
{
}

void TkLayoutNodeDCBase::OnPaintNode(BOOL broadcast, HDC dc)
{
    HDC drawing = dc ? dc : (m_hWnd ? ::GetDC(m_hWnd) : NULL);
    if (drawing)
    {
        POINT origin;
        ::GetViewportOrgEx(drawing, &origin);
        ::SetViewportOrgEx(drawing, origin.x - m_containerOffset.x,
                           origin.y - m_containerOffset.y, NULL);
        DrawNode(CDC::FromHandle(drawing), GetCurrentRect());
        ::SetViewportOrgEx(drawing, origin.x, origin.y, NULL);
        if (!dc)
            ::ReleaseDC(m_hWnd, drawing);
    }
    TkLayoutNode::OnPaintNode(broadcast, dc);
}

BOOL TkLayoutNodeDC::ShowNode(BOOL show)
{
    if (!TkDefHideableNode::ShowNode(show))
        return FALSE;
    InvalidateNodeRect(GetCurrentRect(), TRUE);
    return TRUE;
}

void TkLayoutNodeDC::OnPaintNode(BOOL broadcast, HDC dc)
{
    if (IsNodeVisible())
        TkLayoutNodeDCBase::OnPaintNode(broadcast, dc);
    else
        TkLayoutNode::OnPaintNode(broadcast, dc);
}
