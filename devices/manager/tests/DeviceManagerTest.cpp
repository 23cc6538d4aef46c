// The device manager against simulated interface units on ptys: command texts
// cut into items, frames on the wire, received codes matched and delivered to
// the right listeners in order, and devices, users and the monitoring thread
// changing under each other.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "tests/support/DebugCapture.h"
#include "devices/manager/tests/DeviceFiles.h"
#include "devices/manager/DeviceManager.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kChanger[] = "type=tavlin\n00011010:power\n0011:status\n";
const char kIntercom[] = "type=devrxtx\n";
const char kReceiver[] = "type=devrx\n";
const char kLowLevel[] = "type=lowlevel\n";

// What the listeners heard, each text behind the listener's tag.
class CEventLog
{
public:
    CEventLog() { InitializeCriticalSection(&m_lock); }
    ~CEventLog() { DeleteCriticalSection(&m_lock); }

    void Add(const std::string& text)
    {
        EnterCriticalSection(&m_lock);
        m_texts.push_back(text);
        LeaveCriticalSection(&m_lock);
    }
    std::vector<std::string> Texts()
    {
        EnterCriticalSection(&m_lock);
        std::vector<std::string> texts = m_texts;
        LeaveCriticalSection(&m_lock);
        return texts;
    }
    void Clear()
    {
        EnterCriticalSection(&m_lock);
        m_texts.clear();
        LeaveCriticalSection(&m_lock);
    }
    // The texts once count have come (or what came within the wait).
    std::vector<std::string> WaitFor(size_t count, int timeoutMs = 3000)
    {
        WaitUntil([&] { return Texts().size() >= count; }, DWORD(timeoutMs));
        return Texts();
    }

private:
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_texts;
};

class CTaggedListener : public CCallbackTarget
{
public:
    CTaggedListener(CEventLog& log, const char* tag) : m_log(log), m_tag(tag) {}
    void OnText(CString text) { m_log.Add(m_tag + ">" + static_cast<const char*>(text)); }

private:
    CEventLog& m_log;
    std::string m_tag;
};

const TextFunction kOnText = static_cast<TextFunction>(&CTaggedListener::OnText);

class CQuietManager : public CDeviceManager
{
public:
    CQuietManager() { GetError().m_messageBox = FALSE; }
};

// A manager whose user 0 listens as "user"; devices listen under their names.
class ManagerTest : public ::testing::Test
{
protected:
    ManagerTest() : m_user(m_log, "user") { m_manager.SetUserCallback(0, &m_user, kOnText); }

    void AddDevice(const char* text, const char* name, int unit, int ports)
    {
        ASSERT_EQ(1, m_manager.AddDeviceText(0, text, name, 0, unit, ports)) << m_manager.GetErrorText();
        m_listeners.emplace_back(new CTaggedListener(m_log, name));
        m_manager.SetDeviceCallback(0, name, m_listeners.back().get(), kOnText);
    }

    CDebugCapture m_debug;
    CEventLog m_log;
    CTaggedListener m_user;
    std::vector<std::unique_ptr<CTaggedListener>> m_listeners;
    CQuietManager m_manager;
};

// One simulated unit on a pty, located by the manager's port, its control-bus
// port 0 and IR channel 0 wired back to themselves.
struct SimulatedUnit
{
    explicit SimulatedUnit(CDeviceManager& manager) : unit(pty)
    {
        TavlinFixture fixture;
        fixture.busPorts = 0x01;
        fixture.irChannels = 0x01;
        unit.SetFixture(fixture);
        EXPECT_EQ(1, manager.AddTavlinPort(pty.Port()));
        CTavlinPort* port = manager.GetTavlinPort(manager.GetNumTavlins() - 1);
        EXPECT_TRUE(port->Locate());
        port->SetKeepAlive(FALSE);
    }

    CPtySerial pty;
    CTavlinSimulator unit;
};

struct ItemCase
{
    const char* text;
    std::vector<std::string> items;   // device "|" command
};

