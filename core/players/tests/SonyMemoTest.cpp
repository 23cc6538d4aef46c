// Memo and artist transfer between a changer player and a changer that keeps
// memos, delete marks and artist tables behind a text-level path: the texts
// of the writes, acknowledgements and their absence, whole-changer uploads,
// the artist table's placement, cancels, and the front-panel typing.
#include "tests/support/TestFramework.h"

#include "core/players/ArtistTable.h"
#include "core/players/tests/ChangerTextPath.h"
#include "core/players/tests/FakePlayerHost.h"
#include "core/players/SonyPlayer.h"
#include "core/players/tests/StandIns.h"

#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/records/TaskSink.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const int kPatienceMs = 5000;

// Task calls as texts; a status may set the task's cancel flag.
class CTaskRecorder : public CTaskSink
{
public:
    int CreateTask(const char* name, TaskCancelFlag* cancelFlag, DWORD flags) override
    {
        cancel = cancelFlag;
        calls.push_back(std::string("create ") + name + " " + std::to_string(flags));
        return 7;
    }
    void EndTask(int) override { calls.push_back("end"); }
    void SetTaskStatus(int, const char* text) override
    {
        calls.push_back(std::string("status ") + text);
        if (cancelAt == text && cancel)
            *cancel = 1;
    }
    void SetTaskRange(int, int range) override { calls.push_back("range " + std::to_string(range)); }
    void SetTaskPos(int, int) override {}
    void StepTaskPos(int) override {}

    std::vector<std::string> calls;
    std::string cancelAt;
    TaskCancelFlag* cancel = nullptr;
};

class SonyMemoTest : public ::testing::Test
{
protected:
    SonyMemoTest() { library.SetHost(&libraryHost); }

    ~SonyMemoTest() override
    {
        if (player)
        {
            Settle();
            player.reset();
        }
    }

    CChangerModel& Changer(int typeCode, int capacity)
    {
        CChangerModel& changer = path.bus.Add(0, typeCode, capacity);
        host.road = &path;
        host.now = time(nullptr);
        player.reset(new CSonyPlayer(&host));
        NameChangerDevices(*player);
        player->ChangeState([&](ChangerState& s) {
            s.capacity = capacity;
            s.typeCode = typeCode;
            s.playerNumber = 0;
            s.allDiscs = 1;
        });
        path.ListenFor(*player);
        return changer;
    }

    void Settle() { ASSERT_TRUE(path.WaitUntilDelivered(kPatienceMs)); }

    // An album of changer 0 in the slot, listed as a whole-album entry.
    void AddAlbum(int slot, const char* title, const char* artist, int tracks = 2)
    {
        AlbumRecord album = library.NewAlbum();
        char id[17];
        snprintf(id, sizeof id, "%016X", slot);
        album.SetIdText(id);
        album.SetTrackCount(tracks);
        album.SetTitle(kAlbumIndex, title);
        album.SetArtist(kAlbumIndex, artist);
        for (int t = 0; t < tracks; ++t)
            album.SetTitle(t, ("Song " + std::to_string(t + 1)).c_str());
        album.SetPlayer(0);
        album.SetSlot(slot);
        album.SetPresent(true);
        library.AppendAlbum(album);
        entries.AddItem(CLibItem(id, -1));
    }

    // The texts sent since the last call that hold word.
    std::vector<std::string> SentWith(const std::string& word)
    {
        std::vector<std::string> found;
        for (const std::string& text : path.TakeSent())
        {
            if (text.find(word) != std::string::npos)
                found.push_back(text);
        }
        return found;
    }

    CFakePlayerHost host;
    CChangerTextPath path;
    std::unique_ptr<CSonyPlayer> player;
    CLibraryHostStandIn libraryHost;
    CMusicLibrary library;
    CPlayList entries{library};
    CTaskRecorder tasks;
    TaskCancelFlag cancel{0};
};

