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

private:
    std::vector<std::string> m_calls;
};
