#include "core/automation/EventEditDlg.h"

#include "core/automation/AutomationResources.h"

CEventEditDlg::CEventEditDlg(const CString& eventName, const CString& action, CWnd* parent)
    : CDialog(IDD_EVENT_EDIT, parent), m_strEvent(eventName), m_strAction(action)
{
}

BOOL CEventEditDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("Edit Event - " + m_strEvent);
    return TRUE;
}

void CEventEditDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_EVENT_ACTION, m_strAction);
}
