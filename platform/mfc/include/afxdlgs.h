// The common dialogs, the folder browser and property sheets.
#pragma once

#include <afxwin.h>

#include "mfc/CommonDialogs.h"
#include "mfc/PropertySheet.h"
