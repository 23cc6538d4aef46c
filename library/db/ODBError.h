// The consumer layer reports every failure one way: as a thrown _com_error
// carrying the result and the provider's error object.
#pragma once

#include <afx.h>

#include "ComError.h"

// Throws unless hr is S_OK; object and iid name the interface that failed, so
// that its error object comes along.
void ODBCheck(HRESULT hr, IUnknown* object, REFIID iid);

// The text shown for a COM error: the context, the code, the system's message
// for it and the provider's description when there is one.
CString FormatComError(const char* context, const _com_error& error);
