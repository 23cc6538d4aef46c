#include "DocFixture.h"
#include "MessageBoxScript.h"

#include "SonyPlayer.h"

#include <functional>

namespace {

const char kAlbumA[] = "000000000000000A";
const char kAlbumB[] = "000000000000000B";
const char kAlbumC[] = "000000000000000C";
const time_t kStart = 1700000000;

Texts Events(const Texts& trace)
{
    Texts events;
    for (const std::string& line : trace)
    {
        if (line.compare(0, 6, "event ") == 0)
            events.push_back(line.substr(6));
    }
    return events;
}

class TickTest : public DocFixture
{
protected:
    void OpenAt(time_t now)
    {
        Open();
        m_doc->GetClock().Set(now);
    }
    void Advance(int seconds) { m_doc->GetClock().Advance(seconds * 1000LL); }
};

TEST_F(TickTest, TheFirstTickStartsTheSystemAndTheStartupEventsFollowOnce)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    m_doc->RunTick();
    Texts trace = m_trace.Take();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ("views", trace.front());
    EXPECT_EQ(Texts({ "first_pre_startup", "pre_startup", "first_startup", "startup" }), Events(trace));
    m_doc->RunTick();
    EXPECT_EQ(Texts(), Events(m_trace.Take()));
}

TEST_F(TickTest, TheSavedPlayListIsRestoredOnce)
{
    Option("Auto Locate Tavlins", 0);
    m_app.WriteProfileString("Current Playlist", "Playlist", "ZYM Playlist V1.1\n000000000000000A 1\n");
    m_app.WriteProfileInt("Current Playlist", "Pointer", 0);
    OpenAt(kStart);
    AddMp3Album(kAlbumA, 2);
    m_doc->RunTick();
    ASSERT_EQ(1, m_doc->GetPlayList()->GetCount());
    EXPECT_EQ(1, m_doc->GetPlayList()->GetItem(0).GetTrack());
    m_doc->GetPlayList()->Clear();
    m_doc->RunTick();
    EXPECT_EQ(0, m_doc->GetPlayList()->GetCount());
}

TEST_F(TickTest, RandomPlayFillsOneEntryATickAndTrimsBehind)
{
    Option("Auto Locate Tavlins", 0);
    Option("Playlist Fill Size", 3);
    Option("Playlist Tail Size", 1);
    Option("Alternate Players", 0);
    OpenAt(kStart);
    AddMp3Album(kAlbumA, 4);
    AddMp3Album(kAlbumB, 4);
    m_doc->RunTick();
    const struct
    {
        int pointer;   // set before the tick
        int count, remaining;
    } ticks[] = {
        { -1, 2, 1 }, { -1, 3, 2 }, { -1, 4, 3 }, { -1, 4, 3 },
        // Two behind the pointer: one goes.
        { 2, 4, 2 },
        { -1, 5, 3 },
    };
    m_doc->OnPlaylistRandom();   // runs one tick itself
    CPlayList& list = *m_doc->GetPlayList();
    EXPECT_EQ(1, list.GetCount());
    int row = 0;
    for (const auto& tick : ticks)
    {
        SCOPED_TRACE(row++);
        if (tick.pointer >= 0)
            list.SetPointer(tick.pointer);
        m_doc->RunTick();
        EXPECT_EQ(tick.count, list.GetCount());
        EXPECT_EQ(tick.remaining, list.GetRemainingCount());
    }
}

TEST_F(TickTest, AutoSaveWaitsForItsInterval)
{
    Option("Auto Locate Tavlins", 0);
    Option("Auto Save Interval", 2);
    OpenAt(kStart);
    m_doc->RunTick();
    AddMp3Album(kAlbumA, 1);
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    const struct
    {
        int advance;
        bool change;
        bool saved;
    } ticks[] = {
        // The start-up's tick began the interval.
        { 60, true, false },
        { 60, false, false },
        { 1, false, true },
        { 10, true, false },
        { 121, false, true },
    };
    // The first save makes the library file from the template.
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    int row = 0;
    for (const auto& tick : ticks)
    {
        SCOPED_TRACE(row++);
        Advance(tick.advance);
        if (tick.change)
        {
            library.MarkAllChanged();
            library.SetModified(true);
        }
        m_trace.Take();
        m_doc->RunTick();
        Texts trace = m_trace.Take();
        bool saved = std::find(trace.begin(), trace.end(), "event library_save_end") != trace.end();
        EXPECT_EQ(tick.saved, saved);
    }
    EXPECT_FALSE(library.IsModified());
    EXPECT_TRUE(m_folder.Exists("library.mdb"));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.Unscripted());
}

