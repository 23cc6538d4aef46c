// The About box on this program's own version resource (file 2.0.0.7) and on
// a program name without one, and the link control: its text and URL, its
// underlined font, its size fitted to the text, and the error box of a link
// that cannot be opened.
#include "tests/support/TestFramework.h"

#include "common/AboutDlg.h"
#include "tests/support/MessageBoxScript.h"

namespace {

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class AboutBoxTest : public ::testing::Test
{
protected:
    void ShowAbout(CAboutDlg& about)
    {
        ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
    }

    CWinApp m_app{"About fixture"};
};

TEST_F(AboutBoxTest, TheVersionLineNamesTheProgramFileVersionOrUnknown)
{
    CAboutDlg about;
    ShowAbout(about);
    EXPECT_EQ("Version 2, 0, 0, 7", Text(GetDlgItem(about.m_hWnd, IDC_ABOUT_VERSION)));
    about.DestroyWindow();

    free((void*)m_app.m_pszExeName);
    m_app.m_pszExeName = strdup("no_such_program");
    CAboutDlg missing;
    ShowAbout(missing);
    EXPECT_EQ("Version unknown", Text(GetDlgItem(missing.m_hWnd, IDC_ABOUT_VERSION)));
    missing.DestroyWindow();
}

TEST_F(AboutBoxTest, LinksTakeTheirUrlOrShowItUnderlinedAndFitTheirText)
{
    CDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    HWND rightAligned = GetDlgItem(dialog.m_hWnd, 1002);
    RECT before;
    GetWindowRect(rightAligned, &before);

    CHyperLink web, mail;
    ASSERT_TRUE(web.SubclassDlgItem(1001, &dialog));
    mail.SetURL("mailto:reports@halvane.example");
    ASSERT_TRUE(mail.SubclassDlgItem(1002, &dialog));

    EXPECT_EQ("http://www.halvane.example/", std::string(web.GetURL()));
    EXPECT_EQ("mailto:reports@halvane.example", Text(rightAligned));
    for (CHyperLink* link : {&web, &mail}) {
        EXPECT_NE(0u, link->GetStyle() & SS_NOTIFY);
        LOGFONTA font = {};
        GetObjectA(HFONT(link->SendMessage(WM_GETFONT)), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);
    }
    RECT after;
    GetWindowRect(rightAligned, &after);
    EXPECT_EQ(before.right, after.right);
    EXPECT_LT(after.right - after.left, before.right - before.left);
    EXPECT_GT(after.right - after.left, 0);
    dialog.DestroyWindow();
}

// The shell cannot open the file, and the command that opens HTML files names
// a program that is not there: the user learns why from the last call.
TEST_F(AboutBoxTest, ALinkThatCannotBeOpenedSaysWhy)
{
    const char kClass[] = "ZymAboutTestPage";
    HKEY classes = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Classes", &classes));
    RegSetValueA(classes, ".htm", REG_SZ, kClass, sizeof kClass);
    const char command[] = "\"Z:\\no\\such\\browser.exe\" \"%1\"";
    RegSetValueA(classes, "ZymAboutTestPage\\shell\\open\\command", REG_SZ, command, sizeof command);

    CDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    CHyperLink link;
    link.SetURL("Z:\\no\\such\\page.zzz");
    ASSERT_TRUE(link.SubclassDlgItem(1002, &dialog));
    CMessageBoxScript boxes;
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1002, STN_CLICKED), LPARAM(link.m_hWnd));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.", boxes.Shown()[0].text);
    EXPECT_FALSE(link.GetVisited());
    dialog.DestroyWindow();

    RegDeleteTreeA(classes, "ZymAboutTestPage");
    RegDeleteTreeA(classes, ".htm");
    RegCloseKey(classes);
}

TEST(HyperLinkTest, ResultTexts)
{
    EXPECT_STREQ("There is no application associated\nwith the given filename extension.",
                 CHyperLink::ResultText(31));
    EXPECT_STREQ("Unknown Error (33) occurred.", CHyperLink::ResultText(33));
}

} // namespace
