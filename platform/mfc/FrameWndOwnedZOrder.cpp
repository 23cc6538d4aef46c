// Owned windows above their frame. Under Wine on X, a frame that takes the
// activation is raised by the display server, and Wine then lifts it above
// every window that covered it, its own floating windows included, without a
// message to the frame. So, shortly after each activation, the frame puts its
// visible owned windows back directly above itself, in their own order,
// without activating them.
#include "platform/mfc/FrameWnd.h"

#include <vector>

namespace {

// A timer with a callback, so that no message map of a derived frame sees it.
const UINT_PTR kOwnedZOrderTimer = 0xE0F1;
// Time for the display server's report of the raise to reach the thread.
const UINT kOwnedZOrderDelay = 50;

// The visible windows frame owns, the highest first. Topmost ones (tool
// tips) are above it anyway, and placing them under a plain window would take
// their topmost state away.
std::vector<HWND> VisibleOwnedWindows(HWND frame)
{
    std::vector<HWND> owned;
    for (HWND at = ::GetWindow(frame, GW_HWNDFIRST); at != NULL; at = ::GetWindow(at, GW_HWNDNEXT))
        if (::GetWindow(at, GW_OWNER) == frame && ::IsWindowVisible(at) &&
            !(::GetWindowLongA(at, GWL_EXSTYLE) & WS_EX_TOPMOST))
            owned.push_back(at);
    return owned;
}

BOOL AnyBelow(HWND frame, const std::vector<HWND>& owned)
{
    for (HWND at = ::GetWindow(frame, GW_HWNDNEXT); at != NULL; at = ::GetWindow(at, GW_HWNDNEXT))
        for (HWND window : owned)
            if (window == at)
                return TRUE;
    return FALSE;
}

void CALLBACK RaiseOwnedWindows(HWND frame, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(frame, id);
    if (!::IsWindowVisible(frame) || ::IsIconic(frame))
        return;
    std::vector<HWND> owned = VisibleOwnedWindows(frame);
    if (!AnyBelow(frame, owned))
        return;
    // Each goes directly above the frame, under the ones placed before it.
    for (HWND window : owned)
    {
        HWND above = ::GetWindow(frame, GW_HWNDPREV);
        if (above != window)
            ::SetWindowPos(window, above != NULL ? above : HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

void CFrameWnd::KeepOwnedWindowsAbove()
{
    if (!(GetStyle() & WS_CHILD))
        ::SetTimer(m_hWnd, kOwnedZOrderTimer, kOwnedZOrderDelay, RaiseOwnedWindows);
}
