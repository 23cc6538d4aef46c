#include "LowLevelText.h"

#include <ctype.h>
#include <math.h>
#include <stdlib.h>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::vector<BYTE> HexTextToBytes(const char* text)
{
    std::vector<BYTE> bytes;
    bool high = true;
    for (const char* c = text; *c; ++c) {
        int digit = HexDigit(*c);
        if (digit < 0)
            continue;
        if (high)
            bytes.push_back(BYTE(digit << 4));
        else
            bytes.back() |= BYTE(digit);
        high = !high;
    }
    return bytes;
}

std::vector<BYTE> BinaryTextToBytes(const char* text, int& bitCount)
{
    std::vector<BYTE> bytes;
    bitCount = 0;
    for (const char* c = text; *c; ++c) {
        if (*c != '0' && *c != '1')
            continue;
        if (bitCount % 8 == 0)
            bytes.push_back(0);
        if (*c == '1')
            bytes.back() |= BYTE(0x80 >> (bitCount % 8));
        ++bitCount;
    }
    return bytes;
}

std::vector<double> ParseIRTimings(const char* text)
{
    std::vector<double> timings;
    const char* at = text;
    while (*at) {
        char* end;
        double value = strtod(at, &end);
        at = *end ? end + 1 : end;
        // Words such as "inf" or "nan" are no duration.
        if (value == 0 || !isfinite(value))
            continue;
        if (!timings.empty() && (timings.back() > 0) == (value > 0))
            timings.back() += value;
        else
            timings.push_back(value);
    }
    return timings;
}
