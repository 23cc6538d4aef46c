// The release of the left button during a drag loop that holds the capture.
// Over a window of no thread of ours (the bare desktop) Wine gives the
// mouse to that window even while ours holds the capture: the release never
// reaches the loop. A thread timer lets the loop look at the button while
// its queue is idle.
#pragma once

#include <windows.h>

class TkReleasePoll
{
public:
    TkReleasePoll() : m_timer(::SetTimer(NULL, 0, kIntervalMs, NULL)) {}
    ~TkReleasePoll() { ::KillTimer(NULL, m_timer); }
    TkReleasePoll(const TkReleasePoll&) = delete;
    TkReleasePoll& operator=(const TkReleasePoll&) = delete;

    BOOL IsPoll(const MSG& msg) const
    {
        return msg.message == WM_TIMER && msg.hwnd == NULL && msg.wParam == m_timer;
    }
    // Input messages come before timers: a release that reached the queue
    // would have been read before this poll.
    BOOL FoundReleased(const MSG& msg) const { return IsPoll(msg) && ::GetAsyncKeyState(VK_LBUTTON) >= 0; }

    static const UINT kIntervalMs = 50;

private:
    UINT_PTR m_timer;
};
