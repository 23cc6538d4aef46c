#include "tests/support/TestFramework.h"

#include "platform/crt/NumberText.h"

namespace
{
struct ReadCase
{
    const char* text;
    double value;
    int used;
};

const ReadCase kReadCases[] = {
    {"38000", 38000.0, 5},
    {"  -12.5,", -12.5, 7},
    {"+.5x", 0.5, 3},
    {"7.", 7.0, 2},
    {"1e3 ", 1000.0, 3},
    {"2.5E-1", 0.25, 6},
    {"4e", 4.0, 1},
    {"4e+", 4.0, 1},
    {"0x10", 0.0, 1},
    {"inf", 0.0, 0},
    {"nan", 0.0, 0},
    {"-", 0.0, 0},
    {".", 0.0, 0},
    {"", 0.0, 0},
};
}

TEST(MsStrtod, ReadsDecimalFormsOnly)
{
    for (const ReadCase& c : kReadCases)
    {
        char* end = nullptr;
        EXPECT_DOUBLE_EQ(c.value, MsStrtod(c.text, &end)) << c.text;
        EXPECT_EQ(c.used, end - c.text) << c.text;
    }
}
