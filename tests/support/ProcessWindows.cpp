#include "tests/support/ProcessWindows.h"

#include <commctrl.h>
#include <tlhelp32.h>

namespace
{
const DWORD kPollMs = 100;

struct WindowSearch
{
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window))
        search->windows.push_back(window);
    return TRUE;
}

HWND MainWindowOf(DWORD pid)
{
    for (HWND window : VisibleWindowsOf(pid))
        if (FindWindowExA(window, nullptr, "MDIClient", nullptr))
            return window;
    return nullptr;
}
}

std::vector<HWND> VisibleWindowsOf(DWORD pid)
{
    WindowSearch search{ pid, {} };
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::string WindowClass(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string DialogsOf(DWORD pid)
{
    std::string dialogs;
    for (HWND window : VisibleWindowsOf(pid))
    {
        if (WindowClass(window) != "#32770")
            continue;
        dialogs += "[" + WindowText(window);
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowClass(child) == "Static")
                dialogs += " " + WindowText(child);
        dialogs += "]";
    }
    return dialogs;
}

int ListRowsIn(HWND window)
{
    if (HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr))
        return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        int rows = ListRowsIn(child);
        if (rows >= 0)
            return rows;
    }
    return -1;
}

bool ListCellRect(HWND list, int row, int column, RECT& screen)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect = { LVIR_BOUNDS, column };
    bool found = remote && WriteProcessMemory(process, remote, &rect, sizeof(rect), nullptr) &&
                 SendMessageA(list, LVM_GETSUBITEMRECT, row, (LPARAM)remote) &&
                 ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!found)
        return false;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    screen = rect;
    return true;
}

int CountProcesses(const char* exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = { sizeof(entry) };
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, exeName) == 0;
    CloseHandle(snapshot);
    return count;
}

HWND WaitForQuietMainWindow(HANDLE process, DWORD pid, int readyChildId, DWORD quietMs, DWORD timeoutMs)
{
    DWORD quietSince = GetTickCount();
    for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs)
    {
        if (WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0)
            return nullptr;
        HWND main = MainWindowOf(pid);
        if (!main || !GetDlgItem(main, readyChildId) || !DialogsOf(pid).empty())
            quietSince = GetTickCount();
        else if (GetTickCount() - quietSince >= quietMs)
            return main;
    }
    return nullptr;
}
