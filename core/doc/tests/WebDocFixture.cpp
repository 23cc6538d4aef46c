#include "core/doc/tests/WebDocFixture.h"

#include <stdio.h>

WebDocFixture::WebDocFixture()
{
    Option("Use HTTP Proxy", 1);
    Option("Proxy Host", "127.0.0.1");
    Option("Proxy Port", std::to_string(m_server.Port()).c_str());
    Option("Image Directory", m_folder.WindowsPath("covers").c_str());
    CreateDirectoryA(m_folder.WindowsPath("covers").c_str(), nullptr);
    Open();
}

// WinInet names the port in the request line it sends to a proxy.
std::string WebDocFixture::Url(const char* host, const std::string& object)
{
    return std::string("http://") + host + ":80" + object;
}

std::vector<std::string> WebDocFixture::Targets() const
{
    std::vector<std::string> targets;
    for (const HttpRequestRecord& request : m_server.Requests())
        targets.push_back(request.target);
    return targets;
}

std::string WebDocFixture::AddAlbum(const char* artist, const char* title, const std::vector<Track>& tracks)
{
    char id[17];
    snprintf(id, sizeof id, "%016X", ++m_albums);
    AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
    album.SetIdText(id);
    // The album's own record comes with the tracks.
    album.SetTrackCount(static_cast<int>(tracks.size()));
    album.SetArtist(kAlbumIndex, artist);
    album.SetTitle(kAlbumIndex, title);
    for (int t = 0; t < static_cast<int>(tracks.size()); ++t)
    {
        album.SetTitle(t, tracks[t].title.c_str());
        album.SetArtist(t, tracks[t].artist.c_str());
        album.SetLyrics(t, tracks[t].lyrics.c_str());
    }
    album.SetPlayer(0);
    album.SetSlot(1);
    album.SetState(kAlbumClean);
    m_doc->GetMusicLibrary().AppendAlbum(album);
    return id;
}

AlbumRecord WebDocFixture::Album(const std::string& id)
{
    AlbumRecord album;
    CLibItem item(id.c_str(), kWholeAlbum);
    EXPECT_TRUE(item.GetAlbumCopy(m_doc->GetMusicLibrary(), album));
    return album;
}

void WebDocFixture::Select(const std::string& id, int track)
{
    m_doc->GetSelectionList().AddItem(CLibItem(id.c_str(), track));
}

Texts WebDocFixture::Lines(const std::string& prefix)
{
    Texts lines;
    for (const std::string& line : m_trace.Take())
    {
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    }
    return lines;
}

void CCancelAtRequest::OnTaskEvent(int, int what, INT_PTR value)
{
    if (what != kTaskName || std::string(reinterpret_cast<const char*>(value)) != "HTTP")
        return;
    for (int i = 0; i < m_tasks.GetTaskCount(); ++i)
    {
        TaskRecord task = m_tasks.GetTaskAt(i);
        if (task.GetName() == m_name && task.GetCancelFlag())
            *task.GetCancelFlag() = 1;
    }
}
