// TkToolBarManager and the frame's menu bar: found through the toolkit's
// frames, made with the manager's styles, told apart from other bars.
#include "toolbars/TkToolBarManager.h"

#include "frames/TkFrameWnd.h"
#include "frames/TkMDIFrameWnd.h"
#include "menus/TkMDIMenuBar.h"
#include "menus/TkMenuBar.h"

TkCustomToolBar* TkToolBarManager::GetFrameMenuBar()
{
    CFrameWnd* frame = GetFrameWnd();
    if (TkMDIFrameWnd* mdi = dynamic_cast<TkMDIFrameWnd*>(frame))
        return mdi->GetMenuBar();
    if (TkFrameWnd* sdi = dynamic_cast<TkFrameWnd*>(frame))
        return sdi->GetMenuBar();
    return NULL;
}

BOOL TkToolBarManager::IsMenuBar(CControlBar* bar)
{
    return bar != NULL && bar->IsKindOf(RUNTIME_CLASS(TkMenuBar));
}

// The menu bar belongs to its frame's owner, so it is not made to delete
// itself.
BOOL TkToolBarManager::CreateMenuBar(UINT id)
{
    TkCustomToolBar* menuBar = GetFrameMenuBar();
    if (menuBar == NULL || menuBar->GetSafeHwnd() != NULL)
        return menuBar != NULL;
    CString title;
    title.LoadString(IDS_TK_MENU_BAR_TITLE);
    if (!CreateBar(menuBar, title, id))
        return FALSE;
    menuBar->EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
}

void TkToolBarManager::CreateDefaultMenuBar()
{
    if (!CreateMenuBar(kTkMenuBarId))
        return;
    TkCustomToolBar* menuBar = GetFrameMenuBar();
    // A menu bar that loaded its own menus keeps them until the manager is
    // given its buttons.
    if (m_menuBarButtons.GetSize() > 0)
        menuBar->SetButtons(m_menuBarButtons.GetData(), (int)m_menuBarButtons.GetSize());
    DockBarAt(menuBar, AFX_IDW_DOCKBAR_TOP, NULL);
}
