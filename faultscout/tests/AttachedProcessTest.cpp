// The reporter's link end against a scripted sender on a pair of pipes: every
// message answered with its own header, the log texts, the thread list, the id
// file, the watchdog, posted requests, and garbled or cut streams.
#include "tests/support/TestFramework.h"

#include "faultscout/AttachedProcess.h"
#include "tests/support/ScopedProcessVariable.h"
#include "tests/support/TempFolder.h"

#include <mutex>
#include <string>
#include <vector>

namespace {

class RecordingSink : public ReporterSink
{
public:
    RecordingSink() : ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~RecordingSink() override { CloseHandle(ended); }
    void WriteText(const char* text) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_text += text;
    }
    void Show(bool show) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_text += show ? "[show]" : "[hide]";
    }
    void OnAttached() override { WriteText("[attached]"); }
    void OnProcessEnded() override
    {
        WriteText("[ended]");
        SetEvent(ended);
    }
    std::string Text()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_text;
    }
    HANDLE ended;

private:
    std::mutex m_lock;
    std::string m_text;
};

// The report's clock lines differ on every run.
std::string WithoutTimes(const std::string& text)
{
    std::string kept;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text.compare(start, 6, "Time: ") != 0)
            kept += text.substr(start, end - start);
        start = end;
    }
    return kept;
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[8192];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

DWORD WINAPI WaitForEvent(void* event)
{
    WaitForSingleObject(event, INFINITE);
    return 0;
}

class AttachedProcessTest : public ::testing::Test
{
protected:
    AttachedProcessTest()
    {
        CreatePipe(&toReporter, &senderOut, nullptr, 4096);
        CreatePipe(&senderIn, &fromReporter, nullptr, 4096);
        watched = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~AttachedProcessTest() override
    {
        CloseHandle(senderOut);
        if (reporter.GetReaderThread())
            WaitForSingleObject(reporter.GetReaderThread(), 10000);
        if (helloSent) {
            SetEvent(watched);
            WaitForSingleObject(sink.ended, 10000);
        }
        for (HANDLE h : {toReporter, senderIn, fromReporter})
            CloseHandle(h);
    }

    void Send(const void* data, DWORD count)
    {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(senderOut, data, count, &written, nullptr));
    }
    void Send(DWORD kind, DWORD value) { CrashLinkHeader h = {kind, value}; Send(&h, sizeof h); }
    void Send(const std::string& text) { Send(text.c_str(), static_cast<DWORD>(text.size() + 1)); }

    // The answer to the message just sent.
    CrashLinkHeader Answer()
    {
        CrashLinkHeader header = {0xffffffff, 0xffffffff};
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(senderIn, &header, sizeof header, &read, nullptr));
        return header;
    }
    void ExpectAnswer(DWORD kind, DWORD value)
    {
        CrashLinkHeader header = Answer();
        EXPECT_EQ(kind, header.kind);
        EXPECT_EQ(value, header.value);
    }

    void Hello(const std::string& module, const std::string& name)
    {
        helloSent = true;
        Send(kLinkHello, 0);
        HelloRecord hello = {4242, HandleOnWire(watched), 0x02000007,
                             static_cast<DWORD>(module.size() + 1), static_cast<DWORD>(name.size() + 1)};
        Send(&hello, sizeof hello);
        Send(module);
        Send(name);
        ExpectAnswer(kLinkHello, 0);
    }
    // The default handle names no object of this process: suspending it fails.
    void Register(DWORD id, const std::string& name, DWORD handle = 0x7ffc)
    {
        Send(kLinkThreadCreate, 0);
        ThreadRecord record = {id, handle, static_cast<DWORD>(name.size() + 1)};
        Send(&record, sizeof record);
        Send(name);
        ExpectAnswer(kLinkThreadCreate, 0);
    }

    CTempFolder folder{"attached"};
    // The user's own folder, where the id file belongs: never beside the module.
    std::string userFolder = folder.MakeFolder("user");
    CScopedProcessVariable localAppData{"LOCALAPPDATA", userFolder};
    RecordingSink sink;
    CAttachedProcess reporter;
    HANDLE toReporter = nullptr, senderOut = nullptr, senderIn = nullptr, fromReporter = nullptr;
    HANDLE watched = nullptr;
    bool helloSent = false;
};

