// The workbook: sheet tabs below the MDI client inside its margins, their
// pitch by the number of sheets, hidden sheets taking no place, labels
// shortened to fit, and a click on a tab activating its sheet.
#include "tests/support/TestFramework.h"
#include "toolkit/frames/tests/MainFrame.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/frames/TkControlBarWorksheet.h"
#include "toolkit/frames/TkWorkbook.h"
#include "toolkit/frames/TkWorksheet.h"

#include <string>
#include <vector>

namespace
{
class CWorkbookApp : public CWinApp
{
public:
    CWorkbookApp() : CWinApp("WorkbookTest") {}
};

class WorkbookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_book = MakeMainFrame<TkWorkbook>(m_app, 600, 500);
        ASSERT_NE(nullptr, m_book);
        m_book->ShowWindow(SW_SHOW);
        m_book->RecalcLayout();
        // The client window 500 pixels wide.
        CRect client;
        ::GetWindowRect(m_book->m_hWndMDIClient, &client);
        m_book->SetWindowPos(NULL, 0, 0, 600 + 500 - client.Width(), 500, SWP_NOZORDER);
        m_book->RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        m_book->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    TkWorksheet* AddSheet(const char* title)
    {
        TkWorksheet* sheet = new TkWorksheet;
        EXPECT_TRUE(sheet->LoadFrame(IDR_ALBUMTYPE, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_book));
        sheet->SetWindowText(title);
        PumpMessages();
        return sheet;
    }
    CPoint TabCentre(TkWorksheet* sheet)
    {
        POINT p[7];
        int count;
        m_book->GetTabPolygon(sheet, p, count);
        return CPoint((p[0].x + p[3].x) / 2, (p[0].y + p[2].y) / 2);
    }

    CWorkbookApp m_app;
    TkWorkbook* m_book = NULL;
};
}  // namespace

TEST_F(WorkbookTest, TabPitchFollowsTheNumberOfSheets)
{
    CRect client;
    ::GetWindowRect(m_book->m_hWndMDIClient, &client);
    ASSERT_EQ(500, client.Width());
    struct Case
    {
        int sheets;
        int pitch;
    } cases[] = {{1, 90}, {3, 90}, {6, 84}, {10, 50}};
    int made = 0;
    for (const Case& c : cases)
    {
        while (made < c.sheets)
            AddSheet(("Sheet " + std::to_string(++made)).c_str());
        EXPECT_EQ(c.pitch, m_book->GetTabPitch()) << c.sheets;
    }
    m_book->GetSheet(9)->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(9, m_book->GetSheetCount());
    EXPECT_EQ(56, m_book->GetTabPitch());
}

TEST_F(WorkbookTest, AHiddenSheetTakesNoTabPlace)
{
    AddSheet("One");
    TkWorksheet* two = AddSheet("Two");
    TkWorksheet* three = AddSheet("Three");
    m_book->MDIActivate(two);
    POINT before[7], after[7];
    int count;
    m_book->GetTabPolygon(three, before, count);
    ASSERT_EQ(7, count);
    m_book->MDIActivate(m_book->GetSheet(0));
    two->ShowWindow(SW_HIDE);
    m_book->GetTabPolygon(three, after, count);
    EXPECT_EQ(before[0].x - m_book->GetTabPitch(), after[0].x);
    EXPECT_EQ(before[0].y, after[0].y);
}

