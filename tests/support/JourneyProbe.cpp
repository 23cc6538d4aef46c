// journeyprobe: what the journeys (tests/journeys) cannot see from X, the
// Win32 windows inside the programs' top-level windows. Runs in the journey's
// own Wine prefix and prints one line per record on stdout.
//   journeyprobe windows            every window of every process, depth first:
//                                   hwnd parent(0x0: none) exe visible enabled x y w h
//                                   client-x client-y id class<TAB>text
//   journeyprobe cell HWND ROW COL  the screen rectangle of a list control's cell: x y w h
//   journeyprobe item HWND ROW      a list box's row: x y w h<TAB>text (screen rectangle)
// Rectangles are in screen coordinates, which are the X root window's.
#include "tests/support/ProcessWindows.h"

#include <tlhelp32.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

namespace
{
const UINT kTextTimeoutMs = 500;

typedef std::map<DWORD, std::string> ExeNames;

ExeNames RunningExeNames()
{
    ExeNames names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    PROCESSENTRY32 entry = { sizeof(entry) };
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        names[entry.th32ProcessID] = entry.szExeFile;
    CloseHandle(snapshot);
    return names;
}

// The text a window answers WM_GETTEXT with; a hung window answers nothing.
std::string TextOf(HWND window)
{
    char text[512] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                             &length))
        return "";
    for (char* c = text; *c; ++c)
        if (*c == '\t' || *c == '\r' || *c == '\n')
            *c = ' ';
    return text;
}

void PrintWindow(HWND window, const ExeNames& names)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    ExeNames::const_iterator name = names.find(pid);
    RECT rect = {};
    GetWindowRect(window, &rect);
    POINT client = {};
    ClientToScreen(window, &client);
    HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    printf("0x%llx 0x%llx %s %d %d %d %d %d %d %d %d %d %s\t%s\n", (unsigned long long)(UINT_PTR)window,
           (unsigned long long)(UINT_PTR)parent, name == names.end() ? "?" : name->second.c_str(),
           IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, (int)rect.left, (int)rect.top,
           (int)(rect.right - rect.left), (int)(rect.bottom - rect.top), (int)client.x, (int)client.y,
           GetDlgCtrlID(window), WindowClass(window).c_str(), TextOf(window).c_str());
}

BOOL CALLBACK PrintChild(HWND window, LPARAM param)
{
    PrintWindow(window, *reinterpret_cast<const ExeNames*>(param));
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM param)
{
    PrintWindow(window, *reinterpret_cast<const ExeNames*>(param));
    EnumChildWindows(window, PrintChild, param);
    return TRUE;
}

int ListWindows()
{
    ExeNames names = RunningExeNames();
    EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&names));
    return 0;
}

HWND WindowArgument(const char* text)
{
    return (HWND)(UINT_PTR)strtoull(text, nullptr, 16);
}

int PrintItem(const char* window, const char* row)
{
    RECT rect = {};
    HWND list = WindowArgument(window);
    if (SendMessageA(list, LB_GETITEMRECT, atoi(row), (LPARAM)&rect) == LB_ERR) {
        fprintf(stderr, "journeyprobe: no row %s in %s\n", row, window);
        return 1;
    }
    MapWindowPoints(list, HWND_DESKTOP, (POINT*)&rect, 2);
    // Another process's row text arrives wide whichever way it is asked for.
    WCHAR wide[512] = {};
    char text[512] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, atoi(row), 0) < (LRESULT)(sizeof(wide) / sizeof(wide[0])) &&
        SendMessageW(list, LB_GETTEXT, atoi(row), (LPARAM)wide) != LB_ERR)
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    printf("%d %d %d %d\t%s\n", (int)rect.left, (int)rect.top, (int)(rect.right - rect.left),
           (int)(rect.bottom - rect.top), text);
    return 0;
}

int PrintCell(const char* window, const char* row, const char* column)
{
    RECT rect = {};
    HWND list = WindowArgument(window);
    if (!ListCellRect(list, atoi(row), atoi(column), rect)) {
        fprintf(stderr, "journeyprobe: no cell %s,%s in %s\n", row, column, window);
        return 1;
    }
    printf("%d %d %d %d\n", (int)rect.left, (int)rect.top, (int)(rect.right - rect.left), (int)(rect.bottom - rect.top));
    return 0;
}
}

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "windows") == 0)
        return ListWindows();
    if (argc == 5 && strcmp(argv[1], "cell") == 0)
        return PrintCell(argv[2], argv[3], argv[4]);
    if (argc == 4 && strcmp(argv[1], "item") == 0)
        return PrintItem(argv[2], argv[3]);
    fprintf(stderr, "usage: journeyprobe windows | cell HWND ROW COLUMN | item HWND ROW\n");
    return 2;
}
