#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/frames/TkxFilters.h"
#include "toolkit/frames/TkCommandPlugIn.h"
#include "toolkit/frames/TkDocTemplateUtils.h"
#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/frames/TkFrameCustomizing.h"
#include "toolkit/frames/TkMultiDocTemplate.h"
#include "toolkit/frames/TkWorkspaceCommands.h"
#include "toolkit/frames/TkFrameMenuBar.h"

using namespace nsSysCommandEx;

namespace
{
// The frame's filters.
const UINT kSysCommandExFilter = 257;
const UINT kCaptionListFilter = 256;
const UINT kMaxChildButtonFilter = 260;
const UINT kMaxChildDoubleClickFilter = 261;
// Redraw of the whole frame: invalidate, erase, frame.
const UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;
// Commands from here up are the system's.
const UINT kFirstSystemCommand = 0xF000;
// The menu bar asks for a popup of a menu by id (wParam) and index (lParam).
const UINT kGetMenuMessage = ::RegisterWindowMessageA("WM_TKGETMENU");
// Posted to look at the caption's stay-active mark again once an activation
// has settled.
const UINT kRecheckStayActive = ::RegisterWindowMessageA("TkMDIFrameWnd::RecheckStayActive");

BOOL AppHasToolkitTemplates()
{
    CWinApp* app = AfxGetApp();
    if (!app || !app->m_pDocManager)
        return FALSE;
    POSITION position = app->GetFirstDocTemplatePosition();
    while (position)
    {
        if (app->GetNextDocTemplate(position)->IsKindOf(RUNTIME_CLASS(TkMultiDocTemplate)))
            return TRUE;
    }
    return FALSE;
}

// The active view of frame hears of activation unless the focus is in it.
void ActivateViewOf(CFrameWnd* frame, BOOL activate)
{
    CView* view = frame ? frame->GetActiveView() : NULL;
    if (!view)
        return;
    HWND focus = ::GetFocus();
    BOOL focusInView = focus && (focus == view->m_hWnd || ::IsChild(view->m_hWnd, focus));
    if (activate != focusInView)
        view->OnActivateView(activate, view, view);
}
}

IMPLEMENT_DYNAMIC(TkMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(TkMDIFrameWnd, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_ACTIVATEAPP, OnActivateAppMessage)
    ON_MESSAGE(WM_NCHITTEST, OnCustomizeMessage)
    ON_MESSAGE(WM_ENABLE, OnCustomizeMessage)
    ON_MESSAGE(WM_SYSCOMMAND, OnCustomizeMessage)
    ON_WM_ENTERIDLE()
    ON_REGISTERED_MESSAGE(kGetMenuMessage, OnGetMenu)
    ON_REGISTERED_MESSAGE(kRecheckStayActive, OnRecheckStayActive)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
    ON_MESSAGE(WM_NCPAINT, OnNcPaintMessage)
    ON_MESSAGE(WM_SETTEXT, OnSetTextMessage)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredNcMessage)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredNcMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredNcMessage)
    ON_MESSAGE(WM_TKADDCONTEXTMENUITEMS, OnAddContextMenuItems)
    ON_TK_WORKSPACE_COMMANDS()
END_MESSAGE_MAP()

TkMDIFrameWnd::TkMDIFrameWnd()
    : TkPaintedCaption(FALSE), m_pMenuBar(NULL), m_bBmpMenus(FALSE), m_bBmpMenus2(FALSE), m_pfnBmpMenus(NULL),
      m_hOwnMenu(NULL), m_nCurrentMenuId(0), m_nFrameMenuId(0), m_pDockBarClass(NULL),
      m_pFloatingMDIChildClass(NULL), m_nNextCascadeX(kCascadeStart), m_nNextCascadeY(kCascadeStart),
      m_rectLayout(0, 0, 0, 0), m_pActiveDockedFrame(NULL), m_bActivating(FALSE),
      m_nDockCursor(0), m_pCommandPlugIn(NULL), m_pMenuPlugIn(NULL),
      m_pFilterRoot(new TkMsgFilter(this, (UINT)-1))
{
    m_descriptors.Add(kSysCommandExFilter, (UINT)-1, RUNTIME_CLASS(TkxMsgFilter));
    m_descriptors.Add(kCaptionListFilter, (UINT)-1, RUNTIME_CLASS(TkCapConLstMDIMaxChildMsgFilter));
    m_descriptors.Add(kMaxChildButtonFilter, kCaptionListFilter,
                      RUNTIME_CLASS(TkxButtonMDIMaxChildMsgFilter));
    m_descriptors.Add(kMaxChildDoubleClickFilter, (UINT)-1,
                      RUNTIME_CLASS(TkxNCRDBLClkMDIMaxChildMsgFilter));
    CreateMsgFilters(AppHasToolkitTemplates());
    // Rows of bottom, left and right: a row break (0) before some of them.
    for (int n = 0; n < 6; n++)
    {
        if (n % 3 == 0)
            m_dockOrder.push_back(0);
        m_dockOrder.push_back(AFX_IDW_DOCKBAR_BOTTOM);
        if (n % 2 == 0)
            m_dockOrder.push_back(0);
        m_dockOrder.push_back(AFX_IDW_DOCKBAR_LEFT);
        if (n % 2 == 0)
            m_dockOrder.push_back(0);
        m_dockOrder.push_back(AFX_IDW_DOCKBAR_RIGHT);
    }
}

