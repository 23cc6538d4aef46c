// A decoder object whose input is a stream in memory, read through a memory input
// module; the engine's tests and the bench decode through it.
#pragma once

#include "mp3/decoder/tests/support/MemoryStream.h"

struct Decoder;

class MemoryInput : public MemoryStream {
public:
    // Makes the decoder object with its input open on this stream.
    MemoryInput();
    ~MemoryInput();
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;

    // None when the decoder object could not be made.
    Decoder* decoder() const { return m_decoder; }

private:
    Decoder* m_decoder = nullptr;
};
