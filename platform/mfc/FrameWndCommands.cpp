// CFrameWnd: command routing, help requests, the bar toggles, border space
// around the pane and the print-preview switch.
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/WinApp.h"

namespace
{
thread_local CFrameWnd* t_routingFrame = NULL;
// The bars a preview hides: one state bit each.
const UINT kPreviewBarCount = 32;
}

CPrintPreviewState::CPrintPreviewState()
    : hMenu(NULL), dwStates(0), hWndFocus(NULL), hAccelTable(NULL)
{
}

CFrameWnd* AfxGetRoutingFrame()
{
    return t_routingFrame;
}

CFrameWnd* AfxSetRoutingFrame(CFrameWnd* frame)
{
    CFrameWnd* previous = t_routingFrame;
    t_routingFrame = frame;
    return previous;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* previous = AfxSetRoutingFrame(this);
    BOOL handled = CWnd::OnCommand(wParam, lParam);
    AfxSetRoutingFrame(previous);
    return handled;
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    // A closing menu (flags 0xFFFF without a menu) and popups track nothing.
    BOOL closing = flags == 0xFFFF && !menu;
    m_nIDTracking = closing || (flags & (MF_POPUP | MF_SEPARATOR)) ? 0 : item;
    SendMessage(WM_SETMESSAGESTRING, m_nIDTracking ? m_nIDTracking : AFX_IDS_IDLEMESSAGE);
    Default();
}

UINT CFrameWnd::CommandHelpId(LPARAM lParam) const
{
    if (lParam)
        return (UINT)lParam;
    return m_nIDTracking ? HID_BASE_COMMAND + m_nIDTracking : 0;
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    UINT helpId = CommandHelpId(lParam);
    if (!helpId && m_nIDHelp)
        helpId = HID_BASE_RESOURCE + m_nIDHelp;
    CWinApp* app = AfxGetApp();
    if (!helpId || !app)
        return FALSE;
    app->WinHelp(helpId, HELP_CONTEXT);
    return TRUE;
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !(bar->GetStyle() & WS_VISIBLE), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar)
    {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

BOOL CFrameWnd::NegotiateBorderSpace(UINT borderCmd, LPRECT borderRect)
{
    CRect free;
    switch (borderCmd)
    {
    case borderGet:
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, borderRect);
        return TRUE;
    case borderRequest:
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &free);
        return borderRect->left + borderRect->right <= free.Width() &&
               borderRect->top + borderRect->bottom <= free.Height();
    case borderSet:
    {
        CRect border(0, 0, 0, 0);
        if (borderRect)
            border = *borderRect;
        if (border != m_rectBorder)
        {
            m_rectBorder = border;
            RecalcLayout();
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state)
{
    if (preview)
    {
        state->hMenu = ::GetMenu(m_hWnd);
        state->hAccelTable = m_hAccelTable;
        state->hWndFocus = ::GetFocus();
        state->dwStates = 0;
        for (UINT n = 0; n < kPreviewBarCount; n++)
        {
            CControlBar* bar = GetControlBar(AFX_IDW_CONTROLBAR_FIRST + n);
            if (bar && (bar->GetStyle() & WS_VISIBLE))
            {
                state->dwStates |= 1u << n;
                ShowControlBar(bar, FALSE, FALSE);
            }
        }
        if (state->hMenu)
            ::SetMenu(m_hWnd, NULL);
        m_hAccelTable = NULL;
    }
    else
    {
        for (UINT n = 0; n < kPreviewBarCount; n++)
        {
            CControlBar* bar = GetControlBar(AFX_IDW_CONTROLBAR_FIRST + n);
            if (bar && (state->dwStates & (1u << n)))
                ShowControlBar(bar, TRUE, FALSE);
        }
        if (state->hMenu)
            ::SetMenu(m_hWnd, state->hMenu);
        m_hAccelTable = state->hAccelTable;
        if (::IsWindow(state->hWndFocus))
            ::SetFocus(state->hWndFocus);
    }
    RecalcLayout();
}

void CFrameWnd::OnUpdateFrameMenu(HMENU altMenu)
{
    // A child frame shows no menu of its own.
    if (GetStyle() & WS_CHILD)
        return;
    HMENU menu = altMenu ? altMenu : m_hMenuDefault;
    if (menu && ::GetMenu(m_hWnd) != menu)
        ::SetMenu(m_hWnd, menu);
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDlgItem(AFX_IDW_STATUS_BAR);
}
