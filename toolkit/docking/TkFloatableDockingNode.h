// TkFloatableDockingNode_T: a dockable node (a docked window's gripper)
// that can also float. Dropped on no target, or floated without a drag, it
// becomes the content of a new floating root node in a float window; a
// double click floats it.
#pragma once

#include "toolkit/docking/TkDockFloatingNode.h"
#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"

template <class Base>
class TkFloatableDockingNode_T : public TkDefDockNodeInitiatorBase,
                                 public TkDefDockNodeBase,
                                 public Base
{
public:
    TkFloatableDockingNode_T() : m_floatingNode(NULL) {}

    // With no target: the floating node made for this drag, the same one
    // until EndDock.
    ITkDockableNode* GetDockableNode(ITkDockTarget* target, CPoint point, TkLNDockingMgr* manager,
                                     TkNodeMemoryManager* list) override
    {
        if (target)
            return TkDefDockNodeInitiatorBase::GetDockableNode(target, point, manager, list);
        if (!m_floatingNode)
            m_floatingNode = MakeFloatingNode(manager);
        return m_floatingNode;
    }
    void EndDock() override
    {
        DiscardFloatingNode();
        TkDefDockNodeInitiatorBase::EndDock();
    }
    // screenRect NULL: the remembered float rectangle, else where the node is.
    BOOL FloatNode(TkLNDockingMgr* manager, const CRect* screenRect) override
    {
        CRect rect;
        if (!manager || !FloatRect(manager, screenRect, &rect))
            return FALSE;
        TkDockInProgressInfo info;
        TkNodeMemoryManager list;
        ITkLNContainer* old = manager->FindContainer(this);
        BOOL visible = !old || old->IsVisible();
        if (!DetachForDock(manager, TRUE, &info))
            return FALSE;
        ITkDockableNode* dockable = GetDockableNode(NULL, rect.TopLeft(), manager, &list);
        info.SetTargetRect(rect);
        if (!dockable || !dockable->DropSelf(rect.TopLeft(), manager, &info))
        {
            CancelDock();
            EndDock();
            return FALSE;
        }
        TkLayoutNode* floating = m_floatingNode;
        manager->NotifyDockEvent(floating, NULL, 0, &list);
        OnDocked(NULL, rect.TopLeft(), manager, &list);
        dockable->AdoptParentMemoryManager(manager, &list);
        manager->BindTree(floating);
        RealizeTops(dockable, manager);
        EndDock();
        // Floated out of a hidden window, the node stays hidden.
        ITkLNContainer* container = manager->GetContainerOf(floating);
        if (!visible && container)
            container->ShowContainer(FALSE);
        return TRUE;
    }
    int OnDoubleClick(TkLNDockingMgr* manager) override { return FloatNode(manager, NULL); }
    // The node's title, also the caption of the float window it is in.
    // manager NULL: the default docking manager.
    virtual void SetTitle(LPCSTR title, TkLNDockingMgr* manager)
    {
        this->SetNodeName(title);
        if (!manager)
            manager = TkGetDefaultDockingMgr();
        for (TkLayoutNode* node = this; node && manager; node = node->GetParentNode())
        {
            auto* floating = dynamic_cast<TkLNFloatingHwndContainer*>(manager->GetContainerOf(node));
            if (floating && floating->GetFloatWnd())
            {
                ::SetWindowTextA(floating->GetContainerWnd(), title);
                return;
            }
        }
    }
    // Made by a factory, the node captions the float window it may be in.
    void OnNodeCreated() override
    {
        Base::OnNodeCreated();
        CString title = this->GetNodeName();
        SetTitle(title, NULL);
    }
    // Floating, the node is shown and hidden with its whole float window.
    BOOL ShowNode(BOOL show) override
    {
        TkDockFloatingNode* root = dynamic_cast<TkDockFloatingNode*>(this->GetRootNode());
        if (!root || root == (TkLayoutNode*)this)
            return TkDefDockNodeBase::ShowNode(show);
        TkDefHideableNode::ShowNode(show);
        return root->ShowNode(show);
    }

protected:
    BOOL FloatRect(TkLNDockingMgr* manager, const CRect* given, CRect* rect)
    {
        TkDockingNodeConstraints* record = manager->GetConstraints(this, TRUE);
        if (given)
            *rect = *given;
        else if (!record || !record->GetFloatRect(rect))
        {
            ITkLNContainer* container = manager->FindContainer(this);
            *rect = this->GetCurrentRect();
            if (!container || !container->NodeRectToScreen(*rect))
                return FALSE;
        }
        return rect->Width() > 0 && rect->Height() > 0;
    }
    // Owned by a node owner of the manager, which frees it.
    TkDockFloatingNode* MakeFloatingNode(TkLNDockingMgr* manager)
    {
        ITkLNContainer* source = m_entry ? m_entry : manager ? manager->FindContainer(this) : NULL;
        TkNodeMemoryManager* owner = manager ? manager->CreateNodeMemMgr(0) : NULL;
        if (!owner)
            return NULL;
        TkDockFloatingNode* node = new TkDockFloatingNode;
        owner->Manage(node);
        node->SetMemoryManager(owner, FALSE);
        if (node->SetUp(this, manager, this->GetNodeName(), source))
            return node;
        manager->DestroyNodeMemMgr(0, owner);
        return NULL;
    }

    // The floating node made for a drag's outline that the node did not
    // stay in (docked at a target after all, or put back) goes with its
    // float window; else every such drag left an empty floating tree.
    void DiscardFloatingNode()
    {
        TkDockFloatingNode* floating = m_floatingNode;
        m_floatingNode = NULL;
        if (!floating || floating->GetContent() == (TkLayoutNode*)this)
            return;
        if (TkLNDockingMgr* manager = floating->GetDockingMgr())
            manager->DestroyNodeMemMgr(0, floating->GetMemoryManager());
    }

    TkDockFloatingNode* m_floatingNode;
};
