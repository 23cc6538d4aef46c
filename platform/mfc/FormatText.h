// A new CString from a printf format and its values, as long as they make it,
// for where the statement form of CString::Format does not fit (an argument,
// a return value). CStrings go in as (LPCSTR) casts.
#pragma once

#include <afx.h>

CString FormatText(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));
