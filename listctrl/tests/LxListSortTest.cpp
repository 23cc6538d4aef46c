#include "listctrl/tests/ListFixture.h"

#include <afxdisp.h>

namespace
{
enum { kTitle, kPrice, kCount, kAdded };

const DWORD kSortable = kLxColSortable;

class ListSortTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, kSortable},
                    {"Price", 80, kSortable | kLxColCurrency},
                    {"Count", 80, kSortable | kLxColNumeric},
                    {"Added", 120, kSortable | kLxColDate}});
    }
    void ClickColumn(int column)
    {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = m_list.m_hWnd;
        click.hdr.idFrom = kListId;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        m_owner.SendMessage(WM_NOTIFY, kListId, (LPARAM)&click);
    }
};

TEST_F(ListSortTest, EachKindOrdersItsColumn)
{
    COleDateTime early(2025, 3, 4, 0, 0, 0), late(2026, 12, 10, 13, 5, 9);
    AddRows({{"b", "10", "1.500", (LPCSTR)late.Format("%c")},
             {"a", "9", "2", ""},
             {"C", "1.234", "10", (LPCSTR)early.Format("%x")}});
    struct Case
    {
        int column;
        int ascending;
        std::vector<DWORD_PTR> data;
    };
    const Case cases[] = {
        {kTitle, 1, {1, 0, 2}},   // case-insensitive text
        {kTitle, 0, {2, 0, 1}},
        {kPrice, 1, {1, 0, 2}},   // 9 < 10 < 1234: dots are thousands separators
        {kPrice, 0, {2, 0, 1}},
        {kCount, 1, {0, 1, 2}},   // atoi: 1.500 is 1
        {kAdded, 1, {1, 2, 0}},   // no date first
        {kAdded, 0, {0, 2, 1}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(1, m_list.SortBy(c.column, c.ascending));
        EXPECT_EQ(c.data, ItemData()) << "column " << c.column << " ascending " << c.ascending;
        EXPECT_EQ(c.column, m_list.GetHeader()->GetSortColumn());
    }
}

TEST_F(ListSortTest, TextOrderIsNotNumberOrder)
{
    AddRows({{"10", "10"}, {"9", "9"}});
    m_list.SortBy(kTitle, 1);
    EXPECT_EQ((std::vector<std::string>{"10", "9"}), ColumnTexts(kTitle));
    m_list.SortBy(kPrice, 1);
    EXPECT_EQ((std::vector<std::string>{"9", "10"}), ColumnTexts(kPrice));
}

TEST_F(ListSortTest, TiesKeepThePreviousKeysOrder)
{
    AddRows({{"x", "2"}, {"y", "1"}, {"x", "1"}, {"y", "2"}, {"x", "3"}});
    m_list.SortBy(kPrice, 0);
    m_list.SortBy(kTitle, 1);
    EXPECT_EQ((std::vector<DWORD_PTR>{4, 0, 2, 3, 1}), ItemData());
    EXPECT_EQ(kPrice, m_list.GetHeader()->GetPrevSortColumn());
}

TEST_F(ListSortTest, SelectionFocusAndOwnTextsStayWithTheirRows)
{
    AddRows({{"c", "1"}, {"a", "2"}, {"b", "3"}});
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SortBy(kTitle, 1);
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 2, 0}), ItemData());
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(0u, m_list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));

    // A text of its own (not the owner's) moves with its row.
    m_list.SetItemTextEx(0, kPrice, 1, "own");
    m_list.SortBy(kTitle, 0);
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 2, 1}), ItemData());
    EXPECT_EQ((std::vector<std::string>{"1", "3", "own"}), ColumnTexts(kPrice));
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, m_list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
}

TEST_F(ListSortTest, ClicksToggleTheDirectionPerColumn)
{
    AddRows({{"a", "2"}, {"b", "1"}, {"c", "3"}});
    ClickColumn(kTitle);  // first click: the column's last direction, ascending
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1, 2}), ItemData());
    ClickColumn(kTitle);
    EXPECT_EQ((std::vector<DWORD_PTR>{2, 1, 0}), ItemData());
    ClickColumn(kPrice);
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 0, 2}), ItemData());
    EXPECT_EQ(1, m_list.GetHeader()->GetSortAscending());
    ClickColumn(kTitle);  // sorted descending last time: descending again
    EXPECT_EQ((std::vector<DWORD_PTR>{2, 1, 0}), ItemData());
}

