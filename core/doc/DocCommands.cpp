#include "core/doc/DocCommands.h"

#include "core/doc/CommandText.h"
#include "ComError.h"
#include "core/doc/DiscLookups.h"
#include "core/doc/DiscSearch.h"
#include "core/doc/DocCommandTargets.h"
#include "core/doc/OpenLink.h"
#include "core/doc/RemoteNames.h"
#include "platform/crt/Random.h"
#include "library/db/ODBConnection.h"
#include "JetIds.h"
#include "core/doc/ZymDoc.h"
#include "core/players/SonyPlayer.h"

#include <limits.h>

#include <iterator>
#include <vector>

namespace {

const char kSwitchReason[] = "parameter must be on or off";
const char kToggleReason[] = "parameter must be on, off, or toggle";
const char kPositionReason[] = "parameter must be random, top, bottom, next, prev, cur, or a number";
const char kParameterCountReason[] = "invalid number of parameters";
const char kTrackReason[] = "invalid track syntax";
const char kInsertPositionReason[] = "parameter must be random, top, bottom, next, or a number";
const char kDiscReason[] = "this DiscID not found in library";
const char kTrackRangeReason[] = "track number out of range for this disc";
const char kIntervalRangeReason[] = "must be between 1 and 1440 minutes";
const char kBusyReason[] = "a disc search or look-up is running";
const char kOutsideReason[] = "the name must stay inside its folder: ";

const int kMaxIntervalMinutes = 1440;
const int kMaxSlot = 300;
// Below every track and the album: refused by the keyword commands.
const int kBadTrack = -2;

// The words of a disc search's search type and queue option, by value.
const char* const kSearchTypes[] = { "empty", "emptyfull", "allslots" };
const char* const kQueueOptions[] = { "now", "queue" };

// The index of the word in the table, or -1.
int FindWord(const CString& word, const char* const* words, int count)
{
    for (int index = 0; index < count; ++index)
    {
        if (word == words[index])
            return index;
    }
    return -1;
}

void Trim(CString& text)
{
    text.TrimLeft();
    text.TrimRight();
}

// "all" (0) or a number; FALSE for anything else.
BOOL ReadAllOrNumber(const CString& text, int& value)
{
    if (text == "all")
    {
        value = 0;
        return TRUE;
    }
    return ReadNumber(text, value);
}

// Play-list file commands record their failures in the list's error holder
// without a message box, for the reply to quote.
class CQuietErrors
{
public:
    explicit CQuietErrors(CError& error) : m_error(error), m_messageBox(error.m_messageBox)
    {
        m_error.m_messageBox = FALSE;
        m_error.m_text.Empty();
    }
    ~CQuietErrors() { m_error.m_messageBox = m_messageBox; }

private:
    CError& m_error;
    BOOL m_messageBox;
};

// A file that opens as a database holding the library's album table.
BOOL IsLibraryFile(const char* path)
{
    HRESULT com = CoInitialize(nullptr);
    BOOL library = FALSE;
    try
    {
        ODBDataSource source;
        source.Open(ZYM_JET_PROVIDER_PROGID, path);
        ODBSession session;
        session.Open(source);
        if (IRowset* albums = session.OpenTable("Albums", nullptr))
        {
            albums->Release();
            library = TRUE;
        }
    }
    catch (const _com_error&)
    {
        // Not a database, or one without the table: not a library.
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return library;
}

} // namespace

// Words compared byte for byte after lower-casing; the first equal one runs.
const CDocCommands::Row CDocCommands::kCommands[] = {
    { "playlist_play", &CDocCommands::Play, nullptr },
    { "playlist_stop", &CDocCommands::Stop, nullptr },
    { "playlist_pause", &CDocCommands::Pause, nullptr },
    { "playlist_prev", &CDocCommands::Previous, nullptr },
    { "playlist_next", &CDocCommands::Next, nullptr },
    { "playlist_optimize", &CDocCommands::Optimize, nullptr },
    { "playlist_alternate", &CDocCommands::Alternate, nullptr },
    { "playlist_shuffle", &CDocCommands::Shuffle, nullptr },
    { "playlist_preview", &CDocCommands::Preview, kToggleReason },
    { "playlist_loop", &CDocCommands::Loop, kToggleReason },
    { "playlist_mode", &CDocCommands::Mode, "parameter must be random or manual" },
    { "playlist_getpointer", &CDocCommands::GetPointer, nullptr },
    { "playlist_pointer", &CDocCommands::SetPointer, "parameter must be random, top, bottom, next, prev, or a number" },
    { "playlist_clear", &CDocCommands::Clear, nullptr },
    { "playlist_size", &CDocCommands::PlaylistSize, nullptr },
    { "playlist_insert", &CDocCommands::Insert, nullptr },
    { "playlist_delete", &CDocCommands::Delete, kPositionReason },
    { "playlist_explode", &CDocCommands::Explode, kPositionReason },
    { "playlist_condense", &CDocCommands::Condense, kPositionReason },
    { "playlist_getitem", &CDocCommands::GetItem, "bad parameter" },
    { "playlist_getfilename", &CDocCommands::GetFileName, nullptr },
    { "playlist_delete_matching", &CDocCommands::DeleteMatching, kParameterCountReason },
    { "playlist_load", &CDocCommands::LoadPlaylist, nullptr },
    { "playlist_save", &CDocCommands::SavePlaylist, nullptr },
    { "search_mode", &CDocCommands::SearchMode, "parameter must be disc or track" },
    { "search_clear", &CDocCommands::SearchClear, nullptr },
    { "search", &CDocCommands::RunSearch, nullptr },
    { "searchlist_getitem", &CDocCommands::GetSearchItem, "parameter must be a number" },
    { "searchlist_size", &CDocCommands::SearchListSize, nullptr },
    { "searchlist_load", &CDocCommands::LoadSearchList, nullptr },
    { "searchlist_save", &CDocCommands::SaveSearchList, nullptr },
    { "searchlist_copytoplaylist", &CDocCommands::CopyToPlaylist, nullptr },
    { "library_neverplaycurrenttrack", &CDocCommands::NeverPlayCurrentTrack, nullptr },
    { "library_addkeyword", &CDocCommands::AddKeyword, nullptr },
    { "library_removekeyword", &CDocCommands::RemoveKeyword, nullptr },
    { "library_load", &CDocCommands::LibraryLoad, nullptr },
    { "library_save", &CDocCommands::LibrarySave, nullptr },
    { "library_save_all", &CDocCommands::LibrarySaveAll, nullptr },
    { "library_autosave", &CDocCommands::AutoSave, kSwitchReason },
    { "library_autosave_interval", &CDocCommands::AutoSaveInterval, "parameter must be a number" },
    { "library_lookup_queued", &CDocCommands::LookUpQueued, nullptr },
    { "library_discsearch", &CDocCommands::DiscSearch, kParameterCountReason },
    { "mapfile_load", &CDocCommands::LoadMapFile, "Error loading map file" },
    { "shell", &CDocCommands::Shell, "too many parameters" },
    { "getstate", &CDocCommands::GetState, nullptr },
    { "echo", &CDocCommands::Echo, nullptr },
    { "sleep", &CDocCommands::Sleep, nullptr },
    { "awaken", &CDocCommands::Awaken, nullptr },
    { "sleepawakentoggle", &CDocCommands::SleepAwakenToggle, nullptr },
    { "exit", &CDocCommands::Exit, nullptr },
    { "vol+", &CDocCommands::VolumeUp, nullptr },
    { "vol-", &CDocCommands::VolumeDown, nullptr },
    { "mute", &CDocCommands::Mute, kToggleReason },
    { "debug", &CDocCommands::Debug, kSwitchReason },
    { "notify_playing_item", &CDocCommands::NotifyItem, kSwitchReason },
    { "notify_playing_timecode", &CDocCommands::NotifyTime, kSwitchReason },
    { "list_players", &CDocCommands::ListPlayers, nullptr },
};

CString FormatListSize(int count, int seconds)
{
    CString text;
    text.Format("%d,%d:%02d", count, seconds / 60, seconds % 60);
    return text;
}

void CDocCommands::Execute(const CString& text)
{
    CommandText command = SplitCommand(text);
    for (const Row& row : kCommands)
    {
        if (command.word == row.word)
        {
            m_row = &row;
            (this->*row.run)(command.argument);
            return;
        }
    }
    m_doc.FireEvent("error[unknown command - " + text + "]");
}

void CDocCommands::Fail(const char* reason)
{
    m_doc.FireEvent(CString("error[") + m_row->word + " - " + reason + "]");
}

void CDocCommands::Reply(const char* name, const CString& value)
{
    m_doc.FireEvent(CString(name) + "[" + value + "]");
}

BOOL CDocCommands::ReadSwitch(const CString& argument, BOOL& flag, BOOL toggle)
{
    if (argument == "on")
        flag = TRUE;
    else if (argument == "off")
        flag = FALSE;
    else if (toggle && argument == "toggle")
        flag = !flag;
    else
    {
        Fail(m_row->reason);
        return FALSE;
    }
    return TRUE;
}

BOOL CDocCommands::ReadPosition(CPlayList& list, const CString& argument, int& position)
{
    if (list.ParsePosition(argument, position))
        return TRUE;
    Fail(m_row->reason);
    return FALSE;
}

void CDocCommands::Play(const CString&)
{
    m_doc.OnPlaylistPlay();
}

void CDocCommands::Stop(const CString&)
{
    m_doc.OnPlaylistStop();
}

void CDocCommands::Pause(const CString&)
{
    if (m_doc.IsSleeping())
        m_doc.WakeUp();
    CPlayList& list = m_doc.GetCurrentPlayList();
    if (list.IsPaused())
        list.SetPlaying();
    else
        list.SetPaused();
}

void CDocCommands::Previous(const CString&)
{
    m_doc.GetCurrentPlayList().Previous();
}

void CDocCommands::Next(const CString&)
{
    m_doc.GetCurrentPlayList().Next();
}

void CDocCommands::Optimize(const CString&)
{
    m_doc.GetCurrentPlayList().Optimize();
}

void CDocCommands::Alternate(const CString&)
{
    m_doc.GetCurrentPlayList().Alternate();
}

void CDocCommands::Shuffle(const CString&)
{
    m_doc.GetCurrentPlayList().Shuffle();
}

void CDocCommands::Preview(const CString& argument)
{
    if (ReadSwitch(argument, m_doc.GetSwitches().preview, TRUE))
        m_doc.GetPlayerControl().SetPreview(m_doc.GetSwitches().preview);
}

void CDocCommands::Loop(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    BOOL loop = list.GetLoop();
    if (ReadSwitch(argument, loop, TRUE))
        list.SetLoop(loop != FALSE);
}

void CDocCommands::Mode(const CString& argument)
{
    if (argument == "random")
    {
        m_doc.GetSwitches().randomFill = TRUE;
        m_doc.BuildPickList();
        m_doc.RunTick();
    }
    else if (argument == "manual")
        m_doc.GetSwitches().randomFill = FALSE;
    else
        Fail(m_row->reason);
}

void CDocCommands::GetPointer(const CString&)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    CString value;
    value.Format("%d", list.GetCount() == 0 ? 0 : list.GetPointer() + 1);
    Reply("playlist_pointer", value);
}

