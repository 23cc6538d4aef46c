// Drives modal windows of the test's own thread as a user would: a thread
// timer, which fires inside whichever modal loop runs, takes one step per
// tick. A step answers false while what it waits for is not there yet and
// runs again at the next tick. A step that waits too long fails the test and
// cancels every window of the thread, so that a test fails instead of hanging.
#pragma once

#include "tests/support/TestFramework.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class CStepDriver
{
    struct Search
    {
        const char* title;
        HWND found;
    };

public:
    typedef std::function<bool()> Step;

    CStepDriver() { s_current = this; }
    ~CStepDriver()
    {
        if (m_timer)
            KillTimer(NULL, m_timer);
        s_current = nullptr;
    }

    // A step that may have to wait.
    void Wait(Step step) { m_steps.push_back(step); }
    // A step that runs once.
    void Then(std::function<void()> action)
    {
        m_steps.push_back([action] {
            action();
            return true;
        });
    }
    void Start() { m_timer = SetTimer(NULL, 0, kTickMs, Tick); }
    bool Finished() const { return m_next == m_steps.size(); }

    // The visible top-level window of this thread with that title.
    static HWND Find(const char* title)
    {
        Search search = { title, NULL };
        EnumThreadWindows(GetCurrentThreadId(), FindTitled, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    static const UINT kTickMs = 10;
    static const int kPatienceTicks = 1000;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CStepDriver* driver = s_current;
        if (!driver || driver->m_running || driver->Finished())
            return;
        // A step may run a modal loop of its own, in which this timer fires again.
        driver->m_running = true;
        bool done = driver->m_steps[driver->m_next]();
        driver->m_running = false;
        if (done)
        {
            ++driver->m_next;
            driver->m_waited = 0;
        }
        else if (++driver->m_waited > kPatienceTicks)
        {
            ADD_FAILURE() << "step " << driver->m_next << " waited in vain";
            driver->m_next = driver->m_steps.size();
            CancelAll();
        }
    }

    static BOOL CALLBACK FindTitled(HWND window, LPARAM data)
    {
        Search* search = reinterpret_cast<Search*>(data);
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        if (!IsWindowVisible(window) || strcmp(text, search->title) != 0)
            return TRUE;
        search->found = window;
        return FALSE;
    }

    static BOOL CALLBACK Cancel(HWND window, LPARAM)
    {
        if (IsWindowVisible(window))
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    static void CancelAll() { EnumThreadWindows(GetCurrentThreadId(), Cancel, 0); }

    static inline CStepDriver* s_current = nullptr;
    UINT_PTR m_timer = 0;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_waited = 0;
    bool m_running = false;
};
