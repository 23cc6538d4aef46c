#include "toolkit/menus/TkMenuBarMessages.h"

#include "toolkit/menus/TkCaptionButtons.h"
#include "toolkit/menus/TkMenuTemplate.h"

const UINT WM_TK_MENUPROD = ::RegisterWindowMessageA("WM_TK_MENUPROD");
const UINT WM_TKGETMENU = ::RegisterWindowMessageA("WM_TKGETMENU");

namespace
{
// The frames of docked and floating views have no menu of their own: while
// one is active the bar shows the main frame's menu.
const UINT kDockedViewFrameId = 20514;
// SC_MOUSEMENU for a click on the system-menu icon.
const UINT kSysMenuClick = SC_MOUSEMENU + HTSYSMENU;

// The thread's tracking state.
struct TrackingState
{
    POINT lastMouse;
    HWND popupBar;
    TkMenuBarMessages* tracking;
    HHOOK filterHook;
    HHOOK keyboardHook;
    HHOOK mouseHook;
    BOOL systemMenu;
    // When a click on the frame's icon closed the system menu: a second
    // click within the double-click time closes the frame.
    DWORD iconClickTime;
    BOOL iconClicked;
    // The popup's button in screen coordinates while it is tracked.
    RECT button;
    // One pending drop-down request, kept for reuse.
    BOOL pending;
    TkTBNotify request;
};
TrackingState s_state;

CPoint PointOf(LPARAM lParam)
{
    return CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
}

// The character a key makes, lower-cased by the code page's rules; 0 for
// keys without one (function keys, Insert, arrows).
char CharOfKey(WPARAM key)
{
    UINT ch = ::MapVirtualKeyA((UINT)key, MAPVK_VK_TO_CHAR) & 0x7FFF;
    if (ch == 0 || ch > 0xFF)
        return 0;
    return (char)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)ch);
}

char LowerChar(LPARAM ch)
{
    return (char)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)ch);
}

BOOL IsSystemMenuKey(char ch)
{
    return ch == ' ' || ch == '-';
}

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    TkMenuBarMessages* tracking = s_state.tracking;
    if (code != MSGF_MENU || !tracking || !msg)
        return ::CallNextHookEx(s_state.filterHook, code, wParam, lParam);
    switch (msg->message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    {
        if (s_state.systemMenu && msg->message != WM_MOUSEMOVE &&
            tracking->OnSystemMenuClick(msg))
            return TRUE;
        if (msg->message == WM_LBUTTONDBLCLK)
            break;
        // The menu loop's mouse messages carry screen points.
        CPoint point = PointOf(msg->lParam);
        if (msg->message == WM_MOUSEMOVE && point.x == s_state.lastMouse.x &&
            point.y == s_state.lastMouse.y)
            return TRUE;
        s_state.lastMouse = point;
        TkMenuBar* bar = tracking->GetMenuBar();
        if (s_state.popupBar && ::WindowFromPoint(point) == s_state.popupBar && bar)
        {
            MSG copy = *msg;
            copy.pt = point;
            if (bar->FilterMenuMouse(&copy))
                return TRUE;
        }
        break;
    }
    case WM_KEYDOWN:
        if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)
            tracking->PostMenuProd(msg->wParam == VK_RIGHT);
        break;
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU)
            tracking->OnAltKey();
        break;
    }
    return ::CallNextHookEx(s_state.filterHook, code, wParam, lParam);
}

// Menu mode's keys. What opens a popup is posted to the frame: the key is
// still the thread's current input while its hook runs, and a menu loop
// started here would read it again.
LRESULT CALLBACK MenuKeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    TkMenuBarMessages* tracking = s_state.tracking;
    if (code != HC_ACTION || !tracking || wParam == VK_MENU)
        return ::CallNextHookEx(s_state.keyboardHook, code, wParam, lParam);
    if (lParam & 0x80000000)
        return TRUE;
    CWnd* frame = tracking->GetFrame();
    switch (wParam)
    {
    case VK_ESCAPE:
        tracking->CancelMenu();
        break;
    case VK_LEFT:
    case VK_RIGHT:
        tracking->PostMenuProd(wParam == VK_RIGHT);
        break;
    case VK_DOWN:
        if (frame)
            frame->PostMessage(WM_TK_MENUPROD, kTkProdDropHot, 0);
        break;
    default:
        if (frame)
            frame->PostMessage(WM_TK_MENUPROD, kTkProdKey, (BYTE)CharOfKey(wParam));
        break;
    }
    return TRUE;
}

