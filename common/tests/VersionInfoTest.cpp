// The version reader on this program's own version resource (file 2.0.0.7,
// product 1.2.3.4) and on a file without one.
#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"
#include "common/VersionInfo.h"

namespace {

std::string OwnPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST(VersionInfoTest, ReadsTextsAndPackedVersionOfLoadedBlock)
{
    CVersionInfo info;
    ASSERT_TRUE(info.Open(OwnPath().c_str()));
    EXPECT_STREQ("2, 0, 0, 7", info.GetFileVersion());
    EXPECT_STREQ("Version fixture", info.QueryValue("ProductName"));
    EXPECT_STREQ("Version fixture", info.QueryValue("ProductName", 0x040904b0));
    EXPECT_STREQ("", info.QueryValue("ProductName", 0x040704b0));
    EXPECT_STREQ("", info.QueryValue("Missing"));
    EXPECT_STREQ("2.00, Build 7", info.GetFileVersionText());
    EXPECT_STREQ("1.23, Build 4", info.GetProductVersionText());
    EXPECT_EQ(0x02000007u, info.GetPackedFileVersion());
    ASSERT_NE(nullptr, info.GetFixedInfo());
    EXPECT_EQ(VS_FFI_SIGNATURE, info.GetFixedInfo()->dwSignature);
}

TEST(VersionInfoTest, NothingKeptWithoutBlockOrAfterClose)
{
    CTempFolder folder("versioninfo");
    ASSERT_TRUE(folder.IsValid());
    std::string plain = folder.WindowsPath("plain.txt");
    HANDLE file = CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "no version here", 15, &written, nullptr);
    CloseHandle(file);

    CVersionInfo info;
    ASSERT_TRUE(info.Open(OwnPath().c_str()));
    EXPECT_FALSE(info.Open(plain.c_str()));
    EXPECT_FALSE(info.Open(folder.WindowsPath("missing.exe").c_str()));
    EXPECT_EQ(nullptr, info.GetFixedInfo());
    EXPECT_STREQ("", info.GetFileVersion());
    EXPECT_STREQ("", info.GetFileVersionText());
    EXPECT_EQ(0u, info.GetPackedFileVersion());
}

} // namespace
