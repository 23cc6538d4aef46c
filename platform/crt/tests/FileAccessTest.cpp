#include "TestFramework.h"

#include "crt/FileAccess.h"

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
        char pattern[] = "/tmp/crt-access-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        m_dir = pattern;
        Touch("writable.txt", 0644);
        Touch("readonly.txt", 0444);
    }

    void TearDown() override
    {
        unlink((m_dir + "/writable.txt").c_str());
        unlink((m_dir + "/readonly.txt").c_str());
        rmdir(m_dir.c_str());
    }

    void Touch(const char* name, mode_t mode)
    {
        std::string path = m_dir + "/" + name;
        FILE* f = fopen(path.c_str(), "w");
        ASSERT_NE(nullptr, f);
        fclose(f);
        chmod(path.c_str(), mode);
    }

    std::string WinPath(const char* name) const
    {
        std::string path = "Z:" + m_dir + "\\" + name;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }

    std::string m_dir;
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
