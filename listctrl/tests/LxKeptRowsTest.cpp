#include "listctrl/tests/ListFixture.h"

namespace
{
enum { kTitle, kCount };

// The owner also records the item data of the selection changes it is told.
class CRecordingOwner : public CListOwner
{
public:
    std::vector<std::string> m_changes;
    void OnItemChanged(NMHDR* header, LRESULT*)
    {
        const NMLISTVIEW* change = (const NMLISTVIEW*)header;
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) && change->iItem >= 0)
            m_changes.push_back(std::to_string(change->iItem) + " data " + std::to_string(change->lParam));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingOwner, CListOwner)
    ON_NOTIFY(LVN_ITEMCHANGED, kListId, OnItemChanged)
END_MESSAGE_MAP()

// What a caller can see of a list's rows.
struct RowsSeen
{
    std::vector<DWORD_PTR> data;
    std::vector<int> selected;
    int focused;
    int mark;
    bool operator==(const RowsSeen& other) const
    {
        return data == other.data && selected == other.selected && focused == other.focused &&
               mark == other.mark;
    }
};

std::ostream& operator<<(std::ostream& out, const RowsSeen& seen)
{
    out << "data";
    for (DWORD_PTR data : seen.data)
        out << " " << data;
    out << "; selected";
    for (int row : seen.selected)
        out << " " << row;
    return out << "; focused " << seen.focused << "; mark " << seen.mark;
}

// The list view's own rows beside a list that keeps its rows in an
// owner-data list view: every operation must leave both alike.
class KeptRowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, NULL, "list owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1020, 400,
                                     NULL, NULL));
        ASSERT_TRUE(m_plain.Create(kStyle, RECT{0, 0, 500, 360}, &m_owner, kListId));
        ASSERT_TRUE(m_kept.Create(kStyle | LVS_OWNERDATA, RECT{505, 0, 1005, 360}, &m_owner, kListId));
        ASSERT_TRUE(m_kept.KeepRowData());
        for (CLxListCtrl* list : {&m_plain, &m_kept})
        {
            list->InsertColumnEx(kTitle, "Title", LVCFMT_LEFT, 200, kLxColSortable);
            list->InsertColumnEx(kCount, "Count", LVCFMT_LEFT, 100, kLxColSortable | kLxColNumeric);
        }
        for (int i = 0; i < 30; i++)
            m_owner.m_cells.push_back({"title " + std::to_string((i * 7) % 10), std::to_string(i % 4)});
    }
    void TearDown() override
    {
        m_plain.DestroyWindow();
        m_kept.DestroyWindow();
        m_owner.DestroyWindow();
    }
    // Rows with the item data 10 to 15; rows 2 and 4 selected, row 4 focused
    // and the selection mark.
    static void Prepare(CLxListCtrl& list)
    {
        for (int row = 0; row < 6; row++)
            list.InsertItemEx(row, 10 + row);
        list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        list.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetSelectionMark(4);
    }
    static RowsSeen Seen(CLxListCtrl& list)
    {
        RowsSeen seen;
        for (int row = 0; row < list.GetItemCount(); row++)
            seen.data.push_back(list.GetItemData(row));
        for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
            seen.selected.push_back(row);
        seen.focused = list.GetNextItem(-1, LVNI_FOCUSED);
        seen.mark = list.GetSelectionMark();
        return seen;
    }
    static LRESULT Find(CLxListCtrl& list, int start, DWORD_PTR data, UINT flags)
    {
        LVFINDINFOA find = {};
        find.flags = LVFI_PARAM | flags;
        find.lParam = (LPARAM)data;
        return list.FindItem(&find, start);
    }
    static LRESULT SetData(CLxListCtrl& list, int row, DWORD_PTR data)
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = (LPARAM)data;
        return list.SetItem(&item);
    }
    static LRESULT GetData(CLxListCtrl& list, int row)
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.iItem = row;
        item.stateMask = LVIS_SELECTED;
        item.lParam = 99;
        return list.GetItem(&item) ? item.lParam * 10 + (item.state ? 1 : 0) : -1;
    }

    static const DWORD kStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS;
    CRecordingOwner m_owner;
    CLxListCtrl m_plain;
    CLxListCtrl m_kept;
};

