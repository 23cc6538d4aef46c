#include "toolkit/docking/TkQueryChildTargetInfo.h"
#include "toolkit/docking/TkLNDynamicGrid2d.h"

TkLayoutNode* TkFirstTargetNodeOf(TkLayoutNode* child)
{
    TkLNDynamicGrid2d* grid = dynamic_cast<TkLNDynamicGrid2d*>(child);
    return grid ? grid->GetFirstNode() : child;
}

int TkTargetNodeCountOf(TkLayoutNode* child)
{
    TkLNDynamicGrid2d* grid = dynamic_cast<TkLNDynamicGrid2d*>(child);
    return grid ? grid->GetNodeCount() : child ? 1 : 0;
}

void TkTargetNodesOf(TkLayoutNode* child, CPtrList& nodes)
{
    nodes.RemoveAll();
    if (TkLNDynamicGrid2d* grid = dynamic_cast<TkLNDynamicGrid2d*>(child))
        grid->GetNodes(nodes);
    else if (child)
        nodes.AddTail(child);
}
