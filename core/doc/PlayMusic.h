// The playing thread ("PlayMusic"): every 100 ms it moves the current play
// list's pointer past a finished entry, fires the play-state events once per
// change, gives every player (the changers, then the MP3 player) its action
// through the player control, and lets new discs be identified.
//
// Threads: the GUI thread only changes the play list and starts and stops
// this thread; the step runs on this thread alone (or on a test's). The stop
// request and the running flag are written by one side each.
#pragma once

#include "core/doc/PlayDecision.h"
#include "core/doc/PlayingHost.h"
#include "library/playlist/LibItem.h"

#include <afx.h>
#include <time.h>

#include <atomic>

class CPlayList;
class CSonyControl;
class CWinThread;

class CPlayMusic
{
public:
    enum { kMaxPlayers = 96, kStepMs = 100, kStopWaitMs = 25, kStopWaits = 1000 };

    explicit CPlayMusic(CPlayingHost& host);
    // The thread must have ended (Stop gave TRUE) or never started.
    ~CPlayMusic();
    CPlayMusic(const CPlayMusic&) = delete;
    CPlayMusic& operator=(const CPlayMusic&) = delete;

    BOOL Start();
    // Asks the thread to end and waits up to 1000 times 25 ms; FALSE when it
    // still runs, and then it must be left alone with all it reaches.
    BOOL Stop();
    bool IsRunning() const { return m_running; }

    // One step, as the thread runs it every 100 ms.
    void Step();
    void AdvancePlaylist();
    // In the list's play state as the step read it.
    void FirePlayStateEvents(int state);
    void DrivePlayers(int state);
    BOOL IsOverlapDue(const CLibItem& current);

    int GetLastAction(int player) const { return m_lastActions[player]; }

private:
    static UINT PlayMusicThread(LPVOID self);
    void Run();
    PlayerView ViewOf(int player, int state, CLibItem& first, CLibItem& second);
    void CarryOut(int player, const PlayDecision& decision, const CLibItem& first,
                  const CLibItem& second);

    CPlayingHost& m_host;
    CWinThread* m_thread = nullptr;   // owned; not deleted by itself
    std::atomic<bool> m_running{ false };
    HANDLE m_stopRequest;   // manual reset; the step's sleep ends on it

    // Only the step touches these.
    int m_lastActions[kMaxPlayers] = {};
    time_t m_startTime = 0;   // when the current entry became current
    CLibItem m_lastStarted;
    // Worked out once a step for all players.
    bool m_followsTrack = false;
    bool m_currentNearEnd = false;
    // The advance found the current entry (m_lastStarted) still playing: the
    // players' requests later in the step must not start it over should it
    // end meanwhile.
    bool m_currentSeenPlaying = false;
};
