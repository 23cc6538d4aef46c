// The parts of Win32 that everything else stands on, as Wine gives them here.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "tests/platform/Win32Test.h"

#include <string>
#include <vector>

namespace {

DWORD WINAPI SignalEvent(void* event)
{
    SetEvent(static_cast<HANDLE>(event));
    return 7;
}

TEST(Win32, ThreadSignalsEvent)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, SignalEvent, event, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 5000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(7u, code);
    CloseHandle(thread);
    CloseHandle(event);
}

TEST(Win32, RegistryValuesRoundTrip)
{
    char path[128];
    wsprintfA(path, "Software\\Halvane\\ZymTests\\%lu", GetCurrentProcessId());
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const char text[] = "Auto Load DB";
    const DWORD number = 0x12345678;
    const BYTE blob[] = {0, 1, 0xFE, 0xFF};
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    RegSetValueExA(key, "Blob", 0, REG_BINARY, blob, sizeof blob);
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key));
    char textBack[64];
    DWORD size = sizeof textBack, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Text", nullptr, &type,
                                              reinterpret_cast<BYTE*>(textBack), &size));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_STREQ(text, textBack);
    DWORD numberBack = 0;
    size = 4;
    RegQueryValueExA(key, "Number", nullptr, &type, reinterpret_cast<BYTE*>(&numberBack), &size);
    EXPECT_EQ(number, numberBack);
    BYTE blobBack[8] = {};
    size = sizeof blobBack;
    RegQueryValueExA(key, "Blob", nullptr, &type, blobBack, &size);
    EXPECT_EQ(sizeof blob, size);
    EXPECT_EQ(0, memcmp(blob, blobBack, sizeof blob));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, path));
}

const UINT kProbeMessage = WM_APP + 5;
std::vector<std::pair<WPARAM, LPARAM>> g_received;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbeMessage) {
        g_received.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI PostFromWorker(void* window)
{
    PostMessageA(static_cast<HWND>(window), kProbeMessage, 2, 20);
    return 0;
}

TEST(Win32, WindowReceivesPostedMessages)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZymProbeWindow";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND window = CreateWindowA("ZymProbeWindow", "Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                10, 10, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    g_received.clear();
    PostMessageA(window, kProbeMessage, 1, 10);
    HANDLE worker = CreateThread(nullptr, 0, PostFromWorker, window, 0, nullptr);
    WaitForSingleObject(worker, 5000);
    CloseHandle(worker);

    WaitUntil([] { return g_received.size() >= 2; }, 5000, WhileWaiting::PumpMessages);
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{1, 10}, {2, 20}};
    EXPECT_EQ(expected, g_received);
    DestroyWindow(window);
    UnregisterClassA("ZymProbeWindow", wc.hInstance);
}

TEST(Win32, ResourcesFromTheResourceCompiler)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char text[64] = {};
    EXPECT_EQ(18, LoadStringA(instance, IDS_GREETING, text, sizeof text));
    EXPECT_STREQ("Zym test resources", text);

    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROBE), nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    GetDlgItemTextA(dialog, IDC_PROBE_TEXT, text, sizeof text);
    EXPECT_STREQ("Ready", text);
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ("Probe", text);
    DestroyWindow(dialog);
}

} // namespace
