// The document with an interface unit on a pty among the COM ports it checks,
// and a changer on the unit's first control bus: the start-up finds the unit
// through "COM Ports to Check", sets it up from the options, scans the bus,
// and applies the IR receiver option to the unit only when it differs.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "tests/support/ChangerBus.h"
#include "devices/manager/DeviceManager.h"
#include "devices/port/TavlinPort.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"
#include "tests/support/Waits.h"

namespace {

// The document checks COM1 to COM8 only.
const int kUnitPort = 7;
const int kIrReceiverPort = 4;
const DWORD kPatienceMs = 5000;

class ZymDocUnitTest : public DocFixture
{
protected:
    ZymDocUnitTest() : m_pty(kUnitPort), m_unit(m_pty, 38400, 3.0), m_bus(m_unit, 0)
    {
        // The disc of the library's album there (two tracks of 100 s): a
        // disc the library does not know would wait for identification.
        ChangerDisc disc;
        disc.tracks = { 100, 100 };
        m_bus.Add(1, 107, 400).SetDisc(5, disc);
        Option("COM Ports to Check", 1 << (kUnitPort - 1));
        Option("IR Sample Rate", 50);
        Option("IR Timeout Period", 20);
    }

    size_t CountCommands(int port, BYTE code)
    {
        std::string command = CTavlinSimulator::Bytes({ (port << 5) + 0x1F, code });
        const std::string received = m_unit.Received();
        size_t count = 0;
        for (size_t at = received.find(command); at != std::string::npos; at = received.find(command, at + 1))
            ++count;
        return count;
    }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CChangerBus m_bus;
};

TEST_F(ZymDocUnitTest, StartUpFindsTheUnitSetsItUpAndScansItsBus)
{
    Open();
    m_doc->RunStartup();
    Texts trace = m_trace.Take();
    EXPECT_EQ(1, std::count(trace.begin(), trace.end(), "status Locating Players"));
    ASSERT_EQ(1, m_doc->GetDevicePath().GetNumTavlins());
    EXPECT_EQ(1, m_doc->GetSonyControl()->GetPlayerCount());
    EXPECT_TRUE(m_doc->IsPlayerAvailable(0));
    EXPECT_FALSE(m_doc->IsPlayerAvailable(1));
    TavlinUnitSettings settings = m_unit.Settings();
    // Ports 0-3 and the IR receiver enabled; the sample period in the unit's
    // 0.2 us steps. The time-out goes out in samples of the period the port
    // last heard of (the simulated unit does not echo a new period).
    EXPECT_EQ(0x1F, settings.enabledPorts & 0x1F);
    EXPECT_EQ(250, settings.sampleCount);
    EXPECT_NE(0, settings.timeoutCount);
    Close();
}

TEST_F(ZymDocUnitTest, TheIrReceiverFollowsTheOptionOnlyWhenItDiffers)
{
    Option("Auto Locate Players", 0);
    Open();
    m_doc->RunStartup();
    const struct
    {
        int option;
        size_t enables, disables;   // port 4 commands the apply sent
    } applies[] = {
        { 1, 0, 0 }, { 0, 0, 1 }, { 0, 0, 0 }, { 1, 1, 0 },
    };
    // Commands reach the unit some time after the apply, and the port learns
    // the new state from the unit's answer: each row waits for both. Every
    // row without a command is followed by one with, which would count a
    // late stray too.
    CTavlinPort* port = m_doc->GetDeviceManager()->GetTavlinPort(0);
    // The start-up's own enable must have reached the unit first, or a loaded
    // machine counts it in the first row.
    ASSERT_TRUE(WaitUntil([&] {
        return (m_unit.Settings().enabledPorts & (1 << kIrReceiverPort)) != 0 &&
               port->IsPortEnabled(kIrReceiverPort) != 0;
    }, kPatienceMs));
    int row = 0;
    for (const auto& apply : applies)
    {
        SCOPED_TRACE(row++);
        m_unit.ClearReceived();
        m_doc->GetOptions().m_page4.m_enableIrReceiver = apply.option;
        m_doc->ApplyOptions(0, 0);
        if (apply.enables + apply.disables > 0)
            EXPECT_TRUE(m_unit.WaitForReceived(
                CTavlinSimulator::Bytes({ (kIrReceiverPort << 5) + 0x1F, apply.enables ? 0x03 : 0x02 }), 5000));
        EXPECT_EQ(apply.enables, CountCommands(kIrReceiverPort, 0x03));
        EXPECT_EQ(apply.disables, CountCommands(kIrReceiverPort, 0x02));
        EXPECT_EQ(apply.option != 0, (m_unit.Settings().enabledPorts & (1 << kIrReceiverPort)) != 0);
        EXPECT_TRUE(WaitUntil([&] { return (port->IsPortEnabled(kIrReceiverPort) != 0) == (apply.option != 0); }, kPatienceMs));
    }
    Close();
}

// Every tenth tick asks the quiet changers for their mode, unless "Poll
// Player Status" is off.
TEST_F(ZymDocUnitTest, TheTickPollsTheChangersEveryTenthTick)
{
    Open();
    m_doc->RunTick();   // the start-up's, the first of ten
    const std::string modeQuery = CTavlinSimulator::Message(0, CTavlinSimulator::Bytes({ 0x91, 0x0F }));
    time_t now = time(nullptr);
    const struct
    {
        int poll;
        int ticks;
        bool asked;
    } rows[] = {
        { 1, 8, false }, { 1, 1, true }, { 0, 10, false }, { 1, 10, true },
    };
    int row = 0;
    for (const auto& r : rows)
    {
        SCOPED_TRACE(row++);
        m_doc->GetOptions().m_page5.m_pollPlayerStatus = r.poll;
        m_doc->ApplyOptions(0, 0);
        // Long enough since the last poll for the changer to be asked again.
        now += 10;
        m_doc->GetClock().Set(now);
        m_unit.ClearReceived();
        for (int tick = 0; tick < r.ticks; ++tick)
            m_doc->RunTick();
        EXPECT_EQ(r.asked, m_unit.WaitForReceived(modeQuery, r.asked ? 5000 : 300));
    }
    Close();
}

// From the play list to the changer's bus: the playing thread's request leaves
// through the player control and the device path as the changer's words.
TEST_F(ZymDocUnitTest, APlayListEntryOfTheChangerPlaysThere)
{
    Option("Playlist Save and Restore", 0);
    Open();
    CMessageBoxScript boxes;
    AddChangerAlbum("000000000000000A", 0, 5);
    m_doc->RunStartup();
    ASSERT_EQ(1, m_doc->GetSonyControl()->GetPlayerCount());
    m_trace.Take();
    m_doc->GetPlayList()->AddItem(CLibItem("000000000000000A", 1));
    m_doc->OnPlaylistPlay();
    // The changer moves to the entry's disc and track and plays it.
    auto placed = [&] {
        return m_bus.Inspect(1, [](CChangerModel& changer) {
            return changer.IsPlaying() && changer.Disc() == 5 && changer.Track() == 2;
        });
    };
    EXPECT_TRUE(WaitUntil(placed, kPatienceMs));
    auto events = [&] {
        Texts found;
        for (const std::string& line : m_trace.Take())
        {
            if (line == "event playlist_play" || line == "event using_player[cd1]" || line == "event begin_track[000502]")
                found.push_back(line.substr(6));
        }
        return found;
    };
    Texts seen;
    EXPECT_TRUE(WaitUntil([&] {
        for (const std::string& event : events())
            seen.push_back(event);
        return seen.size() >= 3;
    }, kPatienceMs));
    EXPECT_EQ(Texts({ "playlist_play", "using_player[cd1]", "begin_track[000502]" }),
              Texts(seen.begin(), seen.begin() + std::min<size_t>(seen.size(), 3)));
    m_doc->OnPlaylistStop();
    Close();
    EXPECT_EQ(0, boxes.Unscripted());
}

} // namespace
