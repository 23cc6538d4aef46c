// The document's periodic step and the play-list operations it uses.
#include "core/doc/ZymDoc.h"

#include "core/doc/DiscSearch.h"
#include "core/doc/DocCommandTargets.h"
#include "core/automation/FireEvent.h"
#include "core/doc/HandOver.h"
#include "mp3/player/Mp3Control.h"
#include "core/players/SonyPlayer.h"

namespace {

const int kPollEveryTicks = 10;   // once a second at 100 ms a tick
const char kCurrentPlaylist[] = "Current Playlist";
const int kUserActiveSeconds = 20;
const int kSkimUnknownSlots = 1;
// A play-list file's entries go after the last one.
const int kAppend = -1;
// Remote commands run per tick: a thousand a second at 100 ms a tick.
const int kCommandsPerTick = 100;

} // namespace

// Ticks nest (the start-up, message boxes and waits pump), but the start-up
// runs once and the queued commands are drained by the outermost tick only,
// so that each command ends before the next begins.
void CZymDoc::RunTick()
{
    if (m_closing)
        return;
    ++m_tickDepth;
    if (!m_firstTickDone)
    {
        m_firstTickDone = true;
        RunStartup();
    }
    else if (!m_startupRunning)
    {
        GetCommandTargets().library.OfferLibraryUpgrade();
    }
    PollPlayers();
    if (m_library.IsLoading())
        m_libraryWasLoading = true;
    if (!m_startupRunning && !m_library.IsLoading())
    {
        FireStartupEvents();
        OpenPendingPlaylist();
    }
    TakeLoadedLibrary();
    RefreshChangedLists();
    time_t now = m_clock.Now();
    AutoSave(now);
    if (!m_startupRunning)
        SyncWithChangers(now);
    KeepPlaylistFilled();
    FollowTasks();
    RunTimedPlay();
    if (IsBusy())
        m_lastActivity = now;
    SearchDiscsWhenIdle(now);
    RunQueuedCommands();
    --m_tickDepth;
    CloseIfAsked();
}

void CZymDoc::PollPlayers()
{
    if (++m_pollTicks < kPollEveryTicks)
        return;
    m_pollTicks = 0;
    if (m_pollPlayerStatus)
        m_control->PollStatus();
}

void CZymDoc::FireStartupEvents()
{
    if (m_startupEventsFired)
        return;
    m_startupEventsFired = true;
    ::FireEvent("first_startup");
    ::FireEvent("startup");
}

// A file handed over replaces whatever the list holds, also a restored one.
void CZymDoc::OpenPendingPlaylist()
{
    CString handedOver = TakeHandedOverPlaylist();
    if (!handedOver.IsEmpty())
    {
        m_restoreDone = true;
        OnPlaylistStop();
        m_playList->Clear();
        if (GetCommandTargets().playlistFiles.OpenPlaylistFile(handedOver, kAppend))
            OnPlaylistPlay();
        return;
    }
    if (m_restoreDone || m_options.m_page3.m_playlistSaveAndRestore != 1)
        return;
    m_restoreDone = true;
    RestoreCurrentPlaylist();
}

void CZymDoc::SaveCurrentPlaylist()
{
    m_playList->SaveToProfile(kCurrentPlaylist);
}

void CZymDoc::RestoreCurrentPlaylist()
{
    m_playList->LoadFromProfile(kCurrentPlaylist);
}

// The load thread marks the library changed when it ends.
void CZymDoc::TakeLoadedLibrary()
{
    if (m_library.HasChanged() && !m_library.IsLoading())
    {
        UpdateAllViews(nullptr, kViewHintAll);
        m_library.SetChanged(false);
        m_playList->RemoveInvalidItems();
        m_searchList.RemoveInvalidItems();
    }
    if (!m_library.IsLoading() && m_libraryWasLoading)
    {
        m_libraryWasLoading = false;
        UpdateAllViews(nullptr, kViewHintSelectFirst);
    }
}

void CZymDoc::RefreshChangedLists()
{
    if (m_playList->IsModified())
    {
        UpdateAllViews(nullptr, kViewHintPlaylist);
        m_playList->SetModified(false);
    }
    if (m_searchList.IsModified())
    {
        UpdateAllViews(nullptr, kViewHintSearchList);
        m_searchList.SetModified(false);
    }
}

