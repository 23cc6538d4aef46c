#include "toolkit/docking/TkLayoutWndListener.h"

BEGIN_MESSAGE_MAP(TkLayoutWndListener, TkWndListener)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

TkLayoutWndListener::TkLayoutWndListener()
    : m_root(NULL), m_useWindowRect(FALSE), m_layOutOnSize(TRUE)
{
}

BOOL TkLayoutWndListener::SetLayoutNode(TkLayoutNode* node)
{
    m_root = node;
    return TRUE;
}

TkLayoutNode* TkLayoutWndListener::GetLayoutNode()
{
    return m_root;
}

BOOL TkLayoutWndListener::SetAutoLayout(BOOL layOutOnSize)
{
    m_layOutOnSize = layOutOnSize;
    return layOutOnSize;
}

BOOL TkLayoutWndListener::InitLayout(TkLayoutNode* node, CWnd* window, const CRect& rect,
                                     LPARAM plugArgument, BOOL layOutNow)
{
    if (!node || !window)
        return FALSE;
    node->InitRects(rect);
    node->OnNodeInit(TRUE);
    if (!PlugInToWnd(window, plugArgument))
        return FALSE;
    SetLayoutNode(node);
    if (layOutNow)
    {
        CRect result;
        node->RecalcLayout(result, rect, FALSE, TRUE);
        node->RealizeNodes(0);
        node->InvalidateNodes(FALSE, TRUE);
    }
    return TRUE;
}

BOOL TkLayoutWndListener::AutoInitLayout(TkLayoutNode* node, CWnd* window, LPARAM plugArgument,
                                         BOOL layOutNow, BOOL useWindowRect)
{
    if (!window || !window->GetSafeHwnd())
        return FALSE;
    m_useWindowRect = useWindowRect;
    CRect rect;
    if (useWindowRect)
    {
        window->GetWindowRect(rect);
        rect.OffsetRect(-rect.left, -rect.top);
    }
    else
        window->GetClientRect(rect);
    return InitLayout(node, window, rect, plugArgument, layOutNow);
}

void TkLayoutWndListener::OnSize(UINT, int cx, int cy)
{
    Default();
    if (!m_root || !m_layOutOnSize)
        return;
    if (m_useWindowRect && m_hWnd)
    {
        CRect window;
        GetWindowRect(window);
        cx = window.Width();
        cy = window.Height();
    }
    CRect current = m_root->GetCurrentRect();
    CRect rect(current.left, current.top, current.left + cx, current.top + cy);
    CRect result;
    m_root->RecalcLayout(result, rect, FALSE, TRUE);
    m_root->RealizeNodes(0);
}

void TkLayoutWndListener::OnGetMinMaxInfo(MINMAXINFO* info)
{
    Default();
    if (!m_root || !info)
        return;
    CSize minimum, maximum;
    DWORD flags = 0;
    m_root->GetSizeLimits(&minimum, &maximum, &flags);
    CRect window, client;
    GetWindowRect(window);
    GetClientRect(client);
    CSize frame(window.Width() - client.Width(), window.Height() - client.Height());
    if (!(flags & TkLayoutNode::kNoMinimum))
        info->ptMinTrackSize = CPoint(minimum + frame);
    if (!(flags & TkLayoutNode::kNoMaximum))
        info->ptMaxTrackSize = CPoint(maximum + frame);
}

BOOL TkLayoutWndListener::OnEraseBkgnd(CDC*)
{
    Default();
    if (m_root)
        m_root->OnEraseNodeBkgnd(TRUE, NULL);
    return FALSE;
}

void TkLayoutWndListener::OnPaint()
{
    Default();
    if (m_root)
        m_root->OnPaintNode(TRUE, NULL);
}

void TkLayoutWndListener::OnMeasureItem(int, LPMEASUREITEMSTRUCT)
{
    Default();
    SetRoutingFlags(kStop);
}
