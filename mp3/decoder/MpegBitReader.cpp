#include "mp3/decoder/MpegBitReader.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderInput.h"

namespace {

const int kHeaderBytes = 4;
const int kCrcBytes = 2;
// Bits that stay the same from frame to frame of one free-format stream: sync,
// version, layer, bit-rate index (0) and sampling frequency.
const unsigned kFreeFormatKeyMask = 0xFFFEFC00;
// The same without the bit-rate index: frames of one stream at any rate.
const unsigned kStreamKeyMask = 0xFFFE0C00;

// Reads exactly size bytes across as many input calls as it takes; on an input code
// the bytes delivered so far are kept in stepDone for the next call.
int ReadFully(MpegBitReader* reader, unsigned char* dest, int size)
{
    while (reader->stepDone < size) {
        int n = ReadInput(reader->decoder, dest + reader->stepDone, size - reader->stepDone);
        if (n <= 0)
            return n < 0 ? n : kErrInputEnd;
        reader->stepDone += n;
    }
    reader->stepDone = 0;
    return 0;
}

bool IsUsableHeader(unsigned word, MpegHeader* header)
{
    if (!IsMpegSyncCandidate(word))
        return false;
    ParseMpegHeader(word, header);
    return IsValidMpegHeader(*header);
}

// Finds the next header that passes the check, one byte at a time so that a header
// overlapping a refused candidate is still found.
int SearchSync(MpegBitReader* reader)
{
    for (;;) {
        while (reader->syncBytes < kHeaderBytes) {
            unsigned char byte;
            int n = ReadInput(reader->decoder, &byte, 1);
            if (n <= 0)
                return n < 0 ? n : kErrInputEnd;
            reader->syncWord = reader->syncWord << 8 | byte;
            reader->syncBytes++;
        }
        if (IsUsableHeader(reader->syncWord, &reader->header)) {
            reader->headerWord = reader->syncWord;
            reader->syncBytes = 0;
            return 0;
        }
        reader->syncBytes--;
    }
}

int MinimumBody(const MpegBitReader* reader)
{
    return reader->sideInfoSize + (reader->header.protection ? 0 : kCrcBytes);
}

// Sizes the frame whose header was just taken; false when it cannot be a frame.
bool SizeFrame(MpegBitReader* reader)
{
    GetMpegFrameSize(reader->header, &reader->frameSize, &reader->sideInfoSize);
    if (reader->frameSize == 0) {
        if (reader->freeFormatSize == 0 ||
            reader->freeFormatKey != (reader->headerWord & kFreeFormatKeyMask)) {
            reader->freeFormatSize = 0;
            return true; // measured in kReadFreeFormat
        }
        reader->frameSize = reader->freeFormatSize +
                            (int)reader->header.padding * MpegSlotSize(reader->header);
    }
    int body = reader->frameSize - kHeaderBytes;
    return body >= MinimumBody(reader) && body <= kFrameBufferSize;
}

void WriteReservoir(MpegBitReader* reader, const unsigned char* data, int size)
{
    while (size > 0) {
        int part = kReservoirSize - (int)reader->writePos;
        if (part > size)
            part = size;
        memcpy(reader->reservoir + reader->writePos, data, part);
        reader->writePos = (reader->writePos + part) % kReservoirSize;
        data += part;
        size -= part;
    }
}

// Scans a free-format frame up to the next header of the same stream, which gives the
// length of this stream's frames.
int MeasureFreeFormat(MpegBitReader* reader)
{
    unsigned key = reader->headerWord & kFreeFormatKeyMask;
    int minimum = MinimumBody(reader);
    for (;;) {
        int done = reader->stepDone;
        if (done >= kFrameBufferSize + kHeaderBytes)
            return kErrInvalidFrame;
        int n = ReadInput(reader->decoder, reader->frame + done, 1);
        if (n <= 0)
            return n < 0 ? n : kErrInputEnd;
        reader->stepDone = ++done;
        int body = done - kHeaderBytes;
        if (body < minimum || body == 0)
            continue;
        unsigned word = BigEndian32(reader->frame + body);
        MpegHeader next;
        if ((word & kFreeFormatKeyMask) != key) {
            // A frame of the same stream at a fixed rate: the free-format header was
            // a false one, and that frame is next.
            if ((word & kStreamKeyMask) == (key & kStreamKeyMask) && IsUsableHeader(word, &next)) {
                reader->stepDone = 0;
                reader->followingWord = word;
                reader->hasFollowing = true;
                return kErrInvalidFrame;
            }
            continue;
        }
        reader->stepDone = 0;
        reader->freeFormatKey = key;
        reader->freeFormatSize =
            body + kHeaderBytes - (int)reader->header.padding * MpegSlotSize(reader->header);
        reader->frameSize = body + kHeaderBytes;
        reader->followingWord = word;
        reader->hasFollowing = true;
        if (reader->header.layer == kLayerIII) {
            reader->mainDataStart = reader->writePos;
            WriteReservoir(reader, reader->frame + minimum, body - minimum);
        }
        return 0;
    }
}

int ReadBody(MpegBitReader* reader)
{
    int body = reader->frameSize - kHeaderBytes;
    if (reader->header.layer != kLayerIII)
        return ReadFully(reader, reader->frame, body);

    int sideBytes = MinimumBody(reader);
    if (reader->state == kReadHeader) {
        int code = ReadFully(reader, reader->frame, sideBytes);
        if (code)
            return code;
        reader->mainDataStart = reader->writePos;
        reader->state = kReadSideInfo;
    }
    int mainBytes = body - sideBytes;
    int toEnd = kReservoirSize - (int)reader->mainDataStart;
    if (reader->state == kReadSideInfo) {
        int first = mainBytes < toEnd ? mainBytes : toEnd;
        int code = ReadFully(reader, reader->reservoir + reader->mainDataStart, first);
        if (code)
            return code;
        reader->writePos = (reader->mainDataStart + first) % kReservoirSize;
        if (first == mainBytes)
            return 0;
        reader->state = kReadMainDataWrap;
    }
    int code = ReadFully(reader, reader->reservoir, mainBytes - toEnd);
    if (code)
        return code;
    reader->writePos = mainBytes - toEnd;
    return 0;
}

// A frame that failed confirmation gives back what it wrote to the reservoir; the
// four bytes read after it start the search for sync.
void DropFrame(MpegBitReader* reader, unsigned word)
{
    if (reader->header.layer == kLayerIII)
        reader->writePos = reader->mainDataStart;
    reader->syncWord = word;
    reader->syncBytes = kHeaderBytes;
    reader->state = kReadLooking;
}

// An ID3v1 or APE tag after a frame ends the stream's frames as the input's end does.
bool StartsTag(const unsigned char* bytes)
{
    return memcmp(bytes, "TAG", 3) == 0 || memcmp(bytes, "APET", 4) == 0;
}

int Confirm(MpegBitReader* reader)
{
    int code = ReadFully(reader, reader->following, kHeaderBytes);
    if (code == kErrInputEnd) {
        reader->stepDone = 0;
        return 0;
    }
    if (code)
        return code;
    unsigned word = BigEndian32(reader->following);
    MpegHeader following;
    if (!IsUsableHeader(word, &following)) {
        if (StartsTag(reader->following)) {
            // The frame stands; the search for sync goes on through the tag.
            reader->syncWord = word;
            reader->syncBytes = kHeaderBytes;
            return 0;
        }
        DropFrame(reader, word);
        return kErrInvalidFrame;
    }
    reader->followingWord = word;
    reader->hasFollowing = true;
    return 0;
}

// Hands out the frame read; its bits start after the CRC when there is one.
int Deliver(MpegBitReader* reader, MpegHeader* header)
{
    reader->state = kReadLooking;
    reader->bitPos = reader->header.protection ? 0 : kCrcBytes * 8;
    *header = reader->header;
    return 0;
}

} // namespace

