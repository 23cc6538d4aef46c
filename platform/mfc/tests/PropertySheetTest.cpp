#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"

#include "tests/support/InputScript.h"
#include "tests/support/MessageBoxScript.h"
#include "platform/mfc/tests/PropertySheetTest.h"

#include <afxdlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;
const UINT kPageStep = WM_APP + 5;

// A page that records its life and runs the test's step when first shown.
class CRecordingPage : public CPropertyPage
{
public:
    CRecordingPage(UINT templateId, const char* name) : CPropertyPage(templateId), m_name(name) {}

    BOOL OnSetActive() override
    {
        g_calls.Record(m_name + " set active");
        if (m_step)
            PostMessage(kPageStep);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        BOOL result = CPropertyPage::OnKillActive();
        g_calls.Record(m_name + " kill active" + (result ? "" : " refused"));
        return result;
    }
    BOOL OnApply() override
    {
        g_calls.Record(m_name + " apply");
        return CPropertyPage::OnApply();
    }
    LRESULT OnStep(WPARAM, LPARAM)
    {
        std::function<void(CRecordingPage&)> step = m_step;
        m_step = nullptr;
        if (step)
            step(*this);
        return 0;
    }

    std::string m_name;
    std::function<void(CRecordingPage&)> m_step;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingPage, CPropertyPage)
    ON_MESSAGE(kPageStep, OnStep)
END_MESSAGE_MAP()

class CTextPage : public CRecordingPage
{
public:
    CTextPage() : CRecordingPage(IDD_PAGE_ONE, "one") {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_TEXT, m_text); }
    CString m_text = "initial";
};

class CNumberPage : public CRecordingPage
{
public:
    CNumberPage() : CRecordingPage(IDD_PAGE_TWO, "two") {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PAGE_NUMBER, m_number);
        DDV_MinMaxInt(pDX, m_number, 1, 9);
    }
    int m_number = 3;
};

class CRecordingSheet : public CPropertySheet
{
public:
    explicit CRecordingSheet(CWnd* owner = NULL) : CPropertySheet("Options", owner) {}
    BOOL OnInitDialog() override
    {
        g_calls.Record("sheet init");
        return CPropertySheet::OnInitDialog();
    }
};

