#include "ShellViewFixture.h"

#include <afxole.h>
#include <shlobj.h>

ShellViewFixture::ShellViewFixture()
{
    AfxOleInit();
    Open();
}

ShellViewFixture::~ShellViewFixture()
{
    m_frames.clear();
}

int ShellViewFixture::AddAlbum(const char* id, const char* title, int tracks, bool mp3, int slot)
{
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord album = library.NewAlbum();
    album.SetIdText(id);
    album.SetTrackCount(tracks);
    for (int t = 0; t < tracks; ++t)
    {
        album.SetPlayTime(t, 100 + t);
        album.SetTitle(t, ("T" + std::to_string(t + 1)).c_str());
        if (mp3)
            album.SetFileLocation(t, ("Z:\\music\\" + std::string(id) + std::to_string(t) + ".mp3").c_str());
    }
    album.SetTitle(kAlbumIndex, title);
    album.SetArtist(kAlbumIndex, "Band");
    album.SetPlayer(mp3 ? kMp3Player : 0);
    album.SetSlot(mp3 ? 0 : slot);
    album.SetPresent(true);
    library.AppendAlbum(album);
    return library.GetAlbumCount() - 1;
}

Texts ShellViewFixture::Selection()
{
    Texts lines;
    CPlayList& selection = m_doc->GetSelectionList();
    for (int i = 0; i < selection.GetCount(); ++i)
        lines.push_back(std::string(selection.GetItem(i).Format()));
    return lines;
}

void ShellViewFixture::RetitleTracks(int albumIndex)
{
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord album;
    if (!library.GetAlbumAt(albumIndex, album))
        return;
    for (int t = 0; t < album.GetTrackCount(); ++t)
        album.SetTitle(t, ("T" + std::to_string(t + 1)).c_str());
    library.StoreAlbum(album);
}

Texts ShellViewFixture::TrackTitles(const char* id)
{
    Texts titles;
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord album;
    if (!library.GetAlbumAt(library.FindAlbumIndex(id), album))
        return titles;
    for (int t = 0; t < album.GetTrackCount(); ++t)
        titles.push_back(std::string(album.GetTitle(t)));
    return titles;
}

Texts ShellViewFixture::Column(CLxListCtrl& list, int columnId)
{
    Texts texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts.push_back(Cell(list, list.GetItemData(row), columnId));
    return texts;
}

std::string ShellViewFixture::Cell(CLxListCtrl& list, DWORD_PTR itemData, int columnId)
{
    CString text;
    (list.GetParent()->*list.m_pfnCellTextHandler)(0, columnId, itemData, text);
    return std::string(text);
}

void ShellViewFixture::SelectRows(CLxListCtrl& list, std::initializer_list<int> rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

HDROP ShellViewFixture::MakeDrop(const std::vector<std::string>& paths)
{
    size_t chars = 1;
    for (const std::string& path : paths)
        chars += path.size() + 1;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    char* text = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths)
    {
        memcpy(text, path.c_str(), path.size() + 1);
        text += path.size() + 1;
    }
    GlobalUnlock(global);
    return static_cast<HDROP>(global);
}
