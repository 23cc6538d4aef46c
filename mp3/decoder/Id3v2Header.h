// The ID3v2 tag that may come before the frames of a stream (and between
// them): its header says how many bytes to pass over.
#pragma once

const int kId3v2HeaderBytes = 10;

// True when the 32-bit word (read most significant byte first) begins an
// ID3v2 header: "ID3" and a major version byte.
bool StartsId3v2(unsigned word);

// The whole tag's length, header and footer included, from its 10-byte
// header; 0 when the header is not a valid one.
unsigned Id3v2TagBytes(const unsigned char* header);
