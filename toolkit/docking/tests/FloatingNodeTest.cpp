// The floating root node: its float window, the outline it shows at the
// cursor and its drop there.
#include "tests/support/TestFramework.h"
#include "tests/support/InputScript.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDockFloatingNode.h"
#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkFloatingTargetGripper.h"
#include "toolkit/docking/TkLayoutFactory.h"
#include "toolkit/docking/TkLNDynamicGrid2d.h"
#include "toolkit/docking/TkLNDynamicGridLine.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"
#include "toolkit/docking/TkLayoutMiniFloatWnd.h"

#include <afxext.h>

#include <memory>

namespace
{
class FloatingNodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_owner = new CFrameWnd;
        ASSERT_TRUE(m_owner->Create(NULL, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400)));
        m_content.SetReferenceRect(CRect(0, 0, 120, 80));
        m_source = std::make_unique<TkLNHwndContainer>(m_owner);
        m_node = std::make_unique<TkDockFloatingNode>();
        ASSERT_TRUE(m_node->SetUp(&m_content, &m_manager, "Pane", m_source.get()));
        m_container = dynamic_cast<TkLNFloatingHwndContainer*>(m_manager.GetContainerOf(m_node.get()));
        ASSERT_TRUE(m_container);
        m_container->GetFrameBorders(&m_left, &m_top, &m_right, &m_bottom);
    }
    void TearDown() override
    {
        m_node.reset();
        m_owner->DestroyWindow();
        PumpUntilIdle();
        EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
    }
    CSize Outer() { return CSize(120 + m_left + m_right, 80 + m_top + m_bottom); }

    CFrameWnd* m_owner;
    TkLNDockingMgr m_manager;
    ProbeNode m_content{"content"};
    std::unique_ptr<TkLNHwndContainer> m_source;
    std::unique_ptr<TkDockFloatingNode> m_node;
    TkLNFloatingHwndContainer* m_container = NULL;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
};

TEST_F(FloatingNodeTest, TheOutlineHasTheContentsSizeWithTheFrameAndKeepsTheCursorInside)
{
    const struct
    {
        CPoint offset;
        CPoint expectedTopLeftFromCursor;  // negative: cursor inside
        bool pulledRight, pulledDown;
    } cases[] = {
        {{10, 8}, {-10, -8}, false, false},
        {{0, 0}, {0, 0}, false, false},
        {{500, 8}, {0, -8}, true, false},    // offset wider than the window
        {{10, 400}, {-10, 0}, false, true},
        {{-30, -20}, {0, 0}, false, false},  // cursor left of and above it
    };
    CPoint cursor(300, 200);
    for (const auto& c : cases)
    {
        TkDockInProgressInfo info;
        info.m_pointOffset = c.offset;
        CRect outline;
        ASSERT_TRUE(m_node->GetOutlineRect(cursor, &outline, &m_manager, &info));
        EXPECT_EQ(Outer(), outline.Size());
        CRect expected(CPoint(cursor.x - c.offset.x, cursor.y - c.offset.y), Outer());
        if (c.offset.x > Outer().cx)
            expected.OffsetRect(cursor.x - expected.right + 5, 0);
        if (c.offset.y > Outer().cy)
            expected.OffsetRect(0, cursor.y - expected.bottom + 5);
        if (c.offset.x < 0)
            expected.OffsetRect(cursor.x - expected.left - 5, 0);
        if (c.offset.y < 0)
            expected.OffsetRect(0, cursor.y - expected.top - 5);
        EXPECT_EQ(RectText(expected), RectText(outline)) << c.offset.x << "," << c.offset.y;
    }
}

