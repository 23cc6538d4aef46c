#include "toolkit/buttons/TkPopupColorWell.h"

IMPLEMENT_DYNCREATE(TkPopupColorWell, TkColorWell)

BEGIN_MESSAGE_MAP(TkPopupColorWell, TkColorWell)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TkPopupColorWell::TkPopupColorWell() : m_pNotifyWnd(NULL), m_bActive(FALSE)
{
    m_bBorder = FALSE;
}

LPCSTR TkPopupColorWell::GetClassName()
{
    return AfxRegisterWndClass(CS_SAVEBITS | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
}

BOOL TkPopupColorWell::TrackPopup(DWORD style, const RECT& anchor, CWnd* parent, UINT id,
                                  CWnd* notifyWnd, BOOL customOption)
{
    m_pNotifyWnd = notifyWnd;
    const DWORD popupStyle = style | WS_POPUP | TKCWS_WIDEMARGIN;
    InitLayout(popupStyle, customOption);
    int x = 0, y = 0;
    const CSize size = CalcSize(parent, x, y, FALSE);
    x = anchor.left;
    y = anchor.bottom;
    if (y + size.cy > GetSystemMetrics(SM_CYSCREEN))
        y = anchor.top - size.cy;
    if (x + size.cx > GetSystemMetrics(SM_CXSCREEN))
        x = anchor.right - size.cx;
    if (!CreateWell(popupStyle, x, y, size, parent, id, WS_EX_TOOLWINDOW))
        return FALSE;
    SetFocus();
    SetHoverTracking(TRUE);
    SetCapture();
    m_bActive = TRUE;
    return TRUE;
}

void TkPopupColorWell::Close()
{
    m_bActive = FALSE;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    DestroyWindow();
}

void TkPopupColorWell::NotifySelection(int how)
{
    if (how != kByChoice)
        return;
    const COLORREF color = GetColor();
    CWnd* notify = m_pNotifyWnd;
    Close();
    if (notify)
        notify->SendMessage(WM_TKCOLORWELL_SELECT, 0, (LPARAM)color);
}

void TkPopupColorWell::OnOther()
{
    if (m_pNotifyWnd)
        m_pNotifyWnd->PostMessage(WM_TKCOLORWELL_OTHER);
    Close();
}

void TkPopupColorWell::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    switch (key)
    {
    case VK_TAB:
        if (m_pOtherButton)
            m_pOtherButton->SetFocus();
        break;
    case VK_RETURN:
        NotifySelection(kByChoice);
        break;
    case VK_ESCAPE:
        Close();
        break;
    case VK_SPACE:
        break;
    default:
        TkColorWell::OnKeyDown(key, repeat, flags);
    }
}

void TkPopupColorWell::OnKeyUp(UINT key, UINT, UINT)
{
    if (key == VK_SPACE)
        NotifySelection(kByChoice);
    else
        Default();
}

void TkPopupColorWell::OnLButtonDown(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
    {
        PassOnPress(point);
        return;
    }
    if (m_pOtherButton)
    {
        CRect other;
        m_pOtherButton->GetWindowRect(&other);
        ScreenToClient(&other);
        if (other.PtInRect(point))
        {
            OnOther();
            return;
        }
    }
    TkColorWell::OnLButtonDown(flags, point);
}

// A press outside closes the popup and goes on to the window under the mouse,
// except on the notify window (the well button), which would open it again.
void TkPopupColorWell::PassOnPress(CPoint point)
{
    ClientToScreen(&point);
    const HWND under = ::WindowFromPoint(point);
    if (m_pNotifyWnd && under == m_pNotifyWnd->GetSafeHwnd())
        return;
    Close();
    if (!under)
        return;
    ::ScreenToClient(under, &point);
    ::PostMessage(under, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void TkPopupColorWell::OnKillFocus(CWnd* newWnd)
{
    TkColorWell::OnKillFocus(newWnd);
    if (m_bActive && !(newWnd && IsChild(newWnd)))
        Close();
}

void TkPopupColorWell::OnNcDestroy()
{
    m_bActive = FALSE;
    CWnd::OnNcDestroy();
}
