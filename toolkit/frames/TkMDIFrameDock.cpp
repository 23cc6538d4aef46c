// The docking part of TkMDIFrameWnd: its dock bars, docking and floating of
// bars between their hooks, floating in the main window, and the frames of
// docking views hosted in bars.
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"
#include "toolkit/frames/TkControlBarMDIChildWnd.h"

#include <algorithm>

namespace
{
const DWORD kDockBarWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// Steps of the cascade, and the least of the client area a floated child keeps.
const int kCascadeStepX = 20;
const int kCascadeStepY = 23;
const int kCascadeMargin = 30;
// The floating MDI child: its resource, and child, clip children, caption,
// system menu, thick frame, minimise and maximise boxes, add-to-title,
// snap-to-bars.
const UINT kFloatingChildResource = 20514;
const DWORD kFloatingChildStyle = 0x42CFA000;
// A hosted frame's styles while it floats; what of the main frame's it takes.
const char kPreFloatStyle[] = "TkDockableFrame PreFloat Docked Style";
const char kPreFloatExStyle[] = "TkDockableFrame PreFloat Docked ExStyle";
const DWORD kHostedStyleMask = 0x10CFFFFF;
const DWORD kHostedExStyleMask = 0x203A9;
const DWORD kFloatingHostStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The frame redrawn after a style change, nothing else changed.
const UINT kFrameChanged = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
}

CDockBar* TkMDIFrameWnd::CreateDockBar()
{
    return static_cast<CDockBar*>(m_pDockBarClass->CreateObject());
}

void TkMDIFrameWnd::EnableDocking(DWORD dockStyle)
{
    if (m_pFloatingFrameClass == NULL)
        m_pFloatingFrameClass = RUNTIME_CLASS(TkMiniDockFrameWnd);
    if (m_pFloatingMDIChildClass == NULL)
        m_pFloatingMDIChildClass = RUNTIME_CLASS(TkControlBarMDIChildWnd);
    if (m_pDockBarClass == NULL)
        m_pDockBarClass = RUNTIME_CLASS(TkDockBar);
    for (const Side& side : kSides)
    {
        if (!(side.style & dockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id) != NULL)
            continue;
        CDockBar* dockBar = CreateDockBar();
        if (dockBar == NULL || !dockBar->Create(this, kDockBarWindowStyle | side.style, side.id))
        {
            delete dockBar;
            AfxThrowResourceException();
        }
    }
}

void TkMDIFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dockBar = static_cast<CDockBar*>(dockBarId != 0 ? GetControlBar(dockBarId) : NULL);
    DockControlBar(bar, dockBar, rect);
}

