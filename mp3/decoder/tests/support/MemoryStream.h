// A stream held in memory that delivers its bytes in reads like a stream input's:
// cut to a trickle, and with time-outs injected at chosen offsets.
#pragma once

#include <stddef.h>

#include <vector>

struct MemoryStream {
    std::vector<unsigned char> bytes;
    size_t position = 0;
    // Stream offsets at which the next read reports a time-out once.
    std::vector<size_t> timeouts;
    // Largest count one read delivers (0: no limit), like a network input's trickle.
    int chunk = 0;

    // Returns the bytes delivered (0 at the end) or kErrTimeout.
    int Read(unsigned char* buffer, int size);
};
