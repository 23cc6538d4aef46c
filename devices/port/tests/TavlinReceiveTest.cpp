// The receive parser: framed bytes from the unit become event texts, answers
// update the settings cache, error answers are reported and counted.
#include "devices/port/tests/TavlinLine.h"

#include "tests/support/TavlinSimulator.h"

#include <stdlib.h>

namespace {

std::string B(std::initializer_list<int> values)
{
    return CTavlinSimulator::Bytes(values);
}

struct TextCase
{
    const char* name;
    double version;   // firmware the unit reported first (0: none)
    std::string bytes;
    const char* text;
};

TEST_F(TavlinLine, MessagesBecomeTexts)
{
    const TextCase cases[] = {
        {"control-bus bytes", 0, B({0x02, 0xAB, 0xCD, 0x00}), "sl0[ABCD] "},
        {"control-bus port 3", 0, B({0x61, 0x5A, 0x60}), "sl3[5A] "},
        {"chunks of one message", 0, B({0x41, 0x01, 0x42, 0x02, 0x03, 0x40}), "sl2[010203] "},
        {"bit count", 0, B({0x01, 0xB4, 0x1F, 0x04, 0x05, 0x00}), "slb0[10110] "},
        {"bit count of two bytes", 0, B({0x22, 0xFF, 0x80, 0x3F, 0x04, 0x01, 0x20}), "slb1[111111111] "},
        {"IR named by its receiver", 2.1, B({0x82, 0x8A, 0x0A, 0x80, 0x9F, 0x01, 0x02}), "ir2[900.0 -1100.0 ] "},
        {"IR before firmware 2.0", 1.1, B({0x82, 0x8A, 0x0A, 0x80}), "ir0[900.0 -1100.0 ] "},
        {"IR runs of one mark add up", 1.1, B({0x83, 0x85, 0x85, 0x05, 0x80}), "ir0[900.0 -600.0 ] "},
        {"IR chunks decode alone", 1.1, B({0x81, 0x85, 0x81, 0x85, 0x80}), "ir0[400.0 400.0 ] "},
        {"parallel data", 0, B({0xA1, 0x3C, 0xA0}), "par[3C] "},
        {"system data", 0, B({0xE2, 0x01, 0x02, 0xE0}), "sys[0102] "},
        {"serial number", 0, B({0xFF, 0x0C, 1, 2, 3, 4, 5, 6, 7, 8}), "serialno[0102030405060708] "},
        {"signature", 0, B({0xFF, 0x10, 0x78, 0x56, 0x34, 0x12}), "signature[12345678] "},
        {"version answer", 0, B({0xFF, 0x0B, 0x21}), ""},
        {"sync mark carries no data", 0, B({0xC5, 0x02, 0xAB, 0xCD, 0x00}), "sl0[ABCD] "},
        {"end of a message never opened", 0, B({0x00, 0x01, 0x11, 0x00}), "sl0[11] "},
        {"texts in port order", 0, B({0xFF, 0x0C, 1, 2, 3, 4, 5, 6, 7, 8, 0x21, 0x77, 0x20}),
         "sl1[77] serialno[0102030405060708] "},
    };
    for (const TextCase& c : cases) {
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        port.SetKeepAlive(FALSE);
        CString out;
        if (c.version) {
            int v = int(c.version) << 4 | int(c.version * 10 + 0.5) % 10;
            m_pty.Write(B({0xFF, 0x0B, v}));
            port.ReadResponses(out, 100);
            ASSERT_DOUBLE_EQ(c.version, port.GetVersion()) << c.name;
        }
        m_pty.Write(c.bytes);
        out.Empty();
        port.ReadResponses(out, 100);
        EXPECT_STREQ(c.text, out) << c.name;
    }
}

TEST_F(TavlinLine, OpenMessageWaitsForLaterCall)
{
    EXPECT_STREQ("", Receive(B({0x01, 0xAB})));
    EXPECT_STREQ("sl0[ABCD] ", Receive(B({0x01, 0xCD, 0x00})));
    // Another port's message completes meanwhile; the open one stays open.
    EXPECT_STREQ("", Receive(B({0x21, 0x11})));
    EXPECT_STREQ("sl0[22] ", Receive(B({0x01, 0x22, 0x00})));
    EXPECT_STREQ("sl1[1133] ", Receive(B({0x21, 0x33, 0x20})));
}

TEST_F(TavlinLine, MessageSplitAcrossReadsComesWhole)
{
    CTavlinSimulator unit(m_pty);
    Receive(B({0xFF, 0x0B, 0x20}));
    std::string bytes = CTavlinSimulator::IRMessage({1000, -1000}, 0.0001, 1) +
                        B({0x03, 0x12, 0x34, 0x56, 0x00});
    unit.SendInPieces(bytes, 1, 30);
    CString out;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000 && out.Find("sl0[") < 0;)
        m_port.ReadResponses(out, 50);
    EXPECT_STREQ("ir1[900.0 -1100.0 ] sl0[123456] ", out);
}

