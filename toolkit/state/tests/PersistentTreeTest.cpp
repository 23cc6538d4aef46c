#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"

#include "toolkit/state/TkPTNStrategy.h"
#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/state/TkRegistry.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

CString Value(TkPersistentTreeNode& node, LPCSTR key)
{
    CString text;
    node.GetStringValue(key, text, "<missing>");
    return text;
}

std::vector<BYTE> Bytes(size_t count, int seed)
{
    std::vector<BYTE> bytes(count);
    for (size_t i = 0; i < count; i++)
        bytes[i] = (BYTE)(i * 37 + seed);
    return bytes;
}

std::vector<BYTE> ReadBinary(TkPersistentTreeNode& node, LPCSTR key, int* code)
{
    BYTE* data = NULL;
    UINT size = 0;
    *code = node.GetBinaryValue(key, &data, &size);
    std::vector<BYTE> bytes(data, data + (data ? size : 0));
    delete[] data;
    return bytes;
}

struct TreeFixture : ::testing::Test
{
    TreeFixture() { root.Initialize("Root", NULL); }
    TkPersistentTreeNode root;
};

TEST_F(TreeFixture, ResultCodesOfRefusedOperations)
{
    TkPersistentTreeNode loose;
    struct Case
    {
        const char* name;
        int result;
        int expected;
    } cases[] = {
        {"second Initialize", root.Initialize("Again", NULL), kPTNAlreadyInitialized},
        {"second Initialize, empty name", root.Initialize("", NULL),
         kPTNAlreadyInitialized | kPTNNoName},
        {"set on an uninitialised node, empty key", loose.SetStringValue("", "x", TRUE),
         kPTNNotInitialized | kPTNNoKey},
        {"binary without data", root.SetBinaryValue("k", NULL, 3, TRUE), kPTNNoData},
        {"remove missing key", root.RemoveKey("nothing"), kPTNKeyNotFound},
        {"add child to uninitialised node", loose.AddChildNode(&root), kPTNNotInitialized},
        {"add no child", root.AddChildNode(NULL), kPTNNoName},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.result) << c.name;
    EXPECT_EQ("Root", root.GetNodeName());
}

TEST_F(TreeFixture, ExistingKeyIsKeptUnlessOverwriting)
{
    ASSERT_EQ(0, root.SetStringValue("Title", "first", FALSE));
    EXPECT_EQ(kPTNKeyExists, root.SetStringValue("Title", "second", FALSE));
    EXPECT_EQ("first", Value(root, "Title"));
    EXPECT_EQ(0, root.SetStringValue("Title", "third", TRUE));
    EXPECT_EQ("third", Value(root, "Title"));
    // Keys compare case-sensitively.
    EXPECT_EQ(0, root.SetStringValue("title", "lower", FALSE));
    EXPECT_EQ("third", Value(root, "Title"));
}

TEST_F(TreeFixture, SecondChildOfTheSameNameIsRefused)
{
    TkPTNFactory factory;
    ASSERT_NE(nullptr, factory.CreateChildNode("DockState", &root));
    EXPECT_EQ(nullptr, factory.CreateChildNode("DockState", &root));
    TkPersistentTreeNode other;
    other.Initialize("DockState", NULL);
    EXPECT_EQ(kPTNChildExists, root.AddChildNode(&other));
    CStringList names;
    root.GetChildNames(names);
    EXPECT_EQ(1, names.GetCount());
}

TEST_F(TreeFixture, TypedGettersConvertTextAndKeepDefaults)
{
    struct Case
    {
        const char* text;
        int asInt;
        BOOL asBool;
    } cases[] = {
        {"true", 0, TRUE}, {"True", 0, TRUE}, {"TRUE", 0, TRUE}, {"1", 1, FALSE},
        {" -12abc", -12, FALSE}, {"abc", 0, FALSE}, {"-2147483648", INT_MIN, FALSE},
    };
    for (const Case& c : cases) {
        root.SetStringValue("k", c.text, TRUE);
        int number = 99;
        BOOL flag = 2;
        EXPECT_EQ(0, root.GetIntValue("k", &number, 7)) << c.text;
        EXPECT_EQ(0, root.GetBoolValue("k", &flag, FALSE)) << c.text;
        EXPECT_EQ(c.asInt, number) << c.text;
        EXPECT_EQ(c.asBool, flag) << c.text;
    }
    DWORD style = 0;
    root.SetIntValue("Style", (int)0x80C83300, TRUE);
    EXPECT_EQ(0, root.GetDWordValue("Style", &style, 0));
    EXPECT_EQ(0x80C83300u, style);

    int number = 1;
    EXPECT_EQ(kPTNKeyNotFound, root.GetIntValue("missing", &number, 42));
    EXPECT_EQ(42, number);
}

