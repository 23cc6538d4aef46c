// TkLNDynamicGridLine: child nodes in one row (horizontal line, the node's
// active flag set) or one column, with a virtual splitter between every two
// neighbours. The line decides where a new node goes, how much of its
// extent each node gets, and how a splitter drag moves extent between
// neighbours without taking any node below its minimum. Only far edges
// move while extents are distributed; PositionNodes then packs the nodes.
//
// The splitters are children of the line's node too (counts include them)
// and are owned by the line's memory manager.
#pragma once

#include "toolkit/docking/TkInsertConstraints.h"
#include "toolkit/docking/TkLayoutNodeSplitter.h"
#include "toolkit/docking/TkNodeBehaviours.h"
#include "toolkit/docking/TkOrientedRect.h"

#include <afxtempl.h>
#include <vector>

class TkLNDynamicGridLineCell
{
public:
    TkLNDynamicGridLineCell() : m_resizable(TRUE), m_before(NULL), m_after(NULL) {}
    BOOL m_resizable;
    TkLNVirtualSplitter* m_before;
    TkLNVirtualSplitter* m_after;
};

class TkLNDynamicGridLine : public TkLayoutNode,
                            public ITkUndoableNode,
                            public ITkVirtualSplitterObserver,
                            public TkDefReparentableNode,
                            public TkParentOfNegotiableChildNode,
                            public TkDefHideableNode
{
public:
    enum Distribution
    {
        kFromHead = 0,
        kFromTail = 1,
        kEvenly = 2,
    };
    static const UINT kSplitterId = 0xEDEF;
    static void SetDefaultDistribution(int mode);

    TkLNDynamicGridLine();
    ~TkLNDynamicGridLine() override;

    int AddChildNode(TkLayoutNode* node) override;
    int RemoveChildNode(TkLayoutNode* node) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;

    virtual void SetSplitterMode(BOOL live);
    virtual void SetHostAndOrientation(HWND host, BOOL horizontal);
    // The new child count, or -1.
    virtual int InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* constraints);
    virtual TkLayoutNode* HitTestNode(CPoint point, BOOL* after, TkLNDynamicGridLine** line);
    virtual POSITION FindNode(TkLayoutNode* node);
    virtual int GetNodeCount();
    virtual TkLayoutNode* GetFirstNode();
    virtual TkLayoutNode* GetNeighbour(TkLayoutNode* node, BOOL next);
    virtual TkLNDynamicGridLineCell* GetCell(TkLayoutNode* node);
    virtual int GetAverageExtent(BOOL countExtra);
    virtual void GetNodes(CPtrList& list);
    virtual BOOL GetInsertConstraints(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual void AdoptOrientation(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual TkLNVirtualSplitter* CreateSplitterNode();
    virtual void SizeNewNode(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual void CreateCell(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual BOOL DeleteCell(TkLayoutNode* node);
    virtual BOOL LinkNode(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual POSITION FindPositionByIndex(int index, BOOL* after);
    virtual BOOL UnlinkNode(TkLayoutNode* node);
    virtual void ShrinkForRemovedNode(TkLayoutNode* node);
    virtual void AddSplitters(TkLayoutNode* node);
    virtual void AddSplittersAround(TkLayoutNode* prev, TkLayoutNode* node, TkLayoutNode* next);
    virtual void RemoveSplitters(TkLayoutNode* node);
    virtual void RemoveSplittersAround(TkLayoutNode* prev, TkLayoutNode* node, TkLayoutNode* next);
    virtual void AddSplitter(TkLayoutNode* a, TkLayoutNode* b);
    virtual void RemoveSplitter(TkLayoutNode* a, TkLayoutNode* b);
    virtual int GetSplitterSpace(TkLayoutNode* excluded);
    virtual BOOL DistributeExtent(int extent, TkLayoutNode* excluded);
    virtual void FitAroundNode(TkLayoutNode* node);
    virtual int SumExtents(int* sum, TkLayoutNode* excluded);
    virtual BOOL DistributeEvenly(int delta, int count, TkLayoutNode* excluded);
    virtual BOOL DistributeSequentially(int delta, int count, BOOL fromHead,
                                        TkLayoutNode* excluded);
    virtual BOOL ForceDistribute(int delta, BOOL fromHead);
    virtual BOOL PositionNodes(const CRect& rect);
    virtual void RecalcLine();
    virtual BOOL SetSplitterLimits(TkLayoutNode* first, TkLayoutNode* last);
    // The number of entries: one per node of the run.
    virtual int GetCumulativeMinimums(std::vector<int>& minimums, TkLayoutNode* first,
                                      TkLayoutNode* last);
    // From first's near edge to last's far edge.
    virtual CRect GetRunRect(TkLayoutNode* first, TkLayoutNode* last);
    virtual BOOL FindSplitterNeighbours(TkLNVirtualSplitter* splitter, TkLayoutNode** before,
                                        TkLayoutNode** after);
    // The extent absorbed.
    virtual int ResizeRun(TkLayoutNode* start, int delta, BOOL forward, TkLayoutNode** last);
    virtual BOOL RealizeRun(TkLayoutNode* first, TkLayoutNode* last);
    virtual BOOL GetNeighbours(TkLayoutNode* node, TkLayoutNode** prev, TkLayoutNode** next);
    virtual void ConstrainRect(TkLayoutNode* node, CRect& rect);
    virtual void RemoveAllCells();
    virtual BOOL IsPointInFarHalf(const CRect& rect, CPoint point);
    virtual BOOL ApplyPendingGrowth(CRect& rect);
    virtual BOOL GetNodeIndex(TkLayoutNode* node, int* index, int* count);
    virtual int InsertNodeAt(TkLayoutNode* node, TkDynGridInsertConstraints* c);

    // Undo: the enclosing 2-d grid's, else the line's own.
    virtual ITkUndoableNode* GetUndoOwner();
    int RemoveUndoable(TkLayoutNode* child) override;
    int UndoRemove() override;
    int UndoRemoveOf(TkLayoutNode* child) override;

    void OnSplitterMoved(TkLNVirtualSplitter* splitter, int dx, int dy) override;
    // Only a window container: its window hosts the splitters.
    BOOL ReparentToContainer(ITkLNContainer* container) override;

    // Grow mode: inserting or removing a node changes the line's own extent.
    void SetGrowMode(BOOL grow);
    BOOL GetGrowMode() const { return m_grow; }
    void SetDistribution(int mode) { m_distribution = mode; }
    HWND GetHostWnd() const { return m_host; }
    BOOL IsHorizontal() { return IsNodeActive(); }
    TkOrientedRect Oriented(const CRect& rect) { return TkOrientedRect(rect, IsHorizontal()); }
    TkNodeMemoryManager* GetOwnNodes() { return &m_ownNodes; }
    CPoint GetPendingGrowth() const { return CPoint(m_pendingX, m_pendingY); }

protected:
    // Lays the parent out again around this line's new requested size.
    void Renegotiate();
    int Extent(TkLayoutNode* node);

    // The child nodes in line order (the splitters are not in it).
    CPtrList m_nodes;
    CTypedPtrMap<CMapPtrToPtr, TkLayoutNode*, TkLNDynamicGridLineCell*> m_cells;
    TkNodeMemoryManager m_ownNodes;
    // The place of the node removed last.
    TkDynGridInsertConstraints m_working;
    TkObjectMemoryManager_T<TkDynGridInsertConstraints> m_constraintsOwner;
    CTypedPtrMap<CMapPtrToPtr, TkLayoutNode*, TkDynGridInsertConstraints*> m_remembered;
    int m_distribution;
    HWND m_host;
    BOOL m_grow;
    BOOL m_splitterMode;
    int m_pendingX;
    int m_pendingY;
    CSize m_savedMin;
    CSize m_savedMax;
    DWORD m_savedFlags;
    TkLayoutNode* m_lastRemoved;
};