struct CacheCase
{
    const char* name;
    std::string bytes;
    bool (*holds)(const CTavlinPort& port);
};

TEST_F(TavlinLine, AnswersUpdateTheSettingsCache)
{
    const CacheCase cases[] = {
        {"sample period", B({0x9F, 0x04, 0x01, 0xF4}), [](const CTavlinPort& p) { return p.GetSamplePeriod() == 500 * 0.0000002; }},
        {"carrier", B({0x9F, 0x06, 0x00, 0x7C}), [](const CTavlinPort& p) { return p.GetCarrier() == 40000; }},
        {"carrier with exponent", B({0x9F, 0x06, 0x01, 0xF9}), [](const CTavlinPort& p) { return p.GetCarrier() == 10000; }},
        {"no carrier", B({0x9F, 0x06, 0x00, 0x00}), [](const CTavlinPort& p) { return p.GetCarrier() == 0; }},
        {"transmit ports", B({0x9F, 0x08, 0x05}), [](const CTavlinPort& p) { return p.GetIRTransmitPorts() == 5; }},
        {"receive ports", B({0x9F, 0x09, 0x06}), [](const CTavlinPort& p) { return p.GetIRReceivePorts() == 6; }},
        {"polarity", B({0x9F, 0x0B, 0x07}), [](const CTavlinPort& p) { return p.GetIRReceivePolarity() == 7; }},
        {"timeout", B({0x9F, 0x0C, 0x01, 0x00}), [](const CTavlinPort& p) { return p.GetTimeoutPeriod() == 256 * p.GetSamplePeriod(); }},
        {"minimum length", B({0x9F, 0x0E, 0x03}), [](const CTavlinPort& p) { return p.GetMinMessageLength() == 3; }},
        {"handshake", B({0xBF, 0x10, 0x02}), [](const CTavlinPort& p) {
             BOOL a, c;
             p.GetParallelHandshake(&a, nullptr, &c);
             return a && !c;
         }},
        {"direction", B({0xBF, 0x12, 0xAA}), [](const CTavlinPort& p) { return p.GetParallelDirection() == 0xAA; }},
        {"port disabled", B({0x3F, 0x02}), [](const CTavlinPort& p) { return !p.IsPortEnabled(1) && p.IsPortEnabled(0); }},
        {"port enabled", B({0xDF, 0x03}), [](const CTavlinPort& p) { return p.IsPortEnabled(6) == TRUE; }},
        {"version", B({0xFF, 0x0B, 0x21}), [](const CTavlinPort& p) { return p.GetVersion() == 2 + 0.1; }},
        {"routing table", B({0xFF, 0x0B, 0x20, 0x9F, 0x0A, 3, 124, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 4}),
         [](const CTavlinPort& p) {
             int ports[8];
             double carriers[8];
             return p.GetIRRoutingTable(ports, carriers) && ports[0] == 3 && carriers[0] == 40000 &&
                    ports[1] == 1 && carriers[1] == 0 && ports[7] == 7 && carriers[7] == 1000000;
         }},
        {"baud rate", B({0xDF, 0x08, 0x01}), [](const CTavlinPort& p) { return p.GetBaudRate() == 4800; }},
    };
    for (const CacheCase& c : cases) {
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        port.SetKeepAlive(FALSE);
        m_pty.Write(c.bytes);
        CString out;
        port.ReadResponses(out, 100);
        EXPECT_TRUE(c.holds(port)) << c.name;
        EXPECT_EQ(0, port.GetError().m_reported) << c.name;
    }
}

TEST_F(TavlinLine, BaudRateAnswerReadsOneByteWhetherOrNotTheRateChanged)
{
    // The answer of the unchanged rate is followed at once by a message that must
    // keep its header.
    EXPECT_STREQ("sl0[AB] ", Receive(B({0xDF, 0x08, 0x04, 0x01, 0xAB, 0x00})));
    EXPECT_EQ(38400, m_port.GetBaudRate());
    // A changed rate reconfigures the line, which drops what came before it.
    EXPECT_STREQ("", Receive(B({0xDF, 0x08, 0x02})));
    EXPECT_EQ(9600, m_port.GetBaudRate());
    EXPECT_STREQ("sl0[CD] ", Receive(B({0x01, 0xCD, 0x00})));
}

struct ErrorCase
{
    std::string bytes;
    const char* text;
    int counter;   // TavlinErrorKind raised, or -1
    bool reset;    // the unit gets the reset sequence
};