TkMDIFrameWnd::~TkMDIFrameWnd()
{
    if (m_hOwnMenu)
        ::DestroyMenu(m_hOwnMenu);
    delete m_pCommandPlugIn;
    delete m_pMenuPlugIn;
    POSITION position = m_menuMap.GetStartPosition();
    while (position)
    {
        UINT id = 0;
        HMENU menu = NULL;
        m_menuMap.GetNextAssoc(position, id, menu);
        ::DestroyMenu(menu);
    }
}

void TkMDIFrameWnd::CreateMsgFilters(UINT flags)
{
    const BOOL switches[] = {(flags & 1) != 0, TRUE, TRUE, TRUE};
    m_pFilterRoot->ApplyDescriptors(&m_descriptors, switches);
}

void TkMDIFrameWnd::GetNextDockPosition(UINT& dockBarId, DockPlacement& placement,
                                        DockSize& size)
{
    size = DockSize{1.0f, 150, 0};
    int count = (int)m_dockOrder.size();
    for (int looked = 0; looked < count; looked++)
    {
        int at = m_nDockCursor;
        m_nDockCursor = (m_nDockCursor + 1) % count;
        UINT id = m_dockOrder[at];
        if (!id)
            continue;
        dockBarId = id;
        placement = DockPlacement{0, 1, 2};
        if (id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_LEFT)
            placement.flags = 3;
        int before = at == 0 ? count - 1 : at - 1;
        if (count > 1 && m_dockOrder[before] == 0)
        {
            placement.flags += placeNewRow;
            if (placement.flags & placeFirst)
                placement.row = 1;
        }
        return;
    }
    dockBarId = AFX_IDW_DOCKBAR_BOTTOM;
    placement = DockPlacement{0, 0, placeNewRow};
}

LRESULT TkMDIFrameWnd::OnFilteredNcMessage(WPARAM, LPARAM)
{
    return FilterBeforeDefault(this, m_pFilterRoot.get());
}

LRESULT TkMDIFrameWnd::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    return FilterAfterDefault(this, m_pFilterRoot.get());
}

BOOL TkMDIFrameWnd::IsForegroundOurs() const
{
    HWND foreground = ::GetForegroundWindow();
    HWND owner = foreground;
    for (HWND at = foreground; at != NULL; at = ::GetWindow(at, GW_OWNER))
        owner = at;
    return foreground && (foreground == m_hWnd || owner == m_hWnd);
}

// A docked frame standing in for the active child keeps the frame's caption
// active while the frame, or a window it owns, is in the foreground. The
// activation leaving one of its floating windows for another window arrives
// here while that floating window is still the foreground: the mark is
// looked at again once the activation has settled.
LRESULT TkMDIFrameWnd::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    TkFrameCustomizing::ClearStayActive(m_pControlBarManager, this);
    if (m_pActiveDockedFrame && IsForegroundOurs())
    {
        m_nFlags |= WF_STAYACTIVE;
        if (!wParam)
            PostMessage(kRecheckStayActive);
    }
    if (m_bPaintedCaption)
        return PaintedNcActivate(wParam, lParam);
    LRESULT result = OnNcActivateFrame(wParam, lParam);
    LRESULT filtered = result;
    FilterCurrentMessage(m_pFilterRoot.get(), &filtered);
    return result;
}

LRESULT TkMDIFrameWnd::OnRecheckStayActive(WPARAM, LPARAM)
{
    if ((m_nFlags & WF_STAYACTIVE) && !IsForegroundOurs())
    {
        m_nFlags &= ~WF_STAYACTIVE;
        SendMessage(WM_NCACTIVATE, FALSE);
        NotifyFloatingWindows(FS_DEACTIVATE);
    }
    return 0;
}

LRESULT TkMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (FilterSysCommandEx(m_pFilterRoot.get(), message, wParam, lParam, &result))
        return result;
    return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

CFrameWnd* TkMDIFrameWnd::GetCommandFrame()
{
    return m_pActiveDockedFrame ? m_pActiveDockedFrame : CMDIFrameWnd::GetCommandFrame();
}

