#include "toolkit/bars/TkDockContext.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockSite.h"
#include "toolkit/colors/TkSysColors.h"

#include <stdlib.h>

namespace {

// A floating bar released this close to where its drag began stays floating.
const int kDockSlop = 4;

}  // namespace

TkDockContext::TkDockContext(CControlBar* bar)
    : CDockContext(bar), m_nFeedbackRow(-1), m_rectFeedback(0, 0, 0, 0), m_ptFeedback(0, 0),
      m_ptDragStart(0, 0), m_bFloatedFromFloating(FALSE)
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

// A click on a caption must not pull a floating bar into the frame.
BOOL TkDockContext::HasHardlyMoved() const
{
    CPoint moved = m_ptLast - m_ptDragStart;
    return m_pBar->IsFloating() && abs(moved.x) + abs(moved.y) <= kDockSlop;
}

BOOL TkDockContext::ShowsDockFeedback()
{
    if (m_dwOverDockStyle != 0 && !HasHardlyMoved())
        return TRUE;
    m_nFeedbackRow = -1;
    return FALSE;
}

CRect TkDockContext::DockFeedbackRect(CDockBar* dockBar, const CRect& dragRect)
{
    CRect rect = dragRect;
    if (dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        rect = static_cast<TkDockBar*>(dockBar)->CalcDockFeedbackRect(
            m_pBar, dragRect, m_ptLast, m_nFeedbackRow, m_rectFeedback, m_ptFeedback);
    if (tkSysColors.m_bWin4)
        rect.DeflateRect(1, 1);
    return rect;
}

void TkDockContext::EndDrag()
{
    if (HasHardlyMoved()) {
        CancelLoop();
        m_bDragging = FALSE;
        return;
    }
    TkControlBar* bar = TkControlBar::FromBar(m_pBar);
    if (bar != NULL && m_dwOverDockStyle != 0 && m_pBar->IsFloating()) {
        bar->m_fProportion = bar->m_fSavedProportion;
        // The row makes room for the returning bar's share.
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (dockBar != NULL && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
            static_cast<TkDockBar*>(dockBar)->m_pFixedBar = m_pBar;
    }
    else if (bar != NULL && m_dwOverDockStyle == 0 && !m_pBar->IsFloating())
        bar->m_fSavedProportion = bar->m_fProportion;
    CDockContext::EndDrag();
}

void TkDockContext::ToggleDocking()
{
    TkControlBar* bar = TkControlBar::FromBar(m_pBar);
    if (bar != NULL) {
        if (m_pBar->IsFloating())
            bar->m_fProportion = bar->m_fSavedProportion;
        else
            bar->m_fSavedProportion = bar->m_fProportion;
    }
    CDockContext::ToggleDocking();
}

BOOL TkDockContext::IsResizableTkBar() const
{
    TkControlBar* bar = TkControlBar::FromBar(m_pBar);
    return bar != NULL && !(bar->m_dwExStyle & TKCBRS_FIXEDSIZE);
}

// The borders under the mouse follow it; a size outside the limits undoes
// that axis and leaves the mouse point of that axis behind, so that the
// border picks up again where the size becomes legal.
void TkDockContext::Stretch(CPoint point)
{
    if (!IsResizableTkBar()) {
        CDockContext::Stretch(point);
        return;
    }
    const int hit = m_nHitTest;
    const BOOL left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const BOOL right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    const BOOL top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    const BOOL bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    CRect bar = m_rectDragHorz;
    CRect frame = m_rectFrameDragHorz;
    const CSize borders(frame.Width() - bar.Width(), frame.Height() - bar.Height());
    // The mouse moves the borders from where the last legal size left them.
    CPoint offset = point - m_ptLast;
    CRect wanted = bar;
    (left ? wanted.left : wanted.right) += (left || right) ? offset.x : 0;
    (top ? wanted.top : wanted.bottom) += (top || bottom) ? offset.y : 0;
    int frameWidth = wanted.Width() + borders.cx;
    int frameHeight = wanted.Height() + borders.cy;
    BOOL takeX = (left || right) && offset.x != 0 && frameWidth >= m_sizeMinFloat.cx &&
                 frameWidth <= m_sizeMaxFloat.cx;
    BOOL takeY = (top || bottom) && offset.y != 0 && frameHeight >= m_sizeMinFloat.cy &&
                 frameHeight <= m_sizeMaxFloat.cy;
    if (takeX) {
        m_pBar->CalcDynamicLayout(wanted.Width(), LM_COMMIT | LM_HORZ);
        m_ptLast.x = point.x;
    }
    if (takeY) {
        m_pBar->CalcDynamicLayout(wanted.Height(), LM_COMMIT | LM_LENGTHY | LM_HORZ);
        m_ptLast.y = point.y;
    }
    CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
    if (left)
        bar.left = bar.right - size.cx;
    else
        bar.right = bar.left + size.cx;
    if (top)
        bar.top = bar.bottom - size.cy;
    else
        bar.bottom = bar.top + size.cy;
    // The frame keeps its borders around the bar.
    CRect frameNow(bar.left - (m_rectDragHorz.left - frame.left), bar.top - (m_rectDragHorz.top - frame.top),
                   bar.right + (frame.right - m_rectDragHorz.right),
                   bar.bottom + (frame.bottom - m_rectDragHorz.bottom));
    m_rectDragHorz = bar;
    m_rectDragVert = bar;
    m_rectFrameDragHorz = frameNow;
    m_rectFrameDragVert = frameNow;
    DrawFocusRect();
}

void TkDockContext::EndResize()
{
    if (!IsResizableTkBar()) {
        CDockContext::EndResize();
        return;
    }
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_COMMIT | LM_HORZ);
    m_pBar->CalcDynamicLayout(m_rectDragHorz.Height(), LM_COMMIT | LM_LENGTHY | LM_HORZ);
    m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(),
                                 CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

void TkDockContext::DockAtSite(CDockBar* dockBar, const CRect& rect)
{
    TkDockSite* site = TkDockSite::FromFrame(m_pDockSite);
    if (site != NULL)
        site->DockControlBar(m_pBar, dockBar, &rect);
    else
        CDockContext::DockAtSite(dockBar, rect);
}

void TkDockContext::ReDockAtSite(CDockBar* dockBar, const CRect& rect)
{
    TkDockSite* site = TkDockSite::FromFrame(m_pDockSite);
    if (site != NULL)
        site->ReDockControlBar(m_pBar, dockBar, &rect);
    else
        CDockContext::ReDockAtSite(dockBar, rect);
}

void TkDockContext::FloatAtSite(CPoint point, DWORD style)
{
    TkDockSite* site = TkDockSite::FromFrame(m_pDockSite);
    if (site != NULL)
        site->FloatControlBarEx(m_pBar, point.x, point.y, style);
    else
        CDockContext::FloatAtSite(point, style);
}

CDockBar* TkDockContext::LastDockPlace(CRect& rect)
{
    rect = m_rectMRUDockPos;
    CDockBar* dockBar = NULL;
    if (m_uMRUDockID != 0) {
        dockBar = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
        if (dockBar != NULL)
            dockBar->ClientToScreen(&rect);
    }
    return dockBar;
}

void TkDockContext::FloatInMainWindow()
{
    if (m_pDockSite == NULL)
        m_pDockSite = m_pBar->m_pDockSite;
    TkDockSite* site = TkDockSite::FromFrame(m_pDockSite);
    TkControlBar* bar = TkControlBar::FromBar(m_pBar);
    if (site == NULL || bar == NULL)
        return;
    if (!bar->IsInMDIChild()) {
        bar->m_fSavedProportion = bar->m_fProportion;
        m_bFloatedFromFloating = m_pBar->IsFloating();
        site->FloatControlBarInMDIChild(m_pBar, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, m_dwMRUFloatStyle);
        return;
    }
    if (m_bFloatedFromFloating) {
        bar->m_fProportion = bar->m_fSavedProportion;
        site->FloatControlBarEx(m_pBar, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, m_dwMRUFloatStyle);
        return;
    }
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
        return;
    bar->m_fProportion = bar->m_fSavedProportion;
    CRect rect;
    CDockBar* dockBar = LastDockPlace(rect);
    site->ReDockControlBar(m_pBar, dockBar, &rect);
    m_pDockSite->RecalcLayout();
}
