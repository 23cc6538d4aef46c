// The changer player's status parser: event texts with their data become state
// and status lines, and the parser sends what the playing logic needs (time
// code, fades, stops, re-queueing, power and front-panel corrections).
#include "tests/support/TestFramework.h"

#include "core/players/tests/FakePlayerHost.h"
#include "core/players/SonyPlayer.h"

#include <functional>
#include <memory>

namespace {

const std::string P45 = " cdsls001:ir[-45000] ";

class SonyStatusTest : public ::testing::Test
{
protected:
    SonyStatusTest() : player(new CSonyPlayer(&host))
    {
        NameChangerDevices(*player);
        player->ChangeState([&](ChangerState& s) {
            s.capacity = 400;
            s.allDiscs = 1;
            s.lastTrack = 12;   // disc information known: no disc query after reports
        });
    }

    void Text(const char* text) { player->OnStatusText(text); }
    std::vector<std::string> Sent() { return host.path.TakeSent(); }

    // A single track requested long enough ago, now playing with its length known.
    void PlayingSingleTrack(int disc, int track, int lengthMinutes, int lengthSeconds)
    {
        player->SetRequest(disc, track - 1, FALSE);
        player->ChangeState([&](ChangerState& s) {
            s.lastCommand = host.now - 60;
            s.currentDisc = disc;
            s.currentTrack = track;
            s.lengthMinutes = lengthMinutes;
            s.lengthSeconds = lengthSeconds;
            s.playing = 1;
            s.slots[disc - 1] = CSonyPlayer::kSlotHasDisc | CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotChecked;
        });
    }

    // A time report of the current track, minutes and seconds given in decimal.
    void Time(int track, int minutes, int seconds)
    {
        char text[64];
        snprintf(text, sizeof text, "cdslr001:time[%02d01%02d%02d]", track, minutes, seconds);
        Text(text);
    }

    CFakePlayerHost host;
    std::unique_ptr<CSonyPlayer> player;
};

TEST_F(SonyStatusTest, SplitsEventTexts)
{
    const struct
    {
        const char* text;
        const char* name;
        bool upper;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"cdslr001:playing[05031234] ", "playing", false, {0x05, 0x03, 0x12, 0x34}},
        {"cdslr004a:no_disc[01]", "no_disc", true, {0x01}},
        {"cdslr001: stop ", "stop", false, {}},
        {"noise", "", false, {}},
        {"cdslr001:time[0", "time", false, {}},
        {"cdslr001:time[0 1 2]", "time", false, {0x01, 0x20}},
        {"cdslr001:mode[zz]", "mode", false, {}},
    };
    for (const auto& c : cases) {
        bool upper = !c.upper;
        std::vector<BYTE> bytes;
        EXPECT_STREQ(c.name, CSonyPlayer::SplitStatusText(c.text, upper, bytes)) << c.text;
        EXPECT_EQ(c.upper, upper) << c.text;
        EXPECT_EQ(c.bytes, bytes) << c.text;
    }
}

