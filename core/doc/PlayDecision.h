// What the playing thread decides for one player in one step, as a pure
// function of what it sees, so that every case can be stated in a table.
#pragma once

// The action a player is given; the thread keeps the last one per player.
enum PlayAction
{
    kActionIdle = 0,      // list stopped and already stopped: play state 0
    kActionStop = 1,      // list just stopped, or nothing for this player
    kActionPlay = 2,
    kActionPause = 3,
    kActionCueNext = 4,   // the next entry of the current track sequence
    kActionCueAhead = 5,  // an entry further ahead
};

struct PlayerView
{
    // The play list's state and the one it had at the end of the last step.
    bool stopped;
    bool paused;
    bool wasStopped;
    // The next two entries on this player from the pointer on, with their
    // distances from the pointer.
    bool found;
    int firstDistance;
    int secondDistance;
    int preQueueMode;       // 0 off, 1 next disc, 2 and more everything
    int overlapSeconds;     // "Fade Overlap Time"; below 0: start this long after the current one
    long secondsCurrent;    // since the current entry became current
    // The current entry directly follows the previous entry's track on its album.
    bool followsTrack;
    // The current entry's player reports its track near its end.
    bool currentNearEnd;
};

struct PlayDecision
{
    PlayAction action;
    // The second entry goes along only when it follows the first directly.
    bool passSecond;
    // "using_player[...]" fires.
    bool usingPlayer;
};

PlayDecision DecidePlayerAction(const PlayerView& view, int lastAction);

// "playlist_stop", "playlist_pause", "playlist_play" or null: at most one a step.
const char* PlayStateEvent(bool stopped, bool paused, bool playing, bool wasStopped,
                           bool wasPaused, bool wasPlaying);
