#include "mp3/decoder/NetDeadline.h"

#include <windows.h>

CNetDeadline::CNetDeadline(int timeout)
    : m_started(GetTickCount()), m_timeout(timeout)
{
}

int CNetDeadline::Left() const
{
    if (m_timeout < 0)
        return -1;
    uint32_t spent = GetTickCount() - m_started;   // unsigned: right across the wrap
    return spent >= uint32_t(m_timeout) ? 0 : m_timeout - int(spent);
}
