#include "toolkit/docking/TkDragDropDockingFeature.h"
#include "toolkit/docking/TkDockHitTester.h"
#include "toolkit/docking/TkDockingSettings.h"

namespace
{
// A window that paints without validating would post WM_PAINT for ever.
const int kMaxPendingPaints = 1000;

void ProcessPendingPaints()
{
    MSG msg;
    for (int count = 0; count < kMaxPendingPaints &&
                        ::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++count)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
}

TkDragDropDockingFeature::TkDragDropDockingFeature()
    : m_manager(NULL), m_affected(NULL), m_dockable(NULL), m_origin(NULL),
      m_info(new TkDockInProgressInfo), m_inMove(FALSE), m_lastMove(-1, -1), m_remembered(NULL),
      m_lockedRoot(NULL), m_lockedContainer(NULL)
{
}

TkDragDropDockingFeature::~TkDragDropDockingFeature()
{
    if (m_feedback.m_hDC)
        ReleaseFeedbackDC(m_feedback.Detach());
    delete m_affected;
    delete m_info;
}

TkLNDockingMgr* TkDragDropDockingFeature::GetDockingMgr() const
{
    return m_manager ? m_manager : TkGetDefaultDockingMgr();
}

BOOL TkDragDropDockingFeature::CanStartDrag(UINT, CPoint point)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    return manager && TkDockInitiatorHitTester().Find(manager, point) != NULL;
}

BOOL TkDragDropDockingFeature::OnStartDrag(UINT flags, CPoint point)
{
    m_lastMove = CPoint(-1, -1);
    return BeginDrag(flags, point, TRUE);
}

BOOL TkDragDropDockingFeature::OnDragMove(UINT flags, CPoint point)
{
    if (m_inMove)
        return FALSE;
    m_inMove = TRUE;
    BOOL result = TRUE;
    if (point != m_lastMove)
    {
        if (TkGetLiveDocking())
        {
            result = FinishDrag(flags, point, TRUE, FALSE);
            if (result)
            {
                ProcessPendingPaints();
                result = BeginDrag(flags, point, FALSE);
            }
        }
        else
            result = TrackFeedback(flags, point);
    }
    m_lastMove = point;
    m_inMove = FALSE;
    return result;
}

BOOL TkDragDropDockingFeature::OnEndDrag(UINT flags, CPoint point, BOOL dropped)
{
    return FinishDrag(flags, point, dropped, TRUE);
}

BOOL TkDragDropDockingFeature::OnDoubleClick(UINT, CPoint point)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    ITkDockInitiator* initiator = FindInitiator(manager, point, TRUE);
    return initiator ? initiator->OnDoubleClick(manager) : FALSE;
}

BOOL TkDragDropDockingFeature::BeginDrag(UINT, CPoint point, BOOL first)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    if (first)
        ProcessPendingPaints();
    TkSuspendFrameRecalc(TRUE);
    ITkDockInitiator* initiator = FindInitiator(manager, point, first);
    TkLayoutNode* node = dynamic_cast<TkLayoutNode*>(initiator);
    if (!node)
    {
        TkSuspendFrameRecalc(FALSE);
        return FALSE;
    }
    if (first)
    {
        m_info->Reset();
        if (manager)
            manager->GetPointOffsetInNode(point, node, m_info->m_pointOffset);
    }
    LockDraggedTree(node, TRUE);
    m_origin = initiator->DetachForDock(manager, first, m_info);
    if (!m_origin)
    {
        // No OnEndDrag follows a refused start: nothing may stay locked.
        ReleaseTreeLock();
        TkSuspendFrameRecalc(FALSE);
        return FALSE;
    }
    if (!m_feedback.m_hDC)
        m_feedback.Attach(GetFeedbackDC());
    TkSetCurrentDockInitiator(initiator);
    if (first)
        TkSetDraggedNode(node);
    delete m_affected;
    m_affected = new TkNodeMemoryManager;
    return TRUE;
}

