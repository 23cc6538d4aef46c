// The document's periodic step and the play-list operations it uses.
#include "ZymDoc.h"

#include "FireEvent.h"
#include "SonyPlayer.h"

namespace {

const int kPollEveryTicks = 10;   // once a second at 100 ms a tick
const char kCurrentPlaylist[] = "Current Playlist";

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
    PollPlayers();
    if (m_library.IsLoading())
        m_libraryWasLoading = true;
    if (!m_startupRunning && !m_library.IsLoading())
    {
        FireStartupEvents();
        RestorePlaylistAtStart();
    }
    TakeLoadedLibrary();
    RefreshChangedLists();
    time_t now = m_clock.Now();
    AutoSave(now);
    if (!m_startupRunning)
        SyncWithChangers(now);
    KeepPlaylistFilled();
    if (IsBusy())
        m_lastActivity = now;
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

void CZymDoc::RestorePlaylistAtStart()
{
    if (m_restoreDone || m_options.m_page3.m_playlistSaveAndRestore != 1)
        return;
    m_restoreDone = true;
    m_playList->LoadFromProfile(kCurrentPlaylist);
}

// The load thread marks the library changed when it ends.
void CZymDoc::TakeLoadedLibrary()
{
    if (m_library.HasChanged() && !m_library.IsLoading())
    {
        UpdateAllViews(nullptr, kHintAll);
        m_library.SetChanged(false);
        m_playList->RemoveInvalidItems();
    }
    if (!m_library.IsLoading() && m_libraryWasLoading)
    {
        m_libraryWasLoading = false;
        UpdateAllViews(nullptr, kHintLibraryLoaded);
    }
}

void CZymDoc::RefreshChangedLists()
{
    if (!m_playList->IsModified())
        return;
    UpdateAllViews(nullptr, kHintPlaylist);
    m_playList->SetModified(false);
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
        if (WaitForSingleObject(player->GetStatusEvent(), 0) == WAIT_OBJECT_0 || player->m_changing)
            news = true;
        if (player->m_changeStamp >= m_resyncStamp && !m_library.IsLoading())
        {
            ResyncPlayer(index);
            resynced = true;
        }
    }
    if (news)
        UpdateAllViews(nullptr, kHintPlayers);
    if (resynced)
        m_resyncStamp = now;
}

void CZymDoc::ResyncPlayer(int index)
{
    CSonyPlayer* player = m_control->GetPlayer(index);
    bool absent = false;
    {
        CLibraryLock lock(m_library);
        int count = m_library.GetAlbumCount();
        for (int i = 0; i < count; ++i)
        {
            AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
            int slot = album->GetSlot();
            if (album->GetPlayer() != index || !album->IsInPlayer() || slot < 1 ||
                slot > player->m_capacity || slot > CSonyPlayer::kSlots)
                continue;
            DWORD flags = player->m_slots[slot - 1];
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
    if (!m_randomFill || m_library.IsLoading())
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
    UpdateAllViews(nullptr, kHintPlaylistFill);
    for (int i = 0; i < count; ++i)
    {
        CLibItem item;
        if (!PickFillItem(item))
            break;
        m_playList->AddItem(item);
    }
    if (m_playList->GetPointer() > m_options.m_page3.m_playlistTailSize)
        m_playList->RemoveAt(0);
    UpdateAllViews(nullptr, kHintPlaylist);
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
    m_randomFill = !m_randomFill;
    if (m_randomFill)
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

// A nested tick leaves the queue to the one draining it.
void CZymDoc::RunQueuedCommands()
{
    if (m_drainingCommands || !m_commandRunner)
        return;
    m_drainingCommands = true;
    while (!m_automation.IsEmpty() && !m_closing)
        m_commandRunner->ExecuteCommand(m_automation.Pop());
    m_drainingCommands = false;
}
