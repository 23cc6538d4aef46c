// The tags of an MPEG audio file through TagLib, with no Windows header on either
// side: TagLib's headers change their file names and exports under the Windows
// target macros.
#pragma once

#include <stddef.h>
#include <string>

// Texts in UTF-8; each from the ID3v2 tag, else from the ID3v1 tag.
struct AudioTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    size_t leadingTagBytes = 0;  // the ID3v2 tag at the file's start, as its header says
    bool trailingTag = false;    // an ID3v1 tag ends the file
};

// Reads the tags of the file whose bytes are data; what is not there stays empty.
void ReadAudioTags(const unsigned char* data, size_t size, AudioTags* tags);
