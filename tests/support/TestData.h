// Where tests find their files: the shared test data kept outside the repository
// (conformance streams and the like), the fixtures of the source tree, and the Z:
// paths under which the program sees them.
#pragma once

#include <string>

// A Unix path as the program sees it: "/tmp/a/b" is "Z:\tmp\a\b".
std::string WindowsPath(const std::string& unixPath);

// The whole of a test's file (a Unix path); empty when it cannot be read.
std::string ReadBytes(const std::string& path);

// A file or folder of the source tree, relative to its root (ZYM_SOURCE_DIR).
std::string SourcePath(const std::string& relative);

// The folder `name` of the shared test data, looked for under ZYM_TESTDATA and
// then ZYM_SOURCE_DIR/../shared/testdata; empty where neither holds it.
std::string TestDataFolder(const std::string& name);

// Under CI (CI set) missing test data fails a test; elsewhere it skips it.
bool MissingTestDataFails();
std::string MissingTestDataText(const std::string& name);

// Leaves the test where `folder` (from TestDataFolder) is empty: a failure under
// CI, where a skip would let the data's absence pass unseen, a skip elsewhere.
#define ZYM_NEED_TEST_DATA(folder, name)                     \
    do {                                                     \
        if ((folder).empty()) {                              \
            if (MissingTestDataFails())                      \
                FAIL() << MissingTestDataText(name);         \
            else                                             \
                GTEST_SKIP() << MissingTestDataText(name);   \
        }                                                    \
    } while (0)
