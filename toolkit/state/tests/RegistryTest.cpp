#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"
#include "toolkit/state/TkRegistry.h"

#include <functional>

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

// Saving, restoring and loading keys needs the backup and restore privileges
// enabled in the process's token, as on Windows.
bool EnablePrivilege(const char* name)
{
    HANDLE token = NULL;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = ::LookupPrivilegeValueA(NULL, name, &privileges.Privileges[0].Luid) &&
                   ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL) &&
                   ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    return enabled;
}

// The key operations act on the key opened last: a value deleted, a change
// signalled to the event handed over, the key saved to a file and restored
// from it; a saved hive loads under the users' root and unloads; the key's
// owner is read and written back.
TEST_F(RegistryFixture, KeyOperationsActOnTheKeyOpenedLast)
{
    CTempFolder folder("tkregistry");
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(EnablePrivilege("SeBackupPrivilege"));
    ASSERT_TRUE(EnablePrivilege("SeRestorePrivilege"));
    const CString saved = folder.WindowsPath("saved.hive").c_str();
    HANDLE changed = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    TkRegistry users;
    ASSERT_TRUE(users.Connect(HKEY_USERS));
    // Whether the loaded hive can be read under the users' root.
    auto hiveReads = [](CString& kept) {
        TkRegistry hive;
        return hive.Connect(HKEY_USERS) && hive.Open("ZymRegistryHive", KEY_READ) &&
               hive.QueryStringValue("Kept", kept);
    };
    CString text;
    struct Case
    {
        const char* name;
        TkRegistry& on;
        std::function<BOOL()> operation;
        BOOL result;
        LONG error;
        std::function<bool()> outcome;
    } cases[] = {
        {"a value deleted is gone", registry,
         [&] { registry.SetStringValue("Gone", "x"); return registry.DeleteValue("Gone"); }, TRUE,
         ERROR_SUCCESS, [&] { return !registry.QueryStringValue("Gone", text); }},
        {"a missing value cannot be deleted", registry, [&] { return registry.DeleteValue("Never"); },
         FALSE, ERROR_FILE_NOT_FOUND, [] { return true; }},
        {"a value written after the request signals the event", registry,
         [&] { return registry.NotifyChange(changed, REG_NOTIFY_CHANGE_LAST_SET, FALSE, TRUE); }, TRUE,
         ERROR_SUCCESS,
         [&] {
             TkRegistry writer;
             writer.Connect(HKEY_CURRENT_USER);
             writer.Open(base, KEY_ALL_ACCESS);
             writer.SetStringValue("Touched", "yes");
             return ::WaitForSingleObject(changed, 5000) == WAIT_OBJECT_0;
         }},
        {"the key saved to a file", registry,
         [&] { registry.SetStringValue("Kept", "before"); return registry.SaveKey(saved, NULL); }, TRUE,
         ERROR_SUCCESS, [&] { return folder.Exists("saved.hive"); }},
        // Wine's restore answers success without reading the file: only the
        // answer is checked.
        {"the file restored over the changed key", registry,
         [&] { registry.SetStringValue("Kept", "after"); return registry.RestoreKey(saved, 0); }, TRUE,
         ERROR_SUCCESS, [] { return true; }},
        {"the saved hive loads under the root", users, [&] { return users.LoadKey("ZymRegistryHive", saved); },
         TRUE, ERROR_SUCCESS, [&] { return hiveReads(text) && text == "before"; }},
        {"and unloads", users, [&] { return users.UnLoadKey("ZymRegistryHive"); }, TRUE, ERROR_SUCCESS,
         [&] { return !hiveReads(text); }},
        {"the owner read is written back", registry,
         [&] {
             SECURITY_INFORMATION info = OWNER_SECURITY_INFORMATION;
             static BYTE descriptor[1024];
             DWORD size = sizeof(descriptor);
             return registry.GetKeySecurity(info, descriptor, &size) &&
                    registry.SetKeySecurity(&info, descriptor);
         },
         TRUE, ERROR_SUCCESS, [] { return true; }},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(registry.Open(base, KEY_ALL_ACCESS));
        EXPECT_EQ(c.result, c.operation()) << c.name;
        EXPECT_EQ(c.error, c.on.GetLastError()) << c.name;
        EXPECT_TRUE(c.outcome()) << c.name;
    }
    ::CloseHandle(changed);
}

}  // namespace
