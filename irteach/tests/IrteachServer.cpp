#include "tests/support/TestFramework.h"

#include "irteach/tests/IrteachServer.h"

#include <memory>

#include "server/PortOptions.h"
#include "tests/support/PtySerial.h"
#include "server/ServerRegistration.h"
#include "platform/tavlinx/TavlinXApi.h"
#include "tests/support/TestData.h"
#include "server/tests/TestSite.h"

namespace {

// Within COM1 to COM8, which the server's options name.
const int kLearnerPort = 7;
CTavlinSimulator* g_unit = nullptr;

class LearnerEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // The control's events come through this thread's message loop.
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
        RegisterProxyLibrary();
        m_pty.reset(new CPtySerial(kLearnerPort));
        m_unit.reset(new CTavlinSimulator(*m_pty));
        TavlinFixture loopback;
        loopback.irChannels = 0x01;
        m_unit->SetFixture(loopback);
        g_unit = m_unit.get();
        PortOptions options;
        options.tavlinMask = 1 << (m_pty->Port() - 1);
        options.Save();
        ASSERT_TRUE(RegisterServer(WindowsPath(Env("ZYM_TAVLINSERV")).c_str()));
        ASSERT_EQ(S_OK, RegisterTavlinXClass(&m_controlClass));
    }

    void TearDown() override
    {
        CoRevokeClassObject(m_controlClass);
        g_unit = nullptr;
        m_unit.reset();
        m_pty.reset();
        CoUninitialize();
    }

private:
    std::unique_ptr<CPtySerial> m_pty;
    std::unique_ptr<CTavlinSimulator> m_unit;
    DWORD m_controlClass = 0;
};

::testing::Environment* const kLearnerServer = ::testing::AddGlobalTestEnvironment(new LearnerEnvironment);

} // namespace

CTavlinSimulator& LearnerUnit()
{
    return *g_unit;
}
