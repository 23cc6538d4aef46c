// A changer player on the real device path: the in-process device manager, a
// simulated interface unit on a pty and a changer on its control-bus port 0.
// Command texts leave as the changer's bytes, its reports come back as state
// and events, and waits give up after their retries.
#include "tests/support/TestFramework.h"

#include "tests/support/ChangerBus.h"
#include "tests/support/DebugCapture.h"
#include "devices/manager/DeviceManager.h"
#include "core/players/tests/FakePlayerHost.h"
#include "core/devpath/InProcessPath.h"
#include "core/players/PlayerHost.h"
#include "tests/support/PtySerial.h"
#include "devices/util/ResourceText.h"
#include "core/players/SonyPlayer.h"
#include "tests/support/TavlinSimulator.h"
#include "tests/support/Waits.h"

#include <afxmt.h>

#include <memory>

namespace {

const DWORD kPatienceMs = 5000;

// The document: the in-process device path and what the player needs of it.
class CDocumentStandIn : public CDevicePathHost, public CPlayerHost
{
public:
    CDocumentStandIn() : path(manager, *this) { path.SetMessageBoxes(FALSE); }

    void FireEvent(const char* text) override
    {
        CSingleLock hold(&m_lock, TRUE);
        m_events.push_back(text);
    }
    CString GetTransmitDeviceName() override { return "zymr"; }
    CDevicePath& GetDevicePath() override { return path; }
    void DebugEvent(const char*) override {}
    double GetFirmwareVersion() override { return 3.0; }
    BOOL DetectSkippingDiscs() override { return FALSE; }
    BOOL VerifyDiscAt(int, int, int, int, int) override { return TRUE; }
    time_t Now() override { return time(nullptr); }

    std::vector<std::string> Events()
    {
        CSingleLock hold(&m_lock, TRUE);
        return m_events;
    }

    CDeviceManager manager;
    CInProcessPath path;

private:
    CCriticalSection m_lock;
    std::vector<std::string> m_events;
};

class ChangerOnPtyTest : public ::testing::Test
{
protected:
    ChangerOnPtyTest() : unit(pty, 38400, 3.0), bus(unit, 0) {}

    void SetUp() override
    {
        ASSERT_EQ(1, doc.manager.AddTavlinPort(pty.Port()));
        CTavlinPort* port = doc.manager.GetTavlinPort(0);
        ASSERT_TRUE(port->Locate());
        port->SetKeepAlive(FALSE);
        doc.manager.StartMessageMonitor();
    }

    void TearDown() override
    {
        player.reset();   // its last flush needs the monitoring thread
        doc.manager.StopMessageMonitor();
    }

    // The devices of changer id 1 on unit 0, bus port 0, as the player control
    // defines them, and its player listening to both receive devices.
    void DefinePlayer(int capacity)
    {
        const struct
        {
            const char* resource;
            const char* name;
            int deviceNumber;
        } devices[] = {
            {"CDSLS.CDE", "cdsls001", 0}, {"CDSLS.CDE", "cdsls004a", 3}, {"CDSLR.CDE", "cdslr001", 0},
            {"CDSLR.CDE", "cdslr004a", 3}, {"CDCA.CDE", "cdca001", 0},
        };
        for (const auto& d : devices)
            ASSERT_TRUE(doc.path.AddDeviceText(LoadResourceText(d.resource), d.name, d.deviceNumber, 0, 1));
        player.reset(new CSonyPlayer(&doc));
        NameChangerDevices(*player);
        player->ChangeState([&](ChangerState& s) {
            s.capacity = capacity;
            s.playerNumber = 0;
        });
        TextCallback listener;
        listener.object = player.get();
        listener.function = static_cast<TextFunction>(&CSonyPlayer::OnStatusText);
        ASSERT_TRUE(doc.path.SetDeviceListener("cdslr001", listener));
        ASSERT_TRUE(doc.path.SetDeviceListener("cdslr004a", listener));
    }

    // The front panel as the changer reports it, before any place is asked for.
    void ReadMode()
    {
        player->QueryMode();
        ASSERT_TRUE(WaitUntil([this] { return player->GetState().allDiscs == 1; }, kPatienceMs));
    }

    enum Match { kWhole, kStartsWith };
    size_t CountMessages(const std::string& bytes, Match match = kWhole)
    {
        size_t count = 0;
        for (const TavlinUnitMessage& m : unit.Messages()) {
            std::string data = match == kWhole ? m.data : m.data.substr(0, bytes.size());
            count += m.port == 0 && data == bytes;
        }
        return count;
    }

