#include "platform/crt/NumberText.h"

#include <ctype.h>
#include <stdlib.h>

#include <string>

namespace
{
const char* SkipDigits(const char* p)
{
    while (isdigit((unsigned char)*p))
        p++;
    return p;
}

const char* SkipSign(const char* p)
{
    return (*p == '+' || *p == '-') ? p + 1 : p;
}

// End of the number that starts at p, or p when none does.
const char* ScanNumber(const char* p)
{
    const char* digits = SkipSign(p);
    const char* q = SkipDigits(digits);
    bool any = q != digits;
    if (*q == '.')
    {
        const char* fraction = q + 1;
        q = SkipDigits(fraction);
        any = any || q != fraction;
    }
    if (!any)
        return p;
    if (*q == 'e' || *q == 'E')
    {
        const char* exponent = SkipSign(q + 1);
        const char* exponentEnd = SkipDigits(exponent);
        if (exponentEnd != exponent)
            q = exponentEnd;
    }
    return q;
}
}

double MsStrtod(const char* text, char** end)
{
    const char* start = text;
    while (isspace((unsigned char)*start))
        start++;
    const char* stop = ScanNumber(start);
    if (stop == start)
    {
        if (end)
            *end = (char*)text;
        return 0.0;
    }
    if (end)
        *end = (char*)stop;
    // strtod reads the same digits; the copy keeps it from reading past them.
    std::string number(start, stop);
    return strtod(number.c_str(), nullptr);
}
