// The system's own text for a Win32 error code, without its line end.
#pragma once

#include <windows.h>

#include <string>

// Neutral language; "Error <code>" when the system has no text for the code.
std::string SystemErrorText(DWORD code);
