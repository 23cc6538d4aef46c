#include "toolkit/toolbars/TkToolBarSheet.h"

#include "toolkit/toolbars/TkFloatActivation.h"
#include "toolkit/toolbars/TkToolBarManager.h"

IMPLEMENT_DYNAMIC(TkToolBarSheet, CPropertySheet)

LRESULT TkToolBarSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FLOATSTATUS)
        return TkFloatStatusToCaption(this, wParam);
    LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    if (message == WM_ACTIVATE)
        TkActivateFloatingWindows(this, LOWORD(wParam));
    return result;
}

CPropertySheet* TkSheetOfPage(const CWnd* page)
{
    HWND parent = page->GetSafeHwnd() != NULL ? ::GetParent(page->m_hWnd) : NULL;
    CWnd* sheet = parent != NULL ? CWnd::FromHandlePermanent(parent) : NULL;
    if (sheet == NULL || !sheet->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        return NULL;
    return static_cast<CPropertySheet*>(sheet);
}

void TkLeaveCustomizePage(TkToolBarManager* manager, const CWnd* page)
{
    if (manager != NULL)
        manager->EndCustomize();
    CPropertySheet* sheet = TkSheetOfPage(page);
    if (sheet != NULL)
        sheet->EnableWindow(TRUE);
}