TEST_F(SonyStatusTest, ReportsBecomeStateAndStatusLines)
{
    Text("cdslr004a:playing[01051234]");
    EXPECT_EQ(201, player->GetState().currentDisc);
    EXPECT_EQ(5, player->GetState().currentTrack);
    EXPECT_EQ(12, player->GetState().lengthMinutes);
    EXPECT_EQ(34, player->GetState().lengthSeconds);
    EXPECT_EQ(1, player->GetState().report);
    EXPECT_EQ(1, player->GetState().changing);
    EXPECT_STREQ("playingD201 T5 [-1:-1/12:34]", player->GetStatusLine());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(player->GetStatusEvent(), 0));
    EXPECT_EQ(std::vector<std::string>{"-1 201 5 12:34"}, host.verified);

    Text("cdslr004a:time[05000003]");   // index 0: before the track's start
    EXPECT_EQ(0, player->GetState().elapsedMinutes);
    EXPECT_EQ(-3, player->GetState().elapsedSeconds);

    const struct
    {
        const char* text;
        std::function<bool(CSonyPlayer&)> check;
    } cases[] = {
        {"cdslr001:play",
         [](CSonyPlayer& p) { return p.GetState().playing && !p.GetState().paused && !p.GetState().changing; }},
        {"cdslr001:pause", [](CSonyPlayer& p) { return !p.GetState().playing && p.GetState().paused; }},
        {"cdslr001:unloading", [](CSonyPlayer& p) { return p.GetState().changing && p.GetState().busy; }},
        {"cdslr001:error", [](CSonyPlayer& p) { return p.GetState().error == 1; }},
        {"cdslr001:no_disc[07]",
         [](CSonyPlayer& p) { return p.GetState().noDisc == 7 && p.GetState().slots[6] == CSonyPlayer::kSlotKnown; }},
        {"cdslr004a:no_disc[07]", [](CSonyPlayer& p) { return p.GetState().noDisc == 207; }},
        {"cdslr001:stored[31]", [](CSonyPlayer& p) { return p.GetState().storedBits == 0x31; }},
        {"cdslr001:now_at_disc[45]",
         [](CSonyPlayer& p) {
             return p.GetState().currentDisc == 45 && p.GetState().busy && (p.GetState().slots[44] & 3) == 3;
         }},
        {"cdslr001:goto_disc[9a]",
         [](CSonyPlayer& p) {
             return p.GetState().currentDisc == 100 && p.GetState().changing && p.GetState().lastTrack == -1;
         }},
        {"cdslr001:disc_info[07011245300a]",
         [](CSonyPlayer& p) {
             return p.GetState().currentDisc == 7 && p.GetState().leadValue == 1 && p.GetState().lastTrack == 12 &&
                    p.GetState().totalMinutes == 45 && p.GetState().totalSeconds == 30 &&
                    p.GetState().totalFrames == 10 && p.GetState().report;
         }},
        {"cdslr001:track_info[07020345]",
         [](CSonyPlayer& p) {
             return p.GetState().infoTrack == 2 && p.GetState().infoMinutes == 3 && p.GetState().infoSeconds == 45;
         }},
        {"cdslr001:player_type[000b]",
         [](CSonyPlayer& p) { return p.GetState().capacity == 100 && p.GetState().typeCode == 11; }},
        {"cdslr001:player_type[fe6b]",
         [](CSonyPlayer& p) { return p.GetState().capacity == 200 && p.GetState().typeCode == 107; }},
        {"cdslr004a:player_type[c86b]",
         [](CSonyPlayer& p) { return p.GetState().capacity == 400 && p.GetState().settleTime == 25; }},
        {"cdslr001:player_name[43582D3435350000]",
         [](CSonyPlayer& p) { return p.GetPlayerName() == "CX-455" && p.GetState().model355; }},
        {"cdslr001:memo_written", [](CSonyPlayer& p) { return p.GetState().acknowledge == 1; }},
        {"cdslr001:door_open", [](CSonyPlayer& p) { return p.GetState().doorOpen && p.GetState().slots[44] == 0; }},
        {"cdslr001:door_close", [](CSonyPlayer& p) { return !p.GetState().doorOpen; }},
        {"cdslr001:memo_text[124142434445464748494A4B4C4D]",
         [](CSonyPlayer& p) { return p.GetMemoText() == "ABCDEFGHIJKLM" && p.GetState().memoDisc == 12; }},
        {"cdslr001:memo_text2[0500014142430000000000000000000000]",
         [](CSonyPlayer& p) {
             return p.GetMemoText() == "ABC" && p.GetState().memoPart == 1 && p.GetState().memoComplete;
         }},
        {"cdslr001:memo_text3[0244454600000000000000000000000001]",
         [](CSonyPlayer& p) {
             return p.GetMemoText() == "ABCDEF" && p.GetState().memoPart == 2 && !p.GetState().memoComplete;
         }},
        {"cdslr001:invalid_disc2",
         [](CSonyPlayer& p) { return p.GetMemoText() == "" && p.GetState().memoDisc == 255; }},
        {"cdslr001:cd_text[12000158595A0000000000000000000000]",
         [](CSonyPlayer& p) {
             return p.GetCdText() == "XYZ" && p.GetState().cdTextTrack == 12 && p.GetState().cdTextComplete;
         }},
        {"cdslr001:no_cd_text", [](CSonyPlayer& p) { return p.GetCdText() == "" && p.GetState().cdTextComplete; }},
        {"cdslr001:no_group", [](CSonyPlayer& p) { return p.GetState().groupReply == -2; }},
        {"cdslr001:group_text[024A617A7A00000000000000000000]",
         [](CSonyPlayer& p) { return p.GetGroupName(1) == "Jazz" && p.GetState().groupReply == 2; }},
        {"cdslr001:group_discs_low[0203000000000000000000000000]",
         [](CSonyPlayer& p) { return p.GetState().groupMaps[1][0] == 3 && !p.GetState().groupValid[1]; }},
        {"cdslr001:group_discs_high[0200000000000000000000000000]",
         [](CSonyPlayer& p) { return p.GetState().acknowledge && !p.GetState().groupValid[1]; }},
        {"cdslr001:group_discs_higher[0200000000000000000000000080]",
         [](CSonyPlayer& p) {
             return p.GetState().groupValid[1] && p.GetState().groupReply == 2 && p.FindGroupOfDisc(2) == 1 &&
                    p.FindGroupOfDisc(312) == 1 && p.FindGroupOfDisc(3) == -1;
         }},
        {"cdslr001:delete_file[05FF00000000000000000000000000]",
         [](CSonyPlayer& p) { return p.GetState().deleteFileDisc == 5 && p.GetState().deleteFile[0] == 0xFF; }},
        {"cdslr001:no_delete_file", [](CSonyPlayer& p) { return p.GetState().deleteFileDisc == 255; }},
        {"cdslr001:artist_data[01000102030405060708090A0B0C0D0E0F]",
         [](CSonyPlayer& p) { return p.GetState().discArtists[1] == 0 && p.GetState().discArtists[16] == 15; }},
        {"cdslr001:no_artist[05]", [](CSonyPlayer& p) { return p.GetArtistText(5) == std::string(19, ' ').c_str(); }},
    };
    for (const auto& c : cases) {
        ResetEvent(player->GetStatusEvent());
        Text(c.text);
        EXPECT_TRUE(c.check(*player)) << c.text;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(player->GetStatusEvent(), 0)) << c.text;
    }
}

