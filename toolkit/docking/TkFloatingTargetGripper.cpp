#include "toolkit/docking/TkFloatingTargetGripper.h"

BOOL TkFloatingTargetGripper::OnDockEvent(TkLayoutNode* node, TkLayoutNode* target,
                                          TkLayoutNode* parent, LPARAM value,
                                          TkNodeMemoryManager* memoryList)
{
    if (!TkReparentableGripperEx::OnDockEvent(node, target, parent, value, memoryList))
        return FALSE;
    int count = GetTargetNodeCount();
    if (count == 0)
        return TRUE;
    TkLayoutNode* up = GetParentNode();
    if (count == 1 && up && !dynamic_cast<TkDockFloatingNode*>(up))
    {
        HandOverPlace(memoryList);
        return TRUE;
    }
    BOOL several = count > 1;
    TkDefHideableNode::ShowNode(several);
    CPtrList nodes;
    GetTargetNodes(nodes);
    for (POSITION p = nodes.GetHeadPosition(); p;)
        if (ITkBorderWrapper* wrapper =
                dynamic_cast<ITkBorderWrapper*>(static_cast<TkLayoutNode*>(nodes.GetNext(p))))
            wrapper->EnableMargins(several, FALSE);
    return TRUE;
}

void TkFloatingTargetGripper::HandOverPlace(TkNodeMemoryManager* memoryList)
{
    TkLayoutNode* grid = Grid();
    TkLayoutNode* single = GetFirstTargetNode();
    TkLayoutNode* up = GetParentNode();
    RemoveChildNode(grid);
    up->RemoveChildNode(this);
    if (single != grid)
        up->AddChildNode(single);
    SetMemoryManager(memoryList, FALSE);
    if (single != grid)
        grid->SetMemoryManager(memoryList, FALSE);
}