TEST_F(FloatingNodeTest, ADropShowsTheFloatWindowWithTheContentInItsClientArea)
{
    TkDockInProgressInfo info;
    info.m_pointOffset = CPoint(10, 8);
    ASSERT_TRUE(m_node->DropSelf(CPoint(300, 200), &m_manager, &info));
    EXPECT_TRUE(m_node->IsPlaced());
    TkLayoutMiniFloatWnd* window = m_container->GetFloatWnd();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsWindowVisible());
    CRect outer, client;
    window->GetWindowRect(outer);
    EXPECT_EQ(RectText(CRect(CPoint(290, 192), Outer())), RectText(outer));
    window->GetClientRect(client);
    CRect content = m_content.GetCurrentRect();
    EXPECT_EQ(RectText(CRect(CPoint(m_left, m_top), client.Size())), RectText(content));
    EXPECT_EQ("Pane", std::string((LPCSTR)[&] {
                  CString text;
                  window->GetWindowText(text);
                  return text;
              }()));

    // A given rectangle wins; an inverted one places nothing.
    info.SetTargetRect(CRect(50, 60, 250, 200));
    ASSERT_TRUE(m_node->DropSelf(CPoint(0, 0), &m_manager, &info));
    window->GetWindowRect(outer);
    EXPECT_EQ("50,60,250,200", RectText(outer));
    info.SetTargetRect(CRect(250, 200, 50, 60));
    EXPECT_FALSE(m_node->DropSelf(CPoint(0, 0), &m_manager, &info));
    window->GetWindowRect(outer);
    EXPECT_EQ("50,60,250,200", RectText(outer));
}

TEST_F(FloatingNodeTest, TheWholeWindowIsDraggedWhereNoChildIs)
{
    EXPECT_EQ(ITkHookDockSourceHitTester::kHookSelf, m_node->HitTestSource(CPoint(1, 1), NULL));
    EXPECT_EQ(ITkHookDockSourceHitTester::kHookNone,
              m_node->HitTestSource(CPoint(1, 1), &m_content));
    EXPECT_TRUE(m_node->IsFloating());
    // Empty, the float window offers nothing to drag.
    m_node->RemoveChildNode(&m_content);
    EXPECT_EQ(0, m_node->HitTestSource(CPoint(1, 1), NULL));
}

// Docking back needs a place: none given and none remembered, nothing moves.
TEST_F(FloatingNodeTest, DockingBackWithoutAPlaceLeavesTheContentFloating)
{
    ASSERT_TRUE(m_node->DropSelf(CPoint(300, 200), &m_manager, NULL));
    EXPECT_FALSE(m_node->OnDoubleClick(&m_manager));
    EXPECT_EQ(m_node.get(), m_content.GetParentNode());
    EXPECT_TRUE(m_container->IsVisible());
}

// The manager owns the container: the node's going unregisters it once and
// parks the window; a second set-up is refused.
TEST_F(FloatingNodeTest, TheNodesGoingParksItsWindow)
{
    EXPECT_FALSE(m_node->SetUp(&m_content, &m_manager, "Again", m_source.get()));
    ASSERT_TRUE(m_node->DropSelf(CPoint(300, 200), &m_manager, NULL));
    HWND window = m_container->GetFloatWnd()->m_hWnd;
    m_node->RemoveChildNode(&m_content);
    TkLayoutNode* gone = m_node.get();
    m_node.reset();
    EXPECT_EQ(NULL, m_manager.GetContainerOf(gone));
    EXPECT_EQ(1, TkLNFloatingHwndContainer::GetSpareCount());
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_FALSE(::IsWindowVisible(window));
}
}  // namespace

namespace
{
typedef TkFloatableDockingNode_T<TkReparentableGripperEx> FloatableGripper;

// Tests over the trees of one owner frame; its float windows go with it.
class FloatableNodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner = new CFrameWnd;
        ASSERT_TRUE(owner->Create(NULL, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400)));
    }
    void TearDown() override
    {
        owner->DestroyWindow();
        PumpUntilIdle();
        EXPECT_EQ(0, TkLNFloatingHwndContainer::GetSpareCount());
    }
    CFrameWnd* owner = NULL;
};
typedef FloatableNodeTest FloatingTargetGripperTest;

