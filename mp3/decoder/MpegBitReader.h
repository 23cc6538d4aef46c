// Reads MPEG audio frames from the decoder's input: finds and checks headers, reads
// each frame's body, keeps the layer III main-data reservoir, and hands out bits.
#pragma once

#include "mp3/decoder/MpegHeader.h"

struct Decoder;

// The largest frame (layer II or III at 384 kbit/s and 32 kHz, 1729 bytes) fits, and
// so does the main data of a layer III frame with what it reaches back into the
// reservoir.
const int kFrameBufferSize = 4096;
// Bit reads look ahead up to 8 bytes past the position; Huffman data that runs over
// its budget may take a few dozen bits more before the decoder notices.
const int kFrameBufferSlack = 64;
const int kReservoirSize = 4096;

// Read states of ReadNextMpegFrame.
enum MpegReadState {
    kReadLooking = 0,       // looking for a frame
    kReadHeader = 1,        // header read
    kReadSideInfo = 2,      // layer III side information read
    kReadMainDataWrap = 3,  // main data wrapped at the reservoir's end
    kReadConfirming = 4,    // frame read, awaiting the following header
    kReadTagHeader = 5,     // "ID3" seen; reading the rest of the tag's header
    kReadSkippingTag = 6,   // passing over an ID3v2 tag
};

struct MpegBitReader {
    Decoder* decoder;

    unsigned char* frame;   // kFrameBufferSize + kFrameBufferSlack bytes
    unsigned bitPos;        // bits taken from the start of frame

    unsigned char* reservoir;
    unsigned mainDataStart; // where this frame's main data begins in the reservoir
    unsigned writePos;
    unsigned count;         // bytes the reservoir holds

    int state;
    int stepDone;           // bytes of the current read already delivered
    unsigned syncWord;
    int syncBytes;
    unsigned char following[4]; // the bytes read after a frame
    bool hasFollowing;
    unsigned followingWord;

    unsigned headerWord;
    MpegHeader header;
    int frameSize;
    int sideInfoSize;
    // The ID3v2 header being read, and the bytes of its tag still to pass over.
    unsigned char tagHeader[10];
    unsigned tagLeft;
};

int CreateMpegBitReader(MpegBitReader* reader, Decoder* decoder);
void DeleteMpegBitReader(MpegBitReader* reader);
void ResetMpegBitReader(MpegBitReader* reader);
void ResetMainData(MpegBitReader* reader);

unsigned GetBits(MpegBitReader* reader, int n);
void UngetBits(MpegBitReader* reader, int n);

// Delivers the next checked frame: its header, and its body in the frame buffer (layers
// I and II) or its side information in the frame buffer and main data in the reservoir
// (layer III). ID3v2 tags are passed over whole, wherever they stand, so that no sync
// is searched inside them. Returns 0 or the input's code; a time-out keeps the state so that the next
// call goes on with the same frame.
int ReadNextMpegFrame(MpegBitReader* reader, MpegHeader* header);

// Gathers a layer III frame's main data, reaching back mainDataBegin bytes into the
// reservoir, at the start of the frame buffer. Returns 1 when it is complete, 0 when
// it reaches back before what the reservoir holds.
int AssembleMainData(MpegBitReader* reader, unsigned mainDataBegin, unsigned bits);