TEST_F(SonyStatusTest, PlayingReportsFireBeginTrackAndStartPendingPlays)
{
    player->SetRequest(5, 2, FALSE);
    Text("cdslr001:playing[05031234]");
    EXPECT_EQ(std::vector<std::string>{"begin_track[000503]"}, host.events);
    EXPECT_EQ(std::vector<std::string>{"cdsls001:timecode_on"}, Sent());

    host.events.clear();
    player->SetRequest(6, -1, FALSE);
    player->ChangeState([&](ChangerState& s) { s.playing = 1; });
    Text("cdslr001:playing[06011234]");
    EXPECT_EQ(std::vector<std::string>{"begin_track[0601]"}, host.events);

    // A whole disc arrives while the player waits: it starts it.
    player->ChangeState([&](ChangerState& s) { s.playing = 0; });
    player->PlayOrCue(7, -1, FALSE);
    Sent();
    Text("cdslr001:playing[07010400]");
    EXPECT_EQ((std::vector<std::string>{"cdsls001:timecode_on", "cdsls001:play " + P45}), Sent());

    // Track 1 instead of track 6: queued again.
    player->PlayOrCue(8, 5, FALSE);
    Sent();
    Text("cdslr001:playing[08010400]");
    EXPECT_EQ("CX270 misqueue to track 1 cdslr001:playing[08010400]", host.debug.back());
    std::vector<std::string> sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ("cdsls001:play_dt[0806] " + P45, sent.back());
}