void CDocCommands::SetPointer(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    int position = 0;
    if (ReadPosition(list, argument, position))
        list.SetPointer(position);
}

void CDocCommands::Clear(const CString&)
{
    m_doc.GetCurrentPlayList().Clear();
}

void CDocCommands::PlaylistSize(const CString&)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    Reply("playlist_size", FormatListSize(list.GetCount(), list.GetTotalTime()));
}

// The track is read before the position, so that a text wrong in both
// answers the track error.
void CDocCommands::Insert(const CString& argument)
{
    std::vector<CString> parameters;
    if (!SplitParameters(argument, 2, parameters))
        return Fail(kParameterCountReason);
    int track = 0;
    if (!ReadNumber(parameters[2], track))
        return Fail(kTrackReason);
    CPlayList& list = m_doc.GetCurrentPlayList();
    int count = list.GetCount();
    const CString& word = parameters[0];
    int index = 0;
    if (word == "random")
        index = MsRand() % (count + 1);
    else if (word == "top")
        index = 0;
    else if (word == "bottom")
        index = count;
    else if (word == "next")
        index = list.GetPointer() + 1;
    else if (ReadNumber(word, index))
        index = index == INT_MIN ? INT_MIN : index - 1;
    else
        return Fail(kInsertPositionReason);
    index = index <= 0 || count == 0 ? 0 : (index > count ? count : index);

    CString id = parameters[1];
    Trim(id);
    AlbumRecord album;
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    int albumIndex = library.FindAlbumIndex(id);
    if (albumIndex < 0 || !library.GetAlbumAt(albumIndex, album))
        return Fail(kDiscReason);
    // A negative track other than the whole disc would leave an index below -1.
    if (track < 0 || track > album.GetTrackCount())
        return Fail(kTrackRangeReason);
    list.InsertItem(CLibItem(album.GetIdText(), track - 1), index);
}

