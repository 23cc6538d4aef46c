#include "core/doc/DocLibraryCommands.h"

#include "core/doc/DocCovers.h"
#include "core/doc/DocLyrics.h"
#include "core/doc/DocMemos.h"
#include "core/doc/DocResource.h"
#include "core/doc/PlaylistDocument.h"
#include "core/doc/ZymOptions.h"

#include "library/db/LibraryDatabase.h"
#include "library/paths/FilePath.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"
#include "library/web/HTMLLibrary.h"

#include <algorithm>

namespace {

const char kSampleTextLibrary[] = "sample.lib";
const char kSampleLibrary[] = "sample.mdb";
const char kUserLibrary[] = "user.mdb";
const char kLibraryTemplate[] = "template.mdb";
const char kLeaveSampleQuestion[] =
    "You will want to create a new library to add your discs to instead of the sample library you are using "
    "currently. Would you like ZYM to create one for you and allow you to continue?";
const char kUpgradeQuestion[] =
    "Your current music library is in an older ZYM format which lacks many features and will eventually become "
    "obsolete. Would you like to have ZYM convert this library to the new format (your old file will not be "
    "altered)?";

// Marks the converted file where ".mdb" alone would name the old one.
const char kConvertedSuffix[] = " (converted)";

// The path without its file's extension (a "." in a folder name is none).
CString StemOf(const CString& path)
{
    int dot = path.ReverseFind('.');
    if (dot < 0 || dot < path.ReverseFind('\\'))
        return path;
    return path.Left(dot);
}

// Where the conversion writes: the old path with ".mdb" for its extension, or
// the library's own path when the old file has no extension; never the old
// file itself, which the question promises to leave as it is.
CString ConvertedPathOf(const CString& oldPath, const CString& libraryPath)
{
    CString stem = StemOf(oldPath);
    CString path = stem == oldPath ? libraryPath : stem + ".mdb";
    if (path.CompareNoCase(oldPath) == 0)
        path = stem + kConvertedSuffix + ".mdb";
    return path;
}

} // namespace

CDocLibraryCommands::CDocLibraryCommands(CPlaylistDocument& doc) : m_doc(doc), m_audioFiles(doc)
{
}

// One confirmed track of an audio-file album; deleted after the questions,
// highest index first, so that no deletion moves another.
struct CDocLibraryCommands::TrackDeletion
{
    CString album;
    int track;
    bool operator<(const TrackDeletion& other) const
    {
        return album != other.album ? album < other.album : track > other.track;
    }
    bool operator==(const TrackDeletion& other) const { return album == other.album && track == other.track; }
};

BEGIN_MESSAGE_MAP(CDocLibraryCommands, CCmdTarget)
    ON_COMMAND(ID_LIBRARY_RELOAD, OnLibraryReload)
    ON_COMMAND(ID_LIBRARY_SAVE, OnLibrarySave)
    ON_COMMAND(ID_LIBRARY_SAVE_ALL, OnLibrarySaveAll)
    ON_COMMAND(ID_LIBRARY_COMPACT, OnLibraryCompact)
    ON_COMMAND(ID_LIBRARY_DELETE, OnLibraryDelete)
    ON_COMMAND(ID_LIBRARY_CDDB_INFO, OnLibraryCddbInfo)
    ON_COMMAND(ID_LIBRARY_WEB_PAGES, OnLibraryWebPages)
    ON_COMMAND(ID_LIBRARY_SELECT_ALL, OnLibrarySelectAll)
    ON_COMMAND(ID_LIBRARY_CREATE_AUDIO_ALBUM, OnCreateAudioFileAlbum)
    ON_COMMAND(ID_LIBRARY_ADD_AUDIO_FILE, OnAddAudioFileToAlbum)
    ON_COMMAND(ID_LIBRARY_GET_LYRICS, OnGetLyrics)
    ON_COMMAND(ID_LIBRARY_SUBMIT_LYRICS, OnSubmitLyrics)
    ON_COMMAND(ID_LIBRARY_GET_COVERS, OnGetCovers)
    ON_COMMAND(ID_COVER_GET, OnGetCovers)
    ON_COMMAND(ID_COVER_BROWSE, OnCoverBrowse)
    ON_COMMAND(ID_COVER_REMOVE, OnCoverRemove)
    ON_COMMAND(ID_MEMOS_UPLOAD_ALL, OnUploadAllMemos)
    ON_COMMAND(ID_MEMOS_UPLOAD_SELECTED, OnUploadSelectedMemos)
    ON_COMMAND_RANGE(ID_USER_BUTTON_FIRST, ID_USER_BUTTON_LAST, OnUserButton)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_SAVE, OnUpdateLibrarySave)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_GET_LYRICS, OnUpdateAlwaysOn)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_SUBMIT_LYRICS, OnUpdateAlwaysOn)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_GET_COVERS, OnUpdateAlwaysOn)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_WEB_PAGES, OnUpdateWebPages)
    ON_UPDATE_COMMAND_UI(ID_LIBRARY_ADD_AUDIO_FILE, OnUpdateAddAudioFile)
