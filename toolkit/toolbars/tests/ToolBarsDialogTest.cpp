// The "Toolbars" dialog, the customise sheet with its "Toolbars" and
// "Commands" pages, and the new-toolbar dialog on a real MDI frame with a
// menu bar, two built-in bars and a user bar. The dialogs run modally and
// are driven by messages to their controls; what the manager and the bars
// hold afterwards is checked.
#include "tests/support/TestFramework.h"
#include "tests/support/DrivenDialog.h"
#include "toolkit/toolbars/tests/ToolBarTestFrame.h"
#include "tests/support/InputScript.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/toolbars/TkBtnGroup.h"
#include "toolkit/toolbars/TkCustomizeToolBar.h"
#include "toolkit/toolbars/TkNewToolBar.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarCmdPage.h"
#include "toolkit/toolbars/TkToolBarManager.h"
#include "toolkit/toolbars/TkToolBarSheet.h"
#include "toolkit/toolbars/TkToolBarsDlg.h"
#include "toolkit/toolbars/TkToolBarsPage.h"

#include <string>
#include <vector>

namespace {

const UINT kMainBar = 0xE800;
const UINT kSecondBar = 0xE801;
const UINT kMainIds[] = {100, 0, 101, 102};
const UINT kSecondIds[] = {101, 102};
const UINT kUserBar = kTkFirstUserBarId;

class CDialogTestApp : public CWinApp
{
public:
    CDialogTestApp() : CWinApp("ToolBarsDialogTest") {}
};

struct Item
{
    std::string text;
    UINT id;
    int check;
    bool operator==(const Item& other) const
    {
        return text == other.text && id == other.id && check == other.check;
    }
};

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    return out << "{" << item.text << ", " << std::hex << item.id << std::dec << ", " << item.check << "}";
}

std::string Text(CWnd* wnd)
{
    CString text;
    wnd->GetWindowText(text);
    return (LPCSTR)text;
}

std::string ItemText(CWnd& panel, UINT id)
{
    return Text(panel.GetDlgItem(id));
}

bool ItemEnabled(CWnd& panel, UINT id)
{
    return panel.GetDlgItem(id)->IsWindowEnabled() != FALSE;
}

// A control's notification, as the control sends it to its panel.
void Notify(CWnd& panel, UINT id, UINT code)
{
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)panel.GetDlgItem(id)->m_hWnd);
}

std::vector<Item> Items(TkToolBarsBase& panel)
{
    std::vector<Item> items;
    for (int i = 0; i < panel.m_list.GetCount(); i++) {
        CString text;
        panel.m_list.GetText(i, text);
        items.push_back({(LPCSTR)text, (UINT)panel.m_list.GetItemData(i), panel.m_list.GetCheck(i)});
    }
    return items;
}

void Select(CWnd& panel, TkToolBarsBase& base, int index)
{
    base.m_list.SetCurSel(index);
    Notify(panel, IDC_TK_TOOLBARS_LIST, LBN_SELCHANGE);
}

// The user types a name into the edit and leaves it.
void Rename(CWnd& panel, const std::string& name)
{
    panel.SetDlgItemText(IDC_TK_NAME, name.c_str());
    panel.SendDlgItemMessage(IDC_TK_NAME, EM_SETMODIFY, TRUE);
    Notify(panel, IDC_TK_NAME, EN_KILLFOCUS);
}

void SetItemCheck(CWnd& panel, TkToolBarsBase& base, int index, int check)
{
    Select(panel, base, index);
    base.m_list.SetCheck(index, check);
    Notify(panel, IDC_TK_TOOLBARS_LIST, CLBN_CHKCHANGE);
}

std::vector<UINT> Ids(TkCustomToolBar* bar)
{
    std::vector<UINT> ids;
    for (int i = 0; i < bar->GetCount(); i++)
        ids.push_back(bar->GetButtonID(i));
    return ids;
}

