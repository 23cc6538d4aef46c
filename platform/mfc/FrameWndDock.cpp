// The docking part of CFrameWnd: its control bars, dock bars, floating
// mini frames and saved bar layout.
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/DockBar.h"
#include "platform/mfc/DockContext.h"
#include "platform/mfc/DockState.h"
#include "platform/mfc/MiniFrameWnd.h"

#include <algorithm>

namespace {

struct DockSide
{
    UINT id;
    DWORD style;
};

// The order in which sides are tried.
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

const DWORD kDockBarWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The least of a mini frame that stays on the screen.
const int kVisiblePart = 24;

CPoint KeepOnScreen(CPoint point)
{
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    point.x = std::max<LONG>(screen.left, std::min<LONG>(point.x, screen.right - kVisiblePart));
    point.y = std::max<LONG>(screen.top, std::min<LONG>(point.y, screen.bottom - kVisiblePart));
    return point;
}

}  // namespace

CDockBar* CFrameWnd::CreateDockBar()
{
    return new CDockBar;
}

void CFrameWnd::EnableDocking(DWORD dockStyle)
{
    if (m_pFloatingFrameClass == NULL)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const DockSide& side : kDockSides) {
        if (!(side.style & dockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id) != NULL)
            continue;
        CDockBar* dockBar = CreateDockBar();
        if (!dockBar->Create(this, kDockBarWindowStyle | side.style, side.id)) {
            delete dockBar;
            AfxThrowResourceException();
        }
    }
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (m_listControlBars.Find(bar) == NULL)
        m_listControlBars.AddTail(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    POSITION position = m_listControlBars.Find(bar);
    if (position != NULL)
        m_listControlBars.RemoveAt(position);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    if (id == 0)
        return NULL;
    for (POSITION position = m_listControlBars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(position));
        if (bar->m_hWnd != NULL && (UINT)bar->GetDlgCtrlID() == id)
            return bar;
    }
    return NULL;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dockBar = static_cast<CDockBar*>(dockBarId != 0 ? GetControlBar(dockBarId) : NULL);
    DockControlBar(bar, dockBar, rect);
}

// The first side, in table order, on which the bar may dock.
CDockBar* CFrameWnd::FindDockBarFor(CControlBar* bar) const
{
    for (const DockSide& side : kDockSides)
        if (bar->m_dwDockStyle & side.style & CBRS_ALIGN_ANY)
            if (CControlBar* dockBar = GetControlBar(side.id))
                return static_cast<CDockBar*>(dockBar);
    return NULL;
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    if (dockBar == NULL)
        dockBar = FindDockBarFor(bar);
    if (dockBar != NULL)
        dockBar->DockControlBar(bar, rect);
}

