#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WinApp.h"

namespace
{
const char kMdiClientClass[] = "MDICLIENT";
const DWORD kMdiClientStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
const char kMaximizedSeparator[] = " - [";
const int kMaximizedSeparatorLength = sizeof(kMaximizedSeparator) - 1;
}

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
    ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTileHorz)
    ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTileVert)
    ON_COMMAND(ID_WINDOW_ARRANGE, OnWindowArrange)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(NULL)
{
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA cs, CCreateContext*)
{
    return CreateClient(cs, CMenu::FromHandle(GetWindowMenuPopup(cs->hMenu)));
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU menuBar)
{
    int count = menuBar ? ::GetMenuItemCount(menuBar) : 0;
    return count >= 2 ? ::GetSubMenu(menuBar, count - 2) : NULL;
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTA, CMenu* windowMenu)
{
    CLIENTCREATESTRUCT client = { windowMenu->GetSafeHmenu(), AFX_IDM_FIRST_MDICHILD };
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, kMdiClientClass, NULL,
                                        kMdiClientStyle, 0, 0, 0, 0, m_hWnd,
                                        (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST,
                                        AfxGetInstanceHandle(), &client);
    return m_hWndMDIClient != NULL;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    BOOL isMaximized = FALSE;
    HWND active = m_hWndMDIClient ? (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                          (LPARAM)&isMaximized)
                                  : NULL;
    CWnd* child = CWnd::FromHandlePermanent(active);
    if (!child || !child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        child = NULL;
    if (maximized)
        *maximized = child && isMaximized;
    return static_cast<CMDIChildWnd*>(child);
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDICascade()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
}

void CMDIFrameWnd::MDICascade(int type)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, type, 0);
}

void CMDIFrameWnd::MDITile()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0);
}

void CMDIFrameWnd::MDITile(int type)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDITILE, type, 0);
}

void CMDIFrameWnd::MDIIconArrange()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* child)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu)
{
    HMENU previous = (HMENU)::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                           (WPARAM)frameMenu->GetSafeHmenu(),
                                           (LPARAM)windowMenu->GetSafeHmenu());
    ::DrawMenuBar(m_hWnd);
    return CMenu::FromHandle(previous);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

// The active child (its view, its document, itself) comes first.
BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CommandFrameCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMDIFrameWnd::CommandFrameCmdMsg(UINT id, int code, void* extra,
                                      AFX_CMDHANDLERINFO* handlerInfo)
{
    CFrameWnd* first = GetCommandFrame();
    if (!first)
        return FALSE;
    CFrameWnd* previous = AfxSetRoutingFrame(first);
    BOOL handled = first->OnCmdMsg(id, code, extra, handlerInfo);
    AfxSetRoutingFrame(previous);
    return handled;
}

CFrameWnd* CMDIFrameWnd::GetCommandFrame()
{
    return MDIGetActive();
}

