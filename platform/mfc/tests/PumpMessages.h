// Runs what the tests' windows have queued. A main window that went away posts
// WM_QUIT; the tests carry on, so it is dropped.
#pragma once

#include <windows.h>

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
}
