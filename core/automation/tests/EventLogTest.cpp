// The event log: its name and first lines byte for byte on a set clock, files
// shared within one second, the option switching it off and on, an
// unwritable folder, and whole lines and whole maps while threads fire and
// maps are reloaded.
#include "tests/support/TestFramework.h"

#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "core/automation/tests/TestDocument.h"

#include <map>
#include <sstream>

namespace {

const char kFirstLog[] = "260304050607.log";
const char kBanner[] = "\r\n[05:06:07] ZYM logging started - Version ";

class EventLogTest : public ::testing::Test
{
protected:
    EventLogTest()
    {
        document.folder = folder.WindowsPath("");
        document.logging = TRUE;
        document.mapper.SetDocument(&document);
    }

    std::string Log(const char* name) { return ReadUnixFile(folder.UnixPath(name)); }

    CTempFolder folder{"automation"};
    CTestDocument document;
};

TEST_F(EventLogTest, FirstLinesNameTheVersion)
{
    const struct
    {
        std::string version;
        std::string banner;
    } cases[] = {
        {"1.2.3", "1.2.3"},
        {"", "unknown"},
    };
    for (const auto& c : cases) {
        document.version = c.version;
        document.logging = TRUE;
        document.mapper.DispatchEvent("zymr:startup");
        document.mapper.DispatchEvent("tv:power[05] ");
        document.logging = FALSE;
        document.mapper.DispatchEvent("zymr:unlogged");
        EXPECT_EQ(kBanner + c.banner + "\r\nzymr:startup\r\ntv:power[05] \r\n", Log(kFirstLog)) << c.banner;
        WriteUnixFile(folder.UnixPath(kFirstLog), "");
    }
}

// Received texts are not events of the program: they are queued whole and
// logged whole, whatever their length, with their control characters escaped
// so that each stays one line.
TEST_F(EventLogTest, LongReceivedTextsAreQueuedAndLoggedWhole)
{
    std::string text = "dev:" + std::string(20000, '\xe9') + "[\x01\x7f]";
    document.mapper.DispatchEvent(text.c_str());
    EXPECT_EQ(std::vector<std::string>{text}, Texts(document.mapper.TakeEvents()));
    EXPECT_EQ(kBanner + std::string("1.2.3\r\n") + "dev:" + std::string(20000, '\xe9') + "[\\x01\\x7F]\r\n",
              Log(kFirstLog));
}

// A title cannot forge log lines: line ends and other control characters
// are written as escapes; backslashes of paths stay as they are.
TEST_F(EventLogTest, ControlCharactersAreEscapedInTheLog)
{
    document.mapper.DispatchEvent("zymr:title[Live\r\n[01:02:03] ZYM logging started]");
    document.mapper.DispatchEvent("zymr:title[a\tb\x1b[31mc:\\music]");
    EXPECT_EQ(kBanner + std::string("1.2.3\r\n") +
                  "zymr:title[Live\\r\\n[01:02:03] ZYM logging started]\r\n"
                  "zymr:title[a\\tb\\x1B[31mc:\\music]\r\n",
              Log(kFirstLog));
}

TEST_F(EventLogTest, OptionClosesTheFileAndOpensANewOne)
{
    document.mapper.DispatchEvent("a");
    document.logging = FALSE;
    document.mapper.DispatchEvent("b");
    document.logging = TRUE;
    document.mapper.DispatchEvent("c");
    // Opened again within the same second: the same file, appended to.
    std::string banner = kBanner + std::string("1.2.3\r\n");
    EXPECT_EQ(banner + "a\r\n" + banner + "c\r\n", Log(kFirstLog));

    document.logging = FALSE;
    document.mapper.DispatchEvent("d");
    document.clock.wSecond = 8;
    document.logging = TRUE;
    document.mapper.DispatchEvent("e");
    EXPECT_EQ("\r\n[05:06:08] ZYM logging started - Version 1.2.3\r\ne\r\n", Log("260304050608.log"));
}

TEST_F(EventLogTest, UnwritableFolderIsReportedOnceAndTurnsLoggingOff)
{
    CMessageBoxScript boxes;
    document.folder = folder.WindowsPath("missing\\");
    document.mapper.DispatchEvent("a");
    document.mapper.DispatchEvent("b");
    std::vector<ShownMessageBox> shown = boxes.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Unable to open log file " + document.folder + kFirstLog, shown[0].text);
    EXPECT_FALSE(document.logging);
}

// Four threads fire while the map is reloaded: every event's actions come
// from one whole map, and the log holds whole lines only.
TEST_F(EventLogTest, ThreadsFiringWhileMapsAreReloaded)
{
    const int kThreads = 4;
    const int kEvents = 200;
    const char* maps[] = {"ev { a:1 }\nev { a:2 }", "ev { b:1 }\nev { b:2 }"};
    for (int m = 0; m < 2; m++)
        WriteUnixFile(folder.UnixPath(("map" + std::to_string(m) + ".txt").c_str()), maps[m]);
    ASSERT_TRUE(document.mapper.LoadMapFile(folder.WindowsPath("map0.txt").c_str()));
    volatile LONG running = kThreads;
    RunThreads(
        kThreads,
        [&](int) {
            for (int i = 0; i < kEvents; i++)
                FireEvent("ev%d", i);
            InterlockedDecrement(&running);
        },
        [&] {
            for (int load = 1; running > 0; load++)
                document.mapper.LoadMapFile(folder.WindowsPath(load % 2 ? "map1.txt" : "map0.txt").c_str());
        });

    // Per thread: both actions of one map, then the event itself.
    std::map<DWORD, std::vector<std::string>> byThread;
    for (const SentText& sent : document.Sent())
        byThread[sent.thread].push_back(sent.text);
    EXPECT_EQ(size_t(kThreads), byThread.size());
    for (const auto& thread : byThread) {
        const std::vector<std::string>& texts = thread.second;
        ASSERT_EQ(size_t(3 * kEvents), texts.size());
        for (size_t i = 0; i < texts.size(); i += 3) {
            EXPECT_EQ(texts[i].substr(0, 2), texts[i + 1].substr(0, 2)) << i;
            EXPECT_EQ(":1", texts[i].substr(1));
            EXPECT_EQ(":2", texts[i + 1].substr(1));
            EXPECT_EQ("zymr:ev", texts[i + 2].substr(0, 7));
        }
    }

    std::istringstream log(Log(kFirstLog));
    std::string line;
    int events = 0;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ("\r", line);
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ("[05:06:07] ZYM logging started - Version 1.2.3\r", line);
    while (std::getline(log, line)) {
        EXPECT_EQ("zymr:ev", line.substr(0, 7));
        EXPECT_EQ('\r', line.back());
        EXPECT_EQ(std::string::npos, line.find("zymr", 1)) << line;
        events++;
    }
    EXPECT_EQ(kThreads * kEvents, events);
}

} // namespace
