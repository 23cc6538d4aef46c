// Window nodes: the leaves that stand for child windows. Realising the tree
// moves each node's window to the node's current rectangle (in the client
// coordinates of its parent window) within the batch of RealizeNodes. The
// wrapped window is not owned. TkClientWndNode is the frame's client area
// node, which can take a child out and put it back.
#pragma once

#include "toolkit/docking/TkNodeBehaviours.h"

class TkLayoutNodeWnd : public TkLayoutNode,
                        public TkDefReparentableNode,
                        public TkDefHideableNode
{
public:
    TkLayoutNodeWnd() : m_hWnd(NULL), m_hWndParent(NULL) {}

    int GetDeferCount() override;
    BOOL IsNodeValid() override;
    // A dead window is skipped: it would make Win32 drop the whole batch.
    BOOL RealizeNode(HDWP& deferral, LPARAM arg) override;
    void InvalidateNodeRect(const CRect& rect, BOOL erase) override;
    virtual HWND GetNodeWnd();

    BOOL ReparentWnd(HWND parent) override;
    BOOL ShowNode(BOOL show) override;

    BOOL AttachWnd(HWND window, CWnd* parent);
    BOOL AttachWnd(CWnd* window, CWnd* parent);
    BOOL AttachDlgItem(int id, CWnd* parent);

    HWND GetParentWnd() const { return m_hWndParent; }

private:
    HWND m_hWnd;
    HWND m_hWndParent;
};

class TkClientWndNode : public TkLayoutNode, public TkDefUndoableNode
{
};

// Every node of the root's subtree that belongs to the container leaves it.
void DetachFromContainer(TkLayoutNode* root, ITkLNContainer* container);
