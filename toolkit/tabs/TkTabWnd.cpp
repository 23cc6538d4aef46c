#include "toolkit/tabs/TkTabWnd.h"
#include "toolkit/tabs/Tk3DTabControl.h"

namespace
{
// Panes are child windows, shown.
const DWORD kPaneStyle = WS_CHILD | WS_VISIBLE;
// The window style's bits that Tk3DTabWnd reads as its tab style.
const DWORD kTabPositionBits = 0x0003;
const DWORD kTabStyleBits = 0x0FF0;
// Either bit moves the bottom frame line down a pixel.
const DWORD kLowBottomLine = 0x90;
// Moved in one batch without z-order change, activation or old pixels.
const UINT kLayoutFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;

// Read once, at the first paint.
COLORREF Highlight()
{
    static const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    return highlight;
}

void MoveIfMoved(HDWP& deferred, CWnd* window, const CRect& rect, UINT flags)
{
    if (window == NULL || window->m_hWnd == NULL || deferred == NULL)
        return;
    CRect now;
    window->GetWindowRect(&now);
    window->GetParent()->ScreenToClient(&now);
    if (now != rect)
        deferred = ::DeferWindowPos(deferred, window->m_hWnd, NULL, rect.left, rect.top, rect.Width(),
                                    rect.Height(), flags);
}
}

IMPLEMENT_DYNAMIC(TkTabWndBase, CWnd)

BEGIN_MESSAGE_MAP(TkTabWndBase, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivateMessage)
    ON_MESSAGE(WM_TKTAB_ACTIVATE, OnTabActivate)
    ON_MESSAGE(WM_TKTAB_FOCUSPANE, OnFocusPane)
END_MESSAGE_MAP()

TkTabWndBase::TkTabWndBase() : m_pTabControl(NULL), m_pActivePane(NULL), m_pNotifyWnd(NULL)
{
}

