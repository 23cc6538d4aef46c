// The port driver: opening the COM port, port commands byte for byte, setting
// checks, locating the unit, sync marks, settings requests and keep-alive.
#include "devices/port/tests/TavlinLine.h"

#include "tests/support/MessageBoxScript.h"
#include "tests/support/TavlinSimulator.h"

namespace {

std::string B(std::initializer_list<int> values)
{
    return CTavlinSimulator::Bytes(values);
}

const BYTE kSerial[8] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
const int kRoutingPorts[8] = {0, 1, 2, 3, 4, 5, 6, 7};
const double kRoutingCarriers[8] = {40000, 0, 50000, 40000, 40000, 40000, 40000, 2500000};

struct CommandCase
{
    const char* name;
    BOOL (*call)(CTavlinPort& port);
    std::string bytes;
};

class TavlinCommands : public TavlinLine
{
protected:
    void SetUp() override
    {
        // IR port settings need firmware 2.0 or later.
        Receive(B({0xFF, 0x0B, 0x21}));
        ASSERT_DOUBLE_EQ(2.1, m_port.GetVersion());
    }
};

TEST_F(TavlinCommands, EveryCommandSendsItsBytes)
{
    const CommandCase cases[] = {
        {"EnablePort 3", [](CTavlinPort& p) { return p.EnablePort(3); }, B({0x7F, 0x03})},
        {"DisablePort 6", [](CTavlinPort& p) { return p.DisablePort(6); }, B({0xDF, 0x02})},
        {"SetSamplePeriod 100us", [](CTavlinPort& p) { return p.SetSamplePeriod(0.0001); }, B({0x9F, 0x04, 0x01, 0xF4})},
        {"SetSamplePeriod 1000us", [](CTavlinPort& p) { return p.SetSamplePeriod(0.001); }, B({0x9F, 0x04, 0x13, 0x88})},
        {"RequestSamplePeriod", [](CTavlinPort& p) { return p.RequestSamplePeriod(); }, B({0x9F, 0x05})},
        {"SetCarrier 40000", [](CTavlinPort& p) { return p.SetCarrier(40000); }, B({0x9F, 0x06, 0x00, 0x7C})},
        {"SetCarrier 10000", [](CTavlinPort& p) { return p.SetCarrier(10000); }, B({0x9F, 0x06, 0x01, 0xF9})},
        {"SetCarrier 19531.25", [](CTavlinPort& p) { return p.SetCarrier(19531.25); }, B({0x9F, 0x06, 0x00, 0xFF})},
        {"SetCarrier lowest", [](CTavlinPort& p) { return p.SetCarrier(2441.40625); }, B({0x9F, 0x06, 0x03, 0xFF})},
        {"SetCarrier off", [](CTavlinPort& p) { return p.SetCarrier(0); }, B({0x9F, 0x06, 0x00, 0x00})},
        {"RequestCarrier", [](CTavlinPort& p) { return p.RequestCarrier(); }, B({0x9F, 0x07})},
        {"SetIRTransmitPorts", [](CTavlinPort& p) { return p.SetIRTransmitPorts(0x05); }, B({0x9F, 0x08, 0x05})},
        {"SetIRReceivePorts", [](CTavlinPort& p) { return p.SetIRReceivePorts(0x03); }, B({0x9F, 0x09, 0x03})},
        {"SetIRRoutingTable", [](CTavlinPort& p) { return p.SetIRRoutingTable(kRoutingPorts, kRoutingCarriers); },
         B({0x9F, 0x0A, 0, 124, 1, 0, 2, 99, 3, 124, 4, 124, 5, 124, 6, 124, 7, 1})},
        {"SetIRReceivePolarity", [](CTavlinPort& p) { return p.SetIRReceivePolarity(0x81); }, B({0x9F, 0x0B, 0x81})},
        {"SetTimeoutPeriod 10ms", [](CTavlinPort& p) { return p.SetTimeoutPeriod(0.01); }, B({0x9F, 0x0C, 0x00, 0x64})},
        {"SetTimeoutPeriod 65536 periods", [](CTavlinPort& p) { return p.SetTimeoutPeriod(6.5536); }, B({0x9F, 0x0C, 0x00, 0x00})},
        {"RequestTimeoutPeriod", [](CTavlinPort& p) { return p.RequestTimeoutPeriod(); }, B({0x9F, 0x0D})},
        {"SetMinMessageLength 15", [](CTavlinPort& p) { return p.SetMinMessageLength(15); }, B({0x9F, 0x0E, 0x0F})},
        {"RequestMinMessageLength", [](CTavlinPort& p) { return p.RequestMinMessageLength(); }, B({0x9F, 0x0F})},
        {"RequestIRTransmitPorts", [](CTavlinPort& p) { return p.RequestIRTransmitPorts(); }, B({0x9F, 0x10})},
        {"RequestIRReceivePorts", [](CTavlinPort& p) { return p.RequestIRReceivePorts(); }, B({0x9F, 0x11})},
        {"RequestIRRoutingTable", [](CTavlinPort& p) { return p.RequestIRRoutingTable(); }, B({0x9F, 0x12})},
        {"RequestIRReceivePolarity", [](CTavlinPort& p) { return p.RequestIRReceivePolarity(); }, B({0x9F, 0x13})},
        {"SetParallelHandshake a c", [](CTavlinPort& p) { return p.SetParallelHandshake(TRUE, FALSE, TRUE); }, B({0xBF, 0x10, 0x06})},
        {"SetParallelHandshake b", [](CTavlinPort& p) { return p.SetParallelHandshake(FALSE, TRUE, FALSE); }, B({0xBF, 0x10, 0x01})},
        {"RequestParallelHandshake", [](CTavlinPort& p) { return p.RequestParallelHandshake(); }, B({0xBF, 0x11})},
        {"SetParallelDirection", [](CTavlinPort& p) { return p.SetParallelDirection(0xAA); }, B({0xBF, 0x12, 0xAA})},
        {"RequestParallelDirection", [](CTavlinPort& p) { return p.RequestParallelDirection(); }, B({0xBF, 0x13})},
        {"ReadParallel", [](CTavlinPort& p) { return p.ReadParallel(); }, B({0xBF, 0x14})},
        {"SetBaudRate 9600", [](CTavlinPort& p) { return p.SetBaudRate(9600); }, B({0xDF, 0x08, 0x02})},
        {"RequestBaudRate", [](CTavlinPort& p) { return p.RequestBaudRate(); }, B({0xDF, 0x09})},
        {"RequestVersion", [](CTavlinPort& p) { return p.RequestVersion(); }, B({0xFF, 0x0B})},
        {"RequestSerialNumber", [](CTavlinPort& p) { return p.RequestSerialNumber(); }, B({0xFF, 0x0C})},
        {"WriteSerialNumber", [](CTavlinPort& p) { return p.WriteSerialNumber(0x04030201, kSerial); },
         B({0xFF, 0x0D, 1, 2, 3, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80})},
        {"StoreToEEPROM", [](CTavlinPort& p) { return p.StoreToEEPROM(); }, B({0xFF, 0x0E})},
        {"LoadFromEEPROM", [](CTavlinPort& p) { return p.LoadFromEEPROM(); }, B({0xFF, 0x0F})},
        {"PlayMacro1", [](CTavlinPort& p) { return p.PlayMacro1(); }, B({0xFF, 0x10})},
        {"PlayMacro2", [](CTavlinPort& p) { return p.PlayMacro2(); }, B({0xFF, 0x11})},
        {"StoreMacro1", [](CTavlinPort& p) { return p.StoreMacro1(); }, B({0xFF, 0x12})},
        {"StoreMacro2", [](CTavlinPort& p) { return p.StoreMacro2(); }, B({0xFF, 0x13})},
        {"SystemCommand16", [](CTavlinPort& p) { return p.SystemCommand16(0x11223344); }, B({0xFF, 0x10, 0x44, 0x33, 0x22, 0x11})},
        {"EndMacro", [](CTavlinPort& p) { return p.EndMacro(); }, B({0x60, 0x60})},
        {"SendResetSequence", [](CTavlinPort& p) { return p.SendResetSequence(); }, B({0x00, 0xFF, 0xAA})},
        {"SendSyncMark", [](CTavlinPort& p) { return p.SendSyncMark(0xC5); }, B({0xC1, 0xC5, 0xC0})},
        {"SendBootLoaderRequest", [](CTavlinPort& p) { return p.SendBootLoaderRequest(); }, B({0xFF, 0xFF})},
        {"ExitBootLoader", [](CTavlinPort& p) { return p.ExitBootLoader(); }, B({0xF4})},
        {"SendBootLoaderCode", [](CTavlinPort& p) { return p.SendBootLoaderCode(); }, B({0xF6, 0x5A, 0xA5, 0x3C, 0xC3})},
    };
    for (const CommandCase& c : cases) {
        EXPECT_TRUE(c.call(m_port)) << c.name;
        EXPECT_EQ(c.bytes, m_pty.ReadExact(c.bytes.size(), 1000)) << c.name;
        EXPECT_EQ("", Sent(10)) << c.name;
    }
}

struct RefusedCase
{
    const char* name;
    BOOL (*call)(CTavlinPort& port);
    const char* text;
};

TEST_F(TavlinCommands, SettingsOutOfRangeAreReportedAndSendNothing)
{
    static const double badRouting[8] = {40000, 40000, 1000, 40000, 40000, 40000, 40000, 40000};
    const RefusedCase cases[] = {
        {"carrier above the clock", [](CTavlinPort& p) { return p.SetCarrier(5000001); },
         "5000001.000000 is to high of a carrier frequency (5000000.000000 is the max)"},
        {"carrier below the lowest", [](CTavlinPort& p) { return p.SetCarrier(2000); },
         "2000.000000 is to low of a carrier frequency (2441.406250 is the minimum)"},
        {"negative carrier", [](CTavlinPort& p) { return p.SetCarrier(-40000); },
         "-40000.000000 is to low of a carrier frequency (2441.406250 is the minimum)"},
        {"carrier not a number", [](CTavlinPort& p) { return p.SetCarrier(NAN); },
         "nan is to low of a carrier frequency (2441.406250 is the minimum)"},
        {"sample period not a number", [](CTavlinPort& p) { return p.SetSamplePeriod(NAN); },
         "nanus is to short of a sampling period (49us is the shortest at this baud rate)"},
        {"timeout not a number", [](CTavlinPort& p) { return p.SetTimeoutPeriod(NAN); },
         "nanus is to short of a timeout period  (50us is the shortest)"},
        {"routing entry too low", [](CTavlinPort& p) { return p.SetIRRoutingTable(kRoutingPorts, badRouting); },
         "1000.000000 is to low of a carrier frequency (2441.406250 is the minimum)"},
        {"sample period too short", [](CTavlinPort& p) { return p.SetSamplePeriod(0.00004); },
         "40us is to short of a sampling period (49us is the shortest at this baud rate)"},
        {"sample period too long", [](CTavlinPort& p) { return p.SetSamplePeriod(0.0011); },
         "1100us is to long of a sampling period (1000us is the longest)"},
        {"timeout below 50us", [](CTavlinPort& p) { return p.SetTimeoutPeriod(0.00004); },
         "40us is to short of a timeout period  (50us is the shortest)"},
        {"timeout above 65536 periods", [](CTavlinPort& p) { return p.SetTimeoutPeriod(6.55366); },
         "6553660us is to long of a timeout period (6553600us is the longest)"},
        {"negative minimum length", [](CTavlinPort& p) { return p.SetMinMessageLength(-1); },
         "-1 is to short of a minimum message length (0 is the shortest)"},
        {"minimum length above 15", [](CTavlinPort& p) { return p.SetMinMessageLength(16); },
         "16 is to long of a minimum message length (15 is the longest)"},
    };
    for (const RefusedCase& c : cases) {
        LONG reported = m_port.GetError().m_reported;
        m_debug.Clear();
        EXPECT_FALSE(c.call(m_port)) << c.name;
        EXPECT_STREQ(c.text, m_port.GetErrorText()) << c.name;
        EXPECT_EQ(reported + 1, m_port.GetError().m_reported) << c.name;
        EXPECT_TRUE(m_debug.Contains(c.text)) << c.name;
        EXPECT_EQ("", Sent(10)) << c.name;
    }
}

TEST_F(TavlinCommands, TimeoutShorterThanOneSamplePeriodIsRefused)
{
    Receive(B({0x9F, 0x04, 0x03, 0xE8}));   // 1000 counts: 200 us
    ASSERT_DOUBLE_EQ(0.0002, m_port.GetSamplePeriod());
    Sent(20);
    EXPECT_FALSE(m_port.SetTimeoutPeriod(0.00006));
    EXPECT_STREQ("60us is to short of a timeout period (200us is the shortest)", m_port.GetErrorText());
    EXPECT_TRUE(m_port.SetTimeoutPeriod(0.0001));   // rounds to one period
    EXPECT_EQ(B({0x9F, 0x0C, 0x00, 0x01}), Sent());
}

TEST_F(TavlinCommands, ShortestSamplePeriodFollowsTheBaudRate)
{
    Receive(B({0xDF, 0x08, 0x02}));   // the unit now runs at 9600
    ASSERT_EQ(9600, m_port.GetBaudRate());
    Sent(20);
    EXPECT_FALSE(m_port.SetSamplePeriod(0.0001));
    EXPECT_STREQ("100us is to short of a sampling period (104us is the shortest at this baud rate)",
                 m_port.GetErrorText());
    EXPECT_EQ("", Sent(50));
}

TEST_F(TavlinCommands, InvalidBaudRateIsRefusedWithoutReport)
{
    LONG reported = m_port.GetError().m_reported;
    Sent(20);
    EXPECT_FALSE(m_port.SetBaudRate(57600));
    EXPECT_STREQ("57600bps is an invalid baud rate.", m_port.GetErrorText());
    EXPECT_EQ(reported, m_port.GetError().m_reported);
    EXPECT_TRUE(m_port.SetBaudRate(38400));   // already the rate: nothing to do
    EXPECT_EQ("", Sent(50));
}

TEST_F(TavlinCommands, ErrorsShowMessageBoxesUnlessSwitchedOff)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    m_port.GetError().m_messageBox = TRUE;
    EXPECT_FALSE(m_port.SetMinMessageLength(99));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("99 is to long of a minimum message length (15 is the longest)", boxes.Shown()[0].text);
}

