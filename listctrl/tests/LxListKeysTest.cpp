#include "listctrl/tests/ListFixture.h"

namespace
{
ULONGLONG g_now = 1000000000;

ULONGLONG TestClock()
{
    return g_now;
}

const ULONGLONG kMillisecond = 10000;  // in 100 ns units

class ListKeysTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        m_list.m_pfnClock = TestClock;
        AddColumns({{"", 40, 0}, {"Artist", 100, kLxColSortable | kLxColEdit}, {"Year", 60, 0}});
        AddRows({{"", "Abba", "1974"}, {"", "Abc", "1980"}, {"", "Adams", "1990"},
                 {"", "Bach", "1720"}, {"", "Beatles", "1962"}});
        m_list.SortBy(1, 1);
        m_list.SetFocus();
    }
    void PostKey(UINT key)
    {
        m_list.PostMessage(WM_KEYDOWN, key, 1);
        m_list.PostMessage(WM_KEYUP, key, 0xC0000001);
        PumpMessages();
    }
    int FocusedRow() { return m_list.GetNextItem(-1, LVNI_FOCUSED); }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
             row = m_list.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }
    void Focus(int row)
    {
        m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0)
            m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // An in-place editor ends as the list's own label edit would.
    void EndEdit(int row, int column, const char* text)
    {
        NMLVDISPINFOA info = {};
        info.hdr.hwndFrom = m_list.m_hWnd;
        info.hdr.idFrom = kListId;
        info.hdr.code = LVN_ENDLABELEDITA;
        info.item.iItem = row;
        info.item.iSubItem = column;
        info.item.pszText = (LPSTR)text;
        m_owner.SendMessage(WM_NOTIFY, kListId, (LPARAM)&info);
    }
};

TEST_F(ListKeysTest, TypeAheadFindsRowsByTheSortColumn)
{
    struct Case
    {
        UINT key;
        ULONGLONG after;  // milliseconds since the previous key
        int focused;
    };
    const Case cases[] = {
        {'B', 5000, 3},  // no row focused: from the first
        {'E', 300, 4},   // "BE"
        {'A', 1500, 0},  // a pause starts again, after the focused row, wrapping
        {'A', 200, 1},   // the same letter steps to the next match
        {'A', 200, 2},
        {'B', 200, 0},   // "AB", from the focused row on
        {'Z', 1001, 0},  // no match: the focus stays
        {'B', 1000, 0},  // "ZB" within the second: nothing
        {'B', 1001, 3},  // past the second: "B" alone
    };
    Focus(-1);
    g_now += 5000 * kMillisecond;
    int step = 0;
    for (const Case& c : cases)
    {
        g_now += c.after * kMillisecond;
        PostKey(c.key);
        EXPECT_EQ(c.focused, FocusedRow()) << "key " << step << " '" << (char)c.key << "'";
        step++;
    }
}

TEST_F(ListKeysTest, LeftAndRightMoveTheFocusedColumnWithinTheRow)
{
    Focus(1);
    const struct
    {
        UINT key;
        int column;
    } cases[] = {{VK_LEFT, 0}, {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 2}, {VK_LEFT, 1}};
    for (const auto& c : cases)
    {
        PostKey(c.key);
        EXPECT_EQ(c.column, m_list.GetFocusedColumn());
    }
    EXPECT_EQ(1, FocusedRow());
}

TEST_F(ListKeysTest, EnterSendsDoubleClickNotification)
{
    Focus(2);
    m_list.ModifyLxStyle(kLxStyleEnterEdits, 0, 0);
    PostKey(VK_RETURN);
    EXPECT_EQ(std::vector<std::string>{"NM_DBLCLK from 300"}, m_owner.m_events);
    m_owner.m_events.clear();
    m_list.ModifyLxStyle(kLxStyleEnterDblClk, 0, 0);
    PostKey(VK_RETURN);
    EXPECT_TRUE(m_owner.m_events.empty());
}

