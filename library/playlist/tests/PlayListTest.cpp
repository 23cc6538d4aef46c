#include "tests/support/TestFramework.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include "library/playlist/PlayList.h"

#include "platform/crt/Random.h"
#include "library/keywords/KeywordStat.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// Albums of the fixture library: id, player, slot, present, track lengths.
const char kA[] = "000000000000000A"; // changer 0, three tracks
const char kB[] = "000000000000000B"; // changer 0, two tracks
const char kC[] = "000000000000000C"; // changer 1, two tracks
const char kD[] = "000000000000000D"; // MP3 player, two tracks
const char kE[] = "000000000000000E"; // changer 2, not available
const char kF[] = "000000000000000F"; // changer 0, two tracks
const char kMissing[] = "00000000000000FF";

const char kTestRegistryKey[] = "ZymPlayListTest";

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("Zym") { SetRegistryKey(kTestRegistryKey); }
    ~CTestApp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestRegistryKey).c_str());
    }
};

class CPlayersHost : public CLibraryHost
{
public:
    void FireEvent(const char*) override {}
    void ThreadStarted(const char*) override {}
    void ThreadEnded() override {}
    bool IsPlayerAvailable(int player) override { return player != 2; }
};

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, got);
    fclose(file);
    return bytes;
}

std::vector<std::string> FolderFiles(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (struct dirent* entry = readdir(dir))
    {
        if (entry->d_name[0] != '.')
            names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_TRUE(file != nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string FixturePath(const char* name)
{
    return SourcePath(std::string("library/playlist/tests/fixtures/") + name);
}

class PlayListTest : public ::testing::Test
{
protected:
    PlayListTest() : m_list(m_library)
    {
        m_library.SetHost(&m_host);
        AddAlbum(kA, 0, 1, true, {200, 100, 300});
        AddAlbum(kB, 0, 2, true, {150, 250});
        AddAlbum(kC, 1, 1, true, {120, 60});
        AddAlbum(kD, kMp3Player, 0, true, {180, 20});
        AddAlbum(kE, 2, 4, true, {240, 240});
        AddAlbum(kF, 0, 3, true, {90, 90});
    }

    void AddAlbum(const char* id, int player, int slot, bool present, std::vector<int> seconds)
    {
        AlbumRecord album = m_library.NewAlbum();
        album.SetIdText(id);
        album.SetTrackCount(static_cast<int>(seconds.size()));
        for (size_t t = 0; t < seconds.size(); ++t)
            album.SetPlayTime(static_cast<int>(t), seconds[t]);
        album.SetPlayer(player);
        album.SetSlot(slot);
        album.SetPresent(present);
        m_library.AppendAlbum(album);
    }

    void SetNeverPlay(const char* id, int track)
    {
        CLibraryLock lock(m_library);
        m_library.GetAlbumPtr(lock, m_library.FindAlbumIndex(id))->SetNeverPlay(track, true);
    }

    // Entries written "X:track" with the id's last character: "A:1" is track 1 of
    // kA, "A:-1" the whole album.
    void Fill(CPlayList& list, const std::vector<std::string>& entries)
    {
        list.Clear();
        for (const std::string& entry : entries)
            list.AddItem(Item(entry));
    }

    static CLibItem Item(const std::string& entry)
    {
        std::string id = std::string(15, '0') + entry[0];
        return CLibItem(id.c_str(), atoi(entry.c_str() + 2));
    }

    static std::vector<std::string> Entries(const CPlayList& list)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < list.GetCount(); ++i)
        {
            CLibItem item = list.GetItem(i);
            entries.push_back(std::string(1, item.GetId()[item.GetId().GetLength() - 1]) + ":" +
                              std::to_string(item.GetTrack()));
        }
        return entries;
    }

    std::vector<std::string> Entries() const { return Entries(m_list); }

    CPlayersHost m_host;
    CMusicLibrary m_library;
    CPlayList m_list;
};

} // namespace

TEST_F(PlayListTest, FileIsWrittenAndReadBackByteForByte)
{
    CTempFolder folder("zym-playlist");
    ASSERT_TRUE(folder.IsValid());
    const char* fixtures[] = {"mixed.pla", "empty.pla"};
    for (const char* name : fixtures)
    {
        CMessageBoxScript boxes;
        m_list.Clear();
        ASSERT_TRUE(m_list.LoadFromFile(WindowsPath(FixturePath(name)).c_str(), -1)) << name;
        std::string copy = folder.WindowsPath(name);
        ASSERT_TRUE(m_list.SaveToFile(copy.c_str()));
        EXPECT_EQ(ReadFileBytes(FixturePath(name)), ReadFileBytes(folder.UnixPath(name))) << name;
        EXPECT_EQ(copy, std::string(m_list.GetFileName()));
        EXPECT_TRUE(boxes.Shown().empty());
    }
    EXPECT_EQ(std::string("ZYM Playlist V1.1\n"), std::string(m_list.GetText()));
}

TEST_F(PlayListTest, LoadedEntriesGoWhereTheyAreAskedWithoutThePointer)
{
    const struct
    {
        int index;
        std::vector<std::string> expected;
    } cases[] = {
        {-1, {"B:0", "B:1", "A:-1", "A:2", "C:0", "D:1"}},
        {1, {"B:0", "A:-1", "A:2", "C:0", "D:1", "B:1"}},
        {0, {"A:-1", "A:2", "C:0", "D:1", "B:0", "B:1"}},
        {99, {"B:0", "B:1", "A:-1", "A:2", "C:0", "D:1"}},
    };
    std::string path = WindowsPath(FixturePath("mixed.pla"));
    for (const auto& c : cases)
    {
        Fill(m_list, {"B:0", "B:1"});
        m_list.SetPointer(1);
        ASSERT_TRUE(m_list.LoadFromFile(path.c_str(), c.index));
        EXPECT_EQ(c.expected, Entries()) << c.index;
        EXPECT_EQ(c.index == 0 || c.index == 1 ? 5 : 1, m_list.GetPointer()) << c.index;
    }
}

