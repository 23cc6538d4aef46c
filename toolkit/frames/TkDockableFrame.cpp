#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkCaptionFeatures.h"
#include "toolkit/frames/TkxFilters.h"
#include "toolkit/frames/TkDocTemplateUtils.h"
#include "toolkit/frames/TkFrameCustomizing.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"
#include "toolkit/frames/TkFrameMenuPlugIn.h"

using namespace nsSysCommandEx;

namespace
{
BOOL IsSizingHit(UINT hit)
{
    return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}
}

IMPLEMENT_DYNCREATE(TkDockableFrame, TkFrameWnd)

BEGIN_MESSAGE_MAP(TkDockableFrame, TkFrameWnd)
    ON_WM_ACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_PARENTNOTIFY()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDownMessage)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClkMessage)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONUP, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredNcMessage)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredNcMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCACTIVATE, OnFilteredAfterDefault)
    ON_MESSAGE(WM_SETTEXT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_NCPAINT, OnFilteredAfterDefault)
END_MESSAGE_MAP()

TkDockableFrame::TkDockableFrame() : m_hOwnMenu(NULL), m_pFilterRoot(new TkMsgFilter(this, (UINT)-1))
{
    TkCaptionFeatures::AddDescriptors(m_descriptors, RUNTIME_CLASS(TkxButtonMsgFilter));
}

BOOL TkDockableFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    BOOL result = TkFrameWnd::PreCreateWindow(cs);
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    cs.style &= ~FWS_PREFIXTITLE;
    return result;
}

BOOL TkDockableFrame::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd, CCreateContext* context)
{
    CDocTemplate* docTemplate = context ? context->m_pNewDocTemplate : NULL;
    if (docTemplate && docTemplate->IsKindOf(RUNTIME_CLASS(TkMultiDocTemplate)))
    {
        TkMultiDocTemplate* docking = static_cast<TkMultiDocTemplate*>(docTemplate);
        m_hOwnMenu = docking->m_hOwnMenu;
        m_hAccelTable = docking->m_hOwnAccel;
    }
    else if (docTemplate && docTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)))
    {
        CMultiDocTemplate* multi = static_cast<CMultiDocTemplate*>(docTemplate);
        m_hOwnMenu = multi->m_hMenuShared;
        m_hAccelTable = multi->m_hAccelTable;
    }
    return TkFrameWnd::LoadFrame(resourceId, style, parentWnd, context);
}

BOOL TkDockableFrame::DestroyWindow()
{
    CWnd* bar = m_hWnd ? GetParent() : NULL;
    if (bar)
        return bar->DestroyWindow();
    return TkFrameWnd::DestroyWindow();
}

CControlBar* TkDockableFrame::GetFrameBar() const
{
    CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    return parent && parent->IsKindOf(RUNTIME_CLASS(CControlBar)) ? static_cast<CControlBar*>(parent)
                                                                   : NULL;
}

TkMDIFrameWnd* TkDockableFrame::GetMDIFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    while (frame && !frame->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)))
        frame = frame->GetParentFrame();
    if (frame)
        return static_cast<TkMDIFrameWnd*>(frame);
    CWnd* main = AfxGetMainWnd();
    return main && main->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)) ? static_cast<TkMDIFrameWnd*>(main)
                                                                 : NULL;
}

BOOL TkDockableFrame::IsFloating()
{
    CControlBar* bar = GetFrameBar();
    return bar && bar->IsFloating();
}

void TkDockableFrame::SetFeatures(UINT flags)
{
    TkCaptionFeatures::Apply(m_pFilterRoot.get(), &m_descriptors, flags);
    TkCaptionControlListMsgFilter* list = TkCaptionFeatures::FindControlList(m_pFilterRoot.get());
    if (list && m_hWnd)
        list->LayoutControls();
}

LRESULT TkDockableFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (FilterSysCommandEx(m_pFilterRoot.get(), message, wParam, lParam, &result))
        return result;
    return TkFrameWnd::DefWindowProc(message, wParam, lParam);
}

// The frame's keys reach the main window's commands through the frame's
// accelerators. While tool bars are customised the view cannot be closed.
BOOL TkDockableFrame::PreTranslateMessage(MSG* msg)
{
    if (m_pMenuPlugIn && m_pMenuPlugIn->PreTranslateFrameMessage(msg))
        return TRUE;
    if (TkFrameCustomizing::EatsSysCommand(GetCustomizeManager(), msg->message, msg->wParam, SC_CLOSE))
        return TRUE;
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    CWnd* main = AfxGetMainWnd();
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable && main)
        return ::TranslateAcceleratorA(main->m_hWnd, m_hAccelTable, msg);
    return FALSE;
}