TEST_F(KeptRowsTest, ItemMessagesAnswerAsTheListViewsOwnRows)
{
    struct Case
    {
        const char* what;
        std::function<LRESULT(CLxListCtrl&)> operation;
    };
    const Case cases[] = {
        {"insert before the selection", [](CLxListCtrl& l) { return (LRESULT)l.InsertItemEx(1, 77); }},
        {"insert first", [](CLxListCtrl& l) { return (LRESULT)l.InsertItemEx(0, 77); }},
        {"insert after the selection", [](CLxListCtrl& l) { return (LRESULT)l.InsertItemEx(5, 77); }},
        {"insert past the end", [](CLxListCtrl& l) { return (LRESULT)l.InsertItemEx(40, 77); }},
        {"insert at a negative row", [](CLxListCtrl& l) { return (LRESULT)l.InsertItemEx(-2, 77); }},
        {"delete before the selection", [](CLxListCtrl& l) { return (LRESULT)l.DeleteItem(1); }},
        {"delete a selected row", [](CLxListCtrl& l) { return (LRESULT)l.DeleteItem(2); }},
        {"delete the focused row", [](CLxListCtrl& l) { return (LRESULT)l.DeleteItem(4); }},
        {"delete past the end", [](CLxListCtrl& l) { return (LRESULT)l.DeleteItem(6); }},
        {"delete all", [](CLxListCtrl& l) { return (LRESULT)l.DeleteAllItems(); }},
        {"item data set", [](CLxListCtrl& l) { return SetData(l, 3, 55); }},
        {"item data set past the end", [](CLxListCtrl& l) { return SetData(l, 6, 55); }},
        {"item data of a selected row", [](CLxListCtrl& l) { return GetData(l, 2); }},
        {"item data past the end", [](CLxListCtrl& l) { return GetData(l, 6); }},
        {"find from the start", [](CLxListCtrl& l) { return Find(l, -1, 13, 0); }},
        {"find after the row", [](CLxListCtrl& l) { return Find(l, 3, 13, 0); }},
        {"find after the row, wrapping", [](CLxListCtrl& l) { return Find(l, 3, 13, LVFI_WRAP); }},
        {"find what no row has", [](CLxListCtrl& l) { return Find(l, -1, 99, LVFI_WRAP); }},
        {"count as a hint", [](CLxListCtrl& l) {
             l.SetItemCount(50);
             return (LRESULT)l.GetItemCount();
         }},
    };
    for (const Case& c : cases)
    {
        m_plain.DeleteAllItems();
        m_kept.DeleteAllItems();
        Prepare(m_plain);
        Prepare(m_kept);
        LRESULT expected = c.operation(m_plain);
        EXPECT_EQ(expected, c.operation(m_kept)) << c.what;
        EXPECT_EQ(Seen(m_plain), Seen(m_kept)) << c.what;
    }
}

// Sorts move the item data with the selected and focused states, and the
// selection mark with its row, as on the list view's own rows.
TEST_F(KeptRowsTest, SortsMoveRowsWithTheirStates)
{
    std::vector<DWORD_PTR> rows;
    for (DWORD_PTR data = 0; data < 30; data++)
        rows.push_back(data);
    struct Case
    {
        int column;
        int ascending;
    };
    const Case cases[] = {{kTitle, 1}, {kTitle, 0}, {kCount, 1}, {kCount, 0}};
    for (CLxListCtrl* list : {&m_plain, &m_kept})
    {
        list->SetRows(rows);
        list->SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
        list->SetItemState(17, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list->SetSelectionMark(17);
    }
    for (const Case& c : cases)
    {
        EXPECT_EQ(m_plain.SortBy(c.column, c.ascending), m_kept.SortBy(c.column, c.ascending));
        EXPECT_EQ(Seen(m_plain), Seen(m_kept)) << "column " << c.column << " ascending " << c.ascending;
    }
    m_plain.ReSort();
    m_kept.ReSort();
    EXPECT_EQ(Seen(m_plain), Seen(m_kept)) << "ReSort";
}

// A refill from any number of rows leaves the new rows only, none selected
// or focused, no selection mark, scrolled to the top.
TEST_F(KeptRowsTest, RefillLeavesOnlyTheNewRows)
{
    std::vector<DWORD_PTR> many(30), few = {4, 2};
    for (size_t i = 0; i < many.size(); i++)
        many[i] = many.size() - i - 1;
    const std::vector<DWORD_PTR> cases[] = {few, many, {}, few};
    m_kept.SetRows(many);
    for (const std::vector<DWORD_PTR>& rows : cases)
    {
        m_kept.SetItemState(m_kept.GetItemCount() - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_kept.SetSelectionMark(m_kept.GetItemCount() - 1);
        m_kept.EnsureVisible(m_kept.GetItemCount() - 1, FALSE);
        m_kept.SetRows(rows);
        EXPECT_EQ((RowsSeen{rows, {}, -1, -1}), Seen(m_kept)) << rows.size() << " rows";
        EXPECT_EQ(0, m_kept.GetTopIndex()) << rows.size() << " rows";
    }
}

// The owner's texts, its notifications and the list's own searches carry
// the rows' item data, which the owner-data list view never holds.
TEST_F(KeptRowsTest, OwnerSeesTheItemDataOfEachRow)
{
    m_kept.SetRows({7, 3, 12});
    std::vector<std::string> texts;
    for (int row = 0; row < 3; row++)
        texts.push_back((LPCSTR)m_kept.GetItemText(row, kTitle));
    EXPECT_EQ((std::vector<std::string>{"title 9", "title 1", "title 4"}), texts);

    m_kept.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    m_kept.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ((std::vector<std::string>{"2 data 12", "0 data 7"}), m_owner.m_changes);

    // Type-ahead in the sort column: the counts are 3, 3 and 0.
    m_kept.SetItemState(-1, 0, LVIS_SELECTED);
    m_kept.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    m_kept.GetHeader()->SetSortImage(kCount, 1);
    EXPECT_TRUE(m_kept.TypeAheadSearch('0'));
    EXPECT_EQ(2, m_kept.GetNextItem(-1, LVNI_FOCUSED));
}

TEST_F(KeptRowsTest, OnlyAnOwnerDataListWithoutCategoriesKeepsRows)
{
    CLxListCtrl list;
    EXPECT_FALSE(list.KeepRowData()) << "no window";
    EXPECT_FALSE(m_plain.KeepRowData()) << "no owner data";
    EXPECT_FALSE(m_plain.KeepsRowData());

    m_kept.SetRows({1, 2});
    m_kept.EnableCategoryView(true);
    EXPECT_EQ(nullptr, m_kept.GetCategoryManager());
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 2}), Seen(m_kept).data);
    EXPECT_FALSE(m_kept.SetItemText(0, kTitle, "own")) << "a text of its own is not kept";
    EXPECT_TRUE(m_kept.SetItemText(0, kTitle, LPSTR_TEXTCALLBACKA));
}
}
