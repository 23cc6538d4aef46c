#include "toolkit/toolbars/TkToolBarCmdPage.h"

#include "toolkit/frames/TkFrameMenuBar.h"
#include "toolkit/toolbars/TkBtnGroup.h"
#include "toolkit/toolbars/TkCustomizeToolBar.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarManager.h"
#include "toolkit/toolbars/TkToolBarSheet.h"
#include "toolkit/toolbars/TkToolBarsPage.h"

namespace {

// The categories' windows keep this far inside the "Buttons" frame (dialog units).
const int kAreaMarginX = 6;
const int kAreaMarginY = 8;

}  // namespace

IMPLEMENT_DYNAMIC(TkToolBarCmdPage, CPropertyPage)

TkToolBarCmdPage::CGroupArray::~CGroupArray()
{
    for (int i = 0; i < GetSize(); i++)
        delete GetGroup(i);
}

TkToolBarCmdPage::TkToolBarCmdPage(UINT captionId)
    : CPropertyPage(IDD_TK_COMMANDS_PAGE, captionId), m_pManager(NULL), m_nShown(-1)
{
}

void TkToolBarCmdPage::DefineBtnGroup(LPCSTR title, int count, const UINT* ids)
{
    m_groups.Add(new TkTBBtnGroup(title, count, ids));
}

void TkToolBarCmdPage::DefineMenuGroup(LPCSTR title)
{
    if (m_pManager == NULL || m_menuIds.GetSize() > 0)
        return;
    if (m_pManager->GetFirstButtonMap() == NULL && m_pManager->GetSecondButtonMap() == NULL)
        return;
    TkCustomToolBar* menuBar = m_pManager->GetFrameMenuBar();
    TkFrameMenuBar* menus = dynamic_cast<TkFrameMenuBar*>(menuBar);
    if (menus == NULL)
        return;
    UINT bit = 0;
    if (!menus->LookupMenuBit(menus->GetActiveMenu(), &bit))
        bit = ~0u;
    for (int i = 0; i < menuBar->GetCount(); i++) {
        TkStdBtn* button = menuBar->GetButton(i);
        if (button->m_nKind != kTkBtnMenu || (static_cast<TkTBMenuBtn*>(button)->m_dwMenus & bit) == 0)
            continue;
        if (TkFindMenuBtnEntry(m_pManager, button->m_nID) != NULL)
            m_menuIds.Add(button->m_nID);
    }
    if (m_menuIds.GetSize() > 0)
        m_groups.Add(new TkMenuBtnGroup(title, (int)m_menuIds.GetSize(), m_menuIds.GetData()));
}

void TkToolBarCmdPage::SetManager(TkToolBarManager* manager)
{
    m_pManager = manager;
    if (manager != NULL && GetSafeHwnd() != NULL)
        manager->AddListener(this);
}

CRect TkToolBarCmdPage::GroupArea() const
{
    CRect area(0, 0, 0, 0);
    CWnd* frame = GetDlgItem(IDC_TK_BUTTONS_FRAME);
    if (frame == NULL)
        return area;
    frame->GetWindowRect(&area);
    ScreenToClient(&area);
    CRect margin(0, 0, kAreaMarginX, kAreaMarginY);
    MapDialogRect(&margin);
    area.DeflateRect(margin.right, margin.bottom);
    return area;
}

BOOL TkToolBarCmdPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (m_pManager != NULL)
        m_pManager->AddListener(this);
    CRect area = GroupArea();
    UINT id = kTkFirstCategoryId;
    for (int i = 0; i < m_groups.GetSize(); i++) {
        TkBtnGroup* group = m_groups.GetGroup(i);
        if (!group->Create(this, m_pManager, id--))
            return FALSE;
        ::SetWindowPos(group->m_pWnd->m_hWnd, HWND_TOP, area.left, area.top, area.Width(), area.Height(),
                       SWP_NOACTIVATE);
        group->FitToWidth(area);
        group->m_pWnd->ShowWindow(i == 0 ? SW_SHOWNA : SW_HIDE);
        SendDlgItemMessage(IDC_TK_CATEGORIES, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)group->m_strTitle);
    }
    SendDlgItemMessage(IDC_TK_CATEGORIES, LB_SETCURSEL, 0);
    return TRUE;
}

BOOL TkToolBarCmdPage::OnSetActive()
{
    if (!CPropertyPage::OnSetActive())
        return FALSE;
    if (m_pManager != NULL)
        m_pManager->BeginCustomize(TkSheetOfPage(this));
    int selected = (int)SendDlgItemMessage(IDC_TK_CATEGORIES, LB_GETCURSEL);
    if (selected >= 0 && selected < m_groups.GetSize() && m_groups.GetGroup(selected)->m_pWnd != NULL) {
        m_groups.GetGroup(selected)->Activate(TRUE);
        m_nShown = selected;
    }
    return TRUE;
}

