// The link's bytes against a scripted reporter copied beside a made-up program
// path: the hello and the two first registrations, each later kind, a detach
// reply, a reporter that stops answering, a missing reporter and the path bound.
#include "tests/support/TestFramework.h"

#include "core/crashlink/CrashLink.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class ByteReader
{
public:
    explicit ByteReader(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}
    DWORD Word()
    {
        DWORD value = 0;
        if (m_at + 4 <= m_bytes.size())
            std::memcpy(&value, &m_bytes[m_at], 4);
        m_at += 4;
        return value;
    }
    std::string Text(DWORD length)
    {
        std::string text;
        if (length && m_at + length <= m_bytes.size())
            text.assign(reinterpret_cast<const char*>(&m_bytes[m_at]), length);
        m_at += length;
        return text;
    }
    bool AtEnd() const { return m_at == m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
    size_t m_at = 0;
};

class CrashLinkTest : public ::testing::Test
{
protected:
    CrashLinkTest()
    {
        dir = folder.WindowsPath("with blanks");
        CreateDirectoryA(dir.c_str(), nullptr);
        log = folder.WindowsPath("link.log");
        SetEnvironmentVariableA("ZYM_REPORTER_LOG", log.c_str());
    }
    ~CrashLinkTest() override
    {
        SetEnvironmentVariableA("ZYM_REPORTER_LOG", nullptr);
        SetEnvironmentVariableA("ZYM_REPORTER_MODE", nullptr);
    }

    void PlaceReporter(const std::string& inDir, const char* mode)
    {
        SetEnvironmentVariableA("ZYM_REPORTER_MODE", mode);
        ASSERT_TRUE(CopyFileA(WindowsPath(SCRIPTED_REPORTER_MODULE).c_str(),
                              (inDir + "\\Faultscout.exe").c_str(), FALSE));
    }

    // A handle that outlives the link, for waiting on the reporter's end.
    static HANDLE Watch(CCrashLink& link)
    {
        HANDLE reporter = nullptr;
        DuplicateHandle(GetCurrentProcess(), link.GetReporterProcess(), GetCurrentProcess(),
                        &reporter, SYNCHRONIZE | PROCESS_TERMINATE, FALSE, 0);
        return reporter;
    }

    // Everything the reporter read, once it has ended.
    ByteReader Bytes(HANDLE reporter)
    {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reporter, 20000));
        DWORD code = 0;
        GetExitCodeProcess(reporter, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(reporter);
        std::vector<BYTE> bytes;
        HANDLE file = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            bytes.resize(GetFileSize(file, nullptr));
            DWORD read = 0;
            ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
            CloseHandle(file);
        }
        return ByteReader(bytes);
    }

    std::string FirstBox() const
    {
        auto shown = boxes.Shown();
        std::string all;
        for (auto& b : shown) all += b.text + " | ";
        return all;
    }

    static void ExpectRegistration(ByteReader& bytes, DWORD threadId, const std::string& name)
    {
        EXPECT_EQ(2u, bytes.Word());
        EXPECT_EQ(0u, bytes.Word());
        EXPECT_EQ(threadId, bytes.Word());
        EXPECT_NE(0u, bytes.Word());
        EXPECT_EQ(name.size() + 1, bytes.Word());
        EXPECT_EQ(name + '\0', bytes.Text(static_cast<DWORD>(name.size() + 1)));
    }

    CTempFolder folder{"crashlink"};
    std::string dir, log;
    CMessageBoxScript boxes;
};

TEST_F(CrashLinkTest, SessionSendsEveryKindByteForByte)
{
    PlaceReporter(dir, "echo");
    std::string module = dir + "\\zym.exe";
    HANDLE reporter = nullptr;
    {
        CCrashLink link;
        ASSERT_TRUE(link.Start("ZYM", module.c_str(), 0x02000007)) << FirstBox();
        reporter = Watch(link);
        EXPECT_TRUE(link.IsLinked());
        EXPECT_TRUE(link.UnregisterThread(77));
        EXPECT_TRUE(link.ShowReporter(TRUE));
        EXPECT_TRUE(link.ShowReporter(FALSE));
        EXPECT_TRUE(link.Printf("%s", "abc"));
        SetLastError(5);
        EXPECT_TRUE(link.RequestDump("why"));
    }
    EXPECT_TRUE(boxes.Shown().empty());
    ByteReader bytes = Bytes(reporter);

    EXPECT_EQ(1u, bytes.Word());
    EXPECT_EQ(0u, bytes.Word());
    EXPECT_EQ(GetCurrentProcessId(), bytes.Word());
    EXPECT_NE(0u, bytes.Word());
    EXPECT_EQ(0x02000007u, bytes.Word());
    EXPECT_EQ(module.size() + 1, bytes.Word());
    EXPECT_EQ(4u, bytes.Word());
    EXPECT_EQ(module + '\0', bytes.Text(static_cast<DWORD>(module.size() + 1)));
    EXPECT_EQ(std::string("ZYM", 4), bytes.Text(4));
    ExpectRegistration(bytes, GetCurrentThreadId(), "Main");
    EXPECT_EQ(2u, bytes.Word());
    EXPECT_EQ(0u, bytes.Word());
    EXPECT_NE(GetCurrentThreadId(), bytes.Word());
    EXPECT_NE(0u, bytes.Word());
    EXPECT_EQ(11u, bytes.Word());
    EXPECT_EQ(std::string("Faultscout", 11), bytes.Text(11));

    const DWORD words[][2] = {{3, 77}, {4, 1}, {4, 0}, {5, 4}};
    for (const auto& header : words) {
        EXPECT_EQ(header[0], bytes.Word());
        EXPECT_EQ(header[1], bytes.Word());
    }
    EXPECT_EQ(std::string("abc", 4), bytes.Text(4));
    EXPECT_EQ(8u, bytes.Word());
    EXPECT_EQ(1u, bytes.Word());
    EXPECT_EQ(5u, bytes.Word());
    EXPECT_EQ(4u, bytes.Word());
    EXPECT_EQ(std::string("why", 4), bytes.Text(4));
    EXPECT_TRUE(bytes.AtEnd());
}

