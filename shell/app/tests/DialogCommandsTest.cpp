#include "tests/support/doc/DocFixture.h"

#include "shell/app/DialogCommands.h"
#include "shell/views/SearchDlg.h"

namespace
{
class DialogCommandsTest : public DocFixture
{
};
}

// A search or look-up already running keeps the command from opening its
// dialog; the flag belongs to the running one and stays set.
TEST_F(DialogCommandsTest, SearchForDiscsWaitsForARunningSearch)
{
    Open();
    m_doc->SetDiscSearchRunning(TRUE);
    CDialogCommands(*m_doc, nullptr).OnSearchForDiscs();
    EXPECT_TRUE(m_doc->IsDiscSearchRunning());
    m_doc->SetDiscSearchRunning(FALSE);
    Close();
}

// The dialog's fields become the document's search settings, and its
// look-up-later box the opposite of "Use Internet" for the option and the
// search's own look-ups.
TEST_F(DialogCommandsTest, TheSearchDialogsChoicesBecomeTheSearch)
{
    Open();
    const struct
    {
        int kind;
        int player;
        int range;
        int first;
        int last;
        BOOL queue;
    } cases[] = {
        { CSearchDlg::kEmptySlots, 0, CSearchDlg::kAllSlots, 1, 400, FALSE },
        { CSearchDlg::kEverySlot, 2, CSearchDlg::kSlotRange, 17, 30, TRUE },
        { CSearchDlg::kEmptyAndMissing, 1, CSearchDlg::kSlotRange, 300, 5, FALSE },
    };
    for (const auto& c : cases)
    {
        CSearchDlg dialog(nullptr);
        dialog.m_kind = c.kind;
        dialog.m_player = c.player;
        dialog.m_range = c.range;
        dialog.m_firstSlot = c.first;
        dialog.m_lastSlot = c.last;
        dialog.m_queue = c.queue;
        CDialogCommands(*m_doc, nullptr).RunSearchChoice(dialog);
        const DiscSearchSettings& settings = m_doc->GetSearchSettings();
        EXPECT_EQ(c.kind, settings.mode);
        EXPECT_EQ(c.player, settings.playerFilter);
        EXPECT_EQ(c.range == CSearchDlg::kSlotRange, settings.useRange != FALSE);
        EXPECT_EQ(c.first, settings.firstSlot);
        EXPECT_EQ(c.last, settings.lastSlot);
        EXPECT_EQ(!c.queue, m_doc->GetOptions().m_page1.m_useInternet != 0);
        EXPECT_EQ(!c.queue, m_doc->GetCddbClient().m_bUseInternet != FALSE);
    }
    Close();
}

// A look-up chosen in the dialog runs instead of a search and leaves the
// search settings as they were.
TEST_F(DialogCommandsTest, ALookUpChoiceLeavesTheSearchSettings)
{
    Open();
    DiscSearchSettings& settings = m_doc->GetSearchSettings();
    settings.mode = CSearchDlg::kEmptyAndMissing;
    settings.playerFilter = 3;
    for (int which = 0; which < 2; ++which)
    {
        CSearchDlg dialog(nullptr);
        dialog.m_kind = CSearchDlg::kEverySlot;
        dialog.m_player = 1;
        dialog.m_lookupSelected = which == 0;
        dialog.m_lookupQueued = which == 1;
        CDialogCommands(*m_doc, nullptr).RunSearchChoice(dialog);
        EXPECT_EQ(CSearchDlg::kEmptyAndMissing, settings.mode) << which;
        EXPECT_EQ(3, settings.playerFilter) << which;
        EXPECT_FALSE(m_doc->IsDiscSearchRunning()) << which;
    }
    Close();
}
