// The document's one clock: the seconds of time(), the date and time of the
// timed play, the random seed and the shutdown's waits. It runs in real time
// until a test sets it; from then on it only moves when the test moves it or
// a wait passes, and waits do not sleep.
#pragma once

#include <windows.h>
#include <time.h>

#include <atomic>

class CDocClock
{
public:
    time_t Now() const;
    // Local date and time of Now().
    SYSTEMTIME LocalTime() const;
    // Waits for the object at most ms; on a set clock it waits a moment of
    // real time and moves the clock by ms when the object is not signalled.
    DWORD Wait(HANDLE object, DWORD ms);

    void Set(time_t seconds);
    void Advance(long long milliseconds);

private:
    std::atomic<bool> m_set{ false };
    std::atomic<long long> m_milliseconds{ 0 };
};
