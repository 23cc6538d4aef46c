#include "platform/mfc/Wnd.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/ImageList.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/StdControls.h"
#include "platform/mfc/WinApp.h"

#include "platform/runtime/DebugOutput.h"
#include "platform/runtime/MessageBoxes.h"

#include <stdio.h>

#include <mutex>
#include <set>
#include <string>

namespace
{
CObject* NewTempWnd(HANDLE handle)
{
    CWnd* wnd = new CWnd;
    wnd->m_hWnd = (HWND)handle;
    return wnd;
}

// The window is not the temporary object's to destroy.
void ForgetWndHandle(CObject* object)
{
    static_cast<CWnd*>(object)->m_hWnd = NULL;
}

// What the class library keeps per thread for its windows. Windows belong to
// the thread that made them: only that thread runs their procedure.
struct CWndThreadState
{
    CHandleMap windows{NewTempWnd, ForgetWndHandle};
    MSG lastMessage = {};
    int tempMapLocks = 0;
    // The object whose window CreateWindowEx is making, and the hook that binds them.
    CWnd* wndInit = NULL;
    HHOOK createHook = NULL;
};

thread_local CWndThreadState t_state;

LPCSTR const kRegisteredClassPrefix = "Afx";
}

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    CWndThreadState& state = t_state;
    if (code == HCBT_CREATEWND && state.wndInit)
    {
        CWnd* wnd = state.wndInit;
        state.wndInit = NULL;
        wnd->SubclassWindow((HWND)wParam);
    }
    return CallNextHookEx(state.createHook, code, wParam, lParam);
}

namespace
{
void HookWindowCreate(CWnd* wnd)
{
    CWndThreadState& state = t_state;
    if (!state.createHook)
        state.createHook = SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, NULL, GetCurrentThreadId());
    state.wndInit = wnd;
}

// FALSE when the hook never saw the window being made.
BOOL UnhookWindowCreate()
{
    CWndThreadState& state = t_state;
    BOOL seen = state.wndInit == NULL;
    state.wndInit = NULL;
    if (state.createHook)
    {
        UnhookWindowsHookEx(state.createHook);
        state.createHook = NULL;
    }
    return seen;
}
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL)
{
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

HWND PASCAL CWnd::SafeHandle(const CWnd* wnd)
{
    return wnd ? wnd->m_hWnd : NULL;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return static_cast<CWnd*>(t_state.windows.LookupPermanent(hWnd));
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return static_cast<CWnd*>(t_state.windows.FromHandle(hWnd));
}

void PASCAL CWnd::DeleteTempMap()
{
    t_state.windows.DeleteTemp();
}

void AfxLockTempMaps()
{
    ++t_state.tempMapLocks;
}

BOOL AfxUnlockTempMaps(BOOL deleteTemps)
{
    CWndThreadState& state = t_state;
    if (state.tempMapLocks > 0 && --state.tempMapLocks > 0)
        return FALSE;
    if (!deleteTemps)
        return FALSE;
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
    return TRUE;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    t_state.windows.SetPermanent(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd && FromHandlePermanent(hWnd) == this)
        t_state.windows.RemoveHandle(hWnd);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (old != AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->m_hWnd, id);
    return control && SubclassWindow(control);
}

void CWnd::PreSubclassWindow()
{
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
    return Detach();
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parentWnd, UINT id, void* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parentWnd, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parentWnd, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU idOrMenu, LPVOID param)
{
    CREATESTRUCTA cs;
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = GetModuleHandleA(NULL);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    HookWindowCreate(this);
    HWND hWnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
    UnhookWindowCreate();
    // A window whose creation failed after the hook bound it has gone through
    // WM_NCDESTROY already, which detached it.
    return hWnd != NULL && m_hWnd == hWnd;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // An object that is not the window's (a temporary one, or one whose window
    // went away) is left as it is by WM_NCDESTROY: clear it here.
    HWND hWnd = m_hWnd;
    BOOL permanent = FromHandlePermanent(hWnd) == this;
    BOOL result = ::DestroyWindow(hWnd);
    if (!permanent)
        Detach();
    return result;
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd))
    {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (hWnd == stop)
            break;
    }
    return FALSE;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd)
        return DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG& last = t_state.lastMessage;
    MSG saved = last;
    last.hwnd = hWnd;
    last.message = message;
    last.wParam = wParam;
    last.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_state.lastMessage = saved;
    return result;
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    return &t_state.lastMessage;
}

