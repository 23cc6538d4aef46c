// Drawing nodes: nodes that paint themselves into a window (borders, edges,
// grippers) instead of moving one. They count 1 in a realisation batch,
// repaint when realised and shift their drawing by the container offset.
#pragma once

#include "toolkit/docking/TkNodeBehaviours.h"

class CDC;

class TkLayoutNodeDCBase : public TkLayoutNode
{
public:
    TkLayoutNodeDCBase() : m_hWnd(NULL) {}

    BOOL IsNodeValid() override;
    int GetDeferCount() override;
    BOOL RealizeNode(HDWP& deferral, LPARAM arg) override;
    void InvalidateNodeRect(const CRect& rect, BOOL erase) override;
    void OnPaintNode(BOOL broadcast, HDC dc) override;

    virtual void SetNodeWnd(HWND window);
    virtual void DrawNode(CDC* dc, const CRect& rect);

    HWND GetNodeWnd() const { return m_hWnd; }

protected:
    HWND m_hWnd;
};

class TkLayoutNodeDC : public TkLayoutNodeDCBase, public TkDefHideableNode
{
public:
    // A change repaints the node's place.
    BOOL ShowNode(BOOL show) override;
    void OnPaintNode(BOOL broadcast, HDC dc) override;
};

// A drawing node that follows its container: its window becomes the
// container's window.
template <class Base>
class TkReparentableLayoutNodeDC_T : public Base, public TkDefReparentableNode
{
public:
    BOOL ReparentWnd(HWND parent) override
    {
        this->SetNodeWnd(parent);
        return TRUE;
    }
};
