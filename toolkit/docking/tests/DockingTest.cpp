#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/docking/tests/Canvas.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkLayoutFactory.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"
#include "toolkit/docking/TkLNBorderClient.h"
#include "toolkit/colors/TkSysColors.h"

#include <memory>

namespace
{
CCallRecorder g_events;

class ClickGripper : public TkReparentableGripperEx
{
public:
    void OnCloseButton() override { g_events.Record("close"); }
    void OnArrowButton() override { g_events.Record("arrow"); }
    using TkLayoutNodeGripperEx::GetArrowRect;
    using TkLayoutNodeGripperEx::GetCloseRect;
};

class RecordingFrame : public CWnd
{
public:
    void OnLButtonDown(UINT, CPoint) { g_events.Record("window down"); }
    void OnLButtonUp(UINT, CPoint) { g_events.Record("window up"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingFrame, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

class DockingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.Clear();
        ASSERT_TRUE(m_frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_POPUP | WS_VISIBLE,
                                     100, 100, 300, 200, NULL, NULL));
        m_child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30,
                                  m_frame.m_hWnd, (HMENU)7, NULL, NULL);
        PumpMessages();
    }
    void TearDown() override { m_frame.DestroyWindow(); }

    RecordingFrame m_frame;
    HWND m_child = NULL;
};

TEST_F(DockingTest, GripperButtonsFollowTheMouse)
{
    const struct
    {
        const char* name;
        BOOL arrowEnabled;
        CPoint down, move, up;
        std::vector<std::string> events;
    } cases[] = {
        {"close clicked", TRUE, {9, 5}, {10, 6}, {9, 5}, {"close"}},
        // No action; the window's own procedure sees the release.
        {"close released outside", TRUE, {9, 5}, {60, 60}, {60, 60}, {"window up"}},
        {"close left and entered again", TRUE, {9, 5}, {60, 60}, {10, 8}, {"close"}},
        {"arrow clicked", TRUE, {9, 18}, {9, 18}, {9, 18}, {"arrow"}},
        {"disabled arrow", FALSE, {9, 18}, {9, 18}, {9, 18}, {"window down", "window up"}},
        {"bars", TRUE, {9, 60}, {9, 61}, {9, 60}, {"window down", "window up"}},
    };
    for (const auto& c : cases)
    {
        std::unique_ptr<ClickGripper> gripper(new ClickGripper);
        gripper->ShowButtons(TRUE, TRUE);
        gripper->EnableButtons(TRUE, c.arrowEnabled);
        gripper->SetNodeWnd(m_frame.m_hWnd);
        CRect result;
        gripper->RecalcLayout(result, CRect(0, 0, 18, 100), FALSE, TRUE);
        g_events.Clear();
        m_frame.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.down.x, c.down.y));
        PumpMessages();
        m_frame.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.move.x, c.move.y));
        PumpMessages();
        if (c.move.x == 60)
            EXPECT_EQ(0u, gripper->GetCloseState()) << c.name << ": not pushed while outside";
        m_frame.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.up.x, c.up.y));
        PumpMessages();
        EXPECT_EQ(c.events, g_events.Calls()) << c.name;
        EXPECT_EQ(NULL, ::GetCapture()) << c.name;
        EXPECT_EQ(0u, gripper->GetCloseState() & DFCS_PUSHED) << c.name;
    }
}

