#include "listctrl/tests/ListFixture.h"
#include "tests/support/MetafileText.h"

#include <afxext.h>

#include <algorithm>

namespace
{
// One print job into metafiles, one per page.
class CPrintJob
{
public:
    explicit CPrintJob(CLxListCtrl& list) : m_list(list)
    {
        m_reference = ::GetDC(NULL);
        m_first = Open();
        CDC dc;
        dc.Attach(m_first);
        list.OnBeginPrinting(&dc, &m_info);
        dc.Detach();
    }
    ~CPrintJob()
    {
        CDC dc;
        dc.Attach(m_first);
        m_list.OnEndPrinting(&dc, &m_info);
        dc.Detach();
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_first));
        ::ReleaseDC(NULL, m_reference);
    }
    // Prints a page; its texts, and the page itself for the caller to delete.
    std::vector<std::string> PrintPage(UINT page, HENHMETAFILE* metafile = NULL)
    {
        HDC hdc = page == 1 ? m_first : Open();
        CDC dc;
        dc.Attach(hdc);
        m_info.m_nCurPage = page;
        m_list.OnPrint(&dc, &m_info);
        dc.Detach();
        if (page == 1)
            m_first = Open();
        HENHMETAFILE done = ::CloseEnhMetaFile(hdc);
        std::vector<std::string> texts = ReadMetafileStrings(done);
        if (metafile)
            *metafile = done;
        else
            ::DeleteEnhMetaFile(done);
        return texts;
    }
    CPrintInfo m_info;
    HDC m_reference;

private:
    HDC Open()
    {
        RECT frame = {0, 0, ::GetDeviceCaps(m_reference, HORZSIZE) * 100,
                      ::GetDeviceCaps(m_reference, VERTSIZE) * 100};
        return ::CreateEnhMetaFileA(m_reference, NULL, &frame, NULL);
    }
    CLxListCtrl& m_list;
    HDC m_first;
};

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

int CountRows(const std::vector<std::string>& texts)
{
    return (int)std::count_if(texts.begin(), texts.end(),
                              [](const std::string& text) { return text.rfind("row ", 0) == 0; });
}

class ListPrintTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, 0}, {"Artist", 200, 0}});
        m_list.m_printTitle = "My Tracks";
        // A short page, so that pages fill with few rows.
        m_list.m_printMargins = RECT{10, 60, 10, 60};
    }
    void AddNumberedRows(int count)
    {
        for (int i = 0; i < count; i++)
        {
            std::string number = std::to_string(m_list.GetItemCount());
            AddRows({{"row " + number, "artist " + number}});
        }
    }
    int LinesPerPage()
    {
        CPrintJob job(m_list);
        return CountRows(job.PrintPage(1));
    }
};

TEST_F(ListPrintTest, HeadingHeaderAndRowsOfEachPage)
{
    AddNumberedRows(40);
    m_list.m_printOptions = kLxPrintTitle | kLxPrintPage | kLxPrintDate;
    CPrintJob job(m_list);
    std::vector<std::string> first = job.PrintPage(1);
    int lines = CountRows(first);
    ASSERT_GT(lines, 1);
    ASSERT_LT(lines, 40);
    EXPECT_EQ((UINT)(40 / lines + 1), job.m_info.GetMaxPage());

    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[16];
    wsprintfA(date, "%02d/%02d/%d", today.wMonth, today.wDay, today.wYear);
    std::vector<std::string> expected = {"My Tracks", "1", date, "Title", "Artist", "row 0", "artist 0"};
    EXPECT_EQ(expected, std::vector<std::string>(first.begin(), first.begin() + expected.size()));
    EXPECT_EQ("artist " + std::to_string(lines - 1), first.back());

    std::vector<std::string> second = job.PrintPage(2);
    EXPECT_EQ("2", second[1]);
    EXPECT_EQ("row " + std::to_string(lines), second[5]);
    EXPECT_EQ(std::min(lines, 40 - lines), CountRows(second));
}

TEST_F(ListPrintTest, WithoutOptionsAPageHoldsOneMoreRow)
{
    AddNumberedRows(40);
    m_list.m_printOptions = kLxPrintDate;
    int withHeading = LinesPerPage();
    m_list.m_printOptions = 0;
    CPrintJob job(m_list);
    std::vector<std::string> page = job.PrintPage(1);
    EXPECT_EQ(withHeading + 1, CountRows(page));
    EXPECT_EQ("Title", page[0]);
}

TEST_F(ListPrintTest, ExactlyOnePageOfRowsReportsTwoPages)
{
    AddNumberedRows(40);
    int lines = LinesPerPage();
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddNumberedRows(lines);
    CPrintJob job(m_list);
    EXPECT_EQ(2u, job.m_info.GetMaxPage());
    EXPECT_EQ(lines, CountRows(job.PrintPage(1)));
    EXPECT_EQ((std::vector<std::string>{"Title", "Artist"}), job.PrintPage(2));
}

TEST_F(ListPrintTest, TinyPagesAndWidthlessColumnsStillPrint)
{
    AddNumberedRows(3);
    HDC screen = GetDC(NULL);
    int half = GetDeviceCaps(screen, VERTSIZE) / 2 - 1;  // millimetres
    ReleaseDC(NULL, screen);
    m_list.m_printMargins = RECT{10, half, 10, half};  // less than a row high
    m_list.SetColumnWidth(0, 0);
    m_list.SetColumnWidth(1, 0);
    CPrintJob job(m_list);
    EXPECT_EQ(4u, job.m_info.GetMaxPage());
    EXPECT_EQ(1, CountRows(job.PrintPage(3)));
}

TEST_F(ListPrintTest, ImageHeadersAndLongTextsPrint)
{
    std::string longText(5000, 'x');
    AddRows({{"row 0", longText}});
    m_list.SetHeaderImage(1, 4);
    CPrintJob job(m_list);
    std::vector<std::string> texts = job.PrintPage(1);
    EXPECT_FALSE(Contains(texts, "4_"));
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("xxx", texts[2].substr(0, 3));
    EXPECT_LT(texts[2].size(), longText.size());
}

TEST_F(ListPrintTest, LinesFrameTheHeaderAndCells)
{
    AddNumberedRows(2);
    CPrintJob job(m_list);
    HENHMETAFILE page = NULL;
    job.PrintPage(1, &page);
    int width = GetDeviceCaps(job.m_reference, HORZRES);
    int height = GetDeviceCaps(job.m_reference, VERTRES);
    HDC dc = CreateCompatibleDC(job.m_reference);
    HBITMAP bitmap = CreateCompatibleBitmap(job.m_reference, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    PlayEnhMetaFile(dc, page, &all);
    const CRect& area = job.m_info.m_rectDraw;
    auto blackNear = [&](int x, int y) {
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++)
                if (GetPixel(dc, x + dx, y + dy) == RGB(0, 0, 0))
                    return true;
        return false;
    };
    int edge = area.left + area.Width() / 3;  // 100 of 300 pixels on screen
    EXPECT_TRUE(blackNear(area.left + area.Width() / 2, area.top));
    EXPECT_TRUE(blackNear(edge, area.top + 4));
    EXPECT_TRUE(blackNear(area.right - 1, area.top + 4));
    EXPECT_FALSE(blackNear(edge + 30, area.top + 4));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteEnhMetaFile(page);
}
}
