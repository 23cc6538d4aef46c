#include "server/TavlinServDlg.h"

#include <vector>

#include "common/AboutDlg.h"
#include "server/ClientFactory.h"
#include "devices/manager/DeviceManager.h"
#include "server/FunctionalTestDlg.h"
#include "server/KeltoSettingsDlg.h"
#include "server/OptionsDlg.h"
#include "server/TavlinClient.h"
#include "server/TavlinSettingsDlg.h"
#include "platform/mfc/FormatText.h"
#include "platform/runtime/DebugOutput.h"

namespace {

const UINT kAboutCommand = 16;
const UINT_PTR kTickTimer = 1;
const UINT kTickMs = 1000;
const UINT kTrayIconId = 777;
const char kTrayTip[] = "Tavlin Server";

// Icon resources in image-index order.
const UINT kTreeIcons[] = {IDI_UNIT, IDI_SLINK_PORT, IDI_IR_PORT, IDI_DEVICE, IDI_CODE,
                           IDI_NONE_FOUND, IDI_GROUP, IDI_VALUE, IDI_CM11A, IDI_KELTO};

const int kSLinkPorts = 4;
const int kIRPorts = 8;
const int kComPorts = 8;

const char kClientsConnected[] =
    "One or more programs still have active connections to the server. Are you sure you want to shut down?";
const char kTestsNeedNoClients[] =
    "Tavlin tests cannot be performed while client applications are connected. Please close all client "
    "applications and restart tavlinserv to perform these tests";

// One device of one user record, copied under the manager's list lock.
struct DeviceEntry
{
    int record;
    int index;   // in its user's list
    CString name;
    int unit;
    int ports;
    std::vector<CString> codes;
};

std::vector<DeviceEntry> CopyDevices(CDeviceManager& manager)
{
    std::vector<DeviceEntry> entries;
    manager.VisitDevices([&entries](int record, const CDevice& device) {
        int index = !entries.empty() && entries.back().record == record ? entries.back().index + 1 : 0;
        DeviceEntry entry{record, index, device.GetName(), device.GetUnit(), device.GetPortMask(), {}};
        for (int n = 0; n < device.GetNumCodes(); ++n)
            entry.codes.push_back(device.GetCode(n).name);
        entries.push_back(entry);
    });
    return entries;
}

} // namespace

BEGIN_MESSAGE_MAP(CTavlinServDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_PAINT()
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    ON_COMMAND(ID_VIEW_OPTIONS, OnOptions)
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_COMMAND(ID_HELP_LIBRARY, OnHelp)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
    ON_COMMAND(ID_VIEW_SETTINGS, OnSettings)
    ON_COMMAND(ID_VIEW_TEST, OnTest)
    ON_MESSAGE(WM_TRAYNOTIFY, OnTrayNotify)
END_MESSAGE_MAP()

CTavlinServDlg::CTavlinServDlg(CTavlinClientFactory* factory, CWnd* parent)
    : CDialog(IDD_TAVLINSERV, parent), m_invisible(FALSE), m_noTrayIcon(FALSE), m_shown(kFirstTick),
      m_keepHidden(FALSE),
      m_factory(factory), m_timerId(0), m_trayIcon(), m_trayIconAdded(FALSE), m_countersChanged(0),
      m_treeChanged(0), m_icon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME)
                                          : LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CTavlinServDlg::~CTavlinServDlg()
{
    SetServerNotify(nullptr);
    RemoveTrayIcon();
}

void CTavlinServDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_TREE, m_tree);
}

BOOL CTavlinServDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString aboutText;
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu && aboutText.LoadString(IDS_ABOUTBOX) && !aboutText.IsEmpty()) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, kAboutCommand, aboutText);
    }
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    m_timerId = SetTimer(kTickTimer, kTickMs);
    if (!m_timerId)
        AfxMessageBox("Unable to start system timer");
    BuildImageList();
    m_countersChanged = 1;
    m_treeChanged = 0;
    FillDeviceTree();
    m_shown = kFirstTick;
    SetServerNotify(this);
    // The first tick need not wait a second.
    PostMessage(WM_TIMER, kTickTimer);
    return TRUE;
}

