// The client object in process, over a device manager without ports: the
// method table's results and error texts, and what a released object leaves
// behind in the manager.
#include "tests/support/TestFramework.h"
#include "server/tests/TestSite.h"
#include "devices/manager/DeviceManager.h"
#include "server/ServerState.h"
#include "server/TavlinClient.h"

namespace {

class TavlinClientTest : public ::testing::Test
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
        g_nSent = 0;
        g_nQuitCountdown = 0;
        m_client = new CTavlinClient(m_manager);
    }

    void TearDown() override
    {
        if (m_client)
            m_client->Release();
        g_pDeviceManager = nullptr;
        delete m_manager;
    }

    HRESULT AddText(const char* name, const char* text)
    {
        std::u16string n = Wide(name), t = Wide(text);
        LPWSTR pn = reinterpret_cast<LPWSTR>(&n[0]);
        LPWSTR pt = reinterpret_cast<LPWSTR>(&t[0]);
        return m_client->AddDeviceText(&pn, &pt, 0, 0, 0);
    }

    HRESULT WithText(HRESULT (STDMETHODCALLTYPE CTavlinClient::*method)(LPWSTR*), const char* text)
    {
        std::u16string w = Wide(text);
        LPWSTR p = reinterpret_cast<LPWSTR>(&w[0]);
        return (m_client->*method)(&p);
    }

    std::string Error()
    {
        LPWSTR text = nullptr;
        EXPECT_EQ(S_OK, m_client->GetTavlinError(&text));
        return TaskText(text);
    }

    CDeviceManager* m_manager = nullptr;
    CTavlinClient* m_client = nullptr;
};

TEST_F(TavlinClientTest, AFreshObjectHasNoError)
{
    EXPECT_EQ("No Error", Error());
    EXPECT_NE(0, m_client->GetUserID());
    EXPECT_EQ(0, m_client->GetNumDevices());
}

TEST_F(TavlinClientTest, FailuresReturnMinusOneAndKeepTheManagersText)
{
    ASSERT_EQ(S_OK, AddText("auto", "type=devrxtx"));
    ASSERT_EQ(S_OK, AddText("out", "type=devtx"));
    struct Case
    {
        const char* what;
        std::function<HRESULT()> call;
        std::string error;
    };
    LPWSTR name = nullptr;
    const Case cases[] = {
        {"second device of one name", [&] { return AddText("auto", "type=devrxtx"); },
         "can't add: device auto already exists"},
        {"send to a device never added", [&] { return WithText(&CTavlinClient::Send, "tv:on"); },
         "tv is not a known device name"},
        {"device #0", [&] { return m_client->GetDeviceName(&name, 0); },
         "There is no device #0 to get the name of"},
        {"device past the count", [&] { return m_client->GetDeviceName(&name, 3); },
         "There is no device #3 to get the name of"},
        {"codes of a missing device", [&] { return WithText(&CTavlinClient::GetNumCodes, "vcr"); },
         "Unable to locate device [vcr]"},
        {"delete a missing device", [&] { return WithText(&CTavlinClient::DeleteDevice, "vcr"); },
         ""},
    };
    for (const Case& c : cases) {
        name = nullptr;
        EXPECT_EQ(HRESULT(-1), c.call()) << c.what;
        if (name) {
            EXPECT_EQ("", TaskText(name)) << c.what;   // allocated and empty on failure
        }
        if (!c.error.empty()) {
            EXPECT_EQ(c.error, Error()) << c.what;
        }
    }
    EXPECT_EQ(0, g_nSent);
    // A later success does not clear the text.
    ASSERT_EQ(S_OK, WithText(&CTavlinClient::Send, "out:x"));
    EXPECT_EQ(1, g_nSent);
    EXPECT_FALSE(Error().empty());
}

TEST_F(TavlinClientTest, DevicesAreListedFromOne)
{
    ASSERT_EQ(S_OK, AddText("Auto", "type=devrxtx"));
    ASSERT_EQ(S_OK, AddText("out", "type=devtx"));
    EXPECT_EQ(2, m_client->GetNumDevices());
    LPWSTR name = nullptr;
    ASSERT_EQ(S_OK, m_client->GetDeviceName(&name, 2));
    EXPECT_EQ("out", TaskText(name));
    ASSERT_EQ(S_OK, WithText(&CTavlinClient::DeleteDevice, "out"));
    EXPECT_EQ(1, m_client->GetNumDevices());
}

