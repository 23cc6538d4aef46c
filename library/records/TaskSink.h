// Where the library reports its long jobs (load, save, compaction, look-ups).
// The task manager sits above the library and implements this, so library code
// never includes it.
#pragma once

#include <windef.h>

#include "devices/util/TaskCancelFlag.h"

class CTaskSink
{
public:
    // Flag bit of CreateTask: show a progress dialog for this task.
    static const DWORD kShowProgressDialog = 1;

    virtual ~CTaskSink() {}
    // cancelFlag: a flag of the caller's that is set to 1 when the task should
    // stop, or null; it must live until the task ends. Returns the task id.
    virtual int CreateTask(const char* name, TaskCancelFlag* cancelFlag, DWORD flags) = 0;
    virtual void EndTask(int id) = 0;
    virtual void SetTaskStatus(int id, const char* text) = 0;
    virtual void SetTaskRange(int id, int range) = 0;
    virtual void SetTaskPos(int id, int pos) = 0;
    virtual void StepTaskPos(int id) = 0;
};
