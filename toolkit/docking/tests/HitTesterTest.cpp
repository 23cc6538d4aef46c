#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDockHitTester.h"
#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkFloatDynGridLineTarget.h"

#include <memory>

namespace
{
// A container whose client area starts at a fixed screen point.
class OffsetContainer : public TkLNHwndContainer
{
public:
    explicit OffsetContainer(CPoint origin) : TkLNHwndContainer(HWND(NULL)), m_origin(origin) {}
    BOOL ScreenToClientPoint(CPoint& point) override
    {
        point -= m_origin;
        return TRUE;
    }
    BOOL ClientToScreenPoint(CPoint& point) override
    {
        point += m_origin;
        return TRUE;
    }

private:
    CPoint m_origin;
};

// The manager's window question answered by the test: which container is
// on top at every point.
class TopmostMgr : public TkLNDockingMgr
{
public:
    ITkLNContainer* FindContainerAtPoint(CPoint) override { return m_topmost; }
    ITkLNContainer* m_topmost = NULL;
};

class Initiator : public ProbeNode, public TkDefDockNodeInitiatorBase
{
public:
    using ProbeNode::ProbeNode;
};

class Target : public ProbeNode, public TkDefDockTargetBase
{
public:
    using ProbeNode::ProbeNode;
};

// An initiator that answers the source hook with a fixed mask and records
// the child it was shown.
class HookedInitiator : public Initiator, public ITkHookDockSourceHitTester
{
public:
    HookedInitiator(const char* name, int mask) : Initiator(name), m_mask(mask) {}
    int HitTestSource(CPoint, TkLayoutNode* child) override
    {
        m_child = child;
        return m_mask;
    }
    int m_mask;
    TkLayoutNode* m_child = NULL;
};

void Place(TkLayoutNode* parent, TkLayoutNode* child, const CRect& rect)
{
    if (parent)
        parent->AddChildNode(child);
    child->SetCurrentRect(rect);
}

std::string TargetName(ITkDockTarget* target)
{
    TkLayoutNode* node = dynamic_cast<TkLayoutNode*>(target);
    return node ? (LPCSTR)node->GetNodeName() : "none";
}

std::string InitiatorName(ITkDockInitiator* initiator)
{
    TkLayoutNode* node = dynamic_cast<TkLayoutNode*>(initiator);
    return node ? (LPCSTR)node->GetNodeName() : "none";
}

// Two windows: A at screen (100,100), 200 x 100, holding a target with a
// gripper (strip 0..18) whose content fills the rest; B at (150,120).
class HitTesterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        a = new OffsetContainer(CPoint(100, 100));
        b = new OffsetContainer(CPoint(150, 120));
        Place(NULL, &rootA, CRect(0, 0, 200, 100));
        Place(&rootA, &target, CRect(0, 0, 200, 100));
        Place(&target, &gripper, CRect(0, 0, 100, 100));
        Place(&gripper, &content, CRect(18, 0, 100, 100));
        Place(NULL, &rootB, CRect(0, 0, 100, 50));
        Place(&rootB, &gripperB, CRect(0, 0, 100, 50));
        manager.RegisterContainer(&rootA, a);
        manager.RegisterContainer(&rootB, b);
        manager.m_topmost = a;
    }
    void TearDown() override
    {
        TkSetCurrentDockInitiator(NULL);
        manager.UnregisterContainer(&rootA);
        manager.UnregisterContainer(&rootB);
        gripper.RemoveChildNode(&content);
        target.RemoveChildNode(&gripper);
        rootA.RemoveChildNode(&target);
        rootB.RemoveChildNode(&gripperB);
    }

    TopmostMgr manager;
    OffsetContainer* a;
    OffsetContainer* b;
    ProbeNode rootA{"rootA"};
    Target target{"target"};
    Initiator gripper{"gripper"};
    ProbeNode content{"content"};
    ProbeNode rootB{"rootB"};
    Initiator gripperB{"gripperB"};
};

