#include "tests/support/TestFramework.h"

#include "library/web/tests/HttpTestSupport.h"
#include "tests/support/MessageBoxScript.h"
#include "library/web/CDDBDialogs.h"
#include "library/web/WebResources.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kFindPauseMs = 20;
const int kFindTries = 500;

// Plays the user from a thread of its own: waits for the dialog with the
// given caption, then acts on it with sent and posted messages.
class CDialogDriver
{
public:
    typedef std::function<void(HWND)> Action;

    CDialogDriver(const std::string& caption, Action action)
        : m_caption(caption), m_action(action), m_found(false)
    {
        m_thread = CreateThread(NULL, 0, Run, this, 0, NULL);
    }

    ~CDialogDriver()
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }

    bool Found() const { return m_found; }

private:
    static DWORD WINAPI Run(void* self)
    {
        CDialogDriver* driver = (CDialogDriver*)self;
        for (int i = 0; i < kFindTries && !driver->m_found; i++) {
            // A modal dialog shows itself only once WM_INITDIALOG has filled it; one
            // found earlier would be driven empty and its OK would raise a message box.
            HWND dialog = FindWindowA("#32770", driver->m_caption.c_str());
            if (dialog && IsWindowVisible(dialog)) {
                driver->m_found = true;
                driver->m_action(dialog);
            } else {
                Sleep(kFindPauseMs);
            }
        }
        return 0;
    }

    std::string m_caption;
    Action m_action;
    bool m_found;
    HANDLE m_thread;
};

void Press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Pressing OK and waiting until the dialog has handled it.
void PressNow(HWND dialog, int button)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

std::string ListBoxLine(HWND list, int index)
{
    char text[256] = "";
    SendMessageA(list, LB_GETTEXT, index, (LPARAM)text);
    return text;
}

std::string ListViewText(HWND list, int row, int column)
{
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return text;
}

std::string HeaderText(HWND list, int column)
{
    char text[64] = "";
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, (LPARAM)&info);
    return text;
}

class CDDBDialogsTest : public ::testing::Test
{
protected:
    CDDBDialogsTest() : album(MakeAlbum({ 750, 750 }, 1650))
    {
        album.SetPlayer(1);
        album.SetSlot(42);
        client.m_matches = { "rock a50b4d03 The Quiet Set / Harbour Lights",
                             "misc b60c5e03 The Quiet Set / Harbour Lights (live)" };
        CDDBSite first, second;
        first.m_strHost = "first.test";
        first.m_strDescription = "First server";
        second.m_strHost = "second.test";
        second.m_strDescription = "Atlanta, GA";
        client.m_sites = { first, second };
    }

    CCDDBClient client;
    AlbumRecord album;
    CCDDBDialogs dialogs;
};

const char kMatchTitle[] =
    "Inexact CDDB Match for Player 2, Disc 42 - Please Select the Appropriate Title";

TEST_F(CDDBDialogsTest, MatchDialogShowsTheMatchesAndClosesOnlyWithASelection)
{
    std::vector<std::string> lines;
    CDialogDriver driver(kMatchTitle, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_MATCH_LIST);
        int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++)
            lines.push_back(ListBoxLine(list, i));
        PressNow(dialog, IDOK);
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(1, dialogs.ChooseMatch(client, album));
    EXPECT_TRUE(driver.Found());
    EXPECT_EQ(std::vector<std::string>(client.m_matches.begin(), client.m_matches.end()), lines);
}

TEST_F(CDDBDialogsTest, MarkAsUnknownIsNoChoice)
{
    CDialogDriver driver(kMatchTitle, [](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(-1, dialogs.ChooseMatch(client, album));
    EXPECT_TRUE(driver.Found());
}

TEST_F(CDDBDialogsTest, ServerDialogListsTheSites)
{
    std::vector<std::string> texts;
    CDialogDriver driver("Please select a CDDB server", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_SERVER_LIST);
        texts = { HeaderText(list, 0), HeaderText(list, 1), ListViewText(list, 0, 0),
                  ListViewText(list, 0, 1), ListViewText(list, 1, 0), ListViewText(list, 1, 1) };
        PressNow(dialog, IDOK);
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, 1, (LPARAM)&state);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(1, dialogs.ChooseServer(client));
    EXPECT_EQ((std::vector<std::string>{ "Server Name", "Location", "first.test", "First server",
                                         "second.test", "Atlanta, GA" }),
              texts);

    CDialogDriver cancel("Please select a CDDB server",
                         [](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(-1, dialogs.ChooseServer(client));
}

TEST_F(CDDBDialogsTest, EmailDialogTakesOnlyAValidAddress)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK).Then(IDOK);
    CDialogDriver driver("Need e-mail address", [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EMAIL, "jo@");
        PressNow(dialog, IDOK);
        SetDlgItemTextA(dialog, IDC_EMAIL, "@example.org");
        PressNow(dialog, IDOK);
        SetDlgItemTextA(dialog, IDC_EMAIL, "jo@example.org");
        Press(dialog, IDOK);
    });
    dialogs.EnsureUserEmail(client);
    EXPECT_EQ("jo@example.org", Str(client.m_strUserEmail));
    std::vector<ShownMessageBox> shown = boxes.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("The e-mail address you have entered is not valid.", shown[0].text);
}

TEST_F(CDDBDialogsTest, NoEmailDialogOnTheControlRoadOrWithAValidAddress)
{
    for (BOOL useControl : { TRUE, FALSE }) {
        client.m_bUseControl = useControl;
        client.m_strUserEmail = useControl ? "" : "jo@example.org";
        dialogs.EnsureUserEmail(client);
        EXPECT_EQ(useControl ? "" : "jo@example.org", Str(client.m_strUserEmail));
    }
}

} // namespace