TEST_F(SonyStatusTest, MismatchedPlayStopsOnlyAfterTheSettleTime)
{
    player->SetRequest(5, 2, FALSE);
    player->ChangeState([&](ChangerState& s) {
        s.lastCommand = host.now - 3;
        s.playing = 1;
    });
    Text("cdslr001:playing[05071234]");
    EXPECT_EQ("playing single mismatch", host.debug.back());
    EXPECT_EQ(std::vector<std::string>{"cdsls001:timecode_on"}, Sent());

    player->ChangeState([&](ChangerState& s) { s.lastCommand = host.now - 8; });
    Text("cdslr001:playing[05071234]");
    EXPECT_EQ("playing single mismatch stop cdslr001:playing[05071234]", host.debug.back());
    EXPECT_EQ(std::vector<std::string>{"cdsls001:stop cdsls001:stop" + P45}, Sent());
}

TEST_F(SonyStatusTest, TimeReportsFadeOnceThenRaiseNearEndThenStop)
{
    PlayingSingleTrack(5, 3, 4, 0);
    player->ChangeState([&](ChangerState& s) {
        s.fadeDownTime = 5;
        s.fadeOverlapTime = 3;
        s.trackFinishTweak = 0;
    });
    const struct
    {
        int minutes;
        int seconds;
        std::vector<std::string> sent;
        int nearEnd;
    } steps[] = {
        {3, 52, {}, 0},
        {3, 54, {"cdsls001:fade_down[05]" + P45}, 0},   // 6 s left: below 5 + 2
        {3, 55, {}, 0},                                    // once only
        {3, 56, {}, 1},                                    // 4 s left: below 3 + 2
        {3, 59, {"cdsls001:stop cdsls001:stop" + P45}, 1},
    };
    for (const auto& step : steps) {
        Time(3, step.minutes, step.seconds);
        EXPECT_EQ(step.sent, Sent()) << step.minutes << ":" << step.seconds;
        EXPECT_EQ(step.nearEnd, player->GetState().nearEnd) << step.minutes << ":" << step.seconds;
    }
}

TEST_F(SonyStatusTest, NextEntryOnTheSameDiscNeitherFadesNorStops)
{
    PlayingSingleTrack(5, 3, 4, 0);
    player->SetNextEntry(5, 3);   // track 4 follows on this disc
    player->ChangeState([&](ChangerState& s) { s.fadeDownTime = 5; });
    Time(3, 3, 59);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SonyStatusTest, LateOrImpossibleTimesAreDropped)
{
    PlayingSingleTrack(5, 3, 4, 0);
    const char* const texts[] = {"cdslr001:time[03010460]", "cdslr001:time[03010421]",
                                 "cdslr001:time[030104]", "cdslr001:time[0301040000]"};
    for (const char* text : texts) {
        Text(text);
        EXPECT_EQ(-1, player->GetState().elapsedMinutes) << text;
        EXPECT_TRUE(Sent().empty()) << text;
    }
}

TEST_F(SonyStatusTest, SkippingDiscIsNudgedOnlyWithTheOption)
{
    for (BOOL option : {FALSE, TRUE}) {
        host.detectSkipping = option;
        PlayingSingleTrack(5, 3, 4, 0);
        player->ChangeState([&](ChangerState& s) { s.previousDisc = -1; });
        Time(3, 1, 10);
        Time(3, 1, 10);
        std::vector<std::string> expected;
        if (option)
            expected = {"cdsls001:>>", "cdsls001:normal"};
        EXPECT_EQ(expected, Sent()) << option;
    }
}