// 125 bytes fit one value of 250 characters; 126 are split into pieces.
TEST_F(TreeFixture, BinaryValuesSplitAt250Characters)
{
    std::vector<BYTE> shortBytes = Bytes(125, 1);
    std::vector<BYTE> longBytes = Bytes(126, 2);
    ASSERT_EQ(0, root.SetBinaryValue("Small", shortBytes.data(), (UINT)shortBytes.size(), FALSE));
    ASSERT_EQ(0, root.SetBinaryValue("Large", longBytes.data(), (UINT)longBytes.size(), FALSE));

    EXPECT_EQ(250, Value(root, "Small").GetLength());
    EXPECT_EQ("2", Value(root, "Large_BinCount"));
    EXPECT_EQ(250, Value(root, "Large_BinVal0").GetLength());
    EXPECT_EQ(2, Value(root, "Large_BinVal1").GetLength());
    EXPECT_EQ("<missing>", Value(root, "Large"));
    EXPECT_EQ("<missing>", Value(root, "Large_BinVal2"));

    int code = -1;
    EXPECT_EQ(shortBytes, ReadBinary(root, "Small", &code));
    EXPECT_EQ(0, code);
    EXPECT_EQ(longBytes, ReadBinary(root, "Large", &code));
    EXPECT_EQ(0, code);
    // Every character lies between 'A' and 'P'.
    BYTE ends[] = {0x00, 0xFF, 0x5A};
    root.SetBinaryValue("Ends", ends, 3, TRUE);
    EXPECT_EQ("AAPPKF", Value(root, "Ends"));
}

// A value is stored in one form only, so the last write is what reads back.
TEST_F(TreeFixture, BinaryWriteReplacesTheOtherForm)
{
    std::vector<BYTE> longBytes = Bytes(400, 3);
    std::vector<BYTE> shortBytes = Bytes(10, 4);
    std::vector<BYTE> medium = Bytes(200, 5);
    int code = -1;

    root.SetBinaryValue("Placement", longBytes.data(), (UINT)longBytes.size(), TRUE);
    root.SetBinaryValue("Placement", shortBytes.data(), (UINT)shortBytes.size(), TRUE);
    EXPECT_EQ(shortBytes, ReadBinary(root, "Placement", &code));
    EXPECT_EQ("<missing>", Value(root, "Placement_BinCount"));

    root.SetBinaryValue("Placement", longBytes.data(), (UINT)longBytes.size(), TRUE);
    EXPECT_EQ("<missing>", Value(root, "Placement"));
    root.SetBinaryValue("Placement", medium.data(), (UINT)medium.size(), TRUE);
    EXPECT_EQ(medium, ReadBinary(root, "Placement", &code));
    EXPECT_EQ("<missing>", Value(root, "Placement_BinVal2"));
}

TEST_F(TreeFixture, SplitValueWithAMissingPieceFails)
{
    std::vector<BYTE> longBytes = Bytes(300, 6);
    root.SetBinaryValue("Data", longBytes.data(), (UINT)longBytes.size(), TRUE);
    root.RemoveKey("Data_BinVal1");
    int code = 0;
    EXPECT_TRUE(ReadBinary(root, "Data", &code).empty());
    EXPECT_EQ(kPTNFailed, code);

    root.SetStringValue("Empty", "", TRUE);
    EXPECT_TRUE(ReadBinary(root, "Empty", &code).empty());
    EXPECT_EQ(kPTNFailed, code);
    EXPECT_TRUE(ReadBinary(root, "Nothing", &code).empty());
    EXPECT_EQ(kPTNKeyNotFound, code);
}

// root { Name=Main, DockState { Bars=2, Bar-0 { Long=<binary> }, Bar-1 { } } }
void FillSample(TkPersistentTreeNode& root, TkPTNFactory& factory, const std::vector<BYTE>& bytes)
{
    root.SetStringValue("Name", "Main", TRUE);
    TkPersistentTreeNode* dock = factory.CreateChildNode("DockState", &root);
    dock->SetIntValue("Bars", 2, TRUE);
    TkPersistentTreeNode* bar = factory.CreateChildNode("Bar-0", dock);
    bar->SetBinaryValue("Long", bytes.data(), (UINT)bytes.size(), TRUE);
    bar->SetBoolValue("Visible", TRUE, TRUE);
    factory.CreateChildNode("Bar-1", dock)->SetIntValue("BarID", -5, TRUE);
}

void ExpectSample(TkPersistentTreeNode& loaded, const std::vector<BYTE>& bytes)
{
    EXPECT_EQ("Main", Value(loaded, "Name"));
    TkPersistentTreeNode* dock = loaded.FindChildNode("DockState");
    ASSERT_NE(nullptr, dock);
    EXPECT_EQ("2", Value(*dock, "Bars"));
    CStringList names;
    dock->GetChildNames(names);
    ASSERT_EQ(2, names.GetCount());
    TkPersistentTreeNode* bar = dock->FindChildNode("Bar-0");
    ASSERT_NE(nullptr, bar);
    int code = -1;
    EXPECT_EQ(bytes, ReadBinary(*bar, "Long", &code));
    EXPECT_EQ("True", Value(*bar, "Visible"));
    EXPECT_EQ("-5", Value(*dock->FindChildNode("Bar-1"), "BarID"));
}

