#include "toolkit/frames/TkFloatingBarHost.h"
#include "toolkit/bars/TkDockSite.h"
#include "toolkit/colors/TkSysColors.h"

namespace
{
// The child's dock bar: child, visible, standing bars.
const DWORD kDockBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT;
}

TkFloatingBarHost::TkFloatingBarHost(CMDIChildWnd* child)
    : m_bInLayout(FALSE), m_pChild(child), m_wndDockBar(TRUE, TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

TkFloatingBarHost::~TkFloatingBarHost()
{
    if (m_wndDockBar.m_hWnd != NULL)
        m_wndDockBar.DestroyWindow();
}

CControlBar* TkFloatingBarHost::GetSingleBar()
{
    if (m_wndDockBar.m_hWnd == NULL || (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI))
        return NULL;
    return m_wndDockBar.GetFirstBar();
}

BOOL TkFloatingBarHost::CreateDockBar()
{
    BOOL created = m_wndDockBar.Create(m_pChild->GetParentFrame(), kDockBarStyle, AFX_IDW_DOCKBAR_FLOAT);
    if (created)
        m_wndDockBar.SetParent(m_pChild);
    return created;
}

void TkFloatingBarHost::TakeTitle()
{
    CString title, current;
    m_wndDockBar.GetWindowText(title);
    m_pChild->GetWindowText(current);
    if (title != current)
        m_pChild->SetWindowText(title);
}

void TkFloatingBarHost::SizeBar(int cx, int cy)
{
    CControlBar* bar = GetSingleBar();
    if (bar == NULL || !bar->IsVisible())
        return;
    bar->CalcDynamicLayout(cx + 2 * tkSysColors.m_cxBorder, LM_COMMIT | LM_HORZ);
    bar->CalcDynamicLayout(cy + 2 * tkSysColors.m_cyBorder, LM_COMMIT | LM_LENGTHY | LM_HORZ);
}

BOOL TkFloatingBarHost::HideBarOnClose()
{
    CControlBar* bar = GetSingleBar();
    if (bar == NULL)
        return FALSE;
    m_pChild->GetParent()->SendMessage(WM_MDIRESTORE, (WPARAM)m_pChild->m_hWnd);
    CFrameWnd* site = bar->m_pDockSite;
    TkDockSite* dockSite = TkDockSite::FromFrame(site);
    if (dockSite != NULL)
        dockSite->ShowControlBar(bar, FALSE, FALSE);
    else if (site != NULL)
        site->ShowControlBar(bar, FALSE, FALSE);
    return TRUE;
}

void TkFloatingBarHost::RememberPlace()
{
    CControlBar* bar = GetSingleBar();
    if (bar == NULL || bar->m_pDockContext == NULL)
        return;
    CRect rect;
    m_pChild->GetWindowRect(&rect);
    bar->m_pDockContext->m_ptMRUFloatPos = rect.TopLeft();
}

void TkFloatingBarHost::RefreshWindowMenu()
{
    CMDIFrameWnd* frame = m_pChild->GetMDIFrame();
    if (frame != NULL)
        ::PostMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}
