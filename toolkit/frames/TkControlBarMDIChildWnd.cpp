#include "frames/TkControlBarMDIChildWnd.h"
#include "bars/TkDockSite.h"
#include "frames/TkMDIFrameWnd.h"
#include "toolbars/TkSysColors.h"

namespace
{
// The child's dock bar: child, visible, standing bars.
const DWORD kDockBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT;
}

IMPLEMENT_DYNCREATE(TkControlBarMDIChildWnd, TkMDIChildWnd)

BEGIN_MESSAGE_MAP(TkControlBarMDIChildWnd, TkMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TkControlBarMDIChildWnd::TkControlBarMDIChildWnd() : m_wndDockBar(TRUE, TRUE), m_bInLayout(FALSE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

TkControlBarMDIChildWnd::~TkControlBarMDIChildWnd()
{
    if (m_wndDockBar.m_hWnd != NULL)
        m_wndDockBar.DestroyWindow();
}

BOOL TkControlBarMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    BOOL result = TkMDIChildWnd::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return result;
}

BOOL TkControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext*)
{
    BOOL created = m_wndDockBar.Create(GetParentFrame(), kDockBarStyle, AFX_IDW_DOCKBAR_FLOAT);
    if (created)
        m_wndDockBar.SetParent(this);
    return created;
}

CControlBar* TkControlBarMDIChildWnd::GetSingleBar()
{
    if (m_wndDockBar.m_hWnd == NULL || (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI))
        return NULL;
    return m_wndDockBar.GetFirstBar();
}

void TkControlBarMDIChildWnd::RecalcLayout(BOOL notify)
{
    if (m_bInLayout)
        return;
    m_bInLayout = TRUE;
    TkMDIChildWnd::RecalcLayout(notify);
    CString title, current;
    m_wndDockBar.GetWindowText(title);
    GetWindowText(current);
    if (title != current)
        SetWindowText(title);
    m_bInLayout = FALSE;
}

// The child keeps the bar's title.
void TkControlBarMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CString title;
    GetWindowText(title);
    TkMDIChildWnd::OnUpdateFrameTitle(addToTitle);
    SetWindowText(title);
}

// The bar follows the child's size, its borders included.
void TkControlBarMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    CControlBar* bar = GetSingleBar();
    if (bar != NULL && bar->IsVisible()) {
        bar->CalcDynamicLayout(cx + 2 * tkSysColors.m_cxBorder, LM_COMMIT | LM_HORZ);
        bar->CalcDynamicLayout(cy + 2 * tkSysColors.m_cyBorder, LM_COMMIT | LM_LENGTHY | LM_HORZ);
    }
    CMDIChildWnd::OnSize(type, cx, cy);
}

// Closing hides the bar; the child stays for the bar to show again in.
void TkControlBarMDIChildWnd::OnClose()
{
    CControlBar* bar = GetSingleBar();
    if (bar == NULL) {
        TkMDIChildWnd::OnClose();
        return;
    }
    GetParent()->SendMessage(WM_MDIRESTORE, (WPARAM)m_hWnd);
    CFrameWnd* site = bar->m_pDockSite;
    TkDockSite* dockSite = TkDockSite::FromFrame(site);
    if (dockSite != NULL)
        dockSite->ShowControlBar(bar, FALSE, FALSE);
    else if (site != NULL)
        site->ShowControlBar(bar, FALSE, FALSE);
}

// The child's place is the bar's floating place, in screen coordinates, so
// that a mini frame made for the bar later comes up over it.
void TkControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS*)
{
    CControlBar* bar = GetSingleBar();
    if (bar != NULL && bar->m_pDockContext != NULL) {
        CRect rect;
        GetWindowRect(&rect);
        bar->m_pDockContext->m_ptMRUFloatPos = rect.TopLeft();
    }
    Default();
}

void TkControlBarMDIChildWnd::OnShowWindow(BOOL, UINT)
{
    Default();
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != NULL)
        ::PostMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}
