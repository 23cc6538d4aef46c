// Diagnostics: TRACE, ASSERT and VERIFY write to the debugger output.
// They stay in every build and never stop the program: a failed check is
// reported with its file and line, and the program carries on.
#pragma once

#include "platform/mfc/MfcString.h"
#include "platform/runtime/DebugOutput.h"

void AfxAssertFailed(LPCSTR file, int line);

// Formats as CString::Format does (the Microsoft sizes, CString arguments).
template <typename... Args>
inline void AfxTrace(LPCSTR format, const Args&... args)
{
    CString text;
    text.Format(format, args...);
    DebugOutput(text);
}

#define TRACE AfxTrace

#define ASSERT(condition) \
    do { if (!(condition)) AfxAssertFailed(__FILE__, __LINE__); } while (0)
#define VERIFY(condition) ASSERT(condition)
