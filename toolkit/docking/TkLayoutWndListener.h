// TkLayoutWndListener: ties a layout tree to a window through the listener
// chain. It lays the tree out again when the window is resized, reports the
// tree's size limits (plus the window frame) as tracking limits, and hands
// erase and paint to the nodes that draw themselves. It never keeps the
// window's own procedure out. The node is not owned.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"
#include "toolkit/docking/TkWndPlugIn.h"

class TkLayoutWndListener : public TkWndListener
{
public:
    TkLayoutWndListener();

    virtual BOOL SetLayoutNode(TkLayoutNode* node);
    virtual TkLayoutNode* GetLayoutNode();
    virtual BOOL SetAutoLayout(BOOL layOutOnSize);
    virtual BOOL InitLayout(TkLayoutNode* node, CWnd* window, const CRect& rect,
                            LPARAM plugArgument, BOOL layOutNow);
    // The tree fills the client area, or with useWindowRect the whole window.
    virtual BOOL AutoInitLayout(TkLayoutNode* node, CWnd* window, LPARAM plugArgument,
                                BOOL layOutNow, BOOL useWindowRect);

    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem);

protected:
    TkLayoutNode* m_root;
    BOOL m_useWindowRect;
    BOOL m_layOutOnSize;

    DECLARE_MESSAGE_MAP()
};
