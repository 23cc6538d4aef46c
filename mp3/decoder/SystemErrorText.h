// The system's own text for a Win32 error number, without its line end.
#pragma once

#include <windows.h>

#include <string>

std::string SystemErrorText(DWORD error);