LRESULT CALLBACK MenuMouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    TkMenuBarMessages* tracking = s_state.tracking;
    const MOUSEHOOKSTRUCT* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && tracking && mouse)
    {
        if (wParam == WM_MOUSEMOVE && (mouse->pt.x != s_state.lastMouse.x ||
                                       mouse->pt.y != s_state.lastMouse.y))
        {
            s_state.lastMouse = mouse->pt;
            tracking->TrackMouse(mouse->pt);
        }
        else if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN ||
                 wParam == WM_MBUTTONDOWN || wParam == WM_NCLBUTTONDOWN ||
                 wParam == WM_NCRBUTTONDOWN)
            tracking->CancelMenu();
    }
    return ::CallNextHookEx(s_state.mouseHook, code, wParam, lParam);
}
}  // namespace

TkMenuBarMessages::TkMenuBarMessages(TkMenuBar* bar)
    : m_pMenuBar(bar), m_bOpenedByKeyboard(FALSE), m_bMenuSelect(FALSE), m_bProdNext(FALSE),
      m_bAltConsumed(FALSE), m_bLoneAlt(FALSE)
{
}

TkMenuBarMessages::~TkMenuBarMessages()
{
    if (s_state.tracking != this)
        return;
    HookMenuMode(FALSE);
    HookMenuFilter(FALSE);
    s_state.tracking = NULL;
}

HMENU TkMenuBarMessages::GetDefaultedSystemMenu(CWnd* window)
{
    HMENU menu = window ? ::GetSystemMenu(window->GetSafeHwnd(), FALSE) : NULL;
    if (menu && ::GetMenuDefaultItem(menu, FALSE, 0) == (UINT)-1)
        ::SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
    return menu;
}

void TkMenuBarMessages::PostMenuProd(BOOL next)
{
    m_bMenuSelect = FALSE;
    m_bProdNext = next;
    CWnd* frame = GetFrame();
    if (frame)
        frame->PostMessage(WM_TK_MENUPROD, 0, 0);
}

void TkMenuBarMessages::CancelMenu()
{
    if (!m_pMenuBar)
        return;
    if (m_pMenuBar->IsInMenuMode())
        m_pMenuBar->ExitMenuMode();
    if (s_state.popupBar)
        ClosePopup();
}

// Wine's menu loop does not always end on the owner's WM_CANCELMODE (not
// after the system menu was fetched during the loop): EndMenu as well.
void TkMenuBarMessages::ClosePopup()
{
    CWnd* frame = GetFrame();
    if (frame)
        frame->SendMessage(WM_CANCELMODE);
    ::EndMenu();
}

void TkMenuBarMessages::SetActiveMenu(UINT menuId)
{
    if (!m_pMenuBar)
        return;
    UINT bit = 0;
    if (m_pMenuBar->LookupMenuBit(menuId, &bit))
    {
        m_pMenuBar->SetActiveMask(bit, FALSE);
        m_pMenuBar->SetActiveMenuId(menuId);
    }
    else if (menuId == kDockedViewFrameId)
    {
        CFrameWnd* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        if (main && m_pMenuBar->LookupMenuBit(main->m_nIDHelp, &bit))
        {
            m_pMenuBar->SetActiveMask(bit, FALSE);
            m_pMenuBar->SetActiveMenuId(kDockedViewFrameId);
        }
    }
    CFrameWnd* frame = m_pMenuBar->GetDockingFrame();
    if (frame)
        frame->RecalcLayout();
    if (m_pMenuBar->GetSafeHwnd())
        m_pMenuBar->Invalidate();
}

void TkMenuBarMessages::DropHotMenu()
{
    if (!m_pMenuBar || !m_pMenuBar->IsInMenuMode())
        return;
    int hot = m_pMenuBar->GetMenuIndex();
    m_pMenuBar->ExitMenuMode();
    if (m_pMenuBar->IsMenuButton(hot))
        OpenByKey(hot);
    else
        OpenSystemMenu();
}

void TkMenuBarMessages::TrackMouse(POINT screenPoint)
{
    if (!m_pMenuBar || !m_pMenuBar->GetSafeHwnd())
        return;
    CPoint point(screenPoint);
    m_pMenuBar->ScreenToClient(&point);
    m_pMenuBar->EnterMenuModeAt(point);
}

void TkMenuBarMessages::OnAltKey()
{
    m_bAltConsumed = TRUE;
}

