// A tool bar's saved title and buttons: the packed "Buttons" value, the three
// stores, and damaged values and archives.
#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"

#include "toolkit/state/TkPTNStrategy.h"
#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"

#include <afxwin.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const char kRegistryKey[] = "ZymToolBarsTest";
const char kSection[] = "CustomTB-Bar0";

class CStateTestApp : public CWinApp
{
public:
    CStateTestApp() : CWinApp("ToolBarStateTest") {}
    using CWinApp::SetRegistryKey;
};

void DeleteTestKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
}

struct Button
{
    UINT id;
    std::vector<BYTE> data;

    bool operator==(const Button& other) const { return id == other.id && data == other.data; }
};

std::ostream& operator<<(std::ostream& out, const Button& button)
{
    return out << "{" << button.id << ", " << button.data.size() << " bytes}";
}

void Fill(TkBtnInfoArray& array, const std::vector<Button>& buttons)
{
    array.DeleteAll();
    for (const Button& button : buttons)
        array.AddInfo(button.id, button.data.data(), (BYTE)button.data.size());
}

std::vector<Button> Buttons(const TkBtnInfoArray& array)
{
    std::vector<Button> buttons;
    for (INT_PTR i = 0; i < array.GetSize(); i++) {
        const TkBtnInfo* info = array.GetInfo(i);
        buttons.push_back({info->m_nID, std::vector<BYTE>(info->m_pData, info->m_pData + info->m_nDataSize)});
    }
    return buttons;
}

std::vector<BYTE> Pack(const TkBtnInfoArray& array)
{
    UINT size = 0;
    BYTE* packed = TkPackButtons(array, &size);
    EXPECT_TRUE(packed != NULL);
    std::vector<BYTE> bytes(packed, packed + size);
    delete[] packed;
    return bytes;
}

std::vector<Button> Parse(const std::vector<BYTE>& bytes)
{
    TkBtnInfoArray array;
    TkParseButtons(bytes.data(), (UINT)bytes.size(), array);
    return Buttons(array);
}

class ToolBarStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteTestKey();
        m_app.SetRegistryKey(kRegistryKey);
    }
    void TearDown() override { DeleteTestKey(); }

    CTempFolder m_folder{"tktoolbars"};
    CStateTestApp m_app;
};

struct Store
{
    const char* name;
    std::function<void(CTempFolder&, TkCustomToolBarInfoEx&)> save;
    std::function<void(CTempFolder&, TkCustomToolBarInfoEx&)> load;
};

void SaveTree(CTempFolder& folder, TkCustomToolBarInfoEx& info)
{
    TkPersistentTreeNode root;
    root.Initialize("Bar-0", NULL);
    TkPTNFactory factory;
    EXPECT_TRUE(info.SaveStateToTree(&factory, &root));
    TkPTNStrategyProfile strategy(folder.WindowsPath("tree.ini").c_str());
    EXPECT_EQ(1, root.SaveToStrategy(&strategy));
}

void LoadTree(CTempFolder& folder, TkCustomToolBarInfoEx& info)
{
    TkPersistentTreeNode root;
    root.Initialize("Bar-0", NULL);
    TkPTNStrategyProfile strategy(folder.WindowsPath("tree.ini").c_str());
    ASSERT_EQ(1, root.LoadFromStrategy(&strategy));
    EXPECT_TRUE(info.LoadStateFromTree(&root));
}

const Store kStores[] = {
    {"profile", [](CTempFolder&, TkCustomToolBarInfoEx& info) { EXPECT_TRUE(info.SaveStateToProfile(kSection)); },
     [](CTempFolder&, TkCustomToolBarInfoEx& info) { EXPECT_TRUE(info.LoadStateFromProfile(kSection, NULL)); }},
    {"tree", SaveTree, LoadTree},
    {"archive",
     [](CTempFolder& folder, TkCustomToolBarInfoEx& info) {
         CFile file(folder.WindowsPath("state.bin").c_str(), CFile::modeCreate | CFile::modeWrite);
         CArchive ar(&file, CArchive::store);
         info.Serialize(ar, NULL);
     },
     [](CTempFolder& folder, TkCustomToolBarInfoEx& info) {
         CFile file(folder.WindowsPath("state.bin").c_str(), CFile::modeRead);
         CArchive ar(&file, CArchive::load);
         info.Serialize(ar, NULL);
     }},
};

