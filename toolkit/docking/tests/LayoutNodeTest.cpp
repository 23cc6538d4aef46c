#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkClassFactory.h"
#include "toolkit/docking/TkLNScale.h"
#include "toolkit/docking/TkLayoutNodeDC.h"
#include "toolkit/docking/TkNodeBehaviours.h"

#include <memory>
#include <set>


namespace
{
struct SizeLimitCase
{
    const char* name;
    CSize minimum;
    CSize maximum;
    DWORD flags;
    CRect in;
    const char* expected;
};

const SizeLimitCase kSizeLimitCases[] = {
    {"minimum above maximum wins", {50, 40}, {30, 20}, 0, {10, 10, 110, 110}, "10,10,60,50"},
    {"maximum cuts right and bottom", {0, 0}, {30, 20}, 0, {10, 10, 110, 110}, "10,10,40,30"},
    {"default flags ignore the maximum", {0, 0}, {30, 20}, TkLayoutNode::kNoMaximum,
     {10, 10, 110, 110}, "10,10,110,110"},
    {"minimum raises a small rectangle", {50, 40}, {0, 0}, TkLayoutNode::kNoMaximum,
     {10, 10, 20, 20}, "10,10,60,50"},
    {"no minimum keeps a small rectangle", {50, 40}, {30, 20}, TkLayoutNode::kNoMinimum,
     {10, 10, 20, 20}, "10,10,20,20"},
    {"both off change nothing", {50, 40}, {30, 20}, 3, {10, 10, 110, 110}, "10,10,110,110"},
    {"inverted rectangle grows to the minimum", {0, 0}, {0, 0}, TkLayoutNode::kNoMaximum,
     {30, 30, 10, 10}, "30,30,30,30"},
};

TEST(LayoutNodeTest, ApplySizeLimits)
{
    for (const SizeLimitCase& c : kSizeLimitCases)
    {
        ProbeNode node;
        node.SetSizeLimits(c.minimum, c.maximum, c.flags);
        CRect rect = c.in;
        node.ApplySizeLimits(rect);
        EXPECT_EQ(c.expected, RectText(rect)) << c.name;
    }
}

struct StyleLockCase
{
    DWORD style;
    const char* expected;
};

TEST(LayoutNodeTest, ApplyStyleLocks)
{
    const CRect oldRect(10, 20, 50, 80);
    const StyleLockCase cases[] = {
        {0, "0,0,100,100"},
        {TkLayoutNode::kKeepWidth, "0,0,40,100"},
        {TkLayoutNode::kKeepHeight, "0,0,100,60"},
        {TkLayoutNode::kKeepLeft, "10,0,100,100"},
        {TkLayoutNode::kKeepTop, "0,20,100,100"},
        // The width is kept before the left edge comes back: the right edge stays.
        {TkLayoutNode::kKeepWidth | TkLayoutNode::kKeepLeft, "10,0,40,100"},
        {0x0F, "10,20,40,60"},
    };
    for (const StyleLockCase& c : cases)
    {
        ProbeNode node;
        node.SetNodeStyle(c.style, FALSE);
        CRect rect(0, 0, 100, 100);
        node.ApplyStyleLocks(oldRect, rect);
        EXPECT_EQ(c.expected, RectText(rect)) << "style " << c.style;
    }
}

struct RecalcCase
{
    const char* name;
    BOOL validated;
    BOOL force;
    CRect rect;
    BOOL pendingAfter;
    const char* current;
};

// The node starts at 0,0,50,50 with realize-pending clear.
const RecalcCase kRecalcCases[] = {
    {"unchanged, valid, not forced: nothing", TRUE, FALSE, {0, 0, 50, 50}, FALSE, "0,0,50,50"},
    {"forced onto the same rectangle: no move", TRUE, TRUE, {0, 0, 50, 50}, FALSE, "0,0,50,50"},
    {"a new rectangle moves", TRUE, FALSE, {5, 5, 60, 60}, TRUE, "5,5,60,60"},
    {"recalc-needed computes", FALSE, FALSE, {0, 0, 50, 50}, FALSE, "0,0,50,50"},
};

TEST(LayoutNodeTest, RecalcLayoutAndNeedsRecalc)
{
    for (const RecalcCase& c : kRecalcCases)
    {
        ProbeNode node;
        node.InitRects(CRect(0, 0, 50, 50));
        if (c.validated)
            node.ValidateLayout();
        CRect result;
        node.RecalcLayout(result, c.rect, FALSE, c.force);
        EXPECT_EQ(c.current, RectText(result)) << c.name;
        EXPECT_EQ(c.pendingAfter, node.IsRealizePending()) << c.name;
        EXPECT_FALSE(node.NeedsRecalc(FALSE, result)) << c.name;
    }
}

TEST(LayoutNodeTest, RecalcOnAnUnchangedRectangleLeavesPendingAsItWas)
{
    ProbeNode node;
    node.InitRects(CRect(0, 0, 50, 50));
    node.ValidateLayout();
    node.SetRealizePending();
    CRect result;
    node.RecalcLayout(result, CRect(0, 0, 50, 50), FALSE, FALSE);
    EXPECT_TRUE(node.IsRealizePending());
}

TEST(LayoutNodeTest, CalcLayoutKeepsChildrenWhereTheyWereRelativeToTheParent)
{
    ProbeNode parent("p"), child("c"), limited("l");
    parent.InitRects(CRect(0, 0, 100, 100));
    child.InitRects(CRect(10, 10, 30, 40));
    limited.InitRects(CRect(50, 50, 90, 90));
    limited.SetSizeLimits(CSize(0, 0), CSize(20, 20), 0);
    parent.AddChildNode(&child);
    parent.AddChildNode(&limited);

    const struct
    {
        CRect rect;
        BOOL constrain;
        const char* parent;
        const char* child;
        const char* limited;
    } cases[] = {
        {{50, 60, 150, 160}, FALSE, "50,60,150,160", "60,70,80,100", "100,110,140,150"},
        {{50, 60, 150, 160}, TRUE, "50,60,150,160", "60,70,80,100", "100,110,120,130"},
        {{-5, 0, 20, 20}, FALSE, "-5,0,20,20", "5,10,25,40", "45,50,85,90"},
    };
    for (const auto& c : cases)
    {
        CRect result;
        parent.RecalcLayout(result, c.rect, c.constrain, TRUE);
        EXPECT_EQ(c.parent, RectText(result));
        EXPECT_EQ(c.child, RectText(child.GetCurrentRect()));
        EXPECT_EQ(c.limited, RectText(limited.GetCurrentRect()));
    }
}

TEST(LayoutNodeTest, InitRectsWidensTheLimitsToTheRectangle)
{
    const struct
    {
        CSize minimum, maximum;
        const char* expectedMin;
        const char* expectedMax;
    } cases[] = {
        {{200, 10}, {0, 0}, "40,10", "40,30"},
        {{10, 100}, {300, 20}, "10,30", "300,30"},
    };
    for (const auto& c : cases)
    {
        ProbeNode node;
        node.SetSizeLimits(c.minimum, c.maximum, 0);
        node.InitRects(CRect(5, 5, 45, 35));
        CSize minimum, maximum;
        node.GetSizeLimits(&minimum, &maximum, NULL);
        EXPECT_EQ(c.expectedMin, std::to_string(minimum.cx) + "," + std::to_string(minimum.cy));
        EXPECT_EQ(c.expectedMax, std::to_string(maximum.cx) + "," + std::to_string(maximum.cy));
        EXPECT_EQ("5,5,45,35", RectText(node.GetInitialRect()));
        EXPECT_EQ("5,5,45,35", RectText(node.GetReferenceRect()));
        EXPECT_EQ("5,5,45,35", RectText(node.GetCurrentRect()));
    }
}

// The constrained rectangle is the current one through the size limits; the
// current one stays as it was.
TEST(LayoutNodeTest, GetConstrainedRectAppliesTheLimitsToACopy)
{
    for (const SizeLimitCase& c : kSizeLimitCases)
    {
        ProbeNode node;
        node.SetSizeLimits(c.minimum, c.maximum, c.flags);
        node.SetCurrentRect(c.in);
        EXPECT_EQ(c.expected, RectText(node.GetConstrainedRect())) << c.name;
        EXPECT_EQ(RectText(c.in), RectText(node.GetCurrentRect())) << c.name;
    }
}

// A node takes its rectangles from the area its children cover; setting the
// initial rectangle alone moves neither of the others.
TEST(LayoutNodeTest, RectanglesFromTheChildren)
{
    ProbeNode parent, left, right;
    left.SetCurrentRect(CRect(10, 20, 30, 40));
    right.SetCurrentRect(CRect(50, 5, 70, 30));
    parent.AddChildNode(&left);
    parent.AddChildNode(&right);
    parent.InitRectsFromChildren();
    const struct
    {
        const char* name;
        CRect rect;
        const char* expected;
    } cases[] = {
        {"initial", parent.GetInitialRect(), "10,5,70,40"},
        {"current", parent.GetCurrentRect(), "10,5,70,40"},
        {"reference", parent.GetReferenceRect(), "10,5,70,40"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, RectText(c.rect)) << c.name;
    parent.SetInitialRect(CRect(1, 2, 3, 4));
    EXPECT_EQ("1,2,3,4", RectText(parent.GetInitialRect()));
    EXPECT_EQ("10,5,70,40", RectText(parent.GetCurrentRect()));
    EXPECT_EQ("10,5,70,40", RectText(parent.GetReferenceRect()));
}

TEST(LayoutNodeTest, GetChildrenRect)
{
    const struct
    {
        std::vector<CRect> children;
        const char* expected;
    } cases[] = {
        {{}, "0,0,0,0"},
        {{{10, 20, 30, 40}}, "10,20,30,40"},
        {{{10, 20, 30, 40}, {-5, 25, 20, 90}}, "-5,20,30,90"},
        // An empty child at the origin takes part like any other.
        {{{10, 20, 30, 40}, {0, 0, 0, 0}}, "0,0,30,40"},
    };
    for (const auto& c : cases)
    {
        ProbeNode parent;
        std::vector<std::unique_ptr<ProbeNode>> children;
        for (const CRect& rect : c.children)
        {
            children.emplace_back(new ProbeNode);
            children.back()->SetCurrentRect(rect);
            parent.AddChildNode(children.back().get());
        }
        CRect result(1, 1, 1, 1);
        parent.GetChildrenRect(result);
        EXPECT_EQ(c.expected, RectText(result));
    }
}

class TreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (ProbeNode* node : {&a, &b, &c})
            root.AddChildNode(node);
        a.AddChildNode(&a1);
        a.AddChildNode(&a2);
    }

