// Parts of a path text, shared by the file classes.
#pragma once

#include "platform/mfc/MfcString.h"

// Where the last component starts: after the last '\', '/' or drive colon.
int PathNameStart(const CString& path);
// The name without its extension (the part from the last '.').
CString PathTitle(const CString& name);
