#include "shell/options/TavlinPage.h"
#include "shell/options/ChoiceExchange.h"
#include "shell/options/OptionsResources.h"

#include <math.h>

namespace {

const int kComPortIds[CPage4::kComPorts] = { IDC_TAV_COM1, IDC_TAV_COM2, IDC_TAV_COM3, IDC_TAV_COM4,
                                             IDC_TAV_COM5, IDC_TAV_COM6, IDC_TAV_COM7, IDC_TAV_COM8 };

const char* const kBaudItems[] = { "19200", "38400" };
const char* const kSampleItems[] = { "100us", "200us" };
const char* const kTimeoutItems[] = { "25000us", "50000us", "75000us", "100000us" };

const int kLowestBaud = 19200;
const double kSampleStep = 0.0001;   // seconds
const double kTimeoutStep = 0.025;   // seconds

// An item whose value the list's formula gives back exactly; else none.
int CheckedIndex(int index, int count, bool exact)
{
    return index >= 0 && index < count && exact ? index : -1;
}

void Select(CWnd* page, int id, int index)
{
    page->SendDlgItemMessage(id, CB_SETCURSEL, index, 0);
}

} // namespace

BEGIN_MESSAGE_MAP(CTavlinPage, COptionsPage)
    ON_BN_CLICKED(IDC_TAV_LOCATE_NOW, OnLocateNow)
    ON_CBN_SELCHANGE(IDC_TAV_BAUD, OnBaudChanged)
    ON_CBN_SELCHANGE(IDC_TAV_IR_SAMPLE, OnSamplePeriodChanged)
    ON_CBN_SELCHANGE(IDC_TAV_IR_TIMEOUT, OnTimeoutChanged)
END_MESSAGE_MAP()

CTavlinPage::CTavlinPage(CPage4& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_TAVLIN, host), m_values(values)
{
}

int CTavlinPage::BaudIndex(int baud)
{
    if (baud <= 0)
        return -1;
    int index = static_cast<int>(log2(static_cast<double>(baud) / kLowestBaud) + 0.5);
    return CheckedIndex(index, 2, index >= 0 && (kLowestBaud << index) == baud);
}

int CTavlinPage::SamplePeriodIndex(double seconds)
{
    int index = static_cast<int>(seconds * 10000 - 0.5);
    return CheckedIndex(index, 2, fabs((index + 1) * kSampleStep - seconds) < kSampleStep / 100);
}

int CTavlinPage::TimeoutIndex(double seconds)
{
    int index = static_cast<int>(seconds * 40 - 0.5);
    return CheckedIndex(index, 4, fabs((index + 1) * kTimeoutStep - seconds) < kTimeoutStep / 100);
}

BOOL CTavlinPage::OnInitDialog()
{
    SetChoices(this, IDC_TAV_BAUD, kBaudItems);
    SetChoices(this, IDC_TAV_IR_SAMPLE, kSampleItems);
    SetChoices(this, IDC_TAV_IR_TIMEOUT, kTimeoutItems);
    return COptionsPage::OnInitDialog();
}

// The lists are taken when the user picks an item, never from the controls.
void CTavlinPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_TAV_AUTO_LOCATE, m_values.m_autoLocateTavlins);
    DDX_Check(pDX, IDC_TAV_IR_RECEIVER, m_values.m_enableIrReceiver);
    DDX_Check(pDX, IDC_TAV_LOGGING, m_values.m_activityLogging);
    DDX_Text(pDX, IDC_TAV_LOG_FILE, m_values.m_logFileName);
    for (int port = 0; port < CPage4::kComPorts; ++port)
        DDX_Check(pDX, kComPortIds[port], m_values.m_checkPort[port]);
    DDX_Check(pDX, IDC_TAV_PING, m_values.m_pingTavlin);
    DDX_Check(pDX, IDC_TAV_USE_SERVER, m_values.m_useTavlinX);
    if (pDX->m_bSaveAndValidate)
        return;
    Select(this, IDC_TAV_BAUD, BaudIndex(m_values.m_minimumBaudRate));
    Select(this, IDC_TAV_IR_SAMPLE, SamplePeriodIndex(m_values.m_irSamplePeriod));
    Select(this, IDC_TAV_IR_TIMEOUT, TimeoutIndex(m_values.m_irTimeoutPeriod));
}

void CTavlinPage::OnLocateNow()
{
    SendToMainWindow(WM_USER + 8);
}

int CTavlinPage::TakeSelection(int id)
{
    UpdateData(TRUE);
    return static_cast<int>(SendDlgItemMessage(id, CB_GETCURSEL));
}

void CTavlinPage::OnBaudChanged()
{
    int index = TakeSelection(IDC_TAV_BAUD);
    if (index >= 0)
        m_values.m_minimumBaudRate = kLowestBaud << index;
}

void CTavlinPage::OnSamplePeriodChanged()
{
    int index = TakeSelection(IDC_TAV_IR_SAMPLE);
    if (index >= 0)
        m_values.m_irSamplePeriod = (index + 1) * kSampleStep;
}

void CTavlinPage::OnTimeoutChanged()
{
    int index = TakeSelection(IDC_TAV_IR_TIMEOUT);
    if (index >= 0)
        m_values.m_irTimeoutPeriod = (index + 1) * kTimeoutStep;
}
