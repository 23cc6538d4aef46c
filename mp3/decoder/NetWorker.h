// Runs a blocking call (a host-name look-up, a connect) on a thread of its own
// so that its caller can stop waiting for it.
#pragma once

#include <windows.h>

// Starts a thread running procedure(argument) and waits up to timeout ms for it
// (a negative time-out waits without limit). Returns 0 with the thread's exit
// code in result; kErrTimeout when the time-out passes (the thread runs on
// alone, so it must own what it was given); kErrInternal when the thread
// cannot be started, the wait fails or the exit code cannot be read (result 0).
int RunWithTimeout(LPTHREAD_START_ROUTINE procedure, void* argument, DWORD* result,
                   int timeout);
