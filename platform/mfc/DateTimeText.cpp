#include "platform/mfc/DateTimeText.h"
#include "platform/mfc/Calendar.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <vector>

namespace
{
const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January", "February", "March", "April",
                                     "May", "June", "July", "August",
                                     "September", "October", "November", "December"};
// Names are recognised from their first three letters on.
const size_t kShortNameLength = 3;

// What %c, %x and %X stand for, and their long forms ('#').
const char kDateFormat[] = "%m/%d/%y";
const char kTimeFormat[] = "%H:%M:%S";
const char kLongDateFormat[] = "%A, %B %d, %Y";
const char kLongDateTimeFormat[] = "%A, %B %d, %Y, %H:%M:%S";

// Two-digit years below this are in the 2000s, others in the 1900s.
const int kTwoDigitYearPivot = 30;
const int kLongestNumber = 4;

void AppendNumber(CString& out, int value, int width, bool dropZeros)
{
    char text[16];
    snprintf(text, sizeof(text), "%0*d", dropZeros ? 1 : width, value);
    out += text;
}

void AppendName(CString& out, const char* name, bool abbreviated)
{
    out += abbreviated ? CString(name, (int)kShortNameLength) : CString(name);
}

int WeekOfYear(const SYSTEMTIME& t, int firstWeekday)
{
    int yearDay = DayOfYear(t.wYear, t.wMonth, t.wDay) - 1;
    int weekday = (t.wDayOfWeek - firstWeekday + 7) % 7;
    return (yearDay + 7 - weekday) / 7;
}

// False for an unknown code.
bool AppendCode(CString& out, char code, bool alternate, const SYSTEMTIME& t)
{
    int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    switch (code)
    {
    case 'a': AppendName(out, kDayNames[t.wDayOfWeek], true); break;
    case 'A': AppendName(out, kDayNames[t.wDayOfWeek], false); break;
    case 'b': AppendName(out, kMonthNames[t.wMonth - 1], true); break;
    case 'B': AppendName(out, kMonthNames[t.wMonth - 1], false); break;
    case 'c':
        out += alternate ? FormatDateTimeText(kLongDateTimeFormat, t)
                         : FormatDateTimeText(kDateFormat, t) + " " +
                               FormatDateTimeText(kTimeFormat, t);
        break;
    case 'x': out += FormatDateTimeText(alternate ? kLongDateFormat : kDateFormat, t); break;
    case 'X': out += FormatDateTimeText(kTimeFormat, t); break;
    case 'd': AppendNumber(out, t.wDay, 2, alternate); break;
    case 'H': AppendNumber(out, t.wHour, 2, alternate); break;
    case 'I': AppendNumber(out, hour12, 2, alternate); break;
    case 'j': AppendNumber(out, DayOfYear(t.wYear, t.wMonth, t.wDay), 3, alternate); break;
    case 'm': AppendNumber(out, t.wMonth, 2, alternate); break;
    case 'M': AppendNumber(out, t.wMinute, 2, alternate); break;
    case 'S': AppendNumber(out, t.wSecond, 2, alternate); break;
    case 'p': out += t.wHour < 12 ? "AM" : "PM"; break;
    case 'U': AppendNumber(out, WeekOfYear(t, 0), 2, alternate); break;
    case 'W': AppendNumber(out, WeekOfYear(t, 1), 2, alternate); break;
    case 'w': AppendNumber(out, t.wDayOfWeek, 1, alternate); break;
    case 'y': AppendNumber(out, t.wYear % 100, 2, alternate); break;
    case 'Y': AppendNumber(out, t.wYear, 4, alternate); break;
    // The zone's name is unknown without a locale: nothing, as strftime gives then.
    case 'z': case 'Z': break;
    case '%': out += '%'; break;
    default: return false;
    }
    return true;
}

enum TokenKind { kNumber, kWord, kColon, kDateSeparator };

struct Token
{
    TokenKind kind;
    int value;
    int digits;
    CString word;
};

bool Tokenize(LPCSTR text, std::vector<Token>& tokens)
{
    for (const char* p = text; *p;)
    {
        unsigned char c = (unsigned char)*p;
        Token token = {kNumber, 0, 0, CString()};
        if (isdigit(c))
        {
            for (; isdigit((unsigned char)*p); p++)
            {
                if (++token.digits > kLongestNumber)
                    return false;
                token.value = token.value * 10 + (*p - '0');
            }
        }
        else if (isalpha(c))
        {
            token.kind = kWord;
            for (; isalpha((unsigned char)*p); p++)
                token.word += (char)tolower((unsigned char)*p);
        }
        else if (c == ':' || c == '/' || c == '-' || c == '.')
        {
            token.kind = c == ':' ? kColon : kDateSeparator;
            p++;
        }
        else if (c == ',' || isspace(c))
        {
            p++;
            continue;
        }
        else
        {
            return false;
        }
        tokens.push_back(token);
    }
    return true;
}

