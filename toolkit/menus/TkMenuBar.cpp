#include "toolkit/menus/TkMenuBar.h"

#include "toolkit/menus/TkMenuBarFeature.h"
#include "toolkit/menus/TkMenuFont.h"
#include "toolkit/menus/TkMenuTemplate.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <afxext.h>

#include <stdarg.h>

IMPLEMENT_DYNCREATE(TkMenuBar, TkCustomToolBar)

BEGIN_MESSAGE_MAP(TkMenuBar, TkCustomToolBar)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
END_MESSAGE_MAP()

TkMenuBar::TkMenuBar()
    : m_menuBits(10), m_bFloatFix(FALSE), m_nActiveMask((UINT)-1), m_nActiveMenu(0),
      m_bKeepShown(FALSE), m_pTable(NULL), m_nMenuIndex(-1), m_bMenuMode(FALSE)
{
    m_menuBits.InitHashTable(17);
    CreateMenuFont();
}

TkMenuBar::~TkMenuBar()
{
    RemoveAllButtons();
    FreeTable();
}

void TkMenuBar::CreateMenuFont()
{
    TkCreateMenuFont(m_menuFont);
    m_pFont = &m_menuFont;
}

CFont* TkMenuBar::GetMenuFont()
{
    return &m_menuFont;
}

void TkMenuBar::FreeTable()
{
    delete[] m_pTable;
    m_pTable = NULL;
}

BOOL TkMenuBar::LookupMenuBit(UINT menuId, UINT* bit) const
{
    UINT value = 0;
    if (!m_menuBits.Lookup(menuId, value))
        return FALSE;
    *bit = value;
    return TRUE;
}

void TkMenuBar::SetMenuIdBits(int count, const UINT* pairs)
{
    m_menuBits.RemoveAll();
    for (int i = 0; pairs != NULL && i < count; i++)
        m_menuBits.SetAt(pairs[2 * i], pairs[2 * i + 1]);
}

BOOL TkMenuBar::SetMenus(int count, UINT menuId, ...)
{
    CArray<UINT, UINT> ids;
    va_list args;
    va_start(args, menuId);
    for (int i = 0; i < count; i++)
        ids.Add(i == 0 ? menuId : va_arg(args, UINT));
    va_end(args);
    return SetMenuList(ids.GetData(), count);
}

TkFrameMenuPlugIn* TkMenuBar::PlugInMenus(CFrameWnd* frame)
{
    TkMenuBarFeature* feature = new TkMenuBarFeature;
    feature->SetMenuBar(this);
    feature->PlugInTo(frame);
    return feature;
}

BOOL TkMenuBar::UpdateCaptionButtons(BOOL)
{
    return FALSE;
}

// One record per top-level item of each menu in order; the table ends with
// an empty record and serves the bar as its button map.
BOOL TkMenuBar::SetMenuList(const UINT* menuIds, int count)
{
    FreeTable();
    m_titles.RemoveAll();
    m_menuBits.RemoveAll();
    int records = 0;
    for (int i = 0; i < count; i++)
        records += TkMenuTemplate(menuIds[i]).GetItemCount();
    if (records < 1)
        return FALSE;
    m_titles.SetSize(records);
    m_pTable = new TkBtnMapEntry[records + 1];
    memset(m_pTable, 0, sizeof(TkBtnMapEntry) * (records + 1));
    CArray<UINT, UINT> commands;
    UINT command = kTkFirstMenuCommand;
    UINT bit = 1;
    int record = 0;
    for (int i = 0; i < count; i++)
    {
        TkMenuTemplate menu(menuIds[i]);
        if (!menu.IsValid())
            continue;
        for (int item = 0; item < menu.GetItemCount() && record < records; item++, record++)
        {
            menu.GetItemText(item, m_titles[record]);
            TkBtnMapEntry& entry = m_pTable[record];
            entry.pFactory = &TkTBMenuBtn::classTkTBMenuBtn;
            entry.nID = command++;
            entry.dwStyle = kTkMenuButtonStyle;
            entry.data.dwValue1 = menuIds[i];
            entry.data.dwValue2 = item;
            entry.data.pszText = m_titles[record];
            entry.data.dwValue4 = bit;
            commands.Add(entry.nID);
        }
        m_menuBits.SetAt(menuIds[i], bit);
        bit <<= 1;
    }
    SetButtonMaps(m_pTable, NULL);
    return SetButtons(commands.GetData(), (int)commands.GetSize());
}

// The buttons of the bar's tool-bar manager when it holds some, else those
// of the bar's own menus.
void TkMenuBar::ResetButtons(BOOL noLayout)
{
    CArray<UINT, UINT> commands;
    TkToolBarManager* manager = GetToolBarManager();
    if (manager && manager->GetDefaultMenuBarButtons().GetSize() > 0)
        commands.Copy(manager->GetDefaultMenuBarButtons());
    else
    {
        for (const TkBtnMapEntry* entry = m_pTable; entry && entry->pFactory; entry++)
            commands.Add(entry->nID);
    }
    SetButtons(commands.GetData(), (int)commands.GetSize());
    ApplyActiveMask();
    if (!noLayout)
        RelayoutFrame();
}

