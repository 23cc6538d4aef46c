// The server's main dialog over a device manager with two simulated units
// (firmware 1.5 and 2.1) and one port where nothing answers, driven by posted
// messages: the device tree's texts, the status lines, tray clicks, the quit
// countdown of a COM-started server tick by tick, the close question and the
// units the Settings and Test commands serve.
#include "tests/support/TestFramework.h"

#include <algorithm>
#include <string>
#include <vector>

#include "devices/manager/DeviceManager.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"
#include "server/TavlinServDlg.h"
#include "tests/support/TavlinSimulator.h"
#include "tests/support/TempFolder.h"

namespace {

// The server's options name COM1 to COM8 only.
const int kOldCom = 2;
const int kNewCom = 5;
const int kEmptyCom = 7;
const char kCodes[] = "type=tavlin\nprefix=1\n0011:power\n0101:play\n";

// Two units and an empty port, with a device of the default user and one of a
// client's user: made once, as locating the empty port takes seconds.
struct CUnits
{
    CUnits()
        : oldPty(kOldCom), newPty(kNewCom), emptyPty(kEmptyCom), oldUnit(oldPty, 38400, 1.5),
          newUnit(newPty, 38400, 2.1)
    {
        newUnit.SetSerialNumber("\x01\x23\x45\x67\x89\xAB\xCD\xEF");
        manager.GetError().m_messageBox = FALSE;
        manager.AddTavlinPorts(1 << (kOldCom - 1) | 1 << (kNewCom - 1) | 1 << (kEmptyCom - 1));
        int user = manager.AddUser();
        int newUnitIndex = kNewCom < kOldCom ? 0 : 1;
        EXPECT_EQ(1, manager.AddDeviceText(user, kCodes, "tv", 0, newUnitIndex, 0x11)) << manager.GetErrorText();
        EXPECT_EQ(1, manager.AddDeviceText(0, kCodes, "amp", 0, newUnitIndex, 0x20)) << manager.GetErrorText();
    }

    CPtySerial oldPty;
    CPtySerial newPty;
    // Opens, but no unit answers there.
    CPtySerial emptyPty;
    CTavlinSimulator oldUnit;
    CTavlinSimulator newUnit;
    CDeviceManager manager;
};

class TavlinServDlgTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_units = new CUnits; }
    static void TearDownTestSuite()
    {
        delete s_units;
        s_units = nullptr;
    }

    TavlinServDlgTest()
    {
        g_pDeviceManager = &s_units->manager;
        m_dialog.m_noTrayIcon = TRUE;
        EXPECT_TRUE(m_dialog.Create(IDD_TAVLINSERV));
    }

    ~TavlinServDlgTest() override
    {
        m_dialog.DestroyWindow();
        g_pDeviceManager = nullptr;
        g_bStartedByCom = FALSE;
        g_nQuitCountdown = 0;
        g_nObjects = 0;
        g_nSent = 0;
        g_nReceived = 0;
    }

    // Units come in port order.
    static int NewUnit() { return kNewCom < kOldCom ? 0 : 1; }

    // Dispatches what is queued; true when a quit message came.
    bool Pump()
    {
        bool quit = false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return quit;
    }

    bool Tick()
    {
        m_dialog.PostMessage(WM_TIMER, 1);
        return Pump();
    }

    std::string Text(int id)
    {
        char text[128] = "";
        GetDlgItemTextA(m_dialog.m_hWnd, id, text, sizeof text);
        return text;
    }

    // Every item as its text indented by depth, then image and data.
    void Flatten(HTREEITEM item, int depth, std::vector<std::string>& lines)
    {
        for (; item; item = m_dialog.m_tree.GetNextSiblingItem(item)) {
            int image = 0, selected = 0;
            m_dialog.m_tree.GetItemImage(item, image, selected);
            lines.push_back(std::string(2 * depth, ' ') + std::string(m_dialog.m_tree.GetItemText(item)) + " |" +
                            std::to_string(image) + "," + std::to_string(selected) + "," +
                            std::to_string(long(m_dialog.m_tree.GetItemData(item))));
            Flatten(m_dialog.m_tree.GetChildItem(item), depth + 1, lines);
        }
    }

    std::vector<std::string> Tree()
    {
        std::vector<std::string> lines;
        Flatten(m_dialog.m_tree.GetRootItem(), 0, lines);
        return lines;
    }

    HTREEITEM FindItem(const std::string& text)
    {
        std::vector<HTREEITEM> stack{m_dialog.m_tree.GetRootItem()};
        while (!stack.empty()) {
            HTREEITEM item = stack.back();
            stack.pop_back();
            for (; item; item = m_dialog.m_tree.GetNextSiblingItem(item)) {
                if (std::string(m_dialog.m_tree.GetItemText(item)) == text)
                    return item;
                stack.push_back(m_dialog.m_tree.GetChildItem(item));
            }
        }
        return nullptr;
    }

    static CUnits* s_units;
    CTavlinServDlg m_dialog{nullptr};
};

