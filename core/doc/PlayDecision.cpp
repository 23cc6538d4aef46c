#include "core/doc/PlayDecision.h"

namespace {

bool OutOfReach(const PlayerView& view)
{
    if (!view.found)
        return true;
    if (view.preQueueMode == 0)
        return view.firstDistance >= 1;
    if (view.preQueueMode == 1)
        return view.firstDistance >= 2;
    return false;
}

// The current entry lies on this player.
PlayAction CurrentEntryAction(const PlayerView& view)
{
    if (view.overlapSeconds >= 0)
        return kActionPlay;
    // A negative overlap starts the next entry that long after the current
    // one; until then the current one only waits cued, unless it continues
    // the previous track of its album.
    if (view.secondsCurrent > -view.overlapSeconds)
        return kActionPlay;
    return view.followsTrack ? kActionPlay : kActionCueNext;
}

PlayAction Decide(const PlayerView& view)
{
    if (view.stopped)
        return view.wasStopped ? kActionIdle : kActionStop;
    if (OutOfReach(view))
        return kActionStop;
    if (view.paused)
        return kActionPause;
    if (view.firstDistance == 0)
        return CurrentEntryAction(view);
    if (view.firstDistance == 1)
        return view.currentNearEnd && view.overlapSeconds > 0 ? kActionPlay : kActionCueAhead;
    return kActionCueAhead;
}

bool Uses(int action)
{
    return action == kActionPlay || action == kActionCueNext;
}

} // namespace

PlayDecision DecidePlayerAction(const PlayerView& view, int lastAction)
{
    PlayDecision decision;
    decision.action = Decide(view);
    decision.passSecond = view.found && view.secondDistance - view.firstDistance < 2;
    decision.usingPlayer = !Uses(lastAction) && Uses(decision.action);
    return decision;
}

const char* PlayStateEvent(bool stopped, bool paused, bool playing, bool wasStopped,
                           bool wasPaused, bool wasPlaying)
{
    if (stopped && !wasStopped)
        return "playlist_stop";
    if (paused && !wasPaused)
        return "playlist_pause";
    if (playing && !wasPlaying)
        return "playlist_play";
    return nullptr;
}