LRESULT CWnd::Default()
{
    const MSG& last = t_state.lastMessage;
    return DefWindowProc(last.message, last.wParam, last.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

const AFX_MSGMAP_ENTRY* CWnd::FindWindowMessageEntry(UINT message) const
{
    if (message < kRegisteredMessageEntry)
        return FindMessageEntry(GetMessageMap(), message, 0, 0);
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry)
        {
            if (entry->nMessage == kRegisteredMessageEntry && *(UINT*)entry->nSig == message)
                return entry;
        }
    }
    return NULL;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* header = (NMHDR*)lParam;
        LRESULT notifyResult = 0;
        if (!header || !header->hwndFrom || !OnNotify(wParam, lParam, &notifyResult))
            return FALSE;
        *result = notifyResult;
        return TRUE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return OnCtlColorMessage(message, wParam, lParam, result);
    const AFX_MSGMAP_ENTRY* entry = FindWindowMessageEntry(message);
    if (!entry)
        return ReflectUnhandled(message, wParam, lParam, result);
    return DispatchWindowMessage(entry, wParam, lParam, result);
}

BOOL CWnd::OnCtlColorMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const AFX_MSGMAP_ENTRY* entry = FindWindowMessageEntry(WM_CTLCOLOR);
    if (entry)
    {
        AFX_CTLCOLOR color = {(HWND)lParam, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
        return DispatchWindowMessage(entry, 0, (LPARAM)&color, result);
    }
    CWnd* control = FromHandlePermanent((HWND)lParam);
    return control && control->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::DispatchWindowMessage(const AFX_MSGMAP_ENTRY* entry, WPARAM wParam, LPARAM lParam,
                                 LRESULT* result)
{
    AFX_PMSG pfn = entry->pfn;
    CWnd* self = this;
    LRESULT value = 0;
    UINT_PTR sig = entry->nSig;
    if (entry->nMessage == kRegisteredMessageEntry)
        sig = AfxSig_lwl;
    switch (sig)
    {
    case AfxSig_vv:
        (self->*reinterpret_cast<void (CWnd::*)()>(pfn))();
        break;
    case AfxSig_bv:
        value = (self->*reinterpret_cast<BOOL (CWnd::*)()>(pfn))();
        break;
    case AfxSig_lwl:
        value = (self->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
        break;
    case AfxSig_is:
        value = (self->*reinterpret_cast<int (CWnd::*)(LPCREATESTRUCTA)>(pfn))(
            (LPCREATESTRUCTA)lParam);
        break;
    case AfxSig_vs:
        (self->*reinterpret_cast<void (CWnd::*)(void*)>(pfn))((void*)lParam);
        break;
    case AfxSig_vwii:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, int, int)>(pfn))(
            (UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vMove:
        (self->*reinterpret_cast<void (CWnd::*)(int, int)>(pfn))((short)LOWORD(lParam),
                                                                 (short)HIWORD(lParam));
        break;
    case AfxSig_vwww:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(
            (UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vW:
        (self->*reinterpret_cast<void (CWnd::*)(CWnd*)>(pfn))(FromHandle((HWND)wParam));
        break;
    case AfxSig_vt:
        (self->*reinterpret_cast<void (CWnd::*)(UINT_PTR)>(pfn))((UINT_PTR)wParam);
        break;
    case AfxSig_vwl2:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, LPARAM)>(pfn))((UINT)wParam, lParam);
        break;
    case AfxSig_vwWb:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(
            LOWORD(wParam), FromHandle((HWND)lParam), HIWORD(wParam));
        break;
    case AfxSig_bb:
        value = (self->*reinterpret_cast<BOOL (CWnd::*)(BOOL)>(pfn))((BOOL)wParam);
        break;
    case AfxSig_bWww:
        value = (self->*reinterpret_cast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_iWww:
        value = (self->*reinterpret_cast<int (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vbw:
        (self->*reinterpret_cast<void (CWnd::*)(BOOL, UINT)>(pfn))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vis:
        (self->*reinterpret_cast<void (CWnd::*)(int, void*)>(pfn))((int)wParam, (void*)lParam);
        value = TRUE;
        break;
    case AfxSig_vwwh:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, UINT, HMENU)>(pfn))(
            LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case AfxSig_vh:
        (self->*reinterpret_cast<void (CWnd::*)(HANDLE)>(pfn))((HANDLE)wParam);
        break;
    case AfxSig_vwSz:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, LPCSTR)>(pfn))((UINT)wParam,
                                                                     (LPCSTR)lParam);
        break;
    case AfxSig_vwW:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, CWnd*)>(pfn))((UINT)wParam,
                                                                    FromHandle((HWND)lParam));
        break;
    case AfxSig_vwp:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, CPoint)>(pfn))(
            (UINT)wParam, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        break;
    case AfxSig_vWp:
        (self->*reinterpret_cast<void (CWnd::*)(CWnd*, CPoint)>(pfn))(
            FromHandle((HWND)wParam), CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        break;
    case AfxSig_lp:
        value = (self->*reinterpret_cast<LRESULT (CWnd::*)(CPoint)>(pfn))(
            CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        break;
    case AfxSig_bD:
        value = (self->*reinterpret_cast<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_hDWw:
    {
        AFX_CTLCOLOR* color = (AFX_CTLCOLOR*)lParam;
        value = (LRESULT)(self->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
            CDC::FromHandle(color->hDC), FromHandle(color->hWnd), color->nCtlType);
        break;
    }
    case AfxSig_hDw:
    {
        // A reflected handler that gives no brush leaves the colours to the parent.
        AFX_CTLCOLOR* color = (AFX_CTLCOLOR*)lParam;
        value = (LRESULT)(self->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(
            CDC::FromHandle(color->hDC), color->nCtlType);
        if (!value)
            return FALSE;
        break;
    }
    case AfxSig_vMwb:
        (self->*reinterpret_cast<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(
            CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwwS:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
            LOWORD(wParam), HIWORD(wParam), (CScrollBar*)FromHandle((HWND)lParam));
        break;
    case AfxSig_vww:
        (self->*reinterpret_cast<void (CWnd::*)(UINT, UINT)>(pfn))(LOWORD(wParam),
                                                                   HIWORD(wParam));
        break;
    default:
        return FALSE;
    }
    *result = value;
    return TRUE;
}

BOOL CWnd::ReflectUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = NULL;
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = (HWND)lParam;
        break;
    case WM_DELETEITEM:
        child = ((DELETEITEMSTRUCT*)lParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        child = ((COMPAREITEMSTRUCT*)lParam)->hwndItem;
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        child = (HWND)lParam;
        break;
    default:
        return FALSE;
    }
    if (!child)
        return FALSE;
    CWnd* control = FromHandlePermanent(child);
    return control && control->OnChildNotify(message, wParam, lParam, result);
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT drawItem)
{
    if (drawItem->CtlType == ODT_MENU)
    {
        CMenu* menu = CMenu::FromOwnerDrawMenu((HMENU)drawItem->hwndItem);
        if (menu)
            menu->DrawItem(drawItem);
        else
            Default();
        return;
    }
    CWnd* control = FromHandlePermanent(drawItem->hwndItem);
    const MSG& last = t_state.lastMessage;
    LRESULT result = 0;
    if (!control || !control->OnChildNotify(WM_DRAWITEM, last.wParam, last.lParam, &result))
        Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem)
{
    if (measureItem->CtlType == ODT_MENU)
    {
        CMenu* menu = CMenu::FromOwnerDrawMenu(NULL);
        if (menu)
            menu->MeasureItem(measureItem);
        else
            Default();
        return;
    }
    CWnd* control = FromHandlePermanent(::GetDlgItem(m_hWnd, id));
    const MSG& last = t_state.lastMessage;
    LRESULT result = 0;
    if (!control || !control->OnChildNotify(WM_MEASUREITEM, last.wParam, last.lParam, &result))
        Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    int code = HIWORD(wParam);
    if (!control)
    {
        // Menus and accelerators.
        if (id == 0)
            return FALSE;
        code = CN_COMMAND;
    }
    else
    {
        CWnd* child = FromHandlePermanent(control);
        if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, NULL))
            return TRUE;
        if (id == 0)
            return FALSE;
    }
    return OnCmdMsg(id, code, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child->OnChildNotify(WM_NOTIFY, header->idFrom, lParam, result))
        return TRUE;
    AFX_NOTIFY notify = {result, header};
    return OnCmdMsg((UINT)header->idFrom, MAKELONG(header->code, WM_NOTIFY), &notify, NULL);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message)
    {
    case WM_COMMAND:
    {
        int code = HIWORD(wParam);
        if (!CCmdTarget::OnCmdMsg(0, MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL))
            return FALSE;
        if (result)
            *result = 1;
        return TRUE;
    }
    case WM_NOTIFY:
    {
        NMHDR* header = (NMHDR*)lParam;
        LRESULT ignored = 0;
        AFX_NOTIFY notify = {result ? result : &ignored, header};
        return CCmdTarget::OnCmdMsg(0, MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY),
                                    &notify, NULL);
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    {
        AFX_CTLCOLOR color = {(HWND)lParam, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
        LRESULT ignored = 0;
        return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&color,
                        result ? result : &ignored);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_PARENTNOTIFY:
    {
        LRESULT ignored = 0;
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result ? result : &ignored);
    }
    default:
        return FALSE;
    }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    CWnd* control = FromHandlePermanent(child);
    if (!control)
        return FALSE;
    const MSG& last = t_state.lastMessage;
    return control->OnChildNotify(last.message, last.wParam, last.lParam, result);
}