BOOL TkMenuBarMessages::OnSystemMenuClick(const MSG* msg)
{
    CWnd* frame = GetFrame();
    if (!frame)
        return FALSE;
    CRect icon;
    frame->GetWindowRect(&icon);
    if (frame->GetStyle() & WS_THICKFRAME)
        icon.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    icon.right = icon.left + ::GetSystemMetrics(SM_CXSIZE) - 1;
    icon.bottom = icon.top + ::GetSystemMetrics(SM_CYSIZE);
    if (!icon.PtInRect(PointOf(msg->lParam)))
        return FALSE;
    frame->PostMessage(WM_CANCELMODE);
    s_state.iconClicked = msg->message == WM_LBUTTONDOWN;
    s_state.iconClickTime = msg->time;
    if (msg->message == WM_LBUTTONDBLCLK)
        PostDefaultSystemCommand();
    return TRUE;
}

// The system menu's default command (the close command when it has none).
void TkMenuBarMessages::PostDefaultSystemCommand()
{
    CWnd* frame = GetFrame();
    HMENU menu = GetDefaultedSystemMenu(frame);
    UINT command = menu ? ::GetMenuDefaultItem(menu, FALSE, 0) : (UINT)-1;
    if (command != (UINT)-1)
        frame->PostMessage(WM_SYSCOMMAND, command, 0);
}

void TkMenuBarMessages::TrackPopup(CWnd* bar, HMENU menu, TkTBNotify* record)
{
    CWnd* frame = GetFrame();
    if (!menu || !frame || !m_pMenuBar)
        return;
    CRect button(0, 0, 0, 0);
    if (record->nIndex >= 0 && record->nIndex < m_pMenuBar->GetCount())
        m_pMenuBar->GetButtonRect(record->nIndex, &button);
    bar->ClientToScreen(&button);
    s_state.button = button;
    TPMPARAMS params = {sizeof(params)};
    params.rcExclude = button;
    // A maximised child's system menu acts on the child, not on the frame
    // that owns the popup.
    HWND child = TkActiveMDIChild(m_pMenuBar);
    BOOL childMenu = child && ::GetSystemMenu(child, FALSE) == menu;
    HookMenuFilter(TRUE);
    UINT command = ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON |
                                                (childMenu ? TPM_RETURNCMD : 0),
                                      button.left, button.bottom, frame->GetSafeHwnd(), &params);
    HookMenuFilter(FALSE);
    ::SetRectEmpty(&s_state.button);
    if (childMenu && command)
        ::PostMessageA(child, WM_SYSCOMMAND, command, 0);
}

void TkMenuBarMessages::TrackSystemMenu(CWnd*, HMENU menu, TkTBNotify*)
{
    CWnd* frame = GetFrame();
    if (!menu || !frame)
        return;
    CRect icon;
    frame->GetWindowRect(&icon);
    icon.OffsetRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    icon.right = icon.left + ::GetSystemMetrics(SM_CXSIZE);
    icon.bottom = icon.top + ::GetSystemMetrics(SM_CYSIZE);
    HookMenuFilter(TRUE);
    s_state.systemMenu = TRUE;
    UINT command = ::TrackPopupMenu(menu, TPM_RETURNCMD, icon.left, icon.bottom, 0,
                                    frame->GetSafeHwnd(), NULL);
    s_state.systemMenu = FALSE;
    if (command)
        frame->PostMessage(WM_SYSCOMMAND, command, 0);
    HookMenuFilter(FALSE);
}

void TkMenuBarMessages::HookMenuFilter(BOOL on)
{
    if (on && !s_state.filterHook)
        s_state.filterHook = ::SetWindowsHookExA(WH_MSGFILTER, MenuFilterHook, NULL,
                                                 ::GetCurrentThreadId());
    else if (!on && s_state.filterHook)
    {
        ::UnhookWindowsHookEx(s_state.filterHook);
        s_state.filterHook = NULL;
    }
}

void TkMenuBarMessages::HookMenuMode(BOOL on)
{
    if (on && !s_state.keyboardHook && !s_state.mouseHook)
    {
        DWORD thread = ::GetCurrentThreadId();
        s_state.keyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, MenuKeyboardHook, NULL, thread);
        s_state.mouseHook = ::SetWindowsHookExA(WH_MOUSE, MenuMouseHook, NULL, thread);
    }
    else if (!on && s_state.keyboardHook && s_state.mouseHook)
    {
        ::UnhookWindowsHookEx(s_state.keyboardHook);
        ::UnhookWindowsHookEx(s_state.mouseHook);
        s_state.keyboardHook = s_state.mouseHook = NULL;
    }
}

