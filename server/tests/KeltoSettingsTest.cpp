// The Kelto settings dialog against a simulated switch on a pty, driven by
// posted messages: the factory panel's key, the configuration frames in their
// order, counts asked for before anything is sent, "The Works" flashing a HEX
// file (checked by the lane sums the "Sums" button reads back) and a bad file
// refused before any block is written.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <fstream>
#include <string>
#include <vector>

#include "server/KeltoSettingsDlg.h"
#include "tests/support/KeltoSimulator.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TempFolder.h"

namespace {

const char kEnd[] = ":00000001FF\r\n";
const BYTE kPing = 37;
const int kStepMs = 10;
const int kWaitMs = 3000;

std::string Hex(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        bytes += char(std::stoi(text.substr(i, 2), nullptr, 16));
    return bytes;
}

// The configuration frames after the two counts, as the switch takes them.
std::vector<std::string> ConfigFrames(const char* inputs, const char* outputs, const char* ports)
{
    std::vector<std::string> frames = {
        std::string("0F ") + inputs, std::string("11 ") + outputs, "07 FF", "09 00", "0B 01", "0D 00", "13 02",
        "21 01", "1B FF"};
    for (int n = 0; n < 8; ++n)
        frames.push_back("1D 0" + std::to_string(n) + " FF FF");
    for (const char* frame : {"28 00", "21 FF", "28 01", "1B 00", "21 01"})
        frames.push_back(frame);
    frames.push_back(std::string("2A ") + ports);
    for (const char* frame : {"28 02", "21 FF", "28 03", "28 04", "28 05", "28 06", "28 07", "27 00", "29", "80"})
        frames.push_back(frame);
    for (std::string& frame : frames)
        frame = Hex(frame + " ");
    return frames;
}

class KeltoSettingsTest : public ::testing::Test
{
protected:
    KeltoSettingsTest() : m_sim(m_pty), m_port(m_pty.Port()), m_folder("keltosettings")
    {
        m_port.GetError().m_messageBox = FALSE;
        m_monitor = CreateThread(nullptr, 0, MonitorMain, this, 0, nullptr);
        m_dialog.m_port = &m_port;
        EXPECT_TRUE(m_dialog.Create(IDD_KELTO_SETTINGS));
    }

    ~KeltoSettingsTest() override
    {
        m_dialog.DestroyWindow();
        m_stop = true;
        WaitForSingleObject(m_monitor, INFINITE);
        CloseHandle(m_monitor);
    }

    // Reads the switch's answers as the monitoring thread does, so that
    // "flush" sees its echoes.
    static DWORD WINAPI MonitorMain(void* self)
    {
        KeltoSettingsTest* test = static_cast<KeltoSettingsTest*>(self);
        while (!test->m_stop) {
            CString out;
            test->m_port.ReadResponses(out, kStepMs);
        }
        return 0;
    }

    void Click(int id)
    {
        PostMessageA(m_dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(m_dialog.m_hWnd, id)));
        PumpMessages();
    }

    void Choose(int inputs, int outputs)
    {
        SendDlgItemMessageA(m_dialog.m_hWnd, IDC_INPUTS, LB_SETCURSEL, inputs, 0);
        SendDlgItemMessageA(m_dialog.m_hWnd, IDC_OUTPUTS, LB_SETCURSEL, outputs, 0);
    }

    // The frames the switch took, pings left out.
    std::vector<std::string> Frames()
    {
        std::vector<std::string> frames;
        for (const std::string& frame : m_sim.Frames())
            if (frame.empty() || BYTE(frame[0]) != kPing)
                frames.push_back(frame);
        return frames;
    }

    // The last frames are taken once the line has been quiet a moment: the
    // simulator says when it has taken all that came.
    std::vector<std::string> FramesOnceThere(size_t count)
    {
        m_sim.WaitForFrames(count, kWaitMs);
        m_sim.WaitUntilQuiet(kWaitMs);
        return Frames();
    }

    std::string Status()
    {
        char text[64] = "";
        GetDlgItemTextA(m_dialog.m_hWnd, IDC_FLASH_STATUS, text, sizeof text);
        return text;
    }

    void UseHexFile(const std::string& text)
    {
        std::ofstream(m_folder.UnixPath("kelto.hex"), std::ios::binary) << text;
        SetDlgItemTextA(m_dialog.m_hWnd, IDC_HEX_PATH, m_folder.WindowsPath("kelto.hex").c_str());
    }

    CPtySerial m_pty;
    CKeltoSimulator m_sim;
    CKeltoPort m_port;
    CTempFolder m_folder;
    CKeltoSettingsDlg m_dialog;
    HANDLE m_monitor = nullptr;
    volatile bool m_stop = false;
};