void CWnd::OnNcDestroy()
{
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this)
    {
        // The program (or its user-interface thread) ends with its main window.
        thread->m_pMainWnd = NULL;
        PostQuitMessage(0);
    }
    Default();
    if (m_pfnSuper && (WNDPROC)GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == AfxWndProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
    Detach();
    PostNcDestroy();
}

int CWnd::OnCreate(LPCREATESTRUCTA)
{
    return (int)Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}

void CWnd::OnKillFocus(CWnd*)
{
    Default();
}

void CWnd::OnSysColorChange()
{
    Default();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep,
                                    BOOL onlyPermanent) const
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        CWnd* wnd = FromHandlePermanent(child);
        if (wnd)
            AfxCallWndProc(wnd, child, message, wParam, lParam);
        else if (!onlyPermanent)
            ::SendMessageA(child, message, wParam, lParam);
        if (deep && ::GetTopWindow(child))
            FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep,
                                                        onlyPermanent);
    }
}

DWORD CWnd::GetStyle() const
{
    return (DWORD)GetWindowLongA(m_hWnd, GWL_STYLE);
}

DWORD CWnd::GetExStyle() const
{
    return (DWORD)GetWindowLongA(m_hWnd, GWL_EXSTYLE);
}

namespace
{
BOOL ModifyWindowLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)GetWindowLongA(hWnd, index);
    DWORD newStyle = (style & ~remove) | add;
    if (style == newStyle)
        return FALSE;
    SetWindowLongA(hWnd, index, (LONG)newStyle);
    if (flags)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int id)
{
    return (int)SetWindowLongPtrA(m_hWnd, GWLP_ID, id);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetParent(CWnd* newParent)
{
    return FromHandle(::SetParent(m_hWnd, newParent->GetSafeHwnd()));
}

CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    for (HWND parent = ::GetParent(top); parent; parent = ::GetParent(top))
        top = parent;
    return FromHandle(top);
}

