// Small rules of the docking code read from outside: the side a bar style
// asks for and a side index brought into range, the index an insertion keeps,
// and a rectangle turned to read along the other axis.
#include "tests/support/TestFramework.h"

#include <afxext.h>

#include "toolkit/docking/TkFrameDockingFeature.h"
#include "toolkit/docking/TkInsertConstraints.h"
#include "toolkit/docking/TkOrientedRect.h"

namespace
{

// Sides: 0 top, 1 bottom, 2 left, 3 right.
TEST(DockingRulesTest, SidesFromStylesAndValues)
{
    const struct
    {
        DWORD style;
        int side;
    } styles[] = {
        {CBRS_ALIGN_LEFT, 2}, {CBRS_ALIGN_TOP, 0}, {CBRS_ALIGN_RIGHT, 3}, {CBRS_ALIGN_BOTTOM, 1},
        {CBRS_ALIGN_ANY, 2}, {CBRS_ALIGN_TOP | CBRS_ALIGN_RIGHT, 0}, {CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM, 3},
        {0, 0},
    };
    for (const auto& c : styles)
        EXPECT_EQ(c.side, TkFrameDockingFeatureBase::GetSideFromStyle(c.style)) << std::hex << c.style;
    const struct
    {
        int value;
        int side;
    } values[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 1}, {-1, 1}, {0x1000, 1}};
    for (const auto& c : values)
        EXPECT_EQ(c.side, TkFrameDockingFeatureBase::NormalizeSide(c.value)) << c.value;
}

// The index is written out whether or not it is to be used; the answer says
// whether it is.
TEST(DockingRulesTest, AnInsertionKeepsItsIndexAndWhetherToUseIt)
{
    const struct
    {
        int index;
        BOOL after;
        BOOL use;
    } cases[] = {{3, FALSE, TRUE}, {0, TRUE, TRUE}, {7, FALSE, FALSE}};
    TkDynGridInsertConstraints constraints;
    int index = -1;
    EXPECT_FALSE(constraints.GetIndex(&index));
    EXPECT_EQ(0, index);
    for (const auto& c : cases) {
        constraints.SetIndex(c.index, c.after, c.use);
        EXPECT_EQ(c.use, constraints.GetIndex(&index)) << c.index;
        EXPECT_EQ(c.index, index);
        EXPECT_EQ(c.use, constraints.GetIndex(NULL)) << c.index;
    }
}

// Turning the rectangle changes which sides are read along and across it,
// never the sides themselves.
TEST(DockingRulesTest, AnOrientedRectangleReadsAlongItsOrientation)
{
    const struct
    {
        BOOL horizontal;
        int primaryNear, primaryFar, secondaryNear, secondaryFar;
    } cases[] = {{FALSE, 20, 80, 10, 50}, {TRUE, 10, 50, 20, 80}, {FALSE, 20, 80, 10, 50}};
    TkOrientedRect rect(CRect(10, 20, 50, 80), TRUE);
    for (const auto& c : cases) {
        rect.SetOrientation(c.horizontal);
        EXPECT_EQ(c.horizontal, rect.IsHorizontal());
        EXPECT_EQ(c.primaryNear, rect.GetPrimaryNear()) << c.horizontal;
        EXPECT_EQ(c.primaryFar, rect.GetPrimaryFar()) << c.horizontal;
        EXPECT_EQ(c.secondaryNear, rect.GetSecondaryNear()) << c.horizontal;
        EXPECT_EQ(c.secondaryFar, rect.GetSecondaryFar()) << c.horizontal;
        EXPECT_EQ(CRect(10, 20, 50, 80), static_cast<CRect&>(rect));
    }
}

}  // namespace