TEST_F(PlayListTest, DamagedFilesKeepWhatIsValidAndSayWhy)
{
    const char kMissingText[] =
        "At least one of the discs referred to in the playlist was not found in the disc library. "
        "These disc(s) were not included in the playlist.";
    const char kNotValid[] = " is not a valid playlist file.";
    const std::string header = "ZYM Playlist V1.1\r\n";
    const struct
    {
        const char* name;
        std::string bytes;
        bool loads;
        const char* message; // after the path for kNotValid, else whole
        std::vector<std::string> expected;
    } cases[] = {
        {"other version", "ZYM Playlist V9\r\n000000000000000A -1\r\n", true, nullptr, {"A:-1"}},
        {"bare line feeds", "ZYM Playlist V1.1\n000000000000000B 1\n", true, nullptr, {"B:1"}},
        {"wrong header", "Playlist V1.1\r\n000000000000000A -1\r\n", false, kNotValid, {}},
        {"mark inside a line", "Notes on the ZYM Playlist V1.1\r\n000000000000000A -1\r\n", false, kNotValid, {}},
        {"text after the header", "ZYM Playlist V1.1 of mine\r\n000000000000000A -1\r\n", false, kNotValid, {}},
        {"mark without a version", "ZYM Playlist\r\n000000000000000A -1\r\n", true, nullptr, {"A:-1"}},
        {"empty file", "", false, kNotValid, {}},
        {"header too long", std::string(100, 'x') + "ZYM Playlist V1.1\r\n000000000000000A 0\r\n", false,
         kNotValid, {}},
        {"truncated", header + "000000000000000A 1\r\n000000000000000B", true, nullptr, {"A:1"}},
        {"unknown id", header + "00000000000000FF 2\r\n000000000000000A 0\r\n0000000000000EEE 1\r\n", true,
         kMissingText, {"A:0"}},
        {"long line", header + std::string(5000, 'x') + " 1\r\n000000000000000C 1\r\n", true, nullptr,
         {"C:1"}},
        {"long number", header + std::string(5000, '7') + " 1\r\n000000000000000C 1\r\n", true, kMissingText,
         {"C:1"}},
        {"binary junk", header + std::string("\x01\xff\x00\x80 -\r\r\x00 9\n", 12) + "000000000000000B -1\r\n",
         true, nullptr, {"B:-1"}},
        {"junk before a line", header + std::string("\x00\x00", 2) + "000000000000000D 0\r\n", true, nullptr,
         {"D:0"}},
    };
    CTempFolder folder("zym-playlist");
    for (const auto& c : cases)
    {
        WriteFileBytes(folder.UnixPath("bad.pla"), c.bytes);
        std::string path = folder.WindowsPath("bad.pla");
        m_list.Clear();
        CMessageBoxScript boxes;
        EXPECT_EQ(c.loads, m_list.LoadFromFile(path.c_str(), -1)) << c.name;
        EXPECT_EQ(c.expected, Entries()) << c.name;
        std::vector<ShownMessageBox> shown = boxes.Shown();
        if (!c.message)
        {
            EXPECT_TRUE(shown.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(1u, shown.size()) << c.name;
        std::string expected = c.message == kNotValid ? path + kNotValid : c.message;
        EXPECT_EQ(expected, shown[0].text) << c.name;
        EXPECT_EQ(c.loads ? path : "", std::string(m_list.GetFileName())) << c.name;
    }
}

TEST_F(PlayListTest, FilesThatCannotBeOpenedAreReportedAndChangeNothing)
{
    CTempFolder folder("zym-playlist");
    Fill(m_list, {"A:0"});
    std::string missing = folder.WindowsPath("absent.pla");
    std::string unwritable = folder.WindowsPath("no-such-folder\\list.pla");
    CMessageBoxScript boxes;
    EXPECT_FALSE(m_list.LoadFromFile(missing.c_str(), -1));
    EXPECT_FALSE(m_list.SaveToFile(unwritable.c_str()));
    std::vector<ShownMessageBox> shown = boxes.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Unable to open playlist " + missing, shown[0].text);
    EXPECT_EQ("Error saving playlist " + unwritable, shown[1].text);
    EXPECT_EQ(std::vector<std::string>({"A:0"}), Entries());
    EXPECT_EQ("", std::string(m_list.GetFileName()));
}

// A save that fails half-way (here: no file may grow past 2 KB) leaves the
// old file whole and no temporary file behind.
TEST_F(PlayListTest, AFailedSaveLeavesTheOldFileWhole)
{
    CTempFolder folder("zym-playlist");
    ASSERT_TRUE(folder.IsValid());
    std::string path = folder.WindowsPath("list.pla");
    Fill(m_list, {"A:0", "B:1"});
    ASSERT_TRUE(m_list.SaveToFile(path.c_str()));
    const std::string saved = ReadFileBytes(folder.UnixPath("list.pla"));
    for (int i = 0; i < 200; ++i)
        m_list.AddItem(Item("C:1"));
    CMessageBoxScript boxes;
    bool result;
    {
        CFileSizeLimit full(2048);
        ASSERT_TRUE(full.IsSet());
        result = m_list.SaveToFile(path.c_str());
    }
    EXPECT_FALSE(result);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Error saving playlist " + path, boxes.Shown()[0].text);
    EXPECT_EQ(saved, ReadFileBytes(folder.UnixPath("list.pla")));
    EXPECT_EQ(std::vector<std::string>({"list.pla"}), FolderFiles(folder.UnixPath("")));
}

TEST_F(PlayListTest, ProfileCopyKeepsEntriesAndPointerAndAppends)
{
    CTestApp app;
    Fill(m_list, {"A:-1", "C:1", "D:0"});
    m_list.SetPointer(2);
    m_list.SaveToProfile("Current Playlist");
    EXPECT_EQ(std::string("ZYM Playlist V1.1\n000000000000000A -1\n000000000000000C 1\n000000000000000D 0\n"),
              std::string(app.GetProfileString("Current Playlist", "Playlist")));

    CPlayList restored(m_library);
    restored.AddItem(Item("B:1"));
    restored.LoadFromProfile("Current Playlist");
    EXPECT_EQ(std::vector<std::string>({"B:1", "A:-1", "C:1", "D:0"}), Entries(restored));
    EXPECT_EQ(2, restored.GetPointer());
}

TEST_F(PlayListTest, PositionWords)
{
    const struct
    {
        bool loop;
        int pointer;
        const char* word;
        bool ok;
        int position;
    } cases[] = {
        {false, 1, "top", true, 0},     {false, 1, "bottom", true, 3}, {false, 1, "next", true, 2},
        {false, 1, "prev", true, 0},    {false, 1, "cur", true, 1},    {false, 3, "next", true, 4},
        {false, 0, "prev", true, -1},   {false, 1, "0", true, 0},      {false, 1, "1", true, 0},
        {false, 1, "4", true, 3},       {false, 1, "5", false, 0},     {false, 1, "-1", false, 0},
        {false, 1, "Top", false, 0},    {false, 1, "last", false, 0},  {false, 1, "", false, 0},
        {true, 3, "next", true, 0},     {true, 0, "prev", true, 3},    {true, 1, "4", true, 3},
        {true, 1, "bottom", true, 3},   {true, 2, "cur", true, 2},
    };
    Fill(m_list, {"A:0", "A:1", "B:0", "C:0"});
    for (const auto& c : cases)
    {
        m_list.SetLoop(c.loop);
        m_list.SetPointer(c.pointer);
        int position = 0;
        EXPECT_EQ(c.ok, m_list.ParsePosition(c.word, position)) << c.word << " at " << c.pointer;
        if (c.ok)
        {
            EXPECT_EQ(c.position, position) << c.word << " at " << c.pointer;
        }
    }
    for (int seed = 1; seed < 20; ++seed)
    {
        MsSrand(seed);
        int position = -1;
        ASSERT_TRUE(m_list.ParsePosition("random", position));
        m_list.SetLoop(false);
        EXPECT_GE(position, 0);
        EXPECT_LE(position, 4);
    }
}

enum PointerOp
{
    kRemoveAt,
    kInsertAt,
    kSetPointer,
    kNext,
    kPrevious,
};

TEST_F(PlayListTest, PointerRules)
{
    const struct
    {
        int count;
        int pointer;
        bool loop;
        PointerOp op;
        int argument;
        int expectedPointer;
        int expectedCount;
        bool result;
    } cases[] = {
        {4, 2, false, kRemoveAt, 0, 1, 3, true},    {4, 2, false, kRemoveAt, 2, 2, 3, true},
        {4, 3, false, kRemoveAt, 3, 2, 3, true},    {4, 2, false, kRemoveAt, 3, 2, 3, true},
        {4, 2, false, kRemoveAt, 4, 2, 4, true},    {4, 2, false, kRemoveAt, -1, 2, 4, true},
        {1, 0, false, kRemoveAt, 0, 0, 0, true},    {4, 2, false, kInsertAt, 0, 3, 5, true},
        {4, 2, false, kInsertAt, 2, 3, 5, true},    {4, 2, false, kInsertAt, 3, 2, 5, true},
        {4, 2, false, kInsertAt, -5, 3, 5, true},   {4, 2, false, kInsertAt, 99, 2, 5, true},
        {0, 0, false, kInsertAt, 0, 0, 1, true},    {4, 0, false, kSetPointer, 3, 3, 4, true},
        {4, 0, false, kSetPointer, 9, 4, 4, true},  {4, 2, false, kSetPointer, -1, 4, 4, true},
        {4, 3, false, kNext, 0, 3, 4, false},       {4, 3, true, kNext, 0, 0, 4, true},
        {4, 1, false, kNext, 0, 2, 4, true},        {4, 0, false, kPrevious, 0, 0, 4, false},
        {4, 0, true, kPrevious, 0, 3, 4, true},     {0, 0, true, kPrevious, 0, 0, 0, false},
        {4, 2, false, kPrevious, 0, 1, 4, true},
    };
    const std::vector<std::string> all = {"A:0", "A:1", "B:0", "C:0"};
    for (size_t n = 0; n < sizeof(cases) / sizeof(cases[0]); ++n)
    {
        const auto& c = cases[n];
        Fill(m_list, std::vector<std::string>(all.begin(), all.begin() + c.count));
        m_list.SetPointer(c.pointer);
        m_list.SetLoop(c.loop);
        bool result = true;
        switch (c.op)
        {
        case kRemoveAt:
            m_list.RemoveAt(c.argument);
            break;
        case kInsertAt:
            m_list.InsertItem(Item("D:0"), c.argument);
            break;
        case kSetPointer:
            m_list.SetPointer(c.argument);
            break;
        case kNext:
            result = m_list.Next();
            break;
        case kPrevious:
            result = m_list.Previous();
            break;
        }
        EXPECT_EQ(c.result, result) << "case " << n;
        EXPECT_EQ(c.expectedPointer, m_list.GetPointer()) << "case " << n;
        EXPECT_EQ(c.expectedCount, m_list.GetCount()) << "case " << n;
    }
    Fill(m_list, all);
    m_list.SetPointer(9);
    EXPECT_TRUE(m_list.GetCurrentItem().GetId().IsEmpty());
    EXPECT_EQ(-1, m_list.GetRemainingCount());
}

TEST_F(PlayListTest, InsertListMayTakeThePointer)
{
    CPlayList other(m_library);
    Fill(other, {"C:0", "C:1", "D:0"});
    other.SetPointer(2);
    const struct
    {
        int index;
        bool takePointer;
        int expectedPointer;
    } cases[] = {{0, false, 4}, {2, false, 1}, {1, true, 3}, {9, true, 5}};
    for (const auto& c : cases)
    {
        Fill(m_list, {"A:0", "A:1", "B:0"});
        m_list.SetPointer(1);
        m_list.InsertList(other, c.index, c.takePointer);
        EXPECT_EQ(6, m_list.GetCount());
        EXPECT_EQ(c.expectedPointer, m_list.GetPointer()) << c.index;
        if (c.takePointer)
        {
            EXPECT_EQ("D:0", Entries()[c.expectedPointer]) << c.index;
        }
    }
}

TEST_F(PlayListTest, ShuffleKeepsThePlayingEntryAndEverythingBeforeIt)
{
    const std::vector<std::string> all = {"A:0", "A:1", "A:2", "B:0", "B:1", "C:0", "C:1", "D:0"};
    const std::multiset<std::string> allSet(all.begin(), all.end());
    for (bool playing : {true, false})
    {
        std::set<std::vector<std::string>> orders;
        bool currentMoved = false;
        for (unsigned seed = 1; seed <= 10; ++seed)
        {
            Fill(m_list, all);
            m_list.SetPointer(2);
            playing ? m_list.SetPlaying() : m_list.SetStopped();
            m_list.Shuffle(seed);
            std::vector<std::string> order = Entries();
            EXPECT_EQ(allSet, std::multiset<std::string>(order.begin(), order.end()));
            EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 2),
                      std::vector<std::string>(order.begin(), order.begin() + 2));
            if (playing)
            {
                EXPECT_EQ("A:2", order[2]) << seed;
            }
            currentMoved = currentMoved || order[2] != "A:2";
            EXPECT_EQ(2, m_list.GetPointer());
            orders.insert(order);

            Fill(m_list, all);
            m_list.SetPointer(2);
            playing ? m_list.SetPlaying() : m_list.SetStopped();
            m_list.Shuffle(seed);
            EXPECT_EQ(order, Entries()) << "seed " << seed << " repeats its order";
        }
        EXPECT_GT(orders.size(), 5u);
        EXPECT_EQ(!playing, currentMoved);
    }
}

