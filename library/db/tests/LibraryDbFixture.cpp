#include "library/db/tests/LibraryDbFixture.h"

#include <stdlib.h>


int CRecordingTasks::CreateTask(const char* name, TaskCancelFlag*, DWORD flags)
{
    m_names.push_back(name);
    m_flags.push_back(flags);
    m_log.push_back(std::string("create ") + name);
    return static_cast<int>(m_names.size());
}

void CRecordingTasks::EndTask(int id)
{
    m_log.push_back("end " + m_names[id - 1]);
}

void LibraryDbFixture::TearDown()
{
    m_database.reset();
    m_library.reset();
    JetTestBase::TearDown();
}

void LibraryDbFixture::CopyTemplate(const char* name)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof(program));
    std::string templatePath = program;
    templatePath = templatePath.substr(0, templatePath.rfind('\\') + 1) + "template.mdb";
    ASSERT_TRUE(CopyFileA(templatePath.c_str(), WindowsPath(name).c_str(), FALSE)) << templatePath;
}

void LibraryDbFixture::OpenLibrary(const char* name)
{
    m_database.reset();
    m_library.reset(new CMusicLibrary());
    m_library->SetHost(&m_host);
    m_library->SetTaskMgr(&m_tasks);
    m_library->SetLibraryPath(WindowsPath(name).c_str());
    m_database.reset(new CLibraryDatabase(*m_library));
    m_library->SetLoader(m_database.get());
}

void LibraryDbFixture::Load()
{
    m_library->RunLoad();
}

AlbumRecord LibraryDbFixture::MakeAlbum(int tracks, int firstSeconds)
{
    AlbumRecord album = m_library->NewAlbum();
    album.SetTrackCount(tracks);
    for (int i = 0; i < tracks; i++) {
        CString title;
        title.Format("Track %d", i + 1);
        album.SetTitle(i, title);
        album.SetPlayTime(i, firstSeconds + 7 * i);
    }
    album.SetTitle(kAlbumIndex, "Album");
    album.SetIdText(album.ComputeAlbumId());
    return album;
}

AlbumRecord LibraryDbFixture::StoredAlbum(const char* id)
{
    AlbumRecord probe = m_library->NewAlbum();
    probe.SetIdText(id);
    AlbumRecord stored = m_library->NewAlbum();
    EXPECT_TRUE(m_library->GetAlbum(probe, stored)) << id;
    return stored;
}