void TkMenuBar::ApplyActiveMask()
{
    for (int i = 0; i < GetCount(); i++)
    {
        TkStdBtn* button = GetButton(i);
        if (button->m_nKind != kTkBtnMenu)
            continue;
        DWORD_PTR bits = static_cast<TkTBMenuBtn*>(button)->m_dwMenus;
        HideButton(i, (bits & m_nActiveMask) == 0);
    }
}

void TkMenuBar::SetActiveMask(UINT mask, BOOL redraw)
{
    m_nActiveMask = mask;
    ApplyActiveMask();
    if (redraw)
        RelayoutFrame();
}

void TkMenuBar::RelayoutFrame()
{
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    if (!GetSafeHwnd())
        return;
    CFrameWnd* frame = GetDockingFrame();
    if (frame)
        frame->RecalcLayout();
    Invalidate();
    UpdateWindow();
}

void TkMenuBar::InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc)
{
    TkCustomToolBar::InsertButton(index, id, separator, TRUE);
    ApplyActiveMask();
    if (!noRecalc)
        RelayoutFrame();
}

int TkMenuBar::FindMnemonic(char c) const
{
    for (int i = 0; i < GetCount(); i++)
    {
        TkStdBtn* button = GetButton(i);
        if (button->m_nKind == kTkBtnMenu && !button->IsHidden() &&
            static_cast<TkTBMenuBtn*>(button)->m_chMnemonic == c)
            return i;
    }
    return -1;
}

void TkMenuBar::DelayShow(BOOL show)
{
    if (m_bKeepShown && !show)
    {
        m_bKeepShown = FALSE;
        return;
    }
    TkCustomToolBar::DelayShow(show);
}

// A floating menu bar has no close box: its mini frame loses the system
// menu once it exists.
DWORD TkMenuBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout)
{
    ApplyFloatFix();
    return TkCustomToolBar::RecalcDelayShow(layout);
}

// A floating bar is laid out by its mini frame's dock bar, which never asks
// RecalcDelayShow: the layout applies the fix too.
void TkMenuBar::ApplyFloatFix()
{
    if (!m_bFloatFix || !GetSafeHwnd())
        return;
    CWnd* frame = GetParentFrame();
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
    {
        frame->ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
        m_bFloatFix = FALSE;
    }
}

void TkMenuBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    TkCustomToolBar::OnBarStyleChange(oldStyle, newStyle);
    if (!(oldStyle & CBRS_FLOATING) && (newStyle & CBRS_FLOATING))
        m_bFloatFix = TRUE;
}

int TkMenuBar::HostLength(BOOL horizontal) const
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame || IsFloating() || !(m_dwExStyle & TKCBRS_EX_STRETCH))
        return 0;
    CRect client;
    frame->GetClientRect(&client);
    return horizontal ? client.Width() : client.Height();
}

CSize TkMenuBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    int host = HostLength(horizontal);
    if (host <= 0)
        return TkCustomToolBar::CalcFixedLayout(stretch, horizontal);
    DWORD mode = horizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
    return m_layout.CalcLayout(m_buttons, host, mode | LM_COMMIT, LayoutSite(mode));
}

CSize TkMenuBar::CalcDynamicLayout(int length, DWORD mode)
{
    ApplyFloatFix();
    BOOL horizontal = (mode & LM_HORZDOCK) != 0;
    int host = (mode & (LM_HORZDOCK | LM_VERTDOCK)) ? HostLength(horizontal) : 0;
    if (host <= 0)
        return TkCustomToolBar::CalcDynamicLayout(length, mode);
    DWORD docked = horizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
    return m_layout.CalcLayout(m_buttons, host, docked | LM_COMMIT, LayoutSite(docked));
}

BOOL TkMenuBar::CreateToolBarEx(DWORD exStyle, CWnd* parent, DWORD style, UINT id, LPCSTR title)
{
    return TkCustomToolBar::CreateToolBarEx(exStyle | TKCBRS_EX_STRETCH, parent,
                                            style | CBRS_HIDE_INPLACE, id, title);
}

LRESULT TkMenuBar::OnSettingChange(WPARAM, LPARAM)
{
    CreateMenuFont();
    ResizeButtons();
    RelayoutFrame();
    return Default();
}

BOOL TkMenuBar::IsMenuButton(int index) const
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    TkStdBtn* button = GetButton(index);
    return (button->m_nKind == kTkBtnMenu || button->m_nKind == kTkBtnSysMenu) &&
           !button->IsHidden();
}

int TkMenuBar::FirstMenuButton() const
{
    for (int i = 0; i < GetCount(); i++)
    {
        if (IsMenuButton(i))
            return i;
    }
    return -1;
}

