// The player control's requests to the MP3 player: from a state, a request on an
// item gives a result, the decoder commands posted in order, and the flags.
#include "tests/support/TestFramework.h"

#include <functional>
#include <string>
#include <vector>

#include "mp3/player/MPEGRequests.h"
#include "mp3/decoder/DecoderMessage.h"
#include "mp3/decoder/DecoderPlayer.h"

namespace {

// Records what the requests post, by the decoder command each message sends.
class RecordingRequests : public CMPEGRequests
{
public:
    std::vector<std::string> posted;

    void SetFlags(BYTE playing, BYTE paused)
    {
        m_playing = playing;
        m_paused = paused;
    }
    void SetPosition(int minutes, int seconds)
    {
        m_positionMinutes = minutes;
        m_positionSeconds = seconds;
    }
    void SetError() { m_error = 1; }
    void SetDuration(int minutes, int seconds)
    {
        m_durationMinutes = minutes;
        m_durationSeconds = seconds;
    }
    // The MP3 thread has carried out what was posted.
    void CarryOut() { posted.clear(); }
    HANDLE GetStatusEvent() const override { return nullptr; }
    std::vector<int> sent;
    DWORD now = 1000;
    int noOutputReports = 0;

protected:
    DWORD Now() override { return now; }
    void SendCommand(int code) override { sent.push_back(code); }
    void ReportNoOutput() override { noOutputReports++; }
    void PostRequest(UINT message) override
    {
        static const char* const kNames[] = {"InputOpen", "Play", "Stop", "Pause"};
        posted.push_back(message >= kMp3Open && message <= kMp3Pause ? kNames[message - kMp3Open] : "?");
    }
};

AlbumRecord MakeAlbum(const char* id, int tracks)
{
    AlbumRecord album;
    album.SetIdText(id);
    album.SetTrackCount(tracks);
    for (int i = 0; i < tracks; i++)
        album.SetFileLocation(i, (std::string(id) + "\\" + std::to_string(i) + ".mp3").c_str());
    return album;
}

enum State { kFresh, kPlaying, kPaused, kCuedAtStart, kPausedLater, kFailed, kEnded };
enum Request { kPlay, kPlayOn, kPause, kCue, kStopPlayback };

// Album "A" track 1 is the current item of every state but kFresh.
void Enter(RecordingRequests& player, State state, const AlbumRecord& a)
{
    if (state == kFresh)
        return;
    if (state == kCuedAtStart)
        player.Cue(a, 1);
    else
        player.Play(a, 1);
    if (state == kPaused || state == kPausedLater)
        player.SetFlags(0, 1);
    if (state == kPausedLater)
        player.SetPosition(0, 12);
    if (state == kEnded) {
        player.OnPlayerState(kPlayerPlaying);
        player.OnPlayerState(kPlayerInputEnd);
    }
    if (state == kFailed) {
        player.SetFlags(0, 0);
        player.SetError();
    }
    player.posted.clear();
}

struct Case
{
    const char* name;
    State state;
    Request request;
    const char* album;
    int track;
    BOOL result;
    std::vector<std::string> commands;
    BYTE playing, paused, finished;
};

TEST(MPEGRequests, RequestTable)
{
    const std::vector<std::string> start = {"Stop", "InputOpen", "Play"};
    const std::vector<std::string> load = {"InputOpen", "Stop", "Pause"};
    const std::vector<std::string> none;
    const Case cases[] = {
        {"play new track", kFresh, kPlay, "A", 1, TRUE, start, 1, 0, 0},
        {"play whole album", kFresh, kPlay, "A", -1, TRUE, start, 1, 0, 0},
        {"play past the album's end", kFresh, kPlay, "A", 3, TRUE, none, 0, 0, 0},
        {"play the playing track", kPlaying, kPlay, "A", 1, FALSE, none, 1, 0, 0},
        {"play another track", kPlaying, kPlay, "A", 2, TRUE, start, 1, 0, 0},
        {"play another album", kPlaying, kPlay, "B", 1, TRUE, start, 1, 0, 0},
        {"play resumes paused", kPaused, kPlay, "A", 1, TRUE, {"Play"}, 0, 1, 0},
        {"play same item after failure", kFailed, kPlay, "A", 1, TRUE, none, 0, 0, 0},
        {"play the ended track again", kEnded, kPlay, "A", 1, TRUE, {"Play"}, 1, 0, 0},
        {"play on the ended track", kEnded, kPlayOn, "A", 1, FALSE, none, 0, 0, 1},
        {"play on the ended album", kEnded, kPlayOn, "A", -1, FALSE, none, 0, 0, 1},
        {"play on another track after an end", kEnded, kPlayOn, "A", 2, TRUE, start, 1, 0, 0},
        {"play on the playing track", kPlaying, kPlayOn, "A", 1, FALSE, none, 1, 0, 0},
        {"play on resumes paused", kPaused, kPlayOn, "A", 1, TRUE, {"Play"}, 0, 1, 0},
        {"pause playing", kPlaying, kPause, "A", 1, TRUE, {"Pause"}, 1, 0, 0},
        {"pause paused", kPaused, kPause, "A", 1, FALSE, none, 0, 1, 0},
        {"pause idle item loads it paused", kFresh, kPause, "A", 1, TRUE, load, 0, 1, 0},
        {"cue new item", kPlaying, kCue, "B", 0, TRUE, load, 1, 1, 0},
        {"cue current item", kPlaying, kCue, "A", 1, TRUE, {"Stop", "Pause"}, 1, 1, 0},
        {"cue item cued at start", kCuedAtStart, kCue, "A", 1, FALSE, none, 0, 1, 0},
        {"cue paused item later on", kPausedLater, kCue, "A", 1, TRUE, {"Stop", "Pause"}, 0, 1, 0},
        {"cue past the album's end", kFresh, kCue, "A", 5, TRUE, none, 0, 0, 0},
        {"stop idle", kFresh, kStopPlayback, "A", 1, TRUE, none, 0, 0, 0},
        {"stop playing", kPlaying, kStopPlayback, "A", 1, TRUE, {"Stop"}, 1, 0, 0},
        {"stop paused", kPaused, kStopPlayback, "A", 1, TRUE, {"Stop"}, 0, 1, 0},
    };
    const AlbumRecord a = MakeAlbum("A", 3);
    const AlbumRecord b = MakeAlbum("B", 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        Enter(player, c.state, a);
        const AlbumRecord& album = c.album[0] == 'A' ? a : b;
        BOOL result = FALSE;
        switch (c.request) {
        case kPlay: result = player.Play(album, c.track); break;
        case kPlayOn: result = player.PlayOn(album, c.track); break;
        case kPause: result = player.Pause(album, c.track); break;
        case kCue: result = player.Cue(album, c.track); break;
        case kStopPlayback: result = player.StopPlayback(); break;
        }
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.commands, player.posted);
        EXPECT_EQ(c.playing, player.IsPlaying());
        EXPECT_EQ(c.paused, player.IsPaused());
        EXPECT_EQ(c.finished, player.IsFinished());
    }
}

