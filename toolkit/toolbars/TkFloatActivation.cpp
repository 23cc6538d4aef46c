#include "toolkit/toolbars/TkFloatActivation.h"

LRESULT TkFloatStatusToCaption(CWnd* wnd, WPARAM flags)
{
    if (flags & (FS_ACTIVATE | FS_DEACTIVATE))
        wnd->SendMessage(WM_NCACTIVATE, (flags & FS_ACTIVATE) != 0);
    return TRUE;
}

// The frame is the last of the window's owners.
void TkActivateFloatingWindows(CWnd* wnd, UINT state)
{
    CWnd* top = wnd->GetTopLevelParent();
    CWnd* frame = top != NULL ? CWnd::FromHandlePermanent(top->m_hWnd) : NULL;
    if (frame == NULL || frame == wnd || !frame->IsFrameWnd())
        return;
    static_cast<CFrameWnd*>(frame)->NotifyFloatingWindows(state != WA_INACTIVE ? FS_ACTIVATE
                                                                                 : FS_DEACTIVATE);
}