TEST_F(SonyMemoTest, MemoTextsGoOutInOneOrTwoPartsByModel)
{
    const std::string p45 = " cdsls001:ir[-45000] ";
    const std::string first13 = "54776f20506172742054657874";   // "Two Part Text"
    const struct
    {
        int capacity;
        int slot;
        std::vector<std::string> texts;
        std::string kept;
    } cases[] = {
        {400, 12, {"cdsls001:set_memo_text[12" + first13 + "]" + p45,
                   "cdsls001:set_memo_text2[1202" + std::string("2047726f777320") + "]" + p45},
         "Two Part Text Grows "},
        {300, 12, {"cdsls001:set_memo_text[12" + first13 + "]" + p45}, "Two Part Text"},
        {400, 210, {"cdsls004a:set_memo_text[0a" + first13 + "]" + p45,
                    "cdsls004a:set_memo_text2[0a02" + std::string("2047726f777320") + "]" + p45},
         "Two Part Text Grows "},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.capacity);
        CChangerModel& changer = Changer(107, c.capacity);
        EXPECT_TRUE(player->WriteMemoText(c.slot, "Two Part Text Grows Longer", &cancel));
        EXPECT_EQ(c.texts, SentWith("set_memo"));
        EXPECT_EQ(c.kept, changer.Memo(c.slot).substr(0, c.kept.size()));
        Settle();
    }
}

TEST_F(SonyMemoTest, AnUnacknowledgedWriteIsSentThreeTimesThenTheNextSlotFollows)
{
    CChangerModel& changer = Changer(107, 200);
    changer.Faults().unacknowledged = 3;
    AddAlbum(3, "First", "A");
    AddAlbum(9, "Second", "B");
    EXPECT_TRUE(player->DownloadMemos(entries, FALSE, &tasks));
    std::vector<std::string> sent = SentWith("set_memo_text[");
    ASSERT_EQ(4u, sent.size());
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(std::string::npos, sent[i].find("set_memo_text[03")) << i;
    EXPECT_NE(std::string::npos, sent[3].find("set_memo_text[09"));
    EXPECT_EQ("Second", changer.Memo(9).substr(0, 6));
}

TEST_F(SonyMemoTest, AllSlotsWritesEverySlotClearingThoseWithoutAnEntry)
{
    CChangerModel& changer = Changer(107, 200);
    ChangerDisc old;
    old.tracks = {100};
    old.memo = "Old memo";
    changer.SetDisc(50, old);
    AddAlbum(1, "One", "A");
    AddAlbum(100, "Hundred", "B");
    AddAlbum(200, "Two Hundred", "C");
    EXPECT_TRUE(player->DownloadMemos(entries, TRUE, &tasks));
    std::vector<std::string> sent = SentWith("set_memo_text[");
    EXPECT_EQ(200u, sent.size());
    const std::string blank = "20202020202020202020202020]";
    EXPECT_EQ(197, std::count_if(sent.begin(), sent.end(),
                                 [&](const std::string& t) { return t.find(blank) != std::string::npos; }));
    EXPECT_EQ(std::string(13, ' '), changer.Memo(50));
    EXPECT_EQ("Hundred      ", changer.Memo(100));
    EXPECT_EQ((std::vector<std::string>{"create CD 1 Download 1", "status Disc Memos", "range 200", "end"}),
              tasks.calls);
}

// The 400-disc changers keep artist names and a number per slot.
TEST_F(SonyMemoTest, ArtistsKeepTheirNumbersAndASecondUploadWritesNothing)
{
    CChangerModel& changer = Changer(107, 400);
    changer.SetArtist(17, "Known Band");
    changer.SetArtist(2, "Nobody Listens");
    changer.SetSlotArtist(40, 2);
    for (int a = 3; a <= 200; ++a)
    {
        if (a != 17)
            changer.SetArtist(a, "Filler " + std::to_string(a));
        changer.SetSlotArtist(100 + a, a);   // every record but 1 and 2 in use once more
    }
    AddAlbum(5, "Known One", "Known Band");
    AddAlbum(6, "Known Two", "Known Band   ");
    AddAlbum(7, "New One", "New Band");
    AddAlbum(301, "Upper", "New Band");
    EXPECT_TRUE(player->DownloadMemos(entries, FALSE, &tasks));
    Settle();
    // 17 stays; the new name takes record 1, used by no slot.
    EXPECT_TRUE(SentWith("set_artist_memo[11").empty());
    EXPECT_EQ("New Band            ", changer.Artist(1));
    EXPECT_EQ(17, changer.SlotArtist(5));
    EXPECT_EQ(17, changer.SlotArtist(6));
    EXPECT_EQ(1, changer.SlotArtist(7));
    EXPECT_EQ(1, changer.SlotArtist(301));
    EXPECT_EQ(2, changer.SlotArtist(40));
    EXPECT_EQ(CString("New Band            "), player->GetArtistText(1));

    EXPECT_TRUE(player->DownloadMemos(entries, FALSE, &tasks));
    Settle();
    std::vector<std::string> again = path.TakeSent();
    EXPECT_EQ(0, std::count_if(again.begin(), again.end(), [](const std::string& t) {
                  return t.find("set_artist") != std::string::npos || t.find("query_artist") != std::string::npos;
              }));
}

