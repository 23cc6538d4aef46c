#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/frames/TkFrameMenuBar.h"
#include "toolkit/bars/TkDockState.h"
#include "toolkit/colors/TkSysColors.h"

TkFrameBarState::TkFrameBarState() : m_pControlBarManager(NULL)
{
}

TkFrameBarState::~TkFrameBarState()
{
    while (!m_ownedObjects.IsEmpty())
        delete static_cast<CObject*>(m_ownedObjects.RemoveHead());
}

void TkFrameBarState::LoadBarState(LPCSTR profileName)
{
    CFrameWnd* frame = GetBarStateFrame();
    TkDockState state(m_pControlBarManager);
    state.m_pCreatedBars = &m_ownedObjects;
    CWinThread* thread = AfxGetThread();
    if (thread && !thread->m_pMainWnd)
        thread->m_pMainWnd = frame;
    state.LoadState(profileName);
    SetDockState(state);
}

BOOL TkFrameBarState::SaveBarState(LPCSTR profileName)
{
    TkDockState state(m_pControlBarManager);
    state.m_pCreatedBars = &m_ownedObjects;
    if (!state.GetDockState(GetBarStateFrame()))
        return FALSE;
    state.CleanUpBarIDs();
    state.SaveState(profileName);
    return state.IsSaveComplete();
}

void TkFrameBarState::SetDockState(TkDockState& state)
{
    state.SetDockState(GetBarStateFrame());
}

void TkFrameBarState::GetDockState(TkDockState& state)
{
    state.GetDockState(GetBarStateFrame());
}

TkControlBarManager* TkFrameBarState::GetControlBarManager()
{
    return m_pControlBarManager;
}

void TkFrameBarState::SetControlBarManager(TkControlBarManager* manager)
{
    m_pControlBarManager = manager;
}

void TkFrameBarState::AfterLayout(CFrameWnd* frame, CRect& layoutRect)
{
    if (layoutRect.Width() <= 0 || layoutRect.Height() <= 0)
        frame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    else
    {
        for (CWnd* child = frame->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        {
            CWnd* permanent = CWnd::FromHandlePermanent(child->m_hWnd);
            if (permanent && permanent->IsKindOf(RUNTIME_CLASS(TkDockBar)))
                permanent->Invalidate();
        }
    }
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &layoutRect);
}

void TkFrameBarState::ChangeSysColors(CFrameWnd* frame)
{
    tkSysColors.Refresh();
    frame->Default();
    POSITION position = frame->m_listControlBars.GetHeadPosition();
    while (position)
    {
        CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(position));
        if (bar->IsKindOf(RUNTIME_CLASS(TkControlBar)))
            static_cast<TkControlBar*>(bar)->ReloadSysColorBitmaps();
    }
}

TkFrameMenuPlugIn* TkFrameBarState::PlugInMenus(CFrameWnd* frame, TkFrameMenuBar* menuBar,
                                                BOOL bmpMenus, TkMenuPlugInFactory bmpMenusFactory)
{
    if (menuBar)
        return menuBar->PlugInMenus(frame);
    if (bmpMenus && bmpMenusFactory)
        return bmpMenusFactory(frame);
    return NULL;
}