void TkMDIFrameWnd::DockControlBarEx(CControlBar* bar, const DockPlacement& placement,
                                     UINT dockBarId, const DockSize& size)
{
    TkControlBar* tkBar = BeginDock(bar);
    CDockBar* dockBar = static_cast<CDockBar*>(GetControlBar(dockBarId));
    if (dockBar == NULL)
        dockBar = SideDockBarFor(bar);
    if (tkBar != NULL)
        tkBar->m_fProportion = size.proportion;
    DWORD mode = LM_MRUWIDTH | LM_HORZ | LM_LENGTHY;
    if (dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM)
        mode = LM_HORZDOCK | LM_HORZ | LM_LENGTHY;
    else if (dockBarId == AFX_IDW_DOCKBAR_LEFT || dockBarId == AFX_IDW_DOCKBAR_RIGHT)
        mode = LM_VERTDOCK;
    bar->CalcDynamicLayout(size.length, mode | LM_COMMIT);
    if (dockBar != NULL && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        static_cast<TkDockBar*>(dockBar)->DockControlBarAt(
            bar, TkDockBar::Position{placement.row, placement.column, (int)placement.flags});
    else if (dockBar != NULL)
        dockBar->DockControlBar(bar);
    if (tkBar != NULL)
        tkBar->AfterDock();
}

void TkMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* bar, int x, int y, DWORD style)
{
    TkControlBar* tkBar = TkControlBar::FromBar(bar);
    if (tkBar != NULL)
        tkBar->BeforeFloatAsMDIChild();
    CRect client;
    ::GetWindowRect(m_hWndMDIClient, &client);
    if (x < 0 || y < 0)
    {
        x = m_nNextCascadeX;
        y = m_nNextCascadeY;
        m_nNextCascadeX += kCascadeStepX;
        m_nNextCascadeY += kCascadeStepY;
        if (m_nNextCascadeX > client.Width() - kCascadeMargin)
            m_nNextCascadeX = kCascadeStart;
        if (m_nNextCascadeY > client.Height() - kCascadeMargin)
            m_nNextCascadeY = kCascadeStart;
    }
    else
    {
        CPoint point(x, y);
        ::ScreenToClient(m_hWndMDIClient, &point);
        x = point.x;
        y = point.y;
    }
    x = std::max(0, std::min(x, client.Width()));
    y = std::max(0, std::min(y, client.Height() - kCascadeMargin));
    TkDockBar* alone = LoneFloatingDockBar(bar, TRUE, style);
    if (alone != NULL)
    {
        CFrameWnd* child = alone->GetParentFrame();
        child->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        child->RecalcLayout();
        child->UpdateWindow();
    }
    else if (CMDIChildWnd* child = CreateFloatingMDIChild(FloatingStyle(bar, style), bar))
    {
        CWnd* dockBar = CWnd::FromHandlePermanent(::GetDlgItem(child->m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
        if (dockBar && dockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
            static_cast<TkDockBar*>(dockBar)->DockControlBar(bar);
        child->RecalcLayout();
        child->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        child->ShowWindow(SW_SHOWNA);
        child->UpdateWindow();
        LRESULT icon = bar->SendMessage(WM_GETICON, ICON_BIG);
        child->SendMessage(WM_SETICON, ICON_BIG, icon);
    }
    if (tkBar != NULL)
        tkBar->AfterFloatAsMDIChild();
}

CMDIChildWnd* TkMDIFrameWnd::CreateFloatingMDIChild(DWORD, CControlBar*)
{
    CObject* object = m_pFloatingMDIChildClass->CreateObject();
    if (object == NULL)
        AfxThrowMemoryException();
    CMDIChildWnd* child = static_cast<CMDIChildWnd*>(object);
    if (!child->LoadFrame(kFloatingChildResource, kFloatingChildStyle, this))
    {
        // A child whose window was made goes with its window.
        if (child->m_hWnd == NULL)
            delete child;
        return NULL;
    }
    return child;
}

CFrameWnd* TkMDIFrameWnd::GetHostedFrame(CControlBar* bar)
{
    CWnd* child = CWnd::FromHandlePermanent(::GetWindow(bar->m_hWnd, GW_CHILD));
    return child != NULL && child->IsFrameWnd() ? static_cast<CFrameWnd*>(child) : NULL;
}

void TkMDIFrameWnd::SetHostedFrameStyle(CFrameWnd* frame, BOOL floating)
{
    HWND window = frame->m_hWnd;
    if (!floating)
    {
        ::SetWindowLongA(window, GWL_STYLE, (LONG)(UINT_PTR)::GetPropA(window, kPreFloatStyle));
        ::SetWindowLongA(window, GWL_EXSTYLE, (LONG)(UINT_PTR)::GetPropA(window, kPreFloatExStyle));
        frame->SetWindowPos(NULL, 0, 0, 0, 0, kFrameChanged);
        return;
    }
    ::SetPropA(window, kPreFloatStyle, (HANDLE)(UINT_PTR)frame->GetStyle());
    ::SetPropA(window, kPreFloatExStyle, (HANDLE)(UINT_PTR)frame->GetExStyle());
    CFrameWnd* host = frame->GetParentFrame();
    if (host != NULL)
    {
        host->ModifyStyle(GetStyle(), kFloatingHostStyle);
        host->ModifyStyleEx(GetExStyle(), 0);
    }
    frame->ModifyStyle(0, (GetStyle() & kHostedStyleMask) | WS_CAPTION);
    frame->ModifyStyleEx(0, GetExStyle() & kHostedExStyleMask, SWP_FRAMECHANGED);
}

void TkMDIFrameWnd::FitHostedFrame(CFrameWnd* frame)
{
    CFrameWnd* host = frame->GetParentFrame();
    if (host == NULL)
        return;
    CRect rect;
    host->GetWindowRect(&rect);
    frame->GetParent()->ScreenToClient(&rect);
    frame->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

LRESULT TkMDIFrameWnd::OnAddContextMenuItems(WPARAM wParam, LPARAM lParam)
{
    TkControlBar* bar = TkControlBar::FromBar(reinterpret_cast<CControlBar*>(wParam));
    CMenu* menu = reinterpret_cast<CMenu*>(lParam);
    if (bar == NULL || menu == NULL)
        return 0;
    BOOL inMainWindow = bar->IsInMDIChild();
    if (inMainWindow)
        menu->EnableMenuItem(ID_TKCB_ALLOWDOCKING, MF_BYCOMMAND | MF_GRAYED);
    if (bar->m_dwExStyle & TKCBRS_FLOATINMAIN)
    {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING | (inMainWindow ? MF_CHECKED : MF_UNCHECKED), ID_TKCB_FLOATINMAIN,
                         "Float In Main Window");
    }
    return 0;
}
