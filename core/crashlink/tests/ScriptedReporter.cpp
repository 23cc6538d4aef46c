// A stand-in reporter for the link's byte tests. Started as "Faultscout.exe -x 1
// REPLY SEND", it reads each message with its payload, appends every byte read to
// the file ZYM_REPORTER_LOG, and answers as ZYM_REPORTER_MODE says: "echo" (the
// header back), "detach" (kind 10) or "silent:N" (echo N messages, then never).
#include "core/crashlink/CrashLinkProtocol.h"

#include <cstdlib>
#include <cstring>

namespace {

HANDLE g_in, g_out, g_log;

bool Read(void* data, DWORD count)
{
    for (DWORD done = 0, read = 0; done < count; done += read)
        if (!ReadFile(g_in, static_cast<BYTE*>(data) + done, count - done, &read, nullptr) || !read)
            return false;
    DWORD written = 0;
    WriteFile(g_log, data, count, &written, nullptr);
    return true;
}

// Wine reads a pipe only into memory it knows: the C library's heap is not.
bool ReadText(DWORD count)
{
    void* text = HeapAlloc(GetProcessHeap(), 0, count ? count : 1);
    bool read = text && Read(text, count);
    HeapFree(GetProcessHeap(), 0, text);
    return read;
}

bool ReadPayload(const CrashLinkHeader& header)
{
    switch (header.kind) {
    case kLinkHello: {
        HelloRecord hello;
        return Read(&hello, sizeof hello) && ReadText(hello.modulePathLength) &&
               ReadText(hello.programNameLength);
    }
    case kLinkThreadCreate: {
        ThreadRecord record;
        return Read(&record, sizeof record) && ReadText(record.nameLength);
    }
    case kLinkText:
        return ReadText(header.value);
    case kLinkException: {
        ExceptionReport report;
        return Read(&report, sizeof report);
    }
    case kLinkDump: {
        DumpRequest request;
        return Read(&request, sizeof request) && ReadText(request.textLength);
    }
    default:
        return true;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || std::strcmp(argv[1], "-x") != 0)
        return 2;
    g_out = HandleFromWire(std::strtoul(argv[3], nullptr, 16));
    g_in = HandleFromWire(std::strtoul(argv[4], nullptr, 16));
    char logPath[MAX_PATH], mode[32];
    if (!GetEnvironmentVariableA("ZYM_REPORTER_LOG", logPath, sizeof logPath) ||
        !GetEnvironmentVariableA("ZYM_REPORTER_MODE", mode, sizeof mode))
        return 3;
    g_log = CreateFileA(logPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    long answers = std::strncmp(mode, "silent:", 7) == 0 ? std::atol(mode + 7) : -1;
    CrashLinkHeader header;
    while (Read(&header, sizeof header) && ReadPayload(header)) {
        if (answers == 0)
            continue;
        if (answers > 0)
            --answers;
        if (std::strcmp(mode, "detach") == 0)
            header = {kLinkDetach, 0};
        DWORD written = 0;
        if (!WriteFile(g_out, &header, sizeof header, &written, nullptr))
            break;
    }
    CloseHandle(g_log);
    return 0;
}
