// Real crashes: a watched program with a version resource, copied into a
// temporary folder beside the reporter, registers its threads and fails; the
// dump file beside it holds the exception, the program line, the failing
// thread's name, every registered thread's registers and a symbolic stack whose
// first symbol names the failing function and its source line.
#include "tests/support/TestFramework.h"

#include "faultscout/AttachedProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <string>

namespace {

struct CrashCase
{
    const char* mode;
    const char* exception;
    const char* thread;
    const char* function;
};

const CrashCase kCrashes[] = {
    {"null", "\nException: ACCESS_VIOLATION Write 0000000000000000\n", "Main", "CrashByNullWrite"},
    {"divide", "\nException: INT_DIVIDE_BY_ZERO\n", "Main", "CrashByDivision"},
    {"thread", "\nException: ACCESS_VIOLATION Write 0000000000000000\n", "Worker", "CrashOnWorker"},
};

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

// The number of the source line that carries the marker.
int MarkedLine(const std::string& source, const std::string& marker)
{
    size_t at = source.find(marker);
    if (at == std::string::npos)
        return -1;
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        line += source[i] == '\n';
    return line;
}

std::string LineAt(const std::string& text, size_t at)
{
    size_t end = text.find('\n', at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

class CrashFixture : public ::testing::Test
{
protected:
    // The child ends by its crash; its report is complete before the reporter
    // answers the crash, so before the child can end.
    std::string CrashAndReport(const char* mode)
    {
        std::string child = folder.WindowsPath("CrashChild.exe");
        EXPECT_TRUE(CopyFileA(WindowsPath(CRASH_CHILD_MODULE).c_str(), child.c_str(), FALSE));
        EXPECT_TRUE(CopyFileA(WindowsPath(HEADLESS_REPORTER_MODULE).c_str(),
                              folder.WindowsPath("Faultscout.exe").c_str(), FALSE));
        std::string command = "\"" + child + "\" " + mode;
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "CreateProcess " << GetLastError();
            return std::string();
        }
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 60000));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ReadWholeFile(folder.WindowsPath("CrashChild.dmp"));
    }

    CTempFolder folder{"crashreport"};
};

class CrashReportTest : public CrashFixture, public ::testing::WithParamInterface<CrashCase>
{
};

TEST_P(CrashReportTest, DumpFileHoldsTheCrashWithSymbolicStacks)
{
    const CrashCase& crash = GetParam();
    ASSERT_TRUE(folder.IsValid());
    std::string report = CrashAndReport(crash.mode);
    ASSERT_FALSE(report.empty()) << "no dump file";
    EXPECT_EQ(0u, report.find(crash.exception)) << report.substr(0, 200);
    EXPECT_NE(std::string::npos, report.find("\nProgram: CrashChild 2.0.7\n"));
    EXPECT_NE(std::string::npos, report.find("\nThread: " + std::string(crash.thread) + " "));
    for (const char* name : {"Main", "Faultscout", "Worker", "Idle"})
        EXPECT_NE(std::string::npos, report.find("\nDump Thread: " + std::string(name) + " ID:"))
            << name;
    EXPECT_EQ(std::string::npos, report.find("Suspend failed"));
    EXPECT_EQ(std::string::npos, report.find("Failed getting thread context"));

    size_t block = report.find("\nDump Thread: " + std::string(crash.thread) + " ID:");
    ASSERT_NE(std::string::npos, block);
    EXPECT_NE(std::string::npos, report.find("\nRIP=", block));
    size_t frame = report.find("\n&", block);
    ASSERT_NE(std::string::npos, frame) << report.substr(block);
    EXPECT_NE(std::string::npos, LineAt(report, frame + 2).find(" CrashChild.exe+"))
        << LineAt(report, frame + 2);
    std::string symbol = LineAt(report, report.find('\n', frame + 1) + 1);
    std::string source = ReadWholeFile(WindowsPath(SourcePath("faultscout/tests/CrashChild.cpp")));
    int line = MarkedLine(source, std::string("// crash: ") + crash.mode);
    EXPECT_EQ(0u, symbol.find(crash.function)) << symbol;
    EXPECT_NE(std::string::npos, symbol.find(", CrashChild.cpp:" + std::to_string(line)))
        << symbol;
    EXPECT_EQ(report.size() - 14, report.rfind("WriteDump off\n"));
}

