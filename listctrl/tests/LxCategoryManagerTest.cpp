#include "listctrl/tests/ListFixture.h"

#include "listctrl/LxCategoryManager.h"

#include <string>
#include <vector>

namespace
{
// Files each item under the text category named by its genre, making the
// category on first use; filing twice shows what a careless owner does.
class CGenreOwner : public CWnd
{
public:
    std::vector<std::string> m_genres;  // by item data
    bool m_fileTwice = false;
    std::vector<bool> m_added;

    void File(CLxCategoryManager* manager, DWORD_PTR* itemData)
    {
        const char* genre = m_genres[*itemData].c_str();
        int category = manager->FindTextCategory(genre);
        if (category < 0)
            category = manager->AddTextCategory(genre, genre);
        m_added.push_back(manager->AddItemToCategory(category, *itemData));
        if (m_fileTwice)
            m_added.push_back(manager->AddItemToCategory(category, *itemData));
    }
};

class CategoryManagerTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, 0}});
    }
    void AddGenres(const std::vector<std::string>& genres)
    {
        for (const std::string& genre : genres)
        {
            AddRows({{genre}});
            m_genres.m_genres.push_back(genre);
        }
    }
    CLxCategoryManager* MakeManager()
    {
        return new CLxCategoryManager(&m_genres, static_cast<LxCategorizeItem>(&CGenreOwner::File),
                                      NULL);
    }
    // A click in column 0 of a row, as the list view reports it: the list
    // finds the cell at the position of the last message, a posted one.
    void ClickColumn0(int row)
    {
        CRect cell;
        ASSERT_TRUE(m_list.GetItemRect(row, &cell, LVIR_BOUNDS));
        CPoint point(cell.left + 5, cell.CenterPoint().y);
        m_list.ClientToScreen(&point);
        ::SetCursorPos(point.x, point.y);
        m_list.PostMessage(WM_NULL);
        PumpMessages();
        NMHDR click = {m_list.m_hWnd, kListId, NM_CLICK};
        m_owner.SendMessage(WM_NOTIFY, kListId, (LPARAM)&click);
    }

    CGenreOwner m_genres;
};

TEST_F(CategoryManagerTest, CategoryRowsCountTheirItems)
{
    AddGenres({"Rock", "Jazz", "Jazz", "Jazz"});
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    manager->AddTextCategory("Pop", "Pop");
    EXPECT_EQ(4, manager->Categorize(m_list));
    EXPECT_EQ((std::vector<std::string>{"Categoria: Pop (0 elementi)",
                                        "Categoria: Rock (1 elemento)",
                                        "Categoria: Jazz (3 elementi)"}),
              Rows(*manager));
}

TEST_F(CategoryManagerTest, ExpandCollapseAndFlatten)
{
    AddGenres({"Rock", "Jazz", "Rock", "Jazz"});
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    manager->Categorize(m_list);
    manager->Expand(0, 0, m_list);
    manager->Expand(1, 3, m_list);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)", "item 0", "item 2",
                                        "Categoria: Jazz (2 elementi)", "item 1", "item 3"}),
              Rows(*manager));
    // The last category's collapse deletes every row after it; the first
    // stops at the next category row.
    manager->Collapse(1, 3, m_list);
    manager->Collapse(0, 0, m_list);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)",
                                        "Categoria: Jazz (2 elementi)"}),
              Rows(*manager));
    manager->Flatten(m_list);
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1, 2, 3}), ItemData());
    EXPECT_EQ("Categoria: Rock (0 elementi)", std::string(manager->CategoryText(0)));
}

