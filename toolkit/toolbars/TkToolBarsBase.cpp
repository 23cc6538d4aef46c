#include "toolkit/toolbars/TkToolBarsBase.h"

#include "toolkit/frames/TkFrameMenuBar.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkNewToolBar.h"
#include "toolkit/toolbars/TkToolBarManager.h"

namespace {

// The gap between a new bar and the corner it is floated from.
const int kNewBarOffset = 5;

BOOL IsUserBar(UINT id)
{
    return id >= kTkFirstUserBarId && id != kTkMenuBarId;
}

}  // namespace

TkToolBarsBase::TkToolBarsBase(CWnd* panel)
    : m_bToolTips(TRUE), m_bCoolLook(FALSE), m_bLargeButtons(FALSE), m_bOpenToolTips(TRUE),
      m_bOpenCoolLook(FALSE), m_bOpenLargeButtons(FALSE), m_pManager(NULL), m_pPanel(panel)
{
}

void TkToolBarsBase::SetManager(TkToolBarManager* manager)
{
    m_pManager = manager;
    if (manager == NULL)
        return;
    m_bToolTips = m_bOpenToolTips = manager->IsToolTipsEnabled();
    m_bCoolLook = m_bOpenCoolLook = manager->IsCoolLookEnabled();
    m_bLargeButtons = m_bOpenLargeButtons = manager->IsLargeBtnsEnabled();
}

void TkToolBarsBase::Apply()
{
    if (m_pManager != NULL)
        m_pManager->ApplyOptions(m_bToolTips, m_bCoolLook, m_bLargeButtons);
}

void TkToolBarsBase::Restore()
{
    if (m_pManager != NULL)
        m_pManager->ApplyOptions(m_bOpenToolTips, m_bOpenCoolLook, m_bOpenLargeButtons);
}

void TkToolBarsBase::ExchangeOptions(CDataExchange* dx)
{
    DDX_Check(dx, IDC_TK_TOOLTIPS, m_bToolTips);
    DDX_Check(dx, IDC_TK_COOL_LOOK, m_bCoolLook);
    DDX_Check(dx, IDC_TK_LARGE_BUTTONS, m_bLargeButtons);
}

BOOL TkToolBarsBase::OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TkToolBarManager::s_nBarNotifyMsg) {
        OnBarNotify((UINT)wParam, lParam);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (id == IDC_TK_TOOLBARS_LIST && code == LBN_SELCHANGE)
        UpdateControls();
    else if (id == IDC_TK_TOOLBARS_LIST && code == CLBN_CHKCHANGE)
        OnCheckChange();
    else if (id == IDC_TK_NAME && code == EN_KILLFOCUS)
        OnNameChanged();
    else if (id == IDC_TK_RESET && code == BN_CLICKED)
        OnResetOrDelete();
    else if (id == IDC_TK_NEW_TOOLBAR && code == BN_CLICKED)
        OnNew();
    else if ((id == IDC_TK_TOOLTIPS || id == IDC_TK_COOL_LOOK || id == IDC_TK_LARGE_BUTTONS) &&
             code == BN_CLICKED)
        OnOptionChanged(id);
    else
        return FALSE;
    return TRUE;
}

void TkToolBarsBase::OnOptionChanged(UINT)
{
    m_pPanel->UpdateData(TRUE);
    Apply();
}

BOOL TkToolBarsBase::AttachList()
{
    return m_list.SubclassDlgItem(IDC_TK_TOOLBARS_LIST, m_pPanel);
}

void TkToolBarsBase::AddBarItem(int index, TkCustomToolBar* bar)
{
    CString title;
    bar->GetWindowText(title);
    index = m_list.InsertString(index, title);
    if (index < 0)
        return;
    m_list.SetItemData(index, bar->GetDlgCtrlID());
    m_list.SetCheck(index, bar->IsWindowVisible() ? 1 : 0);
}

void TkToolBarsBase::FillList()
{
    m_list.ResetContent();
    CFrameWnd* frame = m_pManager != NULL ? m_pManager->GetFrameWnd() : NULL;
    if (frame != NULL) {
        for (POSITION position = frame->m_listControlBars.GetHeadPosition(); position != NULL;) {
            CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(position));
            if (bar->IsKindOf(RUNTIME_CLASS(TkCustomToolBar)) && bar->GetSafeHwnd() != NULL)
                AddBarItem(-1, static_cast<TkCustomToolBar*>(bar));
        }
    }
    m_list.SetCurSel(0);
    UpdateControls();
}

int TkToolBarsBase::FindItem(UINT barId) const
{
    for (int i = 0; i < m_list.GetCount(); i++) {
        if ((UINT)m_list.GetItemData(i) == barId)
            return i;
    }
    return -1;
}

TkCustomToolBar* TkToolBarsBase::SelectedBar() const
{
    int index = m_list.GetSafeHwnd() != NULL ? m_list.GetCurSel() : -1;
    if (index < 0 || m_pManager == NULL)
        return NULL;
    return m_pManager->FindBarById((UINT)m_list.GetItemData(index));
}

void TkToolBarsBase::EnablePanelItem(UINT id, BOOL enable)
{
    CWnd* item = m_pPanel->GetDlgItem(id);
    if (item != NULL)
        item->EnableWindow(enable);
}

