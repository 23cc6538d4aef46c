// CCmdUI: one user-interface item (a menu item or a control) whose state the
// command handlers set through ON_UPDATE_COMMAND_UI.
#pragma once

#include "platform/mfc/CmdTarget.h"

class CMenu;
class CWnd;

// The check bitmap SetRadio gives menu items; NULL (the default) marks them
// with the system's round check mark instead. A menu plug-in may replace it.
HBITMAP AfxGetMenuRadioBitmap();
void AfxSetMenuRadioBitmap(HBITMAP bitmap);

class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (buttons only).
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCSTR text);
    // The handler passes the update on to the next target of the route.
    void ContinueRouting();

    // Routes the update to target; with disableIfNoHandler an item that has
    // neither an update handler that enabled it nor a command handler is disabled.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID;
    UINT m_nIndex;
    // Menu items: the menu and the position m_nIndex in it.
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;
    CMenu* m_pParentMenu;
    // Other items: the window that shows the item.
    CWnd* m_pOther;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;
};