struct WindowSearch
{
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND wnd, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    char text[64] = "";
    GetWindowTextA(wnd, text, sizeof(text));
    if (strcmp(text, search->caption) == 0) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The top-level window of this thread with that caption, NULL for none.
HWND FindThreadWindow(const char* caption)
{
    WindowSearch search = {caption, NULL};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

typedef CDriven<TkToolBarsDlg> CDrivenToolBarsDlg;

class ToolBarsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new TkMDIFrameWnd;
        ASSERT_TRUE(ShowTestFrame(m_app, m_frame, CRect(0, 0, 700, 400)));
        m_manager = ManageTestFrame(m_frame);
        ASSERT_TRUE(m_manager != NULL);
        m_frame->m_pMenuBar = &m_menuBar;
        ASSERT_TRUE(m_manager->SetMenuInfo(1, kTestFrameResource));
        m_manager->DefineDefaultToolBar(kMainBar, "Main", 4, kMainIds, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
        m_manager->DefineDefaultToolBar(kSecondBar, "Second", 2, kSecondIds, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_TOP, kMainBar, TRUE, TRUE);
        m_manager->BindToolBars();
        TkCustomToolBar* user = m_manager->CreateUserToolBar("Mine");
        ASSERT_TRUE(user != NULL);
        user->SetButtons(kSecondIds, 2);
        m_frame->DockControlBar(user);
        m_frame->RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
        delete m_manager;
    }
    TkCustomToolBar* Bar(UINT id) { return m_manager->FindBarById(id); }

    CDialogTestApp m_app;
    TkMDIFrameWnd* m_frame = nullptr;
    TkMDIMenuBar m_menuBar;
    TkToolBarManager* m_manager = nullptr;
};

TEST_F(ToolBarsDialogTest, ListsEveryToolBarAndShowsTheSelectedOnesName)
{
    m_frame->ShowControlBar(Bar(kSecondBar), FALSE, FALSE);
    CDrivenToolBarsDlg dialog(m_manager, m_frame);
    std::vector<Item> items;
    struct Shown
    {
        std::string name;
        bool nameEnabled;
        std::string button;
    };
    std::vector<Shown> shown;
    bool modes = false;
    dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
        items = Items(d);
        for (int i = 0; i < d.m_list.GetCount(); i++) {
            Select(d, d, i);
            shown.push_back({ItemText(d, IDC_TK_NAME), ItemEnabled(d, IDC_TK_NAME) && ItemEnabled(d, IDC_TK_NAME_LABEL),
                             ItemText(d, IDC_TK_RESET)});
        }
        modes = m_manager->InCustomizeMode() && m_manager->GetToolBarsCustomizeMode() &&
                m_manager->GetCustomizeDialog() == &d && Bar(kMainBar)->IsCustomizing();
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<Item>{{"Menu bar", kTkMenuBarId, 1},
                                 {"Main", kMainBar, 1},
                                 {"Second", kSecondBar, 0},
                                 {"Mine", kUserBar, 1}}),
              items);
    ASSERT_EQ(4u, shown.size());
    const Shown expected[] = {
        {"Menu bar", false, "&Reset"},
        {"Main", false, "&Reset"},
        {"Second", false, "&Reset"},
        {"Mine", true, "&Delete"},
    };
    for (size_t i = 0; i < shown.size(); i++) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(expected[i].name, shown[i].name);
        EXPECT_EQ(expected[i].nameEnabled, shown[i].nameEnabled);
        EXPECT_EQ(expected[i].button, shown[i].button);
    }
    EXPECT_TRUE(modes) << "config and customise mode while the dialog is up";
    EXPECT_FALSE(m_manager->InCustomizeMode());
    EXPECT_FALSE(m_manager->GetToolBarsCustomizeMode());
    EXPECT_FALSE(Bar(kMainBar)->IsCustomizing());
    EXPECT_TRUE(m_manager->GetCustomizeDialog() == NULL);
    EXPECT_TRUE(m_frame->IsWindowEnabled()) << "the modal dialog gives its owner back";
}

TEST_F(ToolBarsDialogTest, ChecksShowAndHideBarsButNeverTheMenuBar)
{
    CDrivenToolBarsDlg dialog(m_manager, m_frame);
    std::vector<bool> visible;
    std::vector<int> checks;
    auto record = [&](CDrivenToolBarsDlg& d, UINT id, int index) {
        visible.push_back(Bar(id)->IsWindowVisible() != FALSE);
        checks.push_back(d.m_list.GetCheck(index));
    };
    dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
        SetItemCheck(d, d, 2, 0);
        record(d, kSecondBar, 2);
        SetItemCheck(d, d, 2, 1);
        record(d, kSecondBar, 2);
        SetItemCheck(d, d, 0, 0);
        record(d, kTkMenuBarId, 0);
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<bool>{false, true, true}), visible);
    EXPECT_EQ((std::vector<int>{0, 1, 1}), checks);
}

