// The core of our class library: texts, objects and run-time classes,
// exceptions, diagnostics and module handles.
#pragma once

#include <windows.h>

#include "mfc/MfcString.h"
#include "mfc/Object.h"
#include "mfc/Exception.h"
#include "mfc/Debug.h"
#include "mfc/Module.h"

// Walks a list or a map; NULL after the last element.
typedef struct __POSITION { int unused; }* POSITION;