TEST_F(PlayListTest, ShuffleLeavesTheThreadsRandomSequenceAlone)
{
    MsSrand(5);
    const std::vector<int> expected = {MsRand(), MsRand()};
    Fill(m_list, {"A:0", "A:1", "A:2", "B:0", "B:1", "C:0"});
    MsSrand(5);
    const int first = MsRand();
    m_list.Shuffle(77);
    EXPECT_EQ(expected, std::vector<int>({first, MsRand()}));
}

TEST_F(PlayListTest, OptimizeOrdersEntriesAfterThePointerSoThatEachCanFollow)
{
    const struct
    {
        std::vector<std::string> entries;
        int pointer;
        std::vector<std::string> expected;
    } cases[] = {
        // A and B share changer 0: C, on changer 1, goes between them.
        {{"A:0", "B:0", "C:0", "B:1"}, 0, {"A:0", "C:0", "B:0", "B:1"}},
        {{"D:0", "A:0", "B:0", "C:0"}, 1, {"D:0", "A:0", "C:0", "B:0"}},
        // Entries before the pointer stay where they are.
        {{"A:0", "B:0", "C:0", "F:0", "D:0"}, 2, {"A:0", "B:0", "C:0", "F:0", "D:0"}},
        // Only the current entry could separate the discs of changer 0: moving
        // it would jump the pointer past A:0 and B:0, so nothing moves.
        {{"C:0", "A:0", "B:0", "F:0"}, 0, {"C:0", "A:0", "B:0", "F:0"}},
        {{"D:0", "A:0", "B:0", "F:0", "A:1"}, 0, {"D:0", "A:0", "A:1", "F:0", "B:0"}},
    };
    for (const auto& c : cases)
    {
        Fill(m_list, c.entries);
        m_list.SetPointer(c.pointer);
        m_list.Optimize();
        EXPECT_EQ(c.expected, Entries()) << c.expected[0];
        EXPECT_EQ(c.pointer, m_list.GetPointer()) << c.expected[0];
        EXPECT_EQ(c.entries[c.pointer], Entries()[m_list.GetPointer()]);
    }
}