BOOL CWnd::IsFrameWnd() const
{
    return FALSE;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

void CWnd::GetDlgItem(int id, HWND* hWnd) const
{
    *hWnd = ::GetDlgItem(m_hWnd, id);
}

CWnd* CWnd::GetWindow(UINT cmd) const
{
    return FromHandle(::GetWindow(m_hWnd, cmd));
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, control->GetSafeHwnd(), previous));
}

CWnd* PASCAL CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* PASCAL CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

CWnd* PASCAL CWnd::GetForegroundWindow()
{
    return FromHandle(::GetForegroundWindow());
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

CWnd* PASCAL CWnd::GetDesktopWindow()
{
    return FromHandle(::GetDesktopWindow());
}

CWnd* PASCAL CWnd::FindWindow(LPCSTR className, LPCSTR windowName)
{
    return FromHandle(::FindWindowA(className, windowName));
}

CWnd* PASCAL CWnd::WindowFromPoint(POINT point)
{
    return FromHandle(::WindowFromPoint(point));
}

CWnd* PASCAL CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

void CWnd::SetWindowText(LPCSTR text)
{
    ::SetWindowTextA(m_hWnd, text);
}

int CWnd::GetWindowText(LPSTR text, int maxCount) const
{
    return ::GetWindowTextA(m_hWnd, text, maxCount);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    int copied = ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer(copied);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, (WPARAM)font->GetSafeHandle(), redraw);
}