BOOL TkMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* first = GetCommandFrame();
    if (first && first->SendMessage(WM_COMMAND, wParam, lParam))
        return TRUE;
    if (CMDIFrameWnd::OnCommand(wParam, lParam))
        return TRUE;
    // System commands from a menu (no control) go to the system.
    if (!lParam && LOWORD(wParam) >= kFirstSystemCommand)
    {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL TkMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CommandFrameCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    BOOL result = FALSE;
    if (TkCommandPlugIn::Route(m_pCommandPlugIn, id, code, extra, handlerInfo, result))
        return result;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

TkCommandPlugIn* TkMDIFrameWnd::CreateCommandPlugIn(DWORD_PTR first, DWORD_PTR second,
                                                    CRuntimeClass* plugInClass, DWORD_PTR third)
{
    return TkCommandPlugIn::CreateFor(this, m_pCommandPlugIn, first, second, plugInClass, third);
}

CFrameWnd* TkMDIFrameWnd::GetActiveFrame()
{
    return m_pActiveDockedFrame ? m_pActiveDockedFrame : CMDIFrameWnd::GetActiveFrame();
}

void TkMDIFrameWnd::RecalcLayout(BOOL notify)
{
    CMDIFrameWnd::RecalcLayout(notify);
    TkFrameBarState::AfterLayout(this, m_rectLayout);
}

void TkMDIFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state)
{
    CMDIFrameWnd::OnSetPreviewMode(preview, state);
    if (!preview)
        RedrawWindow(NULL, NULL, kRedrawAll);
}

void TkMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CFrameWnd* active = addToTitle ? GetActiveFrame() : NULL;
    if (active == this)
        active = NULL;
    if (active && !active->IsZoomed())
    {
        CDocument* doc = GetActiveDocument();
        if (!doc)
            doc = active->GetActiveDocument();
        UpdateFrameTitleForDocument(doc ? (LPCSTR)doc->GetTitle() : NULL);
        return;
    }
    // The frame's own title, not its window text: the MDI client already
    // shows a maximised child's window text in brackets after ours.
    CString title = active ? active->m_strTitle : CString();
    UpdateFrameTitleForDocument(title.IsEmpty() ? NULL : (LPCSTR)title);
}

void TkMDIFrameWnd::OnUpdateFrameMenu(HMENU altMenu)
{
    if (m_pActiveDockedFrame)
        m_pActiveDockedFrame->OnUpdateFrameMenu(altMenu);
    else
        CMDIFrameWnd::OnUpdateFrameMenu(altMenu);
    if (!m_pActiveDockedFrame && !MDIGetActive() && HasMenuBar())
        SetWindowMenuPopup();
}

void TkMDIFrameWnd::ActivateDockedFrame(CFrameWnd* frame)
{
    if (frame == m_pActiveDockedFrame)
        return;
    DeactivateDockedFrame(frame == NULL);
    ActivateViewOf(GetActiveFrame(), FALSE);
    if (frame)
    {
        frame->SendMessage(WM_NCACTIVATE, TRUE);
        m_pActiveDockedFrame = frame;
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
    }
    ActivateViewOf(GetActiveFrame(), TRUE);
    OnUpdateFrameTitle(TRUE);
    if (HasMenuBar())
    {
        TkDocTemplateUtils utils;
        UINT menuId = utils.GetFrameResourceID(frame ? frame : GetActiveFrame());
        SetMenuBarMenu(menuId ? menuId : (UINT)-1);
        return;
    }
    OnUpdateFrameMenu(NULL);
    ::DrawMenuBar(m_hWnd);
}

void TkMDIFrameWnd::DeactivateDockedFrame(BOOL reactivateMDI)
{
    CFrameWnd* frame = m_pActiveDockedFrame;
    if (!frame)
        return;
    CView* view = frame->GetActiveView();
    if (view)
        view->OnActivateView(FALSE, view, view);
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    m_pActiveDockedFrame = NULL;
    ::SetFocus(NULL);
    if (reactivateMDI)
    {
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
    }
}

// The class library keeps the loaded menu as default menu before the window
// exists, so the menu shown is what tells: with a menu bar there is none.
BOOL TkMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA cs, CCreateContext*)
{
    HMENU windowMenu = HasMenuBar() ? NULL : GetWindowMenuPopup(::GetMenu(m_hWnd));
    return CreateClient(cs, CMenu::FromHandle(windowMenu));
}

void TkMDIFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    Default();
    SyncStayActive(state, other);
    ActivateView(state, other, minimized);
}

