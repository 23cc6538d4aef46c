#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "platform/mfc/tests/DialogTest.h"
#include "tests/support/MessageBoxScript.h"

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
const UINT kNextStep = WM_APP + 1;

// What the controls showed, read by a step.
struct ControlTexts
{
    std::string name, count, ratio, choice;
    int flag = -1, listIndex = -1;
    std::vector<int> kinds;
};

// A dialog driven by posted messages: each step changes the controls as a
// user would and posts the command that closes (or tries to close) it.
class CFieldsDialog : public CDialog
{
public:
    typedef std::function<void(CFieldsDialog&)> Step;

    explicit CFieldsDialog(CWnd* owner = NULL) : CDialog(IDD_FIELDS, owner) {}

    BOOL OnInitDialog() override
    {
        for (const char* item : {"one", "two", "three"})
        {
            SendDlgItemMessage(IDC_CHOICE, CB_ADDSTRING, 0, (LPARAM)item);
            SendDlgItemMessage(IDC_LIST, LB_ADDSTRING, 0, (LPARAM)item);
        }
        BOOL result = CDialog::OnInitDialog();
        if (!m_placeAt.IsRectEmpty())
            MoveWindow(&m_placeAt);
        PostMessage(kNextStep);
        return result;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_CHOICE, m_choiceControl);
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 400);
        DDX_Text(pDX, IDC_RATIO, m_ratio);
        DDX_Check(pDX, IDC_FLAG, m_flag);
        DDX_Radio(pDX, IDC_KIND_FIRST, m_kind);
        DDX_CBString(pDX, IDC_CHOICE, m_choice);
        DDX_LBIndex(pDX, IDC_LIST, m_listIndex);
    }

    LRESULT OnNextStep(WPARAM, LPARAM)
    {
        if (m_next < m_steps.size())
        {
            m_steps[m_next++](*this);
            PostMessage(kNextStep);
        }
        return 0;
    }

    void OnPing() { m_pings++; }
    void PostNcDestroy() override { m_destroyed = TRUE; }

    ControlTexts ReadControls()
    {
        ControlTexts texts;
        CString text;
        GetDlgItemText(IDC_NAME, text);
        texts.name = text;
        GetDlgItemText(IDC_COUNT, text);
        texts.count = text;
        GetDlgItemText(IDC_RATIO, text);
        texts.ratio = text;
        GetDlgItemText(IDC_CHOICE, text);
        texts.choice = text;
        texts.flag = IsDlgButtonChecked(IDC_FLAG);
        for (int id : {IDC_KIND_FIRST, IDC_KIND_SECOND, IDC_KIND_THIRD, IDC_AFTER_GROUP})
            texts.kinds.push_back(IsDlgButtonChecked(id));
        texts.listIndex = (int)SendDlgItemMessage(IDC_LIST, LB_GETCURSEL);
        return texts;
    }

    CString m_name = "alpha";
    int m_count = 5;
    double m_ratio = 0.25;
    int m_flag = 1;
    int m_kind = 2;
    CString m_choice = "two";
    int m_listIndex = 1;
    CWnd m_choiceControl;

    CRect m_placeAt;  // where OnInitDialog moves the dialog, when set
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_pings = 0;
    BOOL m_destroyed = FALSE;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFieldsDialog, CDialog)
    ON_MESSAGE(kNextStep, OnNextStep)
    ON_BN_CLICKED(IDC_PING, OnPing)
END_MESSAGE_MAP()

void Press(CFieldsDialog& dialog, UINT id)
{
    dialog.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       (LPARAM)::GetDlgItem(dialog.m_hWnd, id));
}