void CTavlinServDlg::BuildImageList()
{
    m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 10);
    for (UINT id : kTreeIcons)
        m_imageList.Add(HICON(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
}

void CTavlinServDlg::RepaintCounters()
{
    m_countersChanged = 1;
}

void CTavlinServDlg::RefreshTree()
{
    m_treeChanged = 1;
}

void CTavlinServDlg::OnTimer(UINT_PTR)
{
    if (m_factory && !m_factory->IsRegistered()) {
        HRESULT hr = m_factory->Register();
        if (FAILED(hr))
            DebugOutputF("tavlinserv: class object registration failed %x", unsigned(hr));
    }
    if (m_shown == kFirstTick) {
        if (!m_noTrayIcon)
            AddTrayIcon();
        m_shown = 0;
        if (g_bStartedByCom || m_invisible) {
            m_keepHidden = TRUE;
            ShowWindow(SW_HIDE);
        }
    }
    CTavlinClient::DisconnectDeadClients();
    if (m_countersChanged.exchange(0))
        UpdateStatusLines();
    // The error sums are asked only when nothing else calls for a rebuild.
    if (m_treeChanged.exchange(0) || (g_pDeviceManager && g_pDeviceManager->HasNewErrors()))
        FillDeviceTree();
    if (!g_bStartedByCom || g_nQuitCountdown == 0)
        return;
    if (g_nObjects > 0) {
        g_nQuitCountdown = 0;
        return;
    }
    if (--g_nQuitCountdown == 0) {
        RemoveTrayIcon();
        PostQuitMessage(0);
    }
}

void CTavlinServDlg::AddTrayIcon()
{
    m_trayIcon.cbSize = sizeof(m_trayIcon);
    m_trayIcon.hWnd = m_hWnd;
    m_trayIcon.uID = kTrayIconId;
    m_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayIcon.uCallbackMessage = WM_TRAYNOTIFY;
    m_trayIcon.hIcon = m_icon;
    lstrcpynA(m_trayIcon.szTip, kTrayTip, sizeof(m_trayIcon.szTip));
    m_trayIconAdded = Shell_NotifyIconA(NIM_ADD, &m_trayIcon);
    if (!m_trayIconAdded)
        DebugOutput("tavlinserv: the notification area took no icon");
}

void CTavlinServDlg::RemoveTrayIcon()
{
    if (!m_trayIconAdded)
        return;
    Shell_NotifyIconA(NIM_DELETE, &m_trayIcon);
    m_trayIconAdded = FALSE;
}

void CTavlinServDlg::UpdateStatusLines()
{
    if (!g_pDeviceManager)
        return;
    int devices = 0;
    g_pDeviceManager->VisitDevices([&devices](int, const CDevice&) { ++devices; });
    SetDlgItemText(IDC_OBJECTS, FormatText("Dev: %d Send: %ld Rec: %ld ", devices, long(g_nSent), long(g_nReceived)));
    // The default user is the server's own.
    SetDlgItemText(IDC_MESSAGES, FormatText("Users %d Obj: %ld", g_pDeviceManager->GetNumUsers() - 1, long(g_nObjects)));
}

void CTavlinServDlg::OnPaint()
{
    UpdateStatusLines();
    if (!IsIconic() || m_noTrayIcon) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_hWnd, &paint);
}

LRESULT CTavlinServDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return LRESULT(m_icon);
}

LRESULT CTavlinServDlg::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (m_invisible || lParam != WM_LBUTTONDOWN)
        return 0;
    if (m_shown == 0) {
        m_keepHidden = FALSE;
        ShowWindow(SW_SHOW);
        BringWindowToTop();
        SetForegroundWindow();
    } else {
        ShowWindow(SW_HIDE);
    }
    m_shown = m_shown == 0 ? 1 : 0;
    return 0;
}

void CTavlinServDlg::OnWindowPosChanging(WINDOWPOS* position)
{
    if (m_keepHidden)
        position->flags &= ~SWP_SHOWWINDOW;
    Default();
}

void CTavlinServDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == SC_MINIMIZE)
        ShowWindow(SW_HIDE);
    else if ((id & 0xFFF0) == kAboutCommand)
        OnAbout();
    else
        Default();
}

void CTavlinServDlg::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

void CTavlinServDlg::OnClose()
{
    if (g_nObjects > 0 && AfxMessageBox(kClientsConnected, MB_YESNO) != IDYES)
        return;
    RemoveTrayIcon();
    EndDialog(IDOK);
}

