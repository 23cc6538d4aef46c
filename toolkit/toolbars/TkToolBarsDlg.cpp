#include "toolkit/toolbars/TkToolBarsDlg.h"

#include "toolkit/toolbars/TkFloatActivation.h"
#include "toolkit/toolbars/TkToolBarManager.h"

TkToolBarsDlg::TkToolBarsDlg(TkToolBarManager* manager, CWnd* parent)
    : CDialog(IDD_TK_TOOLBARS, parent), TkToolBarsBase(this)
{
    SetManager(manager);
}

BOOL TkToolBarsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AttachList();
    CenterWindow();
    FillList();
    if (m_pManager != NULL) {
        m_pManager->BeginCustomize(this);
        m_pManager->AddListener(this);
    }
    return TRUE;
}

void TkToolBarsDlg::DoDataExchange(CDataExchange* dx)
{
    ExchangeOptions(dx);
}

void TkToolBarsDlg::Close(int result)
{
    if (m_pManager != NULL) {
        m_pManager->EndCustomize();
        m_pManager->RemoveListener(this);
        m_pManager->SetCustomizeDialog(NULL);
    }
    if (result == IDCANCEL)
        Restore();
    else
        Apply();
    EndDialog(result);
}

void TkToolBarsDlg::OnOK()
{
    if (UpdateData(TRUE))
        Close(IDOK);
}

void TkToolBarsDlg::OnCancel()
{
    Close(IDCANCEL);
}

LRESULT TkToolBarsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        UINT id = LOWORD(wParam);
        if (id == IDC_TK_CUSTOMIZE || (id == IDC_TK_NEW_TOOLBAR && OnNew())) {
            Close(IDC_TK_CUSTOMIZE);
            return 0;
        }
        if (id == IDC_TK_NEW_TOOLBAR)
            return 0;
    }
    if (message == WM_FLOATSTATUS)
        return TkFloatStatusToCaption(this, wParam);
    if (OnPanelMessage(message, wParam, lParam))
        return 0;
    LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_ACTIVATE)
        TkActivateFloatingWindows(this, LOWORD(wParam));
    return result;
}