TEST_F(CategoryManagerTest, AddItemUpdatesOrAppendsItsCategory)
{
    AddGenres({"Rock", "Jazz"});
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    manager->Categorize(m_list);
    manager->GetCategory(0)->expanded = true;
    manager->Rebuild(m_list);
    m_genres.m_genres = {"Rock", "Jazz", "Rock", "Jazz", "Blues"};
    struct Case
    {
        DWORD_PTR item;
        int row;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {2, 1,  // expanded: the new row goes right below the category row
         {"Categoria: Rock (2 elementi)", "item 2", "item 0", "Categoria: Jazz (1 elemento)"}},
        {3, -1,  // collapsed: only the count changes
         {"Categoria: Rock (2 elementi)", "item 2", "item 0", "Categoria: Jazz (2 elementi)"}},
        {4, -1,  // a new category: its row at the end
         {"Categoria: Rock (2 elementi)", "item 2", "item 0", "Categoria: Jazz (2 elementi)",
          "Categoria: Blues (1 elemento)"}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.row, manager->AddItem(m_list, c.item)) << "item " << c.item;
        EXPECT_EQ(c.rows, Rows(*manager)) << "item " << c.item;
    }
}

TEST_F(CategoryManagerTest, CategorizeAgainFilesTheItemsNotTheCategoryRows)
{
    AddGenres({"Rock", "Jazz", "Rock"});
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    manager->Categorize(m_list);
    manager->GetCategory(0)->expanded = true;
    manager->Rebuild(m_list);
    EXPECT_EQ(3, (int)m_genres.m_added.size());
    m_genres.m_added.clear();
    manager->Categorize(m_list);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)", "item 0", "item 2",
                                        "Categoria: Jazz (1 elemento)"}),
              Rows(*manager));
    EXPECT_EQ(std::vector<bool>(3, true), m_genres.m_added);
}

TEST_F(CategoryManagerTest, FilingBeyondEveryItemIsRefused)
{
    AddGenres({"Rock"});
    m_genres.m_fileTwice = true;
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    manager->Categorize(m_list);
    EXPECT_EQ((std::vector<bool>{true, false}), m_genres.m_added);
    EXPECT_FALSE(manager->AddItemToCategory(5, 0));
    EXPECT_FALSE(manager->AddItemToCategory(-1, 0));
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (1 elemento)"}), Rows(*manager));
}

TEST_F(CategoryManagerTest, AThousandCategoriesKeepEveryItem)
{
    std::vector<std::string> genres;
    for (int i = 0; i < 1000; i++)
        genres.push_back("G" + std::to_string(i));
    // Wine's list view repaints at every row it inserts while redrawing is on.
    m_list.SetRedraw(FALSE);
    AddGenres(genres);
    m_list.SetRedraw(TRUE);
    std::unique_ptr<CLxCategoryManager> manager(MakeManager());
    EXPECT_EQ(1000, manager->Categorize(m_list));
    std::vector<std::string> rows = Rows(*manager);
    ASSERT_EQ(1000u, rows.size());
    EXPECT_EQ("Categoria: G999 (1 elemento)", rows.back());
    // One more, of a category not seen yet: its row goes to the end.
    m_genres.m_genres.push_back("New");
    EXPECT_EQ(-1, manager->AddItem(m_list, 1000));
    EXPECT_EQ("Categoria: New (1 elemento)", Rows(*manager).back());
    manager->Flatten(m_list);
    std::vector<DWORD_PTR> data = ItemData();
    ASSERT_EQ(1001u, data.size());
    for (DWORD_PTR i = 0; i < data.size(); i++)
        EXPECT_EQ(i, data[i]);
}

TEST_F(CategoryManagerTest, WithoutCallbacksOnlyEmptyCategoryRows)
{
    AddGenres({"Rock", "Jazz"});
    CLxCategoryManager manager(&m_genres, NULL, NULL);
    manager.AddTextCategory("Rock", "Rock");
    manager.GetCategory(0)->expanded = true;
    EXPECT_EQ(2, manager.Categorize(m_list));
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (0 elementi)"}), Rows(manager));
}

