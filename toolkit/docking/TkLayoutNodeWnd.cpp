#include "toolkit/docking/TkLayoutNodeWnd.h"
#include "toolkit/docking/TkLNContainer.h"

#include <algorithm>

int TkLayoutNodeWnd::GetDeferCount()
{
    return 1;
}

BOOL TkLayoutNodeWnd::IsNodeValid()
{
    return m_hWnd != NULL;
}

BOOL TkLayoutNodeWnd::RealizeNode(HDWP& deferral, LPARAM)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    CRect r = GetCurrentRect();
    UINT flags = SWP_NOZORDER;
    if (GetNodeStyle() & kDeferErase)
        flags |= SWP_NOREDRAW;
    if (ITkLNContainer* container = GetNodeContainer())
        container->PreNodeRectToScreen(r);
    int width = std::max(r.Width(), 0);
    int height = std::max(r.Height(), 0);
    if (!deferral)
        return ::SetWindowPos(m_hWnd, NULL, r.left, r.top, width, height, flags);
    deferral = ::DeferWindowPos(deferral, m_hWnd, NULL, r.left, r.top, width, height, flags);
    return deferral != NULL;
}

void TkLayoutNodeWnd::InvalidateNodeRect(const CRect& rect, BOOL erase)
{
    if (!m_hWndParent || !m_hWnd)
        return;
    if (erase)
        ::InvalidateRect(m_hWndParent, rect, TRUE);
    else
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE);
}

HWND TkLayoutNodeWnd::GetNodeWnd()
{
    return m_hWnd;
}

BOOL TkLayoutNodeWnd::ReparentWnd(HWND parent)
{
    m_hWndParent = parent;
    return m_hWnd && parent && ::SetParent(m_hWnd, parent) != NULL;
}

BOOL TkLayoutNodeWnd::ShowNode(BOOL show)
{
    if (!TkDefHideableNode::ShowNode(show))
        return FALSE;
    if (m_hWnd)
        ::ShowWindow(m_hWnd, show ? SW_SHOWNORMAL : SW_HIDE);
    return TRUE;
}

BOOL TkLayoutNodeWnd::AttachWnd(HWND window, CWnd* parent)
{
    if (!window || !parent || !parent->GetSafeHwnd())
        return FALSE;
    CRect rect;
    if (!::GetWindowRect(window, &rect))
        return FALSE;
    m_hWnd = window;
    m_hWndParent = parent->GetSafeHwnd();
    ::MapWindowPoints(NULL, m_hWndParent, (LPPOINT)&rect, 2);
    InitRects(rect);
    return TRUE;
}

BOOL TkLayoutNodeWnd::AttachWnd(CWnd* window, CWnd* parent)
{
    return window && AttachWnd(window->GetSafeHwnd(), parent);
}

BOOL TkLayoutNodeWnd::AttachDlgItem(int id, CWnd* parent)
{
    if (!parent || !parent->GetSafeHwnd())
        return FALSE;
    return AttachWnd(::GetDlgItem(parent->GetSafeHwnd(), id), parent);
}

void DetachFromContainer(TkLayoutNode* root, ITkLNContainer* container)
{
    if (!root || !container)
        return;
    root->ForEachInSubtree([container](TkLayoutNode* node) {
        ITkReparentableNode* reparentable = dynamic_cast<ITkReparentableNode*>(node);
        if (reparentable && reparentable->GetNodeContainer() == container)
            reparentable->SetNodeContainer(NULL);
    });
}
