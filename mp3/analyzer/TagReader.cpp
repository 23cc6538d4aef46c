#include "mp3/analyzer/TagReader.h"

#include <string.h>

// The host's TagLib was built for Linux: hide the Windows target macros from it.
#include "platform/runtime/HostHeadersBegin.h"
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include "platform/runtime/HostHeadersEnd.h"

namespace {

// The year's place in the 128 bytes of an ID3v1 tag.
const unsigned kId3v1YearOffset = 93;
const unsigned kId3v1YearSize = 4;

std::string Utf8(const TagLib::String& text) { return text.stripWhiteSpace().to8Bit(true); }

// TagLib reads ID3v2.3's TYER as ID3v2.4's recording time, TDRC.
std::string Id3v2Year(TagLib::ID3v2::Tag& tag)
{
    const TagLib::ID3v2::FrameList& frames = tag.frameList("TDRC");
    return frames.isEmpty() ? std::string() : Utf8(frames.front()->toString());
}

// TagLib gives ID3v1's year only as a number ("05" would become 5); its rendering
// keeps the text.
std::string Id3v1Year(TagLib::ID3v1::Tag& tag)
{
    TagLib::ByteVector year = tag.render().mid(kId3v1YearOffset, kId3v1YearSize);
    int end = year.find(TagLib::ByteVector(1, '\0'));
    if (end >= 0)
        year.resize(end);
    return Utf8(TagLib::String(year, TagLib::String::Latin1));
}

void Fill(std::string* field, const std::string& preferred, const std::string& fallback)
{
    *field = preferred.empty() ? fallback : preferred;
}

} // namespace

void ReadAudioTags(const unsigned char* data, size_t size, AudioTags* tags)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector((const char*)data, (unsigned)size));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        return;
    TagLib::ID3v2::Tag empty2;
    TagLib::ID3v1::Tag empty1;
    TagLib::ID3v2::Tag& v2 = file.hasID3v2Tag() ? *file.ID3v2Tag() : empty2;
    TagLib::ID3v1::Tag& v1 = file.hasID3v1Tag() ? *file.ID3v1Tag() : empty1;
    Fill(&tags->title, Utf8(v2.title()), Utf8(v1.title()));
    Fill(&tags->artist, Utf8(v2.artist()), Utf8(v1.artist()));
    Fill(&tags->album, Utf8(v2.album()), Utf8(v1.album()));
    Fill(&tags->year, Id3v2Year(v2), file.hasID3v1Tag() ? Id3v1Year(v1) : std::string());
    Fill(&tags->comment, Utf8(v2.comment()), Utf8(v1.comment()));
    if (file.hasID3v2Tag() && size >= 3 && memcmp(data, "ID3", 3) == 0)
        tags->leadingTagBytes = file.ID3v2Tag()->header()->completeTagSize();
    tags->trailingTag = file.hasID3v1Tag();
}
