// The calls that a test's handlers (message handlers, notifications, overrides)
// report, in order, for comparing the sequence with the one expected.
#pragma once

#include <string>
#include <vector>

class CCallRecorder
{
public:
    void Record(const std::string& call) { m_calls.push_back(call); }
    void Clear() { m_calls.clear(); }
    const std::vector<std::string>& Calls() const { return m_calls; }
    // The calls in one line, separated by blanks.
    std::string Joined() const
    {
        std::string text;
        for (const std::string& call : m_calls)
            text += (text.empty() ? "" : " ") + call;
        return text;
    }

private:
    std::vector<std::string> m_calls;
};
