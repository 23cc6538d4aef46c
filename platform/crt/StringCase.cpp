#include "platform/crt/StringCase.h"

namespace
{
int FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}
}

int _stricmp(const char* a, const char* b)
{
    return _mbsicmp((const unsigned char*)a, (const unsigned char*)b);
}

int _mbsicmp(const unsigned char* a, const unsigned char* b)
{
    for (;; a++, b++)
    {
        int difference = FoldAscii(*a) - FoldAscii(*b);
        if (difference != 0 || *a == 0)
            return difference;
    }
}