    ProbeNode root{"root"}, a{"a"}, b{"b"}, c{"c"}, a1{"a1"}, a2{"a2"}, other{"x"};
};

TEST_F(TreeTest, SubtreeWalkVisitsChildrenFirstAndTheStartLast)
{
    std::string order;
    root.ForEachInSubtree([&order](TkLayoutNode* node) {
        order += std::string(node->GetNodeName()) + " ";
    });
    EXPECT_EQ("a1 a2 a b c root ", order);

    std::string iterated;
    IteratorPreOrder_T<TkLayoutNode*> walk(&a, &a);
    for (walk.First(); walk.Current(); walk.Next())
        iterated += std::string(walk.Current()->GetNodeName()) + " ";
    EXPECT_EQ("a1 a2 a ", iterated);

    std::string backwards;
    Iterator_T<TkLayoutNode*> children(&root, &root);
    for (children.Last(); children.Current(); children.Prev())
        backwards += std::string(children.Current()->GetNodeName()) + " ";
    EXPECT_EQ("c b a ", backwards);
    EXPECT_EQ(5, root.GetChildCount(TRUE));
}

TEST_F(TreeTest, MoveChildNode)
{
    const struct
    {
        TkLayoutNode* node;
        TkLayoutNode* reference;
        BOOL after;
        BOOL answer;
        const char* order;
    } cases[] = {
        {&a, &c, TRUE, TRUE, "b c a"},
        {&a, &c, FALSE, TRUE, "b a c"},
        {&c, &a, FALSE, TRUE, "c a b"},
        {&c, NULL, FALSE, TRUE, "c a b"},
        {&a, NULL, TRUE, TRUE, "b c a"},
        {&b, &a1, TRUE, TRUE, "b a c"},
        {&b, &b, TRUE, TRUE, "b a c"},
        {NULL, &a, TRUE, FALSE, "a b c"},
        // Not a child: refused, and it stays in its own parent only.
        {&a1, &b, TRUE, FALSE, "a b c"},
    };
    for (const auto& row : cases)
    {
        for (ProbeNode* node : {&a, &b, &c})
            root.RemoveChildNode(node);
        for (ProbeNode* node : {&a, &b, &c})
            root.AddChildNode(node);
        EXPECT_EQ(row.answer, root.MoveChildNode(row.node, row.reference, row.after));
        EXPECT_EQ(row.order, ChildNames(&root));
        EXPECT_EQ("a1 a2", ChildNames(&a));
    }
}

