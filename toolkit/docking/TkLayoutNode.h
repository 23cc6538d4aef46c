// TkLayoutNode: one node of a layout tree. A node holds its rectangles (the
// initial, current and reference ones, and where its window was last put),
// size limits and style flags; a parent computes its children's rectangles
// from its own (RecalcLayout), and RealizeNodes then moves the windows of a
// whole subtree in one deferred-window-position batch.
//
// Ownership: a node never deletes its children. Nodes are freed by the
// memory manager they record; a node that is deleted while linked leaves its
// parent and orphans its children, so no pointer to it survives.
#pragma once

#include "toolkit/docking/TkComposite.h"
#include "toolkit/docking/TkObjectMemoryManager.h"

#include <functional>

class TkLayoutNode;
typedef TkObjectMemoryManager_T<TkLayoutNode> TkNodeMemoryManager;

class TkLayoutNode : public TkComposite_T<TkLayoutNode*>
{
public:
    // Size-limit flags.
    enum
    {
        kNoMinimum = 1,
        kNoMaximum = 2,
    };
    // Node styles.
    enum
    {
        kKeepWidth = 0x01,
        kKeepHeight = 0x02,
        kKeepLeft = 0x04,
        kKeepTop = 0x08,
        // Windows move without redrawing; only the uncovered strips repaint.
        kDeferErase = 0x10,
    };

    TkLayoutNode();
    ~TkLayoutNode() override;
    TkLayoutNode(const TkLayoutNode&) = delete;
    TkLayoutNode& operator=(const TkLayoutNode&) = delete;

    // How many window positions this node adds to a realisation batch.
    virtual int GetDeferCount();
    virtual BOOL IsNodeValid();
    virtual void SetSizeLimits(const CSize& minimum, const CSize& maximum, DWORD flags);
    virtual void GetSizeLimits(CSize* minimum, CSize* maximum, DWORD* flags);
    virtual void SetParentNode(TkLayoutNode* parent);
    virtual TkLayoutNode* GetParentNode();
    virtual TkLayoutNode* GetRootNode();
    virtual void InvalidateLayout(BOOL propagate);
    virtual void ValidateLayout();
    virtual void SetRealizePending();
    virtual BOOL IsRealizePending();
    virtual void SetNodeStyle(DWORD style, BOOL recurse);
    virtual void ModifyNodeStyle(DWORD remove, DWORD add, BOOL recurse);
    virtual DWORD GetNodeStyle();
    virtual void SetRealizeLock(int lock, BOOL recurse);
    virtual CRect GetInitialRect();
    virtual void InitRectsFromChildren();
    virtual void InitRects(const CRect& rect);
    virtual void SetInitialRect(const CRect& rect);
    virtual CRect GetReferenceRect();
    virtual void SetReferenceRect(const CRect& rect);
    virtual CRect GetCurrentRect();
    virtual CRect GetConstrainedRect();
    virtual void SetCurrentRect(const CRect& rect);
    virtual CRect GetRealizedRect();
    virtual void SetRealizedRect(const CRect& rect);
    virtual CRect GetPrevRealizedRect();
    virtual void SetPrevRealizedRect(const CRect& rect);
    // The new child count, or -1.
    virtual int AddChildNode(TkLayoutNode* node);
    virtual BOOL MoveChildNode(TkLayoutNode* node, TkLayoutNode* reference, BOOL after);
    // The remaining child count, or -1.
    virtual int RemoveChildNode(TkLayoutNode* node);
    virtual void RecalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force);
    virtual BOOL RealizeNodes(LPARAM arg);
    virtual BOOL RealizeNode(HDWP& deferral, LPARAM arg);
    virtual void OnEraseNodeBkgnd(BOOL broadcast, HDC dc);
    virtual void OnPaintNode(BOOL broadcast, HDC dc);
    virtual BOOL InvalidateNodes(BOOL self, BOOL recurse);
    virtual void GetChildrenRect(CRect& result);
    virtual void OnNodeInit(BOOL broadcast);
    virtual TkNodeMemoryManager* GetMemoryManager();
    virtual void SetMemoryManager(TkNodeMemoryManager* manager, BOOL recurse);
    virtual void SetContainerOffset(int x, int y);
    virtual void SetNodeActive(BOOL active, BOOL recurse);
    virtual void OnNodeCreated();
    virtual void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force);
    virtual void InvalidateNodeRect(const CRect& rect, BOOL erase);
    virtual BOOL NeedsRecalc(BOOL force, const CRect& rect);
    virtual void ApplySizeLimits(CRect& rect);
    virtual void ApplyStyleLocks(const CRect& oldRect, CRect& newRect);
    virtual void InvalidateExposedStrips();

    BOOL IsNodeActive() const { return m_active; }
    int GetRealizeLock() const { return m_realizeLock; }
    CPoint GetContainerOffset() const { return m_containerOffset; }
    const CString& GetNodeName() const { return m_name; }
    void SetNodeName(LPCSTR name) { m_name = name; }

    // Every node of the subtree, descendants first, this node last unless
    // self is FALSE. The walk is over a copy: visit may relink nodes.
    void ForEachInSubtree(const std::function<void(TkLayoutNode*)>& visit, BOOL self = TRUE);
    // The strips of previous that current no longer covers: top, left,
    // right, bottom.
    static void ForEachExposedStrip(const CRect& previous, const CRect& current,
                                    const std::function<void(const CRect&)>& visit);

protected:
    CSize m_minSize;
    CSize m_maxSize;
    DWORD m_limitFlags;
    BOOL m_recalcNeeded;
    BOOL m_realizePending;
    DWORD m_style;
    CPoint m_containerOffset;
    int m_realizeLock;
    BOOL m_active;
    CString m_name;
    CRect m_initialRect;
    CRect m_currentRect;
    CRect m_referenceRect;
    CRect m_realizedRect;
    CRect m_prevRealizedRect;
    TkNodeMemoryManager* m_memoryManager;

private:
    void ClearRealizePending();
    // Style kDeferErase with a move pending: repaint what the move uncovered.
    BOOL InvalidateIfDeferred();
    BOOL DeferSubtree(HDWP deferral, int count, LPARAM arg);
};
