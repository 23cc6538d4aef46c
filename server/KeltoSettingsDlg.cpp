#include "server/KeltoSettingsDlg.h"

#include <time.h>

#include <afxdlgs.h>

#include "platform/crt/Random.h"
#include "devices/util/MessageWaits.h"
#include "platform/runtime/DebugOutput.h"

namespace {

const UINT kFactoryControls[] = {IDC_SUMS,   IDC_THE_WORKS, IDC_CONFIG_ONLY,  IDC_INPUTS,       IDC_OUTPUTS,
                                 IDC_HEX_PATH, IDC_BROWSE, IDC_INPUTS_LABEL, IDC_OUTPUTS_LABEL};
const int kFactoryKeyPresses = 3;
const int kConfigWaitMs = 2000;

const char kNoBootLoader[] = "Unable to start Kelto boot loader";
const char kChooseCounts[] = "Choose the number of inputs and the number of outputs first";
const char kFilter[] = "Hex Files {*.hex;}|*.hex;||";

// The configuration after the counts and before the port map; "flush" waits
// for the switch to answer.
const char* const kSettings[] = {
    "set_lcdbright[FF]", "flush", "set_lcdcontrast[00]", "flush", "set_revert[01]", "flush",
    "set_dropout[00]", "flush", "set_ircodeset[02]", "flush", "flush",
    "set_alloutvisible[01]", "flush", "set_alloutmode[FF]", "flush",
};
const char* const kPresets[] = {
    "flush", "save[00]", "set_alloutvisible[FF]", "flush", "save[01]", "set_alloutmode[00]", "flush",
    "set_alloutvisible[01]",
};
const char* const kSaves[] = {
    "flush", "save[02]", "set_alloutvisible[FF]", "flush", "save[03]", "flush", "save[04]", "flush",
    "save[05]", "flush", "save[06]", "flush", "save[07]", "flush", "recall[00]", "flush",
    "save_defaults", "flush",
};

} // namespace

BEGIN_MESSAGE_MAP(CKeltoSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_UPGRADE_FLASH, OnUpgradeFlash)
    ON_BN_CLICKED(IDC_THE_WORKS, OnTheWorks)
    ON_BN_CLICKED(IDC_CONFIG_ONLY, OnConfigOnly)
    ON_BN_CLICKED(IDC_SUMS, OnSums)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CKeltoSettingsDlg::CKeltoSettingsDlg(CWnd* parent)
    : CDialog(IDD_KELTO_SETTINGS, parent), m_port(nullptr), m_outputsIndex(-1), m_inputsIndex(-1),
      m_scrollLocks(0)
{
}

void CKeltoSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OUTPUTS, m_outputs);
    DDX_Control(pDX, IDC_INPUTS, m_inputs);
    DDX_Control(pDX, IDC_FLASH_PROGRESS, m_progress);
    DDX_LBIndex(pDX, IDC_OUTPUTS, m_outputsIndex);
    DDX_LBIndex(pDX, IDC_INPUTS, m_inputsIndex);
    DDX_Text(pDX, IDC_HEX_PATH, m_hexPath);
}

BOOL CKeltoSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowFactoryPanel(FALSE);
    for (const char* count : {"4", "8", "12", "16"})
        m_inputs.AddString(count);
    for (const char* count : {"4", "8"})
        m_outputs.AddString(count);
    UpdateData(FALSE);
    return TRUE;
}

void CKeltoSettingsDlg::ShowFactoryPanel(BOOL show)
{
    for (UINT id : kFactoryControls)
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CKeltoSettingsDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        m_scrollLocks = msg->wParam == VK_SCROLL ? m_scrollLocks + 1 : 0;
        if (m_scrollLocks == kFactoryKeyPresses)
            ShowFactoryPanel(TRUE);
    }
    return CDialog::PreTranslateMessage(msg);
}

void CKeltoSettingsDlg::OnFlashProgress(int nextWord)
{
    m_progress.SetPos(nextWord);
    PumpWaitingMessages();
}

BOOL CKeltoSettingsDlg::Failed(const char* message)
{
    if (message && *message)
        AfxMessageBox(message);
    SetDlgItemText(IDC_FLASH_STATUS, "FAILED");
    return FALSE;
}

// The whole file is read and checked before the first block goes out, so a
// bad file leaves the switch's flash as it was.
BOOL CKeltoSettingsDlg::UpgradeFlash(const char* path, const char* serial)
{
    SetDlgItemText(IDC_FLASH_STATUS, "Upgrading Kelto - Please Wait");
    CKeltoHexImage image;
    if (!image.Load(path))
        return Failed(image.GetErrorText());
    m_progress.SetRange32(kKeltoBootLoaderEnd, kKeltoApplicationEnd);
    m_progress.SetPos(kKeltoBootLoaderEnd);
    CKeltoFlashWriter writer(*m_port);
    if (!writer.Upgrade(image, serial, this))
        return Failed(writer.GetErrorText());
    SetDlgItemText(IDC_FLASH_STATUS, "Done.");
    return TRUE;
}