// With category view on, every row takes the larger of the two category
// heights, whichever is set; off, rows keep the font's height.
TEST_F(CategoryManagerTest, CategoryRowHeightsSetTheRowsInCategoryView)
{
    m_list.DeleteAllColumns();
    AddColumns({{"", 0, 0}, {"Genre", 100, 0}});
    AddRows({{"", "Rock"}, {"", "Jazz"}});
    FileByColumn(1);
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    const int plain = row.Height();
    const struct
    {
        const char* name;
        bool categoryView;
        int heightA, heightB;
        int expected;
    } cases[] = {
        {"A the larger", true, 26, 16, 26},
        {"B the larger", true, 12, 22, 22},
        {"off", false, 30, 30, plain},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_list.EnableCategoryView(c.categoryView);
        m_list.SetCategoryRowHeight(c.heightA);
        m_list.SetRowHeightLimits(c.heightB, true);
        ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
        EXPECT_EQ(c.expected, row.Height());
    }
}

TEST_F(CategoryManagerTest, CategoryViewOnAndOff)
{
    m_list.DeleteAllColumns();
    AddColumns({{"", 0, 0}, {"Genre", 100, 0}});
    AddRows({{"", "Rock"}, {"", "Jazz"}});
    FileByColumn(1);
    m_list.EnableCategoryView(true);
    ASSERT_NE(nullptr, m_list.GetCategoryManager());
    EXPECT_EQ(18, m_list.GetColumnWidth(0));
    m_list.SetRowHeightLimits(21, true);
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_EQ(21, row.Height());  // the larger category height, not the font's
    m_owner.m_cells.push_back({"", "Rock"});
    EXPECT_EQ(-1, m_list.InsertItemEx(0, 2));  // filed under Rock, collapsed
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)",
                                        "Categoria: Jazz (1 elemento)"}),
              Rows(*m_list.GetCategoryManager()));
    ClickColumn0(0);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)", "item 0", "item 2",
                                        "Categoria: Jazz (1 elemento)"}),
              Rows(*m_list.GetCategoryManager()));
    ClickColumn0(0);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)",
                                        "Categoria: Jazz (1 elemento)"}),
              Rows(*m_list.GetCategoryManager()));
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    m_list.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)",
                                        "Categoria: Jazz (1 elemento)", "item 1"}),
              Rows(*m_list.GetCategoryManager()));
    m_list.EnableCategoryView(false);
    EXPECT_EQ(nullptr, m_list.GetCategoryManager());
    EXPECT_EQ(0, m_list.GetColumnWidth(0));
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1, 2}), ItemData());
}

// Category view on a list of genre and title, every category open.
class CategoryViewTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"", 0, 0}, {"Genre", 100, 0}, {"Title", 100, 0}});
        AddRows({{"", "Rock", "b"}, {"", "Jazz", "c"}, {"", "Rock", "a"}, {"", "Jazz", "a"}});
        FileByColumn(1);
        m_list.EnableCategoryView(true);
        CLxCategoryManager& manager = *m_list.GetCategoryManager();
        for (int i = 0; i < manager.GetCategoryCount(); i++)
            manager.GetCategory(i)->expanded = true;
        manager.Rebuild(m_list);
    }
    std::vector<std::string> Rows() { return ListTest::Rows(*m_list.GetCategoryManager()); }
    void DoubleClick(int row, int column)
    {
        CRect cell;
        ASSERT_TRUE(m_list.GetCellRect(row, column, &cell));
        m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                           MAKELPARAM(cell.left + 3, cell.CenterPoint().y));
    }
};

TEST_F(CategoryViewTest, SortingKeepsItemsUnderTheirCategories)
{
    const struct
    {
        int ascending;
        std::vector<std::string> rows;
    } cases[] = {
        {1, {"Categoria: Rock (2 elementi)", "item 2", "item 0", "Categoria: Jazz (2 elementi)",
             "item 3", "item 1"}},
        {0, {"Categoria: Rock (2 elementi)", "item 0", "item 2", "Categoria: Jazz (2 elementi)",
             "item 1", "item 3"}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(1, m_list.SortBy(2, c.ascending));
        EXPECT_EQ(c.rows, Rows()) << "ascending " << c.ascending;
    }
    m_list.EnableCategoryView(false);
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 0, 2, 3}), ItemData());  // the last sort, descending
}