CFont* CWnd::GetFont() const
{
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    return font ? CFont::FromHandle(font) : NULL;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    return (HICON)SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
}

HICON CWnd::GetIcon(BOOL bigIcon) const
{
    return (HICON)SendMessage(WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0);
}

HMENU CWnd::GetMenuHandle() const
{
    return ::GetMenu(m_hWnd);
}

BOOL CWnd::ShowWindow(int cmdShow)
{
    return ::ShowWindow(m_hWnd, cmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsZoomed() const
{
    return ::IsZoomed(m_hWnd);
}

BOOL CWnd::IsChild(const CWnd* wnd) const
{
    return ::IsChild(m_hWnd, wnd->GetSafeHwnd());
}

BOOL CWnd::IsWindow() const
{
    return ::IsWindow(m_hWnd);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter->GetSafeHwnd(), x, y, cx, cy, flags);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)rect, 2);
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)rect, 2);
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), (LPPOINT)rect, 2);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    // Over the owner (or parent) when it is visible, else over the work area.
    HWND center = alternateOwner ? alternateOwner->m_hWnd : NULL;
    if (!center)
        center = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT within = area;
    if (GetStyle() & WS_CHILD)
        ::GetClientRect(center, &within);
    else if (center && ::IsWindowVisible(center) && !::IsIconic(center))
        ::GetWindowRect(center, &within);
    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = (within.left + within.right - width) / 2;
    int y = (within.top + within.bottom - height) / 2;
    if (!(GetStyle() & WS_CHILD))
    {
        // Keep a top-level window on the screen.
        if (x + width > area.right)
            x = area.right - width;
        if (x < area.left)
            x = area.left;
        if (y + height > area.bottom)
            y = area.bottom - height;
        if (y < area.top)
            y = area.top;
    }
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    placement->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, placement);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement)
{
    return ::SetWindowPlacement(m_hWnd, placement);
}

void CWnd::BringWindowToTop()
{
    ::BringWindowToTop(m_hWnd);
}