BOOL TkTabWndBase::Create(CWnd* parent, DWORD style, UINT id)
{
    m_pNotifyWnd = parent;
    style &= ~(WS_HSCROLL | WS_VSCROLL);
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS);
    if (!CWnd::Create(windowClass, NULL, style, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    try
    {
        return CreateTabControl(style, kTabControlId);
    }
    catch (CResourceException*)
    {
        return FALSE;
    }
}

BOOL TkTabWndBase::CreateTabControl(DWORD, UINT)
{
    return FALSE;
}

CWnd* TkTabWndBase::CreatePane(CRuntimeClass* paneClass, CCreateContext* context, UINT id)
{
    CWnd* pane = static_cast<CWnd*>(paneClass->CreateObject());
    if (pane == NULL)
        AfxThrowMemoryException();
    if (!pane->Create(NULL, NULL, kPaneStyle, CRect(0, 0, 0, 0), this, id, context))
        return NULL;
    return pane;
}

TkTab* TkTabWndBase::InsertTab(CRuntimeClass* paneClass, int index, LPCSTR label,
                               CCreateContext* context, UINT id)
{
    CWnd* pane = CreatePane(paneClass, context, id == (UINT)-1 ? kFirstPaneId + GetTabCount() : id);
    return pane ? InsertTab(pane, index, label) : NULL;
}

TkTab* TkTabWndBase::InsertTab(CWnd* pane, int index, LPCSTR label)
{
    TkTab* tab = m_pTabControl->InsertTab(index, label, pane, 0, 0);
    if (tab != NULL)
        HideUnlessActive(pane);
    OnTabAdded(index, 0);
    return tab;
}

TkTab* TkTabWndBase::AddTab(CRuntimeClass* paneClass, LPCSTR label, CCreateContext* context, UINT id)
{
    CWnd* pane = CreatePane(paneClass, context, id == (UINT)-1 ? kFirstPaneId + GetTabCount() : id);
    return pane ? AddTab(pane, label) : NULL;
}

TkTab* TkTabWndBase::AddTab(CWnd* pane, LPCSTR label)
{
    TkTab* tab = m_pTabControl->AddTab(label, pane, 0, 0);
    if (tab != NULL)
        HideUnlessActive(pane);
    OnTabAdded(GetTabCount() - 1, 0);
    return tab;
}

void TkTabWndBase::OnTabAdded(int, int)
{
}

void TkTabWndBase::RemoveTab(int index)
{
    TkTab* tab = m_pTabControl->GetTab(index);
    if (tab == NULL)
        return;
    if (tab->m_pPane == m_pActivePane)
        m_pActivePane = NULL;
    // Still a child of this window: it would lie under the next active pane.
    HideUnlessActive(tab->m_pPane);
    m_pTabControl->DeleteTab(index);
}

void TkTabWndBase::RemoveTab(CWnd* pane)
{
    int index;
    if (FindTab(pane, index))
        RemoveTab(index);
}

void TkTabWndBase::RenameTab(int index, LPCSTR label)
{
    m_pTabControl->RenameTab(index, label);
}

void TkTabWndBase::RenameTab(CWnd* pane, LPCSTR label)
{
    int index;
    if (FindTab(pane, index))
        RenameTab(index, label);
}

void TkTabWndBase::ActivateTab(int index)
{
    TkTab* tab = m_pTabControl->GetTab(index);
    if (tab != NULL)
        ActivateTab(tab->m_pPane, index);
}

void TkTabWndBase::ActivateTab(CWnd* pane)
{
    int index;
    if (FindTab(pane, index))
        ActivateTab(pane, index);
}

void TkTabWndBase::FocusPane(CWnd* pane)
{
    if (pane->IsKindOf(RUNTIME_CLASS(CView)))
    {
        CFrameWnd* frame = GetParentFrame();
        if (frame != NULL)
            frame->SetActiveView(static_cast<CView*>(pane));
        return;
    }
    SetFocus();
    pane->SetFocus();
    pane->SetActiveWindow();
}

void TkTabWndBase::HideUnlessActive(CWnd* pane)
{
    if (pane != NULL && pane != m_pActivePane && pane->m_hWnd != NULL)
        pane->ShowWindow(SW_HIDE);
}

void TkTabWndBase::HideInactivePanes()
{
    for (int index = 0; index < GetTabCount(); index++)
        HideUnlessActive(m_pTabControl->GetTab(index)->m_pPane);
}

void TkTabWndBase::ActivateTab(CWnd* pane, int index)
{
    CWnd* previous = m_pActivePane;
    m_pActivePane = pane;
    int active;
    if (!m_pTabControl->GetActiveTab(active) || active != index)
        m_pTabControl->ActivateTab(index);
    if (previous != NULL && previous != pane && previous->m_hWnd != NULL)
        previous->ShowWindow(SW_HIDE);
    HideInactivePanes();
    if (pane != NULL && pane->m_hWnd != NULL)
    {
        pane->ShowWindow(SW_SHOW);
        FocusPane(pane);
        // The frame's caption follows the view now active.
        CWnd* top = GetTopLevelParent();
        if (pane->IsKindOf(RUNTIME_CLASS(CView)) && top != NULL)
            top->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
    Invalidate(TRUE);
}

void TkTabWndBase::ClearSelection()
{
    m_pTabControl->ClearSelection();
}

void TkTabWndBase::NotifyTab(int index)
{
    m_pTabControl->OnTabNotify(index);
}

void TkTabWndBase::NotifyTab(CWnd* pane)
{
    int index;
    if (FindTab(pane, index))
        NotifyTab(index);
}

void TkTabWndBase::SetTabIcon(int index, LPCSTR resourceName, int cx, int cy)
{
    m_pTabControl->SetTabIcon(index, resourceName, cx, cy);
}

void TkTabWndBase::SetTabIcon(int index, UINT resourceId, int cx, int cy)
{
    m_pTabControl->SetTabIcon(index, resourceId, cx, cy);
}

void TkTabWndBase::SetTabIcon(int index, HICON icon)
{
    m_pTabControl->SetTabIcon(index, icon);
}

BOOL TkTabWndBase::CreateScrollBarControl(DWORD style, UINT id)
{
    return ::CreateWindowExA(0, "SCROLLBAR", NULL, style | WS_CHILD, 0, 0, 1, 1, m_hWnd,
                             (HMENU)(UINT_PTR)id, AfxGetInstanceHandle(), NULL) != NULL;
}

void TkTabWndBase::SetActiveFocus()
{
    int active;
    if (m_pActivePane != NULL && m_pTabControl->GetActiveTab(active))
        FocusPane(m_pActivePane);
}

void TkTabWndBase::SetNotifyWnd(CWnd* window)
{
    m_pNotifyWnd = window != NULL ? window : GetParent();
}

CWnd* TkTabWndBase::GetNotifyWnd() const
{
    return m_pNotifyWnd;
}

void TkTabWndBase::GetInsideRect(CRect& rect)
{
    GetClientRect(&rect);
}

void TkTabWndBase::RecalcLayout()
{
}

int TkTabWndBase::GetTabCount() const
{
    return m_pTabControl ? m_pTabControl->GetTabCount() : 0;
}

BOOL TkTabWndBase::FindTab(const CWnd* pane, int& index) const
{
    return m_pTabControl && m_pTabControl->FindTab(pane, index);
}

BOOL TkTabWndBase::GetActiveTab(int& index) const
{
    return m_pTabControl && m_pTabControl->GetActiveTab(index);
}

void TkTabWndBase::OnDestroy()
{
    if (m_pTabControl != NULL)
    {
        m_pTabControl->DestroyWindow();
        delete m_pTabControl;
        m_pTabControl = NULL;
    }
    CWnd::OnDestroy();
}

LRESULT TkTabWndBase::OnChildActivateMessage(WPARAM, LPARAM)
{
    SetActiveFocus();
    return Default();
}

LRESULT TkTabWndBase::OnTabActivate(WPARAM wParam, LPARAM)
{
    TkTab* tab = m_pTabControl->GetTab((int)wParam);
    if (tab != NULL)
        ActivateTab(tab->m_pPane, (int)wParam);
    return 0;
}

LRESULT TkTabWndBase::OnFocusPane(WPARAM, LPARAM)
{
    SetActiveFocus();
    return 0;
}

IMPLEMENT_DYNCREATE(Tk3DTabWnd, TkTabWndBase)

BEGIN_MESSAGE_MAP(Tk3DTabWnd, TkTabWndBase)
    ON_MESSAGE(WM_NCCREATE, OnNcCreateMessage)
    ON_WM_SETFOCUS()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_TKTAB_ACTIVATE, On3DTabActivate)
END_MESSAGE_MAP()

Tk3DTabWnd::Tk3DTabWnd() : m_nTabHeight(kTabSize), m_nTabWidth(kTabSize), m_dwTabStyle(0)
{
}

BOOL Tk3DTabWnd::Create(CWnd* parent, DWORD style, UINT id)
{
    DWORD position = (style & 2) ? 2 : (style & 1) ? 1 : 0;
    m_dwTabStyle = position | (style & kTabStyleBits);
    return TkTabWndBase::Create(parent, style & ~(kTabPositionBits | kTabStyleBits), id);
}

BOOL Tk3DTabWnd::CreateTabControl(DWORD, UINT id)
{
    Tk3DTabControl* control = new Tk3DTabControl;
    m_pTabControl = control;
    return control->Create(m_dwTabStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, id);
}

// The pane area inside the frame, away from the tabs.
void Tk3DTabWnd::GetInsideRect(CRect& rect)
{
    GetClientRect(&rect);
    const int d = (m_dwTabStyle & noEnlargedTab) ? -3 : 1;
    if (m_dwTabStyle & tabsBottom)
        rect = CRect(rect.left + 6, rect.top + 4, rect.right - 7, rect.bottom - (m_nTabHeight + d));
    else if (m_dwTabStyle & tabsTop)
        rect = CRect(rect.left + 6, rect.top + (m_nTabHeight + d), rect.right - 7, rect.bottom - 4);
    else if (m_dwTabStyle & tabsLeft)
        rect = CRect(rect.left + (m_nTabWidth + d), rect.top + 4, rect.right - 7, rect.bottom - 6);
    else
        rect = CRect(rect.left + 6, rect.top + 4, rect.right - (m_nTabWidth + d), rect.bottom - 6);
}

CRect Tk3DTabWnd::TabControlRect(const CRect& inside, const CRect& client) const
{
    if (m_dwTabStyle & tabsBottom)
        return CRect(inside.left, inside.bottom + 1, inside.right, inside.bottom + 1 + client.bottom - inside.bottom);
    if (m_dwTabStyle & tabsTop)
        return CRect(inside.left, client.top, inside.right, inside.top);
    if (m_dwTabStyle & tabsLeft)
        return CRect(client.left, inside.top, inside.left, inside.bottom);
    return CRect(inside.right, client.top, client.right, client.top + inside.Height());
}

void Tk3DTabWnd::RecalcLayout()
{
    m_nTabHeight = Lying() ? kTabSize : 0;
    m_nTabWidth = Lying() ? 0 : kTabSize;
    CRect inside, client;
    GetInsideRect(inside);
    GetClientRect(&client);
    HDWP deferred = ::BeginDeferWindowPos(4);
    MoveIfMoved(deferred, GetDlgItem(kTabControlId), TabControlRect(inside, client), kLayoutFlags | SWP_NOREDRAW);
    CRect pane(inside.left, inside.top, inside.right - 1, inside.bottom);
    MoveIfMoved(deferred, m_pActivePane, pane, kLayoutFlags);
    if (deferred != NULL)
        ::EndDeferWindowPos(deferred);
}

LRESULT Tk3DTabWnd::OnNcCreateMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    CWnd* parent = GetParent();
    if (parent != NULL)
        parent->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return result;
}

