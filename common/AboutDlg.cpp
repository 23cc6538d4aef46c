#include "common/AboutDlg.h"

#include "common/VersionInfo.h"

namespace {
const UINT kWebLink = 1001;
const UINT kMailLink = 1002;
}

CAboutDlg::CAboutDlg(CWnd* parent, UINT versionId) : CDialog(IDD_ABOUTBOX, parent), m_versionId(versionId)
{
}

CString CAboutDlg::ProgramVersion()
{
    CWinApp* app = AfxGetApp();
    CString folder = app ? app->m_pszHelpFilePath : "";
    CVersionInfo info;
    if (!app || !info.Open(folder.Left(folder.ReverseFind('\\') + 1) + app->m_pszExeName + ".exe"))
        return "unknown";
    return info.GetFileVersion();
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_version = ProgramVersion();
    SetDlgItemText(m_versionId, "Version " + m_version);
    // The jukebox's template has plain texts instead.
    if (::GetDlgItem(m_hWnd, kWebLink))
        m_webLink.SubclassDlgItem(kWebLink, this);
    if (::GetDlgItem(m_hWnd, kMailLink))
        m_mailLink.SubclassDlgItem(kMailLink, this);
    return TRUE;
}