TEST(CommandText, CutsIntoItems)
{
    const ItemCase cases[] = {
        {"", {}},
        {"power", {}},
        {"player1:play_dt[0105] player1:ir[-45000]", {"player1|play_dt[0105]", "player1|ir[-45000]"}},
        {"amp: volume_up  tuner:  preset[ 3 ]", {"amp|volume_up", "tuner|preset[ 3 ]"}},
        {"tv:raw[01 02] vcr:play", {"tv|raw[01 02]", "vcr|play"}},
        {"tv:raw[01 02 vcr:play", {"tv|raw[01", "02 vcr|play"}},
        {"a:x[[1] 2] b:y", {"a|x[[1] 2]", "b|y"}},
        {" a : on\r\nb:off\tc:on trailing", {"a|on", "b|off", "c|on"}},
    };
    for (const ItemCase& c : cases) {
        CString rest(c.text);
        CString device;
        CString command;
        std::vector<std::string> items;
        while (NextCommandItem(rest, device, command))
            items.push_back(std::string(device) + "|" + static_cast<const char*>(command));
        EXPECT_EQ(c.items, items) << c.text;
    }
}

TEST(EventText, GivesWordAndBytes)
{
    std::vector<BYTE> bytes;
    EXPECT_EQ(CString("status"), ParseEventText("cd1:status[0A1f] ", bytes));
    EXPECT_EQ((std::vector<BYTE>{0x0A, 0x1F}), bytes);
    EXPECT_EQ(CString("power"), ParseEventText("tv: power ", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(CString(), ParseEventText("power", bytes));
}

struct SendCase
{
    const char* text;
    int result;
    const char* error;                   // manager's error text after a failure
    std::vector<std::string> delivered;  // intercommunication texts, in order
};

TEST_F(ManagerTest, DispatcherStopsTheLineAtAnItemItCannotHandOn)
{
    AddDevice(kIntercom, "talk", 0, 0);
    AddDevice(kReceiver, "ear", 0, 0);
    AddDevice(kChanger, "tv", 0, 0x01);
    AddDevice("type=cm11a\n", "lamp", 0, 0);
    AddDevice("type=kelto\n", "switch", 2, 0);
    const SendCase cases[] = {
        {"", 1, nullptr, {}},
        {"power", 1, nullptr, {}},
        {"TALK:hello[a b] talk:again", 1, nullptr, {"talk>TALK:hello[a b]", "talk>talk:again"}},
        {"talk:on Nosuch:off talk:never", 0, "Nosuch is not a known device name", {"talk>talk:on"}},
        {"EAR:x", 0, "The intercommunication device EAR was specified as receive only for this client", {}},
        {"tv:rewind", 0, "rewind is not a recognized command for the device tv", {}},
        {"tv:power", 0, "tv refers to a Tavlin which doesn't exist", {}},
        {"Lamp:a1on", 0, "Lamp refers to a CM11a which doesn't exist", {}},
        {"switch:in1out2", 0, "switch refers to a Kelto which doesn't exist", {}},
    };
    for (const SendCase& c : cases) {
        m_manager.GetError().m_text = "No Error";
        m_log.Clear();
        EXPECT_EQ(c.result, m_manager.SendDefault(c.text)) << c.text;
        EXPECT_EQ(CString(c.error ? c.error : "No Error"), m_manager.GetErrorText()) << c.text;
        // Queued messages wait for a pass of the monitor; one pass delivers one.
        for (size_t i = 0; i < c.delivered.size(); ++i)
            m_manager.PollMessages();
        EXPECT_EQ(c.delivered, m_log.Texts()) << c.text;
    }
}

// A quiet send gives the refusal's reason and leaves the error holder alone:
// with message boxes on, any box would fail the test.
TEST_F(ManagerTest, QuietSendsGiveTheReasonWithoutABox)
{
    AddDevice(kIntercom, "talk", 0, 0);
    AddDevice(kReceiver, "ear", 0, 0);
    m_manager.GetError().m_messageBox = TRUE;
    const struct
    {
        const char* text;
        int result;
        const char* reason;
    } cases[] = {
        {"talk:on", 1, ""},
        {"talk:on nosuch:off", 0, "nosuch is not a known device name"},
        {"ear:x", 0, "The intercommunication device ear was specified as receive only for this client"},
    };
    for (const auto& c : cases) {
        m_manager.GetError().m_text = "No Error";
        CString reason = "stale";
        EXPECT_EQ(c.result, m_manager.SendQuietly(0, c.text, reason)) << c.text;
        EXPECT_EQ(CString(c.reason), reason) << c.text;
        EXPECT_EQ(CString("No Error"), m_manager.GetErrorText()) << c.text;
    }
    m_manager.GetError().m_messageBox = FALSE;
}

// Nothing drains the queue while the monitoring thread is stopped: it holds
// only messages someone receives, and at most kMaxIntercomMessages of them.
TEST_F(ManagerTest, IntercomQueueIsBoundedAndHoldsOnlyWhatSomeoneReceives)
{
    AddDevice("type=devtx\n", "out", 0, 0);
    AddDevice(kIntercom, "talk", 0, 0);
    const int bound = CDeviceManager::kMaxIntercomMessages;
    for (int i = 0; i < 2 * bound; ++i)
        ASSERT_EQ(1, m_manager.SendDefault("out:x")) << i;
    EXPECT_EQ(CString(), m_manager.PollMessages());
    for (int i = 0; i < bound; ++i)
        ASSERT_EQ(1, m_manager.SendDefault(i ? "talk:x" : "talk:first")) << i;
    EXPECT_EQ(0, m_manager.SendDefault("talk:over"));
    EXPECT_EQ(CString("The intercommunication queue is full; talk:over was dropped"), m_manager.GetErrorText());
    // Oldest first; a delivery makes room for one more.
    EXPECT_EQ(CString("talk:first"), m_manager.PollMessages());
    EXPECT_EQ(1, m_manager.SendDefault("talk:last"));
    EXPECT_EQ(0, m_manager.SendDefault("talk:over"));
}

struct MatchCase
{
    const char* data;
    int unit;
    int code;
    const char* result;
    std::vector<std::string> delivered;
};

TEST_F(ManagerTest, ReceivedCodesMatchTheirDevicesAndReachDeviceThenUser)
{
    AddDevice(kLowLevel, "raw", 0, 0);
    AddDevice(kChanger, "tv", 0, 0x01);
    // Code data that opens without a bit describes no received code.
    AddDevice("type=tavlin\nx1:odd\n", "odd", 0, 0x01);
    AddDevice("type=cm11a\n", "lamp", 0, 0);
    const std::vector<std::string> raw = {"raw>raw:sl[x]", "user>raw:sl[x]"};
    auto then = [&raw](std::vector<std::string> texts) {
        texts.insert(texts.begin(), raw.begin(), raw.end());
        return texts;
    };
    // The result is the last text formed.
    const MatchCase cases[] = {
        {"1A", 0, 0, "tv:power ", then({"tv>tv:power ", "user>tv:power "})},
        {"1a5", 0, 0, "tv:power[5] ", then({"tv>tv:power[5] ", "user>tv:power[5] "})},
        {"0011", 0, 128, "tv:status ", then({"tv>tv:status ", "user>tv:status "})},
        {"001101", 0, 128, "tv:status[4] ", then({"tv>tv:status[4] ", "user>tv:status[4] "})},
        // Matching nothing on the control bus is never delivered, even with
        // report-no-match on.
        {"FF", 0, 0, "nomatch:sl0[FF] ", raw},
        {"1011", 0, 128, "nomatch:slb0[1011] ", raw},
        {"1A", 0, 1, "nomatch:sl1[1A] ", raw},
        {"1A", 1, 0, "nomatch:sl0[1A] ", {}},
        // A garbled port number beyond the port masks.
        {"1A", 0, 99, "nomatch:ir95()[] ", raw},
        // CM11a items reach the CM11a devices of their unit whole.
        {"sl[x]", 0, -2, "lamp:sl[x]", then({"lamp>lamp:sl[x]", "user>lamp:sl[x]"})},
        {"sl[x]", 1, -2, "nomatch:sl-2[sl[x]] ", {}},
    };
    for (const MatchCase& c : cases) {
        m_log.Clear();
        EXPECT_EQ(CString(c.result), m_manager.MatchReceivedCode(0, c.data, "sl[x]", c.unit, c.code))
            << c.data << " code " << c.code;
        EXPECT_EQ(c.delivered, m_log.Texts()) << c.data << " code " << c.code;
    }

    // A client going away takes its listeners and those of its devices along.
    m_log.Clear();
    m_manager.ClearCallbacks(0);
    EXPECT_EQ(CString("tv:power "), m_manager.MatchReceivedCode(0, "1A", "sl[x]", 0, 0));
    EXPECT_TRUE(m_log.Texts().empty());
}

TEST_F(ManagerTest, TimerAlarmsReachDeviceThenUser)
{
    AddDevice("type=timer\n", "clock", 0, 0);
    ASSERT_EQ(1, m_manager.SendDefault("clock:setalarm[wake,0s,,,done]"));
    EXPECT_EQ(CString("clock:wake[done] "), m_manager.PollMessages());
    EXPECT_EQ((std::vector<std::string>{"clock>clock:wake[done]", "user>clock:wake[done] "}), m_log.Texts());
    ASSERT_EQ(1, m_manager.SendDefault("clock:setalarm[nap,1h] clock:clralarm[nap]"));
    EXPECT_EQ(CString(), m_manager.PollMessages());

    // A refused alarm is reported and the line goes on.
    m_log.Clear();
    ASSERT_EQ(1, m_manager.SendDefault("clock:setalarm[b,0s,1e-300s,forever] clock:setalarm[c,0s,,,x]"));
    const char kRefused[] = "Alarm b: the interval 1e-300s is shorter than a millisecond";
    // Polling an alarm taken wrongly would never end.
    ASSERT_EQ(CString(kRefused), m_manager.GetErrorText());
    EXPECT_TRUE(m_debug.Contains(kRefused));
    EXPECT_EQ(CString("clock:c[x] "), m_manager.PollMessages());
}

TEST_F(ManagerTest, UsersAndDevicesKeepTheirLimitsAndNames)
{
    for (int i = 0; i < CDeviceManager::kMaxDevices; ++i) {
        CString name;
        name.Format("D%d", i);
        ASSERT_EQ(1, m_manager.AddDeviceText(0, kIntercom, name, 0, 0, 0));
    }
    EXPECT_EQ(0, m_manager.AddDeviceText(0, kIntercom, "one more", 0, 0, 0));
    EXPECT_EQ(CString("maximum number of devices exceeded"), m_manager.GetErrorText());
    EXPECT_EQ(0, m_manager.AddDeviceText(0, kIntercom, "d7", 0, 0, 0));
    EXPECT_EQ(CString("can't add: device d7 already exists"), m_manager.GetErrorText());

    // An unknown user id acts on user 0.
    EXPECT_EQ(CDeviceManager::kMaxDevices, m_manager.GetNumDevices(42));
    int second = m_manager.AddUser();
    EXPECT_EQ(1, second);
    EXPECT_EQ(0, m_manager.GetNumDevices(second));
    EXPECT_TRUE(m_manager.DeleteDevice(42, "D0"));
    EXPECT_FALSE(m_manager.DeleteDevice(0, "d0"));
    EXPECT_EQ(CString("Unable to locate device [d0] for deletion"), m_manager.GetErrorText());
    // Removing an unknown user leaves user 0 alone; removing the last user
    // empties its record instead of leaving none to fall back to.
    m_manager.RemoveUser(42);
    EXPECT_EQ(CDeviceManager::kMaxDevices - 1, m_manager.GetNumDevices(0));
    m_manager.RemoveUser(second);
    m_manager.RemoveUser(0);
    EXPECT_EQ(0, m_manager.GetNumDevices(0));
    EXPECT_EQ(1, m_manager.AddDeviceText(0, kIntercom, "again", 0, 0, 0));
    EXPECT_EQ(1, m_manager.SendDefault("again:hello"));
    CString name;
    EXPECT_TRUE(m_manager.GetDeviceName(0, 1, name));
    EXPECT_EQ(CString("again"), name);
    EXPECT_FALSE(m_manager.GetDeviceName(0, 200, name));
    EXPECT_EQ(CString("There is no device #200 to get the name of"), m_manager.GetErrorText());
}

// The forms without a user act on user 0's devices, by name and by position;
// another user's device of the same name stays.
TEST_F(ManagerTest, DefaultFormsActOnUserZero)
{
    const int other = m_manager.AddUser();
    ASSERT_EQ(1, m_manager.AddDeviceText(other, kIntercom, "leaf", 0, 0, 0));
    ASSERT_EQ(1, m_manager.AddDeviceDefault(FixturePath("nec_tv.cde").c_str(), "Leaf", 0, 0, 0))
        << m_manager.GetErrorText();
    EXPECT_EQ(0, m_manager.AddDeviceDefault(FixturePath("nec_tv.cde").c_str(), "LEAF", 0, 0, 0));
    EXPECT_EQ(CString("can't add: device leaf already exists"), m_manager.GetErrorText());
    ASSERT_EQ(1, m_manager.AddDeviceText(0, kIntercom, "second", 0, 0, 0));
    EXPECT_EQ(0, m_manager.FindDeviceIndexDefault("leaf"));

    const struct
    {
        int index;
        BOOL deleted;
        int left;
    } cases[] = {{2, FALSE, 2}, {-1, FALSE, 2}, {0, TRUE, 1}, {1, FALSE, 1}, {0, TRUE, 0}, {0, FALSE, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.deleted, m_manager.DeleteDeviceAtDefault(c.index)) << c.index;
        EXPECT_EQ(c.left, m_manager.GetNumDevices(0)) << c.index;
    }
    EXPECT_EQ(1, m_manager.GetNumDevices(other));
    EXPECT_EQ(0, m_manager.FindDeviceIndex(other, "leaf"));
}

// A single port of each kind joins without a search, even where nothing can
// be opened; a second one on the same COM number and a ninth port are
// refused with the kind's own text.
TEST(SinglePorts, EachKindRefusesATakenComNumberAndANinthPort)
{
    const struct
    {
        const char* kind;
        std::function<int(CDeviceManager&, int)> add;
        std::function<int(CDeviceManager&)> count;
        std::function<int(CDeviceManager&)> removeAll;
    } cases[] = {
        {"Tavlin", [](CDeviceManager& m, int com) { return m.AddTavlinPort(com); },
         [](CDeviceManager& m) { return m.GetNumTavlins(); },
         [](CDeviceManager& m) { return m.RemoveAllTavlinPorts(); }},
        {"CM11a", [](CDeviceManager& m, int com) { return m.AddCM11aPort(com); },
         [](CDeviceManager& m) { return m.GetNumCM11As(); },
         [](CDeviceManager& m) { return m.RemoveAllCM11aPorts(); }},
        {"Kelto", [](CDeviceManager& m, int com) { return m.AddKeltoPort(com); },
         [](CDeviceManager& m) { return m.GetNumKeltos(); },
         [](CDeviceManager& m) { return m.RemoveAllKeltoPorts(); }},
    };
    CDebugCapture debug;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        CQuietManager manager;
        EXPECT_EQ(1, c.add(manager, 41));
        EXPECT_EQ(0, c.add(manager, 41));
        EXPECT_EQ(CString("Error: ") + c.kind + " already defined on COM41.", manager.GetErrorText());
        for (int com = 42; com < 49; ++com)
            EXPECT_EQ(1, c.add(manager, com));
        EXPECT_EQ(8, c.count(manager));
        EXPECT_EQ(0, c.add(manager, 49));
        EXPECT_EQ(CString("Error: Maximum ") + c.kind + " Ports Exceeded", manager.GetErrorText());
        EXPECT_EQ(8, c.count(manager));
        EXPECT_EQ(1, c.removeAll(manager));
        EXPECT_EQ(0, c.count(manager));
    }
}

TEST(MonitorThread, StopWithoutStartSucceedsAndHookSeesStartAndEnd)
{
    CDebugCapture debug;
    struct CHookLog : CCallbackTarget
    {
        void OnFlag(DWORD flag) { flags.push_back(flag); }
        std::vector<DWORD> flags;
    } hookLog;
    {
        ThreadHook* hook = new ThreadHook;
        hook->object = &hookLog;
        hook->function = static_cast<FlagFunction>(&CHookLog::OnFlag);
        CQuietManager plain;
        EXPECT_EQ(1, plain.StopMessageMonitor());
        CDeviceManager hooked(hook);
        hooked.StartMessageMonitor();
        EXPECT_EQ(1, hooked.StopMessageMonitor());
    }
    EXPECT_EQ((std::vector<DWORD>{1, 0}), hookLog.flags);
}

// Lets a client run code on the monitoring thread: once, with an empty text.
class COneShot : public CCallbackTarget
{
public:
    void OnText(CString text)
    {
        threadId = GetCurrentThreadId();
        empty = text.IsEmpty();
        InterlockedIncrement(&calls);
    }
    volatile DWORD threadId = 0;
    volatile bool empty = false;
    volatile LONG calls = 0;
};

TEST(MonitorThread, OneShotCallbackRunsOnceOnTheThread)
{
    CQuietManager manager;
    COneShot oneShot;
    manager.SetOneShotCallback(&oneShot, static_cast<TextFunction>(&COneShot::OnText));
    manager.StartMessageMonitor();
    WaitUntil([&] { return oneShot.calls != 0; }, 3000);
    Sleep(600);   // two more passes of the idle monitor
    EXPECT_EQ(1, manager.StopMessageMonitor());
    EXPECT_EQ(1, oneShot.calls);
    EXPECT_TRUE(oneShot.empty);
    EXPECT_NE(0u, oneShot.threadId);
    EXPECT_NE(GetCurrentThreadId(), oneShot.threadId);
}

class UnitTest : public ManagerTest
{
protected:
    UnitTest() : m_unit(m_manager) {}
    // The ports go before the unit that answers them.
    ~UnitTest() override
    {
        m_manager.StopMessageMonitor();
        m_manager.RemoveAllTavlinPorts();
    }

    SimulatedUnit m_unit;
};

TEST_F(UnitTest, SentCodeLeavesAsItsFrameAndComesBackAsItsEvent)
{
    AddDevice(kChanger, "tv", 0, 0x01);
    m_manager.StartMessageMonitor();
    ASSERT_EQ(1, m_manager.SendDefault("TV:power"));
    EXPECT_TRUE(m_unit.unit.WaitForReceived(std::string("\x01\x1A\x00", 3), 2000));
    EXPECT_EQ((std::vector<std::string>{"tv>tv:power ", "user>tv:power "}), m_log.WaitFor(2));
}

TEST_F(UnitTest, ScriptedBusMessagesArriveAsEventTexts)
{
    AddDevice(kChanger, "tv", 0, 0x01);
    AddDevice(kLowLevel, "raw", 0, 0);
    m_manager.StartMessageMonitor();
    m_unit.unit.Send(CTavlinSimulator::Message(0, "\x1A\x05"));
    EXPECT_EQ((std::vector<std::string>{"tv>tv:power[05] ", "user>tv:power[05] ", "raw>raw:sl0[1A05]",
                                        "user>raw:sl0[1A05]"}),
              m_log.WaitFor(4));
}

TEST_F(UnitTest, IRCodesMatchByNameAndUnknownOnesReportNoMatch)
{
    CQuietDevice reference;
    ASSERT_EQ(1, reference.Load(FixturePath("nec_tv.cde").c_str(), 0, TRUE));
    ASSERT_EQ(1, m_manager.AddDevice(0, FixturePath("nec_tv.cde").c_str(), "TV", 0, 0, 0x10));
    m_listeners.emplace_back(new CTaggedListener(m_log, "tv"));
    m_manager.SetDeviceCallback(0, "tv", m_listeners.back().get(), kOnText);
    ASSERT_TRUE(m_manager.FindDeviceDefault("tv")->DeleteCode(0));   // power
    m_manager.StartMessageMonitor();

    ASSERT_EQ(1, m_manager.SendDefault("tv:mute"));
    EXPECT_EQ((std::vector<std::string>{"tv>tv:mute ", "user>tv:mute "}), m_log.WaitFor(2));

    m_log.Clear();
    reference.SetPortMask(0x10);
    m_manager.GetTavlinPort(0)->ExecuteLowLevel(reference.ComposeCommand("power"));
    std::string symbols = std::string(reference.GetPrefix()) + static_cast<const char*>(reference.GetCode(0).data);
    std::string text = "nomatch:ir0(nec)[" + symbols + "] ";
    EXPECT_EQ((std::vector<std::string>{"tv>" + text, "user>" + text}), m_log.WaitFor(2));
}

TEST_F(ManagerTest, TwoUnitsOnTwoPortsKeepTheirTraffic)
{
    SimulatedUnit first(m_manager);
    SimulatedUnit second(m_manager);
    AddDevice(kChanger, "a", 0, 0x01);
    AddDevice(kChanger, "b", 1, 0x01);
    m_manager.StartMessageMonitor();
    const std::string powerFrame("\x01\x1A\x00", 3);
    ASSERT_EQ(1, m_manager.SendDefault("b:power"));
    EXPECT_TRUE(second.unit.WaitForReceived(powerFrame, 2000));
    EXPECT_EQ((std::vector<std::string>{"b>b:power ", "user>b:power "}), m_log.WaitFor(2));
    m_log.Clear();
    first.unit.Send(CTavlinSimulator::Message(0, "\x1A"));
    EXPECT_EQ((std::vector<std::string>{"a>a:power ", "user>a:power "}), m_log.WaitFor(2));
    m_manager.StopMessageMonitor();
    EXPECT_EQ(std::string::npos, first.unit.Received().find(powerFrame));
    m_manager.RemoveAllTavlinPorts();
}

// COM1 has a unit, COM3 a pty without one; a CM11a needs no search.
TEST(PortSearch, KeepsThePortsWhereTheHardwareAnswers)
{
    CDebugCapture debug;
    CPtySerial com1(1);
    CPtySerial com3(3);
    CTavlinSimulator unit(com1);
    CQuietManager manager;
    EXPECT_EQ(8, manager.AddTavlinPorts(0x05));
    ASSERT_EQ(1, manager.GetNumTavlins());
    EXPECT_EQ(1, manager.GetTavlinPort(0)->GetComPort());
    const CPortList<CTavlinPort>& found = manager.GetTavlinPorts();
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), (std::vector<int>{found.WasRequested(0), found.WasRequested(1),
                                                                found.WasRequested(2), found.WasRequested(3)}));
    EXPECT_EQ((std::vector<int>{1, 0, 0, 0}), (std::vector<int>{found.WasFound(0), found.WasFound(1),
                                                                found.WasFound(2), found.WasFound(3)}));
    EXPECT_EQ(0, found.GetOpenError(2));
    manager.RemoveAllTavlinPorts();

    manager.AddCM11aPorts(0x05);
    EXPECT_EQ(2, manager.GetNumCM11As());
    EXPECT_EQ(1, manager.AddTavlinPort(3));
    EXPECT_EQ(0, manager.AddTavlinPort(3));
    EXPECT_EQ(CString("Error: Tavlin already defined on COM3."), manager.GetErrorText());
    EXPECT_EQ(nullptr, manager.GetKeltoPort(0));
    EXPECT_EQ(CString("Error: Invalid Kelto Ports Requested"), manager.GetErrorText());
    manager.RemoveAllTavlinPorts();
    manager.RemoveAllCM11aPorts();
}