TEST_F(SonyMemoTest, ArtistsBeyondTheTableLeaveReservedRecordsAlone)
{
    CChangerModel& changer = Changer(107, 400);
    // 201 names; the first has two discs and so comes first.
    for (int slot = 1; slot <= 201; ++slot)
        AddAlbum(slot, "Disc", ("Band " + std::to_string(slot)).c_str(), 1);
    AddAlbum(202, "Disc", "Band 1", 1);
    EXPECT_TRUE(player->DownloadMemos(entries, FALSE, &tasks));
    Settle();
    EXPECT_EQ("Band 1              ", changer.Artist(1));
    EXPECT_EQ(1, changer.SlotArtist(1));
    EXPECT_EQ(1, changer.SlotArtist(202));
    EXPECT_EQ(200, changer.SlotArtist(200));
    EXPECT_EQ(0, changer.SlotArtist(201));
}

TEST(ArtistTable, PlacementByTable)
{
    auto records = [](std::vector<std::pair<const char*, int>> table) {
        std::vector<ArtistRecord> out;
        for (size_t i = 0; i < table.size(); ++i)
            out.push_back({table[i].first, int(i) + 1, table[i].second});
        return out;
    };
    const struct
    {
        std::vector<std::pair<const char*, int>> before;   // name, usage
        std::vector<CString> wanted;
        std::vector<const char*> after;
    } cases[] = {
        {{{"A", 3}, {"B", 0}, {"C", 1}}, {"C", "D"}, {"A", "D", "C"}},
        // A held name is kept even when a new name comes first and its record is the least used.
        {{{"A", 5}, {"B", 0}, {"C", 2}}, {"D", "B"}, {"A", "B", "D"}},
        {{{"A", 1}, {"B", 1}}, {"C", "D", "E"}, {"C", "D"}},
        {{{"A", 0}, {"B", 0}}, {"A", "B", "C"}, {"A", "B"}},
    };
    for (const auto& c : cases)
    {
        std::vector<ArtistRecord> table = records(c.before);
        PlaceArtists(table, c.wanted);
        std::vector<const char*> names;
        for (const ArtistRecord& r : table)
            names.push_back(r.name);
        ASSERT_EQ(c.after.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_STREQ(c.after[i], names[i]) << i;
    }
    EXPECT_EQ((std::vector<CString>{"B", "A", "C"}), RankArtists({"A", "B", "", "B", "C", "A", "B", ""}));
}

TaskCancelFlag* g_cancelByTimer;

void CALLBACK CancelByTimer(HWND, UINT, UINT_PTR, DWORD)
{
    *g_cancelByTimer = 1;
}

// The cancel arrives while the changer keeps the first part unacknowledged.
TEST_F(SonyMemoTest, ACancelledArtistWriteKeepsNoName)
{
    CChangerModel& changer = Changer(107, 400);
    changer.Faults().unacknowledged = 100;
    g_cancelByTimer = &cancel;
    UINT_PTR timer = SetTimer(nullptr, 0, 300, CancelByTimer);
    EXPECT_TRUE(player->WriteArtistMemo(5, "Cut Short", &cancel));
    KillTimer(nullptr, timer);
    EXPECT_EQ(1u, SentWith("set_artist_memo[0501").size());
    EXPECT_EQ(CString("XXXXXXXXXXXXXXXXXXXX"), player->GetArtistText(5));
}

// The variants that do not wait keep the new values at once.
TEST_F(SonyMemoTest, WritesWithoutWaitingKeepTheirValuesAtOnce)
{
    CChangerModel& changer = Changer(107, 400);
    changer.Faults().unacknowledged = 100;
    player->WriteArtistMemoOnce(3, "Quick");
    player->SetArtistOnce(205, 3);
    const std::string p45 = " cdsls001:ir[-45000] ";
    EXPECT_EQ((std::vector<std::string>{"cdsls001:set_artist_memo[0301517569636b2020202020202020]" + p45,
                                        "cdsls001:flush[2000]",
                                        "cdsls001:set_artist_memo[030220202020202020]" + p45,
                                        "cdsls001:flush[2000]", "cdsls004a:set_artist[0503]" + p45,
                                        "cdsls001:flush[2000]"}),
              path.TakeSent());
    EXPECT_EQ(CString("Quick               "), player->GetArtistText(3));
    EXPECT_EQ(3, player->GetState().discArtists[205]);
}

TEST_F(SonyMemoTest, ACancelFromTheTaskEndsTheUploadAndTheTask)
{
    Changer(107, 400);
    AddAlbum(5, "One", "A");
    tasks.cancelAt = "Disc Memos";
    EXPECT_TRUE(player->DownloadMemos(entries, TRUE, &tasks));
    EXPECT_TRUE(SentWith("set_").empty());
    EXPECT_EQ("end", tasks.calls.back());
}

TEST_F(SonyMemoTest, TheDownloadTakesOnlyAnswersForTheAskedDisc)
{
    CChangerModel& changer = Changer(107, 200);
    ChangerDisc disc;
    disc.tracks = {100, 100, 100};
    disc.memo = "Memo Three";
    disc.deleteFile = std::string(1, char(0x05));
    changer.SetDisc(3, disc);
    disc.memo = "Memo Four";
    changer.SetDisc(4, disc);
    CString memo;
    BYTE bits[CSonyPlayer::kDeleteFileBytes] = {};
    ASSERT_TRUE(player->ReadMemo(3, memo, &cancel));
    EXPECT_EQ(CString("Memo Three"), memo);
    ASSERT_TRUE(player->ReadDeleteFile(3, bits, &cancel));
    EXPECT_EQ(0x05, bits[0]);
    Settle();
    changer.Faults().lateAnswers = true;
    EXPECT_FALSE(player->ReadMemo(3, memo, &cancel));
    EXPECT_FALSE(player->ReadMemo(4, memo, &cancel));   // the late answer is slot 3's
    EXPECT_FALSE(player->ReadDeleteFile(4, bits, &cancel));
}

// Type 27 takes memos from its keypad only; slots above 200 are the second
// player's, chosen by the player_select key.
TEST_F(SonyMemoTest, KeypadChangersGetMemosTypedWithTheUpperSlotsSelected)
{
    Changer(27, 300);
    AddAlbum(250, "Ab", "C", 1);
    EXPECT_TRUE(player->DownloadMemos(entries, FALSE, &tasks));
    std::vector<std::string> keys;
    for (const std::string& text : path.TakeSent())
    {
        if (text.compare(0, 8, "cdca001:") == 0)
            keys.push_back(text.substr(8, text.find_first_of(" [") - 8));
    }
    ASSERT_GE(keys.size(), 12u);
    EXPECT_EQ((std::vector<std::string>{"sl", "sl", "sl", "sl", "memo_scan", "player_select", "disc", "5", "0",
                                        "memo_input", "enter", "clear"}),
              std::vector<std::string>(keys.begin(), keys.begin() + 12));
    EXPECT_EQ((std::vector<std::string>{"memo_scan", "player_select"}),
              std::vector<std::string>(keys.end() - 2, keys.end()));
    EXPECT_EQ((std::vector<std::string>{"create CD 1 Download 1", "status Disc/Artist/Track Memos", "range 1", "end"}),
              tasks.calls);
}

} // namespace
