#include "shell/dialogs/ChoiceDlg.h"

CChoiceDlg::CChoiceDlg(UINT templateId, const ChoiceButton* buttons, CWnd* parent)
    : CDialog(templateId, parent), m_nChoice(-1), m_buttons(buttons)
{
}

BOOL CChoiceDlg::OnInitDialog()
{
    m_nChoice = -1;
    return CDialog::OnInitDialog();
}

BOOL CChoiceDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
        for (const ChoiceButton* button = m_buttons; button->id; button++)
            if (button->id == LOWORD(wParam)) {
                m_nChoice = button->choice;
                OnOK();
                return TRUE;
            }
    return CDialog::OnCommand(wParam, lParam);
}