TEST_F(AttachedProcessTest, SessionAnswersEveryMessageAndLogsIt)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    std::string module = folder.WindowsPath("zym.exe");
    Hello(module, "ZYM");
    EXPECT_EQ(4242u, reporter.GetProcessId());
    EXPECT_EQ(module, reporter.GetModulePath());
    Register(11, "Main");
    Register(12, "Worker");
    Register(11, "Again");
    Send(kLinkThreadExit, 11);
    ExpectAnswer(kLinkThreadExit, 11);
    Send(kLinkThreadExit, 99);
    ExpectAnswer(kLinkThreadExit, 99);
    Send(kLinkText, 4);
    Send("abc");
    ExpectAnswer(kLinkText, 4);
    Send(kLinkText, 0);
    ExpectAnswer(kLinkText, 0);
    for (DWORD kind : {6u, 11u}) {
        Send(kind, 3);
        ExpectAnswer(kind, 3);
    }
    Send(kLinkShow, 0);
    ExpectAnswer(kLinkShow, 0);
    Send(kLinkThreads, 0);
    ExpectAnswer(kLinkThreads, 0);
    Send(kLinkDump, 0);
    ExpectAnswer(kLinkDump, 0);
    Send(kLinkDump, 1);
    DumpRequest request = {5, 4};
    Send(&request, sizeof request);
    Send("why");
    ExpectAnswer(kLinkDump, 1);

    char hello[128];
    wsprintfA(hello, "Hello pid:4242 h:%x '%s' 'ZYM' 2000007\n", HandleOnWire(watched), module.c_str());
    EXPECT_EQ(std::string(hello) + "[attached]"
              "Thread Create id:11 h:7ffc Main\n"
              "Thread Create id:12 h:7ffc Worker\n"
              "Thread Create id:11 h:7ffc Again\n"
              "Thread Exit 11 Main\n"
              "Thread Exit 99 not found\n"
              "abc"
              "[hide]"
              "[show]\nThreads: \nThread: Worker ID:12\nThread: Again ID:11\n"
              "[show]WriteDump " + folder.WindowsPath("zym.dmp") + "\n\nDump: \nStack Dump:\n"
              "\nDump Thread: Worker ID:12\nSuspend failed for thread:7FFC err:6\n"
              "\nDump Thread: Again ID:11\nSuspend failed for thread:7FFC err:6\nWriteDump off\n"
              "[show]WriteDump " + folder.WindowsPath("zym.dmp") + "\n\nDump: why\nLast Error: 5\nStack Dump:\n"
              "\nDump Thread: Worker ID:12\nSuspend failed for thread:7FFC err:6\n"
              "\nDump Thread: Again ID:11\nSuspend failed for thread:7FFC err:6\nWriteDump off\n",
              WithoutTimes(sink.Text()));

    std::string id;
    EXPECT_FALSE(folder.Exists("Faultscout.hdl"));
    HANDLE file = CreateFileA((userFolder + "\\Faultscout.hdl").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char buffer[32] = "";
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::to_string(reporter.GetRequestThreadId()), buffer);

    SetEvent(watched);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(sink.ended, 10000));
    EXPECT_FALSE(reporter.IsAttached());
    EXPECT_NE(std::string::npos, sink.Text().find("Process terminated\n[ended]"));
}

// A live thread of this process, parked until the test ends.
class ParkedThread
{
public:
    ParkedThread() : m_release(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        handle = CreateThread(nullptr, 0, WaitForEvent, m_release, 0, &id);
    }
    ~ParkedThread()
    {
        SetEvent(m_release);
        WaitForSingleObject(handle, 10000);
        CloseHandle(handle);
        CloseHandle(m_release);
    }
    HANDLE handle = nullptr;
    DWORD id = 0;

private:
    HANDLE m_release;
};

