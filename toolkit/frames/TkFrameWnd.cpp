#include "frames/TkFrameWnd.h"
#include "bars/TkDockBar.h"

IMPLEMENT_DYNCREATE(TkFrameWnd, CFrameWnd)

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
