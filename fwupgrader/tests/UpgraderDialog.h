// The upgrader's dialog in the test's own process, modeless, driven by posted
// button messages; its output box read back as lines.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <string>
#include <vector>

#include "fwupgrader/FirmwareUpgraderDlg.h"

class CUpgraderDialog
{
public:
    // A command line's port starts an upgrade at the first pumped message.
    explicit CUpgraderDialog(bool portGiven = false, int commandPort = 0) : m_dialog(portGiven, commandPort)
    {
        EXPECT_TRUE(m_dialog.Create(IDD_FIRMWARE_UPGRADER));
    }
    ~CUpgraderDialog() { m_dialog.DestroyWindow(); }

    void SelectPort(int comPort) { SendDlgItemMessageA(Window(), IDC_PORT, CB_SETCURSEL, comPort - 1, 0); }

    // The button's click runs its whole operation before this returns.
    void Press(int id)
    {
        PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(Window(), id)));
        PumpMessages();
    }

    std::string Text(int id)
    {
        char text[16384] = "";
        GetDlgItemTextA(Window(), id, text, sizeof text);
        return text;
    }

    // The output box's lines; each ends in CR LF.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        std::string text = Text(IDC_OUTPUT);
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find("\r\n", at);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

    HWND Window() const { return m_dialog.m_hWnd; }

    CFirmwareUpgraderDlg m_dialog;
};