TEST_F(ToolBarsDialogTest, RenamingAUserBar)
{
    struct Case
    {
        std::string typed;
        std::string name;
    };
    const Case cases[] = {
        {"Favourites", "Favourites"},
        {std::string(200, 'x'), std::string(128, 'x')},
        {"", "Mine"},
        {"Main", "Main"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 20));
        Bar(kUserBar)->SetWindowText("Mine");
        CDrivenToolBarsDlg dialog(m_manager, m_frame);
        std::vector<Item> items;
        std::string edit;
        int selected = -1;
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
            Select(d, d, 3);
            Rename(d, c.typed);
            items = Items(d);
            edit = ItemText(d, IDC_TK_NAME);
            selected = d.m_list.GetCurSel();
            d.Click(IDOK);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(c.name, Text(Bar(kUserBar)));
        EXPECT_EQ(c.name, edit);
        ASSERT_EQ(4u, items.size());
        EXPECT_EQ((Item{c.name, kUserBar, 1}), items[3]);
        EXPECT_EQ((Item{"Main", kMainBar, 1}), items[1]) << "a bar of the same name is another bar";
        EXPECT_EQ(3, selected);
    }
}

TEST_F(ToolBarsDialogTest, RenamingTakesOnlyAChangedUserBarsNameAndTitlesItsFloatingFrame)
{
    m_frame->FloatControlBar(Bar(kUserBar), CPoint(300, 300), CBRS_ALIGN_TOP);
    PumpMessages();
    CDrivenToolBarsDlg dialog(m_manager, m_frame);
    dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
        Select(d, d, 1);
        Rename(d, "Not a user bar");
        Select(d, d, 3);
        d.SetDlgItemText(IDC_TK_NAME, "Not modified");
        Notify(d, IDC_TK_NAME, EN_KILLFOCUS);
        Rename(d, "Floating");
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("Main", Text(Bar(kMainBar)));
    ASSERT_TRUE(Bar(kUserBar)->IsFloating());
    EXPECT_EQ("Floating", Text(Bar(kUserBar)));
    Bar(kUserBar)->GetParentFrame()->RecalcLayout();
    EXPECT_EQ("Floating", Text(Bar(kUserBar)->GetParentFrame()));
    EXPECT_EQ("Tool bars", Text(m_frame)) << "the main frame keeps its title";
}

TEST_F(ToolBarsDialogTest, ResetRestoresBuiltInBarsAndDeleteDestroysUserBars)
{
    TkCustomToolBar* last = m_manager->CreateUserToolBar("Last");
    ASSERT_TRUE(last != NULL);
    m_frame->DockControlBar(last);
    const UINT one[] = {102};
    Bar(kMainBar)->SetButtons(one, 1);
    int menuButtons = m_menuBar.GetCount();
    m_menuBar.RemoveAllButtons();
    CDrivenToolBarsDlg dialog(m_manager, m_frame);
    std::vector<Item> items;
    std::string selectedName;
    int selected = -1;
    dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
        Select(d, d, 0);
        Notify(d, IDC_TK_RESET, BN_CLICKED);
        Select(d, d, 1);
        Notify(d, IDC_TK_RESET, BN_CLICKED);
        Select(d, d, 4);
        Notify(d, IDC_TK_RESET, BN_CLICKED);
        PumpMessages();
        items = Items(d);
        selected = d.m_list.GetCurSel();
        selectedName = ItemText(d, IDC_TK_NAME);
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(menuButtons, m_menuBar.GetCount());
    EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102}), Ids(Bar(kMainBar)));
    EXPECT_TRUE(Bar(kTkFirstUserBarId + 1) == NULL);
    EXPECT_EQ(4u, items.size());
    EXPECT_EQ(3, selected) << "the item before the deleted last one";
    EXPECT_EQ("Mine", selectedName);
}