END_MESSAGE_MAP()

void CDocLibraryCommands::OnLibraryReload()
{
    m_doc.OnPlaylistStop();
    m_doc.GetCurrentPlayList().Clear();
    m_doc.GetMusicLibrary().StartLoad();
}

// A load leaves the library marked modified with no album to write, which
// a save does not clear: once nothing is left to write, nothing is unsaved.
void CDocLibraryCommands::OnLibrarySave()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    if (m_doc.SaveLibrary() && library.CountChanged() == 0)
        library.SetModified(false);
}

// Enabled while the library has unsaved changes. The changed flag is no
// guide: the next tick clears it once the views are told.
void CDocLibraryCommands::OnUpdateLibrarySave(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_doc.GetMusicLibrary().IsModified());
}

BOOL CDocLibraryCommands::SaveAll()
{
    m_doc.GetMusicLibrary().MarkAllChanged();
    return m_doc.SaveLibrary();
}

void CDocLibraryCommands::OnLibraryCompact()
{
    m_doc.GetLibraryDatabase().Compact();
}

void CDocLibraryCommands::OnLibraryWebPages()
{
    CHTMLLibrary pages;
    pages.MakeWebPages(m_doc.GetMusicLibrary());
}

void CDocLibraryCommands::OnLibraryDelete()
{
    CPlayList selection(m_doc.GetSelectionList());
    std::vector<TrackDeletion> tracks;
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    for (int index = selection.GetCount() - 1; index >= 0; --index)
    {
        CLibItem item = selection.GetItem(index);
        if (!AskDelete(item, tracks))
            break;
    }
    DeleteTracks(tracks);
    library.SetChanged(true);
    m_doc.UpdateViews(kViewHintAll);
}

BOOL CDocLibraryCommands::AskDelete(CLibItem& item, std::vector<TrackDeletion>& tracks)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album;
    if (!item.GetAlbumCopy(library, album))
        return TRUE;
    bool wholeAlbum = item.IsWholeAlbum();
    TrackDeletion track = { album.GetIdText(), item.GetTrack() };
    if (!wholeAlbum && (album.GetStoredPlayer() != kMp3Player || item.GetTrack() >= album.GetTrackCount() ||
                        std::find(tracks.begin(), tracks.end(), track) != tracks.end()))
        return TRUE;
    switch (AfxMessageBox("Delete " + album.GetTitle(item.GetTrack()) + "?", MB_YESNOCANCEL))
    {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        if (wholeAlbum)
        {
            library.SetChanged(false);
            library.DeleteAlbum(album);
        }
        else
        {
            tracks.push_back(track);
        }
        break;
    }
    return TRUE;
}

void CDocLibraryCommands::DeleteTracks(std::vector<TrackDeletion>& tracks)
{
    std::sort(tracks.begin(), tracks.end());
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    CLibraryLock lock(library);
    for (const TrackDeletion& track : tracks)
    {
        CLibItem item(track.album, track.track);
        AlbumRecord* album = item.GetAlbum(lock, library);
        if (!album || track.track >= album->GetTrackCount())
            continue;
        library.SetChanged(false);
        album->DeleteTrack(track.track);
        library.SetModified(true);
    }
}

void CDocLibraryCommands::OnLibraryCddbInfo()
{
    CPlayList& selection = m_doc.GetSelectionList();
    CLibItem item = selection.GetItem(0);
    AlbumRecord album;
    if (selection.GetCount() > 0 && item.GetAlbumCopy(m_doc.GetMusicLibrary(), album))
        m_doc.GetCddbClient().LookupWithControl(album, true);
}

void CDocLibraryCommands::OnLibrarySelectAll()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    CPlayList& selection = m_doc.GetSelectionList();
    CPlayList all(library);
    {
        CLibraryLock lock(library);
        for (int index = 0; AlbumRecord* album = library.GetAlbumPtr(lock, index); ++index)
        {
            if (!album->IsGone())
                all.AddItem(CLibItem(album->GetIdText(), kWholeAlbum));
        }
    }
    selection.Clear();
    selection.SetPointer(0);
    selection.SetLoop(false);
    selection.SetStopped();
    selection.InsertList(all, 0, false);
    m_doc.UpdateViews(kViewHintSelection);
}

