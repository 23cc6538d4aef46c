// CMDIFrameWnd: a main frame whose pane is the MDI client, the window that
// holds the document frames (CMDIChildWnd). The active child's view and
// document take commands first; the window menu lists the children.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    // The MDI client.
    HWND m_hWndMDIClient;

    // Makes the MDI client; windowMenu is the popup that lists the children.
    virtual BOOL CreateClient(LPCREATESTRUCTA cs, CMenu* windowMenu);
    // The popup of the frame's menu that lists the children: the second last.
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);

    CMDIChildWnd* MDIGetActive(BOOL* maximized = NULL) const;
    void MDIActivate(CWnd* child);
    void MDICascade();
    void MDICascade(int type);
    void MDITile();
    void MDITile(int type);
    void MDIIconArrange();
    void MDIMaximize(CWnd* child);
    void MDIRestore(CWnd* child);
    void MDINext();
    // Puts frameMenu on the menu bar and windowMenu as the list of children;
    // gives the menu shown before.
    CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    // The active child chooses; without one altMenu (or the frame's own) is shown.
    void OnUpdateFrameMenu(HMENU altMenu) override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;
    // The frame that takes commands and help before this one: the active child.
    virtual CFrameWnd* GetCommandFrame();
    // The command frame's answer to a command, routed with it as the routing frame.
    BOOL CommandFrameCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
    // The command frame answers first.
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

    void OnWindowCascade();
    void OnWindowTileHorz();
    void OnWindowTileVert();
    void OnWindowArrange();
    void OnUpdateMDIWindowCmd(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Made inside the main window's MDI client.
    BOOL Create(LPCSTR className, LPCSTR windowName,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CMDIFrameWnd* parentWnd = NULL,
                CCreateContext* context = NULL);
    BOOL LoadFrame(UINT resourceId,
                   DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    BOOL DestroyWindow() override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int cmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The main frame translates the keys of its children.
    BOOL PreTranslateMessage(MSG* msg) override;

    // The menu and accelerators the main frame shows while this child is
    // active (its template's); NULL keeps the main frame's own.
    HMENU m_hMenuShared;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
public:
    // Puts altMenu, else this child's menu (active), or the main frame's
    // (inactive, with no other child taking over: activateWnd NULL) in place.
    virtual void OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu);

protected:

    int OnCreate(LPCREATESTRUCTA cs);
    LRESULT OnMDIActivateMessage(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* oldWnd);
    DECLARE_MESSAGE_MAP()
};
