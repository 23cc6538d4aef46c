#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/Canvas.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLayoutNodeSplitter.h"
#include "toolkit/colors/TkSysColors.h"

namespace
{
std::string PaneText(const TkSplitterPaneInfo& panes)
{
    std::string text;
    for (int pane = 0; pane < 4; ++pane)
    {
        RECT rect;
        text += (pane ? " | " : "") + (panes.GetPane(pane, &rect) ? RectText(rect) : "-");
    }
    return text;
}

// Panes as a mask: bit 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
class TableSplitter : public TkSplitterBase
{
public:
    void SetPanes(int mask, int flags)
    {
        SetSplitterFlags(flags);
        for (int pane = 0; pane < 4; ++pane)
            m_panePresent[pane] = (mask >> pane) & 1;
        ChooseBarStyles();
    }
    void LayoutPanes(TkSplitterPaneInfo& panes) override { m_panes = PaneText(panes); }
    std::string m_panes;
};
}

// Area 0,0,100,80 with the column bar at x 40 and the row bar at y 30.
TEST(SplitterTest, BarStylesAndPanesFollowThePanesPresent)
{
    const struct
    {
        int mask;
        int flags;
        int rowStyle, columnStyle;
        const char* panes; // top-left | top-right | bottom-left | bottom-right
    } cases[] = {
        {0x0, 0, 3, 3, "- | - | - | -"},
        {0x1, 0, 3, 3, "0,0,100,80 | - | - | -"},
        {0x4, 2, 3, 3, "- | - | 0,0,100,80 | -"},
        {0x3, 0, 3, 2, "0,0,40,80 | 46,0,100,80 | - | -"},
        {0xC, 2, 3, 2, "- | - | 0,0,40,80 | 46,0,100,80"},
        {0x5, 0, 2, 3, "0,0,100,30 | - | 0,36,100,80 | -"},
        {0xA, 2, 2, 3, "- | 0,0,100,30 | - | 0,36,100,80"},
        {0x9, 0, 3, 2, "0,0,40,80 | - | - | 46,0,100,80"},
        {0x6, 0, 3, 2, "- | 46,0,100,80 | 0,0,40,80 | -"},
        // Three panes: without the preference the pane beside the missing
        // one takes the full height, with it the full width.
        {0xE, 0, 1, 2, "- | 46,0,100,30 | 0,0,40,80 | 46,36,100,80"},
        {0xE, 2, 2, 1, "- | 0,0,100,30 | 0,36,40,80 | 46,36,100,80"},
        {0xD, 0, 0, 2, "0,0,40,30 | - | 0,36,40,80 | 46,0,100,80"},
        {0xD, 2, 2, 1, "0,0,100,30 | - | 0,36,40,80 | 46,36,100,80"},
        {0xB, 0, 1, 2, "0,0,40,80 | 46,0,100,30 | - | 46,36,100,80"},
        {0xB, 2, 2, 0, "0,0,40,30 | 46,0,100,30 | - | 0,36,100,80"},
        {0x7, 0, 0, 2, "0,0,40,30 | 46,0,100,80 | 0,36,40,80 | -"},
        {0x7, 2, 2, 0, "0,0,40,30 | 46,0,100,30 | 0,36,100,80 | -"},
        {0xF, 0, 2, 2, "0,0,40,30 | 46,0,100,30 | 0,36,40,80 | 46,36,100,80"},
        {0xF, 2, 2, 2, "0,0,40,30 | 46,0,100,30 | 0,36,40,80 | 46,36,100,80"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE("panes " + std::to_string(c.mask) + " flags " + std::to_string(c.flags));
        TableSplitter splitter;
        splitter.SetSplitterArea(CRect(0, 0, 100, 80));
        splitter.SetPanes(c.mask, c.flags);
        EXPECT_EQ(c.rowStyle, splitter.GetRowBarStyle());
        EXPECT_EQ(c.columnStyle, splitter.GetColumnBarStyle());
        splitter.SetSplitPosition(40, 30);
        EXPECT_EQ(c.panes, splitter.m_panes);
    }
}

TEST(SplitterTest, BarsStayBetweenTheMargins)
{
    const struct
    {
        CRect area;
        CRect margins; // left, top, right, bottom
        CPoint asked;
        CPoint position;
        const char* row;
        const char* column;
    } cases[] = {
        {{0, 0, 100, 80}, {0, 0, 0, 0}, {40, 30}, {40, 30}, "0,30,100,36", "40,0,46,80"},
        {{0, 0, 100, 80}, {0, 0, 0, 0}, {-20, 500}, {0, 74}, "0,74,100,80", "0,0,6,80"},
        {{0, 0, 100, 80}, {10, 5, 20, 15}, {500, -3}, {74, 5}, "10,5,80,11", "74,5,80,65"},
        {{0, 0, 100, 80}, {10, 5, 20, 15}, {2, 70}, {10, 59}, "10,59,80,65", "10,5,16,65"},
        // Limits below 1 are 0: a bar may reach the area's edge.
        {{-5, -5, 50, 50}, {2, 2, 0, 0}, {-20, -20}, {5, 5}, "0,0,50,6", "0,0,6,50"},
        {{10, 20, 110, 100}, {0, 0, 0, 0}, {30, 30}, {30, 30}, "10,50,110,56", "40,20,46,100"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(RectText(c.area) + " margins " + RectText(c.margins));
        TableSplitter splitter;
        splitter.SetSplitterArea(c.area);
        splitter.SetMargins(c.margins.left, c.margins.top, c.margins.right, c.margins.bottom);
        splitter.SetPanes(0xF, 0);
        splitter.SetSplitPosition(c.asked.x, c.asked.y);
        EXPECT_EQ(c.position, splitter.GetSplitPosition());
        EXPECT_EQ(c.row, RectText(splitter.GetRowBarRect()));
        EXPECT_EQ(c.column, RectText(splitter.GetColumnBarRect()));
        // Hit rectangles are the bars relative to the area.
        EXPECT_EQ(splitter.GetRowBarRect() - c.area.TopLeft(), splitter.GetRowHitRect());
    }
}

TEST(SplitterTest, DistributeMoveSharesAMoveWithinTheLimits)
{
    const struct
    {
        int a, b, limitA, limitB, delta;
        int newA, newB, left;
    } cases[] = {
        {40, 60, 1000, 1000, 10, 45, 65, 0},
        {40, 60, 1000, 1000, 11, 45, 66, 0},
        {40, 60, 42, 1000, 10, 42, 68, 0},    // a stops, b takes the rest
        {40, 60, 1000, 62, 10, 48, 62, 0},    // b stops, a takes the rest
        {40, 60, 42, 62, 10, 42, 62, 6},      // neither has room for all
        {40, 60, 40, 60, 10, 40, 60, 10},     // both at their limits
        {40, 60, 0, 0, -10, 35, 55, 0},       // shrinking
        {40, 60, 38, 0, -10, 38, 52, 0},
        {40, 60, 0, 58, -10, 32, 58, 0},
        {40, 60, 38, 58, -10, 38, 58, -6},
        {40, 60, 1000, 1000, 1, 40, 61, 0},   // half of 1 is nothing
        {40, 60, 1000, 1000, 0, 40, 60, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.a) + "," + std::to_string(c.b) + " by " +
                     std::to_string(c.delta));
        int a = c.a, b = c.b;
        EXPECT_EQ(c.left, TkLayoutNodeSplitter::DistributeMove(a, b, c.limitA, c.limitB, c.delta));
        EXPECT_EQ(c.newA, a);
        EXPECT_EQ(c.newB, b);
    }
}

namespace
{
// A layout splitter without a window, its four panes plain nodes with limits.
struct PaneLimits
{
    CSize minimum, maximum;
    DWORD flags;
};

class AreaSplitter : public TkLayoutNodeSplitter
{
public:
    explicit AreaSplitter(const PaneLimits (&limits)[4])
    {
        for (int index = 0; index < 4; ++index)
        {
            m_nodes[index].SetSizeLimits(limits[index].minimum, limits[index].maximum,
                                         limits[index].flags);
            m_paneNodes[index] = &m_nodes[index];
        }
    }
    ProbeNode m_nodes[4];
};
}

// The area is 100 x 80 with the bars at 40 and 30; panes indexed row + 2 x column.
TEST(SplitterTest, ResizeAreaKeepsPanesWithinTheirLimits)
{
    const PaneLimits free = {{0, 0}, {0, 0}, TkLayoutNode::kNoMaximum};
    const PaneLimits narrow = {{20, 10}, {50, 40}, 0};
    const PaneLimits topLeft = {{20, 0}, {50, 1000}, 0};
    const PaneLimits bottomLeft = {{20, 0}, {45, 1000}, 0};
    const PaneLimits right = {{0, 0}, {70, 1000}, 0};
    const struct
    {
        const char* name;
        PaneLimits panes[4];
        CRect newRect;
        BOOL keepSize;
        CPoint position;
        const char* area;
    } cases[] = {
        {"grow free", {free, free, free, free}, {0, 0, 120, 100}, FALSE, {50, 40}, "0,0,120,100"},
        {"shrink free", {free, free, free, free}, {0, 0, 80, 60}, FALSE, {30, 20}, "0,0,80,60"},
        // The left column may not pass 50: the right one takes the rest.
        {"left at its maximum", {narrow, narrow, free, free}, {0, 0, 140, 80}, FALSE,
         {50, 30}, "0,0,140,80"},
        // Nothing may shrink: keeping the size leaves the change off the area.
        {"both at minimum", {narrow, narrow, narrow, narrow}, {0, 0, 30, 80}, TRUE, {20, 30},
         "0,0,46,80"},
        // Without keeping it, the bar takes half of what is left.
        {"forced", {narrow, narrow, narrow, narrow}, {0, 0, 30, 80}, FALSE, {12, 30},
         "0,0,30,80"},
        // Past what both panes of a side allow, the top row's limits still
        // give room; the bottom row's give none.
        {"top row looser", {topLeft, bottomLeft, right, right}, {0, 0, 140, 80}, TRUE,
         {50, 30}, "0,0,126,80"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        AreaSplitter splitter(c.panes);
        int x = 40, y = 30;
        CRect area = splitter.ResizeArea(CRect(0, 0, 100, 80), c.newRect, x, y, c.keepSize);
        EXPECT_EQ(c.position, CPoint(x, y));
        EXPECT_EQ(c.area, RectText(area));
    }
}

// An odd pixel that no pane can take goes to either side in turn.
TEST(SplitterTest, ResizeAreaAlternatesTheOddPixel)
{
    const PaneLimits fixed = {{40, 30}, {40, 30}, 0};
    AreaSplitter splitter({fixed, fixed, fixed, fixed});
    int x = 40, y = 30;
    const int expected[] = {43, 47, 50, 54};
    CRect area(0, 0, 100, 80);
    for (int step : expected)
    {
        CRect next = area;
        next.right += 7;
        splitter.ResizeArea(area, next, x, y, FALSE);
        EXPECT_EQ(step, x);
        area = next;
    }
}

namespace
{
class DrawnSplitter : public TableSplitter
{
public:
    DrawnSplitter(int mask, int drawStyle)
    {
        SetSplitterArea(CRect(0, 0, 60, 50));
        SetBarDrawStyle(drawStyle);
        SetPanes(mask, 0);
        SetSplitPosition(20, 20);
    }
};
}

// Bars at x 20..26 and y 20..26, both full length when all panes exist.
TEST(SplitterTest, BarsAreDrawnWithBrokenLinesAtTheCrossing)
{
    const TkSysColors& c = tkSysColors;
    const COLORREF white = RGB(255, 255, 255);
    const struct
    {
        int mask;
        int drawStyle;
        CPoint point;
        COLORREF colour;
    } cases[] = {
        // Raised: the row bar's highlight stops where the column bar comes down.
        {0xF, 2, {5, 20}, c.m_clrBtnHilite},
        {0xF, 2, {21, 20}, c.m_clrBtnFace},
        {0xF, 2, {24, 20}, c.m_clrBtnHilite},
        {0xF, 2, {22, 21}, c.m_clrBtnFace},
        {0xF, 2, {5, 24}, c.m_clrBtnShadow},
        {0xF, 2, {5, 25}, c.m_clrWindowFrame},
        {0xF, 2, {23, 25}, c.m_clrBtnFace},
        {0xF, 2, {20, 5}, c.m_clrBtnHilite},
        {0xF, 2, {24, 5}, c.m_clrBtnShadow},
        {0xF, 2, {25, 5}, c.m_clrWindowFrame},
        {0xF, 2, {40, 40}, white},
        // A single column bar runs the full height without breaks.
        {0x3, 2, {24, 22}, c.m_clrBtnShadow},
        {0x3, 2, {25, 22}, c.m_clrWindowFrame},
        {0x3, 2, {5, 20}, white},
        // Flat: the shadow is the last line, no frame.
        {0x5, 4, {5, 25}, c.m_clrBtnShadow},
        {0x5, 4, {5, 24}, c.m_clrBtnFace},
        // Plain: only the face colour.
        {0x5, 8, {5, 20}, c.m_clrBtnFace},
        {0x5, 8, {5, 25}, c.m_clrBtnFace},
        // The default drawing style (2) is raised.
        {0x5, 1, {5, 25}, c.m_clrWindowFrame},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE("panes " + std::to_string(k.mask) + " style " +
                     std::to_string(k.drawStyle) + " at " + std::to_string(k.point.x) + "," +
                     std::to_string(k.point.y));
        DrawnSplitter splitter(k.mask, k.drawStyle);
        Canvas canvas(60, 50);
        splitter.Draw(CDC::FromHandle(canvas.m_dc));
        EXPECT_EQ(k.colour, canvas.Pixel(k.point.x, k.point.y));
    }
}