void CDocLibraryCommands::OnCreateAudioFileAlbum()
{
    m_audioFiles.OnCreateAudioFileAlbum();
}

void CDocLibraryCommands::OnAddAudioFileToAlbum()
{
    m_audioFiles.OnAddAudioFileToAlbum();
}

void CDocLibraryCommands::OnGetLyrics()
{
    CDocLyrics(m_doc).OnLibraryGetLyrics();
}

void CDocLibraryCommands::OnSubmitLyrics()
{
    CDocLyrics(m_doc).OnLibrarySubmitLyrics();
}

void CDocLibraryCommands::OnGetCovers()
{
    CDocCovers(m_doc).OnGetCovers();
}

void CDocLibraryCommands::OnCoverBrowse()
{
    CDocCovers(m_doc).OnImageBrowse();
}

void CDocLibraryCommands::OnCoverRemove()
{
    CDocCovers(m_doc).OnImageRemove();
}

void CDocLibraryCommands::OnUploadAllMemos()
{
    CDocMemos(m_doc).OnUploadAllMemos();
}

void CDocLibraryCommands::OnUploadSelectedMemos()
{
    CDocMemos(m_doc).OnUploadSelectedMemos();
}

void CDocLibraryCommands::OnUserButton(UINT id)
{
    CString text;
    text.Format("user_button[%03d]", id - (ID_USER_BUTTON_FIRST - 1));
    m_doc.FireEvent(text);
}

void CDocLibraryCommands::OnUpdateAlwaysOn(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
}

// The web pages are made from a template that does not ship: the command stays off.
void CDocLibraryCommands::OnUpdateWebPages(CCmdUI* cmdUI)
{
    cmdUI->Enable(FALSE);
}

void CDocLibraryCommands::OnUpdateAddAudioFile(CCmdUI* cmdUI)
{
    m_audioFiles.OnUpdateAddAudioFileToAlbum(cmdUI);
}

BOOL CDocLibraryCommands::LeaveSampleLibrary()
{
    CZymOptions& options = m_doc.GetOptions();
    CString name = options.m_page9.m_newDbPath;
    if (name.Find(kSampleLibrary) < 0)
        return TRUE;
    if (AfxMessageBox(kLeaveSampleQuestion, MB_YESNO) != IDYES)
        return FALSE;
    name.Replace(kSampleLibrary, kUserLibrary);
    CFilePath path{ CDirPath(m_doc.GetProgramFolder()) };
    path.Append(static_cast<const char*>(name));
    CString templatePath = m_doc.GetProgramFolder() + kLibraryTemplate;
    if (GetFileAttributesA(path.GetFullPath()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileA(templatePath, path.GetFullPath(), TRUE))
    {
        AfxMessageBox("Error making copy of template file " + templatePath + " to " + path.GetFullPath());
        return FALSE;
    }
    options.m_page9.m_newDbPath = name;
    m_doc.GetMusicLibrary().SetLibraryPath(path.GetFullPath());
    options.SaveOptions();
    return TRUE;
}

void CDocLibraryCommands::OfferLibraryUpgrade()
{
    CZymOptions& options = m_doc.GetOptions();
    if (m_upgradeOffered || m_doc.IsLibraryLoading() || options.m_page2.m_libraryType != 0 ||
        options.m_page2.m_dbPath.Find(kSampleTextLibrary) >= 0)
        return;
    m_upgradeOffered = true;
    if (AfxMessageBox(kUpgradeQuestion, MB_YESNO) == IDYES)
        ConvertOldLibrary();
}

void CDocLibraryCommands::ConvertOldLibrary()
{
    CZymOptions& options = m_doc.GetOptions();
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    BOOL autoSave = options.m_page2.m_autoSaveDb;
    CString oldDatabasePath = options.m_page9.m_newDbPath;
    CString oldLibraryPath = library.GetLibraryPath();
    options.m_page2.m_autoSaveDb = 0;
    options.m_page2.m_libraryType = 1;
    CString path = ConvertedPathOf(options.m_page2.m_dbPath, oldLibraryPath);
    options.m_page9.m_newDbPath = path;
    library.SetLibraryPath(path);
    AfxMessageBox("ZYM will now save your library in the new format. This may take a while.");
    if (SaveAll())
    {
        AfxMessageBox("ZYM will now try to load the new library.");
        OnLibraryReload();
    }
    else
    {
        options.m_page9.m_newDbPath = oldDatabasePath;
        library.SetLibraryPath(oldLibraryPath);
        options.m_page2.m_libraryType = 0;
    }
    options.m_page2.m_autoSaveDb = autoSave;
}
