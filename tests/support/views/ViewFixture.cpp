#include "tests/support/views/ViewFixture.h"

// Test programs run side by side: each keeps its profile apart.
CViewsTestApp::CViewsTestApp()
    : CWinApp("Zym"), m_key("ZymViewsTest" + std::to_string(GetCurrentProcessId()))
{
    SetRegistryKey(m_key.c_str());
}

CViewsTestApp::~CViewsTestApp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
}

CTestViewsDoc::CTestViewsDoc() : m_selection(m_library)
{
    m_bAutoDelete = FALSE;
    m_library.SetHost(this);
    m_lists.emplace_back(new CPlayList(m_library));
}

void CTestViewsDoc::AddAlbum(const char* id, int player, int slot, bool present, int tracks)
{
    AlbumRecord album = m_library.NewAlbum();
    album.SetIdText(id);
    album.SetTrackCount(tracks);
    for (int t = 0; t < tracks; ++t)
    {
        album.SetPlayTime(t, 100);
        album.SetTitle(t, (std::string(id).substr(15) + " track " + std::to_string(t)).c_str());
        if (player == kMp3Player)
            album.SetFileLocation(t, ("Z:\\music\\" + std::to_string(t) + ".mp3").c_str());
    }
    album.SetTitle(-1, (std::string("Album ") + id[15]).c_str());
    album.SetArtist(-1, "Artist");
    album.SetPlayer(player);
    album.SetSlot(slot);
    album.SetPresent(present);
    m_library.AppendAlbum(album);
}

std::vector<std::string> CTestViewsDoc::Entries(const CPlayList& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        CLibItem item = list.GetItem(i);
        entries.push_back(std::string(1, item.GetId()[item.GetId().GetLength() - 1]) + ":" +
                          std::to_string(item.GetTrack()));
    }
    return entries;
}

void CTestViewsDoc::PlayPlayingList()
{
    ++m_playCommands;
    m_playing->SetPlaying();
}

void CTestViewsDoc::GetPlayerColors(int player, COLORREF& text, COLORREF& background)
{
    text = RGB(player & 0xFF, 1, 2);
    background = RGB(3, 4, player & 0xFF);
}

LOGFONT CTestViewsDoc::GetListFont()
{
    LOGFONT font = {};
    font.lfHeight = -12;
    lstrcpyA(font.lfFaceName, "Arial");
    return font;
}

CViewFrame::CViewFrame(CDocument& doc, CRuntimeClass* viewClass)
{
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    context.m_pNewViewClass = viewClass;
    m_frame = new CFrameWnd;
    if (!m_frame->Create(NULL, "Views", WS_OVERLAPPEDWINDOW, CRect(0, 0, 420, 340), NULL, NULL, 0,
                         &context))
    {
        m_frame = nullptr;
        return;
    }
    CRect window, client;
    m_frame->GetWindowRect(window);
    m_frame->GetClientRect(client);
    m_frame->SetWindowPos(NULL, 0, 0, 400 + window.Width() - client.Width(),
                          300 + window.Height() - client.Height(), SWP_NOZORDER);
    m_frame->InitialUpdateFrame(&doc, TRUE);
    PumpMessages();
}

CViewFrame::~CViewFrame()
{
    if (m_frame)
        m_frame->DestroyWindow();
    PumpMessages();
}
