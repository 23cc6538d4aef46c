#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLNBorderClient.h"
#include "toolkit/docking/TkLNSizable.h"

#include <vector>

namespace
{
// A content node that records the rectangles it is laid out in.
class RecordingNode : public ProbeNode
{
public:
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override
    {
        m_layouts.push_back(RectText(rect));
        ProbeNode::CalcLayout(result, rect, constrain, force);
    }
    std::vector<std::string> m_layouts;
};

std::string SplitterText(TkLNSizable& sizable, int edge)
{
    TkLNVirtualSplitter* splitter = sizable.GetEdgeSplitter(edge);
    if (!splitter)
        return "-";
    return RectText(splitter->GetCurrentRect()) + " in " + RectText(splitter->GetLimitRect()) +
           (splitter->IsVerticalBar() ? " |" : " -");
}

class SizableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 300, 200,
                                    NULL, NULL));
        ASSERT_EQ(1, m_sizable.AddChildNode(&m_content));
    }
    void TearDown() override { m_host.DestroyWindow(); }
    void Layout(const CRect& rect)
    {
        CRect result;
        m_sizable.RecalcLayout(result, rect, FALSE, TRUE);
    }

    CWnd m_host;
    TkLNSizable m_sizable;
    RecordingNode m_content;
};
}

// The node at (20, 30, 220, 130); the splitters may reach (0, 0, 300, 200).
TEST_F(SizableTest, EdgeSplittersLieInTheirMarginsWithTheirLimits)
{
    const struct
    {
        int edges;
        CRect rect;
        const char* content;
        const char* top;
        const char* bottom;
        const char* left;
        const char* right;
    } cases[] = {
        {0, {20, 30, 220, 130}, "20,30,220,130", "-", "-", "-", "-"},
        {2, {20, 30, 220, 130}, "20,30,220,124", "-", "20,124,220,130 in 20,30,220,200 -", "-",
         "-"},
        {1 | 8, {20, 30, 220, 130}, "20,36,214,130", "20,30,220,36 in 20,0,220,130 -", "-", "-",
         "214,36,220,130 in 20,30,300,130 |"},
        {15, {20, 30, 220, 130}, "26,36,214,124", "20,30,220,36 in 20,0,220,130 -",
         "20,124,220,130 in 20,30,220,200 -", "20,36,26,124 in 0,30,220,130 |",
         "214,36,220,124 in 20,30,300,130 |"},
        // A node thinner than the bar gets bars of no thickness.
        {4 | 1, {20, 30, 24, 34}, "24,34,24,34", "20,30,24,30 in 20,0,24,34 -", "-",
         "20,30,20,34 in 0,30,24,34 |", "-"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.edges);
        ASSERT_TRUE(m_sizable.SetSizableEdges(&m_host, TRUE, c.edges));
        m_sizable.SetLimitRect(CRect(0, 0, 300, 200), FALSE);
        Layout(c.rect);
        EXPECT_EQ(c.content, RectText(m_content.GetCurrentRect()));
        EXPECT_EQ(c.top, SplitterText(m_sizable, TkLNSizable::kEdgeTop));
        EXPECT_EQ(c.bottom, SplitterText(m_sizable, TkLNSizable::kEdgeBottom));
        EXPECT_EQ(c.left, SplitterText(m_sizable, TkLNSizable::kEdgeLeft));
        EXPECT_EQ(c.right, SplitterText(m_sizable, TkLNSizable::kEdgeRight));
    }
    EXPECT_FALSE(m_sizable.SetSizableEdges(NULL, TRUE, 15));
}

TEST_F(SizableTest, LiveTrackingFollowsTheLastRequest)
{
    ASSERT_TRUE(m_sizable.SetSizableEdges(&m_host, TRUE, 3));
    TkLNVirtualSplitter* top = m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeTop);
    EXPECT_TRUE(top->IsLiveTracking());
    ASSERT_TRUE(m_sizable.SetSizableEdges(&m_host, FALSE, 3));
    EXPECT_EQ(top, m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeTop));
    EXPECT_FALSE(top->IsLiveTracking());
}

// Disabling sizing brings back the edges in force before, also after a
// second disabling.
TEST_F(SizableTest, SizingEnabledAgainRestoresTheEdges)
{
    ASSERT_TRUE(m_sizable.SetSizableEdges(&m_host, TRUE, 1 | 4));
    m_sizable.SetSizingEnabled(FALSE, TRUE, FALSE);
    EXPECT_EQ(0, m_sizable.GetSizableEdges());
    EXPECT_EQ(NULL, m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeTop));
    m_sizable.SetSizingEnabled(FALSE, TRUE, FALSE);
    m_sizable.SetSizingEnabled(TRUE, TRUE, TRUE);
    EXPECT_EQ(1 | 4, m_sizable.GetSizableEdges());
    EXPECT_NE(nullptr, m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeTop));
    EXPECT_NE(nullptr, m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeLeft));
}

