#include "shell/options/ChoiceExchange.h"

void SetChoices(CWnd* dialog, int id, const char* const* choices, int count)
{
    CComboBox* combo = static_cast<CComboBox*>(dialog->GetDlgItem(id));
    combo->ResetContent();
    for (int i = 0; i < count; ++i)
        combo->AddString(choices[i]);
}

void DDX_KeptChoice(CDataExchange* pDX, int id, int& index)
{
    HWND combo = pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate)
    {
        ::SendMessageA(combo, CB_SETCURSEL, index, 0);
        return;
    }
    int selected = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (selected != CB_ERR)
        index = selected;
}
