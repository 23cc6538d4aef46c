#include "faultscout/ReporterCommandLine.h"

#include "faultscout/AttachedProcess.h"

#include <cctype>
#include <cstdlib>

namespace {

const DWORD kProtocolVersion = 1;
const size_t kAttachWords = 4; // "-x", version, write handle, read handle

struct RequestFlag
{
    char letter;
    CrashLinkHeader request;
};

const RequestFlag kRequests[] = {
    {'d', {kLinkDump, 0}},
    {'h', {kLinkShow, 0}},
    {'s', {kLinkShow, 1}},
    {'t', {kLinkThreads, 0}},
};

bool ParseNumber(const CString& text, int base, unsigned long& value)
{
    if (text.IsEmpty())
        return false;
    char* end = nullptr;
    value = std::strtoul(text, &end, base);
    return *end == '\0' && text[0] != '-' && text[0] != '+';
}

ReporterCommand Refuse(const CString& message)
{
    ReporterCommand command;
    command.start = ReporterStart::Refused;
    command.message = message;
    return command;
}

ReporterCommand ParseAttach(const std::vector<CString>& words)
{
    unsigned long version = 0;
    CString versionWord = words.size() > 1 ? words[1] : CString();
    CString text;
    if (!ParseNumber(versionWord, 10, version)) {
        text.Format("Version arg bad %s", static_cast<LPCSTR>(versionWord));
        return Refuse(text);
    }
    if (version != kProtocolVersion) {
        text.Format("Wrong version. I'm %d. Client is %d\n", static_cast<int>(kProtocolVersion),
                    static_cast<int>(version));
        return Refuse(text);
    }
    if (words.size() != kAttachWords)
        return Refuse("Correct version but wrong number of args");
    unsigned long handles[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (!ParseNumber(words[2 + i], 16, handles[i])) {
            text.Format("Argument #%d is bad\n", 3 + i);
            return Refuse(text);
        }
    }
    ReporterCommand command;
    command.start = ReporterStart::Attach;
    command.writeHandle = HandleFromWire(handles[0]);
    command.readHandle = HandleFromWire(handles[1]);
    return command;
}

} // namespace

const char kReporterUsage[] = "usage: Faultscout [flags] <dmpfile>\n\t-s : show\n";

ReporterCommand ParseReporterCommandLine(const std::vector<CString>& words)
{
    ReporterCommand command;
    if (words.empty())
        return command;
    const CString& first = words[0];
    if (first[0] != '-') {
        if (words.size() == 1) {
            command.start = ReporterStart::SavedDump;
            command.dumpPath = first;
        }
        return command;
    }
    if (first == "-x")
        return ParseAttach(words);
    char second = first.GetLength() > 1 ? first[1] : '\0';
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(second)));
    for (const RequestFlag& flag : kRequests) {
        if (flag.letter == letter) {
            command.start = ReporterStart::Request;
            command.request = flag.request;
        }
    }
    return command;
}

CString SendReporterRequest(const CrashLinkHeader& request)
{
    HANDLE file = CreateFileA(ReporterIdFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "Unable to find Faultscout.hdl file";
    char text[32] = "";
    DWORD read = 0;
    BOOL readDone = ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    text[readDone ? read : 0] = '\0';
    unsigned long threadId = 0;
    CString number(text);
    number.TrimLeft();
    number.TrimRight();
    if (!ParseNumber(number, 10, threadId))
        return "Unable to read Faultscout.hdl file";
    if (PostRequest(threadId, request))
        return CString();
    CString failure;
    failure.Format("Failed posting message %d\n", static_cast<int>(GetLastError()));
    return failure;
}
