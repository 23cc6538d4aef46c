#include "devices/manager/BitText.h"

#include <string.h>

CString HexToBitText(const char* text)
{
    CString bits;
    for (const char* c = text; *c; ++c) {
        int digit;
        if (*c >= '0' && *c <= '9')
            digit = *c - '0';
        else if (*c >= 'a' && *c <= 'f')
            digit = *c - 'a' + 10;
        else if (*c >= 'A' && *c <= 'F')
            digit = *c - 'A' + 10;
        else
            continue;
        for (int bit = 3; bit >= 0; --bit)
            bits += (digit >> bit) & 1 ? '1' : '0';
    }
    return bits;
}

CString BitTextToHex(const char* bits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    CString hex;
    size_t length = strlen(bits);
    for (size_t at = 0; at < length; at += 4) {
        int digit = 0;
        for (size_t i = at; i < at + 4; ++i)
            digit = digit << 1 | (i < length && bits[i] == '1');
        hex += kDigits[digit];
    }
    return hex;
}

DWORD BitTextToNumber(const char* bits)
{
    DWORD value = 0;
    int bit = 0;
    for (const char* c = bits; *c; ++c) {
        if (*c != '0' && *c != '1')
            continue;
        if (*c == '1' && bit < 32)
            value |= DWORD(1) << bit;
        ++bit;
    }
    return value;
}

bool BitTextToRunLengths(const char* bits, std::vector<int>& runs)
{
    runs.clear();
    if (*bits != '0' && *bits != '1')
        return false;
    const char* run = bits;
    for (const char* c = bits; *c; ++c) {
        if (*c != '0' && *c != '1')
            return false;
        if (*c != *run) {
            int length = int(c - run);
            runs.push_back(*run == '1' ? length : -length);
            run = c;
        }
    }
    return true;
}

CString ByteToBitText(BYTE value)
{
    CString bits;
    for (int bit = 7; bit >= 0; --bit)
        bits += (value >> bit) & 1 ? '1' : '0';
    return bits;
}
