#include "platform/mfc/Menu.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/Wnd.h"

namespace
{
CObject* NewTempMenu(HANDLE handle)
{
    CMenu* menu = new CMenu;
    menu->m_hMenu = (HMENU)handle;
    return menu;
}

void ForgetMenuHandle(CObject* object)
{
    static_cast<CMenu*>(object)->m_hMenu = NULL;
}

thread_local CHandleMap t_menuMap(NewTempMenu, ForgetMenuHandle);
// The popup TrackPopupMenu is showing on this thread (innermost).
thread_local CMenu* t_trackedMenu = NULL;
}

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() : m_hMenu(NULL)
{
}

CMenu::~CMenu()
{
    DestroyMenu();
}

HMENU PASCAL CMenu::SafeHandle(const CMenu* menu)
{
    return menu ? menu->m_hMenu : NULL;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    return static_cast<CMenu*>(t_menuMap.FromHandle(hMenu));
}

void PASCAL CMenu::DeleteTempMap()
{
    t_menuMap.DeleteTemp();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    t_menuMap.SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu)
        t_menuMap.RemoveHandle(hMenu);
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCSTR resourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), resourceName));
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    return LoadMenu(MAKEINTRESOURCEA(resourceId));
}

BOOL CMenu::LoadMenuIndirect(const void* menuTemplate)
{
    return Attach(::LoadMenuIndirectA(menuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR item, LPCSTR text)
{
    return ::AppendMenuA(m_hMenu, flags, item, text);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR item, const CBitmap* bitmap)
{
    return ::AppendMenuA(m_hMenu, flags | MF_BITMAP, item, (LPCSTR)bitmap->GetSafeHandle());
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR item, LPCSTR text)
{
    return ::InsertMenuA(m_hMenu, position, flags, item, text);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR item, LPCSTR text)
{
    return ::ModifyMenuA(m_hMenu, position, flags, item, text);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags)
{
    return ::RemoveMenu(m_hMenu, position, flags);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags)
{
    return ::DeleteMenu(m_hMenu, position, flags);
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable)
{
    return ::EnableMenuItem(m_hMenu, item, enable);
}

UINT CMenu::CheckMenuItem(UINT item, UINT check)
{
    return ::CheckMenuItem(m_hMenu, item, check);
}

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
{
    return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}

BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition)
{
    return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
}

UINT CMenu::GetDefaultItem(UINT flags, BOOL byPosition) const
{
    return ::GetMenuDefaultItem(m_hMenu, byPosition, flags);
}

CMenu* CMenu::GetSubMenu(int position) const
{
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

int CMenu::GetMenuItemCount() const
{
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int position) const
{
    return ::GetMenuItemID(m_hMenu, position);
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    return ::GetMenuState(m_hMenu, item, flags);
}

int CMenu::GetMenuString(UINT item, LPSTR text, int maxCount, UINT flags) const
{
    return ::GetMenuStringA(m_hMenu, item, text, maxCount, flags);
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    // The length first (without a buffer), then the text itself.
    int length = ::GetMenuStringA(m_hMenu, item, NULL, 0, flags);
    if (length <= 0)
    {
        text.Empty();
        return 0;
    }
    length = ::GetMenuStringA(m_hMenu, item, text.GetBuffer(length), length + 1, flags);
    text.ReleaseBuffer(length);
    return length;
}

BOOL CMenu::GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition) const
{
    return ::GetMenuItemInfoA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition)
{
    return ::SetMenuItemInfoA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    CMenu* outer = t_trackedMenu;
    t_trackedMenu = this;
    BOOL result = ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner->GetSafeHwnd(), rect);
    t_trackedMenu = outer;
    return result;
}

CMenu* PASCAL CMenu::FromOwnerDrawMenu(HMENU menu)
{
    CObject* attached = menu ? t_menuMap.LookupPermanent(menu) : NULL;
    return attached ? static_cast<CMenu*>(attached) : t_trackedMenu;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT)
{
}
