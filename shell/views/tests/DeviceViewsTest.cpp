// The device traffic and connection views on a real document: in-process
// without a unit, with a simulated unit on a pty, and through the server.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/DevView.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"
#include "shell/views/TavlinView.h"
#include "shell/views/ViewsResources.h"

namespace {

class DeviceViewsTest : public ShellViewFixture
{
protected:
    static std::string Text(CWnd& window)
    {
        CString text;
        window.GetWindowText(text);
        return std::string(text);
    }
    static void Click(CWnd& view, UINT id)
    {
        view.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(view.GetDlgItem(id)->m_hWnd));
    }
    // The tree's items, depth first, indented by two blanks a level.
    static Texts Tree(CTreeCtrl& tree, HTREEITEM item = TVI_ROOT, int depth = -1)
    {
        Texts lines;
        if (item != TVI_ROOT)
            lines.push_back(std::string(2 * depth, ' ') + std::string(tree.GetItemText(item)));
        for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
        {
            Texts below = Tree(tree, child, depth + 1);
            lines.insert(lines.end(), below.begin(), below.end());
        }
        return lines;
    }
};

// The texts the document fires wait in its queue while "Freeze" is ticked
// and then come all at once.
TEST_F(DeviceViewsTest, TrafficPilesUpWhileFrozen)
{
    CTavlinView* view = Show<CTavlinView>(RUNTIME_CLASS(CTavlinView));
    ASSERT_TRUE(view);
    view->DrainQueue();
    view->GetLog().SetWindowText("");
    view->CheckDlgButton(IDC_TRAFFIC_FREEZE, BST_CHECKED);
    Click(*view, IDC_TRAFFIC_FREEZE);
    m_doc->GetMapper().DispatchEvent("one");
    m_doc->GetMapper().DispatchEvent("two");
    view->DrainQueue();
    EXPECT_EQ("", Text(view->GetLog()));
    view->CheckDlgButton(IDC_TRAFFIC_FREEZE, BST_UNCHECKED);
    Click(*view, IDC_TRAFFIC_FREEZE);
    view->DrainQueue();
    EXPECT_EQ("one\r\ntwo\r\n", Text(view->GetLog()));
}

TEST_F(DeviceViewsTest, TheLogCheckIsTheActivityLoggingOption)
{
    m_doc->SetActivityLogging(TRUE);
    CTavlinView* view = Show<CTavlinView>(RUNTIME_CLASS(CTavlinView));
    EXPECT_EQ(BST_CHECKED, view->IsDlgButtonChecked(IDC_TRAFFIC_LOG));
    view->CheckDlgButton(IDC_TRAFFIC_LOG, BST_UNCHECKED);
    Click(*view, IDC_TRAFFIC_LOG);
    EXPECT_FALSE(m_doc->IsActivityLoggingOn());
}

TEST_F(DeviceViewsTest, WithoutUnitsTheTreeSaysSoAndListsTheUncheckedPorts)
{
    CDevView* view = Show<CDevView>(RUNTIME_CLASS(CDevView));
    ASSERT_TRUE(view);
    Texts expected = {"Device Connections", "  (No Tavlin-es found)", "  Port Diagnostics"};
    for (int com = 1; com <= 8; ++com)
        expected.push_back("    COM" + std::to_string(com) + ": Not Checked");
    EXPECT_EQ(expected, Tree(view->GetTree()));
    m_doc->UpdateAllViews(NULL, kViewHintDevices);
    EXPECT_EQ(expected, Tree(view->GetTree()));
}

// The document checks COM1 to COM8 only.
const int kUnitPort = 7;
// An IR remote's codes: NEC frames at 38 kHz.
const char kAmpCodes[] = "TYPE=IR\ncarrier=38000\nstart=+9000 -4500\nzero=+560 -560\none=+560 -1690\n"
                         "stop=+560 -40000\nprefix=0000000011111111\n"
                         "0001000011101111:power\n1000000001111111:mute\n";

// The document made again, so that its start-up finds an interface unit on
// a pty.
class UnitViewsTest : public DeviceViewsTest
{
protected:
    UnitViewsTest() : m_pty(kUnitPort), m_unit(m_pty) {}
    // The document lets go of the port before the unit goes.
    ~UnitViewsTest() override
    {
        m_frames.clear();
        Close();
    }
    void Start(double version)
    {
        m_frames.clear();
        Close();
        m_unit.SetVersion(version);
        m_unit.SetSerialNumber(std::string("\x01\x23\x45\x67\x89\xAB\xCD\xEF", 8));
        Option("COM Ports to Check", 1 << (kUnitPort - 1));
        Option("Auto Locate Players", 0);
        Open();
        m_doc->RunStartup();
    }
    // "amp" on the unit's ports of the mask.
    bool AddAmp(int ports)
    {
        return m_doc->GetDevicePath().AddDeviceText(kAmpCodes, "amp", 0, 0, ports) != FALSE;
    }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
};

