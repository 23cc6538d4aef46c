#include "listctrl/LxCustomizeColumnsDlg.h"

#include "listctrl/LxListResource.h"

#include <vector>

BEGIN_MESSAGE_MAP(CLxCustomizeColumnsDlg, CDialog)
    ON_BN_CLICKED(IDC_LX_ADD, OnAdd)
    ON_BN_CLICKED(IDC_LX_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_LX_MOVE_UP, OnMoveUp)
    ON_BN_CLICKED(IDC_LX_MOVE_DOWN, OnMoveDown)
    ON_LBN_DBLCLK(IDC_LX_FREE_COLUMNS, OnAdd)
    ON_LBN_DBLCLK(IDC_LX_SHOWN_COLUMNS, OnRemove)
    ON_LBN_SELCHANGE(IDC_LX_FREE_COLUMNS, UpdateFreeButtons)
    ON_LBN_SELCHANGE(IDC_LX_SHOWN_COLUMNS, UpdateShownButtons)
END_MESSAGE_MAP()

CLxCustomizeColumnsDlg::CLxCustomizeColumnsDlg(CWnd* parent)
    : CDialog(IDD_LX_CUSTOMIZE_COLUMNS, parent), m_pColumnManager(NULL)
{
}

void CLxCustomizeColumnsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LX_FREE_COLUMNS, m_freeList);
    DDX_Control(pDX, IDC_LX_SHOWN_COLUMNS, m_shownList);
}

// A column whose header shows an image goes by its description.
CString CLxCustomizeColumnsDlg::DisplayName(const CLxColumnDef& def)
{
    if ((def.m_format & kLxColHeaderImage) && !def.m_description.IsEmpty())
        return def.m_description;
    return def.m_label;
}

void CLxCustomizeColumnsDlg::AddEntry(CListBox& list, const CString& text, DWORD_PTR id)
{
    if (text.IsEmpty())
        return;
    list.SetItemData(list.AddString(text), id);
}

BOOL CLxCustomizeColumnsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CLxColumnManager& manager = *m_pColumnManager;
    for (int i = 0; i < manager.GetColumnCount(); i++)
    {
        const CLxColumnDef& def = manager.GetColumn(i);
        if (!manager.IsColumnShown(def.m_id))
            AddEntry(m_freeList, DisplayName(def), def.m_id);
    }
    for (int id : manager.GetShownIds())
    {
        int index = manager.FindColumn(id);
        if (index >= 0)
            AddEntry(m_shownList, DisplayName(manager.GetColumn(index)), id);
    }
    return TRUE;
}

void CLxCustomizeColumnsDlg::MoveSelected(CListBox& from, CListBox& to)
{
    std::vector<int> selected(from.GetSelCount());
    if (selected.empty())
        return;
    from.GetSelItems((int)selected.size(), selected.data());
    for (int i = (int)selected.size() - 1; i >= 0; i--)
    {
        CString text;
        from.GetText(selected[i], text);
        DWORD_PTR id = from.GetItemData(selected[i]);
        from.DeleteString(selected[i]);
        AddEntry(to, text, id);
    }
}

void CLxCustomizeColumnsDlg::OnAdd()
{
    MoveSelected(m_freeList, m_shownList);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    UpdateFreeButtons();
}

// A removal is a change the user may confirm too.
void CLxCustomizeColumnsDlg::OnRemove()
{
    MoveSelected(m_shownList, m_freeList);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    UpdateShownButtons();
}

int CLxCustomizeColumnsDlg::SingleShownSelection() const
{
    int selected = -1;
    if (m_shownList.GetSelCount() != 1 || m_shownList.GetSelItems(1, &selected) != 1)
        return -1;
    return selected;
}

void CLxCustomizeColumnsDlg::MoveShown(int delta)
{
    int from = SingleShownSelection();
    int to = from + delta;
    if (from < 0 || to < 0 || to >= m_shownList.GetCount())
        return;
    CString text;
    m_shownList.GetText(from, text);
    DWORD_PTR id = m_shownList.GetItemData(from);
    m_shownList.DeleteString(from);
    m_shownList.SetItemData(m_shownList.InsertString(to, text), id);
    m_shownList.SetSel(to);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    UpdateShownButtons();
}

void CLxCustomizeColumnsDlg::OnMoveUp()
{
    MoveShown(-1);
}

void CLxCustomizeColumnsDlg::OnMoveDown()
{
    MoveShown(1);
}

void CLxCustomizeColumnsDlg::UpdateFreeButtons()
{
    GetDlgItem(IDC_LX_ADD)->EnableWindow(m_freeList.GetSelCount() > 0);
}

void CLxCustomizeColumnsDlg::UpdateShownButtons()
{
    int single = SingleShownSelection();
    GetDlgItem(IDC_LX_REMOVE)->EnableWindow(m_shownList.GetSelCount() > 0);
    GetDlgItem(IDC_LX_MOVE_UP)->EnableWindow(single > 0);
    GetDlgItem(IDC_LX_MOVE_DOWN)->EnableWindow(single >= 0 &&
                                               single < m_shownList.GetCount() - 1);
}

// Column 0 leads whether the list shows it or not, and only once.
void CLxCustomizeColumnsDlg::OnOK()
{
    if (m_shownList.GetCount() == 0)
    {
        AfxMessageBox("E' necessario inserire almeno una colonna ..");
        return;
    }
    std::vector<int> ids(1, 0);
    for (int i = 0; i < m_shownList.GetCount(); i++)
    {
        int id = (int)m_shownList.GetItemData(i);
        if (id != 0)
            ids.push_back(id);
    }
    m_pColumnManager->SetDefaultColumns((int)ids.size(), ids.data());
    CDialog::OnOK();
}
