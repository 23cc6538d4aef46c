// What the reporter's link end tells the application: text for the log, show or
// hide requests, and the start and end of the watched program.
#pragma once

class ReporterSink
{
public:
    virtual ~ReporterSink() {}
    virtual void WriteText(const char* text) = 0;
    virtual void Show(bool show) = 0;
    virtual void OnAttached() = 0;
    virtual void OnProcessEnded() = 0;
};