TEST_F(ListKeysTest, EditorNavigationRequests)
{
    struct Case
    {
        WPARAM code;
        int column;
        int focused;
        std::vector<int> selected;
    };
    Focus(2);
    const Case cases[] = {
        {kLxNavRight, 1, 2, {2}}, {kLxNavRight, 2, 2, {2}}, {kLxNavRight, 2, 2, {2}},
        {kLxNavLeft, 1, 2, {2}},  {kLxNavUp, 1, 1, {1}},    {kLxNavDown, 1, 2, {2}},
        {kLxNavDown, 1, 3, {3}},  {kLxNavDown, 1, 4, {4}},  {kLxNavDown, 1, 4, {4}},
        {kLxNavLeft, 0, 4, {4}},  {kLxNavLeft, 0, 4, {4}},
    };
    for (const Case& c : cases)
    {
        m_list.SendMessage(WM_LX_NAVIGATE, c.code);
        EXPECT_EQ(c.column, m_list.GetFocusedColumn()) << "code " << c.code;
        EXPECT_EQ(c.focused, FocusedRow()) << "code " << c.code;
        EXPECT_EQ(c.selected, SelectedRows()) << "code " << c.code;
    }

    // The next editable cell: only column 1 is an edit column.
    LxCellPos from = {3, 1};
    m_list.SendMessage(WM_LX_NAVIGATE, kLxNavNextCell, (LPARAM)&from);
    EXPECT_EQ(4, FocusedRow());
    from = {4, 1};
    m_list.SendMessage(WM_LX_NAVIGATE, kLxNavNextCell, (LPARAM)&from);  // past the last row
    EXPECT_EQ(4, FocusedRow());
    from = {4, 1};
    m_list.SendMessage(WM_LX_NAVIGATE, kLxNavPrevCell, (LPARAM)&from);
    EXPECT_EQ(3, FocusedRow());
    EXPECT_EQ(std::vector<int>{3}, SelectedRows());
}

TEST_F(ListKeysTest, DoubleClickReachesTheOwnerInScreenPoints)
{
    CRect cell;
    ASSERT_TRUE(m_list.GetCellRect(3, 2, &cell));
    CPoint point = cell.CenterPoint();
    m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    CRect window;
    m_list.GetWindowRect(&window);
    std::string forwarded = "WM_LBUTTONDBLCLK " + std::to_string(window.left + point.x) + "," +
                            std::to_string(window.top + point.y);
    ASSERT_FALSE(m_owner.m_events.empty());
    EXPECT_EQ(forwarded, m_owner.m_events.back());
    EXPECT_EQ(2, m_list.GetFocusedColumn());
    EXPECT_EQ(3, FocusedRow());
}

TEST_F(ListKeysTest, CommittedEditsGoThroughTheOwner)
{
    m_owner.m_answer = [](CLxListRequest& request) -> BOOL {
        request.m_text.MakeUpper();
        return request.m_row != 2;
    };
    Focus(1);
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    m_list.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);

    EndEdit(1, 1, "queen");  // one row: the one edited
    EXPECT_EQ((std::vector<LxRequestSeen>{{kLxRequestCommit, 1, 1, 1, "queen"}}), m_owner.m_requests);
    EXPECT_STREQ("QUEEN", m_list.GetItemText(1, 1));

    m_owner.m_requests.clear();
    m_list.ModifyLxStyle(0, kLxStyleEditAllSelected, 0);
    EndEdit(1, 1, "kiss");
    EXPECT_EQ((std::vector<LxRequestSeen>{{kLxRequestCommit, 1, 1, 1, "kiss"},
                                         {kLxRequestCommit, 2, 1, 2, "kiss"},
                                         {kLxRequestCommit, 4, 1, 4, "kiss"}}),
              m_owner.m_requests);
    EXPECT_EQ((std::vector<std::string>{"Abba", "KISS", "Adams", "Bach", "KISS"}), ColumnTexts(1));

    m_owner.m_requests.clear();
    EndEdit(1, 1, NULL);
    EXPECT_TRUE(m_owner.m_requests.empty());
}
}
