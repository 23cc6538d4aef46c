#include "platform/mfc/FormatText.h"

#include <stdarg.h>

CString FormatText(LPCSTR format, ...)
{
    CString text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    return text;
}
