// LOWLEVEL texts: every word's frames byte for byte, the order in which words
// are matched, bad items, IR encoding and repetition.
#include "devices/port/tests/TavlinLine.h"

#include "devices/port/LowLevelText.h"
#include "tests/support/TavlinSimulator.h"

namespace {

std::string B(std::initializer_list<int> values)
{
    return CTavlinSimulator::Bytes(values);
}

std::string Repeated(int value, int n)
{
    return std::string(n, char(value));
}

struct LowLevelCase
{
    const char* text;
    double version;    // firmware the unit reported first
    std::string bytes;
    const char* error;   // reported error text, or nullptr
};

class TavlinLowLevel : public TavlinLine
{
protected:
    void SetVersion(double version)
    {
        int v = int(version) << 4 | int((version - int(version)) * 10 + 0.5);
        Receive(B({0xFF, 0x0B, v}));
        ASSERT_DOUBLE_EQ(version, m_port.GetVersion());
    }
};

TEST_F(TavlinLowLevel, TextsBecomeFrames)
{
    static const std::string longSerial = "ser[" + std::string(62, '1') + "]";
    const LowLevelCase cases[] = {
        // The first sync mark of the port: mark 0.
        {"flush[20]", 2.1, B({0xC1, 0xC1, 0xC0}), nullptr},
        {"carrier[38000] irmml[3]", 2.1, B({0x9F, 0x06, 0x00, 0x82, 0x9F, 0x0E, 0x03}), nullptr},
        {"CARRIER[40000]", 2.1, B({0x9F, 0x06, 0x00, 0x7C}), nullptr},
        {"ir[+500 -500]", 2.1, B({0x82, 0x85, 0x05, 0x80}), nullptr},
        {"ir[+300 -300]", 2.1, B({0x83, 0x0A, 0x83, 0x03, 0x80}), nullptr},
        {"ir[20000]", 2.1, B({0x82, 0xFF, 0xC9, 0x80}), nullptr},
        // 1.5 periods each: the rounding difference is carried, not lost.
        {"ir[+150 -150 +150 -150]", 2.1, B({0x85, 0x0A, 0x82, 0x01, 0x82, 0x01, 0x80}), nullptr},
        {"ir[500,x-500;;+0 -0.4e3]", 2.1, B({0x82, 0x85, 0x05, 0x80}), nullptr},
        {"ir[no numbers]", 2.1, "", nullptr},
        {"par[0102]", 2.1, B({0xA2, 0x01, 0x02, 0xA0}), nullptr},
        {longSerial.c_str(), 2.1,
         "\xDE" + std::string(30, '\x11') + "\xC1\x11\xC0", nullptr},
        {"sl2[ab c]", 2.1, B({0x42, 0xAB, 0xC0, 0x40}), nullptr},
        {"sl3[-]", 2.1, "", nullptr},
        {"slb0[10110]", 1.1, B({0x1F, 0x04, 0x05, 0xB0, 0x00}), nullptr},
        {"slb1[10101010 11]", 2.1, B({0x21, 0xAA, 0x3F, 0x04, 0x02, 0xC0, 0x20}), nullptr},
        {"slb0[10110]", 1.0, "", nullptr},
        {"sl4[12]", 2.1, "", nullptr},
        {"slb[1]", 2.1, "", nullptr},
        {"pardir[170]", 2.1, B({0xBF, 0x12, 0xAA}), nullptr},
        {"parhs[7] parhs[2]", 2.1, B({0xBF, 0x10, 0x07, 0xBF, 0x10, 0x02}), nullptr},
        {"parread[]", 2.1, B({0xBF, 0x14}), nullptr},
        {"storemacro1[] storemacro2[] endmacro[] playmacro1[] playmacro2[]", 2.1,
         B({0xFF, 0x12, 0xFF, 0x13, 0x60, 0x60, 0xFF, 0x10, 0xFF, 0x11}), nullptr},
        {"irtxports[5] irrxporten[3] irrxportpol[1]", 2.1,
         B({0x9F, 0x08, 0x05, 0x9F, 0x09, 0x03, 0x9F, 0x0B, 0x01}), nullptr},
        {"irtxports[5]", 1.9, "", nullptr},
        {"irroutingtable[0,40000,1,0,2,50000,3,40000,4,40000,5,40000,6,40000,7,2500000]", 2.1,
         B({0x9F, 0x0A, 0, 124, 1, 0, 2, 99, 3, 124, 4, 124, 5, 124, 6, 124, 7, 1}), nullptr},
        {"irroutingtable[1,38000]", 2.1, "", nullptr},
        {"irto[10000] irts[200]", 2.1, B({0x9F, 0x0C, 0x00, 0x64, 0x9F, 0x04, 0x03, 0xE8}), nullptr},
        {"getserialno[]", 2.1, B({0xFF, 0x0C}), nullptr},
        {"getversion[]", 2.1, "", nullptr},
        {"baud[38400]", 2.1, "", nullptr},
        // Word order: each of these holds a shorter word that comes later.
        {"xirtxportsx[1]", 2.1, B({0x9F, 0x08, 0x01}), nullptr},
        {"slb2[1]", 2.1, B({0x5F, 0x04, 0x01, 0x80, 0x40}), nullptr},
        {"parread[05]", 2.1, B({0xBF, 0x14}), nullptr},
        // Items and what stands between them.
        {"xyz[1] sl0[ff]", 2.1, B({0x01, 0xFF, 0x00}), nullptr},
        {"]sl0[01]", 2.1, B({0x01, 0x01, 0x00}), nullptr},
        {"sl0[01] ir[500", 2.1, B({0x01, 0x01, 0x00}), "Unbalanced brackets in LOWLEVEL text:  ir[500"},
        {"sl0[01]] ", 2.1, B({0x01, 0x01, 0x00}), "Unbalanced brackets in LOWLEVEL text: ] "},
        {"sl0[01] \n", 2.1, B({0x01, 0x01, 0x00}), nullptr},
        {"sl0 01", 2.1, "", nullptr},
        // Bad values skip their item only.
        {"irmml[99] sl1[02]", 2.1, B({0x21, 0x02, 0x20}),
         "99 is to long of a minimum message length (15 is the longest)"},
        {"carrier[1000]", 2.1, "", "1000.000000 is to low of a carrier frequency (2441.406250 is the minimum)"},
        {"ir[+500 -99999999999]", 2.1, "",
         "99999999999us is to long of an IR duration (10000000us is the longest)"},
    };
    for (const LowLevelCase& c : cases) {
        SetVersion(c.version);
        Sent(10);
        m_port.GetError().m_text = "none";
        EXPECT_TRUE(m_port.ExecuteLowLevel(c.text)) << c.text;
        EXPECT_EQ(c.bytes, Sent()) << c.text;
        EXPECT_STREQ(c.error ? c.error : "none", m_port.GetErrorText()) << c.text;
    }
}

// Long durations grow the encoding as far as they need, 127 periods a byte.
TEST_F(TavlinLowLevel, LongDurationsAreEncodedWhole)
{
    std::vector<BYTE> bytes;
    ASSERT_TRUE(m_port.EncodeIRTimings("+3000000 -2000000", bytes));
    int marks = 0;
    int spaces = 0;
    for (BYTE b : bytes)
        (b & 0x80 ? marks : spaces) += b & 0x7F;
    EXPECT_EQ(30000, marks);
    EXPECT_EQ(20000, spaces);
    EXPECT_EQ(size_t(237 + 158), bytes.size());

    ASSERT_TRUE(m_port.ExecuteLowLevel("ir[+3000000]"));
    std::string data = Repeated(0xFF, 236) + char(0x80 + 30000 % 127);
    EXPECT_EQ(CTavlinSimulator::Message(4, data), Sent());
}

TEST_F(TavlinLowLevel, IRRepeatSendsAgainAtEveryEchoUntilDataClearsIt)
{
    const std::string code = B({0x82, 0x85, 0x05, 0x80});
    ASSERT_TRUE(m_port.ExecuteLowLevel("irrepeat[+500 -500]"));
    std::string first = Sent();
    std::string expected;
    for (int mark = 0; mark < 3; ++mark)
        expected += code + B({0xC1, 0xC1 + mark, 0xC0});
    ASSERT_EQ(expected, first);

    // The unit echoes mark 0: the code goes out again with mark 3.
    Receive(B({0xC1}));
    EXPECT_EQ(code + B({0xC1, 0xC4, 0xC0}), Sent());

    ASSERT_TRUE(m_port.ExecuteLowLevel("sl0[01]"));
    EXPECT_EQ(B({0x01, 0x01, 0x00}), Sent());
    Receive(B({0xC2}));
    EXPECT_EQ("", Sent());
}

struct LowLevelRun
{
    CTavlinPort* port;
    const char* text;
};

DWORD WINAPI ExecuteOnOtherThread(void* param)
{
    LowLevelRun* run = static_cast<LowLevelRun*>(param);
    run->port->ExecuteLowLevel(run->text);
    return 0;
}

// An echo that comes while another thread's LOWLEVEL text holds the write lock
// (here waiting in "flush" for a mark the unit does not echo) must not put the
// repeat between that text's frames: it goes out after the text, unless the
// text's data item has ended the repetition.
TEST_F(TavlinLowLevel, IRRepeatWaitsForAnotherThreadsText)
{
    const std::string code = B({0x82, 0x85, 0x05, 0x80});
    const struct
    {
        const char* text;
        std::string after;   // what follows the text's flush mark 3
    } cases[] = {
        {"flush[400] sl0[0102]", B({0x02, 0x01, 0x02, 0x00})},
        {"flush[400]", code + B({0xC1, 0xC5, 0xC0})},
    };
    for (const auto& c : cases) {
        CTavlinPort port(m_pty.Port());
        port.GetError().m_messageBox = FALSE;
        port.SetKeepAlive(FALSE);
        ASSERT_TRUE(port.ExecuteLowLevel("irrepeat[+500 -500]"));
        Sent();
        LowLevelRun run = {&port, c.text};
        HANDLE thread = CreateThread(nullptr, 0, ExecuteOnOtherThread, &run, 0, nullptr);
        ASSERT_EQ(B({0xC1, 0xC4, 0xC0}), m_pty.ReadExact(3, 2000)) << c.text;
        m_pty.Write(B({0xC1}));   // the unit echoes mark 0 during the flush
        CString out;
        port.ReadResponses(out, 50);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        port.ReadResponses(out, 10);
        EXPECT_EQ(c.after, Sent()) << c.text;
    }
}

TEST_F(TavlinLowLevel, GetVersionReportsTheKnownVersionAtTheNextReading)
{
    SetVersion(2.1);
    ASSERT_TRUE(m_port.ExecuteLowLevel("getversion[]"));
    CString out;
    m_port.ReadResponses(out, 10);
    EXPECT_STREQ("version[2.1] ", out);
    out.Empty();
    m_port.ReadResponses(out, 10);
    EXPECT_STREQ("", out);
}

struct HexCase
{
    const char* text;
    std::string bytes;
};

TEST(LowLevelText, HexBitsAndTimings)
{
    const HexCase hex[] = {
        {"0aFf", B({0x0A, 0xFF})}, {"a", B({0xA0})}, {"1 2-3", B({0x12, 0x30})}, {"xyz", ""},
    };
    for (const HexCase& c : hex) {
        std::vector<BYTE> bytes = HexTextToBytes(c.text);
        EXPECT_EQ(c.bytes, std::string(bytes.begin(), bytes.end())) << c.text;
    }
    int bits = 0;
    std::vector<BYTE> bin = BinaryTextToBytes("1111 0000 1x01", bits);
    EXPECT_EQ(B({0xF0, 0xA0}), std::string(bin.begin(), bin.end()));
    EXPECT_EQ(11, bits);

    std::vector<double> timings = ParseIRTimings("900.0 -1100.0 -50 0 +200 100 nan -3");
    ASSERT_EQ(4u, timings.size());
    EXPECT_DOUBLE_EQ(900, timings[0]);
    EXPECT_DOUBLE_EQ(-1150, timings[1]);
    EXPECT_DOUBLE_EQ(300, timings[2]);
    EXPECT_DOUBLE_EQ(-3, timings[3]);   // "nan" is no duration
}

} // namespace
