#include "listctrl/tests/ListFixture.h"

namespace
{
class ListRowsTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, kLxColSortable}});
        for (int i = 0; i < 60; i++)
            m_owner.m_cells.push_back({"row " + std::to_string(i)});
    }
    static std::vector<DWORD_PTR> Run(DWORD_PTR first, int count)
    {
        std::vector<DWORD_PTR> data(count);
        for (int i = 0; i < count; i++)
            data[i] = first + i;
        return data;
    }
};

// Whether the rows are written over, added to, cut or made anew, the list
// ends as an emptied and refilled one: the new rows only, none selected or
// focused, no selection mark, the first row at the top.
TEST_F(ListRowsTest, RefillLeavesOnlyTheNewRows)
{
    struct Case
    {
        const char* what;
        int before;
        std::vector<DWORD_PTR> after;
    };
    const Case cases[] = {
        {"same count", 40, Run(20, 40)},
        {"more rows", 30, Run(5, 50)},
        {"a few less", 40, Run(10, 30)},
        {"most rows gone", 50, Run(7, 3)},
        {"emptied", 20, {}},
        {"from empty", 0, Run(0, 10)},
    };
    for (const Case& c : cases)
    {
        m_list.SetRows(Run(0, c.before));
        if (c.before > 0)
        {
            m_list.SetItemState(c.before - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_list.SetSelectionMark(c.before - 1);
            m_list.EnsureVisible(c.before - 1, FALSE);
        }
        m_list.SetRows(c.after);
        EXPECT_EQ(c.after, ItemData()) << c.what;
        EXPECT_EQ(-1, m_list.GetNextItem(-1, LVNI_SELECTED)) << c.what;
        EXPECT_EQ(-1, m_list.GetNextItem(-1, LVNI_FOCUSED)) << c.what;
        EXPECT_EQ(-1, m_list.GetSelectionMark()) << c.what;
        EXPECT_EQ(0, m_list.GetTopIndex()) << c.what;
        if (!c.after.empty())
            EXPECT_EQ("row " + std::to_string(c.after.back()), ColumnTexts(0).back()) << c.what;
    }
}

// A row with a text of its own is not written over: its text would stay
// beside the new item data.
TEST_F(ListRowsTest, OwnTextsGoWithTheRefill)
{
    m_list.SetRows(Run(0, 3));
    m_list.SetItemTextEx(1, 0, 1, "own");
    m_list.SetRows(Run(10, 3));
    EXPECT_EQ((std::vector<std::string>{"row 10", "row 11", "row 12"}), ColumnTexts(0));
}
}
