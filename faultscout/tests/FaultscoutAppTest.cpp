// The reporter program in a process of its own: attached through this test's
// crash link (started hidden, as the link starts it), shown and hidden by the
// link and by requests of a second start, its close question answered by a
// person's click, its window place kept per watched program, and its end with
// a watched program that ends.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "core/crashlink/CrashLink.h"
#include "tests/support/ScopedProcessVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"

#include <string>

namespace {

const DWORD kWait = 20000;
const char kQuitQuestion[] = "You are still attached to a running process.\nDo you really want to quit?";
const char kSettingsKey[] = "Software\\Halvane\\Faultscout\\Watched.exe";

std::string SettingText(const char* name)
{
    char text[256] = "";
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text, &size))
        return "<none>";
    return text;
}

class ReporterAppTest : public ::testing::Test
{
protected:
    ReporterAppTest()
    {
        dir = folder.WindowsPath("app folder");
        CreateDirectoryA(dir.c_str(), nullptr);
        CopyFileA(WindowsPath(FAULTSCOUT_MODULE).c_str(), (dir + "\\Faultscout.exe").c_str(), FALSE);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
    ~ReporterAppTest() override
    {
        if (reporter) {
            if (WaitForSingleObject(reporter, 0) == WAIT_TIMEOUT)
                TerminateProcess(reporter, 1);
            CloseHandle(reporter);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }

    // The reporter's frame, titled after the watched module once it said hello.
    HWND Attach()
    {
        EXPECT_TRUE(link.Start("Watched", (dir + "\\Watched.exe").c_str(), 0x02000007));
        DuplicateHandle(GetCurrentProcess(), link.GetReporterProcess(), GetCurrentProcess(),
                        &reporter, SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                        FALSE, 0);
        return FindProcessWindow(GetProcessId(reporter), "Watched.exe - Faultscout", kWait);
    }

    // A second start of the reporter in the watched program's folder.
    DWORD Request(const char* flag)
    {
        std::string command = "\"" + dir + "\\Faultscout.exe\" " + flag;
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                            &startup, &process))
            return GetLastError();
        DWORD code = WAIT_TIMEOUT;
        if (WaitForSingleObject(process.hProcess, kWait) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    // Waits until the log holds the text.
    static bool LogShows(HWND frame, const std::string& text)
    {
        HWND log = FindDescendant(frame, "Edit");
        return WaitUntil([&] { return WindowText(log).find(text) != std::string::npos; }, kWait);
    }

    // Answers the close question; true when it was asked.
    bool CloseAnswering(HWND frame, int button)
    {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        // A box can show before its text is in place: wait for the text too.
        HWND box = nullptr;
        std::string text;
        WaitUntil([&] {
            box = FindProcessDialog(GetProcessId(reporter), kWait);
            text = box ? MessageBoxText(box) : std::string();
            return !text.empty();
        }, kWait);
        if (!box)
            return false;
        EXPECT_EQ(kQuitQuestion, text);
        return PressButton(box, button);
    }

    CTempFolder folder{"reporterapp"};
    // The user's own folder, where the reporter leaves its id file.
    std::string userFolder = folder.MakeFolder("user");
    CScopedProcessVariable localAppData{"LOCALAPPDATA", userFolder};
    std::string dir;
    CCrashLink link;
    HANDLE reporter = nullptr;
};

TEST_F(ReporterAppTest, LinkAndSecondStartsShowHideAndReport)
{
    HWND frame = Attach();
    ASSERT_TRUE(frame);
    EXPECT_FALSE(IsWindowVisible(frame));
    ASSERT_TRUE(link.ShowReporter(TRUE));
    EXPECT_TRUE(WaitForVisibility(frame, true, kWait));
    ASSERT_TRUE(link.ShowReporter(FALSE));
    EXPECT_TRUE(WaitForVisibility(frame, false, kWait));

    EXPECT_EQ(0u, Request("-s"));
    EXPECT_TRUE(WaitForVisibility(frame, true, kWait));
    EXPECT_EQ(0u, Request("-h"));
    EXPECT_TRUE(WaitForVisibility(frame, false, kWait));
    EXPECT_EQ(0u, Request("-t"));
    EXPECT_TRUE(WaitForVisibility(frame, true, kWait));
    EXPECT_TRUE(LogShows(frame, "\r\nThreads: \r\nThread: Main ID:" +
                                    std::to_string(GetCurrentThreadId()) + "\r\nThread: Faultscout ID:"));
    EXPECT_EQ(0u, Request("-d"));
    EXPECT_TRUE(LogShows(frame, "\r\nDump: \r\n"));
    EXPECT_TRUE(LogShows(frame, "WriteDump off\r\n"));
    EXPECT_TRUE(LogShows(frame, "\r\nDump Thread: Main ID:"));

    // Attached to a program that has not crashed: the question comes first.
    ASSERT_TRUE(CloseAnswering(frame, IDNO));
    EXPECT_NE(nullptr, FindProcessWindow(GetProcessId(reporter), "Watched.exe - Faultscout", kWait));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(reporter, 0));
    ASSERT_TRUE(CloseAnswering(frame, IDYES));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter, kWait));
}