TEST_F(WorkbookTest, LabelsLoseTheirLastCharactersUntilTheyFit)
{
    CClientDC dc(m_book);
    const int abc = dc.GetTextExtent(CString("Abc...")).cx;
    struct Case
    {
        const char* title;
        int width;
        const char* shown;
    } cases[] = {
        {"Abc", 1000, "Abc"},
        {"AbcdefghAbc", abc, "Abc..."},
        {"AbcdefghAbc", 1, "..."},
        {"Abcd", 1, "..."},
        {"Ab", 1, "Ab"},
        {"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.shown, TkWorkbook::ShortenTitle(&dc, c.title, c.width)) << c.title;
}

TEST_F(WorkbookTest, TabsKeepTheirMarginsAndAClickActivatesTheSheet)
{
    TkWorksheet* one = AddSheet("One");
    TkWorksheet* two = AddSheet("Two");
    EXPECT_EQ(two, m_book->MDIGetActive());
    // Without tabs a click below the client does nothing.
    CPoint tab = TabCentre(one);
    m_book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
    EXPECT_EQ(two, m_book->MDIGetActive());

    CRect before, after;
    ::GetWindowRect(m_book->m_hWndMDIClient, &before);
    m_book->ShowTabs(TRUE);
    ::GetWindowRect(m_book->m_hWndMDIClient, &after);
    EXPECT_EQ(CRect(before.left + 13, before.top + 13, before.right - 13, before.bottom - 33), after);

    tab = TabCentre(one);
    m_book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
    m_book->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(tab.x, tab.y));
    PumpMessages();
    EXPECT_EQ(one, m_book->MDIGetActive());
    EXPECT_FALSE(one->m_bPressed);
}

// Icons shown or not decide whether a sheet's icon is drawn on its tab; each
// switch draws the tab strip below the client window again.
TEST_F(WorkbookTest, ShowIconsGivesTheSheetsIconAndDrawsTheStripAgain)
{
    m_book->ShowTabs(TRUE);
    TkWorksheet* sheet = AddSheet("One");
    HICON icon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    ASSERT_TRUE(m_book->SetSheetIcon(sheet, icon, FALSE));
    CRect client;
    ::GetWindowRect(m_book->m_hWndMDIClient, &client);
    m_book->ScreenToClient(&client);
    const struct
    {
        BOOL show;
        HICON shown;
    } cases[] = {{FALSE, NULL}, {TRUE, icon}, {FALSE, NULL}};
    for (const auto& c : cases) {
        m_book->UpdateWindow();
        m_book->ShowIcons(c.show);
        EXPECT_EQ(c.shown, m_book->GetSheetIcon(sheet)) << c.show;
        CRect update;
        ASSERT_TRUE(::GetUpdateRect(m_book->m_hWnd, &update, FALSE)) << c.show;
        EXPECT_GE(update.bottom, client.bottom) << c.show;
    }
}

TEST_F(WorkbookTest, ABarFloatedInTheWorkbookIsASheetWithTheBarsIconAndClosingItHidesTheBar)
{
    m_book->EnableDocking(CBRS_ALIGN_ANY);
    TkControlBar* bar = new TkControlBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_book, "Albums", WS_VISIBLE | CBRS_TOP, TKCBRS_FLOATINMAIN, 0xE820));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    HICON icon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    bar->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)icon);
    m_book->DockControlBar(bar);
    m_book->FloatControlBarInMDIChild(bar, -1, -1, CBRS_ALIGN_TOP);
    PumpMessages();

    CFrameWnd* frame = bar->m_pDockBar->GetParentFrame();
    ASSERT_TRUE(frame->IsKindOf(RUNTIME_CLASS(TkControlBarWorksheet)));
    TkControlBarWorksheet* sheet = static_cast<TkControlBarWorksheet*>(frame);
    ASSERT_EQ(1, m_book->GetSheetCount());
    EXPECT_EQ(sheet, m_book->GetSheet(0));
    EXPECT_NE(nullptr, sheet->m_hIcon);
    EXPECT_EQ(bar, sheet->GetSingleBar());
    CString title;
    sheet->GetWindowText(title);
    EXPECT_STREQ("Albums", title);

    sheet->SendMessage(WM_CLOSE);
    PumpMessages();
    ASSERT_TRUE(::IsWindow(sheet->m_hWnd));
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(1, m_book->GetSheetCount());
}

TEST_F(WorkbookTest, OnlyATabWhoseTitleDoesNotFitOffersItAsATip)
{
    m_book->ShowTabs(TRUE);
    EXPECT_EQ(-1, m_book->OnToolHitTest(CPoint(10, 10), NULL));
    const std::string longTitle = "A title far too long for any tab of the workbook";
    TkWorksheet* shortSheet = AddSheet("One");
    TkWorksheet* longSheet = AddSheet(longTitle.c_str());
    struct Case
    {
        CPoint point;
        INT_PTR tool;
        const char* text;
    } cases[] = {
        {TabCentre(shortSheet), -1, NULL},
        {TabCentre(longSheet), 2, longTitle.c_str()},
        {CPoint(5, 5), -1, NULL},
    };
    for (const Case& c : cases)
    {
        TOOLINFOA info = {sizeof info};
        EXPECT_EQ(c.tool, m_book->OnToolHitTest(c.point, &info)) << c.point.x;
        if (!c.text)
            continue;
        EXPECT_EQ(m_book->m_hWnd, info.hwnd);
        EXPECT_EQ(2u, info.uId);
        EXPECT_TRUE(::PtInRect(&info.rect, c.point));
        EXPECT_STREQ(c.text, info.lpszText);
        free(info.lpszText);
    }
}
