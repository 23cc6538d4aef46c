// Grid lines and 2-d grids computed with nothing shown: the splitter
// windows live in a hidden host.
#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkDynGridLineTarget.h"
#include "toolkit/docking/TkLNBorderClient.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLNSizable.h"

#include <afxext.h>

#include <memory>
#include <vector>

namespace
{
std::string Extents(TkLNDynamicGridLine& line)
{
    CPtrList nodes;
    line.GetNodes(nodes);
    std::string text;
    for (POSITION p = nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)nodes.GetNext(p);
        text += (text.empty() ? "" : " ") + std::string(node->GetNodeName()) + "=" +
                RectText(node->GetCurrentRect());
    }
    return text;
}

class GridLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 400, 300,
                                    NULL, NULL));
        m_line.SetHostAndOrientation(m_host.m_hWnd, TRUE);
        m_line.SetCurrentRect(CRect(0, 0, 312, 50));
    }
    void TearDown() override
    {
        for (auto& node : m_nodes)
            if (node->GetParentNode())
                node->GetParentNode()->RemoveChildNode(node.get());
        m_host.DestroyWindow();
    }
    ProbeNode* Node(const char* name)
    {
        m_nodes.push_back(std::make_unique<ProbeNode>(name));
        return m_nodes.back().get();
    }
    // Three nodes of 100 with splitters between them.
    void ThreeNodes()
    {
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i)
        {
            TkDynGridInsertConstraints c;
            c.m_extent = 100;
            m_line.InsertNode(Node(names[i]), &c);
        }
        m_line.RecalcLine();
    }
    TkLNVirtualSplitter* SplitterAfter(int index)
    {
        return m_line.GetCell(m_nodes[index].get())->m_after;
    }

    CWnd m_host;
    TkLNDynamicGridLine m_line;
    std::vector<std::unique_ptr<ProbeNode>> m_nodes;
};
}

TEST(OrientedRectTest, ReadsAlongAndAcross)
{
    const CRect r(10, 20, 110, 70);
    TkOrientedRect vertical(r, FALSE);
    TkOrientedRect horizontal(r, TRUE);
    EXPECT_EQ(50, vertical.GetPrimaryExtent());
    EXPECT_EQ(100, vertical.GetSecondaryExtent());
    EXPECT_EQ(20, vertical.GetPrimaryNear());
    EXPECT_EQ(110, vertical.GetSecondaryFar());
    EXPECT_EQ(100, horizontal.GetPrimaryExtent());
    EXPECT_EQ(50, horizontal.GetSecondaryExtent());
    horizontal.SetPrimaryFar(0);
    EXPECT_EQ(-10, horizontal.GetPrimaryExtent());
}

TEST(InsertConstraintsTest, SidesFromStylesAndCopies)
{
    EXPECT_EQ(2, TkDockInsertionConstraints::SideFromStyle(CBRS_ALIGN_ANY));
    EXPECT_EQ(0, TkDockInsertionConstraints::SideFromStyle(0));
    EXPECT_EQ(3, TkDockInsertionConstraints::SideFromStyle(CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM));
    EXPECT_EQ(1, TkDockInsertionConstraints::SideFromStyle(CBRS_ALIGN_BOTTOM));
    TkDockInsertionConstraints a, b;
    a.m_side = 3;
    b.m_side = 1;
    b.m_extent = 42;
    a.TkDynGridInsertConstraints::CopyFrom(b);
    EXPECT_EQ(3, a.m_side);
    EXPECT_EQ(42, a.m_extent);
    a.CopyFrom(b);
    EXPECT_EQ(1, a.m_side);
}