TEST_F(KeltoSettingsTest, ThreeScrollLocksInARowShowTheFactoryPanel)
{
    const struct
    {
        std::vector<WPARAM> keys;
        bool shown;
    } cases[] = {
        {{VK_SCROLL, VK_SCROLL}, false},
        {{VK_SCROLL, VK_SCROLL, 'A', VK_SCROLL}, false},
        {{VK_SCROLL, VK_SCROLL, VK_SCROLL}, true},
    };
    for (const auto& c : cases) {
        m_dialog.m_scrollLocks = 0;
        for (WPARAM key : c.keys)
            PostMessageA(m_dialog.m_hWnd, WM_KEYDOWN, key, 0);
        PumpMessages();
        for (int id : {IDC_SUMS, IDC_THE_WORKS, IDC_CONFIG_ONLY, IDC_INPUTS, IDC_OUTPUTS, IDC_HEX_PATH, IDC_BROWSE})
            EXPECT_EQ(c.shown, (GetWindowLongA(GetDlgItem(m_dialog.m_hWnd, id), GWL_STYLE) & WS_VISIBLE) != 0) << id;
    }
}

TEST_F(KeltoSettingsTest, ConfigOnlySendsTheChosenCountsOrAsksForThem)
{
    const struct
    {
        int inputs;
        int outputs;
        std::vector<std::string> frames;
    } cases[] = {
        {-1, 1, {}},
        {2, -1, {}},
        {2, 1, ConfigFrames("0C", "08", "01 23 45 67")},
        {0, 0, ConfigFrames("04", "04", "01 23 01 23")},
        {3, 1, ConfigFrames("10", "08", "01 23 45 67")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.inputs) + " " + std::to_string(c.outputs));
        CMessageBoxScript boxes;
        m_sim.Clear();
        Choose(c.inputs, c.outputs);
        Click(IDC_CONFIG_ONLY);
        EXPECT_EQ(c.frames, FramesOnceThere(c.frames.size()));
        EXPECT_EQ(c.frames.empty() ? 1u : 0u, boxes.Shown().size());
        // The simulated switch takes the closing reset for its boot loader's
        // start; it must take the exit alone.
        m_port.ExitBootLoader();
        EXPECT_TRUE(m_sim.WaitUntilQuiet(kWaitMs));
    }
}

TEST_F(KeltoSettingsTest, TheWorksFlashesTheFileThenConfiguresAndTheSumsReachTheirTargets)
{
    // A boot-loader record (skipped), a gap before 0x300 and a configuration record (skipped).
    std::string text = ":0400000001020304F2\r\n:10060000112233445566778899AABBCCDDEEFF00F2\r\n"
                       ":04400000AABBCCDDAE\r\n:023E000012347A\r\n";
    UseHexFile(text + kEnd);
    Choose(1, 1);
    Click(IDC_THE_WORKS);
    EXPECT_EQ("Done.", Status());
    EXPECT_EQ(m_sim.Flash(0, 4), std::string(4, '\xFF'));
    EXPECT_EQ(m_sim.Flash(0x300, 4), Hex("22 11 44 33 "));
    EXPECT_EQ(m_sim.Flash(0x200, 4), Hex("3F FF 3F FF "));
    EXPECT_EQ(m_sim.Flash(0x1F00, 2), std::string(2, '\xFF'));
    EXPECT_EQ(m_sim.Flash(0x2000, 4), std::string(4, '\xFF'));
    std::string serial = m_sim.Flash(0x1E01, 32);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(0x34, BYTE(serial[2 * i]));
        EXPECT_NE(nullptr, strchr("0123456789abcdef", serial[2 * i + 1])) << i;
    }
    EXPECT_EQ("00", serial.substr(17, 1) + serial.substr(19, 1));
    std::vector<std::string> config = ConfigFrames("08", "08", "01 23 45 67");
    std::vector<std::string> frames = FramesOnceThere(config.size() + 1);
    ASSERT_GE(frames.size(), config.size() + 1) << ::testing::PrintToString(frames);
    EXPECT_EQ(Hex("80 "), frames[0]);
    EXPECT_EQ(config, std::vector<std::string>(frames.end() - config.size(), frames.end()));

    CMessageBoxScript boxes;
    Click(IDC_SUMS);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Boot sum : 80 80 80 80 80 80 80 80main sum : bc 19 01 62 e5 a4 9d 7e", boxes.Shown()[0].text);
}

TEST_F(KeltoSettingsTest, ABadFileIsRefusedBeforeAnyBlockIsWritten)
{
    UseHexFile(std::string(":10060000112233445566778899AABBCCDDEEFF00F3\r\n") + kEnd);
    Choose(1, 1);
    CMessageBoxScript boxes;
    Click(IDC_THE_WORKS);
    EXPECT_EQ("FAILED", Status());
    ASSERT_GE(boxes.Shown().size(), 1u);
    EXPECT_EQ("HEX file line 1: bad checksum", boxes.Shown()[0].text);
    EXPECT_EQ(m_sim.Flash(0x200, 0x3D00 - 0x400), std::string(0x3D00 - 0x400, '\xFF'));
}

} // namespace
