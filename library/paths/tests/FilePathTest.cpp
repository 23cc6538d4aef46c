#include "tests/support/TestFramework.h"

#include "library/paths/FilePath.h"

namespace {

struct AppendCase
{
    const char* start;
    const char* text;
    const char* expected;
};

const AppendCase kAppendCases[] = {
    {"", "c:/music/../pop", "c:\\pop"},
    {"a", "..\\x", "a\\..\\x"},
    {"\\\\srv\\share\\music", "\\covers", "\\\\srv\\share\\covers"},
    {"d:\\music", "\\covers", "d:\\covers"},
    {"c:\\music", "a\\\\b", ""},
    {"c:\\music", "a\\nul", ""},
    {"c:\\music", "a\\b|c", ""},
    {"c:\\music", "pop/rock/", "c:\\music\\pop\\rock"},
    {"c:\\music", "  ", "c:\\music"},
    {"c:\\music", "  jazz", "c:\\music\\jazz"},
    {"c:\\music", ".\\jazz\\.", "c:\\music\\jazz"},
    {"c:\\", "..", "c:\\"},
    {"c:\\music", "e:x", "e:x"},
    {"c:\\music", "\\\\srv\\share\\x", "\\\\srv\\share\\x"},
    {"", ".", "."},
    {"", "\\\\", ""},
    {"\\\\srv\\share", "..", "\\\\srv\\share"},
    {"\\\\srv\\share\\a\\b", "..\\c", "\\\\srv\\share\\a\\c"},
    {"music", "\\top", "\\top"},
};

} // namespace

TEST(DirPathTest, AppendCleansAndResolves)
{
    for (const AppendCase& c : kAppendCases)
    {
        CDirPath dir(c.start);
        dir.Append(c.text);
        EXPECT_EQ(c.expected, dir.GetText()) << "start '" << c.start << "' text '" << c.text << "'";
    }
}

TEST(DirPathTest, RootQueries)
{
    struct Case
    {
        const char* path;
        bool drive, unc, absolute, root;
        size_t rootEnd;
    };
    const size_t none = CDirPath::kNoPosition;
    const Case cases[] = {
        {"c:\\", true, false, true, true, none},
        {"c:", true, false, false, false, none},
        {"c:x", true, false, false, false, 2},
        {"c:\\a\\b", true, false, true, false, 3},
        {"\\", false, false, false, true, none},
        {"\\a", false, false, false, false, 1},
        {"\\\\srv\\share", false, true, true, true, none},
        {"\\\\srv\\share\\music", false, true, true, false, 11},
        {"a\\b", false, false, false, false, 0},
    };
    for (const Case& c : cases)
    {
        CDirPath dir(c.path);
        ASSERT_EQ(c.path, dir.GetText());
        EXPECT_EQ(c.drive, dir.HasDrive()) << c.path;
        EXPECT_EQ(c.unc, dir.IsUNC()) << c.path;
        EXPECT_EQ(c.absolute, dir.IsAbsolute()) << c.path;
        EXPECT_EQ(c.root, dir.IsRoot()) << c.path;
        EXPECT_EQ(c.rootEnd, dir.FindRootEnd()) << c.path;
    }
}

TEST(DirPathTest, RemoveLastAndGetLast)
{
    struct Case
    {
        const char* path;
        bool removed;
        const char* after;
        const char* last;
    };
    const Case cases[] = {
        {"c:\\", false, "c:\\", ""},
        {"c:\\music", true, "c:\\", "music"},
        {"c:\\music\\pop", true, "c:\\music", "pop"},
        {"c:pop", true, "c:", "pop"},
        {"\\\\srv\\share\\music", true, "\\\\srv\\share", "music"},
        {"\\\\srv\\share", false, "\\\\srv\\share", ""},
        {"song.mp3", true, "", "song.mp3"},
    };
    for (const Case& c : cases)
    {
        CDirPath dir(c.path);
        EXPECT_EQ(c.last, dir.GetLast().GetText()) << c.path;
        EXPECT_EQ(c.removed, dir.RemoveLast()) << c.path;
        EXPECT_EQ(c.after, dir.GetText()) << c.path;
    }
}

TEST(FileNameTest, AssignCleans)
{
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"  song.mp3 ", "song.mp3"},
        {"CON", ""},
        {"Clock$", ""},
        {" lpt3 ", ""},
        {"com5", "com5"},
        {"a:b", ""},
        {"a<b", ""},
        {"a\"b", ""},
        {"a/b", ""},
        {"   ", ""},
        {"\tx", "\tx"},
    };
    for (const auto& c : cases)
    {
        CFileName name(c.text);
        EXPECT_EQ(c.expected, name.GetText()) << "'" << c.text << "'";
    }
}

