#include "library/web/CDDBDialogs.h"

#include "library/web/WebResources.h"

#include <commctrl.h>

namespace {

const char kOptions[] = "Options";
const char kUserEmail[] = "User Email";
const int kServerNameMargin = 60;
const int kLocationMargin = 100;
const int kIconSize = 16;

void AddColumn(HWND list, int index, const char* heading, int margin)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = (LPSTR)heading;
    column.cx = (int)::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, (LPARAM)heading) + margin;
    column.iSubItem = index;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, index, (LPARAM)&column);
}

HICON ProgramIcon()
{
    HICON icon = (HICON)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_PROGRAM_ICON),
                                   IMAGE_ICON, kIconSize, kIconSize, 0);
    return icon ? icon : LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
}

} // namespace

// ---- CCDDBMatchDlg ----

CCDDBMatchDlg::CCDDBMatchDlg(CCDDBClient* client, AlbumRecord* album, CWnd* parent)
    : CDialog(IDD_CDDB_MATCH, parent), m_pClient(client), m_pAlbum(album), m_nChoice(0)
{
}

BOOL CCDDBMatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const CString& line : m_pClient->m_matches)
        SendDlgItemMessage(IDC_MATCH_LIST, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)line);
    m_nChoice = 0;
    CString title;
    title.Format("Inexact CDDB Match for Player %d, Disc %d - Please Select the Appropriate Title",
                 m_pAlbum->GetStoredPlayer() + 1, m_pAlbum->GetSlot());
    SetWindowText(title);
    return TRUE;
}

void CCDDBMatchDlg::OnOK()
{
    int selected = (int)SendDlgItemMessage(IDC_MATCH_LIST, LB_GETCURSEL);
    if (selected < 0)
        return;
    m_nChoice = selected;
    CDialog::OnOK();
}

void CCDDBMatchDlg::OnCancel()
{
    m_nChoice = -1;
    CDialog::OnCancel();
}

// ---- CCDDBServerDlg ----

CCDDBServerDlg::CCDDBServerDlg(CCDDBClient* client, CWnd* parent)
    : CDialog(IDD_CDDB_SERVER, parent), m_pClient(client), m_nChoice(0)
{
}

HWND CCDDBServerDlg::List() const
{
    return ::GetDlgItem(m_hWnd, IDC_SERVER_LIST);
}

BOOL CCDDBServerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = List();
    // The list view owns the image list and destroys it with itself.
    HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(images, ProgramIcon());
    ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    AddColumn(list, 0, "Server Name", kServerNameMargin);
    AddColumn(list, 1, "Location", kLocationMargin);
    for (size_t i = 0; i < m_pClient->m_sites.size(); i++) {
        const CDDBSite& site = m_pClient->m_sites[i];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = (int)i;
        item.pszText = (LPSTR)(LPCSTR)site.m_strHost;
        int row = (int)::SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = 1;
        item.pszText = (LPSTR)(LPCSTR)site.m_strDescription;
        ::SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
    }
    return TRUE;
}

void CCDDBServerDlg::OnOK()
{
    int selected = (int)::SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (selected < 0)
        return;
    m_nChoice = selected;
    CDialog::OnOK();
}

void CCDDBServerDlg::OnCancel()
{
    m_nChoice = -1;
    CDialog::OnCancel();
}

// ---- CEmailDlg ----

CEmailDlg::CEmailDlg(CWnd* parent) : CDialog(IDD_EMAIL, parent)
{
}

void CEmailDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_EMAIL, m_strEmail);
}

void CEmailDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!CCDDBClient::IsValidEmail(m_strEmail)) {
        AfxMessageBox("The e-mail address you have entered is not valid.", MB_OK);
        return;
    }
    EndDialog(IDOK);
}

// ---- CCDDBDialogs ----

void CCDDBDialogs::EnsureUserEmail(CCDDBClient& client)
{
    if (client.m_bUseControl)
        return;
    CWinApp* app = AfxGetApp();
    CString email = app ? app->GetProfileString(kOptions, kUserEmail, "") : client.m_strUserEmail;
    if (CCDDBClient::IsValidEmail(email))
        return;
    CEmailDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;
    if (app)
        app->WriteProfileString(kOptions, kUserEmail, dialog.m_strEmail);
    client.m_strUserEmail = dialog.m_strEmail;
}

int CCDDBDialogs::ChooseMatch(CCDDBClient& client, AlbumRecord& album)
{
    CCDDBMatchDlg dialog(&client, &album);
    return dialog.DoModal() == IDOK ? dialog.m_nChoice : -1;
}

int CCDDBDialogs::ChooseServer(CCDDBClient& client)
{
    CCDDBServerDlg dialog(&client);
    return dialog.DoModal() == IDOK ? dialog.m_nChoice : -1;
}
