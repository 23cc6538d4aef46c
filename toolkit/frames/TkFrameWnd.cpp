#include "toolkit/frames/TkFrameWnd.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"
#include "toolkit/frames/TkCommandPlugIn.h"
#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/frames/TkFrameCustomizing.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkWorkspaceCommands.h"

namespace
{
// The menu bar asks for a popup of a menu by id (wParam) and index (lParam).
const UINT kGetMenuMessage = ::RegisterWindowMessageA("WM_TKGETMENU");
}

IMPLEMENT_DYNCREATE(TkFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(TkFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
    ON_MESSAGE(WM_NCPAINT, OnNcPaintMessage)
    ON_MESSAGE(WM_SETTEXT, OnSetTextMessage)
    ON_WM_CLOSE()
    ON_WM_SYSCOLORCHANGE()
    ON_REGISTERED_MESSAGE(kGetMenuMessage, OnGetMenu)
    ON_MESSAGE(WM_NCHITTEST, OnCustomizeMessage)
    ON_MESSAGE(WM_ENABLE, OnCustomizeMessage)
    ON_MESSAGE(WM_SYSCOMMAND, OnCustomizeMessage)
    ON_WM_ENTERIDLE()
    ON_TK_WORKSPACE_COMMANDS()
END_MESSAGE_MAP()

TkFrameWnd::TkFrameWnd()
    : TkPaintedCaption(TRUE), m_bClosing(FALSE), m_pMenuBar(NULL), m_bBmpMenus(FALSE), m_bBmpMenus2(FALSE),
      m_nFrameMenuId(0), m_pfnBmpMenus(NULL), m_pCommandPlugIn(NULL), m_pMenuPlugIn(NULL), m_rectLayout(0, 0, 0, 0),
      m_hOwnFrameMenu(NULL)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(TkMiniDockFrameWnd);
}

TkFrameWnd::~TkFrameWnd()
{
    if (m_hOwnFrameMenu)
        ::DestroyMenu(m_hOwnFrameMenu);
    delete m_pCommandPlugIn;
    delete m_pMenuPlugIn;
}

BOOL TkFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd, CCreateContext* context)
{
    m_nFrameMenuId = resourceId;
    CString title;
    LPCSTR className = LoadFrameResources(resourceId, title);
    HINSTANCE resources = AfxGetResourceHandle();
    LPCSTR name = MAKEINTRESOURCEA(resourceId);
    BOOL menuExists = ::FindResourceA(resources, name, (LPCSTR)RT_MENU) != NULL;
    BOOL showMenu = menuExists && !HasMenuBar() && !(style & WS_CHILD);
    if (!Create(className, title, style, rectDefault, parentWnd, showMenu ? name : NULL, 0, context))
        return FALSE;
    if (HasMenuBar() && menuExists)
        m_hOwnFrameMenu = ::LoadMenuA(resources, name);
    LoadAccelTable(name);
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL TkFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    TkCommandPlugIn* plugIn = m_pCommandPlugIn;
    CWnd* top = plugIn ? NULL : GetTopLevelParent();
    if (top && top != this && top->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)))
        plugIn = static_cast<TkMDIFrameWnd*>(top)->GetCommandPlugIn();
    else if (top && top != this && top->IsKindOf(RUNTIME_CLASS(TkFrameWnd)))
        plugIn = static_cast<TkFrameWnd*>(top)->GetCommandPlugIn();
    BOOL result = FALSE;
    if (TkCommandPlugIn::Route(plugIn, id, code, extra, handlerInfo, result))
        return result;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

int TkFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    m_pMenuPlugIn = PlugInMenus(this, m_pMenuBar, m_bBmpMenus, m_pfnBmpMenus);
    TkFrameCustomizing::ShareBmpMgr(m_pControlBarManager, m_pMenuPlugIn, m_bBmpMenus);
    return 0;
}

BOOL TkFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_pMenuPlugIn && m_pMenuPlugIn->PreTranslateFrameMessage(msg))
        return TRUE;
    if (TkFrameCustomizing::EatsSysCommand(GetCustomizeManager(), msg->message, msg->wParam, SC_KEYMENU))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

BOOL TkFrameWnd::DestroyWindow()
{
    delete m_pMenuPlugIn;
    m_pMenuPlugIn = NULL;
    return CFrameWnd::DestroyWindow();
}

void TkFrameWnd::RecalcLayout(BOOL notify)
{
    CFrameWnd::RecalcLayout(notify);
    TkFrameBarState::AfterLayout(this, m_rectLayout);
}

void TkFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state)
{
    CFrameWnd::OnSetPreviewMode(preview, state);
    if (!preview)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}


HMENU TkFrameWnd::GetMenuForId(UINT menuId)
{
    return menuId == m_nFrameMenuId ? m_hOwnFrameMenu : NULL;
}

HMENU TkFrameWnd::GetDefaultMenu()
{
    return HasMenuBar() ? m_hOwnFrameMenu : m_hMenuDefault;
}

