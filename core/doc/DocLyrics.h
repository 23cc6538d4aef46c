// The lyrics commands of the document: the selected tracks' lyrics are looked
// up on the lyrics site, or the user's lyrics are sent to it. Each request runs
// on an HTTP thread while the calling (GUI) thread pumps its messages; an
// empty or failed answer counts as a page without the site's markers.
#pragma once

#include "core/doc/WebHosts.h"
#include "devices/util/TaskCancelFlag.h"

#include <afx.h>

class CLibItem;
class CLibraryDocument;

class CDocLyrics
{
public:
    explicit CDocLyrics(CLibraryDocument& doc) : m_doc(doc), m_hosts(WebHosts::Load()) {}

    // Task "Looking Up Lyrics": lyrics for the selected tracks without any.
    void OnLibraryGetLyrics();
    // Task "Submitting Lyrics": the selected tracks' lyrics of over 100
    // characters that the site does not have yet.
    void OnLibrarySubmitLyrics();

    // The site's artist search page, lower-cased; empty on failure.
    CString LookUpArtist(const CString& artist);
    // The song's lyrics from the site, empty when it has none.
    CString LookUpLyrics(const CString& artist, const CString& title);
    // False when the request failed or the site refused the lyrics.
    BOOL SubmitLyrics(const CString& album, const CString& artist, const CString& title,
                      const CString& lyrics);

private:
    void GetLyricsForEntry(CLibItem& item);
    void SubmitLyricsForEntry(CLibItem& item);
    // Whether the track's artist page lets the submission go: the site knows
    // no such artist, or does not list the title.
    bool SiteLacksSong(const CString& artist, const CString& title);
    void StoreLyrics(CLibItem& item, int track, const CString& lyrics);
    CString Request(const CString& object, const CString& postData);
    void SetStatus(const CString& text);
    bool IsCancelled() const { return m_cancel != 0; }

    CLibraryDocument& m_doc;
    WebHosts m_hosts;
    int m_task = 0;
    TaskCancelFlag m_cancel{0};
};
