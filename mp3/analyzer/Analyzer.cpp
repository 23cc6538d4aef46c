// The functions analyze.dll exports.
#define NOMINMAX
#include "analyze.h"

#include "mp3/analyzer/AnsiText.h"
#include "mp3/analyzer/StreamLength.h"
#include "mp3/analyzer/TagReader.h"

#include <windows.h>

#include <new>
#include <string.h>
#include <vector>

// The file's bytes, kept between calls so that a run of files reuses one buffer.
struct ANALYZER {
    std::vector<unsigned char> bytes;
};

namespace {

const size_t kId3v1Size = 128;

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < MAXDWORD;
    DWORD read = 0;
    if (ok) {
        bytes->resize((size_t)size.QuadPart);
        ok = bytes->empty() || (ReadFile(file, bytes->data(), (DWORD)bytes->size(), &read, nullptr) &&
                                read == bytes->size());
    }
    CloseHandle(file);
    return ok;
}

void CopyTags(const AudioTags& tags, ANALYZER_INFO* info)
{
    CopyAnsiText(tags.title, info->title, sizeof(info->title));
    CopyAnsiText(tags.artist, info->artist, sizeof(info->artist));
    CopyAnsiText(tags.album, info->album, sizeof(info->album));
    CopyAnsiText(tags.year, info->year, sizeof(info->year));
    CopyAnsiText(tags.comment, info->comment, sizeof(info->comment));
}

int Analyze(const std::vector<unsigned char>& bytes, const StreamSearch& search, ANALYZER_INFO* info)
{
    AudioTags tags;
    ReadAudioTags(bytes.data(), bytes.size(), &tags);
    CopyTags(tags, info);
    size_t start = tags.leadingTagBytes < bytes.size() ? tags.leadingTagBytes : bytes.size();
    size_t end = bytes.size() - (tags.trailingTag ? kId3v1Size : 0);
    return MeasureStream(bytes.data(), start, end, search, &info->length);
}

} // namespace

extern "C" int analyzer_new(ANALYZER** analyzer)
{
    if (!analyzer)
        return ANALYZER_E_ARGUMENT;
    *analyzer = new (std::nothrow) ANALYZER;
    return *analyzer ? ANALYZER_OK : ANALYZER_E_MEMORY;
}

extern "C" int analyzer_process_file(ANALYZER* analyzer, const char* path, ANALYZER_INFO* info,
                                     unsigned flags, unsigned syncWindow, unsigned coverage)
{
    if (!info)
        return ANALYZER_E_ARGUMENT;
    memset(info, 0, sizeof(*info));
    if (!analyzer || !path || flags != 0)
        return ANALYZER_E_ARGUMENT;
    try {
        if (!ReadWholeFile(path, &analyzer->bytes))
            return ANALYZER_E_OPEN;
        return Analyze(analyzer->bytes, StreamSearch{syncWindow, coverage}, info);
    } catch (const std::bad_alloc&) {
        return ANALYZER_E_MEMORY;
    }
}

extern "C" void analyzer_delete(ANALYZER* analyzer) { delete analyzer; }
