// The core of our class library: texts, objects and run-time classes,
// exceptions, files and archives, times, diagnostics and module handles.
#pragma once

#include <windows.h>

#include "mfc/MfcString.h"
#include "mfc/Object.h"
#include "mfc/Exception.h"
#include "mfc/Debug.h"
#include "mfc/Module.h"
#include "mfc/Position.h"
#include "mfc/MfcTime.h"
#include "mfc/File.h"
#include "mfc/MemFile.h"
#include "mfc/StdioFile.h"
#include "mfc/FileFind.h"
#include "mfc/Archive.h"
