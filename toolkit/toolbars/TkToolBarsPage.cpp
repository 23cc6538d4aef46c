#include "toolkit/toolbars/TkToolBarsPage.h"

#include "toolkit/toolbars/TkToolBarManager.h"
#include "toolkit/toolbars/TkToolBarSheet.h"

IMPLEMENT_DYNAMIC(TkToolBarsPage, CPropertyPage)

UINT TkToolBarsPage::s_nStyleChangingMsg = RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING");

TkToolBarsPage::TkToolBarsPage() : CPropertyPage(IDD_TK_TOOLBARS_PAGE), TkToolBarsBase(this), m_pSheet(NULL)
{
}

TkToolBarsPage::~TkToolBarsPage()
{
    if (m_pManager != NULL && m_pSheet != NULL && m_pManager->GetCustomizeDialog() == m_pSheet)
        m_pManager->SetCustomizeDialog(NULL);
}

BOOL TkToolBarsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    AttachList();
    FillList();
    if (m_pManager != NULL)
        m_pManager->AddListener(this);
    return TRUE;
}

void TkToolBarsPage::DoDataExchange(CDataExchange* dx)
{
    ExchangeOptions(dx);
}

BOOL TkToolBarsPage::OnSetActive()
{
    if (!CPropertyPage::OnSetActive())
        return FALSE;
    if (m_pManager != NULL) {
        m_pSheet = TkSheetOfPage(this);
        m_pManager->BeginCustomize(m_pSheet);
    }
    return TRUE;
}

BOOL TkToolBarsPage::OnKillActive()
{
    if (!CPropertyPage::OnKillActive())
        return FALSE;
    TkLeaveCustomizePage(m_pManager, this);
    return TRUE;
}

void TkToolBarsPage::OnReset()
{
    if (m_pManager != NULL) {
        m_pManager->EndCustomize();
        m_pManager->SetCustomizeDialog(NULL);
    }
    CPropertyPage::OnReset();
}

void TkToolBarsPage::OnOK()
{
    CPropertyPage::OnOK();
    Apply();
}

void TkToolBarsPage::OnCancel()
{
    Restore();
    CPropertyPage::OnCancel();
}

void TkToolBarsPage::OnOptionChanged(UINT id)
{
    TkToolBarsBase::OnOptionChanged(id);
    if (id == IDC_TK_TOOLTIPS)
        return;
    WPARAM what = id == IDC_TK_COOL_LOOK ? kTkStyleCoolLook : kTkStyleLargeButtons;
    CPropertySheet* sheet = TkSheetOfPage(this);
    for (int i = 0; sheet != NULL && i < sheet->GetPageCount(); i++) {
        CPropertyPage* page = sheet->GetPage(i);
        if (page != this && page->GetSafeHwnd() != NULL)
            page->SendMessage(s_nStyleChangingMsg, what);
    }
}

LRESULT TkToolBarsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && m_pManager != NULL)
        m_pManager->RemoveListener(this);
    if (OnPanelMessage(message, wParam, lParam))
        return 0;
    return CPropertyPage::WindowProc(message, wParam, lParam);
}