TEST_F(ToolBarsDialogTest, BarsMadeHiddenOrDestroyedMeanwhileShowInTheList)
{
    CDrivenToolBarsDlg dialog(m_manager, m_frame);
    std::vector<Item> afterCreate, afterChanges;
    dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
        TkCustomToolBar* other = m_manager->CreateUserToolBar("Other");
        m_frame->DockControlBar(other);
        afterCreate = Items(d);
        m_frame->ShowControlBar(Bar(kSecondBar), FALSE, FALSE);
        Bar(kUserBar)->DestroyWindow();
        PumpMessages();
        afterChanges = Items(d);
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    // The list is in the frame's order; a new bar goes before the first
    // item of a larger id, here the menu bar's.
    ASSERT_EQ(5u, afterCreate.size());
    EXPECT_EQ((Item{"Other", kUserBar + 1, 1}), afterCreate[0]);
    EXPECT_EQ((std::vector<Item>{{"Other", kUserBar + 1, 1},
                                 {"Menu bar", kTkMenuBarId, 1},
                                 {"Main", kMainBar, 1},
                                 {"Second", kSecondBar, 0}}),
              afterChanges);
}

// A floating bar's mini frame (not the main frame, which is its docking
// frame) is laid out again for large buttons.
TEST_F(ToolBarsDialogTest, LargeButtonsResizeAFloatingBarsMiniFrame)
{
    TkCustomToolBar* bar = Bar(kUserBar);
    const UINT ids[] = {100, 101, 102, 100, 101, 102};
    bar->SetButtons(ids, 6);
    m_frame->FloatControlBar(bar, CPoint(300, 300), CBRS_ALIGN_TOP);
    PumpMessages();
    ASSERT_TRUE(bar->IsFloating());
    CRect before, after;
    bar->GetParentFrame()->GetWindowRect(&before);
    m_manager->EnableLargeBtns(TRUE);
    bar->GetParentFrame()->GetWindowRect(&after);
    // Taller buttons; the rows keep to the remembered floating width.
    EXPECT_GT(after.Height(), before.Height());
}

// The options take effect at once; how the dialog closes decides whether
// they stay.
TEST_F(ToolBarsDialogTest, OptionsApplyAtOnceAndStayUnlessCancelled)
{
    struct Case
    {
        int button;
        bool kept;
    };
    const Case cases[] = {{IDOK, true}, {IDC_TK_CUSTOMIZE, true}, {IDCANCEL, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        m_manager->EnableToolTips(TRUE);
        m_manager->EnableCoolLook(FALSE, kTkCoolLookBits);
        m_manager->EnableLargeBtns(FALSE);
        CDrivenToolBarsDlg dialog(m_manager, m_frame);
        bool atOnce = false;
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
            d.Click(IDC_TK_TOOLTIPS);
            d.Click(IDC_TK_COOL_LOOK);
            d.Click(IDC_TK_LARGE_BUTTONS);
        });
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
            atOnce = !m_manager->IsToolTipsEnabled() && m_manager->IsCoolLookEnabled() &&
                     m_manager->IsLargeBtnsEnabled() && Bar(kMainBar)->IsCoolLook();
            d.PostMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED));
        });
        EXPECT_EQ(c.button, dialog.DoModal());
        EXPECT_TRUE(atOnce);
        EXPECT_EQ(!c.kept, m_manager->IsToolTipsEnabled() != FALSE);
        EXPECT_EQ(c.kept, m_manager->IsCoolLookEnabled() != FALSE);
        EXPECT_EQ(c.kept, m_manager->IsLargeBtnsEnabled() != FALSE);
        EXPECT_EQ(c.kept, Bar(kMainBar)->IsCoolLook() != FALSE);
    }
}

