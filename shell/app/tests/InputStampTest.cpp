#include "tests/support/TestFramework.h"

#include "shell/app/ZymApp.h"

#include "core/doc/HandOver.h"

TEST(InputStampTest, KeysAndButtonPressesStampTheUsersLastInput)
{
    CZymApp app;
    const struct
    {
        UINT message;
        bool input;
        bool key;
    } cases[] = {
        { WM_KEYDOWN, true, true },         { WM_SYSKEYDOWN, true, false },
        { WM_LBUTTONDOWN, true, false },    { WM_LBUTTONDBLCLK, true, false },
        { WM_RBUTTONDOWN, true, false },    { WM_RBUTTONDBLCLK, true, false },
        { WM_MBUTTONDOWN, true, false },    { WM_MBUTTONDBLCLK, true, false },
        { WM_KEYUP, false, false },         { WM_LBUTTONUP, false, false },
        { WM_MOUSEMOVE, false, false },     { WM_TIMER, false, false },
    };
    for (const auto& c : cases)
    {
        UserActionStamps::Set(UserActionStamps::kListViews, 0);
        UserActionStamps::Set(UserActionStamps::kOtherViews, 0);
        MSG msg = {};
        msg.message = c.message;
        app.PreTranslateMessage(&msg);
        EXPECT_EQ(c.input, UserActionStamps::Get(UserActionStamps::kListViews) != 0) << c.message;
        EXPECT_EQ(c.key, UserActionStamps::Get(UserActionStamps::kOtherViews) != 0) << c.message;
    }
    EXPECT_EQ(3, CZymApp::GetCommonControlsLevel());
}

TEST(InputStampTest, TheShellsOpenCommandHandsOverItsPathInLowerCase)
{
    CZymApp app;
    const struct
    {
        const char* command;
        const char* path;
    } cases[] = {
        { "[open(\"C:\\Music\\A.pla\")]", "c:\\music\\a.pla" },
        { "[OPEN(\"C:\\Music\\B.pla\")]", "c:\\music\\b.pla" },
        { "noise [open(\"X.PLA", "x.pla" },
        { "[print(\"C:\\c.pla\")]", "" },
    };
    for (const auto& c : cases)
    {
        TakeHandedOverPlaylist();
        std::string command = c.command;
        EXPECT_TRUE(app.OnDDECommand(&command[0]));
        EXPECT_EQ(c.path, std::string(TakeHandedOverPlaylist())) << c.command;
    }
}
