// Behaviours shared by many node classes, written once as mix-ins: hiding
// and showing (counted), moving a node's window into another container, a
// parent that lays out again when a child's needs change, and taking a
// child out with the means to put it back. Each works on the layout node it
// is mixed into.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"

class ITkLNContainer;

class ITkHideableNode
{
public:
    virtual ~ITkHideableNode() {}
    virtual BOOL ShowNodeCounted(BOOL show, BOOL force, BOOL recurse) = 0;
    virtual BOOL IsNodeVisible() = 0;
    virtual BOOL ShowNode(BOOL show) = 0;
};

class TkDefHideableNode : public ITkHideableNode
{
public:
    TkDefHideableNode() : m_showCount(0), m_visible(TRUE) {}
    // Showing acts when the count reaches 1, hiding when it reaches 0.
    BOOL ShowNodeCounted(BOOL show, BOOL force, BOOL recurse) override;
    BOOL IsNodeVisible() override { return m_visible; }
    // TRUE when the state changed.
    BOOL ShowNode(BOOL show) override;

private:
    int m_showCount;
    BOOL m_visible;
};

class ITkReparentableNode
{
public:
    virtual ~ITkReparentableNode() {}
    virtual BOOL SetNodeContainer(ITkLNContainer* container) = 0;
    virtual ITkLNContainer* GetNodeContainer() = 0;
    virtual BOOL ReparentWnd(HWND parent) = 0;
    virtual BOOL AdoptRootMemoryManager() = 0;
    virtual BOOL ReparentToContainer(ITkLNContainer* container) = 0;
};

class TkDefReparentableNode : public ITkReparentableNode
{
public:
    TkDefReparentableNode() : m_container(NULL) {}
    BOOL SetNodeContainer(ITkLNContainer* container) override;
    ITkLNContainer* GetNodeContainer() override { return m_container; }
    BOOL ReparentWnd(HWND parent) override;
    // A node that moved into another tree is freed with that tree.
    BOOL AdoptRootMemoryManager() override;
    BOOL ReparentToContainer(ITkLNContainer* container) override;

private:
    ITkLNContainer* m_container;
};

class ITkParentOfNegotiableChildNode
{
public:
    virtual ~ITkParentOfNegotiableChildNode() {}
    virtual BOOL RenegotiateChild(TkLayoutNode* child, TkLayoutNode* requester) = 0;
};

// The request climbs to the topmost negotiating parent, which lays itself
// out again; the tree is recomputed, not realised (the caller realises).
class TkParentOfNegotiableChildNode : public ITkParentOfNegotiableChildNode
{
public:
    BOOL RenegotiateChild(TkLayoutNode* child, TkLayoutNode* requester) override;
};

class ITkUndoableNode
{
public:
    virtual ~ITkUndoableNode() {}
    virtual int RemoveUndoable(TkLayoutNode* child) = 0;
    virtual int UndoRemove() = 0;
    virtual int UndoRemoveOf(TkLayoutNode* child) = 0;
};

class TkDefUndoableNode : public ITkUndoableNode
{
public:
    TkDefUndoableNode() : m_removed(NULL), m_predecessor(NULL) {}
    int RemoveUndoable(TkLayoutNode* child) override;
    int UndoRemove() override;
    int UndoRemoveOf(TkLayoutNode* child) override;

private:
    TkLayoutNode* m_removed;
    TkLayoutNode* m_predecessor;
};
