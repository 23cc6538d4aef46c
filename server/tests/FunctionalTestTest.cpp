// The functional test dialog against a simulated unit on its loopback fixture,
// driven by posted messages: result texts per test with broken wiring, tests
// after a failure not run, the serial number stamped only into a unit of
// firmware 2.0 or later, and refused entries that run nothing.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <string>
#include <vector>

#include "server/FunctionalTestDlg.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"

namespace {

const int kResultIds[] = {IDC_LOCATE_RESULT, IDC_SLINK_RESULT, IDC_IRPORT0_RESULT, IDC_IRPORTS_RESULT,
                          IDC_PARALLEL_RESULT, IDC_BAUD_RESULT};
const std::string kPrefixBytes("\xA1\xB2\xC3\xD4", 4);

class FunctionalTest
{
public:
    explicit FunctionalTest(double version) : m_unit(m_pty, 38400, version), m_port(m_pty.Port())
    {
        m_port.GetError().m_messageBox = FALSE;
        m_unit.SetFixture(CTavlinSimulator::FullyWired());
        EXPECT_TRUE(m_port.Locate());
        m_dialog.m_port = &m_port;
        EXPECT_TRUE(m_dialog.Create(IDD_FUNCTIONAL_TEST));
    }

    ~FunctionalTest() { m_dialog.DestroyWindow(); }

    void Unwire(BYTE busPorts, BYTE irChannels)
    {
        TavlinFixture fixture = CTavlinSimulator::FullyWired();
        fixture.busPorts &= ~busPorts;
        fixture.irChannels &= ~irChannels;
        m_unit.SetFixture(fixture);
    }

    // Every test chosen, or none (the unit is only located).
    void Enter(const char* repeat, const char* prefix, bool allTests = true)
    {
        for (int id : {IDC_SLINK_TEST, IDC_IRPORT0_TEST, IDC_IRPORTS_TEST, IDC_PARALLEL_TEST, IDC_BAUD_TEST})
            CheckDlgButton(m_dialog.m_hWnd, id, allTests ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextA(m_dialog.m_hWnd, IDC_REPEAT, repeat);
        SetDlgItemTextA(m_dialog.m_hWnd, IDC_SERIAL_PREFIX, prefix);
    }

    void TestNow()
    {
        PostMessageA(m_dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_NOW, BN_CLICKED),
                     LPARAM(GetDlgItem(m_dialog.m_hWnd, IDC_TEST_NOW)));
        PumpMessages();
    }

    std::vector<std::string> Results()
    {
        std::vector<std::string> texts;
        for (int id : kResultIds) {
            char text[128] = "";
            GetDlgItemTextA(m_dialog.m_hWnd, id, text, sizeof text);
            texts.push_back(text);
        }
        return texts;
    }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CTavlinPort m_port;
    CFunctionalTestDlg m_dialog;
};

TEST(FunctionalTestDlgTest, ResultsPerTestAndNothingAfterAFailure)
{
    const struct
    {
        const char* name;
        BYTE unwiredBus;
        BYTE unwiredIR;
        std::vector<std::string> results;
    } cases[] = {
        {"wired", 0, 0,
         {"Pass", "sl0 Pass sl1 Pass sl2 Pass sl3 Pass ", "Pass",
          "ir1P ir2P ir3P ir4P ir5P ir6P ir7P ", "Pass", "24P 48P 96P 192P 384P "}},
        {"S-Link port 2", 0x04, 0,
         {"Pass", "sl0 Pass sl1 Pass sl2 Fail sl3 Pass ", "Not Tested", "Not Tested", "Not Tested",
          "Not Tested"}},
        {"IR port 3", 0, 0x08,
         {"Pass", "sl0 Pass sl1 Pass sl2 Pass sl3 Pass ", "Pass", "ir1P ir2P ir3F ir4? ir5? ir6? ir7? ",
          "Not Tested", "Not Tested"}},
    };
    FunctionalTest test(2.1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test.Unwire(c.unwiredBus, c.unwiredIR);
        test.Enter("1", "");
        test.TestNow();
        EXPECT_EQ(c.results, test.Results());
    }
}

TEST(FunctionalTestDlgTest, APassingUnitGetsItsSerialNumberFromFirmware2On)
{
    const struct
    {
        double version;
        bool written;
    } cases[] = {{2.1, true}, {1.9, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        FunctionalTest test(c.version);
        test.Enter("1", "A1B2C3D4", false);
        test.TestNow();
        EXPECT_EQ("Pass", test.Results()[0]);
        EXPECT_EQ(c.written, test.m_unit.WaitForReceived(kPrefixBytes, c.written ? 3000 : 300));
    }
}

TEST(FunctionalTestDlgTest, RefusedEntriesRunNothing)
{
    const struct
    {
        const char* repeat;
        const char* prefix;
    } cases[] = {{"0", ""}, {"100", ""}, {"1", "A1B2"}, {"1", "A1B2C3DX"}};
    FunctionalTest test(2.1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.repeat) + " " + c.prefix);
        CMessageBoxScript boxes;
        test.m_unit.ClearReceived();
        test.Enter(c.repeat, c.prefix);
        test.TestNow();
        EXPECT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(std::vector<std::string>(6, ""), test.Results());
        EXPECT_EQ("", test.m_unit.Received());
    }
}

} // namespace
