// The process-wide docking settings the engine shares. The layout
// suspension is TkSuspendFrameRecalc (TkLNContainer.h).
#pragma once

#include <afxwin.h>

class ITkDockInitiator;
class TkLNDockingMgr;
class TkLayoutNode;

// Used by every listener and feature that was given no manager.
void TkSetDefaultDockingMgr(TkLNDockingMgr* manager);
TkLNDockingMgr* TkGetDefaultDockingMgr();
// The node being dragged, seen by the drop targets while a drag runs.
void TkSetCurrentDockInitiator(ITkDockInitiator* initiator);
ITkDockInitiator* TkGetCurrentDockInitiator();
// 1: a dragged node is docked again at every move; 0: only on release.
void TkSetLiveDocking(int live);
int TkGetLiveDocking();
// Set on the first start of a drag, cleared at its end.
void TkSetDraggedNode(TkLayoutNode* node);
TkLayoutNode* TkGetDraggedNode();