// The document's menu commands post to the MP3 thread whatever state the
// player is in; an open also clears a failed item's error flag.
TEST(MPEGRequests, MenuCommandsPostTheirRequests)
{
    enum Command { kPostPlay, kPostOpen, kStop, kPostPause, kTogglePause };
    struct MenuCase
    {
        const char* name;
        State state;
        Command command;
        std::vector<std::string> posted;
        BOOL error;
    } cases[] = {
        {"play while idle", kFresh, kPostPlay, {"Play"}, FALSE},
        {"play while paused", kPaused, kPostPlay, {"Play"}, FALSE},
        {"open the failed item again", kFailed, kPostOpen, {"InputOpen"}, FALSE},
        {"open while playing", kPlaying, kPostOpen, {"InputOpen"}, FALSE},
        {"stop while playing", kPlaying, kStop, {"Stop"}, FALSE},
        {"stop while idle", kFresh, kStop, {"Stop"}, FALSE},
        {"pause while playing", kPlaying, kPostPause, {"Pause"}, FALSE},
        {"pause while paused", kPaused, kPostPause, {"Pause"}, FALSE},
        {"pause after a failure keeps the error", kFailed, kPostPause, {"Pause"}, TRUE},
        {"toggle while playing pauses", kPlaying, kTogglePause, {"Pause"}, FALSE},
        {"toggle while paused plays", kPaused, kTogglePause, {"Play"}, FALSE},
        {"toggle while idle does nothing", kFresh, kTogglePause, {}, FALSE},
    };
    const AlbumRecord a = MakeAlbum("A", 3);
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        Enter(player, c.state, a);
        switch (c.command) {
        case kPostPlay: player.PostPlay(); break;
        case kPostOpen: player.PostOpen(); break;
        case kStop: player.Stop(); break;
        case kPostPause: player.PostPause(); break;
        case kTogglePause: player.TogglePause(); break;
        }
        EXPECT_EQ(c.posted, player.posted);
        EXPECT_EQ(c.error, player.HasError());
    }
}

