#include "library/web/tests/HttpTestSupport.h"

int CRecordingTasks::CreateTask(const char* name, TaskCancelFlag*, DWORD)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_created.push_back(name);
    return (int)m_created.size();
}

void CRecordingTasks::EndTask(int)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_ended++;
}

void CRecordingTasks::SetTaskStatus(int, const char* text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_statuses.push_back(text);
}

std::vector<std::string> CRecordingTasks::Created() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_created;
}

std::vector<std::string> CRecordingTasks::Statuses() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_statuses;
}

int CRecordingTasks::Ended() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ended;
}

void CRecordingHost::ThreadStarted(const char* name)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_events.push_back(std::string("start ") + name);
}

void CRecordingHost::ThreadEnded()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_events.push_back("end");
}

std::vector<std::string> CRecordingHost::Events() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_events;
}

AlbumRecord MakeAlbum(const std::vector<int>& trackFrames, int totalFrames)
{
    AlbumRecord album;
    album.SetTrackCount((int)trackFrames.size());
    for (size_t i = 0; i < trackFrames.size(); i++)
        album.GetRecord((int)i)->SetFrames(trackFrames[i]);
    album.GetRecord(kAlbumIndex)->SetFrames(totalFrames);
    album.SetState(kAlbumClean);
    return album;
}
