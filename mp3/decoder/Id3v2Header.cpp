#include "mp3/decoder/Id3v2Header.h"

#include "mp3/decoder/MpegHeader.h"

namespace {

const unsigned kId3Word = 0x49443300;   // "ID3" and the major version
// Versions 2.2 to 2.4 are all there are; in other data "ID3" with another
// version byte is no tag.
const unsigned kFirstVersion = 2;
const unsigned kLastVersion = 4;
const unsigned char kNoVersion = 0xFF;
const unsigned char kFooterFlag = 0x10;
const unsigned char kSynchsafeMask = 0x80;

} // namespace

bool StartsId3v2(unsigned word)
{
    unsigned version = word & 0xFF;
    return (word & 0xFFFFFF00) == kId3Word && version >= kFirstVersion && version <= kLastVersion;
}

unsigned Id3v2TagBytes(const unsigned char* header)
{
    if (!StartsId3v2(BigEndian32(header)) || header[4] == kNoVersion)
        return 0;
    // The size is synchsafe: seven bits a byte, the top bit always clear.
    unsigned size = 0;
    for (int i = 6; i < kId3v2HeaderBytes; i++) {
        if (header[i] & kSynchsafeMask)
            return 0;
        size = size << 7 | header[i];
    }
    bool footer = (header[5] & kFooterFlag) != 0;
    return kId3v2HeaderBytes + size + (footer ? kId3v2HeaderBytes : 0);
}