void CDocCommands::Delete(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    int position = 0;
    if (ReadPosition(list, argument, position))
        list.RemoveAt(position);
}

void CDocCommands::Explode(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    int position = 0;
    if (ReadPosition(list, argument, position))
        list.Explode(position, CLibItem());
}

void CDocCommands::Condense(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    int position = 0;
    if (ReadPosition(list, argument, position))
        list.Condense(position);
}

// The fields of an item reply; eight for the search list, nine with the
// location for the play list. Nothing when the album is not in the library.
BOOL CDocCommands::FormatItem(CPlayList& list, int position, int fields, CString& reply)
{
    CLibItem item = list.GetItem(position);
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album;
    int albumIndex = library.FindAlbumIndex(item.GetId());
    if (albumIndex < 0 || !library.GetAlbumAt(albumIndex, album))
        return FALSE;
    int track = item.GetTrack();
    int seconds = album.GetPlayTime(track);
    CString values[9];
    values[0].Format("%d", position + 1);
    values[1] = album.GetTitle(-1);
    values[2] = album.GetArtist(track);
    values[3] = album.GetTitle(track);
    values[4].Format("%2d:%02d", seconds / 60, seconds % 60);
    values[5] = album.GetImagePath(track, m_doc.GetOptions().m_page9.m_imageDirectory);
    values[6] = album.GetIdText();
    values[7].Format("%d", track + 1);
    values[8] = album.GetLocationText(track);
    for (int field = 0; field < fields; ++field)
        reply += CString(field ? ",\"" : "\"") + values[field] + "\"";
    return TRUE;
}

