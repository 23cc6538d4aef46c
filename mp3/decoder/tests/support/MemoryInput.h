// Stands in for the decoder object's input in tests and the bench: the engine reads
// a stream held in memory, with input time-outs injected at chosen offsets.
#pragma once

#include <stddef.h>

#include <vector>

struct Decoder {
    std::vector<unsigned char> bytes;
    size_t position = 0;
    // Stream offsets at which the next read reports a time-out once.
    std::vector<size_t> timeouts;
    // Largest count one read delivers (0: no limit), like a network input's trickle.
    int chunk = 0;
};
