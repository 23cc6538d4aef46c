#include "tests/support/TestFramework.h"

#include "library/web/tests/HttpTestSupport.h"
#include "library/web/DiscEntry.h"

#include <string>
#include <vector>

namespace {

const char kTwelveTrackEntry[] =
    "# xmcd\r\n"
    "#\r\n"
    "DISCID=a50b4d0c\r\n"
    "DTITLE=The Quiet Set / Harbour Li\r\n"
    "DTITLE=ghts\r\n"
    "DYEAR=1998\r\n"
    "TTITLE0=Opening\r\n"
    "TTITLE1=Guest Singer / Duet\r\n"
    "TTITLE2=Third\r\n"
    "TTITLE3=Fourth\r\n"
    "TTITLE4=Fifth\r\n"
    "TTITLE5=Sixth\r\n"
    "TTITLE6=Seventh\r\n"
    "TTITLE7=Eighth\r\n"
    "TTITLE8=Ninth\r\n"
    "TTITLE9=Tenth\r\n"
    "TTITLE12=Beyond the count\r\n"
    "EXTD=ZYM[loc=17 player=2 min=45 sec=3]Recorded live\\nin one take\r\n"
    "EXTT1=Two \\\\ voices\r\n"
    "PLAYLIST=\r\n";

TEST(DiscEntry, TwelveTrackEntryFillsTheAlbum)
{
    AlbumRecord album = MakeAlbum(std::vector<int>(12, 15000), 190000);
    ASSERT_TRUE(ParseDiscEntry(album, kTwelveTrackEntry));

    EXPECT_EQ(12, album.GetTrackCount());
    EXPECT_EQ(0xa50b4d0cu, album.GetSonyId());
    // Two DTITLE lines join before the split, mending the cut word.
    EXPECT_EQ("Harbour Lights", Str(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ("The Quiet Set", Str(album.GetArtist(kAlbumIndex)));
    EXPECT_EQ("Opening", Str(album.GetTitle(0)));
    EXPECT_EQ("The Quiet Set", Str(album.GetArtist(0)));
    EXPECT_EQ("Duet", Str(album.GetTitle(1)));
    EXPECT_EQ("Guest Singer", Str(album.GetArtist(1)));
    EXPECT_EQ("Tenth", Str(album.GetTitle(9)));
    // Titles the entry lacks stay empty; a number past the count is ignored.
    EXPECT_EQ("", Str(album.GetTitle(10)));
    EXPECT_EQ("", Str(album.GetTitle(11)));
    // The attribute block sets location and length; the rest is the notes.
    EXPECT_EQ(17, album.GetSlot());
    EXPECT_EQ(2, album.GetStoredPlayer());
    EXPECT_EQ(45, album.GetRecord(kAlbumIndex)->m_minutes);
    EXPECT_EQ(3, album.GetRecord(kAlbumIndex)->m_seconds);
    EXPECT_EQ("Recorded live\r\nin one take", Str(album.GetNotes(kAlbumIndex)));
    EXPECT_EQ("Two \\ voices", Str(album.GetRecord(1)->m_notes));
    EXPECT_EQ(Str(album.ComputeAlbumId()), Str(album.GetIdText()));
    EXPECT_EQ(kAlbumChanged, album.GetState());
}

TEST(DiscEntry, TopByteFFTakesTheCountFromTheTitleLines)
{
    AlbumRecord album;
    ASSERT_TRUE(ParseDiscEntry(album, "DISCID=ff000000\nDTITLE=A / B\nTTITLE0=x\nTTITLE4=y\n"));
    EXPECT_EQ(5, album.GetTrackCount());
    EXPECT_EQ("y", Str(album.GetTitle(4)));
}

TEST(DiscEntry, TextsThatAreNoEntryLeaveTheAlbumAlone)
{
    const char* const cases[] = {
        "",
        "DTITLE=AC/DC Live\nTTITLE0=One\n",             // no DISCID line
        "DISCID=12345600\nDTITLE=None / Zero\n",         // no tracks
        "DISCID=ff000000\nTTITLE100000000000=x\n",       // absurd count
        "\x01\x02\xff\xfe garbage \x7f\n\n=\n",
    };
    for (const char* text : cases) {
        AlbumRecord album = MakeAlbum({ 100, 200 }, 1000);
        album.SetTitle(kAlbumIndex, "AC/DC Live");
        album.SetNotes(kAlbumIndex, "mine");
        album.SetState(kAlbumClean);
        EXPECT_FALSE(ParseDiscEntry(album, text)) << text;
        EXPECT_EQ("AC/DC Live", Str(album.GetTitle(kAlbumIndex))) << text;
        EXPECT_EQ("mine", Str(album.GetNotes(kAlbumIndex))) << text;
        EXPECT_EQ(2, album.GetTrackCount()) << text;
        EXPECT_EQ(kAlbumClean, album.GetState()) << text;
    }
}

TEST(DiscEntry, ParsingAgainReplacesTheNotesItCarriesAndKeepsTheRest)
{
    AlbumRecord album = MakeAlbum({ 100, 200 }, 1000);
    album.SetNotes(1, "my own track note");
    const char entry[] = "DISCID=00000002\nDTITLE=A / B\nEXTD=From the database\n";
    ASSERT_TRUE(ParseDiscEntry(album, entry));
    ASSERT_TRUE(ParseDiscEntry(album, entry));
    EXPECT_EQ("From the database", Str(album.GetNotes(kAlbumIndex)));
    EXPECT_EQ("my own track note", Str(album.GetRecord(1)->m_notes));

    // An entry without notes keeps the album's.
    ASSERT_TRUE(ParseDiscEntry(album, "DISCID=00000002\nDTITLE=A / B\n"));
    EXPECT_EQ("From the database", Str(album.GetNotes(kAlbumIndex)));
}

TEST(DiscEntry, ANewTrackCountKeepsTheAlbumsOwnData)
{
    AlbumRecord album = MakeAlbum({ 1000, 2000, 3000 }, 9000);
    album.GetRecord(kAlbumIndex)->m_imageFile = "cover.jpg";
    album.GetRecord(kAlbumIndex)->m_timesPlayed = 7;
    album.GetRecord(0)->m_timesPlayed = 3;
    ASSERT_TRUE(ParseDiscEntry(album, "DISCID=00000005\nDTITLE=A / B\nTTITLE4=Last\n"));
    EXPECT_EQ(5, album.GetTrackCount());
    EXPECT_EQ("cover.jpg", Str(album.GetRecord(kAlbumIndex)->m_imageFile));
    EXPECT_EQ(7, album.GetRecord(kAlbumIndex)->m_timesPlayed);
    EXPECT_EQ(9000, album.GetRecord(kAlbumIndex)->GetFrames());
    EXPECT_EQ(3, album.GetRecord(0)->m_timesPlayed);
    EXPECT_EQ(2000, album.GetRecord(1)->GetFrames());
    EXPECT_EQ(0, album.GetRecord(4)->GetFrames());
    EXPECT_EQ("Last", Str(album.GetTitle(4)));
}

TEST(DiscEntry, OlderEntryWithBareAttributeText)
{
    AlbumRecord album = MakeAlbum({ 100 }, 1000);
    album.SetNotes(kAlbumIndex, "kept");
    ASSERT_TRUE(ParseDiscEntry(album, "DISCID=00000001\nDTITLE=X\nEXTD=loc=4 player=0\n"
                                      "EXTT0=min=2 sec=5\n"));
    EXPECT_EQ(4, album.GetSlot());
    EXPECT_EQ("kept", Str(album.GetNotes(kAlbumIndex)));
    EXPECT_EQ(2, album.GetRecord(0)->m_minutes);
    EXPECT_EQ("", Str(album.GetRecord(0)->m_notes));
    // A title without a slash names both artist and title.
    EXPECT_EQ("X", Str(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ("X", Str(album.GetArtist(kAlbumIndex)));
}

TEST(DiscEntry, SplitArtistTitle)
{
    struct Case
    {
        const char* text;
        const char* artist;
        const char* title;
    };
    const Case cases[] = {
        { "Artist / Title", "Artist", "Title" },
        { "Artist/Title", "Artist", "Title" },
        { "AC/DC / Back in Black", "AC/DC", "Back in Black" },
        { "A/B/C", "A", "B/C" },
        { "  No slash here  ", "No slash here", "" },
        { "", "", "" },
    };
    for (const Case& c : cases) {
        CString artist, title;
        SplitArtistTitle(c.text, artist, title);
        EXPECT_EQ(c.artist, Str(artist)) << c.text;
        EXPECT_EQ(c.title, Str(title)) << c.text;
    }
}

TEST(DiscEntry, UnescapeEntryText)
{
    const char* const cases[][2] = {
        { "one\\ntwo", "one\r\ntwo" },
        { "a\\tb", "a\tb" },
        { "back\\\\slash", "back\\slash" },
        { "\\q\\\"", "q\"" },
        { "ends with\\", "ends with" },
        { "plain", "plain" },
    };
    for (const auto& c : cases) {
        CString text(c[0]);
        UnescapeEntryText(text);
        EXPECT_EQ(c[1], Str(text)) << c[0];
    }
}

TEST(DiscEntry, CountTitleLines)
{
    EXPECT_EQ(0, CountTitleLines("DTITLE=x\n"));
    EXPECT_EQ(3, CountTitleLines("TTITLE2=c\nTTITLE0=a\n"));
    EXPECT_EQ(11, CountTitleLines("TTITLE10=k\nTTITLE1=b\n"));
}

TEST(DiscEntry, FormatQueryOffsets)
{
    struct Case
    {
        std::vector<int> tracks;
        int total;
        const char* offsets;
    };
    const Case cases[] = {
        // A 150-frame lead-in: starts of the three tracks and the end.
        { { 15000, 22500, 7500 }, 45150, "150 15150 37650 45150" },
        // A longer lead-in taken from the total.
        { { 1000, 2000 }, 3300, "300 1300 3300" },
        // Track lengths past the total: the lead-in is never below 150.
        { { 4000, 4000 }, 5000, "150 4150 8150" },
    };
    for (const Case& c : cases) {
        AlbumRecord album = MakeAlbum(c.tracks, c.total);
        EXPECT_EQ(c.offsets, Str(FormatQueryOffsets(album)));
    }
}

} // namespace
