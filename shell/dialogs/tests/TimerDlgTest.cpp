// The music timer run modally: what it starts with, the choices it gives back,
// the start and stop made of one picker's date and the other's time, and the
// play-list controls that serve "This playlist" only.
#include "tests/support/TestFramework.h"

#include "tests/support/DrivenDialog.h"
#include "tests/support/TempFolder.h"
#include "shell/dialogs/TimerDlg.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

typedef CDriven<CTimerDlg> CDrivenTimerDlg;

std::string Stamp(const COleDateTime& value)
{
    return (LPCSTR)value.Format("%Y-%m-%d %H:%M:%S");
}

SYSTEMTIME Parts(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME parts = {};
    parts.wYear = (WORD)year;
    parts.wMonth = (WORD)month;
    parts.wDay = (WORD)day;
    parts.wHour = (WORD)hour;
    parts.wMinute = (WORD)minute;
    parts.wSecond = (WORD)second;
    return parts;
}

// What a picker shows.
std::string Shown(CWnd& dialog, int id)
{
    SYSTEMTIME parts = {};
    if (dialog.SendDlgItemMessage(id, DTM_GETSYSTEMTIME, 0, (LPARAM)&parts) != GDT_VALID)
        return "none";
    return Stamp(COleDateTime(parts));
}

TEST(TimerDlgTest, StartsWithTheFirstChoicesAndTheCurrentTime)
{
    COleDateTime before = COleDateTime::GetCurrentTime();
    CTimerDlg dialog;
    COleDateTime after = COleDateTime::GetCurrentTime();
    EXPECT_EQ(0, dialog.m_nStartSource);
    EXPECT_EQ(0, dialog.m_nStartMode);
    EXPECT_EQ(0, dialog.m_nStopMode);
    EXPECT_EQ(0, dialog.m_nWhenDone);
    EXPECT_FALSE(dialog.m_bEnabled);
    for (const COleDateTime* value :
         {&dialog.m_startDate, &dialog.m_startTime, &dialog.m_stopDate, &dialog.m_stopTime}) {
        EXPECT_TRUE(*value >= before && *value <= after) << Stamp(*value);
        EXPECT_EQ(*value, dialog.m_startDate);
    }
}

