// The upgrader's command line and dialog in this process: the port a command
// line names, ports outside COM1-COM12 refused without opening any, and images
// refused before the first flash block.
#include "tests/support/TestFramework.h"

#include <memory>
#include <string>
#include <vector>

#include "tests/support/KeltoSimulator.h"
#include "tests/support/MessageBoxScript.h"
#include "fwupgrader/PortCommandLineInfo.h"
#include "tests/support/PtySerial.h"
#include "devices/util/ResourceText.h"
#include "fwupgrader/tests/UpgraderDialog.h"

namespace {

const int kPort = 5;
const int kFlashWords = 0x2100;

TEST(PortCommandLineTest, ParametersHoldingComNameThePort)
{
    const struct
    {
        const char* param;
        BOOL flag;
        bool given;
        int port;
    } cases[] = {
        {"com3", FALSE, true, 3},     {"COM12", FALSE, true, 12},  {"Com5", FALSE, true, 5},
        {"com13", FALSE, true, 13},   {"comx", FALSE, true, 0},    {"com", FALSE, true, 0},
        {"com7x", FALSE, true, 7},    {"xcom5", FALSE, true, 0},   {"com99999999", FALSE, true, 999999},
        {"com3", TRUE, false, 0},     {"list.txt", FALSE, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.param);
        CPortCommandLineInfo info;
        info.ParseParam(c.param, c.flag, TRUE);
        EXPECT_EQ(c.given, info.m_portGiven);
        EXPECT_EQ(c.port, info.m_portNumber);
    }
}

// The upgrade a command line starts is left in the queue: nothing pumps it.
TEST(UpgradeDialogTest, TheCommandLinesPortIsSelected)
{
    const struct
    {
        bool given;
        int commandPort;
        const char* selected;
    } cases[] = {{false, 0, "COM1"}, {true, 12, "COM12"}, {true, 3, "COM3"}, {true, 13, ""}, {true, 0, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandPort);
        CUpgraderDialog dialog(c.given, c.commandPort);
        EXPECT_EQ(c.selected, dialog.Text(IDC_PORT));
        std::vector<std::string> ports, expected;
        for (int i = 0; i < int(SendDlgItemMessageA(dialog.Window(), IDC_PORT, CB_GETCOUNT, 0, 0)); ++i) {
            char name[16] = "";
            SendDlgItemMessageA(dialog.Window(), IDC_PORT, CB_GETLBTEXT, i, LPARAM(name));
            ports.push_back(name);
            expected.push_back("COM" + std::to_string(i + 1));
        }
        EXPECT_EQ(12u, ports.size());
        EXPECT_EQ(expected, ports);
        EXPECT_EQ("Kelto is connected to", dialog.Text(IDC_PORT_LABEL));
        char caption[64] = "";
        GetWindowTextA(dialog.Window(), caption, sizeof caption);
        EXPECT_STREQ("Kelto Firmware Upgrader", caption);
        HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
        EXPECT_NE(nullptr, icon);
        EXPECT_EQ(LRESULT(icon), SendMessageA(dialog.Window(), WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(LRESULT(icon), SendMessageA(dialog.Window(), WM_GETICON, ICON_SMALL, 0));
        MSG unrun;
        while (PeekMessageA(&unrun, dialog.Window(), 0, 0, PM_REMOVE)) {
        }
    }
}

// "com13" and "comx" on the command line: the unattended upgrade and a test
// after it name the port given, and no unit is reached.
TEST(UpgradeDialogTest, PortsOutsideTheListAreRefusedWithTheirOwnNumber)
{
    // A switch on COM1 would answer if the dialog fell back to the first
    // port, one on COM13 if it opened a port the list does not hold.
    CPtySerial first(1);
    CKeltoSimulator kelto(first);
    CPtySerial thirteenth(13);
    CKeltoSimulator outside(thirteenth);
    const struct
    {
        int commandPort;
        const char* error;
    } cases[] = {{13, "Unable to access port COM13"}, {0, "Unable to access port COM0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandPort);
        CMessageBoxScript boxes;
        CUpgraderDialog dialog(true, c.commandPort);
        PumpMessages();
        EXPECT_EQ((std::vector<std::string>{"Starting Upgrade", c.error}), dialog.Lines());
        dialog.Press(IDC_TEST);
        EXPECT_EQ((std::vector<std::string>{"Starting Test", c.error}), dialog.Lines());
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_EQ(c.error, boxes.Shown()[0].text);
        EXPECT_EQ(c.error, boxes.Shown()[1].text);
    }
    EXPECT_TRUE(kelto.Frames().empty());
    EXPECT_TRUE(outside.Frames().empty());
}

// The built-in image with one fault: a changed digit, no end record.
std::string Damaged(const std::string& image, const char* how)
{
    std::string text = image;
    if (std::string(how) == "digit") {
        size_t line = text.find("\r\n:", text.size() / 2) + 2;
        text[line + 12] = text[line + 12] == '0' ? '1' : '0';
    } else {
        text.erase(text.rfind(":00000001FF"));
    }
    return text;
}

TEST(UpgradeDialogTest, ABadImageWritesNoBlock)
{
    std::string image(LoadResourceText("kelto.hex"));
    ASSERT_GT(image.size(), 30000u);
    const struct
    {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"changed digit", Damaged(image, "digit"), "bad checksum"},
        {"cut short", Damaged(image, "end"), "The HEX file has no end record"},
        {"empty", "", "The HEX file has no end record"},
    };
    CPtySerial pty(kPort);
    CKeltoSimulator kelto(pty);
    CUpgraderDialog dialog;
    dialog.m_dialog.m_kelto.reset(new CKeltoPort(kPort));
    ASSERT_TRUE(dialog.m_dialog.m_kelto->EnterBootLoader());
    size_t seen = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMessageBoxScript boxes;
        EXPECT_FALSE(dialog.m_dialog.WriteFlash(c.text.c_str()));
        std::vector<std::string> lines = dialog.Lines();
        ASSERT_EQ(seen + 3, lines.size());
        EXPECT_EQ("Upgrading Kelto - Please Wait", lines[seen]);
        EXPECT_NE(std::string::npos, lines[seen + 1].find(c.reason)) << lines[seen + 1];
        EXPECT_EQ("Failed to write flash memory", lines[seen + 2]);
        seen = lines.size();
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Failed to write flash memory", boxes.Shown()[0].text);
    }
    EXPECT_EQ(std::string(kFlashWords * 2, '\xFF'), kelto.Flash(0, kFlashWords * 2));
    dialog.m_dialog.m_kelto.reset();
}

} // namespace
