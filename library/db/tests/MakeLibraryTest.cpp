// Libraries made by MakeLibrary.py, loaded through the library database: what
// the script writes must be what the program reads as sound, with nothing for
// the load to mend.
#include "library/db/tests/LibraryDbFixture.h"

#include <ctype.h>
#include <set>
#include <utility>

#include "tests/support/HostProgram.h"
#include "tests/support/TestData.h"

namespace {

const char kMusicFolder[] = "Z:\\Music";

class MakeLibraryTest : public LibraryDbFixture
{
protected:
    // The script's arguments after the output file.
    bool MakeLibrary(const char* name, const std::vector<std::string>& options)
    {
        std::vector<std::string> argv = { "python3", SourcePath("library/db/MakeLibrary.py"), UnixPath(name) };
        argv.insert(argv.end(), options.begin(), options.end());
        return RunHostProgram(argv);
    }
};

bool IsAlbumId(const CString& id)
{
    if (id.GetLength() != 16)
        return false;
    for (int i = 0; i < id.GetLength(); i++) {
        if (!isxdigit(static_cast<unsigned char>(id[i])) || islower(static_cast<unsigned char>(id[i])))
            return false;
    }
    return true;
}

bool StartsWith(const CString& text, const char* start)
{
    return text.Left(static_cast<int>(strlen(start))) == start;
}

// What every track of any album must hold, and the sums the album keeps.
void ExpectSoundTracks(const AlbumRecord& album)
{
    int seconds = 0;
    int timesPlayed = 0;
    for (int t = 0; t < album.GetTrackCount(); t++) {
        // An empty title would be a track whose row never reached its album.
        EXPECT_FALSE(album.GetTitle(t).IsEmpty()) << album.GetIdText() << " track " << t;
        seconds += album.GetPlayTime(t);
        timesPlayed += album.GetRecord(t)->m_timesPlayed;
        if (album.GetRecord(t)->m_timesPlayed > 0) {
            EXPECT_GE(album.GetLastPlayed(kAlbumIndex).m_dt, album.GetLastPlayed(t).m_dt);
        }
    }
    EXPECT_GE(album.GetPlayTime(kAlbumIndex), seconds) << album.GetIdText();
    EXPECT_EQ(timesPlayed, album.GetRecord(kAlbumIndex)->m_timesPlayed) << album.GetIdText();
}

void ExpectSoundDates(const AlbumRecord& album)
{
    COleDateTime added = album.GetAdded(kAlbumIndex);
    EXPECT_GE(added.GetYear(), 1998) << album.GetIdText();
    EXPECT_LE(added.GetYear(), 2025) << album.GetIdText();
    COleDateTime released = album.GetReleased(kAlbumIndex);
    if (IsDateSet(released)) {
        EXPECT_LE(released.GetYear(), added.GetYear()) << album.GetIdText();
    }
    bool played = album.GetRecord(kAlbumIndex)->m_timesPlayed > 0;
    EXPECT_EQ(played, IsDateSet(album.GetLastPlayed(kAlbumIndex))) << album.GetIdText();
    if (played) {
        EXPECT_GE(album.GetLastPlayed(kAlbumIndex).m_dt, added.m_dt) << album.GetIdText();
    }
}

void ExpectAudioAlbum(const AlbumRecord& album)
{
    EXPECT_EQ(0, album.GetSlot());
    EXPECT_TRUE(album.IsInPlayer());
    for (int t = 0; t < album.GetTrackCount(); t++) {
        CString file = album.GetFileLocation(t);
        EXPECT_TRUE(StartsWith(file, kMusicFolder + CString("\\")) && file.Right(4) == ".mp3")
            << static_cast<const char*>(file);
    }
}

struct SizeCase
{
    const char* name;
    int albums;
    int tracks;
    const char* changers;
    std::vector<int> capacities;
    const char* audioShare;
    int audioAlbums;
};

const SizeCase kSizes[] = {
    { "empty", 0, 0, "300", {300}, "0.5", 0 },
    { "one disc", 1, 1, "5", {5}, "0", 0 },
    { "one audio album", 1, 3, "none", {}, "1", 1 },
    { "every slot taken", 50, 500, "20,30", {20, 30}, "0", 0 },
    { "hundreds", 300, 3600, "100,300,40", {100, 300, 40}, "0.4", 120 },
};

TEST_F(MakeLibraryTest, LoadsWhatItWasMadeOfAndChangesNothing)
{
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(MakeLibrary("made.mdb", { "--albums", std::to_string(c.albums), "--tracks",
                                              std::to_string(c.tracks), "--changers", c.changers,
                                              "--audio-share", c.audioShare, "--music-folder", kMusicFolder,
                                              "--seed", "3" }));
        m_host.m_events.clear();
        OpenLibrary("made.mdb");
        CMessageBoxScript boxes;
        Load();
        EXPECT_TRUE(boxes.Shown().empty());
        // A load that had to mend ids or locations would have saved.
        EXPECT_EQ(std::vector<std::string>({ "library_load_start", "library_load_end" }), m_host.m_events);
        EXPECT_EQ(std::to_string(c.tracks), Query("made.mdb", "SELECT count(*) FROM Tracks"));

        CLibraryLock lock(*m_library);
        ASSERT_EQ(c.albums, m_library->GetAlbumCount());
        std::set<CString> ids;
        std::set<std::pair<int, int>> places;
        int tracks = 0;
        int audioAlbums = 0;
        for (int i = 0; i < c.albums; i++) {
            const AlbumRecord& album = *m_library->GetAlbumPtr(lock, i);
            EXPECT_TRUE(IsAlbumId(album.GetIdText())) << static_cast<const char*>(album.GetIdText());
            EXPECT_TRUE(ids.insert(album.GetIdText()).second) << static_cast<const char*>(album.GetIdText());
            EXPECT_GE(album.GetTrackCount(), 1);
            tracks += album.GetTrackCount();
            ExpectSoundTracks(album);
            ExpectSoundDates(album);
            EXPECT_EQ(album.ComputeCddbId(), album.GetSonyId());
            if (album.GetStoredPlayer() == kMp3Player) {
                audioAlbums++;
                ExpectAudioAlbum(album);
                continue;
            }
            EXPECT_EQ(album.ComputeAlbumId(), album.GetIdText());
            ASSERT_GE(album.GetStoredPlayer(), 0);
            ASSERT_LT(album.GetStoredPlayer(), static_cast<int>(c.capacities.size()));
            EXPECT_GE(album.GetSlot(), 1);
            EXPECT_LE(album.GetSlot(), c.capacities[album.GetStoredPlayer()]);
            EXPECT_TRUE(places.insert({ album.GetStoredPlayer(), album.GetSlot() }).second)
                << "P" << album.GetStoredPlayer() << " D" << album.GetSlot();
        }
        EXPECT_EQ(c.tracks, tracks);
        EXPECT_EQ(c.audioAlbums, audioAlbums);
    }
}

