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

// An owner may answer a column's texts for all rows at once; one that does
// not, or answers a wrong number of texts, is asked row by row.
TEST_F(ListSortTest, OwnerAnswersAColumnsTextsAtOnce)
{
    AddRows({{"b"}, {"c"}, {"a"}});
    m_list.m_pfnColumnTextsHandler = static_cast<LxColumnTextsHandler>(&CListOwner::ColumnTexts);
    typedef std::vector<CString> Answer;
    struct Case
    {
        const char* name;
        bool answers;
        Answer texts;
        std::vector<DWORD_PTR> data;
    };
    // The texts answered at once (by item data) reverse the rows' own order.
    const Case cases[] = {
        {"answered", true, {"b", "a", "c"}, {1, 0, 2}},
        {"not answered", false, {"b", "a", "c"}, {2, 0, 1}},
        {"no texts", true, {}, {2, 0, 1}},
        {"too few texts", true, {"z"}, {2, 0, 1}},
    };
    for (const Case& c : cases)
    {
        m_owner.m_columnTexts = [&c](int, const std::vector<DWORD_PTR>& rows, std::vector<CString>& texts) {
            for (DWORD_PTR row : rows)
            {
                if (row < c.texts.size())
                    texts.push_back(c.texts[row]);
            }
            return c.answers;
        };
        m_list.SortBy(kTitle, 0);
        m_owner.m_columnTextsAsked.clear();
        m_list.SortBy(kTitle, 1);
        EXPECT_EQ(c.data, ItemData()) << c.name;
        ASSERT_EQ(1u, m_owner.m_columnTextsAsked.size()) << c.name;
        EXPECT_EQ(kTitle, m_owner.m_columnTextsAsked[0].first) << c.name;
    }
}

// The handler gets every row's item data in the list's order, once per key.
TEST_F(ListSortTest, ColumnTextsAreAskedByItemDataPerKey)
{
    AddRows({{"b", "2"}, {"a", "1"}, {"c", "1"}});
    m_list.m_pfnColumnTextsHandler = static_cast<LxColumnTextsHandler>(&CListOwner::ColumnTexts);
    m_owner.m_columnTexts = [this](int columnId, const std::vector<DWORD_PTR>& rows, std::vector<CString>& texts) {
        for (DWORD_PTR row : rows)
            texts.push_back(m_owner.m_cells[row][columnId].c_str());
        return true;
    };
    m_list.SortBy(kTitle, 0);
    m_owner.m_columnTextsAsked.clear();
    m_list.SortBy(kPrice, 1);
    m_list.ReSort();
    const std::vector<DWORD_PTR> byTitleDown = {2, 0, 1};
    const std::vector<DWORD_PTR> byPrice = {2, 1, 0};
    const std::vector<std::pair<int, std::vector<DWORD_PTR>>> asked = {
        {kPrice, byTitleDown}, {kPrice, byPrice}, {kTitle, byPrice}};
    EXPECT_EQ(asked, m_owner.m_columnTextsAsked);
    EXPECT_EQ(byPrice, ItemData());
}

// Rows of one date text sort together, unparsable ones first, however often
// a text repeats.
TEST_F(ListSortTest, RepeatedDatesSortAsOne)
{
    COleDateTime early(2025, 3, 4, 0, 0, 0), late(2026, 12, 10, 0, 0, 0);
    std::string e = (LPCSTR)early.Format("%x"), l = (LPCSTR)late.Format("%x");
    AddRows({{"", "", "", l}, {"", "", "", "x"}, {"", "", "", e}, {"", "", "", l}, {"", "", "", "x"},
             {"", "", "", e}});
    m_list.SortBy(kAdded, 1);
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 4, 2, 5, 0, 3}), ItemData());
    m_list.SortBy(kAdded, 0);
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 3, 2, 5, 1, 4}), ItemData());
}