TEST_F(PlayListTest, AlternateSpreadsEntriesOverPlayers)
{
    const struct
    {
        std::vector<std::string> entries;
        int pointer;
        std::vector<std::string> expected;
    } cases[] = {
        {{"A:0", "A:1", "B:0", "C:0", "D:0"}, 0, {"A:0", "C:0", "B:0", "D:0", "A:1"}},
        {{"A:0", "A:1", "B:0", "C:0"}, 1, {"A:0", "A:1", "C:0", "B:0"}},
        // A missing album counts as another player.
        {{"A:0", "B:0", "Z:0", "C:0"}, 0, {"A:0", "Z:0", "B:0", "C:0"}},
        {{"A:0", "A:1", "B:0"}, 0, {"A:0", "A:1", "B:0"}},
    };
    for (const auto& c : cases)
    {
        Fill(m_list, c.entries);
        m_list.SetPointer(c.pointer);
        m_list.Alternate();
        EXPECT_EQ(c.expected, Entries());
        EXPECT_EQ(c.pointer, m_list.GetPointer());
    }
}

TEST_F(PlayListTest, PickRandomItemDropsRulesUntilAnEntryQualifies)
{
    SetNeverPlay(kC, 1);
    CPlayList excluded(m_library);
    Fill(excluded, {"A:0", "C:0"});
    const CLibItem givenA = Item("A:0");
    const CLibItem givenC = Item("C:0");
    const struct
    {
        const char* name;
        std::vector<std::string> entries;
        const CLibItem* given;
        const CPlayList* exclusion;
        int minimumSeconds;
        std::set<std::string> allowed;
    } cases[] = {
        {"other player first", {"A:1", "B:0", "C:0", "E:0"}, &givenA, nullptr, 0, {"C:0"}},
        {"not the given entry", {"C:0", "D:1", "A:1"}, &givenC, nullptr, 0, {"D:1", "A:1"}},
        {"never-play and unavailable skipped", {"C:1", "E:0", "B:1"}, nullptr, nullptr, 0, {"B:1"}},
        {"long enough", {"C:0", "D:1", "A:2"}, nullptr, nullptr, 150, {"A:2"}},
        {"not excluded", {"A:0", "C:0", "B:0"}, nullptr, &excluded, 0, {"B:0"}},
        {"exclusion dropped", {"A:0", "C:0", "E:1"}, nullptr, &excluded, 0, {"A:0", "C:0"}},
        {"same player when no other", {"A:1", "B:0", "E:1"}, &givenA, nullptr, 0, {"A:1", "B:0"}},
        {"missing album never qualifies", {"Z:0", "B:0"}, nullptr, nullptr, 0, {"B:0"}},
        {"nothing qualifies", {"E:0", "E:1"}, nullptr, nullptr, 0, {"E:0", "E:1"}},
    };
    for (const auto& c : cases)
    {
        Fill(m_list, c.entries);
        for (unsigned seed = 1; seed <= 12; ++seed)
        {
            MsSrand(seed);
            CLibItem out;
            ASSERT_TRUE(m_list.PickRandomItem(c.given, out, c.exclusion, c.minimumSeconds)) << c.name;
            std::string picked = std::string(1, out.GetId()[15]) + ":" + std::to_string(out.GetTrack());
            EXPECT_EQ(1u, c.allowed.count(picked)) << c.name << " picked " << picked;
        }
    }
    m_list.Clear();
    CLibItem out;
    EXPECT_FALSE(m_list.PickRandomItem(nullptr, out, nullptr, 0));
}

