#include "tests/support/TestFramework.h"

#include "tests/support/server/ServerEnvironment.h"

#include <memory>

#include "server/PortOptions.h"
#include "tests/support/PtySerial.h"
#include "server/ServerRegistration.h"
#include "platform/tavlinx/TavlinXApi.h"
#include "tests/support/TestData.h"
#include "server/tests/TestSite.h"

namespace {

const int kUnitPort = 6;
CTavlinSimulator* g_unit = nullptr;

class ServerEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // A server another test started may still be quitting: a client of
        // this run would reach it, with its unit gone.
        ASSERT_TRUE(NoServerRuns()) << "a copy of the server started before still runs";
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        RegisterProxyLibrary();
        // The server's options name COM1 to COM8 only.
        m_pty.reset(new CPtySerial(kUnitPort));
        m_unit.reset(new CTavlinSimulator(*m_pty));
        TavlinFixture fixture;
        fixture.busPorts = 0x01;
        m_unit->SetFixture(fixture);
        g_unit = m_unit.get();
        PortOptions options;
        options.tavlinMask = 1 << (m_pty->Port() - 1);
        options.Save();
        ASSERT_TRUE(RegisterServer(WindowsPath(Env("ZYM_TAVLINSERV")).c_str()));
        ASSERT_EQ(S_OK, RegisterTavlinXClass(&m_control));
    }

    void TearDown() override
    {
        CoRevokeClassObject(m_control);
        g_unit = nullptr;
        m_unit.reset();
        m_pty.reset();
    }

private:
    std::unique_ptr<CPtySerial> m_pty;
    std::unique_ptr<CTavlinSimulator> m_unit;
    DWORD m_control = 0;
};

::testing::Environment* const kServer = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

} // namespace

bool NoServerRuns()
{
    for (int i = 0; i < 200; ++i) {
        HANDLE mark = OpenEventA(SYNCHRONIZE, FALSE, "Tavlinserv SI Event");
        if (!mark)
            return true;
        CloseHandle(mark);
        Sleep(100);
    }
    return false;
}

CTavlinSimulator& ServerUnit()
{
    return *g_unit;
}
