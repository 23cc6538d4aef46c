// Code composition for control-bus and IR devices, and the decoding of received
// IR timings of real protocols (NEC, RC-5) back to their codes.
#include "tests/support/TestFramework.h"

#include "devices/manager/BitText.h"
#include "tests/support/DebugCapture.h"
#include "devices/manager/tests/DeviceFiles.h"
#include "devices/port/LowLevelText.h"
#include "tests/support/PtySerial.h"
#include "devices/port/TavlinPort.h"
#include "tests/support/TavlinSimulator.h"

#include <math.h>
#include <stdio.h>

namespace {

struct ComposeCase
{
    const char* definition;
    int portMask;
    const char* command;
    const char* lowLevel;
};

TEST(DeviceCompose, CommandsBecomeLowLevelText)
{
    const char kBus[] = "type=tavlin\nprefix=1\n0011:power\n";
    const char kBytes[] = "type=tavlin\n00110101:play\n0011xyz:half\n";
    const char kChanger[] = "type=tavlin\nprefix=1001\nsuffix=11\n00000000:play\n0011:status\n"
                            "001100:status6\n";
    const char kIR[] = "type=ir\ncarrier=36000\nstart=+2000 -1000\nzero=+500 -500\none=+500 -1500\n"
                       "two=+500 -2500\nstop=+500\nsleep=-8000\nprefix=1\n01:a\n";
    const char kRepeat[] = "type=ir\ncarrier=40000\nrepeat=2\npause=-3000\nzero=+100 -100\n"
                           "one=+200 -200\nstart=+900\n10:b\n";
    const char kNoCarrier[] = "type=ir\nzero=+100 -100\n0:c\n";
    const char kSender[] = "type=irtxonly\nsleep=-9000\n+900 -900 +900:raw\n";
    const ComposeCase cases[] = {
        {kBus, 1, "power[5]", "slb0[100110101] ir[-5000] "},
        {kBus, 1, "POWER[5]", "slb0[100110101] ir[-5000] "},
        {kBus, 1, "power[ 5 ]", "slb0[100110101] ir[-5000] "},
        {kBus, 1, "power[57]", "slb0[1001101010111] ir[-5000] "},
        {kBytes, 3, "play", "sl0[35] sl1[35] ir[-5000] "},
        {kBytes, 8, "half[5]", "sl3[35] ir[-5000] "},
        {kBytes, 8, "half", "slb3[0011] ir[-5000] "},
        {kChanger, 1, "play", "slb0[10010000000011] ir[-5000] "},
        {kChanger, 1, "status[a]", "slb0[10010011101011] ir[-5000] "},
        {kChanger, 1, "status[ab]", "slb0[100100111010101111] ir[-5000] "},
        {kChanger, 1, "status6[a]", "sl0[933a] ir[-5000] "},
        {kBus, 5, "sl[ 0102 ]", "sl0[0102] sl2[0102] ir[-15000] "},
        {kBus, 2, "slb[101]", "slb1[101] ir[-15000] "},
        {kBus, 1, "ir[+500 -500]", "ir[+500 -500]"},
        {kBus, 1, "flush[100]", "flush[100]"},
        {kBus, 1, "unknown[1]", ""},
        {kBus, 0, "power", ""},
        {"type=lowlevel\n", 0, "SL0[01] Carrier[40000]", "sl0[01] carrier[40000]"},
        {kIR, 0x30, "a[2]",
         "carrier[36000.000000] irtxports[3] ir[+2000 -1000  +500 -1500 +500 -500 +500 -1500 +500 -2500 +500 -8000] "},
        {kRepeat, 0x10, "b", "carrier[40000.000000] irtxports[1] ir[+900  +200 -200 +100 -100  -3000 +900  "
                             "+200 -200 +100 -100  -3000 +900  +200 -200 +100 -100  ] "},
        // Without a carrier the unit's default one, never a negative one.
        {kNoCarrier, 0x10, "c", "carrier[40000.000000] irtxports[1] ir[  +100 -100  ] "},
        {kSender, 0x10, "raw", "carrier[40000.000000] irtxports[1] ir[+900 -900 +900 -9000] "},
        {kSender, 0x11, "raw", "sl0[] ir[-5000] carrier[40000.000000] irtxports[1] ir[+900 -900 +900 -9000] "},
    };
    for (const ComposeCase& c : cases) {
        CQuietDevice device;
        ASSERT_EQ(1, device.Load(c.definition, 0, FALSE)) << c.definition;
        device.SetPortMask(c.portMask);
        EXPECT_EQ(c.lowLevel, device.ComposeCommand(c.command)) << c.command << " on " << c.definition;
    }
}

TEST(DeviceCompose, StartAndStartAltTakeTurns)
{
    CQuietDevice device;
    ASSERT_EQ(1, device.Load(FixturePath("allkeys.cde").c_str(), 0, TRUE));
    const char* const starts[] = {"+4000 -2000 ", "+4000 -1000 ", "+4000 -2000 "};
    for (const char* start : starts)
        EXPECT_EQ(0, device.BuildIRTimings("0").Find(start)) << start;
}

struct BitCase
{
    const char* text;
    const char* bits;
    const char* hex;
};

TEST(BitText, Conversions)
{
    const BitCase cases[] = {
        {"A5", "10100101", "A5"}, {"a5", "10100101", "A5"}, {"x-1", "0001", "1"}, {"", "", ""},
    };
    for (const BitCase& c : cases) {
        EXPECT_EQ(c.bits, HexToBitText(c.text)) << c.text;
        EXPECT_EQ(c.hex, BitTextToHex(c.bits)) << c.text;
    }
    EXPECT_EQ("AC", BitTextToHex("101011"));   // the short group padded at its low end
    EXPECT_EQ("8", BitTextToHex("1x"));
    EXPECT_EQ(DWORD(0x0D), BitTextToNumber("1011"));
    EXPECT_EQ(DWORD(5), BitTextToNumber("1 0 1"));
    EXPECT_EQ("10000001", ByteToBitText(0x81));
    std::vector<int> runs;
    ASSERT_TRUE(BitTextToRunLengths("1100010", runs));
    EXPECT_EQ((std::vector<int>{2, -3, 1}), runs);
    EXPECT_FALSE(BitTextToRunLengths("x01", runs));
    EXPECT_FALSE(BitTextToRunLengths("01x", runs));
}

// What the unit reports for a timing text: durations of one sign merged,
// whole sample periods, the receiver lengthening marks and shortening spaces,
// and no trailing space (the message ends when the carrier stops for good).
CString Capture(const char* timings, double jitter)
{
    const double kPeriod = 100;
    std::vector<double> merged = ParseIRTimings(timings);
    while (!merged.empty() && merged.back() < 0)
        merged.pop_back();
    CString text;
    for (size_t i = 0; i < merged.size(); ++i) {
        double d = merged[i] + (merged[i] > 0 ? jitter : -jitter) * (i % 3 == 0 ? 1 : -0.5);
        char number[32];
        snprintf(number, sizeof number, "%.1lf ", floor(d / kPeriod + 0.5) * kPeriod - 100);
        text += number;
    }
    return text;
}

// The codes whose prefix, data and suffix open the symbols.
std::vector<CString> MatchingCodes(const CDevice& device, const CString& symbols)
{
    std::vector<CString> names;
    for (int i = 0; i < device.GetNumCodes(); ++i) {
        if (device.CodeMatches(i, symbols))
            names.push_back(device.GetCode(i).name);
    }
    return names;
}

struct CaptureCase
{
    const char* fixture;
    const char* capture;
    const char* code;
};

TEST(IRDecoding, RealCapturesDecodeToTheirCodes)
{
    const CaptureCase cases[] = {
        {"nec_tv.cde",
         "9046.0 -4423.0 612.0 -497.0 588.0 -521.0 640.0 -470.0 601.0 -515.0 612.0 -497.0 588.0 "
         "-521.0 640.0 -470.0 601.0 -515.0 612.0 -1627.0 588.0 -1651.0 640.0 -1600.0 601.0 -1645.0 "
         "612.0 -1627.0 588.0 -1651.0 640.0 -1600.0 601.0 -1645.0 612.0 -497.0 588.0 -521.0 640.0 "
         "-470.0 601.0 -1645.0 612.0 -497.0 588.0 -521.0 640.0 -470.0 601.0 -515.0 612.0 -1627.0 "
         "588.0 -1651.0 640.0 -1600.0 601.0 -515.0 612.0 -1627.0 588.0 -1651.0 640.0 -1600.0 601.0 "
         "-1645.0 598.0 ",
         "power"},
        {"rc5_amp.cde",
         "876.0 -860.0 1730.0 -1776.0 1784.0 -849.0 876.0 -860.0 841.0 -887.0 895.0 -849.0 876.0 "
         "-1749.0 1730.0 -887.0 895.0 -849.0 876.0 -860.0 841.0 ",
         "volup"},
    };
    for (const CaptureCase& c : cases) {
        CQuietDevice device;
        ASSERT_EQ(1, device.Load(FixturePath(c.fixture).c_str(), 0, TRUE)) << c.fixture;
        double score = 0;
        CString symbols = device.MatchPattern(c.capture, &score);
        EXPECT_GT(score, 0.3) << c.fixture;
        EXPECT_EQ(std::vector<CString>{c.code}, MatchingCodes(device, symbols)) << c.fixture << " " << symbols;
    }
}

TEST(IRDecoding, EveryComposedCodeDecodesBackToItself)
{
    const char* const fixtures[] = {"nec_tv.cde", "rc5_amp.cde"};
    const double jitters[] = {0, 80, -80};
    for (const char* fixture : fixtures) {
        CQuietDevice device;
        ASSERT_EQ(1, device.Load(FixturePath(fixture).c_str(), 0, TRUE)) << fixture;
        EXPECT_EQ(strcmp(fixture, "rc5_amp.cde") == 0 ? 1 : 0, device.GetScoringMode()) << fixture;
        for (int i = 0; i < device.GetNumCodes(); ++i) {
            for (double jitter : jitters) {
                CString capture = Capture(device.BuildIRTimings(device.GetCode(i).data), jitter);
                double score = 0;
                CString symbols = device.MatchPattern(capture, &score);
                EXPECT_EQ(std::vector<CString>{device.GetCode(i).name}, MatchingCodes(device, symbols))
                    << fixture << " " << device.GetCode(i).name << " jitter " << jitter << ": " << capture;
            }
        }
    }
}

// The whole road: composed, sent by the unit's IR port 0, seen by its receiver
// on the loopback fixture, parsed and decoded back to the code.
TEST(IRDecoding, ComposedCodeCrossesTheUnitAndDecodesBack)
{
    CDebugCapture debug;
    CPtySerial pty;
    CTavlinSimulator unit(pty);
    TavlinFixture fixture;
    fixture.irChannels = 0x01;
    unit.SetFixture(fixture);
    CTavlinPort port(pty.Port());
    port.GetError().m_messageBox = FALSE;
    ASSERT_TRUE(port.Locate());
    port.SetKeepAlive(FALSE);

    CQuietDevice tv;
    ASSERT_EQ(1, tv.Load(FixturePath("nec_tv.cde").c_str(), 0, TRUE));
    tv.SetPortMask(0x10);
    CString lowLevel = tv.ComposeCommand("mute");
    ASSERT_EQ(0, lowLevel.Find("carrier[38000.000000] irtxports[1] ir[+9000 -4500  +560 -560"));
    port.ExecuteLowLevel(lowLevel);
    CString text;
    while (text.IsEmpty() && port.ReadResponses(text, 500)) {
    }
    ASSERT_EQ(0, text.Find("ir0[")) << text;
    CString timings = text.Mid(4, text.Find(']') - 4);
    double score = 0;
    CString symbols = tv.MatchPattern(timings, &score);
    EXPECT_EQ(std::vector<CString>{"mute"}, MatchingCodes(tv, symbols)) << timings;
    EXPECT_EQ(tv.GetPrefix() + tv.GetCode(3).data, symbols);
}

TEST(IRDecoding, LongDurationKeepsItsRemainderForTheNextSymbol)
{
    // Bi-phase: the halves of neighbouring symbols merge into one duration.
    CQuietDevice device;
    ASSERT_EQ(1, device.Load("type=ir\nzero=+500 -500\none=-500 +500\n", 0, FALSE));
    ASSERT_EQ(1, device.GetScoringMode());
    double score = 0;
    EXPECT_EQ("010", device.MatchPattern("+500 -1000 +1000 -500", &score));
    EXPECT_EQ("0", device.MatchPattern("+500 -500", &score));
    EXPECT_DOUBLE_EQ(1.0, score);
    EXPECT_EQ("", device.MatchPattern("-500 -700", &score));
    EXPECT_DOUBLE_EQ(-1.0, score);
    EXPECT_EQ("", device.MatchPattern("", &score));
    EXPECT_DOUBLE_EQ(0, score);
}

// A received duration far longer than a one-duration pattern is cut into as
// many symbols as fit, up to the most one code may have; on the monitoring
// thread a code took seconds and gigabytes before.
TEST(IRDecoding, LongReceivedDurationsDecodeToAtMostTheMostSymbols)
{
    CQuietDevice device;
    ASSERT_EQ(1, device.Load("type=ir\nzero=+500\none=-500\n", 0, FALSE)) << device.GetErrorText();
    double score = 0;
    EXPECT_EQ("0011", device.MatchPattern("+1000 -1000", &score));
    EXPECT_EQ(CString('0', CDevice::kMostSymbols), device.MatchPattern("+100000000 -100000000", &score));
    EXPECT_GT(score, 0.3);
}

} // namespace
