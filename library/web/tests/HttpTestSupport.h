// What the web tests share: a task manager and a host that record what they
// were told, and albums of given track lengths.
#pragma once

#include "library/records/AlbumRecord.h"
#include "library/records/LibraryHost.h"
#include "library/records/TaskSink.h"

#include <mutex>
#include <string>
#include <vector>

class CRecordingTasks : public CTaskSink
{
public:
    int CreateTask(const char* name, TaskCancelFlag*, DWORD) override;
    void EndTask(int id) override;
    void SetTaskStatus(int id, const char* text) override;
    void SetTaskRange(int, int) override {}
    void SetTaskPos(int, int) override {}
    void StepTaskPos(int) override {}

    std::vector<std::string> Created() const;
    std::vector<std::string> Statuses() const;
    int Ended() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_created;
    std::vector<std::string> m_statuses;
    int m_ended = 0;
};

class CRecordingHost : public CLibraryHost
{
public:
    void FireEvent(const char*) override {}
    void ThreadStarted(const char* name) override;
    void ThreadEnded() override;
    bool IsPlayerAvailable(int) override { return true; }

    std::vector<std::string> Events() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_events;
};

inline std::string Str(const CString& text)
{
    return std::string((LPCSTR)text);
}

// Track lengths and total length in frames.
AlbumRecord MakeAlbum(const std::vector<int>& trackFrames, int totalFrames);