TEST_F(GridLineTest, NewNodesTakeTheAverageThePreferredOr150)
{
    ProbeNode* a = Node("A");
    TkDynGridInsertConstraints c;
    m_line.InsertNode(a, &c);
    EXPECT_EQ("A=0,0,312,50", Extents(m_line));
    // The average of the line (the new node counts) is 156.
    m_line.InsertNode(Node("B"), &c);
    EXPECT_EQ("A=0,0,150,50 B=156,0,312,50", Extents(m_line));

    // In grow mode the line grows by what the node takes: its preferred
    // extent, else 150.
    const struct
    {
        CRect preferred;
        int extent;
    } cases[] = {{{0, 0, 70, 20}, 70}, {{0, 0, 0, 0}, 150}};
    for (const auto& k : cases)
    {
        TkLNDynamicGridLine growing;
        growing.SetGrowMode(TRUE);
        ProbeNode node("P");
        node.SetReferenceRect(k.preferred);
        EXPECT_EQ(1, growing.InsertNode(&node, &c));
        EXPECT_EQ(k.extent, growing.GetPendingGrowth().x);
        growing.RemoveChildNode(&node);
        EXPECT_EQ(0, growing.GetPendingGrowth().x);
    }
}

TEST_F(GridLineTest, PlacesByReferenceAfterFlagAndIndex)
{
    ThreeNodes();
    const struct
    {
        const char* reference;
        BOOL after;
        int index;
        BOOL useIndex;
        const char* order;
    } cases[] = {
        {NULL, TRUE, 0, FALSE, "A B C X"},
        {NULL, FALSE, 0, FALSE, "X A B C"},
        {"B", TRUE, 0, FALSE, "A B X C"},
        {"B", FALSE, 0, FALSE, "A X B C"},
        {"B", FALSE, 2, TRUE, "A B X C"},
        {NULL, TRUE, 0, TRUE, "A X B C"},
        {NULL, FALSE, 9, TRUE, "A B C X"},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(k.order);
        ProbeNode x("X");
        TkDynGridInsertConstraints c;
        for (auto& node : m_nodes)
            if (k.reference && std::string(node->GetNodeName()) == k.reference)
                c.m_reference = node.get();
        c.SetIndex(k.index, k.after, k.useIndex);
        ASSERT_NE(-1, m_line.InsertNode(&x, &c));
        CPtrList nodes;
        m_line.GetNodes(nodes);
        std::string order;
        for (POSITION p = nodes.GetHeadPosition(); p;)
            order += (order.empty() ? "" : " ") +
                     std::string(((TkLayoutNode*)nodes.GetNext(p))->GetNodeName());
        EXPECT_EQ(k.order, order);
        m_line.RemoveChildNode(&x);
    }
}

TEST_F(GridLineTest, DistributesEvenlyPassingClampedSharesOn)
{
    ThreeNodes();
    for (auto& node : m_nodes)
        node->SetCurrentRect(CRect(0, 0, 0, 50));
    m_line.DistributeEvenly(11, 3, NULL);
    EXPECT_EQ("A=0,0,5,50 B=0,0,3,50 C=0,0,3,50", Extents(m_line));

    for (auto& node : m_nodes)
        node->SetCurrentRect(CRect(0, 0, 0, 50));
    m_nodes[1]->SetSizeLimits(CSize(0, 0), CSize(1, 50), 0);
    m_line.DistributeEvenly(11, 3, NULL);
    EXPECT_EQ("A=0,0,5,50 B=0,0,1,50 C=0,0,5,50", Extents(m_line));

    // What no node takes is forced from the tail, never below zero.
    for (auto& node : m_nodes)
        node->SetCurrentRect(CRect(0, 0, 5, 50));
    m_line.ForceDistribute(-12, FALSE);
    EXPECT_EQ("A=0,0,3,50 B=0,0,0,50 C=0,0,0,50", Extents(m_line));
}

TEST_F(GridLineTest, EachModeTakesAChangeFromItsEnd)
{
    const struct
    {
        int mode;
        const char* extents;
    } cases[] = {
        {TkLNDynamicGridLine::kFromHead, "A=0,0,120,50 B=126,0,226,50"},
        {TkLNDynamicGridLine::kFromTail, "A=0,0,100,50 B=106,0,226,50"},
        {TkLNDynamicGridLine::kEvenly, "A=0,0,110,50 B=116,0,226,50"},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(k.mode);
        TkLNDynamicGridLine line;
        line.SetHostAndOrientation(m_host.m_hWnd, TRUE);
        line.SetCurrentRect(CRect(0, 0, 206, 50));
        ProbeNode a("A"), b("B");
        TkDynGridInsertConstraints c;
        c.m_extent = 100;
        line.InsertNode(&a, &c);
        line.InsertNode(&b, &c);
        line.SetDistribution(k.mode);
        CRect result;
        line.RecalcLayout(result, CRect(0, 0, 226, 50), FALSE, TRUE);
        EXPECT_EQ(k.extents, Extents(line));
        line.RemoveChildNode(&a);
        line.RemoveChildNode(&b);
    }
}