TEST_F(UnitTest, PortsChangeOnlyWhileTheMonitorIsStopped)
{
    m_manager.StartMessageMonitor();
    EXPECT_EQ(0, m_manager.RemoveTavlinPort(0));
    EXPECT_EQ(1, m_manager.GetNumTavlins());
    EXPECT_EQ(0, m_manager.AddTavlinPort(99));
    EXPECT_EQ(1, m_manager.StopMessageMonitor());
    EXPECT_EQ(1, m_manager.RemoveTavlinPort(0));
    EXPECT_EQ(0, m_manager.GetNumTavlins());
}

// A listener on the monitoring thread deletes the device it was called for:
// the rest of the delivery still sees a live device.
class CDeletingListener : public CCallbackTarget
{
public:
    CDeletingListener(CDeviceManager& manager, CEventLog& log) : m_manager(manager), m_log(log) {}
    void OnText(CString text)
    {
        m_manager.DeleteDeviceDefault("tv");
        m_log.Add(std::string("deleter>") + static_cast<const char*>(text));
    }

private:
    CDeviceManager& m_manager;
    CEventLog& m_log;
};

TEST_F(UnitTest, ListenerMayDeleteItsOwnDevice)
{
    AddDevice(kChanger, "tv", 0, 0x01);
    CDeletingListener deleter(m_manager, m_log);
    m_manager.SetDeviceCallbackDefault("tv", &deleter, static_cast<TextFunction>(&CDeletingListener::OnText));
    m_manager.StartMessageMonitor();
    m_unit.unit.Send(CTavlinSimulator::Message(0, "\x1A"));
    EXPECT_EQ((std::vector<std::string>{"deleter>tv:power ", "user>tv:power "}), m_log.WaitFor(2));
    EXPECT_EQ(0, m_manager.GetNumDevices(0));
}