TEST_F(TavlinLine, IRPortMasksNeedFirmwareTwo)
{
    Receive(B({0xFF, 0x0B, 0x19}));   // 1.9
    Sent(20);
    EXPECT_FALSE(m_port.SetIRTransmitPorts(1));
    EXPECT_FALSE(m_port.SetIRReceivePorts(1));
    EXPECT_FALSE(m_port.SetIRReceivePolarity(1));
    int ports[8];
    double carriers[8];
    EXPECT_FALSE(m_port.GetIRRoutingTable(ports, carriers));
    EXPECT_EQ("", Sent(50));
}

// A unit behind the pty, answering as the device does.
class TavlinUnit : public ::testing::Test
{
protected:
    CDebugCapture m_debug;
    CPtySerial m_pty;
};

TEST_F(TavlinUnit, LocateFindsTheUnitAtEachRate)
{
    const int rates[] = {38400, 19200, 9600, 4800, 2400};
    for (int rate : rates) {
        CTavlinSimulator unit(m_pty, rate, 2.1);
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        EXPECT_TRUE(port.Locate()) << rate;
        EXPECT_TRUE(port.IsLocated()) << rate;
        EXPECT_EQ(rate, port.GetBaudRate());
        EXPECT_DOUBLE_EQ(2.1, port.GetVersion()) << rate;
        EXPECT_TRUE(m_debug.Contains("*** Baud = " + std::to_string(rate) + "\n"));
    }
}

