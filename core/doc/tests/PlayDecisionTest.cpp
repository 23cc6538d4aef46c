#include "tests/support/TestFramework.h"

#include "core/doc/PlayDecision.h"

namespace {

enum List { kStop, kStopAgain, kPause, kPlay };

TEST(PlayDecision, OnePlayerOneStep)
{
    const int kNone = 99;   // FindNextOnPlayer's distance of a missing entry
    const struct
    {
        const char* what;
        List list;
        bool found;
        int d1, d2;
        int mode, overlap;
        long seconds;
        bool follows, nearEnd;
        int last;
        PlayAction action;
        bool passSecond, usingPlayer;
    } cases[] = {
        { "list just stopped", kStop, true, 0, 1, 2, 0, 0, false, false, 2, kActionStop, true, false },
        { "list stopped before", kStopAgain, true, 0, 1, 2, 0, 0, false, false, 1, kActionIdle, true, false },
        { "nothing on this player", kPlay, false, kNone, kNone, 2, 0, 0, false, false, 0, kActionStop, false, false },
        { "no pre-queue, next entry", kPlay, true, 1, 2, 0, 0, 0, false, false, 0, kActionStop, true, false },
        { "no pre-queue, current entry", kPlay, true, 0, kNone, 0, 0, 0, false, false, 0, kActionPlay, false, true },
        { "next disc, one away", kPlay, true, 1, 3, 1, 0, 0, false, false, 0, kActionCueAhead, false, false },
        { "next disc, two away", kPlay, true, 2, 3, 1, 0, 0, false, false, 5, kActionStop, true, false },
        { "everything, two away", kPlay, true, 2, 3, 2, 0, 0, false, false, 0, kActionCueAhead, true, false },
        { "everything, far away", kPlay, true, 7, 30, 3, 0, 0, false, false, 0, kActionCueAhead, false, false },
        { "paused on the current entry", kPause, true, 0, 1, 2, 0, 0, false, false, 2, kActionPause, true, false },
        { "paused, out of reach", kPause, true, 1, 2, 0, 0, 0, false, false, 3, kActionStop, true, false },
        { "current entry plays", kPlay, true, 0, 1, 2, 0, 0, false, false, 0, kActionPlay, true, true },
        { "playing already", kPlay, true, 0, 1, 2, 0, 0, false, false, 2, kActionPlay, true, false },
        { "cued before, now plays", kPlay, true, 0, 1, 2, -5, 9, false, false, 4, kActionPlay, true, false },
        { "late start, within the delay", kPlay, true, 0, 2, 2, -5, 3, false, false, 5, kActionCueNext, false, true },
        { "late start, at the delay", kPlay, true, 0, 2, 2, -5, 5, false, false, 0, kActionCueNext, false, true },
        { "late start, after the delay", kPlay, true, 0, 2, 2, -5, 6, false, false, 4, kActionPlay, false, false },
        { "late start, next track of the album", kPlay, true, 0, 1, 2, -5, 0, true, false, 1, kActionPlay, true, true },
        { "overlap due", kPlay, true, 1, 2, 2, 3, 100, false, true, 5, kActionPlay, true, true },
        { "near end without overlap", kPlay, true, 1, 2, 2, 0, 100, false, true, 5, kActionCueAhead, true, false },
        { "overlap, not near end", kPlay, true, 1, 2, 2, 3, 100, false, false, 5, kActionCueAhead, true, false },
        { "negative overlap never starts early", kPlay, true, 1, 2, 2, -3, 100, false, true, 5, kActionCueAhead, true, false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        PlayerView view = {};
        view.stopped = c.list == kStop || c.list == kStopAgain;
        view.paused = c.list == kPause;
        view.wasStopped = c.list == kStopAgain;
        view.found = c.found;
        view.firstDistance = c.d1;
        view.secondDistance = c.d2;
        view.preQueueMode = c.mode;
        view.overlapSeconds = c.overlap;
        view.secondsCurrent = c.seconds;
        view.followsTrack = c.follows;
        view.currentNearEnd = c.nearEnd;
        PlayDecision decision = DecidePlayerAction(view, c.last);
        EXPECT_EQ(c.action, decision.action);
        EXPECT_EQ(c.passSecond, decision.passSecond);
        EXPECT_EQ(c.usingPlayer, decision.usingPlayer);
    }
}

TEST(PlayDecision, OneStateEventPerChange)
{
    const struct
    {
        int state, was;   // 0 stopped, 1 paused, 2 playing
        const char* event;
    } cases[] = {
        { 0, 0, nullptr }, { 0, 1, "playlist_stop" }, { 0, 2, "playlist_stop" },
        { 1, 1, nullptr }, { 1, 0, "playlist_pause" }, { 1, 2, "playlist_pause" },
        { 2, 2, nullptr }, { 2, 0, "playlist_play" }, { 2, 1, "playlist_play" },
    };
    for (const auto& c : cases)
    {
        const char* event = PlayStateEvent(c.state == 0, c.state == 1, c.state == 2, c.was == 0,
                                           c.was == 1, c.was == 2);
        EXPECT_STREQ(c.event, event) << c.state << " after " << c.was;
    }
}

} // namespace