int TkMenuBar::LastMenuButton() const
{
    for (int i = GetCount() - 1; i >= 0; i--)
    {
        if (IsMenuButton(i))
            return i;
    }
    return -1;
}

int TkMenuBar::FirstTopMenuButton() const
{
    for (int i = 0; i < GetCount(); i++)
    {
        if (IsMenuButton(i) && GetButton(i)->m_nKind == kTkBtnMenu)
            return i;
    }
    return -1;
}

// No wrap-around: past either end the answer is none.
int TkMenuBar::NextMenuButton(BOOL forward) const
{
    if (m_nMenuIndex < 0)
        return forward ? FirstMenuButton() : LastMenuButton();
    int step = forward ? 1 : -1;
    for (int i = m_nMenuIndex + step; i >= 0 && i < GetCount(); i += step)
    {
        if (IsMenuButton(i))
            return i;
    }
    return -1;
}

LRESULT TkMenuBar::SendBarNotify(int code, int index, DWORD_PTR menu, DWORD_PTR popup)
{
    TkTBNotify notify;
    memset(&notify, 0, sizeof(notify));
    notify.hdr.hdr.hwndFrom = m_hWnd;
    notify.hdr.hdr.idFrom = GetDlgCtrlID();
    notify.hdr.hdr.code = code;
    notify.nIndex = index;
    notify.dwValue1 = menu;
    notify.dwValue2 = popup;
    CWnd* owner = GetOwnerWindow();
    return owner ? owner->SendMessage(WM_NOTIFY, notify.hdr.hdr.idFrom, (LPARAM)&notify) : 0;
}

void TkMenuBar::SetMenuIndexHot(BOOL hot)
{
    if (m_nMenuIndex < 0 || m_nMenuIndex >= GetCount())
        return;
    DWORD style = GetButtonStyle(m_nMenuIndex);
    SetButtonStyle(m_nMenuIndex, hot ? style | TKBS_HOT : style & ~TKBS_HOT);
}

void TkMenuBar::EnterMenuMode(int index)
{
    SetMenuIndexHot(FALSE);
    m_nMenuIndex = index;
    SetMenuIndexHot(TRUE);
    m_bMenuMode = TRUE;
    SendBarNotify(kTkNotifyMenuModeOn, -1, 0, (DWORD_PTR)-1);
    CWnd* owner = GetOwnerWindow();
    if (owner)
        owner->SendMessage(WM_SETMESSAGESTRING, 0);
}

void TkMenuBar::EnterMenuModeAt(CPoint point)
{
    int index = ButtonHitTest(point.x, point.y, NULL);
    if (IsMenuButton(index) && index != m_nMenuIndex)
        EnterMenuMode(index);
}

void TkMenuBar::ExitMenuMode()
{
    m_bMenuMode = FALSE;
    SendBarNotify(kTkNotifyMenuModeOff, -1, 0, (DWORD_PTR)-1);
    SetMenuIndexHot(FALSE);
    CWnd* owner = GetOwnerWindow();
    if (owner)
        owner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void TkMenuBar::CancelTrackedButton()
{
    if (m_nMenuIndex < 0 || m_nMenuIndex >= GetCount())
        return;
    TkStdBtn* button = GetButton(m_nMenuIndex);
    button->SetStyle(button->GetStyle() & ~TKBS_HOT);
    button->BtnCancel();
}

void TkMenuBar::PressMenuButton(int index)
{
    if (m_bMenuMode)
        ExitMenuMode();
    if (!IsMenuButton(index))
        return;
    CancelTrackedButton();
    TkStdBtn* button = GetButton(index);
    button->BtnPressDown(button->GetRect().TopLeft());
}

void TkMenuBar::OpenMenuButton(TkStdBtn* button, DWORD_PTR value1, DWORD_PTR value2)
{
    m_nMenuIndex = IndexOfButton(button);
    TkCustomToolBar::OpenMenuButton(button, value1, value2);
}

void TkMenuBar::RefreshMenuTracking()
{
    CancelTrackedButton();
    m_nMenuIndex = -1;
    if (GetSafeHwnd())
        UpdateHotTracking(TRUE);
}

BOOL TkMenuBar::FilterMenuMouse(const MSG* msg)
{
    CPoint point = msg->pt;
    ScreenToClient(&point);
    int index = ButtonHitTest(point.x, point.y, NULL);
    if (msg->message == WM_MOUSEMOVE)
    {
        if (index < 0 || index == m_nMenuIndex)
            return FALSE;
        if (IsMenuButton(index))
            PressMenuButton(index);
        else
            SendBarNotify(kTkNotifyMenuClose, index, 0, (DWORD_PTR)-1);
        return TRUE;
    }
    if (msg->message == WM_LBUTTONDOWN && index >= 0 && index == m_nMenuIndex)
    {
        SendBarNotify(kTkNotifyMenuClose, index, 0, (DWORD_PTR)-1);
        return TRUE;
    }
    return FALSE;
}