TEST_F(ReporterAppTest, WindowPlaceComesFromAndGoesToTheProgramsSection)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    const char position[] = "120 40 420 540";
    RegSetValueExA(key, "Position", 0, REG_SZ, reinterpret_cast<const BYTE*>(position), sizeof position);
    RegCloseKey(key);

    HWND frame = Attach();
    ASSERT_TRUE(frame);
    RECT placed = {};
    WaitUntil([&] { return GetWindowRect(frame, &placed) && placed.left == 40; }, kWait);
    EXPECT_EQ(40, placed.left);
    EXPECT_EQ(120, placed.top);
    EXPECT_EQ(540, placed.right);
    EXPECT_EQ(420, placed.bottom);

    SetWindowPos(frame, nullptr, 60, 80, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(CloseAnswering(frame, IDYES));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter, kWait));
    EXPECT_EQ("80 60 380 560", SettingText("Position"));
}

TEST_F(ReporterAppTest, RequestWithoutIdFileEndsWithItsBox)
{
    std::string command = "\"" + dir + "\\Faultscout.exe\" -s";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               dir.c_str(), &startup, &process));
    reporter = process.hProcess;
    CloseHandle(process.hThread);
    HWND box = FindProcessDialog(process.dwProcessId, kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ("Unable to find Faultscout.hdl file", MessageBoxText(box));
    PressButton(box, IDOK);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter, kWait));
}

// A watched program of its own that ends when told: a hidden reporter ends
// with it, a shown one stays with its text and closes without a question.
class EndingProgramTest : public ReporterAppTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(EndingProgramTest, HiddenReporterEndsWithItsProgram)
{
    bool shown = GetParam();
    std::string child = dir + "\\CrashChild.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(CRASH_CHILD_MODULE).c_str(), child.c_str(), FALSE));
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "CrashChild quit");
    ResetEvent(quit);
    std::string command = "\"" + child + "\" " + (shown ? "show" : "quit");
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);
    // The id file names the reporter's request thread, and so its process.
    DWORD reporterId = 0;
    HWND frame = nullptr;
    WaitUntil([&] {
        HANDLE file = CreateFileA((userFolder + "\\Faultscout.hdl").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        char text[16] = "";
        DWORD read = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, text, sizeof text - 1, &read, nullptr);
            CloseHandle(file);
        }
        HANDLE thread = read ? OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, atoi(text)) : nullptr;
        if (thread) {
            reporterId = GetProcessIdOfThread(thread);
            CloseHandle(thread);
            frame = FindProcessWindow(reporterId, "CrashChild.exe - Faultscout", kWait);
        }
        return frame != nullptr;
    }, kWait);
    ASSERT_TRUE(frame);
    reporter = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                           reporterId);
    ASSERT_TRUE(reporter);
    EXPECT_TRUE(WaitForVisibility(frame, shown, kWait));

    SetEvent(quit);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, kWait));
    CloseHandle(process.hProcess);
    if (shown) {
        EXPECT_TRUE(LogShows(frame, "Process terminated\r\n"));
        EXPECT_TRUE(IsWindow(frame));
        PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter, kWait));
    CloseHandle(quit);
}

INSTANTIATE_TEST_SUITE_P(Shown, EndingProgramTest, ::testing::Values(false, true));

} // namespace
