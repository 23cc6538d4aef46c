#include "shell/views/LyricsDlg.h"
#include "shell/views/ViewsResources.h"

CLyricsDlg::CLyricsDlg(CWnd* parent) : CDialog(IDD_GET_LYRICS, parent)
{
}

void CLyricsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_LYRICS_DELETE_OLD, m_deleteOld);
    DDX_Check(dx, IDC_LYRICS_ONLY_EMPTY, m_onlyEmpty);
    DDX_Radio(dx, IDC_LYRICS_SCOPE_TRACK, m_scope);
}

BOOL CLyricsDlg::OnInitDialog()
{
    m_deleteOld = FALSE;
    m_onlyEmpty = TRUE;
    CDialog::OnInitDialog();
    if (m_scope == kSelectedDisc)
        GetDlgItem(IDC_LYRICS_SCOPE_TRACK)->EnableWindow(FALSE);
    return TRUE;
}