TEST_F(CategoryViewTest, DeletedItemNeverComesBack)
{
    EXPECT_TRUE(m_list.DeleteItemEx(0, 2));
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (1 elemento)", "item 0",
                                        "Categoria: Jazz (2 elementi)", "item 1", "item 3"}),
              Rows());
    EXPECT_FALSE(m_list.DeleteItemEx(0, 2));
    m_list.SortBy(2, 1);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (1 elemento)", "item 0",
                                        "Categoria: Jazz (2 elementi)", "item 3", "item 1"}),
              Rows());
    m_list.EnableCategoryView(false);
    EXPECT_EQ((std::vector<DWORD_PTR>{3, 0, 1}), ItemData());
}

TEST_F(CategoryViewTest, CellTextsReachEveryRowOfTheItem)
{
    // Item 2 filed twice: under "All" and under "Other" with every item.
    m_owner.m_categorize = [](CLxCategoryManager* manager, DWORD_PTR* itemData) {
        for (const char* name : {"All", "Other"})
        {
            if (!strcmp(name, "All") && *itemData != 2)
                continue;
            int category = manager->FindTextCategory(name);
            if (category < 0)
                category = manager->AddTextCategory(name, name);
            manager->AddItemToCategory(category, *itemData);
        }
    };
    m_list.EnableCategoryView(false);
    m_list.EnableCategoryView(true);
    CLxCategoryManager& manager = *m_list.GetCategoryManager();
    for (int i = 0; i < manager.GetCategoryCount(); i++)
        manager.GetCategory(i)->expanded = true;
    manager.Rebuild(m_list);
    std::vector<int> rows;
    for (int row = 0; row < m_list.GetItemCount(); row++)
        if (m_list.GetItemData(row) == 2)
            rows.push_back(row);
    ASSERT_EQ(2u, rows.size());
    m_list.SetItemTextEx(rows[0], 2, 2, "fixed");
    for (int row : rows)
        EXPECT_EQ("fixed", std::string(m_list.GetItemText(row, 2))) << "row " << row;
    m_list.InvalidateItemText(rows[1], 2, 2);
    for (int row : rows)
        EXPECT_EQ("a", std::string(m_list.GetItemText(row, 2))) << "row " << row;
}

TEST_F(CategoryViewTest, DoubleClickOutsideColumnZeroToggles)
{
    DoubleClick(0, 1);
    EXPECT_EQ((std::vector<std::string>{"Categoria: Rock (2 elementi)",
                                        "Categoria: Jazz (2 elementi)", "item 1", "item 3"}),
              Rows());
    DoubleClick(0, 2);
    EXPECT_EQ(6u, Rows().size());
    EXPECT_TRUE(m_owner.m_events.empty());  // nothing forwarded to the owner
}

TEST(CategoryFind, RangesIncludeLowAndExcludeHigh)
{
    CLxCategoryManager manager(NULL, NULL, NULL);
    manager.AddTextCategory("Rock", "Rock");
    manager.AddNumberRangeCategory("Low", 0, 10);
    manager.AddNumberRangeCategory("High", 10, 20);
    manager.AddTimeRangeCategory("Old", 100, 200);
    EXPECT_EQ(0, manager.FindTextCategory("Rock"));
    EXPECT_EQ(-1, manager.FindTextCategory("rock"));
    EXPECT_EQ(1, manager.FindNumberCategory(0));
    EXPECT_EQ(2, manager.FindNumberCategory(10));
    EXPECT_EQ(-1, manager.FindNumberCategory(20));
    EXPECT_EQ(3, manager.FindTimeCategory(100));
    EXPECT_EQ(-1, manager.FindTimeCategory(200));
    EXPECT_EQ(-1, manager.IndexOfCategory(&manager));
}
}  // namespace
