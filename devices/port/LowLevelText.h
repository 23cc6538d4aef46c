// Argument forms of LOWLEVEL words: hexadecimal byte text, bit text and IR
// timing text (signed microseconds, marks positive, spaces negative).
#pragma once

#include <windows.h>

#include <vector>

#include "devices/util/HexText.h"

// "0"/"1" most significant bit first, eight per byte, other characters skipped;
// the bits of a partial last byte stand at its top. bitCount gets the bits read.
std::vector<BYTE> BinaryTextToBytes(const char* text, int& bitCount);
// Numbers read one after another, each followed by one skipped character; zeros
// are dropped and a number of the same sign as the entry before adds to it.
std::vector<double> ParseIRTimings(const char* text);
