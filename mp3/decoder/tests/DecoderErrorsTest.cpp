// Error codes and their texts.
#include "tests/support/TestFramework.h"

#include <string>

#include "mp3/decoder/DecoderErrors.h"

namespace {

struct ErrorCase {
    int code;
    const char* text;
};

const ErrorCase kCases[] = {
    {0, ""},
    {5, ""},
    {-1, "unknown error"},
    {-99, "unknown error"},
    {-100, "out of memory"},
    {-103, "timeout"},
    {-104, ""},
    {-200, "connect timed out"},
    {-214, "ftp error"},
    {-215, ""},
    {-306, "invalid message"},
    {-308, "post failed"},
    {-401, "invalid url syntax"},
    {-505, "no such device"},
    {-512, "no such device"},
    {-513, "no such file"},
    {-514, "input end"},
    {-515, ""},
    {-600, "invalid frame"},
    {-701, "symbol not found"},
    {-800, "no such environment variable"},
    {-801, "invalid environment variable type"},
    {-899, ""},
    {-900, "unknown error"},
    {-100000, "unknown error"},
};

TEST(DecoderErrors, TextOfEachCode)
{
    for (const ErrorCase& c : kCases)
        EXPECT_EQ(std::string(c.text), GetDecoderErrorText(c.code)) << "code " << c.code;
}

} // namespace