TEST_F(HitTesterTest, InitiatorsAndTargetsUnderAPoint)
{
    const struct
    {
        CPoint point;
        bool bOnTop;
        const char* initiator;
        const char* target;
    } cases[] = {
        {{105, 150}, false, "gripper", "target"},   // on the strip
        {{150, 150}, false, "none", "target"},      // on the content: targets fall back
        {{250, 150}, false, "none", "target"},      // beside the gripper
        {{160, 125}, true,  "gripperB", "none"},    // B is on top here
        {{160, 125}, false, "none", "target"},      // A on top: B not searched
        {{299, 199}, false, "none", "target"},      // last pixel inside
        {{300, 150}, false, "none", "none"},        // right edge is outside
        {{150, 200}, false, "none", "none"},        // bottom edge is outside
        {{-30000, -30000}, false, "none", "none"},  // far off screen
    };
    for (const auto& c : cases)
    {
        if (c.bOnTop)
            manager.m_topmost = b;
        else
            manager.m_topmost = a;
        EXPECT_EQ(c.initiator, InitiatorName(TkDockInitiatorHitTester().Find(&manager, c.point)))
            << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.target,
                  TargetName(TkLNTargetDockHitTester().FindUnique(&manager, c.point, FALSE)))
            << c.point.x << "," << c.point.y;
    }
}

TEST_F(HitTesterTest, TheExcludedContainerAndAnUnknownTopmostGiveNothing)
{
    EXPECT_EQ("none", TargetName(TkLNTargetDockHitTester(a).FindUnique(&manager, {150, 150},
                                                                        FALSE)));
    manager.m_topmost = NULL;
    EXPECT_EQ("none", TargetName(TkLNTargetDockHitTester().FindUnique(&manager, {150, 150},
                                                                       FALSE)));
    EXPECT_EQ("none", InitiatorName(TkDockInitiatorHitTester().Find(NULL, {105, 150})));
}

TEST_F(HitTesterTest, TwoTreesGivingAnInitiatorAreAmbiguous)
{
    // Both trees in one container at the same place.
    manager.UnregisterContainer(&rootB);
    b = new OffsetContainer(CPoint(100, 100));
    manager.RegisterContainer(&rootB, b);
    TkDockInitiatorHitTester tester;
    TkLNRootList roots;
    tester.CollectCandidates(&manager, CPoint(105, 120), roots);
    ASSERT_EQ(2u, roots.size());
    std::vector<ITkDockInitiator*> found;
    tester.HitTestAll(roots, found, &manager, CPoint(105, 120), TRUE);
    EXPECT_EQ(2u, found.size());
    manager.m_topmost = NULL;
    // FindUnique keeps only the topmost container's trees; with both trees in
    // one container both answer and nothing starts.
    class BothTopmost : public TkDockInitiatorHitTester
    {
    public:
        void FilterCandidates(TkLNDockingMgr*, CPoint, TkLNRootList&) override {}
    } both;
    EXPECT_EQ("none", InitiatorName(both.Find(&manager, CPoint(105, 120))));
}

TEST_F(HitTesterTest, TargetsInsideTheDraggedNodeVetoTheirSubtree)
{
    Target inner("inner");
    Place(&content, &inner, CRect(20, 0, 100, 100));
    TkSetCurrentDockInitiator(&gripper);
    // inner lies inside the dragged gripper: vetoed; the enclosing target
    // answers instead.
    EXPECT_EQ("target", TargetName(TkLNTargetDockHitTester().FindUnique(&manager, {150, 150},
                                                                         FALSE)));
    TkSetCurrentDockInitiator(&gripperB);
    EXPECT_EQ("inner", TargetName(TkLNTargetDockHitTester().FindUnique(&manager, {150, 150},
                                                                        FALSE)));
    content.RemoveChildNode(&inner);
}

