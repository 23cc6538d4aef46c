#include "toolkit/frames/TkControlBarMDIChildWnd.h"

IMPLEMENT_DYNCREATE(TkControlBarMDIChildWnd, TkMDIChildWnd)

BEGIN_MESSAGE_MAP(TkControlBarMDIChildWnd, TkMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TkControlBarMDIChildWnd::TkControlBarMDIChildWnd() : m_host(this)
{
}

BOOL TkControlBarMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    BOOL result = TkMDIChildWnd::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return result;
}

BOOL TkControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext*)
{
    return m_host.CreateDockBar();
}

void TkControlBarMDIChildWnd::RecalcLayout(BOOL notify)
{
    if (m_host.m_bInLayout)
        return;
    m_host.m_bInLayout = TRUE;
    TkMDIChildWnd::RecalcLayout(notify);
    m_host.TakeTitle();
    m_host.m_bInLayout = FALSE;
}

// The child keeps the bar's title.
void TkControlBarMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CString title;
    GetWindowText(title);
    TkMDIChildWnd::OnUpdateFrameTitle(addToTitle);
    SetWindowText(title);
}

void TkControlBarMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    m_host.SizeBar(cx, cy);
    TkMDIChildWnd::OnSize(type, cx, cy);
}

// Closing hides the bar; the child stays for the bar to show again in.
void TkControlBarMDIChildWnd::OnClose()
{
    if (!m_host.HideBarOnClose())
        TkMDIChildWnd::OnClose();
}

// A mini frame made for the bar later comes up over the child.
void TkControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS*)
{
    m_host.RememberPlace();
    Default();
}

void TkControlBarMDIChildWnd::OnShowWindow(BOOL, UINT)
{
    Default();
    m_host.RefreshWindowMenu();
}
