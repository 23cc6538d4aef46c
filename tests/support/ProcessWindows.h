// The windows of another process as a test or a benchmark sees them: its
// visible top-level windows, the dialogs it shows with their texts, and its
// main window once its start-up has settled.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/WindowDriver.h"   // WindowText

std::vector<HWND> VisibleWindowsOf(DWORD pid);
std::string WindowClass(HWND window);
// "[caption text text]" for each visible dialog (message boxes included).
std::string DialogsOf(DWORD pid);
// The rows of the first list control inside window, -1 without one.
int ListRowsIn(HWND window);
// The screen rectangle of a list control's cell in another process (its
// memory holds the rectangle the list fills in); false when there is none.
bool ListCellRect(HWND list, int row, int column, RECT& screen);
// Running processes whose file is exeName ("Faultscout.exe").
int CountProcesses(const char* exeName);

// The process's frame window with an MDI client, once readyChildId is one of
// its children and no dialog has shown for quietMs; null when the process
// ended or timeoutMs passed.
HWND WaitForQuietMainWindow(HANDLE process, DWORD pid, int readyChildId, DWORD quietMs, DWORD timeoutMs);
