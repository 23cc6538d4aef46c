// Byte ring over memory its user owns. It holds size - 1 bytes at most, so that
// equal read and write positions always mean empty.
#pragma once

#include <stddef.h>

struct RingBuffer
{
    unsigned char* start = nullptr;
    unsigned char* end = nullptr;     // one past the last byte
    unsigned char* write = nullptr;
    unsigned char* read = nullptr;
};

void RingInit(RingBuffer* ring, unsigned char* memory, size_t size);
// Bytes that can be written at the write position without wrapping.
size_t RingFreeContiguous(const RingBuffer* ring);
size_t RingFree(const RingBuffer* ring);
size_t RingUsed(const RingBuffer* ring);
// Copy n bytes in (or out), in two pieces across the end. With no data (no
// destination) they only advance. The caller keeps n within RingFree (RingUsed).
void RingWrite(RingBuffer* ring, const void* data, size_t n);
void RingRead(RingBuffer* ring, void* dest, size_t n);
// Moves the write position on by n modulo the size: after a receive that went
// past the end and whose overflow was copied to the start.
void RingAdvanceWrite(RingBuffer* ring, size_t n);
