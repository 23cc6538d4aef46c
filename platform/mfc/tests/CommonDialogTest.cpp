#include "tests/support/TestFramework.h"

#include <afxdlgs.h>

#include <string>

namespace
{
TEST(CommonDialogTest, FileDialogSplitsTheChosenPath)
{
    struct Case
    {
        const char* path;
        const char* name;
        const char* ext;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\Lists\\party.pla", "party.pla", "pla", "party"},
        {"C:\\My.Lists\\noext", "noext", "", "noext"},
        {"D:two.dots.pla", "two.dots.pla", "pla", "two.dots"},
        {"plain.txt", "plain.txt", "txt", "plain"},
    };
    for (const Case& c : cases)
    {
        CFileDialog dialog(TRUE, "pla", c.path);
        EXPECT_STREQ(c.path, dialog.GetPathName());
        EXPECT_STREQ(c.name, dialog.GetFileName()) << c.path;
        EXPECT_STREQ(c.ext, dialog.GetFileExt()) << c.path;
        EXPECT_STREQ(c.title, dialog.GetFileTitle()) << c.path;
    }
}

TEST(CommonDialogTest, FileDialogFilterBecomesTheZeroSeparatedList)
{
    CFileDialog dialog(FALSE, "pla", NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Play lists (*.pla)|*.pla|All files (*.*)|*.*||");
    const char* filter = dialog.m_ofn.lpstrFilter;
    std::string parts;
    for (const char* p = filter; *p; p += strlen(p) + 1)
        parts += std::string(p) + ";";
    EXPECT_EQ("Play lists (*.pla);*.pla;All files (*.*);*.*;", parts);
    EXPECT_STREQ("pla", dialog.m_ofn.lpstrDefExt);
    EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
              dialog.m_ofn.Flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
}

TEST(CommonDialogTest, ColorAndFontDialogsStartFromTheGivenValues)
{
    CColorDialog color(RGB(1, 2, 3), CC_FULLOPEN);
    EXPECT_EQ(RGB(1, 2, 3), color.GetColor());
    EXPECT_EQ((DWORD)(CC_FULLOPEN | CC_RGBINIT), color.m_cc.Flags);
    EXPECT_EQ(CColorDialog::c_CustColors, color.m_cc.lpCustColors);

    LOGFONTA font = {};
    lstrcpyA(font.lfFaceName, "Tahoma");
    font.lfWeight = FW_BOLD;
    font.lfItalic = TRUE;
    CFontDialog dialog(&font);
    EXPECT_STREQ("Tahoma", dialog.GetFaceName());
    EXPECT_TRUE(dialog.IsBold());
    EXPECT_TRUE(dialog.IsItalic());
    EXPECT_TRUE(dialog.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
}
}
