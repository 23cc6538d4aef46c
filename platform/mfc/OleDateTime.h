// COleDateTime and COleDateTimeSpan: points in time and spans on the OLE DATE
// scale (days since 30 December 1899 as a double, the fraction being the time
// of day). Before that day the whole part counts days back while the fraction
// still counts forward: -1.25 is 29 December 1899, 06:00.
#pragma once

#include <afx.h>

#include <time.h>

// Component accessors of a date that is not valid return this.
const int AFX_OLE_DATETIME_ERROR = -1;

class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan();
    COleDateTimeSpan(double span);
    COleDateTimeSpan(long days, int hours, int minutes, int seconds);

    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetDateTimeSpan(long days, int hours, int minutes, int seconds);

    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // Parts of the span rounded to the second; a negative span has negative parts.
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    operator double() const { return m_span; }
    const COleDateTimeSpan& operator=(double span);

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    const COleDateTimeSpan& operator+=(const COleDateTimeSpan& other);
    const COleDateTimeSpan& operator-=(const COleDateTimeSpan& other);

    BOOL operator==(const COleDateTimeSpan& other) const { return m_span == other.m_span; }
    BOOL operator!=(const COleDateTimeSpan& other) const { return m_span != other.m_span; }
    BOOL operator<(const COleDateTimeSpan& other) const { return m_span < other.m_span; }
    BOOL operator>(const COleDateTimeSpan& other) const { return m_span > other.m_span; }
    BOOL operator<=(const COleDateTimeSpan& other) const { return m_span <= other.m_span; }
    BOOL operator>=(const COleDateTimeSpan& other) const { return m_span >= other.m_span; }

    double m_span;
    DateTimeSpanStatus m_status;

private:
    long TotalRoundedSeconds() const;
};

class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    // The local time, to the second.
    static COleDateTime GetCurrentTime();

    // 0.0 (30 December 1899, midnight), valid.
    COleDateTime();
    COleDateTime(DATE date);
    // time_t and FILETIME count in UTC; the date holds the local time.
    COleDateTime(time_t time);
    COleDateTime(const SYSTEMTIME& time);
    COleDateTime(const FILETIME& time);
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    const COleDateTime& operator=(DATE date);
    const COleDateTime& operator=(time_t time);
    const COleDateTime& operator=(const SYSTEMTIME& time);
    const COleDateTime& operator=(const FILETIME& time);

    void SetStatus(DateTimeStatus status) { m_status = status; }
    DateTimeStatus GetStatus() const { return m_status; }

    // 0 when the parts make a date from the year 100 to 9999; otherwise 1 and
    // the status becomes invalid.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day);
    int SetTime(int hour, int minute, int second);

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday .. 7 = Saturday.
    int GetDayOfWeek() const;
    // 1 = 1 January.
    int GetDayOfYear() const;

    operator DATE() const { return m_dt; }

    // Invalid when either side is, else null when either side is.
    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    const COleDateTime& operator+=(const COleDateTimeSpan& span);
    const COleDateTime& operator-=(const COleDateTimeSpan& span);
    COleDateTimeSpan operator-(const COleDateTime& other) const;

    // Compared by position in time (also before 1899, where DATE values do
    // not order as doubles).
    BOOL operator==(const COleDateTime& other) const;
    BOOL operator!=(const COleDateTime& other) const;
    BOOL operator<(const COleDateTime& other) const;
    BOOL operator>(const COleDateTime& other) const;
    BOOL operator<=(const COleDateTime& other) const;
    BOOL operator>=(const COleDateTime& other) const;

    // Month-first dates ("12/10/2026", "12/10/26", "12/10", "2026-12-10",
    // "Dec 10, 2026", "10 December 2026", a leading weekday name) and times
    // ("13:05", "13:05:09", "1:05 PM", "1 PM"), either or both; the same forms
    // whatever the machine's locale. A time alone falls on day 0. flags may be
    // VAR_DATEVALUEONLY or VAR_TIMEVALUEONLY to keep one part. On failure FALSE,
    // 0.0 and invalid.
    BOOL ParseDateTime(LPCSTR text, DWORD flags = 0, LCID locale = LANG_USER_DEFAULT);

    // strftime codes as the C locale of the Microsoft runtime gives them:
    // %x is "12/10/26", %X "13:05:09", %c both; '#' drops leading zeros and
    // makes %c and %x long. Empty when the date is not valid.
    CString Format(LPCSTR format) const;
    CString Format(UINT formatId) const;

    DATE m_dt;
    DateTimeStatus m_status;

private:
    BOOL GetParts(SYSTEMTIME& parts) const;
    int GetPart(WORD SYSTEMTIME::*field) const;
    void SetFromLinear(double linear, DateTimeStatus status);
};
