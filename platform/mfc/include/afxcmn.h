// The common controls.
#pragma once

#include <afxwin.h>

#include "mfc/ImageList.h"
#include "mfc/ListCtrl.h"
#include "mfc/TreeCtrl.h"
#include "mfc/CommonControls.h"
