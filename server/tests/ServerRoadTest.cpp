// The document's road over the real server: the front end's thread hosts the
// interface control, callers queue requests and wait; results, the control's
// error event as "tavlinx:error[...]", received texts to their device
// listeners then the catch-all, requests queued from the thread itself, and
// the road when no server is registered.
#include "tests/support/TestFramework.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/server/ServerEnvironment.h"
#include "server/ServerRegistration.h"
#include "core/devpath/TavlinRemote.h"
#include "tests/support/TestData.h"
#include "server/tests/TestSite.h"

namespace {

const char kChanger[] = "type=tavlin\n00011010:power\n0011:status\n";
const std::string kPowerFrame("\x01\x1A\x00", 3);

// Texts arrive on the front end's thread.
class CListener : public CCallbackTarget
{
public:
    CListener() : m_changed(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~CListener() { CloseHandle(m_changed); }

    void OnText(CString text)
    {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_texts.push_back(std::string(text));
        }
        if (onText)
            onText(std::string(text));
        SetEvent(m_changed);
    }

    TextCallback Callback()
    {
        TextCallback callback;
        callback.object = this;
        callback.function = static_cast<TextFunction>(&CListener::OnText);
        return callback;
    }

    std::vector<std::string> Take()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        std::vector<std::string> texts;
        texts.swap(m_texts);
        return texts;
    }

    bool WaitForText() { return WaitForSingleObject(m_changed, 10000) == WAIT_OBJECT_0; }

    // Texts that arrive close together set the event once: count them instead.
    bool WaitForTexts(size_t count)
    {
        const DWORD deadline = GetTickCount() + 10000;
        for (;;) {
            {
                std::lock_guard<std::mutex> hold(m_lock);
                if (m_texts.size() >= count)
                    return true;
            }
            const DWORD now = GetTickCount();
            if (static_cast<LONG>(deadline - now) <= 0 ||
                WaitForSingleObject(m_changed, deadline - now) != WAIT_OBJECT_0)
                return false;
        }
    }

    std::function<void(const std::string&)> onText;

private:
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    HANDLE m_changed;
};

class ServerRoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_path.WaitUntilReady(30000));
        m_path.LoadServer();
        m_path.SetListener(m_all.Callback());
        ServerUnit().ClearReceived();
    }

    CTavlinRemote m_path;
    CListener m_all;
};

TEST_F(ServerRoadTest, OperationsReturnTheirResultsAndPassTheServersRefusalsOn)
{
    const struct
    {
        const char* name;
        std::function<int(CDevicePath&)> call;
        int result;
        const char* error;   // what the catch-all listener gets, null: nothing
    } cases[] = {
        {"units", [](CDevicePath& p) { return p.GetNumTavlins(); }, 1, nullptr},
        {"add text", [](CDevicePath& p) { return p.AddDeviceText(kChanger, "tv", 0, 0, 1); }, TRUE, nullptr},
        {"add a name twice", [](CDevicePath& p) { return p.AddDeviceText(kChanger, "tv", 0, 0, 1); }, TRUE,
         "tavlinx:error[can't add: device tv already exists]"},
        {"add on the second unit", [](CDevicePath& p) { return p.AddDeviceText(kChanger, "far", 0, 1, 1); },
         TRUE, nullptr},
        {"add missing file", [](CDevicePath& p) { return p.AddDevice("Z:\\nowhere\\x.cde", "x", 0, 0, 0); },
         FALSE, "tavlinx:error[Couldn't open device file Z:\\nowhere\\x.cde]"},
        {"devices", [](CDevicePath& p) { return p.GetNumDevices(); }, 2, nullptr},
        {"send rejected", [](CDevicePath& p) { return p.SendDeviceCommand("cdsls001:play"); }, TRUE,
         "tavlinx:error[cdsls001 is not a known device name]"},
        {"send to a unit that is not there", [](CDevicePath& p) { return p.SendDeviceCommand("far:power"); },
         TRUE, "tavlinx:error[far refers to a Tavlin which doesn't exist]"},
        {"no match", [](CDevicePath& p) { return p.SetReportNoMatch(1); }, TRUE, nullptr},
        {"delete", [](CDevicePath& p) { return p.DeleteDevice("far"); }, TRUE, nullptr},
        {"delete again", [](CDevicePath& p) { return p.DeleteDevice("far"); }, TRUE,
         "tavlinx:error[Unable to locate device [far] for deletion]"},
        {"units again, from the cache", [](CDevicePath& p) { return p.GetNumTavlins(); }, 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.call(m_path));
        std::vector<std::string> expected;
        if (c.error)
            expected.push_back(c.error);
        EXPECT_EQ(expected, m_all.Take());
    }
}

