// zym as a process of its own in the test's prefix: a clean profile with the
// options on a copy of the sample library, started, left to finish its
// start-up, closed by WM_CLOSE, started again.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/PtySerial.h"
#include "tests/support/RealInput.h"
#include "tests/support/TavlinSimulator.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include "JetRegistration.h"

#include <commctrl.h>
#include <shellapi.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace
{
const char kProfileKey[] = "Software\\Halvane\\zym";
const DWORD kStartMs = 60000;
const DWORD kQuietMs = 2000;
const DWORD kPollMs = 100;
const DWORD kExitMs = 30000;
// The docked windows' tab windows.
const int kMusicInfoId = 110;
const int kLibraryId = 108;
const int kPlayerId = 114;
// The tab strip of a tab window.
const int kTabControlId = 0xEA30;
// Tool bars: "Main", "Player", and the menu bar.
const int kMainBarId = 59392;
const int kPlayerBarId = 59399;
const int kMenuBarId = 0xE8FF;
const UINT kViewToolBarCommand = 0xE800;
const UINT kAboutCommand = 0xE140;
const int kAboutVersionId = 1130;

struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}

// "shown", "hidden" or "none" for the descendant of main with that id.
std::string ShownState(HWND main, int id)
{
    ChildSearch search{ id, nullptr };
    EnumChildWindows(main, FindChild, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return "none";
    return IsWindowVisible(search.found) ? "shown" : "hidden";
}

std::string ProgramPath(const char* name = "zym.exe")
{
    return WindowsPath(std::string(ZYM_PROGRAM_FOLDER) + "/" + name);
}

// Runs a command line to its end; its exit code, 0xDEAD when it did not run.
DWORD RunToEnd(const std::string& command)
{
    STARTUPINFOA startup = { sizeof(startup) };
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xDEAD;
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

void SetString(const char* section, const char* name, const std::string& value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\" + section).c_str(), name, REG_SZ,
                    value.c_str(), (DWORD)value.size() + 1);
}

void SetNumber(const char* section, const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\" + section).c_str(), name, REG_DWORD,
                    &value, sizeof(value));
}

std::string GetString(const char* section, const char* name)
{
    char text[256] = "";
    DWORD size = sizeof(text);
    RegGetValueA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\" + section).c_str(), name, RRF_RT_REG_SZ,
                 nullptr, text, &size);
    return text;
}

DWORD GetNumber(const char* section, const char* name)
{
    DWORD value = 0xDEAD, size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\" + section).c_str(), name, RRF_RT_REG_DWORD,
                 nullptr, &value, &size);
    return value;
}