TEST_F(GridLineTest, SplitterLimitsKeepEveryNodeOfTheRunAboveItsMinimum)
{
    ThreeNodes();
    m_nodes[0]->SetSizeLimits(CSize(20, 0), CSize(0, 0), TkLayoutNode::kNoMaximum);
    m_nodes[1]->SetSizeLimits(CSize(30, 0), CSize(0, 0), TkLayoutNode::kNoMaximum);
    m_nodes[2]->SetSizeLimits(CSize(40, 0), CSize(0, 0), TkLayoutNode::kNoMaximum);
    m_line.RecalcLine();
    EXPECT_EQ("20,0,242,50", RectText(SplitterAfter(0)->GetLimitRect()));
    EXPECT_EQ("50,0,272,50", RectText(SplitterAfter(1)->GetLimitRect()));
    EXPECT_EQ(2, m_line.GetChildCount(FALSE) - m_line.GetNodeCount());
}

// A drag of 30 where the nodes after the splitter can give only 10 moves
// the nodes before it by 10; a node that is not resizable stops the run.
TEST_F(GridLineTest, SplitterMovesTakeOnlyWhatTheOtherSideGives)
{
    const struct
    {
        BOOL middleResizable;
        int delta;
        const char* extents;
    } cases[] = {
        {TRUE, 30, "A=0,0,110,50 B=116,0,211,50 C=217,0,312,50"},
        {TRUE, -30, "A=0,0,95,50 B=101,0,206,50 C=212,0,312,50"},
        {FALSE, 30, "A=0,0,100,50 B=106,0,206,50 C=212,0,312,50"},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(k.delta);
        TkLNDynamicGridLine line;
        line.SetHostAndOrientation(m_host.m_hWnd, TRUE);
        line.SetCurrentRect(CRect(0, 0, 312, 50));
        ProbeNode nodes[3] = {ProbeNode("A"), ProbeNode("B"), ProbeNode("C")};
        for (int i = 0; i < 3; ++i)
        {
            TkDynGridInsertConstraints c;
            c.m_extent = 100;
            c.m_resizable = i != 1 || k.middleResizable;
            line.InsertNode(&nodes[i], &c);
        }
        for (ProbeNode& node : nodes)
        {
            node.SetCurrentRect(CRect(0, 0, 100, 50));
            node.SetSizeLimits(CSize(95, 0), CSize(0, 0), TkLayoutNode::kNoMaximum);
        }
        line.RecalcLine();
        line.OnSplitterMoved(line.GetCell(&nodes[0])->m_after, k.delta, 0);
        EXPECT_EQ(k.extents, Extents(line));
        for (ProbeNode& node : nodes)
            line.RemoveChildNode(&node);
    }
}

namespace
{
// A top side: horizontal rows stacked in a vertical grid 300 wide.
class Grid2dTest : public GridLineTest
{
protected:
    void SetUp() override
    {
        GridLineTest::SetUp();
        m_grid.SetHostAndOrientation(m_host.m_hWnd, TRUE);
        m_grid.SetCurrentRect(CRect(0, 0, 300, 0));
        m_grid.SetGrowMode(TRUE);
    }
    void TearDown() override
    {
        for (auto& node : m_nodes)
            if (node->GetParentNode())
                m_grid.RemoveChildNode(node.get());
        GridLineTest::TearDown();
    }
    int Dock(ProbeNode* node, BOOL newLine, TkLayoutNode* reference, int thickness)
    {
        TkDynGridInsertConstraints c;
        c.m_newLine = newLine;
        c.m_reference = reference;
        c.m_lineThickness = thickness;
        int result = m_grid.InsertNode(node, &c);
        CRect rect;
        m_grid.RecalcLayout(rect, m_grid.GetCurrentRect(), TRUE, TRUE);
        return result;
    }