BOOL TkDragDropDockingFeature::TrackFeedback(UINT flags, CPoint point)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    ITkDockTarget* target = TargetAt(point, flags, NULL);
    ITkDockableNode* dockable = GetDockable(point, target, manager);
    if (!dockable)
        return FALSE;
    CRect rect;
    if (!(target && target->GetDockRect(point, &rect, manager, m_info)) &&
        !dockable->GetOutlineRect(point, &rect, manager, m_info))
        return FALSE;
    if (m_dockable && m_dockable != dockable)
        m_dockable->EraseDragRect(&m_feedback);
    dockable->DrawDragRect(&m_feedback, rect, target);
    m_dockable = dockable;
    return TRUE;
}

BOOL TkDragDropDockingFeature::FinishDrag(UINT flags, CPoint point, BOOL dropped, BOOL final)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    BOOL live = TkGetLiveDocking();
    if (live)
        TkSuspendFrameRecalc(FALSE);
    ITkDockInitiator* initiator = TkGetCurrentDockInitiator();
    if (!initiator)
    {
        // A live re-dock that could not start again: nothing is dragged.
        if (final)
            TkSetDraggedNode(NULL);
        m_remembered = NULL;
        m_dockable = NULL;
        return FALSE;
    }
    // A float window that is dragged is never its own drop target.
    ITkLNContainer* excluded = NULL;
    if (initiator->IsFloating() && manager)
        excluded = manager->FindContainer(dynamic_cast<TkLayoutNode*>(initiator));
    ITkDockTarget* target = TargetAt(point, flags, excluded);
    ITkDockableNode* dockable = GetDockable(point, target, manager);
    EraseOutlines(dockable);

    BOOL docked = dropped && dockable && DockNode(point, dockable, target, manager);
    if (!docked)
        initiator->CancelDock();
    TkLayoutNode* dockableNode = dynamic_cast<TkLayoutNode*>(dockable);
    if (dockableNode && dockableNode->GetRootNode() != m_lockedRoot)
        dockableNode->SetRealizeLock(0, TRUE);
    LockDraggedTree(dockableNode, FALSE, final, target == NULL);
    if (docked)
        initiator->RealizeTops(dockable, manager);
    initiator->EndDock();
    if (!live)
    {
        TkSuspendFrameRecalc(FALSE);
        RecalcAllFrames(TRUE);
    }
    EndFeedback();
    if (final)
    {
        RepaintContainers(manager);
        TkSetDraggedNode(NULL);
        m_remembered = NULL;
        m_dockable = NULL;
    }
    else
    {
        m_remembered = docked ? NULL : initiator;
        m_dockable = dockable;
    }
    delete m_affected;
    m_affected = NULL;
    return TRUE;
}

