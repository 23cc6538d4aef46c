// tavlinserv: lends the serial interface devices to any number of client
// programs through "Halvane.TavlinClient" objects. Started by a user it runs
// until its window closes; started by COM it quits a few ticks after its last
// client object went.
#include <afxwin.h>
#include <objbase.h>
#include <commctrl.h>

#include "server/ClientFactory.h"
#include "devices/manager/DeviceManager.h"
#include "server/OptionsDlg.h"
#include "server/ServerCommandLine.h"
#include "server/ServerRegistration.h"
#include "server/ServerState.h"
#include "server/TavlinServDlg.h"
#include "platform/runtime/DebugOutput.h"

namespace {

const char kSingleInstanceEvent[] = "Tavlinserv SI Event";

CTavlinClientFactory g_factory;

BOOL AnotherCopyRuns(const CTavlinServCommandLineInfo& info)
{
    HANDLE other = OpenEventA(EVENT_MODIFY_STATE, FALSE, kSingleInstanceEvent);
    if (!other)
        return FALSE;
    CloseHandle(other);
    return !info.m_runEmbedded && !info.m_runAutomated;
}

void StartDeviceManager(const PortOptions& options)
{
    g_pDeviceManager = new CDeviceManager(nullptr);
    g_pDeviceManager->GetError().m_messageBox = FALSE;
    g_pDeviceManager->SetInitializeCom(TRUE);
    // Only the low eight bits name ports: the never-chosen 777 probes COM1 and COM4.
    g_pDeviceManager->AddTavlinPorts(options.tavlinMask & 0xFF);
    g_pDeviceManager->AddCM11aPorts(options.cm11aMask & 0xFF);
    g_pDeviceManager->AddKeltoPorts(options.keltoMask & 0xFF);
    g_pDeviceManager->StartMessageMonitor();
    for (int i = 0; i < g_pDeviceManager->GetNumCM11As(); ++i)
        g_pDeviceManager->GetCM11aPort(i)->SendCommand("status[]");
}

} // namespace

class CTavlinServApp : public CWinApp
{
public:
    CTavlinServApp() : CWinApp("tavlinserv"), m_mark(nullptr), m_oleReady(FALSE) {}

    // Always FALSE: the program ends when its window does.
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    void RunServer(const CTavlinServCommandLineInfo& info);

    // Never signalled: its existence marks the running copy.
    HANDLE m_mark;
    BOOL m_oleReady;
};

CTavlinServApp theApp;

BOOL CTavlinServApp::InitInstance()
{
    CTavlinServCommandLineInfo info;
    info.ParseCommandLine(m_lpCmdLine);
    if (AnotherCopyRuns(info))
        return FALSE;
    m_mark = CreateEventA(nullptr, FALSE, FALSE, kSingleInstanceEvent);
    m_oleReady = SUCCEEDED(OleInitialize(nullptr));
    if (!m_oleReady)
        return FALSE;
    InitCommonControls();
    if (info.m_unregister) {
        UnregisterServer();
        return FALSE;
    }
    if (!RegisterServer(ServerCommand()))
        DebugOutput("tavlinserv: class registration failed");
    SetRegistryKey("Halvane");
    if (!info.m_register)
        RunServer(info);
    return FALSE;
}

void CTavlinServApp::RunServer(const CTavlinServCommandLineInfo& info)
{
    g_pOptionsDlg = new COptionsDlg;
    StartDeviceManager(g_pOptionsDlg->m_masks);
    g_bStartedByCom = info.m_runEmbedded || info.m_runAutomated;
    CTavlinServDlg dialog(&g_factory);
    dialog.m_invisible = info.m_invisible;
    dialog.m_noTrayIcon = info.m_noTrayIcon;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

int CTavlinServApp::ExitInstance()
{
    g_factory.RevokeAll();
    delete g_pDeviceManager;
    g_pDeviceManager = nullptr;
    delete g_pOptionsDlg;
    g_pOptionsDlg = nullptr;
    if (m_oleReady)
        OleUninitialize();
    if (m_mark)
        CloseHandle(m_mark);
    return CWinApp::ExitInstance();
}
