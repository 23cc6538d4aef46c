#include "shell/options/CddbPage.h"
#include "shell/options/OptionsResources.h"

#include "library/web/CDDBClient.h"

BEGIN_MESSAGE_MAP(CCddbPage, COptionsPage)
    ON_BN_CLICKED(IDC_CDDB_USE_CDDB2, OnUseCddb2)
    ON_BN_CLICKED(IDC_CDDB_LOCATE, OnLocate)
    ON_BN_CLICKED(IDC_CDDB_REGISTER, OnRegister)
END_MESSAGE_MAP()

CCddbPage::CCddbPage(CPage1& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_CDDB, host), m_values(values)
{
}

void CCddbPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_CDDB_PROMPT_INEXACT, m_values.m_promptInexact);
    DDX_Check(pDX, IDC_CDDB_USE_INTERNET, m_values.m_useInternet);
    DDX_Text(pDX, IDC_CDDB_EMAIL, m_values.m_userEmail);
    DDX_Text(pDX, IDC_CDDB_SERVER, m_values.m_cddbServer);
    DDX_Check(pDX, IDC_CDDB_USE_CD_TEXT, m_values.m_useCdText);
    DDX_Check(pDX, IDC_CDDB_USE_PROXY, m_values.m_useHttpProxy);
    DDX_Check(pDX, IDC_CDDB_USE_CDDB2, m_values.m_useCddb2);
    DDX_Text(pDX, IDC_CDDB_PROXY_HOST, m_values.m_proxyHost);
    DDX_Text(pDX, IDC_CDDB_PROXY_PASSWORD, m_values.m_proxyPassword);
    DDX_Text(pDX, IDC_CDDB_PROXY_PORT, m_values.m_proxyPort);
    DDX_Text(pDX, IDC_CDDB_PROXY_USERNAME, m_values.m_proxyUsername);
}

BOOL CCddbPage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    EnableForRoad();
    return TRUE;
}

BOOL CCddbPage::OnApply()
{
    RequestApply();
    return COptionsPage::OnApply();
}

void CCddbPage::RequestApply()
{
    if (m_applyRequested)
        return;
    m_applyRequested = TRUE;
    SendToMainWindow(WM_USER + 5);
}

void CCddbPage::EnableForRoad()
{
    static const int kControlRoad[] = { IDC_CDDB_REGISTER, IDC_CDDB_PROXY_USERNAME, IDC_CDDB_PROXY_PASSWORD };
    static const int kHttpRoad[] = { IDC_CDDB_SERVER, IDC_CDDB_LOCATE, IDC_CDDB_EMAIL };
    BOOL control = m_values.m_useCddb2 != 0;
    for (int id : kControlRoad)
        GetDlgItem(id)->EnableWindow(control);
    for (int id : kHttpRoad)
        GetDlgItem(id)->EnableWindow(!control);
}

void CCddbPage::OnUseCddb2()
{
    UpdateData(TRUE);
    EnableForRoad();
}

// A client of its own asks the disc database for its servers; it borrows
// the document's user side (the choice dialog) and goes through the proxy
// the page shows.
void CCddbPage::OnLocate()
{
    if (!UpdateData(TRUE))
        return;
    CCDDBClient& own = m_host.GetCddbClient();
    CCDDBClient client;
    client.m_strUserEmail = m_values.m_userEmail;
    client.m_pUser = own.m_pUser;
    client.m_pHost = own.m_pHost;
    client.m_pTaskMgr = own.m_pTaskMgr;
    client.SetProxy(m_values.m_useHttpProxy == 1, m_values.m_proxyHost, m_values.m_proxyPort,
                    m_values.m_proxyUsername, m_values.m_proxyPassword);
    if (!client.ChooseServer())
        return;
    m_values.m_cddbServer = client.m_currentServer.m_strHost;
    UpdateData(FALSE);
}

void CCddbPage::OnRegister()
{
    m_host.GetCddbClient().ShowServiceRegistration();
}
