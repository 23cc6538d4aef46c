#include "tests/support/TestFramework.h"

#include "toolkit/state/TkRegistry.h"

namespace {

struct RegistryFixture : ::testing::Test
{
    RegistryFixture()
    {
        base.Format("Software\\ZymToolkitTest\\Registry%lu", ::GetCurrentProcessId());
        EXPECT_TRUE(registry.Connect(HKEY_CURRENT_USER));
        EXPECT_TRUE(registry.CreateKey(base));
    }
    ~RegistryFixture() override
    {
        TkRegistry cleaner;
        cleaner.Connect(HKEY_CURRENT_USER);
        cleaner.DeleteKey(base, TRUE);
    }
    CString base;
    TkRegistry registry;
};

TEST_F(RegistryFixture, RemoteConnectionToTheUserKeyFails)
{
    TkRegistry remote;
    EXPECT_FALSE(remote.Connect(HKEY_CURRENT_USER, "FARAWAY", FALSE));
    EXPECT_EQ(ERROR_INVALID_HANDLE, remote.GetLastError());
    EXPECT_EQ(NULL, remote.GetCurrentKey());

    EXPECT_EQ("HKEY_CURRENT_USER", registry.GetRootName());
    EXPECT_FALSE(registry.IsRemote());
}

TEST_F(RegistryFixture, NamesLoseTheirTrailingBackslash)
{
    EXPECT_TRUE(registry.Open(base + "\\", KEY_ALL_ACCESS));
    EXPECT_EQ(base, registry.GetKeyName());
    EXPECT_EQ("Software\\X", TkNormalizeKeyName("\\Software\\X\\", TRUE));
    EXPECT_EQ("\\Software\\X", TkNormalizeKeyName("\\Software\\X\\"));
}

TEST_F(RegistryFixture, ValuesOfEachTypeRoundTrip)
{
    CStringArray strings;
    strings.Add("one");
    strings.Add("");
    strings.Add("three");
    CByteArray bytes;
    for (int i = 0; i < 5; i++)
        bytes.Add((BYTE)(i * 50));
    ASSERT_TRUE(registry.SetValue("Text", CString("hello")));
    ASSERT_TRUE(registry.SetValue("Number", (DWORD)0xDEADBEEF));
    ASSERT_TRUE(registry.SetValue("Many", strings));
    ASSERT_TRUE(registry.SetValue("Raw", bytes));
    ASSERT_TRUE(registry.Open(base));  // refreshes the longest-value size
    EXPECT_EQ(4u, registry.GetValueCount());

    CString text;
    DWORD number = 0;
    CStringArray readStrings;
    CByteArray readBytes;
    EXPECT_TRUE(registry.QueryValue("Text", text));
    EXPECT_TRUE(registry.QueryValue("Number", &number));
    EXPECT_TRUE(registry.QueryValue("Many", readStrings));
    EXPECT_TRUE(registry.QueryValue("Raw", readBytes));
    EXPECT_EQ("hello", text);
    EXPECT_EQ(0xDEADBEEFu, number);
    ASSERT_EQ(3, readStrings.GetSize());
    EXPECT_EQ("", readStrings[1]);
    EXPECT_EQ("three", readStrings[2]);
    ASSERT_EQ(5, readBytes.GetSize());
    EXPECT_EQ(200, readBytes[4]);
}

TEST_F(RegistryFixture, EmptyMultiStringIsOneNulByte)
{
    CStringArray none;
    ASSERT_TRUE(registry.SetMultiStringValue("Empty", none));
    DWORD type = 0;
    BYTE data[8];
    DWORD size = sizeof(data);
    ASSERT_TRUE(registry.QueryValue("Empty", &type, data, &size));
    EXPECT_EQ((DWORD)REG_MULTI_SZ, type);
    EXPECT_EQ(1u, size);
    EXPECT_EQ(0, data[0]);
}

TEST_F(RegistryFixture, MissingArgumentsAndValuesFail)
{
    CString text = "stale";
    EXPECT_FALSE(registry.QueryStringValue("Missing", text));
    EXPECT_EQ("", text);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.GetLastError());

    struct Case
    {
        const char* name;
        BOOL result;
    } cases[] = {
        {"CreateKey", registry.CreateKey(NULL)},
        {"DeleteKey", registry.DeleteKey(NULL)},
        {"QueryValue", registry.QueryValue(NULL, text)},
        {"SetValue", registry.SetValue(NULL, REG_SZ, (const BYTE*)"x", 2)},
        {"ReplaceKey", registry.ReplaceKey("a", NULL, "c")},
        {"GetKeySecurity", registry.GetKeySecurity(0, NULL, NULL)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.result) << c.name;
    }
    EXPECT_EQ(ERROR_INVALID_PARAMETER, registry.GetLastError());
}

TEST_F(RegistryFixture, RecursiveDeleteRemovesTheWholeTree)
{
    const char* paths[] = {"\\A\\B\\C", "\\A\\B\\D", "\\A\\E", "\\F"};
    for (const char* path : paths) {
        TkRegistry maker;
        maker.Connect(HKEY_CURRENT_USER);
        ASSERT_TRUE(maker.CreateKey(base + path));
        maker.SetStringValue("v", "x");
    }
    ASSERT_TRUE(registry.Open(base));
    CString name;
    CStringArray names;
    for (DWORD i = 0; registry.EnumerateKeys(i, name); i++)
        names.Add(name);
    ASSERT_EQ(2, names.GetSize());

    EXPECT_TRUE(registry.DeleteKey("A", TRUE));
    EXPECT_EQ(base, registry.GetKeyName());
    EXPECT_TRUE(registry.EnumerateKeys(0, name));
    EXPECT_EQ("F", name);
    EXPECT_FALSE(registry.EnumerateKeys(1, name));

    TkRegistry top;
    top.Connect(HKEY_CURRENT_USER);
    EXPECT_FALSE(top.DeleteKey("", TRUE));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, top.GetLastError());
}

}  // namespace
