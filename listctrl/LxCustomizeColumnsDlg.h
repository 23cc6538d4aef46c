// CLxCustomizeColumnsDlg: lets the user choose which columns a list shows and
// in which order. OK writes the shown ids of the column manager, column 0
// always first.
#pragma once

#include "listctrl/LxColumnManager.h"

#include <afxwin.h>

class CLxCustomizeColumnsDlg : public CDialog
{
public:
    explicit CLxCustomizeColumnsDlg(CWnd* parent = NULL);

    // Not owned; set before the dialog runs.
    CLxColumnManager* m_pColumnManager;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnAdd();
    void OnRemove();
    void OnMoveUp();
    void OnMoveDown();
    void UpdateFreeButtons();
    void UpdateShownButtons();
    DECLARE_MESSAGE_MAP()

private:
    static CString DisplayName(const CLxColumnDef& def);
    static void AddEntry(CListBox& list, const CString& text, DWORD_PTR id);
    // Moves the selected entries of one list to the other, the highest first.
    static void MoveSelected(CListBox& from, CListBox& to);
    // The one selected entry of the shown list; -1 with none or several.
    int SingleShownSelection() const;
    void MoveShown(int delta);

    CListBox m_freeList;
    CListBox m_shownList;
};