TEST_F(TavlinLine, ErrorAnswersAreReportedCountedAndReset)
{
    const ErrorCase cases[] = {
        {B({0x1F, 0x80}), "Tavlin port 0 Receive error.", -1, false},
        {B({0x3F, 0x81}), "Tavlin port 1 Transmit Timeout error.(critical - will resume)", kTransmitTimeouts, true},
        {B({0x7F, 0xFF}), "Tavlin port 3 Illegal Command.(critical - will resume)", kIllegalCommands, true},
        {B({0x5F, 0x42}), "Tavlin port 2 Unkown Response [42].", -1, false},
        {B({0x9F, 0x81}), "IR port Transmit Timeout error.(critical - will resume)", kTransmitTimeouts, true},
        {B({0x9F, 0x82}), "IR port Illegal Sample Period.", -1, false},
        {B({0x9F, 0xFF}), "IR port Illegal Command.", kIllegalCommands, true},
        {B({0x9F, 0x42}), "IR port Unkown Response [42].", -1, false},
        {B({0xBF, 0x81}), "Parallel port Transmit Timeout error.(critical - will resume)", kTransmitTimeouts, true},
        {B({0xBF, 0xFF}), "Parallel port Illegal Command.(critical - will resume)", -1, true},
        {B({0xBF, 0x42}), "Parallel port Unkown Response [42].", -1, false},
        {B({0xDF, 0x81}), "Serial port Transmit Timeout error.(critical - will resume)", kTransmitTimeouts, true},
        {B({0xDF, 0x83}), "Serial port receive overflow.(critical - will resume)", kReceiveOverflows, true},
        {B({0xDF, 0x84}), "Serial port Illegal Baud Rate.", -1, false},
        {B({0xDF, 0x85}), "Serial port receive framing error.(critical - will resume)", kFramingErrors, true},
        {B({0xDF, 0x86}), "Serial port receive overrun.(critical - will resume)", kReceiveOverruns, true},
        {B({0xDF, 0xFF}), "Serial port Illegal Command.(critical - will resume)", kIllegalCommands, true},
        {B({0xDF, 0x42}), "Serial port Unkown Response [42].", -1, false},
        {B({0xDF, 0x08, 0x07}), "Serial port Illegal Baud Rate.", -1, false},
        {B({0xFF, 0x0F}), "Defaults Loaded / Reboot", kReboots, false},
        {B({0xFF, 0x8F}), "SEEPROM Write Error ", -1, false},
        {B({0xFF, 0x90}), "Command Timeout.(critical - will resume)", kCommandTimeouts, true},
        {B({0xFF, 0xFF}), "System Illegal Command.(critical - will resume)", kIllegalCommands, true},
        {B({0xFF, 0x55}), "System Unkown Response [55].", -1, false},
        {B({0x1F}), "Tavlin port 0 Unkown Response [00].", -1, false},   // the code never came
        {B({0x9F, 0x04, 0x01}), "Port 4 Timeoutcont cmd = 04", -1, false},
        {B({0x03, 0xAB}), "Port 0 Timeoutcont cmd = 03", -1, false},
    };
    for (const ErrorCase& c : cases) {
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        port.SetKeepAlive(FALSE);
        m_debug.Clear();
        m_pty.Write(c.bytes);
        CString out;
        port.ReadResponses(out, 100);
        EXPECT_STREQ("", out) << c.text;
        EXPECT_STREQ(c.text, port.GetErrorText());
        EXPECT_TRUE(m_debug.Contains(c.text)) << c.text;
        for (int kind = 0; kind < kTavlinErrorKinds; ++kind)
            EXPECT_EQ(kind == c.counter ? 1 : 0, port.GetErrorCount(TavlinErrorKind(kind))) << c.text;
        EXPECT_EQ(c.reset ? B({0x00, 0xFF, 0xAA}) : "", Sent(50)) << c.text;
    }
}

TEST_F(TavlinLine, MissingAnswerCodeIsReportedBeforeTheUnknownAnswer)
{
    Receive(B({0x1F}));
    EXPECT_TRUE(m_debug.Contains("Port 0 Timeoutcont cmd = 00"));
    EXPECT_EQ(2, m_port.GetError().m_reported);
}

TEST_F(TavlinLine, ReceiveErrorClosesTheOpenMessage)
{
    EXPECT_STREQ("sl2[AB] ", Receive(B({0x41, 0xAB, 0x5F, 0x80})));
    EXPECT_STREQ("Tavlin port 2 Receive error.", m_port.GetErrorText());
}

TEST_F(TavlinLine, IRMessageStopsAtTheMaximumSignalLength)
{
    m_port.SetMaxSignalLength(0.002);
    // 12.6 ms of mark passes 2 ms: what follows, in this chunk and the next, is dropped.
    EXPECT_STREQ("ir0[12600.0 ] ", Receive(B({0x82, 0xFF, 0x7F, 0x82, 0xFF, 0x7F, 0x80})));
    // The next message starts afresh.
    EXPECT_STREQ("ir0[900.0 ] ", Receive(B({0x81, 0x8A, 0x80})));
}

