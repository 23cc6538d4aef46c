// TkToolBarManager and the frame's menu bar: found through the toolkit's
// frames, made with the manager's styles, told apart from other bars.
#include "toolkit/toolbars/TkToolBarManager.h"

#include "toolkit/frames/TkFrameMenuBar.h"
#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/toolbars/TkCustomToolBar.h"

#include <stdarg.h>

TkCustomToolBar* TkToolBarManager::GetFrameMenuBar()
{
    CFrameWnd* frame = GetFrameWnd();
    TkFrameMenuBar* menuBar = NULL;
    if (TkMDIFrameWnd* mdi = dynamic_cast<TkMDIFrameWnd*>(frame))
        menuBar = mdi->GetMenuBar();
    else if (TkFrameWnd* sdi = dynamic_cast<TkFrameWnd*>(frame))
        menuBar = sdi->GetMenuBar();
    return dynamic_cast<TkCustomToolBar*>(menuBar);
}

BOOL TkToolBarManager::IsMenuBar(CControlBar* bar)
{
    return dynamic_cast<TkFrameMenuBar*>(bar) != NULL;
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

BOOL TkToolBarManager::SetMenuInfo(int count, UINT menuId, ...)
{
    TkCustomToolBar* menuBar = GetFrameMenuBar();
    TkFrameMenuBar* menuLoader = dynamic_cast<TkFrameMenuBar*>(menuBar);
    if (menuLoader == NULL)
        return FALSE;
    CArray<UINT, UINT> menus;
    va_list args;
    va_start(args, menuId);
    for (int i = 0; i < count; i++)
        menus.Add(i == 0 ? menuId : va_arg(args, UINT));
    va_end(args);
    delete[] m_pSecondMap;
    m_pSecondMap = NULL;
    // The bar empties its titles and menu bits and builds its table.
    menuLoader->SetMenuList(menus.GetData(), (int)menus.GetSize());
    CArray<UINT, UINT> commands;
    KeepMenuTable(menuBar->GetOwnFirstMap(), commands);
    SetDefaultMenuBarButtons((int)commands.GetSize(), commands.GetData());
    return TRUE;
}

BOOL TkToolBarManager::SetMenuIdBits(int count, const UINT* pairs)
{
    TkFrameMenuBar* menuBar = dynamic_cast<TkFrameMenuBar*>(GetFrameMenuBar());
    if (menuBar == NULL)
        return FALSE;
    menuBar->SetMenuIdBits(count, pairs);
    return TRUE;
}

// The manager's copy points at texts of its own, so the table stays sound
// whatever the bar loads later.
void TkToolBarManager::KeepMenuTable(const TkBtnMapEntry* table, CArray<UINT, UINT>& commands)
{
    int records = 0;
    while (table != NULL && table[records].pFactory != NULL)
        records++;
    m_menuTitles.RemoveAll();
    m_menuTitles.SetSize(records);
    m_pSecondMap = new TkBtnMapEntry[records + 1];
    memset(m_pSecondMap, 0, sizeof(TkBtnMapEntry) * (records + 1));
    for (int i = 0; i < records; i++) {
        m_pSecondMap[i] = table[i];
        m_menuTitles[i] = table[i].data.pszText != NULL ? table[i].data.pszText : "";
        m_pSecondMap[i].data.pszText = m_menuTitles[i];
        commands.Add(table[i].nID);
    }
}
