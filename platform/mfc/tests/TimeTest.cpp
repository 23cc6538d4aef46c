#include "tests/support/TestFramework.h"

#include <afx.h>

namespace {

// 2026-03-07 09:05:02 UTC, a Saturday.
const time_t kSample = 1772874302;

TEST(TimeTest, FormatGmtUsesTheCLocaleCodes)
{
    struct FormatCase
    {
        const char* format;
        const char* expected;
    };
    const FormatCase cases[] = {
        { "%y%m%d%H%M%S.log", "260307090502.log" },
        { "%Y-%m-%d %H:%M:%S", "2026-03-07 09:05:02" },
        { "%a %A %b %B", "Sat Saturday Mar March" },
        { "%c", "03/07/26 09:05:02" },
        { "%x %X", "03/07/26 09:05:02" },
        { "%#d.%#m.%Y", "7.3.2026" },
        { "%I %p %j %w", "09 AM 066 6" },
        { "100%%", "100%" },
        { "", "" },
    };
    CTime time(kSample);
    for (const FormatCase& c : cases)
        EXPECT_STREQ(c.expected, time.FormatGmt(c.format)) << c.format;
    CString many;
    for (int i = 0; i < 100; i++)
        many += "%c|";
    EXPECT_EQ(1800, time.FormatGmt(many).GetLength());
}

TEST(TimeTest, LocalComponentsRoundTrip)
{
    CTime time(2026, 12, 31, 23, 59, 58);
    EXPECT_EQ(2026, time.GetYear());
    EXPECT_EQ(12, time.GetMonth());
    EXPECT_EQ(31, time.GetDay());
    EXPECT_EQ(23, time.GetHour());
    EXPECT_EQ(59, time.GetMinute());
    EXPECT_EQ(58, time.GetSecond());
    EXPECT_EQ(5, time.GetDayOfWeek());
    EXPECT_STREQ("2026-12-31 23:59:58", time.Format("%Y-%m-%d %H:%M:%S"));

    CTime next = time + CTimeSpan(0, 0, 0, 2);
    EXPECT_EQ(2027, next.GetYear());
    EXPECT_EQ(1, next.GetMonth());
    EXPECT_EQ(1, next.GetDay());
    EXPECT_EQ(0, next.GetHour());

    SYSTEMTIME parts = { 2026, 3, 0, 7, 9, 5, 2, 0 };
    CTime fromParts(parts);
    EXPECT_EQ(CTime(2026, 3, 7, 9, 5, 2), fromParts);
}

TEST(TimeTest, FileTimesAreUtcWhateverTheSeason)
{
    // A winter and a summer instant, in 100 ns units since 1601.
    const time_t instants[] = { kSample, kSample + 120 * 24 * 3600 };
    for (time_t instant : instants) {
        ULONGLONG units = (static_cast<ULONGLONG>(instant) + 11644473600ULL) * 10000000ULL + 9999999;
        FILETIME fileTime = { static_cast<DWORD>(units), static_cast<DWORD>(units >> 32) };
        EXPECT_EQ(instant, CTime(fileTime).GetTime());
    }
}

TEST(TimeTest, ArithmeticAndComparison)
{
    CTime start(kSample);
    CTime later = start + CTimeSpan(1, 2, 3, 4);
    CTimeSpan span = later - start;
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(26, span.GetTotalHours());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(1563, span.GetTotalMinutes());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_STREQ("1 days 02:03:04 %", span.Format("%D days %H:%M:%S %%"));
    EXPECT_TRUE(later > start);
    EXPECT_TRUE(start <= start);
    EXPECT_TRUE(later - span == start);
    later -= span;
    EXPECT_TRUE(later == start);
    later += CTimeSpan(60);
    EXPECT_TRUE(later != start);
    EXPECT_TRUE(CTimeSpan(5) < span);
    EXPECT_EQ(span + CTimeSpan(1), CTimeSpan(93785));
    EXPECT_EQ(span - CTimeSpan(93784), CTimeSpan());

    CTime now = CTime::GetCurrentTime();
    EXPECT_LE(labs(static_cast<long>(now.GetTime() - time(NULL))), 1L);
}

} // namespace
