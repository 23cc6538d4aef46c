#include "tests/support/TestFramework.h"

#include <afxdisp.h>

#include <string>

namespace
{
struct Parts
{
    int year, month, day, hour, minute, second;
};

::testing::AssertionResult HasParts(const COleDateTime& date, const Parts& p)
{
    Parts got = {date.GetYear(), date.GetMonth(), date.GetDay(),
                 date.GetHour(), date.GetMinute(), date.GetSecond()};
    if (date.GetStatus() == COleDateTime::valid && got.year == p.year && got.month == p.month &&
        got.day == p.day && got.hour == p.hour && got.minute == p.minute && got.second == p.second)
        return ::testing::AssertionSuccess();
    char text[128];
    snprintf(text, sizeof(text), "status %d, %04d-%02d-%02d %02d:%02d:%02d", date.GetStatus(),
             got.year, got.month, got.day, got.hour, got.minute, got.second);
    return ::testing::AssertionFailure() << text;
}

COleDateTime Make(const Parts& p)
{
    return COleDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}
}

TEST(OleDateTime, ComponentsMapToDaysSince1899)
{
    struct DateCase
    {
        Parts parts;
        DATE date;
        int dayOfWeek;
        int dayOfYear;
    };
    const DateCase cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0, 7, 364},
        {{1899, 12, 30, 18, 0, 0}, 0.75, 7, 364},
        {{1899, 12, 29, 6, 0, 0}, -1.25, 6, 363},
        {{1899, 12, 28, 12, 0, 0}, -2.5, 5, 362},
        {{1900, 2, 28, 0, 0, 0}, 60.0, 4, 59},
        {{1900, 3, 1, 0, 0, 0}, 61.0, 5, 60},
        {{2000, 2, 29, 0, 0, 0}, 36585.0, 3, 60},
        {{2000, 3, 1, 6, 0, 0}, 36586.25, 4, 61},
        {{1970, 1, 1, 0, 0, 0}, 25569.0, 5, 1},
        {{2026, 12, 10, 12, 0, 0}, 46366.5, 5, 344},
        {{100, 1, 1, 0, 0, 0}, -657434.0, 6, 1},
        {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400, 6, 365},
    };
    for (const DateCase& c : cases)
    {
        COleDateTime fromParts = Make(c.parts);
        EXPECT_DOUBLE_EQ(c.date, fromParts.m_dt) << c.parts.year << "-" << c.parts.month;
        COleDateTime fromDate(c.date);
        EXPECT_TRUE(HasParts(fromDate, c.parts)) << c.date;
        EXPECT_EQ(c.dayOfWeek, fromDate.GetDayOfWeek()) << c.date;
        EXPECT_EQ(c.dayOfYear, fromDate.GetDayOfYear()) << c.date;
    }
}

TEST(OleDateTime, ImpossiblePartsMakeAnInvalidDate)
{
    const Parts cases[] = {
        {1900, 2, 29, 0, 0, 0}, {2000, 2, 30, 0, 0, 0}, {2001, 4, 31, 0, 0, 0},
        {2000, 13, 1, 0, 0, 0}, {2000, 0, 1, 0, 0, 0}, {2000, 1, 0, 0, 0, 0},
        {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, 0, 60, 0}, {2000, 1, 1, 0, 0, 60},
        {99, 12, 31, 0, 0, 0}, {10000, 1, 1, 0, 0, 0},
    };
    for (const Parts& p : cases)
    {
        COleDateTime date;
        EXPECT_EQ(1, date.SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second));
        EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
        EXPECT_EQ(AFX_OLE_DATETIME_ERROR, date.GetYear());
        EXPECT_EQ(AFX_OLE_DATETIME_ERROR, date.GetDayOfWeek());
        EXPECT_EQ(CString(""), date.Format("%x"));
    }
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2958466.0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(-657435.0).GetStatus());
}

TEST(OleDateTime, AddsSpansAcrossMonthsYearsAndDayZero)
{
    struct AddCase
    {
        Parts start;
        COleDateTimeSpan span;
        Parts end;
    };
    const AddCase cases[] = {
        {{2000, 1, 31, 23, 0, 0}, COleDateTimeSpan(0, 2, 0, 0), {2000, 2, 1, 1, 0, 0}},
        {{1900, 2, 28, 12, 0, 0}, COleDateTimeSpan(1, 0, 0, 0), {1900, 3, 1, 12, 0, 0}},
        {{2000, 2, 28, 12, 0, 0}, COleDateTimeSpan(1, 0, 0, 0), {2000, 2, 29, 12, 0, 0}},
        {{1999, 12, 31, 23, 59, 59}, COleDateTimeSpan(0, 0, 0, 1), {2000, 1, 1, 0, 0, 0}},
        {{2000, 3, 1, 0, 0, 0}, COleDateTimeSpan(-1, 0, 0, 0), {2000, 2, 29, 0, 0, 0}},
        {{1899, 12, 30, 6, 0, 0}, COleDateTimeSpan(0, -12, 0, 0), {1899, 12, 29, 18, 0, 0}},
        {{1899, 12, 29, 6, 0, 0}, COleDateTimeSpan(0, 12, 0, 0), {1899, 12, 29, 18, 0, 0}},
        {{1899, 12, 29, 18, 0, 0}, COleDateTimeSpan(1.5), {1899, 12, 31, 6, 0, 0}},
        {{2026, 12, 10, 8, 0, 0}, COleDateTimeSpan(365 * 4 + 1, 0, 0, 0), {2030, 12, 10, 8, 0, 0}},
    };
    for (const AddCase& c : cases)
    {
        COleDateTime start = Make(c.start);
        COleDateTime end = start + c.span;
        EXPECT_TRUE(HasParts(end, c.end)) << c.start.year << "-" << c.start.month << "-" << c.start.day;
        EXPECT_TRUE(HasParts(end - c.span, c.start));
        EXPECT_NEAR(c.span.GetTotalDays(), (end - start).GetTotalDays(), 1e-9);
        EXPECT_EQ(c.span.m_span > 0, end > start);
        EXPECT_EQ(c.span.m_span < 0, end < start);
    }
}

