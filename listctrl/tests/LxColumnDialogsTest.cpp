// The Customize columns and Column format dialogs, driven by posted messages
// as the dialog manager would send them, on one column manager.
#include "listctrl/tests/ListFixture.h"

#include "listctrl/LxColumnFormatDlg.h"
#include "listctrl/LxCustomizeColumnsDlg.h"
#include "listctrl/LxListResource.h"
#include "tests/support/MessageBoxScript.h"

#include <string>
#include <vector>

namespace
{
enum { kBox, kType, kArtist, kTitle, kYear, kPrice, kGenre };

// Inside the dialog's own loop: add the first free column and confirm.
HWND g_customizeDialog = NULL;
void CALLBACK AddFirstFreeColumnAndConfirm(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = ::FindWindowA(NULL, "Customize columns");
    if (!dialog || !::IsWindowVisible(dialog))
        return;
    ::KillTimer(NULL, timer);
    g_customizeDialog = dialog;
    ::SendMessageA(::GetDlgItem(dialog, IDC_LX_FREE_COLUMNS), LB_SETSEL, TRUE, 0);
    for (int id : {IDC_LX_ADD, IDOK})
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       (LPARAM)::GetDlgItem(dialog, id));
}

class ColumnDialogsTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        DefineColumns(m_manager);
    }
    static void DefineColumns(CLxColumnManager& manager)
    {
        manager.DefineColumn(kBox, "", NULL, LVCFMT_LEFT, 0, 0, -1, NULL);
        manager.DefineColumn(kType, "", NULL, LVCFMT_CENTER, 21,
                             kLxColImage | kLxColNoSortMark | kLxColFixedWidth |
                                 kLxColHeaderImage,
                             1, "Music Type");
        manager.DefineColumn(kArtist, "Artist", "A2", LVCFMT_LEFT, 80,
                             kLxColEdit | kLxColSortable, 0, "Artist Name");
        manager.DefineColumn(kTitle, "Title", NULL, LVCFMT_RIGHT, 90, kLxColDropList, 0, NULL);
        manager.DefineColumn(kYear, "Year", NULL, LVCFMT_RIGHT, 40, kLxColNumeric, 0, NULL);
        manager.DefineColumn(kPrice, "Price", NULL, LVCFMT_RIGHT, 40, kLxColCurrency, 0, NULL);
        manager.DefineColumn(kGenre, "Genre", NULL, LVCFMT_LEFT, 60, 0, 0, NULL);
        const int shown[] = {kBox, kType, kArtist, kTitle};
        manager.SetDefaultColumns(ARRAYSIZE(shown), shown);
    }
    void TearDown() override
    {
        if (m_dialog && m_dialog->m_hWnd)
            m_dialog->DestroyWindow();
        ListTest::TearDown();
    }
    template <class Dialog>
    void Open(Dialog& dialog, UINT templateId)
    {
        dialog.m_pColumnManager = &m_manager;
        m_dialog = &dialog;
        ASSERT_TRUE(dialog.Create(templateId, &m_owner));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }
    HWND Item(int id) { return ::GetDlgItem(m_dialog->m_hWnd, id); }
    void Command(int id, int code)
    {
        m_dialog->PostMessage(WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)Item(id));
        PumpMessages();
    }
    void Click(int id) { Command(id, BN_CLICKED); }
    bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != FALSE; }
    // A modeless dialog only hides when it ends.
    bool Ended() { return !m_dialog->IsWindowVisible(); }
    std::vector<std::string> Entries(int list)
    {
        std::vector<std::string> entries;
        int count = (int)::SendMessageA(Item(list), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++)
        {
            char text[64] = "";
            ::SendMessageA(Item(list), LB_GETTEXT, i, (LPARAM)text);
            entries.push_back(text + std::string(":") +
                              std::to_string(::SendMessageA(Item(list), LB_GETITEMDATA, i, 0)));
        }
        return entries;
    }
    void Select(int list, const std::vector<int>& entries)
    {
        ::SendMessageA(Item(list), LB_SETSEL, FALSE, -1);
        for (int entry : entries)
            ::SendMessageA(Item(list), LB_SETSEL, TRUE, entry);
        Command(list, LBN_SELCHANGE);
    }
    std::string Text(int id)
    {
        char text[64] = "";
        ::GetWindowTextA(Item(id), text, sizeof(text));
        return text;
    }
    // Types into a field and leaves it, as the dialog manager tells of it.
    void Edit(int id, const char* text)
    {
        ::SetWindowTextA(Item(id), text);
        Command(id, EN_KILLFOCUS);
    }
    const CLxColumnDef& Def(int id) { return m_manager.GetColumn(m_manager.FindColumn(id)); }

    CLxColumnManager m_manager;
    CDialog* m_dialog = NULL;
    CMessageBoxScript m_boxes;
};

