// The docking protocol: the node that starts a move (ITkDockInitiator), the
// node that is re-parented (ITkDockableNode) and the target that receives
// it (ITkDockTarget). Between DetachForDock and EndDock the node is out of
// the tree and its old place is held by the undo owner that removed it.
#pragma once

#include "toolkit/docking/TkDockTarget.h"
#include "toolkit/docking/TkInsertConstraints.h"
#include "toolkit/docking/TkNodeBehaviours.h"

class TkLNDockingMgr;
class TkDockingNodeConstraints;
class ITkDockableNode;

class ITkDockInitiator
{
public:
    virtual ~ITkDockInitiator() {}
    // The node's old owner once it left its place (itself without a parent),
    // NULL when it could not leave.
    virtual TkLayoutNode* DetachForDock(TkLNDockingMgr* manager, BOOL takeRect,
                                        TkDockInProgressInfo* info) = 0;
    virtual ITkDockableNode* GetDockableNode(ITkDockTarget* target, CPoint point,
                                             TkLNDockingMgr* manager,
                                             TkNodeMemoryManager* list) = 0;
    virtual void OnDocked(ITkDockTarget* target, CPoint point, TkLNDockingMgr* manager,
                          TkNodeMemoryManager* list) = 0;
    virtual void RealizeTops(ITkDockableNode* dockable, TkLNDockingMgr* manager) = 0;
    virtual void CancelDock() = 0;
    virtual void EndDock() = 0;
    virtual BOOL IsFloating() = 0;
    virtual ITkDockInitiator* GetFloatingInitiator() = 0;
    virtual BOOL FloatNode(TkLNDockingMgr* manager, const CRect* screenRect) = 0;
    // c NULL: the node's remembered docked place.
    virtual BOOL DockInto(TkLNDockingMgr* manager, const TkDockInsertionConstraints* c) = 0;
    virtual int OnDoubleClick(TkLNDockingMgr* manager) = 0;
};

class ITkDockableNode
{
public:
    virtual ~ITkDockableNode() {}
    virtual BOOL GetOutlineRect(CPoint point, CRect* rect, TkLNDockingMgr* manager,
                                TkDockInProgressInfo* info) = 0;
    virtual void DrawDragRect(CDC* dc, const CRect& rect, ITkDockTarget* target) = 0;
    virtual void EraseDragRect(CDC* dc) = 0;
    virtual BOOL DropSelf(CPoint point, TkLNDockingMgr* manager, TkDockInProgressInfo* info) = 0;
    virtual void AdoptParentMemoryManager(TkLNDockingMgr* manager, TkNodeMemoryManager* list) = 0;
    virtual ITkDockInitiator* FindDockInitiator() = 0;
};

class TkDefDockNodeInitiatorBase : public ITkDockInitiator
{
public:
    TkDefDockNodeInitiatorBase() : m_oldTop(NULL), m_entry(NULL), m_undoOwner(NULL) {}

    TkLayoutNode* DetachForDock(TkLNDockingMgr* manager, BOOL takeRect,
                                TkDockInProgressInfo* info) override;
    ITkDockableNode* GetDockableNode(ITkDockTarget* target, CPoint point, TkLNDockingMgr* manager,
                                     TkNodeMemoryManager* list) override;
    void OnDocked(ITkDockTarget*, CPoint, TkLNDockingMgr*, TkNodeMemoryManager*) override {}
    void RealizeTops(ITkDockableNode* dockable, TkLNDockingMgr* manager) override;
    void CancelDock() override;
    void EndDock() override;
    BOOL IsFloating() override { return FALSE; }
    // The floating root above the node, NULL when it is not floating.
    ITkDockInitiator* GetFloatingInitiator() override;
    BOOL FloatNode(TkLNDockingMgr*, const CRect*) override { return FALSE; }
    BOOL DockInto(TkLNDockingMgr* manager, const TkDockInsertionConstraints* c) override;
    int OnDoubleClick(TkLNDockingMgr*) override { return 0; }
    virtual ITkDockTarget* FindTarget(TkLNDockingMgr* manager, TkDockingNodeConstraints* record,
                                      const TkDockInsertionConstraints& c);

protected:
    TkLayoutNode* InitiatorNode() { return dynamic_cast<TkLayoutNode*>(this); }

    // The topmost ancestor the node had when the dock began.
    TkLayoutNode* m_oldTop;
    ITkLNContainer* m_entry;
    // Holds the node's old place.
    ITkUndoableNode* m_undoOwner;
};

class TkDefDockNodeBase : public ITkDockableNode, public TkDefHideableNode
{
public:
    TkDefDockNodeBase() : m_lastSize(0, 0), m_lastSolid(FALSE), m_hideOwner(NULL) {}

    BOOL GetOutlineRect(CPoint, CRect*, TkLNDockingMgr*, TkDockInProgressInfo*) override
    {
        return FALSE;
    }
    void DrawDragRect(CDC* dc, const CRect& rect, ITkDockTarget* target) override;
    void EraseDragRect(CDC* dc) override;
    BOOL DropSelf(CPoint, TkLNDockingMgr*, TkDockInProgressInfo*) override { return FALSE; }
    void AdoptParentMemoryManager(TkLNDockingMgr* manager, TkNodeMemoryManager* list) override;
    ITkDockInitiator* FindDockInitiator() override;
    // Hiding takes the node out remembering its place; showing puts it back.
    BOOL ShowNode(BOOL show) override;

    static void SetThinFrame(BOOL thin);

protected:
    TkLayoutNode* DockableNode() { return dynamic_cast<TkLayoutNode*>(this); }
    // The border size and the rectangle as drawn for a floating frame or a dock
    // target's outline, and its brush; lastBrush gets the previous call's.
    CBrush* GetDragRectStyle(BOOL floating, CSize* size, CRect* rect, CBrush** lastBrush);
    // The stock white brush when solid, else NULL: the DC's halftone brush.
    static CBrush* GetDragBrush(BOOL solid);

    CRect m_lastRect;
    CSize m_lastSize;
    BOOL m_lastSolid;
    ITkUndoableNode* m_hideOwner;
};

// The undo owner of a node's parent: the enclosing 2-d grid's, else the
// parent's own; NULL when the parent cannot undo.
ITkUndoableNode* TkUndoOwnerOf(TkLayoutNode* parent);