TEST_F(TavlinUnit, LocateRefusesVersionTenAndSilence)
{
    const struct { double version; bool silent; } units[] = {{10.0, false}, {2.1, true}};
    for (const auto& u : units) {
        CTavlinSimulator unit(m_pty, 38400, u.version);
        unit.SetSilent(u.silent);
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        EXPECT_FALSE(port.Locate()) << u.version;
        EXPECT_FALSE(port.IsLocated());
        EXPECT_EQ(0, port.GetVersion());
    }
}

TEST_F(TavlinUnit, LocateRefusesPortThatDidNotOpen)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CTavlinPort port(250);   // nothing behind COM250
    EXPECT_TRUE(port.IsOpenFailed());
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_FALSE(port.Locate());
    EXPECT_FALSE(port.Write(reinterpret_cast<const BYTE*>("\x00"), 1));
    CString out;
    EXPECT_FALSE(port.ReadResponses(out, 10));   // quietly: no further box
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST_F(TavlinUnit, LocateReadsTheUnitsSettings)
{
    CTavlinSimulator unit(m_pty, 19200, 2.1);
    TavlinUnitSettings s;
    s.sampleCount = 250;               // 50 us
    s.carrierExponent = 1;
    s.carrierDivider = 249;            // 10000 Hz
    s.timeoutCount = 200;
    s.minMessageLength = 4;
    s.irTransmitPorts = 0x03;
    s.irReceivePorts = 0x0C;
    s.irReceivePolarity = 0x01;
    s.routing[0] = 2;
    s.routing[1] = 124;
    s.parallelHandshake = 0x05;
    s.parallelDirection = 0x0F;
    unit.SetSettings(s);
    unit.SetSerialNumber("\x11\x22\x33\x44\x55\x66\x77\x88");
    CTavlinPort port(m_pty.Port());
    port.GetError().m_messageBox = FALSE;
    ASSERT_TRUE(port.Locate());
    EXPECT_DOUBLE_EQ(0.00005, port.GetSamplePeriod());
    EXPECT_DOUBLE_EQ(10000, port.GetCarrier());
    EXPECT_DOUBLE_EQ(0.01, port.GetTimeoutPeriod());
    EXPECT_EQ(4, port.GetMinMessageLength());
    EXPECT_EQ(0x03, port.GetIRTransmitPorts());
    EXPECT_EQ(0x0C, port.GetIRReceivePorts());
    EXPECT_EQ(0x01, port.GetIRReceivePolarity());
    BOOL a, b, c;
    port.GetParallelHandshake(&a, &b, &c);
    EXPECT_EQ(FALSE, a);
    EXPECT_EQ(TRUE, b);
    EXPECT_EQ(TRUE, c);
    EXPECT_EQ(0x0F, port.GetParallelDirection());
    int ports[8];
    double carriers[8];
    ASSERT_TRUE(port.GetIRRoutingTable(ports, carriers));
    EXPECT_EQ(2, ports[0]);
    EXPECT_DOUBLE_EQ(40000, carriers[0]);
    EXPECT_DOUBLE_EQ(0, carriers[1]);
    BYTE serial[8];
    port.GetSerialNumber(serial);
    EXPECT_EQ("\x11\x22\x33\x44\x55\x66\x77\x88", std::string(reinterpret_cast<char*>(serial), 8));
}

