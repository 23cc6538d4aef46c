#include "devices/port/LowLevelText.h"

#include <math.h>
#include <stdlib.h>

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