// One value of a library file, read straight from its tables.
std::string QueryLibrary(const std::string& library, const char* query)
{
    sqlite3* db = nullptr;
    std::string value;
    if (sqlite3_open_v2(library.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, query, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

struct ListSearch
{
    int rows;
    HWND found;
};

BOOL CALLBACK FindListWithRows(HWND window, LPARAM param)
{
    ListSearch* search = reinterpret_cast<ListSearch*>(param);
    if (WindowClass(window) != "SysListView32" || SendMessageA(window, LVM_GETITEMCOUNT, 0, 0) != search->rows)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The list below parent with that many rows, once there is one.
HWND WaitForListWithRows(HWND parent, int rows)
{
    ListSearch search{ rows, nullptr };
    WaitUntil([&] {
        EnumChildWindows(parent, FindListWithRows, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, kExitMs);
    return search.found;
}

// Input to another process: given, then time for it to be handled.
void Click(POINT screen, int times = 1)
{
    SendMouseAt(0, screen);
    for (int click = 0; click < times; ++click)
    {
        SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
        SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
    }
    Sleep(kPollMs * 3);
}

void TypeKeys(const std::vector<WORD>& keys)
{
    for (WORD key : keys)
        PressKey(key);
    Sleep(kPollMs * 3);
}

POINT CellPoint(HWND list, int row, int column)
{
    RECT cell = {};
    EXPECT_TRUE(ListCellRect(list, row, column, cell)) << row << "," << column;
    return POINT{ cell.left + 20, (cell.top + cell.bottom) / 2 };
}

class ZymProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        ASSERT_TRUE(RegisterJetProvider(getenv("ZYM_JET_DLL")));
        RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        // The profile of the first steps, before the registry key is set.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "zym.ini");
        DeleteFileA("C:\\windows\\zym.ini");
        std::string sample = WindowsPath(std::string(ZYM_PROGRAM_FOLDER) + "/sample.mdb");
        ASSERT_TRUE(CopyFileA(sample.c_str(), m_folder.WindowsPath("sample.mdb").c_str(), FALSE));
        SetString("Options", "New DB Path", m_folder.WindowsPath("sample.mdb"));
        SetNumber("Options", "COM Ports to Check", 0);
        SetNumber("Tip", "StartUp", 1);
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& process : m_processes)
        {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    }

    PROCESS_INFORMATION Start(const std::string& arguments = "", const std::string& folder = "")
    {
        std::string command = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
        std::string current = folder.empty() ? m_folder.WindowsPath("") : folder;
        STARTUPINFOA startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, current.c_str(),
                                   &startup, &process))
            << command;
        if (process.hProcess)
            m_processes.push_back(process);
        return process;
    }

    // The main window once the start-up has ended: its docked windows exist
    // and no dialog (the start-up's progress) has shown for a while.
    HWND WaitForStartup(const PROCESS_INFORMATION& process)
    {
        HWND main = WaitForQuietMainWindow(process.hProcess, process.dwProcessId, kPlayerId, kQuietMs, kStartMs);
        if (!main)
            ADD_FAILURE() << "start-up did not end: " << DialogsOf(process.dwProcessId);
        return main;
    }

    DWORD Close(const PROCESS_INFORMATION& process, HWND main)
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, kExitMs))
            << DialogsOf(process.dwProcessId);
        DWORD code = 0xDEAD;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    // The version line of the About box, which is closed again.
    std::string AboutBoxVersion(const PROCESS_INFORMATION& process, HWND main)
    {
        PostMessageA(main, WM_COMMAND, kAboutCommand, 0);
        HWND about = nullptr;
        WaitUntil([&] {
            for (HWND window : VisibleWindowsOf(process.dwProcessId))
                if (WindowClass(window) == "#32770" && WindowText(window) == "About ZYM")
                    about = window;
            return about != nullptr;
        }, kExitMs);
        if (!about)
            return "no About box";
        std::string version = WindowText(GetDlgItem(about, kAboutVersionId));
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        return version;
    }

    std::string TabRect(HWND main, int id)
    {
        HWND tabs = GetDlgItem(main, id);
        if (!tabs || !IsWindowVisible(tabs))
            return "hidden";
        RECT rect;
        GetWindowRect(tabs, &rect);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
        return std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
    }

    CTempFolder m_folder{ "zymprocess" };
    std::vector<PROCESS_INFORMATION> m_processes;
};
}

