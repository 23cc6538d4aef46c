#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLayoutNodeWnd.h"

TkNodeMemoryManager* TkDockMgrMemMgr::FindOwnerOf(TkLayoutNode* node)
{
    if (!node)
        return NULL;
    for (POSITION p = m_objects.GetHeadPosition(); p;)
    {
        TkNodeMemoryManager* manager = static_cast<TkNodeMemoryManager*>(m_objects.GetNext(p));
        if (manager->IsManaged(node))
            return manager;
    }
    return NULL;
}

int TkDockMgrMemMgr::CountEmptyManagers()
{
    int empty = 0;
    for (POSITION p = m_objects.GetHeadPosition(); p;)
        if (static_cast<TkNodeMemoryManager*>(m_objects.GetNext(p))->GetCount() == 0)
            ++empty;
    return empty;
}

TkLNDockingMgr::TkLNDockingMgr() : m_containers(10), m_constraints(10), m_hitTester(NULL)
{
}

// Trees first (their nodes may still name containers), then what they used.
TkLNDockingMgr::~TkLNDockingMgr()
{
    m_nodeMemMgrs.FreeAll();
    m_constraintsOwner.FreeAll();
    m_constraints.RemoveAll();
    m_containerOwner.FreeAll();
    m_containers.RemoveAll();
}

TkNodeMemoryManager* TkLNDockingMgr::CreateNodeMemMgr(LPARAM)
{
    TkNodeMemoryManager* manager = new (std::nothrow) TkNodeMemoryManager;
    if (manager)
        m_nodeMemMgrs.Manage(manager);
    return manager;
}

BOOL TkLNDockingMgr::DestroyNodeMemMgr(LPARAM, TkNodeMemoryManager* manager)
{
    if (!manager || !m_nodeMemMgrs.Unmanage(manager))
        return FALSE;
    manager->FreeAll();
    delete manager;
    return TRUE;
}

BOOL TkLNDockingMgr::NotifyDockEvent(TkLayoutNode* node, TkLayoutNode* target, LPARAM value,
                                     TkNodeMemoryManager* memoryList)
{
    if (!node)
        return FALSE;
    TkLayoutNode* firstTree = target ? target->GetRootNode() : node;
    TkLayoutNode* parent = node->GetParentNode();
    BroadcastDockEvent(firstTree, node, target, parent, value, memoryList);
    TkLayoutNode* ownTree = node->GetRootNode();
    if (ownTree != firstTree)
        BroadcastDockEvent(ownTree, node, target, parent, value, memoryList);
    return TRUE;
}

BOOL TkLNDockingMgr::GetPointOffsetInNode(CPoint screenPoint, TkLayoutNode* node, CPoint& offset)
{
    ITkLNContainer* container = node ? FindContainer(node) : NULL;
    if (!container)
        return FALSE;
    CRect rect = node->GetCurrentRect();
    container->NodeRectToScreen(rect);
    offset = CPoint(screenPoint.x - rect.left, screenPoint.y - rect.top);
    return TRUE;
}

BOOL TkLNDockingMgr::SetConstraints(TkLayoutNode* node, TkDockingNodeConstraints* constraints)
{
    if (!node || !constraints)
        return FALSE;
    if (constraints == GetConstraints(node, FALSE))
        return TRUE;
    RemoveConstraints(node);
    m_constraints.SetAt(node, constraints);
    m_constraintsOwner.Manage(constraints);
    return TRUE;
}

BOOL TkLNDockingMgr::RemoveConstraints(TkLayoutNode* node)
{
    TkDockingNodeConstraints* constraints = NULL;
    if (!node || !m_constraints.Lookup(node, constraints))
        return FALSE;
    m_constraintsOwner.Unmanage(constraints);
    m_constraints.RemoveKey(node);
    delete constraints;
    return TRUE;
}

TkDockingNodeConstraints* TkLNDockingMgr::GetConstraints(TkLayoutNode* node, BOOL create)
{
    TkDockingNodeConstraints* constraints = NULL;
    if (!node)
        return NULL;
    if (m_constraints.Lookup(node, constraints))
        return constraints;
    if (!create)
        return NULL;
    constraints = new TkDockingNodeConstraints;
    SetConstraints(node, constraints);
    return constraints;
}