TEST_F(TreeTest, AddAndRemoveChildNode)
{
    EXPECT_EQ(3, root.AddChildNode(&a)) << "a child again keeps its place";
    EXPECT_EQ("a b c", ChildNames(&root));
    EXPECT_EQ(4, root.AddChildNode(&a1)) << "taken from its old parent";
    EXPECT_EQ("a2", ChildNames(&a));
    EXPECT_EQ(&root, a1.GetParentNode());
    EXPECT_EQ(-1, root.AddChildNode(NULL));
    EXPECT_EQ(-1, root.AddChildNode(&root));
    EXPECT_EQ(-1, root.RemoveChildNode(&other));
    EXPECT_EQ(-1, root.RemoveChildNode(NULL));
    EXPECT_EQ(3, root.RemoveChildNode(&b));
    EXPECT_EQ(NULL, b.GetParentNode());
    EXPECT_EQ(&root, a2.GetRootNode());
}

TEST_F(TreeTest, SetCompositeParentWithAMissingSide)
{
    other.SetCompositeParent(&b, TRUE);
    EXPECT_EQ("x", ChildNames(&b));
    other.SetCompositeParent(NULL, TRUE);
    EXPECT_EQ("", ChildNames(&b));
    EXPECT_EQ(NULL, other.GetParentNode());
    other.SetParentNode(&c);
    EXPECT_EQ(&c, other.GetParentNode());
    other.SetParentNode(NULL);
}

