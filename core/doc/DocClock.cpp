#include "core/doc/DocClock.h"

time_t CDocClock::Now() const
{
    return m_set ? static_cast<time_t>(m_milliseconds / 1000) : time(nullptr);
}

SYSTEMTIME CDocClock::LocalTime() const
{
    // 100 ns units between 1601 and 1970.
    const long long kUnixEpoch = 116444736000000000LL;
    long long units = static_cast<long long>(Now()) * 10000000 + kUnixEpoch;
    FILETIME utc = { static_cast<DWORD>(units), static_cast<DWORD>(units >> 32) };
    FILETIME local;
    SYSTEMTIME result = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &result);
    return result;
}

DWORD CDocClock::Wait(HANDLE object, DWORD ms)
{
    if (!m_set)
        return WaitForSingleObject(object, ms);
    // A moment of real time, so that a thread that is ending can end.
    DWORD result = WaitForSingleObject(object, 1);
    if (result == WAIT_TIMEOUT)
        Advance(ms);
    return result;
}

void CDocClock::Set(time_t seconds)
{
    m_milliseconds = static_cast<long long>(seconds) * 1000;
    m_set = true;
}

void CDocClock::Advance(long long milliseconds)
{
    m_milliseconds += milliseconds;
}
