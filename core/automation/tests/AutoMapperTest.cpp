// Program events and received commands: FireEvent with its prefix and bound,
// the mapper's matching, queue and nesting limit, the automation queue's
// colon rule, and both automation devices over a real device manager and a
// simulated interface unit.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "devices/manager/DeviceManager.h"
#include "core/devpath/InProcessPath.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"
#include "tests/support/TempFolder.h"
#include "core/automation/tests/TestDocument.h"
#include "core/automation/ZYMAutomation.h"

#include <algorithm>
#include <memory>

namespace {

const char kNowhereError[] = "zymr:error[nowhere is not a known device name]";

class MapperTest : public ::testing::Test
{
protected:
    void LoadMap(const std::string& text)
    {
        WriteUnixFile(folder.UnixPath("map.txt"), text);
        ASSERT_TRUE(document.mapper.LoadMapFile(folder.WindowsPath("map.txt").c_str()));
    }

    CTempFolder folder{"automation"};
    CTestDocument document;
};

TEST_F(MapperTest, EveryMatchingEntrySendsItsActionInFileOrder)
{
    LoadMap("play { amp:One }\nPLAYLIST { tuner:Two }\nstop { cd:stop }\nplaylist_play { cd:Three }");
    document.mapper.SetDocument(&document);
    const struct
    {
        const char* event;
        std::vector<std::string> sent;
    } cases[] = {
        {"playlist_play", {"amp:One", "tuner:Two", "cd:Three", "zymr:playlist_play"}},
        {"PlayList_Pointer[3]", {"amp:One", "tuner:Two", "zymr:PlayList_Pointer[3]"}},
        {"time[1:02]", {"zymr:time[1:02]"}},
    };
    for (const auto& c : cases) {
        size_t before = document.Sent().size();
        FireEvent("%s", c.event);
        std::vector<std::string> sent = document.SentTexts();
        EXPECT_EQ(c.sent, std::vector<std::string>(sent.begin() + before, sent.end())) << c.event;
    }
    EXPECT_EQ((std::vector<std::string>{"zymr:playlist_play", "zymr:PlayList_Pointer[3]", "zymr:time[1:02]"}),
              Texts(document.mapper.TakeEvents()));
    EXPECT_TRUE(document.mapper.TakeEvents().empty());
}

TEST_F(MapperTest, BeforeTheDocumentIsSetEventsAreOnlyQueued)
{
    LoadMap("play { amp:on }");
    document.folder = folder.WindowsPath("");
    document.logging = TRUE;
    FireEvent("playlist_play");
    EXPECT_EQ(std::vector<std::string>{"zymr:playlist_play"}, document.SentTexts());
    EXPECT_EQ(std::vector<std::string>{"zymr:playlist_play"}, Texts(document.mapper.TakeEvents()));
    EXPECT_FALSE(folder.Exists("260304050607.log"));
}

TEST_F(MapperTest, QueueKeepsTheLast500Texts)
{
    for (int i = 0; i <= CAutoMapper::kMaxQueuedEvents; i++)
        document.mapper.DispatchEvent(CString("dev:e") + std::to_string(i).c_str());
    std::vector<std::string> events = Texts(document.mapper.TakeEvents());
    ASSERT_EQ(size_t(CAutoMapper::kMaxQueuedEvents), events.size());
    EXPECT_EQ("dev:e1", events.front());
    EXPECT_EQ("dev:e500", events.back());
}

TEST_F(MapperTest, EventsAreCutAtTheBoundAndDebugEventsNeedTheFlag)
{
    std::string longText(5000, 'x');
    FireEvent("%s", longText.c_str());
    FireDebugEvent("step %d", 5);
    document.debug = TRUE;
    FireDebugEvent("step %d", 6);
    FireDebugEvent("%s", longText.c_str());
    std::vector<std::string> events = Texts(document.mapper.TakeEvents());
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ("zymr:" + longText.substr(0, kMaxEventLength), events[0]);
    EXPECT_EQ("zymr:debug[step 6]", events[1]);
    EXPECT_EQ("zymr:debug[" + longText.substr(0, kMaxEventLength - 7) + "]", events[2]);
    EXPECT_EQ(events, document.SentTexts());
}

// An action that fails fires an error event that matches again: the chain
// stops ten dispatches deep on its thread, while another thread's event,
// fired from the deepest dispatch, still matches.
TEST_F(MapperTest, NestingStopsTenDeepPerThread)
{
    LoadMap("error { nowhere:x }\nother { dev:ok }");
    document.mapper.SetDocument(&document);
    int failures = 0;
    document.onSend = [&](const std::string& text) {
        if (text != "nowhere:x")
            return;
        if (++failures == CAutoMapper::kMaxNestingDepth)
            RunThreads(1, [](int) { FireEvent("other"); });
        document.FireEvent("error[nowhere is not a known device name]");
    };
    document.sendResult = FALSE;
    FireEvent("error[start]");
    std::vector<std::string> sent = document.SentTexts();
    EXPECT_EQ(int(CAutoMapper::kMaxNestingDepth), std::count(sent.begin(), sent.end(), "nowhere:x"));
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), "dev:ok"));
    EXPECT_EQ(CAutoMapper::kMaxNestingDepth + 2, int(document.mapper.TakeEvents().size()));

    document.onSend = nullptr;
    FireEvent("other");
    EXPECT_EQ("dev:ok", document.SentTexts().end()[-2]);
}

