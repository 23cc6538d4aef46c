#include "core/tasks/TaskMgr.h"

CTaskMgr::CTaskMgr(TaskClock clock) : m_clock(clock), m_nextId(0), m_changeTime(clock())
{
}

// Remaining records go without notifications.
CTaskMgr::~CTaskMgr()
{
}

int CTaskMgr::CreateTask(const char* name, TaskCancelFlag* cancelFlag, DWORD flags)
{
    int id;
    // The listeners get a copy: another thread may end the task once the lock is left.
    CString storedName;
    {
        CSingleLock lock(&m_lock, TRUE);
        id = m_nextId++;
        m_tasks.emplace_back(new TaskRecord(name, id, cancelFlag, flags, m_clock));
        storedName = m_tasks.back()->GetName();
    }
    NotifyListeners(id, kTaskCreated, 0);
    NotifyListeners(id, kTaskName, reinterpret_cast<INT_PTR>(static_cast<const char*>(storedName)));
    return id;
}

void CTaskMgr::EndTask(int id)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        int index = FindTask(id);
        if (index < 0)
            return;
        m_tasks.erase(m_tasks.begin() + index);
    }
    NotifyListeners(id, kTaskEnded, 0);
}

void CTaskMgr::SetTaskStatus(int id, const char* text)
{
    CString status;
    {
        CSingleLock lock(&m_lock, TRUE);
        int index = FindTask(id);
        if (index < 0)
            return;
        m_tasks[index]->SetStatus(text);
        status = m_tasks[index]->GetStatus();
    }
    NotifyListeners(id, kTaskStatus, reinterpret_cast<INT_PTR>(static_cast<const char*>(status)));
}

void CTaskMgr::SetTaskRange(int id, int range)
{
    int pos;
    if (ChangeTask(id, &TaskRecord::SetRange, range, pos))
        NotifyListeners(id, kTaskRange, range);
}

void CTaskMgr::SetTaskPos(int id, int pos)
{
    if (ChangeTask(id, &TaskRecord::SetPos, pos, pos))
        NotifyListeners(id, kTaskPos, pos);
}

void CTaskMgr::StepTaskPos(int id)
{
    int pos;
    if (ChangeTask(id, nullptr, 0, pos))
        NotifyListeners(id, kTaskPos, pos);
}

// A null change steps the position.
bool CTaskMgr::ChangeTask(int id, void (TaskRecord::*change)(int), int argument, int& pos)
{
    CSingleLock lock(&m_lock, TRUE);
    int index = FindTask(id);
    if (index < 0)
        return false;
    TaskRecord& task = *m_tasks[index];
    if (change)
        (task.*change)(argument);
    else
        task.StepPos();
    pos = task.GetPos();
    return true;
}

int CTaskMgr::GetTaskCount()
{
    CSingleLock lock(&m_lock, TRUE);
    return static_cast<int>(m_tasks.size());
}

TaskRecord CTaskMgr::GetTaskAt(int index)
{
    CSingleLock lock(&m_lock, TRUE);
    if (index < 0 || index >= static_cast<int>(m_tasks.size()))
        return TaskRecord();
    return *m_tasks[index];
}

int CTaskMgr::FindTask(int id) const
{
    for (size_t i = 0; i < m_tasks.size(); ++i)
    {
        if (m_tasks[i]->GetId() == id)
            return static_cast<int>(i);
    }
    return -1;
}

void CTaskMgr::AddListener(CTaskObserver* listener)
{
    m_listeners.push_back(listener);
}

void CTaskMgr::RequestCancelOfAll(bool ownThread, std::vector<int>* ownIds)
{
    CSingleLock lock(&m_lock, TRUE);
    for (const std::unique_ptr<TaskRecord>& task : m_tasks)
    {
        if (ownThread && task->IsOwnerThread())
            ownIds->push_back(task->GetId());
        else
            task->RequestCancel();
    }
}

void CTaskMgr::EndTasks(const std::vector<int>& ids)
{
    for (int id : ids)
        EndTask(id);
}

// Tasks are ended outside the lock, so that their listeners run outside it.
bool CTaskMgr::CancelAll(int timeoutMs)
{
    std::vector<int> own;
    RequestCancelOfAll(true, &own);
    EndTasks(own);
    int timeLeft = timeoutMs;
    while (GetTaskCount() > 0 && timeLeft >= 1)
    {
        Sleep(kCancelPollMs);
        timeLeft -= kCancelPollMs;
        RequestCancelOfAll(false, nullptr);
    }
    std::vector<int> left;
    {
        CSingleLock lock(&m_lock, TRUE);
        for (const std::unique_ptr<TaskRecord>& task : m_tasks)
            left.push_back(task->GetId());
    }
    EndTasks(left);
    return left.empty() && timeoutMs >= 1;
}

bool CTaskMgr::HasTaskOfThread(DWORD threadId)
{
    CSingleLock lock(&m_lock, TRUE);
    for (const std::unique_ptr<TaskRecord>& task : m_tasks)
    {
        if (task->IsOwnerThread(threadId))
            return true;
    }
    return false;
}

void CTaskMgr::NotifyListeners(int id, int what, INT_PTR value)
{
    m_changeTime = m_clock();
    for (CTaskObserver* listener : m_listeners)
    {
        if (listener)
            listener->OnTaskEvent(id, what, value);
    }
}