    CDebugCapture debug;
    CPtySerial pty;
    CTavlinSimulator unit;
    CChangerBus bus;
    CDocumentStandIn doc;
    std::unique_ptr<CSonyPlayer> player;
};

TEST_F(ChangerOnPtyTest, PlaceWordsLeaveAsTheChangersBytes)
{
    bus.Add(0, 107, 400);
    DefinePlayer(400);
    ASSERT_TRUE(doc.path.SendDeviceCommand("cdsls001:play_dt[0503]"));
    EXPECT_TRUE(WaitUntil([this] { return CountMessages("\x90\x50\x05\x03") == 1; }, kPatienceMs));

    ReadMode();
    player->PlayOrCue(201, 0, TRUE);
    EXPECT_TRUE(WaitUntil([this] { return CountMessages("\x93\x50\x01\x01") == 1; }, kPatienceMs));
}

TEST_F(ChangerOnPtyTest, UpperAddressTellsTheCapacity)
{
    bus.Add(0, 107, 400);
    DefinePlayer(0);
    ASSERT_TRUE(player->DetectPlayerType());
    EXPECT_EQ(107, player->GetState().typeCode);
    EXPECT_TRUE(WaitUntil([this] { return player->GetState().capacity == 400; }, kPatienceMs));
    EXPECT_STREQ("CDP-CX400/450 (400-disc)", player->GetDescription());
}

TEST_F(ChangerOnPtyTest, ReportsBecomeStateAndBeginTrackThenOneFadeDown)
{
    ChangerDisc disc;
    disc.tracks = {200, 180, 240};
    bus.Add(0, 107, 400).SetDisc(5, disc);
    DefinePlayer(400);
    player->ChangeState([&](ChangerState& s) { s.fadeDownTime = 5; });
    ReadMode();

    player->PlayOrCue(5, 2, FALSE);   // cued; started when the changer is there
    ASSERT_TRUE(WaitUntil([this] { return bus.Inspect(0, [](CChangerModel& c) { return c.IsPlaying(); }); }, kPatienceMs));
    ASSERT_TRUE(WaitUntil([this] { return player->GetState().playing == 1 && player->GetState().lastTrack == 3; }, kPatienceMs));
    EXPECT_EQ(5, player->GetState().currentDisc);
    EXPECT_EQ(3, player->GetState().currentTrack);
    EXPECT_EQ(4, player->GetState().lengthMinutes);
    EXPECT_EQ(0, player->GetState().lengthSeconds);
    std::vector<std::string> events = doc.Events();
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "begin_track[000503]"));
    EXPECT_TRUE(bus.Inspect(0, [](CChangerModel& c) { return c.TimeCode(); }));

    // To 4 s before the end: the fade starts once fewer than 5 + 2 s are left.
    bus.RunSeconds(236);
    ASSERT_TRUE(WaitUntil(
        [this] { return player->GetState().elapsedMinutes == 3 && player->GetState().elapsedSeconds == 56; }, kPatienceMs));
    // The fade is decided after the elapsed time is stored, on the receiving thread.
    ASSERT_TRUE(WaitUntil([this] { return bus.Inspect(0, [](CChangerModel& c) { return c.FadeDowns(); }) > 0; }, kPatienceMs));
    EXPECT_EQ(1u, CountMessages("\x90\x5E\x05"));
    EXPECT_EQ(1, bus.Inspect(0, [](CChangerModel& c) { return c.FadeDowns(); }));
}

// Words whose codes the changer understands differently from a guess: the
// memo write is acknowledged at the first attempt, the end of a scan and the
// CD-text query of a disc without CD text reach the changer and come back.
TEST_F(ChangerOnPtyTest, MemoWriteScanEndAndMissingCdTextAreUnderstood)
{
    ChangerDisc disc;
    disc.tracks = {200};
    bus.Add(0, 107, 400).SetDisc(5, disc);
    DefinePlayer(400);

    TaskCancelFlag cancel{0};
    EXPECT_TRUE(player->WriteMemoText(12, "Short memo", &cancel));
    EXPECT_EQ("Short memo", bus.Inspect(0, [](CChangerModel& c) { return c.Memo(12); }).substr(0, 10));
    EXPECT_EQ(1u, CountMessages("\x90\x80\x12", kStartsWith));

    player->ScanForward();
    player->NormalSpeed();
    EXPECT_TRUE(WaitUntil([this] { return CountMessages("\x90\x1F") == 1; }, kPatienceMs));

    player->PlayOrCue(5, 1, TRUE);
    ASSERT_TRUE(WaitUntil([this] { return player->GetState().currentDisc == 5; }, kPatienceMs));
    player->ChangeState([&](ChangerState& s) { s.cdTextComplete = 0; });
    ASSERT_TRUE(player->QueryCdText(1));
    EXPECT_TRUE(WaitUntil([this] { return player->GetState().cdTextComplete == 1; }, kPatienceMs));
}

TEST_F(ChangerOnPtyTest, WaitsRetryFiveTimesAgainstASilentChanger)
{
    bus.Add(0, 107, 400).Faults().silent = true;
    DefinePlayer(400);
    EXPECT_FALSE(player->DetectPlayerType());
    EXPECT_TRUE(WaitUntil([this] { return CountMessages("\x90\x22") == 5; }, kPatienceMs));
    EXPECT_EQ(-1, player->GetState().typeCode);
}

} // namespace
