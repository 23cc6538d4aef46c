#include "toolkit/bars/TkMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(TkMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(TkMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

TkMiniDockFrameWnd::TkMiniDockFrameWnd() : m_tkDockBar(TRUE, FALSE), m_bInLayout(FALSE)
{
    m_tkDockBar.m_bAutoDelete = FALSE;
}

BOOL TkMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle)
{
    m_bInLayout = TRUE;
    BOOL created = CMiniDockFrameWnd::Create(parent, barStyle);
    m_bInLayout = FALSE;
    return created;
}

void TkMiniDockFrameWnd::RecalcLayout(BOOL notify)
{
    if (!m_bInLayout)
        CMiniDockFrameWnd::RecalcLayout(notify);
}

void TkMiniDockFrameWnd::RecalcLayoutAt(int x, int y, BOOL notify)
{
    if (m_bInLayout)
        return;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    m_bInLayout = TRUE;
    // The base layout sizes a snapping frame to its bars and takes the
    // dock bar's caption.
    CMiniDockFrameWnd::RecalcLayout(notify);
    if (GetStyle() & FWS_SNAPTOBARS)
        SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bInLayout = FALSE;
}

// A click in a floating bar brings its frame to the top first.
void TkMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM)
{
    if (LOWORD(message) == WM_LBUTTONDOWN || LOWORD(message) == WM_RBUTTONDOWN)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Default();
}