TEST(AutomationQueue, ReceivedTextsQueueWhatFollowsTheFirstColon)
{
    const struct
    {
        const char* received;
        bool queued;
        const char* command;
    } cases[] = {
        {"zym:playlist_next", true, "playlist_next"},
        {"playlist_next", false, ""},
        {"zym:volume:up", true, "volume:up"},
        {":play", true, "play"},
        {"", false, ""},
    };
    CZYMAutomation automation;
    EXPECT_EQ(CString("zym"), automation.GetReceiveName());
    EXPECT_EQ(CString("zymr"), automation.GetTransmitName());
    for (const auto& c : cases) {
        TextCallback receive = automation.GetReceiveCallback();
        receive.Invoke(c.received);
        EXPECT_EQ(!c.queued, bool(automation.IsEmpty())) << c.received;
        EXPECT_EQ(CString(c.command), automation.Pop()) << c.received;
        EXPECT_TRUE(automation.IsEmpty()) << c.received;
    }
}

// A full queue drops what arrives and counts it; room made by Pop takes the
// next arrival again.
TEST(AutomationQueue, AFullQueueDropsAndCountsWhatArrives)
{
    CZYMAutomation automation;
    const int bound = CZYMAutomation::kMaxQueuedCommands;
    for (int i = 0; i < bound + 3; i++)
        automation.OnReceive(CString("zym:") + std::to_string(i).c_str());
    EXPECT_EQ(3, automation.TakeDropped());
    EXPECT_EQ(0, automation.TakeDropped());
    EXPECT_EQ(CString("0"), automation.Pop());
    automation.OnReceive("zym:last");
    EXPECT_EQ(0, automation.TakeDropped());
    CString text;
    int count = 0;
    while (!automation.IsEmpty()) {
        text = automation.Pop();
        count++;
    }
    EXPECT_EQ(bound, count);
    EXPECT_EQ(CString("last"), text);
}

// Commands the program sent its own receiving device are told apart from a
// client's when they come back, each noted send once.
TEST(AutomationQueue, OwnSendsComeBackMarkedAsOwn)
{
    CZYMAutomation automation;
    automation.NoteOwnSend("amp:power_on ZYM:playlist_next zym:echo[a b] zymr:startup");
    const struct
    {
        const char* received;
        BOOL own;
    } cases[] = {
        {"zym:playlist_next", TRUE},
        {"zym:playlist_next", FALSE},
        {"zym:echo[a b]", TRUE},
        {"zym:startup", FALSE},
        {"zym:power_on", FALSE},
    };
    for (const auto& c : cases) {
        automation.OnReceive(c.received);
        BOOL own = !c.own;
        automation.Pop(&own);
        EXPECT_EQ(c.own, own) << c.received;
    }
}

