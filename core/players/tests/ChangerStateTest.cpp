// The changer's state under its lock: readers get whole texts' changes, waits
// wake on changes made by other threads, and the parser calls out without the
// lock; and the one rule of which interface firmware counts as old.
#include "tests/support/TestFramework.h"

#include "core/players/OldFirmware.h"
#include "core/players/SonyPlayer.h"
#include "core/players/tests/FakePlayerHost.h"

#include <memory>
#include <set>
#include <string>
#include <utility>

namespace {

class ChangerStateTest : public ::testing::Test
{
protected:
    ChangerStateTest() : player(new CSonyPlayer(&host))
    {
        NameChangerDevices(*player);
        player->ChangeState([](ChangerState& s) {
            s.capacity = 400;
            s.allDiscs = 1;
            s.lastTrack = 12;
        });
    }

    CFakePlayerHost host;
    std::unique_ptr<CSonyPlayer> player;
};

// Runs function on a thread of its own; Join waits for it at most ms.
class CThread
{
public:
    explicit CThread(std::function<void()> function) : m_function(std::move(function))
    {
        m_handle = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~CThread()
    {
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
    }
    bool Join(DWORD ms) { return WaitForSingleObject(m_handle, ms) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI Run(void* self)
    {
        static_cast<CThread*>(self)->m_function();
        return 0;
    }
    std::function<void()> m_function;
    HANDLE m_handle;
};

TEST_F(ChangerStateTest, FirmwareUpTo28IsOldAndDoublesThePlayWord)
{
    const std::string once = "cdsls001:play_dt[0501]  cdsls001:ir[-45000] ";
    const std::string twice = "cdsls001:play_dt[0501] cdsls001:play_dt[0501] cdsls001:ir[-45000] ";
    const struct
    {
        double version;
        bool old;
    } cases[] = {{0.0, true}, {2.1, true}, {2.8, true}, {2.81, false}, {2.85, false}, {3.0, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.old, IsOldFirmware(c.version)) << c.version;
        host.firmware = c.version;
        player->PlayOrCue(5, -1, TRUE);
        EXPECT_EQ(std::vector<std::string>{c.old ? twice : once}, host.path.TakeSent()) << c.version;
    }
}

TEST_F(ChangerStateTest, WaitsEndOnAChangeTheCancelOrTheTime)
{
    const TaskCancelFlag clear{0};
    const TaskCancelFlag set{1};
    const struct
    {
        const char* name;
        int ms;
        const TaskCancelFlag* cancel;
        bool changeFromAnotherThread;
        bool holdsAlready;
        BOOL result;
    } cases[] = {
        {"changed by another thread", 20000, &clear, true, false, TRUE},
        {"holds at once", 20000, nullptr, false, true, TRUE},
        {"no time: not even a look", 0, nullptr, false, true, FALSE},
        {"cancelled", 20000, &set, true, true, FALSE},
        {"nothing changes", 50, nullptr, false, false, FALSE},
    };
    for (const auto& c : cases) {
        player->ChangeState([&c](ChangerState& s) { s.infoTrack = c.holdsAlready ? 7 : -1; });
        std::unique_ptr<CThread> other;
        if (c.changeFromAnotherThread)
            other.reset(new CThread([this] { player->ChangeState([](ChangerState& s) { s.infoTrack = 7; }); }));
        auto answered = [](const ChangerState& s) { return s.infoTrack == 7; };
        EXPECT_EQ(c.result, player->WaitForState(c.ms, answered, c.cancel)) << c.name;
    }
}

// Two places reported in turn: a copy holds one of them whole, never the disc
// of one with the track or length of the other.
TEST_F(ChangerStateTest, ReadersSeeTheWholeOfATextOrNoneOfIt)
{
    const int kTexts = 2000;
    LONG done = 0;
    CThread parser([&] {
        for (int i = 0; i < kTexts; ++i)
            player->OnStatusText(i % 2 ? "cdslr001:playing[05031234]" : "cdslr001:playing[07092130]");
        InterlockedExchange(&done, 1);
    });
    const std::set<std::vector<int>> places = {{-1, -1, -1}, {5, 3, 12}, {7, 9, 21}};
    std::set<std::vector<int>> seen;
    while (!InterlockedCompareExchange(&done, 0, 0)) {
        ChangerState s = player->GetState();
        seen.insert({s.currentDisc, s.currentTrack, s.lengthMinutes});
    }
    for (const std::vector<int>& place : seen)
        EXPECT_EQ(1u, places.count(place)) << place[0] << " " << place[1] << " " << place[2];
}

// The library's check of a disc takes the library lock, which other threads
// hold while they read a player's state: the parser asks it without the
// state's lock, or the two would wait on each other for ever.
class CReadingHost : public CFakePlayerHost
{
public:
    BOOL VerifyDiscAt(int, int, int, int, int) override
    {
        reader.reset(new CThread([this] { player->GetState(); }));
        readerEnded = reader->Join(10000);
        return TRUE;
    }
    CSonyPlayer* player = nullptr;
    std::unique_ptr<CThread> reader;   // ends once the parse lets go, if not before
    bool readerEnded = false;
};

TEST(ChangerStateCalls, TheParserCallsOutWithoutTheStateLock)
{
    CReadingHost host;
    CSonyPlayer player(&host);   // made after the host: gone before the reader is joined
    NameChangerDevices(player);
    host.player = &player;
    player.OnStatusText("cdslr001:playing[05031234]");
    EXPECT_TRUE(host.readerEnded);
    EXPECT_EQ(5, player.GetState().currentDisc);
}

} // namespace