// Climbs from the window under the point to its parents, as far as the
// first window that is not a child window.
ITkLNContainer* TkLNDockingMgr::FindContainerAtPoint(CPoint screenPoint)
{
    std::vector<TkLNHwndContainer*> containers;
    CollectHwndContainers(containers);
    for (HWND window = ::WindowFromPoint(screenPoint); window;)
    {
        if (TkLNHwndContainer* container = FindContainerOfWnd(window, containers))
            return container;
        if (!(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            break;
        window = ::GetParent(window);
    }
    return NULL;
}

BOOL TkLNDockingMgr::BindTree(TkLayoutNode* node)
{
    if (!node)
        return FALSE;
    TkLayoutNode* root = node->GetRootNode();
    ITkLNContainer* container = FindContainer(root);
    if (!container)
        return FALSE;
    CPoint offset;
    container->GetNodeOffset(offset);
    root->ForEachInSubtree([container, offset](TkLayoutNode* each) {
        if (ITkReparentableNode* reparentable = dynamic_cast<ITkReparentableNode*>(each))
            reparentable->SetNodeContainer(container);
        each->SetContainerOffset(offset.x, offset.y);
    });
    return TRUE;
}

// The children are taken before the receivers run: a receiver may leave.
BOOL TkLNDockingMgr::BroadcastDockEvent(TkLayoutNode* node, TkLayoutNode* docked,
                                        TkLayoutNode* target, TkLayoutNode* parent, LPARAM value,
                                        TkNodeMemoryManager* memoryList)
{
    if (!node)
        return FALSE;
    std::vector<TkLayoutNode*> children;
    for (POSITION p = node->GetFirstChildPosition(); p; p = node->GetNextChildPosition(p))
        children.push_back(node->GetChildAt(p));
    ITkDockEventReceiver* receiver = dynamic_cast<ITkDockEventReceiver*>(node);
    if (receiver && !receiver->OnDockEvent(docked, target, parent, value, memoryList))
        return TRUE;
    for (TkLayoutNode* child : children)
        BroadcastDockEvent(child, docked, target, parent, value, memoryList);
    return TRUE;
}

void TkLNDockingMgr::CollectHwndContainers(std::vector<TkLNHwndContainer*>& containers)
{
    for (POSITION p = m_containers.GetStartPosition(); p;)
    {
        TkLayoutNode* node = NULL;
        ITkLNContainer* container = NULL;
        m_containers.GetNextAssoc(p, node, container);
        if (TkLNHwndContainer* windowContainer = dynamic_cast<TkLNHwndContainer*>(container))
            containers.push_back(windowContainer);
    }
}

TkLNHwndContainer* TkLNDockingMgr::FindContainerOfWnd(
    HWND window, const std::vector<TkLNHwndContainer*>& containers)
{
    for (TkLNHwndContainer* container : containers)
        if (container->GetContainerWnd() == window)
            return container;
    return NULL;
}

BOOL TkLNDockingMgr::RegisterContainer(TkLayoutNode* node, ITkLNContainer* container)
{
    if (!node || !container)
        return FALSE;
    ITkLNContainer* present = GetContainerOf(node);
    if (present == container)
        return TRUE;
    if (present)
        UnregisterContainer(node);
    m_containers.SetAt(node, container);
    m_containerOwner.Manage(container);
    return TRUE;
}

BOOL TkLNDockingMgr::UnregisterContainer(TkLayoutNode* node)
{
    ITkLNContainer* container = GetContainerOf(node);
    if (!container)
        return FALSE;
    DetachFromContainer(node, container);
    m_containerOwner.Unmanage(container);
    m_containers.RemoveKey(node);
    delete container;
    return TRUE;
}

ITkLNContainer* TkLNDockingMgr::GetContainerOf(TkLayoutNode* node)
{
    ITkLNContainer* container = NULL;
    if (!node || !m_containers.Lookup(node, container))
        return NULL;
    return container;
}

ITkLNContainer* TkLNDockingMgr::FindContainer(TkLayoutNode* node)
{
    for (; node; node = node->GetCompositeParent())
        if (ITkLNContainer* container = GetContainerOf(node))
            return container;
    return NULL;
}

void TkLNDockingMgr::GetRegisteredTrees(TkLNRootList& trees)
{
    trees.clear();
    for (POSITION p = m_containers.GetStartPosition(); p;)
    {
        TkLayoutNode* root = NULL;
        ITkLNContainer* container = NULL;
        m_containers.GetNextAssoc(p, root, container);
        trees.emplace_back(root, container);
    }
}

// Over a copy: the hit tester may register trees.
BOOL TkLNDockingMgr::IsPointInAnyContainer(CPoint screenPoint)
{
    if (!m_hitTester)
        return FALSE;
    TkLNRootList trees;
    GetRegisteredTrees(trees);
    for (const auto& tree : trees)
        if (m_hitTester->ContainsPoint(tree.first, screenPoint, tree.second))
            return TRUE;
    return FALSE;
}
