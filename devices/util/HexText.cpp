#include "devices/util/HexText.h"

#include <ctype.h>
#include <stdio.h>

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

CString FormatHex(const BYTE* bytes, int n)
{
    CString text;
    for (int i = 0; i < n; ++i) {
        char hex[3];
        snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += hex;
    }
    return text;
}

CString FormatBits(const BYTE* bytes, int bitCount)
{
    CString text;
    for (int i = 0; i < bitCount; ++i)
        text += (bytes[i / 8] >> (7 - i % 8)) & 1 ? '1' : '0';
    return text;
}

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
