#include "shell/views/tests/ShellViewFixture.h"

#include <afxole.h>
#include <shlobj.h>

namespace {

// The menu a test reads and picks from while it tracks.
struct MenuPick
{
    std::vector<UINT> ids;
    int pick = -1;
    int ticks = 0;
    bool done = false;
};
MenuPick* g_menuPick = nullptr;
// Ticks to wait for the menu before giving up on it.
const int kMenuTicks = 200;

void CALLBACK PickFromShownMenu(HWND, UINT, UINT_PTR, DWORD)
{
    MenuPick& state = *g_menuPick;
    if (state.done)
        return;
    HWND window = FindWindowA("#32768", NULL);
    if (!window || !IsWindowVisible(window))
    {
        if (++state.ticks > kMenuTicks)
        {
            state.done = true;
            EndMenu();
        }
        return;
    }
    state.done = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        state.ids.push_back(GetMenuItemID(menu, i));
    if (state.pick < 0)
    {
        EndMenu();
        return;
    }
    for (int i = 0; i <= state.pick; ++i)
        PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

std::vector<UINT> ShellViewFixture::PickFromMenu(const std::function<void()>& open, int pick)
{
    MenuPick state;
    state.pick = pick;
    g_menuPick = &state;
    UINT_PTR timer = SetTimer(NULL, 0, 10, PickFromShownMenu);
    open();
    KillTimer(NULL, timer);
    g_menuPick = nullptr;
    PumpMessages();
    return state.ids;
}

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