// The tree of a unit with "amp" on S-Link port 2 and IR port 1: older
// firmware has no serial number and IR port 0 only.
TEST_F(UnitViewsTest, TheTreeShowsTheUnitItsPortsAndItsDevices)
{
    const struct
    {
        double version;
        const char* timeout;   // as each firmware reports its receive timeout
    } units[] = {{2.1, "     0us"}, {1.3, " 50000us"}};
    for (const auto& unit : units)
    {
        double version = unit.version;
        SCOPED_TRACE(version);
        bool newFirmware = version >= 2.0;
        Start(version);
        ASSERT_EQ(1, m_doc->GetDevicePath().GetNumTavlins());
        ASSERT_TRUE(AddAmp(1 << 2 | 1 << 5));
        CDevView* view = Show<CDevView>(RUNTIME_CLASS(CDevView));
        m_doc->UpdateAllViews(NULL, kViewHintDevices);

        Texts expected = {"Device Connections", newFirmware ? "  Tavlin 2.1 on COM7:" : "  Tavlin 1.3 on COM7:",
                          "    Info"};
        if (newFirmware)
            expected.push_back("      Serial Number: 0123456789ABCDEF");
        expected.insert(expected.end(),
                        {"      Baud Rate: 38400", "      IR Sample Period: 100us",
                         std::string("      IR Timeout Period: ") + unit.timeout, "    Errors", "      Transmit timeouts: 0", "      Illegal commands: 0",
                         "      Buffer overflows: 0", "      Buffer overruns: 0", "      Framing errors: 0"});
        const Texts amp = {"      amp", "        power", "        mute"};
        for (int port = 0; port < 4; ++port)
        {
            expected.push_back("    S-Link Port " + std::to_string(port));
            if (port == 2)
                expected.insert(expected.end(), amp.begin(), amp.end());
        }
        for (int port = 0; port < (newFirmware ? 8 : 1); ++port)
        {
            expected.push_back("    IR Port " + std::to_string(port));
            if (port == 1)
                expected.insert(expected.end(), amp.begin(), amp.end());
        }
        expected.push_back("  Port Diagnostics");
        for (int com = 1; com <= 8; ++com)
            expected.push_back("    COM" + std::to_string(com) + (com == kUnitPort ? ": Found!" : ": Not Checked"));
        EXPECT_EQ(expected, Tree(view->GetTree()));
    }
}

// The text goes to the device side as typed: "amp" on IR port 0 sends one
// IR message through the unit's port 4 each time.
TEST_F(UnitViewsTest, SendAndReturnHandTheCommandTextToTheDevices)
{
    Start(2.1);
    ASSERT_TRUE(AddAmp(1 << 4));
    CTavlinView* view = Show<CTavlinView>(RUNTIME_CLASS(CTavlinView));
    view->SetDlgItemText(IDC_TRAFFIC_COMMAND, "amp:power");
    auto irMessages = [this](size_t count) {
        std::vector<TavlinUnitMessage> messages;
        for (int wait = 0; wait < 500 && messages.size() < count; ++wait, Sleep(10))
            messages = m_unit.Messages();
        return messages;
    };
    Click(*view, IDC_TRAFFIC_SEND);
    std::vector<TavlinUnitMessage> messages = irMessages(1);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(4, messages[0].port);

    CWnd* edit = view->GetDlgItem(IDC_TRAFFIC_COMMAND);
    edit->SetFocus();
    edit->PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    messages = irMessages(2);
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ(messages[0].data, messages[1].data);
}

TEST_F(UnitViewsTest, ThroughTheServerTheTreeSendsTheUserThere)
{
    m_frames.clear();
    Close();
    Option("Use TavlinX", 1);
    Open();
    CDevView* view = Show<CDevView>(RUNTIME_CLASS(CDevView));
    EXPECT_EQ((Texts{"Device Connections", "  Feature not available - You can view this info in TavlinServ"}),
              Tree(view->GetTree()));
}

} // namespace