TEST(MPEGRequests, CurrentItemMatchesByFileOrWholeAlbum)
{
    RecordingRequests player;
    const AlbumRecord a = MakeAlbum("A", 3);
    AlbumRecord copy = MakeAlbum("C", 1);
    copy.SetFileLocation(0, a.GetFileLocation(2));
    EXPECT_FALSE(player.IsPlayingItem(a, -1));
    player.Play(a, 2);
    EXPECT_TRUE(player.IsPlayingItem(copy, 0));
    EXPECT_TRUE(player.IsPlayingItem(a, -1));
    EXPECT_FALSE(player.IsPlayingItem(a, 1));
    EXPECT_FALSE(player.IsPlayingItem(a, 7));
    EXPECT_FALSE(player.IsPausedItem(a, 2));
}

TEST(MPEGRequests, TrackSteps)
{
    RecordingRequests player;
    const AlbumRecord a = MakeAlbum("A", 2);
    player.Play(a, -1);
    EXPECT_TRUE(player.IsWholeAlbum());
    player.posted.clear();
    player.PrevTrack();
    EXPECT_TRUE(player.posted.empty());
    player.NextTrack();
    EXPECT_EQ((std::vector<std::string>{"InputOpen", "Play"}), player.posted);
    EXPECT_EQ(1, player.GetTrack());
    player.posted.clear();
    player.NextTrack();
    EXPECT_TRUE(player.posted.empty());
    player.SetFlags(0, 1);
    player.PrevTrack();
    EXPECT_EQ((std::vector<std::string>{"Stop", "InputOpen"}), player.posted);
    EXPECT_EQ(0, player.GetTrack());
    player.posted.clear();
    player.TogglePause();
    EXPECT_EQ((std::vector<std::string>{"Play"}), player.posted);
}

TEST(MPEGRequests, WholeAlbumPlaysThroughAndEnds)
{
    RecordingRequests player;
    const AlbumRecord a = MakeAlbum("A", 2);
    player.Play(a, -1);
    player.CarryOut();
    player.OnPlayerState(kPlayerPlaying);
    player.OnPlayerState(kPlayerInputEnd);
    EXPECT_EQ((std::vector<std::string>{"InputOpen", "Play"}), player.posted);
    EXPECT_EQ(1, player.GetTrack());
    EXPECT_FALSE(player.IsFinished());
    player.CarryOut();
    player.OnPlayerState(kPlayerPlaying);
    player.OnPlayerState(kPlayerInputEnd);
    EXPECT_TRUE(player.posted.empty());
    EXPECT_EQ(std::vector<int>{kMsgStop}, player.sent);
    EXPECT_TRUE(player.IsFinished());
    EXPECT_FALSE(player.IsPlaying());
}

// The stop that goes before the open of a new item reports the old item stopped
// after the request cleared finished: the new item is not finished by it.
TEST(MPEGRequests, StoppedOfTheOldItemLeavesTheNewOneUnfinished)
{
    RecordingRequests player;
    const AlbumRecord a = MakeAlbum("A", 3);
    player.Play(a, 0);
    player.CarryOut();
    player.OnPlayerState(kPlayerPlaying);
    player.Play(a, 2);
    player.CarryOut();
    player.OnPlayerState(kPlayerStopped);
    EXPECT_FALSE(player.IsFinished());
    player.OnPlayerState(kPlayerPlaying);
    player.OnPlayerState(kPlayerStopped);
    EXPECT_TRUE(player.IsFinished());
}