void TkMenuBarMessages::OpenSystemMenu()
{
    m_pMenuBar->RefreshMenuTracking();
    m_pMenuBar->SendBarNotify(kTkNotifyMenuDropDown, -1, 0, (DWORD_PTR)-1);
}

void TkMenuBarMessages::OpenByKey(int index)
{
    m_bOpenedByKeyboard = TRUE;
    m_pMenuBar->PressMenuButton(index);
}

// A key of the menu: space or minus opens the system menu, another the menu
// of its mnemonic. FALSE when nothing matched.
BOOL TkMenuBarMessages::HandleMenuKey(WPARAM key)
{
    char ch = LowerChar(key);
    if (ch == 0)
        return FALSE;
    if (IsSystemMenuKey(ch))
    {
        if (m_pMenuBar->IsInMenuMode())
            m_pMenuBar->ExitMenuMode();
        m_bOpenedByKeyboard = TRUE;
        OpenSystemMenu();
        return TRUE;
    }
    int index = m_pMenuBar->FindMnemonic(ch);
    if (index < 0)
        return FALSE;
    OpenByKey(index);
    return TRUE;
}

BOOL TkMenuBarMessages::PreTranslateKey(MSG* msg)
{
    if (!m_pMenuBar || !m_pMenuBar->GetSafeHwnd())
        return FALSE;
    switch (msg->message)
    {
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN:
        // A repeat of Alt keeps it alone; any other key makes a chord.
        if (msg->wParam != VK_MENU)
            m_bLoneAlt = FALSE;
        else if (!(msg->lParam & 0x40000000))
            m_bLoneAlt = TRUE;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        m_bLoneAlt = FALSE;
        break;
    case WM_SYSKEYUP:
        if (msg->wParam != VK_MENU)
            break;
        if (!m_bAltConsumed && m_bLoneAlt)
        {
            int first = m_pMenuBar->FirstTopMenuButton();
            if (m_pMenuBar->IsInMenuMode())
                m_pMenuBar->ExitMenuMode();
            else if (first >= 0)
                m_pMenuBar->EnterMenuMode(first);
        }
        m_bAltConsumed = FALSE;
        m_bLoneAlt = FALSE;
        return TRUE;
    case WM_SYSCOMMAND:
        if ((msg->wParam & 0xFFF0) != SC_KEYMENU)
            return FALSE;
        HandleMenuKey(msg->lParam);
        return TRUE;
    }
    if (msg->message == WM_SYSKEYDOWN && ::GetKeyState(VK_MENU) < 0 && msg->wParam != VK_MENU)
        return HandleMenuKey((BYTE)CharOfKey(msg->wParam));
    return FALSE;
}

LRESULT TkMenuBarMessages::OnMenuSelect(WPARAM, LPARAM)
{
    m_bMenuSelect = TRUE;
    return 0;
}

LRESULT TkMenuBarMessages::OnMenuProd(WPARAM wParam, LPARAM lParam)
{
    if (!m_pMenuBar || !m_pMenuBar->GetSafeHwnd())
        return 0;
    if (wParam == kTkProdDropHot)
    {
        DropHotMenu();
        return 0;
    }
    if (wParam == kTkProdKey)
    {
        MSG msg = {GetFrame() ? GetFrame()->GetSafeHwnd() : NULL, WM_SYSCOMMAND, SC_KEYMENU,
                   lParam};
        PreTranslateKey(&msg);
        return 0;
    }
    // The popup used the key itself (a submenu opened or closed).
    if (m_bMenuSelect)
        return 0;
    int next = m_pMenuBar->NextMenuButton(m_bProdNext);
    if (m_pMenuBar->IsInMenuMode())
    {
        if (next >= 0)
            m_pMenuBar->EnterMenuMode(next);
    }
    else if (next >= 0)
        OpenByKey(next);
    else
    {
        m_bOpenedByKeyboard = TRUE;
        OpenSystemMenu();
    }
    return 0;
}

