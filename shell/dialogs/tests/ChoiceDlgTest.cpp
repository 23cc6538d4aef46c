// The print choice, the memo transfer choice and the sleep notice, run
// modally: the button pressed gives the modal result and the choice.
#include "tests/support/TestFramework.h"

#include "tests/support/DrivenDialog.h"
#include "shell/dialogs/PrintSelDlg.h"
#include "shell/dialogs/SleepDlg.h"
#include "shell/dialogs/TextDlg.h"

#include <string>

namespace {

std::string Text(CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return (LPCSTR)text;
}

struct ChoiceCase
{
    int button;
    const char* label;
    INT_PTR result;
    int choice;
};

// Shows the dialog, checks the button's label, presses it.
template <class Dialog>
void RunChoice(const ChoiceCase& c, const char* caption)
{
    SCOPED_TRACE(c.label);
    CDriven<Dialog> dialog;
    dialog.m_nChoice = 7;
    std::string title, label;
    dialog.m_steps.push_back([&](CDriven<Dialog>& d) {
        CString text;
        d.GetWindowText(text);
        title = text;
        label = Text(d, c.button);
        d.Click(c.button);
    });
    EXPECT_EQ(c.result, dialog.DoModal());
    EXPECT_EQ(caption, title);
    EXPECT_EQ(c.label, label);
    EXPECT_EQ(c.choice, dialog.m_nChoice);
}

TEST(ChoiceDlgTest, PrintWhat)
{
    const ChoiceCase cases[] = {
        {IDC_PRINT_LIBRARY, "Library", IDOK, 1},
        {IDC_PRINT_SEARCH, "Search Results", IDOK, 2},
        {IDC_PRINT_PLAYLIST, "Playlist", IDOK, 3},
        {IDCANCEL, "Cancel", IDCANCEL, -1},
    };
    for (const ChoiceCase& c : cases)
        RunChoice<CPrintSelDlg>(c, "Print What?");
}

TEST(ChoiceDlgTest, TransferText)
{
    const ChoiceCase cases[] = {
        {IDC_TEXT_UPLOAD_ALL, "Upload all disc memos from ZYM to players", IDOK, 0},
        {IDC_TEXT_UPLOAD_SELECTED, "Upload selected disc memos from ZYM to players", IDOK, 1},
        {IDC_TEXT_DOWNLOAD_ALL, "Download all disc memos from players to ZYM", IDOK, 2},
        {IDC_TEXT_DOWNLOAD_SELECTED, "Download selected disc memos from player to ZYM", IDOK, 3},
        {IDCANCEL, "Cancel", IDCANCEL, -1},
    };
    for (const ChoiceCase& c : cases)
        RunChoice<CTextDlg>(c, "Transfer text between ZYM and players");
}

// Escape closes a choice dialog like Cancel.
TEST(ChoiceDlgTest, EscapeChoosesNothing)
{
    CDriven<CTextDlg> dialog;
    dialog.m_steps.push_back([](CDriven<CTextDlg>& d) {
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(-1, dialog.m_nChoice);
}

TEST(ChoiceDlgTest, SleepNotice)
{
    const ChoiceCase cases[] = {
        {IDOK, "Turn Stereo Back On", IDOK, 0},
        {IDCANCEL, "Shut Down ZYM", IDCANCEL, 0},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.label);
        CDriven<CSleepDlg> dialog;
        std::string title, label;
        bool hasText = false;
        HICON icon = NULL;
        dialog.m_steps.push_back([&](CDriven<CSleepDlg>& d) {
            CString text;
            d.GetWindowText(text);
            title = text;
            label = Text(d, c.button);
            for (CWnd* child = d.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
                child->GetWindowText(text);
                hasText |= text == "ZYM is now suspended after a timer shutdown.";
                if (HICON shown = (HICON)child->SendMessage(STM_GETICON))
                    icon = shown;
            }
            d.Click(c.button);
        });
        EXPECT_EQ(c.result, dialog.DoModal());
        EXPECT_EQ("ZYM is Sleeping...", title);
        EXPECT_EQ(c.label, label);
        EXPECT_TRUE(hasText);
        EXPECT_TRUE(icon != NULL) << "icon 311";
    }
}

} // namespace
