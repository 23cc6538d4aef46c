#include "listctrl/tests/ListFixture.h"

#include <string.h>

namespace
{
const char kRegistryKey[] = "ZymListCtrlTest";
const char kAppName[] = "ListApp";
const char kListName[] = "Track List";
const char kSectionPath[] = "Software\\ZymListCtrlTest\\ListApp\\Lists\\Track List";

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(kAppName) {}
    using CWinApp::SetRegistryKey;
};

CTestApp g_app;

void DeleteTestKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
}

bool ReadDword(const char* name, DWORD* value)
{
    DWORD size = sizeof(*value);
    return RegGetValueA(HKEY_CURRENT_USER, kSectionPath, name, RRF_RT_REG_DWORD, NULL, value,
                        &size) == ERROR_SUCCESS;
}

std::string ReadString(const char* name)
{
    char text[256] = "";
    DWORD size = sizeof(text);
    if (RegGetValueA(HKEY_CURRENT_USER, kSectionPath, name, RRF_RT_REG_SZ, NULL, text, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return text;
}

void WriteDword(const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSectionPath, name, REG_DWORD, &value, sizeof(value));
}

// The album list's kind of columns: ids are not display positions.
class ColumnManagerTest : public ListTest
{
protected:
    void SetUp() override
    {
        DeleteTestKey();
        g_app.SetRegistryKey(kRegistryKey);
        ListTest::SetUp();
        m_manager = DefineColumns(m_list);
    }
    static CLxColumnManager* DefineColumns(CLxListCtrl& list)
    {
        CLxColumnManager* manager = list.CreateColumnManager();
        manager->DefineColumn(2, "Artist", NULL, LVCFMT_LEFT, 80, 0x024, 0, "Artist Name");
        manager->DefineColumn(1, "", NULL, LVCFMT_CENTER, 21, 0x3C0, 1, "Music Type / Status");
        manager->DefineColumn(0, "Title", "T", LVCFMT_LEFT, 120, 0x020, -1, NULL);
        manager->DefineColumn(5, "Added", NULL, LVCFMT_RIGHT, 90, 0x521, -1, "Date Added");
        const int shown[] = {0, 2, 1};
        manager->SetDefaultColumns(3, shown);
        return manager;
    }
    void TearDown() override
    {
        ListTest::TearDown();
        DeleteTestKey();
    }
    std::vector<int> ColumnIds()
    {
        std::vector<int> ids;
        for (int i = 0; i < m_list.GetColumnCount(); i++)
            ids.push_back(m_list.GetColumnId(i));
        return ids;
    }
    std::vector<int> Widths()
    {
        std::vector<int> widths;
        for (int i = 0; i < m_list.GetColumnCount(); i++)
            widths.push_back(m_list.GetColumnWidth(i));
        return widths;
    }

    CLxColumnManager* m_manager = nullptr;
};

TEST_F(ColumnManagerTest, ApplyBuildsColumnsAndMasksById)
{
    m_list.InsertColumnEx(0, "old", LVCFMT_LEFT, 50, 0);
    m_list.InsertColumnEx(1, "older", LVCFMT_LEFT, 50, kLxColEdit);
    const int shown[] = {5, 9, 2, 1};  // 9 has no definition
    m_manager->SetDefaultColumns(4, shown);
    ASSERT_TRUE(m_manager->ApplyToList(m_list));

    EXPECT_EQ((std::vector<int>{5, 2, 1}), ColumnIds());
    EXPECT_EQ((std::vector<int>{90, 80, 21}), Widths());
    EXPECT_EQ(LxColumnBit(2), m_list.m_editMask);  // the old column's bit is gone
    EXPECT_EQ(LxColumnBit(5), m_list.m_dropListMask);
    EXPECT_EQ(LxColumnBit(5), m_list.m_dateMask);
    EXPECT_EQ(LxColumnBit(1), m_list.m_imageMask);
    CLxHeaderCtrl* header = m_list.GetHeader();
    EXPECT_EQ(LxColumnBit(1), header->m_noSortMarkMask);
    EXPECT_EQ(LxColumnBit(1) | LxColumnBit(5), header->m_fixedWidthMask);

    char text[32] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    header->GetItem(2, &item);
    EXPECT_STREQ("1_", text);
    EXPECT_TRUE(item.fmt & HDF_OWNERDRAW);
}

TEST_F(ColumnManagerTest, ProfileKeepsOrderAndWidthsOnly)
{
    m_manager->ApplyToList(m_list);
    int from = 2, to = 1;
    m_list.MoveColumn(&from, &to);
    m_list.SetColumnWidth(2, 140);
    m_list.ReadColumnsFromHeader();
    m_manager->SaveToProfile(kListName);

    struct Value
    {
        const char* name;
        DWORD value;
    };
    const Value values[] = {
        {"NumDef", 3},         {"DefColId 0", 0},       {"DefColId 1", 1},
        {"DefColId 2", 2},     {"DefNum", 4},           {"ColDef_id_0", 2},
        {"ColDef_width_0", 140}, {"ColDef_align_1", 2}, {"ColDef_image_1", 1},
        {"ColDef_dwdata_1", 0x3C0}, {"ColDef_id_3", 5}, {"ColDef_width_3", 90},
    };
    for (const Value& v : values)
    {
        DWORD read = 0xDEAD;
        EXPECT_TRUE(ReadDword(v.name, &read)) << v.name;
        EXPECT_EQ(v.value, read) << v.name;
    }
    EXPECT_EQ("Artist", ReadString("ColDef_text_0"));
    EXPECT_EQ("T", ReadString("ColDef_textdt_2"));
    EXPECT_EQ("", ReadString("ColDef_descr_2"));
    EXPECT_EQ("Music Type / Status", ReadString("ColDef_descr_1"));

    // A fresh list of the same view shows what was saved.
    CLxListCtrl other;
    ASSERT_TRUE(other.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, RECT{0, 0, 300, 100},
                             &m_owner, kListId + 1));
    CLxColumnManager* fresh = DefineColumns(other);
    fresh->LoadFromProfile(kListName);
    other.SetupColumns();
    std::vector<int> ids, widths;
    for (int i = 0; i < other.GetColumnCount(); i++)
    {
        ids.push_back(other.GetColumnId(i));
        widths.push_back(other.GetColumnWidth(i));
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2}), ids);
    EXPECT_EQ((std::vector<int>{120, 21, 140}), widths);
}

