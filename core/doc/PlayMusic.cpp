#include "core/doc/PlayMusic.h"

#include "core/players/SonyControl.h"
#include "library/playlist/PlayList.h"

#include <afxwin.h>
#include <objbase.h>

#include <algorithm>

CPlayMusic::CPlayMusic(CPlayingHost& host)
    : m_host(host), m_stopRequest(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

CPlayMusic::~CPlayMusic()
{
    CloseHandle(m_stopRequest);
    delete m_thread;
}

BOOL CPlayMusic::Start()
{
    if (m_thread)
        return FALSE;
    ResetEvent(m_stopRequest);
    CWinThread* thread = AfxBeginThread(PlayMusicThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
        return FALSE;
    // Stop waits on the handle, so the object stays until this one goes.
    thread->m_bAutoDelete = FALSE;
    m_thread = thread;
    // Set before the thread runs, so that a Stop at once still waits for it.
    m_running = true;
    thread->ResumeThread();
    return TRUE;
}

BOOL CPlayMusic::Stop()
{
    SetEvent(m_stopRequest);
    if (!m_thread)
        return TRUE;
    for (int wait = 0; wait < kStopWaits; ++wait)
    {
        if (m_host.WaitForThread(m_thread->m_hThread, kStopWaitMs) == WAIT_OBJECT_0)
            return TRUE;
    }
    return FALSE;
}

UINT CPlayMusic::PlayMusicThread(LPVOID self)
{
    static_cast<CPlayMusic*>(self)->Run();
    return 0;
}

void CPlayMusic::Run()
{
    m_host.ThreadStarted("PlayMusic");
    CoInitialize(nullptr);
    while (WaitForSingleObject(m_stopRequest, 0) == WAIT_TIMEOUT)
    {
        Step();
        WaitForSingleObject(m_stopRequest, kStepMs);
    }
    m_running = false;
    CoUninitialize();
    m_host.ThreadEnded();
}

void CPlayMusic::Step()
{
    AdvancePlaylist();
    // Read once: the user may change the state while the step runs (the
    // players' requests take time), and the next step must still see that
    // change as one, or a stop or play pressed meanwhile is lost.
    CPlayList& list = m_host.GetCurrentPlayList();
    int state = list.GetState();
    FirePlayStateEvents(state);
    DrivePlayers(state);
    list.RememberState(state);
    m_host.GetPlayerControl().PollNewDiscs();
}

void CPlayMusic::AdvancePlaylist()
{
    m_currentSeenPlaying = false;
    CPlayList& list = m_host.GetCurrentPlayList();
    if (list.IsStopped() || list.WasStopped())
        return;
    if (list.GetCount() == 0)
    {
        list.SetStopped();
        return;
    }
    CLibItem current = list.GetCurrentItem();
    if (!(current == m_lastStarted))
    {
        m_startTime = m_host.Now();
        m_lastStarted = current;
        return;
    }
    if (m_host.GetPlayerControl().IsEntryPlaying(&current))
    {
        m_currentSeenPlaying = true;
        return;
    }
    if (!list.Next())
    {
        list.SetStopped();
        list.SetPointer(0);
    }
    m_startTime = m_host.Now();
    CString event;
    event.Format("playlist_pointer[%d]", list.GetCount() == 0 ? 0 : list.GetPointer() + 1);
    m_host.FireEvent(event);
}

void CPlayMusic::FirePlayStateEvents(int state)
{
    CPlayList& list = m_host.GetCurrentPlayList();
    const char* event = PlayStateEvent(state == kStopped, state == kPaused, state == kPlaying,
                                       list.WasStopped(), list.WasPaused(), list.WasPlaying());
    if (event)
        m_host.FireEvent(event);
}

BOOL CPlayMusic::IsOverlapDue(const CLibItem& current)
{
    return m_host.GetFadeOverlapTime() > 0 && m_host.GetPlayerControl().IsEntryNearEnd(&current);
}

void CPlayMusic::DrivePlayers(int state)
{
    CPlayList& list = m_host.GetCurrentPlayList();
    CSonyControl& control = m_host.GetPlayerControl();
    CLibItem current = list.GetCurrentItem();
    int pointer = list.GetPointer();
    bool playing = state != kStopped;
    m_followsTrack = playing && pointer >= 1 && current.FollowsTrackOf(list.GetItem(pointer - 1));
    m_currentNearEnd = playing && list.GetCount() > 0 && IsOverlapDue(current);

    int players = std::min<int>(control.GetPlayerSlotCount(), kMaxPlayers);
    for (int player = 0; player < players; ++player)
    {
        CLibItem first, second;
        PlayDecision decision = DecidePlayerAction(ViewOf(player, state, first, second),
                                                   m_lastActions[player]);
        if (decision.usingPlayer)
            m_host.FireEvent("using_player[" + control.GetPlayerName(player) + "]");
        m_lastActions[player] = decision.action;
        CarryOut(player, decision, first, second);
    }
}

PlayerView CPlayMusic::ViewOf(int player, int state, CLibItem& first, CLibItem& second)
{
    CPlayList& list = m_host.GetCurrentPlayList();
    PlayerView view = {};
    view.stopped = state == kStopped;
    view.paused = state == kPaused;
    view.wasStopped = list.WasStopped();
    view.preQueueMode = m_host.GetPreQueueMode();
    view.overlapSeconds = m_host.GetFadeOverlapTime();
    view.secondsCurrent = static_cast<long>(m_host.Now() - m_startTime);
    view.followsTrack = m_followsTrack;
    view.currentNearEnd = m_currentNearEnd;
    if (!view.stopped)
    {
        int playerId = m_host.GetPlayerControl().GetPlayerId(player);
        view.found = list.FindNextOnPlayer(playerId, first, view.firstDistance, second,
                                           view.secondDistance);
    }
    return view;
}

void CPlayMusic::CarryOut(int player, const PlayDecision& decision, const CLibItem& first,
                         const CLibItem& second)
{
    CSonyControl& control = m_host.GetPlayerControl();
    const CLibItem* next = decision.passSecond ? &second : nullptr;
    switch (decision.action)
    {
    case kActionIdle:
        control.SetPlayState(player, 0);
        break;
    case kActionStop:
        control.StopPlayer(player);
        control.SetPlayState(player, 0);
        break;
    case kActionPlay:
        if (m_currentSeenPlaying && first == m_lastStarted)
            control.PlayOnEntry(&first, next);
        else
            control.PlayEntry(&first, next);
        break;
    case kActionPause:
        control.PauseEntry(&first, next);
        break;
    case kActionCueNext:
    case kActionCueAhead:
        control.CueEntry(&first, next);
        break;
    }
}
