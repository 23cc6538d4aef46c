// Mouse and keyboard input as a person gives it, through SendInput: it reaches
// whatever window is under the pointer or has the focus, in any process.
#pragma once

#include <windows.h>

// Moves the pointer to the screen point with the button flags (0 to move only).
void SendMouseAt(DWORD flags, POINT screen);
// Presses and releases a key.
void PressKey(WORD key);
