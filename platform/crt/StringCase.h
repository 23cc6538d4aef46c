// Case-insensitive comparisons of the Microsoft C runtime in the C locale:
// only A-Z fold, to lower case, so '_' sorts before the letters as it does there.
#pragma once

// < 0, 0 or > 0 as a is below, equal to or above b.
int _stricmp(const char* a, const char* b);
// The multibyte form; the programs' single-byte code page has no lead bytes.
int _mbsicmp(const unsigned char* a, const unsigned char* b);
