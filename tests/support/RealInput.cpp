#include "RealInput.h"

void SendMouseAt(DWORD flags, POINT screen)
{
    // Rounded up, so that the absolute position maps back to the same pixel.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    for (INPUT& one : input)
    {
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = key;
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}
