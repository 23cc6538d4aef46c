#include "mp3/decoder/FileOutput.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/ModuleInfo.h"
#include "platform/runtime/SystemErrorText.h"

namespace {

const char kStandardStream[] = "-";
const int kDefaultRate = 44100;
const int kWavHeaderSize = 44;
const int kWavSizeExtra = 36; // header bytes after the RIFF size field, data excluded

enum FileType {
    kTypeRaw = 0,
    kTypeWav = 1,
    kTypeAiff = 2,
    kTypeSun = 3,
};

struct NamePrefix {
    const char* prefix;
    int type;
};

const NamePrefix kPrefixes[] = {
    {"raw:", kTypeRaw},
    {"wav:", kTypeWav},
    {"aiff:", kTypeAiff},
    {"sun:", kTypeSun},
};

const ModuleDevice kDevices[] = {
    {"*, or raw:*", "file name (raw PCM format)", kDevicePattern},
    {"wav:*", "file name (WAV format)", kDevicePattern},
    {"-", "standard output", 0},
};

struct FileOutput {
    char* name;
    DecoderModuleRecord* module;
    Decoder* decoder;
    HANDLE file;
    bool standard;
    unsigned dataBytes;
    int rate;
    int channels; // 0 mono, 1 stereo
    int type;
    bool headerWritten;
};

void Put16(unsigned char* p, unsigned v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}

void Put32(unsigned char* p, unsigned v)
{
    Put16(p, v & 0xffff);
    Put16(p + 2, v >> 16);
}

bool WriteAll(HANDLE file, const void* bytes, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, nullptr) && written == size;
}

bool WriteWavHeader(FileOutput* out)
{
    unsigned channels = out->channels + 1;
    unsigned char h[kWavHeaderSize];
    memcpy(h, "RIFF", 4);
    Put32(h + 4, out->dataBytes + kWavSizeExtra);
    memcpy(h + 8, "WAVEfmt ", 8);
    Put32(h + 16, 16);
    Put16(h + 20, 1);
    Put16(h + 22, channels);
    Put32(h + 24, out->rate);
    Put32(h + 28, channels * out->rate * 2);
    Put16(h + 32, channels * 2);
    Put16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    Put32(h + 40, out->dataBytes);
    return WriteAll(out->file, h, sizeof(h));
}

int Probe(const char*) { return 0; }

int Query(DecoderModuleInfo* info, int flags)
{
    return QueryModuleDevices(info, flags, "Output To File", "Version 1.2", kDevices, 3);
}

int Create(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder)
{
    if (!name || !*name) {
        ReportDebug(decoder, module ? module->id : 0, 0, "internal error",
                    "null params or null/empty output name");
        return kErrInvalidParameters;
    }
    FileOutput* out = (FileOutput*)calloc(1, sizeof(FileOutput));
    if (!out)
        return kErrOutOfMemory;
    out->name = strdup(name);
    if (!out->name) {
        free(out);
        return kErrOutOfMemory;
    }
    out->module = module;
    out->decoder = decoder;
    out->file = INVALID_HANDLE_VALUE;
    *instance = out;
    return 0;
}

int Destroy(void* instance)
{
    FileOutput* out = (FileOutput*)instance;
    free(out->name);
    free(out);
    return 0;
}

int Open(void* instance)
{
    FileOutput* out = (FileOutput*)instance;
    out->dataBytes = 0;
    out->headerWritten = false;
    out->rate = kDefaultRate;
    out->channels = 1;
    out->type = kTypeRaw;
    const char* path = out->name;
    for (const NamePrefix& p : kPrefixes) {
        size_t length = strlen(p.prefix);
        if (strncmp(path, p.prefix, length) == 0) {
            out->type = p.type;
            path += length;
            break;
        }
    }
    out->standard = strcmp(path, kStandardStream) == 0;
    if (out->standard) {
        out->file = GetStdHandle(STD_OUTPUT_HANDLE);
        return 0;
    }
    out->file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out->file != INVALID_HANDLE_VALUE)
        return 0;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        ReportDebug(out->decoder, out->module->id, 0, "cannot open output file", "permission denied");
        return kErrPermissionDenied;
    }
    ReportDebug(out->decoder, out->module->id, 0, "cannot open output file", SystemErrorText(error).c_str());
    return kErrOpenFailed;
}

int Close(void* instance)
{
    FileOutput* out = (FileOutput*)instance;
    // The header is written again with the final data size where the stream can go
    // back to its start; a pipe keeps the sizes of the first header.
    if (out->type == kTypeWav && out->headerWritten &&
        SetFilePointer(out->file, 0, nullptr, FILE_BEGIN) == 0)
        WriteWavHeader(out);
    CloseHandle(out->file);
    out->file = INVALID_HANDLE_VALUE;
    return 0;
}

int Write(void* instance, unsigned char* buffer, int size, int, int channels, int rate)
{
    FileOutput* out = (FileOutput*)instance;
    if (!out->headerWritten) {
        out->rate = rate;
        out->channels = channels;
        out->headerWritten = true;
        if (out->type == kTypeWav && !WriteWavHeader(out))
            return 0;
    }
    if (!WriteAll(out->file, buffer, size))
        return 0;
    out->dataBytes += size;
    return size;
}

} // namespace

int RegisterFileOutputModule(Decoder* decoder)
{
    OutputModuleDescriptor d = {Probe, Query, Create, Destroy, Open, Close, Write};
    return AddOutputModule(decoder, &d);
}
