#include "shell/options/DeviceEditDlg.h"
#include "shell/options/ChoiceExchange.h"
#include "shell/options/OptionsResources.h"

#include "platform/runtime/MessageBoxes.h"

#include <afxdlgs.h>

namespace {

const char kDeviceFileFilter[] = "Tavlin Device File {*.cde;}|*.cde;||";
// The stored list writes names and files between double quotes.
const char kQuoteRefused[] = "A device name or file name cannot contain a double quote (\").";
const char* const kNumbers[] = { "1", "2", "3" };
// Port bits: 0-3 sl0-sl3, 4-11 ir0-ir7.
const int kFirstIrBit = 4;

} // namespace

BEGIN_MESSAGE_MAP(CDeviceEditDlg, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_DEV_SL0, IDC_DEV_SL3, OnSlClicked)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_DEV_IR0, IDC_DEV_IR7, OnIrClicked)
    ON_BN_CLICKED(IDC_DEV_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDeviceEditDlg::CDeviceEditDlg(DeviceEntry& entry, const char* browseFolder, int units, CWnd* parent)
    : CDialog(IDD_DEVICE_EDIT, parent), m_entry(entry), m_browseFolder(browseFolder), m_units(units)
{
}

BOOL CDeviceEditDlg::OnInitDialog()
{
    SetChoices(this, IDC_DEV_NUMBER, kNumbers);
    CComboBox* units = static_cast<CComboBox*>(GetDlgItem(IDC_DEV_UNIT));
    for (int unit = 1; unit <= m_units || unit == 1; ++unit)
    {
        CString text;
        text.Format("%d", unit);
        units->AddString(text);
    }
    ShowEntry();
    return CDialog::OnInitDialog();
}

void CDeviceEditDlg::ShowEntry()
{
    m_name = m_entry.name;
    m_file = m_entry.file;
    m_number = m_entry.number;
    m_unit = m_entry.unit;
    m_enabled = m_entry.enabled;
    for (int port = 0; port < kSlPorts; ++port)
        m_sl[port] = (m_entry.ports >> port) & 1;
    for (int port = 0; port < kIrPorts; ++port)
        m_ir[port] = (m_entry.ports >> (kFirstIrBit + port)) & 1;
}

void CDeviceEditDlg::TakeEntry()
{
    m_entry.name = m_name;
    m_entry.file = m_file;
    m_entry.number = m_number;
    m_entry.unit = m_unit;
    m_entry.enabled = m_enabled;
    int ports = 0;
    for (int port = 0; port < kSlPorts; ++port)
        ports |= (m_sl[port] & 1) << port;
    for (int port = 0; port < kIrPorts; ++port)
        ports |= (m_ir[port] & 1) << (kFirstIrBit + port);
    m_entry.ports = ports;
}

void CDeviceEditDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DEV_NAME, m_name);
    DDX_Text(pDX, IDC_DEV_FILE, m_file);
    DDX_KeptChoice(pDX, IDC_DEV_NUMBER, m_number);
    DDX_KeptChoice(pDX, IDC_DEV_UNIT, m_unit);
    for (int port = 0; port < kIrPorts; ++port)
        DDX_Check(pDX, IDC_DEV_IR0 + port, m_ir[port]);
    for (int port = 0; port < kSlPorts; ++port)
        DDX_Check(pDX, IDC_DEV_SL0 + port, m_sl[port]);
    DDX_Check(pDX, IDC_DEV_ENABLED, m_enabled);
}

void CDeviceEditDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_name.Find('"') >= 0 || m_file.Find('"') >= 0)
    {
        ShowMessageBox(m_hWnd, kQuoteRefused, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    TakeEntry();
    EndDialog(IDOK);
}

void CDeviceEditDlg::OnSlClicked(UINT)
{
    for (int id = IDC_DEV_IR0; id <= IDC_DEV_IR7; ++id)
        CheckDlgButton(id, BST_UNCHECKED);
}

void CDeviceEditDlg::OnIrClicked(UINT)
{
    for (int id = IDC_DEV_SL0; id <= IDC_DEV_SL3; ++id)
        CheckDlgButton(id, BST_UNCHECKED);
}

void CDeviceEditDlg::OnBrowse()
{
    CFileDialog chooser(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kDeviceFileFilter, this);
    chooser.m_ofn.lpstrInitialDir = m_browseFolder;
    if (chooser.DoModal() == IDOK)
        SetDlgItemText(IDC_DEV_FILE, chooser.GetPathName());
}
