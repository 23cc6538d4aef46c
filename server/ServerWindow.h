// The server's window and its loop, which also serves the incoming COM calls
// (the GUI thread is a single-threaded apartment). A 1000 ms timer registers
// the class object on its first tick, after the ports were probed, and counts
// a COM-started server down to quitting once its last client object went.
#pragma once
#include <windows.h>

class CTavlinClientFactory;

class CServerWindow
{
public:
    CServerWindow(CTavlinClientFactory& factory, BOOL invisible, BOOL noTrayIcon);
    // Runs until the window closes; the result is the program's exit code.
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnTimer();

    CTavlinClientFactory& m_factory;
    BOOL m_invisible;
    BOOL m_noTrayIcon;
    HWND m_window;
};