TEST(FileNameTest, BaseNameAndExtension)
{
    const struct
    {
        const char* name;
        const char* base;
        const char* ext;
        bool hasExt;
    } cases[] = {
        {"cover.jpg", "cover", "jpg", true},
        {"name.", "name", "", true},
        {"a.b.c", "a.b", "c", true},
        {"cover", "cover", "", false},
    };
    for (const auto& c : cases)
    {
        CFileName name(c.name);
        EXPECT_EQ(c.base, name.GetBaseName()) << c.name;
        EXPECT_EQ(c.ext, name.GetExtension()) << c.name;
        EXPECT_EQ(c.hasExt, name.HasExtension()) << c.name;
    }

    CFileName cover("cover");
    cover.SetExtension("jpg");
    EXPECT_EQ("cover.jpg", cover.GetText());
    cover.SetExtension("png");
    EXPECT_EQ("cover.png", cover.GetText());
    cover.SetBaseName("front");
    EXPECT_EQ("front.png", cover.GetText());
    EXPECT_FALSE(cover.HasWildcards());
    EXPECT_TRUE(CFileName("*.mp3").HasWildcards());
    EXPECT_TRUE(CFileName("Song.MP3") == CFileName("song.mp3"));
}

TEST(FilePathTest, FullPathJoinsParts)
{
    EXPECT_STREQ("c:x.txt", CFilePath(CDirPath("c:"), CFileName("x.txt")).GetFullPath());
    EXPECT_STREQ("c:\\x.txt", CFilePath(CDirPath("c:\\"), CFileName("x.txt")).GetFullPath());
    EXPECT_STREQ("c:\\a\\x.txt", CFilePath(CDirPath("c:\\a"), CFileName("x.txt")).GetFullPath());
    EXPECT_STREQ("x.txt", CFilePath(CFileName("x.txt")).GetFullPath());
    EXPECT_STREQ("x.txt", CFilePath(CDirPath(nullptr), CFileName("x.txt")).GetFullPath());
    EXPECT_STREQ("c:\\a\\", CFilePath(CDirPath("c:\\a")).GetFullPath());

    CFilePath path(CDirPath("c:\\a"), CFileName("x.txt"));
    path.SetName(CFileName("y.jpg"));
    EXPECT_STREQ("c:\\a\\y.jpg", path.GetFullPath());
    EXPECT_EQ("jpg", path.GetExtension());
    path.SetDir(CDirPath("\\\\srv\\share"));
    EXPECT_STREQ("\\\\srv\\share\\y.jpg", path.GetFullPath());
    EXPECT_TRUE(path == CFilePath(CDirPath("\\\\SRV\\Share"), CFileName("Y.JPG")));
    path.Clear();
    EXPECT_STREQ("", path.GetFullPath());
}

TEST(FilePathTest, AppendResolvesAgainstFullPath)
{
    const struct
    {
        const char* dir;
        const char* name;
        const char* text;
        const char* full;
        const char* newDir;
        const char* newName;
    } cases[] = {
        {"c:\\music", "", "covers\\front.jpg", "c:\\music\\covers\\front.jpg", "c:\\music\\covers", "front.jpg"},
        // A set name is part of the base: a relative text goes below it.
        {"c:\\music", "pop", "..\\rock.lst", "c:\\music\\rock.lst", "c:\\music", "rock.lst"},
        {"c:\\music", "", "d:\\lists\\a.lst", "d:\\lists\\a.lst", "d:\\lists", "a.lst"},
        {"c:\\music", "", "\\top.txt", "c:\\top.txt", "c:\\", "top.txt"},
        {"", "", "x.txt", "x.txt", "", "x.txt"},
        {"c:\\music", "", "bad|name.txt", "", "", ""},
        {"c:\\music", "", "d:\\", "d:\\", "d:\\", ""},
    };
    for (const auto& c : cases)
    {
        CFilePath path(CDirPath(c.dir), CFileName(c.name));
        path.Append(c.text);
        EXPECT_STREQ(c.full, path.GetFullPath()) << c.dir << " + " << c.text;
        EXPECT_EQ(c.newDir, path.GetDir().GetText()) << c.dir << " + " << c.text;
        EXPECT_EQ(c.newName, path.GetName().GetText()) << c.dir << " + " << c.text;
    }
}

TEST(FilePathTest, ComparisonsIgnoreCase)
{
    const struct
    {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"C:\\Music\\Pop", "c:/music/pop", true},
        {"\\\\SRV\\Share", "\\\\srv\\share", true},
        {"c:\\music", "c:\\music\\", true},
        {"c:\\music", "c:music", false},
        {"c:\\musi", "c:\\music", false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.equal, CDirPath(c.a) == CDirPath(c.b)) << c.a << " " << c.b;
        CFilePath a;
        a.Append(c.a);
        CFilePath b;
        b.Append(c.b);
        EXPECT_EQ(c.equal, a == b) << c.a << " " << c.b;
    }
}