TEST_F(HitTesterTest, TheSourceHookVetoesOrClaimsAndSeesTheChild)
{
    const struct
    {
        int mask;
        CPoint point;
        const char* found;
        const char* child;
    } cases[] = {
        {0, {105, 150}, "gripper", "gripper"},  // no opinion: the gripper under it answers
        {0, {250, 150}, "hooked", "none"},      // on no child: the hooked node itself
        {2, {150, 150}, "hooked", "gripper"},
        {1, {105, 150}, "none", "gripper"},
        {3, {105, 150}, "none", "gripper"},  // a veto wins over a claim
    };
    for (const auto& c : cases)
    {
        HookedInitiator hooked("hooked", c.mask);
        rootA.RemoveChildNode(&target);
        Place(&rootA, &hooked, CRect(0, 0, 200, 100));
        target.RemoveChildNode(&gripper);
        Place(&hooked, &gripper, CRect(0, 0, 100, 100));
        ITkDockInitiator* found = TkDockInitiatorHitTester().Find(&manager, c.point);
        EXPECT_EQ(c.found, InitiatorName(found)) << c.mask << " " << c.point.x;
        EXPECT_EQ(c.child, std::string(hooked.m_child ? (LPCSTR)(LPCSTR)hooked.m_child->GetNodeName()
                                                       : "none"));
        hooked.RemoveChildNode(&gripper);
        Place(&target, &gripper, CRect(0, 0, 100, 100));
        rootA.RemoveChildNode(&hooked);
        Place(&rootA, &target, CRect(0, 0, 200, 100));
    }
}

// A float window's grid: no target while docking into float windows is off.
TEST(FloatGridTargetTest, NothingDocksIntoAFloatWindowUnlessAllowed)
{
    TopmostMgr manager;
    ProbeNode root("float");
    TkFloatDynGridLineTarget grid;
    Initiator pane("pane");
    root.AddChildNode(&grid);
    grid.TkLayoutNode::AddChildNode(&pane);
    root.SetCurrentRect(CRect(0, 0, 100, 100));
    grid.SetCurrentRect(CRect(0, 0, 100, 100));
    pane.SetCurrentRect(CRect(0, 0, 100, 50));
    manager.RegisterContainer(&root, new OffsetContainer(CPoint(0, 0)));
    manager.m_topmost = manager.GetContainerOf(&root);
    const struct
    {
        int allow;
        ITkDockInitiator* dragged;
        bool found;
    } cases[] = {
        {0, NULL, false},
        {1, NULL, true},
        {1, &pane, true},   // the pane lies inside the grid, not around it
    };
    for (const auto& c : cases)
    {
        TkFloatDynGridLineTarget::SetAllowDockIntoFloat(c.allow);
        TkSetCurrentDockInitiator(c.dragged);
        ITkDockTarget* target = TkLNTargetDockHitTester().FindUnique(&manager, {50, 75}, FALSE);
        EXPECT_EQ(c.found ? static_cast<ITkDockTarget*>(&grid) : NULL, target) << c.allow;
    }
    TkFloatDynGridLineTarget::SetAllowDockIntoFloat(0);
    TkSetCurrentDockInitiator(NULL);
    manager.UnregisterContainer(&root);
    grid.TkLayoutNode::RemoveChildNode(&pane);
    root.RemoveChildNode(&grid);
}

TEST(LNHitTesterTest, NearestChildClampsEdgesInclusivelyAndKeepsTheFirstOfEquals)
{
    ProbeNode left("left"), right("right"), distant("far");
    left.SetCurrentRect(CRect(0, 0, 10, 10));
    right.SetCurrentRect(CRect(20, 0, 30, 10));
    distant.SetCurrentRect(CRect(100, 100, 110, 110));
    std::vector<TkLayoutNode*> all = {&left, &right, &distant};
    const struct
    {
        CPoint point;
        const char* nearest;
        CPoint clamped;
    } cases[] = {
        {{15, 5}, "left", {10, 5}},      // equal distance: the first
        {{10, 10}, "left", {10, 10}},    // corner counts as inside
        {{19, 5}, "right", {20, 5}},
        {{200, 200}, "far", {110, 110}},
        {{25, -5}, "right", {25, 0}},
    };
    TkLNHitTester tester;
    for (const auto& c : cases)
    {
        CPoint clamped(-1, -1);
        BOOL found = FALSE;
        TkLayoutNode* nearest = tester.NearestChild(&all, c.point, &clamped, &found);
        ASSERT_TRUE(nearest);
        EXPECT_STREQ(c.nearest, nearest->GetNodeName());
        EXPECT_EQ(c.clamped, clamped);
        EXPECT_TRUE(found);
    }
    std::vector<TkLayoutNode*> none;
    CPoint untouched(7, 7);
    BOOL found = 5;
    EXPECT_EQ(NULL, tester.NearestChild(&none, {1, 1}, &untouched, &found));
    EXPECT_EQ(NULL, tester.NearestChild(NULL, {1, 1}, &untouched, &found));
    EXPECT_EQ(CPoint(7, 7), untouched);
    EXPECT_EQ(5, found);
}

