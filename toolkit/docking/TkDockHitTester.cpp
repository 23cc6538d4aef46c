#include "toolkit/docking/TkDockHitTester.h"

#include <algorithm>
#include <cmath>

// ---- TkLNHitTester ----

TkLayoutNode* TkLNHitTester::ChildAt(TkLayoutNode* node, CPoint point, BOOL deep)
{
    if (!node)
        return NULL;
    TkLayoutNode* found = NULL;
    if (deep)
    {
        node->ForEachInSubtree(
            [&found, point](TkLayoutNode* each) {
                if (!found && each->GetCurrentRect().PtInRect(point))
                    found = each;
            },
            FALSE);
        return found;
    }
    for (POSITION p = node->GetFirstChildPosition(); p; p = node->GetNextChildPosition(p))
        if (node->GetChildAt(p)->GetCurrentRect().PtInRect(point))
            return node->GetChildAt(p);
    return NULL;
}

TkLayoutNode* TkLNHitTester::NearestChild(const std::vector<TkLayoutNode*>* collection,
                                          CPoint point, CPoint* nearest, BOOL* found)
{
    if (!collection || collection->empty())
        return NULL;
    TkLayoutNode* best = NULL;
    CPoint bestPoint;
    double bestDistance = 0;
    for (TkLayoutNode* member : *collection)
    {
        CRect rect = member->GetCurrentRect();
        CPoint clamped(std::min(std::max(point.x, rect.left), rect.right),
                       std::min(std::max(point.y, rect.top), rect.bottom));
        double distance = Distance(point, clamped);
        if (best && distance >= bestDistance)
            continue;
        best = member;
        bestPoint = clamped;
        bestDistance = distance;
        if (distance == 0)
            break;
    }
    if (nearest)
        *nearest = bestPoint;
    if (found)
        *found = TRUE;
    return best;
}

BOOL TkLNHitTester::IsDescendant(TkLayoutNode* ancestor, TkLayoutNode* node)
{
    if (!ancestor || !node || ancestor == node)
        return FALSE;
    BOOL seen = FALSE;
    ancestor->ForEachInSubtree([&seen, node](TkLayoutNode* each) { seen |= each == node; },
                               FALSE);
    return seen;
}

