// Binary-coded decimal of changer disc and track numbers: eight decimal nibbles
// in 32 bits, the least significant nibble the units.
#pragma once

#include <windows.h>

bool IsValidBcd(DWORD value);
// Nibbles above 9 are taken at face value.
DWORD Bcd8ToDecimal(DWORD value);
// The eight lowest decimal digits of value.
DWORD DecimalToBcd8(DWORD value);