CUnits* TavlinServDlgTest::s_units = nullptr;

std::string Com(int com)
{
    return "COM" + std::to_string(com);
}

TEST_F(TavlinServDlgTest, TheTreeShowsUnitsByFirmwarePortsDevicesCodesAndPortDiagnostics)
{
    std::vector<std::string> tree = Tree();
    std::vector<std::string> newUnit = {
        "Tavlin 2.1 on " + Com(kNewCom) + ": |0,0," + std::to_string(NewUnit()),
        "  Info |6,6,0",
        "    Serial Number: 0123456789ABCDEF |7,7,0",
        "    Baud Rate: 38400 |7,7,0",
        "    IR Sample Period: 100us |7,7,0",
        "    IR Timeout Period:      0us |7,7,0",
        "    Errors |7,7,0",
        "      Transmit timeouts: 0 |7,7,0",
        "      Illegal commands: 0 |7,7,0",
        "      Command timeouts: 0 |7,7,0",
        "      Buffer overflows: 0 |7,7,0",
        "      Buffer overruns: 0 |7,7,0",
        "      Framing errors: 0 |7,7,0",
        "      Reloads / reboots: 0 |7,7,0",
        "      COM port resets: 0 |7,7,0",
        "  S-Link Port 0 |1,1,0",
        "    [1] tv |3,3,0",
        "      power |4,4,0",
        "      play |4,4,0",
        "  S-Link Port 1 |1,1,1",
        "  S-Link Port 2 |1,1,2",
        "  S-Link Port 3 |1,1,3",
        "  IR Port 0 |2,2,4",
        "    [1] tv |3,3,0",
        "      power |4,4,0",
        "      play |4,4,0",
        "  IR Port 1 |2,2,5",
        "    [0] amp |3,3,0",
        "      power |4,4,0",
        "      play |4,4,0",
    };
    for (int j = 2; j < 8; ++j)
        newUnit.push_back("  IR Port " + std::to_string(j) + " |2,2," + std::to_string(j + 4));
    // Firmware 1.x: no serial number, one IR port.
    std::vector<std::string> oldUnit = {
        "Tavlin 1.5 on " + Com(kOldCom) + ": |0,0," + std::to_string(1 - NewUnit()),
        "  Info |6,6,0",
        "    Baud Rate: 38400 |7,7,0",
    };
    auto unitItems = [&tree](const std::vector<std::string>& unit) {
        auto at = std::find(tree.begin(), tree.end(), unit[0]);
        return at == tree.end() ? std::vector<std::string>()
                                : std::vector<std::string>(at, at + std::min(unit.size(), size_t(tree.end() - at)));
    };
    EXPECT_EQ(newUnit, unitItems(newUnit));
    EXPECT_EQ(oldUnit, unitItems(oldUnit));
    EXPECT_EQ(1, std::count(tree.begin(), tree.end(), "  IR Port 0 |2,2,4") -
                     std::count(tree.begin(), tree.end(), "  IR Port 1 |2,2,5"));

    std::vector<std::string> diagnostics(tree.end() - 4, tree.end());
    std::vector<std::string> expectedDiagnostics = {"Port Diagnostics |6,6,-1"};
    for (int com = 1; com <= 8; ++com) {
        if (com == kEmptyCom)
            expectedDiagnostics.push_back("  COM" + std::to_string(com) + ": Nothing Found |6,6,-1");
        else if (com == kOldCom || com == kNewCom)
            expectedDiagnostics.push_back("  COM" + std::to_string(com) + ": Tavlin |6,6,-1");
    }
    EXPECT_EQ(expectedDiagnostics, diagnostics);
}

TEST_F(TavlinServDlgTest, StatusLinesCountDevicesSendsTextsUsersAndObjects)
{
    g_nSent = 5;
    g_nReceived = 7;
    g_nObjects = 1;
    m_dialog.RepaintCounters();
    Tick();
    EXPECT_EQ("Dev: 2 Send: 5 Rec: 7 ", Text(IDC_OBJECTS));
    EXPECT_EQ("Users 1 Obj: 1", Text(IDC_MESSAGES));
}

