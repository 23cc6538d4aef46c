#include "tests/support/TestFramework.h"
#include "tests/support/MessageBoxScript.h"

#include "library/keywords/MasterKeyword.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const CMasterKeyword& master, const CKeywordList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.push_back(std::string(master.GetKeywordName(list.GetAt(i))));
    return names;
}

} // namespace

TEST(KeywordTest, NormalFormIsLowerCaseWithUnderscores)
{
    const struct
    {
        const char* name;
        const char* normal;
    } cases[] = {
        {"hip hop", "hip_hop"},
        {"R&B", "r&b"},
        {"Drum\tand\r\nBass", "drum_and__bass"},
        {"children's", "children's"},
        {"rock, pop", "rock__pop"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.normal, NormalizeKeyword(c.name)) << c.name;

    CMasterKeyword master;
    int id = master.AddKeyword("rap");
    master.RenameKeyword(id, "Hip Hop");
    EXPECT_STREQ("hip_hop", master.GetKeywordName(id));
    EXPECT_EQ(id, master.FindKeyword("HIP HOP"));
}

TEST(KeywordTest, ParsingSplitsAtSeparatorsAndKeepsEachIdOnce)
{
    CMasterKeyword master;
    CKeywordList list = master.ParseKeywordList("Rock, LIVE  rock");
    EXPECT_EQ((std::vector<std::string>{"rock", "live"}), Names(master, list));
    EXPECT_EQ(2, master.GetKeywordCount());

    master.AddKeywordsFromText(list, "\r\njazz,,live\tpop\n");
    EXPECT_EQ((std::vector<std::string>{"rock", "live", "jazz", "pop"}), Names(master, list));
    EXPECT_STREQ("rock live jazz pop", master.FormatKeywordList(list));
    EXPECT_EQ(0, master.ParseKeywordList(" , \r\n").GetCount());
}

TEST(KeywordTest, BuiltInListGivesThirtyNineKeywordsInOrder)
{
    CMasterKeyword master;
    master.ParseKeywordList(LoadBuiltInKeywords());
    EXPECT_STREQ("alternative book spoken blues r&b classical country dance electronic folk house "
                 "industrial children's trance hip_hop rap holiday jazz pop religious rock soundtrack "
                 "world reggae ska newage nature grunge metal african american british european asian "
                 "male female acoustic live binaural",
                 master.GetAllKeywordsText());
    ASSERT_EQ(39, master.GetKeywordCount());
    EXPECT_EQ(0, master.FindKeyword("alternative"));
    EXPECT_EQ(29, master.FindKeyword("african"));
    EXPECT_EQ(38, master.FindKeyword("binaural"));
}

TEST(KeywordTest, AddingAnExistingKeywordReturnsItsId)
{
    CMasterKeyword master;
    int rock = master.AddKeyword("rock");
    EXPECT_EQ(rock, master.AddKeyword("ROCK"));
    EXPECT_EQ(rock, master.GetOrAddKeyword("rock"));
    EXPECT_EQ(1, master.GetKeywordCount());
    EXPECT_EQ(-1, master.AddKeyword(""));
    EXPECT_EQ(1, master.GetKeywordCount());
}

TEST(KeywordTest, DeleteAsksAndKeepsTheId)
{
    CMasterKeyword master;
    CKeywordList list = master.ParseKeywordList("rock live pop");
    CMessageBoxScript boxes;
    boxes.Then(IDNO).Then(IDYES);

    EXPECT_FALSE(master.DeleteKeyword(1));
    EXPECT_STREQ("rock live pop", master.FormatKeywordList(list));
    EXPECT_TRUE(master.DeleteKeyword(1));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ("Are you sure you want to lose the keyword live?", boxes.Shown()[1].text);
    EXPECT_EQ(static_cast<unsigned>(MB_YESNO), boxes.Shown()[1].type & MB_TYPEMASK);

    EXPECT_EQ(1, master.FindKeyword("live"));
    EXPECT_TRUE(master.IsDeleted(1));
    EXPECT_STREQ("", master.GetKeywordName(1));
    EXPECT_STREQ("rock pop", master.FormatKeywordList(list));
    EXPECT_STREQ("rock pop", master.GetAllKeywordsText());
    EXPECT_FALSE(master.DeleteKeyword(7));
    EXPECT_EQ(0, boxes.Unscripted());
}

TEST(KeywordTest, DeletedKeywordTypedAgainComesBack)
{
    CMasterKeyword master;
    master.ParseKeywordList("rock live");
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    ASSERT_TRUE(master.DeleteKeyword(1));

    CKeywordList typed = master.ParseKeywordList("Live");
    ASSERT_EQ(1, typed.GetCount());
    EXPECT_EQ(1, typed.GetAt(0));
    EXPECT_FALSE(master.IsDeleted(1));
    EXPECT_STREQ("live", master.FormatKeywordList(typed));
    // The master list is saved from this text: the word must survive.
    EXPECT_STREQ("rock live", master.GetAllKeywordsText());
}

TEST(KeywordTest, StatisticsCountAlbumsAndTracksOfASelection)
{
    CMasterKeyword master;
    master.ParseKeywordList("rock live pop jazz");
    // A selection of two albums: album-level keywords count as albums,
    // track keywords as tracks.
    const struct
    {
        bool asAlbum;
        const char* keywords;
    } selection[] = {
        {true, "rock live"}, {false, "rock"}, {false, ""}, {false, "live rock"},
        {true, "jazz"},      {false, "jazz"}, {false, "folk"},
    };
    CKeywordStatList stats;
    master.FillStatList(stats);
    ASSERT_EQ(4, stats.GetCount());
    for (const auto& entry : selection)
        CKeywordStatList::CountKeywordList(stats, master.ParseKeywordList(entry.keywords), entry.asAlbum);

    EXPECT_EQ(2, stats.GetAlbumsCounted());
    EXPECT_EQ(5, stats.GetTracksCounted());
    const struct
    {
        const char* name;
        int albums;
        int tracks;
    } expected[] = {
        {"rock", 1, 2}, {"live", 1, 1}, {"pop", 0, 0}, {"jazz", 1, 1}, {"folk", 0, 1},
    };
    ASSERT_EQ(5, stats.GetCount());
    for (const auto& e : expected)
    {
        int index = stats.Find(master.FindKeyword(e.name));
        ASSERT_GE(index, 0) << e.name;
        EXPECT_EQ(e.albums, stats.GetAt(index).GetAlbums()) << e.name;
        EXPECT_EQ(e.tracks, stats.GetAt(index).GetTracks()) << e.name;
    }

    stats.RemoveKeyword(master.FindKeyword("pop"));
    EXPECT_EQ(-1, stats.Find(master.FindKeyword("pop")));
    stats.AddKeyword(master.FindKeyword("rock"));
    EXPECT_EQ(4, stats.GetCount());
    stats.Clear();
    EXPECT_EQ(0, stats.GetCount());
    EXPECT_EQ(0, stats.GetAlbumsCounted());
}

namespace {

struct WordAdder
{
    CMasterKeyword* master;
    int count;
};

DWORD WINAPI AddWords(LPVOID param)
{
    WordAdder* adder = static_cast<WordAdder*>(param);
    for (int i = 0; i < adder->count; ++i)
    {
        char word[32];
        wsprintfA(word, "word%d", i);
        adder->master->GetOrAddKeyword(word);
    }
    return 0;
}

} // namespace

// The load thread registers the words of every record while the views read names.
TEST(KeywordTest, WordsAddedOnAnotherThreadWhileNamesAreRead)
{
    CMasterKeyword master;
    CKeywordList list = master.ParseKeywordList("rock live");
    WordAdder adder = {&master, 3000};
    HANDLE thread = CreateThread(nullptr, 0, AddWords, &adder, 0, nullptr);
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT)
    {
        ASSERT_STREQ("rock live", master.FormatKeywordList(list));
        int count = master.GetKeywordCount();
        ASSERT_STREQ("rock", master.GetKeywordName(0));
        if (count > 2)
        {
            ASSERT_FALSE(master.GetKeywordName(count - 1).IsEmpty());
        }
    }
    CloseHandle(thread);
    EXPECT_EQ(3002, master.GetKeywordCount());
    EXPECT_EQ(3001, master.FindKeyword("word2999"));
}
