// TkDockFloatingNode: the root of a floating tree, shown in a float window.
// A node dropped on no dock target becomes its content. The float window's
// container is registered with the docking manager, its one owner; the
// node unregisters it when it goes, which parks the window. Docked into a
// target, the node hands over its content; left empty, it goes with the
// dock's memory list.
#pragma once

#include "toolkit/docking/TkDockHitTester.h"
#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkLNBorder.h"
#include "toolkit/docking/TkQueryChildTargetInfo.h"

class TkDockFloatingNode : public TkDefDockNodeInitiatorBase,
                           public TkDefDockNodeBase,
                           public TkLNBorder_T<TkLayoutNode>,
                           public ITkHookDockSourceHitTester,
                           public TkQueryChildTargetInfo
{
public:
    TkDockFloatingNode();
    ~TkDockFloatingNode() override;

    // Makes the float window through source (the content's container) with
    // the content's options in the manager, and takes the content.
    virtual BOOL SetUp(TkLayoutNode* content, TkLNDockingMgr* manager, LPCSTR title,
                       ITkLNContainer* source);
    BOOL IsFloating() override { return TRUE; }
    // With a target, the content moves; without one, the whole float window.
    ITkDockableNode* GetDockableNode(ITkDockTarget* target, CPoint point,
                                     TkLNDockingMgr* manager, TkNodeMemoryManager* list) override;
    // Docks the content back where it was docked last (c NULL), else at c.
    BOOL DockInto(TkLNDockingMgr* manager, const TkDockInsertionConstraints* c) override;
    // Without content the float window hides and the node joins list.
    void OnDocked(ITkDockTarget* target, CPoint point, TkLNDockingMgr* manager,
                  TkNodeMemoryManager* list) override;
    int OnDoubleClick(TkLNDockingMgr* manager) override { return DockInto(manager, NULL); }
    // The content's size plus the float window's frame at the cursor, the
    // cursor kept 5 pixels inside.
    BOOL GetOutlineRect(CPoint point, CRect* rect, TkLNDockingMgr* manager,
                        TkDockInProgressInfo* info) override;
    BOOL DropSelf(CPoint point, TkLNDockingMgr* manager, TkDockInProgressInfo* info) override;
    // Shows or hides the whole float window; the tree stays.
    BOOL ShowNode(BOOL show) override;
    // On no child the whole float window is dragged; on a child nothing here.
    int HitTestSource(CPoint screenPoint, TkLayoutNode* child) override;

    TkLayoutNode* GetFirstTargetNode() override { return TkFirstTargetNodeOf(GetContent()); }
    int GetTargetNodeCount() override { return TkTargetNodeCountOf(GetContent()); }
    void GetTargetNodes(CPtrList& nodes) override { TkTargetNodesOf(GetContent(), nodes); }

    // The node's direct child: the docked node, or a grid of them.
    TkLayoutNode* GetContent();
    // What a dock back moves: the one docked node, else all of them with
    // the node that holds them; NULL when empty.
    TkLayoutNode* GetDockedContent();
    BOOL IsPlaced() const { return m_floating; }
    TkLNDockingMgr* GetDockingMgr() const { return m_manager; }

    // How far inside the outline the cursor is kept.
    static const int kCursorInset = 5;

protected:
    ITkLNContainer* Container();
    BOOL ReadFrameBorders();

    BOOL m_floating;
    TkLNDockingMgr* m_manager;
    int m_borders[4];
    BOOL m_bordersCached;
};