TEST_F(TavlinServDlgTest, TrayClicksShowAndHideByTurnsUnlessInvisible)
{
    const struct
    {
        BOOL invisible;
        std::vector<bool> visibleAfterClicks;
    } cases[] = {
        {FALSE, {true, false, true}},
        {TRUE, {false, false, false}},
    };
    for (const auto& c : cases) {
        m_dialog.m_invisible = c.invisible;
        m_dialog.m_shown = CTavlinServDlg::kFirstTick;
        m_dialog.ShowWindow(SW_SHOW);
        Tick();
        EXPECT_EQ(!c.invisible, m_dialog.IsWindowVisible() != FALSE);
        for (bool visible : c.visibleAfterClicks) {
            m_dialog.PostMessage(WM_TRAYNOTIFY, 777, WM_LBUTTONDOWN);
            // Other mouse messages do nothing.
            m_dialog.PostMessage(WM_TRAYNOTIFY, 777, WM_RBUTTONDOWN);
            Pump();
            EXPECT_EQ(visible, m_dialog.IsWindowVisible() != FALSE) << c.invisible;
        }
    }
}

TEST_F(TavlinServDlgTest, AComStartedServerQuitsOnTheThirdTickAfterItsLastClient)
{
    g_bStartedByCom = TRUE;
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(m_dialog.IsWindowVisible());

    g_nQuitCountdown = 3;
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Tick());
    // A client that comes meanwhile stops the countdown.
    g_nObjects = 1;
    EXPECT_FALSE(Tick());
    EXPECT_EQ(0, g_nQuitCountdown);
    g_nObjects = 0;
    EXPECT_FALSE(Tick());

    g_nQuitCountdown = 3;
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Tick());
    EXPECT_TRUE(Tick());
}

TEST_F(TavlinServDlgTest, ClosingWithClientsAsksFirst)
{
    const struct
    {
        LONG objects;
        int answer;
        size_t boxes;
        bool closed;
    } cases[] = {{1, IDNO, 1, false}, {0, IDYES, 0, true}, {1, IDYES, 1, true}};
    for (const auto& c : cases) {
        m_dialog.ShowWindow(SW_SHOW);
        g_nObjects = c.objects;
        CMessageBoxScript boxes;
        boxes.Then(c.answer);
        m_dialog.PostMessage(WM_CLOSE);
        Pump();
        ASSERT_EQ(c.boxes, boxes.Shown().size());
        if (c.boxes) {
            EXPECT_EQ("One or more programs still have active connections to the server. Are you sure you want to "
                      "shut down?",
                      boxes.Shown()[0].text);
        }
        EXPECT_EQ(!c.closed, m_dialog.IsWindowVisible() != FALSE);
    }
}

TEST_F(TavlinServDlgTest, TheSelectedUnitIsTheTopLevelItemAboveTheSelection)
{
    const struct
    {
        std::string item;
        int unit;
    } cases[] = {
        {"Tavlin 2.1 on " + Com(kNewCom) + ":", NewUnit()},
        {"play", NewUnit()},
        {"Port Diagnostics", -1},
        {"COM" + std::to_string(kEmptyCom) + ": Nothing Found", -1},
    };
    m_dialog.m_tree.SelectItem(nullptr);
    EXPECT_EQ(-1, m_dialog.GetSelectedUnit());
    for (const auto& c : cases) {
        HTREEITEM item = FindItem(c.item);
        ASSERT_NE(nullptr, item) << c.item;
        m_dialog.m_tree.SelectItem(item);
        EXPECT_EQ(c.unit, m_dialog.GetSelectedUnit()) << c.item;
    }
}

// Tests need the unit to themselves.
TEST_F(TavlinServDlgTest, TheTestCommandRefusesWhileClientsAreConnected)
{
    m_dialog.m_tree.SelectItem(m_dialog.m_tree.GetRootItem());
    CMessageBoxScript boxes;
    m_dialog.PostMessage(WM_COMMAND, 32777);
    Pump();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Tavlin tests cannot be performed while client applications are connected. Please close all client "
              "applications and restart tavlinserv to perform these tests",
              boxes.Shown()[0].text);
}

// Help beside the program's folder: ..\help\tavlin.chm, else ..\help\help.htm.
TEST_F(TavlinServDlgTest, MissingHelpFilesAreNamed)
{
    CTempFolder folder("serverhelp");
    CWinApp app("tavlinserv");
    free((void*)app.m_pszHelpFilePath);
    app.m_pszHelpFilePath = strdup(folder.WindowsPath("bin\\tavlinserv.HLP").c_str());
    CMessageBoxScript boxes;
    m_dialog.PostMessage(WM_COMMAND, 32775);
    Pump();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Unable to find or start the help files (" + folder.WindowsPath("help\\tavlin.chm") + " or " +
                  folder.WindowsPath("help\\help.htm") + ").",
              boxes.Shown()[0].text);
}

} // namespace