struct ProfileValue
{
    const char* name;
    DWORD value;
};

TEST_F(ColumnManagerTest, DamagedSectionsKeepWhatIsUsable)
{
    const DWORD kNegative = (DWORD)-1;
    struct Case
    {
        const char* what;
        std::vector<ProfileValue> values;
        std::vector<int> ids;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"no section", {}, {0, 2, 1}, {120, 80, 21}},
        {"unknown, negative and repeated ids",
         {{"NumDef", 5}, {"DefColId 0", 9}, {"DefColId 1", kNegative}, {"DefColId 2", 2},
          {"DefColId 3", 2}, {"DefColId 4", 0}},
         {2, 0}, {80, 120}},
        {"no usable id", {{"NumDef", 2}, {"DefColId 0", (DWORD)-3}, {"DefColId 1", 44}},
         {0, 2, 1}, {120, 80, 21}},
        {"negative count", {{"NumDef", kNegative}, {"DefNum", kNegative}}, {0, 2, 1},
         {120, 80, 21}},
        {"a count in the millions", {{"NumDef", 5000000}, {"DefColId 0", 5}, {"DefColId 1", 1}},
         {5, 1}, {90, 21}},
        {"absurd widths",
         {{"DefNum", 3}, {"ColDef_id_0", 2}, {"ColDef_width_0", (DWORD)-40}, {"ColDef_id_1", 0},
          {"ColDef_width_1", 5000000}, {"ColDef_id_2", 1}, {"ColDef_width_2", 30}},
         {0, 2, 1}, {120, 80, 30}},
        {"widths in the millions", {{"DefNum", 4000000}, {"ColDef_id_0", 0}, {"ColDef_width_0", 60}},
         {0, 2, 1}, {60, 80, 21}},
    };
    for (const Case& c : cases)
    {
        DeleteTestKey();
        for (const ProfileValue& v : c.values)
            WriteDword(v.name, v.value);
        CLxListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, RECT{0, 0, 300, 100},
                                &m_owner, kListId + 1));
        DefineColumns(list)->LoadFromProfile(kListName);
        list.SetupColumns();
        std::vector<int> ids, widths;
        for (int i = 0; i < list.GetColumnCount(); i++)
        {
            ids.push_back(list.GetColumnId(i));
            widths.push_back(list.GetColumnWidth(i));
        }
        EXPECT_EQ(c.ids, ids) << c.what;
        EXPECT_EQ(c.widths, widths) << c.what;
    }
}