TEST(TimerDlgTest, Labels)
{
    const struct
    {
        int id;
        const char* label;
    } labels[] = {
        {IDC_TIMER_CURRENT_PLAYLIST, "Current playlist"},
        {IDC_TIMER_THIS_PLAYLIST, "This playlist"},
        {IDC_TIMER_BROWSE, "..."},
        {IDC_TIMER_START_NOW, "Now"},
        {IDC_TIMER_START_AT, "At"},
        {IDC_TIMER_STOP_AT_END, "When playlist completes"},
        {IDC_TIMER_STOP_AT, "At"},
        {IDC_TIMER_DO_NOTHING, "Do nothing"},
        {IDC_TIMER_SHUT_DOWN, "Shut down system"},
        {IDC_TIMER_SHUT_DOWN_CLOSE, "Shut down system and close ZYM"},
        {IDC_TIMER_ENABLE, "Enable Music Timer"},
    };
    CDrivenTimerDlg dialog;
    std::string caption;
    std::vector<std::string> groups;
    dialog.m_steps.push_back([&](CDrivenTimerDlg& d) {
        CString text;
        d.GetWindowText(text);
        caption = text;
        for (const auto& l : labels) {
            d.GetDlgItemText(l.id, text);
            EXPECT_STREQ(l.label, text) << l.id;
        }
        for (CWnd* child = d.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            if ((child->GetStyle() & BS_TYPEMASK) == BS_GROUPBOX) {
                child->GetWindowText(text);
                groups.push_back((LPCSTR)text);
            }
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("Music Timer", caption);
    EXPECT_EQ((std::vector<std::string>{"Start", "Stop", "When done"}), groups);
}

// The user's picks come back in the fields; the start and stop take the date
// of the date picker and the time of the time picker.
TEST(TimerDlgTest, OKGivesTheChoicesAndCombinesDateAndTime)
{
    static const SYSTEMTIME startDate = Parts(2002, 7, 14, 8, 5, 6);
    static const SYSTEMTIME startTime = Parts(1999, 1, 2, 21, 30, 0);
    static const SYSTEMTIME stopDate = Parts(2002, 7, 15, 23, 59, 59);
    static const SYSTEMTIME stopTime = Parts(2010, 12, 31, 1, 2, 3);
    const struct
    {
        int id;
        const SYSTEMTIME* value;
    } pickers[] = {
        {IDC_TIMER_START_DATE, &startDate},
        {IDC_TIMER_START_TIME, &startTime},
        {IDC_TIMER_STOP_DATE, &stopDate},
        {IDC_TIMER_STOP_TIME, &stopTime},
    };
    CDrivenTimerDlg dialog;
    dialog.m_steps.push_back([&](CDrivenTimerDlg& d) {
        for (const auto& picker : pickers)
            d.SendDlgItemMessage(picker.id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)picker.value);
        for (int id : {IDC_TIMER_THIS_PLAYLIST, IDC_TIMER_START_AT, IDC_TIMER_STOP_AT,
                       IDC_TIMER_SHUT_DOWN_CLOSE, IDC_TIMER_ENABLE})
            d.Click(id);
    });
    dialog.m_steps.push_back([](CDrivenTimerDlg& d) { d.SetDlgItemText(IDC_TIMER_PLAYLIST, "C:\\Lists\\Night.pla"); });
    dialog.m_steps.push_back([](CDrivenTimerDlg& d) { d.Click(IDOK); });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CTimerDlg::kThisPlaylist, dialog.m_nStartSource);
    EXPECT_EQ(CTimerDlg::kStartAt, dialog.m_nStartMode);
    EXPECT_EQ(CTimerDlg::kStopAt, dialog.m_nStopMode);
    EXPECT_EQ(CTimerDlg::kShutDownAndClose, dialog.m_nWhenDone);
    EXPECT_TRUE(dialog.m_bEnabled);
    EXPECT_STREQ("C:\\Lists\\Night.pla", dialog.m_strPlaylist);
    EXPECT_EQ("2002-07-14 08:05:06", Stamp(dialog.m_startDate));
    EXPECT_EQ("1999-01-02 21:30:00", Stamp(dialog.m_startTime));
    EXPECT_EQ("2002-07-14 21:30:00", Stamp(dialog.m_startDateTime));
    EXPECT_EQ("2002-07-15 01:02:03", Stamp(dialog.m_stopDateTime));
}

// The fields the caller set show in the controls, and OK without a change
// gives them back as they were.
TEST(TimerDlgTest, TheFieldsShowAndComeBackUnchanged)
{
    CDrivenTimerDlg dialog;
    dialog.m_nStartSource = CTimerDlg::kThisPlaylist;
    dialog.m_nStartMode = CTimerDlg::kStartAt;
    dialog.m_nWhenDone = CTimerDlg::kShutDown;
    dialog.m_bEnabled = TRUE;
    dialog.m_strPlaylist = "C:\\Lists\\Morning.pla";
    dialog.m_startDate = COleDateTime(2002, 7, 14, 0, 0, 0);
    dialog.m_startTime = COleDateTime(2002, 7, 14, 21, 30, 0);
    dialog.m_stopDate = COleDateTime(2003, 2, 28, 12, 0, 0);
    dialog.m_stopTime = COleDateTime(2003, 2, 28, 6, 45, 10);
    std::string shown[4];
    const int pickers[] = {IDC_TIMER_START_DATE, IDC_TIMER_START_TIME, IDC_TIMER_STOP_DATE,
                           IDC_TIMER_STOP_TIME};
    dialog.m_steps.push_back([&](CDrivenTimerDlg& d) {
        for (int i = 0; i < 4; i++)
            shown[i] = Shown(d, pickers[i]);
        EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_TIMER_THIS_PLAYLIST));
        EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_TIMER_START_AT));
        EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_TIMER_STOP_AT_END));
        EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_TIMER_SHUT_DOWN));
        EXPECT_EQ(BST_CHECKED, d.IsDlgButtonChecked(IDC_TIMER_ENABLE));
        EXPECT_TRUE(d.IsEnabled(IDC_TIMER_PLAYLIST)) << "This playlist is the choice";
        d.Click(IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("2002-07-14 00:00:00", shown[0]);
    EXPECT_EQ("2002-07-14 21:30:00", shown[1]);
    EXPECT_EQ("2003-02-28 12:00:00", shown[2]);
    EXPECT_EQ("2003-02-28 06:45:10", shown[3]);
    EXPECT_EQ(CTimerDlg::kThisPlaylist, dialog.m_nStartSource);
    EXPECT_EQ(CTimerDlg::kShutDown, dialog.m_nWhenDone);
    EXPECT_STREQ("C:\\Lists\\Morning.pla", dialog.m_strPlaylist);
    EXPECT_EQ("2002-07-14 21:30:00", Stamp(dialog.m_startDateTime));
    EXPECT_EQ("2003-02-28 06:45:10", Stamp(dialog.m_stopDateTime));
}