void CWnd::Invalidate(BOOL erase)
{
    ::InvalidateRect(m_hWnd, NULL, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase)
{
    ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::ValidateRect(LPCRECT rect)
{
    ::ValidateRect(m_hWnd, rect);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT update, HRGN region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, update, region, flags);
}

void CWnd::SetRedraw(BOOL redraw)
{
    SendMessage(WM_SETREDRAW, redraw, 0);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc)
{
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

int CWnd::GetScrollPos(int bar) const
{
    return ::GetScrollPos(m_hWnd, bar);
}

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw)
{
    return ::SetScrollPos(m_hWnd, bar, pos, redraw);
}

void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const
{
    ::GetScrollRange(m_hWnd, bar, minPos, maxPos);
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw)
{
    ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int bar) const
{
    SCROLLINFO info;
    if (!GetScrollInfo(bar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int limit = info.nMax - (info.nPage > 0 ? (int)info.nPage - 1 : 0);
    return limit > info.nMin ? limit : info.nMin;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show)
{
    ::ShowScrollBar(m_hWnd, bar, show);
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT rect, LPCRECT clipRect)
{
    ::ScrollWindow(m_hWnd, xAmount, yAmount, rect, clipRect);
}

void CWnd::SetDlgItemText(int id, LPCSTR text)
{
    ::SetDlgItemTextA(m_hWnd, id, text);
}

int CWnd::GetDlgItemText(int id, LPSTR text, int maxCount) const
{
    return (int)::GetDlgItemTextA(m_hWnd, id, text, maxCount);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (control)
        FromHandle(control)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    ::SetDlgItemInt(m_hWnd, id, value, isSigned);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    ::CheckDlgButton(m_hWnd, id, check);
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId)
{
    ::CheckRadioButton(m_hWnd, firstId, lastId, checkId);
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    return ::IsDlgButtonChecked(m_hWnd, id);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    TRY
    {
        DoDataExchange(&dx);
    }
    CATCH(CUserException, e)
    {
        return FALSE;
    }
    END_CATCH
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

namespace
{
// Messages reach the object through AfxWndProc, which subclassed the dialog
// window; what it passes on to the dialog manager needs no more handling.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
}

LPCDLGTEMPLATEA PASCAL CWnd::LoadDialogTemplate(LPCSTR templateName)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = FindResourceA(instance, templateName, (LPCSTR)RT_DIALOG);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : NULL;
    if (!loaded)
    {
        DebugOutputF("No dialog template %p in the resources.\n", (void*)templateName);
        return NULL;
    }
    return (LPCDLGTEMPLATEA)LockResource(loaded);
}

BOOL CWnd::CreateDlg(LPCSTR templateName, CWnd* parentWnd)
{
    LPCDLGTEMPLATEA dialogTemplate = LoadDialogTemplate(templateName);
    return dialogTemplate && CreateDlgIndirect(dialogTemplate, parentWnd);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parentWnd)
{
    HookWindowCreate(this);
    HWND hWnd = CreateDialogIndirectParamA(AfxGetResourceHandle(), dialogTemplate,
                                           parentWnd->GetSafeHwnd(), AfxDlgProc, 0);
    UnhookWindowCreate();
    return hWnd != NULL && m_hWnd == hWnd;
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ShowMessageBox(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // The name says what the class is, so that equal requests share one class.
    static std::mutex lock;
    static std::set<std::string> names;
    char name[128];
    snprintf(name, sizeof(name), "%s:%p:%x:%p:%p:%p", kRegisteredClassPrefix,
             (void*)GetModuleHandleA(NULL), classStyle, (void*)cursor, (void*)background,
             (void*)icon);
    std::lock_guard<std::mutex> guard(lock);
    WNDCLASSA existing;
    if (!GetClassInfoA(GetModuleHandleA(NULL), name, &existing))
    {
        WNDCLASSA wc = {};
        wc.style = classStyle;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return names.insert(name).first->c_str();
}