// A few values read back beside what SQLite itself finds in the file.
TEST_F(MakeLibraryTest, AlbumsAndTracksReadBackAsStored)
{
    ASSERT_TRUE(MakeLibrary("made.mdb", { "--albums", "20", "--audio-share", "0.5", "--covers", "1" }));
    OpenLibrary("made.mdb");
    Load();
    for (int index : { 0, 7, 19 }) {
        AlbumRecord album = m_library->NewAlbum();
        ASSERT_TRUE(m_library->GetAlbumAt(index, album));
        std::string where = "WHERE ZYMID='" + std::string(album.GetIdText()) + "'";
        EXPECT_EQ(Query("made.mdb", ("SELECT Title FROM Albums " + where).c_str()),
                  std::string(album.GetTitle(kAlbumIndex)));
        EXPECT_EQ(Query("made.mdb", ("SELECT Artist FROM Albums " + where).c_str()),
                  std::string(album.GetArtist(kAlbumIndex)));
        EXPECT_EQ(Query("made.mdb", ("SELECT Keywords FROM Albums " + where).c_str()),
                  std::string(album.GetKeywordText(kAlbumIndex)));
        EXPECT_EQ(std::string(album.GetSafeName(kAlbumIndex)) + ".jpg", std::string(album.GetImage(kAlbumIndex)));
        int last = album.GetTrackCount() - 1;
        EXPECT_EQ(Query("made.mdb", ("SELECT Title FROM Tracks " + where + " AND Track=" +
                                     std::to_string(last + 1)).c_str()),
                  std::string(album.GetTitle(last)));
        EXPECT_GT(album.GetKeywordList(kAlbumIndex).GetCount(), 0) << index;
    }
}

struct SeedCase
{
    const char* first;
    const char* second;
    bool same;
};

const SeedCase kSeeds[] = {
    { "7", "7", true },
    { "7", "8", false },
};

TEST_F(MakeLibraryTest, TheSeedDecidesEveryByte)
{
    for (const SeedCase& c : kSeeds) {
        SCOPED_TRACE(std::string(c.first) + " " + c.second);
        ASSERT_TRUE(MakeLibrary("first.mdb", { "--albums", "40", "--seed", c.first }));
        ASSERT_TRUE(MakeLibrary("second.mdb", { "--albums", "40", "--seed", c.second }));
        std::string first = ReadBytes(UnixPath("first.mdb"));
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(c.same, first == ReadBytes(UnixPath("second.mdb")));
    }
}

// Options that cannot make a sound library are refused before anything is written.
TEST_F(MakeLibraryTest, RefusesWhatCannotBeMade)
{
    const std::vector<std::string> refused[] = {
        { "--albums", "10", "--changers", "2,2", "--audio-share", "0" },      // discs beyond the slots
        { "--albums", "3", "--tracks", "2" },                                 // an album without tracks
        { "--albums", "1", "--tracks", "100", "--audio-share", "0" },         // more tracks than a disc holds
        { "--albums", "1", "--tracks", "70000", "--audio-share", "1" },       // more than any album holds
        { "--audio-share", "1.5" },
        { "--changers", "0" },
        { "--seed", "x" },
    };
    for (const std::vector<std::string>& options : refused) {
        SCOPED_TRACE(options[0] + " " + options[1]);
        EXPECT_FALSE(MakeLibrary("refused.mdb", options));
        EXPECT_FALSE(Exists("refused.mdb"));
        EXPECT_FALSE(Exists("refused.mdb.part"));
    }
}

}
