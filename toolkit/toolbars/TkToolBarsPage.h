// TkToolBarsPage: the "Toolbars" page of the customise sheet. While it is
// the active page the bars are in customise mode and the manager in config
// mode; OK keeps the options, Cancel restores what they were. A changed cool
// look or button size is sent to the sheet's other pages as
// "WM_TOOLBARSTYLECHANGING" (wParam kTkStyleLargeButtons or kTkStyleCoolLook)
// so that they restyle their own bars.
#pragma once

#include <afxdlgs.h>

#include "toolkit/toolbars/TkToolBarsBase.h"

const UINT IDD_TK_TOOLBARS_PAGE = 20513;

// wParam of "WM_TOOLBARSTYLECHANGING".
const WPARAM kTkStyleLargeButtons = 1;
const WPARAM kTkStyleCoolLook = 2;

class TkToolBarsPage : public CPropertyPage, public TkToolBarsBase
{
    DECLARE_DYNAMIC(TkToolBarsPage)
public:
    TkToolBarsPage();
    ~TkToolBarsPage() override;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnReset() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOptionChanged(UINT id) override;

    static UINT s_nStyleChangingMsg;

protected:
    void DoDataExchange(CDataExchange* dx) override;

    // The sheet made the customise dialog, forgotten when the page goes.
    CWnd* m_pSheet;
};