class TextSink : public ReporterSink
{
public:
    void WriteText(const char* text) override { written += text; }
    void Show(bool) override {}
    void OnAttached() override {}
    void OnProcessEnded() override {}
    std::string written;
};

// The frame line of a saved report names its module and the offset in it; the
// reader starts the archived build of the program the report names and finds
// the same symbol there, wherever its modules load this time.
TEST_F(CrashFixture, SavedReportIsResolvedAgainstTheArchivedBuild)
{
    ASSERT_TRUE(folder.IsValid());
    std::string report = CrashAndReport("divide");
    size_t block = report.find("\nDump Thread: Main ID:");
    size_t frame = report.find("\n&", block);
    ASSERT_NE(std::string::npos, frame);
    std::string frameLine = LineAt(report, frame + 2);
    std::string symbolLine = LineAt(report, frame + 2 + frameLine.size() + 1);
    ASSERT_EQ(0u, symbolLine.find("CrashByDivision")) << symbolLine;

    std::string archived = folder.WindowsPath("archive");
    for (const char* part : {"", "\\CrashChild", "\\CrashChild\\2.0.7"})
        ASSERT_TRUE(CreateDirectoryA((archived + part).c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(WindowsPath(CRASH_CHILD_MODULE).c_str(),
                          (archived + "\\CrashChild\\2.0.7\\CrashChild.exe").c_str(), FALSE));
    TextSink sink;
    CAttachedProcess reader;
    reader.SetArchiveRoot(archived);
    reader.LoadSavedDump(&sink, folder.WindowsPath("CrashChild.dmp").c_str());

    EXPECT_NE(std::string::npos,
              sink.written.find("ProgramName: CrashChild Version: 2.0.7\nExe Path: " + archived +
                                "\\CrashChild\\2.0.7\\CrashChild.exe\nProgram: CrashChild 2.0.7\n"));
    EXPECT_NE(std::string::npos,
              sink.written.find(frameLine + "\n" + symbolLine + "\n" + symbolLine + "\n"))
        << sink.written.substr(0, 3000);
    EXPECT_EQ(std::string::npos, sink.written.find("\n&"));
}

TEST(SavedReportTest, WithoutProgramLineMarkersGoAndFramesGetAnEmptySymbol)
{
    CTempFolder folder("savedreport");
    std::string path = folder.WindowsPath("old.dmp");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char saved[] = "\nDump: \n&0000000000401000 (0x0 0x0 0x0 0x0) zym.exe+1000\nDoIt+4\nend\n";
    DWORD written = 0;
    WriteFile(file, saved, sizeof saved - 1, &written, nullptr);
    CloseHandle(file);
    TextSink sink;
    CAttachedProcess reader;
    reader.LoadSavedDump(&sink, path.c_str());
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(std::string(current) +
                  "\n\nDump: \n0000000000401000 (0x0 0x0 0x0 0x0) zym.exe+1000\n\nDoIt+4\nend\n",
              sink.written);

    TextSink missing;
    reader.LoadSavedDump(&missing, folder.WindowsPath("none.dmp").c_str());
    EXPECT_EQ(std::string(current) + "\nerror opening dump file\n", missing.written);
}

INSTANTIATE_TEST_SUITE_P(Crashes, CrashReportTest, ::testing::ValuesIn(kCrashes),
                         [](const ::testing::TestParamInfo<CrashCase>& info) {
                             return std::string(info.param.mode);
                         });

} // namespace
