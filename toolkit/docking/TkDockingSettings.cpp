#include "toolkit/docking/TkDockingSettings.h"

namespace
{
TkLNDockingMgr* g_defaultManager = NULL;
ITkDockInitiator* g_currentInitiator = NULL;
int g_liveDocking = 0;
TkLayoutNode* g_draggedNode = NULL;
}

void TkSetDefaultDockingMgr(TkLNDockingMgr* manager)
{
    g_defaultManager = manager;
}

TkLNDockingMgr* TkGetDefaultDockingMgr()
{
    return g_defaultManager;
}

void TkSetCurrentDockInitiator(ITkDockInitiator* initiator)
{
    g_currentInitiator = initiator;
}

ITkDockInitiator* TkGetCurrentDockInitiator()
{
    return g_currentInitiator;
}

void TkSetLiveDocking(int live)
{
    g_liveDocking = live;
}

int TkGetLiveDocking()
{
    return g_liveDocking;
}

void TkSetDraggedNode(TkLayoutNode* node)
{
    g_draggedNode = node;
}

TkLayoutNode* TkGetDraggedNode()
{
    return g_draggedNode;
}
