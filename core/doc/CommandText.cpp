#include "core/doc/CommandText.h"

#include <ctype.h>
#include <limits.h>

CommandText SplitCommand(const CString& text)
{
    CommandText command;
    int open = text.Find('[');
    if (open < 0)
    {
        command.word = text;
    }
    else
    {
        int close = text.Find(']');
        if (close >= 0)
        {
            command.word = text.Left(open);
            // A "]" before the "[" leaves no argument.
            if (close > open)
                command.argument = text.Mid(open + 1, close - open - 1);
        }
    }
    command.word.MakeLower();
    command.argument.MakeLower();
    command.argument.TrimLeft();
    command.argument.TrimRight();
    return command;
}

BOOL SplitParameters(const CString& argument, int commas, std::vector<CString>& parameters)
{
    parameters.clear();
    int count = 0;
    for (int i = 0; i < argument.GetLength(); ++i)
        count += argument[i] == ',';
    if (count != commas)
        return FALSE;
    int start = 0;
    for (int i = 0; i <= commas; ++i)
    {
        int comma = argument.Find(',', start);
        int end = comma < 0 ? argument.GetLength() : comma;
        parameters.push_back(argument.Mid(start, end - start));
        start = end + 1;
    }
    return TRUE;
}

BOOL ReadNumber(const CString& text, int& value)
{
    const char* p = text;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!isdigit(static_cast<unsigned char>(*p)))
        return FALSE;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p)
    {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return TRUE;
}
