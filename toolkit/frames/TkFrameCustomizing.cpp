#include "frames/TkFrameCustomizing.h"
#include "menus/TkBmpMenuPlugIn.h"
#include "toolbars/TkToolBarManager.h"

namespace
{
TkToolBarManager* ToolBarManager(TkControlBarManager* manager)
{
    return manager && manager->IsKindOf(RUNTIME_CLASS(TkToolBarManager))
               ? static_cast<TkToolBarManager*>(manager)
               : NULL;
}
}

BOOL TkFrameCustomizing::IsCustomizing(TkControlBarManager* manager)
{
    TkToolBarManager* toolBars = ToolBarManager(manager);
    return toolBars && toolBars->InCustomizeMode();
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

LRESULT TkFrameCustomizing::HitTest(TkControlBarManager* manager, CFrameWnd* frame)
{
    return IsCustomizing(manager) ? HTERROR : frame->Default();
}

void TkFrameCustomizing::EnterIdle(TkControlBarManager* manager, CFrameWnd* frame, UINT reason)
{
    if (reason != MSGF_DIALOGBOX || !IsCustomizing(manager))
        return;
    if (frame->m_nIdleFlags & CFrameWnd::idleLayout)
        frame->RecalcLayout(frame->m_nIdleFlags & CFrameWnd::idleNotify);
    frame->UpdateWindow();
}

void TkFrameCustomizing::ShareBmpMgr(TkControlBarManager* manager, TkBmpMenuPlugIn* plugIn,
                                     BOOL bmpMenus)
{
    TkToolBarManager* toolBars = ToolBarManager(manager);
    if (plugIn && bmpMenus && toolBars)
        plugIn->SetBmpMgr(toolBars->GetBmpMgr());
}
