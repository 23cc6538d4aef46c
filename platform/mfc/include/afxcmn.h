// The common controls.
#pragma once

#include <afxwin.h>

#include "platform/mfc/ImageList.h"
#include "platform/mfc/ListCtrl.h"
#include "platform/mfc/TreeCtrl.h"
#include "platform/mfc/CommonControls.h"
