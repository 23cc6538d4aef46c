// Fixture of the library database tests: a temporary folder for library files,
// the provider registered, a library with a recording host and task sink, and
// SQLite reached directly to look at (or damage) what the program wrote.
#pragma once

#include "platform/jet/tests/JetTestBase.h"

#include <memory>
#include <string>
#include <vector>

#include "tests/support/MessageBoxScript.h"
#include "library/db/LibraryDatabase.h"

class CRecordingHost : public CLibraryHost
{
public:
    void FireEvent(const char* text) override { m_events.push_back(text); }
    void ThreadStarted(const char*) override {}
    void ThreadEnded() override {}
    bool IsPlayerAvailable(int) override { return true; }

    std::vector<std::string> m_events;
};

// Records "create NAME", "status TEXT" and "end NAME".
class CRecordingTasks : public CTaskSink
{
public:
    int CreateTask(const char* name, TaskCancelFlag*, DWORD flags) override;
    void EndTask(int id) override;
    void SetTaskStatus(int, const char* text) override { m_log.push_back(std::string("status ") + text); }
    void SetTaskRange(int, int) override {}
    void SetTaskPos(int, int) override {}
    void StepTaskPos(int) override {}

    std::vector<std::string> m_log;
    std::vector<DWORD> m_flags;

private:
    std::vector<std::string> m_names;
};

class LibraryDbFixture : public JetTestBase
{
protected:
    void TearDown() override;
    // A copy of the template beside the test program, as a library file.
    void CopyTemplate(const char* name);

    // A new library object on a file, with its database.
    void OpenLibrary(const char* name);
    // Runs the load as the load thread does.
    void Load();
    // An album in no player whose id is the one its track lengths give, so
    // the id upgrade after a load leaves it alone.
    AlbumRecord MakeAlbum(int tracks, int firstSeconds);
    AlbumRecord StoredAlbum(const char* id);

    CRecordingHost m_host;
    CRecordingTasks m_tasks;
    std::unique_ptr<CMusicLibrary> m_library;
    std::unique_ptr<CLibraryDatabase> m_database;
};
