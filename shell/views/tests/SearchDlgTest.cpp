// The disc search dialog driven as a user would, over a player control with
// one changer of 300 slots.
#include "shell/views/tests/ShellViewFixture.h"

#include "tests/support/DrivenDialog.h"
#include "tests/support/MessageBoxScript.h"
#include "shell/views/SearchDlg.h"
#include "core/players/SonyPlayer.h"
#include "shell/views/ViewsResources.h"

namespace {

typedef CDriven<CSearchDlg> CDrivenSearch;

class SearchDlgTest : public ShellViewFixture
{
protected:
    void SetUp() override
    {
        // No interface unit carries the changer's devices: their errors stay quiet.
        m_doc->GetDevicePath().SetMessageBoxes(FALSE);
        ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
        m_doc->GetSonyControl()->GetPlayer(0)->ChangeState([](ChangerState& s) { s.capacity = 300; });
    }
    static void ChoosePlayer(CDrivenSearch& dialog, int index)
    {
        dialog.SendDlgItemMessage(IDC_DISC_PLAYER, CB_SETCURSEL, index);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DISC_PLAYER, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_DISC_PLAYER)->m_hWnd));
    }
    static std::string Text(CDrivenSearch& dialog, int id)
    {
        CString text;
        dialog.GetDlgItemText(id, text);
        return std::string(text);
    }
};

TEST_F(SearchDlgTest, AllPlayersSearchAllSlots)
{
    CDrivenSearch dialog(m_doc->GetSonyControl());
    std::vector<std::string> players;
    dialog.m_steps = {[&](CDrivenSearch& d) {
                          for (int i = 0; i < d.SendDlgItemMessage(IDC_DISC_PLAYER, CB_GETCOUNT); ++i)
                          {
                              char text[16] = {};
                              d.SendDlgItemMessage(IDC_DISC_PLAYER, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                              players.push_back(text);
                          }
                          EXPECT_FALSE(d.IsEnabled(IDC_DISC_FIRST_SLOT));
                          EXPECT_FALSE(d.IsEnabled(IDC_DISC_SLOTS));
                          EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_DISC_ALL_SLOTS));
                      },
                      [](CDrivenSearch& d) { d.Click(IDOK); }};
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"All", "1"}), players);
    EXPECT_EQ((std::vector<int>{0, CSearchDlg::kAllSlots, 1, 400, CSearchDlg::kEmptySlots}),
              (std::vector<int>{dialog.m_player, dialog.m_range, dialog.m_firstSlot, dialog.m_lastSlot, dialog.m_kind}));
}

TEST_F(SearchDlgTest, AChangerOffersItsSlotsAndAFocusedSlotChoosesThem)
{
    CDrivenSearch dialog(m_doc->GetSonyControl());
    dialog.m_steps = {[](CDrivenSearch& d) { ChoosePlayer(d, 1); },
                      [](CDrivenSearch& d) {
                          EXPECT_TRUE(d.IsEnabled(IDC_DISC_LAST_SLOT));
                          EXPECT_EQ("1", Text(d, IDC_DISC_FIRST_SLOT));
                          EXPECT_EQ("300", Text(d, IDC_DISC_LAST_SLOT));
                          d.GetDlgItem(IDC_DISC_LAST_SLOT)->SetFocus();
                      },
                      [](CDrivenSearch& d) {
                          EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_DISC_SLOTS));
                          d.Click(IDC_DISC_KIND_EVERY);
                      },
                      [](CDrivenSearch& d) { d.Click(IDOK); }};
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<int>{1, CSearchDlg::kSlotRange, 1, 300, CSearchDlg::kEverySlot}),
              (std::vector<int>{dialog.m_player, dialog.m_range, dialog.m_firstSlot, dialog.m_lastSlot, dialog.m_kind}));
}

TEST_F(SearchDlgTest, ASlotPast400IsRefusedBeforeTheDialogCloses)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CDrivenSearch dialog(m_doc->GetSonyControl());
    dialog.m_steps = {[](CDrivenSearch& d) { ChoosePlayer(d, 1); },
                      [](CDrivenSearch& d) { d.SetDlgItemText(IDC_DISC_LAST_SLOT, "401"); },
                      [](CDrivenSearch& d) { d.Click(IDC_DISC_LOOKUP_SELECTED); },
                      [&](CDrivenSearch& d) {
                          EXPECT_EQ(1u, boxes.Shown().size()) << "refused, still open";
                          EXPECT_FALSE(d.m_lookupSelected);
                          d.SetDlgItemText(IDC_DISC_LAST_SLOT, "400");
                      },
                      [](CDrivenSearch& d) { d.Click(IDC_DISC_LOOKUP_QUEUED); }};
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_FALSE(dialog.m_lookupSelected);
    EXPECT_TRUE(dialog.m_lookupQueued);
    EXPECT_EQ(400, dialog.m_lastSlot);
}

} // namespace
