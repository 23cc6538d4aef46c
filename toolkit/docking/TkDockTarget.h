// Dock targets: nodes that accept dockable nodes. A target shows where a
// node would go under a screen point (GetDockRect: it docks a placeholder
// there and takes it back) and docks it there (CanDockAt really docks:
// drops rely on it).
#pragma once

#include <afxwin.h>

class TkLayoutNode;
class TkLNDockingMgr;
class TkDockInProgressInfo;

class ITkDockTarget
{
public:
    virtual ~ITkDockTarget() {}
    // point in screen coordinates; the answer in screen coordinates.
    virtual BOOL GetDockRect(CPoint point, CRect* rect, TkLNDockingMgr* manager,
                             TkDockInProgressInfo* info) = 0;
    virtual BOOL CanDockAt(TkLayoutNode* dockable, CPoint point, TkLNDockingMgr* manager,
                           TkDockInProgressInfo* info) = 0;
};

class ITkHookDockTargetHitTester
{
public:
    virtual ~ITkHookDockTargetHitTester() {}
    // Whether the node being dragged is this target or one of its ancestors.
    virtual BOOL IsInsideDraggedNode() = 0;
};

class ITkOffNodeHitTest
{
public:
    virtual ~ITkOffNodeHitTest() {}
    virtual BOOL HitTestOffNode(CPoint point) = 0;
};

class TkDefDockTargetBase : public ITkDockTarget, public ITkHookDockTargetHitTester
{
public:
    BOOL GetDockRect(CPoint point, CRect* rect, TkLNDockingMgr* manager,
                     TkDockInProgressInfo* info) override;
    BOOL CanDockAt(TkLayoutNode* dockable, CPoint point, TkLNDockingMgr* manager,
                   TkDockInProgressInfo* info) override;
    virtual TkLayoutNode* CreatePlaceholderNode();
    // Takes the node out of its present parent.
    virtual BOOL Dock(TkLayoutNode* node, CPoint clientPoint, CPoint screenPoint, BOOL test,
                      TkLNDockingMgr* manager, TkDockInProgressInfo* info);
    virtual BOOL Undock(TkLayoutNode* node);
    BOOL IsInsideDraggedNode() override;

protected:
    TkLayoutNode* TargetNode();
};
