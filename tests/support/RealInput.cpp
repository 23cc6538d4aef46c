#include "tests/support/RealInput.h"

#include "tests/support/InputScript.h"

void SendMouseAt(DWORD flags, POINT screen)
{
    // One event: the button changes where the pointer lands.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = InputScript::Normalized(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = InputScript::Normalized(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void PressKey(WORD key)
{
    InputScript().Key(key).SendOnly();
}
