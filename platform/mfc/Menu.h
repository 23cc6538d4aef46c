// CMenu: a menu or popup menu. An object destroys the menu it holds when it
// is destroyed, unless the handle was detached; objects from FromHandle
// (submenus, a window's menu) only borrow theirs.
#pragma once

#include <afx.h>

class CWnd;
class CBitmap;

class CMenu : public CObject
{
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu();
    ~CMenu() override;

    HMENU m_hMenu;
    operator HMENU() const { return m_hMenu; }
    // Takes a NULL object too.
    HMENU GetSafeHmenu() const { return SafeHandle(this); }
    static HMENU PASCAL SafeHandle(const CMenu* menu);

    static CMenu* PASCAL FromHandle(HMENU hMenu);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(LPCSTR resourceName);
    BOOL LoadMenu(UINT resourceId);
    BOOL LoadMenuIndirect(const void* menuTemplate);
    BOOL DestroyMenu();

    // item is a command id, or a submenu handle with MF_POPUP.
    BOOL AppendMenu(UINT flags, UINT_PTR item = 0, LPCSTR text = NULL);
    BOOL AppendMenu(UINT flags, UINT_PTR item, const CBitmap* bitmap);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR item = 0, LPCSTR text = NULL);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR item = 0, LPCSTR text = NULL);
    // RemoveMenu keeps a submenu alive; DeleteMenu destroys it.
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    // Both give the item's previous state, or -1 (0xFFFFFFFF) when there is no such item.
    UINT EnableMenuItem(UINT item, UINT enable);
    UINT CheckMenuItem(UINT item, UINT check);
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);
    UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) const;

    CMenu* GetSubMenu(int position) const;
    int GetMenuItemCount() const;
    // 0xFFFFFFFF for a submenu, 0 for a separator.
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT item, UINT flags) const;
    int GetMenuString(UINT item, LPSTR text, int maxCount, UINT flags) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE) const;
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE);

    // With TPM_RETURNCMD the chosen command (0 when none); otherwise whether it
    // succeeded, and the command goes to owner as WM_COMMAND.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = NULL);

    // Owner-drawn items: called by the owner window for items of this menu.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);
    // The object that draws owner-drawn items of menu: the one attached to
    // it, else the popup this thread tracks through TrackPopupMenu (its
    // submenus have no objects, and WM_MEASUREITEM names no menu at all);
    // NULL when neither exists.
    static CMenu* PASCAL FromOwnerDrawMenu(HMENU menu);

private:
    CMenu(const CMenu&);
    void operator=(const CMenu&);
};