BOOL TkToolBarCmdPage::OnKillActive()
{
    if (!CPropertyPage::OnKillActive())
        return FALSE;
    TkLeaveCustomizePage(m_pManager, this);
    if (m_nShown >= 0)
        m_groups.GetGroup(m_nShown)->Activate(FALSE);
    m_nShown = -1;
    return TRUE;
}

void TkToolBarCmdPage::OnReset()
{
    if (m_pManager != NULL) {
        m_pManager->EndCustomize();
        m_pManager->SetCustomizeDialog(NULL);
    }
    if (m_nShown >= 0)
        m_groups.GetGroup(m_nShown)->Activate(FALSE);
    m_nShown = -1;
    CPropertyPage::OnReset();
}

void TkToolBarCmdPage::OnCategoryChange()
{
    int selected = (int)SendDlgItemMessage(IDC_TK_CATEGORIES, LB_GETCURSEL);
    if (selected == m_nShown || selected < 0 || selected >= m_groups.GetSize())
        return;
    if (m_nShown >= 0)
        m_groups.GetGroup(m_nShown)->Activate(FALSE);
    for (int i = 0; i < m_groups.GetSize(); i++) {
        CWnd* wnd = m_groups.GetGroup(i)->m_pWnd;
        if (wnd != NULL && wnd->GetSafeHwnd() != NULL)
            wnd->ShowWindow(i == selected ? SW_SHOWNA : SW_HIDE);
    }
    m_groups.GetGroup(selected)->Activate(TRUE);
    m_nShown = selected;
}

void TkToolBarCmdPage::ShowDescription(UINT id)
{
    CString text;
    if (id != 0 && text.LoadString(id)) {
        int end = text.Find('\n');
        if (end >= 0)
            text = text.Left(end);
    }
    SetDlgItemText(IDC_TK_DESCRIPTION, text);
}

TkBtnGroup* TkToolBarCmdPage::GroupOfWindow(UINT id) const
{
    for (int i = 0; i < m_groups.GetSize(); i++) {
        CWnd* wnd = m_groups.GetGroup(i)->m_pWnd;
        if (wnd != NULL && wnd->GetSafeHwnd() != NULL && (UINT)wnd->GetDlgCtrlID() == id)
            return m_groups.GetGroup(i);
    }
    return NULL;
}

void TkToolBarCmdPage::OnBarNotify(UINT barId, LPARAM code)
{
    TkBtnGroup* group = code == kTkBarSelectionChanged ? GroupOfWindow(barId) : NULL;
    if (group == NULL || !group->m_pWnd->IsKindOf(RUNTIME_CLASS(TkCustomizeToolBar)))
        return;
    TkCustomizeToolBar* bar = static_cast<TkCustomizeToolBar*>(group->m_pWnd);
    int index = bar->GetSelectedIndex();
    ShowDescription(index >= 0 && index < bar->GetCount() ? bar->GetButtonID(index) : 0);
}

void TkToolBarCmdPage::OnStyleChanging(WPARAM what)
{
    if (m_pManager == NULL)
        return;
    for (int i = 0; i < m_groups.GetSize(); i++) {
        CWnd* wnd = m_groups.GetGroup(i)->m_pWnd;
        if (wnd == NULL || wnd->GetSafeHwnd() == NULL || !wnd->IsKindOf(RUNTIME_CLASS(TkCustomizeToolBar)))
            continue;
        TkCustomizeToolBar* bar = static_cast<TkCustomizeToolBar*>(wnd);
        if (what == kTkStyleLargeButtons)
            bar->ResizeButtons();
        else if (what == kTkStyleCoolLook)
            bar->ModifyExBarStyle(m_pManager->IsCoolLookEnabled() ? 0 : kTkCoolLookBits,
                                  m_pManager->IsCoolLookEnabled() ? kTkCoolLookBits : 0, FALSE);
        CRect rect;
        bar->GetWindowRect(&rect);
        bar->FitToWidth(rect);
        bar->Invalidate();
    }
}

LRESULT TkToolBarCmdPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TkToolBarManager::s_nBarNotifyMsg) {
        OnBarNotify((UINT)wParam, lParam);
        return 0;
    }
    if (message == TkToolBarsPage::s_nStyleChangingMsg) {
        OnStyleChanging(wParam);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TK_CATEGORIES && HIWORD(wParam) == LBN_SELCHANGE) {
        OnCategoryChange();
        return 0;
    }
    if (message == WM_DESTROY && m_pManager != NULL)
        m_pManager->RemoveListener(this);
    return CPropertyPage::WindowProc(message, wParam, lParam);
}
