#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/Module.h"
#include "platform/mfc/WinApp.h"

namespace
{
// The sheet whose window the property-sheet callback is about to report.
thread_local CPropertySheet* t_sheetInit = NULL;
// The sheet whose modal loop (the system's) runs on this thread, and the hook
// that lets it see its page keys there.
thread_local CPropertySheet* t_modalSheet = NULL;
thread_local HHOOK t_modalKeyHook = NULL;

BOOL KeyIsDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}
}

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId)
{
    memset(&m_psp, 0, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = PageDlgProc;
    m_psp.lParam = (LPARAM)this;
    if (captionId && m_caption.LoadString(captionId))
    {
        m_psp.pszTitle = m_caption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    // The sheet makes the page's window; the first message binds it to the
    // object, and everything after reaches the object through its map.
    if (message != WM_INITDIALOG)
        return FALSE;
    CPropertyPage* page = (CPropertyPage*)((PROPSHEETPAGEA*)lParam)->lParam;
    if (!page->SubclassWindow(hWnd))
        return TRUE;
    return page->OnInitDialog();
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    switch (header->code)
    {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        *result = !OnKillActive();
        break;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
    // The sheet reads the answer where a dialog procedure leaves it.
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

// The sheet's OK and Cancel end it; a page only hears of them.
void CPropertyPage::OnOK()
{
}

void CPropertyPage::OnCancel()
{
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parentWnd, UINT selectPage)
    : m_caption(caption)
{
    CommonConstruct(parentWnd, selectPage);
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parentWnd, UINT selectPage)
{
    m_caption.LoadString(captionId);
    CommonConstruct(parentWnd, selectPage);
}

void CPropertySheet::CommonConstruct(CWnd* parentWnd, UINT selectPage)
{
    m_pParentWnd = parentWnd;
    m_centerOnShow = FALSE;
    memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.nStartPage = selectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    if (!m_hWnd)
        return;
    HPROPSHEETPAGE handle = CreatePropertySheetPageA(&page->m_psp);
    if (handle)
        SendMessage(PSM_ADDPAGE, 0, (LPARAM)handle);
}

void CPropertySheet::RemovePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index >= 0)
        RemovePage(index);
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, index);
    m_pages.erase(m_pages.begin() + index);
}

int CPropertySheet::GetPageCount() const
{
    return (int)m_pages.size();
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[index] : NULL;
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i)
    {
        if (m_pages[i] == page)
            return i;
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return (int)m_psh.nStartPage;
    HWND active = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    for (int i = 0; i < GetPageCount(); ++i)
    {
        if (m_pages[i]->m_hWnd == active)
            return i;
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    if (!m_hWnd)
    {
        m_psh.nStartPage = index;
        return TRUE;
    }
    return (BOOL)SendMessage(PSM_SETCURSEL, index);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page)
{
    return SetActivePage(GetPageIndex(page));
}

void CPropertySheet::SetTitle(LPCSTR title, UINT style)
{
    m_caption = title;
    m_psh.pszCaption = m_caption;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
    if (m_hWnd)
        SendMessage(PSM_SETTITLEA, style, (LPARAM)(LPCSTR)m_caption);
}

void CPropertySheet::PressButton(int button)
{
    SendMessage(PSM_PRESSBUTTON, button);
}

void CPropertySheet::BuildHeader()
{
    m_pageRecords.clear();
    for (CPropertyPage* page : m_pages)
        m_pageRecords.push_back(page->m_psp);
    m_psh.nPages = (UINT)m_pageRecords.size();
    m_psh.ppsp = m_pageRecords.empty() ? NULL : m_pageRecords.data();
    m_psh.pszCaption = m_caption;
    m_psh.pfnCallback = SheetCallback;
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM)
{
    if (message != PSCB_INITIALIZED || !t_sheetInit)
        return 0;
    CPropertySheet* sheet = t_sheetInit;
    t_sheetInit = NULL;
    if (!sheet->SubclassWindow(hWnd))
        return 0;
    RECT before, after;
    ::GetWindowRect(hWnd, &before);
    sheet->OnInitDialog();
    ::GetWindowRect(hWnd, &after);
    sheet->m_centerOnShow = !(sheet->GetStyle() & WS_CHILD) && after.left == before.left &&
                            after.top == before.top;
    return 0;
}

// The sheet is still being sized to its pages after OnInitDialog, so it is
// centred on its owner just before it first shows, as a dialog is.
void CPropertySheet::OnShowWindow(BOOL show, UINT status)
{
    if (show && m_centerOnShow)
    {
        m_centerOnShow = FALSE;
        CenterWindow();
    }
    Default();
}

BOOL CPropertySheet::OnInitDialog()
{
    return TRUE;
}

BOOL CPropertySheet::ChangePageByKey(const MSG* msg)
{
    if (msg->message != WM_KEYDOWN || !KeyIsDown(VK_CONTROL) || !m_hWnd ||
        (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)))
        return FALSE;
    int step;
    switch (msg->wParam)
    {
    case VK_TAB:
        step = KeyIsDown(VK_SHIFT) ? -1 : 1;
        break;
    case VK_NEXT:
        step = 1;
        break;
    case VK_PRIOR:
        step = -1;
        break;
    default:
        return FALSE;
    }
    int count = GetPageCount();
    int active = GetActiveIndex();
    if (count > 1 && active >= 0)
        SetActivePage((active + step + count) % count);
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    return ChangePageByKey(msg) || CWnd::PreTranslateMessage(msg);
}

// The system's modal loop gives the keys to the dialog manager, which takes
// Ctrl+Tab for Tab: the sheet sees them first here and leaves a null message.
LRESULT CALLBACK CPropertySheet::ModalKeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && t_modalSheet && t_modalSheet->ChangePageByKey(msg))
        msg->message = WM_NULL;
    return CallNextHookEx(t_modalKeyHook, code, wParam, lParam);
}

