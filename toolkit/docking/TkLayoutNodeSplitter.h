// TkLayoutNodeSplitter: the splitter window as a layout node. Its panes are
// child layout nodes, laid out in the pane rectangles; when the node is
// resized the bars move so that the panes keep within their size limits.
//
// TkLNVirtualSplitter: the same splitter used only for one movable bar. It
// lays out no panes and tells its observer how far the bar was dragged;
// sizable borders put one on each sizable edge and grid lines one between
// every two cells. Its orientation is the node's active flag: nonzero, a
// vertical bar that moves along x; 0, a horizontal bar that moves along y.
#pragma once

#include "toolkit/docking/TkLayoutNodeWnd.h"
#include "toolkit/docking/TkSplitterBase.h"

class TkLayoutNodeSplitter : public TkSplitterBase, public TkLayoutNodeWnd
{
public:
    TkLayoutNodeSplitter();

    BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, int splitterFlags) override;
    // The node must already be a child of the splitter node.
    BOOL SetPaneNode(int row, int column, TkLayoutNode* node);
    TkLayoutNode* GetPaneNode(int row, int column) const;
    void LayoutPanes(TkSplitterPaneInfo& panes) override;
    BOOL HidePane(int row, int column) override;
    void InvalidateArea(const CRect& rect, BOOL erase) override;

    void OnNodeInit(BOOL broadcast) override;
    void SetNodeStyle(DWORD style, BOOL recurse) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;

    // Moves a and b by delta together, each no further than its limit: a
    // takes half, b the rest, a what b could not. Answers what neither took.
    static int DistributeMove(int& a, int& b, int limitA, int limitB, int delta);
    // The area for a new rectangle, moving the bars so that the panes keep
    // within their limits. With keepSize, a change no pane can take is left
    // off the rectangle's right and bottom; without, the bar takes half.
    CRect ResizeArea(const CRect& oldArea, const CRect& newRect, int& x, int& y, BOOL keepSize);

protected:
    // The pane nodes, indexed row + 2 * column.
    TkLayoutNode* m_paneNodes[4];
    // Which side an odd pixel went to last, per direction.
    int m_oddX;
    int m_oddY;

private:
    // The limits of the part before the bar (a) and after it (b) for one
    // pass: 0 both panes of each side, 1 the first row or column, 2 the second.
    void GetPassLimits(BOOL horizontal, int pass, BOOL growing, int* limitA, int* limitB);
    int ResizeAxis(BOOL horizontal, int oldExtent, int& position, int delta, BOOL keepSize);
};

class TkLNVirtualSplitter;

class ITkVirtualSplitterObserver
{
public:
    virtual ~ITkVirtualSplitterObserver() {}
    // dx for a vertical bar, dy for a horizontal one; the other is 0.
    virtual void OnSplitterMoved(TkLNVirtualSplitter* splitter, int dx, int dy) = 0;
};

class TkLNVirtualSplitter : public TkLayoutNodeSplitter
{
public:
    TkLNVirtualSplitter();

    void SetObserver(ITkVirtualSplitterObserver* observer) { m_observer = observer; }
    ITkVirtualSplitterObserver* GetObserver() const { return m_observer; }
    // Where the bar may be dragged, in the host's client coordinates.
    void SetLimitRect(const CRect& rect) { m_limitRect = rect; }
    CRect GetLimitRect() const { return m_limitRect; }
    BOOL IsVerticalBar() { return IsNodeActive(); }

    void SetNodeActive(BOOL active, BOOL recurse) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;

    void ChooseBarStyles() override;
    BOOL ApplyBarRect(const CRect& rect, BOOL isRow) override;
    void ComputeBarRects(CRect& row, CRect& column, int& x, int& y) override;
    void UpdateHitRects() override;
    void GetTrackLimits(int& minX, int& minY, int& maxX, int& maxY) override;
    BOOL CanPaint() override;
    void OnBarsMoved(int dx, int dy) override;
    CDC* GetTrackDC() override;
    void MapOutlineRects(CRect& rect, CRect& previous) override;

private:
    CRect m_limitRect;
    ITkVirtualSplitterObserver* m_observer;
};