void CDocCommands::GetItem(const CString& argument)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    int position = 0;
    CString reply;
    if (ReadPosition(list, argument, position) && list.GetCount() > 0 && FormatItem(list, position, 9, reply))
        Reply("playlist_item", reply);
}

void CDocCommands::GetSearchItem(const CString& argument)
{
    CPlayList& list = m_doc.GetSearchList();
    int position = 0;
    CString reply;
    if (ReadPosition(list, argument, position) && list.GetCount() > 0 && FormatItem(list, position, 8, reply))
        Reply("searchlist_item", reply);
}

void CDocCommands::GetFileName(const CString&)
{
    Reply("playlist_filename", m_doc.GetCurrentPlayList().GetFileName());
}

void CDocCommands::DeleteMatching(const CString& argument)
{
    std::vector<CString> parameters;
    if (!SplitParameters(argument, 1, parameters))
        return Fail(kParameterCountReason);
    CString id = parameters[0];
    Trim(id);
    id.MakeUpper();
    int track = 0;
    BOOL all = parameters[1] == "all";
    if (!all && !ReadNumber(parameters[1], track))
        return Fail("track parameter must be all or a number");
    m_doc.GetCurrentPlayList().RemoveMatching(CLibItem(id, track - 1), all != FALSE);
}

// Resolved as the menu's play-list files are.
CString CDocCommands::PlaylistPath(const CString& name)
{
    return m_doc.GetCommandTargets().playlistFiles.GetPlaylistPath(name);
}

void CDocCommands::LoadInto(CPlayList& list, const CString& name)
{
    CQuietErrors quiet(list.GetError());
    if (!list.LoadFromFile(PlaylistPath(name), list.GetCount()))
        m_doc.FireEvent("error[" + list.GetError().m_text + "]");
}

// A named list is saved in the play-list folder, and an existing file is
// replaced only when it is a play list, so that a remote name cannot
// overwrite the library or any other file.
void CDocCommands::SaveFrom(CPlayList& list, const CString& name)
{
    CQuietErrors quiet(list.GetError());
    CString path = list.GetFileName();
    if (!name.IsEmpty() && !PlaceInFolder(m_doc.GetCommandTargets().playlistFiles.GetPlaylistFolder(), name, path))
        return Fail(kOutsideReason + name);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
    {
        CPlayList existing(m_doc.GetMusicLibrary());
        existing.GetError().m_messageBox = FALSE;
        if (!existing.LoadFromFile(path, 0))
            return m_doc.FireEvent("error[" + existing.GetError().m_text + "]");
    }
    if (!list.SaveToFile(path))
        m_doc.FireEvent("error[" + list.GetError().m_text + "]");
}