struct Record
{
    const char* name;
    const char* title;
    std::vector<Button> buttons;
};

const Record kRecords[] = {
    {"no buttons", "Empty", {}},
    {"buttons and a separator", "Standard", {{100, {}}, {0, {}}, {101, {}}}},
    {"buttons with data", "Data", {{7, {1, 2, 3}}, {0xFFFFFFFF, std::vector<BYTE>(255, 0xA5)}, {8, {}}}},
};

}  // namespace

TEST(SavedButtons, PackOneRecordPerButtonAndParseBack)
{
    TkBtnInfoArray array;
    Fill(array, {{100, {}}, {0, {}}, {101, {}}});
    const std::vector<BYTE> expected = {0x64, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x65, 0, 0, 0, 0};
    EXPECT_EQ(expected, Pack(array));

    Fill(array, {{0x12345678, {9, 8}}});
    const std::vector<BYTE> withData = {0x78, 0x56, 0x34, 0x12, 2, 9, 8};
    EXPECT_EQ(withData, Pack(array));
    EXPECT_EQ(Buttons(array), Parse(withData));
}

// Only complete records come back; whatever follows the first damaged one is
// dropped, and nothing past the value is read.
TEST(SavedButtons, DamagedValuesKeepTheirCompleteRecords)
{
    const struct
    {
        const char* name;
        std::vector<BYTE> bytes;
        std::vector<Button> buttons;
    } kCases[] = {
        {"empty", {}, {}},
        {"id cut", {0x64, 0, 0}, {}},
        {"size byte missing", {0x64, 0, 0, 0}, {}},
        {"data cut", {0x64, 0, 0, 0, 3, 1, 2}, {}},
        {"size past the end", {0x64, 0, 0, 0, 0, 0x65, 0, 0, 0, 0xFF, 1}, {{100, {}}}},
        {"second record cut", {0x64, 0, 0, 0, 1, 7, 0x65, 0}, {{100, {7}}}},
        {"highest id", {0xFF, 0xFF, 0xFF, 0xFF, 0}, {{0xFFFFFFFF, {}}}},
        {"all ones", std::vector<BYTE>(5, 0xFF), {}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.buttons, Parse(c.bytes)) << c.name;

    TkBtnInfoArray none;
    EXPECT_EQ(0, TkParseButtons(NULL, 40, none));
    EXPECT_EQ(0, none.GetSize());
}

// Random, cut and mutated values of any length: what is read packs back to
// the start of the value, and what is left is less than one whole record.
TEST(SavedButtons, MutatedValuesParseToAPrefixOfTheValue)
{
    TkBtnInfoArray sound;
    Fill(sound, {{100, {}}, {0, {}}, {101, {4, 5, 6}}, {102, std::vector<BYTE>(40, 1)}, {103, {}}});
    const std::vector<BYTE> original = Pack(sound);
    std::minstd_rand random(35);
    for (int round = 0; round < 2000; round++) {
        std::vector<BYTE> bytes;
        if (round % 2 == 0) {
            bytes = original;
            for (int n = 1 + random() % 4; n > 0; n--)
                bytes[random() % bytes.size()] = (BYTE)random();
            bytes.resize(random() % (bytes.size() + 1));
        } else {
            bytes.resize(random() % 600);
            for (BYTE& b : bytes)
                b = (BYTE)random();
        }
        TkBtnInfoArray array;
        int count = TkParseButtons(bytes.data(), (UINT)bytes.size(), array);
        ASSERT_EQ(count, array.GetSize());
        std::vector<BYTE> packed = Pack(array);
        ASSERT_LE(packed.size(), bytes.size()) << round;
        ASSERT_TRUE(std::equal(packed.begin(), packed.end(), bytes.begin())) << round;
        size_t left = bytes.size() - packed.size();
        ASSERT_TRUE(left < 5 || left < 5u + bytes[packed.size() + 4]) << round;
    }
}

TEST_F(ToolBarStateTest, RecordsRoundTripThroughEveryStore)
{
    for (const Store& store : kStores) {
        for (const Record& record : kRecords) {
            SCOPED_TRACE(std::string(store.name) + ": " + record.name);
            TkCustomToolBarInfoEx saved;
            saved.m_strTitle = record.title;
            Fill(saved.m_arrButtons, record.buttons);
            store.save(m_folder, saved);

            TkCustomToolBarInfoEx loaded;
            Fill(loaded.m_arrButtons, {{55, {}}});
            store.load(m_folder, loaded);
            EXPECT_STREQ(record.title, loaded.m_strTitle);
            EXPECT_EQ(record.buttons, Buttons(loaded.m_arrButtons));
        }
    }
}

TEST_F(ToolBarStateTest, EmptyTitleIsNotWrittenAndMissingButtonsLeaveTheBarEmpty)
{
    TkCustomToolBarInfoEx saved;
    Fill(saved.m_arrButtons, {{100, {}}});
    ASSERT_TRUE(saved.SaveStateToProfile(kSection));
    EXPECT_EQ("default", m_app.GetProfileString(kSection, "Title", "default"));

    m_app.WriteProfileString(kSection, NULL, NULL);
    TkCustomToolBarInfoEx loaded;
    loaded.m_strTitle = "Old";
    Fill(loaded.m_arrButtons, {{55, {}}});
    EXPECT_TRUE(loaded.LoadStateFromProfile(kSection, NULL));
    EXPECT_STREQ("", loaded.m_strTitle);
    EXPECT_EQ(0, loaded.m_arrButtons.GetSize());
}

// A profile that cannot hold the buttons (an ini file takes no binary values)
// must say so rather than let the bar come back empty.
TEST_F(ToolBarStateTest, SaveThatCannotStoreTheButtonsFails)
{
    CStateTestApp iniApp;
    free((void*)iniApp.m_pszProfileName);
    iniApp.m_pszProfileName = strdup(m_folder.WindowsPath("bars.ini").c_str());
    TkCustomToolBarInfoEx saved;
    saved.m_strTitle = "Standard";
    Fill(saved.m_arrButtons, {{100, {}}});
    EXPECT_FALSE(saved.SaveStateToProfile(kSection));
}

TEST_F(ToolBarStateTest, TreeNeedsTheToolBarNodeAndKeepsSoundRecordsOfADamagedValue)
{
    TkPersistentTreeNode root;
    root.Initialize("Bar-0", NULL);
    TkCustomToolBarInfoEx info;
    EXPECT_FALSE(info.LoadStateFromTree(&root));
    EXPECT_FALSE(info.LoadStateFromTree(NULL));

    TkPTNFactory factory;
    TkPersistentTreeNode* child = factory.CreateChildNode("ToolBarInfoEx", &root);
    ASSERT_TRUE(child != NULL);
    const BYTE cut[] = {0x64, 0, 0, 0, 0, 0x65, 0, 0, 0, 9, 1};
    child->SetBinaryValue("Buttons", cut, sizeof(cut), TRUE);
    ASSERT_TRUE(info.LoadStateFromTree(&root));
    EXPECT_EQ((std::vector<Button>{{100, {}}}), Buttons(info.m_arrButtons));
}

TEST_F(ToolBarStateTest, ArchiveCutAnywhereFailsAndChangesNothing)
{
    TkCustomToolBarInfoEx saved;
    saved.m_strTitle = "Standard";
    Fill(saved.m_arrButtons, {{100, {}}, {0, {}}, {101, {1, 2}}});
    CMemFile memory;
    {
        CArchive ar(&memory, CArchive::store);
        saved.SerializeInfo(ar);
    }
    UINT length = (UINT)memory.GetLength();
    BYTE* bytes = memory.Detach();
    for (UINT cut = 0; cut < length; cut++) {
        TkCustomToolBarInfoEx loaded;
        loaded.m_strTitle = "Old";
        Fill(loaded.m_arrButtons, {{55, {}}});
        CMemFile part(bytes, cut);
        CArchive ar(&part, CArchive::load);
        bool failed = false;
        try {
            loaded.SerializeInfo(ar);
        } catch (CException* error) {
            error->Delete();
            failed = true;
        }
        EXPECT_TRUE(failed) << cut;
        EXPECT_STREQ("Old", loaded.m_strTitle) << cut;
        EXPECT_EQ((std::vector<Button>{{55, {}}}), Buttons(loaded.m_arrButtons)) << cut;
    }
    free(bytes);
}

// Values of the wrong type or of any length: the record loads, keeping the
// complete button records there are.
TEST_F(ToolBarStateTest, HostileStoredValuesLoadWithoutHarm)
{
    std::vector<BYTE> big(65536);
    std::minstd_rand random(104);
    for (BYTE& b : big)
        b = (BYTE)random();
    const BYTE one[] = {0x64};
    const BYTE sound[] = {0x64, 0, 0, 0, 0, 0x65, 0, 0};
    const struct
    {
        const char* name;
        std::function<void(CWinApp&)> write;
        size_t buttons;
    } kCases[] = {
        {"text", [](CWinApp& app) { app.WriteProfileString(kSection, "Buttons", "100,0,101"); }, 0},
        {"number", [](CWinApp& app) { app.WriteProfileInt(kSection, "Buttons", 100); }, 0},
        {"one byte", [&](CWinApp& app) { app.WriteProfileBinary(kSection, "Buttons", (LPBYTE)one, 1); }, 0},
        {"a record and a cut one",
         [&](CWinApp& app) { app.WriteProfileBinary(kSection, "Buttons", (LPBYTE)sound, sizeof(sound)); }, 1},
        {"title of another type",
         [&](CWinApp& app) {
             app.WriteProfileBinary(kSection, "Title", (LPBYTE)sound, sizeof(sound));
             app.WriteProfileBinary(kSection, "Buttons", (LPBYTE)sound, sizeof(sound));
         },
         1},
    };
    for (const auto& c : kCases) {
        m_app.WriteProfileString(kSection, NULL, NULL);
        c.write(m_app);
        TkCustomToolBarInfoEx info;
        EXPECT_TRUE(info.LoadStateFromProfile(kSection, NULL)) << c.name;
        EXPECT_EQ(c.buttons, (size_t)info.m_arrButtons.GetSize()) << c.name;
    }

    m_app.WriteProfileBinary(kSection, "Buttons", big.data(), (UINT)big.size());
    TkCustomToolBarInfoEx info;
    EXPECT_TRUE(info.LoadStateFromProfile(kSection, NULL));
    TkBtnInfoArray expected;
    TkParseButtons(big.data(), (UINT)big.size(), expected);
    EXPECT_EQ(Buttons(expected), Buttons(info.m_arrButtons));

    for (const char* text : {"A", "ABC", "\xff\xfe!", "QQQQQQQQQQQQQQQQQQQQQ"}) {
        TkPersistentTreeNode root;
        root.Initialize("Bar-0", NULL);
        TkPTNFactory factory;
        TkPersistentTreeNode* child = factory.CreateChildNode("ToolBarInfoEx", &root);
        child->SetStringValue("Buttons", text, TRUE);
        TkCustomToolBarInfoEx loaded;
        EXPECT_TRUE(loaded.LoadStateFromTree(&root)) << text;
        EXPECT_LE(loaded.m_arrButtons.GetSize() * 5, (INT_PTR)strlen(text) / 2) << text;
    }
}