// New asks for a name in a dialog of its own: OK only with a name, names cut
// to 128 characters. A bar made closes the tool-bars dialog for the sheet.
TEST_F(ToolBarsDialogTest, NewMakesAFloatingUserBarAndAsksForTheSheet)
{
    struct Case
    {
        std::string typed;
        bool okEnabled;
        int button;
        std::string title;
    };
    const Case cases[] = {
        {"", false, IDCANCEL, ""},
        {"Tools", true, IDCANCEL, ""},
        {std::string(200, 'n'), true, IDOK, std::string(128, 'n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 20));
        CDrivenToolBarsDlg dialog(m_manager, m_frame);
        bool found = false, okEnabled = false, frameEnabled = true;
        std::string edit;
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) { d.Click(IDC_TK_NEW_TOOLBAR); });
        // Runs inside the new-toolbar dialog's own loop.
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
            HWND ask = FindThreadWindow("New Toolbar");
            found = ask != NULL;
            if (ask == NULL)
                return;
            frameEnabled = m_frame->IsWindowEnabled() != FALSE;
            SetDlgItemTextA(ask, IDC_TK_NEW_NAME, c.typed.c_str());
            okEnabled = IsWindowEnabled(GetDlgItem(ask, IDOK)) != FALSE;
            char text[300] = "";
            GetDlgItemTextA(ask, IDC_TK_NEW_NAME, text, sizeof(text));
            edit = text;
            PostMessageA(GetDlgItem(ask, c.button), BM_CLICK, 0, 0);
        });
        dialog.m_steps.push_back([&](CDrivenToolBarsDlg& d) {
            // Escape (the dialog has no Cancel button), when New made no bar.
            d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        });
        INT_PTR result = dialog.DoModal();
        ASSERT_TRUE(found);
        EXPECT_FALSE(frameEnabled) << "out of config mode while the name is asked";
        EXPECT_EQ(c.okEnabled, okEnabled);
        EXPECT_EQ(c.typed.substr(0, 128), edit);
        TkCustomToolBar* made = Bar(kUserBar + 1);
        if (c.button == IDCANCEL) {
            EXPECT_EQ(IDCANCEL, result);
            EXPECT_TRUE(made == NULL);
            continue;
        }
        EXPECT_EQ(IDC_TK_CUSTOMIZE, result);
        ASSERT_TRUE(made != NULL);
        EXPECT_EQ(c.title, Text(made));
        EXPECT_TRUE(made->IsFloating());
        EXPECT_FALSE(m_manager->InCustomizeMode());
        // Just below the top dock bar's bottom-left corner.
        CRect dock, floating;
        m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&dock);
        made->GetParentFrame()->GetWindowRect(&floating);
        EXPECT_EQ(dock.left + 5, floating.left);
        EXPECT_EQ(dock.bottom + 5, floating.top);
    }
}

// The manager runs the dialog over its frame; the customise button's result
// tells the caller to open the sheet.
TkToolBarManager* g_timerManager = NULL;

void CALLBACK PressCustomize(HWND, UINT, UINT_PTR, DWORD)
{
    CWnd* dialog = g_timerManager->GetCustomizeDialog();
    if (dialog != NULL)
        dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_TK_CUSTOMIZE, BN_CLICKED));
}

TEST_F(ToolBarsDialogTest, ManagerRunsTheDialogModally)
{
    g_timerManager = m_manager;
    UINT_PTR timer = SetTimer(NULL, 0, 10, PressCustomize);
    INT_PTR result = m_manager->ExecViewToolBarsDlg();
    KillTimer(NULL, timer);
    EXPECT_EQ(IDC_TK_CUSTOMIZE, result);
    EXPECT_TRUE(m_frame->IsWindowEnabled());
}

typedef CDriven<TkToolBarSheet> CDrivenSheet;

CWnd* GroupWindow(TkToolBarCmdPage& page, int index)
{
    return page.GetGroup(index)->m_pWnd;
}

TkCustomizeToolBar* GroupBar(TkToolBarCmdPage& page, int index)
{
    return static_cast<TkCustomizeToolBar*>(GroupWindow(page, index));
}

std::vector<bool> GroupsVisible(TkToolBarCmdPage& page)
{
    std::vector<bool> visible;
    for (int i = 0; i < page.GetGroupCount(); i++)
        visible.push_back(GroupWindow(page, i)->IsWindowVisible() != FALSE);
    return visible;
}

// The customise sheet as the application builds it: the tool-bars page, then
// the commands page with two button categories and the menu category.
class ToolBarSheetTest : public ToolBarsDialogTest
{
protected:
    void SetUp() override
    {
        ToolBarsDialogTest::SetUp();
        m_toolBars.SetManager(m_manager);
        m_commands.SetManager(m_manager);
        m_commands.DefineBtnGroup("Main", 3, kMainGroup);
        m_commands.DefineBtnGroup("Other", 1, kOtherGroup);
        m_commands.DefineMenuGroup("Menus");
        m_sheet.AddPage(&m_toolBars);
        m_sheet.AddPage(&m_commands);
        m_sheet.SetActivePage(1);
    }
    std::string Description() { return ItemText(m_commands, IDC_TK_DESCRIPTION); }
    void ChooseCategory(int index)
    {
        m_commands.SendDlgItemMessage(IDC_TK_CATEGORIES, LB_SETCURSEL, index);
        Notify(m_commands, IDC_TK_CATEGORIES, LBN_SELCHANGE);
    }

