// Synchronisation objects and the locks that take them.
#pragma once

#include <afx.h>

#include "mfc/SyncObject.h"
#include "mfc/SyncLock.h"
