#include "tests/support/doc/DocFixture.h"

#include "JetRegistration.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

// Test programs run side by side: each keeps its profile apart.
std::string RegistryKey()
{
    return "ZymDocTest" + std::to_string(GetCurrentProcessId());
}

} // namespace

void CTrace::Add(const std::string& line)
{
    CSingleLock hold(&m_lock, TRUE);
    TakeEvents();
    m_lines.push_back(line);
}

Texts CTrace::Take()
{
    CSingleLock hold(&m_lock, TRUE);
    TakeEvents();
    Texts lines;
    lines.swap(m_lines);
    return lines;
}

void CTrace::OnTaskEvent(int, int what, INT_PTR value)
{
    if (what == kTaskName)
        Add(std::string("task ") + reinterpret_cast<const char*>(value));
    else if (what == kTaskStatus)
        Add(std::string("status ") + reinterpret_cast<const char*>(value));
    else if (what == kTaskEnded)
        Add("task ended");
}

void CTrace::TakeEvents()
{
    if (!doc)
        return;
    CString prefix = doc->GetTransmitDeviceName() + ":";
    for (const CString& text : doc->GetMapper().TakeEvents())
    {
        if (text.Find(prefix) == 0)
            m_lines.push_back("event " + std::string(text.Mid(prefix.GetLength())));
    }
}

// As the scheduler's action does: the timed play is over.
void COperationsStandIn::RunTimedAction()
{
    m_trace.Add("timed action");
    doc->GetTimedPlay().enabled = FALSE;
    doc->GetTimedPlay().started = FALSE;
}

DocFixture::DocFixture()
    : m_app(RegistryKey().c_str()), m_folder("zymdoc"), m_frame(m_trace), m_operations(m_trace), m_view(m_trace)
{
    // The library file is saved through this build's database provider.
    if (const char* provider = getenv("ZYM_JET_DLL"))
        EXPECT_TRUE(RegisterJetProvider(provider));
    m_app.WriteProfileString("Options", nullptr, nullptr);
    m_app.WriteProfileString("Current Playlist", nullptr, nullptr);
    // No serial port is searched unless a test asks for it.
    Option("COM Ports to Check", 0);
    Option("Auto Load DB", 0);
    Option("New DB Path", m_folder.WindowsPath("library.mdb").c_str());
    Option("Device File Directory", m_folder.WindowsPath("").c_str());
    Option("Map File", m_folder.WindowsPath("map.txt").c_str());
}

DocFixture::~DocFixture()
{
    if (m_doc)
        Close();
}

void DocFixture::WriteFile(const char* name, const char* text)
{
    FILE* file = fopen(m_folder.UnixPath(name).c_str(), "wb");
    ASSERT_TRUE(file != nullptr);
    fputs(text, file);
    fclose(file);
}

void DocFixture::Open()
{
    // The folder's Windows path ends with its backslash already.
    std::string folder = m_folder.WindowsPath("");
    m_doc = new CZymDoc(m_frame, folder.c_str());
    m_doc->m_bAutoDelete = FALSE;
    m_doc->GetTaskMgr().AddListener(&m_trace);
    ASSERT_TRUE(m_doc->OnNewDocument());
    m_trace.doc = m_doc;
    m_operations.doc = m_doc;
    m_doc->SetOperations(&m_operations);
    m_doc->AddView(&m_view);
    m_trace.Take();
}

void DocFixture::Close()
{
    m_doc->OnCloseDocument();
    m_trace.Add("closed");
    m_trace.doc = nullptr;
    delete m_doc;
    m_doc = nullptr;
}

void DocFixture::AddMp3Album(const char* id, int tracks)
{
    AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
    album.SetIdText(id);
    album.SetTrackCount(tracks);
    for (int t = 0; t < tracks; ++t)
    {
        album.SetPlayTime(t, 100);
        album.SetFileLocation(t, ("Z:\\music\\" + std::string(id) + std::to_string(t) + ".mp3").c_str());
    }
    album.SetPlayer(kMp3Player);
    album.SetSlot(0);
    album.SetPresent(true);
    m_doc->GetMusicLibrary().AppendAlbum(album);
}

void DocFixture::AddChangerAlbum(const char* id, int changer, int slot)
{
    AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
    album.SetIdText(id);
    album.SetTrackCount(2);
    album.SetPlayTime(0, 100);
    album.SetPlayTime(1, 100);
    album.SetPlayer(changer);
    album.SetSlot(slot);
    album.SetPresent(true);
    m_doc->GetMusicLibrary().AppendAlbum(album);
}

UINT UpdatedMenuState(CCmdTarget* target, UINT id)
{
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, id, "item");
    CCmdUI ui;
    ui.m_nID = id;
    ui.m_nIndex = 0;
    ui.m_nIndexMax = 1;
    ui.m_pMenu = &menu;
    ui.DoUpdate(target, TRUE);
    return menu.GetMenuState(id, MF_BYCOMMAND);
}
