// The tests' one message loop and one wait. The loop does with the calling
// thread's queue what the application's message loop does (the thread's and
// the MFC windows' PreTranslateMessage, keys to characters, dispatch); a
// WM_QUIT is dropped, since a test whose main window goes away carries on.
#pragma once

#include <windows.h>

#include <limits.h>

// Runs every message queued now.
void PumpMessages();
// Runs messages until none has come for quietMs, or for at most maxRounds
// waits where a timer keeps the queue busy.
void PumpUntilIdle(DWORD quietMs = 100, int maxRounds = INT_MAX);

enum class WhileWaiting
{
    Sleep,        // another thread makes the condition true
    PumpMessages, // the calling thread's windows must run meanwhile
};

// One step of a wait that ends at deadline (GetTickCount64): false once the
// deadline has come, else true after a short sleep or a pumped wait.
bool WaitStep(ULONGLONG deadline, WhileWaiting meanwhile);

// True as soon as holds() is; false when it still is not after timeoutMs.
// holds is tested at once and again at the deadline. Where the code under test
// or a simulator offers an event, wait on that instead. A template, so that
// the header needs no standard header after <windows.h> and its min and max.
template <typename Holds>
bool WaitUntil(Holds holds, DWORD timeoutMs, WhileWaiting meanwhile = WhileWaiting::Sleep)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!holds()) {
        if (!WaitStep(deadline, meanwhile))
            return false;
    }
    return true;
}