BOOL CKeltoSettingsDlg::ReadChecksums()
{
    CKeltoFlashWriter reader(*m_port);
    BYTE boot[kKeltoLanes], main[kKeltoLanes];
    if (!reader.ReadLaneSums(0, kKeltoBootLoaderEnd, boot) ||
        !reader.ReadLaneSums(kKeltoBootLoaderEnd, kKeltoApplicationEnd, main)) {
        AfxMessageBox(reader.GetErrorText());
        return FALSE;
    }
    CString bootText, mainText;
    bootText.Format("Boot sum : %02x %02x %02x %02x %02x %02x %02x %02x", boot[0], boot[1], boot[2], boot[3],
                    boot[4], boot[5], boot[6], boot[7]);
    mainText.Format("main sum : %02x %02x %02x %02x %02x %02x %02x %02x", main[0], main[1], main[2], main[3],
                    main[4], main[5], main[6], main[7]);
    AfxMessageBox(bootText + mainText);
    return TRUE;
}

BOOL CKeltoSettingsDlg::RunConfigScript()
{
    CString text;
    text.Format("set_numin[%02x]", 4 * (m_inputsIndex + 1));
    m_port->SendCommand(text);
    m_port->SendCommand("flush");
    text.Format("set_numout[%02x]", 4 * (m_outputsIndex + 1));
    m_port->SendCommand(text);
    m_port->SendCommand("flush");
    for (const char* command : kSettings)
        m_port->SendCommand(command);
    for (int n = 0; n < 8; ++n) {
        text.Format("set_outmask[%02xFFFF]", n);
        m_port->SendCommand(text);
        m_port->SendCommand("flush");
    }
    for (const char* command : kPresets)
        m_port->SendCommand(command);
    m_port->SendCommand(m_outputsIndex != 0 ? "set_allports[01234567]" : "set_allports[01230123]");
    for (const char* command : kSaves)
        m_port->SendCommand(command);
    m_port->Reset();
    return TRUE;
}

BOOL CKeltoSettingsDlg::CountsChosen()
{
    if (m_inputsIndex >= 0 && m_outputsIndex >= 0)
        return TRUE;
    AfxMessageBox(kChooseCounts);
    return FALSE;
}

void CKeltoSettingsDlg::OnUpgradeFlash()
{
    GetDlgItem(IDC_UPGRADE_FLASH)->EnableWindow(FALSE);
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    SetDlgItemText(IDC_FLASH_STATUS, "");
    if (!m_port->EnterBootLoader()) {
        AfxMessageBox(kNoBootLoader);
    } else {
        CFileDialog chooser(TRUE, "hex", "*.hex", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter, this);
        if (chooser.DoModal() == IDOK)
            UpgradeFlash(chooser.GetPathName(), "");
    }
    m_port->ExitBootLoader();
    GetDlgItem(IDC_UPGRADE_FLASH)->EnableWindow(TRUE);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
}

// The counts are asked for before anything is flashed: a configuration
// without them would save no inputs, no outputs and the 8-output map.
void CKeltoSettingsDlg::OnTheWorks()
{
    if (!UpdateData(TRUE) || !CountsChosen())
        return;
    if (!m_port->EnterBootLoader()) {
        AfxMessageBox(kNoBootLoader);
        return;
    }
    time_t now = time(nullptr);
    MsSrand(unsigned(now));
    CString serial;
    serial.Format("%08x%02x%06x", unsigned(now), 0, MsRand() % 0xFFFFFF);
    UpgradeFlash(m_hexPath, serial);
    m_port->ExitBootLoader();
    Sleep(kConfigWaitMs);
    RunConfigScript();
}

void CKeltoSettingsDlg::OnConfigOnly()
{
    if (UpdateData(TRUE) && CountsChosen())
        RunConfigScript();
}

void CKeltoSettingsDlg::OnSums()
{
    if (m_port->EnterBootLoader())
        ReadChecksums();
    else
        AfxMessageBox(kNoBootLoader);
    m_port->ExitBootLoader();
}

void CKeltoSettingsDlg::OnBrowse()
{
    UpdateData(TRUE);
    CFileDialog chooser(TRUE, "hex", m_hexPath, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter, this);
    if (chooser.DoModal() == IDOK) {
        m_hexPath = chooser.GetPathName();
        UpdateData(FALSE);
    }
}