TEST_F(CrashLinkTest, DetachReplyEndsLinkQuietly)
{
    PlaceReporter(dir, "detach");
    CCrashLink link;
    EXPECT_FALSE(link.Start("ZYM", (dir + "\\zym.exe").c_str(), 0));
    HANDLE reporter = Watch(link);
    EXPECT_TRUE(link.IsLost());
    EXPECT_FALSE(link.RegisterCurrentThread("Late"));
    EXPECT_FALSE(link.Printf("%s", "abc"));
    EXPECT_TRUE(boxes.Shown().empty());
    TerminateProcess(reporter, 0);
    ByteReader bytes = Bytes(reporter);
    EXPECT_EQ(1u, bytes.Word());
    EXPECT_EQ(0u, bytes.Word());
    bytes.Word();
    bytes.Word();
    bytes.Word();
    DWORD pathLength = bytes.Word();
    DWORD nameLength = bytes.Word();
    bytes.Text(pathLength);
    bytes.Text(nameLength);
    EXPECT_TRUE(bytes.AtEnd());
}

TEST_F(CrashLinkTest, SilentReporterLosesLinkOnceWithMessage)
{
    PlaceReporter(dir, "silent:3");
    CCrashLink link;
    ASSERT_TRUE(link.Start("ZYM", (dir + "\\zym.exe").c_str(), 0)) << FirstBox();
    HANDLE reporter = Watch(link);
    link.SetReplyTimeout(200);
    EXPECT_FALSE(link.Printf("%s", "abc"));
    EXPECT_TRUE(link.IsLost());
    EXPECT_FALSE(link.IsLinked());
    EXPECT_FALSE(link.ShowReporter(TRUE));
    auto shown = boxes.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Lost communication with Faultscout", shown[0].text);
    EXPECT_EQ("Error", shown[0].caption);
    TerminateProcess(reporter, 0);
    CloseHandle(reporter);
}

struct StartFailure
{
    const char* name;
    int pathLength;       // 0: a short path
    bool reporterPresent;
    const char* text;     // null: the link comes up
    const char* caption;
};

class CrashLinkStartTest : public CrashLinkTest,
                           public ::testing::WithParamInterface<StartFailure>
{
};

TEST_P(CrashLinkStartTest, StartsOrFailsWithItsMessage)
{
    const StartFailure& c = GetParam();
    if (c.reporterPresent)
        PlaceReporter(dir, "echo");
    std::string module = dir + "\\";
    if (c.pathLength)
        module += std::string(c.pathLength - module.size() - 4, 'z');
    module += ".exe";
    HANDLE reporter = nullptr;
    {
        CCrashLink link;
        EXPECT_EQ(c.text == nullptr, link.Start("ZYM", module.c_str(), 0) != FALSE);
        EXPECT_EQ(c.text == nullptr, link.RegisterCurrentThread("Other") != FALSE);
        if (link.GetReporterProcess())
            reporter = Watch(link);
    }
    auto shown = boxes.Shown();
    if (c.text) {
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(c.text, shown[0].text);
        EXPECT_EQ(c.caption, shown[0].caption);
        EXPECT_EQ(nullptr, reporter);
    } else {
        EXPECT_TRUE(shown.empty());
        ASSERT_NE(nullptr, reporter);
        Bytes(reporter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CrashLinkStartTest,
    ::testing::Values(StartFailure{"missing", 0, false, "Faultscout is missing", "Faultscout"},
                      StartFailure{"longest", 246, true, nullptr, nullptr},
                      StartFailure{"toolong", 247, true, "Bad module name", "Error"}),
    [](const ::testing::TestParamInfo<StartFailure>& info) { return info.param.name; });

} // namespace
