#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLayoutNodeGripper.h"
#include "toolkit/colors/TkSysColors.h"

#include <memory>

namespace
{
// Lays out a gripper (with one child) on rect and tells where things went.
template <class Gripper>
struct LaidOut
{
    LaidOut(int side, const CRect& rect, Gripper* made) : gripper(made)
    {
        gripper->SetGripperSide(side);
        gripper->AddChildNode(&child);
        CRect result;
        gripper->RecalcLayout(result, rect, FALSE, TRUE);
    }
    ~LaidOut() { gripper->RemoveChildNode(&child); }
    std::string Bar(int i) { return RectText(gripper->GetBars()->bars[i]); }

    ProbeNode child;
    std::unique_ptr<Gripper> gripper;
};

TEST(GripperTest, StripBarsAndChild)
{
    const struct
    {
        int side;
        CRect rect;
        const char* child;
        const char* strip;
        const char* bars[2];
    } cases[] = {
        {TkLayoutNodeBorderSpace::kSideLeft, {0, 0, 100, 50}, "18,0,100,50", "0,0,18,50",
         {"6,0,9,50", "10,0,13,50"}},
        {TkLayoutNodeBorderSpace::kSideLeft, {0, 0, 10, 50}, "10,0,10,50", "0,0,10,50",
         {"2,0,5,50", "6,0,9,50"}},
        {TkLayoutNodeBorderSpace::kSideRight, {0, 0, 100, 50}, "0,0,82,50", "82,0,100,50",
         {"88,0,91,50", "92,0,95,50"}},
        {TkLayoutNodeBorderSpace::kSideTop, {0, 0, 100, 50}, "0,18,100,50", "0,0,100,18",
         {"0,6,100,9", "0,10,100,13"}},
        {TkLayoutNodeBorderSpace::kSideBottom, {10, 10, 110, 60}, "10,10,110,42", "10,42,110,60",
         {"10,48,110,51", "10,52,110,55"}},
    };
    for (const auto& c : cases)
    {
        LaidOut<TkLayoutNodeGripper> laid(c.side, c.rect, new TkLayoutNodeGripper);
        EXPECT_EQ(c.child, RectText(laid.child.GetCurrentRect())) << "side " << c.side;
        EXPECT_EQ(c.strip, RectText(laid.gripper->GetStrip(c.side))) << "side " << c.side;
        EXPECT_EQ(c.bars[0], laid.Bar(0)) << "side " << c.side;
        EXPECT_EQ(c.bars[1], laid.Bar(1)) << "side " << c.side;
    }
}

TEST(GripperTest, SingleBarSettingAndActivation)
{
    TkLayoutNodeGripper::SetSingleBar(TRUE);
    LaidOut<TkLayoutNodeGripper> single(TkLayoutNodeBorderSpace::kSideLeft, {0, 0, 100, 50},
                                        new TkLayoutNodeGripper);
    TkLayoutNodeGripper::SetSingleBar(FALSE);
    EXPECT_EQ("2,0,5,50", single.Bar(0)) << "one bar, 3 pixels wide, 2 from the edge";

    LaidOut<TkLayoutNodeGripper> laid(TkLayoutNodeBorderSpace::kSideLeft, {0, 0, 100, 50},
                                      new TkLayoutNodeGripper);
    laid.gripper->SetNodeActive(FALSE, FALSE);
    EXPECT_EQ(TkLayoutNodeBorderSpace::kSideTop, laid.gripper->GetGripperSide());
    CSize minimum;
    DWORD flags = 0;
    laid.gripper->GetSizeLimits(&minimum, NULL, &flags);
    EXPECT_EQ(CSize(0, 18), minimum);
    laid.gripper->SetNodeActive(TRUE, FALSE);
    EXPECT_EQ(TkLayoutNodeBorderSpace::kSideLeft, laid.gripper->GetGripperSide());
}

class ButtonGripper : public TkLayoutNodeGripperEx
{
public:
    ButtonGripper(BOOL close, BOOL arrow) { ShowButtons(close, arrow); }
    std::string Close()
    {
        CRect rect;
        return GetCloseRect(rect) ? RectText(rect) : "none";
    }
    std::string Arrow()
    {
        CRect rect;
        return GetArrowRect(rect) ? RectText(rect) : "none";
    }
};

TEST(GripperTest, ButtonsAtTheStartOfTheStrip)
{
    const struct
    {
        int side;
        BOOL close, arrow;
        const char* closeRect;
        const char* arrowRect;
        const char* bar;
    } cases[] = {
        {TkLayoutNodeBorderSpace::kSideLeft, TRUE, TRUE, "4,0,15,11", "3,12,15,24", "6,26,9,100"},
        {TkLayoutNodeBorderSpace::kSideLeft, TRUE, FALSE, "4,0,15,11", "4,13,15,13",
         "6,14,9,100"},
        {TkLayoutNodeBorderSpace::kSideLeft, FALSE, FALSE, "4,0,15,0", "4,0,15,0", "6,0,9,100"},
        {TkLayoutNodeBorderSpace::kSideTop, TRUE, TRUE, "89,4,100,15", "75,3,87,15", "0,6,74,9"},
        {TkLayoutNodeBorderSpace::kSideTop, FALSE, TRUE, "100,4,100,15", "88,3,100,15",
         "0,6,87,9"},
    };
    for (const auto& c : cases)
    {
        LaidOut<ButtonGripper> laid(c.side, {0, 0, 100, 100}, new ButtonGripper(c.close, c.arrow));
        EXPECT_EQ(c.closeRect, laid.gripper->Close()) << c.side << c.close << c.arrow;
        EXPECT_EQ(c.arrowRect, laid.gripper->Arrow()) << c.side << c.close << c.arrow;
        EXPECT_EQ(c.bar, laid.Bar(0)) << c.side << c.close << c.arrow;
    }
    ButtonGripper unlaid(TRUE, TRUE);
    EXPECT_EQ("none", unlaid.Close()) << "no record before the first layout";
}

TEST(GripperTest, ButtonStates)
{
    ButtonGripper gripper(TRUE, TRUE);
    const struct
    {
        int side;
        int direction;
        BOOL enabled;
        UINT state;
    } cases[] = {
        {TkLayoutNodeBorderSpace::kSideLeft, 1, TRUE, DFCS_SCROLLLEFT},
        {TkLayoutNodeBorderSpace::kSideRight, 0, TRUE, DFCS_SCROLLRIGHT},
        {TkLayoutNodeBorderSpace::kSideTop, 0, TRUE, DFCS_SCROLLDOWN},
        {TkLayoutNodeBorderSpace::kSideBottom, 1, FALSE, DFCS_SCROLLUP | DFCS_INACTIVE},
        {TkLayoutNodeBorderSpace::kSideTop, -3, FALSE, DFCS_SCROLLDOWN | DFCS_INACTIVE},
    };
    for (const auto& c : cases)
    {
        gripper.SetArrowDirection(c.direction);
        gripper.EnableButtons(TRUE, c.enabled);
        EXPECT_EQ(c.state, gripper.GetArrowState(c.side));
    }
    EXPECT_EQ(0u, gripper.GetCloseState());
}

TEST(BorderSpaceTest, Strips)
{
    const struct
    {
        BOOL sideStripsFirst;
        CRect rect;
        const char* strips[4];
    } cases[] = {
        {TRUE, {0, 0, 100, 50}, {"6,0,94,3", "6,47,94,50", "0,0,6,50", "94,0,100,50"}},
        {FALSE, {0, 0, 100, 50}, {"0,0,100,3", "0,47,100,50", "0,3,6,47", "94,3,100,47"}},
        // Margins wider than the rectangle are clipped to it.
        {TRUE, {0, 0, 4, 2}, {"4,0,4,2", "4,0,4,2", "0,0,4,2", "0,0,4,2"}},
    };
    for (const auto& c : cases)
    {
        TkLayoutNodeBorderSpace space;
        CRect strips[4];
        space.ComputeStrips(c.rect, c.sideStripsFirst, strips[2], strips[3], strips[0],
                            strips[1]);
        for (int side = 0; side < 4; ++side)
            EXPECT_EQ(c.strips[side], RectText(strips[side])) << "side " << side;
    }
}

TEST(BorderSpaceTest, EdgesSwitchTheirMargins)
{
    const struct
    {
        int left, top, right, bottom;
        const char* child;
    } cases[] = {
        {0, 0, 0, 0, "0,0,100,50"},
        {0, 1, 0, 0, "0,2,100,50"},
        {1, 0, 1, 1, "2,0,98,48"},
        {-1, 0, 0, 0, "0,0,100,50"},
    };
    for (const auto& c : cases)
    {
        TkLNBorderClientEdge edge;
        ProbeNode child;
        edge.AddChildNode(&child);
        edge.SetEdgeFlags(c.left, c.top, c.right, c.bottom);
        CRect result;
        edge.RecalcLayout(result, CRect(0, 0, 100, 50), FALSE, TRUE);
        EXPECT_EQ(c.child, RectText(child.GetCurrentRect()));
    }
    TkLNBorderClientEdge edge;
    const struct
    {
        int from, to, side;
        const char* band;
    } bands[] = {
        {0, 2, TkLayoutNodeBorderSpace::kSideTop, "10,10,50,12"},
        {0, 2, TkLayoutNodeBorderSpace::kSideBottom, "10,28,50,30"},
        {1, 3, TkLayoutNodeBorderSpace::kSideLeft, "11,10,13,30"},
        {0, 2, TkLayoutNodeBorderSpace::kSideRight, "48,10,50,30"},
        {0, 90, TkLayoutNodeBorderSpace::kSideTop, "10,10,50,30"},
    };
    for (const auto& b : bands)
        EXPECT_EQ(b.band, RectText(edge.GetBandRect(CRect(10, 10, 50, 30), b.from, b.to, b.side)));
}

TEST(BorderSpaceTest, DisabledMarginsGiveTheChildEverything)
{
    TkLayoutNodeBorderSpace space;
    ProbeNode child;
    space.AddChildNode(&child);
    CRect result;
    space.RecalcLayout(result, CRect(0, 0, 100, 50), FALSE, TRUE);
    EXPECT_EQ("6,3,94,47", RectText(child.GetCurrentRect()));
    EXPECT_TRUE(space.EnableMargins(FALSE, FALSE));
    EXPECT_FALSE(space.EnableMargins(FALSE, FALSE)) << "no change";
    EXPECT_EQ("0,0,100,50", RectText(child.GetCurrentRect()));
    space.EnableMargins(TRUE, TRUE);
    EXPECT_EQ("6,3,94,47", RectText(child.GetCurrentRect()));
}
}  // namespace
