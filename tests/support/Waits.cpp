#include "tests/support/Waits.h"

#include <afxwin.h>

namespace {
// How long a wait sleeps between tests of its condition when nothing wakes it.
const DWORD kStepMs = 5;

// What the running thread's message loop would take before dispatch; without
// an application, the MFC windows the message goes to and their parents.
BOOL PreTranslated(MSG& msg)
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(NULL, &msg);
}
} // namespace

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT || PreTranslated(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpUntilIdle(DWORD quietMs, int maxRounds)
{
    for (int round = 0; round < maxRounds; round++) {
        PumpMessages();
        if (MsgWaitForMultipleObjects(0, NULL, FALSE, quietMs, QS_ALLINPUT) == WAIT_TIMEOUT)
            return;
    }
}

bool WaitStep(ULONGLONG deadline, WhileWaiting meanwhile)
{
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return false;
    const DWORD step = deadline - now < kStepMs ? DWORD(deadline - now) : kStepMs;
    if (meanwhile == WhileWaiting::PumpMessages) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, step, QS_ALLINPUT);
        PumpMessages();
    } else {
        Sleep(step);
    }
    return true;
}