TEST_F(TavlinUnit, SettingsRequestsFollowTheFirmware)
{
    const std::string common = B({0x9F, 0x07, 0x9F, 0x05, 0x9F, 0x0D, 0x9F, 0x0F, 0xBF, 0x11, 0xBF, 0x13});
    const std::string fromTwo = B({0xFF, 0x0C, 0x9F, 0x10, 0x9F, 0x12, 0x9F, 0x11, 0x9F, 0x13});
    const struct { double version; bool irQueries; } units[] = {{1.9, false}, {2.0, true}};
    for (const auto& u : units) {
        CTavlinSimulator unit(m_pty, 38400, u.version);
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        ASSERT_TRUE(port.Locate()) << u.version;
        std::string received = unit.Received();
        EXPECT_NE(std::string::npos, received.find(common)) << u.version;
        EXPECT_EQ(u.irQueries, received.find(fromTwo) != std::string::npos) << u.version;
        EXPECT_EQ(u.irQueries, received.find(B({0xFF, 0x0C})) != std::string::npos) << u.version;
    }
}

TEST_F(TavlinUnit, EveryFlushSeesItsMarkEchoedFromTheFirstOn)
{
    CTavlinSimulator unit(m_pty);
    CTavlinPort port(m_pty.Port());
    port.GetError().m_messageBox = FALSE;
    port.SetKeepAlive(FALSE);
    // More than one round of the thirty marks.
    for (int i = 0; i < 35; ++i)
        ASSERT_TRUE(port.Flush(TRUE, 2000)) << "flush " << i;
    unit.SetSilent(true);
    EXPECT_FALSE(port.Flush(TRUE, 200));
}

