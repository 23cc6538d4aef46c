#include "core/doc/DocAudioFiles.h"

#include "core/doc/AddMP3Dlg.h"
#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"
#include "core/tasks/TaskMgr.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"

#include "analyze.h"
#include "library/paths/FilePath.h"

#include <stdlib.h>

namespace {

const char* const kTaggedExtensions[] = { "mpg", "mpeg", "mp3", "mpe", "mpeg3" };
// The first try asks for a clean stream; the second takes what it finds.
const unsigned kStrictSyncWindow = 0x10000;
const unsigned kStrictCoverage = 100;
const int kLatestShortYear = 14;   // 1..14 are this century's
const int kEarliestShortYear = 15; // 15..99 the last one's
const int kEarliestYear = 1800;    // not after it: no release date

// The analyser reads files only; a stream's address keeps its name as title.
bool IsUrl(const CString& path)
{
    return path.Find("://") >= 0;
}

// An address names its file after its last '/'.
CFileName FileNameOf(const CString& path)
{
    if (IsUrl(path))
        return CFileName(path.Mid(path.ReverseFind('/') + 1));
    CFilePath file;
    file.Append(static_cast<const char*>(path));
    return file.GetName();
}

bool HasTags(const CString& path)
{
    CString extension = FileNameOf(path).GetExtension().c_str();
    extension.MakeLower();
    for (const char* tagged : kTaggedExtensions)
    {
        if (extension == tagged)
            return true;
    }
    return false;
}


void AddNoteLine(CString& notes, const char* label, const char* text)
{
    if (*text)
        notes += CString(label) + text + "\r\n";
}

} // namespace

int TagYear(const char* text)
{
    int year = atoi(text);
    if (year >= kEarliestShortYear && year < 100)
        year += 1900;
    else if (year > 0 && year <= kLatestShortYear)
        year += 2000;
    return year > kEarliestYear ? year : 0;
}

void SetTrackLength(TrackRecord& track, unsigned milliseconds)
{
    unsigned long long ms = milliseconds;
    track.m_minutes = static_cast<int>(ms / 60000);
    track.m_seconds = static_cast<int>(ms / 1000 % 60);
    track.m_frames = static_cast<int>(ms * kFramesPerSecond / 1000 % kFramesPerSecond);
    if (ms == 0)
        track.m_frames = 1;
}

BOOL CDocAudioFiles::AddAudioFiles(CLibItem album, CString path, int position)
{
    path.MakeLower();
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    int player = kNoPlayer;
    {
        CLibraryLock lock(library);
        AlbumRecord* stored = album.GetAlbum(lock, library);
        if (!stored)
            return FALSE;
        player = stored->GetStoredPlayer();
    }
    // The box waits for the user with the library free.
    if (player != kMp3Player)
    {
        AfxMessageBox("You can only drop audio files into an audio file album, not a CD");
        return FALSE;
    }
    ANALYZER_INFO info = {};
    if (!IsUrl(path) && HasTags(path))
        Analyse(path, info);
    TrackRecord track = MakeTrack(path, info);
    // The analyser took its time with the lock free: the album is found again.
    CLibraryLock lock(library);
    AlbumRecord* stored = album.GetAlbum(lock, library);
    if (!stored)
        return FALSE;
    int count = stored->GetTrackCount();
    stored->InsertTrack(track, position < 0 ? 0 : position > count ? count : position);
    library.SetModified(true);
    return TRUE;
}

// Without the analyser (its library missing) files come without tags.
void CDocAudioFiles::Analyse(const CString& path, ANALYZER_INFO& info)
{
    ANALYZER* analyzer = m_doc.GetAnalyzer();
    if (!analyzer)
        return;
    int result = analyzer_process_file(analyzer, path, &info, 0, kStrictSyncWindow, kStrictCoverage);
    if (result != ANALYZER_OK)
        result = analyzer_process_file(analyzer, path, &info, 0, 0, 0);
    if (result == ANALYZER_OK)
        return;
    CString text;
    text.Format("XA Error %d", result);
    AfxMessageBox(text);
}

TrackRecord CDocAudioFiles::MakeTrack(const CString& path, const ANALYZER_INFO& info)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    TrackRecord track(library.GetRatingCount(), library.GetRatingNames());
    track.m_soundFile = path;
    track.m_title = info.title;
    if (track.m_title.IsEmpty())
    {
        track.m_title = FileNameOf(path).GetBaseName().c_str();
        track.m_title.Replace('_', ' ');
    }
    track.m_artist = info.artist;
    AddNoteLine(track.m_notes, "Album: ", info.album);
    AddNoteLine(track.m_notes, "Year: ", info.year);
    AddNoteLine(track.m_notes, "", info.comment);
    if (int year = TagYear(info.year))
        track.m_released = COleDateTime(year, 1, 1, 0, 0, 0);
    track.m_added = COleDateTime::GetCurrentTime();
    SetTrackLength(track, info.length);
    return track;
}

void CDocAudioFiles::OnCreateAudioFileAlbum()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album = library.NewAlbum();
    album.SetTrackCount(0);
    album.SetTitle(kAlbumIndex, "Audio File Album");
    album.GetRecord(kAlbumIndex)->m_added = COleDateTime::GetCurrentTime();
    album.SetIdText(library.MakeUniqueId());
    album.SetPlayer(kMp3Player);
    album.SetSlot(0);
    album.SetPresent(true);
    library.StoreAlbum(album);
    CPlayList& selection = m_doc.GetSelectionList();
    selection.Clear();
    selection.AddItem(CLibItem(album.GetIdText(), kWholeAlbum));
    m_doc.UpdateViews(kViewHintLibraryRows);
}

void CDocAudioFiles::OnAddAudioFileToAlbum()
{
    CAddMP3Dlg dialog(m_doc);
    dialog.m_initialFolder = m_doc.GetProgramFolder();
    dialog.DoModal();
}

void CDocAudioFiles::OnUpdateAddAudioFileToAlbum(CCmdUI* cmdUI)
{
    CPlayList& selection = m_doc.GetSelectionList();
    AlbumRecord album;
    CLibItem item = selection.GetItem(0);
    cmdUI->Enable(selection.GetCount() == 1 && item.GetAlbumCopy(m_doc.GetMusicLibrary(), album) &&
                  album.GetStoredPlayer() == kMp3Player);
}