TEST_F(ZymProcessTest, StartsClosesAndComesBackAsItWasLeft)
{
    const struct
    {
        const char* name;
        int comPort; // 0: none searched; else a silent port
    } runs[] = { { "no COM port", 0 }, { "a silent COM3", 3 } };
    for (const auto& run : runs)
    {
        SCOPED_TRACE(run.name);
        std::unique_ptr<CPtySerial> silent;
        if (run.comPort)
        {
            silent.reset(new CPtySerial(run.comPort));
            SetNumber("Options", "COM Ports to Check", 1u << (run.comPort - 1));
        }
        PROCESS_INFORMATION first = Start();
        HWND main = WaitForStartup(first);
        ASSERT_TRUE(main);
        EXPECT_EQ("", DialogsOf(first.dwProcessId));
        EXPECT_EQ(1, CountProcesses("Faultscout.exe"));
        // Music Info 350 high, Library 270 wide with Player below it.
        EXPECT_EQ("498x350", TabRect(main, kMusicInfoId));
        EXPECT_EQ("270x364", TabRect(main, kLibraryId));
        EXPECT_EQ("270x132", TabRect(main, kPlayerId));
        EXPECT_EQ("shown", ShownState(main, kMenuBarId));
        EXPECT_EQ("shown", ShownState(main, kMainBarId));
        EXPECT_EQ("hidden", ShownState(main, kPlayerBarId));
        EXPECT_EQ("Version 2, 0, 0, 1", AboutBoxVersion(first, main));
        // Media keys reach the play list's document: Stop is taken, a volume
        // key goes on to the system.
        EXPECT_EQ(1, SendMessageA(main, WM_APPCOMMAND, (WPARAM)main, MAKELPARAM(0, APPCOMMAND_MEDIA_STOP)));
        EXPECT_EQ(0, SendMessageA(main, WM_APPCOMMAND, (WPARAM)main, MAKELPARAM(0, APPCOMMAND_VOLUME_UP)));
        // The "Main" bar hidden now is hidden at the next start.
        PostMessageA(main, WM_COMMAND, kViewToolBarCommand, 0);
        // Every album of the library in the album list.
        std::string albums = QueryLibrary(m_folder.UnixPath("sample.mdb"), "SELECT COUNT(*) FROM Albums");
        EXPECT_EQ(albums, std::to_string(ListRowsIn(GetDlgItem(main, kLibraryId))));
        EXPECT_EQ(0u, Close(first, main));
        WaitUntil([] { return CountProcesses("Faultscout.exe") == 0; }, kExitMs);
        EXPECT_EQ(0, CountProcesses("Faultscout.exe"));
        EXPECT_EQ(0u, GetNumber("Options", "COM Port Locate Failure"));
        EXPECT_EQ("0000 0000 0800 0638", GetString("Main Frame", "Rect"));
        EXPECT_EQ(1u, GetNumber("Library", "Visible"));

        // Wider, the player hidden: both as they were left, the library
        // taking the whole column; it is saved as wide as it came back.
        SetString("Library", "CurRect", "0000 0020 0294 0414");
        SetNumber("Player", "Visible", 0);
        PROCESS_INFORMATION second = Start();
        main = WaitForStartup(second);
        ASSERT_TRUE(main);
        EXPECT_EQ("300x520", TabRect(main, kLibraryId));
        EXPECT_EQ("hidden", TabRect(main, kPlayerId));
        EXPECT_EQ("hidden", ShownState(main, kMainBarId));
        EXPECT_EQ("shown", ShownState(main, kMenuBarId));
        PostMessageA(main, WM_COMMAND, kViewToolBarCommand, 0);
        EXPECT_EQ(0u, Close(second, main));
        EXPECT_EQ(0u, GetNumber("Player", "Visible"));
        EXPECT_EQ("0000 0051 0294 0589", GetString("Library", "CurRect"));
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\Library").c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\Player").c_str());
    }
}

TEST_F(ZymProcessTest, ASecondStartHandsItsFileToTheFirstAndEnds)
{
    std::string id = QueryLibrary(m_folder.UnixPath("sample.mdb"), "SELECT ZYMID FROM Albums LIMIT 1");
    ASSERT_FALSE(id.empty());
    ASSERT_TRUE(CreateDirectoryA(m_folder.WindowsPath("other").c_str(), nullptr));
    HANDLE file = CreateFileA(m_folder.WindowsPath("other\\rel.pla").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    std::string text = "ZYM Playlist V1.1\r\n" + id + " -1\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(file);

    PROCESS_INFORMATION first = Start();
    HWND main = WaitForStartup(first);
    ASSERT_TRUE(main);
    HWND client = FindWindowExA(main, nullptr, "MDIClient", nullptr);
    HWND child = client ? GetWindow(client, GW_CHILD) : nullptr;
    ASSERT_TRUE(child);
    std::string before = WindowText(child);

    // Without a file the second start changes nothing.
    PROCESS_INFORMATION bare = Start();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(bare.hProcess, kExitMs));
    EXPECT_EQ(before, WindowText(child));

    PROCESS_INFORMATION second = Start("rel.pla", m_folder.WindowsPath("other"));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.hProcess, kExitMs));
    std::string title;
    WaitUntil([&] { return (title = WindowText(child)).find("rel.pla") != std::string::npos; }, kExitMs);
    EXPECT_NE(std::string::npos, title.find("Play List - rel.pla")) << title;

    // The shell's open of a play list reaches the running program over DDE,
    // which takes the path in lower case.
    ASSERT_TRUE(CopyFileA(m_folder.WindowsPath("other\\rel.pla").c_str(),
                          m_folder.WindowsPath("other\\Shell.PLA").c_str(), FALSE));
    HINSTANCE opened = ShellExecuteA(nullptr, "open", m_folder.WindowsPath("other\\Shell.PLA").c_str(), nullptr,
                                     nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(opened), 32);
    WaitUntil([&] { return (title = WindowText(child)).find("shell.pla") != std::string::npos; }, kExitMs);
    EXPECT_NE(std::string::npos, title.find("Play List - shell.pla")) << title;
    EXPECT_EQ(0u, Close(first, main));
}

