// Drags through OLE's own loop as a user makes them: the mouse goes down at a
// point and moves 24 pixels (a list begins its drag), then timer callbacks
// that the drag's loop dispatches run the script's steps, one per tick once
// the drag runs: moving the cursor, holding keys, releasing the button or
// pressing Escape. Messages between steps go through the tests' one pump.
// The synthesised input goes to the whole display, so tests
// that drag are registered SERIAL.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class COleDragDriver
{
public:
    typedef std::function<void()> Step;

    COleDragDriver() = default;
    COleDragDriver(const COleDragDriver&) = delete;
    COleDragDriver& operator=(const COleDragDriver&) = delete;
    // Releases the button and Ctrl, whatever a script left pressed.
    ~COleDragDriver();

    // Presses at start and runs the steps inside the drag that follows;
    // true when the drag began, ran every step and is over.
    bool Drag(POINT start, const std::vector<Step>& steps);
    bool Started() const { return m_started; }

    static Step MoveTo(POINT screen);
    static Step Release(POINT screen);
    static Step Key(WORD key, bool up);
    static Step Wait();
    // Whether OLE's drag loop has the mouse.
    static bool DragRuns();
    static void SendMouse(DWORD flags, POINT screen);
    static void SendKey(WORD key, bool up);

private:
    static void CALLBACK StepDrag(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_started = false;
};
