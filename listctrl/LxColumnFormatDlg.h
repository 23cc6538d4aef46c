// CLxColumnFormatDlg: edits label, second label, width, kind and alignment of
// the shown columns on a copy of the column manager; OK hands the edited
// definitions to the caller's manager. A field takes effect when it loses the
// focus (or on OK while it has it).
#pragma once

#include "listctrl/LxColumnManager.h"

#include <afxcmn.h>

class CLxColumnFormatDlg : public CDialog
{
public:
    explicit CLxColumnFormatDlg(CWnd* parent = NULL);
    ~CLxColumnFormatDlg() override;

    // Not owned; set before the dialog runs.
    CLxColumnManager* m_pColumnManager;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();
    void OnFieldChange();
    void OnKindKillFocus();
    void OnLabelKillFocus();
    void OnSecondLabelKillFocus();
    void OnWidthKillFocus();
    void OnAlignLeft();
    void OnAlignCenter();
    void OnAlignRight();
    DECLARE_MESSAGE_MAP()

private:
    // Loads (save false) or reads back and checks one field.
    void ExchangeField(CDataExchange* pDX, int id);
    bool SaveField(int id);
    // Takes a field's value into the selected definition; false when the
    // value is refused.
    bool ApplyField(int id);
    void ApplyLabel(CLxColumnDef& def);
    void SetAlignment(int id, int alignment);
    // The working definition of the selected entry; NULL with none.
    CLxColumnDef* Selected();
    void ShowColumn(const CLxColumnDef& def);
    void ShowKinds(const CLxColumnDef& def);
    bool IsEnabled(int id) const;

    CLxColumnManager* m_pWork;
    CComboBox m_kindCombo;
    CListBox m_fieldList;
    CString m_label;
    CString m_secondLabel;
    int m_width;  // characters
    CString m_editKind;
    // Pixels per character of the dialog's plain client DC.
    int m_unit;
    // Set once OK or Cancel closes: the focus loss that follows changes nothing.
    bool m_closing;
};
