#include "platform/mfc/MfcTime.h"

#include <locale.h>
#include <stdio.h>

namespace {

const LONG kSecondsPerMinute = 60;
const LONG kSecondsPerHour = 60 * kSecondsPerMinute;
const LONG kSecondsPerDay = 24 * kSecondsPerHour;
const int kMaxExpansion = 16;
// File times count 100 ns units from 1601.
const ULONGLONG kFileTimeUnitsPerSecond = 10000000;
const time_t kFileTimeEpochTo1970 = 11644473600LL;

// The Microsoft runtime's %c in the C locale; glibc writes another order.
const char kDateTimeFormat[] = "%m/%d/%y %H:%M:%S";

// Turns the Microsoft forms into glibc's: %c spelt out, the '#' flag (no
// leading zeros) as glibc's '-' flag.
CString GlibcFormat(LPCSTR format)
{
    CString result;
    for (const char* p = format; *p; p++) {
        if (p[0] == '%' && p[1] == 'c') {
            result += kDateTimeFormat;
            p++;
        } else if (p[0] == '%' && p[1] == '#') {
            result += "%-";
            p++;
        } else if (p[0] == '%' && p[1] == '%') {
            result += "%%";
            p++;
        } else {
            result += *p;
        }
    }
    return result;
}

CString FormatTm(LPCSTR format, const struct tm* time)
{
    if (!time || !format)
        return CString();
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    CString glibcFormat = GlibcFormat(format);
    // No code of the C locale writes more than this per character of format.
    int room = glibcFormat.GetLength() * kMaxExpansion + 1;
    CString text;
    size_t length = strftime_l(text.GetBuffer(room), room + 1, glibcFormat, time, cLocale);
    text.ReleaseBuffer(static_cast<int>(length));
    return text;
}

} // namespace

CTimeSpan::CTimeSpan() : m_timeSpan(0)
{
}

CTimeSpan::CTimeSpan(time_t seconds) : m_timeSpan(seconds)
{
}

CTimeSpan::CTimeSpan(LONG days, int hours, int minutes, int seconds)
    : m_timeSpan(static_cast<time_t>(days) * kSecondsPerDay + hours * kSecondsPerHour
                 + minutes * kSecondsPerMinute + seconds)
{
}

LONG CTimeSpan::GetDays() const { return static_cast<LONG>(m_timeSpan / kSecondsPerDay); }
LONG CTimeSpan::GetTotalHours() const { return static_cast<LONG>(m_timeSpan / kSecondsPerHour); }
int CTimeSpan::GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
LONG CTimeSpan::GetTotalMinutes() const { return static_cast<LONG>(m_timeSpan / kSecondsPerMinute); }
int CTimeSpan::GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
time_t CTimeSpan::GetTotalSeconds() const { return m_timeSpan; }
int CTimeSpan::GetSeconds() const { return static_cast<int>(m_timeSpan - GetTotalMinutes() * 60); }

CTimeSpan CTimeSpan::operator+(CTimeSpan other) const { return CTimeSpan(m_timeSpan + other.m_timeSpan); }
CTimeSpan CTimeSpan::operator-(CTimeSpan other) const { return CTimeSpan(m_timeSpan - other.m_timeSpan); }
const CTimeSpan& CTimeSpan::operator+=(CTimeSpan other) { m_timeSpan += other.m_timeSpan; return *this; }
const CTimeSpan& CTimeSpan::operator-=(CTimeSpan other) { m_timeSpan -= other.m_timeSpan; return *this; }
bool CTimeSpan::operator==(CTimeSpan other) const { return m_timeSpan == other.m_timeSpan; }
bool CTimeSpan::operator!=(CTimeSpan other) const { return m_timeSpan != other.m_timeSpan; }
bool CTimeSpan::operator<(CTimeSpan other) const { return m_timeSpan < other.m_timeSpan; }
bool CTimeSpan::operator>(CTimeSpan other) const { return m_timeSpan > other.m_timeSpan; }
bool CTimeSpan::operator<=(CTimeSpan other) const { return m_timeSpan <= other.m_timeSpan; }
bool CTimeSpan::operator>=(CTimeSpan other) const { return m_timeSpan >= other.m_timeSpan; }

