#include "frames/TkMDIChildWnd.h"
#include "frames/TkMDIFrameWnd.h"
#include "filters/TkCaptionFeatures.h"
#include "filters/TkxFilters.h"
#include "frames/TkDocTemplateUtils.h"

using namespace nsSysCommandEx;

IMPLEMENT_DYNCREATE(TkMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(TkMDIChildWnd, CMDIChildWnd)
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivateMessage)
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
    ON_MESSAGE(WM_NCPAINT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_SETTEXT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONUP, OnFilteredNcMessage)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredNcMessage)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredNcMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredNcMessage)
END_MESSAGE_MAP()

TkMDIChildWnd::TkMDIChildWnd()
    : m_nMenuId(0), m_bUsesMenuBar(FALSE), m_hAltMenu(NULL),
      m_pFilterRoot(new TkMsgFilter(this, (UINT)-1))
{
    TkCaptionFeatures::AddDescriptors(m_descriptors, RUNTIME_CLASS(TkxButtonMDIChildMsgFilter));
}

TkMDIChildWnd::~TkMDIChildWnd()
{
    delete m_pFilterRoot;
}

void TkMDIChildWnd::CreateMsgFilters(UINT flags)
{
    TkCaptionFeatures::Apply(m_pFilterRoot, &m_descriptors, flags);
    // The system draws the standard caption buttons itself: only the extra
    // button of the list stays.
    TkCaptionControlListMsgFilter* list = TkCaptionFeatures::FindControlList(m_pFilterRoot);
    if (list)
        m_pFilterRoot->ApplyDescriptors(&list->GetControlTable(), FALSE);
}

TkMDIFrameWnd* TkMDIChildWnd::GetTkMDIFrame() const
{
    CMDIFrameWnd* frame = GetMDIFrame();
    return frame && frame->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd))
               ? static_cast<TkMDIFrameWnd*>(frame)
               : NULL;
}

LRESULT TkMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (FilterSysCommandEx(m_pFilterRoot, message, wParam, lParam, &result))
        return result;
    return CMDIChildWnd::DefWindowProc(message, wParam, lParam);
}

void TkMDIChildWnd::OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu)
{
    m_hAltMenu = altMenu;
    CMDIChildWnd::OnUpdateFrameMenu(active, activateWnd, altMenu);
}

void TkMDIChildWnd::RefreshFrameMenu(CWnd* activateWnd)
{
    OnUpdateFrameMenu(TRUE, activateWnd, m_hAltMenu);
}

LRESULT TkMDIChildWnd::OnFilteredNcMessage(WPARAM, LPARAM)
{
    return FilterBeforeDefault(this, m_pFilterRoot);
}

LRESULT TkMDIChildWnd::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    return FilterAfterDefault(this, m_pFilterRoot);
}

// A docked frame standing in for the active child shows the child inactive.
LRESULT TkMDIChildWnd::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    TkMDIFrameWnd* main = GetTkMDIFrame();
    BOOL active = wParam && !(main && main->GetActiveDockedFrame());
    LRESULT result = DefWindowProc(WM_NCACTIVATE, active, lParam);
    LRESULT filtered = result;
    FilterCurrentMessage(m_pFilterRoot, &filtered);
    return result;
}

void TkMDIChildWnd::ActivateAsClicked()
{
    CMDIFrameWnd* main = GetMDIFrame();
    if (main && main->MDIGetActive() != this)
        MDIActivate();
    CView* view = GetActiveView();
    HWND focus = ::GetFocus();
    if (view && focus != view->m_hWnd && !::IsChild(view->m_hWnd, focus))
        view->OnActivateView(TRUE, view, view);
    SendMessage(WM_NCACTIVATE, TRUE);
    OnUpdateFrameTitle(TRUE);
    RefreshFrameMenu(this);
    if (main)
        ::DrawMenuBar(main->m_hWnd);
}

int TkMDIChildWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    TkMDIFrameWnd* main = GetTkMDIFrame();
    if (main)
        main->DeactivateDockedFrame(FALSE);
    Default();
    ActivateAsClicked();
    return MA_ACTIVATE;
}

LRESULT TkMDIChildWnd::OnChildActivateMessage(WPARAM, LPARAM)
{
    TkMDIFrameWnd* main = GetTkMDIFrame();
    if (main)
        main->DeactivateDockedFrame(FALSE);
    LRESULT result = Default();
    SendMessage(WM_NCACTIVATE, TRUE);
    return result;
}

// The last child going hands the main frame's activation to a visible
// docking frame when there is one.
LRESULT TkMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CMDIChildWnd::OnMDIActivateMessage(wParam, lParam);
    TkMDIFrameWnd* main = GetTkMDIFrame();
    HWND activated = (HWND)lParam;
    if (activated || !main || AnyOtherMDIChildVisible(this) || main->GetActiveDockedFrame())
        return result;
    ActivateNextDockedFrame(NULL);
    return result;
}