HMENU TkMenuBarMessages::FindMenu(const TkTBNotify* record, BOOL* owned)
{
    *owned = FALSE;
    INT_PTR popup = (INT_PTR)record->dwValue2;
    if (record->dwValue1 == 0)
        return popup == -1 ? GetDefaultedSystemMenu(GetFrame()) : NULL;
    if (popup < 0)
        return ::IsMenu((HMENU)record->dwValue1) ? (HMENU)record->dwValue1 : NULL;
    CWnd* frame = GetFrame();
    HMENU menu = frame ? (HMENU)frame->SendMessage(WM_TKGETMENU, record->dwValue1, popup) : NULL;
    if (menu)
        return ::IsMenu(menu) ? menu : NULL;
    menu = TkMenuTemplate((UINT)record->dwValue1).CreatePopup((int)popup);
    *owned = menu != NULL;
    return menu;
}

// Tracks the popup of the record; a request that arrives while it shows
// closes it and is served when its tracking returns (the switch between
// popups).
LRESULT TkMenuBarMessages::ServeRequests(TkTBNotify* first, LRESULT* result)
{
    TkTBNotify record = *first;
    CWnd* frame = GetFrame();
    for (;;)
    {
        *result = 0;
        CWnd* bar = CWnd::FromHandle(record.hdr.hdr.hwndFrom);
        BOOL owned = FALSE;
        HMENU menu = (int)record.hdr.hdr.code == kTkNotifyMenuClose ? NULL
                                                                   : FindMenu(&record, &owned);
        if (!menu || s_state.popupBar)
        {
            if (s_state.popupBar)
                ClosePopup();
            if (menu && s_state.popupBar)
            {
                s_state.request = record;
                s_state.request.bHeapCopy = TRUE;
                s_state.pending = TRUE;
            }
            if (owned)
                ::DestroyMenu(menu);
            return 1;
        }
        s_state.tracking = this;
        s_state.popupBar = bar->GetSafeHwnd();
        if (record.dwValue1 == 0)
            TrackSystemMenu(bar, menu, &record);
        else
            TrackPopup(bar, menu, &record);
        s_state.popupBar = NULL;
        s_state.tracking = NULL;
        if (owned)
            ::DestroyMenu(menu);
        if (!s_state.pending)
            break;
        record = s_state.request;
        s_state.pending = FALSE;
    }
    if (m_pMenuBar && m_pMenuBar->GetSafeHwnd())
        m_pMenuBar->RefreshMenuTracking();
    return 1;
}

LRESULT TkMenuBarMessages::OnMenuBarNotify(WPARAM, NMHDR* header, LRESULT* result)
{
    if (!m_pMenuBar || !header || header->hwndFrom != m_pMenuBar->GetSafeHwnd())
        return 0;
    switch ((int)header->code)
    {
    case kTkNotifyMenuModeOn:
        s_state.tracking = this;
        HookMenuMode(TRUE);
        return 1;
    case kTkNotifyMenuModeOff:
        HookMenuMode(FALSE);
        if (s_state.tracking == this && !s_state.popupBar)
            s_state.tracking = NULL;
        return 1;
    case kTkNotifyMenuDropDown:
    case kTkNotifyMenuClose:
        return ServeRequests(reinterpret_cast<TkTBNotify*>(header), result);
    }
    return 0;
}

LRESULT TkMenuBarMessages::OnInitMenuPopup(WPARAM, LPARAM)
{
    if (!m_bOpenedByKeyboard)
        return 0;
    m_bOpenedByKeyboard = FALSE;
    CWnd* frame = GetFrame();
    if (frame)
        frame->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    return 0;
}

LRESULT TkMenuBarMessages::OnSysCommand(UINT id, LPARAM)
{
    if (id != kSysMenuClick || !m_pMenuBar || !m_pMenuBar->GetSafeHwnd())
        return 0;
    // The first click of a double click on the icon closed the open system
    // menu; the second arrives here as a new click on the icon.
    BOOL second = s_state.iconClicked &&
                  ::GetMessageTime() - (LONG)s_state.iconClickTime <= (LONG)::GetDoubleClickTime();
    s_state.iconClicked = FALSE;
    if (second)
        PostDefaultSystemCommand();
    else
        OpenSystemMenu();
    return TRUE;
}

LRESULT TkMenuBarMessages::OnNcActivate(BOOL active)
{
    if (!active)
        CancelMenu();
    return 0;
}

void TkMenuBarMessages::OnEnterIdle(UINT reason, HWND popup)
{
    CRect window, overlap;
    if (reason != MSGF_MENU || !popup || ::IsRectEmpty(&s_state.button) ||
        !::GetWindowRect(popup, &window) || !overlap.IntersectRect(&window, &s_state.button))
        return;
    int top = s_state.button.top - window.Height();
    if (top >= 0)
        ::SetWindowPos(popup, NULL, window.left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
