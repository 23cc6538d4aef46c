// A frame's caption and its floating windows: while the activation is with a
// floating window that syncs with the frame (a mini frame with
// MFS_SYNCACTIVE), the frame keeps its caption active, and the floating
// windows show the frame's state.
#include "platform/mfc/FrameWnd.h"

namespace {

// Whether window lies under top through its parents and owners.
BOOL BelongsTo(HWND window, HWND top)
{
    for (HWND at = window; at != NULL; at = ::GetParent(at))
        if (at == top)
            return TRUE;
    return FALSE;
}

// The frame whose caption a frame's activation shows: the frame itself when
// it is a child window, else the last frame among its owners.
CFrameWnd* TopLevelFrameOf(CFrameWnd* frame)
{
    if (frame->GetStyle() & WS_CHILD)
        return frame;
    CFrameWnd* top = frame;
    for (HWND at = ::GetParent(frame->m_hWnd); at != NULL; at = ::GetParent(at)) {
        CWnd* window = CWnd::FromHandlePermanent(at);
        if (window != NULL && window->IsFrameWnd())
            top = static_cast<CFrameWnd*>(window);
    }
    return top;
}

struct FloatStatus
{
    HWND owner;
    DWORD flags;
};

BOOL CALLBACK SendFloatStatus(HWND window, LPARAM lParam)
{
    const FloatStatus* status = reinterpret_cast<const FloatStatus*>(lParam);
    if (::GetWindow(window, GW_OWNER) == status->owner)
        ::SendMessageA(window, WM_FLOATSTATUS, status->flags, 0);
    return TRUE;
}

}  // namespace

void CFrameWnd::NotifyFloatingWindows(DWORD flags)
{
    FloatStatus status = {m_hWnd, flags};
    ::EnumThreadWindows(::GetCurrentThreadId(), SendFloatStatus, reinterpret_cast<LPARAM>(&status));
}

// A mini frame's activation is its owning frame's: the mini frame runs this
// for the frame too.
void CFrameWnd::SyncStayActive(UINT state, CWnd* other)
{
    CFrameWnd* top = TopLevelFrameOf(this);
    BOOL stay = state != WA_INACTIVE;
    if (stay)
        KeepOwnedWindowsAbove();
    if (!stay && other != NULL) {
        HWND window = other->m_hWnd;
        stay = window == top->m_hWnd ||
               (BelongsTo(window, top->m_hWnd) &&
                ::SendMessageA(window, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0);
    }
    BOOL was = (top->m_nFlags & WF_STAYACTIVE) != 0;
    if (stay)
        top->m_nFlags |= WF_STAYACTIVE;
    else
        top->m_nFlags &= ~WF_STAYACTIVE;
    top->NotifyFloatingWindows(stay ? FS_ACTIVATE : FS_DEACTIVATE);
    // The frame's own WM_NCACTIVATE, if any, came before the mark changed.
    if (was != stay)
        top->SendMessage(WM_NCACTIVATE, stay);
}

LRESULT CFrameWnd::OnNcActivateFrame(WPARAM wParam, LPARAM lParam)
{
    BOOL active = wParam != 0 || (m_nFlags & WF_STAYACTIVE) != 0;
    return CWnd::DefWindowProc(WM_NCACTIVATE, active, lParam);
}

LRESULT CFrameWnd::OnActivateAppFrame(WPARAM wParam, LPARAM lParam)
{
    if (!wParam && (m_nFlags & WF_STAYACTIVE)) {
        m_nFlags &= ~WF_STAYACTIVE;
        SendMessage(WM_NCACTIVATE, FALSE);
        NotifyFloatingWindows(FS_DEACTIVATE);
    }
    return CWnd::DefWindowProc(WM_ACTIVATEAPP, wParam, lParam);
}
