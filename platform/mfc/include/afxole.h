// OLE drag and drop.
#pragma once

#include <afxwin.h>

#include "mfc/OleDragDrop.h"
