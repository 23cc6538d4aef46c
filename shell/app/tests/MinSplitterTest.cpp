#include "tests/support/TestFramework.h"

#include "shell/app/MinSplitterWnd.h"

#include <string>

namespace
{
std::string Sizes(const CMinSplitterWnd::Extent* entries, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + std::to_string(entries[i].current);
    return text;
}
}

// The library tab's two rows (minimum 100 each) with a bar of 6 between them.
TEST(MinSplitterTest, RowsKeepTheirMinimumsOrShareTheRoomEvenly)
{
    const struct
    {
        int ideal0, ideal1;
        int size, previous;
        const char* sizes;
    } cases[] = {
        // The first layout: the first row its ideal, the second the rest.
        { 300, 150, 456, 0, "300 150" },
        // Same size again: nothing moves.
        { 300, 150, 456, 456, "300 150" },
        // The tab grows by 50: the first row takes the change.
        { 300, 150, 506, 456, "350 150" },
        // Shrinking hard: the first row gives way down to its minimum.
        { 300, 150, 250, 456, "100 144" },
        // Below both minimums: the height is split evenly.
        { 300, 150, 150, 456, "72 72" },
        { 300, 150, 151, 456, "72 73" },
        // An ideal below the minimum is raised to it.
        { 20, 150, 456, 456, "100 350" },
    };
    for (const auto& c : cases)
    {
        CMinSplitterWnd::Extent rows[2] = { { 100, c.ideal0, 0 }, { 100, c.ideal1, 0 } };
        CMinSplitterWnd::LayOut(rows, 2, c.size, c.previous, 6);
        EXPECT_EQ(c.sizes, Sizes(rows, 2)) << c.size << " after " << c.previous;
    }
}

TEST(MinSplitterTest, AShortRowTakesFromTheLaterRowsLastFirst)
{
    CMinSplitterWnd::Extent rows[3] = { { 50, 50, 0 }, { 100, 20, 0 }, { 50, 400, 0 } };
    CMinSplitterWnd::LayOut(rows, 3, 400, 400, 0);
    EXPECT_EQ("50 100 250", Sizes(rows, 3));
}
