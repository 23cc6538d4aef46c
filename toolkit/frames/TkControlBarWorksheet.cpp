#include "toolkit/frames/TkControlBarWorksheet.h"

IMPLEMENT_DYNCREATE(TkControlBarWorksheet, TkWorksheet)

BEGIN_MESSAGE_MAP(TkControlBarWorksheet, TkWorksheet)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TkControlBarWorksheet::TkControlBarWorksheet() : m_host(this)
{
}

BOOL TkControlBarWorksheet::PreCreateWindow(CREATESTRUCTA& cs)
{
    BOOL result = TkWorksheet::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return result;
}

BOOL TkControlBarWorksheet::OnCreateClient(LPCREATESTRUCTA, CCreateContext*)
{
    m_host.m_bInLayout = TRUE;
    BOOL created = m_host.CreateDockBar();
    m_host.m_bInLayout = FALSE;
    return created;
}

void TkControlBarWorksheet::RecalcLayout(BOOL notify)
{
    if (m_host.m_bInLayout)
        return;
    m_host.m_bInLayout = TRUE;
    TkWorksheet::RecalcLayout(notify);
    m_host.TakeTitle();
    m_host.m_bInLayout = FALSE;
}

void TkControlBarWorksheet::OnUpdateFrameTitle(BOOL addToTitle)
{
    CString title;
    GetWindowText(title);
    TkWorksheet::OnUpdateFrameTitle(addToTitle);
    SetWindowText(title);
}

void TkControlBarWorksheet::OnSize(UINT type, int cx, int cy)
{
    m_host.SizeBar(cx, cy);
    TkWorksheet::OnSize(type, cx, cy);
}

void TkControlBarWorksheet::OnClose()
{
    if (!m_host.HideBarOnClose())
        TkWorksheet::OnClose();
}

void TkControlBarWorksheet::OnWindowPosChanged(WINDOWPOS*)
{
    m_host.RememberPlace();
    Default();
}

void TkControlBarWorksheet::OnShowWindow(BOOL show, UINT status)
{
    TkWorksheet::OnShowWindow(show, status);
    m_host.RefreshWindowMenu();
}
