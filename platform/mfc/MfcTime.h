// CTime and CTimeSpan: seconds since 1970 (UTC), shown in local time unless a
// name says Gmt. Formatting uses strftime's codes in the C locale.
#pragma once

#include "platform/mfc/MfcString.h"

#include <time.h>

class CTimeSpan
{
public:
    CTimeSpan();
    CTimeSpan(time_t seconds);
    CTimeSpan(LONG days, int hours, int minutes, int seconds);

    LONG GetDays() const;
    LONG GetTotalHours() const;
    int GetHours() const;
    LONG GetTotalMinutes() const;
    int GetMinutes() const;
    time_t GetTotalSeconds() const;
    int GetSeconds() const;

    CTimeSpan operator+(CTimeSpan other) const;
    CTimeSpan operator-(CTimeSpan other) const;
    const CTimeSpan& operator+=(CTimeSpan other);
    const CTimeSpan& operator-=(CTimeSpan other);
    bool operator==(CTimeSpan other) const;
    bool operator!=(CTimeSpan other) const;
    bool operator<(CTimeSpan other) const;
    bool operator>(CTimeSpan other) const;
    bool operator<=(CTimeSpan other) const;
    bool operator>=(CTimeSpan other) const;

    // %D days, %H %M %S the hour, minute and second parts, %% a percent sign.
    CString Format(LPCSTR format) const;

private:
    time_t m_timeSpan;
};

class CTime
{
public:
    static CTime PASCAL GetCurrentTime();

    CTime();
    CTime(time_t time);
    // Local time; dst -1 lets the C library decide whether daylight saving applies.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    CTime(const SYSTEMTIME& localTime, int dst = -1);
    // A file time is UTC, so dst does not apply.
    CTime(const FILETIME& fileTime, int dst = -1);

    time_t GetTime() const;
    // NULL when the time cannot be shown as a calendar time.
    struct tm* GetGmtTm(struct tm* result) const;
    struct tm* GetLocalTm(struct tm* result) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 is Sunday.
    int GetDayOfWeek() const;

    CTimeSpan operator-(CTime other) const;
    CTime operator-(CTimeSpan span) const;
    CTime operator+(CTimeSpan span) const;
    const CTime& operator+=(CTimeSpan span);
    const CTime& operator-=(CTimeSpan span);
    bool operator==(CTime other) const;
    bool operator!=(CTime other) const;
    bool operator<(CTime other) const;
    bool operator>(CTime other) const;
    bool operator<=(CTime other) const;
    bool operator>=(CTime other) const;

    CString Format(LPCSTR format) const;
    CString FormatGmt(LPCSTR format) const;

private:
    void SetLocal(int year, int month, int day, int hour, int minute, int second, int dst);
    int LocalField(int tm::*field) const;

    time_t m_time;
};
