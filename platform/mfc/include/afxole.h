// OLE drag and drop.
#pragma once

#include <afxwin.h>

#include "platform/mfc/OleDragDrop.h"
