// Containers: the window a whole layout tree is drawn in. Node coordinates
// are the container's client coordinates, unless a container shifts them
// (the Pre/Post hooks). TkLNHwndContainer is the container of a real window.
#pragma once

#include <afxwin.h>

class TkLayoutNode;

class ITkLNContainer
{
public:
    virtual ~ITkLNContainer() {}
    virtual BOOL ClientToScreenRect(CRect& rect) = 0;
    virtual BOOL ClientToScreenPoint(CPoint& point) = 0;
    virtual BOOL ScreenToClientRect(CRect& rect) = 0;
    virtual BOOL ScreenToClientPoint(CPoint& point) = 0;
    virtual BOOL PreNodeRectToScreen(CRect& rect) = 0;
    virtual BOOL PreNodePointToScreen(CPoint& point) = 0;
    virtual BOOL PostScreenRectToNode(CRect& rect) = 0;
    virtual BOOL PostScreenPointToNode(CPoint& point) = 0;
    virtual BOOL NodeRectToScreen(CRect& rect) = 0;
    virtual BOOL NodePointToScreen(CPoint& point) = 0;
    virtual BOOL ScreenRectToNode(CRect& rect) = 0;
    virtual BOOL ScreenPointToNode(CPoint& point) = 0;
    virtual BOOL GetNodeOffset(CPoint& offset) = 0;
    virtual BOOL InvalidateContainer(BOOL erase) = 0;
    virtual BOOL LockUpdates(BOOL lock) = 0;
    virtual BOOL ShowContainer(BOOL show) = 0;
    virtual BOOL GetContainerClientRect(CRect& rect) = 0;
    virtual BOOL GetContainerWindowRect(CRect& rect) = 0;
    virtual BOOL GetFrameBorders(int* left, int* top, int* right, int* bottom) = 0;
    virtual BOOL Place(const CRect& screenRect) = 0;
    virtual void RecalcFrame(BOOL notify) = 0;
    virtual ITkLNContainer* CloneContainer() = 0;
    virtual ITkLNContainer* CreateFloatingContainer(TkLayoutNode* node, LPCSTR title,
                                                    BOOL hideOnClose, BOOL withCloseItem) = 0;
    virtual BOOL IsVisible() { return TRUE; }
};

class TkLNHwndContainer : public ITkLNContainer
{
public:
    explicit TkLNHwndContainer(HWND window);
    explicit TkLNHwndContainer(CWnd* window);

    HWND GetContainerWnd() const { return m_hWnd; }

    BOOL ClientToScreenRect(CRect& rect) override;
    BOOL ClientToScreenPoint(CPoint& point) override;
    BOOL ScreenToClientRect(CRect& rect) override;
    BOOL ScreenToClientPoint(CPoint& point) override;
    BOOL PreNodeRectToScreen(CRect& rect) override;
    BOOL PreNodePointToScreen(CPoint& point) override;
    BOOL PostScreenRectToNode(CRect& rect) override;
    BOOL PostScreenPointToNode(CPoint& point) override;
    BOOL NodeRectToScreen(CRect& rect) override;
    BOOL NodePointToScreen(CPoint& point) override;
    BOOL ScreenRectToNode(CRect& rect) override;
    BOOL ScreenPointToNode(CPoint& point) override;
    BOOL GetNodeOffset(CPoint& offset) override;
    BOOL InvalidateContainer(BOOL erase) override;
    BOOL LockUpdates(BOOL lock) override;
    BOOL ShowContainer(BOOL show) override;
    BOOL GetContainerClientRect(CRect& rect) override;
    BOOL GetContainerWindowRect(CRect& rect) override;
    BOOL GetFrameBorders(int* left, int* top, int* right, int* bottom) override;
    BOOL Place(const CRect& screenRect) override;
    void RecalcFrame(BOOL notify) override;
    ITkLNContainer* CloneContainer() override;
    // A floating container with a new float window owned by this one's.
    ITkLNContainer* CreateFloatingContainer(TkLayoutNode* node, LPCSTR title, BOOL hideOnClose,
                                            BOOL withCloseItem) override;
    virtual HWND SetContainerParent(HWND parent);
    virtual ITkLNContainer* NewFloatingContainer(HWND window);

protected:
    // A container that makes its window later names it here.
    void SetContainerWnd(HWND window) { m_hWnd = window; }

private:
    HWND m_hWnd;
};

// While set (by the drag code), frames are not laid out again on every move.
void TkSuspendFrameRecalc(BOOL suspend);
BOOL TkIsFrameRecalcSuspended();
// Lays out the main window and every other frame that holds a view.
void RecalcAllFrames(BOOL notify);
