// Dialogs whose list and combo boxes start with the strings of the template's
// initialisation data, before OnInitDialog runs; data that is cut short adds
// nothing past the cut.
#include "tests/support/TestFramework.h"

#include <afxwin.h>

#include <string>
#include <vector>

namespace {

class CInitialisedDialog : public CDialog
{
public:
    explicit CInitialisedDialog(UINT id) : CDialog(id) {}

    BOOL OnInitDialog() override
    {
        m_comboCountAtInit = int(SendDlgItemMessage(1002, CB_GETCOUNT));
        return CDialog::OnInitDialog();
    }

    std::vector<std::string> Items(int id, UINT countMessage, UINT textMessage)
    {
        std::vector<std::string> items;
        int count = int(SendDlgItemMessage(id, countMessage));
        for (int i = 0; i < count; ++i) {
            char text[64] = "";
            SendDlgItemMessage(id, textMessage, i, LPARAM(text));
            items.push_back(text);
        }
        return items;
    }

    int m_comboCountAtInit = -1;
};

TEST(DlgInitTest, ListAndComboBoxesStartWithTheTemplatesStrings)
{
    CInitialisedDialog dialog(101);
    ASSERT_TRUE(dialog.Create(101));
    EXPECT_EQ(2, dialog.m_comboCountAtInit);
    EXPECT_EQ((std::vector<std::string>{"COM1", "COM12"}), dialog.Items(1002, CB_GETCOUNT, CB_GETLBTEXT));
    EXPECT_EQ((std::vector<std::string>{"alpha"}), dialog.Items(1003, LB_GETCOUNT, LB_GETTEXT));
    dialog.DestroyWindow();
}

TEST(DlgInitTest, DataCutShortAddsNothingPastTheCut)
{
    CInitialisedDialog dialog(102);
    ASSERT_TRUE(dialog.Create(102));
    EXPECT_EQ((std::vector<std::string>{"CO"}), dialog.Items(1002, CB_GETCOUNT, CB_GETLBTEXT));
    dialog.DestroyWindow();
}

} // namespace
