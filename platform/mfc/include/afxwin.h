// Command targets, threads, the application, windows and dialogs.
#pragma once

#include <afx.h>

#include "mfc/CmdTarget.h"
#include "mfc/WinThread.h"
#include "mfc/WinApp.h"
#include "mfc/CmdUI.h"
#include "mfc/Wnd.h"
#include "mfc/DataExchange.h"
#include "mfc/Dialog.h"
#include "mfc/StdControls.h"

// Drawing, menus, document/view and frames.
#include "mfc/Geometry.h"
#include "mfc/Dc.h"
#include "mfc/Menu.h"
#include "mfc/WindowDc.h"
#include "mfc/FrameWnd.h"
#include "mfc/Document.h"
#include "mfc/View.h"
#include "mfc/DocTemplate.h"
#include "mfc/MdiFrameWnd.h"
#include "mfc/ScrollView.h"
#include "mfc/FormView.h"
#include "mfc/EditView.h"
#include "mfc/CheckListBox.h"
