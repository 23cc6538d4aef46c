#include "core/doc/DiscLookups.h"

#include "devices/util/MessageWaits.h"
#include "core/doc/LibraryDocument.h"

#include "core/automation/FireEvent.h"
#include "core/tasks/TaskMgr.h"
#include "library/records/MusicLibrary.h"
#include "library/web/CDDBClient.h"

namespace {

const char kQueued[] = "*** Queued";
const char kNotFound[] = "Not Found in CDDB";
const int kUnsetYear = 1899;

} // namespace

bool LookupAlbumInfo(CCDDBClient& client, AlbumRecord& album)
{
    bool wasQueued = album.GetTitle(kAlbumIndex).Find(kQueued) >= 0;
    bool done;
    if (!client.m_bUseInternet)
    {
        if (album.GetTitle(kAlbumIndex).IsEmpty())
        {
            CString title;
            title.Format("*** Queued P%d D%03d***", album.GetStoredPlayer() + 1, album.GetSlot());
            album.SetTitle(kAlbumIndex, title);
        }
        done = wasQueued;
    }
    else if (client.LookupDisc(album))
        done = true;
    else
    {
        // A server that failed leaves the album queued for another try.
        done = !client.m_bServerError;
        if (done && wasQueued)
            album.SetArtist(kAlbumIndex, kNotFound);
    }
    TrackRecord* record = album.GetRecord(kAlbumIndex);
    if (record && record->m_added.GetYear() <= kUnsetYear)
        record->m_added = COleDateTime::GetCurrentTime();
    return done;
}

void CDiscLookups::LookUpSelectedDiscs(const CPlayList& albums)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    // Counts as a search: new discs wait, and no second search or look-up starts.
    BOOL wasRunning = m_doc.IsDiscSearchRunning();
    m_doc.SetDiscSearchRunning(TRUE);
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    int task = tasks.CreateTask("Looking Up Selected Discs", nullptr, 0);
    tasks.SetTaskRange(task, albums.GetCount());
    for (int i = 0; i < albums.GetCount(); ++i)
    {
        tasks.SetTaskPos(task, i);
        CLibItem item = albums.GetItem(i);
        AlbumRecord album;
        if (!item.GetAlbumCopy(library, album))
            continue;
        CString status = "Identifying";
        if (album.IsInPlayer() && album.GetStoredPlayer() != kMp3Player)
            status.Format("Identifying Player %d Disc %d", album.GetStoredPlayer() + 1, album.GetSlot());
        tasks.SetTaskStatus(task, status);
        PumpWaitingMessages();
        LookupAlbumInfo(m_doc.GetCddbClient(), album);
        library.StoreAlbum(album);
    }
    tasks.SetTaskStatus(task, "Searching...");
    tasks.EndTask(task);
    m_doc.SetDiscSearchRunning(wasRunning);
}

void CDiscLookups::LookUpQueuedDiscs()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    CPlayList queued(library);
    int count = library.GetAlbumCount();
    for (int i = 0; i < count; ++i)
    {
        AlbumRecord album;
        if (library.GetAlbumAt(i, album) && !album.IsGone() && album.GetTitle(kAlbumIndex).Find(kQueued) >= 0)
            queued.AddItem(CLibItem(album.GetIdText(), -1));
    }
    FireEvent("library_queuedlookup_start");
    LookUpSelectedDiscs(queued);
    FireEvent("library_queuedlookup_end");
}