TEST_F(SonyStatusTest, StopSetsNearEndOnlyAfterTheSettleTime)
{
    player->PlayOrCue(5, 2, TRUE);
    host.now += 3;
    Text("cdslr001:stop");
    EXPECT_EQ(0, player->GetState().nearEnd);
    host.now += 5;
    Text("cdslr001:stop");
    EXPECT_EQ(1, player->GetState().nearEnd);
    EXPECT_EQ(CSonyPlayer::kPlayNone, player->GetState().playState);
}

TEST_F(SonyStatusTest, PowerIsTurnedBackWithoutWaitingOnTheDeliveringThread)
{
    player->PowerOff();
    Sent();
    Text("cdslr001:power_on");
    // No ":flush": it would hold delivery waiting for an echo only this thread reads.
    EXPECT_EQ(std::vector<std::string>{"cdsls001:power_off" + P45}, Sent());
    player->PowerOn();
    Sent();
    Text("cdslr001:power_off");
    EXPECT_EQ(std::vector<std::string>{"cdsls001:power_on" + P45}, Sent());
}

TEST_F(SonyStatusTest, ModeReportsSetFlagsAndCorrectTheFrontPanel)
{
    Text("cdslr001:mode[01C0000503]");   // playing disc 5 track 3, all discs, discs scanned
    EXPECT_EQ(1, player->GetState().playing);
    EXPECT_EQ(0, player->GetState().busy);
    EXPECT_EQ(5, player->GetState().currentDisc);
    EXPECT_EQ(3, player->GetState().currentTrack);
    EXPECT_EQ(1, player->GetState().powered);
    EXPECT_EQ((std::vector<std::string>{"cdsls001:query_track[0503]" + P45, "cdsls001:timecode_on"}), Sent());

    const struct
    {
        const char* text;
        int playState;
        std::vector<std::string> sent;
    } cases[] = {
        {"cdslr001:mode[00C1000503]", CSonyPlayer::kPlaySingleTrack,
         {"cdca001:continue cdsls001:ir[-100000] "}},
        {"cdslr001:mode[00E0000503]", CSonyPlayer::kPlaySingleTrack, {"cdca001:repeat cdsls001:ir[-100000] "}},
        {"cdslr001:mode[00E0000503]", CSonyPlayer::kPlayNone, {}},
        {"cdslr001:mode[10C0000503]", CSonyPlayer::kPlayNone, {"cdsls001:power_on" + P45}},
        {"cdslr001:mode[01C00005]", CSonyPlayer::kPlayNone, {}},
    };
    for (const auto& c : cases) {
        player->ChangeState([&](ChangerState& s) { s.playState = c.playState; });
        Text(c.text);
        EXPECT_EQ(c.sent, Sent()) << c.text;
    }
    EXPECT_STREQ("modeD5 T3 [-1:-1/-1:-1]", player->GetStatusLine());

    Text("cdslr001:mode[0FC0000503]");
    EXPECT_EQ(1, player->GetState().doorOpen);
    EXPECT_EQ(0, player->GetState().playing);
}

