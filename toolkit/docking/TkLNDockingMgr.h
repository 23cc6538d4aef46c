// TkLNDockingMgr: the registry of one docking frame. It knows which layout
// tree is shown in which container window, the docking constraints of each
// node, and the node owners of the trees made while windows are docked and
// floated; it owns all of them. It also answers the drag code's questions
// (which container lies under a screen point) and carries dock events to
// every receiver of the trees involved.
#pragma once

#include "toolkit/docking/TkInsertConstraints.h"
#include "toolkit/docking/TkLNContainer.h"
#include "toolkit/docking/TkLayoutNode.h"

#include <afxtempl.h>

#include <utility>
#include <vector>

class ITkBorderTargetParent;

// Registered trees: each root with its container.
typedef std::vector<std::pair<TkLayoutNode*, ITkLNContainer*>> TkLNRootList;

// The docking manager's record of one node: its options, its last floating
// rectangle and its last docked place.
class TkDockingNodeConstraints
{
public:
    TkDockingNodeConstraints()
        : m_resizable(TRUE), m_hideOnClose(TRUE), m_closeItem(TRUE), m_hasFloatRect(FALSE),
          m_hasDockedPlace(FALSE), m_targetParent(NULL)
    {
    }
    virtual ~TkDockingNodeConstraints() {}
    virtual void SetResizableFrom(const TkDynGridInsertConstraints& c)
    {
        m_resizable = c.m_resizable;
    }

    void SetFloatRect(const CRect& rect)
    {
        m_floatRect = rect;
        m_hasFloatRect = TRUE;
    }
    BOOL GetFloatRect(CRect* rect) const
    {
        if (rect)
            *rect = m_floatRect;
        return m_hasFloatRect;
    }
    void SetDockedPlace(const TkDockInsertionConstraints& c)
    {
        m_dockedPlace.CopyFrom(c);
        m_hasDockedPlace = TRUE;
    }
    BOOL GetDockedPlace(TkDockInsertionConstraints* c) const
    {
        if (c)
            c->CopyFrom(m_dockedPlace);
        return m_hasDockedPlace;
    }
    // The place the nearest grid-line dock target above the node gives it.
    void RememberDockedPlace(TkLayoutNode* node);

    BOOL m_resizable;
    // For the node's future float window: hide instead of closing, keep
    // the Close item.
    BOOL m_hideOnClose;
    BOOL m_closeItem;
    BOOL m_hasFloatRect;
    CRect m_floatRect;
    BOOL m_hasDockedPlace;
    TkDockInsertionConstraints m_dockedPlace;
    // The border the node was docked into.
    ITkBorderTargetParent* m_targetParent;
};

// A node that wants to hear of docks in its tree. FALSE keeps the event from
// the nodes below it.
class ITkDockEventReceiver
{
public:
    virtual ~ITkDockEventReceiver() {}
    // memoryList: the owner that nodes left empty by the dock go to.
    virtual BOOL OnDockEvent(TkLayoutNode* node, TkLayoutNode* target, TkLayoutNode* parent,
                             LPARAM value, TkNodeMemoryManager* memoryList) = 0;
};

// Answers whether a screen point lies in a tree's root, mapped through the
// tree's container.
class ITkLNHitTester
{
public:
    virtual ~ITkLNHitTester() {}
    virtual BOOL ContainsPoint(TkLayoutNode* root, CPoint screenPoint,
                               ITkLNContainer* container) = 0;
};

class TkDockMgrMemMgr : public TkObjectMemoryManager_T<TkNodeMemoryManager>
{
public:
    virtual TkNodeMemoryManager* FindOwnerOf(TkLayoutNode* node);
    virtual int CountEmptyManagers();
};

class TkLNDockingMgr
{
public:
    TkLNDockingMgr();
    virtual ~TkLNDockingMgr();
    TkLNDockingMgr(const TkLNDockingMgr&) = delete;
    TkLNDockingMgr& operator=(const TkLNDockingMgr&) = delete;

    virtual TkNodeMemoryManager* CreateNodeMemMgr(LPARAM unused);
    virtual BOOL DestroyNodeMemMgr(LPARAM unused, TkNodeMemoryManager* manager);
    virtual BOOL NotifyDockEvent(TkLayoutNode* node, TkLayoutNode* target, LPARAM value,
                                 TkNodeMemoryManager* memoryList);
    virtual BOOL GetPointOffsetInNode(CPoint screenPoint, TkLayoutNode* node, CPoint& offset);
    virtual BOOL SetConstraints(TkLayoutNode* node, TkDockingNodeConstraints* constraints);
    virtual BOOL RemoveConstraints(TkLayoutNode* node);
    virtual TkDockingNodeConstraints* GetConstraints(TkLayoutNode* node, BOOL create);
    virtual ITkLNContainer* FindContainerAtPoint(CPoint screenPoint);
    virtual BOOL BindTree(TkLayoutNode* node);
    virtual BOOL BroadcastDockEvent(TkLayoutNode* node, TkLayoutNode* docked,
                                    TkLayoutNode* target, TkLayoutNode* parent, LPARAM value,
                                    TkNodeMemoryManager* memoryList);
    virtual void CollectHwndContainers(std::vector<TkLNHwndContainer*>& containers);
    virtual TkLNHwndContainer* FindContainerOfWnd(HWND window,
                                                  const std::vector<TkLNHwndContainer*>& containers);

    // A node that had another container loses it, and the tree's nodes
    // forget the old one first.
    BOOL RegisterContainer(TkLayoutNode* node, ITkLNContainer* container);
    BOOL UnregisterContainer(TkLayoutNode* node);
    ITkLNContainer* GetContainerOf(TkLayoutNode* node);
    // The container of the node or of its nearest parent that has one.
    ITkLNContainer* FindContainer(TkLayoutNode* node);
    // A copy of the registered pairs, in map order.
    void GetRegisteredTrees(TkLNRootList& trees);
    // FALSE without a hit tester.
    BOOL IsPointInAnyContainer(CPoint screenPoint);
    void SetHitTester(ITkLNHitTester* hitTester) { m_hitTester = hitTester; }

    TkDockMgrMemMgr* NodeMemMgrOwner() { return &m_nodeMemMgrs; }

private:
    CTypedPtrMap<CMapPtrToPtr, TkLayoutNode*, ITkLNContainer*> m_containers;
    TkObjectMemoryManager_T<ITkLNContainer> m_containerOwner;
    CTypedPtrMap<CMapPtrToPtr, TkLayoutNode*, TkDockingNodeConstraints*> m_constraints;
    TkObjectMemoryManager_T<TkDockingNodeConstraints> m_constraintsOwner;
    TkDockMgrMemMgr m_nodeMemMgrs;
    ITkLNHitTester* m_hitTester;
};
