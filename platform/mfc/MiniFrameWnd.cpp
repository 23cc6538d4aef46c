#include "platform/mfc/MiniFrameWnd.h"
#include "platform/mfc/DockContext.h"

namespace {

// The string resource whose text the mini frame's close item takes.
const UINT kHideStringId = 61457;
// Mini-frame bits that Windows would read as its own window styles.
const DWORD kFrameOnlyStyles = MFS_BLOCKSYSMENU;
const UINT kSizeFirst = HTLEFT;
const UINT kSizeLast = HTBOTTOMRIGHT;

// The window style for a mini-frame style: a sizing border for either frame.
DWORD WindowStyle(DWORD style)
{
    if (style & (MFS_4THICKFRAME | MFS_THICKFRAME))
        style |= WS_THICKFRAME;
    return style & ~kFrameOnlyStyles;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMini)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd()
{
}

BOOL CMiniFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                           CWnd* parentWnd, UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parentWnd, id);
}

BOOL CMiniFrameWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                             const RECT& rect, CWnd* parentWnd, UINT id)
{
    CREATESTRUCTA cs = {};
    cs.lpszClass = className;
    PreCreateWindow(cs);
    return CWnd::CreateEx(exStyle | WS_EX_TOOLWINDOW, cs.lpszClass, windowName, WindowStyle(style),
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parentWnd != NULL ? parentWnd->m_hWnd : NULL, (HMENU)(UINT_PTR)id);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT CMiniFrameWnd::OnNcActivateMini(WPARAM wParam, LPARAM lParam)
{
    if (!(GetStyle() & MFS_SYNCACTIVE))
        return OnNcActivateFrame(wParam, lParam);
    CWnd* owner = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    BOOL ownerActive = owner != NULL && owner->IsFrameWnd() &&
                       (static_cast<CFrameWnd*>(owner)->m_nFlags & WF_STAYACTIVE);
    return CWnd::DefWindowProc(WM_NCACTIVATE, wParam != 0 || ownerActive, lParam);
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (!(GetStyle() & MFS_SYNCACTIVE))
        return 0;
    if (wParam & (FS_ACTIVATE | FS_DEACTIVATE))
        SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
    return (wParam & FS_SYNCACTIVE) != 0;
}

void PASCAL CMiniFrameWnd::CalcBorders(LPRECT clientRect, DWORD style)
{
    ::AdjustWindowRectEx(clientRect, WindowStyle(style) & ~WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
}

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle)
{
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | FWS_SNAPTOBARS | MFS_BLOCKSYSMENU |
                  MFS_4THICKFRAME | MFS_SYNCACTIVE;
    if (!(barStyle & CBRS_SIZE_DYNAMIC))
        style |= MFS_MOVEFRAME;
    if (!CMiniFrameWnd::CreateEx(0, NULL, "", style, CRect(0, 0, 0, 0), parent))
        return FALSE;
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu != NULL) {
        const UINT removed[] = {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE};
        for (UINT command : removed)
            ::DeleteMenu(menu, command, MF_BYCOMMAND);
        CString hide;
        if (hide.LoadString(kHideStringId))
            ::ModifyMenuA(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, hide);
    }
    DWORD align = (barStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    CDockBar* dockBar = GetDockBar();
    if (!dockBar->Create(parent, WS_CHILD | WS_VISIBLE | align | (barStyle & CBRS_FLOAT_MULTI),
                         AFX_IDW_DOCKBAR_FLOAT))
        return FALSE;
    dockBar->SetParent(this);
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL notify)
{
    CMiniFrameWnd::RecalcLayout(notify);
    CString title;
    GetDockBar()->GetWindowText(title);
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

CControlBar* CMiniDockFrameWnd::GetFirstBar()
{
    CDockBar* dockBar = GetDockBar();
    for (int i = 1; i < dockBar->m_arrBars.GetSize(); i++) {
        CControlBar* bar = dockBar->GetDockedControlBar(i);
        if (bar != NULL)
            return bar;
    }
    return NULL;
}

void CMiniDockFrameWnd::OnClose()
{
    GetDockBar()->ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hit, CPoint point)
{
    CControlBar* bar = GetFirstBar();
    CDockContext* context = bar != NULL ? bar->m_pDockContext : NULL;
    if (context != NULL && hit == HTCAPTION && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
        GetTopLevelParent()->SetActiveWindow();
        context->StartDrag(point);
        return;
    }
    if (context != NULL && hit >= kSizeFirst && hit <= kSizeLast) {
        GetTopLevelParent()->SetActiveWindow();
        context->StartResize(hit, point);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hit, CPoint)
{
    CControlBar* bar = GetFirstBar();
    if (bar != NULL && bar->m_pDockContext != NULL && hit == HTCAPTION &&
        !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
        bar->m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}
