#include "tests/support/TestFramework.h"

#include "library/records/MusicLibrary.h"
#include "platform/crt/Random.h"

#include <mutex>
#include <string>
#include <vector>

namespace {

const char kTestRegistryKey[] = "ZymMusicLibraryTest";

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("Zym") { SetRegistryKey(kTestRegistryKey); }
    ~CTestApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestRegistryKey).c_str()); }
};

class CRecordingHost : public CLibraryHost
{
public:
    void FireEvent(const char* text) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_events.push_back(text);
    }
    void ThreadStarted(const char* name) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_threads.push_back(std::string("start ") + name);
        m_threadIds.push_back(GetCurrentThreadId());
    }
    void ThreadEnded() override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_threads.push_back("end");
        m_threadIds.push_back(GetCurrentThreadId());
    }
    bool IsPlayerAvailable(int player) override { return player == 2; }

    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_events;
    }
    std::vector<std::string> Threads()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_threads;
    }
    std::vector<DWORD> ThreadIds()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_threadIds;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_events;
    std::vector<std::string> m_threads;
    std::vector<DWORD> m_threadIds;
};

AlbumRecord MakeAlbum(CMusicLibrary& library, const char* id, int player, int slot, bool present)
{
    AlbumRecord album = library.NewAlbum();
    album.SetIdText(id);
    album.SetTrackCount(2);
    album.SetTitle(kAlbumIndex, id);
    album.SetPlayTime(0, 200);
    album.SetPlayTime(1, 100);
    album.SetPlayer(player);
    album.SetSlot(slot);
    album.SetPresent(present);
    return album;
}

class LibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { m_library.SetHost(&m_host); }

    CRecordingHost m_host;
    CMusicLibrary m_library;
};

} // namespace

