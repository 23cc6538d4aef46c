// Window classes beyond the core ones: splitter windows, bitmap buttons, print jobs.
#pragma once

#include <afxwin.h>

#include "mfc/SplitterWnd.h"
#include "mfc/BitmapButton.h"
#include "mfc/PrintInfo.h"