TEST_F(ColumnManagerTest, MovedColumnKeepsItsIdMasksAndTexts)
{
    m_manager->ApplyToList(m_list);
    AddRows({{"title a", "", "artist a"}, {"title b", "", "artist b"}});
    int from = 1, to = 3;  // Artist behind the image column
    m_list.MoveColumn(&from, &to);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), ColumnIds());
    EXPECT_EQ((std::vector<std::string>{"artist a", "artist b"}), ColumnTexts(2));
    EXPECT_EQ(LxColumnBit(2), m_list.m_editMask);

    // Column 0 stays first: dragging it does nothing, a drop before it lands behind it.
    from = 0, to = 2;
    m_list.MoveColumn(&from, &to);
    from = 2, to = 0;
    m_list.MoveColumn(&from, &to);
    EXPECT_EQ((std::vector<int>{0, 2, 1}), ColumnIds());
}

TEST_F(ColumnManagerTest, NeverZeroColumns)
{
    m_manager->ApplyToList(m_list);
    const int unknown[] = {7, 8};
    m_manager->SetDefaultColumns(2, unknown);
    EXPECT_FALSE(m_manager->ApplyToList(m_list));
    EXPECT_EQ((std::vector<int>{0, 2, 1}), ColumnIds());
    EXPECT_FALSE(m_manager->SetDefaultColumns(0, unknown));
    EXPECT_FALSE(m_manager->ApplyToList(m_list));
    EXPECT_EQ(3, m_list.GetColumnCount());
}

TEST_F(ColumnManagerTest, ReadFromHeaderTakesEveryHeaderItem)
{
    m_manager->ApplyToList(m_list);
    m_list.InsertColumnEx(3, "extra", LVCFMT_LEFT, 40, 0, 5);
    m_list.InsertColumnEx(4, "stray", LVCFMT_LEFT, 40, 0, 11);
    m_list.ReadColumnsFromHeader();
    EXPECT_EQ((std::vector<int>{0, 2, 1, 5, 11}), m_manager->GetShownIds());
    EXPECT_EQ(40, m_manager->GetColumn(m_manager->FindColumn(5)).m_width);
}

TEST_F(ColumnManagerTest, ListWithoutHeaderRefuses)
{
    CLxListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_LIST, RECT{0, 0, 300, 100}, &m_owner, kListId + 1));
    CLxColumnManager* manager = DefineColumns(list);
    EXPECT_FALSE(manager->ApplyToList(list));
    EXPECT_FALSE(manager->ReadFromHeader(list));
    EXPECT_EQ(0, list.GetColumnCount());
    EXPECT_EQ(-1, list.GetColumnId(0));
}
}

namespace
{
TEST_F(ColumnManagerTest, SortStateGoesThroughTheProfile)
{
    m_manager->ApplyToList(m_list);
    AddRows({{"b", "", "y"}, {"a", "", "y"}, {"c", "", "x"}});
    m_list.SortBy(0, 0);
    m_list.SortBy(1, 1);
    m_list.SaveSortState(kListName);
    const ProfileValue values[] = {
        {"Sort SubItem", 1}, {"Sort Ascending", 1}, {"Prev Sort SubItem", 0},
        {"Prev Sort Ascending", 0}};
    for (const ProfileValue& v : values)
    {
        DWORD read = 0xDEAD;
        EXPECT_TRUE(ReadDword(v.name, &read)) << v.name;
        EXPECT_EQ(v.value, read) << v.name;
    }

    // The rows come back as inserted; loading the state sorts them again.
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddRows({{"b", "", "y"}, {"a", "", "y"}, {"c", "", "x"}});
    m_list.LoadSortState(kListName);
    EXPECT_EQ((std::vector<DWORD_PTR>{2, 0, 1}), ItemData());

    DeleteTestKey();
    m_list.DeleteAllItems();
    m_owner.m_cells.clear();
    AddRows({{"b"}, {"a"}});
    m_list.LoadSortState(kListName);  // an empty profile leaves the rows as inserted
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 1}), ItemData());
}
}