TkCommandPlugIn* TkFrameWnd::CreateCommandPlugIn(DWORD_PTR first, DWORD_PTR second,
                                                 CRuntimeClass* plugInClass, DWORD_PTR third)
{
    return TkCommandPlugIn::CreateFor(this, m_pCommandPlugIn, first, second, plugInClass, third);
}

void TkFrameWnd::EnableBmpMenus(BOOL enable, BOOL second, TkMenuPlugInFactory bmpMenusFactory)
{
    m_bBmpMenus = enable;
    m_bBmpMenus2 = second;
    m_pfnBmpMenus = bmpMenusFactory;
}

void TkFrameWnd::OnClose()
{
    m_bClosing = TRUE;
    CFrameWnd::OnClose();
}

void TkFrameWnd::OnSysColorChange()
{
    TkFrameBarState::ChangeSysColors(this);
}

void TkFrameWnd::OnWorkspaceCommand(UINT)
{
}

void TkFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*)
{
}

LRESULT TkFrameWnd::OnGetMenu(WPARAM wParam, LPARAM lParam)
{
    HMENU menu = GetMenuForId((UINT)wParam);
    return menu ? (LRESULT)::GetSubMenu(menu, (int)lParam) : 0;
}

void TkFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dockBar = static_cast<CDockBar*>(dockBarId != 0 ? GetControlBar(dockBarId) : NULL);
    DockControlBar(bar, dockBar, rect);
}

void TkFrameWnd::DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row,
                                  float proportion, int length)
{
    TkControlBar* tkBar = BeginDock(bar);
    CDockBar* dockBar = static_cast<CDockBar*>(GetControlBar(dockBarId));
    if (dockBar == NULL)
        dockBar = SideDockBarFor(bar);
    if (tkBar != NULL)
        tkBar->m_fProportion = proportion;
    DWORD mode = LM_VERTDOCK;
    if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
        mode = LM_MRUWIDTH | LM_HORZ | LM_LENGTHY;
    else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
        mode = LM_HORZDOCK | LM_HORZ | LM_LENGTHY;
    bar->CalcDynamicLayout(length, mode | LM_COMMIT);
    if (dockBar != NULL && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        static_cast<TkDockBar*>(dockBar)->DockControlBarAt(bar, TkDockBar::Position{row, column, 0});
    else if (dockBar != NULL)
        dockBar->DockControlBar(bar);
    if (tkBar != NULL)
        tkBar->AfterDock();
}

CDockBar* TkFrameWnd::CreateDockBar()
{
    return new TkDockBar(FALSE, FALSE);
}

void TkFrameWnd::OnUpdateFrameMenu(BOOL, CWnd*, HMENU altMenu)
{
    CFrameWnd::OnUpdateFrameMenu(altMenu);
}

void TkFrameWnd::OnUpdateFrameMenu(HMENU altMenu)
{
    OnUpdateFrameMenu(TRUE, this, altMenu);
}

BOOL TkFrameWnd::IsFloating()
{
    return FALSE;
}

void TkFrameWnd::SetFeatures(UINT)
{
}

LRESULT TkFrameWnd::CaptionDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT TkFrameWnd::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_bPaintedCaption)
        return OnNcActivateFrame(wParam, lParam);
    TkFrameCustomizing::ClearStayActive(GetCustomizeManager(), this);
    return PaintedNcActivate(wParam, lParam);
}

TkControlBarManager* TkFrameWnd::GetCustomizeManager()
{
    if (m_pControlBarManager)
        return m_pControlBarManager;
    CWnd* frames[] = {GetTopLevelParent(), AfxGetMainWnd()};
    for (CWnd* frame : frames)
    {
        if (!frame || frame == this)
            continue;
        if (frame->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)))
            return static_cast<TkMDIFrameWnd*>(frame)->GetControlBarManager();
        if (frame->IsKindOf(RUNTIME_CLASS(TkFrameWnd)))
            return static_cast<TkFrameWnd*>(frame)->GetControlBarManager();
    }
    return NULL;
}

LRESULT TkFrameWnd::OnCustomizeMessage(WPARAM wParam, LPARAM)
{
    LRESULT result = 0;
    if (TkFrameCustomizing::Answer(GetCustomizeManager(), this, GetCurrentMessage()->message,
                                   wParam, &result))
        return result;
    return Default();
}

void TkFrameWnd::OnEnterIdle(UINT reason, CWnd*)
{
    TkFrameCustomizing::EnterIdle(GetCustomizeManager(), this, reason);
    Default();
}

LRESULT TkFrameWnd::OnNcPaintMessage(WPARAM wParam, LPARAM lParam)
{
    return m_bPaintedCaption ? PaintedNcPaint(wParam, lParam) : Default();
}

LRESULT TkFrameWnd::OnSetTextMessage(WPARAM wParam, LPARAM lParam)
{
    return m_bPaintedCaption ? PaintedSetText(wParam, lParam) : Default();
}
