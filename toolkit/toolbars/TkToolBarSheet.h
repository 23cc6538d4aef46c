// TkToolBarSheet: the customise sheet. It behaves as one of the frame's
// floating windows: its caption follows their activation and its own
// activation is handed on to them.
#pragma once

#include <afxdlgs.h>

class TkToolBarManager;

const UINT IDS_TK_CUSTOMIZE = 20538;

class TkToolBarSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(TkToolBarSheet)
public:
    using CPropertySheet::CPropertySheet;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The sheet object a page's window is on; NULL before it is on one.
CPropertySheet* TkSheetOfPage(const CWnd* page);
// A customise page is left: bars and manager leave customise and config
// mode, and the sheet takes input again.
void TkLeaveCustomizePage(TkToolBarManager* manager, const CWnd* page);