TEST_F(ListSortTest, ReSortAppliesPreviousThenCurrentKey)
{
    AddRows({{"x", "2"}, {"y", "1"}, {"x", "1"}});
    m_list.SortBy(kPrice, 1);
    m_list.SortBy(kTitle, 0);
    // The owner refills the list in another order.
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddRows({{"x", "1"}, {"x", "2"}, {"y", "1"}});
    m_list.ReSort();
    EXPECT_EQ((std::vector<DWORD_PTR>{2, 0, 1}), ItemData());
    CLxHeaderCtrl* header = m_list.GetHeader();
    EXPECT_EQ(kTitle, header->GetSortColumn());
    EXPECT_EQ(0, header->GetSortAscending());
    EXPECT_EQ(kPrice, header->GetPrevSortColumn());
    EXPECT_EQ(1, header->GetPrevSortAscending());
}

// Both ways of moving rows (contents, or the list view's own sort once a row
// holds a text of its own) order by both keys of a ReSort at once.
TEST_F(ListSortTest, ReSortOrdersByBothKeysEitherWay)
{
    for (bool ownTexts : {false, true})
    {
        m_list.DeleteAllItems();
        m_owner.m_cells.clear();
        AddRows({{"x", "2"}, {"y", "1"}, {"x", "1"}, {"y", "2"}});
        m_list.SortBy(kPrice, 1);
        m_list.SortBy(kTitle, 0);
        m_list.DeleteAllItems();
        m_owner.m_cells.clear();
        AddRows({{"x", "1"}, {"y", "2"}, {"x", "2"}, {"y", "1"}});
        m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        if (ownTexts)
            m_list.SetItemTextEx(1, kCount, 1, "own");
        m_list.ReSort();
        EXPECT_EQ((std::vector<DWORD_PTR>{3, 1, 0, 2}), ItemData()) << "own texts " << ownTexts;
        EXPECT_EQ(LVIS_SELECTED, m_list.GetItemState(3, LVIS_SELECTED)) << "own texts " << ownTexts;
        EXPECT_EQ(-1, m_list.GetNextItem(3, LVNI_SELECTED));
        if (ownTexts)
            EXPECT_EQ("own", std::string(m_list.GetItemText(1, kCount)));
    }
}

TEST_F(ListSortTest, RefusedSortsTouchNothing)
{
    AddRows({{"b"}, {"a"}});
    CLxColumnManager* manager = m_list.CreateColumnManager();
    manager->DefineColumn(kTitle, "Title", NULL, 0, 100, 0, -1, NULL);
    EXPECT_EQ(0, m_list.SortBy(kTitle, 1));  // defined without the sortable bit
    EXPECT_EQ(0, m_list.SortBy(-1, 1));
    EXPECT_EQ(0, m_list.SortBy(4, 1));
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1}), ItemData());
    EXPECT_EQ(-1, m_list.GetHeader()->GetSortColumn());

    m_list.ModifyLxStyle(kLxStyleSort, 0, 0);
    EXPECT_EQ(1, m_list.SortBy(kPrice, 1));  // sorting off: accepted and ignored
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1}), ItemData());
    EXPECT_EQ(-1, m_list.GetHeader()->GetSortColumn());
}

TEST_F(ListSortTest, OwnerDataListIsNotSorted)
{
    CLxListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED,
                            RECT{0, 0, 200, 100}, &m_owner, kListId + 1));
    list.InsertColumnEx(0, "Title", LVCFMT_LEFT, 100, kSortable);
    list.SetItemCount(3);
    EXPECT_EQ(0, list.SortBy(0, 1));
    EXPECT_EQ(-1, list.GetHeader()->GetSortColumn());
}
}