void CZymDoc::AutoSave(time_t now)
{
    const CPage2& page = m_options.m_page2;
    if (!page.m_autoSaveDb || now - m_lastSave <= page.m_autoSaveInterval * 60)
        return;
    m_lastSave = now;
    if (m_library.IsModified() && !m_library.IsLoading())
        SaveLibrary();
}

// A change stamp counts in whole seconds: one in the second of the last
// re-sync may have come after it, so that second is looked at again.
void CZymDoc::SyncWithChangers(time_t now)
{
    bool news = false;
    bool resynced = false;
    for (int index = 0; index < m_control->GetPlayerCount(); ++index)
    {
        CSonyPlayer* player = m_control->GetPlayer(index);
        const ChangerState state = player->GetState();
        if (WaitForSingleObject(player->GetStatusEvent(), 0) == WAIT_OBJECT_0 || state.changing)
            news = true;
        if (state.changeStamp >= m_resyncStamp && !m_library.IsLoading())
        {
            ResyncPlayer(index);
            resynced = true;
        }
    }
    CMp3Control* mp3 = GetMp3Player();
    if (mp3 && WaitForSingleObject(mp3->GetStatusEvent(), 0) == WAIT_OBJECT_0)
        news = true;
    if (news)
    {
        if (!m_library.IsLoading())
            GetCommandTargets().title.UpdateTitle();
        UpdateAllViews(nullptr, kViewHintPlayers);
    }
    if (resynced)
        m_resyncStamp = now;
}

void CZymDoc::ResyncPlayer(int index)
{
    CSonyPlayer* player = m_control->GetPlayer(index);
    const ChangerState state = player->GetState();
    bool absent = false;
    {
        CLibraryLock lock(m_library);
        int count = m_library.GetAlbumCount();
        for (int i = 0; i < count; ++i)
        {
            AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
            int slot = album->GetSlot();
            if (album->GetPlayer() != index || !album->IsInPlayer() || slot < 1 ||
                slot > state.capacity || slot > CSonyPlayer::kSlots)
                continue;
            DWORD flags = state.slots[slot - 1];
            if ((flags & (CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotHasDisc)) == CSonyPlayer::kSlotKnown)
            {
                album->SetPresent(false);
                album->SetState(kAlbumChanged);
                absent = true;
            }
            // -1: the changer names no group for the slot.
            int group = player->FindGroupOfDisc(slot);
            if (group >= 0 && group != album->GetGroup(kAlbumIndex))
                album->SetGroup(kAlbumIndex, group);
        }
    }
    if (absent)
    {
        m_library.SetModified(true);
        m_library.SetChanged(true);
    }
}

void CZymDoc::KeepPlaylistFilled()
{
    if (!m_switches.randomFill || m_library.IsLoading())
        return;
    if (m_playList->GetRemainingCount() < m_options.m_page3.m_playlistFillSize)
        FillPlaylist(1);
    if (m_playList->GetPointer() > m_options.m_page3.m_playlistTailSize)
        m_playList->RemoveAt(0);
}

void CZymDoc::FillPlaylist(int count)
{
    if (m_library.GetAlbumCount() == 0)
        return;
    UpdateAllViews(nullptr, kViewHintPlaylistFill);
    for (int i = 0; i < count; ++i)
    {
        CLibItem item;
        if (!PickFillItem(item))
            break;
        m_playList->AddItem(item);
    }
    if (m_playList->GetPointer() > m_options.m_page3.m_playlistTailSize)
        m_playList->RemoveAt(0);
    UpdateAllViews(nullptr, kViewHintPlaylist);
}

bool CZymDoc::PickFillItem(CLibItem& item)
{
    CLibItem last;
    bool alternate = m_options.m_page3.m_alternatePlayers && m_playList->GetLastItem(last);
    return m_pickList->PickRandomItem(alternate ? &last : nullptr, item, nullptr,
                                      m_options.m_page3.m_minimumTrackTime);
}

void CZymDoc::OnPlaylistRandom()
{
    m_switches.randomFill = !m_switches.randomFill;
    if (m_switches.randomFill)
        BuildPickList();
    RunTick();
}