TEST(OleDateTime, StatusCarriesThroughArithmetic)
{
    COleDateTime valid(2000, 1, 1, 0, 0, 0);
    COleDateTime invalid(2000, 2, 30, 0, 0, 0);
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    COleDateTimeSpan nullSpan;
    nullSpan.SetStatus(COleDateTimeSpan::null);

    EXPECT_EQ(COleDateTime::invalid, (invalid + COleDateTimeSpan(1.0)).GetStatus());
    EXPECT_EQ(COleDateTime::null, (valid + nullSpan).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (valid - invalid).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::null, (null - valid).GetStatus());
    EXPECT_EQ(CString(""), null.Format("%x"));
    EXPECT_EQ(COleDateTime::invalid,
              (COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(1.0)).GetStatus());
}

TEST(OleDateTimeSpan, PartsAndTotals)
{
    struct SpanCase
    {
        COleDateTimeSpan span;
        long days, hours, minutes, seconds;
        double totalHours;
    };
    const SpanCase cases[] = {
        {COleDateTimeSpan(1, 2, 3, 4), 1, 2, 3, 4, 26 + 3.0 / 60 + 4.0 / 3600},
        {COleDateTimeSpan(0, 0, 0, 0), 0, 0, 0, 0, 0},
        {-COleDateTimeSpan(1, 2, 3, 4), -1, -2, -3, -4, -(26 + 3.0 / 60 + 4.0 / 3600)},
        {COleDateTimeSpan(0.75), 0, 18, 0, 0, 18},
        {COleDateTimeSpan(2.0 - 1e-9), 2, 0, 0, 0, 48 - 24e-9},
        {COleDateTimeSpan(0, 25, 61, 61), 1, 2, 2, 1, 25 + 61.0 / 60 + 61.0 / 3600},
    };
    for (const SpanCase& c : cases)
    {
        EXPECT_EQ(c.days, c.span.GetDays()) << c.span.m_span;
        EXPECT_EQ(c.hours, c.span.GetHours()) << c.span.m_span;
        EXPECT_EQ(c.minutes, c.span.GetMinutes()) << c.span.m_span;
        EXPECT_EQ(c.seconds, c.span.GetSeconds()) << c.span.m_span;
        EXPECT_NEAR(c.totalHours, c.span.GetTotalHours(), 1e-9);
        EXPECT_NEAR(c.totalHours * 3600, c.span.GetTotalSeconds(), 1e-6);
    }
    COleDateTimeSpan sum = COleDateTimeSpan(1.0) + COleDateTimeSpan(0.5) - COleDateTimeSpan(0.25);
    EXPECT_DOUBLE_EQ(1.25, sum.GetTotalDays());
    EXPECT_TRUE(COleDateTimeSpan(1.0) > COleDateTimeSpan(0.5));
}