// The "stopped" of the stop that went before a cue can come late, after the
// play of the cued item is requested: the item stays current and unfinished.
// A stop requested after the play still ends it.
TEST(MPEGRequests, AStaleStopBetweenPlayAndPlayingIsIgnored)
{
    const bool kStopAfterPlay[] = { false, true };
    for (bool stopAfterPlay : kStopAfterPlay) {
        RecordingRequests player;
        const AlbumRecord a = MakeAlbum("A", 3);
        player.Cue(a, 1);
        player.OnPlayerState(kPlayerPaused);
        EXPECT_TRUE(player.Play(a, 1));
        if (stopAfterPlay)
            player.StopPlayback();
        player.OnPlayerState(kPlayerStopped);
        EXPECT_EQ(stopAfterPlay, !!player.IsNearEnd()) << stopAfterPlay;
        EXPECT_STREQ("A", player.GetAlbumId());
        EXPECT_EQ(1, player.GetTrack());
        if (stopAfterPlay)
            continue;
        player.OnPlayerState(kPlayerPlaying);
        EXPECT_TRUE(player.IsPlaying());
        EXPECT_FALSE(player.IsNearEnd());
        player.OnPlayerState(kPlayerStopped);
        EXPECT_TRUE(player.IsNearEnd());
    }
}

// The decoder's refusals for a new item, in the order they come: a whole
// album steps to its next track, a single track fails.
TEST(MPEGRequests, NackStepsThroughAnAlbumOrFails)
{
    struct NackCase
    {
        const char* name;
        int track;
        std::vector<int> nacks;
        std::vector<std::string> posted;
        int trackAfter;
        BOOL finished, error;
    };
    const NackCase cases[] = {
        {"album: open refused", -1, {kMsgInputOpen}, {"InputOpen"}, 1, FALSE, FALSE},
        {"album: play refused", -1, {kMsgPlay}, {"InputOpen", "Play"}, 1, FALSE, FALSE},
        {"album: the play after a refused open plays the next track", -1, {kMsgInputOpen, kMsgPlay},
         {"InputOpen", "Play"}, 1, FALSE, FALSE},
        {"album: the stop before the open found nothing open", -1, {kMsgStop}, {}, 0, FALSE, FALSE},
        {"track: the stop before the open found nothing open", 0, {kMsgStop}, {}, 0, FALSE, FALSE},
        {"track: open refused", 0, {kMsgInputOpen}, {}, 0, TRUE, TRUE},
        {"track: open and play refused", 0, {kMsgInputOpen, kMsgPlay}, {}, 0, TRUE, TRUE},
        {"album: seek refused", -1, {kMsgSeek}, {}, 0, TRUE, TRUE},
    };
    const AlbumRecord a = MakeAlbum("A", 3);
    for (const NackCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        player.Play(a, c.track);
        // The answers may come before the MP3 thread has carried out the open.
        player.posted.clear();
        for (int command : c.nacks)
            player.OnNack(command);
        EXPECT_EQ(c.posted, player.posted);
        EXPECT_EQ(c.trackAfter, player.GetTrack());
        EXPECT_EQ(c.finished, player.IsFinished());
        EXPECT_EQ(c.error, player.HasError());
    }
}

// A play refused for want of an output device, on an album's first or a later
// track: no step to the next track, no finished mark, the error flag, one
// report; the playing thread's repeated request for the item tries nothing.
TEST(MPEGRequests, AnOutputFailureStopsWithoutStepping)
{
    const struct {
        const char* name;
        int track;
        bool afterFirstTrack;
        int trackAfter;
    } cases[] = {
        {"album, first track", -1, false, 0},
        {"album, after the first track ended", -1, true, 1},
        {"single track", 2, false, 2},
    };
    const AlbumRecord a = MakeAlbum("A", 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        player.Play(a, c.track);
        player.OnPlayerState(kPlayerPlaying);
        if (c.afterFirstTrack)
            player.OnPlayerState(kPlayerInputEnd);
        player.posted.clear();
        player.OnOutputFailed();
        EXPECT_EQ(std::vector<std::string>{}, player.posted);
        EXPECT_EQ(c.trackAfter, player.GetTrack());
        EXPECT_FALSE(player.IsFinished());
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_FALSE(player.IsBusy());
        EXPECT_TRUE(player.HasError());
        EXPECT_EQ(1, player.noOutputReports);
        if (c.track >= 0) {
            player.Play(a, c.track);
            EXPECT_EQ(std::vector<std::string>{}, player.posted);
        }
    }
}

