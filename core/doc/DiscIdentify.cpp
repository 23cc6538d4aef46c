#include "core/doc/DiscIdentify.h"

#include "core/doc/DiscLookups.h"
#include "core/doc/LibraryDocument.h"
#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "core/tasks/TaskMgr.h"
#include "library/records/MusicLibrary.h"

#include "core/automation/FireEvent.h"

namespace {

const int kMoveMs = 1000;
const int kContentsMs = 20000;
const int kTextAnswerMs = 2000;
const int kDiscTextBits = 0x30;
const int kStoresTexts = 0x0B;
const int kDiscText = 0;   // CD text 0 is the disc's, n the n-th track's

} // namespace

bool CDiscIdentify::IdentifyDiscs(int changer, IdentifiedDisc& disc)
{
    CSonyControl& control = m_doc.GetPlayerControl();
    CSonyPlayer* player = changer >= 0 && changer < control.GetPlayerCount() ? control.GetPlayer(changer) : nullptr;
    if (!player)
        return false;
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    AlbumRecord album = library.NewAlbum();
    AlbumRecord stored = library.NewAlbum();
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    m_cancel = 0;
    m_task = tasks.CreateTask("IDDisc", &m_cancel, 0);
    tasks.SetTaskStatus(m_task, "Reading TOC");
    bool read;
    {
        CSearchModeHold searching(*player);
        read = ReadContents(*player, player->GetState().currentDisc, album);
        if (read)
        {
            album.SetPlayer(changer);
            album.SetSlot(player->GetState().currentDisc);
            album.SetPresent(true);
            tasks.SetTaskStatus(m_task, "Lookup");
            disc.id = album.GetIdText();
            disc.known = library.GetAlbum(album, stored);
            if (disc.known)
                UpdateKnownAlbum(stored, album, disc);
            else
                AddNewAlbum(*player, album);
            disc.title = disc.known ? stored.GetTitle(kAlbumIndex) : album.GetTitle(kAlbumIndex);
        }
    }
    tasks.EndTask(m_task);
    return read;
}

// Track count and lengths (whole seconds) of the disc in the slot, and the
// ids they give.
bool CDiscIdentify::ReadContents(CSonyPlayer& player, int slot, AlbumRecord& album)
{
    if (slot < 1 || !player.ReadDiscInfo(slot, &m_cancel) || player.GetState().lastTrack < 1)
        return false;
    const ChangerState disc = player.GetState();
    int tracks = disc.lastTrack;
    int minutes = disc.totalMinutes;
    int seconds = disc.totalSeconds;
    int frames = disc.totalFrames;
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    tasks.SetTaskRange(m_task, tracks);
    album.SetTrackCount(tracks);
    for (int t = 0; t < tracks; ++t)
    {
        tasks.SetTaskPos(m_task, t);
        CString status;
        status.Format("Track %d", t + 1);
        tasks.SetTaskStatus(m_task, status);
        if (!player.ReadTrackInfo(slot, t, &m_cancel))
            return false;
        const ChangerState info = player.GetState();
        album.SetPlayTime(t, info.infoMinutes * 60 + info.infoSeconds);
    }
    album.GetRecord(kAlbumIndex)->SetFrames((minutes * 60 + seconds) * kFramesPerSecond + frames);
    album.SetCddbId(album.ComputeCddbId());
    album.SetIdText(album.ComputeAlbumId());
    return true;
}

// The known album takes the disc's place; its old place goes to the caller.
void CDiscIdentify::UpdateKnownAlbum(AlbumRecord& stored, const AlbumRecord& found, IdentifiedDisc& disc)
{
    disc.previousPlayer = stored.GetStoredPlayer();
    disc.previousSlot = stored.GetSlot();
    disc.previousPresent = stored.IsPresent();
    if (stored.GetStoredPlayer() != found.GetStoredPlayer() || stored.GetSlot() != found.GetSlot() ||
        !stored.IsPresent())
    {
        stored.SetPlayer(found.GetStoredPlayer());
        stored.SetSlot(found.GetSlot());
        stored.SetPresent(true);
    }
    StoreAndTell(stored);
}

void CDiscIdentify::AddNewAlbum(CSonyPlayer& player, AlbumRecord& album)
{
    album.GetRecord(kAlbumIndex)->m_added = COleDateTime::GetCurrentTime();
    int slot = album.GetSlot();
    if (player.HasAllBits(kStoresTexts))
    {
        if (player.GetState().currentDisc != slot)
        {
            player.Cue(slot, -1);
            player.WaitForState(kMoveMs, [slot](const ChangerState& s) { return s.currentDisc == slot; }, &m_cancel);
            player.WaitForDiscReady(slot, kContentsMs, &m_cancel);
        }
        ReadDiscTexts(player, album);
    }
    LookupAlbumInfo(m_doc.GetCddbClient(), album);
    StoreAndTell(album);
}

void CDiscIdentify::StoreAndTell(AlbumRecord& album)
{
    m_doc.GetMusicLibrary().StoreAlbum(album);
    FireEvent("library_location_updated[%s,%s]", static_cast<LPCSTR>(album.GetIdText()),
              static_cast<LPCSTR>(album.GetLocationText(kAlbumIndex)));
}

// Text 0 is the disc's title, text n the title of track n; each kept also as
// the record's CD text.
void CDiscIdentify::ReadDiscTexts(CSonyPlayer& player, AlbumRecord& album)
{
    player.ChangeState([](ChangerState& s) { s.storedBits = -1; });
    player.QueryStored();
    if (!player.WaitForState(kTextAnswerMs, [](const ChangerState& s) { return s.storedBits != -1; }, &m_cancel) ||
        (player.GetState().storedBits & kDiscTextBits) != kDiscTextBits)
        return;
    for (int t = kDiscText; t <= album.GetTrackCount() && !m_cancel; ++t)
    {
        player.ChangeState([](ChangerState& s) { s.cdTextTrack = -1; });
        player.QueryCdText(t);
        if (!player.WaitForState(kTextAnswerMs, [t](const ChangerState& s) { return s.cdTextTrack == t; }, &m_cancel))
            continue;
        CString text = player.GetCdText();
        text.TrimRight();
        int index = t == kDiscText ? kAlbumIndex : t - 1;
        album.GetRecord(index)->m_cdText = text;
        if (album.GetTitle(index).IsEmpty())
            album.SetTitle(index, text);
    }
}
