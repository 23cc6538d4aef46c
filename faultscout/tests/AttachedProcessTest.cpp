// The reporter's link end against a scripted sender on a pair of pipes: every
// message answered with its own header, the log texts, the thread list, the id
// file, the watchdog, posted requests, and garbled or cut streams.
#include "TestFramework.h"

#include "AttachedProcess.h"
#include "TempFolder.h"

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
    void Register(DWORD id, const std::string& name)
    {
        Send(kLinkThreadCreate, 0);
        ThreadRecord record = {id, 0x40, static_cast<DWORD>(name.size() + 1)};
        Send(&record, sizeof record);
        Send(name);
        ExpectAnswer(kLinkThreadCreate, 0);
    }

    CTempFolder folder{"attached"};
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
              "Thread Create id:11 h:40 Main\n"
              "Thread Create id:12 h:40 Worker\n"
              "Thread Create id:11 h:40 Again\n"
              "Thread Exit 11 Main\n"
              "Thread Exit 99 not found\n"
              "abc"
              "[hide]"
              "[show]\nThreads: \nThread: Worker ID:12\nThread: Again ID:11\n"
              "[show]\nDump: \n"
              "[show]\nDump: why\nLast Error: 5\n",
              sink.Text());

    std::string id;
    HANDLE file = CreateFileA(folder.WindowsPath("Faultscout.hdl").c_str(), GENERIC_READ, 0, nullptr,
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

TEST_F(AttachedProcessTest, ExceptionNamesItsThreadAndKind)
{
    ASSERT_TRUE(reporter.Attach(&sink, fromReporter, toReporter));
    Register(21, "PlayMusic");
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
        EXPECT_EQ(std::string("[show]") + c.line + "Thread: PlayMusic 21\nAddress: 0000000000001234\n",
                  sink.Text().substr(before));
    }
    EXPECT_TRUE(reporter.HasCrashed());
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
