#include "toolkit/menus/TkMenuBarFeature.h"

IMPLEMENT_DYNAMIC(TkMenuBarFeature, TkBmpMenuPlugIn)

BEGIN_MESSAGE_MAP(TkMenuBarFeature, TkBmpMenuPlugIn)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelectMsg)
    ON_REGISTERED_MESSAGE(WM_TK_MENUPROD, OnMenuProdMsg)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupFeature)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMsg)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMsg)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdleMsg)
END_MESSAGE_MAP()

TkMenuBarFeature::TkMenuBarFeature(BOOL radioDot) : TkBmpMenuPlugIn(radioDot)
{
}

CWnd* TkMenuBarFeature::GetFrame()
{
    return GetSafeHwnd() ? this : NULL;
}

BOOL TkMenuBarFeature::ActivateMenu(UINT menuId)
{
    SetActiveMenu(menuId);
    return TRUE;
}

BOOL TkMenuBarFeature::PreTranslateMessage(MSG* msg)
{
    if (PreTranslateKey(msg))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

BOOL TkMenuBarFeature::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT answer = 0;
    if (OnMenuBarNotify(wParam, (NMHDR*)lParam, &answer) <= 0)
        return FALSE;
    *result = answer;
    Handled(answer);
    return TRUE;
}

LRESULT TkMenuBarFeature::OnMenuSelectMsg(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnMenuSelect(wParam, lParam);
    if (result)
        Handled(result);
    return result;
}

LRESULT TkMenuBarFeature::OnMenuProdMsg(WPARAM wParam, LPARAM lParam)
{
    Handled(0);
    return OnMenuProd(wParam, lParam);
}

LRESULT TkMenuBarFeature::OnInitMenuPopupFeature(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnInitMenuPopup(wParam, lParam);
    if (result)
        Handled(result);
    return OnInitMenuPopupMsg(wParam, lParam);
}

LRESULT TkMenuBarFeature::OnSysCommandMsg(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnSysCommand((UINT)wParam, lParam);
    if (result)
        Handled(result);
    return result;
}

LRESULT TkMenuBarFeature::OnNcActivateMsg(WPARAM wParam, LPARAM)
{
    return OnNcActivate((BOOL)wParam);
}

LRESULT TkMenuBarFeature::OnEnterIdleMsg(WPARAM wParam, LPARAM lParam)
{
    OnEnterIdle((UINT)wParam, (HWND)lParam);
    return 0;
}