void TkToolBarsBase::UpdateControls()
{
    CString resetText;
    resetText.LoadString(IDS_TK_RESET);
    CString name;
    BOOL userBar = FALSE;
    TkCustomToolBar* bar = SelectedBar();
    if (bar != NULL) {
        bar->GetWindowText(name);
        userBar = IsUserBar(bar->GetDlgCtrlID());
        if (userBar)
            resetText.LoadString(IDS_TK_DELETE);
    }
    m_pPanel->SetDlgItemText(IDC_TK_NAME, name);
    m_pPanel->SetDlgItemText(IDC_TK_RESET, resetText);
    EnablePanelItem(IDC_TK_NAME, userBar);
    EnablePanelItem(IDC_TK_NAME_LABEL, userBar);
    m_pPanel->SendDlgItemMessage(IDC_TK_NAME, EM_SETMODIFY, FALSE, 0);
}

void TkToolBarsBase::OnCheckChange()
{
    int index = m_list.GetCurSel();
    TkCustomToolBar* bar = SelectedBar();
    if (bar == NULL)
        return;
    if (dynamic_cast<TkFrameMenuBar*>(bar) != NULL) {
        m_list.SetCheck(index, 1);
        return;
    }
    m_pManager->ShowBar(bar, m_list.GetCheck(index) != 0);
    m_pManager->GetFrameWnd()->RecalcLayout();
}

// An empty name is not taken: the edit gets the bar's title back.
void TkToolBarsBase::OnNameChanged()
{
    CWnd* edit = m_pPanel->GetDlgItem(IDC_TK_NAME);
    if (edit == NULL || !edit->IsWindowEnabled() || !edit->SendMessage(EM_GETMODIFY))
        return;
    int index = m_list.GetCurSel();
    TkCustomToolBar* bar = SelectedBar();
    if (bar == NULL)
        return;
    CString name;
    edit->GetWindowText(name);
    if (name.IsEmpty()) {
        UpdateControls();
        return;
    }
    if (name.GetLength() > kTkMaxToolBarName) {
        name = name.Left(kTkMaxToolBarName);
        edit->SetWindowText(name);
    }
    bar->SetWindowText(name);
    // Floating, the bar's parent frame is its mini frame, which takes its
    // title from its dock bar whenever it is laid out.
    if (bar->IsFloating() && bar->m_pDockBar != NULL && bar->GetParentFrame() != NULL) {
        bar->m_pDockBar->SetWindowText(name);
        bar->GetParentFrame()->SetWindowText(name);
    }
    edit->SendMessage(EM_SETMODIFY, FALSE);
    int check = m_list.GetCheck(index);
    DWORD_PTR data = m_list.GetItemData(index);
    m_list.DeleteString(index);
    m_list.InsertString(index, name);
    m_list.SetItemData(index, data);
    m_list.SetCheck(index, check);
    m_list.SetCurSel(index);
}

void TkToolBarsBase::OnResetOrDelete()
{
    TkCustomToolBar* bar = SelectedBar();
    if (bar == NULL)
        return;
    UINT id = bar->GetDlgCtrlID();
    if (TkFrameMenuBar* menuBar = dynamic_cast<TkFrameMenuBar*>(bar)) {
        menuBar->ResetButtons(FALSE);
        return;
    }
    if (IsUserBar(id)) {
        // The list hears of it through "WM_BARNOTIFY".
        bar->DestroyWindow();
        return;
    }
    const UINT* ids = NULL;
    int count = 0;
    if (!m_pManager->GetDefaultButtons(id, &ids, &count))
        return;
    bar->SetButtons(ids, count);
    m_pManager->GetFrameWnd()->RecalcLayout();
    bar->Invalidate();
}

BOOL TkToolBarsBase::OnNew()
{
    if (m_pManager == NULL)
        return FALSE;
    m_pManager->ExitConfigMode();
    TkNewToolBar dialog(m_pPanel);
    INT_PTR result = dialog.DoModal();
    m_pManager->EnterConfigMode();
    if (result != IDOK)
        return FALSE;
    TkCustomToolBar* bar = m_pManager->CreateUserToolBar(dialog.m_strName);
    if (bar == NULL)
        return FALSE;
    CFrameWnd* frame = m_pManager->GetFrameWnd();
    CPoint point;
    CWnd* topDock = frame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    if (topDock != NULL) {
        CRect rect;
        topDock->GetWindowRect(&rect);
        point = CPoint(rect.left, rect.bottom);
    } else {
        CRect rect;
        frame->GetClientRect(&rect);
        frame->ClientToScreen(&rect);
        point = rect.BottomRight();
    }
    point.Offset(kNewBarOffset, kNewBarOffset);
    m_pManager->FloatBar(bar, point);
    return TRUE;
}

void TkToolBarsBase::OnBarNotify(UINT barId, LPARAM code)
{
    int index = FindItem(barId);
    switch (code) {
    case kTkBarShown:
    case kTkBarHidden:
        if (index >= 0)
            m_list.SetCheck(index, code == kTkBarShown ? 1 : 0);
        break;
    case kTkBarCreated: {
        TkCustomToolBar* bar = m_pManager != NULL ? m_pManager->FindBarById(barId) : NULL;
        if (bar == NULL || index >= 0)
            break;
        int at = 0;
        while (at < m_list.GetCount() && (UINT)m_list.GetItemData(at) <= barId)
            at++;
        AddBarItem(at, bar);
        m_list.SetCheck(at, 1);
        break;
    }
    case kTkBarDestroyed: {
        if (index < 0)
            break;
        BOOL selected = m_list.GetCurSel() == index;
        m_list.DeleteString(index);
        if (selected && m_list.GetCount() > 0)
            m_list.SetCurSel(index < m_list.GetCount() ? index : m_list.GetCount() - 1);
        UpdateControls();
        break;
    }
    default:
        break;
    }
}
