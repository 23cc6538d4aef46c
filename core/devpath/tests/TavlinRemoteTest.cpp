// The device path over the device server's client object, in process: each
// operation's result and the error texts the catch-all listener gets, received
// texts reaching their listeners, and the path without a server.
#include "TestFramework.h"

#include "Device.h"
#include "DeviceManager.h"
#include "ServerState.h"
#include "TavlinClient.h"
#include "TavlinRemote.h"
#include "TestSite.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Texts may arrive on the server's delivery thread.
class CListener : public CCallbackTarget
{
public:
    CListener() : m_changed(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}
    ~CListener() { CloseHandle(m_changed); }

    void OnText(CString text)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_texts.push_back(std::string(text));
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

private:
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    HANDLE m_changed;
};

class TavlinRemoteTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        RegisterProxyLibrary();
    }

    void SetUp() override
    {
        m_manager = new CDeviceManager(nullptr);
        m_manager->GetError().m_messageBox = FALSE;
        g_pDeviceManager = m_manager;
        m_client = new CTavlinClient(m_manager);
        m_path = new CTavlinRemote(m_client);
        m_path->SetListener(m_all.Callback());
    }

    void TearDown() override
    {
        delete m_path;
        m_client->Release();
        g_pDeviceManager = nullptr;
        delete m_manager;
    }

    CDeviceManager* m_manager = nullptr;
    CTavlinClient* m_client = nullptr;
    CTavlinRemote* m_path = nullptr;
    CListener m_all;
};

TEST_F(TavlinRemoteTest, OperationsReturnThePathsResultsAndPassServerErrorsOn)
{
    const struct
    {
        const char* name;
        std::function<BOOL(CDevicePath&)> call;
        BOOL result;
        const char* error;   // what the catch-all listener gets, null: nothing
    } cases[] = {
        {"add text", [](CDevicePath& p) { return p.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0); }, TRUE,
         nullptr},
        {"add a name twice", [](CDevicePath& p) { return p.AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0); },
         TRUE, "tavlinx:error[can't add: device auto already exists]"},
        {"add missing file", [](CDevicePath& p) { return p.AddDevice("Z:\\nowhere\\x.cde", "x", 0, 0, 0); },
         FALSE, "tavlinx:error[Couldn't open device file Z:\\nowhere\\x.cde]"},
        {"send to intercom", [](CDevicePath& p) { return p.SendDeviceCommand("auto:hello"); }, TRUE, nullptr},
        {"send rejected", [](CDevicePath& p) { return p.SendDeviceCommand("cdsls001:play"); }, TRUE,
         "tavlinx:error[cdsls001 is not a known device name]"},
        {"no match", [](CDevicePath& p) { return p.SetReportNoMatch(1); }, TRUE, nullptr},
        {"delete", [](CDevicePath& p) { return p.DeleteDevice("auto"); }, TRUE, nullptr},
        {"delete again", [](CDevicePath& p) { return p.DeleteDevice("auto"); }, TRUE,
         "tavlinx:error[Unable to locate device [auto] for deletion]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.call(*m_path)) << c.name;
        std::vector<std::string> expected;
        if (c.error)
            expected.push_back(c.error);
        EXPECT_EQ(expected, m_all.Take()) << c.name;
    }
    EXPECT_EQ(1, m_client->GetReportNoMatch());
    EXPECT_EQ(0, m_path->GetNumTavlins());
    EXPECT_EQ(0, m_path->GetNumDevices());
}

TEST_F(TavlinRemoteTest, UnitsReachTheServerCountedFromZero)
{
    ASSERT_TRUE(m_path->AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0));
    ASSERT_TRUE(m_path->AddDeviceText("type=devrxtx\n", "other", 0, 1, 3));
    ASSERT_EQ(std::vector<std::string>(), m_all.Take());
    const int user = m_client->GetUserID();
    ASSERT_NE(nullptr, m_manager->FindDevice(user, "auto"));
    EXPECT_EQ(0, m_manager->FindDevice(user, "auto")->GetUnit());
    ASSERT_NE(nullptr, m_manager->FindDevice(user, "other"));
    EXPECT_EQ(1, m_manager->FindDevice(user, "other")->GetUnit());
    EXPECT_EQ(2, m_path->GetNumDevices());
}

TEST_F(TavlinRemoteTest, ReceivedTextsReachTheirDeviceListenersThenTheCatchAll)
{
    CListener first, second, otherCase;
    ASSERT_TRUE(m_path->AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0));
    m_path->SetDeviceListener("auto", first.Callback());
    m_path->SetDeviceListener("Auto", otherCase.Callback());
    m_path->SetDeviceListener("auto", second.Callback());
    ASSERT_TRUE(m_path->SendDeviceCommand("auto:hello"));
    m_manager->PollMessages();
    ASSERT_TRUE(m_all.WaitForText());
    const std::vector<std::string> hello{"auto:hello"};
    EXPECT_EQ(hello, first.Take());
    EXPECT_EQ(hello, second.Take());
    EXPECT_TRUE(otherCase.Take().empty());
    EXPECT_EQ(hello, m_all.Take());

    // Deleting the device drops its first listener only.
    ASSERT_TRUE(m_path->DeleteDevice("auto"));
    ASSERT_TRUE(m_path->AddDeviceText("type=devrxtx\n", "auto", 0, 0, 0));
    ASSERT_TRUE(m_path->SendDeviceCommand("auto:again"));
    m_manager->PollMessages();
    ASSERT_TRUE(m_all.WaitForText());
    EXPECT_TRUE(first.Take().empty());
    EXPECT_EQ(std::vector<std::string>{"auto:again"}, second.Take());
}

TEST(TavlinRemoteWithoutServer, EveryCallReportsTheMissingServer)
{
    CListener all;
    CTavlinRemote path(nullptr);
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
        {"no match", [](CDevicePath& p) { return p.SetReportNoMatch(1); }, TRUE},
        {"units", [](CDevicePath& p) { return p.GetNumTavlins(); }, -1},
        {"devices", [](CDevicePath& p) { return p.GetNumDevices(); }, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.call(path)) << c.name;
        EXPECT_EQ(std::vector<std::string>{"tavlinx:error[No device server]"}, all.Take()) << c.name;
    }
}

} // namespace
