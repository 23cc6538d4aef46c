// The list of running tasks. Any thread may create, update and end tasks;
// listeners hear about every change.
//
// Lock order: this manager's lock comes before the progress dialogs' locks.
// Listeners are called on the changing thread outside the lock, so that a
// listener may wait for another thread that reads the tasks; texts handed to
// a listener are copies that live until it returns.
#pragma once

#include "library/records/TaskSink.h"
#include "core/tasks/TaskRecord.h"

#include <afxmt.h>

#include <memory>
#include <vector>

class CTaskMgr : public CTaskSink
{
public:
    explicit CTaskMgr(TaskClock clock = SystemTaskClock);
    ~CTaskMgr() override;
    CTaskMgr(const CTaskMgr&) = delete;
    CTaskMgr& operator=(const CTaskMgr&) = delete;

    int CreateTask(const char* name, TaskCancelFlag* cancelFlag, DWORD flags) override;
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
    // When a listener was last told of a change.
    CTimeStamp GetChangeTime() const { return m_changeTime; }
    // Now, by the clock the tasks' times come from.
    CTimeStamp Now() const { return m_clock(); }
    void NotifyListeners(int id, int what, INT_PTR value);
    CCriticalSection& GetLock() { return m_lock; }

private:
    // Applies a change to the task under the lock and gives its new position;
    // false for an unknown id.
    bool ChangeTask(int id, void (TaskRecord::*change)(int), int argument, int& pos);
    // Asks every task to cancel; with ownThread, the calling thread's tasks
    // are not asked but listed in ownIds, for ending.
    void RequestCancelOfAll(bool ownThread, std::vector<int>* ownIds);
    void EndTasks(const std::vector<int>& ids);

    static const int kCancelPollMs = 100;

    TaskClock m_clock;
    int m_nextId;
    CTimeStamp m_changeTime;
    CCriticalSection m_lock; // guards m_tasks; never held while listeners run
    std::vector<std::unique_ptr<TaskRecord>> m_tasks;
    std::vector<CTaskObserver*> m_listeners;
};
