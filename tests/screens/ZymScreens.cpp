// Pictures of a running zym for scripts/screens.sh: the main window, each
// page of the options sheet and the about box, captured from the screen with
// GDI into BMP files of a folder.
//
//   zymscreens.exe.so ZYM FOLDER   (Windows paths: the program and the pictures' folder)
//
// It starts zym, waits for its start-up to end and closes it at the end.
#include "tests/support/ProcessWindows.h"

#include <commctrl.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace
{
const int kPlayerWindowId = 114;
const UINT kViewOptions = 32784;
const UINT kAppAbout = 57664;
const int kOptionsPages = 9;
const DWORD kSettleMs = 700;
const DWORD kWaitMs = 60000;

bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = { sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB };
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    DWORD stride = (width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = { 0x4D42, (DWORD)(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * height),
                              0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) };
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool saved = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof(file), &written, nullptr) &&
                 WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
                 WriteFile(out, bits, stride * height, &written, nullptr);
    if (out != INVALID_HANDLE_VALUE)
        CloseHandle(out);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
    return saved;
}

// The dialog of the process with caption, once it shows.
HWND WaitForDialog(DWORD pid, const char* caption)
{
    for (DWORD waited = 0; waited < kWaitMs; waited += 100)
    {
        for (HWND window : VisibleWindowsOf(pid))
            if (WindowClass(window) == "#32770" && WindowText(window) == caption)
                return window;
        Sleep(100);
    }
    printf("no \"%s\" appeared\n", caption);
    return nullptr;
}
}

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        printf("usage: zymscreens ZYM FOLDER\n");
        return 2;
    }
    std::string command = std::string("\"") + argv[1] + "\"";
    std::string folder = std::string(argv[2]) + "\\";
    STARTUPINFOA startup = { sizeof(startup) };
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    {
        printf("zym did not start\n");
        return 1;
    }
    HANDLE process = started.hProcess;
    DWORD pid = started.dwProcessId;
    HWND main = WaitForQuietMainWindow(process, pid, kPlayerWindowId, 2000, kWaitMs);
    if (!main)
    {
        printf("zym's start-up did not end\n");
        TerminateProcess(process, 1);
        return 1;
    }
    SaveWindowPicture(main, folder + "main-window.bmp");

    PostMessageA(main, WM_COMMAND, kViewOptions, 0);
    if (HWND sheet = WaitForDialog(pid, "ZYM Options"))
    {
        for (int page = 0; page < kOptionsPages; ++page)
        {
            SendMessageA(sheet, PSM_SETCURSEL, page, 0);
            Sleep(kSettleMs);
            SaveWindowPicture(sheet, folder + "options-" + std::to_string(page + 1) + ".bmp");
        }
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    }
    Sleep(kSettleMs);
    PostMessageA(main, WM_COMMAND, kAppAbout, 0);
    if (HWND about = WaitForDialog(pid, "About ZYM"))
    {
        Sleep(kSettleMs);
        SaveWindowPicture(about, folder + "about.bmp");
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    }
    Sleep(kSettleMs);
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(process, kWaitMs);
    CloseHandle(process);
    CloseHandle(started.hThread);
    return 0;
}
