// Reading command texts: the split at the first "[" and the first "]", the
// comma count of parameter lists and "%d" numbers, with hostile input.
#include "tests/support/TestFramework.h"

#include "core/doc/CommandText.h"

#include <limits.h>

#include <string>

namespace {

TEST(CommandText, SplitAtTheFirstBracketAndTheFirstClosingOne)
{
    const struct
    {
        std::string text;
        const char* word;
        const char* argument;
    } cases[] = {
        {"playlist_next", "playlist_next", ""},
        {"PlayList_Play", "playlist_play", ""},
        {" playlist_play", " playlist_play", ""},
        {"playlist_loop[ TOGGLE ]", "playlist_loop", "toggle"},
        {"playlist_loop[on", "", ""},
        {"playlist_loop[on]trailing", "playlist_loop", "on"},
        {"a[b[c]d]", "a", "b[c"},
        {"a]x[b", "a]x", ""},
        {"", "", ""},
        {"x[" + std::string(1 << 20, 'y') + "]", "x", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        CommandText command = SplitCommand(c.text.c_str());
        EXPECT_STREQ(c.word, command.word);
        if (c.argument)
            EXPECT_STREQ(c.argument, command.argument);
        else
            EXPECT_EQ(1 << 20, command.argument.GetLength());
    }
}

TEST(CommandText, ParametersNeedTheirExactCommaCount)
{
    const struct
    {
        const char* argument;
        int commas;
        BOOL ok;
        std::vector<std::string> parameters;
    } cases[] = {
        {"top, 00000000000000a1 ,3", 2, TRUE, {"top", " 00000000000000a1 ", "3"}},
        {",,", 2, TRUE, {"", "", ""}},
        {"top,a1", 2, FALSE, {}},
        {"top,a1,3,4", 2, FALSE, {}},
        {"a1,all", 1, TRUE, {"a1", "all"}},
        {"", 0, TRUE, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        std::vector<CString> parameters;
        EXPECT_EQ(c.ok, SplitParameters(c.argument, c.commas, parameters));
        std::vector<std::string> texts;
        for (const CString& p : parameters)
            texts.push_back(std::string(p));
        EXPECT_EQ(c.parameters, texts);
    }
}

TEST(CommandText, NumbersAsPercentDReadsThemButSaturated)
{
    const struct
    {
        const char* text;
        BOOL ok;
        int value;
    } cases[] = {
        {"12", TRUE, 12},       {" 12", TRUE, 12},     {"+7", TRUE, 7},
        {"-3", TRUE, -3},       {"007", TRUE, 7},      {"5abc", TRUE, 5},
        {"abc", FALSE, 0},      {"", FALSE, 0},        {"-", FALSE, 0},
        {"- 3", FALSE, 0},      {"2147483647", TRUE, INT_MAX},
        // Past 32 bits: no wrap (4294967297 would be 1).
        {"4294967297", TRUE, INT_MAX}, {"-2147483648", TRUE, INT_MIN},
        {"-99999999999999999999", TRUE, INT_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 0;
        EXPECT_EQ(c.ok, ReadNumber(c.text, value));
        if (c.ok)
            EXPECT_EQ(c.value, value);
    }
}

} // namespace