void CFrameWnd::ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    if (dockBar == NULL)
        dockBar = FindDockBarFor(bar);
    if (dockBar != NULL)
        dockBar->ReDockControlBar(bar, rect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD style)
{
    CRuntimeClass* frameClass =
        m_pFloatingFrameClass != NULL ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CMiniDockFrameWnd* frame = static_cast<CMiniDockFrameWnd*>(frameClass->CreateObject());
    if (frame == NULL)
        return NULL;
    if (!frame->Create(this, style)) {
        // A frame whose window was made is deleted with it.
        if (frame->m_hWnd != NULL)
            frame->DestroyWindow();
        else
            delete frame;
        return NULL;
    }
    return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    CDockBar* current = bar->m_pDockBar;
    if (current != NULL && current->m_bFloating && current->GetDockedCount() == 1 &&
        (style & current->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
        // Alone in its mini frame already: only the frame moves.
        CFrameWnd* frame = current->GetParentFrame();
        frame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout(TRUE);
        frame->UpdateWindow();
        return;
    }
    if (!(style & CBRS_ALIGN_ANY))
        style |= CBRS_ALIGN_TOP;
    if (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        style |= CBRS_SIZE_DYNAMIC;
        if (style & CBRS_ORIENT_VERT)
            style = (style & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* frame = CreateFloatingFrame(style);
    if (frame == NULL)
        return;
    frame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->GetDockBar()->DockControlBar(bar);
    frame->RecalcLayout(TRUE);
    if (GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(bar->IsVisible() ? SW_SHOWNA : SW_HIDE);
        frame->UpdateWindow();
    }
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (delay) {
        bar->DelayShow(show);
        DelayRecalcLayout();
    } else {
        bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
        bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    }
    if (bar->IsFloating() && !bar->IsDockBar() && bar->m_pDockBar != NULL) {
        CFrameWnd* frame = bar->m_pDockBar->GetParentFrame();
        int visible = bar->m_pDockBar->GetDockedVisibleCount();
        if (show && visible > 0) {
            frame->RecalcLayout();
            frame->ShowWindow(SW_SHOWNA);
        } else if (!show && visible == 0) {
            frame->ShowWindow(SW_HIDE);
        }
    }
    if (!delay)
        RecalcLayout();
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar)
{
    for (const DockSide& side : kDockSides) {
        if (!(dockStyle & side.style & CBRS_ALIGN_ANY))
            continue;
        CControlBar* bar = GetControlBar(side.id);
        if (bar == NULL || !bar->IsWindowVisible())
            continue;
        CRect barRect;
        bar->GetWindowRect(&barRect);
        if (barRect.Width() == 0)
            barRect.right++;
        if (barRect.Height() == 0)
            barRect.bottom++;
        if (barRect.IntersectRect(barRect, rect)) {
            if (dockBar != NULL)
                *dockBar = static_cast<CDockBar*>(bar);
            return side.style & CBRS_ALIGN_ANY;
        }
    }
    return 0;
}

void CFrameWnd::DelayRecalcLayout(BOOL notify)
{
    m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0);
}

void CFrameWnd::SnapToBars()
{
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    CRect noBorder(0, 0, 0, 0);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &noBorder, &rect, TRUE);
    ::AdjustWindowRectEx(&rect, GetStyle() & ~(WS_SYSMENU | 0xFFFF), ::GetMenu(m_hWnd) != NULL,
                         GetExStyle());
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
}

namespace {

// A command's string is "prompt\ntip": the status bar shows the prompt.
CString PromptOf(UINT id)
{
    CString text;
    text.LoadString(id);
    int newline = text.Find('\n');
    return newline < 0 ? text : text.Left(newline);
}

}  // namespace

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        m_strMessage = reinterpret_cast<LPCSTR>(lParam);
    else if (wParam != 0)
        m_strMessage = PromptOf((UINT)wParam);
    else
        m_strMessage.Empty();
    CWnd* messageBar = GetMessageBar();
    if (messageBar)
        messageBar->SetWindowText(m_strMessage);
    return 0;
}

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    for (POSITION position = m_listControlBars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(position));
        CControlBarInfo* info = new CControlBarInfo;
        bar->GetBarInfo(info);
        if (bar->IsDockBar())
            static_cast<CDockBar*>(bar)->GetDockBarIds(info->m_arrBarID);
        state.m_arrBarInfo.Add(info);
    }
}

// Floating layouts get new mini frames; docked ones the frame's bars of their
// ids. Infos whose bar the frame no longer has are passed over.
void CFrameWnd::SetDockState(const CDockState& state)
{
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        // Floating frames are made for the dock bars of mini frames; a bar
        // inside one floats too, but it is bound by its id like any other.
        if (info->m_bFloating && info->m_bDockBar) {
            CMiniDockFrameWnd* frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            info->m_pBar = frame != NULL ? frame->GetDockBar() : NULL;
        } else {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
    }
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (info->m_pBar != NULL)
            info->m_pBar->SetBarInfo(info, this);
    }
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (info->m_pBar == NULL || !info->m_bFloating || !info->m_bDockBar)
            continue;
        CDockBar* dockBar = static_cast<CDockBar*>(info->m_pBar);
        CFrameWnd* frame = dockBar->GetParentFrame();
        if (dockBar->GetDockedCount() == 0) {
            frame->DestroyWindow();
            continue;
        }
        // The saved point is the dock bar's, inside the frame's borders.
        CRect rect(info->m_pointPos, CSize(10, 10));
        ::AdjustWindowRectEx(&rect, frame->GetStyle() & ~(WS_SYSMENU | 0xFFFF), FALSE,
                             frame->GetExStyle());
        CPoint place = KeepOnScreen(rect.TopLeft());
        frame->SetWindowPos(NULL, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        if (dockBar->GetDockedVisibleCount() > 0)
            frame->ShowWindow(SW_SHOWNA);
    }
    DockLostBars();
    DelayRecalcLayout();
}

// A damaged layout may leave a bar out of every dock bar: it goes back to a
// side it may dock on, keeping its visibility.
void CFrameWnd::DockLostBars()
{
    for (POSITION position = m_listControlBars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(position));
        if (bar->IsDockBar() || bar->m_pDockContext == NULL)
            continue;
        CDockBar* dockBar = bar->m_pDockBar;
        if (dockBar != NULL && dockBar->FindBar(bar) > 0)
            continue;
        bar->m_pDockBar = NULL;
        if (dockBar != NULL && dockBar->m_bFloating)
            dockBar = NULL;
        if (!(bar->m_dwDockStyle & CBRS_ALIGN_ANY) && dockBar == NULL)
            dockBar = static_cast<CDockBar*>(GetControlBar(AFX_IDW_DOCKBAR_TOP));
        DockControlBar(bar, dockBar);
    }
}

void CFrameWnd::LoadBarState(LPCSTR profileName)
{
    CDockState state;
    state.LoadState(profileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCSTR profileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(profileName);
}
