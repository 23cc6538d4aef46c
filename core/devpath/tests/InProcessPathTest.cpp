// The document's device path over its own device manager: each operation's
// result and the error events its failures fire, the program's own events
// exempt from them, and the path that does nothing when there is none.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "devices/manager/DeviceManager.h"
#include "core/devpath/InProcessPath.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class CRecordingHost : public CDevicePathHost
{
public:
    void FireEvent(const char* text) override { events.push_back(text); }
    CString GetTransmitDeviceName() override { return "zymr"; }

    std::vector<std::string> events;
};

class CListener : public CCallbackTarget
{
public:
    void OnText(CString text) { texts.push_back(std::string(text)); }
    std::vector<std::string> texts;
};

TextCallback Listen(CListener& listener)
{
    TextCallback callback;
    callback.object = &listener;
    callback.function = static_cast<TextFunction>(&CListener::OnText);
    return callback;
}

class InProcessPathTest : public ::testing::Test
{
protected:
    InProcessPathTest() : path(manager, host) { path.SetMessageBoxes(FALSE); }

    CDebugCapture debug;
    CDeviceManager manager;
    CRecordingHost host;
    CInProcessPath path;
};

TEST_F(InProcessPathTest, OperationsSucceedAndFailWithErrorEvents)
{
    const struct
    {
        const char* name;
        std::function<BOOL(CDevicePath&)> call;
        BOOL result;
        const char* event;   // null: none
    } cases[] = {
        {"add text", [](CDevicePath& p) { return p.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0); }, TRUE,
         nullptr},
        {"add bad text", [](CDevicePath& p) { return p.AddDeviceText("type=infrared\n", "bad", 0, 0, 0); },
         FALSE,
         "error[Error loading device: improper / no device type specified (must be CM11a, DEVRX, DEVRXTX, "
         "DEVTX, KELTO, IR, IRTXONLY, LOWLEVEL, TIMER, or TAVLIN)]"},
        {"add missing file", [](CDevicePath& p) { return p.AddDevice("Z:\\nowhere\\x.cde", "x", 0, 0, 0); },
         FALSE, "error[Couldn't open device file Z:\\nowhere\\x.cde]"},
        {"send to intercom", [](CDevicePath& p) { return p.SendDeviceCommand("auto:hello"); }, TRUE, nullptr},
        {"send to unknown", [](CDevicePath& p) { return p.SendDeviceCommand("cdsls001:play"); }, FALSE,
         "error[cdsls001 is not a known device name]"},
        {"own event fails quietly", [](CDevicePath& p) { return p.SendDeviceCommand("zymr:startup"); }, FALSE,
         nullptr},
        {"listener", [](CDevicePath& p) { return p.SetListener(TextCallback()); }, TRUE, nullptr},
        {"delete", [](CDevicePath& p) { return p.DeleteDevice("auto"); }, TRUE, nullptr},
        {"delete again", [](CDevicePath& p) { return p.DeleteDevice("auto"); }, FALSE,
         "error[Unable to locate device [auto] for deletion]"},
        {"no match", [](CDevicePath& p) { return p.SetReportNoMatch(0); }, TRUE, nullptr},
    };
    for (const auto& c : cases) {
        host.events.clear();
        EXPECT_EQ(c.result, c.call(path)) << c.name;
        std::vector<std::string> expected;
        if (c.event)
            expected.push_back(c.event);
        EXPECT_EQ(expected, host.events) << c.name;
    }
    EXPECT_EQ(0, path.GetNumTavlins());
    EXPECT_EQ(0, path.GetNumDevices());
}

// Sends come from event-map actions and remote commands: with the manager's
// message boxes on, a refusal is still only an event (a box would fail the test).
TEST_F(InProcessPathTest, SendRefusalsAreEventsWithBoxesOn)
{
    ASSERT_TRUE(path.AddDeviceText("type=devrx\n", "ear", 0, 0, 0));
    path.SetMessageBoxes(TRUE);
    const struct
    {
        const char* text;
        BOOL result;
        std::vector<std::string> events;
    } cases[] = {
        {"cdsls001:play", FALSE, {"error[cdsls001 is not a known device name]"}},
        {"ear:x", FALSE, {"error[The intercommunication device ear was specified as receive only for this client]"}},
        {"zymr:error[x]", FALSE, {}},
    };
    for (const auto& c : cases) {
        host.events.clear();
        EXPECT_EQ(c.result, path.SendDeviceCommand(c.text)) << c.text;
        EXPECT_EQ(c.events, host.events) << c.text;
    }
    path.SetMessageBoxes(FALSE);
}

TEST_F(InProcessPathTest, DeviceListenerHearsTheIntercomDevice)
{
    CListener listener;
    ASSERT_TRUE(path.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0));
    EXPECT_EQ(1, path.GetNumDevices());
    EXPECT_TRUE(path.SetDeviceListener("auto", Listen(listener)));
    EXPECT_FALSE(path.SetDeviceListener("none", Listen(listener)));
    EXPECT_EQ(1u, host.events.size());
    ASSERT_TRUE(path.SendDeviceCommand("auto:hello"));
    manager.PollMessages();
    EXPECT_EQ(std::vector<std::string>{"auto:hello"}, listener.texts);
}

TEST(NoDevicePath, EveryOperationFailsQuietly)
{
    CNoDevicePath path;
    EXPECT_FALSE(path.SendDeviceCommand("cdsls001:play"));
    EXPECT_FALSE(path.AddDevice("x.cde", "x", 0, 0, 0));
    EXPECT_FALSE(path.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0));
    EXPECT_FALSE(path.DeleteDevice("auto"));
    EXPECT_FALSE(path.SetDeviceListener("auto", TextCallback()));
    EXPECT_FALSE(path.SetListener(TextCallback()));
    EXPECT_FALSE(path.SetReportNoMatch(1));
    EXPECT_EQ(0, path.GetNumTavlins());
    EXPECT_EQ(0, path.GetNumDevices());
}

} // namespace