// A listener that holds the monitoring thread until released, at most three
// seconds: longer than a stop waits for it.
class CBlockingListener : public CCallbackTarget
{
public:
    CBlockingListener() : release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CBlockingListener() { CloseHandle(release); }
    void OnText(CString)
    {
        left = 0;
        entered = 1;
        WaitForSingleObject(release, 3000);
        left = 1;
    }
    void WaitUntilEntered()
    {
        while (!entered)
            Sleep(5);
        entered = 0;
    }

    HANDLE release;
    volatile LONG entered = 0;
    volatile LONG left = 0;
};

TEST(MonitorThread, RestartAndTeardownWaitForTheThreadThatWouldNotStop)
{
    CDebugCapture debug;
    CBlockingListener blocking;
    struct CHookLog : CCallbackTarget
    {
        void OnFlag(DWORD flag) { ended = flag == 0; }
        volatile bool ended = false;
    } hookLog;
    ThreadHook* hook = new ThreadHook;
    hook->object = &hookLog;
    hook->function = static_cast<FlagFunction>(&CHookLog::OnFlag);
    CEventLog log;
    CTaggedListener fast(log, "fast");
    {
        CDeviceManager manager(hook);
        manager.GetError().m_messageBox = FALSE;
        manager.AddDeviceText(0, kIntercom, "talk", 0, 0, 0);
        manager.SetDeviceCallbackDefault("talk", &blocking,
                                         static_cast<TextFunction>(&CBlockingListener::OnText));
        manager.AddDeviceText(0, kIntercom, "quick", 0, 0, 0);
        manager.SetDeviceCallbackDefault("quick", &fast, kOnText);
        manager.StartMessageMonitor();
        manager.SendDefault("talk:wait");
        blocking.WaitUntilEntered();
        EXPECT_EQ(0, manager.StopMessageMonitor());
        EXPECT_EQ(CString("Unable to end message monitoring thread."), manager.GetErrorText());

        // A start after the failed stop gets a monitor that runs on.
        SetEvent(blocking.release);
        manager.StartMessageMonitor();
        manager.SendDefault("quick:hello");
        EXPECT_EQ(std::vector<std::string>{"fast>quick:hello"}, log.WaitFor(1));

        ResetEvent(blocking.release);
        manager.SendDefault("talk:wait");
        blocking.WaitUntilEntered();
        EXPECT_EQ(0, manager.StopMessageMonitor());
    }
    EXPECT_TRUE(blocking.left);
    EXPECT_TRUE(hookLog.ended);
}

