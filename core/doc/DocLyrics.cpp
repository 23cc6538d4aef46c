#include "core/doc/DocLyrics.h"

#include "core/doc/PageScan.h"
#include "core/doc/SelectionWalk.h"
#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"
#include "core/tasks/TaskMgr.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"

namespace {

const char kAgent[] = "Halvane ZYM";
const char kSubmitObject[] = "/zym/add.php3";
// A whole disc tries every track when the artist search did not rule its
// artist out.
const char kTryAll[] = "tryall";
const char kNothingFound[] = "nothing found";
const char kNoArtist[] = "error: 0 artists found";
const char kSiteError[] = "error:";
const char kArtistsFound[] = "artists found";

CString Lower(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    return lower;
}

CString SearchKey(const CString& text)
{
    return CCDDBClient::EscapeUrl(LyricsSearchKey(text));
}

bool Holds(const CString& page, const CString& text)
{
    return !text.IsEmpty() && page.Find(text) >= 0;
}

// The tracks an entry covers: all for a whole disc, else its one track.
void CoveredTracks(const CLibItem& item, const AlbumRecord& album, int& first, int& last)
{
    first = item.IsWholeAlbum() ? 0 : item.GetTrack();
    last = item.IsWholeAlbum() ? album.GetTrackCount() - 1 : item.GetTrack();
    if (last >= album.GetTrackCount())
        last = first - 1;
}

} // namespace

void CDocLyrics::OnLibraryGetLyrics()
{
    m_hosts = WebHosts::Load();
    WalkSelection(m_doc, "Looking Up Lyrics", m_cancel, [this](CLibItem& item, int task) {
        m_task = task;
        GetLyricsForEntry(item);
    });
}

void CDocLyrics::OnLibrarySubmitLyrics()
{
    m_hosts = WebHosts::Load();
    WalkSelection(m_doc, "Submitting Lyrics", m_cancel, [this](CLibItem& item, int task) {
        m_task = task;
        SubmitLyricsForEntry(item);
    });
}

void CDocLyrics::GetLyricsForEntry(CLibItem& item)
{
    AlbumRecord album;
    if (!CopyEntryAlbum(m_doc, item, album))
        return;
    CString compare, page;
    if (item.IsWholeAlbum())
    {
        CString albumArtist = album.GetArtist(kAlbumIndex);
        compare = Lower(albumArtist);
        page = compare.IsEmpty() ? CString() : LookUpArtist(albumArtist);
        if (page.Find(kNothingFound) >= 0)
        {
            page.Empty();
            SetStatus("No songs for " + albumArtist);
        }
        else
            compare = kTryAll;
    }
    int first, last;
    CoveredTracks(item, album, first, last);
    for (int t = first; t <= last && !IsCancelled(); ++t)
    {
        if (album.HasLyrics(t))
            continue;
        CString artist = Lower(album.GetArtist(t));
        CString title = Lower(album.GetTitle(t));
        if (artist.IsEmpty() || title.IsEmpty())
            continue;
        if (artist == compare && !Holds(page, title))
            continue;
        CString lyrics = LookUpLyrics(artist, title);
        if (!lyrics.IsEmpty() && !IsCancelled())
            StoreLyrics(item, t, lyrics);
    }
}

void CDocLyrics::SubmitLyricsForEntry(CLibItem& item)
{
    AlbumRecord album;
    if (!CopyEntryAlbum(m_doc, item, album))
        return;
    CString compare, page;
    if (item.IsWholeAlbum() && album.HasLongLyrics(kAlbumIndex))
    {
        compare = Lower(album.GetArtist(kAlbumIndex));
        page = LookUpArtist(album.GetArtist(kAlbumIndex));
        if (page.Find(kNoArtist) >= 0)
            page.Empty();
        else if (page.Find(kSiteError) >= 0 && page.Find(kArtistsFound) >= 0)
            compare = kTryAll;
    }
    int first, last;
    CoveredTracks(item, album, first, last);
    for (int t = first; t <= last && !IsCancelled(); ++t)
    {
        if (!album.HasLongLyrics(t))
            continue;
        CString artist = Lower(album.GetArtist(t));
        CString title = Lower(album.GetTitle(t));
        if (artist.IsEmpty() || title.IsEmpty())
            continue;
        bool send = artist == compare ? !Holds(page, title) : SiteLacksSong(artist, title);
        if (send)
            SubmitLyrics(album.GetTitle(kAlbumIndex), artist, title, album.GetLyrics(t));
    }
}

bool CDocLyrics::SiteLacksSong(const CString& artist, const CString& title)
{
    CString page = LookUpArtist(artist);
    return page.Find(kSiteError) >= 0 || !Holds(page, title);
}

CString CDocLyrics::LookUpArtist(const CString& artist)
{
    SetStatus("Artist Lookup for " + artist);
    return Lower(Request("/search.html?band=" + SearchKey(artist), CString()));
}

CString CDocLyrics::LookUpLyrics(const CString& artist, const CString& title)
{
    SetStatus("Lyrics Lookup for " + artist + " / " + title);
    CString answer = Request("/search.html?band=" + SearchKey(artist) + "&song=" + SearchKey(title), CString());
    CString object = LyricsTextObject(answer);
    if (object.IsEmpty())
    {
        CString results = LyricsResultObject(answer);
        if (results.IsEmpty() || IsCancelled())
            return CString();
        object = LyricsTextObject(Request(results, CString()));
    }
    LyricsPage page;
    if (object.IsEmpty() || IsCancelled() || !ParseLyricsPage(Request(object, CString()), page))
        return CString();
    return page.lyrics;
}

BOOL CDocLyrics::SubmitLyrics(const CString& album, const CString& artist, const CString& title,
                              const CString& lyrics)
{
    SetStatus("Lyrics submission for " + artist + " / " + title);
    CString body = "band=" + SearchKey(artist) + "&album=" + CCDDBClient::EscapeUrl(album) +
                   "&song=" + SearchKey(title) + "&data=" + CCDDBClient::EscapeUrl(lyrics);
    CString answer = Request(kSubmitObject, body);
    return !answer.IsEmpty() && answer.Find(kSiteError) < 0;
}

void CDocLyrics::StoreLyrics(CLibItem& item, int track, const CString& lyrics)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    {
        CLibraryLock lock(library);
        AlbumRecord* album = item.GetAlbum(lock, library);
        if (!album || !album->SetLyrics(track, lyrics))
            return;
        library.SetModified(true);
    }
    m_doc.UpdateViews(kViewHintSelection);
}

CString CDocLyrics::Request(const CString& object, const CString& postData)
{
    return m_doc.GetCddbClient().RunHttpRequest(m_hosts.lyrics, object, &m_doc.GetTaskMgr(), FALSE, FALSE,
                                                postData.IsEmpty() ? HTTP_VERB_GET : HTTP_VERB_POST,
                                                postData, "", kAgent);
}

void CDocLyrics::SetStatus(const CString& text)
{
    m_doc.GetTaskMgr().SetTaskStatus(m_task, text);
}