TEST(LNHitTesterTest, ChildAtAndDescendants)
{
    ProbeNode root("root"), a("a"), a1("a1"), b("b");
    root.AddChildNode(&a);
    root.AddChildNode(&b);
    a.AddChildNode(&a1);
    root.SetCurrentRect(CRect(0, 0, 100, 100));
    a.SetCurrentRect(CRect(0, 0, 50, 100));
    a1.SetCurrentRect(CRect(0, 0, 50, 50));
    b.SetCurrentRect(CRect(50, 0, 100, 100));
    TkLNHitTester tester;
    EXPECT_STREQ("a", tester.ChildAt(&root, {10, 10}, FALSE)->GetNodeName());
    EXPECT_STREQ("a1", tester.ChildAt(&root, {10, 10}, TRUE)->GetNodeName());
    EXPECT_STREQ("b", tester.ChildAt(&root, {50, 0}, TRUE)->GetNodeName());
    EXPECT_EQ(NULL, tester.ChildAt(&root, {100, 10}, TRUE));
    EXPECT_TRUE(tester.IsDescendant(&root, &a1));
    EXPECT_FALSE(tester.IsDescendant(&a, &b));
    EXPECT_FALSE(tester.IsDescendant(&root, &root));
    EXPECT_FALSE(tester.IsDescendant(NULL, &a));
    EXPECT_DOUBLE_EQ(5.0, TkLNHitTester::Distance({0, 0}, {3, 4}));
    a.RemoveChildNode(&a1);
    root.RemoveChildNode(&a);
    root.RemoveChildNode(&b);
}

// An off-node target: accepts points within 25 pixels left of its node.
class OffNodeTarget : public Target, public ITkOffNodeHitTest
{
public:
    using Target::Target;
    BOOL HitTestOffNode(CPoint point) override
    {
        CRect rect = GetCurrentRect();
        return point.x >= rect.left - 25 && point.x < rect.left;
    }
};

TEST(OffNodeHitTestTest, ChildrenAreTestedBeforeTheirChildrenAndTheFirstTreeWins)
{
    TopmostMgr manager;
    ProbeNode root("root"), holder("holder");
    OffNodeTarget deep("deep"), shallow("shallow");
    root.AddChildNode(&holder);
    holder.AddChildNode(&deep);
    root.AddChildNode(&shallow);
    root.SetCurrentRect(CRect(0, 0, 200, 100));
    deep.SetCurrentRect(CRect(100, 0, 200, 50));
    shallow.SetCurrentRect(CRect(100, 50, 200, 100));
    manager.RegisterContainer(&root, new OffsetContainer(CPoint(10, 10)));
    TkLNOffNodeDockIFaceHitTest_T<ITkDockTarget> tester;
    // The screen point (95, 20) is (85, 10) in the tree: left of both.
    EXPECT_EQ("shallow", TargetName(tester.HitTestManager(&manager, {95, 20})));
    EXPECT_EQ("none", TargetName(tester.HitTestManager(&manager, {50, 20})));
    EXPECT_EQ("none", TargetName(tester.HitTestManager(NULL, {95, 20})));
    manager.UnregisterContainer(&root);
    holder.RemoveChildNode(&deep);
    root.RemoveChildNode(&holder);
    root.RemoveChildNode(&shallow);
}
}  // namespace
