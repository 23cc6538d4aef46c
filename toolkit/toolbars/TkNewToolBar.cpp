#include "toolkit/toolbars/TkNewToolBar.h"

#include "toolkit/toolbars/TkToolBarsBase.h"

BEGIN_MESSAGE_MAP(TkNewToolBar, CDialog)
    ON_EN_CHANGE(IDC_TK_NEW_NAME, OnNameChange)
END_MESSAGE_MAP()

TkNewToolBar::TkNewToolBar(CWnd* parent) : CDialog(IDD_TK_NEW_TOOLBAR, parent)
{
}

BOOL TkNewToolBar::OnInitDialog()
{
    BOOL result = CDialog::OnInitDialog();
    OnNameChange();
    return result;
}

void TkNewToolBar::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_TK_NEW_NAME, m_strName);
}

void TkNewToolBar::OnNameChange()
{
    CString name;
    GetDlgItemText(IDC_TK_NEW_NAME, name);
    if (name.GetLength() > kTkMaxToolBarName)
        SetDlgItemText(IDC_TK_NEW_NAME, name.Left(kTkMaxToolBarName));
    CWnd* ok = GetDlgItem(IDOK);
    if (ok != NULL)
        ok->EnableWindow(!name.IsEmpty());
}
