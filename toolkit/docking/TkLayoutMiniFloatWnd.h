// TkLayoutMiniFloatWnd: the small tool window a floating layout tree lives
// in. It carries a docking listener of its own, so the floating tree can be
// dragged again by its caption or grippers. Closing it with the mouse only
// hides it (the tree stays); a close chosen from the keyboard is the main
// window's.
#pragma once

#include "toolkit/docking/TkDockingListener.h"

#include <afxwin.h>
#include <afxext.h>

class TkLayoutMiniFloatWnd : public CMiniFrameWnd
{
public:
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_THICKFRAME | MFS_SYNCACTIVE.
    static constexpr DWORD kStyle = 0x80C80500;

    TkLayoutMiniFloatWnd();
    ~TkLayoutMiniFloatWnd() override;

    // Made hidden and empty; withCloseItem FALSE leaves Close out of the
    // system menu.
    virtual BOOL Create(CWnd* parent, TkLayoutNode* root, LPCSTR title, BOOL hideOnClose,
                        BOOL withCloseItem);
    // Shows the window at rect and, the first time, gives it its listener.
    virtual BOOL PlaceAndAttach(const CRect& rect, TkLNDockingMgr* manager);
    virtual void DetachListener();
    virtual TkDockingListener* CreateDockingListener();

    TkLayoutNode* GetRootNode() const { return m_root; }
    TkDockingListener* GetListener() const { return m_listener; }

protected:
    void OnDestroy();
    void OnClose();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSysCommand(UINT id, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    TkLayoutNode* m_root;
    TkDockingListener* m_listener;
    BOOL m_hideOnClose;
};
