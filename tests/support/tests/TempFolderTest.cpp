// The temporary folder removes only inside itself: Wine maps Z: to "/", so a test
// whose cleanup strays can reach the whole machine.
#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace {

void Put(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, file) << path;
    fputs("kept", file);
    fclose(file);
}

bool IsThere(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

TEST(TempFolder, RefusesPrefixesThatLeaveTmp)
{
    for (const char* prefix : {"../tmp/zym-escape", "zym/escape", "", ".", "..", "zym escape"}) {
        SCOPED_TRACE(prefix);
        CTempFolder folder(prefix);
        EXPECT_FALSE(folder.IsValid());
        EXPECT_EQ("", folder.Path());
    }
}

TEST(TempFolder, GoesWithAllItHoldsButNotWhatItsLinksReach)
{
    CTempFolder outside("zym-outside");
    ASSERT_TRUE(outside.IsValid());
    Put(outside.UnixPath("file"));

    std::string path;
    {
        CTempFolder folder("zym-tree");
        ASSERT_TRUE(folder.IsValid());
        path = folder.Path();
        ASSERT_EQ(0, mkdir(folder.UnixPath("sub").c_str(), 0755));
        ASSERT_EQ(0, mkdir(folder.UnixPath("sub/inner").c_str(), 0755));
        Put(folder.UnixPath("sub/inner/deep"));
        Put(folder.UnixPath("top"));
        ASSERT_EQ(0, symlink(outside.Path().c_str(), folder.UnixPath("folder-link").c_str()));
        ASSERT_EQ(0, symlink(outside.UnixPath("file").c_str(), folder.UnixPath("sub/file-link").c_str()));
    }
    EXPECT_FALSE(IsThere(path));
    EXPECT_TRUE(IsThere(outside.UnixPath("file")));
}

TEST(TempFolder, RemovesOnlyNamesInsideItself)
{
    CTempFolder outside("zym-outside");
    ASSERT_TRUE(outside.IsValid());
    Put(outside.UnixPath("file"));
    CTempFolder folder("zym-remove");
    ASSERT_TRUE(folder.IsValid());
    ASSERT_EQ(0, symlink(outside.Path().c_str(), folder.UnixPath("link").c_str()));
    std::string away = "../" + outside.Path().substr(5) + "/file";

    struct Case {
        std::string name;
        bool removed;
    };
    const Case cases[] = {
        {outside.UnixPath("file"), false},
        {away, false},
        {"link/file", false},
        {"./link", false},
        {"", false},
        {"link", true},
        {"never-there", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.removed, folder.Remove(c.name.c_str()));
        EXPECT_TRUE(IsThere(outside.UnixPath("file")));
    }
    EXPECT_FALSE(IsThere(folder.UnixPath("link")));
    EXPECT_TRUE(IsThere(outside.Path()));

    ASSERT_EQ(0, mkdir(folder.UnixPath("sub").c_str(), 0755));
    Put(folder.UnixPath("sub/file"));
    EXPECT_TRUE(folder.Remove("sub/file"));
    EXPECT_FALSE(folder.Exists("sub/file"));
    EXPECT_TRUE(folder.Remove("sub"));
    EXPECT_FALSE(folder.Exists("sub"));
}

} // namespace
