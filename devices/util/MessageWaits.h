// Waits that keep the calling thread's windows responsive: they sleep in steps of
// at most 50 ms and dispatch the thread's pending messages after every step.
// Each tests its condition before every step, so one that already holds returns
// true at once; a time-out below 1 ms returns false without testing; a set
// cancel flag (the pointer may be null) returns false.
#pragma once

#include <windows.h>

#include <functional>

#include "devices/util/TaskCancelFlag.h"

// Dispatches the calling thread's pending messages, so that its windows repaint
// during a long operation. A WM_QUIT it meets is posted again and ends the pump,
// so that the thread's own message loop still ends; the answer says whether
// it met one.
bool PumpWaitingMessages();

bool WaitForBufferChange(int timeout, const void* buffer, int length, const TaskCancelFlag* cancel);
bool WaitForBuffersEqual(int timeout, const void* a, const void* b, int length,
                         const TaskCancelFlag* cancel);
bool WaitForBuffersDiffer(int timeout, const void* a, const void* b, int length,
                          const TaskCancelFlag* cancel);
// Two zero-terminated multi-byte texts.
bool WaitForStringsDiffer(int timeout, const char* a, const char* b, const TaskCancelFlag* cancel);
// What the four above cannot compare (a text another thread reassigns).
bool WaitForCondition(int timeout, const std::function<bool()>& holds, const TaskCancelFlag* cancel);