    TkLNDynamicGrid2d m_grid;
};
}

TEST_F(Grid2dTest, LinesAreMadeForNewLinesAndDeletedWhenEmpty)
{
    ProbeNode* a = Node("A");
    ProbeNode* b = Node("B");
    ProbeNode* c = Node("C");
    EXPECT_NE(-1, Dock(a, FALSE, NULL, 40));
    EXPECT_EQ(1, m_grid.GetLineCount());
    EXPECT_NE(-1, Dock(b, TRUE, NULL, 30));
    EXPECT_NE(-1, Dock(c, FALSE, b, -1));
    EXPECT_EQ(2, m_grid.GetLineCount());
    EXPECT_EQ(3, m_grid.GetNodeCount());
    EXPECT_EQ(m_grid.FindLineOf(b), m_grid.FindLineOf(c));
    // The grid grows by each new line's thickness; the lines there were
    // give up the room of the splitter between them.
    EXPECT_EQ("0,0,300,70", RectText(m_grid.GetCurrentRect()));
    EXPECT_EQ("A=0,0,300,34 B=0,40,144,70 C=150,40,300,70", Extents(m_grid));
    m_grid.RemoveChildNode(a);
    EXPECT_EQ(1, m_grid.GetLineCount());
}

TEST_F(Grid2dTest, UndoPutsANodeBackInItsLineIndexAndExtent)
{
    ProbeNode* a = Node("A");
    ProbeNode* b = Node("B");
    ProbeNode* c = Node("C");
    Dock(a, FALSE, NULL, 40);
    Dock(b, TRUE, NULL, 30);
    Dock(c, FALSE, b, -1);
    CRect before = b->GetCurrentRect();
    ASSERT_NE(-1, m_grid.RemoveUndoable(b));
    EXPECT_EQ(2, m_grid.GetNodeCount());
    ASSERT_NE(-1, m_grid.UndoRemove());
    CRect rect;
    m_grid.RecalcLayout(rect, m_grid.GetCurrentRect(), FALSE, TRUE);
    EXPECT_EQ(m_grid.FindLineOf(c), m_grid.FindLineOf(b));
    EXPECT_EQ(RectText(before), RectText(b->GetCurrentRect()));

    // Alone in its line, a node comes back in a new line as thick as before.
    CRect aBefore = a->GetCurrentRect();
    ASSERT_NE(-1, m_grid.RemoveUndoable(a));
    EXPECT_EQ(1, m_grid.GetLineCount());
    // The parent lays the grid out, shrunk by the line it lost.
    m_grid.RecalcLayout(rect, m_grid.GetCurrentRect(), TRUE, TRUE);
    EXPECT_EQ(36, m_grid.GetCurrentRect().Height());
    ASSERT_NE(-1, m_grid.UndoRemove());
    m_grid.RecalcLayout(rect, m_grid.GetCurrentRect(), TRUE, TRUE);
    EXPECT_EQ(2, m_grid.GetLineCount());
    EXPECT_EQ(m_grid.GetLineAt(0), m_grid.FindLineOf(a));
    EXPECT_EQ(aBefore.Height(), a->GetCurrentRect().Height());
}