const char kZeroRegisters[] =
    "RAX=0000000000000000  RBX=0000000000000000  RCX=0000000000000000  RDX=0000000000000000\n"
    "RSI=0000000000000000  RDI=0000000000000000  RBP=0000000000000000  RSP=0000000000000000\n"
    "R8=0000000000000000   R9=0000000000000000   R10=0000000000000000  R11=0000000000000000\n"
    "R12=0000000000000000  R13=0000000000000000  R14=0000000000000000  R15=0000000000000000\n"
    "RIP=0000000000000000  FLG=00000000\n"
    "CS=0000   DS=0000  SS=0000  ES=0000  FS=0000  GS=0000\n";

TEST_F(AttachedProcessTest, ExceptionNamesItsThreadAndKind)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    Hello(folder.WindowsPath("zym.exe"), "ZYM");
    ParkedThread crashing;
    Register(21, "PlayMusic", HandleOnWire(crashing.handle));
    const struct { DWORD code; ULONG_PTR write; const char* line; } cases[] = {
        {EXCEPTION_ACCESS_VIOLATION, 1, "\nException: ACCESS_VIOLATION Write 0000000000000010\n"},
        {EXCEPTION_ACCESS_VIOLATION, 0, "\nException: ACCESS_VIOLATION Read 0000000000000010\n"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, 0, "\nException: INT_DIVIDE_BY_ZERO\n"},
        {0xE0001234, 0, "\nException:  E0001234\n"},
    };
    for (const auto& c : cases) {
        ExceptionReport report = {};
        report.threadId = 21;
        report.record.ExceptionCode = c.code;
        report.record.ExceptionAddress = reinterpret_cast<void*>(0x1234);
        report.record.NumberParameters = 2;
        report.record.ExceptionInformation[0] = c.write;
        report.record.ExceptionInformation[1] = 0x10;
        size_t before = sink.Text().size();
        Send(kLinkException, 0);
        Send(&report, sizeof report);
        ExpectAnswer(kLinkException, 0);
        EXPECT_EQ("[show]WriteDump " + folder.WindowsPath("zym.dmp") + "\n" + c.line +
                      "Thread: PlayMusic 21\nAddress: 0000000000001234\nStack Dump:\n"
                      "\nDump Thread: PlayMusic ID:21\n" + kZeroRegisters + "WriteDump off\n",
                  WithoutTimes(sink.Text().substr(before)));
    }
    EXPECT_TRUE(reporter.HasCrashed());
}