void Tk3DTabWnd::OnSize(UINT type, int cx, int cy)
{
    if (type != SIZE_MINIMIZED && cx != 0 && cy != 0)
    {
        RecalcLayout();
        if (m_pTabControl != NULL)
            m_pTabControl->Invalidate(TRUE);
        Invalidate(FALSE);
    }
    Default();
}

void Tk3DTabWnd::DrawFrame(CDC* dc, const CRect& inside)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF black = RGB(0, 0, 0);
    const BOOL thin = (m_dwTabStyle & thinFrame) != 0;
    const int x = inside.left - 4;
    const int y = inside.top - 4;
    const int height = inside.Height() + 8;
    const int w = inside.Width() + 8;
    const COLORREF sides[] = {Highlight(), face, shadow, black};
    for (int i = 0; i < (thin ? 2 : 4); i++)
        dc->FillSolidRect(x + i, y, 1, height, sides[i]);
    const int right = inside.right + (thin ? 2 : 0);
    for (int i = thin ? 2 : 0; i < 4; i++)
        dc->FillSolidRect(right + i - (thin ? 2 : 0), y, 1, height, sides[i]);
    dc->FillSolidRect(x, y, w - 1, 1, Highlight());
    dc->FillSolidRect(x + 1, y + 1, w - 3, 1, face);
    if (!thin)
    {
        dc->FillSolidRect(x + 2, y + 2, w - 6, 1, shadow);
        dc->FillSolidRect(x + 3, y + 3, w - 8, 1, black);
    }
    const int bottom = inside.bottom + ((m_dwTabStyle & kLowBottomLine) ? 1 : 0);
    if (!thin)
    {
        dc->FillSolidRect(x + 2, bottom, w - 5, 1, Highlight());
        dc->FillSolidRect(x + 1, bottom + 1, w - 3, 1, face);
    }
    dc->FillSolidRect(x + 1, bottom + 2, w - 2, 1, shadow);
    dc->FillSolidRect(x, bottom + 3, w, 1, black);
}

