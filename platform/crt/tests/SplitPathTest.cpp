#include "tests/support/TestFramework.h"

#include "platform/crt/SplitPath.h"

#include <string>

namespace
{
struct SplitCase
{
    const char* path;
    const char* drive;
    const char* dir;
    const char* fname;
    const char* ext;
};

const SplitCase kSplitCases[] = {
    {"C:\\Music\\Disc 01\\Track.mp3", "C:", "\\Music\\Disc 01\\", "Track", ".mp3"},
    {"c:Track.mp3", "c:", "", "Track", ".mp3"},
    {"C:\\", "C:", "\\", "", ""},
    {"C:", "C:", "", "", ""},
    {"\\\\server\\share\\dir\\file.txt", "", "\\\\server\\share\\dir\\", "file", ".txt"},
    {"D:\\dir\\README", "D:", "\\dir\\", "README", ""},
    {"D:\\dir.d\\README", "D:", "\\dir.d\\", "README", ""},
    {"archive.tar.gz", "", "", "archive.tar", ".gz"},
    {"name.", "", "", "name", "."},
    {"name..", "", "", "name.", "."},
    {"\\dir\\.profile", "", "\\dir\\", "", ".profile"},
    {"C:\\dir\\..", "C:", "\\dir\\", ".", "."},
    {"Z:/home/user/list.pla", "Z:", "/home/user/", "list", ".pla"},
    {"Z:/mixed\\seps/x.y", "Z:", "/mixed\\seps/", "x", ".y"},
    {"", "", "", "", ""},
    {"a", "", "", "a", ""},
};
}

TEST(SplitPath, SplitsLikeTheMicrosoftRuntime)
{
    for (const SplitCase& c : kSplitCases)
    {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        _splitpath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(c.drive, drive) << c.path;
        EXPECT_STREQ(c.dir, dir) << c.path;
        EXPECT_STREQ(c.fname, fname) << c.path;
        EXPECT_STREQ(c.ext, ext) << c.path;
    }
}

TEST(SplitPath, NullOutputsAreSkipped)
{
    char fname[_MAX_FNAME];
    _splitpath("C:\\dir\\file.txt", nullptr, nullptr, fname, nullptr);
    EXPECT_STREQ("file", fname);
}

TEST(SplitPath, LongPartsAreCutToTheirBuffers)
{
    std::string longName(400, 'n');
    std::string path = "C:\\d\\" + longName + ".e";
    char fname[_MAX_FNAME + 8];
    memset(fname, 'x', sizeof(fname));
    char ext[_MAX_EXT];
    _splitpath(path.c_str(), nullptr, nullptr, fname, ext);
    EXPECT_EQ(std::string(_MAX_FNAME - 1, 'n'), fname);
    EXPECT_EQ('x', fname[_MAX_FNAME]);
    EXPECT_STREQ(".e", ext);
}