TEST_F(SizableTest, HoldsOneContentNode)
{
    ProbeNode second;
    EXPECT_EQ(-1, m_sizable.AddChildNode(&second));
    EXPECT_EQ(&m_content, m_sizable.GetContentNode());
    EXPECT_EQ(0, m_sizable.RemoveChildNode(&m_content));
    EXPECT_EQ(NULL, m_sizable.GetContentNode());
    EXPECT_EQ(1, m_sizable.AddChildNode(&second));
    EXPECT_EQ(&second, m_sizable.GetContentNode());
    m_sizable.RemoveChildNode(&second);
}

namespace
{
// A bottom border of preferred height 50 (content 44 and the top edge's
// bar) under a 300 x 200 root.
class SizableInFrameTest : public SizableTest
{
protected:
    void SetUp() override
    {
        SizableTest::SetUp();
        m_root.AddBorderNode(&m_sizable, TkLNBorderClient::kBottom);
        m_root.AddBorderNode(&m_client, TkLNBorderClient::kClient);
        ASSERT_TRUE(m_sizable.SetSizableEdges(&m_host, TRUE, TkLNSizable::kEdgeTop));
        m_sizable.SetLimitRect(CRect(0, 0, 300, 200), FALSE);
        m_content.SetReferenceRect(CRect(0, 0, 300, 44));
        CRect result;
        m_root.RecalcLayout(result, CRect(0, 0, 300, 200), FALSE, TRUE);
    }
    void TearDown() override
    {
        m_root.RemoveChildNode(&m_sizable);
        m_root.RemoveChildNode(&m_client);
        SizableTest::TearDown();
    }

    TkLNBorderClient m_root;
    ProbeNode m_client;
};
}

TEST_F(SizableInFrameTest, AMovedEdgeChangesThePreferredSizeAndTheLayout)
{
    EXPECT_EQ("0,150,300,200", RectText(m_sizable.GetCurrentRect()));
    TkLNVirtualSplitter* top = m_sizable.GetEdgeSplitter(TkLNSizable::kEdgeTop);
    EXPECT_EQ("0,150,300,156 in 0,0,300,200 -", SplitterText(m_sizable, TkLNSizable::kEdgeTop));
    m_sizable.OnSplitterMoved(top, 0, -20);
    EXPECT_EQ("0,130,300,200", RectText(m_sizable.GetCurrentRect()));
    EXPECT_EQ("0,136,300,200", RectText(m_content.GetCurrentRect()));
    EXPECT_EQ("0,0,300,130", RectText(m_client.GetCurrentRect()));
    // The size stays through the next layout of the frame.
    CRect result;
    m_root.RecalcLayout(result, CRect(0, 0, 300, 240), FALSE, TRUE);
    EXPECT_EQ("0,170,300,240", RectText(m_sizable.GetCurrentRect()));
}

// A dock event collapses the border to its inner edge, then the tree lays
// it out as before; the content is never laid out in the edge line.
TEST(SizableDockBorderTest, ADockEventCollapsesTheBorderToItsInnerEdge)
{
    for (int side = 0; side < 4; ++side)
    {
        SCOPED_TRACE(side);
        TkLNBorderClient root;
        ProbeNode client;
        TkLNSizableDockBorder border;
        RecordingNode content;
        content.SetReferenceRect(CRect(0, 0, 30, 30));
        border.AddChildNode(&content);
        border.SetDockSide(side);
        root.AddBorderNode(&border, side);
        root.AddBorderNode(&client, TkLNBorderClient::kClient);
        CRect result;
        root.RecalcLayout(result, CRect(10, 20, 110, 120), FALSE, TRUE);
        CRect before = border.GetCurrentRect();
        CRect collapsed = before;
        LONG* edges[4][2] = {{&collapsed.bottom, &collapsed.top},
                             {&collapsed.top, &collapsed.bottom},
                             {&collapsed.right, &collapsed.left},
                             {&collapsed.left, &collapsed.right}};
        *edges[side][0] = *edges[side][1];
        content.m_layouts.clear();
        EXPECT_TRUE(border.OnDockEvent(NULL, NULL, NULL, 0, NULL));
        EXPECT_EQ(RectText(before), RectText(border.GetCurrentRect()));
        for (const std::string& layout : content.m_layouts)
            EXPECT_NE(RectText(collapsed), layout);
        ASSERT_FALSE(content.m_layouts.empty());
        EXPECT_EQ(RectText(before), content.m_layouts.back());
        root.RemoveChildNode(&border);
        root.RemoveChildNode(&client);
        border.RemoveChildNode(&content);
    }
}