TEST(TimerDlgTest, CancelKeepsTheFields)
{
    CDrivenTimerDlg dialog;
    const COleDateTime start = dialog.m_startDate;
    static const SYSTEMTIME other = Parts(2002, 7, 14, 21, 30, 0);
    dialog.m_steps.push_back([](CDrivenTimerDlg& d) {
        d.SendDlgItemMessage(IDC_TIMER_START_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&other);
        d.Click(IDC_TIMER_SHUT_DOWN);
        d.Click(IDC_TIMER_ENABLE);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(CTimerDlg::kDoNothing, dialog.m_nWhenDone);
    EXPECT_FALSE(dialog.m_bEnabled);
    EXPECT_EQ(start, dialog.m_startDate);
    EXPECT_EQ(COleDateTime(), dialog.m_startDateTime);
}

// The play-list edit and "..." follow the start source as the user switches it.
TEST(TimerDlgTest, ThePlaylistControlsFollowThisPlaylist)
{
    const struct
    {
        int click;  // 0: as the dialog opens
        bool enabled;
    } steps[] = {
        {0, false},
        {IDC_TIMER_THIS_PLAYLIST, true},
        {IDC_TIMER_START_AT, true},
        {IDC_TIMER_CURRENT_PLAYLIST, false},
        {IDC_TIMER_THIS_PLAYLIST, true},
    };
    CDrivenTimerDlg dialog;
    for (const auto& step : steps) {
        dialog.m_steps.push_back([&](CDrivenTimerDlg& d) {
            if (step.click)
                d.Click(step.click);
        });
        dialog.m_steps.push_back([&](CDrivenTimerDlg& d) {
            SCOPED_TRACE(step.click);
            EXPECT_EQ(step.enabled, d.IsEnabled(IDC_TIMER_PLAYLIST));
            EXPECT_EQ(step.enabled, d.IsEnabled(IDC_TIMER_BROWSE));
        });
    }
    dialog.m_steps.push_back([](CDrivenTimerDlg& d) { d.Click(IDCANCEL); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

// Answers the file chooser that "..." opens over the timer from a thread timer,
// which fires in the chooser's own loop; once the chooser is gone it reads the
// play-list edit and closes the timer.
struct ChooserAnswer
{
    static HWND s_timer;
    static std::string s_name;
    static int s_button;
    static bool s_answered;
    static std::string s_edit;
    static int s_ticks;

    static HWND Chooser()
    {
        for (HWND window = FindWindowExA(NULL, NULL, "#32770", NULL); window;
             window = FindWindowExA(NULL, window, "#32770", NULL))
            if (GetWindow(window, GW_OWNER) == s_timer && IsWindowVisible(window))
                return window;
        return NULL;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        const int kFileNameCombo = 0x47c;
        HWND chooser = Chooser();
        if (chooser && !s_answered) {
            SetDlgItemTextA(chooser, kFileNameCombo, s_name.c_str());
            PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(s_button, BN_CLICKED), (LPARAM)GetDlgItem(chooser, s_button));
            s_answered = true;
        } else if (!chooser && s_answered) {
            KillTimer(NULL, id);
            char text[MAX_PATH] = "";
            GetDlgItemTextA(s_timer, IDC_TIMER_PLAYLIST, text, sizeof(text));
            s_edit = text;
            PostMessageA(s_timer, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(s_timer, IDOK));
        } else if (!chooser && ++s_ticks > kGiveUpTicks) {
            // No chooser came: end the timer so that the test fails instead of hanging.
            KillTimer(NULL, id);
            PostMessageA(s_timer, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    static const int kGiveUpTicks = 500;
};

HWND ChooserAnswer::s_timer;
std::string ChooserAnswer::s_name;
int ChooserAnswer::s_button;
bool ChooserAnswer::s_answered;
std::string ChooserAnswer::s_edit;
int ChooserAnswer::s_ticks;

// "..." puts the chosen play list into the edit; a cancelled choice leaves it.
TEST(TimerDlgTest, BrowsePicksThePlaylistFile)
{
    CTempFolder folder("timerdlg");
    ASSERT_TRUE(folder.IsValid());
    const std::string night = folder.WindowsPath("Night.pla");
    HANDLE file = CreateFileA(night.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    const struct
    {
        int button;
        std::string edit;
    } cases[] = {{IDOK, night}, {IDCANCEL, "C:\\Lists\\Old.pla"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ChooserAnswer::s_name = night;
        ChooserAnswer::s_button = c.button;
        ChooserAnswer::s_answered = false;
        ChooserAnswer::s_edit.clear();
        ChooserAnswer::s_ticks = 0;
        CDrivenTimerDlg dialog;
        dialog.m_nStartSource = CTimerDlg::kThisPlaylist;
        dialog.m_strPlaylist = "C:\\Lists\\Old.pla";
        dialog.m_steps.push_back([](CDrivenTimerDlg& d) {
            ChooserAnswer::s_timer = d.m_hWnd;
            SetTimer(NULL, 0, 20, ChooserAnswer::Tick);
            d.Click(IDC_TIMER_BROWSE);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_TRUE(ChooserAnswer::s_answered);
        EXPECT_EQ(c.edit, ChooserAnswer::s_edit);
        EXPECT_EQ(c.edit, std::string(dialog.m_strPlaylist));
    }
}

} // namespace
