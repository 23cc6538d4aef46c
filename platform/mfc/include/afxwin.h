// Command targets, threads, the application, windows and dialogs.
#pragma once

#include <afx.h>

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/WinThread.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Wnd.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/StdControls.h"

// Drawing, menus, document/view and frames.
#include "platform/mfc/Geometry.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WindowDc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/View.h"
#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/ScrollView.h"
#include "platform/mfc/FormView.h"
#include "platform/mfc/EditView.h"
#include "platform/mfc/CheckListBox.h"
