// The common dialogs, the folder browser and property sheets.
#pragma once

#include <afxwin.h>

#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/PropertySheet.h"