namespace
{
// A top-side target 300 wide holding A in one row 50 high, inside the
// sizable border that lays it out again when it grows.
class DockTargetTest : public GridLineTest
{
protected:
    void SetUp() override
    {
        GridLineTest::SetUp();
        m_target.SetHostAndOrientation(m_host.m_hWnd, TRUE);
        m_target.SetCurrentRect(CRect(0, 0, 300, 0));
        m_target.SetGrowMode(TRUE);
        m_border.AddChildNode(&m_target);
        CRect rect;
        m_border.RecalcLayout(rect, CRect(0, 0, 300, 0), FALSE, TRUE);
        m_a.SetNodeName("A");
        m_x.SetNodeName("X");
        m_x.SetReferenceRect(CRect(0, 0, 80, 30));
        TkDynGridInsertConstraints c;
        c.m_newLine = TRUE;
        c.m_lineThickness = 50;
        m_target.InsertNode(&m_a, &c);
    }
    void TearDown() override
    {
        for (TkLayoutNode* node : {(TkLayoutNode*)&m_a, (TkLayoutNode*)&m_x})
            if (node->GetParentNode())
                m_target.RemoveChildNode(node);
        m_border.RemoveChildNode(&m_target);
        GridLineTest::TearDown();
    }
    std::string Rows()
    {
        std::string text;
        for (int index = 0; index < m_target.GetLineCount(); ++index)
            text += (index ? " / " : "") + Extents(*m_target.GetLineAt(index));
        return text;
    }

    TkLNSizableDockBorder m_border;
    TkDynGridLineTarget m_target;
    ProbeNode m_a;
    ProbeNode m_x;
};
}

TEST_F(DockTargetTest, APointBecomesAPlace)
{
    ASSERT_EQ("A=0,0,300,50", Rows());
    const struct
    {
        CPoint point;
        BOOL docks;
        const char* rows;
    } cases[] = {
        // 10 pixels above the first row opens a row before it; 30 nothing.
        {{150, -10}, TRUE, "X=0,0,300,30 / A=0,36,300,80"},
        {{150, -30}, FALSE, "A=0,0,300,50"},
        // The top fifth of the row opens a row above it, the bottom fifth
        // one below; the middle joins the row beside the node.
        {{150, 5}, TRUE, "X=0,0,300,30 / A=0,36,300,80"},
        {{150, 45}, TRUE, "A=0,0,300,44 / X=0,50,300,80"},
        {{200, 25}, TRUE, "A=0,0,144,50 X=150,0,300,50"},
        {{50, 25}, TRUE, "X=0,0,150,50 A=156,0,300,50"},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(std::to_string(k.point.x) + "," + std::to_string(k.point.y));
        ProbeNode oldParent("old");
        oldParent.AddChildNode(&m_x);
        EXPECT_EQ(k.docks, m_target.Dock(&m_x, k.point, k.point, TRUE, NULL, NULL));
        EXPECT_EQ(k.rows, Rows());
        // A dock without a place leaves the node where it was.
        EXPECT_EQ(k.docks ? NULL : &m_x,
                  oldParent.GetChildAt(oldParent.GetFirstChildPosition()));
        if (k.docks)
            EXPECT_TRUE(m_target.Undock(&m_x));
        else
            oldParent.RemoveChildNode(&m_x);
        EXPECT_EQ("A=0,0,300,50", Rows());
        EXPECT_EQ(50, m_target.GetCurrentRect().Height());
    }
}

namespace
{
class DraggedNode : public ProbeNode, public TkDefDockNodeInitiatorBase
{
public:
    DraggedNode() { SetReferenceRect(CRect(0, 0, 80, 30)); }
};
}

TEST_F(DockTargetTest, TheOldPlaceShowsItselfAndAFeedbackStepLeavesTheTargetAsItWas)
{
    TkLNDockingMgr manager;
    TkDockInProgressInfo info;
    info.m_oldPlace = CRect(0, 0, 300, 50);
    CRect rect;
    EXPECT_TRUE(m_target.GetDockRect(CPoint(10, 10), &rect, &manager, &info));
    EXPECT_EQ("0,0,300,50", RectText(rect));
    // A new row is as thick as the dragged node is high.
    info.Reset();
    DraggedNode dragged;
    TkSetCurrentDockInitiator(&dragged);
    EXPECT_TRUE(m_target.GetDockRect(CPoint(150, 45), &rect, &manager, &info));
    TkSetCurrentDockInitiator(NULL);
    EXPECT_EQ("0,50,300,80", RectText(rect));
    EXPECT_EQ("A=0,0,300,50", Rows());
    EXPECT_EQ(50, m_target.GetCurrentRect().Height());
    EXPECT_EQ(1, m_target.GetNodeCount());
}