HDC TkDragDropDockingFeature::GetFeedbackDC()
{
    return ::GetDCEx(::GetDesktopWindow(), NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
}

void TkDragDropDockingFeature::ReleaseFeedbackDC(HDC dc)
{
    ::ReleaseDC(NULL, dc);
}

ITkDockInitiator* TkDragDropDockingFeature::FindInitiator(TkLNDockingMgr* manager, CPoint point,
                                                          BOOL first)
{
    if (TkGetLiveDocking() && !first)
    {
        if (m_remembered)
            return m_remembered;
        return m_dockable ? m_dockable->FindDockInitiator() : NULL;
    }
    return manager ? TkDockInitiatorHitTester().Find(manager, point) : NULL;
}

BOOL TkDragDropDockingFeature::DockNode(CPoint point, ITkDockableNode* dockable,
                                        ITkDockTarget* target, TkLNDockingMgr* manager)
{
    TkLayoutNode* node = dynamic_cast<TkLayoutNode*>(dockable);
    ITkDockInitiator* initiator = TkGetCurrentDockInitiator();
    if (!node || !manager || !initiator)
        return FALSE;
    if (!(target && target->CanDockAt(node, point, manager, m_info)) &&
        !dockable->DropSelf(point, manager, m_info))
        return FALSE;
    if (!target && TkGetLiveDocking())
        m_info->SetTargetRect(CRect());
    // The drag origin goes with the event as its value.
    manager->NotifyDockEvent(node, dynamic_cast<TkLayoutNode*>(target), (LPARAM)m_origin,
                             m_affected);
    initiator->OnDocked(target, point, manager, m_affected);
    dockable->AdoptParentMemoryManager(manager, m_affected);
    manager->BindTree(node);
    if (m_origin)
        manager->BindTree(m_origin);
    return TRUE;
}

ITkDockTarget* TkDragDropDockingFeature::FindTarget(CPoint point, TkLNDockingMgr* manager,
                                                    ITkLNContainer* excluded)
{
    if (!manager)
        return NULL;
    if (ITkDockTarget* target = TkLNTargetDockHitTester(excluded).FindUnique(manager, point, FALSE))
        return target;
    return TkLNOffNodeDockIFaceHitTest_T<ITkDockTarget>().HitTestManager(manager, point);
}

BOOL TkDragDropDockingFeature::QueryTargetOverride(CPoint, UINT flags, ITkDockTarget** target)
{
    if (!(flags & MK_CONTROL))
        return FALSE;
    *target = NULL;
    return TRUE;
}

ITkDockableNode* TkDragDropDockingFeature::GetDockable(CPoint point, ITkDockTarget* target,
                                                       TkLNDockingMgr* manager)
{
    ITkDockInitiator* initiator = TkGetCurrentDockInitiator();
    return initiator ? initiator->GetDockableNode(target, point, manager, m_affected) : NULL;
}

// The tree is kept locked between two live re-docks that left the node
// where it was.
void TkDragDropDockingFeature::LockDraggedTree(TkLayoutNode* node, BOOL begin, BOOL final,
                                               BOOL noTarget)
{
    TkLNDockingMgr* manager = GetDockingMgr();
    if (begin)
    {
        ReleaseTreeLock();
        if (!node)
            return;
        m_lockedRoot = node->GetRootNode();
        m_lockedRoot->SetRealizeLock(1, TRUE);
        m_lockedContainer = manager ? manager->FindContainer(node) : NULL;
        m_lockedRect = node->GetCurrentRect();
        if (m_lockedContainer)
            m_lockedContainer->LockUpdates(TRUE);
        return;
    }
    BOOL unchanged = node && manager && manager->FindContainer(node) == m_lockedContainer &&
                     node->GetCurrentRect() == m_lockedRect;
    if (final || !TkGetLiveDocking() || noTarget || !unchanged)
        ReleaseTreeLock();
}

ITkDockTarget* TkDragDropDockingFeature::TargetAt(CPoint point, UINT flags,
                                                  ITkLNContainer* excluded)
{
    ITkDockTarget* target = NULL;
    if (!QueryTargetOverride(point, flags, &target))
        target = FindTarget(point, GetDockingMgr(), excluded);
    return target;
}

void TkDragDropDockingFeature::EraseOutlines(ITkDockableNode* dockable)
{
    if (dockable)
        dockable->EraseDragRect(&m_feedback);
    if (m_dockable && m_dockable != dockable)
        m_dockable->EraseDragRect(&m_feedback);
}

void TkDragDropDockingFeature::ReleaseTreeLock()
{
    if (m_lockedRoot)
        m_lockedRoot->SetRealizeLock(0, TRUE);
    if (m_lockedContainer)
        m_lockedContainer->LockUpdates(FALSE);
    m_lockedRoot = NULL;
    m_lockedContainer = NULL;
    m_lockedRect.SetRectEmpty();
}

// While the drag laid the tree out, the windows stayed where they were and
// their parents painted the new layout over them; a window that was not
// moved afterwards (a cancelled drag, the lists' headers) is never told.
void TkDragDropDockingFeature::RepaintContainers(TkLNDockingMgr* manager)
{
    if (!manager)
        return;
    std::vector<TkLNHwndContainer*> containers;
    manager->CollectHwndContainers(containers);
    for (TkLNHwndContainer* container : containers)
    {
        // A container may be a window beside the node windows (a frame's
        // virtual dock bar): its top-level window holds them all.
        HWND window = ::GetAncestor(container->GetContainerWnd(), GA_ROOT);
        if (window)
            ::RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TkDragDropDockingFeature::EndFeedback()
{
    if (m_feedback.m_hDC)
        ReleaseFeedbackDC(m_feedback.Detach());
    TkSetCurrentDockInitiator(NULL);
}