INT_PTR CPropertySheet::DoModal()
{
    BuildHeader();
    m_psh.dwFlags &= ~PSH_MODELESS;
    HWND owner = m_pParentWnd->GetSafeHwnd();
    if (!owner)
        owner = AfxGetMainWnd()->GetSafeHwnd();
    m_psh.hwndParent = owner;
    t_sheetInit = this;
    CPropertySheet* outerSheet = t_modalSheet;
    HHOOK outerHook = t_modalKeyHook;
    t_modalSheet = this;
    t_modalKeyHook = SetWindowsHookExA(WH_GETMESSAGE, ModalKeyHook, NULL, GetCurrentThreadId());
    INT_PTR result = PropertySheetA(&m_psh);
    if (t_modalKeyHook)
        UnhookWindowsHookEx(t_modalKeyHook);
    t_modalSheet = outerSheet;
    t_modalKeyHook = outerHook;
    t_sheetInit = NULL;
    // The window has gone by now; a still attached object lets go of it.
    if (m_hWnd)
        Detach();
    return result > 0 ? IDOK : IDCANCEL;
}

BOOL CPropertySheet::Create(CWnd* parentWnd, DWORD style, DWORD exStyle)
{
    BuildHeader();
    m_psh.dwFlags |= PSH_MODELESS;
    m_psh.hwndParent = parentWnd->GetSafeHwnd();
    t_sheetInit = this;
    HWND hWnd = (HWND)PropertySheetA(&m_psh);
    t_sheetInit = NULL;
    if (!hWnd || hWnd == (HWND)-1 || m_hWnd != hWnd)
        return FALSE;
    if (style != (DWORD)-1)
        SetWindowLongA(m_hWnd, GWL_STYLE, style);
    if (exStyle)
        ModifyStyleEx(0, exStyle);
    return TRUE;
}
