#include "toolkit/docking/TkWndPlugIn.h"

#include <afxcoll.h>

#include <vector>

const UINT WM_TK_REMOVEFROMCHAIN = RegisterWindowMessageA("tk.Listener.RemoveFromChain");

namespace
{
// One per window with listeners: the procedure the chain replaced (window or
// dialog procedure) and the listeners in attach order.
struct ChainEntry
{
    UINT size = sizeof(ChainEntry);
    WNDPROC oldWndProc = NULL;
    LONG_PTR oldDlgProc = 0;
    CPtrList listeners{10};
};

CMapPtrToPtr& ChainMap()
{
    static CMapPtrToPtr map(10);
    return map;
}

ChainEntry* FindEntry(HWND window)
{
    void* entry = NULL;
    return ChainMap().Lookup(window, entry) ? static_cast<ChainEntry*>(entry) : NULL;
}

void FreeEntry(HWND window, ChainEntry* entry)
{
    ChainMap().RemoveKey(window);
    delete entry;
}

LRESULT CALLBACK ChainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ChainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure the chain passes messages on to.
WNDPROC StoredProc(const ChainEntry& entry)
{
    return entry.oldWndProc ? entry.oldWndProc : (WNDPROC)entry.oldDlgProc;
}

// A copy: listeners may join or leave while it is walked.
std::vector<TkWndListener*> Listeners(const ChainEntry& entry)
{
    std::vector<TkWndListener*> listeners;
    for (POSITION p = entry.listeners.GetHeadPosition(); p;)
        listeners.push_back(static_cast<TkWndListener*>(entry.listeners.GetNext(p)));
    return listeners;
}

// Read before any listener leaves: the last one frees the entry.
LRESULT OnNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChainEntry* entry = FindEntry(window);
    if (!entry)
        return 0;
    WNDPROC stored = StoredProc(*entry);
    for (TkWndListener* listener : Listeners(*entry))
        listener->UnPlug();
    // A chain left in place under another subclasser ends with its window.
    if (ChainEntry* left = FindEntry(window))
        FreeEntry(window, left);
    return stored ? CallWindowProcA(stored, window, message, wParam, lParam) : 0;
}

// The listeners run on a copy of the list: a handler may plug in or out, or
// destroy the window (a drag loop); one that has left is skipped.
LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return 0;
    if (message == WM_NCDESTROY)
        return OnNcDestroy(window, message, wParam, lParam);
    ChainEntry* entry = FindEntry(window);
    if (entry && message == WM_TK_REMOVEFROMCHAIN && entry->oldWndProc == (WNDPROC)wParam)
        entry->oldWndProc = (WNDPROC)lParam;
    if (!entry)
        return 0;
    WNDPROC stored = StoredProc(*entry);
    std::vector<TkWndListener*> listeners = Listeners(*entry);

    // Default and GetCurrentMessage read the thread's record of this message.
    MSG& current = *const_cast<MSG*>(CWnd::GetCurrentMessage());
    MSG saved = current;
    current.hwnd = window;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
    current.time = GetMessageTime();
    DWORD position = GetMessagePos();
    current.pt.x = (short)LOWORD(position);
    current.pt.y = (short)HIWORD(position);

    LRESULT result = 0;
    DWORD flags = 0;
    for (TkWndListener* listener : listeners)
    {
        ChainEntry* live = FindEntry(window);
        if (!live || !live->listeners.Find(listener))
            continue;
        listener->OnListenerMsg(message, wParam, lParam, &result);
        flags |= listener->TakeRoutingFlags();
        if (flags & TkWndListener::kStop)
            break;
    }
    current = saved;

    if ((flags & TkWndListener::kHandled) || !stored || !::IsWindow(window))
        return result;
    return CallWindowProcA(stored, window, message, wParam, lParam);
}

LRESULT CALLBACK ChainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(window, message, wParam, lParam);
}

INT_PTR CALLBACK ChainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(window, message, wParam, lParam);
}

// The messages the class library hands on to a child control when no
// handler takes them: the window's own procedure does that already.
BOOL IsReflectedToChild(UINT message)
{
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return TRUE;
    default:
        return FALSE;
    }
}
}

IMPLEMENT_DYNAMIC(TkWndPlugIn, CWnd)

// The map chains to CCmdTarget's: the class library's own window handlers
// (WM_NCDESTROY and the item messages) belong to the window's object.
BEGIN_MESSAGE_MAP(TkWndPlugIn, CCmdTarget)
END_MESSAGE_MAP()

TkWndPlugIn::TkWndPlugIn()
    : m_defaultPermitted(FALSE), m_answerOverride(FALSE), m_answer(0), m_attached(FALSE)
{
}

TkWndPlugIn::~TkWndPlugIn()
{
    m_hWnd = NULL;
}

LRESULT TkWndPlugIn::SetMsgAnswer(LRESULT value)
{
    m_answerOverride = TRUE;
    m_answer = value;
    return value;
}

BOOL TkWndPlugIn::PlugInTo(CWnd* window)
{
    if (!window || !window->GetSafeHwnd())
        return FALSE;
    m_hWnd = window->GetSafeHwnd();
    m_attached = TRUE;
    return TRUE;
}

void TkWndPlugIn::UnPlug()
{
    m_attached = FALSE;
    m_hWnd = NULL;
}

BOOL TkWndPlugIn::IsPlugged()
{
    return m_attached;
}

