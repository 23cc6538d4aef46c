// One long job: name, status text, progress range and position, and the
// observers that hear about every change.
#pragma once

#include "devices/util/TaskCancelFlag.h"
#include "library/records/TaskSink.h"
#include "platform/runtime/TimeStamp.h"

#include <afx.h>

#include <vector>

// What a task notification is about; the value's meaning follows each code.
enum TaskEventCode
{
    kTaskName = 0,      // value: const char* of the name
    kTaskStatus = 1,    // value: const char* of the status text
    kTaskPos = 2,       // value: the new position
    kTaskRange = 3,     // value: the new range
    kTaskCreated = 100, // value: 0
    kTaskEnded = 101,   // value: 0
};

class CTaskObserver
{
public:
    virtual ~CTaskObserver() {}
    virtual void OnTaskEvent(int taskId, int what, INT_PTR value) = 0;
};

// Where a task's times come from: the system's clock, or a test's.
typedef CTimeStamp (*TaskClock)();
CTimeStamp SystemTaskClock();

class TaskRecord
{
public:
    static const DWORD kShowProgressDialog = CTaskSink::kShowProgressDialog;

    TaskRecord();
    TaskRecord(const char* name, int id, TaskCancelFlag* cancelFlag, DWORD flags,
               TaskClock clock = SystemTaskClock);

    bool IsOwnerThread(DWORD threadId = 0) const;
    bool HasProgressDialog() const { return (m_flags & kShowProgressDialog) != 0; }

    void SetName(const char* name);
    void SetStatus(const char* text);
    void SetRange(int range);
    void SetPos(int pos);
    void StepPos();

    CString GetName() const { return m_name; }
    CString GetStatus() const { return m_status; }
    int GetRange() const { return m_range; }
    int GetPos() const { return m_pos; }
    int GetId() const { return m_id; }
    DWORD GetFlags() const { return m_flags; }
    TaskCancelFlag* GetCancelFlag() const { return m_cancelFlag; }
    const CTimeStamp& GetStartTime() const { return m_startTime; }
    const CTimeStamp& GetChangeTime() const { return m_changeTime; }
    CString GetProgressText() const;

    void Notify(int what, INT_PTR value);
    void AddObserver(CTaskObserver* observer);
    void RequestCancel();

private:
    CString m_name;
    CString m_status;
    int m_range;
    int m_pos;
    CTimeStamp m_startTime;
    CTimeStamp m_changeTime;
    CTimeStamp m_touchTime;
    TaskClock m_clock;
    int m_id;
    DWORD m_flags;
    DWORD m_ownerThread;
    std::vector<CTaskObserver*> m_observers;
    // Owned by the code that runs the task, which keeps it alive until the task
    // ends; null when the task cannot be cancelled.
    TaskCancelFlag* m_cancelFlag;
};
