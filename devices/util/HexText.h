// Bytes as hexadecimal and bit texts, and hexadecimal text back to bytes, as
// the device drivers write and read them.
#pragma once

#include <afx.h>

#include <vector>

// "%02X" per byte.
CString FormatHex(const BYTE* bytes, int n);
// The first bitCount bits as "1"/"0", most significant bit of each byte first.
CString FormatBits(const BYTE* bytes, int bitCount);
// Two digits per byte, high digit first, other characters skipped; an odd last
// digit becomes the high nibble of a last byte.
std::vector<BYTE> HexTextToBytes(const char* text);
