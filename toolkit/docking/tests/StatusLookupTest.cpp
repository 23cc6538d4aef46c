#include "tests/support/TestFramework.h"

#include "toolkit/bars/TkStatusBar.h"

#include <afxext.h>

#include <vector>

// The status bar's pane look-ups, on a bar without a window: ids search
// from the first pane.
TEST(StatusLookupTest, AnIdNamesItsFirstPane)
{
    const struct
    {
        const char* name;
        std::vector<UINT> ids;
        UINT asked;
        int index;
    } cases[] = {
        {"two panes with the id: the lower index", {0, 301, 302, 301}, 301, 1},
        {"the message pane's id", {0, 301, 0}, 0, 0},
        {"an id no pane has", {0, 301}, 302, -1},
        {"no panes", {}, 0, -1},
    };
    for (const auto& c : cases)
    {
        TkStatusBar bar;
        ASSERT_TRUE(bar.SetIndicators(c.ids.empty() ? NULL : c.ids.data(), (int)c.ids.size()))
            << c.name;
        EXPECT_EQ(c.index, bar.CommandToIndex(c.asked)) << c.name;
    }
}