TEST_F(SonyStatusTest, ArtistPacketsStayInsideTheirTables)
{
    int before[CSonyPlayer::kDiscArtists];
    memcpy(before, player->GetState().discArtists, sizeof before);
    Text("cdslr001:artist_data[00000102030405060708090A0B0C0D0E0F]");
    Text("cdslr001:artist_data[1A000102030405060708090A0B0C0D0E0F]");
    Text("cdslr001:artist_data[1900]");
    EXPECT_EQ(0, memcmp(before, player->GetState().discArtists, sizeof before));
    Text("cdslr001:artist_data[19000102030405060708090A0B0C0D0E0F]");
    EXPECT_EQ(15, player->GetState().discArtists[400]);

    const struct
    {
        const char* text;
        int artist;
        std::string result;
    } cases[] = {
        {"cdslr001:artist_text[0700414243]", 7, std::string(20, 'X')},   // packet 0: nothing
        {"cdslr001:artist_text[0701414243]", 7, "ABC" + std::string(17, ' ')},
        {"cdslr001:artist_text[07024142434445464748]", 7, "ABC" + std::string(10, ' ') + "ABCDEFG"},
        {"cdslr001:artist_text[FA0241424344454647]", 250, std::string(13, ' ') + "ABCDEFG"},
        {"cdslr001:artist_text[09FF41]", 9, std::string(20, 'X')},
    };
    for (const auto& c : cases) {
        Text(c.text);
        EXPECT_STREQ(c.result.c_str(), player->GetArtistText(c.artist)) << c.text;
    }
    Text("cdslr001:no_artist[08]");
    Text("cdslr001:artist_text[080241424344454647]");
    EXPECT_STREQ((std::string(13, ' ') + "ABCDEFG").c_str(), player->GetArtistText(8));
}

TEST_F(SonyStatusTest, BadInputChangesOnlyTheStatusLine)
{
    const char* const texts[] = {
        "noise", "cdslr001:", "cdslr001:whatever[12]", "cdslr001:playing[0", "cdslr001:mode[01C0]",
        "cdslr001:group_text[0B4A617A7A00000000000000000000]", "cdslr001:group_discs_low[00FF]",
        "cdslr004a:no_disc[FF]", "cdslr001:player_type[00]", "cdslr001:disc_info[0701]",
        "cdslr001:memo_text2[05]", "cdslr001:cd_text_extra[01]",
    };
    for (const char* text : texts) {
        Text(text);
        EXPECT_EQ(-1, player->GetState().currentTrack) << text;
        EXPECT_EQ(-1, player->GetState().typeCode) << text;
        EXPECT_EQ(400, player->GetState().capacity) << text;
        for (int g = 0; g < CSonyPlayer::kGroups; ++g)
            EXPECT_STREQ("", player->GetGroupName(g)) << text;
    }
    EXPECT_STREQ("no_discD-1 T-1 [-1:-1/-1:-1]", (Text("cdslr004a:no_disc[FF]"), player->GetStatusLine()));
    EXPECT_EQ(455, player->GetState().noDisc);
}

TEST_F(SonyStatusTest, MovesToAnotherDiscEndTheEntryAndIgnoredRequestsMarkIt)
{
    Text("cdslr001:ignored");
    EXPECT_EQ(CSonyPlayer::kNoDiscIgnored, player->GetState().noDisc);
    EXPECT_FALSE(player->IsPlaying(5, 0));

    player->SetRequest(5, 0, FALSE);
    const struct
    {
        const char* text;
        int nearEnd;
    } moves[] = {{"cdslr001:now_at_disc[07]", 1}, {"cdslr001:now_at_disc[05]", 0},
                 {"cdslr001:goto_disc[08]", 1}, {"cdslr001:displaying_disc[05]", 0}};
    for (const auto& m : moves) {
        Text(m.text);
        EXPECT_EQ(m.nearEnd, player->GetState().nearEnd) << m.text;
    }

    Text("cdslr001:no_disc[09]");
    Text("cdslr001:ignored");   // after a no-disc answer the slot marker stays
    EXPECT_EQ(9, player->GetState().noDisc);
}

TEST_F(SonyStatusTest, LibraryCheckOncePerSlotAndNewDiscs)
{
    host.discMatches = FALSE;
    Text("cdslr001:playing[05031234]");
    Text("cdslr001:playing[05031234]");
    EXPECT_EQ(std::vector<std::string>{"-1 5 3 12:34"}, host.verified);
    EXPECT_EQ(1, player->GetState().newDisc);
    player->ChangeState([&](ChangerState& s) { s.playState = CSonyPlayer::kPlaySearching; });
    Text("cdslr001:playing[06031234]");
    EXPECT_EQ(1u, host.verified.size());
}

} // namespace