// Near its end by the overlap (not before its length is known; a length of 0
// is not known), an item stays so while the playing thread keeps asking for
// it; the next item starts without the mark.
TEST(MPEGRequests, OverlapFinishesEarly)
{
    RecordingRequests player;
    AlbumRecord album = MakeAlbum("A", 2);
    player.SetFades(0, 0, 5);
    player.Play(album, 0);
    player.OnPlayerState(kPlayerPlaying);
    player.OnInputTimecode(0, 1);
    EXPECT_FALSE(player.IsFinished());
    player.OnInputDuration(0);
    player.OnInputTimecode(0, 0);
    EXPECT_FALSE(player.IsFinished());
    player.SetDuration(3, 0);
    player.OnInputTimecode(2, 54);
    EXPECT_FALSE(player.IsFinished());
    player.OnInputTimecode(2, 56);
    EXPECT_TRUE(player.IsFinished());
    player.Play(album, 0);
    EXPECT_TRUE(player.IsFinished());
    player.Play(album, 1);
    EXPECT_FALSE(player.IsFinished());
    player.SetFades(0, 0, 0);
    player.OnInputTimecode(2, 59);
    EXPECT_FALSE(player.IsFinished());
}

// Busy while a new item or track loads: from the request until the decoder
// reports the stream's length, playing or paused, or gives the item up. The
// "stopped" of the stop before the open belongs to the old item.
TEST(MPEGRequests, BusyWhileAnItemLoads)
{
    typedef std::function<void(RecordingRequests&, const AlbumRecord&)> Step;
    const struct
    {
        const char* name;
        std::vector<Step> steps;
        BOOL busy;
    } cases[] = {
        {"nothing asked", {}, FALSE},
        {"play requested", {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); }}, TRUE},
        {"old item stopped",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerStopped); }},
         TRUE},
        {"stream opened",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnInputDuration(185); }},
         FALSE},
        {"playing", {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); },
                     [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerPlaying); }},
         FALSE},
        {"cue requested", {[](RecordingRequests& p, const AlbumRecord& a) { p.Cue(a, 1); }}, TRUE},
        {"cued and paused", {[](RecordingRequests& p, const AlbumRecord& a) { p.Cue(a, 1); },
                             [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerPaused); }},
         FALSE},
        {"resume of the paused item opens nothing",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Cue(a, 1); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerPaused); },
          [](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 1); }},
         FALSE},
        {"track refused", {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); },
                           [](RecordingRequests& p, const AlbumRecord&) { p.OnNack(kMsgInputOpen); }},
         FALSE},
        {"album steps past a refused track",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, -1); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnNack(kMsgInputOpen); }},
         TRUE},
        {"decoder error", {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, 0); },
                           [](RecordingRequests& p, const AlbumRecord&) { p.OnErrorReport(); }},
         FALSE},
        {"next track of an album at its end",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Play(a, -1); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerPlaying); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerInputEnd); }},
         TRUE},
        {"track step while stopped, stream opened",
         {[](RecordingRequests& p, const AlbumRecord& a) { p.Cue(a, 0); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnPlayerState(kPlayerPaused); },
          [](RecordingRequests& p, const AlbumRecord&) { p.NextTrack(); },
          [](RecordingRequests& p, const AlbumRecord&) { p.OnInputDuration(60); }},
         FALSE},
    };
    const AlbumRecord a = MakeAlbum("A", 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        for (const Step& step : c.steps)
            step(player, a);
        EXPECT_EQ(c.busy, player.IsBusy());
    }
}

// A start counts as playing for the grace time, before the decoder says so; a
// cue is no start, and an item that ended is over.
TEST(MPEGRequests, AStartCountsAsPlayingForItsGraceTime)
{
    const struct {
        const char* name;
        bool start;
        DWORD later;
        BOOL grace;
        bool ended;
    } cases[] = {
        {"nothing started", false, 0, FALSE, false},
        {"just started", true, 0, TRUE, false},
        {"four seconds on", true, 4, TRUE, false},
        {"five seconds on", true, 5, FALSE, false},
        {"ended a second on", true, 1, FALSE, true},
    };
    const AlbumRecord a = MakeAlbum("A", 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingRequests player;
        player.Cue(a, 0);
        if (c.start)
            player.Play(a, 1);
        if (c.ended) {
            player.OnPlayerState(kPlayerPlaying);
            player.OnPlayerState(kPlayerInputEnd);
        }
        player.now += c.later;
        EXPECT_EQ(c.grace, player.InStartGrace());
    }
}

}  // namespace
