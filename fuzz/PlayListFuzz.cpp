// A play list's entries as a file holds them, against a library of two
// albums, and a position word read against the loaded list.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "library/records/MusicLibrary.h"
#include "library/playlist/PlayList.h"

namespace {

CMusicLibrary& Library()
{
    static CMusicLibrary* library = [] {
        CMusicLibrary* made = new CMusicLibrary;
        const char* const ids[] = { "000000000000000A", "000000000000000B" };
        for (const char* id : ids) {
            AlbumRecord album = made->NewAlbum();
            album.SetIdText(id);
            album.SetTrackCount(3);
            made->AppendAlbum(album);
        }
        return made;
    }();
    return *library;
}

} // namespace

int FuzzPlayList(const uint8_t* data, size_t size)
{
    std::vector<CString> parts = SplitInput(data, size);
    CPlayList list(Library());
    list.GetError().m_messageBox = FALSE;
    list.AppendFromText(parts[0]);
    int position = 0;
    if (parts.size() > 1 && list.ParsePosition(parts[1], position) && list.GetCount() > 0)
        list.RemoveAt(position);
    return 0;
}
