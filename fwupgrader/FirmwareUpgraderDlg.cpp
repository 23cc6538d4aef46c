#include "fwupgrader/FirmwareUpgraderDlg.h"

#include "fwupgrader/FactoryTests.h"
#include "devices/kelto/KeltoHexImage.h"
#include "devices/util/MessageWaits.h"
#include "devices/util/ResourceText.h"

namespace {

const char kImageName[] = "kelto.hex";
const UINT kIconId = 128;
const double kTargetVersion = 1.21;
// "Upgrade Complete" stays in view this long before an unattended run closes.
const int kCompleteShowMs = 2000;

} // namespace

BEGIN_MESSAGE_MAP(CFirmwareUpgraderDlg, CDialog)
    ON_BN_CLICKED(IDC_UPGRADE, OnUpgrade)
    ON_BN_CLICKED(IDC_TEST, OnTest)
    ON_BN_CLICKED(IDC_VARLO, OnVarlo)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CFirmwareUpgraderDlg::CFirmwareUpgraderDlg(bool portGiven, int commandPort, CWnd* parent)
    : CDialog(IDD_FIRMWARE_UPGRADER, parent), m_icon(nullptr), m_busy(FALSE), m_unattended(portGiven),
      m_commandPort(commandPort), m_targetVersion(0)
{
}

void CFirmwareUpgraderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OUTPUT, m_output);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_PORT, m_ports);
}

BOOL CFirmwareUpgraderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kIconId));
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    SetWindowText("Kelto Firmware Upgrader");
    SetDlgItemText(IDC_PORT_LABEL, "Kelto is connected to");
    m_targetVersion = kTargetVersion;
    // A port the list does not hold selects nothing.
    int port = m_unattended ? m_commandPort : kFirstComPort;
    m_ports.SetCurSel(port - kFirstComPort);
    if (m_unattended)
        PostMessage(WM_COMMAND, MAKEWPARAM(IDC_UPGRADE, BN_CLICKED), LPARAM(GetDlgItem(IDC_UPGRADE)->m_hWnd));
    return TRUE;
}

void CFirmwareUpgraderDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, WPARAM(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}

void CFirmwareUpgraderDlg::Write(const char* text)
{
    m_output.AppendText(text);
    PumpWaitingMessages();
}

// The box shows the text without its line end.
void CFirmwareUpgraderDlg::Error(const char* text)
{
    Write(text);
    CString shown(text);
    shown.TrimRight("\n");
    AfxMessageBox(shown);
}

void CFirmwareUpgraderDlg::OnFlashProgress(int nextWord)
{
    m_progress.SetPos(nextWord);
    PumpWaitingMessages();
}

int CFirmwareUpgraderDlg::SelectedPort()
{
    int index = m_ports.GetCurSel();
    return index >= 0 ? index + kFirstComPort : m_commandPort;
}

BOOL CFirmwareUpgraderDlg::BeginOperation()
{
    if (m_busy)
        return FALSE;
    m_busy = TRUE;
    m_output.Clear();
    return TRUE;
}

void CFirmwareUpgraderDlg::OnUpgrade()
{
    UpgradeFirmware();
    if (m_unattended)
        PostMessage(WM_CLOSE);
}

void CFirmwareUpgraderDlg::UpgradeFirmware()
{
    int comPort = SelectedPort();
    if (!BeginOperation())
        return;
    Write("Starting Upgrade\n");
    m_kelto = AcquirePort<CKeltoPort>(*this, comPort);
    if (m_kelto)
        UpgradeUnit(comPort);
    m_kelto.reset();
    m_busy = FALSE;
}

// A unit that does not answer may already sit in its boot loader: a run
// broken off halfway leaves it there.
void CFirmwareUpgraderDlg::UpgradeUnit(int comPort)
{
    if (m_kelto->Locate()) {
        Write(FormatText("Kelto V%1.1f found\n", m_kelto->GetVersion()));
        if (m_kelto->GetVersion() >= m_targetVersion && !ConfirmVersion())
            return;
        if (!m_kelto->EnterBootLoader()) {
            Error("Failed to enter boot mode\n");
            return;
        }
    } else {
        Write("Checking for boot loader\n");
        if (!m_kelto->EnterBootLoader()) {
            Error(FormatText("No Kelto response from COM%d\n", comPort));
            return;
        }
    }
    Write("Entered boot mode\n");
    BOOL written = WriteFlash(LoadResourceText(kImageName));
    m_kelto->ExitBootLoader();
    if (!written) {
        Error("Failed to upgrade\n");
        return;
    }
    Write("Upgrade Complete");
    Sleep(kCompleteShowMs);
}

BOOL CFirmwareUpgraderDlg::ConfirmVersion()
{
    Write("Upgrade warning - your Kelto is already this version or higher\n");
    CString question;
    question.Format("Warning - your Kelto firmware is already V%1.1lf and you are trying to change to "
                    "V%1.1lf. \n\nDo you wish to continue?",
                    m_kelto->GetVersion(), m_targetVersion);
    return AfxMessageBox(question, MB_YESNO) == IDYES;
}

// The unit keeps its own serial characters. A refused image writes nothing:
// the built-in one is checked like any file.
BOOL CFirmwareUpgraderDlg::WriteFlash(const char* image)
{
    Write("Upgrading Kelto - Please Wait\n");
    CKeltoHexImage hex;
    if (!hex.Parse(image)) {
        Write(hex.GetErrorText() + "\n");
        return FlashFailed();
    }
    m_progress.SetRange32(0, kKeltoApplicationEnd);
    m_progress.SetPos(0);
    CKeltoFlashWriter writer(*m_kelto);
    if (!writer.Upgrade(hex, "", this))
        return FlashFailed();
    Write("Done.\n");
    return TRUE;
}

BOOL CFirmwareUpgraderDlg::FlashFailed()
{
    Error("Failed to write flash memory\n");
    return FALSE;
}

void CFirmwareUpgraderDlg::OnTest()
{
    RunFactoryTest(&CFactoryTests::TestInterfaceUnit);
}

void CFirmwareUpgraderDlg::OnVarlo()
{
    RunFactoryTest(&CFactoryTests::TestVarloUnit);
}

void CFirmwareUpgraderDlg::RunFactoryTest(void (CFactoryTests::*test)(int comPort))
{
    int comPort = SelectedPort();
    if (!BeginOperation())
        return;
    CFactoryTests tests(*this);
    (tests.*test)(comPort);
    m_busy = FALSE;
}