TEST_F(TavlinClientTest, ReportNoMatchKeepsItsSign)
{
    EXPECT_EQ(0, m_client->GetReportNoMatch());
    EXPECT_EQ(S_OK, m_client->SetReportNoMatch(-1));
    EXPECT_EQ(-1, m_client->GetReportNoMatch());
}

TEST_F(TavlinClientTest, AReleasedObjectTakesItsUserUnlessPersistent)
{
    struct Case
    {
        short persistent;
        BOOL userRemains;
    };
    for (const Case& c : {Case{0, FALSE}, Case{1, TRUE}}) {
        CTavlinClient* client = new CTavlinClient(m_manager);
        int id = client->GetUserID();
        client->MakePersistent(c.persistent);
        client->Release();
        EXPECT_EQ(c.userRemains, m_manager->HasUser(id)) << c.persistent;
    }
    // The fixture's object is still alive: no countdown yet.
    EXPECT_EQ(0, g_nQuitCountdown);
    m_client->Release();
    m_client = nullptr;
    EXPECT_EQ(3, g_nQuitCountdown);
}

TEST_F(TavlinClientTest, SwitchToUserIdKeepsOrGivesUpTheOwnRecord)
{
    int own = m_client->GetUserID();
    // An id without a record: the own record stays.
    EXPECT_EQ(S_OK, m_client->SwitchToUserID(own + 100));
    EXPECT_EQ(own + 100, m_client->GetUserID());
    EXPECT_TRUE(m_manager->HasUser(own));

    CTavlinClient* other = new CTavlinClient(m_manager);
    int second = other->GetUserID();
    // An id with a record: the own record goes.
    EXPECT_EQ(S_OK, other->SwitchToUserID(own));
    EXPECT_FALSE(m_manager->HasUser(second));
    EXPECT_EQ(own, other->GetUserID());
    other->Release();
    // Switched objects are persistent: the adopted record outlives them.
    EXPECT_TRUE(m_manager->HasUser(own));
}

TEST_F(TavlinClientTest, ASecondAdviseFailsAndTheFirstSiteStays)
{
    CTestSite* first = new CTestSite;
    CTestSite* second = new CTestSite;
    ASSERT_EQ(S_OK, m_client->DAdvise(first));
    EXPECT_EQ(E_FAIL, m_client->DAdvise(second));
    m_manager->StartMessageMonitor();
    ASSERT_EQ(S_OK, AddText("auto", "type=devrxtx"));
    ASSERT_EQ(S_OK, WithText(&CTavlinClient::Send, "auto:hi"));
    ASSERT_TRUE(first->WaitFor(1));
    EXPECT_EQ(std::vector<std::string>{"auto:hi"}, first->Texts());
    EXPECT_TRUE(second->Texts().empty());
    m_client->Release();
    m_client = nullptr;
    first->Release();
    second->Release();
}

// A client stuck in Receive when its object goes: the object does not wait for
// it beyond its short bound, and the late delivery ends without touching the
// freed object.
TEST_F(TavlinClientTest, ASlowReceiveOutlivesItsObjectSafely)
{
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE resume = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CTestSite* site = new CTestSite;
    site->onReceive = [&](const std::string&) {
        SetEvent(entered);
        WaitForSingleObject(resume, 10000);
    };
    ASSERT_EQ(S_OK, m_client->DAdvise(site));
    m_manager->StartMessageMonitor();
    ASSERT_EQ(S_OK, AddText("auto", "type=devrxtx"));
    ASSERT_EQ(S_OK, WithText(&CTavlinClient::Send, "auto:first"));
    ASSERT_EQ(S_OK, WithText(&CTavlinClient::Send, "auto:second"));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 10000));
    m_client->Release();
    m_client = nullptr;
    SetEvent(resume);
    // The queued second text was dropped with the object; the site goes last.
    EXPECT_TRUE(site->WaitFor(1));
    // The delivery thread lets the site go once Receive has returned.
    bool onlyOurs = false;
    for (int i = 0; i < 500 && !onlyOurs; ++i) {
        onlyOurs = site->AddRef() == 2;
        site->Release();
        if (!onlyOurs)
            Sleep(10);
    }
    EXPECT_TRUE(onlyOurs);
    EXPECT_EQ(std::vector<std::string>{"auto:first"}, site->Texts());
    site->onReceive = nullptr;
    site->Release();
    CloseHandle(entered);
    CloseHandle(resume);
}

}  // namespace
