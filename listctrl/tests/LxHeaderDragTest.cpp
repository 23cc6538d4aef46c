#include "listctrl/tests/ListFixture.h"

#include <string>
#include <vector>

namespace
{
const int kWidths[] = {30, 80, 80, 80};

class HeaderDragTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        MakeColumns();
        AddRows({{"", "b", "x", "1"}, {"", "a", "y", "2"}, {"", "a", "z", "3"}});
        ::SetCursorPos(700, 600);
    }
    void MakeColumns()
    {
        m_list.DeleteAllColumns();
        AddColumns({{"", kWidths[0], 0},
                    {"A", kWidths[1], kLxColSortable},
                    {"B", kWidths[2], kLxColSortable},
                    {"C", kWidths[3], kLxColSortable}});
    }
    HWND Header() { return m_list.GetHeader()->m_hWnd; }
    std::string Labels()
    {
        std::string labels;
        for (int i = 0; i < m_list.GetColumnCount(); i++)
        {
            char text[32] = "";
            HDITEMA item = {};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            m_list.GetHeader()->GetItem(i, &item);
            labels += std::string("|") + text;
        }
        return labels;
    }
    int Middle(int item)
    {
        int left = 0;
        for (int i = 0; i < item; i++)
            left += kWidths[i];
        return left + kWidths[item] / 2;
    }
    void Post(UINT message, WPARAM flags, int x, int y = 8)
    {
        ::PostMessageA(Header(), message, flags, MAKELPARAM(x, y));
        PumpMessages();
    }
    // Button down in the middle of an item, moves to each x, button up at the last.
    void Drag(int item, const std::vector<int>& xs, bool release = true)
    {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, Middle(item));
        for (int x : xs)
            Post(WM_MOUSEMOVE, MK_LBUTTON, x);
        if (release)
            Post(WM_LBUTTONUP, 0, xs.back());
    }
};

TEST_F(HeaderDragTest, DragMovesAColumnOnlyPastFivePixelsAndToAnotherPlace)
{
    const struct
    {
        const char* name;
        int item;
        std::vector<int> xs;
        const char* labels;
    } cases[] = {
        {"6 pixels start a drag", 1, {Middle(1) + 6, Middle(3)}, "||B|A|C"},
        {"dropped on itself", 1, {Middle(1) + 6, Middle(1) - 6}, "||A|B|C"},
        {"dropped on its right neighbour", 1, {Middle(1) + 6, Middle(2)}, "||A|B|C"},
        {"dropped past the last", 1, {Middle(1) + 6, 400}, "||B|C|A"},
        {"column 0 stays", 0, {Middle(0) + 6, Middle(2)}, "||A|B|C"},
        {"in front of column 0 lands at 1", 3, {Middle(3) - 6, 0}, "||C|A|B"},
    };
    for (const auto& c : cases)
    {
        MakeColumns();
        Drag(c.item, c.xs);
        EXPECT_EQ(c.labels, Labels()) << c.name;
        EXPECT_NE(Header(), ::GetCapture()) << c.name;
    }
}

// Column dragging is on unless the owner turns it off, and can be turned back on.
TEST_F(HeaderDragTest, EnableColumnDragAllowsOrForbidsMovingColumns)
{
    const struct
    {
        const char* name;
        bool enable;
        const char* labels;
    } cases[] = {
        {"forbidden", false, "||A|B|C"},
        {"allowed again", true, "||B|A|C"},
    };
    for (const auto& c : cases)
    {
        MakeColumns();
        m_list.EnableColumnDrag(c.enable);
        Drag(1, {Middle(1) + 6, Middle(3)});
        EXPECT_EQ(c.labels, Labels()) << c.name;
        EXPECT_NE(Header(), ::GetCapture()) << c.name;
    }
}

TEST_F(HeaderDragTest, TheSourceInvertsFromTheSixthPixelOn)
{
    const COLORREF inverted = ::GetSysColor(COLOR_3DFACE) ^ 0xFFFFFF;
    const struct
    {
        int dx;
        bool dragging;
    } cases[] = {{5, false}, {6, true}};
    for (const auto& c : cases)
    {
        Drag(1, {Middle(1) + c.dx}, false);
        HDC dc = ::GetDC(Header());
        EXPECT_EQ(c.dragging, ::GetPixel(dc, Middle(1) - 30, 3) == inverted) << c.dx;
        ::ReleaseDC(Header(), dc);
        Post(WM_LBUTTONUP, 0, Middle(1) + c.dx);
        EXPECT_EQ("||A|B|C", Labels()) << c.dx;
    }
}

TEST_F(HeaderDragTest, RedMarkerAtTheTargetsLeftEdge)
{
    Drag(1, {Middle(1) + 6, Middle(3)}, false);
    CRect client;
    ::GetClientRect(Header(), &client);
    int x = kWidths[0] + kWidths[1] + kWidths[2];
    HDC dc = ::GetDC(Header());
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, x, client.bottom - 3));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, x - 2, client.bottom - 2));
    EXPECT_NE(RGB(255, 0, 0), ::GetPixel(dc, x, client.bottom - 12));
    ::ReleaseDC(Header(), dc);
    Post(WM_LBUTTONUP, 0, Middle(3));
}

TEST_F(HeaderDragTest, SortStateStaysWithTheMovedColumns)
{
    m_list.SortBy(1, 1);  // A ascending, then B descending
    m_list.SortBy(2, 0);
    Drag(1, {Middle(1) + 6, 400});  // A to the end: "", B, C, A
    ASSERT_EQ("||B|C|A", Labels());
    CLxHeaderCtrl& header = *m_list.GetHeader();
    EXPECT_EQ(1, header.GetSortColumn());
    EXPECT_EQ(3, header.GetPrevSortColumn());
    EXPECT_FALSE(header.IsSortAscending(1));
    EXPECT_TRUE(header.IsSortAscending(3));
    EXPECT_TRUE(header.IsSortAscending(2));
    m_list.ReSort();  // sorts the same two columns again, in the same order
    EXPECT_EQ(1, header.GetSortColumn());
    EXPECT_EQ(3, header.GetPrevSortColumn());
}

TEST_F(HeaderDragTest, FixedWidthDividerShowsTheArrowAndIgnoresDoubleClicks)
{
    CLxHeaderCtrl& header = *m_list.GetHeader();
    const int divider = kWidths[0] + kWidths[1];
    const struct
    {
        DWORD fixed;
        bool arrow;
    } cases[] = {{LxColumnBit(1), true}, {0, false}};
    for (const auto& c : cases)
    {
        header.m_fixedWidthMask = c.fixed;
        CPoint screen(divider, 8);
        ::ClientToScreen(Header(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::SendMessageA(Header(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        ::SetCursor(NULL);
        ::SendMessageA(Header(), WM_SETCURSOR, (WPARAM)Header(),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(c.arrow, ::GetCursor() == ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW))
            << std::hex << c.fixed;
    }
    header.m_fixedWidthMask = LxColumnBit(1);
    ::SendMessageA(Header(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(divider, 8));
    PumpMessages();
    EXPECT_EQ(kWidths[1], m_list.GetColumnWidth(1));
}
}  // namespace
