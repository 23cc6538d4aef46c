#include "mp3/decoder/NetRingBuffer.h"

#include <string.h>

namespace {

size_t Size(const RingBuffer* ring)
{
    return ring->end - ring->start;
}

unsigned char* Advance(const RingBuffer* ring, unsigned char* position, size_t n)
{
    return ring->start + (position - ring->start + n) % Size(ring);
}

} // namespace

void RingInit(RingBuffer* ring, unsigned char* memory, size_t size)
{
    ring->start = memory;
    ring->end = memory + size;
    ring->write = memory;
    ring->read = memory;
}

size_t RingFreeContiguous(const RingBuffer* ring)
{
    if (ring->write < ring->read)
        return ring->read - ring->write - 1;
    // Filling up to the end while the reader is at the start would make the
    // write position meet it and the full ring read as empty.
    if (ring->read == ring->start)
        return ring->end - ring->write - 1;
    return ring->end - ring->write;
}

size_t RingUsed(const RingBuffer* ring)
{
    if (ring->read <= ring->write)
        return ring->write - ring->read;
    return Size(ring) - (ring->read - ring->write);
}

size_t RingFree(const RingBuffer* ring)
{
    return Size(ring) - RingUsed(ring) - 1;
}

void RingWrite(RingBuffer* ring, const void* data, size_t n)
{
    if (data) {
        size_t first = ring->end - ring->write;
        if (first > n)
            first = n;
        memcpy(ring->write, data, first);
        memcpy(ring->start, static_cast<const unsigned char*>(data) + first, n - first);
    }
    ring->write = Advance(ring, ring->write, n);
}

void RingRead(RingBuffer* ring, void* dest, size_t n)
{
    if (dest) {
        size_t first = ring->end - ring->read;
        if (first > n)
            first = n;
        memcpy(dest, ring->read, first);
        memcpy(static_cast<unsigned char*>(dest) + first, ring->start, n - first);
    }
    ring->read = Advance(ring, ring->read, n);
}

void RingAdvanceWrite(RingBuffer* ring, size_t n)
{
    ring->write = Advance(ring, ring->write, n);
}
