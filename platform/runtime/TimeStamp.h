// A point in time as the system's UTC file time (100 ns units since 1601).
#pragma once

#include <windows.h>

class CTimeStamp
{
public:
    CTimeStamp() { SetToNow(); }
    // A stamp from a clock of one's own (tests).
    explicit CTimeStamp(ULONGLONG value) : m_value(value) {}

    void SetToNow()
    {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        m_value = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    }
    ULONGLONG GetValue() const { return m_value; }

    bool operator<(const CTimeStamp& other) const { return m_value < other.m_value; }
    bool operator==(const CTimeStamp& other) const { return m_value == other.m_value; }

private:
    ULONGLONG m_value;
};