void TkMDIFrameWnd::ActivateView(UINT state, CWnd*, BOOL minimized)
{
    if (m_bActivating)
        return;
    CView* view = GetActiveView();
    CFrameWnd* active = GetActiveFrame();
    if (!view && active)
        view = active->GetActiveView();
    if (!view)
        return;
    // Activation passed on to another window of this thread (a view in a
    // floating frame taking the focus) comes back to the frame; the guard
    // keeps the activation this causes from coming here again.
    HWND foreground = ::GetForegroundWindow();
    if (state != WA_INACTIVE && foreground && foreground != m_hWnd &&
        ::GetWindowThreadProcessId(foreground, NULL) == ::GetCurrentThreadId())
    {
        m_bActivating = TRUE;
        SetActiveWindow();
        SetForegroundWindow();
        m_bActivating = FALSE;
    }
    // A minimised frame that becomes active shows no view yet.
    if (state == WA_INACTIVE || !minimized)
        view->OnActivateFrame(state, this);
}

// Leaving the application, the docked frame standing in for the active
// child shows the change as a child would.
LRESULT TkMDIFrameWnd::OnActivateAppMessage(WPARAM wParam, LPARAM lParam)
{
    if (m_pActiveDockedFrame)
    {
        ::PostMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::PostMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
        m_pActiveDockedFrame->PostMessage(WM_NCACTIVATE, wParam);
    }
    return OnActivateAppFrame(wParam, lParam);
}

LRESULT TkMDIFrameWnd::OnCustomizeMessage(WPARAM wParam, LPARAM)
{
    LRESULT result = 0;
    if (TkFrameCustomizing::Answer(m_pControlBarManager, this, GetCurrentMessage()->message,
                                   wParam, &result))
        return result;
    return Default();
}

void TkMDIFrameWnd::OnEnterIdle(UINT reason, CWnd*)
{
    TkFrameCustomizing::EnterIdle(m_pControlBarManager, this, reason);
    Default();
}

void TkMDIFrameWnd::OnWorkspaceCommand(UINT)
{
}

void TkMDIFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*)
{
}

// The frame's children go after it: a docked frame that was active must not
// hand the activation on, or update the title and menu of a frame whose MDI
// client is already gone.
void TkMDIFrameWnd::OnDestroy()
{
    m_pActiveDockedFrame = NULL;
    CMDIFrameWnd::OnDestroy();
}


void TkMDIFrameWnd::OnSysColorChange()
{
    TkFrameBarState::ChangeSysColors(this);
}

int TkMDIFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    m_pMenuPlugIn = PlugInMenus(this, m_pMenuBar, m_bBmpMenus, m_pfnBmpMenus);
    TkFrameCustomizing::ShareBmpMgr(m_pControlBarManager, m_pMenuPlugIn, m_bBmpMenus);
    // The menu bar carries a maximised child's caption buttons.
    if (HasMenuBar())
        m_pFilterRoot->ApplyDescriptor(m_descriptors.Find(kCaptionListFilter), FALSE);
    return 0;
}

// The menu plug-in leaves before the window goes (closing included), so
// that it never works on a window in destruction.
BOOL TkMDIFrameWnd::DestroyWindow()
{
    delete m_pMenuPlugIn;
    m_pMenuPlugIn = NULL;
    return CMDIFrameWnd::DestroyWindow();
}

BOOL TkMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_pMenuPlugIn && m_pMenuPlugIn->PreTranslateFrameMessage(msg))
        return TRUE;
    if (TkFrameCustomizing::EatsSysCommand(m_pControlBarManager, msg->message, msg->wParam, SC_KEYMENU))
        return TRUE;
    return CMDIFrameWnd::PreTranslateMessage(msg);
}

BOOL TkMDIFrameWnd::NegotiateBorderSpace(UINT borderCmd, LPRECT borderRect)
{
    if (HasMenuBar() && borderRect && ::IsRectEmpty(borderRect) && borderRect->left == 0 &&
        borderRect->top == 0)
        m_pMenuBar->SetIgnoreNextHide(TRUE);
    return CMDIFrameWnd::NegotiateBorderSpace(borderCmd, borderRect);
}

void TkMDIFrameWnd::SetMenuBarMenu(UINT menuId)
{
    BOOL current = menuId == 0 || menuId == (UINT)-1;
    if (!HasMenuBar() || !m_pMenuPlugIn || !m_pMenuPlugIn->ActivateMenu(current ? m_nCurrentMenuId : menuId))
        return;
    if (current)
        RefreshMDIButtons();
    SetWindowMenuPopup();
}

void TkMDIFrameWnd::RefreshMDIButtons()
{
    if (!HasMenuBar() || !m_pMenuBar->UpdateCaptionButtons(FALSE))
        return;
    CWnd* bar = dynamic_cast<CWnd*>(m_pMenuBar);
    bar->Invalidate();
    CFrameWnd* frame = bar->GetParentFrame();
    if (frame)
        frame->RecalcLayout();
}