void Tk3DTabWnd::OnPaint()
{
    if (m_pTabControl != NULL)
        m_pTabControl->UpdateWindow();
    CPaintDC dc(this);
    CRect inside;
    GetInsideRect(inside);
    DrawFrame(&dc, inside);
}

BOOL Tk3DTabWnd::OnEraseBkgnd(CDC* dc)
{
    CRect inside, client, tabs;
    GetInsideRect(inside);
    GetClientRect(&client);
    if (m_pTabControl != NULL && m_pTabControl->m_hWnd != NULL)
    {
        m_pTabControl->GetWindowRect(&tabs);
        ScreenToClient(&tabs);
        dc->ExcludeClipRect(&tabs);
    }
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    dc->FillSolidRect(client.left, client.top, client.Width(), inside.top - client.top, face);
    dc->FillSolidRect(client.left, client.top, inside.left - client.left, client.Height(), face);
    dc->FillSolidRect(inside.right - 1, client.top, client.right - inside.right + 1, client.Height(), face);
    dc->FillSolidRect(client.left, inside.bottom, client.Width(), client.bottom - inside.bottom, face);
    dc->FillSolidRect(inside.left - 1, inside.bottom, inside.Width() + 1, 1, face);
    return TRUE;
}

// The notify window hears of the change after the pane is shown.
LRESULT Tk3DTabWnd::On3DTabActivate(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        *reinterpret_cast<int*>(lParam) = GetDlgCtrlID();
    OnTabActivate(wParam, lParam);
    Invalidate(TRUE);
    if (m_pNotifyWnd != NULL)
        m_pNotifyWnd->SendMessage(WM_TKTAB_ACTIVATE, wParam, lParam);
    return 0;
}