TEST_F(DockingTest, GripperDrawing)
{
    ClickGripper gripper;
    gripper.ShowButtons(TRUE, TRUE);
    CRect result;
    gripper.RecalcLayout(result, CRect(0, 0, 40, 60), FALSE, TRUE);
    Canvas drawn(40, 60), expected(40, 60);
    gripper.OnPaintNode(FALSE, drawn.m_dc);

    CRect strip(0, 0, 18, 60), close, arrow;
    ASSERT_TRUE(gripper.GetCloseRect(close));
    ASSERT_TRUE(gripper.GetArrowRect(arrow));
    CDC* dc = CDC::FromHandle(expected.m_dc);
    dc->FillSolidRect(strip, tkSysColors.m_clrBtnFace);
    DrawFrameControl(expected.m_dc, close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    DrawFrameControl(expected.m_dc, arrow, DFC_SCROLL, DFCS_SCROLLLEFT);
    SetPixel(expected.m_dc, arrow.right - 1, arrow.top, tkSysColors.m_clrBtnFace);
    SetPixel(expected.m_dc, arrow.left, arrow.bottom - 1, tkSysColors.m_clrBtnFace);
    SetPixel(expected.m_dc, arrow.right - 2, arrow.top + 1, tkSysColors.m_clrBtnHilite);
    SetPixel(expected.m_dc, arrow.left + 1, arrow.bottom - 2, tkSysColors.m_clrBtnHilite);
    EXPECT_EQ("", drawn.Differs(expected, close)) << "the close button";
    EXPECT_EQ("", drawn.Differs(expected, arrow)) << "the arrow button";

    const struct
    {
        int x, y;
        COLORREF colour;
    } pixels[] = {
        {6, 30, tkSysColors.m_clrBtnHilite}, {7, 30, tkSysColors.m_clrBtnFace},
        {8, 30, tkSysColors.m_clrBtnShadow}, {10, 30, tkSysColors.m_clrBtnHilite},
        {12, 30, tkSysColors.m_clrBtnShadow}, {7, 26, tkSysColors.m_clrBtnHilite},
        {7, 59, tkSysColors.m_clrBtnShadow}, {16, 30, tkSysColors.m_clrBtnFace},
        {18, 30, RGB(255, 255, 255)},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.colour, drawn.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(DockingTest, ClientEdgePixels)
{
    TkLNBorderClientEdge edge;
    ProbeNode child;
    edge.AddChildNode(&child);
    edge.SetEdgeFlags(1, 1, 0, 0);
    CRect result;
    edge.RecalcLayout(result, CRect(0, 0, 50, 30), FALSE, TRUE);
    Canvas drawn(50, 30);
    edge.OnPaintNode(FALSE, drawn.m_dc);
    const struct
    {
        int x, y;
        COLORREF colour;
    } pixels[] = {
        {10, 0, tkSysColors.m_clrBtnShadow}, {10, 1, tkSysColors.m_clrBtnHilite},
        {49, 0, tkSysColors.m_clrBtnShadow}, {0, 10, tkSysColors.m_clrBtnShadow},
        {1, 10, tkSysColors.m_clrBtnHilite}, {10, 10, RGB(255, 255, 255)},
        {49, 10, RGB(255, 255, 255)},        {10, 29, RGB(255, 255, 255)},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.colour, drawn.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

class CountedContainer : public TkLNHwndContainer
{
public:
    explicit CountedContainer(HWND window) : TkLNHwndContainer(window) { ++s_live; }
    ~CountedContainer() override { --s_live; }
    static int s_live;
};
int CountedContainer::s_live = 0;

TEST_F(DockingTest, ContainersOfTreesAndPoints)
{
    HWND foreign = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 100, 100, 100,
                                   NULL, NULL, NULL, NULL);
    PumpMessages();
    {
        TkLNDockingMgr manager;
        TkLayoutNode root, leaf, other;
        root.AddChildNode(&leaf);
        EXPECT_TRUE(manager.RegisterContainer(&root, new CountedContainer(m_frame.m_hWnd)));
        ITkLNContainer* container = manager.GetContainerOf(&root);
        EXPECT_TRUE(manager.RegisterContainer(&root, container)) << "the same one again";
        EXPECT_EQ(1, CountedContainer::s_live);
        EXPECT_EQ(container, manager.FindContainer(&leaf));
        EXPECT_EQ(NULL, manager.GetContainerOf(&leaf));
        EXPECT_EQ(NULL, manager.FindContainer(&other));
        EXPECT_FALSE(manager.RegisterContainer(NULL, container));

        CPoint overChild(20, 20);
        ::ClientToScreen(m_child, &overChild);
        EXPECT_EQ(container, manager.FindContainerAtPoint(overChild));
        EXPECT_EQ(NULL, manager.FindContainerAtPoint(CPoint(550, 150))) << "a foreign window";

        CPoint offset;
        EXPECT_TRUE(manager.GetPointOffsetInNode(CPoint(150, 130), &root, offset));
        EXPECT_EQ(CPoint(50, 30), offset);
        EXPECT_FALSE(manager.GetPointOffsetInNode(CPoint(0, 0), &other, offset));

        TkLayoutNodeWnd windowNode;
        HWND loose = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, foreign, NULL, NULL,
                                     NULL);
        ASSERT_TRUE(windowNode.AttachWnd(loose, CWnd::FromHandle(foreign)));
        leaf.AddChildNode(&windowNode);
        EXPECT_TRUE(manager.BindTree(&windowNode));
        EXPECT_EQ(container, windowNode.GetNodeContainer());
        EXPECT_EQ(m_frame.m_hWnd, ::GetParent(loose)) << "moved into the container's window";

        EXPECT_TRUE(manager.RegisterContainer(&root, new CountedContainer(foreign)));
        EXPECT_EQ(1, CountedContainer::s_live) << "the replaced container is deleted";
        EXPECT_EQ(NULL, windowNode.GetNodeContainer()) << "and no node holds it any more";
        EXPECT_TRUE(manager.UnregisterContainer(&root));
        EXPECT_FALSE(manager.UnregisterContainer(&root));
        EXPECT_EQ(0, CountedContainer::s_live);
        manager.RegisterContainer(&other, new CountedContainer(foreign));
        EXPECT_FALSE(manager.BindTree(&leaf));
    }
    EXPECT_EQ(0, CountedContainer::s_live) << "the manager frees what it holds";
    DestroyWindow(foreign);
}

TEST_F(DockingTest, BindingATreeHandsItsNodesToTheRootsOwner)
{
    int before = ProbeNode::s_live;
    {
        TkLNDockingMgr manager;
        TkNodeMemoryManager* rootOwner = manager.CreateNodeMemMgr(0);
        TkNodeMemoryManager* nodeOwner = manager.CreateNodeMemMgr(0);
        TkLayoutNode* root = new ProbeNode("root");
        TkLayoutNodeWnd* node = new TkLayoutNodeWnd;
        ASSERT_TRUE(node->AttachWnd(m_child, &m_frame));
        root->SetMemoryManager(rootOwner, FALSE);
        node->SetMemoryManager(nodeOwner, FALSE);
        root->AddChildNode(node);
        manager.RegisterContainer(root, new TkLNHwndContainer(&m_frame));
        EXPECT_TRUE(manager.BindTree(node));
        EXPECT_EQ(rootOwner, node->GetMemoryManager());
        EXPECT_EQ(2, rootOwner->GetCount());
        EXPECT_EQ(1, manager.NodeMemMgrOwner()->CountEmptyManagers());
        EXPECT_EQ(CPoint(0, 0), node->GetContainerOffset());
    }
    EXPECT_EQ(before, ProbeNode::s_live) << "the manager's owners free the tree";
}

class ReceiverNode : public ProbeNode, public ITkDockEventReceiver
{
public:
    ReceiverNode(const char* name, BOOL answer) : ProbeNode(name), m_answer(answer) {}
    BOOL OnDockEvent(TkLayoutNode* node, TkLayoutNode*, TkLayoutNode*, LPARAM value,
                     TkNodeMemoryManager*) override
    {
        g_events.Record(std::string(GetNodeName()) + " " + std::string(node->GetNodeName()) + " " +
                        std::to_string(value));
        return m_answer;
    }
    BOOL m_answer;
};

TEST(DockEventTest, BroadcastAndNotify)
{
    ReceiverNode root("root", TRUE), r1("r1", FALSE), c1("c1", TRUE), r2("r2", TRUE),
        c2("c2", TRUE), root2("root2", TRUE), x("x", TRUE);
    ProbeNode plain("plain");
    root.AddChildNode(&r1);
    root.AddChildNode(&plain);
    plain.AddChildNode(&r2);
    r1.AddChildNode(&c1);
    r2.AddChildNode(&c2);
    root2.AddChildNode(&x);
    TkLNDockingMgr manager;
    const struct
    {
        TkLayoutNode* node;
        TkLayoutNode* target;
        std::vector<std::string> events;
    } cases[] = {
        {&c2, &r1, {"root c2 5", "r1 c2 5", "r2 c2 5", "c2 c2 5"}},
        {&x, &c1,
         {"root x 5", "r1 x 5", "r2 x 5", "c2 x 5", "root2 x 5", "x x 5"}},
        {&c2, NULL, {"c2 c2 5", "root c2 5", "r1 c2 5", "r2 c2 5", "c2 c2 5"}},
    };
    for (const auto& c : cases)
    {
        g_events.Clear();
        EXPECT_TRUE(manager.NotifyDockEvent(c.node, c.target, 5, NULL));
        EXPECT_EQ(c.events, g_events.Calls());
    }
    EXPECT_FALSE(manager.NotifyDockEvent(NULL, &root, 5, NULL));
}

TEST(DockEventTest, AnEmptiedGripperLeavesForTheDocksMemoryList)
{
    TkLNDockingMgr manager;
    TkNodeMemoryManager* home = manager.CreateNodeMemMgr(0);
    TkNodeMemoryManager* list = manager.CreateNodeMemMgr(0);
    TkLayoutNode* parent = new ProbeNode("parent");
    TkReparentableGripperEx* full = new TkReparentableGripperEx;
    TkReparentableGripperEx* empty = new TkReparentableGripperEx;
    ProbeNode* content = new ProbeNode("content");
    for (TkLayoutNode* node : {parent, (TkLayoutNode*)full, (TkLayoutNode*)empty, (TkLayoutNode*)content})
        node->SetMemoryManager(home, FALSE);
    parent->AddChild(full);
    parent->AddChild(empty);
    full->AddChildNode(content);
    full->EnableMargins(FALSE, FALSE);

    EXPECT_TRUE(manager.BroadcastDockEvent(parent, content, NULL, NULL, 0, list));
    EXPECT_TRUE(full->AreMarginsEnabled());
    EXPECT_EQ(parent, full->GetParentNode());
    EXPECT_EQ(NULL, empty->GetParentNode());
    EXPECT_EQ(list, empty->GetMemoryManager());
    EXPECT_EQ(list, manager.NodeMemMgrOwner()->FindOwnerOf(empty));
    EXPECT_EQ(home, manager.NodeMemMgrOwner()->FindOwnerOf(content));
    EXPECT_EQ(0, manager.NodeMemMgrOwner()->CountEmptyManagers());

    int before = ProbeNode::s_live;
    EXPECT_TRUE(manager.DestroyNodeMemMgr(0, home));
    EXPECT_EQ(before - 2, ProbeNode::s_live);
    EXPECT_FALSE(manager.DestroyNodeMemMgr(0, home)) << "not the manager's any more";
    TkDockingNodeConstraints* constraints = manager.GetConstraints(empty, TRUE);
    EXPECT_EQ(constraints, manager.GetConstraints(empty, FALSE));
    EXPECT_TRUE(manager.RemoveConstraints(empty));
    EXPECT_EQ(NULL, manager.GetConstraints(empty, FALSE));
}

TEST_F(DockingTest, DockableNodesAroundWindows)
{
    TkLayoutDockFactory factory;
    TkLayoutNode* inner = NULL;
    TkLayoutNodeDCBase* gripper = factory.CreateDockableNode(CWnd::FromHandle(m_child), &m_frame,
                                                             "Music Info", FALSE, &inner, 0);
    ASSERT_TRUE(gripper != NULL);
    EXPECT_EQ("Music Info", std::string(gripper->GetNodeName()));
    // The default gripper floats and docks back.
    ITkDockInitiator* initiator = dynamic_cast<ITkDockInitiator*>(gripper);
    ASSERT_TRUE(initiator != NULL);
    EXPECT_TRUE((dynamic_cast<TkFloatableDockingNode_T<TkReparentableGripperEx>*>(gripper) != NULL));
    TkLayoutNodeWnd* windowNode = dynamic_cast<TkLayoutNodeWnd*>(inner);
    ASSERT_TRUE(windowNode != NULL);
    EXPECT_EQ(m_child, windowNode->GetNodeWnd());
    EXPECT_EQ(gripper, inner->GetParentNode());
    EXPECT_EQ(2, factory.NodeOwner()->GetCount());

    EXPECT_EQ(NULL, factory.CreateDockableNode((CWnd*)NULL, &m_frame, "x", FALSE, NULL, 0));
    EXPECT_EQ(NULL, factory.CreateDockableNode(99u, &m_frame, "x", FALSE, NULL, 0));
    EXPECT_TRUE(factory.CreateDockableNode(7u, &m_frame, "by id", TRUE, NULL, 0) != NULL);
    EXPECT_EQ(4 + 1, factory.NodeOwner()->GetCount()) << "and the window's own layout root";
    EXPECT_EQ(1, factory.ListenerOwner()->GetCount());

    TkLNBorderClient full;
    TkLayoutNode spare[5];
    for (TkLayoutNode& node : spare)
        full.AddChildNode(&node);
    int owned = factory.NodeOwner()->GetCount();
    EXPECT_EQ(NULL, factory.AddDockableNode(&full, &m_frame, factory.NodeFactory(), "g", &inner, 0));
    EXPECT_EQ(owned, factory.NodeOwner()->GetCount()) << "nothing left half made";
    TkLayoutNodeDCBase* group =
        factory.AddDockableNode(&spare[0], &m_frame, factory.NodeFactory(), "g", &inner, 0);
    ASSERT_TRUE(group != NULL);
    EXPECT_EQ(&spare[0], group->GetParentNode());
    EXPECT_EQ(group, inner->GetParentNode());
}
}  // namespace
