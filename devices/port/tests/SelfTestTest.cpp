// Self tests of a unit on the loopback fixture, with the fixture's wiring
// broken where a test wants a failure, and the boot loader's block transfers.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "tests/support/PtySerial.h"
#include "devices/port/TavlinPort.h"
#include "tests/support/TavlinSimulator.h"

namespace {

class TavlinFixtureTest : public ::testing::Test
{
protected:
    TavlinFixtureTest() : m_unit(m_pty), m_port(m_pty.Port())
    {
        m_port.GetError().m_messageBox = FALSE;
        m_unit.SetFixture(CTavlinSimulator::FullyWired());
    }

    void SetUp() override { ASSERT_TRUE(m_port.Locate()); }

    void Unwire(BYTE busPorts, BYTE irChannels, bool parallel)
    {
        TavlinFixture fixture = CTavlinSimulator::FullyWired();
        fixture.busPorts &= ~busPorts;
        fixture.irChannels &= ~irChannels;
        fixture.parallel = !parallel;
        m_unit.SetFixture(fixture);
    }

    CDebugCapture m_debug;
    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CTavlinPort m_port;
};

struct SelfTestCase
{
    int kind;
    BYTE unwiredBus;
    BYTE unwiredIR;
    bool unwiredParallel;
    int failure;
};

TEST_F(TavlinFixtureTest, EachKindPassesWiredAndNamesWhatIsBroken)
{
    const SelfTestCase cases[] = {
        {0, 0, 0, false, 0},
        {1, 0, 0, false, 0},
        {1, 0x04, 0, false, 0x04},
        {1, 0x09, 0, false, 0x09},
        {3, 0, 0, false, 0},
        {3, 0, 0, true, 1},
        {2, 0, 0, false, 0},
        {2, 0, 0x01, false, 1},
        {6, 0, 0x01, false, 0},
        {6, 0, 0x02, false, 1},
        {5, 0, 0x01, false, 0},
        {5, 0, 0x08, false, 0x08},
        {7, 0, 0x02, false, 0},
        {7, 0, 0x80, false, 0x80},
    };
    for (const SelfTestCase& c : cases) {
        Unwire(c.unwiredBus, c.unwiredIR, c.unwiredParallel);
        EXPECT_EQ(c.failure, m_port.RunTest(c.kind, 1)) << "kind " << c.kind << " unwired "
                                                        << int(c.unwiredBus) << " " << int(c.unwiredIR);
    }
}

TEST_F(TavlinFixtureTest, ParallelTestRestoresThePort)
{
    Unwire(0, 0, false);
    ASSERT_EQ(0, m_port.RunTest(3, 1));
    ASSERT_TRUE(m_port.Flush(TRUE, 1000));
    TavlinUnitSettings settings = m_unit.Settings();
    EXPECT_EQ(0, settings.enabledPorts & 0x20);
    EXPECT_EQ(0, settings.parallelHandshake);
    EXPECT_EQ(0xFF, settings.parallelDirection);
}

TEST_F(TavlinFixtureTest, IRTestPutsTheMasksBack)
{
    TavlinUnitSettings before = m_unit.Settings();
    ASSERT_EQ(0, m_port.RunTest(5, 1));
    ASSERT_TRUE(m_port.Flush(TRUE, 1000));
    TavlinUnitSettings after = m_unit.Settings();
    EXPECT_EQ(before.irReceivePorts, after.irReceivePorts);
    EXPECT_EQ(before.irTransmitPorts, after.irTransmitPorts);
    EXPECT_EQ(0x3F, after.enabledPorts & 0x3F);
}

TEST_F(TavlinFixtureTest, SerialLinkSpeeds)
{
    EXPECT_EQ(0, m_port.RunTest(4, 1));
    EXPECT_EQ(38400, m_port.GetBaudRate());
    EXPECT_EQ(38400, m_unit.GetBaudRate());
    // A unit that stops answering takes no new rate; 38400 is already in use.
    m_unit.SetSilent(true);
    EXPECT_EQ(0x0F, m_port.RunTest(4, 1));
}

TEST_F(TavlinFixtureTest, SilentUnitFailsTheVersionTestInTheFirstRound)
{
    m_unit.SetSilent(true);
    EXPECT_EQ(1, m_port.RunTest(0, 3));
}

struct LoopbackCase
{
    int durationChange;
    BOOL pass;
};

TEST_F(TavlinFixtureTest, IRLoopbackNeedsEveryDurationSent)
{
    const LoopbackCase cases[] = {{0, TRUE}, {+1, TRUE}, {-1, FALSE}};
    for (const LoopbackCase& c : cases) {
        TavlinFixture fixture = CTavlinSimulator::FullyWired();
        fixture.irDurationChange = c.durationChange;
        m_unit.SetFixture(fixture);
        EXPECT_EQ(c.pass, m_port.TestIRLoopback(3, 3, 38000)) << c.durationChange;
    }
    Unwire(0, 0x08, false);
    EXPECT_FALSE(m_port.TestIRLoopback(3, 3, 38000));
    EXPECT_TRUE(m_port.TestIRLoopback(2, 2, 38000));
}

TEST_F(TavlinFixtureTest, BootLoaderWritesAndReadsFlashBlocks)
{
    ASSERT_TRUE(m_port.EnterBootLoader());
    ASSERT_TRUE(m_unit.InBootLoader());
    std::string block;
    for (int i = 0; i < 64; ++i)
        block += char(i * 7 + 3);
    const BYTE* data = reinterpret_cast<const BYTE*>(block.data());

    EXPECT_TRUE(m_port.WriteFlashBlock(0x0120, 64, data));
    EXPECT_EQ(block, m_unit.Flash(0x0120, 64));
    BYTE read[64];
    ASSERT_TRUE(m_port.ReadFlashBlock(0x0120, 64, read));
    EXPECT_EQ(block, std::string(reinterpret_cast<char*>(read), 64));

    // A block damaged on the line is sent again, up to three times in all.
    m_unit.ClearReceived();
    m_unit.CorruptNextBlocks(2);
    EXPECT_TRUE(m_port.WriteFlashBlock(0x0200, 64, data));
    EXPECT_EQ(block, m_unit.Flash(0x0200, 64));
    m_unit.CorruptNextBlocks(3);
    EXPECT_FALSE(m_port.WriteFlashBlock(0x0300, 64, data));
    EXPECT_NE(block, m_unit.Flash(0x0300, 64));
    // A refusal is final.
    m_unit.ClearReceived();
    EXPECT_FALSE(m_port.WriteFlashBlock(0xFFF0, 64, data));
    const std::string header = CTavlinSimulator::Bytes({0xF0, 0xFF, 0xF0, 32});
    EXPECT_EQ(0u, m_unit.Received().find(header));
    EXPECT_EQ(std::string::npos, m_unit.Received().find(header, 1));

    EXPECT_TRUE(m_port.ExitBootLoader());
    ASSERT_TRUE(m_unit.WaitForReceived("\xF4", 1000));
    EXPECT_FALSE(m_unit.InBootLoader());
}

TEST_F(TavlinFixtureTest, BootLoaderThatNeverAnswers)
{
    m_unit.SetSilent(true);
    EXPECT_FALSE(m_port.EnterBootLoader());
    BYTE read[4];
    EXPECT_FALSE(m_port.ReadFlashBlock(0, 4, read));
    EXPECT_FALSE(m_port.WriteFlashBlock(0, 600, read));
    EXPECT_STREQ("600 is to long of a flash block (510 is the longest)", m_port.GetErrorText());
}

} // namespace
