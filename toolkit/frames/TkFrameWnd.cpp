#include "frames/TkFrameWnd.h"
#include "bars/TkControlBar.h"
#include "bars/TkDockBar.h"
#include "bars/TkMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(TkFrameWnd, CFrameWnd)

TkFrameWnd::TkFrameWnd()
{
    m_pFloatingFrameClass = RUNTIME_CLASS(TkMiniDockFrameWnd);
}

void TkFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dockBar = static_cast<CDockBar*>(dockBarId != 0 ? GetControlBar(dockBarId) : NULL);
    DockControlBar(bar, dockBar, rect);
}

void TkFrameWnd::DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row,
                                  float proportion, int length)
{
    TkControlBar* tkBar = BeginDock(bar);
    CDockBar* dockBar = static_cast<CDockBar*>(GetControlBar(dockBarId));
    if (dockBar == NULL)
        dockBar = SideDockBarFor(bar);
    if (tkBar != NULL)
        tkBar->m_fProportion = proportion;
    DWORD mode = LM_VERTDOCK;
    if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
        mode = LM_MRUWIDTH | LM_HORZ | LM_LENGTHY;
    else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
        mode = LM_HORZDOCK | LM_HORZ | LM_LENGTHY;
    bar->CalcDynamicLayout(length, mode | LM_COMMIT);
    if (dockBar != NULL && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        static_cast<TkDockBar*>(dockBar)->DockControlBarAt(bar, TkDockBar::Position{row, column, 0});
    else if (dockBar != NULL)
        dockBar->DockControlBar(bar);
    if (tkBar != NULL)
        tkBar->AfterDock();
}

CDockBar* TkFrameWnd::CreateDockBar()
{
    return new TkDockBar(FALSE, FALSE);
}

void TkFrameWnd::OnUpdateFrameMenu(BOOL, CWnd*, HMENU altMenu)
{
    CFrameWnd::OnUpdateFrameMenu(altMenu);
}

void TkFrameWnd::OnUpdateFrameMenu(HMENU altMenu)
{
    OnUpdateFrameMenu(TRUE, this, altMenu);
}

BOOL TkFrameWnd::IsFloating()
{
    return FALSE;
}

void TkFrameWnd::SetFeatures(UINT)
{
}
