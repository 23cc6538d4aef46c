// TkMDIChildWnd: the toolkit's MDI child frame. Its non-client messages pass
// through a tree of message filters (caption buttons, caption double-click,
// context menu, the system-command extension) before the default handling,
// and it hands activation back and forth with a dockable frame of the main
// frame that stands in for the active child.
#pragma once

#include "toolkit/filters/TkMsgFilter.h"

#include <memory>

#include <afxext.h>

class TkMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(TkMDIChildWnd)
public:
    TkMDIChildWnd();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // With a menu bar in the main frame the child names the menu the bar
    // shows while it is active (its template's); else it lends the main
    // window its template's shared menu.
    BOOL LoadFrame(UINT resourceId,
                   DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    // Keeps altMenu for RefreshFrameMenu.
    void OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu) override;
    virtual void RefreshFrameMenu(CWnd* activateWnd);
    // flags: TkCaptionFeatures' feature flags.
    virtual void CreateMsgFilters(UINT flags);

    TkMsgFilter* GetFilterRoot() const { return m_pFilterRoot.get(); }
    UINT GetMenuId() const { return m_nMenuId; }
    BOOL UsesMenuBar() const { return m_bUsesMenuBar; }

protected:
    // The main frame, when it is a toolkit MDI frame.
    class TkMDIFrameWnd* GetTkMDIFrame() const;
    // The application's main window when it is a toolkit MDI frame with a
    // menu bar.
    static TkMDIFrameWnd* GetMainFrameWithMenuBar();
    // Shows this child active, its view and title, as a click on it does.
    void ActivateAsClicked();

    LRESULT OnFilteredNcMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    LRESULT OnChildActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIActivateMessage(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    UINT m_nMenuId;
    BOOL m_bUsesMenuBar;
    HMENU m_hAltMenu;
    TkMsgFilter::DescriptorTable m_descriptors;
    // Last, so that it goes first, before the descriptors it was given.
    std::unique_ptr<TkMsgFilter> m_pFilterRoot;
};