// A changer that reports a slot empty: its album is marked absent and
// changed, also when the report comes in the same second as a re-sync.
TEST_F(TickTest, ReSyncWithAChangerThatFoundSlotsEmpty)
{
    Option("Auto Locate Tavlins", 0);
    Option("Auto Save DB X", 0);
    OpenAt(kStart);
    CMessageBoxScript boxes;   // the changer's devices have no unit here
    m_doc->RunTick();
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
    CSonyPlayer* changer = m_doc->GetSonyControl()->GetPlayer(0);
    changer->m_capacity = 200;
    AddChangerAlbum(kAlbumA, 0, 5);
    AddChangerAlbum(kAlbumB, 0, 6);
    AddChangerAlbum(kAlbumC, 0, 7);
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    library.SetModified(false);
    auto present = [&](const char* id) {
        AlbumRecord album;
        library.GetAlbumAt(library.FindAlbumIndex(id), album);
        return album.IsPresent();
    };

    changer->m_slots[5 - 1] = CSonyPlayer::kSlotKnown;
    changer->m_slots[7 - 1] = CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotHasDisc;
    changer->m_changeStamp = kStart;
    m_doc->RunTick();
    EXPECT_FALSE(present(kAlbumA));
    EXPECT_TRUE(present(kAlbumB));
    EXPECT_TRUE(present(kAlbumC));
    EXPECT_TRUE(library.IsModified());

    // Later in the same second.
    changer->m_slots[6 - 1] = CSonyPlayer::kSlotKnown;
    m_doc->RunTick();
    EXPECT_FALSE(present(kAlbumB));
    EXPECT_TRUE(present(kAlbumC));
    Close();
}

// A window whose messages run what the test gives, to act inside the pumps.
class CPumpProbe
{
public:
    CPumpProbe()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZymDocPumpProbe";
        RegisterClassA(&windowClass);
        m_window = CreateWindowA("ZymDocPumpProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CPumpProbe() { DestroyWindow(m_window); }
    void Post(std::function<void()> action)
    {
        m_actions.push_back(action);
        PostMessageA(m_window, WM_USER, 0, 0);
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CPumpProbe* self = reinterpret_cast<CPumpProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_USER || !self || self->m_actions.empty())
            return DefWindowProcA(window, message, wParam, lParam);
        std::function<void()> action = self->m_actions.front();
        self->m_actions.erase(self->m_actions.begin());
        action();
        return 0;
    }

    HWND m_window;
    std::vector<std::function<void()>> m_actions;
};

class CRecordingRunner : public CCommandRunner
{
public:
    void ExecuteCommand(const char* command) override
    {
        commands.push_back(std::string("begin ") + command);
        if (nested)
            nested();
        commands.push_back(std::string("end ") + command);
    }
    Texts commands;
    std::function<void()> nested;
};

TEST_F(TickTest, ATickOrCloseInsideTheStartUpWaitsForIt)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    CPumpProbe probe;
    BOOL closeAllowed = TRUE;
    probe.Post([&] {
        m_trace.Add("nested tick");
        m_doc->RunTick();
        closeAllowed = m_doc->SaveModified();
        m_trace.Add("close asked");
    });
    PostQuitMessage(7);
    m_doc->RunTick();
    EXPECT_FALSE(closeAllowed);
    Texts trace = m_trace.Take();
    // The nested tick ran no second start-up; the close came after the start-up.
    EXPECT_EQ(1, std::count(trace.begin(), trace.end(), "views"));
    auto asked = std::find(trace.begin(), trace.end(), "close asked");
    auto tip = std::find(trace.begin(), trace.end(), "tip");
    auto close = std::find(trace.begin(), trace.end(), "close");
    ASSERT_TRUE(asked != trace.end() && tip != trace.end() && close != trace.end());
    EXPECT_LT(asked, tip);
    EXPECT_LT(tip, close);
    // The quit the start-up's pump took is waiting again.
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, message.wParam);
}

TEST_F(TickTest, QueuedCommandsRunOneAfterTheOtherAlsoWhenOneTicks)
{
    Option("Auto Locate Tavlins", 0);
    OpenAt(kStart);
    m_doc->RunTick();
    CRecordingRunner runner;
    m_doc->SetCommandRunner(&runner);
    CZYMAutomation& queue = m_doc->GetAutomation();
    runner.nested = [&] { m_doc->RunTick(); };
    queue.OnReceive("zym:play");
    queue.OnReceive("zym:next");
    m_doc->RunTick();
    EXPECT_EQ(Texts({ "begin play", "end play", "begin next", "end next" }), runner.commands);
    EXPECT_TRUE(queue.IsEmpty());
}

} // namespace
