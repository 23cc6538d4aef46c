#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkDockFloatingNode.h"
#include "toolkit/docking/TkDynGridLineTarget.h"
#include "toolkit/docking/TkLNDockingMgr.h"

namespace
{
BOOL g_thinFrame = FALSE;
}

ITkUndoableNode* TkUndoOwnerOf(TkLayoutNode* parent)
{
    if (TkLNDynamicGridLine* line = dynamic_cast<TkLNDynamicGridLine*>(parent))
        return line->GetUndoOwner();
    return dynamic_cast<ITkUndoableNode*>(parent);
}

// ---- TkDefDockNodeInitiatorBase ----

TkLayoutNode* TkDefDockNodeInitiatorBase::DetachForDock(TkLNDockingMgr* manager, BOOL takeRect,
                                                        TkDockInProgressInfo* info)
{
    TkLayoutNode* node = InitiatorNode();
    if (!node)
        return NULL;
    m_entry = manager ? manager->FindContainer(node) : NULL;
    if (takeRect)
    {
        CRect rect = node->GetCurrentRect();
        node->SetReferenceRect(rect);
        if (m_entry && info)
        {
            m_entry->NodeRectToScreen(rect);
            info->m_oldPlace = rect;
            info->m_horizontal = node->IsNodeActive();
        }
    }
    TkLayoutNode* parent = node->GetParentNode();
    if (!parent)
        return node;
    // The place the node leaves is the one a dock back returns to.
    if (TkDockingNodeConstraints* record = manager ? manager->GetConstraints(node, TRUE) : NULL)
        record->RememberDockedPlace(node);
    m_oldTop = node->GetRootNode();
    ITkUndoableNode* owner = TkUndoOwnerOf(parent);
    if (!owner || owner->RemoveUndoable(node) == -1)
        return NULL;
    m_undoOwner = owner;
    CRect result;
    m_oldTop->RecalcLayout(result, m_oldTop->GetCurrentRect(), FALSE, TRUE);
    return dynamic_cast<TkLayoutNode*>(owner);
}

ITkDockableNode* TkDefDockNodeInitiatorBase::GetDockableNode(ITkDockTarget*, CPoint,
                                                             TkLNDockingMgr*,
                                                             TkNodeMemoryManager*)
{
    return dynamic_cast<ITkDockableNode*>(this);
}

void TkDefDockNodeInitiatorBase::RealizeTops(ITkDockableNode* dockable, TkLNDockingMgr*)
{
    if (m_oldTop)
        m_oldTop->RealizeNodes(FALSE);
    TkLayoutNode* node = dynamic_cast<TkLayoutNode*>(dockable);
    TkLayoutNode* top = node ? node->GetRootNode() : NULL;
    if (top && top != m_oldTop)
        top->RealizeNodes(FALSE);
}

void TkDefDockNodeInitiatorBase::CancelDock()
{
    if (m_undoOwner)
    {
        m_undoOwner->UndoRemove();
        m_undoOwner = NULL;
    }
    if (TkLayoutNode* node = InitiatorNode())
    {
        TkLayoutNode* top = node->GetRootNode();
        CRect result;
        top->RecalcLayout(result, top->GetCurrentRect(), FALSE, TRUE);
    }
}

void TkDefDockNodeInitiatorBase::EndDock()
{
    m_entry = NULL;
    m_undoOwner = NULL;
}

ITkDockInitiator* TkDefDockNodeInitiatorBase::GetFloatingInitiator()
{
    TkLayoutNode* node = InitiatorNode();
    for (TkLayoutNode* up = node ? node->GetParentNode() : NULL; up; up = up->GetParentNode())
        if (TkDockFloatingNode* floating = dynamic_cast<TkDockFloatingNode*>(up))
            return floating;
    return NULL;
}

ITkDockTarget* TkDefDockNodeInitiatorBase::FindTarget(TkLNDockingMgr* manager,
                                                      TkDockingNodeConstraints* record,
                                                      const TkDockInsertionConstraints& c)
{
    if (!manager || !record || !record->m_targetParent)
        return NULL;
    int side = c.m_side == 2 || c.m_side == 3 ? c.m_side : (c.m_side ? 1 : 0);
    ITkDockTarget* target = record->m_targetParent->GetBorderTarget(side);
    TkLayoutNode* targetNode = dynamic_cast<TkLayoutNode*>(target);
    if (targetNode && manager->FindContainer(targetNode))
        return target;
    record->m_targetParent = NULL;
    return NULL;
}