// Customize columns.

TEST_F(ColumnDialogsTest, CustomizeListsColumnsAndEnablesButtonsBySelection)
{
    CLxCustomizeColumnsDlg dialog;
    Open(dialog, IDD_LX_CUSTOMIZE_COLUMNS);
    EXPECT_EQ((std::vector<std::string>{"Genre:6", "Price:5", "Year:4"}),
              Entries(IDC_LX_FREE_COLUMNS));
    // The image column by its description; column 0 has no name and is not listed.
    EXPECT_EQ((std::vector<std::string>{"Music Type:1", "Artist:2", "Title:3"}),
              Entries(IDC_LX_SHOWN_COLUMNS));
    EXPECT_FALSE(Enabled(IDOK));
    struct Case
    {
        std::vector<int> free, shown;
        bool add, remove, up, down;
    };
    const Case cases[] = {
        {{}, {}, false, false, false, false},
        {{0, 2}, {}, true, false, false, false},
        {{}, {0}, false, true, false, true},
        {{}, {1}, false, true, true, true},
        {{}, {2}, false, true, true, false},
        {{}, {0, 1}, false, true, false, false},
    };
    for (const Case& c : cases)
    {
        Select(IDC_LX_FREE_COLUMNS, c.free);
        Select(IDC_LX_SHOWN_COLUMNS, c.shown);
        EXPECT_EQ(c.add, Enabled(IDC_LX_ADD)) << c.free.size() << "," << c.shown.size();
        EXPECT_EQ(c.remove, Enabled(IDC_LX_REMOVE)) << c.shown.size();
        EXPECT_EQ(c.up, Enabled(IDC_LX_MOVE_UP)) << c.shown.size();
        EXPECT_EQ(c.down, Enabled(IDC_LX_MOVE_DOWN)) << c.shown.size();
    }
    EXPECT_FALSE(Enabled(IDOK));
}

TEST_F(ColumnDialogsTest, CustomizeAddsMovesAndSavesWithColumnZeroFirst)
{
    CLxCustomizeColumnsDlg dialog;
    Open(dialog, IDD_LX_CUSTOMIZE_COLUMNS);
    Select(IDC_LX_FREE_COLUMNS, {0, 1, 2});
    Click(IDC_LX_ADD);
    // Taken from the bottom of the free list up.
    EXPECT_EQ((std::vector<std::string>{"Music Type:1", "Artist:2", "Title:3", "Year:4",
                                        "Price:5", "Genre:6"}),
              Entries(IDC_LX_SHOWN_COLUMNS));
    EXPECT_TRUE(Entries(IDC_LX_FREE_COLUMNS).empty());
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDC_LX_ADD));
    Select(IDC_LX_SHOWN_COLUMNS, {5});
    Click(IDC_LX_MOVE_UP);
    Click(IDC_LX_MOVE_UP);
    Select(IDC_LX_SHOWN_COLUMNS, {0});
    Click(IDC_LX_REMOVE);
    EXPECT_EQ((std::vector<std::string>{"Music Type:1"}), Entries(IDC_LX_FREE_COLUMNS));
    Click(IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ((std::vector<int>{kBox, kArtist, kTitle, kGenre, kYear, kPrice}),
              m_manager.GetShownIds());
}

TEST_F(ColumnDialogsTest, CustomizeListingColumnZeroSavesItOnceAndFirst)
{
    m_manager.GetColumn(m_manager.FindColumn(kBox)).m_label = "No.";
    CLxCustomizeColumnsDlg dialog;
    Open(dialog, IDD_LX_CUSTOMIZE_COLUMNS);
    Select(IDC_LX_SHOWN_COLUMNS, {0});
    Click(IDC_LX_MOVE_DOWN);
    EXPECT_EQ("No.:0", Entries(IDC_LX_SHOWN_COLUMNS)[1]);
    Click(IDOK);
    EXPECT_EQ((std::vector<int>{kBox, kType, kArtist, kTitle}), m_manager.GetShownIds());
}