// HTML Help on ..\help\tavlin.chm beside the program's folder, else the
// browser on ..\help\help.htm.
void CTavlinServDlg::OnHelp()
{
    CString chm, htm;
    CWinApp* app = AfxGetApp();
    CString helpPath = app ? app->m_pszHelpFilePath : "";
    int slash = helpPath.ReverseFind('\\');
    CString folder = slash >= 0 ? helpPath.Left(slash) : "";
    int parentSlash = folder.ReverseFind('\\');
    if (slash >= 0 && parentSlash >= 0) {
        CString parent = folder.Left(parentSlash + 1);
        chm = parent + "help\\tavlin.chm";
        htm = parent + "help\\help.htm";
        typedef HWND(WINAPI * HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);
        HMODULE hhctrl = LoadLibraryA("hhctrl.ocx");
        HtmlHelpProc htmlHelp = hhctrl ? HtmlHelpProc(GetProcAddress(hhctrl, "HtmlHelpA")) : nullptr;
        const UINT kDisplayTopic = 0;
        if (htmlHelp && htmlHelp(nullptr, chm, kDisplayTopic, 0))
            return;
        if (INT_PTR(ShellExecuteA(AfxGetMainWnd()->GetSafeHwnd(), "open", htm, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
            return;
    }
    AfxMessageBox(FormatText("Unable to find or start the help files (%s or %s).", (LPCSTR)chm, (LPCSTR)htm));
}

void CTavlinServDlg::OnOptions()
{
    if (g_pOptionsDlg && g_pOptionsDlg->DoModal() == IDOK)
        g_pOptionsDlg->SavePortMasks();
}

int CTavlinServDlg::GetSelectedUnit() const
{
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item)
        return -1;
    for (HTREEITEM parent = m_tree.GetParentItem(item); parent; parent = m_tree.GetParentItem(item))
        item = parent;
    return int(LONG_PTR(m_tree.GetItemData(item)));
}

void CTavlinServDlg::OnSettings()
{
    int unit = GetSelectedUnit();
    if (unit < 0 || !g_pDeviceManager)
        return;
    int tavlins = g_pDeviceManager->GetNumTavlins();
    int cm11as = g_pDeviceManager->GetNumCM11As();
    int keltos = g_pDeviceManager->GetNumKeltos();
    if (unit < tavlins) {
        CTavlinSettingsDlg settings(this);
        settings.m_port = g_pDeviceManager->GetTavlinPort(unit);
        settings.m_manager = g_pDeviceManager;
        settings.DoModal();
    } else if (unit >= tavlins + cm11as && unit < tavlins + cm11as + keltos) {
        CKeltoSettingsDlg settings(this);
        settings.m_port = g_pDeviceManager->GetKeltoPort(unit - tavlins - cm11as);
        settings.DoModal();
    }
}

void CTavlinServDlg::OnTest()
{
    int unit = GetSelectedUnit();
    if (unit < 0 || !g_pDeviceManager || unit >= g_pDeviceManager->GetNumTavlins())
        return;
    if (g_pDeviceManager->GetNumUsers() > 1) {
        AfxMessageBox(kTestsNeedNoClients);
        return;
    }
    CFunctionalTestDlg test(this);
    test.m_port = g_pDeviceManager->GetTavlinPort(unit);
    test.m_manager = g_pDeviceManager;
    test.DoModal();
}

HTREEITEM CTavlinServDlg::Insert(LPCSTR text, int image, LPARAM data, HTREEITEM parent)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    return m_tree.InsertItem(&insert);
}

void CTavlinServDlg::FillDeviceTree()
{
    m_tree.DeleteAllItems();
    m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);
    if (!g_pDeviceManager)
        return;
    CDeviceManager& manager = *g_pDeviceManager;
    int index = 0;
    for (int u = 0; u < manager.GetNumTavlins(); ++u, ++index) {
        CTavlinPort* port = manager.GetTavlinPort(u);
        HTREEITEM item = Insert(FormatText("Tavlin %1.1lf on COM%d:", port->GetVersion(), port->GetComPort()),
                                kUnitImage, index);
        FillUnitItems(u, item);
    }
    const struct
    {
        int count;
        const char* kind;
        int image;
    } others[] = {{manager.GetNumCM11As(), "CM11a", kCM11aImage}, {manager.GetNumKeltos(), "Kelto", kKeltoImage}};
    for (const auto& other : others) {
        for (int n = 0; n < other.count; ++n, ++index) {
            double version = other.image == kCM11aImage ? manager.GetCM11aPort(n)->GetVersion()
                                                        : manager.GetKeltoPort(n)->GetVersion();
            int com = other.image == kCM11aImage ? manager.GetCM11aPort(n)->GetComPort()
                                                 : manager.GetKeltoPort(n)->GetComPort();
            int baud = other.image == kCM11aImage ? manager.GetCM11aPort(n)->GetBaudRate()
                                                  : manager.GetKeltoPort(n)->GetBaudRate();
            HTREEITEM item = Insert(FormatText("%s %1.1lf on COM%d:", other.kind, version, com), other.image, index);
            HTREEITEM info = Insert("Info", kGroupImage, 0, item);
            Insert("Serial Number: ", kValueImage, 0, info);
            Insert(FormatText("Baud Rate: %d", baud), kValueImage, 0, info);
            Insert("Errors", kValueImage, 0, info);
        }
    }
    FillPortDiagnostics();
}

