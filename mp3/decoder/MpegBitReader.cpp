#include "mp3/decoder/MpegBitReader.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderInput.h"
#include "mp3/decoder/Id3v2Header.h"

namespace {

const int kHeaderBytes = 4;
const int kCrcBytes = 2;
// SearchSync's result when an ID3v2 tag starts: the reader's state says so.
const int kTagFound = 1;
// Where the VBRI tag stands in its frame, whatever the side information's size.
const int kVbriOffset = 36;

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
// overlapping a refused candidate is still found; stops at an ID3v2 tag.
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
        if (StartsId3v2(reader->syncWord)) {
            for (int i = 0; i < kHeaderBytes; i++)
                reader->tagHeader[i] = (unsigned char)(reader->syncWord >> (24 - 8 * i));
            reader->syncBytes = 0;
            reader->stepDone = 0;
            reader->state = kReadTagHeader;
            return kTagFound;
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
    int body = reader->frameSize - kHeaderBytes;
    return body >= MinimumBody(reader) && body <= kFrameBufferSize;
}

// The rest of the tag's header; a header that proves no tag's leaves the search to go
// on after it.
int ReadTagHeader(MpegBitReader* reader)
{
    int code = ReadFully(reader, reader->tagHeader + kHeaderBytes, kId3v2HeaderBytes - kHeaderBytes);
    if (code)
        return code;
    unsigned size = Id3v2TagBytes(reader->tagHeader);
    reader->tagLeft = size ? size - kId3v2HeaderBytes : 0;
    reader->state = size ? kReadSkippingTag : kReadLooking;
    return 0;
}

int SkipTag(MpegBitReader* reader)
{
    while (reader->tagLeft > 0) {
        int part = reader->tagLeft < (unsigned)kFrameBufferSize ? (int)reader->tagLeft : kFrameBufferSize;
        int n = ReadInput(reader->decoder, reader->frame, part);
        if (n <= 0)
            return n < 0 ? n : kErrInputEnd;
        reader->tagLeft -= n;
    }
    reader->state = kReadLooking;
    return 0;
}

unsigned char ReservoirByte(const MpegBitReader* reader, int offset)
{
    return reader->reservoir[(reader->mainDataStart + offset) % kReservoirSize];
}

bool ReservoirHolds(const MpegBitReader* reader, int offset, const char* text)
{
    for (int i = 0; text[i]; i++) {
        if (ReservoirByte(reader, offset + i) != (unsigned char)text[i])
            return false;
    }
    return true;
}

// The frame that carries a Xing, Info or VBRI tag in its main data: no audio.
bool IsTagFrame(const MpegBitReader* reader)
{
    int mainBytes = reader->frameSize - kHeaderBytes - MinimumBody(reader);
    int vbriAt = kVbriOffset - kHeaderBytes - MinimumBody(reader);
    if (mainBytes >= 4 && (ReservoirHolds(reader, 0, "Xing") || ReservoirHolds(reader, 0, "Info")))
        return true;
    return vbriAt >= 0 && vbriAt + 4 <= mainBytes && ReservoirHolds(reader, vbriAt, "VBRI");
}

int ReadLayer3Body(MpegBitReader* reader)
{
    int body = reader->frameSize - kHeaderBytes;
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

int ReadBody(MpegBitReader* reader)
{
    if (reader->header.layer != kLayerIII)
        return ReadFully(reader, reader->frame, reader->frameSize - kHeaderBytes);
    int code = ReadLayer3Body(reader);
    // A tag frame's payload must not become the main data a later frame reaches back
    // for: after a lost frame that would play the tag as a burst of noise.
    if (code == 0 && IsTagFrame(reader))
        reader->writePos = reader->mainDataStart;
    return code;
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

// An ID3v1, APE or ID3v2 tag after a frame ends the stream's frames as the input's end
// does (more may follow the tag).
bool StartsTag(const unsigned char* bytes)
{
    return memcmp(bytes, "TAG", 3) == 0 || memcmp(bytes, "APET", 4) == 0 || StartsId3v2(BigEndian32(bytes));
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
    reader->tagLeft = 0;
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
                if (code == kTagFound)
                    break;
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
            reader->state = kReadHeader;
            break;
        case kReadTagHeader:
            code = ReadTagHeader(reader);
            if (code)
                return code;
            break;
        case kReadSkippingTag:
            code = SkipTag(reader);
            if (code)
                return code;
            break;
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