TEST_F(PlayListTest, FindNextOnPlayerGivesTheNextTwoEntriesAndTheirDistances)
{
    const struct
    {
        int player;
        int pointer;
        bool loop;
        bool found;
        const char* first;
        int firstDistance;
        const char* second;
        int secondDistance;
    } cases[] = {
        {0, 1, false, true, "A:1", 1, "B:0", 3},   {1, 1, false, true, "C:0", 0, "C:1", 4},
        {kMp3Player, 1, false, true, "D:0", 2, "", 101}, {5, 1, false, false, "", 99, "", 198},
        {0, 5, true, true, "A:0", 1, "A:1", 3},    {0, 5, false, false, "", 99, "", 198},
    };
    Fill(m_list, {"A:0", "C:0", "A:1", "D:0", "B:0", "C:1"});
    for (const auto& c : cases)
    {
        m_list.SetPointer(c.pointer);
        m_list.SetLoop(c.loop);
        CLibItem first, second;
        int firstDistance = -5, secondDistance = -5;
        EXPECT_EQ(c.found, m_list.FindNextOnPlayer(c.player, first, firstDistance, second, secondDistance));
        auto name = [](const CLibItem& item) {
            return item.GetId().IsEmpty()
                       ? std::string()
                       : std::string(1, item.GetId()[15]) + ":" + std::to_string(item.GetTrack());
        };
        EXPECT_EQ(c.first, name(first)) << c.player;
        EXPECT_EQ(c.firstDistance, firstDistance) << c.player;
        EXPECT_EQ(c.second, name(second)) << c.player;
        EXPECT_EQ(c.secondDistance, secondDistance) << c.player;
    }
}

TEST_F(PlayListTest, ExplodeTurnsAnAlbumIntoItsPlayableTracks)
{
    const struct
    {
        const char* name;
        std::vector<std::string> entries;
        int pointer;
        int index;
        std::vector<int> neverPlay; // tracks of kA
        const char* nowPlaying;
        int result;
        std::vector<std::string> expected;
        int expectedPointer;
    } cases[] = {
        {"before the pointer", {"C:-1", "A:-1", "B:0"}, 2, 1, {}, "", 2, {"C:-1", "A:0", "A:1", "A:2", "B:0"}, 4},
        {"never-play skipped", {"C:-1", "A:-1", "B:0"}, 2, 1, {1}, "", 1, {"C:-1", "A:0", "A:2", "B:0"}, 3},
        {"after the pointer", {"C:-1", "A:-1", "B:0"}, 0, 1, {}, "", 2, {"C:-1", "A:0", "A:1", "A:2", "B:0"}, 0},
        {"pointer onto the playing track", {"A:-1", "B:0"}, 0, 0, {}, "A:1", 2, {"A:0", "A:1", "A:2", "B:0"}, 1},
        {"playing track is never-play", {"A:-1", "B:0"}, 0, 0, {1}, "A:1", 1, {"A:0", "A:2", "B:0"}, 1},
        {"every track never-play", {"C:-1", "A:-1", "B:0"}, 2, 1, {0, 1, 2}, "", -1, {"C:-1", "B:0"}, 1},
        {"a track entry", {"C:-1", "A:1"}, 0, 1, {}, "", 0, {"C:-1", "A:1"}, 0},
        {"missing album", {"Z:-1", "A:1"}, 0, 0, {}, "", 0, {"Z:-1", "A:1"}, 0},
        {"out of range", {"A:-1"}, 0, 1, {}, "", 0, {"A:-1"}, 0},
    };
    for (const auto& c : cases)
    {
        {
            CLibraryLock lock(m_library);
            AlbumRecord* album = m_library.GetAlbumPtr(lock, m_library.FindAlbumIndex(kA));
            for (int t = 0; t < 3; ++t)
                album->SetNeverPlay(t, std::count(c.neverPlay.begin(), c.neverPlay.end(), t) > 0);
        }
        Fill(m_list, c.entries);
        m_list.SetPointer(c.pointer);
        CLibItem nowPlaying = *c.nowPlaying ? Item(c.nowPlaying) : CLibItem();
        EXPECT_EQ(c.result, m_list.Explode(c.index, nowPlaying)) << c.name;
        EXPECT_EQ(c.expected, Entries()) << c.name;
        EXPECT_EQ(c.expectedPointer, m_list.GetPointer()) << c.name;
    }
}