TEST(PersistentTreeProfile, TreeRoundTripsThroughAnIniFile)
{
    CTempFolder folder("tktree");
    ASSERT_TRUE(folder.IsValid());
    TkPTNStrategyProfile strategy(folder.WindowsPath("tree.ini").c_str());
    std::vector<BYTE> bytes = Bytes(700, 7);
    TkPersistentTreeNode root;
    root.Initialize("Root", NULL);
    TkPTNFactory factory;
    FillSample(root, factory, bytes);
    EXPECT_EQ(1, root.SaveToStrategy(&strategy));

    TkPersistentTreeNode loaded;
    loaded.Initialize("Root", NULL);
    ASSERT_EQ(1, loaded.LoadFromStrategy(&strategy));
    ExpectSample(loaded, bytes);

    std::ifstream file(folder.UnixPath("tree.ini"));
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find("[Root.DockState.Bar-1]"));
    EXPECT_NE(std::string::npos, text.find("ptn_Child1=Bar-0"));
}

TEST(PersistentTreeProfile, SectionKeysStartingWithTheChildPrefixNameChildren)
{
    CTempFolder folder("tktree");
    std::string longKeys;
    for (int i = 0; i < 120; i++)
        longKeys += "SomewhatLongKeyName" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    {
        std::ofstream file(folder.UnixPath("given.ini"));
        file << "[Top]\r\nptn_Child1=Inner\r\nColour=Blue\r\n" << longKeys;
    }
    TkPTNStrategyProfile strategy(folder.WindowsPath("given.ini").c_str());
    TkPersistentTreeNode root;
    root.Initialize("Top", NULL);
    ASSERT_EQ(1, root.LoadFromStrategy(&strategy));
    CStringList names;
    root.GetChildNames(names);
    ASSERT_EQ(1, names.GetCount());
    EXPECT_EQ("Inner", names.GetHead());
    EXPECT_EQ("Blue", Value(root, "Colour"));
    // The key list outgrows the first buffer: the last keys still arrive.
    EXPECT_EQ("119", Value(root, "SomewhatLongKeyName119"));
    EXPECT_EQ("<missing>", Value(root, "ptn_Child1"));

    TkPersistentTreeNode absent;
    absent.Initialize("NoSuchSection", NULL);
    EXPECT_EQ(0, absent.LoadFromStrategy(&strategy));
}

struct RegistryTreeFixture : ::testing::Test
{
    RegistryTreeFixture()
    {
        base.Format("Software\\ZymToolkitTest\\Tree%lu", ::GetCurrentProcessId());
    }
    ~RegistryTreeFixture() override
    {
        TkRegistry registry;
        registry.Connect(HKEY_CURRENT_USER);
        registry.DeleteKey(base, TRUE);
    }
    BOOL KeyExists(LPCSTR path)
    {
        TkRegistry registry;
        return registry.Connect(HKEY_CURRENT_USER) && registry.Open(path, KEY_READ);
    }
    CString base;
};

TEST_F(RegistryTreeFixture, TreeRoundTripsThroughTheRegistry)
{
    TkPTNStrategyRegistry strategy(HKEY_CURRENT_USER, base);
    std::vector<BYTE> bytes = Bytes(600, 8);
    TkPersistentTreeNode root;
    root.Initialize("Root", NULL);
    TkPTNFactory factory;
    FillSample(root, factory, bytes);
    EXPECT_EQ(1, root.SaveToStrategy(&strategy));
    EXPECT_TRUE(KeyExists(base + "\\Root\\DockState\\Bar-0\\"));

    TkPersistentTreeNode loaded;
    loaded.Initialize("Root", NULL);
    ASSERT_EQ(1, loaded.LoadFromStrategy(&strategy));
    ExpectSample(loaded, bytes);

    // Saving again clears what the node no longer holds, children included.
    TkPersistentTreeNode smaller;
    smaller.Initialize("Root", NULL);
    smaller.SetStringValue("Only", "this", TRUE);
    EXPECT_EQ(1, smaller.SaveToStrategy(&strategy));
    EXPECT_FALSE(KeyExists(base + "\\Root\\DockState"));
    TkPersistentTreeNode reread;
    reread.Initialize("Root", NULL);
    ASSERT_EQ(1, reread.LoadFromStrategy(&strategy));
    EXPECT_EQ("this", Value(reread, "Only"));
    EXPECT_EQ("<missing>", Value(reread, "Name"));
}

TEST(PersistentTreeRegistry, KeyPathRunsFromTheRootWithBackslashes)
{
    TkPTNStrategyRegistry strategy(HKEY_CURRENT_USER, "Software\\Base");
    CStringList path;
    path.AddTail("Bar-3");
    path.AddTail("DockState");
    path.AddTail("Root");
    CString keyPath;
    strategy.BuildKeyPath(keyPath, path);
    EXPECT_EQ("Software\\Base\\Root\\DockState\\Bar-3\\", keyPath);
    EXPECT_EQ("Root.DockState.Bar-3", TkPTNStrategyProfile::SectionName(path));
}

}  // namespace