TEST(AutomationQueue, ArrivalOrderHoldsAcrossThreads)
{
    const int kThreads = 4;
    const int kTexts = 300;
    CZYMAutomation automation;
    RunThreads(kThreads, [&](int id) {
        for (int i = 0; i < kTexts; i++)
            automation.OnReceive(CString("zym:") + std::to_string(id).c_str() + ":" + std::to_string(i).c_str());
    });
    int next[kThreads] = {};
    int count = 0;
    while (!automation.IsEmpty()) {
        std::string text = static_cast<const char*>(automation.Pop());
        int id = std::stoi(text.substr(0, text.find(':')));
        EXPECT_EQ(next[id]++, std::stoi(text.substr(text.find(':') + 1))) << text;
        count++;
    }
    EXPECT_EQ(kThreads * kTexts, count);
}

class CQuietManager : public CDeviceManager
{
public:
    CQuietManager() { GetError().m_messageBox = FALSE; }
};

// The document's side of the automation devices over a real manager: user 0
// defines them as the program does; a second user plays an outside client.
class AutomationDevicesTest : public MapperTest
{
protected:
    AutomationDevicesTest() : path(manager, document)
    {
        document.path = &path;
        document.mapper.SetDocument(&document);
    }

    void DefineAutomationDevices()
    {
        ASSERT_TRUE(path.AddDeviceText("type=devrxtx\n", automation.GetReceiveName(), 0, 0, 0));
        ASSERT_TRUE(path.SetDeviceListener(automation.GetReceiveName(), automation.GetReceiveCallback()));
        ASSERT_TRUE(path.AddDeviceText("type=devtx\n", automation.GetTransmitName(), 0, 0, 0));
    }

    void DeliverAll()
    {
        while (!manager.PollMessages().IsEmpty()) {
        }
    }

    CDebugCapture debug;
    CQuietManager manager;
    CInProcessPath path;
    CZYMAutomation automation;
};

class CClientListener : public CCallbackTarget
{
public:
    void OnText(CString text) { texts.push_back(static_cast<const char*>(text)); }
    std::vector<std::string> texts;
};

TEST_F(AutomationDevicesTest, EventsReachOtherClientsAndTheirCommandsComeBackQueued)
{
    DefineAutomationDevices();
    LoadMap("playlist_play { zym:playlist_stop }");
    int client = manager.AddUser();
    CClientListener listener;
    ASSERT_EQ(1, manager.AddDeviceText(client, "type=devrxtx\n", "zymr", 0, 0, 0));
    ASSERT_EQ(1, manager.AddDeviceText(client, "type=devtx\n", "zym", 0, 0, 0));
    manager.SetDeviceCallback(client, "zymr", &listener, static_cast<TextFunction>(&CClientListener::OnText));

    FireEvent("playlist_play");
    // The action for the program's own receiving device waits for a later pass.
    EXPECT_TRUE(automation.IsEmpty());
    ASSERT_EQ(1, manager.Send(client, "zym:playlist_next"));
    DeliverAll();
    EXPECT_EQ(std::vector<std::string>{"zymr:playlist_play"}, listener.texts);
    EXPECT_EQ(CString("playlist_stop"), automation.Pop());
    EXPECT_EQ(CString("playlist_next"), automation.Pop());
    EXPECT_TRUE(automation.IsEmpty());
    EXPECT_EQ(std::vector<std::string>{"zymr:playlist_play"}, Texts(document.mapper.TakeEvents()));
}

