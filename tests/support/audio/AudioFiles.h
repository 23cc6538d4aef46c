// MPEG audio files for the analyser's tests: frames and the tags around them,
// written byte by byte.
#pragma once

#include "mp3/decoder/tests/support/SyntheticStreams.h"

#include <string>
#include <vector>

// MPEG-1 layer III, 44.1 kHz, 128 kbit/s: 417-byte frames of 1152 samples.
Bytes Layer3Frames(int count);
// The same stream starting with a Xing frame of the given flags (1: it counts
// `frames`).
Bytes XingStream(unsigned flags, unsigned frames, int count);
unsigned Layer3Milliseconds(int frames);

// An ID3v1 tag; texts are cut to their fields.
Bytes Id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
               const std::string& year, const std::string& comment);

struct Id3v2Frame {
    std::string id;       // "TIT2", "COMM", ...
    unsigned char encoding; // 0 Latin-1, 1 UTF-16 with BOM, 3 UTF-8
    std::string text;     // in that encoding's bytes
};
// An ID3v2 tag of version 3 or 4 (frame sizes plain or synchsafe); a COMM frame
// gets the language "eng" and an empty description.
Bytes Id3v2Tag(int version, const std::vector<Id3v2Frame>& frames);
// UTF-16 little endian with its byte order mark, from UTF-8 of the BMP.
std::string Utf16WithBom(const std::string& utf8);