// The crashing thread prints the registers the sender captured; another thread
// its own live ones. Both reports land in one file beside the module, the
// second after the first, with the program lines of the module file.
TEST_F(AttachedProcessTest, ReportsWriteRegistersAndProgramLinesToTheDumpFile)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    CloseHandle(CreateFileA(folder.WindowsPath("zym.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    Hello(folder.WindowsPath("zym.exe"), "ZYM");
    ParkedThread crashing, other;
    Register(41, "", HandleOnWire(crashing.handle));
    Register(other.id, "Other", HandleOnWire(other.handle));

    ExceptionReport report = {};
    report.threadId = 41;
    report.record.ExceptionCode = EXCEPTION_BREAKPOINT;
    CONTEXT& c = report.context;
    DWORD64* integers[] = {&c.Rax, &c.Rbx, &c.Rcx, &c.Rdx, &c.Rsi, &c.Rdi, &c.Rbp, &c.Rsp,
                           &c.R8, &c.R9, &c.R10, &c.R11, &c.R12, &c.R13, &c.R14, &c.R15, &c.Rip};
    DWORD64 value = 0x0102030405060708ull;
    for (DWORD64* r : integers)
        *r = value += 0x1111;
    c.EFlags = 0x246;
    c.SegCs = 0x33;
    c.SegDs = 0x2b;
    c.SegSs = 0x2c;
    c.SegEs = 0x2d;
    c.SegFs = 0x53;
    c.SegGs = 0x2e;
    Send(kLinkException, 0);
    Send(&report, sizeof report);
    ExpectAnswer(kLinkException, 0);
    Send(kLinkDump, 0);
    ExpectAnswer(kLinkDump, 0);

    std::string text = sink.Text();
    size_t program = text.find("Program: ZYM 2.0.7\n");
    EXPECT_NE(std::string::npos, text.find("\nException: BREAKPOINT\nTime: "));
    EXPECT_NE(std::string::npos, text.find("Exe File: " + folder.WindowsPath("zym.exe") + " "));
    ASSERT_NE(std::string::npos, program);
    EXPECT_NE(std::string::npos, text.find("Program: ZYM 2.0.7\n", program + 1));
    EXPECT_NE(std::string::npos, text.find(
        "Thread:  41\nAddress: 0000000000000000\nStack Dump:\n\nDump Thread:  ID:41\n"
        "RAX=0102030405061819  RBX=010203040506292A  RCX=0102030405063A3B  RDX=0102030405064B4C\n"
        "RSI=0102030405065C5D  RDI=0102030405066D6E  RBP=0102030405067E7F  RSP=0102030405068F90\n"
        "R8=010203040506A0A1   R9=010203040506B1B2   R10=010203040506C2C3  R11=010203040506D3D4\n"
        "R12=010203040506E4E5  R13=010203040506F5F6  R14=0102030405070707  R15=0102030405071818\n"
        "RIP=0102030405072929  FLG=00000246\n"
        "CS=0033   DS=002B  SS=002C  ES=002D  FS=0053  GS=002E\n"
        "\nDump Thread: Other ID:"));
    // The live thread's own context: a real instruction pointer, no failure.
    size_t live = text.rfind("\nDump Thread: Other ID:");
    EXPECT_EQ(std::string::npos, text.find("Failed getting thread context"));
    EXPECT_EQ(std::string::npos, text.find("RIP=0000000000000000", live));

    // The file holds both reports, each from its first line to "WriteDump off".
    std::string header = "WriteDump " + folder.WindowsPath("zym.dmp") + "\n";
    size_t first = text.find(header) + header.size();
    size_t firstEnd = text.find("[show]" + header, first);
    size_t second = firstEnd + 6 + header.size();
    EXPECT_EQ(text.substr(first, firstEnd - first) + text.substr(second),
              ReadWholeFile(folder.WindowsPath("zym.dmp")));
}

TEST_F(AttachedProcessTest, PostedRequestsWithPayloadKindsAreRefused)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    Register(31, "Main");
    for (DWORD kind : {1u, 2u, 5u, 7u})
        ASSERT_TRUE(PostRequest(reporter.GetRequestThreadId(), {kind, 4}));
    ASSERT_TRUE(PostRequest(reporter.GetRequestThreadId(), {kLinkDump, 1}));
    ASSERT_TRUE(PostRequest(reporter.GetRequestThreadId(), {kLinkThreads, 0}));
    // The pipe still carries the sender's next message untouched.
    Send(kLinkText, 3);
    Send("ok");
    ExpectAnswer(kLinkText, 3);
    for (int i = 0; i < 200 && sink.Text().find("ID:31") == std::string::npos; ++i)
        Sleep(10);
    std::string text = sink.Text();
    EXPECT_NE(std::string::npos, text.find("Message 500, 5, 4\n"));
    EXPECT_NE(std::string::npos, text.find("Message 500, 8, 1\n"));
    EXPECT_NE(std::string::npos, text.find("ok"));
    EXPECT_NE(std::string::npos, text.find("[show]\nThreads: \nThread: Main ID:31\n"));
    EXPECT_EQ(std::string::npos, text.find("Dump:"));
}

TEST_F(AttachedProcessTest, GarbledOrCutStreamEndsReaderWithReadFailure)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    Send(kLinkText, 0x7fffffff);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter.GetReaderThread(), 10000));
    EXPECT_EQ("PipeRead failure d\n", sink.Text());
}

TEST_F(AttachedProcessTest, CutHelloEndsReader)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    Send(kLinkHello, 0);
    Send("partial");
    CloseHandle(senderOut);
    senderOut = nullptr;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter.GetReaderThread(), 10000));
    EXPECT_EQ(0u, sink.Text().find("PipeRead failure "));
    EXPECT_EQ(0u, reporter.GetProcessId());
}

} // namespace
