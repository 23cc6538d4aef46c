#include "FireEvent.h"

#include "AutoMapper.h"

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

void Fire(CEventDocument& document, const CString& event)
{
    CString text = document.GetTransmitDeviceName() + ":" + event;
    document.GetMapper().DispatchEvent(text);
    document.SendDeviceCommand(text);
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
