// Collects what the program writes to the debugger output while it lives.
#pragma once

#include "platform/runtime/DebugOutput.h"

#include <mutex>
#include <string>

class CDebugCapture : public CDebugOutputSink
{
public:
    CDebugCapture();
    ~CDebugCapture() override;

    std::string Text() const;
    bool Contains(const std::string& part) const;
    void Clear();

    void Write(const char* text) override;

private:
    mutable std::mutex m_lock;
    std::string m_text;
};
