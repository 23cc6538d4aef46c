#include "fwupgrader/UpgraderOutput.h"

#include <stdarg.h>

CString Line(const char* format, ...)
{
    CString text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    return text;
}
