#include "toolkit/docking/TkLNFloatingHwndContainer.h"
#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkLayoutMiniFloatWnd.h"

#include <afxtempl.h>

namespace
{
CTypedPtrList<CPtrList, TkLayoutMiniFloatWnd*> g_spares(10);

// A float window showing the dragged node's tree must outlive the drag.
BOOL ShowsDraggedNode(TkLayoutMiniFloatWnd* window)
{
    TkLayoutNode* dragged = TkGetDraggedNode();
    TkLayoutNode* root = window->GetRootNode();
    return dragged && (root == dragged || root == dragged->GetRootNode());
}
}

TkLNFloatingHwndContainer::TkLNFloatingHwndContainer()
    : TkLNHwndContainer(HWND(NULL)), m_window(NULL), m_clientOffset(0, 0), m_manager(NULL)
{
}

// A window destroyed with its owner has deleted itself already.
TkLNFloatingHwndContainer::~TkLNFloatingHwndContainer()
{
    if (!m_window || CWnd::FromHandlePermanent(GetContainerWnd()) != m_window)
        return;
    g_spares.AddTail(m_window);
    m_window->ShowWindow(SW_HIDE);
    m_window->DetachListener();
}

BOOL TkLNFloatingHwndContainer::PreNodeRectToScreen(CRect& rect)
{
    rect.OffsetRect(-m_clientOffset);
    return TRUE;
}

BOOL TkLNFloatingHwndContainer::PreNodePointToScreen(CPoint& point)
{
    point -= m_clientOffset;
    return TRUE;
}

BOOL TkLNFloatingHwndContainer::PostScreenRectToNode(CRect& rect)
{
    rect.OffsetRect(m_clientOffset);
    return TRUE;
}

BOOL TkLNFloatingHwndContainer::PostScreenPointToNode(CPoint& point)
{
    point += m_clientOffset;
    return TRUE;
}

BOOL TkLNFloatingHwndContainer::GetFrameBorders(int* left, int* top, int* right, int* bottom)
{
    HWND window = GetContainerWnd();
    if (!::IsWindow(window))
        return FALSE;
    // Measured at a size where the frame surely fits; a shown window then
    // gets its size back rather than covering the screen.
    CRect before;
    ::GetWindowRect(window, &before);
    const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(window, NULL, 0, 0, 1000, 1000, keep);
    CRect outer, client;
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    ::ClientToScreen(window, &client.TopLeft());
    ::ClientToScreen(window, &client.BottomRight());
    ::SetWindowPos(window, NULL, 0, 0, before.Width(), before.Height(), keep);
    m_clientOffset = CPoint(client.left - outer.left, client.top - outer.top);
    if (left)
        *left = m_clientOffset.x;
    if (top)
        *top = m_clientOffset.y;
    if (right)
        *right = outer.right - client.right;
    if (bottom)
        *bottom = outer.bottom - client.bottom;
    return TRUE;
}

BOOL TkLNFloatingHwndContainer::Place(const CRect& screenRect)
{
    return m_window && m_window->PlaceAndAttach(screenRect, m_manager);
}

BOOL TkLNFloatingHwndContainer::IsVisible()
{
    HWND window = GetContainerWnd();
    return m_window && ::IsWindow(window) && ::IsWindowVisible(window);
}

BOOL TkLNFloatingHwndContainer::CreateFloatWindow(TkLayoutNode* root, CWnd* parent, LPCSTR title,
                                                  BOOL hideOnClose, BOOL withCloseItem)
{
    if (!root)
        return FALSE;
    TkLayoutMiniFloatWnd* window = NewFloatWindow();
    if (!window)
        return FALSE;
    if (!window->Create(parent, root, title, hideOnClose, withCloseItem))
    {
        delete window;
        return FALSE;
    }
    DestroySpares();
    m_window = window;
    SetContainerWnd(window->m_hWnd);
    return TRUE;
}

TkLayoutMiniFloatWnd* TkLNFloatingHwndContainer::NewFloatWindow()
{
    return new TkLayoutMiniFloatWnd;
}

int TkLNFloatingHwndContainer::GetSpareCount()
{
    return (int)g_spares.GetCount();
}

// With no drag running the spares stay: the node they showed may be the
// one about to be dragged.
void TkLNFloatingHwndContainer::DestroySpares()
{
    if (!TkGetDraggedNode())
        return;
    for (POSITION p = g_spares.GetHeadPosition(); p;)
    {
        POSITION here = p;
        TkLayoutMiniFloatWnd* window = g_spares.GetNext(p);
        if (ShowsDraggedNode(window))
            continue;
        g_spares.RemoveAt(here);
        // The frame deletes itself when its window is destroyed.
        window->DestroyWindow();
    }
}

void TkLNFloatingHwndContainer::ForgetSpare(TkLayoutMiniFloatWnd* window)
{
    if (POSITION p = g_spares.Find(window))
        g_spares.RemoveAt(p);
}