// A gripper with a plain content node in a grid line of the owner frame.
TEST_F(FloatableNodeTest, FloatingWithoutADragMovesTheNodeIntoAFloatWindowAtTheRectangle)
{
    {
        TkLNDockingMgr manager;
        TkLNDynamicGridLine line;
        FloatableGripper gripper;
        ProbeNode content("content");
        gripper.SetNodeName("Pane");
        gripper.SetNodeWnd(owner->m_hWnd);
        gripper.AddChildNode(&content);
        line.SetHostAndOrientation(owner->m_hWnd, TRUE);
        line.SetCurrentRect(CRect(0, 0, 200, 300));
        TkDynGridInsertConstraints place;
        place.m_extent = 100;
        ASSERT_NE(-1, line.InsertNode(&gripper, &place));
        CRect result;
        line.RecalcLayout(result, CRect(0, 0, 200, 300), FALSE, TRUE);
        manager.RegisterContainer(&line, new TkLNHwndContainer(owner));

        CRect rect(100, 120, 340, 300);
        ASSERT_TRUE(gripper.FloatNode(&manager, &rect));
        TkDockFloatingNode* floating = dynamic_cast<TkDockFloatingNode*>(gripper.GetParentNode());
        ASSERT_TRUE(floating);
        EXPECT_EQ(0, line.GetChildCount(FALSE));
        auto* container =
            dynamic_cast<TkLNFloatingHwndContainer*>(manager.GetContainerOf(floating));
        ASSERT_TRUE(container);
        CRect outer;
        container->GetFloatWnd()->GetWindowRect(outer);
        EXPECT_EQ(RectText(rect), RectText(outer));
        EXPECT_TRUE(container->IsVisible());
        CString title;
        container->GetFloatWnd()->GetWindowText(title);
        EXPECT_STREQ("Pane", title);
        EXPECT_EQ(container, manager.FindContainer(&content));
        gripper.SetTitle("Renamed", &manager);
        container->GetFloatWnd()->GetWindowText(title);
        EXPECT_STREQ("Renamed", title);

        // Hidden and shown with its float window, staying in the floating tree.
        gripper.ShowNode(FALSE);
        EXPECT_FALSE(container->IsVisible());
        EXPECT_FALSE(gripper.IsNodeVisible());
        EXPECT_EQ(floating, gripper.GetParentNode());
        gripper.ShowNode(TRUE);
        EXPECT_TRUE(container->IsVisible());
        EXPECT_TRUE(gripper.IsNodeVisible());

        // Refused without a manager or with an inverted rectangle: it stays.
        EXPECT_FALSE(gripper.FloatNode(NULL, &rect));
        CRect inverted(340, 300, 100, 120);
        EXPECT_FALSE(gripper.FloatNode(&manager, &inverted));
        EXPECT_EQ(floating, gripper.GetParentNode());
        floating->RemoveChildNode(&gripper);
        gripper.RemoveChildNode(&content);
        manager.UnregisterContainer(&line);
    }
}

// A container whose window is hidden, as a hidden float window's is.
class HiddenContainer : public TkLNHwndContainer
{
public:
    using TkLNHwndContainer::TkLNHwndContainer;
    BOOL IsVisible() override { return FALSE; }
};

// Floated out of a hidden window a node stays hidden; out of a shown one it
// shows.
TEST_F(FloatableNodeTest, TheFloatWindowTakesOverTheVisibilityOfTheWindowTheNodeLeft)
{
    for (BOOL visible : {TRUE, FALSE})
    {
        TkLNDockingMgr manager;
        TkLNDynamicGridLine line;
        FloatableGripper gripper;
        ProbeNode content("content");
        gripper.SetNodeWnd(owner->m_hWnd);
        gripper.AddChildNode(&content);
        line.SetHostAndOrientation(owner->m_hWnd, TRUE);
        TkDynGridInsertConstraints place;
        place.m_extent = 100;
        ASSERT_NE(-1, line.InsertNode(&gripper, &place));
        manager.RegisterContainer(&line, visible ? new TkLNHwndContainer(owner)
                                                 : new HiddenContainer(owner));
        CRect rect(100, 120, 340, 300);
        ASSERT_TRUE(gripper.FloatNode(&manager, &rect));
        TkLayoutNode* floating = gripper.GetParentNode();
        EXPECT_EQ(visible, manager.GetContainerOf(floating)->IsVisible()) << visible;
        floating->RemoveChildNode(&gripper);
        gripper.RemoveChildNode(&content);
    }
}

