#include "shell/views/DevView.h"

#include "core/doc/ZymDoc.h"
#include "shell/views/ViewsResources.h"

#include "devices/manager/DeviceManager.h"
#include "devices/port/TavlinPort.h"

#include <algorithm>

namespace {

// Tree pictures, by image index.
enum TreeImage
{
    kImageUnit,
    kImagePort,
    kImageGroup,
    kImageDevice,
    kImageCode,
    kImageValue,
    kImageRoot,
    kImageDiagnostics,
};
const int kTreeImageSize = 16;
const COLORREF kTreeImageMask = RGB(255, 0, 255);

const int kSLinkPorts = 4;
const int kIrPorts = 8;
// Firmware from this version has a serial number and eight IR ports.
const double kNewFirmware = 2.0;
const double kMicroseconds = 1000000.0;

struct DeviceCopy
{
    CString name;
    int unit;
    DWORD ports;
    std::vector<CString> codes;
};

std::vector<DeviceCopy> CopyDevices(CDeviceManager& manager)
{
    std::vector<DeviceCopy> devices;
    manager.VisitDevices([&devices](int, const CDevice& device) {
        DeviceCopy copy{device.GetName(), device.GetUnit(), static_cast<DWORD>(device.GetPortMask()), {}};
        for (int n = 0; n < device.GetNumCodes(); ++n)
            copy.codes.push_back(device.GetCode(n).name);
        devices.push_back(copy);
    });
    return devices;
}

} // namespace

IMPLEMENT_DYNCREATE(CDevView, CBannerFormView)

CDevView::CDevView() : CBannerFormView(IDD_CONNECTION_FORM, "Devices")
{
}

CZymDoc* CDevView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

void CDevView::DoDataExchange(CDataExchange* dx)
{
    CBannerFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_CONNECTION_TREE, m_tree);
}

void CDevView::OnInitialUpdate()
{
    m_images.Create(IDB_CONNECTION_IMAGES, kTreeImageSize, 1, kTreeImageMask);
    CBannerFormView::OnInitialUpdate();
    Rebuild();
}

void CDevView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    if (hint == kViewHintDevices)
        Rebuild();
    else
        CBannerFormView::OnUpdate(sender, hint, hintObject);
}

void CDevView::Layout(int cx, int cy)
{
    if (!m_tree.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    m_tree.MoveWindow(left, 0, std::max(0, cx - left), cy);
}

HTREEITEM CDevView::Insert(const CString& text, int image, HTREEITEM parent)
{
    return m_tree.InsertItem(text, image, image, parent);
}

void CDevView::Rebuild()
{
    CZymDoc* doc = GetDoc();
    if (!m_tree.m_hWnd || !doc)
        return;
    m_tree.SetRedraw(FALSE);
    m_tree.DeleteAllItems();
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    HTREEITEM root = Insert("Device Connections", kImageRoot);
    CDeviceManager* manager = doc->GetDeviceManager();
    if (doc->IsUsingServer())
        Insert("Feature not available - You can view this info in TavlinServ", kImageValue, root);
    else if (!manager || manager->GetNumTavlins() == 0)
        Insert("(No Tavlin-es found)", kImageValue, root);
    else
    {
        for (int unit = 0; unit < manager->GetNumTavlins(); ++unit)
            AddUnit(*manager, unit, root);
    }
    if (manager && !doc->IsUsingServer())
        AddDiagnostics(*manager, root);
    m_tree.Expand(root, TVE_EXPAND);
    m_tree.SetRedraw(TRUE);
}

void CDevView::AddUnit(CDeviceManager& manager, int unit, HTREEITEM root)
{
    CTavlinPort* port = manager.GetTavlinPort(unit);
    CString text;
    text.Format("Tavlin %1.1lf on COM%d:", port->GetVersion(), port->GetComPort());
    HTREEITEM unitItem = Insert(text, kImageUnit, root);
    HTREEITEM info = Insert("Info", kImageGroup, unitItem);
    if (port->GetVersion() >= kNewFirmware)
    {
        BYTE s[8];
        port->GetSerialNumber(s);
        text.Format("Serial Number: %02X%02X%02X%02X%02X%02X%02X%02X", s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]);
        Insert(text, kImageValue, info);
    }
    text.Format("Baud Rate: %d", port->GetBaudRate());
    Insert(text, kImageValue, info);
    text.Format("IR Sample Period: %2.0lfus", port->GetSamplePeriod() * kMicroseconds);
    Insert(text, kImageValue, info);
    text.Format("IR Timeout Period: %6.0lfus", port->GetTimeoutPeriod() * kMicroseconds);
    Insert(text, kImageValue, info);
    HTREEITEM errors = Insert("Errors", kImageGroup, unitItem);
    const struct
    {
        const char* format;
        TavlinErrorKind counter;
    } counters[] = {
        {"Transmit timeouts: %d", kTransmitTimeouts}, {"Illegal commands: %d", kIllegalCommands},
        {"Buffer overflows: %d", kReceiveOverflows},  {"Buffer overruns: %d", kReceiveOverruns},
        {"Framing errors: %d", kFramingErrors},
    };
    for (const auto& counter : counters)
    {
        text.Format(counter.format, static_cast<int>(port->GetErrorCount(counter.counter)));
        Insert(text, kImageValue, errors);
    }
    AddPorts(manager, unit, unitItem);
}

// Port mask bits 0-3 are the S-Link ports, bits 4-11 the IR ports; older
// firmware has IR port 0 only.
void CDevView::AddPorts(CDeviceManager& manager, int unit, HTREEITEM unitItem)
{
    std::vector<DeviceCopy> devices = CopyDevices(manager);
    int irPorts = manager.GetTavlinPort(unit)->GetVersion() >= kNewFirmware ? kIrPorts : 1;
    for (int bit = 0; bit < kSLinkPorts + irPorts; ++bit)
    {
        CString name;
        if (bit < kSLinkPorts)
            name.Format("S-Link Port %d", bit);
        else
            name.Format("IR Port %d", bit - kSLinkPorts);
        HTREEITEM portItem = Insert(name, kImagePort, unitItem);
        for (const DeviceCopy& device : devices)
        {
            if (device.unit != unit || !(device.ports & (1u << bit)))
                continue;
            HTREEITEM deviceItem = Insert(device.name, kImageDevice, portItem);
            for (const CString& code : device.codes)
                Insert(code, kImageCode, deviceItem);
        }
    }
}

void CDevView::AddDiagnostics(CDeviceManager& manager, HTREEITEM root)
{
    const CPortList<CTavlinPort>& ports = manager.GetTavlinPorts();
    HTREEITEM diagnostics = Insert("Port Diagnostics", kImageDiagnostics, root);
    for (int i = 0; i < CPortList<CTavlinPort>::kMaxPorts; ++i)
    {
        const char* result = !ports.WasRequested(i) ? "Not Checked"
                             : ports.GetOpenError(i) ? "Not Accessible"
                             : ports.WasFound(i)     ? "Found!"
                                                     : "Not Found";
        CString line;
        line.Format("COM%d: %s", i + 1, result);
        Insert(line, kImageValue, diagnostics);
    }
}
