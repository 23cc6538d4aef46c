#include "platform/runtime/DebugOutput.h"

#include "platform/runtime/LockedSlot.h"

#include <stdarg.h>
#include <stdio.h>

static CLockedSlot<CDebugOutputSink>& Sink()
{
    // Never destroyed: threads may still write while the process exits.
    static CLockedSlot<CDebugOutputSink>* slot = new CLockedSlot<CDebugOutputSink>;
    return *slot;
}

void DebugOutput(const char* text)
{
    if (!text)
        return;
    OutputDebugStringA(text);
    Sink().Use([text](CDebugOutputSink& sink) { sink.Write(text); });
}

void DebugOutputF(const char* format, ...)
{
    char text[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    DebugOutput(text);
}

void SetDebugOutputSink(CDebugOutputSink* sink)
{
    Sink().Set(sink);
}
