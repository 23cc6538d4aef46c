#include "shell/options/DevicesPage.h"
#include "shell/options/DeviceEditDlg.h"
#include "shell/options/OptionsResources.h"

#include "library/views/ViewsHost.h"

namespace {

const int kIconSize = 16;

} // namespace

BEGIN_MESSAGE_MAP(CDevicesPage, COptionsPage)
    ON_BN_CLICKED(IDC_DEV_ADD, OnAdd)
    ON_BN_CLICKED(IDC_DEV_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_DEV_DELETE, OnDelete)
END_MESSAGE_MAP()

CDevicesPage::CDevicesPage(const CZymOptions& options, CPage6& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_DEVICES, host), m_options(options), m_values(values)
{
}

CString CDevicesPage::PortsText(int ports)
{
    CString text;
    for (int bit = 0; bit < 12; ++bit)
    {
        if (!(ports & (1 << bit)))
            continue;
        CString port;
        port.Format(bit < 4 ? "sl%d " : "ir%d ", bit < 4 ? bit : bit - 4);
        text += port;
    }
    return text;
}

int CDevicesPage::StatusImage(const DeviceEntry& entry)
{
    if (!entry.enabled)
        return kImageDisabled;
    return entry.status == DeviceEntry::kFailed ? kImageFailed : kImageDefined;
}

BOOL CDevicesPage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    m_list.SubclassDlgItem(IDC_DEV_LIST, this);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    while (m_list.DeleteColumn(0))
        ;
    m_images.Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (UINT icon : { IDI_DEVICE_FAILED, IDI_DEVICE_DEFINED, IDI_DEVICE_DISABLED })
        m_images.Add(static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon), IMAGE_ICON,
                                                      kIconSize, kIconSize, 0)));
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    AddColumn(0, "Device Name", 15);
    AddColumn(1, "Device File", 125);
    AddColumn(2, "Device #", 15);
    AddColumn(3, "Tavlin", 15);
    AddColumn(4, "Ports", 15);
    FillList();
    return TRUE;
}

void CDevicesPage::AddColumn(int index, const char* label, int extra)
{
    m_list.InsertColumn(index, label, LVCFMT_LEFT, m_list.GetStringWidth(label) + extra);
}

void CDevicesPage::FillList()
{
    m_list.DeleteAllItems();
    int row = 0;
    for (const DeviceEntry& entry : m_values.m_devices)
    {
        CString number, unit;
        number.Format("%d", entry.number + 1);
        unit.Format("%d", entry.unit + 1);
        m_list.InsertItem(row, entry.name, StatusImage(entry));
        m_list.SetItemText(row, 1, entry.file);
        m_list.SetItemText(row, 2, number);
        m_list.SetItemText(row, 3, unit);
        m_list.SetItemText(row, 4, PortsText(entry.ports));
        ++row;
    }
}

int CDevicesPage::SelectedRow()
{
    int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    return row >= 0 && row < static_cast<int>(m_values.m_devices.size()) ? row : -1;
}

BOOL CDevicesPage::EditEntry(DeviceEntry& entry)
{
    CDeviceEditDlg dialog(entry, m_options.GetDeviceFileFolder(), m_host.GetNumTavlins(), this);
    return dialog.DoModal() == IDOK;
}

// Without a device file there is nothing to define; a disabled entry is
// defined at no start-up, so not now either.
void CDevicesPage::DefineDevice(DeviceEntry& entry)
{
    if (entry.file.IsEmpty() || !entry.enabled)
    {
        entry.status = DeviceEntry::kDefined;
        return;
    }
    BOOL defined = m_host.AddDevice(entry.name, m_options.GetDeviceFilePath(entry.file), entry.number, entry.unit,
                                    entry.ports);
    entry.status = defined ? DeviceEntry::kDefined : DeviceEntry::kFailed;
}

void CDevicesPage::ListChanged()
{
    FillList();
    m_host.UpdateAllViews(kViewHintDevices);
}

void CDevicesPage::OnAdd()
{
    DeviceEntry entry;
    if (!EditEntry(entry))
        return;
    DefineDevice(entry);
    m_values.m_devices.push_back(entry);
    ListChanged();
}

void CDevicesPage::OnEdit()
{
    int row = SelectedRow();
    if (row < 0)
        return;
    DeviceEntry entry = m_values.m_devices[row];
    if (!EditEntry(entry))
        return;
    m_host.DeleteDevice(m_values.m_devices[row].name);
    DefineDevice(entry);
    m_values.m_devices[row] = entry;
    ListChanged();
}

void CDevicesPage::OnDelete()
{
    int row = SelectedRow();
    if (row < 0)
        return;
    m_host.DeleteDevice(m_values.m_devices[row].name);
    m_values.m_devices.erase(m_values.m_devices.begin() + row);
    ListChanged();
}