// A dock that fails puts the node back where it was; a hidden node is
// refused. The docked place the
// record keeps is the one the node left last (see DetachForDock), not the
// constraints as the insertion rewrote them.
BOOL TkDefDockNodeInitiatorBase::DockInto(TkLNDockingMgr* manager,
                                          const TkDockInsertionConstraints* c)
{
    TkLayoutNode* node = InitiatorNode();
    // A hidden node's place is held for its showing: docked elsewhere, it
    // would be in the tree hidden and be put back a second time when shown.
    ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(node);
    if (hideable && !hideable->IsNodeVisible())
        return FALSE;
    TkDockingNodeConstraints* record = manager ? manager->GetConstraints(node, TRUE) : NULL;
    if (!record)
        return FALSE;
    TkDockInsertionConstraints constraints;
    if (c)
        constraints.CopyFrom(*c);
    else if (!record->GetDockedPlace(&constraints))
        return FALSE;
    ITkDockTarget* target = FindTarget(manager, record, constraints);
    TkDynGridLineTarget* gridTarget = dynamic_cast<TkDynGridLineTarget*>(target);
    if (!gridTarget)
        return FALSE;
    ITkDockInitiator* mover = GetFloatingInitiator();
    if (!mover)
        mover = this;
    TkNodeMemoryManager list;
    ITkDockableNode* dockable = mover->GetDockableNode(target, CPoint(0, 0), manager, &list);
    TkLayoutNode* dockableNode = dynamic_cast<TkLayoutNode*>(dockable);
    TkDockInProgressInfo info;
    if (!dockableNode || !mover->DetachForDock(manager, TRUE, &info))
        return FALSE;
    if (gridTarget->InsertNode(dockableNode, &constraints) == -1)
    {
        mover->CancelDock();
        mover->EndDock();
        return FALSE;
    }
    manager->NotifyDockEvent(dockableNode, gridTarget, 0, &list);
    mover->OnDocked(target, CPoint(0, 0), manager, &list);
    dockable->AdoptParentMemoryManager(manager, &list);
    manager->BindTree(dockableNode);
    mover->RealizeTops(dockable, manager);
    mover->EndDock();
    return TRUE;
}

// ---- TkDefDockNodeBase ----

void TkDefDockNodeBase::SetThinFrame(BOOL thin)
{
    g_thinFrame = thin;
}

void TkDefDockNodeBase::DrawDragRect(CDC* dc, const CRect& rect, ITkDockTarget* target)
{
    if (!dc)
        return;
    CSize size;
    CRect drawn = rect;
    CBrush* lastBrush = NULL;
    CBrush* brush = GetDragRectStyle(target == NULL, &size, &drawn, &lastBrush);
    dc->DrawDragRect(drawn, size, m_lastRect.IsRectEmpty() ? NULL : (LPCRECT)m_lastRect,
                     m_lastSize, brush, lastBrush);
    m_lastRect = drawn;
    m_lastSize = size;
}

void TkDefDockNodeBase::EraseDragRect(CDC* dc)
{
    if (!dc || m_lastRect.IsRectEmpty())
        return;
    CBrush* brush = GetDragBrush(m_lastSolid);
    dc->DrawDragRect(CRect(), CSize(0, 0), m_lastRect, m_lastSize, brush, brush);
    m_lastRect.SetRectEmpty();
    m_lastSize = CSize(0, 0);
}

CBrush* TkDefDockNodeBase::GetDragRectStyle(BOOL floating, CSize* size, CRect* rect, CBrush** lastBrush)
{
    BOOL solid = !floating && g_thinFrame;
    *size = solid ? CSize(1, 1) : CSize(GetSystemMetrics(SM_CXFRAME) - 1, GetSystemMetrics(SM_CYFRAME) - 1);
    if (!floating)
        rect->DeflateRect(1, 1);
    *lastBrush = GetDragBrush(m_lastSolid);
    m_lastSolid = solid;
    return GetDragBrush(solid);
}

CBrush* TkDefDockNodeBase::GetDragBrush(BOOL solid)
{
    return solid ? CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH)) : NULL;
}

void TkDefDockNodeBase::AdoptParentMemoryManager(TkLNDockingMgr*, TkNodeMemoryManager*)
{
    TkLayoutNode* node = DockableNode();
    TkLayoutNode* parent = node ? node->GetParentNode() : NULL;
    TkNodeMemoryManager* manager = parent ? parent->GetMemoryManager() : NULL;
    if (manager && manager != node->GetMemoryManager())
        node->SetMemoryManager(manager, TRUE);
}

ITkDockInitiator* TkDefDockNodeBase::FindDockInitiator()
{
    for (TkLayoutNode* node = DockableNode(); node; node = node->GetParentNode())
        if (ITkDockInitiator* initiator = dynamic_cast<ITkDockInitiator*>(node))
            return initiator;
    return NULL;
}

BOOL TkDefDockNodeBase::ShowNode(BOOL show)
{
    if (!TkDefHideableNode::ShowNode(show))
        return FALSE;
    TkLayoutNode* node = DockableNode();
    if (!node)
        return TRUE;
    if (!show)
    {
        TkLayoutNode* parent = node->GetParentNode();
        if (!parent)
            return TRUE;
        ITkUndoableNode* owner = TkUndoOwnerOf(parent);
        if (!owner || owner->RemoveUndoable(node) == -1)
            return FALSE;
        m_hideOwner = owner;
        return TRUE;
    }
    if (!m_hideOwner)
        return TRUE;
    int result = m_hideOwner->UndoRemoveOf(node);
    m_hideOwner = NULL;
    return result != -1;
}