TEST_F(ColumnDialogsTest, CustomizeRefusesAnEmptyListAndCancelLeavesTheManager)
{
    CLxCustomizeColumnsDlg dialog;
    Open(dialog, IDD_LX_CUSTOMIZE_COLUMNS);
    Select(IDC_LX_SHOWN_COLUMNS, {0, 1, 2});
    Click(IDC_LX_REMOVE);
    // A removal alone may be confirmed.
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDC_LX_REMOVE));
    m_boxes.Then(IDOK);
    Click(IDOK);
    ASSERT_EQ(1u, m_boxes.Shown().size());
    EXPECT_EQ("E' necessario inserire almeno una colonna ..", m_boxes.Shown()[0].text);
    EXPECT_FALSE(Ended());
    Click(IDCANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ((std::vector<int>{kBox, kType, kArtist, kTitle}), m_manager.GetShownIds());
}

TEST_F(ColumnDialogsTest, CustomizeHeaderCommandRunsTheDialogAndRebuildsTheColumns)
{
    DefineColumns(*m_list.CreateColumnManager());
    m_list.SetupColumns();
    ASSERT_EQ(4, m_list.GetColumnCount());
    g_customizeDialog = NULL;
    UINT_PTR timer = ::SetTimer(NULL, 0, 20, AddFirstFreeColumnAndConfirm);
    m_list.PostMessage(WM_COMMAND, ID_LX_CUSTOMIZE_HEADER);
    PumpMessages();
    ::KillTimer(NULL, timer);
    ASSERT_NE((HWND)NULL, g_customizeDialog);
    ASSERT_EQ(5, m_list.GetColumnCount());
    EXPECT_EQ(kGenre, m_list.GetColumnId(4));
}

// Column format.

