#include "tests/support/TestFramework.h"

#include "core/doc/TextMatch.h"

namespace {

TEST(TextMatch, WordMatch)
{
    const struct
    {
        const char* a;
        const char* b;
        double match;
    } cases[] = {
        { "road", "road", 1.0 },
        { "roads", "road", 0.8 },    // a holds b
        { "help", "helpless", 0.5 }, // b holds a
        { "abbey", "road", 0.0 },
        { "Road", "road", 0.0 },     // letter case is the caller's
        { "", "road", 0.0 },
        { "road", "", 0.0 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.match, WordMatch(c.a, c.b)) << c.a << " / " << c.b;
}

TEST(TextMatch, TextSimilarity)
{
    const struct
    {
        const char* first;
        const char* second;
        double similarity;
    } cases[] = {
        // Both title words in another case among three: 2 / 2.
        { "ABBEY Road (Remastered)", "abbey road", 1.0 },
        { "abbey road", "Abbey Road Remastered", 1.0 },
        // Words end at blanks, commas, tabs and line breaks.
        { "one,two\tthree\r\nfour", "four three two one", 1.0 },
        // One word of three: just below the pick floor of 0.34.
        { "abbey live tour", "abbey yellow submarine", 1.0 / 3 },
        { "help", "helpless", 0.5 },
        // Each word takes its best match, not the first.
        { "road", "roads road", 1.0 },
        { "", "abbey road", 0.0 },
        { " ,\t", "abbey road", 0.0 },
        { "abbey road", "\r\n", 0.0 },
        // "be" within "abbey": 2 / 5 over 2 words.
        { "let it be", "abbey road", 0.2 },
        { "yesterday", "abbey road", 0.0 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.similarity, TextSimilarity(c.first, c.second))
            << c.first << " / " << c.second;
}

} // namespace
