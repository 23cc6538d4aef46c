#include "tests/support/OleDragDriver.h"

#include "tests/support/Waits.h"

namespace
{
const DWORD kWaitMs = 10000;
const UINT kStepMs = 60;
// The driver whose script the timer runs.
COleDragDriver* g_driver = nullptr;
}

COleDragDriver::~COleDragDriver()
{
    SendMouse(MOUSEEVENTF_LEFTUP, POINT{600, 600});
    SendKey(VK_CONTROL, true);
    PumpMessages();
}

void COleDragDriver::SendMouse(DWORD flags, POINT screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void COleDragDriver::SendKey(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

bool COleDragDriver::DragRuns()
{
    char name[64] = "";
    HWND capture = GetCapture();
    return capture && GetClassNameA(capture, name, sizeof name) && lstrcmpA(name, "WineDragDropTracker32") == 0;
}

void CALLBACK COleDragDriver::StepDrag(HWND, UINT, UINT_PTR, DWORD)
{
    COleDragDriver* driver = g_driver;
    if (!driver || (!driver->m_started && !DragRuns()))
        return;
    driver->m_started = true;
    if (driver->m_next < driver->m_steps.size())
        driver->m_steps[driver->m_next++]();
}

bool COleDragDriver::Drag(POINT start, const std::vector<Step>& steps)
{
    m_steps = steps;
    m_next = 0;
    m_started = false;
    g_driver = this;
    UINT_PTR timer = SetTimer(NULL, 0, kStepMs, StepDrag);
    SetCursorPos(start.x, start.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN, start);
    SendMouse(0, POINT{start.x, start.y + 12});
    SendMouse(0, POINT{start.x, start.y + 24});
    WaitUntil([this] { return m_next >= m_steps.size(); }, kWaitMs, WhileWaiting::PumpMessages);
    PumpMessages();
    KillTimer(NULL, timer);
    g_driver = nullptr;
    return m_started && m_next == m_steps.size() && !DragRuns();
}

COleDragDriver::Step COleDragDriver::MoveTo(POINT screen)
{
    return [screen] {
        SendMouse(0, screen);
        SetCursorPos(screen.x, screen.y);
    };
}

COleDragDriver::Step COleDragDriver::Release(POINT screen)
{
    return [screen] { SendMouse(MOUSEEVENTF_LEFTUP, screen); };
}

COleDragDriver::Step COleDragDriver::Key(WORD key, bool up)
{
    return [key, up] { SendKey(key, up); };
}

COleDragDriver::Step COleDragDriver::Wait()
{
    return [] {};
}
