#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/Calendar.h"
#include "platform/mfc/DateTimeText.h"

#include <math.h>

namespace
{
const int kSecondsPerDay = 86400;
const int kFirstYear = 100;
const int kLastYear = 9999;
// DATE values of 1 January 100 and of the day after 31 December 9999.
const double kMinDate = -657434.0;
const double kMaxDateEnd = 2958466.0;
// FILETIME ticks (100 ns) per second, and the FILETIME of 1 January 1970.
const LONGLONG kTicksPerSecond = 10000000;
const LONGLONG kUnixEpochTicks = 116444736000000000LL;

// Before day 0 a DATE's whole part counts back while its fraction counts
// forward; the linear value runs forward throughout, so it adds, subtracts
// and compares as time does.
double LinearFromDate(DATE date)
{
    if (date >= 0)
        return date;
    double day = ceil(date);
    return day + (day - date);
}

DATE DateFromLinear(double linear)
{
    double day = floor(linear);
    return day >= 0 ? linear : day - (linear - day);
}

bool PartsInRange(int year, int month, int day, int hour, int minute, int second)
{
    return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 &&
           day >= 1 && day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 &&
           minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

COleDateTime::DateTimeStatus CombinedStatus(int a, int b)
{
    if (a == COleDateTime::invalid || b == COleDateTime::invalid)
        return COleDateTime::invalid;
    if (a == COleDateTime::null || b == COleDateTime::null)
        return COleDateTime::null;
    return COleDateTime::valid;
}
}

COleDateTimeSpan::COleDateTimeSpan()
    : m_span(0), m_status(valid)
{
}

COleDateTimeSpan::COleDateTimeSpan(double span)
    : m_span(span), m_status(valid)
{
}

COleDateTimeSpan::COleDateTimeSpan(long days, int hours, int minutes, int seconds)
{
    SetDateTimeSpan(days, hours, minutes, seconds);
}

void COleDateTimeSpan::SetDateTimeSpan(long days, int hours, int minutes, int seconds)
{
    m_span = days + (hours * 3600.0 + minutes * 60.0 + seconds) / kSecondsPerDay;
    m_status = valid;
}

const COleDateTimeSpan& COleDateTimeSpan::operator=(double span)
{
    m_span = span;
    m_status = valid;
    return *this;
}

double COleDateTimeSpan::GetTotalDays() const
{
    return m_span;
}

double COleDateTimeSpan::GetTotalHours() const
{
    return m_span * 24;
}

double COleDateTimeSpan::GetTotalMinutes() const
{
    return m_span * 24 * 60;
}

double COleDateTimeSpan::GetTotalSeconds() const
{
    return m_span * kSecondsPerDay;
}

long COleDateTimeSpan::TotalRoundedSeconds() const
{
    return lround(m_span * kSecondsPerDay);
}

long COleDateTimeSpan::GetDays() const
{
    return TotalRoundedSeconds() / kSecondsPerDay;
}

long COleDateTimeSpan::GetHours() const
{
    return TotalRoundedSeconds() % kSecondsPerDay / 3600;
}

long COleDateTimeSpan::GetMinutes() const
{
    return TotalRoundedSeconds() % 3600 / 60;
}

long COleDateTimeSpan::GetSeconds() const
{
    return TotalRoundedSeconds() % 60;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan result(m_span + other.m_span);
    result.m_status = (DateTimeSpanStatus)CombinedStatus(m_status, other.m_status);
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    return *this + -other;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

const COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan& other)
{
    return *this = *this + other;
}

const COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan& other)
{
    return *this = *this - other;
}

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return COleDateTime(now);
}

COleDateTime::COleDateTime()
    : m_dt(0), m_status(valid)
{
}

COleDateTime::COleDateTime(DATE date)
{
    *this = date;
}

COleDateTime::COleDateTime(time_t time)
{
    *this = time;
}

COleDateTime::COleDateTime(const SYSTEMTIME& time)
{
    *this = time;
}

