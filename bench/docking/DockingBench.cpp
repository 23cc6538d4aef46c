// 200 windows docked in lines of 10 on the four sides of a 1200 x 900
// frame's layout tree (a border client with a sizable dock border and a
// grid-line dock target on each side). Needs a display.
#include "toolkit/docking/TkDragDropDockingFeature.h"
#include "toolkit/docking/TkDynGridLineTarget.h"
#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkLNBorderClient.h"
#include "toolkit/docking/TkLNSizable.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"

#include <stdio.h>

#include <memory>
#include <vector>

namespace
{
const int kNodes = 200;
const int kPerLine = 10;
const int kResizes = 200;
const int kDragSteps = 200;

LARGE_INTEGER g_frequency;

double Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / g_frequency.QuadPart;
}

struct Side
{
    TkLNSizableDockBorder border;
    TkDynGridLineTarget target;
};

// One more pane, in the gripper docked windows get, on a line of its own
// at the top, is dragged by its gripper strip over the four sides: each
// feedback step finds the target under the cursor and moves the outline.
void TimeDragFeedback(CWnd& frame, TkLNBorderClient& root, Side* sides)
{
    TkLNDockingMgr manager;
    manager.RegisterContainer(&root, new TkLNHwndContainer(&frame));
    TkLayoutNodeWnd node;
    node.AttachWnd(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   frame.m_hWnd, NULL, NULL, NULL),
                   &frame);
    TkFloatableDockingNode_T<TkReparentableGripperEx> gripper;
    gripper.SetNodeWnd(frame.m_hWnd);
    gripper.AddChildNode(&node);
    TkDynGridInsertConstraints c;
    c.m_newLine = TRUE;
    c.m_lineThickness = 40;
    sides[0].target.InsertNode(&gripper, &c);
    CRect result;
    root.RecalcLayout(result, CRect(0, 0, 1200, 900), FALSE, TRUE);
    root.RealizeNodes(0);

    CPoint press = gripper.GetCurrentRect().TopLeft() + CPoint(4, 4);
    manager.GetContainerOf(&root)->NodePointToScreen(press);
    TkDragDropDockingFeature feature;
    feature.SetDockingMgr(&manager);
    if (!feature.CanStartDrag(0, press) || !feature.OnStartDrag(0, press))
        printf("one drag feedback step: no drag started\n");
    else
    {
        double start = Now();
        for (int i = 0; i < kDragSteps; ++i)
        {
            CRect over = sides[i % 4].target.GetCurrentRect();
            CPoint point = over.CenterPoint() + CPoint(i % 7, i % 5);
            manager.GetContainerOf(&root)->NodePointToScreen(point);
            feature.OnDragMove(0, point);
        }
        printf("one drag feedback step: %.1f us\n", (Now() - start) / kDragSteps * 1000);
        feature.OnEndDrag(0, press, FALSE);
    }
    if (TkLayoutNode* parent = gripper.GetParentNode())
        parent->RemoveChildNode(&gripper);
    gripper.RemoveChildNode(&node);
    ::DestroyWindow(node.GetNodeWnd());
    manager.UnregisterContainer(&root);
}
}

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    CWnd frame;
    if (!frame.CreateEx(0, AfxRegisterWndClass(0), "docking bench",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1200, 900, NULL, NULL))
    {
        printf("no window (is there a display?)\n");
        return 1;
    }
    TkLNBorderClient root;
    TkLayoutNode client;
    Side sides[4];
    const int edges[4] = {TkLNSizable::kEdgeBottom, TkLNSizable::kEdgeTop, TkLNSizable::kEdgeRight,
                          TkLNSizable::kEdgeLeft};
    for (int side = 0; side < 4; ++side)
    {
        Side& s = sides[side];
        s.target.SetHostAndOrientation(frame.m_hWnd, side < 2);
        s.target.SetGrowMode(TRUE);
        s.target.SetSideIndex(side);
        s.border.SetDockSide(side);
        s.border.SetSizableEdges(&frame, TRUE, edges[side]);
        s.border.AddChildNode(&s.target);
        root.AddBorderNode(&s.border, side);
    }
    root.AddBorderNode(&client, TkLNBorderClient::kClient);
    CRect result;
    root.RecalcLayout(result, CRect(0, 0, 1200, 900), FALSE, TRUE);

    std::vector<std::unique_ptr<TkLayoutNodeWnd>> nodes;
    for (int index = 0; index < kNodes; ++index)
    {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                      frame.m_hWnd, NULL, NULL, NULL);
        nodes.push_back(std::make_unique<TkLayoutNodeWnd>());
        nodes.back()->AttachWnd(window, &frame);
        nodes.back()->SetReferenceRect(CRect(0, 0, 60, 40));
    }
    // Docking makes the splitter windows between the nodes too.
    double start = Now();
    for (int index = 0; index < kNodes; ++index)
    {
        TkLayoutNodeWnd* node = nodes[index].get();
        TkDynGridInsertConstraints c;
        int inLine = index / 4 % kPerLine;
        c.m_newLine = inLine == 0;
        c.m_lineThickness = 40;
        c.m_reference = inLine == 0 ? NULL : nodes[index - 4].get();
        sides[index % 4].target.InsertNode(node, &c);
    }
    double docked = Now() - start;
    printf("dock %d nodes: %.2f ms (%.1f us a node)\n", kNodes, docked, docked * 1000 / kNodes);
    start = Now();
    root.RecalcLayout(result, CRect(0, 0, 1200, 900), FALSE, TRUE);
    root.RealizeNodes(0);
    printf("first layout and realisation: %.2f ms\n", Now() - start);

    start = Now();
    for (int i = 0; i < kResizes; ++i)
        root.RecalcLayout(result, CRect(0, 0, 1200 - i % 2 * 40, 900 - i % 2 * 30), FALSE, TRUE);
    double computed = (Now() - start) / kResizes;
    printf("relayout on a frame resize, computation: %.1f us\n", computed * 1000);

    int moves = 0;
    start = Now();
    for (int i = 0; i < kResizes; ++i)
    {
        root.RecalcLayout(result, CRect(0, 0, 1200 - i % 2 * 40, 900 - i % 2 * 30), FALSE, TRUE);
        root.ForEachInSubtree([&moves](TkLayoutNode* node) {
            if (node->GetDeferCount() > 0 && node->GetCurrentRect() != node->GetRealizedRect())
                ++moves;
        });
        root.RealizeNodes(0);
    }
    double realized = (Now() - start) / kResizes;
    printf("relayout on a frame resize, with realisation: %.2f ms, %d windows moved a resize\n",
           realized, moves / kResizes);

    TkLNDynamicGridLine* line = sides[0].target.GetLineAt(0);
    TkLayoutNode* first = line ? line->GetFirstNode() : NULL;
    TkLNDynamicGridLineCell* cell = line ? line->GetCell(first) : NULL;
    if (cell && cell->m_after)
    {
        start = Now();
        for (int i = 0; i < kResizes; ++i)
            line->OnSplitterMoved(cell->m_after, i % 2 ? -5 : 5, 0);
        printf("one live splitter move: %.1f us\n", (Now() - start) / kResizes * 1000);
    }
    TimeDragFeedback(frame, root, sides);

    for (auto& node : nodes)
        if (node->GetParentNode())
            node->GetParentNode()->RemoveChildNode(node.get());
    for (Side& s : sides)
        root.RemoveChildNode(&s.border);
    root.RemoveChildNode(&client);
    frame.DestroyWindow();
    return 0;
}
