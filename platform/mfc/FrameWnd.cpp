#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WinApp.h"

#include <dde.h>

namespace
{
// Bars take at most this many deferred positions before the pane.
const int kDeferredWindows = 8;
// Commands from here up are the system's; the frame never greys them.
const UINT kFirstSystemCommand = 0xF000;
}

CCreateContext::CCreateContext()
    : m_pNewViewClass(NULL), m_pCurrentDoc(NULL), m_pNewDocTemplate(NULL), m_pLastView(NULL),
      m_pCurrentFrame(NULL)
{
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect)
{
    const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
    if (layout && layout->hDWP)
    {
        layout->hDWP = ::DeferWindowPos(layout->hDWP, hWnd, NULL, rect->left, rect->top,
                                        rect->right - rect->left, rect->bottom - rect->top,
                                        flags);
        return;
    }
    ::SetWindowPos(hWnd, NULL, rect->left, rect->top, rect->right - rect->left,
                   rect->bottom - rect->top, flags);
}

void AfxRepositionBars(CWnd* parent, UINT first, UINT last, UINT leftOver, UINT flags,
                       LPRECT rectParam, LPCRECT rectClient, BOOL stretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = stretch;
    if (rectClient)
        layout.rect = *rectClient;
    else
        parent->GetClientRect(&layout.rect);
    if (flags != reposQuery)
        layout.hDWP = ::BeginDeferWindowPos(kDeferredWindows);

    HWND leftOverWnd = NULL;
    for (HWND child = ::GetTopWindow(parent->m_hWnd); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        UINT id = ::GetDlgCtrlID(child);
        if (id == leftOver)
            leftOverWnd = child;
        else if (id >= first && id <= last && CWnd::FromHandlePermanent(child))
            ::SendMessageA(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (flags == reposQuery)
    {
        if (stretch)
            *rectParam = layout.rect;
        else
            ::SetRect(rectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        return;
    }
    if (flags == reposExtra && rectParam)
    {
        layout.rect.left += rectParam->left;
        layout.rect.top += rectParam->top;
        layout.rect.right -= rectParam->right;
        layout.rect.bottom -= rectParam->bottom;
    }
    if (leftOverWnd)
        AfxRepositionWindow(&layout, leftOverWnd, &layout.rect);
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

// Declared with CWnd; it lives here, beside the frames it looks for.
CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent())
    {
        if (parent->IsFrameWnd())
            return static_cast<CFrameWnd*>(parent);
    }
    return NULL;
}

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateFrame)
    ON_MESSAGE(WM_ACTIVATEAPP, OnActivateAppFrame)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_MESSAGE(WM_DDE_INITIATE, OnDDEInitiate)
    ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
    ON_MESSAGE(WM_DDE_TERMINATE, OnDDETerminate)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd()
    : m_pFloatingFrameClass(NULL), m_nIdleFlags(0), m_nFlags(0), m_bAutoMenuEnable(TRUE), m_nIDHelp(0), m_hAccelTable(NULL), m_hMenuDefault(NULL),
      m_pViewActive(NULL), m_nIDTracking(0), m_rectBorder(0, 0, 0, 0)
{
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                       CWnd* parentWnd, LPCSTR menuName, DWORD exStyle,
                       CCreateContext* context)
{
    HMENU menu = NULL;
    if (menuName)
    {
        menu = ::LoadMenuA(AfxGetResourceHandle(), menuName);
        if (!menu)
            return FALSE;
    }
    m_strTitle = windowName;
    m_hMenuDefault = menu;
    // A default rectangle lets the system place and size the window.
    int width = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    int height = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!CreateEx(exStyle, className, windowName, style, rect.left, rect.top, width, height,
                  parentWnd->GetSafeHwnd(), menu, context))
    {
        if (menu)
            ::DestroyMenu(menu);
        m_hMenuDefault = NULL;
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd,
                          CCreateContext* context)
{
    CString title;
    LPCSTR className = LoadFrameResources(resourceId, title);
    HINSTANCE resources = AfxGetResourceHandle();
    // A frame without a menu resource is made without a menu.
    LPCSTR menuName = ::FindResourceA(resources, MAKEINTRESOURCEA(resourceId), (LPCSTR)RT_MENU)
                          ? MAKEINTRESOURCEA(resourceId)
                          : NULL;
    if (!Create(className, title, style, rectDefault, parentWnd, menuName, 0, context))
        return FALSE;
    LoadAccelTable(MAKEINTRESOURCEA(resourceId));
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

LPCSTR CFrameWnd::LoadFrameResources(UINT resourceId, CString& title)
{
    m_nIDHelp = resourceId;
    title.LoadString(resourceId);
    int newline = title.Find('\n');
    if (newline >= 0)
        title = title.Left(newline);
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                               (HBRUSH)(COLOR_WINDOW + 1), icon);
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR resourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), resourceName);
    return m_hAccelTable != NULL;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

