// Texts built into the program as RT_RCDATA resources (device definition files,
// firmware images).
#pragma once

#include <afx.h>

// The resource's bytes unchanged; empty when it is missing, empty or unreadable.
CString LoadResourceText(const char* name);
