// The list of running tasks. Any thread may create, update and end tasks;
// listeners hear about every change.
//
// Lock order: this manager's lock comes before the progress dialogs' locks.
// Status, range and position events reach the listeners inside the lock on the
// changing thread, created and ended events outside it: a listener must not
// wait for another thread that needs this lock.
#pragma once

#include "records/TaskSink.h"
#include "tasks/TaskRecord.h"

#include <afxmt.h>

#include <memory>
#include <vector>

class CTaskMgr : public CTaskSink, private CTaskObserver
{
public:
    CTaskMgr();
    ~CTaskMgr() override;
    CTaskMgr(const CTaskMgr&) = delete;
    CTaskMgr& operator=(const CTaskMgr&) = delete;

    int CreateTask(const char* name, volatile BYTE* cancelFlag, DWORD flags) override;
    void EndTask(int id) override;
    void SetTaskStatus(int id, const char* text) override;
    void SetTaskRange(int id, int range) override;
    void SetTaskPos(int id, int pos) override;
    void StepTaskPos(int id) override;

    int GetTaskCount();
    // A copy taken under the lock; an empty record for an index outside the list.
    TaskRecord GetTaskAt(int index);
    // The caller holds the lock.
    int FindTask(int id) const;
    void AddListener(CTaskObserver* listener);
    // Ends the calling thread's tasks at once, asks the others to cancel and
    // waits up to timeoutMs for them; true when they all ended on their own.
    bool CancelAll(int timeoutMs);
    bool HasTaskOfThread(DWORD threadId = 0);
    void NotifyListeners(int id, int what, INT_PTR value);
    CCriticalSection& GetLock() { return m_lock; }

private:
    // Record notifications forwarded to the listeners.
    void OnTaskEvent(int taskId, int what, INT_PTR value) override;
    void RequestCancelOfAll();

    static const int kCancelPollMs = 100;

    int m_nextId;
    CTimeStamp m_changeTime;
    CCriticalSection m_lock; // re-entrant: CancelAll ends tasks while holding it
    std::vector<std::unique_ptr<TaskRecord>> m_tasks;
    std::vector<CTaskObserver*> m_listeners;
};