LRESULT CMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam)
{
    lParam = CommandHelpId(lParam);
    CFrameWnd* first = GetCommandFrame();
    if (first && first->SendMessage(WM_COMMANDHELP, wParam, lParam))
        return TRUE;
    return CFrameWnd::OnCommandHelp(wParam, lParam);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU altMenu)
{
    CMDIChildWnd* child = MDIGetActive();
    if (child)
    {
        child->OnUpdateFrameMenu(TRUE, child, altMenu);
        return;
    }
    HMENU menu = altMenu ? altMenu : m_hMenuDefault;
    if (menu)
        MDISetMenu(CMenu::FromHandle(menu), CMenu::FromHandle(GetWindowMenuPopup(menu)));
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    if (::TranslateMDISysAccel(m_hWndMDIClient, msg))
        return TRUE;
    CMDIChildWnd* child = MDIGetActive();
    HACCEL accelerators = child && child->m_hAccelTable ? child->m_hAccelTable : m_hAccelTable;
    return accelerators && ::TranslateAcceleratorA(m_hWnd, accelerators, msg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    BOOL maximized = FALSE;
    CMDIChildWnd* child = MDIGetActive(&maximized);
    // The system adds a maximised child's name to whatever caption is set
    // ("title - [child]"): the caption is ours while it begins with the title.
    if (maximized)
    {
        CString current;
        GetWindowText(current);
        if (current.Left(m_strTitle.GetLength() + kMaximizedSeparatorLength) !=
            m_strTitle + kMaximizedSeparator)
            SetWindowText(m_strTitle);
        return;
    }
    CDocument* doc = child ? child->GetActiveDocument() : NULL;
    UpdateFrameTitleForDocument(addToTitle && doc ? (LPCSTR)doc->GetTitle() : NULL);
}

void CMDIFrameWnd::OnWindowCascade()
{
    MDICascade();
}

void CMDIFrameWnd::OnWindowTileHorz()
{
    MDITile(MDITILE_HORIZONTAL);
}

void CMDIFrameWnd::OnWindowTileVert()
{
    MDITile(MDITILE_VERTICAL);
}

void CMDIFrameWnd::OnWindowArrange()
{
    MDIIconArrange();
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* cmdUI)
{
    cmdUI->Enable(MDIGetActive() != NULL);
}

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(NULL)
{
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                          CMDIFrameWnd* parentWnd, CCreateContext* context)
{
    if (!parentWnd)
        parentWnd = static_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!parentWnd || !parentWnd->m_hWndMDIClient)
        return FALSE;
    m_strTitle = windowName;
    int width = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    int height = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    // The MDI client wraps the context into the MDICREATESTRUCT of WM_CREATE.
    return CreateEx(WS_EX_MDICHILD, className, windowName, style | WS_CHILD, rect.left,
                    rect.top, width, height, parentWnd->m_hWndMDIClient, NULL, context);
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd,
                             CCreateContext* context)
{
    CString title;
    LPCSTR className = LoadFrameResources(resourceId, title);
    CDocTemplate* docTemplate = context ? context->m_pNewDocTemplate : NULL;
    if (docTemplate && docTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)))
    {
        CMultiDocTemplate* multi = static_cast<CMultiDocTemplate*>(docTemplate);
        m_hMenuShared = multi->m_hMenuShared;
        m_hAccelTable = multi->m_hAccelTable;
    }
    return Create(className, title, style, rectDefault, static_cast<CMDIFrameWnd*>(parentWnd),
                  context);
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // Through the client, which then activates another child.
    MDIDestroy();
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = CWnd::FromHandlePermanent(::GetParent(client));
    if (!frame || !frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return NULL;
    return static_cast<CMDIFrameWnd*>(frame);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
    {
        // A new child takes the state of the one it replaces: maximised stays maximised.
        BOOL maximized = FALSE;
        CMDIFrameWnd* frame = GetMDIFrame();
        CMDIChildWnd* active = frame ? frame->MDIGetActive(&maximized) : NULL;
        if (active && active != this && maximized)
            cmdShow = SW_SHOWMAXIMIZED;
        else
            cmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    }
    ShowWindow(cmdShow);
    if (cmdShow != SW_HIDE)
        MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    if ((GetStyle() & FWS_ADDTOTITLE) && addToTitle && doc)
    {
        CString current;
        GetWindowText(current);
        if (current != doc->GetTitle())
            SetWindowText(doc->GetTitle());
    }
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame)
        frame->OnUpdateFrameTitle(addToTitle);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    // A child giving way to another leaves the menu to that one.
    if (!frame || (!active && activateWnd))
        return;
    HMENU menu = active && m_hMenuShared ? m_hMenuShared : frame->m_hMenuDefault;
    if (altMenu)
        menu = altMenu;
    if (!menu)
        return;
    frame->MDISetMenu(CMenu::FromHandle(menu),
                      CMenu::FromHandle(frame->GetWindowMenuPopup(menu)));
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCTA cs)
{
    MDICREATESTRUCTA* mdi = static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams);
    return OnCreateHelper(cs, reinterpret_cast<CCreateContext*>(mdi->lParam));
}

// Sent to the child that loses the activation and to the one that gains it.
LRESULT CMDIChildWnd::OnMDIActivateMessage(WPARAM, LPARAM lParam)
{
    BOOL active = (HWND)lParam == m_hWnd;
    CView* view = GetActiveView();
    if (!active && view)
        view->OnActivateView(FALSE, view, view);
    OnUpdateFrameMenu(active, CWnd::FromHandle((HWND)lParam), NULL);
    LRESULT result = Default();
    if (active && view)
        view->OnActivateView(TRUE, view, view);
    OnUpdateFrameTitle(TRUE);
    return result;
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    Default();
}

void CMDIChildWnd::OnSetFocus(CWnd* oldWnd)
{
    Default();
    CFrameWnd::OnSetFocus(oldWnd);
}