void CDocCommands::LoadPlaylist(const CString& argument)
{
    LoadInto(m_doc.GetCurrentPlayList(), argument);
}

void CDocCommands::SavePlaylist(const CString& argument)
{
    SaveFrom(m_doc.GetCurrentPlayList(), argument);
}

void CDocCommands::LoadSearchList(const CString& argument)
{
    m_doc.GetSearchList().Clear();
    LoadInto(m_doc.GetSearchList(), argument);
}

void CDocCommands::SaveSearchList(const CString& argument)
{
    SaveFrom(m_doc.GetSearchList(), argument);
}

// Disc id or "cur", track or "cur" (0 the album), keyword. A track outside
// the album changes nothing.
void CDocCommands::ChangeKeyword(const CString& argument, BOOL add)
{
    std::vector<CString> parameters;
    if (!SplitParameters(argument, 2, parameters))
        return Fail(kParameterCountReason);
    for (CString& parameter : parameters)
        Trim(parameter);
    CLibItem current = m_doc.GetCurrentPlayList().GetCurrentItem();
    CString id = parameters[0] == "cur" ? current.GetId() : parameters[0];
    int track = current.GetTrack();
    if (parameters[1] != "cur")
    {
        if (!ReadNumber(parameters[1], track))
            return Fail(kTrackReason);
        track = track < 0 ? kBadTrack : track - 1;
    }
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album;
    int albumIndex = library.FindAlbumIndex(id);
    if (albumIndex < 0 || !library.GetAlbumAt(albumIndex, album) || track < kAlbumIndex || track >= album.GetTrackCount())
        return;
    CMasterKeyword& keywords = library.GetMasterKeywords();
    int keyword = add ? keywords.GetOrAddKeyword(parameters[2]) : keywords.FindKeyword(parameters[2]);
    if (keyword < 0)
        return;
    BOOL changed = add ? album.AddKeyword(track, keyword) : album.RemoveKeyword(track, keyword);
    if (!changed)
        return;
    library.UpdateKeywordTexts(album);
    library.StoreAlbum(album);
    library.SetModified(true);
}

// The entry at the play list's pointer stands for the one playing.
void CDocCommands::NeverPlayCurrentTrack(const CString&)
{
    CLibItem current = m_doc.GetCurrentPlayList().GetCurrentItem();
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album;
    int albumIndex = library.FindAlbumIndex(current.GetId());
    if (albumIndex < 0 || current.GetTrack() < 0 || !library.GetAlbumAt(albumIndex, album) ||
        !album.SetNeverPlay(current.GetTrack(), true))
        return;
    library.StoreAlbum(album);
    library.SetModified(true);
}

void CDocCommands::AddKeyword(const CString& argument)
{
    ChangeKeyword(argument, TRUE);
}

void CDocCommands::RemoveKeyword(const CString& argument)
{
    ChangeKeyword(argument, FALSE);
}

// A name is taken in the folder of the library in use; FALSE after
// answering the refusal of one that would leave it.
BOOL CDocCommands::ReadLibraryPath(const CString& name, CString& path)
{
    path.Empty();
    if (name.IsEmpty())
        return TRUE;
    CString folder = FolderOf(m_doc.GetMusicLibrary().GetLibraryPath());
    if (PlaceInFolder(folder.IsEmpty() ? m_doc.GetProgramFolder() : folder, name, path))
        return TRUE;
    Fail(kOutsideReason + name);
    return FALSE;
}

void CDocCommands::UseLibraryPath(const CString& path)
{
    if (path.IsEmpty())
        return;
    m_doc.GetOptions().m_page9.m_newDbPath = path;
    m_doc.GetMusicLibrary().SetLibraryPath(path);
}

void CDocCommands::LibraryLoad(const CString& argument)
{
    CString path;
    if (!ReadLibraryPath(argument, path))
        return;
    UseLibraryPath(path);
    CPlayList& list = m_doc.GetCurrentPlayList();
    list.SetStopped();
    list.Clear();
    m_doc.GetMusicLibrary().StartLoad();
}

