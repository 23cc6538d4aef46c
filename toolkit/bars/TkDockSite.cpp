#include "toolkit/bars/TkDockSite.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"

namespace
{
// Shown or hidden without moving, sizing, z-order change or activation.
const UINT kShowFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
}

const TkDockSite::Side TkDockSite::kSides[4] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

DWORD TkDockSite::FloatingStyle(CControlBar* bar, DWORD style)
{
    if (!(bar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return style;
    style |= CBRS_SIZE_DYNAMIC;
    if (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT))
        style = (style & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    return style;
}

TkDockBar* TkDockSite::LoneFloatingDockBar(CControlBar* bar, BOOL mdiChild, DWORD style)
{
    CDockBar* dockBar = bar->m_pDockBar;
    if (dockBar == NULL || !dockBar->m_bFloating || dockBar->GetDockedCount() != 1 ||
        !dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)) || !(dockBar->m_dwStyle & style & CBRS_ALIGN_ANY))
        return NULL;
    TkDockBar* tkDockBar = static_cast<TkDockBar*>(dockBar);
    return (tkDockBar->m_bMDIChild != 0) == (mdiChild != 0) ? tkDockBar : NULL;
}

CDockBar* TkDockSite::SideDockBarFor(CControlBar* bar)
{
    CFrameWnd* frame = GetSiteFrame();
    for (const Side& side : kSides)
    {
        if (!((side.style ^ bar->m_dwStyle) & CBRS_ALIGN_ANY))
            return static_cast<CDockBar*>(frame->GetControlBar(side.id));
    }
    // A bar that never lay on a side takes the first its dock style allows.
    return frame->FindDockBarFor(bar);
}

TkControlBar* TkDockSite::BeginDock(CControlBar* bar)
{
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL)
        tkBar->BeforeDock();
    CFrameWnd* hosted = bar->IsFloating() ? GetHostedFrame(bar) : NULL;
    if (hosted != NULL)
        SetHostedFrameStyle(hosted, FALSE);
    return tkBar;
}

void TkDockSite::DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    TkControlBar* tkBar = BeginDock(bar);
    if (dockBar == NULL)
        dockBar = SideDockBarFor(bar);
    if (dockBar != NULL)
        dockBar->DockControlBar(bar, rect);
    if (tkBar != NULL)
        tkBar->AfterDock();
}

void TkDockSite::ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    TkControlBar* tkBar = BeginDock(bar);
    for (const Side& side : kSides)
    {
        CDockBar* candidate = static_cast<CDockBar*>(GetSiteFrame()->GetControlBar(side.id));
        if (dockBar == NULL && candidate != NULL &&
            candidate->FindBar(CDockBar::Placeholder(bar->GetDlgCtrlID())) > 0)
            dockBar = candidate;
    }
    if (dockBar == NULL)
        dockBar = SideDockBarFor(bar);
    if (dockBar != NULL)
        dockBar->ReDockControlBar(bar, rect);
    if (tkBar != NULL)
        tkBar->AfterDock();
}

CMiniDockFrameWnd* TkDockSite::FloatInNewMiniFrame(CControlBar* bar, int x, int y, DWORD style)
{
    CMiniDockFrameWnd* frame = GetSiteFrame()->CreateFloatingFrame(FloatingStyle(bar, style));
    if (frame == NULL)
        return NULL;
    frame->GetDockBar()->DockControlBar(bar);
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL && !(tkBar->m_dwExStyle & TKCBRS_FIXEDSIZE))
        frame->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, SWP_NOMOVE | SWP_NOSIZE);
    CFrameWnd* hosted = GetHostedFrame(bar);
    if (hosted != NULL)
        SetHostedFrameStyle(hosted, TRUE);
    frame->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout(TRUE);
    return frame;
}

void TkDockSite::FloatControlBarEx(CControlBar* bar, int x, int y, DWORD style)
{
    TkDockBar* alone = LoneFloatingDockBar(bar, FALSE, style);
    if (alone != NULL)
    {
        CFrameWnd* frame = alone->GetParentFrame();
        frame->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        CFrameWnd* hosted = GetHostedFrame(bar);
        if (hosted != NULL)
            FitHostedFrame(hosted);
        frame->UpdateWindow();
        return;
    }
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL)
        tkBar->BeforeFloat();
    CMiniDockFrameWnd* frame = FloatInNewMiniFrame(bar, x, y, style);
    if (frame != NULL && (bar->GetStyle() & WS_VISIBLE))
    {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
    CFrameWnd* hosted = frame != NULL ? GetHostedFrame(bar) : NULL;
    if (hosted != NULL)
        FitHostedFrame(hosted);
    if (tkBar != NULL)
        tkBar->AfterFloat();
}

void TkDockSite::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL)
        tkBar->BeforeFloat();
    CMiniDockFrameWnd* frame = FloatInNewMiniFrame(bar, point.x, point.y, style);
    if (frame != NULL)
    {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
        CFrameWnd* hosted = GetHostedFrame(bar);
        if (hosted != NULL)
            FitHostedFrame(hosted);
    }
    if (tkBar != NULL)
        tkBar->AfterFloat();
}

void TkDockSite::FloatControlBarInMDIChild(CControlBar*, int, int, DWORD)
{
}

CMDIChildWnd* TkDockSite::CreateFloatingMDIChild(DWORD, CControlBar*)
{
    return NULL;
}

void TkDockSite::ShowFloatingFrameOf(CControlBar* bar, BOOL show, BOOL delay)
{
    CFrameWnd* frame = bar->m_pDockBar->GetParentFrame();
    int visible = bar->m_pDockBar->GetDockedVisibleCount();
    if (!show && visible == 0)
    {
        if (delay)
            frame->DelayRecalcLayout();
        frame->ShowWindow(SW_HIDE);
    }
    else if (show && visible > 0)
    {
        frame->ShowWindow(SW_SHOWNA);
        frame->RecalcLayout();
    }
}

void TkDockSite::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    CFrameWnd* dockFrame = bar->GetDockingFrame();
    if (delay)
    {
        bar->DelayShow(show);
        dockFrame->DelayRecalcLayout();
    }
    else
    {
        bar->SetWindowPos(NULL, 0, 0, 0, 0, kShowFlags | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        bar->DelayShow(show);
        if (show || !bar->IsFloating())
            dockFrame->RecalcLayout();
    }
    if (bar->IsFloating() && bar->m_pDockBar != NULL)
        ShowFloatingFrameOf(bar, show, delay);
    if (bar->m_pDockBar != NULL && bar->m_pDockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        static_cast<TkDockBar*>(bar->m_pDockBar)->OnBarRemoved(bar);
}

CFrameWnd* TkDockSite::GetHostedFrame(CControlBar*)
{
    return NULL;
}

void TkDockSite::SetHostedFrameStyle(CFrameWnd*, BOOL)
{
}

void TkDockSite::FitHostedFrame(CFrameWnd*)
{
}