// Index of the name the word starts (three letters at least), or -1.
int FindName(const CString& word, const char* const* names, int count)
{
    int length = word.GetLength();
    if (length < (int)kShortNameLength)
        return -1;
    for (int i = 0; i < count; i++)
    {
        CString name = names[i];
        if (name.GetLength() >= length && name.Left(length).CompareNoCase(word) == 0)
            return i;
    }
    return -1;
}

// 0 for AM, 12 for PM, -1 for any other word.
int HalfDayOffset(const CString& word)
{
    if (word == "am" || word == "a")
        return 0;
    if (word == "pm" || word == "p")
        return 12;
    return -1;
}

bool IsKind(const std::vector<Token>& tokens, size_t i, TokenKind kind)
{
    return i < tokens.size() && tokens[i].kind == kind;
}

// Reads h[:m[:s]] [am|pm] at i (a bare hour needs the am or pm); moves i past it.
bool ReadTime(const std::vector<Token>& tokens, size_t& i, SYSTEMTIME& parts)
{
    int fields[3] = {0, 0, 0};
    size_t j = i;
    int count = 0;
    while (count < 3 && IsKind(tokens, j, kNumber))
    {
        fields[count++] = tokens[j++].value;
        if (count == 3 || !IsKind(tokens, j, kColon) || !IsKind(tokens, j + 1, kNumber))
            break;
        j++;
    }
    int offset = IsKind(tokens, j, kWord) ? HalfDayOffset(tokens[j].word) : -1;
    if (count == 1 && offset < 0)
        return false;
    if (offset >= 0)
    {
        if (fields[0] < 1 || fields[0] > 12)
            return false;
        fields[0] = fields[0] % 12 + offset;
        j++;
    }
    parts.wHour = (WORD)fields[0];
    parts.wMinute = (WORD)fields[1];
    parts.wSecond = (WORD)fields[2];
    i = j;
    return true;
}

int FullYear(const Token& token)
{
    if (token.digits > 2)
        return token.value;
    return token.value + (token.value < kTwoDigitYearPivot ? 2000 : 1900);
}

bool LooksLikeYear(const Token& token)
{
    return token.digits > 2 || token.value > 31;
}

// Numbers (and a month name, index month0 or -1) of the date part, in order.
bool ResolveDate(const std::vector<Token>& numbers, int month0, int currentYear,
                 SYSTEMTIME& parts)
{
    size_t n = numbers.size();
    int year, month, day;
    if (month0 >= 0)
    {
        month = month0 + 1;
        if (n == 1)
        {
            day = numbers[0].value;
            year = currentYear;
        }
        else if (n == 2)
        {
            bool yearFirst = LooksLikeYear(numbers[0]);
            day = numbers[yearFirst ? 1 : 0].value;
            year = FullYear(numbers[yearFirst ? 0 : 1]);
        }
        else
        {
            return false;
        }
    }
    else if (n == 3 && LooksLikeYear(numbers[0]))
    {
        year = FullYear(numbers[0]);
        month = numbers[1].value;
        day = numbers[2].value;
    }
    else if (n == 3 || n == 2)
    {
        month = numbers[0].value;
        day = numbers[1].value;
        year = n == 3 ? FullYear(numbers[2]) : currentYear;
    }
    else
    {
        return false;
    }
    parts.wYear = (WORD)year;
    parts.wMonth = (WORD)month;
    parts.wDay = (WORD)day;
    return true;
}
}

CString FormatDateTimeText(LPCSTR format, const SYSTEMTIME& parts)
{
    CString out;
    for (const char* p = format; *p; p++)
    {
        if (*p != '%')
        {
            out += *p;
            continue;
        }
        const char* start = p;
        bool alternate = p[1] == '#';
        if (alternate)
            p++;
        if (!p[1])
        {
            out += start;
            break;
        }
        p++;
        if (!AppendCode(out, *p, alternate, parts))
            out += CString(start, (int)(p - start + 1));
    }
    return out;
}

bool ParseDateTimeText(LPCSTR text, int currentYear, SYSTEMTIME& parts, bool& hasDate,
                       bool& hasTime)
{
    memset(&parts, 0, sizeof(parts));
    hasDate = hasTime = false;
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens))
        return false;

    std::vector<Token> dateNumbers;
    int month0 = -1;
    for (size_t i = 0; i < tokens.size();)
    {
        const Token& token = tokens[i];
        if (token.kind == kNumber && !hasTime &&
            (IsKind(tokens, i + 1, kColon) || IsKind(tokens, i + 1, kWord)) &&
            ReadTime(tokens, i, parts))
        {
            hasTime = true;
            continue;
        }
        if (token.kind == kNumber)
        {
            dateNumbers.push_back(token);
        }
        else if (token.kind == kWord)
        {
            int month = FindName(token.word, kMonthNames, 12);
            if (month >= 0 && month0 < 0)
                month0 = month;
            else if (FindName(token.word, kDayNames, 7) < 0)
                return false;
        }
        else if (token.kind == kColon)
        {
            return false;
        }
        i++;
    }
    if (!dateNumbers.empty() || month0 >= 0)
    {
        if (!ResolveDate(dateNumbers, month0, currentYear, parts))
            return false;
        hasDate = true;
    }
    return hasDate || hasTime;
}