// Saving all rewrites the named file: an existing file that is not a library
// stays as it was, and the library keeps its path. A file that does not
// exist is refused, since making one asks the user in a box and a remote
// user is not at the screen.
void CDocCommands::LibrarySaveAll(const CString& argument)
{
    CString path;
    if (!ReadLibraryPath(argument, path))
        return;
    if (!path.IsEmpty() && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return Fail(path + " doesn't exist");
    if (!path.IsEmpty() && !IsLibraryFile(path))
        return Fail(path + " is not a library file");
    UseLibraryPath(path);
    m_doc.GetMusicLibrary().MarkAllChanged();
    m_doc.SaveLibrary();
}

// The look-up counts as a running search; it never starts inside another.
void CDocCommands::LookUpQueued(const CString&)
{
    if (m_doc.IsDiscSearchRunning())
        return Fail(kBusyReason);
    CDiscLookups(m_doc).LookUpQueuedDiscs();
}

// File, parameters and folder, missing ones empty, go to the shell as given
// once the file passes as a document or a web link.
void CDocCommands::Shell(const CString& argument)
{
    std::vector<CString> parameters;
    int commas = 0;
    while (commas < 3 && !SplitParameters(argument, commas, parameters))
        ++commas;
    if (commas == 3)
        return Fail(m_row->reason);
    parameters.resize(3);
    CString refusal = ShellRefusal(parameters[0], parameters[1], parameters[2]);
    if (!refusal.IsEmpty())
        return Fail("refused " + parameters[0] + ": " + refusal);
    if (!OpenLink(parameters[0], parameters[1], parameters[2]))
        Fail("unable to open " + parameters[0]);
}

// A remote user sees no box: the reader's error is the reply.
void CDocCommands::RunSearch(const CString& argument)
{
    CString error;
    if (!m_doc.Search(argument, &error))
        Fail(error);
}

// A name is taken in the folder of the map in use (the program's by default).
void CDocCommands::LoadMapFile(const CString& argument)
{
    CString folder = FolderOf(m_doc.GetOptions().m_page7.m_mapFile);
    CString path;
    if (argument.IsEmpty())
        return Fail(m_row->reason);
    if (!PlaceInFolder(folder.IsEmpty() ? m_doc.GetProgramFolder() : folder, argument, path))
        return Fail(kOutsideReason + argument);
    if (!m_doc.GetMapper().LoadMapFile(path))
        return Fail(m_row->reason);
    m_doc.GetOptions().m_page7.m_mapFile = path;
}

void CDocCommands::SearchMode(const CString& argument)
{
    if (argument != "disc" && argument != "track")
        return Fail(m_row->reason);
    m_doc.SetSearchMode(argument == "disc");
}

void CDocCommands::SearchClear(const CString&)
{
    m_doc.ClearSearchList();
}

void CDocCommands::SearchListSize(const CString&)
{
    CPlayList& list = m_doc.GetSearchList();
    Reply("searchlist_size", FormatListSize(list.GetCount(), list.GetTotalTime()));
}

void CDocCommands::CopyToPlaylist(const CString&)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    list.InsertList(m_doc.GetSearchList(), list.GetCount(), false);
}

void CDocCommands::LibrarySave(const CString&)
{
    m_doc.SaveLibrary();
}

void CDocCommands::AutoSave(const CString& argument)
{
    BOOL on = m_doc.GetOptions().m_page2.m_autoSaveDb;
    if (ReadSwitch(argument, on, FALSE))
        m_doc.GetOptions().m_page2.m_autoSaveDb = on;
}

void CDocCommands::AutoSaveInterval(const CString& argument)
{
    int minutes = 0;
    if (!ReadNumber(argument, minutes))
        return Fail(m_row->reason);
    if (minutes < 1 || minutes > kMaxIntervalMinutes)
        return Fail(kIntervalRangeReason);
    m_doc.GetOptions().m_page2.m_autoSaveInterval = minutes;
}

