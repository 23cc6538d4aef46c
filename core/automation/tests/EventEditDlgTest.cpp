// The event action dialog: its title names the event, its edit field shows
// the action, OK takes the edited action and Cancel keeps the old one.
#include "tests/support/TestFramework.h"

#include "core/automation/AutomationResources.h"
#include "core/automation/EventEditDlg.h"

namespace {

std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(EventEditDlg, ShowsAndEditsTheAction)
{
    const struct
    {
        const char* name;
        bool ok;
        const char* action;
    } cases[] = {
        {"OK takes the edit", true, "amp:power_off"},
        {"Cancel keeps the action", false, "amp:power_on amp:input_cd"},
    };
    for (const auto& c : cases) {
        CEventEditDlg dialog("playlist_play", "amp:power_on amp:input_cd");
        ASSERT_TRUE(dialog.Create(IDD_EVENT_EDIT)) << c.name;
        HWND edit = GetDlgItem(dialog.m_hWnd, IDC_EVENT_ACTION);
        EXPECT_EQ("Edit Event - playlist_play", WindowText(dialog.m_hWnd)) << c.name;
        EXPECT_EQ("amp:power_on amp:input_cd", WindowText(edit)) << c.name;
        EXPECT_NE(HWND(NULL), GetDlgItem(dialog.m_hWnd, IDOK));
        EXPECT_NE(HWND(NULL), GetDlgItem(dialog.m_hWnd, IDCANCEL));
        SetWindowTextA(edit, "amp:power_off");
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(c.ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(CString(c.action), dialog.m_strAction) << c.name;
        dialog.DestroyWindow();
    }
}

} // namespace