void CTavlinServDlg::FillUnitItems(int unit, HTREEITEM unitItem)
{
    CTavlinPort* port = g_pDeviceManager->GetTavlinPort(unit);
    bool newFirmware = port->GetVersion() >= CTavlinPort::kIRPortsVersion;
    HTREEITEM info = Insert("Info", kGroupImage, 0, unitItem);
    if (newFirmware) {
        BYTE s[8];
        port->GetSerialNumber(s);
        Insert(FormatText("Serial Number: %02X%02X%02X%02X%02X%02X%02X%02X", s[0], s[1], s[2], s[3], s[4], s[5], s[6],
                      s[7]),
               kValueImage, 0, info);
    }
    Insert(FormatText("Baud Rate: %d", port->GetBaudRate()), kValueImage, 0, info);
    Insert(FormatText("IR Sample Period: %2.0lfus", port->GetSamplePeriod() * 1e6), kValueImage, 0, info);
    Insert(FormatText("IR Timeout Period: %6.0lfus", port->GetTimeoutPeriod() * 1e6), kValueImage, 0, info);
    HTREEITEM errors = Insert("Errors", kValueImage, 0, info);
    const struct
    {
        const char* format;
        LONG count;
    } counters[] = {
        {"Transmit timeouts: %ld", port->GetErrorCount(kTransmitTimeouts)},
        {"Illegal commands: %ld", port->GetErrorCount(kIllegalCommands)},
        {"Command timeouts: %ld", port->GetErrorCount(kCommandTimeouts)},
        {"Buffer overflows: %ld", port->GetErrorCount(kReceiveOverflows)},
        {"Buffer overruns: %ld", port->GetErrorCount(kReceiveOverruns)},
        {"Framing errors: %ld", port->GetErrorCount(kFramingErrors)},
        {"Reloads / reboots: %ld", port->GetErrorCount(kReboots)},
        {"COM port resets: %ld", port->GetComResets()},
    };
    for (const auto& counter : counters)
        Insert(FormatText(counter.format, long(counter.count)), kValueImage, 0, errors);

    // Port items: S-Link ports 0-3 (mask bits 0-3), then IR ports (bits 4-11);
    // older firmware has one IR port.
    std::vector<DeviceEntry> devices = CopyDevices(*g_pDeviceManager);
    int irPorts = newFirmware ? kIRPorts : 1;
    for (int bit = 0; bit < kSLinkPorts + irPorts; ++bit) {
        bool sLink = bit < kSLinkPorts;
        HTREEITEM portItem = sLink ? Insert(FormatText("S-Link Port %d", bit), kSLinkImage, bit, unitItem)
                                   : Insert(FormatText("IR Port %d", bit - kSLinkPorts), kIRImage, bit, unitItem);
        for (const DeviceEntry& device : devices) {
            if (device.unit != unit || !(device.ports & (1 << bit)))
                continue;
            HTREEITEM deviceItem =
                Insert(FormatText("[%d] %s", device.record, (LPCSTR)device.name), kDeviceImage, device.index, portItem);
            for (const CString& code : device.codes)
                Insert(code, kCodeImage, device.index, deviceItem);
        }
    }
}

void CTavlinServDlg::FillPortDiagnostics()
{
    const CDeviceManager& manager = *g_pDeviceManager;
    HTREEITEM diagnostics = Insert("Port Diagnostics", kGroupImage, -1);
    for (int i = 0; i < kComPorts; ++i) {
        if (!manager.GetTavlinPorts().WasRequested(i) && !manager.GetCM11aPorts().WasRequested(i) &&
            !manager.GetKeltoPorts().WasRequested(i))
            continue;
        const char* found = "Nothing Found";
        if (manager.GetTavlinPorts().WasFound(i))
            found = "Tavlin";
        else if (manager.GetCM11aPorts().WasFound(i))
            found = "CM11a";
        else if (manager.GetKeltoPorts().WasFound(i))
            found = "Kelto";
        else if (manager.GetTavlinPorts().GetOpenError(i) || manager.GetCM11aPorts().GetOpenError(i) ||
                 manager.GetKeltoPorts().GetOpenError(i))
            found = "Inaccessible";
        Insert(FormatText("COM%d: %s", i + 1, found), kGroupImage, -1, diagnostics);
    }
}
