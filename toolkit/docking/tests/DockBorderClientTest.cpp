#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLNDockBorderClient.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLayoutNodeBorderSpace.h"
#include "toolkit/docking/TkNodeBehaviours.h"

namespace
{
class FakeDockLine : public TkLayoutNode, public ITkDockLine, public TkDefDockTargetBase
{
public:
    BOOL HoldsDockedNodes() override { return m_holds; }
    BOOL m_holds = FALSE;
};

class FakeSizableBorder : public TkLayoutNode, public ITkSizableDockBorder
{
public:
    TkLayoutNode* GetDockLine() override { return m_line; }
    TkLayoutNode* m_line = NULL;
};

// An edge laid out with no window to draw in.
class HideableEdge : public TkLNBorderClientEdge
{
public:
    BOOL IsNodeValid() override { return TRUE; }
};

class FakeFeature : public ITkFrameDockingFeature
{
public:
    void GetSideBorders(TkLayoutNode** top, TkLayoutNode** bottom, TkLayoutNode** left,
                        TkLayoutNode** right) override
    {
        *top = m_borders[0];
        *bottom = m_borders[1];
        *left = m_borders[2];
        *right = m_borders[3];
    }
    TkLNDockingMgr* GetLayoutDockingMgr() override { return &m_manager; }

