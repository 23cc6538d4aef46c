// That no wave output device would open. The MP3 thread reports it each time
// a play fails so; the GUI thread takes the reports at its next look and
// tells the user only the first time in a run.
#pragma once

#include <atomic>

class CNoOutputNotice
{
public:
    // Any thread; never blocks.
    void Report() { m_pending = true; }
    // True once for the reports made since the last call.
    bool TakeReports() { return m_pending.exchange(false); }
    // True the first time only.
    bool FirstTelling() { return !m_told.exchange(true); }

private:
    std::atomic<bool> m_pending{ false };
    std::atomic<bool> m_told{ false };
};