struct ClearRun
{
    CDeviceManager* manager;
    CBlockingListener* listener;
    LONG leftWhenCleared;
};

DWORD WINAPI ClearCallbacksOf0(void* context)
{
    ClearRun* run = static_cast<ClearRun*>(context);
    run->manager->ClearCallbacks(0);
    run->leftWhenCleared = run->listener->left;
    return 0;
}

// Listeners run under the manager's lock: a client clearing its callbacks
// waits for a call in progress, so its listener may go once the clear returns.
TEST(MonitorThread, ClearingCallbacksWaitsForAListenerInProgress)
{
    CDebugCapture debug;
    CBlockingListener blocking;
    CQuietManager manager;
    ASSERT_EQ(1, manager.AddDeviceText(0, kIntercom, "talk", 0, 0, 0));
    manager.SetDeviceCallbackDefault("talk", &blocking, static_cast<TextFunction>(&CBlockingListener::OnText));
    manager.StartMessageMonitor();
    manager.SendDefault("talk:wait");
    blocking.WaitUntilEntered();
    ClearRun run = {&manager, &blocking, -1};
    HANDLE clearer = CreateThread(nullptr, 0, ClearCallbacksOf0, &run, 0, nullptr);
    ASSERT_TRUE(clearer);
    Sleep(50);
    SetEvent(blocking.release);
    WaitForSingleObject(clearer, INFINITE);
    CloseHandle(clearer);
    EXPECT_EQ(1, run.leftWhenCleared);
    EXPECT_EQ(1, manager.StopMessageMonitor());
}

