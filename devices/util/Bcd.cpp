#include "devices/util/Bcd.h"

namespace {
const int kNibbles = 8;
}

bool IsValidBcd(DWORD value)
{
    for (int i = 0; i < kNibbles; ++i, value >>= 4) {
        if ((value & 0xF) > 9)
            return false;
    }
    return true;
}

DWORD Bcd8ToDecimal(DWORD value)
{
    DWORD result = 0;
    DWORD power = 1;
    for (int i = 0; i < kNibbles; ++i, value >>= 4, power *= 10)
        result += (value & 0xF) * power;
    return result;
}

DWORD DecimalToBcd8(DWORD value)
{
    DWORD result = 0;
    for (int i = 0; i < kNibbles; ++i, value /= 10)
        result |= (value % 10) << (4 * i);
    return result;
}
