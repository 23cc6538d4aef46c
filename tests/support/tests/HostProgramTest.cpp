// Host programs get their arguments as given, with no shell to reinterpret them.
#include "tests/support/TestFramework.h"

#include "tests/support/HostProgram.h"

#include <string>
#include <vector>

namespace {

TEST(HostProgram, ArgumentsArriveWordForWord)
{
    std::string output;
    ASSERT_TRUE(RunHostProgram({"printf", "[%s]", "a b", "$HOME", "x;echo y", "'q'"}, &output));
    EXPECT_EQ("[a b][$HOME][x;echo y]['q']", output);
}

TEST(HostProgram, FailuresAreFalse)
{
    EXPECT_FALSE(RunHostProgram({"false"}));
    EXPECT_FALSE(RunHostProgram({"no-such-program-here"}));
    EXPECT_FALSE(RunHostProgram({}));
    EXPECT_TRUE(RunHostProgram({"true"}));
}

TEST(HostProgram, QuotedWordsSplitAsAShellWouldWithoutExpanding)
{
    struct Case {
        const char* text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {"  a  b ", {"a", "b"}},
        {"'/tmp/x y/in.ppm' -depth 8 'PPM:/tmp/x y/out'", {"/tmp/x y/in.ppm", "-depth", "8", "PPM:/tmp/x y/out"}},
        {"PNG48:'/tmp/a b'", {"PNG48:/tmp/a b"}},
        {"''", {""}},
        {"$HOME *", {"$HOME", "*"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.words, SplitQuotedWords(c.text)) << c.text;
}

}