TEST_F(PlayListTest, ExplodeAllReachesTheEntryAfterAnAlbumWithNothingToPlay)
{
    SetNeverPlay(kA, 0);
    SetNeverPlay(kA, 1);
    SetNeverPlay(kA, 2);
    Fill(m_list, {"A:-1", "C:-1", "B:1", "B:-1"});
    m_list.ExplodeAll(CLibItem());
    EXPECT_EQ(std::vector<std::string>({"C:0", "C:1", "B:1", "B:0", "B:1"}), Entries());
}

TEST_F(PlayListTest, CondenseGathersNeighbouringTracksIntoTheAlbum)
{
    const struct
    {
        std::vector<std::string> entries;
        int pointer;
        int index;
        int result;
        std::vector<std::string> expected;
        int expectedPointer;
    } cases[] = {
        {{"B:0", "A:0", "A:1", "A:2", "C:0"}, 3, 2, 3, {"B:0", "A:-1", "C:0"}, 1},
        {{"B:0", "A:0", "A:1", "A:2", "C:0"}, 4, 1, 3, {"B:0", "A:-1", "C:0"}, 2},
        {{"B:0", "A:0", "A:1", "C:0", "A:2"}, 0, 2, 2, {"B:0", "A:-1", "C:0", "A:2"}, 0},
        {{"B:0", "A:-1", "C:0"}, 1, 1, 1, {"B:0", "A:-1", "C:0"}, 1},
        {{"Z:0", "Z:1"}, 1, 0, 0, {"Z:0", "Z:1"}, 1},
    };
    for (const auto& c : cases)
    {
        Fill(m_list, c.entries);
        m_list.SetPointer(c.pointer);
        EXPECT_EQ(c.result, m_list.Condense(c.index)) << c.index;
        EXPECT_EQ(c.expected, Entries()) << c.index;
        EXPECT_EQ(c.expectedPointer, m_list.GetPointer()) << c.index;
    }
}

TEST_F(PlayListTest, RemovalsKeepThePointerOnItsEntry)
{
    const struct
    {
        const char* name;
        std::vector<std::string> entries;
        int pointer;
        const char* pattern; // null: RemoveInvalidItems
        bool wholeDisc;
        bool result;
        std::vector<std::string> expected;
        int expectedPointer;
    } cases[] = {
        {"matching entries", {"A:0", "B:0", "A:1", "A:0", "C:0"}, 4, "A:0", false, true, {"B:0", "A:1", "C:0"}, 2},
        {"whole disc", {"A:0", "B:0", "A:1", "A:0", "C:0"}, 4, "A:2", true, true, {"B:0", "C:0"}, 1},
        {"nothing matches", {"A:0", "B:0"}, 1, "C:0", true, false, {"A:0", "B:0"}, 1},
        {"every entry", {"A:0", "A:1"}, 1, "A:0", true, true, {}, 0},
        {"invalid before the pointer", {"Z:0", "A:5", "A:1", "C:-1"}, 2, nullptr, false, true, {"A:1", "C:-1"}, 0},
        {"invalid current entry", {"A:0", "B:2", "C:1"}, 1, nullptr, false, true, {"A:0", "C:1"}, 1},
        {"whole albums stay", {"A:-1", "B:-1", "B:1"}, 2, nullptr, false, false, {"A:-1", "B:-1", "B:1"}, 2},
    };
    for (const auto& c : cases)
    {
        Fill(m_list, c.entries);
        m_list.SetPointer(c.pointer);
        m_list.SetModified(false);
        if (c.pattern)
        {
            EXPECT_EQ(c.result, m_list.RemoveMatching(Item(c.pattern), c.wholeDisc)) << c.name;
        }
        else
        {
            m_list.RemoveInvalidItems();
        }
        EXPECT_EQ(c.expected, Entries()) << c.name;
        EXPECT_EQ(c.expectedPointer, m_list.GetPointer()) << c.name;
        EXPECT_EQ(c.result, m_list.IsModified()) << c.name;
    }
}

TEST_F(PlayListTest, TotalsAndQuestionsAboutTheWholeList)
{
    {
        CLibraryLock lock(m_library);
        AlbumRecord* album = m_library.GetAlbumPtr(lock, m_library.FindAlbumIndex(kA));
        album->AddKeyword(kAlbumIndex, 7);
        album->AddKeyword(0, 8);
    }
    Fill(m_list, {"A:-1", "C:1", "Z:0"});
    EXPECT_EQ(600 + 60, m_list.GetTotalTime());
    EXPECT_FALSE(m_list.IsSingleDisc());
    EXPECT_FALSE(m_list.HasOnlyWholeDiscs());
    CKeywordStatList stats;
    m_list.CountKeywords(stats);
    EXPECT_EQ(2, stats.GetAlbumsCounted());
    EXPECT_EQ(4, stats.GetTracksCounted());
    ASSERT_GE(stats.Find(7), 0);
    EXPECT_EQ(1, stats.GetAt(stats.Find(7)).GetAlbums());
    ASSERT_GE(stats.Find(8), 0);
    EXPECT_EQ(1, stats.GetAt(stats.Find(8)).GetTracks());

    CPlayList onPlayer(m_library);
    EXPECT_EQ(1, m_list.CopyItemsOnPlayer(onPlayer, 1));
    EXPECT_EQ(std::vector<std::string>({"C:1"}), Entries(onPlayer));

    Fill(m_list, {"A:-1", "A:1", "A:-1"});
    EXPECT_TRUE(m_list.IsSingleDisc());
    Fill(m_list, {"A:-1", "B:-1"});
    EXPECT_TRUE(m_list.HasOnlyWholeDiscs());
    m_list.Clear();
    EXPECT_TRUE(m_list.IsSingleDisc());
    EXPECT_TRUE(m_list.HasOnlyWholeDiscs());
}