// Sends, device and user changes and deliveries on several threads at once.
struct StressRun
{
    CDeviceManager* manager;
    volatile LONG* stop;
};

DWORD WINAPI SendLoop(void* context)
{
    StressRun* run = static_cast<StressRun*>(context);
    while (!*run->stop)
        run->manager->SendDefault("tv:power talk:ping");
    return 0;
}

DWORD WINAPI ChangeLoop(void* context)
{
    StressRun* run = static_cast<StressRun*>(context);
    while (!*run->stop) {
        run->manager->DeleteDeviceDefault("tv");
        run->manager->AddDeviceText(0, kChanger, "tv", 0, 0, 0x01);
        int user = run->manager->AddUser();
        run->manager->AddDeviceText(user, kChanger, "tv", 0, 0, 0x01);
        run->manager->RemoveUser(user);
    }
    return 0;
}

TEST_F(UnitTest, SendsAndChangesInParallelWithDeliveries)
{
    AddDevice(kChanger, "tv", 0, 0x01);
    AddDevice(kIntercom, "talk", 0, 0);
    m_manager.StartMessageMonitor();
    volatile LONG stop = 0;
    StressRun run = {&m_manager, &stop};
    HANDLE threads[] = {CreateThread(nullptr, 0, SendLoop, &run, 0, nullptr),
                        CreateThread(nullptr, 0, SendLoop, &run, 0, nullptr),
                        CreateThread(nullptr, 0, ChangeLoop, &run, 0, nullptr)};
    for (int i = 0; i < 50; ++i)
        m_unit.unit.Send(CTavlinSimulator::Message(0, "\x1A"), 5);
    EXPECT_TRUE(m_unit.unit.WaitUntilSent(10000));
    Sleep(200);
    stop = 1;
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    EXPECT_EQ(1, m_manager.StopMessageMonitor());
    bool heardPower = false;
    for (const std::string& text : m_log.Texts())
        heardPower |= text == "user>tv:power ";
    EXPECT_TRUE(heardPower);
}

}