BOOL TkWndPlugIn::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (!m_attached)
        return FALSE;
    return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL TkWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_attached)
        return FALSE;
    if (IsReflectedToChild(message) && !FindMessageEntry(GetMessageMap(), message, 0, 0))
        return FALSE;
    m_defaultPermitted = FALSE;
    BOOL answer = CWnd::OnWndMsg(message, wParam, lParam, result);
    if (m_answerOverride)
    {
        m_answerOverride = FALSE;
        return (BOOL)m_answer;
    }
    return answer;
}

BOOL TkWndPlugIn::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id == 0)
        return FALSE;
    return OnCmdMsg(id, lParam ? HIWORD(wParam) : CN_COMMAND, NULL, NULL);
}

LRESULT TkWndPlugIn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_attached || !m_defaultPermitted)
        return 0;
    return CWnd::DefWindowProc(message, wParam, lParam);
}

IMPLEMENT_DYNAMIC(TkWndListener, TkWndPlugIn)

TkWndListener::TkWndListener()
    : m_routingFlags(0), m_savedWnd(NULL), m_resultOverride(FALSE), m_result(0)
{
}

TkWndListener::~TkWndListener()
{
    if (IsPlugged())
        UnPlug();
}

LRESULT TkWndListener::SetMsgAnswer(LRESULT value)
{
    return value;
}

// A listener is in at most one chain once.
BOOL TkWndListener::PlugInTo(CWnd* window)
{
    if (IsPlugged() || !TkWndPlugIn::PlugInTo(window))
        return FALSE;
    if (!AddToChain(window))
    {
        TkWndPlugIn::UnPlug();
        return FALSE;
    }
    m_savedWnd = window->GetSafeHwnd();
    return TRUE;
}

void TkWndListener::UnPlug()
{
    RemoveFromChain();
    TkWndPlugIn::UnPlug();
    m_savedWnd = NULL;
}

BOOL TkWndListener::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL TkWndListener::PlugInToWnd(CWnd* window, LPARAM)
{
    return PlugInTo(window);
}

void TkWndListener::SetRoutingFlags(DWORD flags)
{
    m_routingFlags = flags;
}

void TkWndListener::SetListenerResult(LRESULT result)
{
    m_resultOverride = TRUE;
    m_result = result;
}

DWORD TkWndListener::TakeRoutingFlags()
{
    DWORD flags = m_routingFlags;
    m_routingFlags = 0;
    return flags;
}

BOOL TkWndListener::OnListenerMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    BOOL answer = OnWndMsg(message, wParam, lParam, result);
    if (m_resultOverride)
    {
        *result = m_result;
        m_resultOverride = FALSE;
    }
    return answer;
}

BOOL TkWndListener::SendToListener(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = lParam;
    return OnListenerMsg(message, wParam, lParam, &result);
}

BOOL TkWndListener::AddToChain(CWnd* window)
{
    if (!window || !window->GetSafeHwnd())
        return FALSE;
    if (ChainEntry* entry = FindEntry(window->GetSafeHwnd()))
        return JoinChain(entry);
    return CreateChain(window);
}

BOOL TkWndListener::JoinChain(void* entry)
{
    if (!entry)
        return FALSE;
    static_cast<ChainEntry*>(entry)->listeners.AddTail(this);
    return TRUE;
}

BOOL TkWndListener::CreateChain(CWnd* window)
{
    HWND handle = window->GetSafeHwnd();
    ChainEntry* entry = new ChainEntry;
    if (UsesWindowProc(window))
        entry->oldWndProc =
            (WNDPROC)SetWindowLongPtrA(handle, GWLP_WNDPROC, (LONG_PTR)ChainWndProc);
    else
        entry->oldDlgProc = SetWindowLongPtrA(handle, DWLP_DLGPROC, (LONG_PTR)ChainDlgProc);
    if (!StoredProc(*entry))
    {
        delete entry;
        return FALSE;
    }
    entry->listeners.AddTail(this);
    ChainMap().SetAt(handle, entry);
    return TRUE;
}

BOOL TkWndListener::UsesWindowProc(CWnd* window)
{
    return GetWindowLongPtrA(window->GetSafeHwnd(), DWLP_DLGPROC) < 1;
}

// The last listener to leave puts the saved procedure back, unless another
// subclasser came on top of the chain since: then the chain stays as a
// pass-through until the window ends, so that neither is cut off.
BOOL TkWndListener::RemoveFromChain()
{
    HWND window = m_hWnd ? m_hWnd : m_savedWnd;
    ChainEntry* entry = window ? FindEntry(window) : NULL;
    if (!entry)
        return FALSE;
    POSITION position = entry->listeners.Find(this);
    if (!position)
        return FALSE;
    if (entry->oldWndProc)
        ::SendMessageA(window, WM_TK_REMOVEFROMCHAIN, (WPARAM)ChainWndProc,
                       (LPARAM)entry->oldWndProc);
    entry = FindEntry(window);
    if (!entry || !(position = entry->listeners.Find(this)))
        return TRUE;
    entry->listeners.RemoveAt(position);
    if (!entry->listeners.IsEmpty() || !::IsWindow(window))
    {
        if (entry->listeners.IsEmpty())
            FreeEntry(window, entry);
        return TRUE;
    }
    if (entry->oldWndProc)
    {
        if ((WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC) != ChainWndProc)
            return TRUE;
        SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)entry->oldWndProc);
    }
    else
        SetWindowLongPtrA(window, DWLP_DLGPROC, entry->oldDlgProc);
    FreeEntry(window, entry);
    return TRUE;
}
