#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLNBorder.h"
#include "toolkit/docking/TkLNBorderClient.h"

namespace
{
struct Limits
{
    CSize minimum;
    CSize maximum;
    DWORD flags;
};

const Limits kFree = {{0, 0}, {0, 0}, TkLayoutNode::kNoMaximum};

// Preferred thickness of each border (0: no border there), the client's
// limits, and the rectangles expected for top, bottom, left, right, client.
struct BorderClientCase
{
    const char* name;
    int mode;
    CRect rect;
    int top, bottom, left, right;
    Limits client;
    Limits borders;
    BOOL constrain;
    const char* expected[5];
};

const BorderClientCase kBorderClientCases[] = {
    {"mode 0: top and bottom span the width", 0, {0, 0, 200, 100}, 20, 10, 30, 40, kFree, kFree,
     FALSE, {"0,0,200,20", "0,90,200,100", "0,20,30,90", "160,20,200,90", "30,20,160,90"}},
    {"mode 1: left and right span the height", 1, {0, 0, 200, 100}, 20, 10, 30, 40, kFree, kFree,
     FALSE, {"30,0,160,20", "30,90,160,100", "0,0,30,100", "160,0,200,100", "30,20,160,90"}},
    {"40 and 40 in 60 shrink to 30 each", 0, {0, 0, 200, 60}, 40, 40, 0, 0, kFree, kFree, FALSE,
     {"0,0,200,30", "0,30,200,60", "", "", "0,30,200,30"}},
    {"no room: borders of thickness 0", 0, {10, 10, 200, 10}, 40, 40, 0, 0, kFree, kFree, FALSE,
     {"10,10,200,10", "10,10,200,10", "", "", "10,10,200,10"}},
    {"inverted rectangle is normalised", 1, {50, 50, 0, 0}, 0, 0, 30, 30, kFree, kFree, FALSE,
     {"", "", "50,50,50,50", "50,50,50,50", "50,50,50,50"}},
    {"client minimum pushes both sides back by 20", 0, {0, 0, 200, 100}, 0, 0, 70, 70,
     {{100, 0}, {0, 0}, TkLayoutNode::kNoMaximum}, kFree, FALSE,
     {"", "", "0,0,50,100", "150,0,200,100", "50,0,150,100"}},
    {"client maximum pulls both sides in", 0, {0, 0, 200, 100}, 20, 10, 30, 40,
     {{0, 0}, {50, 500}, 0}, kFree, FALSE,
     {"0,0,200,20", "0,90,200,100", "0,20,70,90", "120,20,200,90", "70,20,120,90"}},
    {"client minimum beyond the bounds is clipped", 0, {0, 0, 200, 100}, 20, 10, 30, 40,
     {{250, 0}, {0, 0}, TkLayoutNode::kNoMaximum}, kFree, FALSE,
     {"0,0,200,20", "0,90,200,100", "0,20,0,90", "200,20,200,90", "0,20,200,90"}},
    {"one side only takes the whole push", 0, {0, 0, 200, 100}, 0, 0, 0, 150,
     {{100, 0}, {0, 0}, TkLayoutNode::kNoMaximum}, kFree, FALSE,
     {"", "", "", "100,0,200,100", "0,0,100,100"}},
    {"constrained borders keep their minimum", 0, {0, 0, 200, 60}, 40, 40, 0, 0, kFree,
     {{0, 35}, {0, 0}, TkLayoutNode::kNoMaximum}, TRUE,
     {"0,0,200,35", "0,35,200,60", "", "", "0,35,200,35"}},
    {"mode 1: constrained sides move the ends with them", 1, {0, 0, 60, 200}, 20, 0, 40, 40,
     kFree, {{35, 0}, {0, 0}, TkLayoutNode::kNoMaximum}, TRUE,
     {"35,0,35,20", "", "0,0,35,200", "35,0,60,200", "35,20,35,200"}},
};

CRect PreferredRect(int position, int thickness)
{
    switch (position)
    {
    case TkLNBorderClient::kTop:
    case TkLNBorderClient::kBottom:
        return CRect(0, 0, 500, thickness);
    default:
        return CRect(0, 0, thickness, 500);
    }
}

TEST(BorderClientTest, Layout)
{
    for (const BorderClientCase& c : kBorderClientCases)
    {
        TkLNBorderClient parent;
        parent.SetLayoutMode(c.mode);
        ProbeNode nodes[5];
        const int thickness[4] = {c.top, c.bottom, c.left, c.right};
        for (int position = 0; position < 4; ++position)
        {
            if (!thickness[position])
                continue;
            nodes[position].InitRects(PreferredRect(position, thickness[position]));
            nodes[position].SetSizeLimits(c.borders.minimum, c.borders.maximum, c.borders.flags);
            ASSERT_NE(-1, parent.AddBorderNode(&nodes[position], position));
        }
        nodes[4].SetSizeLimits(c.client.minimum, c.client.maximum, c.client.flags);
        ASSERT_NE(-1, parent.AddBorderNode(&nodes[4], TkLNBorderClient::kClient));
        CRect result;
        parent.RecalcLayout(result, c.rect, c.constrain, TRUE);
        for (int position = 0; position < 5; ++position)
            if (*c.expected[position])
            {
                EXPECT_EQ(c.expected[position], RectText(nodes[position].GetCurrentRect()))
                    << c.name << ", position " << position;
            }
    }
}

TEST(BorderClientTest, ShrinkRatio)
{
    TkLNBorderClient parent;
    const struct
    {
        int available, first, second;
        double ratio;
    } cases[] = {{-5, 10, 10, 0.0}, {60, 40, 40, 0.75}, {80, 40, 40, 1.0}, {0, 0, 0, 1.0},
                 {10, 30, 0, 10.0 / 30}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.ratio, parent.GetShrinkRatio(c.available, c.first, c.second));
}

TEST(BorderClientTest, FreePositions)
{
    const struct
    {
        int mode;
        std::vector<int> order;
    } cases[] = {
        {0, {0, 1, 2, 3, 4}},
        {1, {2, 3, 0, 1, 4}},
    };
    for (const auto& c : cases)
    {
        TkLNBorderClient parent;
        parent.SetLayoutMode(c.mode);
        ProbeNode nodes[6];
        for (size_t i = 0; i < c.order.size(); ++i)
        {
            EXPECT_EQ((int)i + 1, parent.AddChildNode(&nodes[i]));
            int position = -1;
            EXPECT_TRUE(parent.GetBorderPosition(&nodes[i], &position));
            EXPECT_EQ(c.order[i], position) << "mode " << c.mode;
        }
        EXPECT_EQ(-1, parent.AddChildNode(&nodes[5])) << "no slot left";
        EXPECT_EQ(4, parent.RemoveChildNode(&nodes[1]));
        EXPECT_EQ(NULL, parent.GetBorderNode(c.order[1]));
        EXPECT_EQ(5, parent.AddChildNode(&nodes[5]));
        EXPECT_EQ(&nodes[5], parent.GetBorderNode(c.order[1])) << "the freed slot is taken again";
    }
    TkLNBorderClient parent;
    ProbeNode node;
    EXPECT_EQ(NULL, parent.GetBorderNode(7));
    EXPECT_FALSE(parent.SetBorderNode(&node, 5));
    EXPECT_FALSE(parent.SetBorderNode(NULL, 0));
    EXPECT_FALSE(parent.ClearBorderNode(&node));
}

TEST(BorderClientTest, ADeletedBorderLeavesItsSlot)
{
    TkLNBorderClient parent;
    ProbeNode* top = new ProbeNode;
    parent.AddBorderNode(top, TkLNBorderClient::kTop);
    delete top;
    EXPECT_EQ(NULL, parent.GetBorderNode(TkLNBorderClient::kTop));
    CRect result;
    parent.RecalcLayout(result, CRect(0, 0, 50, 50), TRUE, TRUE);
    EXPECT_EQ("0,0,50,50", RectText(result));
}

class RecordingReceiver : public ITkLNBorderClientEventRcvr
{
public:
    void OnClientRectChanged(const CRect& client) override { m_changes.push_back(RectText(client)); }
    std::vector<std::string> m_changes;
};

TEST(BorderClientTest, TheReceiverHearsOfClientChangesOnly)
{
    TkLNBorderClient parent;
    RecordingReceiver receiver;
    parent.SetReceiver(&receiver);
    ProbeNode top, client;
    top.InitRects(CRect(0, 0, 10, 20));
    parent.AddBorderNode(&top, TkLNBorderClient::kTop);
    parent.AddBorderNode(&client, TkLNBorderClient::kClient);
    CRect result;
    parent.RecalcLayout(result, CRect(0, 0, 100, 100), FALSE, TRUE);
    parent.RecalcLayout(result, CRect(0, 0, 100, 100), FALSE, TRUE);
    parent.RecalcLayout(result, CRect(0, 0, 100, 80), FALSE, TRUE);
    EXPECT_EQ((std::vector<std::string>{"0,20,100,100", "0,20,100,80"}), receiver.m_changes);
}

class MarginNode : public TkLNBorder_T<TkLayoutNode>
{
public:
    MarginNode(int left, int top, int right, int bottom)
    {
        m_marginLeft = left;
        m_marginTop = top;
        m_marginRight = right;
        m_marginBottom = bottom;
    }
};

class HideableProbe : public ProbeNode, public TkDefHideableNode
{
};

TEST(BorderNodeTest, ChildRectangleInsideTheMargins)
{
    const struct
    {
        CRect rect;
        int left, top, right, bottom;
        const char* child;
    } cases[] = {
        {{0, 0, 100, 50}, 6, 3, 6, 3, "6,3,94,47"},
        {{0, 0, 10, 4}, 6, 3, 6, 3, "6,3,6,3"},
        {{0, 0, 10, 4}, 20, 0, 0, 9, "10,0,10,0"},
        {{0, 0, 10, 10}, 0, 30, 0, 0, "0,10,10,10"},
        {{30, 30, 0, 0}, 1, 1, 1, 1, "30,30,30,30"},
    };
    for (const auto& c : cases)
    {
        MarginNode border(c.left, c.top, c.right, c.bottom);
        ProbeNode child;
        border.AddChildNode(&child);
        CRect result;
        border.RecalcLayout(result, c.rect, FALSE, TRUE);
        EXPECT_EQ(c.child, RectText(child.GetCurrentRect()));
        CRect inner = child.GetCurrentRect();
        EXPECT_GE(inner.Width(), 0);
        EXPECT_GE(inner.Height(), 0);
    }
}

TEST(BorderNodeTest, LimitsFollowTheChildAndCollapseWhenItHides)
{
    MarginNode border(6, 3, 6, 3);
    HideableProbe child;
    child.SetSizeLimits(CSize(10, 10), CSize(50, 50), 0);
    EXPECT_EQ(1, border.AddChildNode(&child));
    ProbeNode second;
    EXPECT_EQ(1, border.AddChildNode(&second)) << "a second child is refused";
    EXPECT_EQ(NULL, second.GetParentNode());
    EXPECT_EQ(&child, border.GetWrappedNode());

    const struct
    {
        BOOL visible;
        const char* limits;
    } steps[] = {{TRUE, "22,16 62,56 0"}, {FALSE, "0,0 0,0 0"}, {TRUE, "22,16 62,56 0"}};
    for (const auto& s : steps)
    {
        child.ShowNode(s.visible);
        CRect result;
        border.RecalcLayout(result, CRect(0, 0, 40, 40), FALSE, TRUE);
        CSize minimum, maximum;
        DWORD flags = 9;
        border.GetSizeLimits(&minimum, &maximum, &flags);
        EXPECT_EQ(s.limits, std::to_string(minimum.cx) + "," + std::to_string(minimum.cy) + " " +
                                std::to_string(maximum.cx) + "," + std::to_string(maximum.cy) +
                                " " + std::to_string(flags));
    }
}

TEST(BorderNodeTest, PreferredRectangleAndChildGrowth)
{
    MarginNode border(6, 3, 6, 3);
    ProbeNode child;
    border.AddChildNode(&child);
    border.SetReferenceRect(CRect(0, 0, 100, 50));
    EXPECT_EQ("6,3,94,47", RectText(child.GetReferenceRect()));
    EXPECT_EQ("0,0,100,50", RectText(border.GetReferenceRect()));

    // A constrained layout first lets the child grow to its minimum.
    child.SetCurrentRect(CRect(6, 3, 26, 13));
    child.SetSizeLimits(CSize(50, 10), CSize(0, 0), TkLayoutNode::kNoMaximum);
    CRect result;
    border.RecalcLayout(result, CRect(0, 0, 32, 16), TRUE, TRUE);
    EXPECT_EQ("0,0,62,16", RectText(result));
    EXPECT_EQ("6,3,56,13", RectText(child.GetCurrentRect()));

    MarginNode empty(1, 1, 1, 1);
    empty.SetCurrentRect(CRect(1, 2, 3, 4));
    EXPECT_EQ("1,2,3,4", RectText(empty.GetReferenceRect())) << "without child: the current one";
}
}  // namespace