TEST_F(TreeTest, RecursiveSetters)
{
    a.SetRealizeLock(3, TRUE);
    EXPECT_EQ(3, a.GetRealizeLock());
    EXPECT_EQ(3, a1.GetRealizeLock());
    EXPECT_EQ(0, root.GetRealizeLock());
    EXPECT_EQ(0, b.GetRealizeLock());
    root.SetNodeStyle(TkLayoutNode::kKeepTop, TRUE);
    root.ModifyNodeStyle(TkLayoutNode::kKeepTop, TkLayoutNode::kKeepWidth, TRUE);
    EXPECT_EQ((DWORD)TkLayoutNode::kKeepWidth, a2.GetNodeStyle());
    EXPECT_EQ((DWORD)TkLayoutNode::kKeepWidth, root.GetNodeStyle());
    a.SetNodeActive(FALSE, TRUE);
    EXPECT_FALSE(a2.IsNodeActive());
    EXPECT_TRUE(b.IsNodeActive());
    a1.ValidateLayout();
    root.ValidateLayout();
    a1.InvalidateLayout(TRUE);
    EXPECT_TRUE(root.NeedsRecalc(FALSE, root.GetCurrentRect()));
}

TEST_F(TreeTest, RealizeWithoutWindowsStartsNoBatchAndClearsPending)
{
    for (ProbeNode* node : {&root, &a, &a1})
        node->SetRealizePending();
    EXPECT_TRUE(root.RealizeNodes(0));
    EXPECT_FALSE(a1.IsRealizePending());
    EXPECT_FALSE(root.IsRealizePending());

    a1.SetRealizePending();
    root.SetRealizeLock(1, FALSE);
    EXPECT_FALSE(root.RealizeNodes(0));
    EXPECT_TRUE(a1.IsRealizePending());
}

TEST_F(TreeTest, DeferredEraseInvalidatesTheUncoveredStrips)
{
    const struct
    {
        CRect previous;
        CRect current;
        std::vector<std::string> strips;
    } cases[] = {
        {{0, 0, 100, 100}, {10, 20, 90, 70},
         {"0,0,100,20 erase", "0,0,10,100 erase", "90,0,100,100 erase", "0,70,100,100 erase"}},
        {{0, 0, 100, 100}, {0, 0, 120, 100}, {}},
        {{0, 0, 100, 100}, {0, 0, 100, 60}, {"0,60,100,100 erase"}},
    };
    for (const auto& c : cases)
    {
        a1.m_invalidated.clear();
        a1.SetNodeStyle(TkLayoutNode::kDeferErase, FALSE);
        a1.SetPrevRealizedRect(c.previous);
        a1.SetCurrentRect(c.current);
        a1.SetRealizePending();
        EXPECT_TRUE(root.RealizeNodes(0));
        std::set<std::string> expected(c.strips.begin(), c.strips.end());
        // The second pass invalidates the node's own rectangle without erase.
        expected.insert(RectText(c.current));
        EXPECT_EQ(expected, std::set<std::string>(a1.m_invalidated.begin(), a1.m_invalidated.end()));
        EXPECT_FALSE(a1.IsRealizePending());
    }
}

