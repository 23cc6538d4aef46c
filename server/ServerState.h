// Process-wide state of the device server, shared by its COM objects, its
// start-up and its windows. The counters are read by the main window.
#pragma once
#include <windows.h>

class CDeviceManager;

extern CDeviceManager* g_pDeviceManager;
extern LONG g_nObjects;         // live client objects; GUI thread only
extern BOOL g_bStartedByCom;
extern LONG g_nQuitCountdown;   // timer ticks left before a COM-started server quits
extern LONG g_nSent;            // successful sends; GUI thread only
extern LONG g_nReceived;        // texts delivered to clients; delivery threads

// What the server's window does when the objects change; the window installs
// it, calls are harmless without one.
struct ServerNotify
{
    virtual ~ServerNotify() {}
    virtual void RepaintCounters() = 0;
    virtual void RefreshTree() = 0;
};
void SetServerNotify(ServerNotify* notify);
// Safe from any thread: the window only posts itself a request.
void NotifyCounters();
void NotifyTree();
