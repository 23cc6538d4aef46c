// tavlinserv: lends the serial interface devices to any number of client
// programs through "Halvane.TavlinClient" objects. Started by a user it runs
// until its window closes; started by COM it quits a few ticks after its last
// client object went.
#include <windows.h>
#include <objbase.h>
#include "ClientFactory.h"
#include "DeviceManager.h"
#include "PortOptions.h"
#include "ServerCommandLine.h"
#include "ServerRegistration.h"
#include "ServerState.h"
#include "ServerWindow.h"
#include "runtime/DebugOutput.h"

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

void ExitServer()
{
    g_factory.RevokeAll();
    delete g_pDeviceManager;
    g_pDeviceManager = nullptr;
}

int RunServer(const CTavlinServCommandLineInfo& info)
{
    if (!RegisterServer(ServerCommand()))
        DebugOutput("tavlinserv: class registration failed");
    if (info.m_register)
        return 0;
    PortOptions options;
    options.Load();
    StartDeviceManager(options);
    g_bStartedByCom = info.m_runEmbedded || info.m_runAutomated;
    CServerWindow window(g_factory, info.m_invisible, info.m_noTrayIcon);
    int result = window.Run();
    ExitServer();
    return result;
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    CTavlinServCommandLineInfo info;
    info.ParseCommandLine(commandLine);
    if (AnotherCopyRuns(info))
        return 0;
    // Never signalled: its existence marks the running copy.
    HANDLE mark = CreateEventA(nullptr, FALSE, FALSE, kSingleInstanceEvent);
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    int result = 0;
    if (info.m_unregister)
        UnregisterServer();
    else
        result = RunServer(info);
    OleUninitialize();
    CloseHandle(mark);
    return result;
}