TEST_F(PlayListTest, PlayStatesAndTheCollectionStopsAllButOne)
{
    CPlayList other(m_library);
    CPlayLists lists;
    lists.Add(&m_list);
    lists.Add(&other);
    EXPECT_EQ(&other, lists.GetLast());
    m_list.SetPlaying();
    other.SetPaused();
    EXPECT_EQ(std::string("playing"), std::string(m_list.GetStateText()));
    EXPECT_EQ(std::string("paused"), std::string(other.GetStateText()));
    m_list.RememberState(m_list.GetState());
    lists.StopOthers(&other);
    EXPECT_TRUE(m_list.IsStopped());
    EXPECT_TRUE(m_list.WasPlaying());
    EXPECT_TRUE(other.IsPaused());
    EXPECT_EQ(std::string("stopped"), std::string(m_list.GetStateText()));
    m_list.SetModified(false);
    m_list.SetStopped();
    EXPECT_FALSE(m_list.IsModified());

    Fill(m_list, {"A:0", "C:1"});
    m_list.SetPointer(1);
    m_list.SetLoop(true);
    m_list.SetPaused();
    CPlayList copy(m_list);
    m_list.AddItem(Item("D:0"));
    EXPECT_EQ(std::vector<std::string>({"A:0", "C:1"}), Entries(copy));
    EXPECT_EQ(1, copy.GetPointer());
    EXPECT_TRUE(copy.GetLoop());
    EXPECT_TRUE(copy.IsPaused());
    EXPECT_TRUE(copy.WasPlaying());
}

namespace {

struct InsertJob
{
    CPlayList* list;
    int count;
};

DWORD WINAPI InsertEntries(void* parameter)
{
    InsertJob* job = static_cast<InsertJob*>(parameter);
    for (int i = 0; i < job->count; ++i)
    {
        job->list->InsertItem(CLibItem(kD, i), i % 3);
        SwitchToThread();
    }
    return 0;
}

// Picks from one list against another, and moves its pointer, many times.
struct PickJob
{
    CPlayList* list;
    const CPlayList* exclusion;
    int rounds;
    HANDLE start; // all jobs begin together
};

DWORD WINAPI PickAgainst(void* parameter)
{
    PickJob* job = static_cast<PickJob*>(parameter);
    WaitForSingleObject(job->start, INFINITE);
    for (int i = 0; i < job->rounds; ++i)
    {
        CLibItem out;
        job->list->PickRandomItem(nullptr, out, job->exclusion, 0);
        job->list->Next();
    }
    return 0;
}

} // namespace

// Reordering holds the lock throughout: entries inserted meanwhile, before the
// pointer too, are neither lost nor doubled, and the playing entry never moves
// away from the pointer.
TEST_F(PlayListTest, ReorderingWhileAnotherThreadInsertsKeepsEveryEntry)
{
    const int kInserted = 2000;
    const std::vector<std::string> originals = {"A:0", "B:0", "C:0", "A:1", "F:0", "C:1", "B:1", "A:2"};
    Fill(m_list, originals);
    m_list.SetPointer(2);
    m_list.SetPlaying();
    InsertJob job = {&m_list, kInserted};
    HANDLE thread = CreateThread(nullptr, 0, InsertEntries, &job, 0, nullptr);
    ASSERT_TRUE(thread != nullptr);
    int moved = 0;
    for (int round = 0; WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; ++round)
    {
        m_list.Shuffle(round);
        m_list.Optimize();
        m_list.Alternate();
        moved += !m_list.GetCurrentItem().IsSameEntry(Item("C:0"));
    }
    CloseHandle(thread);
    EXPECT_EQ(0, moved);
    EXPECT_EQ("C:0", Entries()[m_list.GetPointer()]);
    std::vector<std::string> entries = Entries();
    std::multiset<std::string> seen(entries.begin(), entries.end());
    EXPECT_EQ(originals.size() + kInserted, entries.size());
    for (const std::string& original : originals)
        EXPECT_EQ(1u, seen.count(original)) << original;
    for (int i = 0; i < kInserted; ++i)
        EXPECT_EQ(1u, seen.count("D:" + std::to_string(i))) << i;
}

// Each list excludes the other's entries while both pick and move their
// pointers on two threads: no deadlock, and no pointer move is lost.
TEST_F(PlayListTest, TwoListsPickingAgainstEachOtherNeitherBlockNorLoseMoves)
{
    const int kRounds = 20000;
    // Every entry of each list is in the other: each pick probes the other
    // list again and again.
    const std::vector<std::string> entries = {"A:0", "B:0", "C:0", "D:0", "F:0", "A:1", "C:1"};
    CPlayList other(m_library);
    Fill(m_list, entries);
    Fill(other, entries);
    m_list.SetLoop(true);
    other.SetLoop(true);
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    PickJob jobs[] = {{&m_list, &other, kRounds, start}, {&other, &m_list, kRounds, start},
                      {&m_list, nullptr, kRounds, start}};
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i)
    {
        threads[i] = CreateThread(nullptr, 0, PickAgainst, &jobs[i], 0, nullptr);
        ASSERT_TRUE(threads[i] != nullptr);
    }
    SetEvent(start);
    // A deadlock shows as threads still running long after the work is done.
    DWORD waited = WaitForMultipleObjects(3, threads, TRUE, 120000);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    CloseHandle(start);
    ASSERT_EQ(WAIT_OBJECT_0, waited) << "the lists block each other";
    const int count = static_cast<int>(entries.size());
    EXPECT_EQ(2 * kRounds % count, m_list.GetPointer());
    EXPECT_EQ(kRounds % count, other.GetPointer());
}

