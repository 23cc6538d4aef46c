// Window classes beyond the core ones: splitter windows.
#pragma once

#include <afxwin.h>

#include "mfc/SplitterWnd.h"
#include "mfc/BitmapButton.h"