// Outside text in an event (a title, a quoted command) reaches another client
// as one item: only the event's own brackets stay brackets, and a cut one
// keeps its "]". The mapper keeps the exact text.
TEST_F(AutomationDevicesTest, EventsWithOutsideTextReachClientsAsOneItem)
{
    DefineAutomationDevices();
    int client = manager.AddUser();
    CClientListener listener;
    ASSERT_EQ(1, manager.AddDeviceText(client, "type=devrxtx\n", "zymr", 0, 0, 0));
    manager.SetDeviceCallback(client, "zymr", &listener, static_cast<TextFunction>(&CClientListener::OnText));
    const std::string longTitle(5000, 't');
    const struct
    {
        std::string event;
        std::string received;
    } cases[] = {
        {"startup", "zymr:startup"},
        {"library_location_updated[Live] zym:shell[x] b,*P1 D005]",
         "zymr:library_location_updated[Live) zym:shell(x) b,*P1 D005]"},
        {"error[unknown command playlist_getitem[5]", "zymr:error[unknown command playlist_getitem(5]"},
        {"title[a]b[c]", "zymr:title[a)b(c]"},
        {"title[" + longTitle + "]", "zymr:title[" + longTitle.substr(0, kMaxEventLength - 7) + "]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event.substr(0, 60));
        listener.texts.clear();
        FireEvent("%s", c.event.c_str());
        DeliverAll();
        EXPECT_EQ(std::vector<std::string>{c.received}, listener.texts);
        EXPECT_EQ(std::vector<std::string>{"zymr:" + c.event.substr(0, kMaxEventLength)},
                  Texts(document.mapper.TakeEvents()));
        // Nothing of it came back as a command of the program's own device.
        EXPECT_TRUE(automation.IsEmpty());
    }
}

TEST_F(AutomationDevicesTest, FailingEventsFireNothingAndFailingActionsFireErrors)
{
    LoadMap("startup { nowhere:x }");
    FireEvent("startup");
    EXPECT_EQ((std::vector<std::string>{"zymr:startup", kNowhereError}), Texts(document.mapper.TakeEvents()));
    EXPECT_EQ((std::vector<std::string>{"nowhere:x", kNowhereError, "zymr:startup"}), document.SentTexts());
}

// Three entries on "error" and an action that fails: each failure fires an
// error event that matches all three again. One root event sends a bounded
// number of actions however the map fans out, the next root has its own
// allowance, and with the manager's boxes on no box is shown (one would fail
// the test): every refusal is an event.
TEST_F(AutomationDevicesTest, OneFailingEventSendsABoundedNumberOfActionsWithoutBoxes)
{
    DefineAutomationDevices();
    LoadMap("error { nowhere:a }\nerror { nowhere:b }\nerror { nowhere:c }\n");
    manager.GetError().m_messageBox = TRUE;
    auto actions = [this]() {
        std::vector<std::string> sent = document.SentTexts();
        return std::count_if(sent.begin(), sent.end(),
                             [](const std::string& text) { return text.compare(0, 8, "nowhere:") == 0; });
    };
    FireEvent("error[start]");
    EXPECT_EQ(int(CAutoMapper::kMaxActionsPerRootEvent), actions());
    FireEvent("error[again]");
    EXPECT_EQ(2 * int(CAutoMapper::kMaxActionsPerRootEvent), actions());
    std::vector<std::string> events = Texts(document.mapper.TakeEvents());
    EXPECT_EQ(std::string("zymr:error[nowhere is not a known device name]"), events.back());
    manager.GetError().m_messageBox = FALSE;
}

// The mapper as the catch-all listener: a control-bus message from the unit
// becomes a device text, its mapped action goes back out on the bus.
TEST_F(AutomationDevicesTest, ReceivedBusMessagesRunTheirMappedActions)
{
    CPtySerial pty;
    CTavlinSimulator unit(pty);
    TavlinFixture fixture;
    fixture.busPorts = 0x01;
    unit.SetFixture(fixture);
    ASSERT_EQ(1, manager.AddTavlinPort(pty.Port()));
    ASSERT_TRUE(manager.GetTavlinPort(0)->Locate());
    manager.GetTavlinPort(0)->SetKeepAlive(FALSE);
    ASSERT_TRUE(path.AddDeviceText("type=tavlin\n00011010:power\n00110011:status\n", "tv", 0, 0, 0x01));
    ASSERT_TRUE(path.SetListener(document.mapper.GetDispatchCallback()));
    LoadMap("tv:power { tv:status }");

    manager.StartMessageMonitor();
    unit.Send(CTavlinSimulator::Message(0, "\x1A\x05"));
    EXPECT_TRUE(unit.WaitForReceived(std::string("\x01\x33\x00", 3), 3000));
    manager.StopMessageMonitor();
    manager.RemoveAllTavlinPorts();
    // The status message comes back on the wired port as an event of its own.
    std::vector<std::string> events = Texts(document.mapper.TakeEvents());
    ASSERT_FALSE(events.empty());
    EXPECT_EQ("tv:power[05] ", events[0]);
    EXPECT_EQ(std::vector<std::string>{"tv:status"}, document.SentTexts());
}

} // namespace
