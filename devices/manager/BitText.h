// Bit texts: strings of "0"/"1" characters, most significant bit first, as code
// data and received control-bus symbols are written.
#pragma once

#include <afx.h>

#include <vector>

// Each hexadecimal digit (either case) as four bits; other characters skipped.
CString HexToBitText(const char* text);
// Groups of four bits as "%1X" ("1" a set bit, anything else clear); a short
// last group is padded with clear bits at its low end.
CString BitTextToHex(const char* bits);
// The bits read the other way round: the first character is the lowest bit.
DWORD BitTextToNumber(const char* bits);
// Runs of equal bits as signed lengths (+n for "1", -n for "0"), the last run
// not stored; false unless the text starts with a bit and holds only bits.
bool BitTextToRunLengths(const char* bits, std::vector<int>& runs);
CString ByteToBitText(BYTE value);
