// The menus of TkMDIFrameWnd: the window's menu, or with a menu bar the
// frame's own menu and the menus it loads for the bar, and the "Window"
// popup that the MDI client lists its children in.
#include "toolkit/frames/TkMDIFrameWnd.h"

#include <cstdarg>

BOOL TkMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd,
                              CCreateContext* context)
{
    m_nCurrentMenuId = resourceId;
    m_nFrameMenuId = resourceId;
    CString title;
    LPCSTR className = LoadFrameResources(resourceId, title);
    HINSTANCE resources = AfxGetResourceHandle();
    LPCSTR name = MAKEINTRESOURCEA(resourceId);
    BOOL menuExists = ::FindResourceA(resources, name, (LPCSTR)RT_MENU) != NULL;
    if (!Create(className, title, style, rectDefault, parentWnd,
                menuExists && !HasMenuBar() ? name : NULL, 0, context))
        return FALSE;
    if (HasMenuBar() && menuExists)
    {
        m_hOwnMenu = ::LoadMenuA(resources, name);
        SetMenuBarMenu((UINT)-1);
    }
    LoadAccelTable(name);
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

void TkMDIFrameWnd::EnableBmpMenus(BOOL enable, BOOL second, TkMenuPlugInFactory bmpMenusFactory)
{
    m_bBmpMenus = enable;
    m_bBmpMenus2 = second;
    m_pfnBmpMenus = bmpMenusFactory;
}

TkFrameMenuBar* TkMDIFrameWnd::GetMenuBar()
{
    return m_pMenuBar;
}

BOOL TkMDIFrameWnd::LoadMenus(int count, UINT menuId, ...)
{
    va_list ids;
    va_start(ids, menuId);
    BOOL loaded = TRUE;
    for (int index = 0; index < count && loaded; index++)
    {
        UINT id = index == 0 ? menuId : va_arg(ids, UINT);
        HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
        loaded = menu != NULL;
        HMENU old = NULL;
        if (menu && m_menuMap.Lookup(id, old))
            ::DestroyMenu(old);
        if (menu)
            m_menuMap.SetAt(id, menu);
    }
    va_end(ids);
    return loaded;
}

HMENU TkMDIFrameWnd::GetMenuForId(UINT menuId)
{
    if (menuId == m_nFrameMenuId)
        return m_hOwnMenu;
    CWinApp* app = AfxGetApp();
    POSITION position = app && app->m_pDocManager ? app->GetFirstDocTemplatePosition() : NULL;
    while (position)
    {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(position);
        if (docTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)) &&
            docTemplate->m_nIDResource == menuId)
            return static_cast<CMultiDocTemplate*>(docTemplate)->m_hMenuShared;
    }
    HMENU menu = NULL;
    m_menuMap.Lookup(menuId, menu);
    return menu;
}

HMENU TkMDIFrameWnd::GetDefaultMenu()
{
    return HasMenuBar() ? m_hOwnMenu : m_hMenuDefault;
}

void TkMDIFrameWnd::SetWindowMenuPopup()
{
    HMENU menu = HasMenuBar() ? GetMenuForId(m_nCurrentMenuId) : NULL;
    if (!menu || ::GetMenu(m_hWnd))
        return;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, 0, (LPARAM)GetWindowMenuPopup(menu));
}

LRESULT TkMDIFrameWnd::OnGetMenu(WPARAM wParam, LPARAM lParam)
{
    HMENU menu = GetMenuForId((UINT)wParam);
    return menu ? (LRESULT)::GetSubMenu(menu, (int)lParam) : 0;
}