// A person selects the first album, brings the details forward, double-clicks
// the Disc Title value and types a title: it is in the library file once the
// program has closed.
TEST_F(ZymProcessTest, ATitleTypedIntoTheDetailsIsInTheLibraryFile)
{
    const int kDetailRows = 19;
    const int kDiscTitleRow = 1;
    const int kValueColumn = 2;
    PROCESS_INFORMATION zym = Start();
    HWND main = WaitForStartup(zym);
    ASSERT_TRUE(main);
    SetForegroundWindow(main);
    HWND albums = FindDescendant(GetDlgItem(main, kLibraryId), "SysListView32");
    ASSERT_TRUE(albums);
    Click(CellPoint(albums, 0, 1));
    HWND musicInfo = GetDlgItem(main, kMusicInfoId);
    HWND details = WaitForListWithRows(musicInfo, kDetailRows);
    ASSERT_TRUE(details) << "the details do not show the album";

    // Tabs are clicked from the left until the details are in front.
    RECT tabs = {};
    GetWindowRect(GetDlgItem(musicInfo, kTabControlId), &tabs);
    POINT value = CellPoint(details, kDiscTitleRow, kValueColumn);
    for (int x = tabs.left + 10; x < tabs.right && WindowFromPoint(value) != details; x += 20)
        Click(POINT{ x, (tabs.top + tabs.bottom) / 2 });
    ASSERT_EQ(details, WindowFromPoint(value)) << "the Details tab did not come forward";

    Click(value, 2);
    HWND editor = GetWindow(details, GW_CHILD);
    while (editor && WindowClass(editor) == "SysHeader32")
        editor = GetWindow(editor, GW_HWNDNEXT);
    ASSERT_TRUE(editor) << "no editor opened";
    std::vector<WORD> keys = { VK_END };
    keys.insert(keys.end(), 80, VK_BACK);
    keys.insert(keys.end(), { 'T', 'Y', 'P', 'E', 'D', VK_RETURN });
    TypeKeys(keys);
    EXPECT_EQ(0u, Close(zym, main));
    EXPECT_EQ("1", QueryLibrary(m_folder.UnixPath("sample.mdb"), "SELECT COUNT(*) FROM Albums WHERE Title = 'typed'"));
}

// With "Use TavlinX" the program reaches the interface unit through the
// device server, which COM starts from the program folder.
TEST_F(ZymProcessTest, UseTavlinXReachesTheUnitThroughTheDeviceServer)
{
    const int kUnitPort = 6;
    ASSERT_EQ(0u, RunToEnd("regsvr32 /s \"" + ProgramPath("tavlinps.dll") + "\""));
    ASSERT_EQ(0u, RunToEnd("\"" + ProgramPath("tavlinserv.exe") + "\" /regserver"));
    CPtySerial pty(kUnitPort);
    CTavlinSimulator unit(pty);
    const DWORD unitMask = 1u << (kUnitPort - 1);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Halvane\\tavlinserv\\Options", "COM Ports to Check", REG_DWORD,
                    &unitMask, sizeof(unitMask));
    SetNumber("Options", "Use TavlinX", 1);

    PROCESS_INFORMATION zym = Start();
    HWND main = WaitForStartup(zym);
    ASSERT_TRUE(main);
    EXPECT_EQ("", DialogsOf(zym.dwProcessId));
    EXPECT_EQ(1, CountProcesses("tavlinserv.exe"));
    // The server found the unit on its port.
    EXPECT_FALSE(unit.Commands().empty());
    EXPECT_EQ(0u, Close(zym, main));
    WaitUntil([] { return CountProcesses("tavlinserv.exe") == 0; }, kExitMs);
    EXPECT_EQ(0, CountProcesses("tavlinserv.exe")) << "the server ends with its last client";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvane\\tavlinserv");
}