    static const UINT kMainGroup[3];
    static const UINT kOtherGroup[1];
    CDrivenSheet m_sheet{IDS_TK_CUSTOMIZE, nullptr};
    TkToolBarsPage m_toolBars;
    TkToolBarCmdPage m_commands;
};

const UINT ToolBarSheetTest::kMainGroup[3] = {100, 0, 101};
const UINT ToolBarSheetTest::kOtherGroup[1] = {102};

TEST_F(ToolBarSheetTest, CommandsPageShowsOneCategoryAtATimeInsideItsFrame)
{
    std::string caption;
    std::vector<std::string> categories;
    std::vector<bool> first, second;
    std::vector<int> shown;
    bool modes = false, inside = false, customizing = false;
    std::vector<std::pair<std::string, DWORD_PTR>> menuItems;
    m_sheet.m_steps.push_back([&](CDrivenSheet& sheet) {
        caption = Text(&sheet);
        for (int i = 0; i < m_commands.SendDlgItemMessage(IDC_TK_CATEGORIES, LB_GETCOUNT); i++) {
            char text[64] = "";
            m_commands.SendDlgItemMessage(IDC_TK_CATEGORIES, LB_GETTEXT, i, (LPARAM)text);
            categories.push_back(text);
        }
        first = GroupsVisible(m_commands);
        shown.push_back(m_commands.GetShownGroup());
        modes = m_manager->InCustomizeMode() && m_manager->GetCustomizeDialog() == &sheet &&
                Bar(kMainBar)->IsCustomizing();
        CRect frame, bar;
        m_commands.GetDlgItem(IDC_TK_BUTTONS_FRAME)->GetWindowRect(&frame);
        GroupWindow(m_commands, 0)->GetWindowRect(&bar);
        inside = frame.left < bar.left && bar.right < frame.right && frame.top < bar.top &&
                 bar.bottom < frame.bottom;
        CListBox* menus = static_cast<CListBox*>(GroupWindow(m_commands, 2));
        for (int i = 0; i < menus->GetCount(); i++) {
            CString text;
            menus->GetText(i, text);
            menuItems.push_back({(LPCSTR)text, menus->GetItemData(i)});
        }
        ChooseCategory(1);
        second = GroupsVisible(m_commands);
        shown.push_back(m_commands.GetShownGroup());
        customizing = GroupBar(m_commands, 1)->IsCustomizing() && !GroupBar(m_commands, 0)->IsCustomizing();
        sheet.SetActivePage(0);
        shown.push_back(m_commands.GetShownGroup());
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    EXPECT_EQ("Customize", caption);
    EXPECT_EQ((std::vector<std::string>{"Main", "Other", "Menus"}), categories);
    EXPECT_EQ((std::vector<bool>{true, false, false}), first);
    EXPECT_EQ((std::vector<bool>{false, true, false}), second);
    EXPECT_EQ((std::vector<int>{0, 1, -1}), shown);
    EXPECT_TRUE(modes);
    EXPECT_TRUE(inside);
    EXPECT_TRUE(customizing);
    EXPECT_EQ((std::vector<std::pair<std::string, DWORD_PTR>>{{"Window", kTkFirstMenuCommand}}), menuItems);
    EXPECT_FALSE(m_manager->InCustomizeMode());
    EXPECT_FALSE(Bar(kMainBar)->IsCustomizing());
    EXPECT_TRUE(m_frame->IsWindowEnabled()) << "the modal sheet gives its owner back";
}

// A button selected on a category bar shows the first line of its command's
// string; no selection, or a command without a string, shows nothing.
TEST_F(ToolBarSheetTest, SelectionOnACategoryBarShowsTheCommandsDescription)
{
    std::vector<std::string> descriptions;
    m_sheet.m_steps.push_back([&](CDrivenSheet& sheet) {
        TkCustomizeToolBar* bar = GroupBar(m_commands, 0);
        for (int index : {0, 2}) {
            bar->SelectButton(index, FALSE);
            descriptions.push_back(Description());
        }
        bar->ClearSelection(FALSE);
        descriptions.push_back(Description());
        ChooseCategory(1);
        GroupBar(m_commands, 1)->SelectButton(0, FALSE);
        descriptions.push_back(Description());
        Bar(kMainBar)->SelectButton(2, FALSE);
        descriptions.push_back(Description());
        sheet.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
    // The last selection, on a frame's bar, took the category bar's away.
    EXPECT_EQ((std::vector<std::string>{"Plays the list", "", "", "Stops at once", ""}), descriptions);
}

// The options of the tool-bars page restyle the category bars too, and the
// sheet's Cancel takes them back.
TEST_F(ToolBarSheetTest, OptionsOnTheToolBarsPageRestyleTheCategoryBars)
{
    bool cool = false;
    int smallWidth = 0, largeWidth = 0;
    m_sheet.m_steps.push_back([&](CDrivenSheet& sheet) {
        smallWidth = GroupBar(m_commands, 0)->GetButton(0)->m_cx;
        sheet.SetActivePage(0);
        m_toolBars.SendDlgItemMessage(IDC_TK_COOL_LOOK, BM_CLICK);
        m_toolBars.SendDlgItemMessage(IDC_TK_LARGE_BUTTONS, BM_CLICK);
        cool = GroupBar(m_commands, 0)->IsCoolLook() && Bar(kMainBar)->IsCoolLook();
        largeWidth = GroupBar(m_commands, 0)->GetButton(0)->m_cx;
        sheet.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
    EXPECT_TRUE(cool);
    EXPECT_GT(largeWidth, smallWidth);
    EXPECT_FALSE(m_manager->IsCoolLookEnabled());
    EXPECT_FALSE(m_manager->IsLargeBtnsEnabled());
    EXPECT_FALSE(Bar(kMainBar)->IsCoolLook());
    EXPECT_TRUE(m_manager->GetCustomizeDialog() == NULL);
}

// A press below the last menu command starts nothing.
TEST_F(ToolBarSheetTest, PressingBelowTheMenuCommandsDoesNothing)
{
    int selected = 0;
    bool below = false;
    std::string description = "not read";
    m_sheet.m_steps.push_back([&](CDrivenSheet& sheet) {
        ChooseCategory(2);
        CListBox* menus = static_cast<CListBox*>(GroupWindow(m_commands, 2));
        CRect client, last;
        menus->GetClientRect(&client);
        menus->GetItemRect(menus->GetCount() - 1, &last);
        below = last.bottom + 2 < client.bottom;
        // Should a drag start after all, Escape ends it.
        menus->PostMessage(WM_KEYDOWN, VK_ESCAPE);
        menus->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(last.left + 5, last.bottom + 2));
        selected = menus->GetCurSel();
        description = Description();
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    ASSERT_TRUE(below) << "the list has room below its last item";
    EXPECT_EQ(LB_ERR, selected);
    EXPECT_EQ("", description);
}

// A button's rectangle on the screen.
CRect ScreenRect(TkCustomToolBar* bar, int index)
{
    CRect rect;
    bar->GetButtonRect(index, &rect);
    bar->ClientToScreen(&rect);
    return rect;
}

// Presses at from, moves in two steps to to and lets go, with real input.
void DragWithMouse(CPoint from, CPoint to)
{
    InputScript().MoveTo(from).Button(MOUSEEVENTF_LEFTDOWN).Step(from + CPoint(3, 3)).Step(to)
        .Button(MOUSEEVENTF_LEFTUP).MoveTo(CPoint(5, 5)).Send();
}

// Commands leave the page as copies: a category keeps its buttons, a frame
// bar's button dropped on a category bar is taken off its bar and added
// nowhere, and a menu command dragged from the list lands on the bar.
TEST_F(ToolBarSheetTest, CommandsAreDraggedFromThePageAsCopies)
{
    std::vector<UINT> mainAfterCopy, mainAfterDrop, mainAfterMenu, category;
    bool menuButton = false;
    m_sheet.m_steps.push_back([&](CDrivenSheet& sheet) {
        // Out of the way of the frame's bars.
        sheet.SetWindowPos(NULL, 0, 430, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpUntilIdle();
        TkCustomToolBar* main = Bar(kMainBar);
        CRect source = ScreenRect(GroupBar(m_commands, 0), 0);
        CRect last = ScreenRect(main, main->GetCount() - 1);
        DragWithMouse(source.CenterPoint(), CPoint(last.right + 2, last.CenterPoint().y));
        mainAfterCopy = Ids(main);
        CRect onCategory = ScreenRect(GroupBar(m_commands, 0), 2);
        DragWithMouse(ScreenRect(main, 0).CenterPoint(), onCategory.CenterPoint());
        mainAfterDrop = Ids(main);
        category = Ids(GroupBar(m_commands, 0));
        ChooseCategory(2);
        CListBox* menus = static_cast<CListBox*>(GroupWindow(m_commands, 2));
        CRect item;
        menus->GetItemRect(0, &item);
        menus->ClientToScreen(&item);
        last = ScreenRect(main, main->GetCount() - 1);
        // The stand-in button's corner is where the item was pressed.
        DragWithMouse(item.CenterPoint(), CPoint(last.right + 2, last.top));
        mainAfterMenu = Ids(main);
        menuButton = main->GetButton(main->GetCount() - 1)->m_nKind == kTkBtnMenu;
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102, 100}), mainAfterCopy);
    EXPECT_EQ((std::vector<UINT>{100, 0, 101}), category);
    EXPECT_EQ((std::vector<UINT>{101, 102, 100}), mainAfterDrop);
    EXPECT_EQ((std::vector<UINT>{101, 102, 100, kTkFirstMenuCommand}), mainAfterMenu);
    EXPECT_TRUE(menuButton);
}

// Records the sheet's caption activation (WM_NCACTIVATE's wParam).
class CCaptionSheet : public CDrivenSheet
{
public:
    using CDrivenSheet::CDrivenSheet;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCACTIVATE)
            m_captions.push_back(wParam != 0);
        return CDrivenSheet::WindowProc(message, wParam, lParam);
    }
    std::vector<bool> m_captions;
};

// The sheet's caption follows what the frame tells its floating windows, and
// its own activation is told to them (the sheet, owned by the frame, is one).
TEST_F(ToolBarSheetTest, CaptionFollowsTheFramesFloatingWindows)
{
    CCaptionSheet sheet(IDS_TK_CUSTOMIZE, m_frame);
    sheet.AddPage(&m_toolBars);
    std::vector<bool> told, passedOn;
    std::vector<LRESULT> answers;
    sheet.m_steps.push_back([&](CDrivenSheet&) {
        sheet.m_captions.clear();
        for (DWORD flags : {FS_DEACTIVATE, FS_ACTIVATE, FS_SYNCACTIVE})
            answers.push_back(sheet.SendMessage(WM_FLOATSTATUS, flags));
        told = sheet.m_captions;
        sheet.m_captions.clear();
        sheet.SendMessage(WM_ACTIVATE, WA_INACTIVE);
        sheet.SendMessage(WM_ACTIVATE, WA_ACTIVE);
        passedOn = sheet.m_captions;
        sheet.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ((std::vector<LRESULT>{TRUE, TRUE, TRUE}), answers);
    EXPECT_EQ((std::vector<bool>{false, true}), told);
    EXPECT_EQ((std::vector<bool>{false, true}), passedOn);
}

// A category whose window cannot be made (no buttons) ends the page's
// set-up there: the categories after it get no window and no title.
TEST(ToolBarCmdPageTest, ACategoryThatCannotBeMadeEndsTheSetUp)
{
    CDialogTestApp app;
    TkMDIFrameWnd* frame = new TkMDIFrameWnd;
    ASSERT_TRUE(ShowTestFrame(app, frame, CRect(0, 0, 500, 300)));
    TkToolBarManager* manager = ManageTestFrame(frame);
    ASSERT_TRUE(manager != NULL);
    const UINT ids[] = {100, 101};
    CDrivenSheet sheet(IDS_TK_CUSTOMIZE, frame);
    TkToolBarCmdPage commands;
    commands.SetManager(manager);
    commands.DefineBtnGroup("Main", 2, ids);
    commands.DefineBtnGroup("Empty", 0, NULL);
    commands.DefineBtnGroup("Other", 2, ids);
    commands.DefineMenuGroup("Menus");
    sheet.AddPage(&commands);
    LRESULT titles = -1;
    bool otherMade = true;
    sheet.m_steps.push_back([&](CDrivenSheet& d) {
        titles = commands.SendDlgItemMessage(IDC_TK_CATEGORIES, LB_GETCOUNT);
        otherMade = commands.GetGroup(2)->m_pWnd != NULL;
        d.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(3, commands.GetGroupCount()) << "no menu category without a menu bar";
    EXPECT_EQ(1, titles);
    EXPECT_FALSE(otherMade);
    frame->DestroyWindow();
    app.m_pMainWnd = NULL;
    PumpMessages();
    delete manager;
}

}  // namespace
