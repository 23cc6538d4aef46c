// The interface unit's settings dialog against a simulated unit, driven by
// posted messages: the settings commands of "Apply" in the unit's order, what
// the unit holds afterwards (the routing table of "Set All Others", the input
// strobe on bit 7), a firmware 1.x unit that is sent no routing table or IR
// masks, and "Reset Defaults" on firmware 2.8.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <algorithm>
#include <vector>

#include "tests/support/PtySerial.h"
#include "server/TavlinSettingsDlg.h"
#include "tests/support/TavlinSimulator.h"

namespace {

const int kStepMs = 10;

// Commands as port << 8 | code.
const int kSetSamplePeriod = 0x404, kSetCarrier = 0x406, kSetTimeout = 0x40C, kSetMinLength = 0x40E,
          kSetRouting = 0x40A, kSetPolarity = 0x40B, kSetReceivePorts = 0x409, kSetTransmitPorts = 0x408,
          kSetDirection = 0x512, kSetHandshake = 0x510, kStoreToEEPROM = 0x70E;

// The commands that write settings, in the order the unit took them; port
// enables (code 3) and disables (code 2) of ports 0-5 included.
std::vector<int> Writes(const std::vector<int>& commands)
{
    const int kWrites[] = {kSetSamplePeriod, kSetCarrier, kSetTimeout, kSetMinLength, kSetRouting, kSetPolarity,
                           kSetReceivePorts, kSetTransmitPorts, kSetDirection, kSetHandshake, kStoreToEEPROM};
    std::vector<int> writes;
    for (int command : commands) {
        bool enable = (command >> 8) < 6 && ((command & 0xFF) == 2 || (command & 0xFF) == 3);
        if (enable || std::find(std::begin(kWrites), std::end(kWrites), command) != std::end(kWrites))
            writes.push_back(command);
    }
    return writes;
}

// Ports 0-5 by the unit's enabled-ports mask 0xBF.
std::vector<int> PortSwitches()
{
    std::vector<int> switches;
    for (int p = 0; p < 6; ++p)
        switches.push_back(p << 8 | ((0xBF >> p) & 1 ? 3 : 2));
    return switches;
}

class TavlinSettingsTest
{
public:
    explicit TavlinSettingsTest(double version) : m_unit(m_pty, 38400, version), m_port(m_pty.Port())
    {
        m_port.GetError().m_messageBox = FALSE;
        // A timeout of 100 ms: the driver refuses to set none.
        TavlinUnitSettings settings;
        settings.timeoutCount = 1000;
        m_unit.SetSettings(settings);
        EXPECT_TRUE(m_port.Locate());
        // Reads the unit's answers as the monitoring thread does, so that the
        // dialog's flushes see their echoes.
        m_monitor = CreateThread(nullptr, 0, MonitorMain, this, 0, nullptr);
        m_dialog.m_port = &m_port;
        EXPECT_TRUE(m_dialog.Create(IDD_TAVLIN_SETTINGS));
    }

    ~TavlinSettingsTest()
    {
        m_dialog.DestroyWindow();
        m_stop = true;
        WaitForSingleObject(m_monitor, INFINITE);
        CloseHandle(m_monitor);
    }

    static DWORD WINAPI MonitorMain(void* self)
    {
        auto* test = static_cast<TavlinSettingsTest*>(self);
        while (!test->m_stop) {
            CString out;
            test->m_port.ReadResponses(out, kStepMs);
        }
        return 0;
    }

    void Click(int id)
    {
        m_dialog.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(m_dialog.m_hWnd, id)));
        PumpMessages();
    }

    // The last command may still be on its way to the unit.
    std::vector<int> WritesOnceThere(size_t count)
    {
        WaitUntil([&] { return Writes(m_unit.Commands()).size() >= count; }, 3000);
        return Writes(m_unit.Commands());
    }

    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(m_dialog.m_hWnd, id)) != FALSE; }
    bool Checked(int id) { return IsDlgButtonChecked(m_dialog.m_hWnd, id) == BST_CHECKED; }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CTavlinPort m_port;
    CTavlinSettingsDlg m_dialog;
    HANDLE m_monitor = nullptr;
    volatile bool m_stop = false;
};

