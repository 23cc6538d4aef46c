// The core of our class library: texts, objects and run-time classes,
// exceptions, files and archives, times, diagnostics and module handles.
#pragma once

#include <windows.h>

#include "platform/mfc/MfcString.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Exception.h"
#include "platform/mfc/Debug.h"
#include "platform/mfc/Module.h"
#include "platform/mfc/Position.h"
#include "platform/mfc/MfcTime.h"
#include "platform/mfc/File.h"
#include "platform/mfc/MemFile.h"
#include "platform/mfc/StdioFile.h"
#include "platform/mfc/FileFind.h"
#include "platform/mfc/Archive.h"
