#include "tasks/TaskMgr.h"

CTaskMgr::CTaskMgr() : m_nextId(0)
{
}

// Remaining records go without notifications.
CTaskMgr::~CTaskMgr()
{
}

int CTaskMgr::CreateTask(const char* name, volatile BYTE* cancelFlag, DWORD flags)
{
    int id;
    // The listeners get a copy: another thread may end the task once the lock is left.
    CString storedName;
    {
        CSingleLock lock(&m_lock, TRUE);
        id = m_nextId++;
        m_tasks.emplace_back(new TaskRecord(name, id, cancelFlag, flags));
        m_tasks.back()->AddObserver(this);
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
    CSingleLock lock(&m_lock, TRUE);
    int index = FindTask(id);
    if (index >= 0)
        m_tasks[index]->SetStatus(text);
}

void CTaskMgr::SetTaskRange(int id, int range)
{
    CSingleLock lock(&m_lock, TRUE);
    int index = FindTask(id);
    if (index >= 0)
        m_tasks[index]->SetRange(range);
}

void CTaskMgr::SetTaskPos(int id, int pos)
{
    CSingleLock lock(&m_lock, TRUE);
    int index = FindTask(id);
    if (index >= 0)
        m_tasks[index]->SetPos(pos);
}

void CTaskMgr::StepTaskPos(int id)
{
    CSingleLock lock(&m_lock, TRUE);
    int index = FindTask(id);
    if (index >= 0)
        m_tasks[index]->StepPos();
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

void CTaskMgr::RequestCancelOfAll()
{
    CSingleLock lock(&m_lock, TRUE);
    for (const std::unique_ptr<TaskRecord>& task : m_tasks)
        task->RequestCancel();
}

bool CTaskMgr::CancelAll(int timeoutMs)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        size_t i = 0;
        while (i < m_tasks.size())
        {
            TaskRecord& task = *m_tasks[i];
            if (task.IsOwnerThread())
            {
                EndTask(task.GetId());
                continue;
            }
            task.RequestCancel();
            ++i;
        }
    }
    int timeLeft = timeoutMs;
    while (GetTaskCount() > 0 && timeLeft >= 1)
    {
        Sleep(kCancelPollMs);
        timeLeft -= kCancelPollMs;
        RequestCancelOfAll();
    }
    CSingleLock lock(&m_lock, TRUE);
    bool endedOnTheirOwn = m_tasks.empty();
    while (!m_tasks.empty())
        EndTask(m_tasks.front()->GetId());
    return endedOnTheirOwn && timeoutMs >= 1;
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
    m_changeTime.SetToNow();
    for (CTaskObserver* listener : m_listeners)
    {
        if (listener)
            listener->OnTaskEvent(id, what, value);
    }
}

void CTaskMgr::OnTaskEvent(int taskId, int what, INT_PTR value)
{
    NotifyListeners(taskId, what, value);
}
