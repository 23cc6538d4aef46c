#include "tests/support/WindowDriver.h"

#include "tests/support/Waits.h"

#include <vector>

namespace {

struct Search
{
    DWORD processId;
    const char* title;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId)
        return TRUE;
    char text[512] = "";
    if (search.className) {
        // A dialog is complete, its controls there, once it shows.
        GetClassNameA(window, text, sizeof text);
        if (lstrcmpA(text, search.className) != 0 || !IsWindowVisible(window))
            return TRUE;
    } else if (search.title) {
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, search.title) != 0)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD processId, const char* title, const char* className, DWORD timeout)
{
    Search search = {processId, title, className, nullptr};
    WaitUntil([&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeout);
    return search.found;
}

} // namespace

HWND FindProcessWindow(DWORD processId, const char* title, DWORD timeout)
{
    return FindTopLevel(processId, title, nullptr, timeout);
}

HWND FindProcessDialog(DWORD processId, DWORD timeout)
{
    return FindTopLevel(processId, nullptr, "#32770", timeout);
}

HWND FindDescendant(HWND parent, const char* className)
{
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0)
            return child;
        if (HWND below = FindDescendant(child, className))
            return below;
    }
    return nullptr;
}

std::string WindowText(HWND window)
{
    LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(length + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// The box's static controls are its icon and its text.
std::string MessageBoxText(HWND box)
{
    std::string text;
    for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
         child = FindWindowExA(box, child, "Static", nullptr)) {
        std::string shown = WindowText(child);
        if (shown.size() > text.size())
            text = shown;
    }
    return text;
}

bool PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    return button && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(button));
}

bool WaitForVisibility(HWND window, bool visible, DWORD timeout)
{
    return WaitUntil([&] { return (IsWindowVisible(window) != FALSE) == visible; }, timeout);
}