int CreateMpegBitReader(MpegBitReader* reader, Decoder* decoder)
{
    memset(reader, 0, sizeof(*reader));
    reader->decoder = decoder;
    reader->frame = (unsigned char*)calloc(kFrameBufferSize + kFrameBufferSlack, 1);
    reader->reservoir = (unsigned char*)calloc(kReservoirSize, 1);
    if (!reader->frame || !reader->reservoir) {
        DeleteMpegBitReader(reader);
        return kErrOutOfMemory;
    }
    return 0;
}

void DeleteMpegBitReader(MpegBitReader* reader)
{
    free(reader->frame);
    free(reader->reservoir);
    reader->frame = nullptr;
    reader->reservoir = nullptr;
}

void ResetMpegBitReader(MpegBitReader* reader)
{
    reader->bitPos = 0;
    ResetMainData(reader);
    reader->state = kReadLooking;
    reader->stepDone = 0;
    reader->syncWord = 0;
    reader->syncBytes = 0;
    reader->hasFollowing = false;
    reader->freeFormatSize = 0;
}

void ResetMainData(MpegBitReader* reader)
{
    reader->mainDataStart = 0;
    reader->writePos = 0;
    reader->count = 0;
}

unsigned GetBits(MpegBitReader* reader, int n)
{
    unsigned byte = reader->bitPos >> 3;
    unsigned long long word = 0;
    if (byte < (unsigned)kFrameBufferSize) {
        memcpy(&word, reader->frame + byte, sizeof(word));
        word = __builtin_bswap64(word) << (reader->bitPos & 7);
    }
    reader->bitPos += n;
    return (unsigned)(word >> (64 - n));
}