TEST(OleDateTime, FormatsLikeTheCLocale)
{
    struct FormatCase
    {
        Parts parts;
        const char* format;
        const char* text;
    };
    const FormatCase cases[] = {
        {{2026, 12, 10, 13, 5, 9}, "%H:%M", "13:05"},
        {{2026, 12, 10, 13, 5, 9}, "%x", "12/10/26"},
        {{2026, 12, 10, 13, 5, 9}, "%X", "13:05:09"},
        {{2026, 12, 10, 13, 5, 9}, "%c", "12/10/26 13:05:09"},
        {{2026, 12, 10, 13, 5, 9}, "%#x", "Thursday, December 10, 2026"},
        {{2026, 12, 10, 13, 5, 9}, "%#c", "Thursday, December 10, 2026, 13:05:09"},
        {{2026, 12, 10, 13, 5, 9}, "%a %b %d %Y", "Thu Dec 10 2026"},
        {{2026, 12, 10, 13, 5, 9}, "%A %B", "Thursday December"},
        {{2026, 12, 10, 13, 5, 9}, "%I:%M %p", "01:05 PM"},
        {{2026, 12, 10, 13, 5, 9}, "%j %U %W %w %y", "344 49 49 4 26"},
        {{2026, 12, 10, 13, 5, 9}, "at %H%% [%q]", "at 13% [%q]"},
        {{2003, 1, 5, 0, 7, 3}, "%#d/%#m %#H:%#M:%#S %#I %p", "5/1 0:7:3 12 AM"},
        {{2003, 1, 5, 0, 7, 3}, "%U %W %w %j %#j", "01 00 0 005 5"},
        {{1900, 3, 1, 12, 0, 0}, "%x %p", "03/01/00 PM"},
        {{1899, 12, 29, 6, 0, 0}, "%c %a", "12/29/99 06:00:00 Fri"},
        {{2026, 12, 10, 13, 5, 9}, "100%", "100%"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(CString(c.text), Make(c.parts).Format(c.format)) << c.format;
}

TEST(OleDateTime, ParsesDatesAndTimesWhateverTheLocale)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    struct ParseCase
    {
        const char* text;
        DWORD flags;
        Parts parts;
    };
    const ParseCase cases[] = {
        {"12/10/2026", 0, {2026, 12, 10, 0, 0, 0}},
        {"12/10/26 1:05 PM", 0, {2026, 12, 10, 13, 5, 0}},
        {"12/10/26 13:05:09", 0, {2026, 12, 10, 13, 5, 9}},
        {"1/2/98", 0, {1998, 1, 2, 0, 0, 0}},
        {"1/2/29", 0, {2029, 1, 2, 0, 0, 0}},
        {"1/2/30", 0, {1930, 1, 2, 0, 0, 0}},
        {"2/29/2000", 0, {2000, 2, 29, 0, 0, 0}},
        {"2026-12-10 13:05:09", 0, {2026, 12, 10, 13, 5, 9}},
        {"  Dec 10, 2026 ", 0, {2026, 12, 10, 0, 0, 0}},
        {"10 December 2026 12:30 am", 0, {2026, 12, 10, 0, 30, 0}},
        {"Thursday, December 10, 2026, 13:05:09", 0, {2026, 12, 10, 13, 5, 9}},
        {"sept 3 1999", 0, {1999, 9, 3, 0, 0, 0}},
        {"13:05", 0, {1899, 12, 30, 13, 5, 0}},
        {"12 PM", 0, {1899, 12, 30, 12, 0, 0}},
        {"12:30 pm", 0, {1899, 12, 30, 12, 30, 0}},
        {"12/10/2026 13:05", VAR_DATEVALUEONLY, {2026, 12, 10, 0, 0, 0}},
        {"12/10/2026 13:05", VAR_TIMEVALUEONLY, {1899, 12, 30, 13, 5, 0}},
        {"3/4", 0, {now.wYear, 3, 4, 0, 0, 0}},
    };
    for (const ParseCase& c : cases)
    {
        COleDateTime date(1.0);
        EXPECT_TRUE(date.ParseDateTime(c.text, c.flags)) << c.text;
        EXPECT_TRUE(HasParts(date, c.parts)) << c.text;
    }
}

TEST(OleDateTime, RefusesWhatIsNoDate)
{
    const char* texts[] = {"", "   ", "98", "1750", "hello", "Dec", "2/30/2026", "2/29/1900",
                           "13:05 PM", "25:00", "12:", "1/2/3/4", "12/10/2026 #", "10 Foo 2026",
                           "12345/1/1"};
    for (const char* text : texts)
    {
        COleDateTime date(2000, 1, 1, 0, 0, 0);
        EXPECT_FALSE(date.ParseDateTime(text)) << text;
        EXPECT_EQ(COleDateTime::invalid, date.GetStatus()) << text;
        EXPECT_EQ(0.0, date.m_dt) << text;
    }
}

TEST(OleDateTime, FormattedTextsParseBack)
{
    const Parts cases[] = {{2026, 12, 10, 13, 5, 9}, {1999, 1, 31, 0, 0, 1}, {2004, 2, 29, 23, 59, 59}};
    const char* formats[] = {"%c", "%#c", "%m/%d/%Y %I:%M:%S %p"};
    for (const Parts& p : cases)
    {
        for (const char* format : formats)
        {
            COleDateTime parsed;
            EXPECT_TRUE(parsed.ParseDateTime(Make(p).Format(format)));
            EXPECT_TRUE(HasParts(parsed, p)) << format;
        }
    }
}

TEST(OleDateTime, ClockTimesBecomeLocalTime)
{
    const time_t billion = 1000000000;
    SYSTEMTIME utc = {2001, 9, 0, 9, 1, 46, 40, 0};
    SYSTEMTIME local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(NULL, &utc, &local));
    Parts expected = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                      local.wSecond};

    EXPECT_TRUE(HasParts(COleDateTime(billion), expected));
    FILETIME fileTime;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &fileTime));
    EXPECT_TRUE(HasParts(COleDateTime(fileTime), expected));
    EXPECT_TRUE(HasParts(COleDateTime(local), expected));

    SYSTEMTIME before, after;
    GetLocalTime(&before);
    COleDateTime now = COleDateTime::GetCurrentTime();
    GetLocalTime(&after);
    before.wMilliseconds = 0;
    EXPECT_TRUE(COleDateTime(before) <= now);
    EXPECT_TRUE(now <= COleDateTime(after));
}
