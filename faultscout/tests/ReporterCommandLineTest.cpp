// The reporter's command line as a table of words → start, box text, handles
// and request; and the request side of the id file.
#include "tests/support/TestFramework.h"

#include "faultscout/AttachedProcess.h"
#include "faultscout/ReporterCommandLine.h"
#include "tests/support/ScopedProcessVariable.h"
#include "tests/support/TempFolder.h"

#include <string>
#include <vector>

namespace {

struct CommandCase
{
    std::vector<const char*> words;
    ReporterStart start;
    const char* message;
    DWORD writeHandle, readHandle;
    CrashLinkHeader request;
};

const CommandCase kCommands[] = {
    {{}, ReporterStart::Usage, "", 0, 0, {}},
    {{"zym.dmp"}, ReporterStart::SavedDump, "", 0, 0, {}},
    {{"zym.dmp", "more"}, ReporterStart::Usage, "", 0, 0, {}},
    {{"-x", "1", "1c", "2F"}, ReporterStart::Attach, "", 0x1c, 0x2f, {}},
    {{"-x", "2", "1c", "2f"}, ReporterStart::Refused, "Wrong version. I'm 1. Client is 2\n", 0, 0, {}},
    {{"-x", "1", "1c"}, ReporterStart::Refused, "Correct version but wrong number of args", 0, 0, {}},
    {{"-x", "1", "1c", "2f", "3"}, ReporterStart::Refused, "Correct version but wrong number of args", 0, 0, {}},
    {{"-x", "one", "1c", "2f"}, ReporterStart::Refused, "Version arg bad one", 0, 0, {}},
    {{"-x"}, ReporterStart::Refused, "Version arg bad ", 0, 0, {}},
    {{"-x", "1", "zz", "2f"}, ReporterStart::Refused, "Argument #3 is bad\n", 0, 0, {}},
    {{"-x", "1", "1c", "2g"}, ReporterStart::Refused, "Argument #4 is bad\n", 0, 0, {}},
    {{"-d"}, ReporterStart::Request, "", 0, 0, {kLinkDump, 0}},
    {{"-h"}, ReporterStart::Request, "", 0, 0, {kLinkShow, 0}},
    {{"-S"}, ReporterStart::Request, "", 0, 0, {kLinkShow, 1}},
    {{"-t"}, ReporterStart::Request, "", 0, 0, {kLinkThreads, 0}},
    {{"-q"}, ReporterStart::Usage, "", 0, 0, {}},
    {{"-"}, ReporterStart::Usage, "", 0, 0, {}},
};

TEST(ReporterCommandLineTest, WordsChooseTheStart)
{
    for (const CommandCase& c : kCommands) {
        std::vector<CString> words(c.words.begin(), c.words.end());
        std::string line;
        for (const char* word : c.words)
            line += std::string(word) + " ";
        ReporterCommand command = ParseReporterCommandLine(words);
        EXPECT_EQ(static_cast<int>(c.start), static_cast<int>(command.start)) << line;
        EXPECT_STREQ(c.message, command.message) << line;
        EXPECT_EQ(c.writeHandle, HandleOnWire(command.writeHandle)) << line;
        EXPECT_EQ(c.readHandle, HandleOnWire(command.readHandle)) << line;
        EXPECT_EQ(c.request.kind, command.request.kind) << line;
        EXPECT_EQ(c.request.value, command.request.value) << line;
        if (c.start == ReporterStart::SavedDump)
            EXPECT_STREQ(c.words[0], command.dumpPath);
    }
}

DWORD WINAPI EndAtOnce(void*)
{
    return 0;
}

// The id file lives in the user's %LOCALAPPDATA%, here the test's folder.
class RequestTest : public ::testing::Test
{
protected:

    void WriteIdFile(const std::string& text)
    {
        HANDLE file = CreateFileA(folder.WindowsPath("Faultscout.hdl").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    CTempFolder folder{"request"};
    CScopedProcessVariable localAppData{"LOCALAPPDATA", folder.WindowsPath("")};
};

TEST_F(RequestTest, IdFileNamesTheThreadThatGetsTheRequest)
{
    EXPECT_STREQ("Unable to find Faultscout.hdl file", SendReporterRequest({kLinkShow, 1}));
    WriteIdFile("none");
    EXPECT_STREQ("Unable to read Faultscout.hdl file", SendReporterRequest({kLinkShow, 1}));

    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    WriteIdFile(std::to_string(GetCurrentThreadId()));
    EXPECT_STREQ("", SendReporterRequest({kLinkThreads, 0}));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, kRequestMessage, kRequestMessage, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(kLinkThreads), message.wParam);
    EXPECT_EQ(0, message.lParam);

    // A thread id that names no thread any more.
    DWORD gone = 0;
    HANDLE thread = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, &gone);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    WriteIdFile(std::to_string(gone));
    EXPECT_EQ(0, std::string(SendReporterRequest({kLinkShow, 0})).find("Failed posting message "));
}

} // namespace