TEST_F(LibraryTest, FindsAlbumsByIdPreviousIdAndChangerId)
{
    AlbumRecord first = MakeAlbum(m_library, "0123456789ABCDEF", 0, 1, true);
    first.SetSonyId(0x1A02D503);
    AlbumRecord second = MakeAlbum(m_library, "FEDCBA9876543210", 0, 2, true);
    AlbumRecord gone = MakeAlbum(m_library, "00000000000000AA", 0, 3, true);
    gone.SetSonyId(0x0BADF00D);
    gone.SetState(kAlbumRemoved);
    m_library.AppendAlbum(first);
    m_library.AppendAlbum(second);
    m_library.AppendAlbum(gone);
    {
        CLibraryLock lock(m_library);
        m_library.GetAlbumPtr(lock, 1)->SetPreviousIdText("AAAABBBBCCCCDDDD");
    }

    const struct
    {
        const char* id;
        int index;
    } cases[] = {
        {"0123456789abcdef", 0}, {"FEDCBA9876543210", 1}, {"aaaabbbbccccdddd", 1}, {"1A02D503", 0},
        {"1a02d503", 0},         {"00000000000000AA", -1}, {"0BADF00D", -1},       {"0123456789ABCDE", -1},
        {"", -1},                {"not hex", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.index, m_library.FindAlbumIndex(c.id)) << c.id;

    AlbumRecord out;
    EXPECT_TRUE(m_library.GetAlbum(second, out));
    EXPECT_STREQ("FEDCBA9876543210", out.GetTitle(kAlbumIndex));
    EXPECT_FALSE(m_library.GetAlbum(gone, out));
    EXPECT_EQ(1, m_library.FindAlbumAt(0, 2));
    EXPECT_EQ(-1, m_library.FindAlbumAt(0, 3));
    CLibraryLock lock(m_library);
    EXPECT_EQ(m_library.GetAlbumPtr(lock, 0), m_library.FindAlbumPtr(lock, first));
    EXPECT_EQ(nullptr, m_library.FindAlbumPtr(lock, gone));
}

TEST_F(LibraryTest, StoringAnAlbumEvictsTheOneInItsSlot)
{
    AlbumRecord before = MakeAlbum(m_library, "1111111111111111", 2, 5, true);
    m_library.StoreAlbum(before);
    EXPECT_EQ(-1, m_library.GetLastIndex());
    EXPECT_EQ(kAlbumChanged, before.GetState());
    EXPECT_TRUE(m_library.IsModified());
    EXPECT_TRUE(m_library.HasChanged());

    // Stored again in its own slot: replaced, nothing evicted.
    before.SetTitle(0, "renamed");
    m_library.StoreAlbum(before);
    EXPECT_EQ(0, m_library.GetLastIndex());
    EXPECT_TRUE(m_host.Events().empty());

    AlbumRecord newcomer = MakeAlbum(m_library, "2222222222222222", 2, 5, true);
    m_library.StoreAlbum(newcomer);
    EXPECT_EQ((std::vector<std::string>{"library_location_updated[1111111111111111,*P3 D005]"}), m_host.Events());
    AlbumRecord old;
    ASSERT_TRUE(m_library.GetAlbum(before, old));
    EXPECT_FALSE(old.IsPresent());
    EXPECT_STREQ("renamed", old.GetTitle(0));
    EXPECT_EQ(1, m_library.FindAlbumAt(2, 5));

    AlbumRecord mp3a = MakeAlbum(m_library, "3333333333333333", kMp3Player, -1, true);
    AlbumRecord mp3b = MakeAlbum(m_library, "4444444444444444", kMp3Player, -1, true);
    m_library.StoreAlbum(mp3a);
    m_library.StoreAlbum(mp3b);
    EXPECT_EQ(1u, m_host.Events().size());
    EXPECT_EQ(4, m_library.GetAlbumCount());
}

TEST_F(LibraryTest, DeleteMarksTheStoredAlbum)
{
    AlbumRecord album = MakeAlbum(m_library, "1111111111111111", 0, 1, true);
    m_library.AppendAlbum(album);
    m_library.SetModified(false);
    EXPECT_TRUE(m_library.DeleteAlbum(album));
    EXPECT_EQ(kAlbumDeleted, album.GetState());
    EXPECT_EQ(-1, m_library.FindAlbum(album));
    EXPECT_EQ(1, m_library.CountChanged());
    EXPECT_TRUE(m_library.IsModified());
    EXPECT_FALSE(m_library.DeleteAlbum(album));

    AlbumRecord other = MakeAlbum(m_library, "2222222222222222", 0, 2, true);
    m_library.AppendAlbum(other);
    m_library.MarkAllChanged();
    AlbumRecord out;
    ASSERT_TRUE(m_library.GetAlbumAt(0, out));
    EXPECT_EQ(kAlbumDeleted, out.GetState());
    ASSERT_TRUE(m_library.GetAlbumAt(1, out));
    EXPECT_EQ(kAlbumChanged, out.GetState());
    EXPECT_FALSE(m_library.GetAlbumAt(2, out));
    m_library.RemoveAllAlbums();
    EXPECT_EQ(0, m_library.GetAlbumCount());
}

TEST_F(LibraryTest, VerifyDiscAtToleratesTwoSeconds)
{
    const struct
    {
        int player, slot, track, minutes, seconds;
        bool result;
        bool stillPresent;
    } cases[] = {
        {1, 7, 1, 3, 22, true, true},   // 202 s against 200
        {1, 7, 2, 1, 38, true, true},   // 98 s against 100
        {1, 7, 1, 3, 23, false, false}, // 203 s
        {1, 7, 3, 1, 40, false, true},  // no third track
        {1, 7, 0, 3, 20, false, true},
        {1, 8, 1, 3, 20, false, true},  // nothing there
    };
    for (const auto& c : cases)
    {
        CRecordingHost host;
        CMusicLibrary library;
        library.SetHost(&host);
        library.AppendAlbum(MakeAlbum(library, "1111111111111111", 1, 7, true));
        EXPECT_EQ(c.result, library.VerifyDiscAt(c.player, c.slot, c.track, c.minutes, c.seconds)) << c.track;
        AlbumRecord album;
        library.GetAlbumAt(0, album);
        EXPECT_EQ(c.stillPresent, album.IsPresent()) << c.track;
        EXPECT_EQ(c.stillPresent ? 0u : 1u, host.Events().size()) << c.track;
        EXPECT_EQ(!c.stillPresent, library.IsModified()) << c.track;
    }
}

TEST_F(LibraryTest, UniqueIdsComeFromTheFifteenBitGenerator)
{
    // The first eight values of seed 1 are 41 18467 6334 26500 19169 15724 11478 29358.
    MsSrand(1);
    EXPECT_STREQ("0029482318BE6784", m_library.MakeUniqueId());
    m_library.AppendAlbum(MakeAlbum(m_library, "0029482318BE6784", 0, 1, true));
    MsSrand(1);
    EXPECT_STREQ("4AE13D6C2CD672AE", m_library.MakeUniqueId());

    for (int i = 0; i < 50; ++i)
    {
        CString id = m_library.MakeUniqueId();
        ASSERT_EQ(16, id.GetLength());
        for (int group = 0; group < 4; ++group)
        {
            unsigned int value = strtoul(std::string(id.Mid(group * 4, 4)).c_str(), nullptr, 16);
            EXPECT_LE(value, 0x7FFFu) << id;
        }
        EXPECT_EQ(id, id.SpanIncluding("0123456789ABCDEF")) << id;
    }
}

TEST_F(LibraryTest, PlayableAlbumsAreInAnAvailablePlayer)
{
    const struct
    {
        int player, slot;
        bool present;
        bool playable;
    } cases[] = {{2, 3, true, true}, {2, 3, false, false}, {1, 3, true, false}, {2, -1, true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.playable, m_library.IsAlbumPlayable(MakeAlbum(m_library, "1", c.player, c.slot, c.present)));
}

TEST_F(LibraryTest, KeywordTextsFollowTheMasterList)
{
    CMasterKeyword& master = m_library.GetMasterKeywords();
    ASSERT_EQ(39, master.GetKeywordCount());
    int rock = master.FindKeyword("rock");
    int live = master.FindKeyword("live");
    AlbumRecord album = MakeAlbum(m_library, "1111111111111111", 0, 1, true);
    album.AddKeyword(kAlbumIndex, rock);
    album.AddKeyword(1, live);
    album.AddKeyword(1, master.GetOrAddKeyword("Big Band"));
    m_library.UpdateKeywordTexts(album);
    EXPECT_STREQ("rock", album.GetRecord(kAlbumIndex)->m_keywordText);
    EXPECT_STREQ("", album.GetRecord(0)->m_keywordText);
    EXPECT_STREQ("live big_band", album.GetRecord(1)->m_keywordText);

    m_library.AppendAlbum(album);
    m_library.SetModified(false);
    m_library.MarkKeywordChanged(master.FindKeyword("jazz"));
    EXPECT_FALSE(m_library.IsModified());
    m_library.MarkKeywordChanged(live);
    EXPECT_TRUE(m_library.IsModified());
}

TEST(LibraryProfileTest, RatingNamesAndKeywordsComeFromTheProfileAndGoBack)
{
    const struct
    {
        const char* ratingNames; // null: not in the profile
        const char* keywords;
        const char* names[4];
        const char* written;
        int keywordCount;
    } cases[] = {
        {nullptr, nullptr, {"like", "happy", "tempo", "danceable"}, "like happy tempo danceable ", 39},
        {"groovy", "", {"groovy", "rating2", "rating3", "rating4"}, "groovy rating2 rating3 rating4 ", 39},
        {" a,b\tc\r\nd e", "Rock  live,pop", {"a", "b", "c", "d"}, "a b c d ", 3},
    };
    for (const auto& c : cases)
    {
        CTestApp app;
        if (c.ratingNames)
            app.WriteProfileString("Options", "Rating Names", c.ratingNames);
        if (c.keywords)
            app.WriteProfileString("Options", "Keywords", c.keywords);
        CString expectedKeywords;
        {
            CMusicLibrary library;
            for (int k = 0; k < 4; ++k)
            {
                EXPECT_STREQ(c.names[k], library.GetRatingNames()[k]) << k;
                EXPECT_STREQ(c.names[k], library.GetRatingLabels()[k]) << k;
            }
            EXPECT_EQ(c.keywordCount, library.GetMasterKeywords().GetKeywordCount());
            expectedKeywords = library.GetMasterKeywords().GetAllKeywordsText();
        }
        EXPECT_STREQ(c.written, app.GetProfileString("Options", "Rating Names"));
        EXPECT_STREQ(expectedKeywords, app.GetProfileString("Options", "Keywords"));
    }
}

namespace {

// A load that fills the library until it is told to stop, then touches the
// library once more, as a database load finishing its last row would.
class CStubbornLoader : public CLibraryLoader
{
public:
    CStubbornLoader() : m_started(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_finished(0) {}
    ~CStubbornLoader() override { CloseHandle(m_started); }

    void Load(CMusicLibrary& library) override
    {
        library.RemoveAllAlbums();
        SetEvent(m_started);
        while (library.IsLoading())
        {
            library.AppendAlbum(library.NewAlbum());
            Sleep(5);
        }
        Sleep(50);
        library.AppendAlbum(library.NewAlbum());
        m_finished = library.GetAlbumCount() > 0;
    }

    HANDLE m_started;
    volatile LONG m_finished;
};

// Clears and refills the library round after round.
class CRefillingLoader : public CLibraryLoader
{
public:
    void Load(CMusicLibrary& library) override
    {
        for (int round = 0; round < 200; ++round)
        {
            library.RemoveAllAlbums();
            for (int i = 0; i < 20; ++i)
                library.AppendAlbum(MakeAlbum(library, "0123456789ABCDEF", 0, i, true));
        }
    }
};

} // namespace

TEST(LibraryLoadTest, DestructorWaitsForTheRunningLoad)
{
    CRecordingHost host;
    CStubbornLoader loader;
    auto* library = new CMusicLibrary;
    library->SetHost(&host);
    library->SetLoader(&loader);
    ASSERT_TRUE(library->StartLoad());
    WaitForSingleObject(loader.m_started, INFINITE);
    EXPECT_TRUE(library->IsLoading());
    EXPECT_FALSE(library->StartLoad());

    delete library;
    EXPECT_EQ(1, loader.m_finished);
    EXPECT_EQ((std::vector<std::string>{"start LibLoad", "end"}), host.Threads());
    std::vector<DWORD> ids = host.ThreadIds();
    ASSERT_EQ(2u, ids.size());
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_NE(GetCurrentThreadId(), ids[0]);
}

TEST(LibraryLoadTest, ReadersUnderTheLockSeeWholeAlbumsWhileTheLoadRefills)
{
    CRefillingLoader loader;
    CMusicLibrary library;
    library.SetLoader(&loader);
    ASSERT_TRUE(library.StartLoad());
    int reads = 0;
    while (!library.HasChanged() || library.IsLoading())
    {
        CLibraryLock lock(library);
        for (int i = 0; i < library.GetAlbumCount(); ++i)
        {
            AlbumRecord* album = library.GetAlbumPtr(lock, i);
            ASSERT_TRUE(album != nullptr);
            ASSERT_EQ(2, album->GetTrackCount());
            ASSERT_STREQ("0123456789ABCDEF", album->GetTitle(kAlbumIndex));
            ++reads;
        }
    }
    EXPECT_FALSE(library.IsLoading());
    EXPECT_EQ(20, library.GetAlbumCount());
}
