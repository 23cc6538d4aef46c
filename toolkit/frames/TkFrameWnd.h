// TkFrameWnd: the toolkit's single-document frame, and the base of docking
// views' frames: it docks bars into TkDockBars and floats them in
// TkMiniDockFrameWnds between their hooks (TkDockSite), and offers the
// operations through which a hosted frame takes part in its main frame's
// menus and caption.
#pragma once

#include "toolkit/bars/TkDockSite.h"
#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/frames/TkPaintedCaption.h"

#include <afxext.h>

class TkCommandPlugIn;
class TkControlBarManager;
class TkFrameMenuBar;
class TkFrameMenuPlugIn;

class TkFrameWnd : public CFrameWnd, public TkDockSite, public TkFrameBarState,
                   public TkPaintedCaption
{
    DECLARE_DYNCREATE(TkFrameWnd)
public:
    TkFrameWnd();
    ~TkFrameWnd() override;

    // The window shows the menu of the resource when there is one and no
    // menu bar (never a child window: its menu handle is its id); with a
    // menu bar the menu is kept as the frame's own.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    // The command plug-in first (the top-level toolkit frame's when this
    // frame has none), then the frame.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // The menu plug-in first.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The menu plug-in leaves first.
    BOOL DestroyWindow() override;
    void RecalcLayout(BOOL notify = TRUE) override;
    void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) override;

    // Only the own menu, for the frame's resource id.
    virtual HMENU GetMenuForId(UINT menuId);
    virtual HMENU GetDefaultMenu();
    virtual TkCommandPlugIn* CreateCommandPlugIn(DWORD_PTR first, DWORD_PTR second,
                                                 CRuntimeClass* plugInClass, DWORD_PTR third);
    TkCommandPlugIn* GetCommandPlugIn() const { return m_pCommandPlugIn; }
    BOOL HasMenuBar() const { return m_pMenuBar != NULL; }
    TkFrameMenuBar* GetMenuBar() const { return m_pMenuBar; }
    // Without a menu bar, bitmap menus come from bmpMenusFactory.
    void EnableBmpMenus(BOOL enable, BOOL second, TkMenuPlugInFactory bmpMenusFactory = NULL);

    CDockBar* CreateDockBar() override;
    CFrameWnd* GetSiteFrame() override { return this; }
    CFrameWnd* GetBarStateFrame() override { return this; }
    using TkFrameBarState::LoadBarState;
    using TkFrameBarState::SaveBarState;
    using TkFrameBarState::SetDockState;
    using TkFrameBarState::GetDockState;
    using TkDockSite::DockControlBar;
    using TkDockSite::ReDockControlBar;
    using TkDockSite::FloatControlBar;
    using TkDockSite::ShowControlBar;
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
    // Docks the bar at (column, row) of the dock bar of that id (else the
    // side of its alignment), its proportion and length committed first.
    virtual void DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row,
                                  float proportion, int length);
    // Shows altMenu, or the frame's own menu, as the class library's frame does.
    virtual void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU altMenu);
    void OnUpdateFrameMenu(HMENU altMenu) override;
    // Whether the frame floats with the bar that holds it.
    virtual BOOL IsFloating();
    // Switches the frame's caption features (filters); none here.
    virtual void SetFeatures(UINT flags);
    // While tool bars are customised, a layout waiting behind the sheet.
    virtual void OnEnterIdle(UINT reason, CWnd* window);
    // The manager whose customising the frame follows: its own, else (a
    // docking view's frame) that of the toolkit frame it lies in.
    TkControlBarManager* GetCustomizeManager();

    // Set when OnClose starts.
    BOOL m_bClosing;
    // Set by the owner right after construction; not owned.
    TkFrameMenuBar* m_pMenuBar;
    BOOL m_bBmpMenus;
    BOOL m_bBmpMenus2;
    UINT m_nFrameMenuId;
    TkMenuPlugInFactory m_pfnBmpMenus;

protected:
    // The menu plug-in: the menu-bar feature with a menu bar, else bitmap
    // menus when they are enabled.
    int OnCreate(LPCREATESTRUCTA cs);
    void OnClose();
    void OnSysColorChange();
    // The caption messages: painted while the painted caption is on.
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
    CFrameWnd* GetCaptionFrame() override { return this; }
    LRESULT CaptionDefault(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);
    void OnWorkspaceCommand(UINT id);
    void OnUpdateWorkspaceCommand(CCmdUI* cmdUI);
    // Hit tests, the Alt-key menu and enabling while tool bars are customised.
    LRESULT OnCustomizeMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    TkCommandPlugIn* m_pCommandPlugIn;
    TkFrameMenuPlugIn* m_pMenuPlugIn;
    CRect m_rectLayout;
    HMENU m_hOwnFrameMenu;
};