void CZymDoc::BuildPickList()
{
    m_pickList->Clear();
    int count = m_library.GetAlbumCount();
    for (int index = 0; index < count; ++index)
    {
        AlbumRecord album;
        if (!m_library.GetAlbumAt(index, album))
            continue;
        for (int track = 0; track < album.GetTrackCount(); ++track)
            m_pickList->AddItem(CLibItem(album.GetIdText(), track));
    }
}

BOOL CZymDoc::IsBusy()
{
    return !m_playList->IsStopped() || m_control->IsAnyPlaying();
}

BOOL CZymDoc::UserActedRecently()
{
    time_t now = m_clock.Now();
    for (int which = 0; which < UserActionStamps::kStamps; ++which)
    {
        if (now - UserActionStamps::Get(which) < kUserActiveSeconds)
            return TRUE;
    }
    return FALSE;
}

void CZymDoc::FollowTasks()
{
    CTimeStamp changed = m_taskMgr.GetChangeTime();
    if (!(m_taskStamp < changed))
        return;
    m_taskStamp.SetToNow();
    UpdateAllViews(nullptr, kViewHintTasksRebuild);
    UpdateAllViews(nullptr, kViewHintTasksChanged);
}

// The scheduler starts the play list once, at once or inside its window of
// time; it ends when the list stops (no end time) or the end time passes.
void CZymDoc::RunTimedPlay()
{
    if (!m_timedPlay.enabled)
        return;
    COleDateTime now(m_clock.LocalTime());
    if (!m_timedPlay.started)
    {
        if (!MayStartTimedPlay(now))
            return;
        if (!m_timedPlay.useEndTime)
        {
            m_playList->SetLoop(false);
            m_switches.randomFill = FALSE;
        }
        if (!m_playList->IsPlaying())
            OnPlaylistPlay();
        m_timedPlay.started = TRUE;
        return;
    }
    if (!m_timedPlay.useEndTime)
    {
        if (m_playList->IsStopped() && m_operations)
            m_operations->RunTimedAction();
    }
    else if (now > m_timedPlay.endTime)
    {
        OnPlaylistStop();
        if (m_operations)
            m_operations->RunTimedAction();
    }
}

BOOL CZymDoc::MayStartTimedPlay(const COleDateTime& now)
{
    const TimedPlay& timed = m_timedPlay;
    BOOL inTime = timed.startMode == TimedPlay::kAtOnce ||
                  (timed.startMode == TimedPlay::kAtStartTime && now >= timed.startTime &&
                   (!timed.useEndTime || now <= timed.endTime));
    return inTime && !timed.hold && m_playList->GetCount() > 0;
}

// After a quiet while, slots whose discs are unknown are skimmed; never
// while the user works, the system sleeps or another search runs.
void CZymDoc::SearchDiscsWhenIdle(time_t now)
{
    if (!m_options.m_page2.m_autoSearchDiscs || now - m_lastActivity <= m_options.m_page2.m_autoSearchInterval * 60)
        return;
    if (!m_control->HasUnknownSlots() || m_discSearchRunning || m_sleeping || UserActedRecently())
        return;
    m_discSearchRunning = true;
    m_lastActivity = now;
    m_searchSettings = DiscSearchSettings();
    m_searchSettings.mode = kSkimUnknownSlots;
    CDiscSearch(*this).SearchDiscs();
    m_discSearchRunning = false;
}

// A nested tick leaves the queue to the one draining it. A tick runs a
// bounded share of the queue, so that a flood of commands leaves the window
// answering; commands the full queue dropped are told as one error event.
void CZymDoc::RunQueuedCommands()
{
    if (m_drainingCommands)
        return;
    m_drainingCommands = true;
    if (int dropped = m_automation.TakeDropped())
    {
        CString event;
        event.Format("error[command queue full - %d commands dropped]", dropped);
        FireEvent(event);
    }
    for (int run = 0; run < kCommandsPerTick && !m_automation.IsEmpty() && !m_closing; ++run)
    {
        BOOL own = FALSE;
        CString command = m_automation.Pop(&own);
        if (!own)
        {
            ExecuteCommand(command);
            continue;
        }
        CAutoMapper::COwnCommandScope scope;
        ExecuteCommand(command);
    }
    m_drainingCommands = false;
}