void TkDockableFrame::OnUpdateFrameTitle(BOOL addToTitle)
{
    TkMDIFrameWnd* mdi = GetMDIFrame();
    if (mdi)
        mdi->OnUpdateFrameTitle(TRUE);
    CDocument* doc = GetActiveDocument();
    if (!(GetStyle() & FWS_ADDTOTITLE) || !doc || !addToTitle)
        return;
    CString title = doc->GetTitle();
    int number = WindowNumber(doc);
    if (number > 0)
    {
        CString suffix;
        suffix.Format(":%d", number);
        title += suffix;
    }
    SetWindowText(title);
}

// Numbered from 1 in the order of the document's views when the document
// shows in more than one frame; 0 when this is its only frame.
int TkDockableFrame::WindowNumber(CDocument* doc)
{
    CPtrList frames;
    POSITION position = doc->GetFirstViewPosition();
    while (position)
    {
        CFrameWnd* frame = doc->GetNextView(position)->GetParentFrame();
        if (frame && !frames.Find(frame))
            frames.AddTail(frame);
    }
    if (frames.GetCount() < 2)
        return 0;
    int number = 1;
    for (position = frames.GetHeadPosition(); position; number++)
    {
        if (frames.GetNext(position) == this)
            return number;
    }
    return 0;
}

// Against the main frame's MDI client, as an MDI child would.
void TkDockableFrame::OnUpdateFrameMenu(BOOL activate, CWnd*, HMENU altMenu)
{
    TkMDIFrameWnd* mdi = GetMDIFrame();
    if (!mdi || !mdi->m_hWndMDIClient)
        return;
    HWND client = mdi->m_hWndMDIClient;
    HMENU menu = activate ? (altMenu ? altMenu : m_hOwnMenu) : NULL;
    if (activate && menu)
        ::SendMessageA(client, WM_MDISETMENU, (WPARAM)menu, (LPARAM)mdi->GetWindowMenuPopup(menu));
    else if (activate || !m_hOwnMenu || altMenu)
        ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    else
        ::SendMessageA(client, WM_MDISETMENU, (WPARAM)mdi->m_hMenuDefault, 0);
}

void TkDockableFrame::Activate()
{
    TkMDIFrameWnd* mdi = GetMDIFrame();
    if (mdi)
        mdi->ActivateDockedFrame(this);
}

void TkDockableFrame::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    TkFrameWnd::OnActivate(state, other, minimized);
    if (state != WA_INACTIVE)
        Activate();
}

int TkDockableFrame::OnMouseActivate(CWnd*, UINT, UINT)
{
    int result = (int)Default();
    Activate();
    return result;
}

void TkDockableFrame::OnParentNotify(UINT message, LPARAM)
{
    Default();
    if (LOWORD(message) == WM_LBUTTONDOWN || LOWORD(message) == WM_RBUTTONDOWN)
        Activate();
}

// Caption drags move the bar: a floating one through its mini frame, a
// docked one through its dock context.
LRESULT TkDockableFrame::OnNcLButtonDownMessage(WPARAM wParam, LPARAM lParam)
{
    Activate();
    LRESULT result = 0;
    if (FilterCurrentMessage(m_pFilterRoot.get(), &result) & TKMF_HANDLED)
        return result;
    CControlBar* bar = GetFrameBar();
    UINT hit = (UINT)wParam;
    if (bar && IsFloating() && hit != HTCLOSE && bar->m_pDockBar)
        return bar->m_pDockBar->GetParentFrame()->SendMessage(WM_NCLBUTTONDOWN, wParam, lParam);
    if (bar && !IsFloating() && bar->m_pDockContext &&
        (hit == HTCAPTION || hit == HTBORDER || IsSizingHit(hit)))
    {
        bar->m_pDockContext->StartDrag(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    }
    return Default();
}

LRESULT TkDockableFrame::OnNcLButtonDblClkMessage(WPARAM wParam, LPARAM lParam)
{
    CControlBar* bar = GetFrameBar();
    if (wParam != HTCAPTION || !bar)
        return Default();
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (IsFloating() && bar->m_pDockBar)
        return bar->m_pDockBar->GetParentFrame()->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, lParam);
    bar->ScreenToClient(&point);
    return bar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(point.x, point.y));
}

LRESULT TkDockableFrame::OnFilteredNcMessage(WPARAM, LPARAM)
{
    return FilterBeforeDefault(this, m_pFilterRoot.get());
}

LRESULT TkDockableFrame::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    return FilterAfterDefault(this, m_pFilterRoot.get());
}

// When the main frame's active frame goes, another visible docking frame
// takes over while no MDI child is shown; else the MDI children do.
void TkDockableFrame::OnDestroy()
{
    TkMDIFrameWnd* mdi = GetMDIFrame();
    if (mdi && mdi->GetActiveFrame() == this &&
        (AnyOtherMDIChildVisible(NULL) || !ActivateNextDockedFrame(this)))
        mdi->ActivateDockedFrame(NULL);
    TkFrameWnd::OnDestroy();
}