TEST(LayoutNodeLifetimeTest, ADeletedNodeLeavesItsParentAndOrphansItsChildren)
{
    ProbeNode root("root"), leaf("leaf");
    ProbeNode* middle = new ProbeNode("middle");
    ProbeNode* first = new ProbeNode("first");
    root.AddChildNode(first);
    root.AddChildNode(middle);
    middle->AddChildNode(&leaf);
    delete middle;
    EXPECT_EQ("first", ChildNames(&root));
    EXPECT_EQ(NULL, leaf.GetParentNode());
    delete first;
    EXPECT_EQ(0, root.GetChildCount(TRUE));
}

TEST(LayoutNodeLifetimeTest, FreeAllDeletesLinkedTreesInAnyOrder)
{
    int before = ProbeNode::s_live;
    {
        TkNodeMemoryManager manager;
        ProbeNode* root = new ProbeNode;
        ProbeNode* child = new ProbeNode;
        ProbeNode* grandchild = new ProbeNode;
        root->AddChildNode(child);
        child->AddChildNode(grandchild);
        for (ProbeNode* node : {child, root, grandchild})
            node->SetMemoryManager(&manager, FALSE);
        EXPECT_FALSE(manager.Manage(root)) << "listed once";
        EXPECT_EQ(3, manager.GetCount());
        EXPECT_TRUE(manager.Unmanage(grandchild));
        EXPECT_FALSE(manager.Unmanage(grandchild));
        EXPECT_TRUE(manager.Manage(grandchild));
        EXPECT_EQ(3, manager.FreeAll());
        EXPECT_EQ(before, ProbeNode::s_live);
        EXPECT_EQ(0, manager.GetCount());
        manager.Manage(new ProbeNode);
    }
    EXPECT_EQ(before, ProbeNode::s_live) << "the manager frees what it holds";
}

TEST(LayoutNodeLifetimeTest, SetMemoryManagerMovesTheNodeAndItsDescendants)
{
    TkNodeMemoryManager first, second;
    ProbeNode* root = new ProbeNode;
    ProbeNode* child = new ProbeNode;
    root->AddChildNode(child);
    root->SetMemoryManager(&first, TRUE);
    EXPECT_EQ(2, first.GetCount());
    root->SetMemoryManager(&second, TRUE);
    EXPECT_EQ(0, first.GetCount());
    EXPECT_EQ(2, second.GetCount());
    EXPECT_EQ(&second, child->GetMemoryManager());
    delete child;
    EXPECT_EQ(1, second.GetCount()) << "a deleted node leaves its manager";
}

TEST(LayoutNodeLifetimeTest, ClassFactoriesMakeTheirClass)
{
    TkClassFactory_T<TkLNScale, TkLayoutNode> scaleFactory;
    std::unique_ptr<TkLayoutNode> node(scaleFactory.CreateObject());
    EXPECT_TRUE(dynamic_cast<TkLNScale*>(node.get()) != NULL);
    TkClassFactory_T<TkLayoutNodeDC, TkLayoutNodeDCBase> drawingFactory;
    std::unique_ptr<TkLayoutNodeDCBase> drawing(drawingFactory.CreateObject());
    EXPECT_FALSE(drawing->IsNodeValid()) << "no window yet";
    EXPECT_EQ(-1, node->AddChildNode(drawing.get())) << "a drawing node without window is refused";
    EXPECT_EQ(1, drawing->GetDeferCount());
}