    TkLayoutNode* m_borders[4] = {};
    TkLNDockingMgr m_manager;
};

// A container with no window: only its client rectangle is asked for.
class FixedContainer : public TkLNHwndContainer
{
public:
    explicit FixedContainer(const CRect& client) : TkLNHwndContainer((HWND)NULL), m_client(client)
    {
    }
    BOOL GetContainerClientRect(CRect& rect) override
    {
        rect = m_client;
        return TRUE;
    }
    CRect m_client;
};

// One side border as the feature builds it: edge, sizable border, dock line.
struct Side
{
    HideableEdge edge;
    FakeSizableBorder sizable;
    FakeDockLine line;
    Side()
    {
        edge.AddChildNode(&sizable);
        sizable.m_line = &line;
    }
};

// The edge flags of a border as "left top right bottom" digits.
std::string EdgeText(TkLNBorderClientEdge& edge)
{
    std::string text;
    for (int side : {TkLayoutNodeBorderSpace::kSideLeft, TkLayoutNodeBorderSpace::kSideTop,
                     TkLayoutNodeBorderSpace::kSideRight, TkLayoutNodeBorderSpace::kSideBottom})
        text += edge.IsEdgeOn(side, NULL) ? '1' : '0';
    return text;
}

const CRect kNodeRect(10, 0, 190, 100);

struct EdgeCase
{
    const char* name;
    int mode;
    BOOL occupied[4]; // top, bottom, left, right
    CRect containerClient;
    const char* expected[4];
};

// The node lies at 10..190: a client area from 6 or to 194 is inset.
const EdgeCase kEdgeCases[] = {
    {"mode 0, nothing docked, no inset", 0, {FALSE, FALSE, FALSE, FALSE}, {7, 0, 193, 100},
     {"0100", "0001", "0101", "0101"}},
    {"mode 0, top and bottom docked, inset both", 0, {TRUE, TRUE, FALSE, FALSE},
     {6, 0, 194, 100}, {"1110", "1011", "1000", "0010"}},
    {"mode 0, left docked, inset left", 0, {FALSE, FALSE, TRUE, FALSE}, {0, 0, 190, 100},
     {"1100", "1001", "1101", "0101"}},
    {"mode 1, left docked, inset both", 1, {FALSE, FALSE, TRUE, FALSE}, {0, 0, 200, 100},
     {"0110", "0011", "1101", "0111"}},
    {"mode 1, all docked, inset right", 1, {TRUE, TRUE, TRUE, TRUE}, {10, 0, 200, 100},
     {"0100", "0001", "0101", "0111"}},
};

TEST(DockBorderClientTest, EdgesFollowDockedLinesAndInsets)
{
    for (const EdgeCase& c : kEdgeCases)
    {
        FakeFeature feature;
        Side sides[4];
        TkLNDockBorderClient client(&feature);
        client.SetLayoutMode(c.mode);
        client.InitRects(kNodeRect);
        feature.m_manager.RegisterContainer(&client, new FixedContainer(c.containerClient));
        for (int position = 0; position < 4; ++position)
        {
            sides[position].line.m_holds = c.occupied[position];
            feature.m_borders[position] = &sides[position].edge;
        }
        client.UpdateBorderEdges();
        for (int position = 0; position < 4; ++position)
        {
            EXPECT_EQ(c.expected[position], EdgeText(sides[position].edge))
                << c.name << ", position " << position;
            EXPECT_EQ(c.occupied[position], sides[position].edge.IsNodeVisible())
                << c.name << ", position " << position;
        }
    }
}

TEST(DockBorderClientTest, LayoutUpdatesTheEdgesFirstAndSkipsMissingBorders)
{
    FakeFeature feature;
    Side top;
    top.line.m_holds = TRUE;
    feature.m_borders[TkLNBorderClient::kTop] = &top.edge;
    TkLNDockBorderClient client(&feature);
    ASSERT_NE(-1, client.AddBorderNode(&top.edge, TkLNBorderClient::kTop));
    top.edge.ShowNodeCounted(FALSE, TRUE, FALSE);
    CRect result;
    client.RecalcLayout(result, CRect(0, 0, 100, 50), FALSE, TRUE);
    EXPECT_TRUE(top.edge.IsNodeVisible());
    EXPECT_EQ("0100", EdgeText(top.edge)) << "no container: no inset";
    EXPECT_EQ("0,0,100,50", RectText(result));

    TkLNDockBorderClient alone(NULL);
    alone.RecalcLayout(result, CRect(0, 0, 30, 20), FALSE, TRUE);
    EXPECT_EQ("0,0,30,20", RectText(result)) << "without a feature it lays out as a border client";
}

TEST(DockBorderClientTest, ClientInsets)
{
    const struct
    {
        const char* name;
        BOOL onParent;
        CRect containerClient;
        BOOL left, right;
    } cases[] = {
        {"within the tolerance", FALSE, {7, 0, 193, 100}, FALSE, FALSE},
        {"one pixel beyond it", FALSE, {6, 0, 194, 100}, TRUE, TRUE},
        {"left only", FALSE, {0, 0, 150, 100}, TRUE, FALSE},
        {"container of a parent", TRUE, {10, 0, 300, 100}, FALSE, TRUE},
    };
    for (const auto& c : cases)
    {
        FakeFeature feature;
        TkLayoutNode parent;
        TkLNDockBorderClient client(&feature);
        parent.AddChildNode(&client);
        client.InitRects(kNodeRect);
        feature.m_manager.RegisterContainer(c.onParent ? &parent : &client,
                                            new FixedContainer(c.containerClient));
        BOOL left = -1, right = -1;
        client.GetClientInsets(&left, &right);
        EXPECT_EQ(c.left, left) << c.name;
        EXPECT_EQ(c.right, right) << c.name;
    }
    FakeFeature feature;
    TkLNDockBorderClient client(&feature);
    BOOL left = -1, right = -1;
    client.GetClientInsets(&left, &right);
    EXPECT_FALSE(left) << "no container";
    EXPECT_FALSE(right) << "no container";
}

TEST(DockBorderClientTest, DockTargetThroughEachStep)
{
    ProbeNode notEdge, plain;
    HideableEdge emptyEdge, edgeOverPlain;
    edgeOverPlain.AddChildNode(&plain);
    HideableEdge edgeWithoutLine;
    FakeSizableBorder noLine;
    edgeWithoutLine.AddChildNode(&noLine);
    HideableEdge edgeOverPlainLine;
    FakeSizableBorder toPlain;
    ProbeNode plainLine;
    toPlain.m_line = &plainLine;
    edgeOverPlainLine.AddChildNode(&toPlain);
    Side empty, docked;
    docked.line.m_holds = TRUE;
    const struct
    {
        const char* name;
        TkLayoutNode* border;
        BOOL occupied;
        ITkDockTarget* target;
    } cases[] = {
        {"no border", NULL, FALSE, NULL},
        {"not an edge", &notEdge, FALSE, NULL},
        {"an edge with no child", &emptyEdge, FALSE, NULL},
        {"an edge over a plain node", &edgeOverPlain, FALSE, NULL},
        {"a sizable border without a line", &edgeWithoutLine, FALSE, NULL},
        {"a line that is no dock target", &edgeOverPlainLine, FALSE, NULL},
        {"an empty line", &empty.edge, FALSE, &empty.line},
        {"a line with docked nodes", &docked.edge, TRUE, &docked.line},
    };
    for (const auto& c : cases)
    {
        TkLNDockBorderClient client(NULL);
        EXPECT_EQ(c.occupied, client.GetDockTarget(c.border)) << c.name;
        if (c.border)
            EXPECT_NE(-1, client.AddBorderNode(c.border, TkLNBorderClient::kLeft)) << c.name;
        EXPECT_EQ(c.target, client.GetBorderTarget(TkLNBorderClient::kLeft)) << c.name;
    }
}

class RecordingHitTester : public ITkLNHitTester
{
public:
    BOOL ContainsPoint(TkLayoutNode* root, CPoint, ITkLNContainer*) override
    {
        m_asked.push_back(root);
        return root == m_hit;
    }
    TkLayoutNode* m_hit = NULL;
    std::vector<TkLayoutNode*> m_asked;
};

TEST(DockingMgrTest, PointInAnyContainerAsksTheHitTester)
{
    TkLNDockingMgr manager;
    TkLayoutNode first, second;
    manager.RegisterContainer(&first, new FixedContainer(CRect()));
    manager.RegisterContainer(&second, new FixedContainer(CRect()));
    RecordingHitTester tester;
    tester.m_hit = &second;
    EXPECT_FALSE(manager.IsPointInAnyContainer(CPoint(1, 1))) << "no hit tester";
    manager.SetHitTester(&tester);
    EXPECT_TRUE(manager.IsPointInAnyContainer(CPoint(1, 1)));
    EXPECT_EQ(&second, tester.m_asked.back()) << "stops at the first hit";
    tester.m_hit = NULL;
    tester.m_asked.clear();
    EXPECT_FALSE(manager.IsPointInAnyContainer(CPoint(1, 1)));
    EXPECT_EQ(2u, tester.m_asked.size()) << "every tree asked";
}
} // namespace