double TkLNHitTester::Distance(CPoint a, CPoint b)
{
    double dx = a.x - b.x;
    double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// ---- TkLNDockHitTester<T> ----

template <class T>
T* TkLNDockHitTester<T>::HitTestContainer(TkLayoutNode* root, TkLNDockingMgr* manager,
                                          CPoint point, BOOL deepestOnly)
{
    if (!manager)
        return NULL;
    return HitTestRoot(root, point, manager->GetContainerOf(root), deepestOnly);
}

template <class T>
T* TkLNDockHitTester<T>::FindUnique(TkLNDockingMgr* manager, CPoint point, BOOL deepestOnly)
{
    if (!manager)
        return NULL;
    TkLNRootList roots;
    CollectCandidates(manager, point, roots);
    if (roots.empty())
        return NULL;
    FilterCandidates(manager, point, roots);
    std::vector<T*> results;
    HitTestAll(roots, results, manager, point, deepestOnly);
    return results.size() == 1 ? results.front() : NULL;
}

template <class T>
void TkLNDockHitTester<T>::HitTestAll(const TkLNRootList& roots, std::vector<T*>& results,
                                      TkLNDockingMgr* manager, CPoint point, BOOL deepestOnly)
{
    for (const auto& root : roots)
        if (T* found = HitTestContainer(root.first, manager, point, deepestOnly))
            results.push_back(found);
}

template <class T>
int TkLNDockHitTester<T>::QueryHook(ITkLNContainer*, CPoint, TkLayoutNode*)
{
    return 0;
}

template <class T>
void TkLNDockHitTester<T>::CollectCandidates(TkLNDockingMgr* manager, CPoint point,
                                             TkLNRootList& roots)
{
    TkLNRootList trees;
    manager->GetRegisteredTrees(trees);
    roots.clear();
    for (const auto& tree : trees)
        if (ContainsPoint(tree.first, point, tree.second))
            roots.push_back(tree);
}

template <class T>
BOOL TkLNDockHitTester<T>::ContainsPoint(TkLayoutNode* root, CPoint point,
                                         ITkLNContainer* container)
{
    if (!root || !container || !container->ScreenPointToNode(point))
        return FALSE;
    return root->GetCurrentRect().PtInRect(point);
}

template <class T>
void TkLNDockHitTester<T>::FilterCandidates(TkLNDockingMgr* manager, CPoint point,
                                            TkLNRootList& roots)
{
    ITkLNContainer* topmost = manager->FindContainerAtPoint(point);
    TkLNRootList kept;
    for (const auto& root : roots)
        if (topmost && root.second == topmost && topmost != m_excluded)
            kept.push_back(root);
    roots.swap(kept);
}

template <class T>
T* TkLNDockHitTester<T>::HitTestRoot(TkLayoutNode* root, CPoint point,
                                     ITkLNContainer* container, BOOL deepestOnly)
{
    if (!root || !container || !ContainsPoint(root, point, container))
        return NULL;
    return HitTestNode(root, point, container, deepestOnly);
}

template <class T>
T* TkLNDockHitTester<T>::HitTestNode(TkLayoutNode* node, CPoint point,
                                     ITkLNContainer* container, BOOL deepestOnly)
{
    T* self = dynamic_cast<T*>(node);
    if (self)
    {
        int hook = QueryHook(container, point, node);
        if (hook & 1)
            return NULL;
        if (hook & 2)
            return self;
    }
    TkLayoutNode* child = ChildAt(node, point, container);
    if (!child)
        return self;
    if (T* found = HitTestNode(child, point, container, deepestOnly))
        return found;
    return deepestOnly ? NULL : self;
}

template <class T>
TkLayoutNode* TkLNDockHitTester<T>::ChildAt(TkLayoutNode* node, CPoint point,
                                            ITkLNContainer* container)
{
    if (!container || !container->ScreenPointToNode(point))
        return NULL;
    return TkLNHitTester().ChildAt(node, point, FALSE);
}

template class TkLNDockHitTester<ITkDockInitiator>;
template class TkLNDockHitTester<ITkDockTarget>;

// ---- hooks ----

int TkDockInitiatorHitTester::QueryHook(ITkLNContainer* container, CPoint point,
                                        TkLayoutNode* node)
{
    ITkHookDockSourceHitTester* hook = dynamic_cast<ITkHookDockSourceHitTester*>(node);
    if (!hook)
        return 0;
    return hook->HitTestSource(point, ChildAt(node, point, container));
}

int TkLNTargetDockHitTester::QueryHook(ITkLNContainer*, CPoint, TkLayoutNode* node)
{
    ITkHookDockTargetHitTester* hook = dynamic_cast<ITkHookDockTargetHitTester*>(node);
    return hook && hook->IsInsideDraggedNode() ? 1 : 0;
}

// ---- off-node targets ----

template <class T>
T* TkLNOffNodeIFaceHitTest_T<T>::HitTest(TkLayoutNode* node, CPoint point)
{
    if (!node)
        return NULL;
    if (T* found = TestNode(node, point))
        return found;
    return HitTestChildren(node, point);
}

template <class T>
T* TkLNOffNodeIFaceHitTest_T<T>::HitTestChildren(TkLayoutNode* node, CPoint point)
{
    for (POSITION p = node->GetFirstChildPosition(); p; p = node->GetNextChildPosition(p))
        if (T* found = TestNode(node->GetChildAt(p), point))
            return found;
    for (POSITION p = node->GetFirstChildPosition(); p; p = node->GetNextChildPosition(p))
        if (T* found = HitTestChildren(node->GetChildAt(p), point))
            return found;
    return NULL;
}

template <class T>
T* TkLNOffNodeIFaceHitTest_T<T>::TestNode(TkLayoutNode* node, CPoint point)
{
    ITkOffNodeHitTest* offNode = dynamic_cast<ITkOffNodeHitTest*>(node);
    T* self = dynamic_cast<T*>(node);
    if (!offNode || !self || !offNode->HitTestOffNode(point))
        return NULL;
    return self;
}

template <class T>
T* TkLNOffNodeDockIFaceHitTest_T<T>::HitTestManager(TkLNDockingMgr* manager, CPoint point)
{
    if (!manager)
        return NULL;
    TkLNRootList trees;
    manager->GetRegisteredTrees(trees);
    for (const auto& tree : trees)
    {
        CPoint local = point;
        if (!tree.second || !tree.second->ScreenPointToNode(local))
            continue;
        if (T* found = this->HitTest(tree.first, local))
            return found;
    }
    return NULL;
}

template class TkLNOffNodeIFaceHitTest_T<ITkDockTarget>;
template class TkLNOffNodeDockIFaceHitTest_T<ITkDockTarget>;
