// Hit testers of a docking drag: which dock initiator was pressed and which
// dock target lies under the cursor. Both search the trees the docking
// manager has registered, but only the tree of the container the manager
// reports under the point (so a window covered by another is never hit).
// Points come in screen coordinates; each tree's container maps them into
// node coordinates. Hit testers live on the stack for one query.
#pragma once

#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkLNDockingMgr.h"

#include <vector>

// The hook a dock initiator offers to veto or claim a press: bit 0 no
// initiator in this node or below it, bit 1 this node itself.
class ITkHookDockSourceHitTester
{
public:
    enum
    {
        kHookNone = 1,
        kHookSelf = 2,
    };
    virtual ~ITkHookDockSourceHitTester() {}
    // child: the node's direct child under the point, or NULL.
    virtual int HitTestSource(CPoint screenPoint, TkLayoutNode* child) = 0;
};

// Geometric primitives over node rectangles (PtInRect: right and bottom
// edges are outside).
class TkLNHitTester
{
public:
    // deep: all descendants in tree order, else the direct children.
    TkLayoutNode* ChildAt(TkLayoutNode* node, CPoint point, BOOL deep);
    // The member whose rectangle, edges included, lies nearest the point;
    // the first of equals. Outputs stay untouched when nothing is found.
    TkLayoutNode* NearestChild(const std::vector<TkLayoutNode*>* collection, CPoint point,
                               CPoint* nearest, BOOL* found);
    BOOL IsDescendant(TkLayoutNode* ancestor, TkLayoutNode* node);
    static double Distance(CPoint a, CPoint b);
};

template <class T>
class TkLNDockHitTester : public ITkLNHitTester
{
public:
    explicit TkLNDockHitTester(ITkLNContainer* excluded = NULL) : m_excluded(excluded) {}
    virtual ~TkLNDockHitTester() {}

    virtual T* HitTestContainer(TkLayoutNode* root, TkLNDockingMgr* manager, CPoint point,
                                BOOL deepestOnly);
    // None when no tree or more than one tree gives a node.
    virtual T* FindUnique(TkLNDockingMgr* manager, CPoint point, BOOL deepestOnly);
    virtual void HitTestAll(const TkLNRootList& roots, std::vector<T*>& results,
                            TkLNDockingMgr* manager, CPoint point, BOOL deepestOnly);
    virtual int QueryHook(ITkLNContainer* container, CPoint point, TkLayoutNode* node);
    virtual void CollectCandidates(TkLNDockingMgr* manager, CPoint point, TkLNRootList& roots);
    BOOL ContainsPoint(TkLayoutNode* root, CPoint point, ITkLNContainer* container) override;
    virtual void FilterCandidates(TkLNDockingMgr* manager, CPoint point, TkLNRootList& roots);
    virtual T* HitTestRoot(TkLayoutNode* root, CPoint point, ITkLNContainer* container,
                           BOOL deepestOnly);
    virtual T* HitTestNode(TkLayoutNode* node, CPoint point, ITkLNContainer* container,
                           BOOL deepestOnly);
    virtual TkLayoutNode* ChildAt(TkLayoutNode* node, CPoint point, ITkLNContainer* container);

protected:
    ITkLNContainer* m_excluded;
};

class TkDockInitiatorHitTester : public TkLNDockHitTester<ITkDockInitiator>
{
public:
    explicit TkDockInitiatorHitTester(ITkLNContainer* excluded = NULL)
        : TkLNDockHitTester<ITkDockInitiator>(excluded)
    {
    }
    // Always deepest only: a press between initiators starts nothing.
    ITkDockInitiator* Find(TkLNDockingMgr* manager, CPoint point)
    {
        return FindUnique(manager, point, TRUE);
    }
    int QueryHook(ITkLNContainer* container, CPoint point, TkLayoutNode* node) override;
};

class TkLNTargetDockHitTester : public TkLNDockHitTester<ITkDockTarget>
{
public:
    explicit TkLNTargetDockHitTester(ITkLNContainer* excluded = NULL)
        : TkLNDockHitTester<ITkDockTarget>(excluded)
    {
    }
    // A target that holds the dragged node vetoes itself and its subtree.
    int QueryHook(ITkLNContainer* container, CPoint point, TkLayoutNode* node) override;
};

// Targets that accept a drop outside their own rectangle (a grid line's
// edge band). Points are in node coordinates of the tree searched.
template <class T>
class TkLNOffNodeIFaceHitTest_T
{
public:
    virtual ~TkLNOffNodeIFaceHitTest_T() {}
    virtual T* HitTest(TkLayoutNode* node, CPoint point);
    // Every direct child first, then each child's children.
    virtual T* HitTestChildren(TkLayoutNode* node, CPoint point);
    virtual T* TestNode(TkLayoutNode* node, CPoint point);
};

template <class T>
class TkLNOffNodeDockIFaceHitTest_T : public TkLNOffNodeIFaceHitTest_T<T>
{
public:
    // point in screen coordinates; the first tree that gives a target wins.
    virtual T* HitTestManager(TkLNDockingMgr* manager, CPoint point);
};
