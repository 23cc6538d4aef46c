// A changer player talking with a changer behind a text-level path: reading
// disc and track information, recovering from a changer that goes to track 1,
// nudging a skipping disc, binary track numbers and the door.
#include "tests/support/TestFramework.h"

#include "core/players/tests/ChangerTextPath.h"
#include "core/players/tests/FakePlayerHost.h"
#include "core/players/SonyPlayer.h"

#include <algorithm>
#include <memory>

namespace {

const int kPatienceMs = 5000;

class ChangerFlowTest : public ::testing::Test
{
protected:
    ChangerFlowTest() : changer(path.bus.Add(0, 107, 400))
    {
        ChangerDisc disc;
        disc.tracks = {200, 180, 240, 100, 100, 100, 100, 100, 100, 100, 100, 150};
        changer.SetDisc(5, disc);
        host.road = &path;
        host.now = time(nullptr);
        player.reset(new CSonyPlayer(&host));
        NameChangerDevices(*player);
        player->ChangeState([&](ChangerState& s) { s.capacity = 400; });
        path.ListenFor(*player);
        player->QueryMode();
        Settle();
    }

    ~ChangerFlowTest() override
    {
        Settle();
        player.reset();
    }

    void Settle() { ASSERT_TRUE(path.WaitUntilDelivered(kPatienceMs)); }

    bool Debugged(const std::string& start)
    {
        return std::any_of(host.debug.begin(), host.debug.end(),
                           [&](const std::string& d) { return d.compare(0, start.size(), start) == 0; });
    }

    CFakePlayerHost host;
    CChangerTextPath path;
    CChangerModel& changer;
    std::unique_ptr<CSonyPlayer> player;
};

TEST_F(ChangerFlowTest, DiscAndTrackInformationArrive)
{
    ASSERT_TRUE(player->ReadDiscInfo(5, nullptr));
    EXPECT_EQ(12, player->GetState().lastTrack);
    EXPECT_EQ(26, player->GetState().totalMinutes);
    EXPECT_EQ(10, player->GetState().totalSeconds);
    ASSERT_TRUE(player->ReadTrackInfo(5, 1, nullptr));
    EXPECT_EQ(3, player->GetState().infoMinutes);
    EXPECT_EQ(0, player->GetState().infoSeconds);
}

TEST_F(ChangerFlowTest, ChangerThatGoesToTrackOneIsQueuedAgain)
{
    changer.Faults().misqueues = 1;
    ASSERT_TRUE(player->PlayAt(5, 2));
    Settle();
    EXPECT_TRUE(Debugged("CX270 misqueue to track 1 "));
    EXPECT_TRUE(changer.IsPlaying());
    EXPECT_EQ(3, changer.Track());
    EXPECT_EQ(1, player->GetState().playing);
    EXPECT_EQ(3, player->GetState().currentTrack);
    EXPECT_NE(host.events.end(), std::find(host.events.begin(), host.events.end(), "begin_track[000503]"));
}

// A stop asked for while a play is on its way (its word sent, or waiting
// for the changer to reach its place) stops the changer, although the player
// has not yet heard it play: the changer's reports come after the stop.
TEST_F(ChangerFlowTest, AStopWhileAPlayStartsIsNotLost)
{
    path.bus.Inspect(0, [](CChangerModel& model) {
        model.SetDisc(7, ChangerDisc{ { 100, 100, 100 } });
        return 0;
    });
    const struct
    {
        const char* name;
        int disc;
        BOOL play;
    } cases[] = {
        { "played at its place", 5, TRUE },
        { "moved to another disc, to play once there", 7, FALSE },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        path.HoldAnswers(true);
        ASSERT_TRUE(player->PlayOrCue(c.disc, 2, c.play));
        ASSERT_EQ(0, player->GetState().playing);
        path.TakeSent();
        player->StopIfActive();
        std::vector<std::string> sent = path.TakeSent();
        EXPECT_TRUE(std::any_of(sent.begin(), sent.end(),
                                [](const std::string& text) { return text.find(":stop") != std::string::npos; }));
        path.HoldAnswers(false);
        Settle();
        EXPECT_FALSE(changer.IsPlaying());
        EXPECT_EQ(0, player->GetState().playing);
    }
}

TEST_F(ChangerFlowTest, SkippingDiscIsNudgedWhenTheOptionIsOn)
{
    for (BOOL option : {FALSE, TRUE}) {
        host.detectSkipping = option;
        player->PlayOrCue(5, 0, TRUE);
        Settle();
        path.bus.RunSeconds(5);
        changer.Faults().skipping = true;
        Settle();
        path.TakeSent();
        path.bus.RunSeconds(1);
        Settle();
        changer.Faults().skipping = false;
        std::vector<std::string> sent = path.TakeSent();
        bool nudged = std::find(sent.begin(), sent.end(), "cdsls001:>>") != sent.end() &&
                      std::find(sent.begin(), sent.end(), "cdsls001:normal") != sent.end();
        EXPECT_EQ(bool(option), nudged);
    }
}

TEST_F(ChangerFlowTest, BinaryTrackNumbersAreLearntFromTheModeReport)
{
    changer.Faults().binaryTracks = true;
    player->PlayOrCue(5, 11, TRUE);
    Settle();
    EXPECT_EQ(12, player->GetState().currentTrack);
    EXPECT_EQ(0, player->GetState().binaryTracks);
    player->QueryMode();
    Settle();
    EXPECT_EQ(1, player->GetState().binaryTracks);
    EXPECT_EQ(12, player->GetState().currentTrack);
}

TEST_F(ChangerFlowTest, OpenDoorForgetsTheSlots)
{
    ASSERT_TRUE(player->ReadDiscInfo(5, nullptr));
    EXPECT_NE(0u, player->GetState().slots[4]);
    path.bus.OpenDoor(0, true);
    Settle();
    EXPECT_EQ(1, player->GetState().doorOpen);
    EXPECT_EQ(0u, player->GetState().slots[4]);
    EXPECT_FALSE(player->HasUnknownSlots());
    path.bus.OpenDoor(0, false);
    Settle();
    EXPECT_EQ(0, player->GetState().doorOpen);
    EXPECT_TRUE(player->HasUnknownSlots());
}

} // namespace