TEST_F(PlayListTest, EntriesFindTheirAlbumsAndRefreshTheirCache)
{
    {
        CLibraryLock lock(m_library);
        m_library.GetAlbumPtr(lock, 1)->SetPreviousIdText("AAAABBBBCCCCDDDD");
        m_library.GetAlbumPtr(lock, 2)->SetSonyId(0x1234ABCD);
        m_library.GetAlbumPtr(lock, 4)->SetState(kAlbumRemoved);
    }
    const struct
    {
        const char* id;
        int index;            // of the album found, -1: none
        const char* idAfter;  // the entry's id afterwards
        bool copyFound;       // by the current id only
    } cases[] = {
        {kC, 2, kC, true},
        {"aaaabbbbccccdddd", 1, kB, false},
        {"1234ABCD", 2, kC, false},
        {kE, -1, kE, false},
        {kMissing, -1, kMissing, false},
    };
    for (const auto& c : cases)
    {
        CLibItem item(c.id, 0);
        {
            CLibraryLock lock(m_library);
            AlbumRecord* album = item.GetAlbum(lock, m_library);
            EXPECT_EQ(c.index >= 0 ? m_library.GetAlbumPtr(lock, c.index) : nullptr, album) << c.id;
        }
        EXPECT_EQ(std::string(c.idAfter), std::string(item.GetId())) << c.id;
        EXPECT_EQ(c.index, item.GetAlbumIndex()) << c.id;

        CLibItem copyItem(c.id, 0);
        AlbumRecord copy;
        EXPECT_EQ(c.copyFound, copyItem.GetAlbumCopy(m_library, copy)) << c.id;
        EXPECT_EQ(std::string(c.id), std::string(copyItem.GetId())) << c.id;
        EXPECT_EQ(c.copyFound ? c.index : -1, copyItem.GetAlbumIndex()) << c.id;
        if (c.copyFound)
        {
            EXPECT_EQ(std::string(c.id), std::string(copy.GetIdText()));
        }
    }

    // The album moves in the vector: the cached index is stale and found again.
    CLibItem item(kC, 1);
    AlbumRecord moved;
    ASSERT_TRUE(item.GetAlbumCopy(m_library, moved));
    EXPECT_EQ(2, item.GetAlbumIndex());
    {
        CLibraryLock lock(m_library);
        m_library.GetAlbumPtr(lock, 2)->SetState(kAlbumRemoved);
    }
    m_library.AppendAlbum(moved);
    EXPECT_TRUE(item.HasValidTrack(m_library));
    EXPECT_EQ(m_library.GetAlbumCount() - 1, item.GetAlbumIndex());
}

TEST_F(PlayListTest, EntryQuestions)
{
    {
        CLibraryLock lock(m_library);
        m_library.GetAlbumPtr(lock, m_library.FindAlbumIndex(kF))->SetPresent(false);
    }
    const struct
    {
        const char* entry;
        bool validTrack;
        bool playable;
    } entries[] = {
        {"A:2", true, true},  {"A:3", false, true},  {"A:-1", false, true}, {"E:0", true, false},
        {"D:1", true, true},  {"F:0", true, false},  {"Z:0", false, false},
    };
    for (const auto& e : entries)
    {
        CLibItem item = Item(e.entry);
        EXPECT_EQ(e.validTrack, item.HasValidTrack(m_library)) << e.entry;
        EXPECT_EQ(e.playable, item.IsPlayable(m_library)) << e.entry;
    }

    const struct
    {
        const char* first;
        const char* second;
        bool canFollow;
        bool samePlayer;
        bool followsTrack; // second follows the first's track
    } pairs[] = {
        {"A:0", "A:1", true, true, true},    {"A:0", "A:2", true, true, false},
        {"A:-1", "A:0", true, true, false},  {"A:0", "B:0", false, true, false},
        {"A:0", "C:0", true, false, false},  {"C:1", "D:0", true, false, false},
        {"Z:0", "A:0", false, false, false}, {"Z:0", "Z:1", true, false, true},
    };
    for (const auto& p : pairs)
    {
        CLibItem first = Item(p.first), second = Item(p.second);
        EXPECT_EQ(p.canFollow, CLibItem::CanFollow(m_library, first, second)) << p.first << " " << p.second;
        EXPECT_EQ(p.samePlayer, first.IsSamePlayer(m_library, second)) << p.first << " " << p.second;
        EXPECT_EQ(p.followsTrack, second.FollowsTrackOf(first)) << p.first << " " << p.second;
    }
}

TEST_F(PlayListTest, EntryTexts)
{
    const struct
    {
        const char* text;
        bool fields;
        bool parsed;
        const char* entry;
    } cases[] = {
        {"000000000000000C 1", true, true, "C:1"},
        {"  000000000000000A -1\r", true, true, "A:-1"},
        {"00000000000000FF 1", true, false, "F:1"},
        {"000000000000000C", false, false, ""},
        {"000000000000000C x", false, false, ""},
        {"", false, false, ""},
    };
    for (const auto& c : cases)
    {
        CLibItem item;
        EXPECT_EQ(c.fields, item.ParseFields(c.text)) << c.text;
        CLibItem parsed;
        EXPECT_EQ(c.parsed, parsed.Parse(m_library, c.text)) << c.text;
        if (c.fields)
        {
            EXPECT_EQ(c.entry, std::string(1, item.GetId()[15]) + ":" + std::to_string(item.GetTrack())) << c.text;
        }
    }

    CLibItem item;
    EXPECT_FALSE(item.SetAlbumIndex(m_library, -1));
    EXPECT_FALSE(item.SetAlbumIndex(m_library, 99));
    item.SetTrack(2);
    ASSERT_TRUE(item.SetAlbumIndex(m_library, 2));
    item.SetFlag(-7);
    EXPECT_EQ(std::string("000000000000000C -1"), std::string(item.Format()));
    EXPECT_EQ(std::string("ID:000000000000000C tr:-1 idx:2 flag:-7"), std::string(item.Dump()));

    Fill(m_list, {"A:1"});
    m_list.SetLoop(true);
    m_list.SetModified(false);
    EXPECT_EQ(std::string("ci:0 lp:1 md:0 name:\nID:000000000000000A tr:1 idx:-1 flag:0\n"),
              std::string(m_list.Dump()));
}