TEST(TavlinSettingsTest, ApplySendsTheRoutingOfSetAllOthersAndTheInputStrobe)
{
    TavlinSettingsTest test(2.1);
    test.Click(IDC_SET_ALL_OTHERS);
    for (int id : {IDC_FIRST_BIT_IN + 14, IDC_FIRST_BIT_IN + 15})
        CheckDlgButton(test.m_dialog.m_hWnd, id, BST_UNCHECKED);
    CheckDlgButton(test.m_dialog.m_hWnd, IDC_IN_STROBE, BST_CHECKED);
    test.m_unit.ClearCommands();
    test.Click(IDC_APPLY);

    std::vector<int> expected = {kSetSamplePeriod, kSetCarrier, kSetTimeout, kSetMinLength, kSetDirection,
                                 kSetHandshake};
    for (int command : PortSwitches())
        expected.push_back(command);
    for (int command : {kSetRouting, kSetPolarity, kSetReceivePorts, kSetTransmitPorts, kStoreToEEPROM})
        expected.push_back(command);
    EXPECT_EQ(expected, test.WritesOnceThere(expected.size()));

    TavlinUnitSettings settings = test.m_unit.Settings();
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(255 - (1 << r), settings.routing[2 * r]) << r;
    EXPECT_EQ(0x80, settings.parallelDirection & 0x80);
    EXPECT_EQ(2, settings.parallelHandshake);
    // What the unit reports comes back into the dialog.
    EXPECT_TRUE(test.Checked(IDC_IN_STROBE));
    EXPECT_FALSE(test.Checked(IDC_FIRST_BIT_IN + 14));
}

TEST(TavlinSettingsTest, AFirmware1UnitGetsNoRoutingOrIRMasks)
{
    TavlinSettingsTest test(1.5);
    for (int id : {IDC_STORE_EEPROM, IDC_LOAD_EEPROM, IDC_CLEAR_ALL, IDC_SET_ALL, IDC_SET_ALL_OTHERS,
                    IDC_FIRST_CARRIER, IDC_FIRST_CARRIER + 7})
        EXPECT_FALSE(test.Enabled(id)) << id;
    TavlinUnitSettings before = test.m_unit.Settings();
    test.m_dialog.m_routingMasks[0] = 0x0F;
    test.m_dialog.m_transmitPorts = 0x01;
    test.m_unit.ClearCommands();
    test.Click(IDC_APPLY);
    std::vector<int> expected = {kSetSamplePeriod, kSetCarrier, kSetTimeout, kSetMinLength, kSetDirection,
                                 kSetHandshake};
    for (int command : PortSwitches())
        expected.push_back(command);
    expected.push_back(kStoreToEEPROM);
    EXPECT_EQ(expected, test.WritesOnceThere(expected.size()));
    TavlinUnitSettings after = test.m_unit.Settings();
    EXPECT_EQ(0, memcmp(before.routing, after.routing, sizeof before.routing));
    EXPECT_EQ(before.irTransmitPorts, after.irTransmitPorts);
    EXPECT_EQ(before.irReceivePorts, after.irReceivePorts);
}

TEST(TavlinSettingsTest, ResetDefaultsClearsTheGarbageFilterFromFirmware28On)
{
    const struct
    {
        double version;
        bool filter;
    } cases[] = {{2.8, false}, {2.1, true}};
    for (const auto& c : cases) {
        TavlinSettingsTest test(c.version);
        test.Click(IDC_RESET_DEFAULTS);
        EXPECT_EQ(c.filter, test.Checked(IDC_GARBAGE_FILTER)) << c.version;
        char text[32] = "";
        GetDlgItemTextA(test.m_dialog.m_hWnd, IDC_SAMPLE_PERIOD, text, sizeof text);
        EXPECT_STREQ("  100", text);
    }
}

} // namespace
