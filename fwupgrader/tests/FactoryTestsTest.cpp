// The factory tests behind the dialog's hidden buttons against a simulated
// unit on its fixture: the output lines with broken wiring (later steps not
// run after a failure), and the serial number the unit reports after the write.
#include "tests/support/TestFramework.h"

#include <stdio.h>
#include <time.h>

#include <string>
#include <vector>

#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"
#include "fwupgrader/tests/UpgraderDialog.h"

namespace {

const int kPort = 5;
const BYTE kAllVarloOutputs = 0xFC;

const std::vector<std::string> kStart = {"Starting Test", "Aquired COM5", "Tavlin V2.1 found"};
const std::vector<std::string> kSelfTestsPassed = {
    "Settings               ", "Testing S-Link...", "sl0 Pass sl1 Pass sl2 Pass sl3 Pass ",
    "Testing IR0...", "IR0 Pass", "Testing IR1...", "IR1 Pass", "Testing IR1-7...",
    "ir1P ir2P ir3P ir4P ir5P ir6P ir7P ", "Testing Par Port...", "PAR Pass",
    "Writing Serial#...", "Reading Serial#..."};
const std::vector<std::string> kFace = {"                          ", "   *   *                  ",
                                        "     v                    ", "\\____/                 "};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> lines;
    for (const auto& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

std::vector<std::string> VarloLines(int failedPort)
{
    std::vector<std::string> lines;
    for (int port = 2; port <= 7; ++port)
        lines.push_back(" Port " + std::to_string(port) + (port == failedPort ? " Fail" : " Pass"));
    return lines;
}

std::string HexText(const std::string& bytes)
{
    std::string text;
    char digits[3];
    for (char c : bytes) {
        snprintf(digits, sizeof digits, "%02X", BYTE(c));
        text += digits;
    }
    return text;
}

class FactoryTestsTest : public ::testing::Test
{
protected:
    FactoryTestsTest() : m_pty(kPort), m_unit(m_pty) { m_dialog.SelectPort(kPort); }

    void Wire(BYTE unwiredBus, BYTE unwiredIR, BYTE varloOutputs)
    {
        TavlinFixture fixture = CTavlinSimulator::FullyWired();
        fixture.busPorts &= ~unwiredBus;
        fixture.irChannels &= ~unwiredIR;
        fixture.varloOutputs = varloOutputs;
        m_unit.SetFixture(fixture);
    }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CUpgraderDialog m_dialog;
};

TEST_F(FactoryTestsTest, OutputLinesWithBrokenWiring)
{
    const struct
    {
        const char* name;
        int button;
        BYTE unwiredBus;
        BYTE unwiredIR;
        BYTE varloOutputs;
        std::vector<std::string> lines;
    } cases[] = {
        {"S-Link port 2", IDC_TEST, 0x04, 0, 0,
         Join({kStart, {"Settings               ", "Testing S-Link...", "sl0 Pass sl1 Pass sl2 Fail sl3 Pass "}})},
        {"IR outputs 3 and 5", IDC_TEST, 0, 0x28, 0,
         Join({kStart, {"Settings               ", "Testing S-Link...", "sl0 Pass sl1 Pass sl2 Pass sl3 Pass ",
                        "Testing IR0...", "IR0 Pass", "Testing IR1...", "IR1 Pass", "Testing IR1-7...",
                        "ir1P ir2P ir3F ir4? ir5F ir6? ir7? "}})},
        {"Varlo output 4", IDC_VARLO, 0, 0, kAllVarloOutputs & ~0x10,
         Join({kStart, {"Testing Varlo Outputs..."}, VarloLines(4)})},
        {"Varlo unit", IDC_VARLO, 0, 0, kAllVarloOutputs,
         Join({kStart, {"Testing Varlo Outputs..."}, VarloLines(0), {"Varlo Output Pass", "Testing Varlo Inputs..."},
               VarloLines(0), {"Varlo Input Pass"}, kFace})},
        {"Varlo input 6", IDC_VARLO, 0, 0x40, kAllVarloOutputs,
         Join({kStart, {"Testing Varlo Outputs..."}, VarloLines(0), {"Varlo Output Pass", "Testing Varlo Inputs..."},
               VarloLines(6)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Wire(c.unwiredBus, c.unwiredIR, c.varloOutputs);
        m_dialog.Press(c.button);
        EXPECT_EQ(c.lines, m_dialog.Lines());
    }
}

TEST_F(FactoryTestsTest, APassingUnitReportsTheSerialNumberWritten)
{
    Wire(0, 0, 0);
    DWORD before = DWORD(time(nullptr));
    m_dialog.Press(IDC_TEST);
    DWORD after = DWORD(time(nullptr));

    std::string serial = m_unit.SerialNumber();
    ASSERT_EQ(8u, serial.size());
    EXPECT_NE(std::string("\x01\x23\x45\x67\x89\xAB\xCD\xEF", 8), serial);
    DWORD stamp = 0;
    for (int i = 3; i >= 0; --i)
        stamp = stamp << 8 | BYTE(serial[i]);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);
    EXPECT_NE(std::string::npos, m_unit.Received().find(std::string("\x5B\x2E\x71\xC4", 4) + serial));
    EXPECT_EQ(Join({kStart, kSelfTestsPassed, {"S/N " + HexText(serial)}, kFace}), m_dialog.Lines());
}

TEST_F(FactoryTestsTest, ASilentUnitIsAnError)
{
    m_unit.SetSilent(true);
    for (int button : {IDC_TEST, IDC_VARLO}) {
        SCOPED_TRACE(button);
        CMessageBoxScript boxes;
        m_dialog.Press(button);
        EXPECT_EQ((std::vector<std::string>{"Starting Test", "Aquired COM5", "No Tavlin response from COM5"}),
                  m_dialog.Lines());
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("No Tavlin response from COM5", boxes.Shown()[0].text);
    }
}

} // namespace
