// Input bytes as the programs get texts: a CString ends at its first zero, so
// a zero splits the input into the parts a target hands to several readers.
#pragma once

#include <afx.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

// The input cut at its zero bytes; at least one part.
std::vector<CString> SplitInput(const uint8_t* data, size_t size);
