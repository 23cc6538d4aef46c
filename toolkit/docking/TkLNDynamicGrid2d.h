// TkLNDynamicGrid2d: a grid line whose children are grid lines running the
// other way (a dock side: rows or columns of docked nodes). Node operations
// go to the line that holds the node; a node that asks for a line of its own
// gets a new one, and a line whose last node leaves is deleted. The grid's
// splitters change the lines' thickness, the lines' own their nodes' length.
#pragma once

#include "toolkit/docking/TkLNDynamicGridLine.h"

class ITkPreferredNodeRectSet
{
public:
    virtual ~ITkPreferredNodeRectSet() {}
    virtual void SetPreferredRectDirty() = 0;
};

class TkLNDynamicGrid2d : public TkLNDynamicGridLine, public ITkPreferredNodeRectSet
{
public:
    TkLNDynamicGrid2d() : m_preferredDirty(FALSE) {}

    int RemoveChildNode(TkLayoutNode* node) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    void SetSplitterMode(BOOL live) override;
    // The orientation given is the lines'; the grid runs the other way.
    void SetHostAndOrientation(HWND host, BOOL lineHorizontal) override;
    int InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* c) override;
    TkLayoutNode* HitTestNode(CPoint point, BOOL* after, TkLNDynamicGridLine** line) override;
    int GetNodeCount() override;
    TkLayoutNode* GetFirstNode() override;
    void GetNodes(CPtrList& list) override;
    BOOL GetInsertConstraints(TkLayoutNode* node, TkDynGridInsertConstraints* c) override;
    void AdoptOrientation(TkLayoutNode* node, TkDynGridInsertConstraints* c) override;
    ITkUndoableNode* GetUndoOwner() override { return this; }
    void SetPreferredRectDirty() override { m_preferredDirty = TRUE; }

    virtual TkLNDynamicGridLine* CreateLineNode();
    // Makes a line for the node; rewrites c to place the line in the grid.
    virtual TkLNDynamicGridLine* CreateLineFor(TkLayoutNode* node, TkDynGridInsertConstraints* c);
    virtual TkLNDynamicGridLine* FindLineOf(TkLayoutNode* node);
    virtual TkLNDynamicGridLine* GetEndLine(BOOL last);

    // The lines themselves, in order.
    TkLNDynamicGridLine* GetLineAt(int index);
    int GetLineCount() { return TkLNDynamicGridLine::GetNodeCount(); }

protected:
    BOOL IsLine(TkLayoutNode* node) { return FindNode(node) != NULL; }

private:
    BOOL m_preferredDirty;
};
