#include "tests/support/TestFramework.h"

#include "platform/crt/StringCase.h"

namespace
{
int Sign(int value)
{
    return (value > 0) - (value < 0);
}

struct CompareCase
{
    const char* a;
    const char* b;
    int sign;
};

const CompareCase kCompareCases[] = {
    {"Track.MP3", "track.mp3", 0},
    {"", "", 0},
    {"abc", "ABD", -1},
    {"abcd", "ABC", 1},
    {"", "a", -1},
    // Letters fold to lower case, so '_' (0x5F) sorts before them.
    {"A", "_", 1},
    {"[", "a", -1},
    // Bytes above 0x7F do not fold and compare unsigned.
    {"\xC4", "\xE4", -1},
    {"\xE4", "a", 1},
};
}

TEST(StringCase, ComparesIgnoringAsciiCase)
{
    for (const CompareCase& c : kCompareCases)
    {
        EXPECT_EQ(c.sign, Sign(_stricmp(c.a, c.b))) << c.a << " / " << c.b;
        EXPECT_EQ(c.sign, Sign(_mbsicmp((const unsigned char*)c.a, (const unsigned char*)c.b)))
            << c.a << " / " << c.b;
    }
}
