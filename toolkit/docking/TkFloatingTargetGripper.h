// TkFloatingTargetGripper: the gripper around the grid of a floating tree
// that several nodes were docked into. After each dock it fits what is
// left: with one node left outside a float window it gives that node its
// place and goes; otherwise its strip, and the docked nodes' own grippers,
// show only while the grid holds more than one node.
#pragma once

#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"
#include "toolkit/docking/TkQueryChildTargetInfo.h"

class TkFloatingTargetGripper : public TkFloatableDockingNode_T<TkReparentableGripperEx>,
                                public TkQueryChildTargetInfo
{
public:
    BOOL OnDockEvent(TkLayoutNode* node, TkLayoutNode* target, TkLayoutNode* parent,
                     LPARAM value, TkNodeMemoryManager* memoryList) override;

    TkLayoutNode* GetFirstTargetNode() override { return TkFirstTargetNodeOf(Grid()); }
    int GetTargetNodeCount() override { return TkTargetNodeCountOf(Grid()); }
    void GetTargetNodes(CPtrList& nodes) override { TkTargetNodesOf(Grid(), nodes); }

protected:
    TkLayoutNode* Grid() { return GetWrappedNode(); }
    // The single node takes the gripper's place; both leave for memoryList.
    void HandOverPlace(TkNodeMemoryManager* memoryList);
};
