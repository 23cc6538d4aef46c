#include "toolkit/docking/TkNodeBehaviours.h"
#include "toolkit/docking/TkLNContainer.h"

namespace
{
template <class Part>
TkLayoutNode* NodeOf(Part* part)
{
    return dynamic_cast<TkLayoutNode*>(part);
}
}

BOOL TkDefHideableNode::ShowNodeCounted(BOOL show, BOOL force, BOOL recurse)
{
    if (show)
        m_showCount = force ? 1 : m_showCount + 1;
    else
        m_showCount = force ? 0 : m_showCount - 1;
    if (m_showCount != (show ? 1 : 0))
        return FALSE;
    BOOL changed = ShowNode(show);
    TkLayoutNode* node = NodeOf(this);
    if (changed && recurse && node)
        node->ForEachInSubtree(
            [show](TkLayoutNode* each) {
                if (ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(each))
                    hideable->ShowNodeCounted(show, TRUE, FALSE);
            },
            FALSE);
    return changed;
}

BOOL TkDefHideableNode::ShowNode(BOOL show)
{
    BOOL changed = !m_visible != !show;
    m_visible = show ? TRUE : FALSE;
    return changed;
}

BOOL TkDefReparentableNode::SetNodeContainer(ITkLNContainer* container)
{
    m_container = container;
    AdoptRootMemoryManager();
    ReparentToContainer(container);
    return TRUE;
}

BOOL TkDefReparentableNode::ReparentWnd(HWND)
{
    return FALSE;
}

BOOL TkDefReparentableNode::AdoptRootMemoryManager()
{
    TkLayoutNode* node = NodeOf(this);
    if (!node)
        return FALSE;
    TkNodeMemoryManager* own = node->GetMemoryManager();
    TkNodeMemoryManager* root = node->GetRootNode()->GetMemoryManager();
    if (!own || !root || own == root)
        return FALSE;
    node->SetMemoryManager(root, FALSE);
    return TRUE;
}

BOOL TkDefReparentableNode::ReparentToContainer(ITkLNContainer* container)
{
    if (!container)
        return ReparentWnd(NULL);
    TkLNHwndContainer* windowContainer = dynamic_cast<TkLNHwndContainer*>(container);
    if (!windowContainer)
        return FALSE;
    return ReparentWnd(windowContainer->GetContainerWnd());
}

BOOL TkParentOfNegotiableChildNode::RenegotiateChild(TkLayoutNode* child, TkLayoutNode* requester)
{
    TkLayoutNode* node = NodeOf(this);
    if (!node)
        return FALSE;
    TkLayoutNode* parent = node->GetParentNode();
    if (child && parent)
        if (ITkParentOfNegotiableChildNode* negotiating =
                dynamic_cast<ITkParentOfNegotiableChildNode*>(parent))
            return negotiating->RenegotiateChild(child, requester);
    TkLayoutNode* layoutNode = parent ? parent : node;
    CRect result;
    layoutNode->RecalcLayout(result, layoutNode->GetCurrentRect(), TRUE, TRUE);
    if (requester)
        requester->InvalidateLayout(TRUE);
    TkLayoutNode* root = node->GetRootNode();
    root->RecalcLayout(result, root->GetCurrentRect(), FALSE, TRUE);
    return TRUE;
}

int TkDefUndoableNode::RemoveUndoable(TkLayoutNode* child)
{
    TkLayoutNode* node = NodeOf(this);
    POSITION position = NULL;
    if (!node || !child || !node->FindChild(child, &position))
        return -1;
    TkLayoutNode* predecessor = node->GetChildAt(node->GetPrevChildPosition(position));
    int answer = node->RemoveChildNode(child);
    if (answer != -1)
    {
        m_removed = child;
        m_predecessor = predecessor;
    }
    return answer;
}

int TkDefUndoableNode::UndoRemove()
{
    TkLayoutNode* node = NodeOf(this);
    if (!node || !m_removed)
        return -1;
    int answer = node->AddChildNode(m_removed);
    if (answer < 0)
        return -1;
    TkLayoutNode* predecessor = node->FindChild(m_predecessor, NULL) ? m_predecessor : NULL;
    node->MoveChildNode(m_removed, predecessor, predecessor != NULL);
    m_removed = NULL;
    m_predecessor = NULL;
    return answer;
}

int TkDefUndoableNode::UndoRemoveOf(TkLayoutNode* child)
{
    if (!child || child != m_removed)
        return -1;
    return UndoRemove();
}