TEST(DialogTest, ModalDialogLoadsTheMembersAndSavesTheEditedControls)
{
    CFieldsDialog dialog;
    ControlTexts loaded;
    HWND subclassed = NULL;
    dialog.m_steps.push_back([&](CFieldsDialog& d) {
        loaded = d.ReadControls();
        subclassed = d.m_choiceControl.m_hWnd;
        d.SetDlgItemText(IDC_NAME, "beta");
        d.SetDlgItemText(IDC_COUNT, " 400 ");
        d.SetDlgItemText(IDC_RATIO, "1.5");
        d.CheckDlgButton(IDC_FLAG, BST_UNCHECKED);
        d.CheckRadioButton(IDC_KIND_FIRST, IDC_KIND_THIRD, IDC_KIND_FIRST);
        d.SendDlgItemMessage(IDC_CHOICE, CB_SETCURSEL, 2);
        d.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 0);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());

    EXPECT_EQ("alpha", loaded.name);
    EXPECT_EQ("5", loaded.count);
    EXPECT_EQ("0.25", loaded.ratio);
    EXPECT_EQ(1, loaded.flag);
    EXPECT_EQ((std::vector<int>{0, 0, 1, 0}), loaded.kinds);
    EXPECT_EQ("two", loaded.choice);
    EXPECT_EQ(1, loaded.listIndex);
    EXPECT_TRUE(subclassed != NULL);

    EXPECT_STREQ("beta", dialog.m_name);
    EXPECT_EQ(400, dialog.m_count);
    EXPECT_DOUBLE_EQ(1.5, dialog.m_ratio);
    EXPECT_EQ(0, dialog.m_flag);
    EXPECT_EQ(0, dialog.m_kind);
    EXPECT_STREQ("three", dialog.m_choice);
    EXPECT_EQ(0, dialog.m_listIndex);
    EXPECT_EQ(NULL, dialog.m_hWnd);
    EXPECT_EQ(NULL, dialog.m_choiceControl.m_hWnd);
}

TEST(DialogTest, CancelLeavesTheMembersAlone)
{
    CFieldsDialog dialog;
    dialog.m_steps.push_back([](CFieldsDialog& d) {
        d.SetDlgItemText(IDC_NAME, "gamma");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_STREQ("alpha", dialog.m_name);
}

TEST(DialogTest, AFailingValueKeepsTheDialogOpenWithItsMessageAndFocus)
{
    struct Case
    {
        int control;
        const char* bad;
        const char* message;
    };
    const Case cases[] = {
        {IDC_COUNT, "401", "Please enter an integer between 1 and 400."},
        {IDC_COUNT, "0", "Please enter an integer between 1 and 400."},
        {IDC_COUNT, "12x", "Please enter an integer."},
        {IDC_COUNT, "", "Please enter an integer."},
        {IDC_COUNT, "99999999999", "Please enter an integer."},
        {IDC_RATIO, "abc", "Please enter a number."},
        {IDC_NAME, "ninechars", "Please enter no more than 8 characters."},
    };
    for (const Case& c : cases)
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        CFieldsDialog dialog;
        BOOL openAfterFailure = FALSE;
        HWND focusAfterFailure = NULL, badControl = NULL;
        dialog.m_steps.push_back([&](CFieldsDialog& d) {
            badControl = ::GetDlgItem(d.m_hWnd, c.control);
            d.SetDlgItemText(c.control, c.bad);
            Press(d, IDOK);
        });
        dialog.m_steps.push_back([&](CFieldsDialog& d) {
            openAfterFailure = ::IsWindow(d.m_hWnd);
            focusAfterFailure = ::GetFocus();
            d.SetDlgItemText(IDC_NAME, "fixed");
            d.SetDlgItemText(IDC_COUNT, "7");
            d.SetDlgItemText(IDC_RATIO, "2");
            Press(d, IDOK);
        });
        EXPECT_EQ(IDOK, dialog.DoModal()) << c.bad;
        ASSERT_EQ(1u, boxes.Shown().size()) << c.bad;
        EXPECT_EQ(c.message, boxes.Shown()[0].text);
        EXPECT_TRUE(openAfterFailure) << c.bad;
        EXPECT_EQ(badControl, focusAfterFailure) << c.bad;
        EXPECT_EQ(7, dialog.m_count);
        EXPECT_STREQ("fixed", dialog.m_name);
    }
}

TEST(DialogTest, ModelessDialogRunsInTheCallersLoop)
{
    CFieldsDialog* dialog = new CFieldsDialog;
    ASSERT_TRUE(dialog->Create(IDD_FIELDS));
    EXPECT_EQ(dialog, CWnd::FromHandlePermanent(dialog->m_hWnd));
    EXPECT_EQ(IDD_FIELDS, (int)dialog->m_nIDHelp);
    // Loaded by OnInitDialog as for a modal dialog.
    EXPECT_EQ("alpha", dialog->ReadControls().name);
    dialog->ShowWindow(SW_SHOW);
    ::SendMessageA(::GetDlgItem(dialog->m_hWnd, IDC_PING), BM_CLICK, 0, 0);
    EXPECT_EQ(1, dialog->m_pings);
    // Messages posted to it are dispatched by whatever loop runs.
    dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_PING, BN_CLICKED),
                        (LPARAM)::GetDlgItem(dialog->m_hWnd, IDC_PING));
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        if (!CWnd::WalkPreTranslateTree(NULL, &msg))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(2, dialog->m_pings);
    EXPECT_TRUE(dialog->DestroyWindow());
    EXPECT_TRUE(dialog->m_destroyed);
    delete dialog;
}

