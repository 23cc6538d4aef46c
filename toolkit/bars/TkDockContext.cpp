#include "bars/TkDockContext.h"
#include "bars/TkControlBar.h"
#include "bars/TkDockBar.h"

#include <stdlib.h>

namespace {

// A floating bar released this close to where its drag began stays floating.
const int kDockSlop = 4;

TkControlBar* AsTkBar(CControlBar* bar)
{
    return bar->IsKindOf(RUNTIME_CLASS(TkControlBar)) ? static_cast<TkControlBar*>(bar) : NULL;
}

}  // namespace

TkDockContext::TkDockContext(CControlBar* bar)
    : CDockContext(bar), m_nFeedbackRow(-1), m_ptDragStart(0, 0), m_bFloatedFromFloating(FALSE)
{
    m_sizeMinFloat.cx = ::GetSystemMetrics(SM_CXMENUSIZE) +
                        2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER));
    m_sizeMinFloat.cy = ::GetSystemMetrics(SM_CYSMCAPTION) +
                        2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER));
    m_sizeMaxFloat.cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
    m_sizeMaxFloat.cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
}

TkDockContext::~TkDockContext()
{
    CDockBar* dockBar = m_pBar->m_pDockBar;
    // A bar whose window is gone has left its dock bar, which may be gone too.
    if (m_pBar->m_hWnd != NULL && dockBar != NULL && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar))) {
        static_cast<TkDockBar*>(dockBar)->RemoveControlBarEx(m_pBar, -1, FALSE);
        m_pBar->m_pDockBar = NULL;
    }
}

void TkDockContext::SetMainMessage(UINT id)
{
    CWnd* main = AfxGetMainWnd();
    if (main != NULL)
        main->SendMessage(WM_SETMESSAGESTRING, id, 0);
}

void TkDockContext::StartDrag(CPoint point)
{
    m_nFeedbackRow = -1;
    m_ptDragStart = point;
    SetMainMessage(IDS_TK_NODOCKING_PROMPT);
    CDockContext::StartDrag(point);
}

void TkDockContext::CancelLoop()
{
    CDockContext::CancelLoop();
    SetMainMessage(AFX_IDS_IDLEMESSAGE);
}

// A floating bar that has hardly moved is not docked: a click on a caption
// must not pull the bar into the frame.
void TkDockContext::EndDrag()
{
    CPoint moved = m_ptLast - m_ptDragStart;
    if (m_pBar->IsFloating() && abs(moved.x) + abs(moved.y) <= kDockSlop)
        m_dwOverDockStyle = 0;
    TkControlBar* bar = AsTkBar(m_pBar);
    if (bar != NULL && m_dwOverDockStyle != 0 && m_pBar->IsFloating())
        bar->m_fProportion = bar->m_fSavedProportion;
    else if (bar != NULL && m_dwOverDockStyle == 0 && !m_pBar->IsFloating())
        bar->m_fSavedProportion = bar->m_fProportion;
    CDockContext::EndDrag();
}

void TkDockContext::ToggleDocking()
{
    TkControlBar* bar = AsTkBar(m_pBar);
    if (bar != NULL) {
        if (m_pBar->IsFloating())
            bar->m_fProportion = bar->m_fSavedProportion;
        else
            bar->m_fSavedProportion = bar->m_fProportion;
    }
    CDockContext::ToggleDocking();
}