// A floatable node made by a factory under a node of a floating tree
// captions that tree's float window.
TEST_F(FloatableNodeTest, ANodeMadeInAFloatingTreeCaptionsItsFloatWindow)
{
    {
        TkLNDockingMgr manager;
        TkSetDefaultDockingMgr(&manager);
        TkLNHwndContainer source(owner);
        ProbeNode holder("holder");
        holder.SetReferenceRect(CRect(0, 0, 120, 80));
        TkDockFloatingNode floating;
        ASSERT_TRUE(floating.SetUp(&holder, &manager, "Before", &source));
        auto* container = dynamic_cast<TkLNFloatingHwndContainer*>(manager.GetContainerOf(&floating));
        ASSERT_TRUE(container);
        TkLayoutDockFactory factory;
        TkClassFactory_T<FloatableGripper, TkLayoutNodeDCBase> floatables;
        ASSERT_TRUE(factory.CreateDrawingNode(owner, &holder, &floatables, "Lyrics"));
        CString title;
        container->GetFloatWnd()->GetWindowText(title);
        EXPECT_STREQ("Lyrics", title);
        // Outside any float window nothing is captioned.
        ASSERT_TRUE(factory.CreateDrawingNode(owner, NULL, &floatables, "Notes"));
        container->GetFloatWnd()->GetWindowText(title);
        EXPECT_STREQ("Lyrics", title);
        TkSetDefaultDockingMgr(NULL);
        factory.FreeAllNodes();
        floating.RemoveChildNode(&holder);
    }
}

// After a dock, the gripper around a floating grid fits what the grid
// holds: with one node outside a float window it gives that node its place
// and leaves with the grid for the memory list; otherwise the docked
// nodes' margins and its own visibility follow whether there are several.
TEST_F(FloatingTargetGripperTest, ADockEventFitsTheGripperToTheNodesItsGridHolds)
{
    const struct
    {
        int nodes;
        bool floatingParent;
        const char* parentChildren;
        bool gripperVisible;
        bool margins;
    } cases[] = {
        {1, false, "n0", true, true},
        {1, true, "gripper", false, false},
        {2, false, "gripper", true, true},
        {2, true, "gripper", true, true},
        {0, false, "gripper", true, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.nodes) + (c.floatingParent ? " in a float" : ""));
        BOOL handedOver = std::string(c.parentChildren) != "gripper";
        std::unique_ptr<TkLayoutNode> parent(c.floatingParent ? (TkLayoutNode*)new TkDockFloatingNode
                                                              : new ProbeNode("parent"));
        TkNodeMemoryManager list;
        auto* gripper = new TkFloatingTargetGripper;
        gripper->SetNodeName("gripper");
        gripper->SetNodeWnd(owner->m_hWnd);
        auto* grid = new TkLNDynamicGrid2d;
        grid->SetHostAndOrientation(owner->m_hWnd, TRUE);
        std::vector<std::unique_ptr<TkLayoutNodeBorderSpace>> nodes;
        for (int index = 0; index < c.nodes; ++index)
        {
            nodes.push_back(std::make_unique<TkLayoutNodeBorderSpace>());
            nodes.back()->SetNodeName(("n" + std::to_string(index)).c_str());
            nodes.back()->SetNodeWnd(owner->m_hWnd);
            // Set the other way unless the gripper leaves them alone.
            nodes.back()->EnableMargins(handedOver ? c.margins : !c.margins, FALSE);
            TkDynGridInsertConstraints place;
            place.m_extent = 50;
            ASSERT_NE(-1, grid->InsertNode(nodes.back().get(), &place));
        }
        ASSERT_NE(-1, gripper->AddChildNode(grid));
        ASSERT_NE(-1, parent->AddChildNode(gripper));

        EXPECT_TRUE(gripper->OnDockEvent(NULL, NULL, NULL, 0, &list));
        EXPECT_EQ(c.parentChildren, ChildNames(parent.get()));
        EXPECT_EQ(handedOver, list.IsManaged(gripper) != NULL);
        EXPECT_EQ(handedOver, list.IsManaged(grid) != NULL);
        EXPECT_EQ(c.gripperVisible, (bool)gripper->IsNodeVisible());
        for (auto& node : nodes)
            EXPECT_EQ(c.margins, (bool)node->AreMarginsEnabled()) << (LPCSTR)node->GetNodeName();
        for (auto& node : nodes)
            if (TkLayoutNode* up = node->GetParentNode())
                up->RemoveChildNode(node.get());
        if (!handedOver)
        {
            parent->RemoveChildNode(gripper);
            list.Manage(gripper);
            list.Manage(grid);
        }
    }
}
}  // namespace