COleDateTime::COleDateTime(const FILETIME& time)
{
    *this = time;
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

const COleDateTime& COleDateTime::operator=(DATE date)
{
    m_dt = date;
    m_status = date >= kMinDate && date < kMaxDateEnd ? valid : invalid;
    return *this;
}

const COleDateTime& COleDateTime::operator=(time_t time)
{
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (ULONGLONG)(kUnixEpochTicks + (LONGLONG)time * kTicksPerSecond);
    FILETIME fileTime;
    fileTime.dwLowDateTime = ticks.LowPart;
    fileTime.dwHighDateTime = ticks.HighPart;
    return *this = fileTime;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& time)
{
    SetDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    return *this;
}

const COleDateTime& COleDateTime::operator=(const FILETIME& time)
{
    FILETIME local;
    SYSTEMTIME parts;
    if (FileTimeToLocalFileTime(&time, &local) && FileTimeToSystemTime(&local, &parts))
        return *this = parts;
    m_dt = 0;
    m_status = invalid;
    return *this;
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (!PartsInRange(year, month, day, hour, minute, second))
    {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    double time = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
    SetFromLinear(DayNumber(year, month, day) + time, valid);
    return 0;
}

int COleDateTime::SetDate(int year, int month, int day)
{
    return SetDateTime(year, month, day, 0, 0, 0);
}

// A time alone lies on day 0, 30 December 1899.
int COleDateTime::SetTime(int hour, int minute, int second)
{
    return SetDateTime(1899, 12, 30, hour, minute, second);
}

void COleDateTime::SetFromLinear(double linear, DateTimeStatus status)
{
    m_dt = DateFromLinear(linear);
    m_status = status;
}

BOOL COleDateTime::GetParts(SYSTEMTIME& parts) const
{
    if (m_status != valid)
        return FALSE;
    // Rounded to the nearest second, so that 0.999999 days is the next midnight.
    double seconds = floor(LinearFromDate(m_dt) * kSecondsPerDay + 0.5);
    double day = floor(seconds / kSecondsPerDay);
    long secondOfDay = (long)(seconds - day * kSecondsPerDay);
    memset(&parts, 0, sizeof(parts));
    DateFromDayNumber((long)day, parts);
    parts.wHour = (WORD)(secondOfDay / 3600);
    parts.wMinute = (WORD)(secondOfDay % 3600 / 60);
    parts.wSecond = (WORD)(secondOfDay % 60);
    return TRUE;
}

int COleDateTime::GetPart(WORD SYSTEMTIME::*field) const
{
    SYSTEMTIME parts;
    return GetParts(parts) ? parts.*field : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetYear() const
{
    return GetPart(&SYSTEMTIME::wYear);
}

int COleDateTime::GetMonth() const
{
    return GetPart(&SYSTEMTIME::wMonth);
}

int COleDateTime::GetDay() const
{
    return GetPart(&SYSTEMTIME::wDay);
}

int COleDateTime::GetHour() const
{
    return GetPart(&SYSTEMTIME::wHour);
}

int COleDateTime::GetMinute() const
{
    return GetPart(&SYSTEMTIME::wMinute);
}

int COleDateTime::GetSecond() const
{
    return GetPart(&SYSTEMTIME::wSecond);
}

int COleDateTime::GetDayOfWeek() const
{
    SYSTEMTIME parts;
    return GetParts(parts) ? parts.wDayOfWeek + 1 : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfYear() const
{
    SYSTEMTIME parts;
    return GetParts(parts) ? DayOfYear(parts.wYear, parts.wMonth, parts.wDay)
                           : AFX_OLE_DATETIME_ERROR;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    result.SetFromLinear(LinearFromDate(m_dt) + span.m_span,
                         CombinedStatus(m_status, span.m_status));
    if (result.m_status == valid && !(result.m_dt >= kMinDate && result.m_dt < kMaxDateEnd))
        result.m_status = invalid;
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + -span;
}

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& span)
{
    return *this = *this + span;
}

const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& span)
{
    return *this = *this - span;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const
{
    COleDateTimeSpan span(LinearFromDate(m_dt) - LinearFromDate(other.m_dt));
    span.m_status = (COleDateTimeSpan::DateTimeSpanStatus)CombinedStatus(m_status, other.m_status);
    return span;
}

BOOL COleDateTime::operator==(const COleDateTime& other) const
{
    return m_status == other.m_status && LinearFromDate(m_dt) == LinearFromDate(other.m_dt);
}

BOOL COleDateTime::operator!=(const COleDateTime& other) const
{
    return !(*this == other);
}

BOOL COleDateTime::operator<(const COleDateTime& other) const
{
    return LinearFromDate(m_dt) < LinearFromDate(other.m_dt);
}

BOOL COleDateTime::operator>(const COleDateTime& other) const
{
    return other < *this;
}

BOOL COleDateTime::operator<=(const COleDateTime& other) const
{
    return !(other < *this);
}

BOOL COleDateTime::operator>=(const COleDateTime& other) const
{
    return !(*this < other);
}

BOOL COleDateTime::ParseDateTime(LPCSTR text, DWORD flags, LCID)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME parts;
    bool hasDate = false, hasTime = false;
    if (!text || !ParseDateTimeText(text, now.wYear, parts, hasDate, hasTime))
    {
        m_dt = 0;
        m_status = invalid;
        return FALSE;
    }
    if (!hasDate || (flags & VAR_TIMEVALUEONLY))
    {
        parts.wYear = 1899;
        parts.wMonth = 12;
        parts.wDay = 30;
    }
    if (flags & VAR_DATEVALUEONLY)
        parts.wHour = parts.wMinute = parts.wSecond = 0;
    return SetDateTime(parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute,
                       parts.wSecond) == 0;
}

CString COleDateTime::Format(LPCSTR format) const
{
    SYSTEMTIME parts;
    if (!GetParts(parts))
        return CString();
    return FormatDateTimeText(format, parts);
}

CString COleDateTime::Format(UINT formatId) const
{
    CString format;
    format.LoadString(formatId);
    return Format(format);
}
