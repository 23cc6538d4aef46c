// Edits the action of one event of a map: the edit field shows the action
// and gives it back on OK; the title names the event.
#pragma once

#include <afxwin.h>

class CEventEditDlg : public CDialog
{
public:
    CEventEditDlg(const CString& eventName, const CString& action, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CString m_strEvent;
    CString m_strAction;
};
