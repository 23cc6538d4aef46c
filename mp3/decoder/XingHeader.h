// The "Xing" (or "Info") variable-bit-rate header in the first frame of a stream:
// duration, average bit rate and seek table; a "VBRI" header gives the duration.
#pragma once

#include "mp3/decoder/MpegHeader.h"

// Bytes of a stream's start that hold the first frame's header and its Xing tag.
const int kXingProbeBytes = 196;
const int kXingTocSize = 100;

// Fills info and the duration (seconds) from the first frame header of the stream in
// first (count bytes of it), and with a Xing or VBRI tag also the VBR flag and, when a
// Xing tag has one, a newly allocated 100-byte seek table that the caller frees with
// free(). fileSize counts the stream's bytes from its first frame.
// Returns 0 when the stream does not start with a valid header, else 1.
int ReadXingHeader(unsigned fileSize, const unsigned char* first, int count, MpegStreamInfo* info,
                   double* duration, unsigned char** toc, int* vbr);

// The frame count of the Xing or VBRI tag in the first frame (count bytes of the
// stream's start); false when there is no tag or it carries no count.
bool ReadXingFrameCount(const unsigned char* first, int count, unsigned* frames);