// Another thread reads responses, as the monitoring thread does.
struct ReaderThread
{
    static DWORD WINAPI Run(void* context)
    {
        ReaderThread* self = static_cast<ReaderThread*>(context);
        CString out;
        while (!self->stop)
            self->port->ReadResponses(out, 10);
        return 0;
    }
    CTavlinPort* port;
    volatile bool stop;
};

TEST_F(TavlinUnit, FlushWithoutReadingWaitsForTheMonitoringThread)
{
    CTavlinSimulator unit(m_pty);
    CTavlinPort port(m_pty.Port());
    port.GetError().m_messageBox = FALSE;
    port.SetKeepAlive(FALSE);
    ReaderThread reader = {&port, false};
    HANDLE thread = CreateThread(nullptr, 0, ReaderThread::Run, &reader, 0, nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(port.Flush(FALSE, 2000)) << i;
    reader.stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST_F(TavlinUnit, SetBaudRateMovesUnitAndPortTogether)
{
    CTavlinSimulator unit(m_pty, 38400, 2.1);
    CTavlinPort port(m_pty.Port());
    port.GetError().m_messageBox = FALSE;
    ASSERT_TRUE(port.Locate());
    EXPECT_TRUE(port.SetBaudRate(4800));
    EXPECT_EQ(4800, port.GetBaudRate());
    EXPECT_EQ(4800, unit.GetBaudRate());
    EXPECT_TRUE(port.Flush(TRUE, 2000));   // still talking at the new rate
}

double g_now = 0;
double TestClock()
{
    return g_now;
}

TEST_F(TavlinLine, KeepAliveResetsAfterMoreThanOneSecond)
{
    const std::string reset = B({0x00, 0xFF, 0xAA, 0xFF, 0x0B});
    m_port.SetClock(TestClock);
    m_port.SetKeepAlive(TRUE);
    const struct { double now; bool resets; } steps[] = {
        {100, true}, {100.5, false}, {101, false}, {101.5, true}, {102.5, false}, {103, true},
    };
    for (const auto& step : steps) {
        g_now = step.now;
        CString out;
        m_port.ReadResponses(out, 10);
        EXPECT_EQ(step.resets ? reset : "", Sent(50)) << step.now;
    }
    m_port.SetKeepAlive(FALSE);
    g_now = 200;
    CString out;
    m_port.ReadResponses(out, 10);
    EXPECT_EQ("", Sent(50));
}

TEST_F(TavlinLine, AliveWhileVersionAnswersFollowTheResets)
{
    m_port.SetClock(TestClock);
    m_port.SetKeepAlive(TRUE);
    g_now = 1000;
    Receive(B({0xFF, 0x0B, 0x21}));   // reset at 1000, answered at 1000
    EXPECT_TRUE(m_port.IsAlive());
    g_now = 1010;
    Receive("");                      // reset at 1010: the answer is 10 s old
    EXPECT_TRUE(m_port.IsAlive());
    g_now = 1012;
    Receive("");                      // reset at 1012: 12 s since the answer
    EXPECT_FALSE(m_port.IsAlive());
    Receive(B({0xFF, 0x0B, 0x21}));
    EXPECT_TRUE(m_port.IsAlive());
}

TEST_F(TavlinLine, ReopenCountsAResetAndDropsWhatWasWaiting)
{
    m_pty.Write(B({0x02, 0xAB, 0xCD, 0x00}));
    Sleep(50);
    EXPECT_TRUE(m_port.Open());
    EXPECT_EQ(1, m_port.GetComResets());
    EXPECT_STREQ("", Receive(""));
    EXPECT_TRUE(m_port.RequestVersion());
    EXPECT_EQ(B({0xFF, 0x0B}), Sent());
}

TEST(TavlinPortStatic, PortExistsLooksInTheSerialRegistry)
{
    CPtySerial pty;
    EXPECT_TRUE(CTavlinPort::PortExists(pty.Port()));
    EXPECT_FALSE(CTavlinPort::PortExists(251));
}

TEST(TavlinPortOpen, ShortAndDevicePathNamesBothOpen)
{
    for (int com : {9, 12}) {
        CPtySerial pty(com);
        CDebugCapture debug;
        CTavlinPort port(com);
        EXPECT_FALSE(port.IsOpenFailed()) << com;
        EXPECT_TRUE(port.RequestVersion());
        EXPECT_EQ(B({0xFF, 0x0B}), pty.ReadExact(2, 1000)) << com;
        EXPECT_TRUE(debug.Contains("Reset Comm\n"));
        EXPECT_TRUE(debug.Contains("GCP Max RX Queue"));
    }
}

} // namespace