// Frames live on the heap and go with their window.
void CFrameWnd::PostNcDestroy()
{
    delete this;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    return OnCreateHelper(cs, static_cast<CCreateContext*>(cs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCTA cs, CCreateContext* context)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!OnCreateClient(cs, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context)
{
    if (context && context->m_pNewViewClass)
        return CreateView(context, AFX_IDW_PANE_FIRST) != NULL;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    CWnd* view = static_cast<CWnd*>(context->m_pNewViewClass->CreateObject());
    if (!view)
        return NULL;
    // A view whose window fails has deleted itself through PostNcDestroy.
    if (!view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      id, context))
        return NULL;
    return view;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (GetStyle() & FWS_SNAPTOBARS)
        SnapToBars();
    else
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
}

void CWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags,
                          LPRECT rectParam, LPCRECT rectClient, BOOL stretch)
{
    AfxRepositionBars(this, first, last, leftOver, flags, rectParam, rectClient, stretch);
}

CView* CFrameWnd::GetActiveView() const
{
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old)
        return;
    // Cleared first, so that a view asking during the calls sees no active view.
    m_pViewActive = NULL;
    if (notify && old)
        old->OnActivateView(FALSE, view, old);
    m_pViewActive = view;
    if (notify && view)
        view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? view->GetDocument() : NULL;
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
        cmdShow = IsWindowVisible() ? (IsIconic() ? SW_RESTORE : SW_SHOW) : SW_SHOWNORMAL;
    ShowWindow(cmdShow);
    BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    // The first pane becomes the active view when none is; in a splitter
    // that is the splitter's own first pane.
    if (!GetActiveView())
    {
        CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST);
        while (pane && !pane->IsKindOf(RUNTIME_CLASS(CView)))
            pane = pane->GetDlgItem(AFX_IDW_PANE_FIRST);
        if (pane)
            SetActiveView(static_cast<CView*>(pane), FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (makeVisible)
    {
        ActivateFrame();
        CView* view = GetActiveView();
        if (view)
            view->OnActivateView(TRUE, view, view);
    }
    if (doc)
        OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(addToTitle && doc ? (LPCSTR)doc->GetTitle() : NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR documentName)
{
    CString title;
    if (!documentName)
        title = m_strTitle;
    else
    {
        CString name(documentName);
        if (GetStyle() & FWS_PREFIXTITLE)
            title = m_strTitle.IsEmpty() ? name : name + " - " + m_strTitle;
        else
            title = m_strTitle.IsEmpty() ? name : m_strTitle + " - " + name;
    }
    // Setting the same text again would only make the caption flicker.
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    CView* view = GetActiveView();
    if (view && view->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg);
    return FALSE;
}

BOOL CFrameWnd::IsFrameWnd() const
{
    return TRUE;
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd)
{
    CView* view = GetActiveView();
    if (view)
        view->SetFocus();
    else
        CWnd::OnSetFocus(oldWnd);
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    Default();
    SyncStayActive(state, other);
    // A minimised frame that becomes active shows no view yet.
    CView* view = GetActiveFrame()->GetActiveView();
    if (view && !(state != WA_INACTIVE && minimized))
        view->OnActivateFrame(state, this);
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this && app->m_pDocManager)
    {
        // The main window takes every document along; each is asked once.
        if (!app->SaveAllModified())
            return;
        HWND hWnd = m_hWnd;
        app->CloseAllDocuments(FALSE);
        // Closing its document may already have destroyed (and deleted) the frame.
        if (::IsWindow(hWnd))
            DestroyWindow();
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    if (app && app->m_pMainWnd == this && doc)
    {
        // The main window takes its document along.
        doc->OnCloseDocument();
        return;
    }
    if (doc && doc->m_bAutoDelete)
    {
        // The last frame of a document closes the document, which destroys it.
        BOOL otherFrame = FALSE;
        POSITION position = doc->GetFirstViewPosition();
        while (position)
            otherFrame |= doc->GetNextView(position)->GetParentFrame() != this;
        if (!otherFrame)
        {
            doc->OnCloseDocument();
            return;
        }
        doc->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    // The window destroys the menu it shows: that must be its own, never a
    // menu a document template lent it.
    if (m_hMenuDefault && !(GetStyle() & WS_CHILD) && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    m_hMenuDefault = NULL;
    CWnd::OnDestroy();
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    // The system menu keeps the states the system gives it.
    if (!HIWORD(lParam))
        UpdateMenuCmdUI(CMenu::FromHandle((HMENU)wParam));
    return Default();
}

void CFrameWnd::UpdateMenuCmdUI(CMenu* popup)
{
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = popup->GetMenuItemCount();
    // A handler may remove items: the count is read again each time.
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++)
    {
        state.m_nID = popup->GetMenuItemID(state.m_nIndex);
        // Separators and submenus carry no command of their own.
        if (state.m_nID == 0 || state.m_nID == (UINT)-1)
            continue;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < kFirstSystemCommand);
        state.m_nIndexMax = popup->GetMenuItemCount();
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleLayout)
        RecalcLayout(m_nIdleFlags & idleNotify);
    if (m_nIdleFlags & idleMenu)
    {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(NULL);
    }
    OnUpdateFrameTitle(TRUE);
    return 0;
}

void CFrameWnd::OnFileClose()
{
    SendMessage(WM_CLOSE);
}
