// TkLNSizable: a border node whose edges the user can drag. On each edge
// chosen by the mask it keeps a virtual splitter in a margin of the bar's
// width; dragging that splitter moves the edge of the node's preferred
// rectangle, and the tree is laid out again from its window. The splitters
// are owned here and are not nodes of the tree: the node positions and
// realises them itself.
//
// TkLNSizableDockBorder: the sizable border around a frame side's dock
// target; a dock event collapses it to its inner edge before the frame lays
// it out again from the target's requested size.
#pragma once

#include "toolkit/docking/TkLNBorder.h"
#include "toolkit/docking/TkLNDockBorderClient.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLayoutNodeSplitter.h"

class TkLNSizable : public TkLNBorder_T<TkLayoutNode>,
                    public TkParentOfNegotiableChildNode,
                    public ITkVirtualSplitterObserver
{
public:
    enum Edge
    {
        kEdgeTop = 1,
        kEdgeBottom = 2,
        kEdgeLeft = 4,
        kEdgeRight = 8,
    };
    static const UINT kSplitterId = 0xEDEF;

    TkLNSizable();
    ~TkLNSizable() override;

    // Creates the splitters of the edges in the mask and deletes the others.
    BOOL SetSizableEdges(CWnd* parent, BOOL liveTracking, int edges);
    // How far outside the node the splitters may be dragged.
    void SetLimitRect(const CRect& rect, BOOL recalculate);
    void SetSizingEnabled(BOOL enable, BOOL liveTracking, BOOL recalculate);
    int GetSizableEdges() const { return m_edges; }
    TkLNVirtualSplitter* GetEdgeSplitter(int edge) const;
    TkLayoutNode* GetContentNode() const { return m_content; }

    // One child only: a second is refused with -1.
    int AddChildNode(TkLayoutNode* node) override;
    int RemoveChildNode(TkLayoutNode* node) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    int GetDeferCount() override;
    BOOL RealizeNode(HDWP& deferral, LPARAM arg) override;

    void OnSplitterMoved(TkLNVirtualSplitter* splitter, int dx, int dy) override;

protected:
    // A frame lays itself out (and so this tree); any other window's tree
    // is laid out again in place.
    void LayoutAgain(HWND window);
    HWND GetSplitterParent() const { return m_parentWnd; }

private:
    static int EdgeIndex(int edge);
    TkLNVirtualSplitter* CreateEdgeSplitter(int edge);
    void PositionSplitters(const CRect& r);

    // Top, bottom, left, right.
    TkLNVirtualSplitter* m_splitters[4];
    int m_edges;
    // What enabling sizing again brings back.
    int m_restoreEdges;
    HWND m_parentWnd;
    CRect m_limitRect;
    TkLayoutNode* m_content;
};

class TkLNSizableDockBorder : public TkLNSizable,
                              public ITkDockEventReceiver,
                              public ITkSizableDockBorder
{
public:
    TkLNSizableDockBorder() : m_dockSide(0) {}

    TkLayoutNode* GetDockLine() override { return GetContentNode(); }

    void SetDockSide(int side) { m_dockSide = side; }
    int GetDockSide() const { return m_dockSide; }

    BOOL OnDockEvent(TkLayoutNode* node, TkLayoutNode* target, TkLayoutNode* parent, LPARAM value,
                     TkNodeMemoryManager* memoryList) override;

private:
    int m_dockSide;
};
