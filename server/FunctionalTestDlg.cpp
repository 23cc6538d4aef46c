#include "server/FunctionalTestDlg.h"

#include "devices/util/MessageWaits.h"
#include "devices/port/TavlinTestText.h"

namespace {

enum TestKind
{
    kLocate = 0,
    kSLink = 1,
    kIRPort0 = 2,
    kParallel = 3,
    kBaud = 4,
    kIRPorts = 5
};

const int kResultIds[] = {IDC_LOCATE_RESULT, IDC_SLINK_RESULT, IDC_IRPORT0_RESULT, IDC_IRPORTS_RESULT,
                          IDC_PARALLEL_RESULT, IDC_BAUD_RESULT};
const int kSettleMs = 100;
const int kDrainMs = 10;
const int kPrefixDigits = 8;
// Their pictures are ours to choose: the system's own.
const LPCSTR kPassIcon = IDI_INFORMATION;
const LPCSTR kFailIcon = IDI_ERROR;
const LPCSTR kTestingIcon = IDI_WARNING;
const char kBadPrefix[] = "The serial prefix is 8 hexadecimal digits, or nothing";

bool IsPrefix(const CString& text)
{
    if (text.IsEmpty())
        return true;
    if (text.GetLength() != kPrefixDigits)
        return false;
    for (int i = 0; i < kPrefixDigits; ++i)
        if (!isxdigit(BYTE(text[i])))
            return false;
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CFunctionalTestDlg, CDialog)
    ON_BN_CLICKED(IDC_TEST_NOW, RunTest)
END_MESSAGE_MAP()

CFunctionalTestDlg::CFunctionalTestDlg(CWnd* parent)
    : CDialog(IDD_FUNCTIONAL_TEST, parent), m_port(nullptr), m_manager(nullptr), m_sLink(FALSE),
      m_irPort0(FALSE), m_irPorts(FALSE), m_parallel(FALSE), m_baud(FALSE), m_repeat(1), m_ok(TRUE)
{
}

// A prefix that is neither empty nor 8 hexadecimal digits stops the exchange:
// its digits are read in pairs.
void CFunctionalTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SLINK_TEST, m_sLink);
    DDX_Check(pDX, IDC_IRPORT0_TEST, m_irPort0);
    DDX_Check(pDX, IDC_IRPORTS_TEST, m_irPorts);
    DDX_Check(pDX, IDC_PARALLEL_TEST, m_parallel);
    DDX_Check(pDX, IDC_BAUD_TEST, m_baud);
    DDX_Text(pDX, IDC_REPEAT, m_repeat);
    DDV_MinMaxInt(pDX, m_repeat, 1, 99);
    DDX_Text(pDX, IDC_SERIAL_PREFIX, m_serialPrefix);
    if (pDX->m_bSaveAndValidate && !IsPrefix(m_serialPrefix)) {
        AfxMessageBox(kBadPrefix);
        pDX->Fail();
    }
}

BOOL CFunctionalTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_port->GetVersion() < CTavlinPort::kIRPortsVersion)
        GetDlgItem(IDC_IRPORTS_TEST)->EnableWindow(FALSE);
    m_repeat = 1;
    UpdateData(FALSE);
    return TRUE;
}

void CFunctionalTestDlg::ShowState(LPCSTR icon)
{
    ::SendDlgItemMessageA(m_hWnd, IDC_RESULT_ICON, BM_SETIMAGE, IMAGE_ICON, LPARAM(LoadIconA(nullptr, icon)));
}

void CFunctionalTestDlg::Fail()
{
    m_ok = FALSE;
    ShowState(kFailIcon);
    PumpWaitingMessages();
}

// A failed exchange (a repeat count out of range, a bad prefix) runs nothing
// and leaves the monitoring thread alone.
void CFunctionalTestDlg::RunTest()
{
    for (int id : kResultIds)
        SetDlgItemText(id, "");
    ShowState(kTestingIcon);
    PumpWaitingMessages();
    if (!UpdateData(TRUE))
        return;
    if (m_manager)
        m_manager->StopMessageMonitor();
    RunTests();
    CString ignored;
    m_port->ReadResponses(ignored, kDrainMs);
    Sleep(kSettleMs);
    if (!m_ok) {
        ShowState(kFailIcon);
        MessageBeep(MB_ICONEXCLAMATION);
    } else {
        ShowState(kPassIcon);
        MessageBeep(MB_OK);
        if (m_port->GetVersion() >= CTavlinPort::kIRPortsVersion && !m_serialPrefix.IsEmpty())
            WriteSerialNumber();
    }
    if (m_manager)
        m_manager->StartMessageMonitor();
}

void CFunctionalTestDlg::RunTests()
{
    m_ok = TRUE;
    SetDlgItemText(IDC_LOCATE_RESULT, "Locating Tavlin...");
    bool located = m_port->RunTest(kLocate, m_repeat) == 0;
    SetDlgItemText(IDC_LOCATE_RESULT, located ? "Pass" : "Failed");
    if (!located)
        Fail();
    const struct
    {
        BOOL* selected;
        int resultId;
        int kind;
    } tests[] = {
        {&m_sLink, IDC_SLINK_RESULT, kSLink}, {&m_irPort0, IDC_IRPORT0_RESULT, kIRPort0},
        {&m_irPorts, IDC_IRPORTS_RESULT, kIRPorts},
        {&m_parallel, IDC_PARALLEL_RESULT, kParallel}, {&m_baud, IDC_BAUD_RESULT, kBaud},
    };
    for (const auto& test : tests) {
        if (!*test.selected || !m_ok) {
            SetDlgItemText(test.resultId, "Not Tested");
            continue;
        }
        SetDlgItemText(test.resultId, "Testing...");
        PumpWaitingMessages();
        int m = m_port->RunTest(test.kind, m_repeat);
        CString text, part;
        if (test.kind == kSLink) {
            text = SLinkResultText(m);
        } else if (test.kind == kIRPorts) {
            text = IRPortsResultText(m);
        } else if (test.kind == kBaud) {
            for (int k = 0; k < 5; ++k) {
                part.Format(m & (1 << k) ? "%dF " : "%dP ", 24 << k);
                text += part;
            }
        } else {
            text = m ? "Fail" : "Pass";
        }
        SetDlgItemText(test.resultId, text);
        if (m != 0)
            Fail();
    }
}

// The prefix's four bytes go ahead of the serial number as its write code.
void CFunctionalTestDlg::WriteSerialNumber()
{
    BYTE prefix[4];
    for (int i = 0; i < 4; ++i)
        prefix[i] = BYTE(strtoul(m_serialPrefix.Mid(2 * i, 2), nullptr, 16));
    DWORD value;
    memcpy(&value, prefix, sizeof value);
    BYTE serial[8];
    MakeSerialNumber(serial);
    m_port->WriteSerialNumber(value, serial);
}
