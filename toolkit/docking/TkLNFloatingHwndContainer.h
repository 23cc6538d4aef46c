// TkLNFloatingHwndContainer: the container of a floating tree, which lives
// in a float window. The tree is laid out over the whole window, so node
// coordinates are the window's outer coordinates: the conversions shift by
// the client offset (outer top-left to client top-left). The docking
// manager owns the container; when it goes, its window is parked in a
// process-wide spare list, hidden, and destroyed at the next float window's
// creation unless it still shows the node being dragged.
#pragma once

#include "toolkit/docking/TkLNContainer.h"

class TkLayoutMiniFloatWnd;
class TkLNDockingMgr;

class TkLNFloatingHwndContainer : public TkLNHwndContainer
{
public:
    TkLNFloatingHwndContainer();
    ~TkLNFloatingHwndContainer() override;

    BOOL PreNodeRectToScreen(CRect& rect) override;
    BOOL PreNodePointToScreen(CPoint& point) override;
    BOOL PostScreenRectToNode(CRect& rect) override;
    BOOL PostScreenPointToNode(CPoint& point) override;
    // Measured on the window sized to 1000 x 1000; keeps the client offset.
    BOOL GetFrameBorders(int* left, int* top, int* right, int* bottom) override;
    BOOL Place(const CRect& screenRect) override;
    BOOL IsVisible() override;
    virtual BOOL CreateFloatWindow(TkLayoutNode* root, CWnd* parent, LPCSTR title,
                                   BOOL hideOnClose, BOOL withCloseItem);
    virtual TkLayoutMiniFloatWnd* NewFloatWindow();

    void SetDockingMgr(TkLNDockingMgr* manager) { m_manager = manager; }
    TkLayoutMiniFloatWnd* GetFloatWnd() const { return m_window; }

    // The parked windows (for checks).
    static int GetSpareCount();
    // Destroys the spares that do not show the node being dragged.
    static void DestroySpares();
    // A float window being destroyed leaves the spare list.
    static void ForgetSpare(TkLayoutMiniFloatWnd* window);

private:
    TkLayoutMiniFloatWnd* m_window;
    CPoint m_clientOffset;
    TkLNDockingMgr* m_manager;
};