TEST_F(TavlinLine, EndlessIRStreamStaysBounded)
{
    std::string chunk(1, char(0x9E));
    for (int i = 0; i < 30; ++i)
        chunk += char(i % 2 ? 0x0A : 0x8A);   // 1 ms mark, 1 ms space
    std::string stream;
    for (int i = 0; i < 200; ++i)
        stream += chunk;   // 6 s of signal, never ended
    CTavlinSimulator unit(m_pty);
    unit.Send(stream);
    CString out;
    while (!unit.WaitUntilSent(0))
        m_port.ReadResponses(out, 50);
    m_port.ReadResponses(out, 50);
    EXPECT_STREQ("", out);
    out = Receive(B({0x80}));
    // About one second of one-millisecond durations at most.
    EXPECT_LT(out.GetLength(), 1100 * 8);
    EXPECT_EQ(0, strncmp("ir0[900.0 -1100.0 ", out, 18));
}

TEST_F(TavlinLine, EndlessControlBusMessageStaysBounded)
{
    std::string chunk(1, char(0x1E));
    chunk += std::string(30, char(0x5A));
    std::string stream;
    for (int i = 0; i < 300; ++i)
        stream += chunk;   // 9000 bytes, 18000 hex digits, not ended yet
    CTavlinSimulator unit(m_pty);
    unit.Send(stream + B({0x00}));
    CString out;
    while (!unit.WaitUntilSent(0))
        m_port.ReadResponses(out, 50);
    for (int i = 0; i < 20 && out.IsEmpty(); ++i)
        m_port.ReadResponses(out, 50);
    EXPECT_EQ(8192 + 2, out.GetLength());
    EXPECT_EQ(0, strncmp("sl0[5A5A", out, 8));
    EXPECT_STREQ("Port 0 message longer than 8192 characters: the rest is dropped", m_port.GetErrorText());
    unit.Send(B({0x01, 0x01, 0x00}));
    ASSERT_TRUE(unit.WaitUntilSent(2000));
    out.Empty();
    m_port.ReadResponses(out, 100);
    EXPECT_STREQ("sl0[01] ", out);
}

// A line that never stops sending must not keep one call reading: the monitoring
// thread gives every port its turn between calls. Here a message of port 1
// stands behind a long run of another port's data.
TEST_F(TavlinLine, EndlessLineLeavesTheCallInTurn)
{
    std::string stream;
    for (int i = 0; i < 1000; ++i)
        stream += B({0x01, 0x11});   // port 0 data, its message never ended
    m_pty.Write(stream + B({0x21, 0x77, 0x20}));
    CString out;
    m_port.ReadResponses(out, 100);
    EXPECT_STREQ("", out);
    for (int i = 0; i < 10 && out.IsEmpty(); ++i)
        m_port.ReadResponses(out, 100);
    EXPECT_STREQ("sl1[77] ", out);
}

TEST_F(TavlinLine, IRMessageWithoutReceiverAnswerEndsWhenTheNextBegins)
{
    Receive(B({0xFF, 0x0B, 0x21}));
    EXPECT_STREQ("", Receive(B({0x82, 0x8A, 0x0A, 0x80})));
    EXPECT_STREQ("ir0[900.0 -1100.0 ] ", Receive(B({0x81, 0x85, 0x80})));
    EXPECT_STREQ("ir1[400.0 ] ", Receive(B({0x9F, 0x01, 0x01})));
}

TEST_F(TavlinLine, GarbageNeverStopsTheParser)
{
    srand(5);
    for (int round = 0; round < 4; ++round) {
        std::string garbage;
        for (int i = 0; i < 64; ++i)
            garbage += char(rand() & 0xFF);
        m_pty.Write(garbage);
        CString out;
        for (int i = 0; i < 5; ++i)
            m_port.ReadResponses(out, 20);
    }
    // Close whatever the garbage left open, then a clean message comes through.
    CString out;
    m_pty.Write(std::string(32, '\0'));
    m_pty.Write(B({0x01, 0x00, 0x00, 0x21, 0x00, 0x20, 0x41, 0x00, 0x40, 0x61, 0x00, 0x60,
                   0x81, 0x00, 0x80, 0x9F, 0x01, 0x00, 0xA1, 0x00, 0xA0, 0xE1, 0x00, 0xE0}));
    for (int i = 0; i < 10; ++i)
        m_port.ReadResponses(out, 20);
    out.Empty();
    m_pty.Write(B({0x02, 0xAB, 0xCD, 0x00}));
    m_port.ReadResponses(out, 100);
    EXPECT_STREQ("sl0[ABCD] ", out);
}

} // namespace
