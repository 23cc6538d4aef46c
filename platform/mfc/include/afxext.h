// Window classes beyond the core ones: splitter windows, bitmap buttons, print jobs,
// control bars with their docking and saved layout, the rebar, the rectangle
// tracker.
#pragma once

#include <afxwin.h>

#include "mfc/SplitterWnd.h"
#include "mfc/BitmapButton.h"
#include "mfc/PrintInfo.h"
#include "mfc/ControlBar.h"
#include "mfc/DockBar.h"
#include "mfc/DockContext.h"
#include "mfc/DockState.h"
#include "mfc/MiniFrameWnd.h"
#include "mfc/ReBar.h"
#include "mfc/RectTracker.h"
