// TkQueryChildTargetInfo: what a node that holds a docking grid (a float
// window's root, a floating target gripper) tells about the nodes docked in
// that grid. A floating tree with one docked node holds it directly, so the
// answers then describe that one node.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"

#include <afxcoll.h>

class TkQueryChildTargetInfo
{
public:
    virtual ~TkQueryChildTargetInfo() {}
    virtual TkLayoutNode* GetFirstTargetNode() = 0;
    virtual int GetTargetNodeCount() = 0;
    // Empties the list first.
    virtual void GetTargetNodes(CPtrList& nodes) = 0;
};

class TkLNDynamicGrid2d;

// The answers for a node whose docked content is child: the nodes of the
// grid when child is one, else child itself.
TkLayoutNode* TkFirstTargetNodeOf(TkLayoutNode* child);
int TkTargetNodeCountOf(TkLayoutNode* child);
void TkTargetNodesOf(TkLayoutNode* child, CPtrList& nodes);
