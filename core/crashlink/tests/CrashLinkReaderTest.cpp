// The reporter's reading of the crash link from bytes as they arrive: each
// kind's records and texts, texts cut at their NUL, and the streams it must
// refuse (cut short inside a message, a text longer than any sender writes).
#include "tests/support/TestFramework.h"

#include "core/crashlink/CrashLinkReader.h"

#include <string.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string Header(DWORD kind, DWORD value)
{
    CrashLinkHeader header = {kind, value};
    return Bytes(&header, sizeof header);
}

std::string Hello(DWORD pathLength, DWORD nameLength)
{
    HelloRecord hello = {4242, 0x1C, 0x02000007, pathLength, nameLength};
    return Header(kLinkHello, 0) + Bytes(&hello, sizeof hello);
}

std::string Thread(DWORD id, DWORD nameLength)
{
    ThreadRecord record = {id, 0x20, nameLength};
    return Header(kLinkThreadCreate, 0) + Bytes(&record, sizeof record);
}

std::string Dump(DWORD lastError, const std::string& text)
{
    DumpRequest request = {lastError, DWORD(text.size())};
    return Header(kLinkDump, 1) + Bytes(&request, sizeof request) + text;
}

// What each message read gave, as "kind:text|text|text", then "fail N" when
// the stream failed (N the last error).
std::vector<std::string> ReadAll(const std::string& stream)
{
    size_t at = 0;
    CCrashLinkReader reader([&](void* buffer, DWORD count) {
        if (stream.size() - at < count) {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        memcpy(buffer, stream.data() + at, count);
        at += count;
        return true;
    });
    std::vector<std::string> seen;
    CrashLinkMessage message;
    while (reader.Read(message))
        seen.push_back(std::to_string(message.header.kind) + ":" + message.path + "|" + message.name + "|" +
                       message.text);
    seen.push_back("fail " + std::to_string(GetLastError()));
    return seen;
}

TEST(CrashLinkReaderTest, ReadsEachKindWholeAndRefusesWhatNoSenderWrites)
{
    const std::string longText(kMaxLinkText + 1, 'x');
    const struct
    {
        const char* name;
        std::string stream;
        std::vector<std::string> seen;
    } cases[] = {
        {"hello with path and name", Hello(9, 3) + "Z:\\zym.exZYM", {"1:Z:\\zym.ex|ZYM|", "fail 38"}},
        {"a thread, a text, a show", Thread(21, 4) + "Main" + Header(kLinkText, 3) + "hi\n" +
                                         Header(kLinkShow, 1),
         {"2:|Main|", "5:||hi\n", "4:||", "fail 38"}},
        {"texts end at their NUL", Header(kLinkText, 5) + std::string("ab\0cd", 5), {"5:||ab", "fail 38"}},
        {"an empty text reads nothing more", Header(kLinkText, 0) + Header(kLinkThreads, 0),
         {"5:||", "9:||", "fail 38"}},
        {"a dump without a value carries nothing", Header(kLinkDump, 0) + Header(kLinkShow, 0),
         {"8:||", "4:||", "fail 38"}},
        {"a dump with a value carries its request", Dump(5, "why?"), {"8:||why?", "fail 38"}},
        {"an unknown kind carries nothing", Header(77, 5) + Header(kLinkShow, 0), {"77:||", "4:||", "fail 38"}},
        {"a text longer than any sender's", Header(kLinkText, kMaxLinkText + 1) + longText, {"fail 13"}},
        {"a name longer than any sender's", Hello(0, kMaxLinkText + 1) + longText, {"fail 13"}},
        {"cut inside a hello", Hello(9, 3) + "Z:\\", {"fail 38"}},
        {"cut inside an exception report", Header(kLinkException, 0) + std::string(100, '\0'), {"fail 38"}},
        {"cut inside a header", std::string("\1\0\0", 3), {"fail 38"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.seen, ReadAll(c.stream));
    }
}

} // namespace
