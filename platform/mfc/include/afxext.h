// Window classes beyond the core ones: splitter windows, bitmap buttons, print jobs,
// control bars with their docking and saved layout, the rebar, the rectangle
// tracker.
#pragma once

#include <afxwin.h>

#include "platform/mfc/SplitterWnd.h"
#include "platform/mfc/BitmapButton.h"
#include "platform/mfc/PrintInfo.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/DockBar.h"
#include "platform/mfc/DockContext.h"
#include "platform/mfc/DockState.h"
#include "platform/mfc/MiniFrameWnd.h"
#include "platform/mfc/ReBar.h"
#include "platform/mfc/RectTracker.h"
