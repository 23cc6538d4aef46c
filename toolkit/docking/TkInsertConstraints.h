// Where a node goes when it is inserted into a grid line or docked at a
// frame side, and the state of one docking operation.
#pragma once

#include <afxwin.h>

class TkLayoutNode;

class TkDynGridInsertConstraints
{
public:
    TkDynGridInsertConstraints() { Reset(); }
    virtual ~TkDynGridInsertConstraints() {}

    virtual void CopyFrom(const TkDynGridInsertConstraints& other);
    virtual void Reset();

    void SetIndex(int index, BOOL after, BOOL useIndex);
    // Answers the use-index flag.
    BOOL GetIndex(int* index) const;
    void SetInsertPoint(CPoint point, BOOL use);

    // The node to insert next to; in a 2-d grid, the line that holds it.
    TkLayoutNode* m_reference;
    // After the reference place; with no reference and no index, TRUE appends.
    BOOL m_after;
    // In a 2-d grid, the node gets a line of its own.
    BOOL m_newLine;
    // Nodes without it stop splitter runs.
    BOOL m_resizable;
    // Along the line; -1: the line picks it.
    int m_extent;
    // Across the line, for a new line; -1: not given.
    int m_lineThickness;
    BOOL m_usePoint;
    CPoint m_point;
    int m_index;
    BOOL m_useIndex;
    int m_lineIndex;
};

class TkDockInsertionConstraints : public TkDynGridInsertConstraints
{
public:
    // The base's constructor resets only its own part.
    TkDockInsertionConstraints() : m_side(0) {}
    void Reset() override;
    // Copies the side too.
    virtual void CopyFrom(const TkDockInsertionConstraints& other);
    using TkDynGridInsertConstraints::CopyFrom;

    // CBRS_ALIGN_LEFT, TOP, RIGHT, BOTTOM tested in that order.
    void SetDockSide(DWORD style) { m_side = SideFromStyle(style); }
    static int SideFromStyle(DWORD style);

    // 0 top, 1 bottom, 2 left, 3 right.
    int m_side;
};

class TkDockInProgressInfo
{
public:
    TkDockInProgressInfo() { Reset(); }
    virtual ~TkDockInProgressInfo() {}
    virtual void Reset();

    void SetTargetRect(const CRect& rect);
    BOOL GetTargetRect(CRect* rect) const;

    // The dragged node's old place, in screen coordinates.
    CRect m_oldPlace;
    // The dragged node's orientation: 1 horizontal.
    BOOL m_horizontal;
    // Where the cursor was inside the dragged node at the press.
    CPoint m_pointOffset;
    BOOL m_hasTargetRect;
    CRect m_targetRect;
};