CString CTimeSpan::Format(LPCSTR format) const
{
    CString result;
    for (const char* p = format; p && *p; p++) {
        if (*p != '%' || !p[1]) {
            result += *p;
            continue;
        }
        CString part;
        switch (*++p) {
        case 'D': part.Format("%ld", static_cast<long>(GetDays())); break;
        case 'H': part.Format("%02d", GetHours()); break;
        case 'M': part.Format("%02d", GetMinutes()); break;
        case 'S': part.Format("%02d", GetSeconds()); break;
        default: part = *p; break;
        }
        result += part;
    }
    return result;
}

CTime PASCAL CTime::GetCurrentTime()
{
    return CTime(time(NULL));
}

CTime::CTime() : m_time(0)
{
}

CTime::CTime(time_t time) : m_time(time)
{
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    SetLocal(year, month, day, hour, minute, second, dst);
}

CTime::CTime(const SYSTEMTIME& localTime, int dst)
{
    SetLocal(localTime.wYear, localTime.wMonth, localTime.wDay, localTime.wHour,
             localTime.wMinute, localTime.wSecond, dst);
}

CTime::CTime(const FILETIME& fileTime, int)
{
    // Straight from UTC: going through the local file time would apply today's
    // daylight saving bias to every date.
    ULONGLONG units = (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    m_time = static_cast<time_t>(units / kFileTimeUnitsPerSecond) - kFileTimeEpochTo1970;
}

void CTime::SetLocal(int year, int month, int day, int hour, int minute, int second, int dst)
{
    struct tm parts = {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = dst;
    m_time = mktime(&parts);
}

time_t CTime::GetTime() const
{
    return m_time;
}

struct tm* CTime::GetGmtTm(struct tm* result) const
{
    return gmtime_r(&m_time, result);
}

struct tm* CTime::GetLocalTm(struct tm* result) const
{
    return localtime_r(&m_time, result);
}

int CTime::LocalField(int tm::*field) const
{
    struct tm parts;
    return GetLocalTm(&parts) ? parts.*field : 0;
}

int CTime::GetYear() const { return LocalField(&tm::tm_year) + 1900; }
int CTime::GetMonth() const { return LocalField(&tm::tm_mon) + 1; }
int CTime::GetDay() const { return LocalField(&tm::tm_mday); }
int CTime::GetHour() const { return LocalField(&tm::tm_hour); }
int CTime::GetMinute() const { return LocalField(&tm::tm_min); }
int CTime::GetSecond() const { return LocalField(&tm::tm_sec); }
int CTime::GetDayOfWeek() const { return LocalField(&tm::tm_wday) + 1; }

CTimeSpan CTime::operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
CTime CTime::operator-(CTimeSpan span) const { return CTime(m_time - span.GetTotalSeconds()); }
CTime CTime::operator+(CTimeSpan span) const { return CTime(m_time + span.GetTotalSeconds()); }
const CTime& CTime::operator+=(CTimeSpan span) { m_time += span.GetTotalSeconds(); return *this; }
const CTime& CTime::operator-=(CTimeSpan span) { m_time -= span.GetTotalSeconds(); return *this; }
bool CTime::operator==(CTime other) const { return m_time == other.m_time; }
bool CTime::operator!=(CTime other) const { return m_time != other.m_time; }
bool CTime::operator<(CTime other) const { return m_time < other.m_time; }
bool CTime::operator>(CTime other) const { return m_time > other.m_time; }
bool CTime::operator<=(CTime other) const { return m_time <= other.m_time; }
bool CTime::operator>=(CTime other) const { return m_time >= other.m_time; }

CString CTime::Format(LPCSTR format) const
{
    struct tm parts;
    return FormatTm(format, GetLocalTm(&parts));
}

CString CTime::FormatGmt(LPCSTR format) const
{
    struct tm parts;
    return FormatTm(format, GetGmtTm(&parts));
}
