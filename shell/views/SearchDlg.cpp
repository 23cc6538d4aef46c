#include "shell/views/SearchDlg.h"
#include "shell/views/ViewsResources.h"

#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"

BEGIN_MESSAGE_MAP(CSearchDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_DISC_PLAYER, OnPlayerChanged)
    ON_EN_SETFOCUS(IDC_DISC_FIRST_SLOT, OnSlotFocus)
    ON_EN_SETFOCUS(IDC_DISC_LAST_SLOT, OnSlotFocus)
    ON_BN_CLICKED(IDC_DISC_LOOKUP_SELECTED, OnLookupSelected)
    ON_BN_CLICKED(IDC_DISC_LOOKUP_QUEUED, OnLookupQueued)
END_MESSAGE_MAP()

CSearchDlg::CSearchDlg(CSonyControl* control, CWnd* parent) : CDialog(IDD_SEARCH_DISCS, parent), m_control(control)
{
}

void CSearchDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_CBIndex(dx, IDC_DISC_PLAYER, m_player);
    DDX_Radio(dx, IDC_DISC_KIND_EMPTY, m_kind);
    DDX_Radio(dx, IDC_DISC_ALL_SLOTS, m_range);
    DDX_Text(dx, IDC_DISC_FIRST_SLOT, m_firstSlot);
    DDV_MinMaxInt(dx, m_firstSlot, kLowestSlot, kHighestSlot);
    DDX_Text(dx, IDC_DISC_LAST_SLOT, m_lastSlot);
    DDV_MinMaxInt(dx, m_lastSlot, kLowestSlot, kHighestSlot);
    DDX_Check(dx, IDC_DISC_QUEUE, m_queue);
}

BOOL CSearchDlg::OnInitDialog()
{
    CComboBox* players = static_cast<CComboBox*>(GetDlgItem(IDC_DISC_PLAYER));
    players->AddString("All");
    int count = m_control ? m_control->GetPlayerCount() : 0;
    for (int player = 1; player <= count; ++player)
    {
        CString number;
        number.Format("%d", player);
        players->AddString(number);
    }
    m_lookupSelected = FALSE;
    m_lookupQueued = FALSE;
    if (m_player <= 0 || m_player > count)
    {
        m_player = 0;
        m_range = kAllSlots;
    }
    CDialog::OnInitDialog();
    EnableSlots(m_player > 0);
    return TRUE;
}

void CSearchDlg::EnableSlots(bool enable)
{
    for (UINT id : {IDC_DISC_FIRST_SLOT, IDC_DISC_LAST_SLOT, IDC_DISC_SLOTS})
        GetDlgItem(id)->EnableWindow(enable);
}

// A changer offers its own slots; "All" searches them all.
void CSearchDlg::OnPlayerChanged()
{
    int player = static_cast<int>(SendDlgItemMessage(IDC_DISC_PLAYER, CB_GETCURSEL));
    CSonyPlayer* changer = player > 0 && m_control ? m_control->GetPlayer(player - 1) : nullptr;
    EnableSlots(changer != nullptr);
    if (changer)
    {
        SetDlgItemInt(IDC_DISC_FIRST_SLOT, kLowestSlot);
        SetDlgItemInt(IDC_DISC_LAST_SLOT, changer->GetState().capacity);
    }
    else
        CheckRadioButton(IDC_DISC_ALL_SLOTS, IDC_DISC_SLOTS, IDC_DISC_ALL_SLOTS);
}

void CSearchDlg::OnSlotFocus()
{
    CheckRadioButton(IDC_DISC_ALL_SLOTS, IDC_DISC_SLOTS, IDC_DISC_SLOTS);
}

void CSearchDlg::OnLookupSelected()
{
    CloseForLookup(m_lookupSelected);
}

void CSearchDlg::OnLookupQueued()
{
    CloseForLookup(m_lookupQueued);
}

void CSearchDlg::CloseForLookup(BOOL& flag)
{
    flag = UpdateData(TRUE);
    if (flag)
        EndDialog(IDOK);
}
