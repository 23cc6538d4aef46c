#include "platform/mfc/Calendar.h"

namespace
{
const int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Days of a 400-year cycle, which repeats the calendar exactly.
const long kDaysPerEra = 146097;
// Day number of 1 March of the year 0, from which the era arithmetic counts.
const long kEraOrigin = -693899;
// 30 December 1899 was a Saturday.
const int kDayZeroWeekday = 6;

long FloorDiv(long a, long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    return month == 2 && IsLeapYear(year) ? 29 : kDaysInMonth[month - 1];
}

int DayOfYear(int year, int month, int day)
{
    int days = day;
    for (int m = 1; m < month; m++)
        days += DaysInMonth(year, m);
    return days;
}

// Years run from March, so that the leap day ends a year.
long DayNumber(int year, int month, int day)
{
    long y = month <= 2 ? year - 1 : year;
    long era = FloorDiv(y, 400);
    long yearOfEra = y - era * 400;
    long shiftedMonth = month > 2 ? month - 3 : month + 9;
    long dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra + kEraOrigin;
}

void DateFromDayNumber(long dayNumber, SYSTEMTIME& date)
{
    long z = dayNumber - kEraOrigin;
    long era = FloorDiv(z, kDaysPerEra);
    long dayOfEra = z - era * kDaysPerEra;
    long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long shiftedMonth = (5 * dayOfYear + 2) / 153;
    long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    date.wYear = (WORD)(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    date.wMonth = (WORD)month;
    date.wDay = (WORD)(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.wDayOfWeek = (WORD)(((dayNumber + kDayZeroWeekday) % 7 + 7) % 7);
}