// Emptied outside grow mode, the target opens its next line as thick as it
// was (the dock event has collapsed its border meanwhile).
TEST_F(DockTargetTest, AnEmptiedTargetKeepsItsThickness)
{
    m_target.SetGrowMode(FALSE);
    m_target.RemoveChildNode(&m_a);
    EXPECT_EQ(0, m_target.GetNodeCount());
    EXPECT_TRUE(m_target.GetGrowMode());
    m_border.OnDockEvent(NULL, NULL, NULL, 0, NULL);
    TkDynGridInsertConstraints c;
    c.m_newLine = TRUE;
    c.m_lineThickness = 20;
    ASSERT_NE(-1, m_target.InsertNode(&m_x, &c));
    EXPECT_EQ("X=0,0,300,50", Rows());
}

TEST_F(DockTargetTest, ThePlaceOfADockedNodeIsRemembered)
{
    TkDockingNodeConstraints record;
    ASSERT_TRUE(m_target.Dock(&m_x, CPoint(200, 25), CPoint(200, 25), TRUE, NULL, NULL));
    m_target.SetSideIndex(2);
    record.RememberDockedPlace(&m_x);
    TkDockInsertionConstraints place;
    ASSERT_TRUE(record.GetDockedPlace(&place));
    EXPECT_EQ(2, place.m_side);
    EXPECT_FALSE(place.m_newLine);
    EXPECT_EQ(0, place.m_lineIndex);
    EXPECT_EQ(0, place.m_index);
    EXPECT_TRUE(place.m_after);
    EXPECT_EQ(150, place.m_extent);
}

namespace
{
class DockNode : public ProbeNode, public TkDefDockNodeInitiatorBase, public TkDefDockNodeBase
{
public:
    explicit DockNode(const char* name) : ProbeNode(name) {}
};

class DragStyleNode : public DockNode
{
public:
    DragStyleNode() : DockNode("styled") {}
    using TkDefDockNodeBase::GetDragRectStyle;
};

// A dock target's outline is a one-pixel solid frame only with thin frames on;
// a floating frame keeps its rectangle. Each call hands back the previous brush,
// so the old frame is inverted away with the brush that drew it.
TEST(DockDragStyleTest, OutlineAndFloatingFrames)
{
    const CSize thick(GetSystemMetrics(SM_CXFRAME) - 1, GetSystemMetrics(SM_CYFRAME) - 1);
    CBrush* white = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    const struct
    {
        BOOL floating;
        BOOL thin;
        CSize size;
        CRect rect;
        bool solid;
    } cases[] = {
        {FALSE, FALSE, thick, CRect(11, 21, 99, 79), false},
        {FALSE, TRUE, CSize(1, 1), CRect(11, 21, 99, 79), true},
        {TRUE, TRUE, thick, CRect(10, 20, 100, 80), false},
        {FALSE, TRUE, CSize(1, 1), CRect(11, 21, 99, 79), true},
    };
    DragStyleNode node;
    CBrush* previous = NULL;
    for (const auto& c : cases)
    {
        TkDefDockNodeBase::SetThinFrame(c.thin);
        CSize size;
        CRect rect(10, 20, 100, 80);
        CBrush* last = white;
        CBrush* brush = node.GetDragRectStyle(c.floating, &size, &rect, &last);
        EXPECT_EQ(c.size, size) << c.floating << c.thin;
        EXPECT_EQ(c.rect, rect) << c.floating << c.thin;
        EXPECT_EQ(c.solid ? white->m_hObject : NULL, brush ? brush->m_hObject : NULL) << c.floating << c.thin;
        EXPECT_EQ(previous ? previous->m_hObject : NULL, last ? last->m_hObject : NULL) << c.floating << c.thin;
        previous = brush;
    }
    TkDefDockNodeBase::SetThinFrame(FALSE);
}

class SideParent : public ITkBorderTargetParent
{
public:
    explicit SideParent(ITkDockTarget* target) : m_target(target) {}
    ITkDockTarget* GetBorderTarget(int position) override
    {
        return position == 0 ? m_target : NULL;
    }
    ITkDockTarget* m_target;
};

// The target at the top of a frame's tree shown in the host and known to a
// docking manager; Y is docked programmatically through the protocol.
class DockProtocolTest : public DockTargetTest
{
protected:
    void SetUp() override
    {
        DockTargetTest::SetUp();
        m_root.AddBorderNode(&m_border, TkLNBorderClient::kTop);
        m_root.AddBorderNode(&m_client, TkLNBorderClient::kClient);
        CRect rect;
        m_root.RecalcLayout(rect, CRect(0, 0, 300, 200), FALSE, TRUE);
        m_manager.RegisterContainer(&m_root, new TkLNHwndContainer(m_host.m_hWnd));
        m_record = m_manager.GetConstraints(&m_y, TRUE);
        m_record->m_targetParent = &m_parent;
    }
    void TearDown() override
    {
        if (m_y.GetParentNode())
            m_target.RemoveChildNode(&m_y);
        m_manager.UnregisterContainer(&m_root);
        m_root.RemoveChildNode(&m_border);
        m_root.RemoveChildNode(&m_client);
        DockTargetTest::TearDown();
    }
    TkDockInsertionConstraints Beside(TkLayoutNode* reference)
    {
        TkDockInsertionConstraints c;
        c.m_reference = reference;
        c.m_extent = 100;
        return c;
    }

