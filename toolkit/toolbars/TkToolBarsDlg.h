// TkToolBarsDlg: the modal "Toolbars" dialog the tool-bar manager runs. While
// it is up the bars are in customise mode and the manager in config mode.
// It ends with IDOK, IDCANCEL (the options go back to what they were) or
// IDC_TK_CUSTOMIZE, also after New made a bar, which asks the caller to open
// the customise sheet.
#pragma once

#include "toolkit/toolbars/TkToolBarsBase.h"

const UINT IDD_TK_TOOLBARS = 20510;

class TkToolBarsDlg : public CDialog, public TkToolBarsBase
{
public:
    explicit TkToolBarsDlg(TkToolBarManager* manager, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Leaves config and customise mode, then keeps or restores the options.
    void Close(int result);
};
