// Shared test data is found through ZYM_TESTDATA or beside the sources, nowhere
// else, and under CI its absence fails the test that needs it.
#include "tests/support/TestFramework.h"

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

// GoogleTest's own checks of failures, behind the same hiding of the
// Windows target macros as the framework header.
#include "platform/runtime/HostHeadersBegin.h"
#include <gtest/gtest-spi.h>
#include "platform/runtime/HostHeadersEnd.h"

#include <sys/stat.h>

#include <string>

namespace {

TEST(TestData, FoundThroughTheVariableOrBesideTheSources)
{
    CTempFolder folder("zym-testdata");
    ASSERT_TRUE(folder.IsValid());
    for (const char* made : {"own", "own/mpeg", "clone", "clone/src", "clone/shared", "clone/shared/testdata",
                             "clone/shared/testdata/mpeg", "clone/shared/testdata/other", "empty"})
        ASSERT_EQ(0, mkdir(folder.UnixPath(made).c_str(), 0755)) << made;
    const std::string own = folder.UnixPath("own");
    const std::string source = folder.UnixPath("clone/src");
    const std::string empty = folder.UnixPath("empty");
    const std::string beside = source + "/../shared/testdata";

    struct Case {
        const char* data;     // ZYM_TESTDATA, nullptr: unset
        const char* source;   // ZYM_SOURCE_DIR
        const char* name;
        std::string found;
    };
    const Case cases[] = {
        {own.c_str(), source.c_str(), "mpeg", own + "/mpeg"},
        {own.c_str(), source.c_str(), "other", beside + "/other"},
        {nullptr, source.c_str(), "mpeg", beside + "/mpeg"},
        {"", source.c_str(), "mpeg", beside + "/mpeg"},
        {empty.c_str(), empty.c_str(), "mpeg", ""},
        {nullptr, nullptr, "mpeg", ""},
        {own.c_str(), nullptr, "missing", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.data ? c.data : "(unset)") + " " + (c.source ? c.source : "(unset)") + " " +
                     c.name);
        CScopedVariable data("ZYM_TESTDATA", c.data);
        CScopedVariable sources("ZYM_SOURCE_DIR", c.source);
        EXPECT_EQ(c.found, TestDataFolder(c.name));
    }
}

void NeedMissingData()
{
    std::string none;
    ZYM_NEED_TEST_DATA(none, "mpeg");
}

TEST(TestData, MissingDataFailsUnderCi)
{
    CScopedVariable ci("CI", "true");
    EXPECT_FATAL_FAILURE(NeedMissingData(), "no test data folder mpeg");
}

} // namespace