// Settings are stored one by one as they are read: a failing parameter keeps
// the earlier ones. A search or look-up already running is never disturbed.
void CDocCommands::DiscSearch(const CString& argument)
{
    if (m_doc.IsDiscSearchRunning())
        return Fail(kBusyReason);
    std::vector<CString> parameters;
    if (!SplitParameters(argument, 4, parameters))
        return Fail(kParameterCountReason);
    for (CString& parameter : parameters)
        Trim(parameter);
    DiscSearchSettings& settings = m_doc.GetSearchSettings();
    if (!ReadAllOrNumber(parameters[0], settings.playerFilter))
        return Fail("player parameter must be all, or a number");
    settings.useRange = parameters[1] != "all";
    if (settings.useRange && !ReadSlot(parameters[1], "starting", settings.firstSlot))
        return;
    if (settings.useRange && !ReadSlot(parameters[2], "stopping", settings.lastSlot))
        return;
    int type = FindWord(parameters[3], kSearchTypes, static_cast<int>(std::size(kSearchTypes)));
    if (type < 0)
        return Fail("search type must be empty,emptyfull,allslots");
    settings.mode = type;
    int queue = FindWord(parameters[4], kQueueOptions, static_cast<int>(std::size(kQueueOptions)));
    if (queue < 0)
        return Fail("queue option must be now or queue");
    // The option and the look-ups the search makes.
    m_doc.GetOptions().m_page1.m_useInternet = queue == 0;
    m_doc.GetCddbClient().m_bUseInternet = queue == 0;
    m_doc.SetDiscSearchRunning(TRUE);
    CDiscSearch(m_doc).SearchDiscs();
    m_doc.SetDiscSearchRunning(FALSE);
}

BOOL CDocCommands::ReadSlot(const CString& text, const char* which, int& slot)
{
    int value = 0;
    if (!ReadNumber(text, value))
    {
        Fail(CString(which) + " slot parameter must be all, or a number");
        return FALSE;
    }
    if (value < 1 || value > kMaxSlot)
    {
        Fail(CString(which) + " slot parameter must be between 1 and 300");
        return FALSE;
    }
    slot = value;
    return TRUE;
}

void CDocCommands::GetState(const CString&)
{
    if (m_doc.IsSleeping())
        Reply("state", "sleeping");
    else
        Reply("state", m_doc.GetCurrentPlayList().GetStateText());
}

void CDocCommands::Echo(const CString& argument)
{
    Reply("echo", argument);
}

void CDocCommands::Sleep(const CString&)
{
    m_doc.GoToSleep();
}

void CDocCommands::Awaken(const CString&)
{
    m_doc.WakeUp();
}

void CDocCommands::SleepAwakenToggle(const CString&)
{
    if (m_doc.IsSleeping())
        m_doc.WakeUp();
    else
        m_doc.GoToSleep();
}

void CDocCommands::Exit(const CString&)
{
    m_doc.PostExit();
}

void CDocCommands::VolumeUp(const CString&)
{
    m_doc.FireEvent("vol_up");
}

void CDocCommands::VolumeDown(const CString&)
{
    m_doc.FireEvent("vol_down");
}

// "on" clears the state first so that the step fires "mute_on".
void CDocCommands::Mute(const CString& argument)
{
    BOOL& muted = m_doc.GetSwitches().muted;
    if (argument == "on")
        muted = FALSE;
    else if (argument == "off")
        muted = TRUE;
    else if (argument != "toggle")
        return Fail(m_row->reason);
    m_doc.FireEvent(muted ? "mute_off" : "mute_on");
    muted = !muted;
}

void CDocCommands::Debug(const CString& argument)
{
    BOOL on = m_doc.IsDebugOn();
    if (ReadSwitch(argument, on, FALSE))
        m_doc.SetDebug(on);
}

void CDocCommands::NotifyItem(const CString& argument)
{
    if (ReadSwitch(argument, m_doc.GetSwitches().notifyPlayingItem, FALSE) && m_doc.GetSwitches().notifyPlayingItem)
        m_doc.GetCommandTargets().title.FirePlayingItem();
}

// Each changer by its description, capacity and the three digits that end
// its device name; then the MP3 player when there is one.
void CDocCommands::ListPlayers(const CString&)
{
    CSonyControl& control = m_doc.GetPlayerControl();
    int count = control.GetPlayerCount();
    for (int i = 0; i < count; ++i)
    {
        CSonyPlayer* player = control.GetPlayer(i);
        if (!player)
            continue;
        CString line;
        line.Format("player_info[cd%d,\"%s\",\"cd\",%d,%d%d%d]", i + 1, static_cast<const char*>(player->GetDescription()),
                    player->GetState().capacity, player->GetAddress().unit, player->GetAddress().busPort,
                    player->GetAddress().busId + 1);
        m_doc.FireEvent(line);
    }
    if (m_doc.GetMp3Player())
        m_doc.FireEvent("player_info[mp3,\"MPEG Audio Decoder\",\"mp3\",0,software]");
    m_doc.FireEvent("player_info[end,,]");
}

void CDocCommands::NotifyTime(const CString& argument)
{
    ReadSwitch(argument, m_doc.GetSwitches().notifyPlayingTime, FALSE);
}