void Tk3DTabWnd::OnSetFocus(CWnd* oldWnd)
{
    Default();
    HWND next = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    if (next && ::GetWindow(next, GW_HWNDNEXT) && oldWnd && oldWnd->m_hWnd == next && m_pActivePane)
    {
        m_pActivePane->SetFocus();
        m_pActivePane->SendMessage(WM_NEXTDLGCTL, TRUE);
    }
    else if (m_pTabControl)
        m_pTabControl->SetFocus();
}

BOOL Tk3DTabWnd::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    if (!(GetStyle() & WS_TABSTOP) || msg->message != WM_KEYDOWN)
        return FALSE;
    return TranslateKey(msg);
}

BOOL Tk3DTabWnd::TranslateKey(MSG* msg)
{
    const WPARAM key = msg->wParam;
    const BOOL control = ::GetKeyState(VK_CONTROL) < 0;
    const BOOL shift = ::GetKeyState(VK_SHIFT) < 0;
    if (control && (key == VK_TAB || key == VK_PRIOR || key == VK_NEXT) &&
        SendMessage(WM_USER + 117, 0, (LPARAM)msg))
        return TRUE;
    HWND focus = ::GetFocus();
    HWND tabs = m_pTabControl ? m_pTabControl->m_hWnd : NULL;
    if (focus && focus == tabs)
    {
        WPARAM arrow = 0;
        if (control && key == VK_TAB)
            arrow = shift ? VK_LEFT : VK_RIGHT;
        else if (key == VK_LEFT || key == VK_UP)
            arrow = VK_LEFT;
        else if (key == VK_RIGHT || key == VK_DOWN)
            arrow = VK_RIGHT;
        if (arrow)
        {
            m_pTabControl->SendMessage(WM_KEYDOWN, arrow);
            return TRUE;
        }
    }
    BOOL inPane = m_pActivePane && focus &&
                  (focus == m_pActivePane->m_hWnd || ::IsChild(m_pActivePane->m_hWnd, focus));
    if (key == VK_TAB && !shift && !control)
    {
        if (inPane)
            return TabForward(msg, focus);
        if (m_pActivePane)
        {
            m_pActivePane->SetFocus();
            return TRUE;
        }
    }
    if (key == VK_TAB && shift && !control && inPane)
    {
        for (HWND before = ::GetWindow(focus, GW_HWNDPREV); before;
             before = ::GetWindow(before, GW_HWNDPREV))
        {
            if (::GetWindowLongA(before, GWL_STYLE) & WS_TABSTOP)
                return NavigateInPane(msg, focus);
        }
        if (m_pTabControl)
            m_pTabControl->SetFocus();
        return TRUE;
    }
    return NavigateInPane(msg, focus);
}

BOOL Tk3DTabWnd::TabForward(MSG* msg, HWND focus)
{
    for (HWND after = ::GetWindow(focus, GW_HWNDNEXT); after; after = ::GetWindow(after, GW_HWNDNEXT))
    {
        if (::GetWindowLongA(after, GWL_STYLE) & WS_TABSTOP)
            return NavigateInPane(msg, focus);
    }
    // Past the pane's last control: the next tab stop among this window's
    // siblings, searching round from the first.
    HWND sibling = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    for (; sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT))
    {
        if (::GetWindowLongA(sibling, GWL_STYLE) & WS_TABSTOP)
            break;
    }
    for (HWND first = ::GetWindow(m_hWnd, GW_HWNDFIRST); !sibling && first;
         first = ::GetWindow(first, GW_HWNDNEXT))
    {
        if (first != m_hWnd && (::GetWindowLongA(first, GWL_STYLE) & WS_TABSTOP))
            sibling = first;
    }
    if (!sibling)
        return NavigateInPane(msg, focus);
    ::SetFocus(sibling);
    return TRUE;
}

BOOL Tk3DTabWnd::NavigateInPane(MSG* msg, HWND focus)
{
    HWND dialog = focus ? ::GetParent(focus) : NULL;
    return dialog && ::IsDialogMessageA(dialog, msg);
}