TEST(LayoutNodeScaleTest, ScaleRect)
{
    TkLNScale scale;
    const struct
    {
        CRect from, to, r;
        const char* expected;
    } cases[] = {
        {{0, 0, 100, 50}, {0, 0, 200, 50}, {10, 10, 31, 20}, "20,10,62,20"},
        // Coordinates scale as they stand, halves go up.
        {{0, 0, 4, 4}, {0, 0, 6, 2}, {1, 1, 3, 3}, "2,1,5,2"},
        {{50, 50, 150, 150}, {0, 0, 50, 50}, {60, 60, 100, 100}, "30,30,50,50"},
        // No width or height to scale from: factor 1.
        {{0, 0, 0, -5}, {0, 0, 300, 300}, {7, 8, 9, 10}, "7,8,9,10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, RectText(scale.ScaleRect(c.from, c.to, c.r)));
}

TEST(LayoutNodeScaleTest, ScalingNodeScalesItsChildren)
{
    TkLNScale scale;
    ProbeNode child, fixed;
    scale.InitRects(CRect(0, 0, 100, 100));
    child.InitRects(CRect(10, 10, 50, 50));
    fixed.InitRects(CRect(50, 0, 100, 20));
    fixed.SetSizeLimits(CSize(0, 0), CSize(60, 20), 0);
    scale.AddChildNode(&child);
    scale.AddChildNode(&fixed);
    CRect result;
    scale.RecalcLayout(result, CRect(0, 0, 200, 50), TRUE, TRUE);
    EXPECT_EQ("0,0,200,50", RectText(result));
    EXPECT_EQ("20,5,100,25", RectText(child.GetCurrentRect()));
    EXPECT_EQ("100,0,160,10", RectText(fixed.GetCurrentRect()));
}

class HideableProbe : public ProbeNode, public TkDefHideableNode
{
};

TEST(NodeBehaviourTest, CountedShowAndHide)
{
    HideableProbe parent, child;
    parent.AddChildNode(&child);
    const struct
    {
        BOOL show, force;
        BOOL answer, visible;
    } steps[] = {
        {TRUE, FALSE, FALSE, TRUE},  {TRUE, FALSE, FALSE, TRUE},  {FALSE, FALSE, FALSE, TRUE},
        {FALSE, FALSE, TRUE, FALSE}, {FALSE, FALSE, FALSE, FALSE}, {TRUE, TRUE, TRUE, TRUE},
        {FALSE, TRUE, TRUE, FALSE},
    };
    int row = 0;
    for (const auto& s : steps)
    {
        EXPECT_EQ(s.answer, parent.ShowNodeCounted(s.show, s.force, TRUE)) << "step " << row;
        EXPECT_EQ(s.visible, parent.IsNodeVisible()) << "step " << row;
        ++row;
    }
    EXPECT_FALSE(child.IsNodeVisible()) << "the subtree follows a change";
}

class UndoableProbe : public ProbeNode, public TkDefUndoableNode
{
};

TEST(NodeBehaviourTest, UndoRemovePutsTheChildBackWhereItWas)
{
    UndoableProbe parent;
    ProbeNode a("a"), b("b"), c("c");
    for (ProbeNode* node : {&a, &b, &c})
        parent.AddChildNode(node);
    const struct
    {
        ProbeNode* child;
        const char* removed;
    } cases[] = {{&a, "b c"}, {&b, "a c"}, {&c, "a b"}};
    for (const auto& row : cases)
    {
        EXPECT_EQ(2, parent.RemoveUndoable(row.child));
        EXPECT_EQ(row.removed, ChildNames(&parent));
        EXPECT_EQ(-1, parent.UndoRemoveOf(&parent));
        EXPECT_EQ(3, parent.UndoRemoveOf(row.child));
        EXPECT_EQ("a b c", ChildNames(&parent));
    }
    EXPECT_EQ(-1, parent.UndoRemove()) << "nothing remembered";
    EXPECT_EQ(-1, parent.RemoveUndoable(&parent));
}

// Records the layouts it is asked for.
class RecordingNode : public ProbeNode
{
public:
    explicit RecordingNode(const char* name) : ProbeNode(name) {}
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override
    {
        s_layouts.push_back(std::string(GetNodeName()) + (constrain ? " constrained" : " free"));
        ProbeNode::CalcLayout(result, rect, constrain, force);
    }
    static inline std::vector<std::string> s_layouts;
};

class NegotiatingNode : public RecordingNode, public TkParentOfNegotiableChildNode
{
public:
    explicit NegotiatingNode(const char* name) : RecordingNode(name) {}
};

TEST(NodeBehaviourTest, RenegotiationClimbsToTheTopmostNegotiatingParent)
{
    RecordingNode root("root"), leaf("leaf");
    NegotiatingNode outer("outer"), inner("inner");
    root.AddChildNode(&outer);
    outer.AddChildNode(&inner);
    inner.AddChildNode(&leaf);
    const struct
    {
        TkLayoutNode* child;
        std::vector<std::string> layouts;
    } cases[] = {
        // The request goes up to outer; outer's parent lays out, then the root again.
        {&leaf, {"root constrained", "outer constrained", "inner constrained",
                 "leaf constrained", "root free", "outer free", "inner free", "leaf free"}},
        // Without a child inner's own parent lays out.
        {NULL, {"outer constrained", "inner constrained", "leaf constrained", "root free",
                "outer free", "inner free", "leaf free"}},
    };
    for (const auto& c : cases)
    {
        RecordingNode::s_layouts.clear();
        EXPECT_TRUE(inner.RenegotiateChild(c.child, &leaf));
        EXPECT_EQ(c.layouts, RecordingNode::s_layouts);
    }
}
}  // namespace
