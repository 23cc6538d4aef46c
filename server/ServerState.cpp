#include "server/ServerState.h"

CDeviceManager* g_pDeviceManager = nullptr;
LONG g_nObjects = 0;
BOOL g_bStartedByCom = FALSE;
LONG g_nQuitCountdown = 0;
LONG g_nSent = 0;
LONG g_nReceived = 0;

static ServerNotify* g_notify = nullptr;

void SetServerNotify(ServerNotify* notify)
{
    g_notify = notify;
}

void NotifyCounters()
{
    if (g_notify)
        g_notify->RepaintCounters();
}

void NotifyTree()
{
    if (g_notify)
        g_notify->RefreshTree();
}
