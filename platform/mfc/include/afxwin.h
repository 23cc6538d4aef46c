// Command targets, threads and the application object.
#pragma once

#include <afx.h>

#include "mfc/CmdTarget.h"
#include "mfc/WinThread.h"
#include "mfc/WinApp.h"
#include "mfc/CmdUI.h"
#include "mfc/Wnd.h"

