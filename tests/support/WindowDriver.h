// Finds and drives the windows of another process, as a person at the screen
// would: its top-level windows and message boxes, their texts and their buttons.
// Each search waits up to its time-out, looking again every few milliseconds.
#pragma once

#include <windows.h>

#include <string>

// A top-level window of the process whose title is `title` (any title when
// null); null when none appears in time.
HWND FindProcessWindow(DWORD processId, const char* title, DWORD timeout);
// A message box (or other dialog) the process shows, once it is visible; null
// when none appears.
HWND FindProcessDialog(DWORD processId, DWORD timeout);
// The first child of that window class anywhere below parent.
HWND FindDescendant(HWND parent, const char* className);
std::string WindowText(HWND window);
// The text of a message box: its static text control.
std::string MessageBoxText(HWND box);
// Clicks the dialog's button of that id (IDYES, IDNO, ...).
bool PressButton(HWND dialog, int id);
// Waits until the window is visible (or hidden); false when it does not change in time.
bool WaitForVisibility(HWND window, bool visible, DWORD timeout);
