// TkMDIFrameWnd: the toolkit's MDI main frame. A tree of message filters
// sees the frame's non-client messages first; a dockable frame can stand in
// for the active MDI child (it takes commands, help and the title first);
// views docked without a place take the sides of a fixed dock order in turn.
// Bars dock into TkDockBars and float in mini frames or in MDI children of
// the frame ("Float In Main Window"), always between their before and after
// hooks (TkMDIFrameDock.cpp).
#pragma once

#include "toolkit/bars/TkDockSite.h"
#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/frames/TkPaintedCaption.h"
#include "toolkit/filters/TkMsgFilter.h"

#include <afxext.h>

#include <memory>
#include <vector>

class TkCommandPlugIn;
class TkFrameMenuBar;

class TkMDIFrameWnd : public CMDIFrameWnd, public TkDockSite, public TkFrameBarState,
                      public TkPaintedCaption
{
    DECLARE_DYNAMIC(TkMDIFrameWnd)
public:
    // Placement and size records of GetNextDockPosition.
    struct DockPlacement
    {
        int row;
        int column;
        UINT flags;
    };
    struct DockSize
    {
        float proportion;
        int length;
        int reserved;
    };
    // Bits of DockPlacement::flags.
    enum
    {
        placeFirst = 1,
        placeNewRow = 4,
    };

    TkMDIFrameWnd();
    ~TkMDIFrameWnd() override;

    // Without a menu bar the window shows the menu of the resource; with one
    // the menu is kept as the frame's own and shown in the bar.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The menu plug-in first.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The menu plug-in leaves first.
    BOOL DestroyWindow() override;
    // The menu bar keeps a border request that asks for nothing from hiding.
    BOOL NegotiateBorderSpace(UINT borderCmd, LPRECT borderRect) override;
    // The command frame first, then the command plug-in, then the frame.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CFrameWnd* GetActiveFrame() override;
    void RecalcLayout(BOOL notify = TRUE) override;
    void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnUpdateFrameMenu(HMENU altMenu) override;

    // The active view (of the active frame) hears that the frame was
    // activated; a frame that lost the foreground on the way takes it back.
    virtual void ActivateView(UINT state, CWnd* other, BOOL minimized);
    // While tool bars are customised, a layout waiting behind the sheet.
    virtual void OnEnterIdle(UINT reason, CWnd* window);

    // NULL goes back to the MDI children.
    virtual void ActivateDockedFrame(CFrameWnd* frame);
    virtual void DeactivateDockedFrame(BOOL reactivateMDI);
    // Bit 0 switches the system-command extension on; the rest are on.
    virtual void CreateMsgFilters(UINT flags);
    virtual void GetNextDockPosition(UINT& dockBarId, DockPlacement& placement, DockSize& size);

    // Docking (TkMDIFrameDock.cpp; the rest is TkDockSite's).
    CDockBar* CreateDockBar() override;
    void EnableDocking(DWORD dockStyle);
    using TkDockSite::DockControlBar;
    using TkDockSite::ReDockControlBar;
    using TkDockSite::FloatControlBar;
    using TkDockSite::ShowControlBar;
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
    // Docks at a saved place with the size record's length and proportion.
    virtual void DockControlBarEx(CControlBar* bar, const DockPlacement& placement, UINT dockBarId,
                                  const DockSize& size);
    // A negative coordinate takes the next cascade place.
    void FloatControlBarInMDIChild(CControlBar* bar, int x, int y, DWORD style) override;
    // An MDI child whose float dock bar (AFX_IDW_DOCKBAR_FLOAT) will hold the
    // bar; NULL when the child's window cannot be loaded.
    CMDIChildWnd* CreateFloatingMDIChild(DWORD style, CControlBar* bar) override;
    CFrameWnd* GetHostedFrame(CControlBar* bar) override;
    void SetHostedFrameStyle(CFrameWnd* frame, BOOL floating) override;
    void FitHostedFrame(CFrameWnd* frame) override;
    CFrameWnd* GetSiteFrame() override { return this; }
    CFrameWnd* GetBarStateFrame() override { return this; }
    using TkFrameBarState::LoadBarState;
    using TkFrameBarState::SaveBarState;
    using TkFrameBarState::SetDockState;
    using TkFrameBarState::GetDockState;


    // A command plug-in of that class (TkCommandPlugIn), owned by the frame;
    // NULL for no class or when it cannot attach.
    virtual TkCommandPlugIn* CreateCommandPlugIn(DWORD_PTR first, DWORD_PTR second,
                                                 CRuntimeClass* plugInClass, DWORD_PTR third);
    TkCommandPlugIn* GetCommandPlugIn() const { return m_pCommandPlugIn; }

    // Menus (TkMDIFrameMenus.cpp).
    virtual HMENU GetDefaultMenu();
    // Shows that menu in the menu bar; 0 or -1 the current menu id.
    virtual void SetMenuBarMenu(UINT menuId);
    // The menu bar's buttons of a maximised child follow the children.
    virtual void RefreshMDIButtons();
    // Hands the "Window" popup of the menu bar's menu to the MDI client.
    virtual void SetWindowMenuPopup();
    virtual TkFrameMenuBar* GetMenuBar();
    // The own menu for the frame's id, a template's shared menu, else one of
    // LoadMenus'; NULL for none.
    virtual HMENU GetMenuForId(UINT menuId);
    // Bitmap menus are made when there is no menu bar, by bmpMenusFactory.
    void EnableBmpMenus(BOOL enable, BOOL second, TkMenuPlugInFactory bmpMenusFactory = NULL);
    BOOL HasMenuBar() const { return m_pMenuBar != NULL; }
    // Loads count menus for the menu bar: menuId and count - 1 more UINT ids;
    // FALSE at the first that fails.
    BOOL LoadMenus(int count, UINT menuId, ...);
    // Set by the owner right after construction; not owned.
    TkFrameMenuBar* m_pMenuBar;
    BOOL m_bBmpMenus;
    BOOL m_bBmpMenus2;
    TkMenuPlugInFactory m_pfnBmpMenus;
    HMENU m_hOwnMenu;
    UINT m_nCurrentMenuId;
    UINT m_nFrameMenuId;

    CRuntimeClass* m_pDockBarClass;
    CRuntimeClass* m_pFloatingMDIChildClass;
    // Where the next bar floated in the main window without a place goes:
    // from here in steps, back here past the client area's far side.
    static constexpr int kCascadeStart = 30;
    int m_nNextCascadeX;
    int m_nNextCascadeY;

    CFrameWnd* GetActiveDockedFrame() const { return m_pActiveDockedFrame; }
    TkMsgFilter* GetFilterRoot() const { return m_pFilterRoot.get(); }
    const CRect& GetLayoutRect() const { return m_rectLayout; }

protected:
    // The active docked frame, else the active child.
    CFrameWnd* GetCommandFrame() override;
    // Without a menu bar, the second-last popup of the window's menu lists
    // the children.
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;

    LRESULT OnFilteredNcMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecheckStayActive(WPARAM wParam, LPARAM lParam);
    // The foreground window is this frame or a window it owns.
    BOOL IsForegroundOurs() const;
    LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
    CFrameWnd* GetCaptionFrame() override { return this; }
    LRESULT CaptionDefault(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The menu plug-in: the menu-bar feature with a menu bar, else bitmap
    // menus when they are enabled.
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnSysColorChange();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    LRESULT OnActivateAppMessage(WPARAM wParam, LPARAM lParam);
    // Hit tests, the Alt-key menu and enabling while tool bars are customised.
    LRESULT OnCustomizeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);
    void OnWorkspaceCommand(UINT id);
    void OnUpdateWorkspaceCommand(CCmdUI* cmdUI);
    // "Float In Main Window" for bars that offer it; "Allow Docking" greyed
    // while a bar floats in the main window.
    LRESULT OnAddContextMenuItems(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CRect m_rectLayout;
    CFrameWnd* m_pActiveDockedFrame;
    // Set while ActivateView brings the frame forward.
    BOOL m_bActivating;
    TkMsgFilter::DescriptorTable m_descriptors;
    std::vector<UINT> m_dockOrder;
    int m_nDockCursor;
    TkCommandPlugIn* m_pCommandPlugIn;
    TkFrameMenuPlugIn* m_pMenuPlugIn;
    CMap<UINT, UINT, HMENU, HMENU> m_menuMap;
    // Last, so that it goes first, as the window's filters did before.
    std::unique_ptr<TkMsgFilter> m_pFilterRoot;
};