void UngetBits(MpegBitReader* reader, int n)
{
    reader->bitPos = (unsigned)n > reader->bitPos ? 0 : reader->bitPos - n;
}

int ReadNextMpegFrame(MpegBitReader* reader, MpegHeader* header)
{
    for (;;) {
        int code = 0;
        switch (reader->state) {
        case kReadLooking:
            if (reader->hasFollowing) {
                reader->hasFollowing = false;
                reader->headerWord = reader->followingWord;
                ParseMpegHeader(reader->headerWord, &reader->header);
            } else {
                code = SearchSync(reader);
                if (code)
                    return code;
            }
            if (!SizeFrame(reader)) {
                // Not a frame after all: search on from the byte after its header.
                reader->syncWord = reader->headerWord;
                reader->syncBytes = kHeaderBytes - 1;
                break;
            }
            reader->stepDone = 0;
            reader->state = reader->frameSize ? kReadHeader : kReadFreeFormat;
            break;
        case kReadFreeFormat:
            code = MeasureFreeFormat(reader);
            if (code == kErrInvalidFrame) {
                reader->stepDone = 0;
                reader->state = kReadLooking;
                break;
            }
            if (code)
                return code;
            return Deliver(reader, header);
        case kReadHeader:
        case kReadSideInfo:
        case kReadMainDataWrap:
            code = ReadBody(reader);
            if (code)
                return code;
            reader->state = kReadConfirming;
            break;
        case kReadConfirming:
            code = Confirm(reader);
            if (code == kErrInvalidFrame)
                break;
            if (code)
                return code;
            return Deliver(reader, header);
        }
    }
}

int AssembleMainData(MpegBitReader* reader, unsigned mainDataBegin, unsigned bits)
{
    reader->bitPos = 0;
    unsigned frameBytes = (reader->writePos + kReservoirSize - reader->mainDataStart) % kReservoirSize;
    reader->count += frameBytes;
    // Capped before the check: the reservoir cannot give back more than it holds.
    if (reader->count > (unsigned)kReservoirSize)
        reader->count = kReservoirSize;
    if (mainDataBegin + frameBytes > reader->count)
        return 0;
    if (bits == 0)
        return 1;
    unsigned size = mainDataBegin + frameBytes;
    unsigned from = (reader->mainDataStart + kReservoirSize - mainDataBegin) % kReservoirSize;
    unsigned first = kReservoirSize - from;
    if (first > size)
        first = size;
    memcpy(reader->frame, reader->reservoir + from, first);
    memcpy(reader->frame + first, reader->reservoir, size - first);
    return 1;
}
