#include "mp3/decoder/FileInput.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/ModuleInfo.h"
#include "platform/runtime/SystemErrorText.h"

namespace {

const char kStandardStream[] = "-";

const ModuleDevice kDevices[] = {
    {"*", "any file name", kDevicePattern},
    {"-", "standard input", 0},
};

struct FileInput {
    char* name;
    DecoderModuleRecord* module;
    Decoder* decoder;
    HANDLE file;
    bool standard;
};

int Probe(const char*) { return 0; }

int Query(DecoderModuleInfo* info, int flags)
{
    return QueryModuleDevices(info, flags, "Input From File", "Version 1.2", kDevices, 2);
}

int Create(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder)
{
    if (!name || !*name) {
        ReportDebug(decoder, module ? module->id : 0, 0, "internal error",
                    "null params or null/empty input name");
        return kErrInvalidParameters;
    }
    FileInput* input = (FileInput*)calloc(1, sizeof(FileInput));
    if (!input)
        return kErrOutOfMemory;
    input->name = strdup(name);
    if (!input->name) {
        free(input);
        return kErrOutOfMemory;
    }
    input->module = module;
    input->decoder = decoder;
    input->file = INVALID_HANDLE_VALUE;
    *instance = input;
    return 0;
}

int Destroy(void* instance)
{
    FileInput* input = (FileInput*)instance;
    free(input->name);
    free(input);
    return 0;
}

int Open(void* instance)
{
    FileInput* input = (FileInput*)instance;
    input->standard = strcmp(input->name, kStandardStream) == 0;
    if (input->standard) {
        input->file = GetStdHandle(STD_INPUT_HANDLE);
        return 0;
    }
    input->file = CreateFileA(input->name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input->file != INVALID_HANDLE_VALUE)
        return 0;
    DWORD error = GetLastError();
    int id = input->module->id;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        ReportDebug(input->decoder, id, 0, "cannot open input file", "file not found");
        return kErrNoSuchFile;
    }
    if (error == ERROR_ACCESS_DENIED) {
        ReportDebug(input->decoder, id, 0, "cannot open input file", "permission denied");
        return kErrPermissionDenied;
    }
    ReportDebug(input->decoder, id, 0, "cannot open input file", SystemErrorText(error).c_str());
    return kErrOpenFailed;
}

int Close(void* instance)
{
    FileInput* input = (FileInput*)instance;
    if (!input->standard && input->file != INVALID_HANDLE_VALUE)
        CloseHandle(input->file);
    input->file = INVALID_HANDLE_VALUE;
    return 0;
}

// Fills the buffer as far as the stream goes: a pipe delivers in pieces, and the
// stream's tail is shorter than most requests.
int Read(void* instance, unsigned char* buffer, int size)
{
    FileInput* input = (FileInput*)instance;
    int total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(input->file, buffer + total, size - total, &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return total;
}

int Seek(void* instance, unsigned offset)
{
    FileInput* input = (FileInput*)instance;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(input->file, to, nullptr, FILE_BEGIN) ? 0 : kErrFailed;
}

int Capabilities(void* instance)
{
    return ((FileInput*)instance)->standard ? 0 : kInputSeekable;
}

unsigned Size(void* instance)
{
    FileInput* input = (FileInput*)instance;
    LARGE_INTEGER size;
    if (input->standard || !GetFileSizeEx(input->file, &size))
        return 0;
    return (unsigned)size.QuadPart;
}

int IgnoreMessage(void*, int, const unsigned char*, int) { return 0; }

} // namespace

int RegisterFileInputModule(Decoder* decoder)
{
    InputModuleDescriptor d = {Probe, Query, Create, Destroy, Open, Close, Read, Seek, Capabilities, Size, IgnoreMessage};
    return AddInputModule(decoder, &d);
}
