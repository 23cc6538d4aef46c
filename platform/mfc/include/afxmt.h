// Synchronisation objects and the locks that take them.
#pragma once

#include <afx.h>

#include "platform/mfc/SyncObject.h"
#include "platform/mfc/SyncLock.h"
