// TkDragDropDockingFeature: the docking work of a drag. At the start it
// finds the dock initiator under the press and takes its node out of the
// tree; while the mouse moves it draws on the screen an outline of where
// the node would go (the dock target under the cursor, else the node's
// floating form); at the end it docks the node there, floats it, or puts
// it back. It sees the five calls of the drag task and no messages.
//
// Between start and end the dragged tree is not realised and its
// container's updates are locked; the frames are not laid out again
// until the end (outline mode) or before each re-dock (live mode).
#pragma once

#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkDragDropTask.h"
#include "toolkit/docking/TkLNDockingMgr.h"

class TkDragDropDockingFeature : public ITkDragDropFeature
{
public:
    TkDragDropDockingFeature();
    ~TkDragDropDockingFeature() override;
    TkDragDropDockingFeature(const TkDragDropDockingFeature&) = delete;
    TkDragDropDockingFeature& operator=(const TkDragDropDockingFeature&) = delete;

    BOOL CanStartDrag(UINT flags, CPoint point) override;
    BOOL OnStartDrag(UINT flags, CPoint point) override;
    BOOL OnDragMove(UINT flags, CPoint point) override;
    BOOL OnEndDrag(UINT flags, CPoint point, BOOL dropped) override;
    BOOL OnDoubleClick(UINT flags, CPoint point) override;

    // NULL: the default docking manager.
    void SetDockingMgr(TkLNDockingMgr* manager) { m_manager = manager; }
    TkLNDockingMgr* GetDockingMgr() const;

protected:
    // A refused start leaves no lock, suspension or DC behind.
    virtual BOOL BeginDrag(UINT flags, CPoint point, BOOL first);
    virtual BOOL TrackFeedback(UINT flags, CPoint point);
    // final: the drag is over (not a live re-dock between two moves).
    virtual BOOL FinishDrag(UINT flags, CPoint point, BOOL dropped, BOOL final);
    virtual HDC GetFeedbackDC();
    virtual void ReleaseFeedbackDC(HDC dc);
    virtual ITkDockInitiator* FindInitiator(TkLNDockingMgr* manager, CPoint point, BOOL first);
    virtual BOOL DockNode(CPoint point, ITkDockableNode* dockable, ITkDockTarget* target,
                          TkLNDockingMgr* manager);
    virtual ITkDockTarget* FindTarget(CPoint point, TkLNDockingMgr* manager,
                                      ITkLNContainer* excluded);
    // Ctrl held: no target, the node floats.
    virtual BOOL QueryTargetOverride(CPoint point, UINT flags, ITkDockTarget** target);
    virtual ITkDockableNode* GetDockable(CPoint point, ITkDockTarget* target,
                                         TkLNDockingMgr* manager);
    virtual void LockDraggedTree(TkLayoutNode* node, BOOL begin, BOOL final = TRUE,
                                 BOOL noTarget = TRUE);

    // The target under the point unless the flags override it.
    ITkDockTarget* TargetAt(CPoint point, UINT flags, ITkLNContainer* excluded);
    void EraseOutlines(ITkDockableNode* dockable);
    void ReleaseTreeLock();
    void RepaintContainers(TkLNDockingMgr* manager);
    void EndFeedback();

    TkLNDockingMgr* m_manager;
    // The screen DC the outlines are drawn on, held from start to end.
    CDC m_feedback;
    TkNodeMemoryManager* m_affected;
    ITkDockableNode* m_dockable;
    TkLayoutNode* m_origin;
    TkDockInProgressInfo* m_info;
    BOOL m_inMove;
    CPoint m_lastMove;
    // Live mode: the initiator of the node between two re-docks.
    ITkDockInitiator* m_remembered;
    // The tree locked during the drag: its root, container and the
    // dragged node's rectangle at the start.
    TkLayoutNode* m_lockedRoot;
    ITkLNContainer* m_lockedContainer;
    CRect m_lockedRect;
};
