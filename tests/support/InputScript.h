// Real input for window tests: SendInput puts mouse and key events in the
// queue, so that the capture, the mouse points and the key state are those
// a user would give.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <windows.h>

#include <vector>

// Input events in screen coordinates, sent in one batch.
class InputScript
{
public:
    InputScript& MoveTo(POINT point)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = Normalized(point.x, GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = Normalized(point.y, GetSystemMetrics(SM_CYSCREEN));
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        m_inputs.push_back(input);
        return *this;
    }
    // A move that the queue cannot merge with the next one: a Shift tap
    // follows it (the drag swallows keys).
    InputScript& Step(POINT point) { return MoveTo(point).Key(VK_SHIFT); }
    InputScript& Button(DWORD flag)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        m_inputs.push_back(input);
        return *this;
    }
    InputScript& Key(WORD vk) { return KeyDown(vk).KeyUp(vk); }
    InputScript& KeyDown(WORD vk) { return KeyEvent(vk, 0); }
    InputScript& KeyUp(WORD vk) { return KeyEvent(vk, KEYEVENTF_KEYUP); }
    // The smallest value that maps back onto the pixel, whether the mapping
    // truncates or rounds.
    static LONG Normalized(int pixel, int screen) { return (pixel * 65536 + screen - 1) / screen; }
    void Send()
    {
        SendOnly();
        PumpUntilIdle();
    }
    // Without pumping: for input given from inside a modal loop.
    void SendOnly()
    {
        ASSERT_EQ(m_inputs.size(), SendInput((UINT)m_inputs.size(), m_inputs.data(), sizeof(INPUT)));
    }

private:
    InputScript& KeyEvent(WORD vk, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        m_inputs.push_back(input);
        return *this;
    }
    std::vector<INPUT> m_inputs;
};
