// Failures of the provider reach the consumer as an HRESULT plus the thread's
// error object, whose description says what went wrong.
#pragma once

#include <windows.h>

// Sets the error object (description in UTF-8) and gives back hr.
HRESULT ProviderError(HRESULT hr, const char* description);
HRESULT ProviderErrorF(HRESULT hr, const char* format, ...) __attribute__((format(printf, 2, 3)));
