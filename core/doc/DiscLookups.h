// Disc-database look-ups of albums the library has already: the selected ones
// and those queued by a search that ran without the internet ("*** Queued"
// titles).
#pragma once

#include "library/playlist/PlayList.h"

class CCDDBClient;
class CLibraryDocument;

// Identifies the album through the disc database. Without "Use Internet" an
// untitled album is queued for later. A look-up that found nothing (no
// server error) marks a queued album "Not Found in CDDB" and counts as done;
// true when done. The date added is set when it was not.
bool LookupAlbumInfo(CCDDBClient& client, AlbumRecord& album);

class CDiscLookups
{
public:
    explicit CDiscLookups(CLibraryDocument& doc) : m_doc(doc) {}

    // Task "Looking Up Selected Discs" over the list's albums, each stored
    // back after its look-up; the document counts it as a running search.
    void LookUpSelectedDiscs(const CPlayList& albums);
    // The same for every album whose title holds "*** Queued", between the
    // events "library_queuedlookup_start" and "library_queuedlookup_end".
    void LookUpQueuedDiscs();

private:
    CLibraryDocument& m_doc;
};
