#include "core/automation/FireEvent.h"

#include "core/automation/AutoMapper.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

std::atomic<CEventDocument*> g_document(nullptr);

CString FormatEvent(const char* format, va_list args)
{
    char buffer[kMaxEventLength + 1];
    if (vsnprintf(buffer, sizeof buffer, format, args) < 0)
        buffer[0] = '\0';
    return buffer;
}

// Events carry outside texts as they are (titles, tags, file names, quoted
// commands). The device layer splits a text into items at brackets, so the
// copy it gets keeps only the event's own pair, the first "[" and a closing
// "]" at the end (added where the bound cut it off); every other bracket
// becomes a parenthesis. Otherwise a title holding "] zym:shell[x]" would go
// out as a command of its own.
CString DeviceCopy(const CString& event)
{
    CString copy = event;
    int open = copy.Find('[');
    if (open >= 0 && copy.Right(1) != "]")
        copy = copy.Left(kMaxEventLength - 1) + "]";
    int close = open >= 0 ? copy.GetLength() - 1 : -1;
    for (int i = 0; i < copy.GetLength(); ++i)
    {
        if (i == open || i == close)
            continue;
        if (copy[i] == '[')
            copy.SetAt(i, '(');
        else if (copy[i] == ']')
            copy.SetAt(i, ')');
    }
    return copy;
}

// The mapper and its log keep the exact text; the devices get the safe copy.
void Fire(CEventDocument& document, const CString& event)
{
    CString prefix = document.GetTransmitDeviceName() + ":";
    document.GetMapper().DispatchEvent(prefix + event);
    document.SendDeviceCommand(prefix + DeviceCopy(event));
}

}

void SetEventDocument(CEventDocument* document)
{
    g_document = document;
}

void FireEvent(const char* format, ...)
{
    CEventDocument* document = g_document;
    if (!document)
        return;
    va_list args;
    va_start(args, format);
    CString event = FormatEvent(format, args);
    va_end(args);
    Fire(*document, event);
}

void FireDebugEvent(const char* format, ...)
{
    static const char kOpen[] = "debug[";
    static const char kClose[] = "]";
    CEventDocument* document = g_document;
    if (!document || !document->IsDebugOn())
        return;
    va_list args;
    va_start(args, format);
    CString text = FormatEvent(format, args);
    va_end(args);
    // Cut the text, not the brackets, so that the event stays whole.
    int room = kMaxEventLength - int(sizeof kOpen - 1) - int(sizeof kClose - 1);
    Fire(*document, kOpen + text.Left(room) + kClose);
}