TEST_F(ColumnDialogsTest, FormatLocksAnImageColumn)
{
    CLxColumnFormatDlg dialog;
    Open(dialog, IDD_LX_COLUMN_FORMAT);
    EXPECT_EQ((std::vector<std::string>{"Music Type:1", "Artist:2", "Title:3"}),
              Entries(IDC_LX_FIELDS));
    EXPECT_EQ(0, ::SendMessageA(Item(IDC_LX_FIELDS), LB_GETCURSEL, 0, 0));
    EXPECT_EQ("Music Type", Text(IDC_LX_LABEL));
    EXPECT_EQ(1, ::SendMessageA(Item(IDC_LX_KIND), CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Image", Text(IDC_LX_KIND));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(m_dialog->m_hWnd, IDC_LX_ALIGN_CENTER));
    for (int id : {IDC_LX_SECOND_LABEL, IDC_LX_WIDTH, IDC_LX_ALIGN_LEFT, IDC_LX_ALIGN_CENTER,
                   IDC_LX_ALIGN_RIGHT})
        EXPECT_FALSE(Enabled(id)) << id;
    Click(IDC_LX_ALIGN_RIGHT);
    Command(IDC_LX_KIND, CBN_KILLFOCUS);
    Edit(IDC_LX_LABEL, "Kind");
    Click(IDOK);
    EXPECT_TRUE(Ended());
    const CLxColumnDef& type = Def(kType);
    EXPECT_EQ("Kind", std::string(type.m_description));
    EXPECT_EQ("", std::string(type.m_label));
    EXPECT_EQ(LVCFMT_CENTER, type.m_alignment);
    EXPECT_EQ(21, type.m_width);
    EXPECT_EQ((DWORD)(kLxColImage | kLxColNoSortMark | kLxColFixedWidth | kLxColHeaderImage),
              type.m_format);
}

TEST_F(ColumnDialogsTest, FormatEditsReachTheManagerOnlyOnOk)
{
    // Widths are in characters of the dialog DC's own font, the system font.
    CClientDC screen(NULL);
    CFont* old = (CFont*)screen.SelectStockObject(SYSTEM_FONT);
    int unit = screen.GetTextExtent("AbCdEfGhIj MnOpQrStUvWxYz").cx / 26;
    screen.SelectObject(old);
    ASSERT_GT(unit, 0);
    for (bool ok : {false, true})
    {
        CLxColumnFormatDlg dialog;
        Open(dialog, IDD_LX_COLUMN_FORMAT);
        ::SendMessageA(Item(IDC_LX_FIELDS), LB_SETCURSEL, 1, 0);
        Command(IDC_LX_FIELDS, LBN_SELCHANGE);
        EXPECT_EQ(std::to_string(80 / unit), Text(IDC_LX_WIDTH));
        EXPECT_EQ("Edit", Text(IDC_LX_EDIT_KIND));
        EXPECT_EQ("A2", Text(IDC_LX_SECOND_LABEL));
        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(m_dialog->m_hWnd, IDC_LX_ALIGN_LEFT));
        Edit(IDC_LX_WIDTH, "12");
        Edit(IDC_LX_LABEL, "Interpret");
        EXPECT_EQ("Interpret:2", Entries(IDC_LX_FIELDS)[1]);
        Edit(IDC_LX_SECOND_LABEL, "");  // emptied: the old one stays
        ::SendMessageA(Item(IDC_LX_KIND), CB_SETCURSEL, 2, 0);
        Command(IDC_LX_KIND, CBN_KILLFOCUS);
        Click(IDC_LX_ALIGN_RIGHT);
        Click(ok ? IDOK : IDCANCEL);
        EXPECT_TRUE(Ended());
        dialog.DestroyWindow();
        const CLxColumnDef& artist = Def(kArtist);
        EXPECT_EQ(ok ? 12 * unit : 80, artist.m_width) << ok;
        EXPECT_EQ(ok ? "Interpret" : "Artist", std::string(artist.m_label));
        EXPECT_EQ("A2", std::string(artist.m_secondLabel));
        EXPECT_EQ(ok ? LVCFMT_RIGHT : LVCFMT_LEFT, artist.m_alignment);
        EXPECT_EQ((DWORD)(kLxColEdit | kLxColSortable | (ok ? kLxColCurrency : 0)),
                  artist.m_format);
    }
}

TEST_F(ColumnDialogsTest, FormatShowsEachColumnsOwnSecondLabel)
{
    CLxColumnFormatDlg dialog;
    Open(dialog, IDD_LX_COLUMN_FORMAT);
    for (int entry : {1, 2})
    {
        ::SendMessageA(Item(IDC_LX_FIELDS), LB_SETCURSEL, entry, 0);
        Command(IDC_LX_FIELDS, LBN_SELCHANGE);
        Command(IDC_LX_SECOND_LABEL, EN_KILLFOCUS);
    }
    EXPECT_EQ("", Text(IDC_LX_SECOND_LABEL));
    EXPECT_EQ("Drop list", Text(IDC_LX_EDIT_KIND));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(m_dialog->m_hWnd, IDC_LX_ALIGN_RIGHT));
    Click(IDOK);
    EXPECT_EQ("", std::string(Def(kTitle).m_secondLabel));
}

TEST_F(ColumnDialogsTest, FormatRefusesAWidthOver1024AndEnterAppliesTheFocusedField)
{
    CLxColumnFormatDlg dialog;
    Open(dialog, IDD_LX_COLUMN_FORMAT);
    ::SendMessageA(Item(IDC_LX_FIELDS), LB_SETCURSEL, 1, 0);
    Command(IDC_LX_FIELDS, LBN_SELCHANGE);
    m_boxes.Then(IDOK).Then(IDOK);
    Edit(IDC_LX_WIDTH, "1025");
    ASSERT_EQ(1u, m_boxes.Shown().size());
    EXPECT_EQ("Please enter an integer between 0 and 1024.", m_boxes.Shown()[0].text);
    // The refused field keeps the focus; Enter there refuses it again.
    EXPECT_EQ(Item(IDC_LX_WIDTH), ::GetFocus());
    ::PostMessageA(Item(IDC_LX_WIDTH), WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_EQ(2u, m_boxes.Shown().size());
    EXPECT_FALSE(Ended());
    EXPECT_EQ(80, Def(kArtist).m_width);
    // Enter in the label field: its edit is applied before the definitions go.
    ::SetWindowTextA(Item(IDC_LX_WIDTH), "8");
    ::SetFocus(Item(IDC_LX_LABEL));
    PumpMessages();
    ::SetWindowTextA(Item(IDC_LX_LABEL), "Interpret");
    ::PostMessageA(Item(IDC_LX_LABEL), WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_TRUE(Ended());
    EXPECT_EQ("Interpret", std::string(Def(kArtist).m_label));
    EXPECT_NE(80, Def(kArtist).m_width);
    EXPECT_EQ(2u, m_boxes.Shown().size());
}
}  // namespace
