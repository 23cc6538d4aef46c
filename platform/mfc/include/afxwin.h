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