TEST(DialogTest, AMissingTemplateFailsTheDialog)
{
    CDebugCapture debug;
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_FALSE(dialog.Create(9999));
    EXPECT_EQ(NULL, dialog.m_hWnd);
    EXPECT_TRUE(debug.Contains("No dialog template"));
}
}

namespace
{
// Records the idle notices of the dialogs it owns and closes the first.
class CIdleOwner : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && m_notices++ == 0)
        {
            m_reason = wParam;
            m_dialog = (HWND)lParam;
            ::PostMessageA(m_dialog, WM_COMMAND, IDCANCEL, 0);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int m_notices = 0;
    WPARAM m_reason = 0;
    HWND m_dialog = NULL;
};
}  // namespace

TEST(DialogTest, AModalDialogTellsItsOwnerWhenItWaits)
{
    CIdleOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPED, 0, 0, 100, 100,
                               NULL, NULL));
    CDialog dialog(IDD_FIELDS, &owner);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_GE(owner.m_notices, 1);
    EXPECT_EQ((WPARAM)MSGF_DIALOGBOX, owner.m_reason);
    EXPECT_NE(nullptr, owner.m_dialog);
    owner.DestroyWindow();
}

TEST(DialogTest, AModalDialogComesUpCentredOnItsOwnerUnlessItPlacedItself)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 500, NULL, NULL));
    CRect ownerRect;
    owner.GetWindowRect(&ownerRect);
    struct Case
    {
        const char* name;
        CRect placeAt;
    };
    const Case cases[] = {
        {"left where the template put it", CRect()},
        {"moved by OnInitDialog", CRect(37, 41, 237, 241)},
    };
    for (const Case& c : cases)
    {
        CFieldsDialog dialog(&owner);
        dialog.m_placeAt = c.placeAt;
        CRect shown;
        dialog.m_steps.push_back([&](CFieldsDialog& d) {
            d.GetWindowRect(&shown);
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << c.name;
        if (c.placeAt.IsRectEmpty())
        {
            EXPECT_NEAR(ownerRect.CenterPoint().x, shown.CenterPoint().x, 1) << c.name;
            EXPECT_NEAR(ownerRect.CenterPoint().y, shown.CenterPoint().y, 1) << c.name;
        }
        else
        {
            EXPECT_EQ(c.placeAt, shown) << c.name;
        }
    }
    owner.DestroyWindow();
}
