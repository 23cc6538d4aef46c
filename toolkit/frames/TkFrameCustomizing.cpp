#include "toolkit/frames/TkFrameCustomizing.h"
#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/frames/TkFrameMenuPlugIn.h"

BOOL TkFrameCustomizing::IsCustomizing(TkControlBarManager* manager)
{
    return manager && manager->InCustomizeMode();
}

BOOL TkFrameCustomizing::EatsSysCommand(TkControlBarManager* manager, UINT message, WPARAM wParam,
                                        UINT command)
{
    return message == WM_SYSCOMMAND && (wParam & 0xFFF0) == command && IsCustomizing(manager);
}

void TkFrameCustomizing::ClearStayActive(TkControlBarManager* manager, CFrameWnd* frame)
{
    if (IsCustomizing(manager))
        frame->m_nFlags &= ~WF_STAYACTIVE;
}

BOOL TkFrameCustomizing::Answer(TkControlBarManager* manager, CFrameWnd* frame, UINT message,
                                WPARAM wParam, LRESULT* result)
{
    if (!IsCustomizing(manager))
        return FALSE;
    *result = 0;
    switch (message)
    {
    case WM_NCHITTEST:
        *result = HTERROR;
        return TRUE;
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_KEYMENU;
    case WM_ENABLE:
        ClearStayActive(manager, frame);
        return FALSE;
    }
    return FALSE;
}

void TkFrameCustomizing::EnterIdle(TkControlBarManager* manager, CFrameWnd* frame, UINT reason)
{
    if (reason != MSGF_DIALOGBOX || !IsCustomizing(manager))
        return;
    if (frame->m_nIdleFlags & CFrameWnd::idleLayout)
        frame->RecalcLayout(frame->m_nIdleFlags & CFrameWnd::idleNotify);
    frame->UpdateWindow();
}

void TkFrameCustomizing::ShareBmpMgr(TkControlBarManager* manager, TkFrameMenuPlugIn* plugIn,
                                     BOOL bmpMenus)
{
    if (plugIn && bmpMenus && manager)
        plugIn->SetBmpMgr(manager->GetBmpMgr());
}
