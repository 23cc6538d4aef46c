#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"

#include "platform/crt/FileAccess.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace
{
// A temporary folder with a writable and a read-only file, seen through drive Z:.
class AccessFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        Touch("writable.txt", 0644);
        Touch("readonly.txt", 0444);
    }

    void Touch(const char* name, mode_t mode)
    {
        std::string path = m_folder.UnixPath(name);
        FILE* f = fopen(path.c_str(), "w");
        ASSERT_NE(nullptr, f);
        fclose(f);
        chmod(path.c_str(), mode);
    }

    std::string WinPath(const char* name) const { return m_folder.WindowsPath(name); }

    CTempFolder m_folder{"crt-access"};
};

struct AccessCase
{
    const char* name;
    int mode;
    int result;
    int error;
};

const AccessCase kAccessCases[] = {
    {"writable.txt", kAccessExists, 0, 0},
    {"writable.txt", kAccessRead | kAccessWrite, 0, 0},
    {"readonly.txt", kAccessRead, 0, 0},
    {"readonly.txt", kAccessWrite, -1, EACCES},
    {"readonly.txt", kAccessRead | kAccessWrite, -1, EACCES},
    {"missing.txt", kAccessExists, -1, ENOENT},
    {"", kAccessExists, 0, 0},
    {"writable.txt", 1, -1, EINVAL},
};
}

TEST_F(AccessFixture, AnswersForExistenceAndMode)
{
    for (const AccessCase& c : kAccessCases)
    {
        errno = 0;
        EXPECT_EQ(c.result, _access(WinPath(c.name).c_str(), c.mode)) << c.name << " " << c.mode;
        if (c.result != 0)
        {
            EXPECT_EQ(c.error, errno) << c.name << " " << c.mode;
        }
    }
}
