#include "bars/TkMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(TkMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(TkMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

TkMiniDockFrameWnd::TkMiniDockFrameWnd() : m_tkDockBar(TRUE, FALSE)
{
    m_tkDockBar.m_bAutoDelete = FALSE;
}

// A click in a floating bar brings its frame to the top first.
void TkMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM)
{
    if (LOWORD(message) == WM_LBUTTONDOWN || LOWORD(message) == WM_RBUTTONDOWN)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Default();
}
