#include "shell/options/OptionsPage.h"

BOOL COptionsPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    SetModified(TRUE);
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT COptionsPage::SendToMainWindow(UINT message)
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->SendMessage(message, 0, 0) : 0;
}