    TkLNBorderClient m_root;
    ProbeNode m_client;
    DockNode m_y{"Y"};
    SideParent m_parent{&m_target};
    TkLNDockingMgr m_manager;
    TkDockingNodeConstraints* m_record = NULL;
};
}

TEST_F(DockProtocolTest, WithoutConstraintsOrARememberedPlaceNothingMoves)
{
    ProbeNode oldParent("old");
    oldParent.AddChildNode(&m_y);
    EXPECT_FALSE(m_y.DockInto(&m_manager, NULL));
    EXPECT_EQ(&oldParent, m_y.GetParentNode());
    oldParent.RemoveChildNode(&m_y);
}

TEST_F(DockProtocolTest, DockingBackReturnsToThePlaceTheNodeLeft)
{
    TkDockInsertionConstraints beside = Beside(&m_a);
    ASSERT_TRUE(m_y.DockInto(&m_manager, &beside));
    EXPECT_EQ("A=0,0,194,50 Y=200,0,300,50", Rows());
    TkDockInsertionConstraints top;
    top.m_newLine = TRUE;
    top.m_after = FALSE;
    top.m_lineThickness = 30;
    ASSERT_TRUE(m_y.DockInto(&m_manager, &top));
    EXPECT_EQ("Y=0,0,300,30 / A=0,36,300,80", Rows());
    ASSERT_TRUE(m_y.DockInto(&m_manager, NULL));
    EXPECT_EQ("A=0,0,194,50 Y=200,0,300,50", Rows());
}

TEST_F(DockProtocolTest, HidingAndShowingKeepsTheLineIndexAndExtent)
{
    TkDockInsertionConstraints beside = Beside(&m_a);
    beside.m_after = FALSE;
    ASSERT_TRUE(m_y.DockInto(&m_manager, &beside));
    EXPECT_EQ("Y=0,0,100,50 A=106,0,300,50", Rows());
    EXPECT_TRUE(m_y.ShowNode(FALSE));
    EXPECT_EQ("A=0,0,300,50", Rows());
    EXPECT_TRUE(m_y.ShowNode(TRUE));
    EXPECT_EQ("Y=0,0,100,50 A=106,0,300,50", Rows());
}

TEST_F(DockProtocolTest, ATargetTheManagerDoesNotKnowIsDropped)
{
    m_manager.UnregisterContainer(&m_root);
    TkDockInsertionConstraints beside = Beside(&m_a);
    EXPECT_FALSE(m_y.DockInto(&m_manager, &beside));
    EXPECT_EQ(NULL, m_record->m_targetParent);
    EXPECT_EQ(NULL, m_y.GetParentNode());
}
