#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pParentMenu(NULL),
      m_pOther(NULL), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0)
{
}

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu)
    {
        // An item that opens a submenu keeps its state.
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    else if (m_pOther)
    {
        // A control that loses its enabling must not keep the focus.
        if (!on && ::GetFocus() == m_pOther->m_hWnd)
        {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent)
                ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu)
    {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON))
    {
        m_pOther->SendMessage(BM_SETCHECK, check);
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (!m_pMenu)
    {
        SetCheck(on ? 1 : 0);
        return;
    }
    if (m_pSubMenu)
        return;
    // A round check mark instead of a tick: the replaced bitmap, or the
    // system's radio mark.
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_CHECKMARKS;
    m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
    HBITMAP radio = AfxGetMenuRadioBitmap();
    if (radio)
        info.hbmpChecked = radio;
    else
        info.fType |= MFT_RADIOCHECK;
    info.fState = on ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
    m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
}

namespace
{
HBITMAP s_menuRadioBitmap;
}

HBITMAP AfxGetMenuRadioBitmap()
{
    return s_menuRadioBitmap;
}

void AfxSetMenuRadioBitmap(HBITMAP bitmap)
{
    s_menuRadioBitmap = bitmap;
}

void CCmdUI::SetText(LPCSTR text)
{
    if (m_pMenu)
    {
        if (m_pSubMenu)
            return;
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        m_pMenu->ModifyMenu(m_nIndex,
                            MF_BYPOSITION | MF_STRING |
                                (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)),
                            m_nID, text);
    }
    else if (m_pOther)
    {
        CString current;
        m_pOther->GetWindowText(current);
        // Same text: no flicker.
        if (current != text)
            m_pOther->SetWindowText(text);
    }
}

void CCmdUI::ContinueRouting()
{
    m_bContinueRouting = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    // Separators and items that open submenus have no command.
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, NULL);
    if (disableIfNoHandler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info = {NULL, NULL};
        if (!target->OnCmdMsg(m_nID, CN_COMMAND, this, &info))
            Enable(FALSE);
    }
    return handled;
}
