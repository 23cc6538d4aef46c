#include "core/tasks/TaskRecord.h"

CTimeStamp SystemTaskClock()
{
    return CTimeStamp();
}

TaskRecord::TaskRecord()
    : m_range(0), m_pos(0), m_clock(SystemTaskClock), m_id(0), m_flags(0), m_ownerThread(0),
      m_cancelFlag(nullptr)
{
}

TaskRecord::TaskRecord(const char* name, int id, TaskCancelFlag* cancelFlag, DWORD flags, TaskClock clock)
    : m_range(0), m_pos(0), m_startTime(clock()), m_changeTime(m_startTime), m_touchTime(m_startTime),
      m_clock(clock), m_id(id), m_flags(flags), m_ownerThread(GetCurrentThreadId()), m_cancelFlag(cancelFlag)
{
    SetName(name);
}

bool TaskRecord::IsOwnerThread(DWORD threadId) const
{
    return (threadId ? threadId : GetCurrentThreadId()) == m_ownerThread;
}

void TaskRecord::SetName(const char* name)
{
    if (m_name != name)
        m_name = name;
}

void TaskRecord::SetStatus(const char* text)
{
    m_status = text;
    Notify(kTaskStatus, reinterpret_cast<INT_PTR>(static_cast<const char*>(m_status)));
}

void TaskRecord::SetRange(int range)
{
    m_range = range;
    Notify(kTaskRange, range);
}

void TaskRecord::SetPos(int pos)
{
    m_pos = pos;
    Notify(kTaskPos, pos);
}

void TaskRecord::StepPos()
{
    SetPos(m_pos + 1);
}

CString TaskRecord::GetProgressText() const
{
    CString text;
    if (m_range >= 1)
        text.Format("%d/%d", m_pos, m_range);
    else
        text = "---";
    return text;
}

void TaskRecord::Notify(int what, INT_PTR value)
{
    m_changeTime = m_clock();
    for (CTaskObserver* observer : m_observers)
    {
        if (observer)
            observer->OnTaskEvent(m_id, what, value);
    }
}

void TaskRecord::AddObserver(CTaskObserver* observer)
{
    m_observers.push_back(observer);
}

void TaskRecord::RequestCancel()
{
    if (m_cancelFlag)
        *m_cancelFlag = 1;
}
