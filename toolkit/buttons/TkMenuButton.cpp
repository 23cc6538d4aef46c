#include "toolkit/buttons/TkMenuButton.h"

namespace
{
const UINT kArrowDown = 23000;
const UINT kArrowRight = 23001;
}

IMPLEMENT_DYNCREATE(TkMenuButton, TkBitmapButton)

BEGIN_MESSAGE_MAP(TkMenuButton, TkBitmapButton)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TkMenuButton::TkMenuButton() : m_bAttached(FALSE), m_bDropRight(FALSE), m_bNotTracking(TRUE)
{
}

TkMenuButton::~TkMenuButton()
{
    if (m_bAttached)
        m_menu.Detach();
}

void TkMenuButton::AttachMenu(HMENU menu, BOOL dropRight)
{
    m_menu.Attach(menu);
    m_bAttached = TRUE;
    m_bDropRight = dropRight;
}

BOOL TkMenuButton::Create(LPCSTR text, DWORD style, HMENU menu, BOOL dropRight,
                          const RECT& rect, CWnd* parent, UINT id, UINT flags)
{
    AttachMenu(menu, dropRight);
    const int position = (text && *text) ? kImageRight : kImageOnly;
    return TkBitmapButton::Create(text, style, position,
                                  MAKEINTRESOURCE(dropRight ? kArrowRight : kArrowDown), rect,
                                  parent, id, flags);
}

BOOL TkMenuButton::Attach(UINT id, HMENU menu, BOOL dropRight, CWnd* parent, UINT flags)
{
    AttachMenu(menu, dropRight);
    CWnd* item = parent ? parent->GetDlgItem(id) : NULL;
    const int position = (item && item->GetWindowTextLength() > 0) ? kImageRight : kImageOnly;
    return TkBitmapButton::Attach(id, position,
                                  MAKEINTRESOURCE(dropRight ? kArrowRight : kArrowDown), parent,
                                  flags);
}

// A view's menus belong to its frame, which handles their commands.
CWnd* TkMenuButton::MenuOwner() const
{
    CWnd* parent = GetParent();
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CView)))
        return parent->GetParentFrame();
    return parent;
}

void TkMenuButton::OnClicked()
{
    CMenu* popup = m_menu.GetSafeHmenu() ? &m_menu : NULL;
    CWnd* owner = MenuOwner();
    if (!popup || !owner)
        return;
    CRect rect;
    GetWindowRect(&rect);
    const CPoint at = m_bDropRight ? CPoint(rect.right, rect.top) : CPoint(rect.left, rect.bottom);
    m_bNotTracking = FALSE;
    const BOOL tracked =
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, owner);
    if (tracked)
    {
        MSG msg;
        ::PeekMessage(&msg, m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
    }
    m_bNotTracking = TRUE;
    Invalidate(FALSE);
    UpdateWindow();
}

// While the menu is up the button keeps the look it had when it opened.
void TkMenuButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (m_bNotTracking)
        TkBitmapButton::DrawItem(drawItem);
}

void TkMenuButton::OnDestroy()
{
    if (m_bAttached)
    {
        m_menu.Detach();
        m_bAttached = FALSE;
    }
    TkBitmapButton::OnDestroy();
}
