#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkCaptionFeatures.h"
#include "toolkit/frames/TkxFilters.h"
#include "toolkit/frames/TkDocTemplateUtils.h"

using namespace nsSysCommandEx;

IMPLEMENT_DYNCREATE(TkMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(TkMDIChildWnd, CMDIChildWnd)
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivateMessage)
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
    ON_WM_DESTROY()
    ON_WM_SIZE()
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

void TkMDIChildWnd::CreateMsgFilters(UINT flags)
{
    TkCaptionFeatures::Apply(m_pFilterRoot.get(), &m_descriptors, flags);
    // The system draws the standard caption buttons itself: only the extra
    // button of the list stays.
    TkCaptionControlListMsgFilter* list = TkCaptionFeatures::FindControlList(m_pFilterRoot.get());
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
    if (FilterSysCommandEx(m_pFilterRoot.get(), message, wParam, lParam, &result))
        return result;
    return CMDIChildWnd::DefWindowProc(message, wParam, lParam);
}

BOOL TkMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd,
                              CCreateContext* context)
{
    CString title;
    LPCSTR className = LoadFrameResources(resourceId, title);
    CDocTemplate* docTemplate = context ? context->m_pNewDocTemplate : NULL;
    CMultiDocTemplate* multi = docTemplate && docTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))
                                   ? static_cast<CMultiDocTemplate*>(docTemplate)
                                   : NULL;
    TkMDIFrameWnd* main = GetMainFrameWithMenuBar();
    if (multi)
        m_hAccelTable = multi->m_hAccelTable;
    if (main && (multi || resourceId))
    {
        m_nMenuId = multi ? multi->m_nIDResource : resourceId;
        m_bUsesMenuBar = TRUE;
    }
    else if (multi)
        m_hMenuShared = multi->m_hMenuShared;
    return Create(className, title, style | WS_CHILD, rectDefault,
                  static_cast<CMDIFrameWnd*>(parentWnd), context);
}

TkMDIFrameWnd* TkMDIChildWnd::GetMainFrameWithMenuBar()
{
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)))
        return NULL;
    TkMDIFrameWnd* frame = static_cast<TkMDIFrameWnd*>(main);
    return frame->HasMenuBar() ? frame : NULL;
}

void TkMDIChildWnd::OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu)
{
    m_hAltMenu = altMenu;
    CMDIChildWnd::OnUpdateFrameMenu(active, activateWnd, altMenu);
    TkMDIFrameWnd* main = GetMainFrameWithMenuBar();
    if (!main)
        return;
    // The menu bar shows the menu: the window itself shows none.
    if (active && !altMenu && ::GetMenu(main->m_hWnd))
    {
        ::SetMenu(main->m_hWnd, NULL);
        ::DrawMenuBar(main->m_hWnd);
    }
    main->SetWindowMenuPopup();
}

void TkMDIChildWnd::RefreshFrameMenu(CWnd* activateWnd)
{
    OnUpdateFrameMenu(TRUE, activateWnd, m_hAltMenu);
}

LRESULT TkMDIChildWnd::OnFilteredNcMessage(WPARAM, LPARAM)
{
    return FilterBeforeDefault(this, m_pFilterRoot.get());
}

LRESULT TkMDIChildWnd::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    return FilterAfterDefault(this, m_pFilterRoot.get());
}

// A docked frame standing in for the active child shows the child inactive.
LRESULT TkMDIChildWnd::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    TkMDIFrameWnd* main = GetTkMDIFrame();
    BOOL active = wParam && !(main && main->GetActiveDockedFrame());
    LRESULT result = DefWindowProc(WM_NCACTIVATE, active, lParam);
    LRESULT filtered = result;
    FilterCurrentMessage(m_pFilterRoot.get(), &filtered);
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
    if (main)
        main->SetMenuBarMenu(m_nMenuId);
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

// With a menu bar the child's menu shows while it is active. The last child
// going hands the main frame's activation to a visible docking frame when
// there is one, else the menu bar shows the frame's menu.
LRESULT TkMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CMDIChildWnd::OnMDIActivateMessage(wParam, lParam);
    TkMDIFrameWnd* main = GetTkMDIFrame();
    HWND activated = (HWND)lParam;
    if (!main)
        return result;
    if (main->HasMenuBar() && m_nMenuId && activated == m_hWnd)
        main->SetMenuBarMenu(m_nMenuId);
    else if (main->HasMenuBar() && m_nMenuId && !activated)
        main->SetMenuBarMenu((UINT)-1);
    // A docking frame already standing in keeps the activation and its menu.
    if (activated || AnyOtherMDIChildVisible(this) || main->GetActiveDockedFrame())
        return result;
    if (!ActivateNextDockedFrame(NULL) && main->HasMenuBar())
        main->SetMenuBarMenu((UINT)-1);
    return result;
}

void TkMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    TkMDIFrameWnd* main = GetTkMDIFrame();
    if (main && main->HasMenuBar() && type <= SIZE_MAXIMIZED)
        main->RefreshMDIButtons();
    CMDIChildWnd::OnSize(type, cx, cy);
}

// A maximised child's buttons sit in the main frame's menu line, which is
// drawn again without them.
void TkMDIChildWnd::OnDestroy()
{
    CMDIFrameWnd* main = GetMDIFrame();
    if (main && IsZoomed())
        main->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                               SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    CMDIChildWnd::OnDestroy();
}
