// tavlinserv in a process of its own, started as COM starts it
// ("-Embedding"): it stays out of sight, whether its saved port opens or not,
// and never raises a box a user would have to answer.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <windows.h>

#include <string>

#include "tests/support/TestData.h"
#include "server/resource.h"
#include "server/tests/TestSite.h"
#include "tests/support/WindowDriver.h"

namespace {

const char kOptionsKey[] = "Software\\Halvane\\tavlinserv\\Options";
const char kPortsValue[] = "COM Ports to Check";
const DWORD kWait = 30000;
// COM8: no test gives it a device.
const DWORD kMissingPort = 0x80;

// Sets the server's saved ports for the test and puts the old value back.
class CSavedPorts
{
public:
    explicit CSavedPorts(DWORD mask)
    {
        RegCreateKeyA(HKEY_CURRENT_USER, kOptionsKey, &m_key);
        DWORD size = sizeof m_old;
        m_had = RegQueryValueExA(m_key, kPortsValue, nullptr, nullptr, (BYTE*)&m_old, &size) == ERROR_SUCCESS;
        RegSetValueExA(m_key, kPortsValue, 0, REG_DWORD, (const BYTE*)&mask, sizeof mask);
    }
    ~CSavedPorts()
    {
        if (m_had)
            RegSetValueExA(m_key, kPortsValue, 0, REG_DWORD, (const BYTE*)&m_old, sizeof m_old);
        else
            RegDeleteValueA(m_key, kPortsValue);
        RegCloseKey(m_key);
    }

private:
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_had = false;
};

// The server process. It is closed through its window, so that it revokes its
// class object: one killed would leave it registered for the next test's clients.
class CServerProcess
{
public:
    CServerProcess()
    {
        std::string command = "\"" + WindowsPath(Env("ZYM_TAVLINSERV")) + "\" -Embedding";
        STARTUPINFOA startup = {sizeof startup};
        if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &m_process)) {
            CloseHandle(m_process.hThread);
        }
    }
    ~CServerProcess()
    {
        if (!m_process.hProcess)
            return;
        HWND window = FindProcessWindow(m_process.dwProcessId, "Tavlin Server", 0);
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.hProcess, kWait) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hProcess);
    }
    DWORD Id() const { return m_process.dwProcessId; }

private:
    PROCESS_INFORMATION m_process = {};
};

// Returns once the window's first tick wrote the status line and its modal
// loop went idle twice: a window the loop shows on its first idle is shown by then.
bool WaitForFirstTickAndIdle(HWND window)
{
    if (!WaitUntil([&] { return WindowText(GetDlgItem(window, IDC_OBJECTS)).compare(0, 4, "Dev:") == 0; }, kWait))
        return false;
    DWORD_PTR result = 0;
    for (int idle = 0; idle < 2; ++idle) {
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWait, &result))
            return false;
    }
    return true;
}

TEST(ServerProcessTest, AComStartedServerShowsNoWindowAndNoBox)
{
    const struct
    {
        const char* name;
        DWORD ports;
    } cases[] = {
        {"no saved port", 0},
        {"a saved port that cannot be opened", kMissingPort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSavedPorts saved(c.ports);
        CServerProcess server;
        ASSERT_NE(0u, server.Id());
        HWND window = FindProcessWindow(server.Id(), "Tavlin Server", kWait);
        HWND box = FindProcessWindow(server.Id(), "tavlinserv", 0);
        EXPECT_FALSE(box && IsWindowVisible(box)) << MessageBoxText(box);
        ASSERT_TRUE(window);
        ASSERT_TRUE(WaitForFirstTickAndIdle(window));
        EXPECT_FALSE(IsWindowVisible(window));
    }
}

} // namespace
