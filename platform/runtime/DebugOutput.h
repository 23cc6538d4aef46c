// Texts for the debugger output. Every debug text of the programs goes through
// DebugOutput, so that tests can read what a component wrote.
#pragma once

class CDebugOutputSink
{
public:
    virtual ~CDebugOutputSink() {}
    // Called with each text, on the thread that wrote it.
    virtual void Write(const char* text) = 0;
};

void DebugOutput(const char* text);
// printf form; texts longer than 4 KB are cut.
void DebugOutputF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs a sink that sees every text as well (null removes it). The sink is
// called under a lock, so removing it waits for a write in progress.
void SetDebugOutputSink(CDebugOutputSink* sink);
