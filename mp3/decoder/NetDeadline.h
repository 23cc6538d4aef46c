// A time limit shared by several waits: each gets what is left of it.
#pragma once

#include <stdint.h>

class CNetDeadline
{
public:
    // timeout in ms; a negative one never passes.
    explicit CNetDeadline(int timeout);
    // Milliseconds left (0 once passed), or -1 for no limit.
    int Left() const;

private:
    uint32_t m_started;   // tick count
    int m_timeout;
};