TEST(PropertySheetTest, PagesActivateSaveAndApplyInTurn)
{
    g_calls.Clear();
    CRecordingSheet sheet;
    CTextPage one;
    CNumberPage two;
    sheet.AddPage(&one);
    sheet.AddPage(&two);
    EXPECT_EQ(2, sheet.GetPageCount());
    std::string loadedText;
    one.m_step = [&](CRecordingPage& page) {
        CString text;
        page.GetDlgItemText(IDC_PAGE_TEXT, text);
        loadedText = text;
        page.SetDlgItemText(IDC_PAGE_TEXT, "typed");
        page.SetModified();
        sheet.SetActivePage(1);
    };
    two.m_step = [&](CRecordingPage& page) {
        page.SetDlgItemText(IDC_PAGE_NUMBER, "7");
        sheet.PressButton(PSBTN_OK);
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ("initial", loadedText);
    EXPECT_STREQ("typed", one.m_text);
    EXPECT_EQ(7, two.m_number);
    EXPECT_EQ((std::vector<std::string>{"sheet init", "one set active", "one kill active",
                                        "two set active", "two kill active", "one apply",
                                        "two apply"}),
              g_calls.Calls());
    EXPECT_EQ(NULL, sheet.m_hWnd);
}

TEST(PropertySheetTest, AFailingPageKeepsTheSheetOnIt)
{
    g_calls.Clear();
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CRecordingSheet sheet;
    CNumberPage two;
    CTextPage one;
    sheet.AddPage(&two);
    sheet.AddPage(&one);
    int activeAfterFailure = -1;
    two.m_step = [&](CRecordingPage& page) {
        page.SetDlgItemText(IDC_PAGE_NUMBER, "12");
        sheet.SetActivePage(1);
        activeAfterFailure = sheet.GetActiveIndex();
        sheet.PressButton(PSBTN_CANCEL);
    };
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(0, activeAfterFailure);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Please enter an integer between 1 and 9.", boxes.Shown()[0].text);
}

TEST(PropertySheetTest, ModelessSheetStartsOnTheChosenPage)
{
    g_calls.Clear();
    CRecordingSheet sheet;
    CTextPage one;
    CNumberPage two;
    sheet.AddPage(&one);
    sheet.AddPage(&two);
    EXPECT_TRUE(sheet.SetActivePage(&two));
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(&sheet, CWnd::FromHandlePermanent(sheet.m_hWnd));
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(&two, sheet.GetActivePage());
    EXPECT_EQ((std::vector<std::string>{"sheet init", "two set active"}), g_calls.Calls());
    sheet.DestroyWindow();
    EXPECT_EQ(NULL, sheet.m_hWnd);
}

TEST(PropertySheetTest, AModalSheetComesUpCentredOnItsOwner)
{
    g_calls.Clear();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 500, NULL, NULL));
    CRect ownerRect;
    owner.GetWindowRect(&ownerRect);
    CRecordingSheet sheet(&owner);
    CTextPage one;
    sheet.AddPage(&one);
    CRect shown;
    BOOL visible = FALSE;
    one.m_step = [&](CRecordingPage&) {
        visible = sheet.IsWindowVisible();
        sheet.GetWindowRect(&shown);
        sheet.PressButton(PSBTN_CANCEL);
    };
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_TRUE(visible);
    EXPECT_NEAR(ownerRect.CenterPoint().x, shown.CenterPoint().x, 1);
    EXPECT_NEAR(ownerRect.CenterPoint().y, shown.CenterPoint().y, 1);
    owner.DestroyWindow();
}

// Should the keys not change the page, the sheet is cancelled after a while.
const UINT_PTR kGiveUpTimer = 77;
CPropertySheet* g_keySheet = NULL;

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
    g_keySheet->PressButton(PSBTN_CANCEL);
}

// Ctrl+Tab and Ctrl+PgDn go to the next page, with Shift or PgUp to the
// previous one (round from the first to the last), wherever the focus is.
TEST(PropertySheetTest, CtrlTabAndCtrlPageKeysChangeThePage)
{
    const struct
    {
        const char* name;
        std::vector<WORD> keys;
        int page;
    } cases[] = {
        {"Ctrl+Tab", {VK_CONTROL, VK_TAB}, 1},
        {"Ctrl+PgDn", {VK_CONTROL, VK_NEXT}, 1},
        {"Ctrl+Shift+Tab", {VK_CONTROL, VK_SHIFT, VK_TAB}, 2},
        {"Ctrl+PgUp", {VK_CONTROL, VK_PRIOR}, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CRecordingSheet sheet;
        g_keySheet = &sheet;
        CTextPage one, three;
        CNumberPage two;
        sheet.AddPage(&one);
        sheet.AddPage(&two);
        sheet.AddPage(&three);
        int reached = 0;
        one.m_step = [&](CRecordingPage& page) {
            InputScript keys;
            for (WORD key : c.keys)
                keys.KeyDown(key);
            for (auto key = c.keys.rbegin(); key != c.keys.rend(); ++key)
                keys.KeyUp(*key);
            keys.SendOnly();
            ::SetTimer(sheet.m_hWnd, kGiveUpTimer, 3000, GiveUp);
        };
        auto arrived = [&](CRecordingPage&) {
            reached = sheet.GetActiveIndex();
            ::KillTimer(sheet.m_hWnd, kGiveUpTimer);
            sheet.PressButton(PSBTN_CANCEL);
        };
        two.m_step = arrived;
        three.m_step = arrived;
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        EXPECT_EQ(c.page, reached);
    }
}
}