TEST_F(ServerRoadTest, ReceivedTextsReachTheirDeviceListenersThenTheCatchAll)
{
    CListener first, second, otherCase;
    ASSERT_TRUE(m_path.AddDeviceText(kChanger, "tv", 0, 0, 1));
    m_path.SetDeviceListener("tv", first.Callback());
    m_path.SetDeviceListener("TV", otherCase.Callback());
    m_path.SetDeviceListener("tv", second.Callback());
    ASSERT_TRUE(m_path.SendDeviceCommand("tv:power"));
    EXPECT_TRUE(ServerUnit().WaitForReceived(kPowerFrame, 5000));
    ASSERT_TRUE(m_all.WaitForText());
    const std::vector<std::string> power{"tv:power "};
    EXPECT_EQ(power, first.Take());
    EXPECT_EQ(power, second.Take());
    EXPECT_TRUE(otherCase.Take().empty());
    EXPECT_EQ(power, m_all.Take());

    // Deleting the device drops its first listener only.
    ASSERT_TRUE(m_path.DeleteDevice("tv"));
    ASSERT_TRUE(m_path.AddDeviceText(kChanger, "tv", 0, 0, 1));
    ASSERT_TRUE(m_path.SendDeviceCommand("tv:power"));
    ASSERT_TRUE(m_all.WaitForText());
    EXPECT_TRUE(first.Take().empty());
    EXPECT_EQ(power, second.Take());
    EXPECT_TRUE(m_path.DeleteDevice("tv"));
}

// A listener runs on the front end's thread: its request is queued at once
// and runs after the delivery.
TEST_F(ServerRoadTest, ARequestFromTheThreadItselfDoesNotWait)
{
    CListener listener;
    ASSERT_TRUE(m_path.AddDeviceText(kChanger, "tv", 0, 0, 1));
    CTavlinRemote& path = m_path;
    bool sent = false;
    listener.onText = [&](const std::string& text) {
        if (!sent && text == "tv:power ") {
            sent = true;
            path.SendDeviceCommand("tv:status");
        }
    };
    m_path.SetDeviceListener("tv", listener.Callback());
    ASSERT_TRUE(m_path.SendDeviceCommand("tv:power"));
    ASSERT_TRUE(listener.WaitForTexts(2));
    EXPECT_EQ((std::vector<std::string>{"tv:power ", "tv:status "}), listener.Take());
    listener.onText = nullptr;
    EXPECT_TRUE(m_path.DeleteDevice("tv"));
}

TEST(ServerRoadWithoutServer, EveryRequestReportsTheMissingServer)
{
    UnregisterServer();
    {
        CListener all;
        CTavlinRemote path;
        ASSERT_TRUE(path.WaitUntilReady(30000));
        path.SetListener(all.Callback());
        const struct
        {
            const char* name;
            std::function<int(CDevicePath&)> call;
            int result;
        } cases[] = {
            {"send", [](CDevicePath& p) { return p.SendDeviceCommand("auto:x"); }, TRUE},
            {"add file", [](CDevicePath& p) { return p.AddDevice("x.cde", "x", 0, 0, 0); }, FALSE},
            {"add text", [](CDevicePath& p) { return p.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0); }, TRUE},
            {"delete", [](CDevicePath& p) { return p.DeleteDevice("auto"); }, TRUE},
            {"units", [](CDevicePath& p) { return p.GetNumTavlins(); }, -1},
            {"devices", [](CDevicePath& p) { return p.GetNumDevices(); }, -1},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(c.result, c.call(path));
            EXPECT_EQ(std::vector<std::string>{"tavlinx:error[No device server]"}, all.Take());
        }
    }
    ASSERT_TRUE(RegisterServer(WindowsPath(Env("ZYM_TAVLINSERV")).c_str()));
}

} // namespace
