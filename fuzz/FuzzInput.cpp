#include "fuzz/FuzzInput.h"

std::vector<CString> SplitInput(const uint8_t* data, size_t size)
{
    std::vector<CString> parts;
    size_t start = 0;
    for (size_t i = 0; i <= size; i++) {
        if (i == size || data[i] == 0) {
            parts.push_back(CString(reinterpret_cast<const char*>(data) + start, int(i - start)));
            start = i + 1;
        }
    }
    return parts;
}
