// Load, save, compaction and id upgrade of the library file, looked at through
// the library and through SQLite directly.
#include "library/db/tests/LibraryDbFixture.h"

#include <dirent.h>
#include <signal.h>
#include <string.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/HostProgram.h"
#include "library/db/ODBError.h"

namespace {

class LibraryDatabaseTest : public LibraryDbFixture
{
protected:
    void SetUp() override
    {
        LibraryDbFixture::SetUp();
        CopyTemplate("lib.mdb");
        OpenLibrary("lib.mdb");
    }

    // Stores albums and saves them.
    void SaveAlbums(std::vector<AlbumRecord>& albums)
    {
        for (AlbumRecord& album : albums)
            m_library->StoreAlbum(album);
        ASSERT_TRUE(m_database->Save());
    }

    // Gives a stored album a new title, so that the next save writes it.
    void Retitle(const AlbumRecord& album, const char* title)
    {
        AlbumRecord stored = StoredAlbum(album.GetIdText());
        stored.SetTitle(kAlbumIndex, title);
        m_library->StoreAlbum(stored);
    }

    std::string Count(const char* sql) { return Query("lib.mdb", sql); }

    // Names in the test's folder that begin with the prefix.
    std::vector<std::string> FilesStartingWith(const char* prefix)
    {
        std::vector<std::string> names;
        DIR* dir = opendir(UnixPath("").c_str());
        while (struct dirent* entry = dir ? readdir(dir) : nullptr) {
            if (strncmp(entry->d_name, prefix, strlen(prefix)) == 0)
                names.push_back(entry->d_name);
        }
        if (dir)
            closedir(dir);
        return names;
    }

    // Stores an album in a changer, whose id the upgrade after a load
    // recomputes from its tracks, and saves it.
    AlbumRecord SaveChangerAlbum()
    {
        std::vector<AlbumRecord> albums = { MakeAlbum(2, 100) };
        albums[0].SetPlayer(0);
        albums[0].SetSlot(7);
        albums[0].SetIdText(albums[0].ComputeAlbumId());
        SaveAlbums(albums);
        return albums[0];
    }
};

// Another program wrote the ids in lower case: the tracks still reach their
// album, and the upgrade neither takes the album for an empty one nor doubles it.
TEST_F(LibraryDatabaseTest, LowerCaseIdsFindTheirAlbums)
{
    AlbumRecord album = SaveChangerAlbum();
    CString lower = album.GetIdText();
    lower.MakeLower();
    ASSERT_NE(lower, album.GetIdText());
    Exec("lib.mdb", "UPDATE Albums SET ZYMID = lower(ZYMID); UPDATE Tracks SET ZYMID = lower(ZYMID);");
    CMessageBoxScript boxes;
    Load();
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(1, m_library->GetAlbumCount());
    AlbumRecord loaded = StoredAlbum(lower);
    EXPECT_EQ(album.GetIdText(), loaded.GetIdText());
    EXPECT_EQ(CString("Track 1"), loaded.GetTitle(0));
    EXPECT_EQ(CString("Track 2"), loaded.GetTitle(1));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("2", Count("SELECT count(*) FROM Tracks"));
    EXPECT_EQ(std::string(album.GetIdText()), Count("SELECT DISTINCT upper(ZYMID) FROM Tracks"));
}

// Many albums with lower-case ids are rewritten in upper case without the
// notice that the way albums are identified has changed: it has not.
TEST_F(LibraryDatabaseTest, ManyLowerCaseIdsAreRewrittenWithoutTheUpgradeNotice)
{
    const int kAlbums = 25;   // more than the notice's threshold
    std::vector<AlbumRecord> albums;
    for (int i = 0; i < kAlbums; i++) {
        albums.push_back(MakeAlbum(2, 100 + 3 * i));
        albums[i].SetPlayer(0);
        albums[i].SetSlot(i + 1);
        albums[i].SetIdText(albums[i].ComputeAlbumId());
    }
    SaveAlbums(albums);
    Exec("lib.mdb", "UPDATE Albums SET ZYMID = lower(ZYMID); UPDATE Tracks SET ZYMID = lower(ZYMID);");
    CMessageBoxScript boxes;
    Load();
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(kAlbums, m_library->GetAlbumCount());
    EXPECT_EQ(std::to_string(kAlbums), Count("SELECT count(*) FROM Albums WHERE ZYMID = upper(ZYMID)"));
    EXPECT_EQ(std::to_string(2 * kAlbums), Count("SELECT count(*) FROM Tracks"));
}

// While another program holds the file, or with a damaged Tracks table, the
// albums load without their tracks: their ids stay, and nothing is saved.
TEST_F(LibraryDatabaseTest, AFailedTracksReadChangesNoIdAndSavesNothing)
{
    AlbumRecord album = SaveChangerAlbum();
    Exec("lib.mdb", "ALTER TABLE Tracks RENAME TO Kept;");
    CMessageBoxScript boxes;
    Load();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(0u, boxes.Shown()[0].text.find("Error reading tracks\n")) << boxes.Shown()[0].text;
    ASSERT_EQ(1, m_library->GetAlbumCount());
    AlbumRecord loaded = StoredAlbum(album.GetIdText());
    EXPECT_EQ(album.GetIdText(), loaded.GetIdText());
    EXPECT_EQ(kAlbumClean, loaded.GetState());
    EXPECT_EQ(std::string(album.GetIdText()), Count("SELECT ZYMID FROM Albums"));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
}

// A track count no album has is a damaged row: it is skipped (once told), the
// other albums load, and the partial load saves nothing.
TEST_F(LibraryDatabaseTest, AHugeTrackCountIsADamagedRow)
{
    const int counts[] = { 400000000, 65536 };
    for (int count : counts) {
        CopyTemplate("lib.mdb");
        OpenLibrary("lib.mdb");
        AlbumRecord album = SaveChangerAlbum();
        CString sql;
        sql.Format("INSERT INTO Albums (ZYMID, Tracks, Player) VALUES ('1A2B3C4D', %d, 0);", count);
        Exec("lib.mdb", sql);
        CMessageBoxScript boxes;
        Load();
        ASSERT_EQ(1u, boxes.Shown().size()) << count;
        EXPECT_EQ("Error! Track count out of range", boxes.Shown()[0].text);
        ASSERT_EQ(1, m_library->GetAlbumCount()) << count;
        EXPECT_EQ(CString("Track 2"), StoredAlbum(album.GetIdText()).GetTitle(1));
        EXPECT_EQ("1A2B3C4D", Count("SELECT ZYMID FROM Albums WHERE Tracks > 2"));
    }
}

TEST_F(LibraryDatabaseTest, EveryColumnRoundTrips)
{
    AlbumRecord album = MakeAlbum(3, 100);
    album.SetPlayer(2);
    album.SetSlot(17);
    album.SetPresent(true);
    album.SetCddbId(0x0A0B0C0D);
    album.SetSonyId(0x12345678);
    album.SetExactId(0);
    TrackRecord& own = *album.GetRecord(kAlbumIndex);
    own.m_artist = "Artist";
    own.m_url = "http://example.invalid/";
    own.m_cdText = "CD text";
    own.m_memo = "Memo";
    own.m_imageFile = "cover.jpg";
    own.m_notes = "Line one\r\nLine two";
    own.m_neverPlay = 1;
    own.m_group = 4;
    own.m_ratings.SetValue(3, 9);
    own.m_added = COleDateTime(2001, 2, 3, 4, 5, 6);
    own.m_timesPlayed = 11;
    own.m_timePlayed = 1234;
    CKeywordList keywords = m_library->GetMasterKeywords().ParseKeywordList("rock live");
    ASSERT_EQ(2, keywords.GetCount());
    album.SetKeywordList(kAlbumIndex, keywords, true);
    TrackRecord& track = *album.GetRecord(1);
    track.m_lyrics = std::string(2000, 'l').c_str();
    // A path as long as Windows allows: nothing of it may be cut.
    track.m_soundFile = ("C:\\music\\" + std::string(246, 's') + ".mp3").c_str();
    track.m_frames = 74;
    track.m_released = COleDateTime(1998, 1, 1, 0, 0, 0);
    std::vector<AlbumRecord> albums = { album };
    SaveAlbums(albums);

    // Empty texts are stored as NULL, zero ids as NULL.
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums WHERE Lyrics IS NULL AND ExactID IS NULL"));
    EXPECT_EQ("0A0B0C0D", Count("SELECT CDDBID FROM Albums"));
    // The keyword text is made from the keyword list as the album is written.
    EXPECT_EQ("rock live", Count("SELECT Keywords FROM Albums"));

    OpenLibrary("lib.mdb");
    Load();
    ASSERT_EQ(1, m_library->GetAlbumCount());
    AlbumRecord loaded = StoredAlbum(album.GetIdText());
    EXPECT_EQ(kAlbumClean, loaded.GetState());
    EXPECT_EQ(3, loaded.GetTrackCount());
    EXPECT_EQ(2, loaded.GetStoredPlayer());
    EXPECT_EQ(17, loaded.GetSlot());
    EXPECT_TRUE(loaded.IsPresent());
    EXPECT_EQ(0x0A0B0C0Du, loaded.GetCddbId());
    EXPECT_EQ(0x12345678u, loaded.GetSonyId());
    EXPECT_EQ(0u, loaded.GetExactId());
    const TrackRecord& ownLoaded = *loaded.GetRecord(kAlbumIndex);
    EXPECT_EQ(own.m_title, ownLoaded.m_title);
    EXPECT_EQ(own.m_artist, ownLoaded.m_artist);
    EXPECT_EQ(own.m_url, ownLoaded.m_url);
    EXPECT_EQ(own.m_cdText, ownLoaded.m_cdText);
    EXPECT_EQ(own.m_memo, ownLoaded.m_memo);
    EXPECT_EQ(own.m_imageFile, ownLoaded.m_imageFile);
    EXPECT_EQ(own.m_notes, ownLoaded.m_notes);
    EXPECT_EQ(1, ownLoaded.m_neverPlay);
    EXPECT_EQ(4, ownLoaded.m_group);
    EXPECT_EQ(9, ownLoaded.m_ratings.GetValue(3));
    EXPECT_EQ(0, ownLoaded.m_ratings.GetValue(0));
    EXPECT_EQ(static_cast<DATE>(own.m_added), static_cast<DATE>(ownLoaded.m_added));
    EXPECT_EQ(0.0, static_cast<DATE>(ownLoaded.m_lastPlayed));
    EXPECT_EQ(11, ownLoaded.m_timesPlayed);
    EXPECT_EQ(1234, ownLoaded.m_timePlayed);
    EXPECT_EQ(own.m_minutes, ownLoaded.m_minutes);
    EXPECT_EQ(own.m_seconds, ownLoaded.m_seconds);
    EXPECT_TRUE(keywords == loaded.GetKeywordList(kAlbumIndex));
    const TrackRecord& trackLoaded = *loaded.GetRecord(1);
    EXPECT_EQ(track.m_title, trackLoaded.m_title);
    EXPECT_EQ(track.m_lyrics, trackLoaded.m_lyrics);
    EXPECT_EQ(track.m_soundFile, trackLoaded.m_soundFile);
    EXPECT_EQ(74, trackLoaded.m_frames);
    EXPECT_EQ(-1, trackLoaded.m_group);
    EXPECT_EQ(static_cast<DATE>(track.m_released), static_cast<DATE>(trackLoaded.m_released));
    EXPECT_EQ(std::vector<std::string>({ "library_save_start", "library_save_end", "library_load_start",
                                         "library_load_end" }),
              m_host.m_events);
}

TEST_F(LibraryDatabaseTest, AChangedAlbumRewritesOnlyItsRows)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(2, 100), MakeAlbum(2, 200) };
    SaveAlbums(albums);
    // A mark the program does not write: it survives unless the row is rewritten.
    Exec("lib.mdb", "UPDATE Albums SET URL = 'mark'; UPDATE Tracks SET URL = 'mark';");
    Retitle(albums[0], "New title");
    ASSERT_TRUE(m_database->Save());
    CString sql;
    sql.Format("SELECT count(*) FROM Albums WHERE URL = 'mark' AND ZYMID = '%s'",
               static_cast<const char*>(albums[1].GetIdText()));
    EXPECT_EQ("1", Count(sql));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums WHERE URL = 'mark'"));
    EXPECT_EQ("2", Count("SELECT count(*) FROM Tracks WHERE URL = 'mark'"));
    EXPECT_EQ("New title", Count("SELECT Title FROM Albums WHERE URL IS NULL"));
    EXPECT_EQ("2", Count("SELECT count(*) FROM Albums"));
}

// Small and big saves (a big one reads the stored ids first): stored albums
// are rewritten in place, one of them stored under its id in lower case, and
// new ones are added once.
TEST_F(LibraryDatabaseTest, ASaveRewritesStoredAlbumsInPlaceAndAddsNewOnes)
{
    for (int stored : { 3, 80 }) {
        CopyTemplate("lib.mdb");
        OpenLibrary("lib.mdb");
        std::vector<AlbumRecord> albums;
        for (int i = 0; i < stored; i++)
            albums.push_back(MakeAlbum(2, 100 + 3 * i));
        SaveAlbums(albums);
        CString lower;
        lower.Format("UPDATE Albums SET ZYMID = lower(ZYMID) WHERE rowid = 2;"
                     "UPDATE Tracks SET ZYMID = lower(ZYMID) WHERE ZYMID = '%s';",
                     static_cast<const char*>(albums[1].GetIdText()));
        Exec("lib.mdb", lower);
        for (int i = 0; i < stored; i++) {
            CString title;
            title.Format("Again %d", i);
            Retitle(albums[i], title);
        }
        std::vector<AlbumRecord> added = { MakeAlbum(3, 1000), MakeAlbum(1, 2000) };
        SaveAlbums(added);
        std::string albumCount = std::to_string(stored + 2);
        EXPECT_EQ(albumCount, Count("SELECT count(*) FROM Albums")) << stored;
        EXPECT_EQ(albumCount, Count("SELECT count(DISTINCT upper(ZYMID)) FROM Albums")) << stored;
        EXPECT_EQ(std::to_string(2 * stored + 4), Count("SELECT count(*) FROM Tracks")) << stored;
        EXPECT_EQ("Again 0", Count("SELECT Title FROM Albums WHERE rowid = 1")) << stored;
        EXPECT_EQ("Again 1", Count("SELECT Title FROM Albums WHERE rowid = 2")) << stored;
        EXPECT_EQ("Track 3", Count("SELECT max(Title) FROM Tracks")) << stored;
    }
}

TEST_F(LibraryDatabaseTest, ShrinkingATrackCountDeletesTheExtraRows)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(12, 100) };
    albums[0].SetPlayer(kMp3Player);   // keeps its id when its tracks change
    SaveAlbums(albums);
    EXPECT_EQ("12", Count("SELECT count(*) FROM Tracks"));
    AlbumRecord album = StoredAlbum(albums[0].GetIdText());
    album.DeleteTrack(11);
    album.DeleteTrack(10);
    album.SetTitle(0, "Rewritten");
    m_library->StoreAlbum(album);
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("10", Count("SELECT count(*) FROM Tracks"));
    EXPECT_EQ("10", Count("SELECT max(Track) FROM Tracks"));
    EXPECT_EQ("Rewritten", Count("SELECT Title FROM Tracks WHERE Track = 1"));
}

TEST_F(LibraryDatabaseTest, DeletedAlbumsLoseTheirRows)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(2, 100), MakeAlbum(3, 200) };
    SaveAlbums(albums);
    AlbumRecord gone = StoredAlbum(albums[0].GetIdText());
    ASSERT_TRUE(m_library->DeleteAlbum(gone));
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("3", Count("SELECT count(*) FROM Tracks"));
    // Two albums written, then one album's rows deleted.
    EXPECT_EQ(3, m_database->GetStatementCount());
}

TEST_F(LibraryDatabaseTest, AQuoteInAnIdIsDataNotSql)
{
    // Sixteen upper-case characters, so that look-ups take it as an id.
    const char kQuotedId[] = "0' OR 'A'='A' --";
    // Ids come from files and other programs too: a quote must neither break
    // the statement nor widen it to other albums.
    std::vector<AlbumRecord> albums = { MakeAlbum(1, 100), MakeAlbum(1, 200) };
    albums[0].SetPlayer(kMp3Player);
    albums[0].SetIdText(kQuotedId);
    SaveAlbums(albums);
    AlbumRecord quoted = StoredAlbum(kQuotedId);
    quoted.SetTitle(kAlbumIndex, "Again");
    m_library->StoreAlbum(quoted);
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("2", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("Again", Count("SELECT Title FROM Albums WHERE ZYMID = '0'' OR ''a''=''a'' --'"));
    ASSERT_TRUE(m_library->DeleteAlbum(quoted));
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Tracks"));
}

TEST_F(LibraryDatabaseTest, AMissingFileLoadsQuietlyAndIsCreatedOnSave)
{
    OpenLibrary("new.mdb");
    Load();
    EXPECT_EQ(0, m_library->GetAlbumCount());
    EXPECT_EQ(std::vector<std::string>({ "library_load_start", "library_load_end" }), m_host.m_events);

    AlbumRecord album = MakeAlbum(2, 100);
    m_library->StoreAlbum(album);
    {
        CMessageBoxScript boxes;
        boxes.Then(IDNO);
        EXPECT_FALSE(m_database->Save());
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("The library file named " + WindowsPath("new.mdb") +
                      " that you are trying to save doesn't exist. Would you like to create it?",
                  boxes.Shown()[0].text);
        EXPECT_FALSE(Exists("new.mdb"));
    }
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    EXPECT_TRUE(m_database->Save());
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("1", Query("new.mdb", "SELECT count(*) FROM Albums"));
    EXPECT_EQ("2", Query("new.mdb", "SELECT count(*) FROM Tracks"));
}

TEST_F(LibraryDatabaseTest, TrackRowsThatFitNoAlbumAreSkipped)
{
    AlbumRecord album = MakeAlbum(2, 100);
    CString sql;
    sql.Format("INSERT INTO Albums (ZYMID, Tracks, Player) VALUES ('%s', 2, 1001);"
               "INSERT INTO Tracks (ZYMID, Track, Title) VALUES ('%s', 1, 'One'), ('%s', 5, 'Five'),"
               " ('FFFFFFFFFFFFFFFF', 1, 'Stray'), ('%s', 2, 'Two');",
               static_cast<const char*>(album.GetIdText()), static_cast<const char*>(album.GetIdText()),
               static_cast<const char*>(album.GetIdText()), static_cast<const char*>(album.GetIdText()));
    Exec("lib.mdb", sql);
    CMessageBoxScript boxes;
    Load();
    // Only the track number out of range is told; the stray album id is not.
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Error! Track number out of range", boxes.Shown()[0].text);
    AlbumRecord loaded = StoredAlbum(album.GetIdText());
    EXPECT_EQ(CString("One"), loaded.GetTitle(0));
    EXPECT_EQ(CString("Two"), loaded.GetTitle(1));
}

TEST_F(LibraryDatabaseTest, AnEmptyAlbumsTableReadsNoTracks)
{
    // Track rows without albums, and an album in memory that the load keeps.
    Exec("lib.mdb", "INSERT INTO Tracks (ZYMID, Track) VALUES ('12345678', 1);");
    AlbumRecord kept = MakeAlbum(1, 100);
    kept.SetPlayer(kMp3Player);
    m_library->StoreAlbum(kept);
    ASSERT_TRUE(m_database->Save());
    Exec("lib.mdb", "DELETE FROM Albums;");
    m_host.m_events.clear();
    Load();
    EXPECT_EQ(1, m_library->GetAlbumCount());
    EXPECT_EQ(std::vector<std::string>({ "library_load_start", "library_load_end" }), m_host.m_events);
}

TEST_F(LibraryDatabaseTest, ATemplateThatCannotBeCopiedIsReported)
{
    OpenLibrary("no-such-folder/new.mdb");
    AlbumRecord album = MakeAlbum(1, 100);
    m_library->StoreAlbum(album);
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    EXPECT_FALSE(m_database->Save());
    ASSERT_EQ(2u, boxes.Shown().size());
    std::string text = boxes.Shown()[1].text;
    EXPECT_EQ(0u, text.find("Error making copy of template file ")) << text;
    EXPECT_NE(std::string::npos, text.find("template.mdb to " + WindowsPath("no-such-folder/new.mdb"))) << text;
    EXPECT_FALSE(m_library->IsSaving());
}

TEST_F(LibraryDatabaseTest, AnEightDigitIdIsUpgradedAndItsRowRekeyed)
{
    Exec("lib.mdb",
         "INSERT INTO Albums (ZYMID, Title, Tracks, Player, Position, LocationValid)"
         " VALUES ('1A2B3C4D', 'Old', 2, 0, 5, 1);"
         "INSERT INTO Tracks (ZYMID, Track, Minutes, Seconds) VALUES ('1A2B3C4D', 1, 3, 10),"
         " ('1A2B3C4D', 2, 4, 20);");
    Load();
    ASSERT_EQ(1, m_library->GetAlbumCount());
    AlbumRecord album = m_library->NewAlbum();
    ASSERT_TRUE(m_library->GetAlbumAt(0, album));
    EXPECT_EQ(0x1A2B3C4Du, album.GetSonyId());
    EXPECT_EQ(16, album.GetIdText().GetLength());
    EXPECT_EQ(album.ComputeAlbumId(), album.GetIdText());
    // The upgrade's save found the row by its changer id and moved it to the new key.
    EXPECT_EQ(kAlbumClean, album.GetState());
    EXPECT_EQ(std::string(album.GetIdText()), Count("SELECT ZYMID FROM Albums"));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("2", Count("SELECT count(DISTINCT Track) FROM Tracks WHERE length(ZYMID) = 16"));
    EXPECT_EQ("1A2B3C4D", Count("SELECT SonyID FROM Albums"));
}

// A changer album stored under an id its tracks do not give is rekeyed by the
// load; the save moves its rows rather than adding a second album beside them.
TEST_F(LibraryDatabaseTest, ARecomputedIdMovesTheRowsOfItsAlbum)
{
    AlbumRecord album = SaveChangerAlbum();
    Exec("lib.mdb", "UPDATE Albums SET ZYMID = '0123456789ABCDEF', Title = 'Kept';"
                    " UPDATE Tracks SET ZYMID = '0123456789ABCDEF';");
    Load();
    EXPECT_EQ(0, m_library->CountChanged());
    Load();
    ASSERT_EQ(1, m_library->GetAlbumCount());
    AlbumRecord loaded = StoredAlbum(album.GetIdText());
    EXPECT_EQ(album.GetIdText(), loaded.GetIdText());
    EXPECT_EQ(CString("Kept"), loaded.GetTitle(kAlbumIndex));
    EXPECT_EQ(CString("Track 1"), loaded.GetTitle(0));
    EXPECT_EQ(CString("Track 2"), loaded.GetTitle(1));
    EXPECT_EQ(std::string(album.GetIdText()), Count("SELECT group_concat(DISTINCT ZYMID) FROM Albums"));
    EXPECT_EQ(std::string(album.GetIdText()), Count("SELECT group_concat(DISTINCT ZYMID) FROM Tracks"));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("2", Count("SELECT count(*) FROM Tracks"));
}

TEST_F(LibraryDatabaseTest, ManyUpgradedAlbumsAreAnnouncedOnce)
{
    struct Case { int albums; size_t boxes; };
    const Case cases[] = { { 20, 0 }, { 21, 1 } };
    for (const Case& c : cases) {
        CopyTemplate("lib.mdb");
        OpenLibrary("lib.mdb");
        std::string sql;
        for (int i = 0; i < c.albums; i++) {
            char row[160];
            snprintf(row, sizeof(row), "INSERT INTO Albums (ZYMID, Tracks, Player) VALUES ('%08X', 0, -1);",
                     0x100 + i);
            sql += row;
        }
        Exec("lib.mdb", sql.c_str());
        CMessageBoxScript boxes;
        Load();
        EXPECT_EQ(c.boxes, boxes.Shown().size()) << c.albums;
        EXPECT_EQ(0, m_library->CountChanged()) << c.albums;
    }
}

TEST_F(LibraryDatabaseTest, CompactionReplacesTheFileAndLeavesTheUsersFilesAlone)
{
    // userFile: a file of the user's whose name the library's name suggests
    // for a backup; it stays as it was.
    struct Case { const char* file; const char* userFile; };
    const Case cases[] = {
        { "first.mdb", "first.bak" },
        { "SECOND.MDB", "SECOND.MDB.bak" },
        { "music.mdb.library.mdb", "music.mdb.library.bak" },
        { "music.mdb.library.mdb", "music.bak.library.bak" },
    };
    for (const Case& c : cases) {
        CopyTemplate(c.file);
        OpenLibrary(c.file);
        std::vector<AlbumRecord> albums = { MakeAlbum(2, 100) };
        SaveAlbums(albums);
        Exec(c.userFile, "CREATE TABLE Users (x INTEGER);");
        ASSERT_TRUE(m_database->Compact()) << c.file;
        EXPECT_EQ("1", Query(c.userFile, "SELECT count(*) FROM sqlite_master WHERE name = 'Users'")) << c.file;
        EXPECT_EQ(std::vector<std::string>(), FilesStartingWith("zym")) << c.file;
        EXPECT_EQ("1", Query(c.file, "SELECT count(*) FROM Albums")) << c.file;
        EXPECT_EQ(0, m_database->GetStatementCount());
        // The next save reconnects.
        Retitle(albums[0], "After");
        ASSERT_TRUE(m_database->Save());
        EXPECT_EQ("After", Query(c.file, "SELECT Title FROM Albums")) << c.file;
    }
}

TEST_F(LibraryDatabaseTest, CompactingAMissingFileSaysSo)
{
    OpenLibrary("gone.mdb");
    CMessageBoxScript boxes;
    EXPECT_FALSE(m_database->Compact());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Unable to find the library file " + WindowsPath("gone.mdb"), boxes.Shown()[0].text);
    EXPECT_EQ(std::vector<std::string>({ "library_compact_start", "library_compact_end" }), m_host.m_events);
}

TEST_F(LibraryDatabaseTest, AForeignFileIsNeitherLoadedNorOverwritten)
{
    const char kForeign[] = "Standard Jet DB? No: just some bytes that are not a database at all.";
    FILE* file = fopen(UnixPath("foreign.mdb").c_str(), "wb");
    ASSERT_TRUE(file != nullptr);
    fputs(kForeign, file);
    fclose(file);
    OpenLibrary("foreign.mdb");
    AlbumRecord kept = MakeAlbum(2, 100);
    m_library->StoreAlbum(kept);
    {
        // The load fails; a failed load saves nothing by itself.
        CMessageBoxScript boxes;
        Load();
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(0u, boxes.Shown()[0].text.find("Error reading albums\n")) << boxes.Shown()[0].text;
    }
    EXPECT_EQ(1, m_library->GetAlbumCount());
    EXPECT_EQ(std::vector<std::string>({ "library_load_start", "library_load_end" }), m_host.m_events);

    EXPECT_THROW(m_database->Save(), _com_error);
    EXPECT_EQ(1, m_library->CountChanged());
    char contents[sizeof(kForeign) + 8] = {};
    file = fopen(UnixPath("foreign.mdb").c_str(), "rb");
    ASSERT_TRUE(file != nullptr);
    size_t n = fread(contents, 1, sizeof(contents), file);
    fclose(file);
    EXPECT_EQ(std::string(kForeign), std::string(contents, n));
}

TEST_F(LibraryDatabaseTest, AnotherProcessReadsAndWritesTheSameFile)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(3, 100) };
    SaveAlbums(albums);
    // Another process, while this one keeps its connection open.
    std::string script = "import sqlite3; d = sqlite3.connect('" + UnixPath("lib.mdb") +
                         "'); print(d.execute('SELECT count(*) FROM Tracks').fetchone()[0]);"
                         " d.execute(\"UPDATE Albums SET Title = 'From outside'\"); d.commit()";
    std::string line;
    ASSERT_TRUE(RunHostProgram({"python3", "-c", script}, &line));
    EXPECT_EQ("3\n", line);
    Load();
    EXPECT_EQ(CString("From outside"), StoredAlbum(albums[0].GetIdText()).GetTitle(kAlbumIndex));
}

// The child of the test below: saves every album of the library named by the
// variable over and over, writing its process id to the file named there once
// the first save is in, until it is killed.
TEST_F(LibraryDatabaseTest, SavesUntilKilled)
{
    char spec[2 * MAX_PATH];
    if (!GetEnvironmentVariableA("ZYM_SAVE_UNTIL_KILLED", spec, sizeof(spec)))
        GTEST_SKIP() << "runs only as the child of AProcessKilledInTheMiddleOfASaveLeavesOneWholeSave";
    std::string library = spec;
    std::string pidFile = library.substr(library.find('|') + 1);
    library.resize(library.find('|'));
    m_library.reset(new CMusicLibrary());
    m_library->SetLibraryPath(library.c_str());
    m_database.reset(new CLibraryDatabase(*m_library));
    m_library->SetLoader(m_database.get());
    Load();
    for (int round = 1;; round++) {
        for (int i = 0; i < m_library->GetAlbumCount(); i++) {
            AlbumRecord album = m_library->NewAlbum();
            m_library->GetAlbumAt(i, album);
            CString title;
            title.Format("Round %d", round);
            for (int t = kAlbumIndex; t < album.GetTrackCount(); t++)
                album.SetTitle(t, title);
            m_library->StoreAlbum(album);
        }
        ASSERT_TRUE(m_database->Save());
        if (round == 1) {
            FILE* file = fopen(pidFile.c_str(), "w");
            ASSERT_TRUE(file != nullptr);
            fprintf(file, "%d\n", static_cast<int>(getpid()));
            fclose(file);
        }
    }
}

// Killed at any moment of a save, a process leaves the file with one save
// whole: the one before or the one it was writing, never a mixture.
TEST_F(LibraryDatabaseTest, AProcessKilledInTheMiddleOfASaveLeavesOneWholeSave)
{
    std::vector<AlbumRecord> albums;
    for (int i = 0; i < 200; i++)
        albums.push_back(MakeAlbum(10, 100 + 3 * i));
    SaveAlbums(albums);
    m_database.reset();
    // The child is this program, copied where Wine starts it as a Windows
    // program (the build's launcher script beside it would not be).
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof(program));
    std::string child = WindowsPath("saver.exe");
    ASSERT_TRUE(CopyFileA((std::string(program) + ".so").c_str(), child.c_str(), FALSE)) << program;
    std::string programFolder(program, strrchr(program, '\\') + 1);
    ASSERT_TRUE(CopyFileA((programFolder + "template.mdb").c_str(), WindowsPath("template.mdb").c_str(), FALSE));
    for (DWORD delayMs : { 0, 7, 23 }) {
        std::string pidFile = UnixPath("child.pid");
        unlink(pidFile.c_str());
        std::string spec = WindowsPath("lib.mdb") + "|" + pidFile;
        SetEnvironmentVariableA("ZYM_SAVE_UNTIL_KILLED", spec.c_str());
        std::string command = "\"" + child + "\" --gtest_filter=LibraryDatabaseTest.SavesUntilKilled";
        STARTUPINFOA startup = { sizeof(startup) };
        PROCESS_INFORMATION process = {};
        BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                      &process);
        SetEnvironmentVariableA("ZYM_SAVE_UNTIL_KILLED", nullptr);
        ASSERT_TRUE(started);
        int pid = 0;
        bool ended = false;
        for (int wait = 0; wait < 6000 && pid == 0 && !ended; wait++) {
            FILE* file = fopen(pidFile.c_str(), "r");
            if (!file || fscanf(file, "%d", &pid) != 1)
                ended = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
            if (file)
                fclose(file);
        }
        if (pid == 0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
            FAIL() << "the child never finished its first save; exit code " << code;
        }
        Sleep(delayMs);
        kill(pid, SIGKILL);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);

        EXPECT_EQ("ok", Count("PRAGMA integrity_check")) << delayMs;
        EXPECT_EQ("200", Count("SELECT count(*) FROM Albums")) << delayMs;
        EXPECT_EQ("2000", Count("SELECT count(*) FROM Tracks")) << delayMs;
        EXPECT_EQ("1", Count("SELECT count(DISTINCT Title) FROM (SELECT Title FROM Albums UNION ALL "
                             "SELECT Title FROM Tracks)")) << delayMs;
        EXPECT_NE("Album", Count("SELECT Title FROM Albums LIMIT 1")) << delayMs;
    }
}

TEST_F(LibraryDatabaseTest, AFullDiskFailsTheSaveAndLosesNothing)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(2, 100) };
    SaveAlbums(albums);
    const std::string notes(2000, 'n');
    for (int i = 0; i < 100; i++) {
        AlbumRecord album = MakeAlbum(3, 1000 + i);
        album.SetNotes(kAlbumIndex, notes.c_str());
        m_library->StoreAlbum(album);
    }
    // No file of this process may grow past the library's present size: the
    // save's writes fail as on a full disk.
    struct stat file;
    ASSERT_EQ(0, stat(UnixPath("lib.mdb").c_str(), &file));
    struct rlimit limit;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
    struct rlimit full = limit;
    full.rlim_cur = file.st_size;
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &full));
    bool failed = false;
    try {
        m_database->Save();
    } catch (const _com_error&) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_TRUE(failed);
    EXPECT_EQ(100, m_library->CountChanged());
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
    EXPECT_EQ("ok", Count("PRAGMA integrity_check"));
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("101", Count("SELECT count(*) FROM Albums"));
}

// The first save lets a second one start on another thread before it writes.
class CSecondSaveStarter : public CRecordingTasks
{
public:
    explicit CSecondSaveStarter(CLibraryDatabase& database) : m_database(database), m_result(-1) {}

    int CreateTask(const char* name, TaskCancelFlag* cancelFlag, DWORD flags) override
    {
        if (m_thread == nullptr) {
            m_thread = CreateThread(nullptr, 0, SecondSave, this, 0, nullptr);
            // Time for the second save to reach the point where it waits or refuses.
            WaitForSingleObject(m_thread, 200);
        }
        return CRecordingTasks::CreateTask(name, cancelFlag, flags);
    }

    // The second save's result, -1 while it has not returned.
    int Finish()
    {
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
        return m_result;
    }

private:
    static DWORD WINAPI SecondSave(void* self)
    {
        CSecondSaveStarter* starter = static_cast<CSecondSaveStarter*>(self);
        CoInitialize(nullptr);
        starter->m_result = starter->m_database.Save() ? 1 : 0;
        CoUninitialize();
        return 0;
    }

    CLibraryDatabase& m_database;
    HANDLE m_thread = nullptr;
    volatile int m_result;
};

TEST_F(LibraryDatabaseTest, ASaveFromAnotherThreadWaitsForTheRunningOne)
{
    AlbumRecord album = MakeAlbum(2, 100);
    m_library->StoreAlbum(album);
    CSecondSaveStarter tasks(*m_database);
    m_library->SetTaskMgr(&tasks);
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ(1, tasks.Finish());
    EXPECT_EQ(std::vector<std::string>({ "create LibSave", "status Saving CD Library", "end LibSave" }),
              tasks.m_log);
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
}

TEST_F(LibraryDatabaseTest, AFailedSaveEndsItsTaskAndKeepsEverythingToWrite)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(2, 100) };
    SaveAlbums(albums);
    Retitle(albums[0], "Not yet");
    AlbumRecord added = MakeAlbum(3, 300);
    m_library->StoreAlbum(added);
    // The file's tables lose a column the save needs to select by.
    Exec("lib.mdb", "ALTER TABLE Tracks RENAME COLUMN ZYMID TO Other;");
    m_tasks.m_log.clear();
    EXPECT_THROW(m_database->Save(), _com_error);
    EXPECT_EQ("end LibSave", m_tasks.m_log.back());
    EXPECT_FALSE(m_library->IsSaving());
    EXPECT_EQ(2, m_library->CountChanged());
    // Nothing of the failed save reached the file.
    EXPECT_EQ("Album", Count("SELECT Title FROM Albums"));
    EXPECT_EQ("1", Count("SELECT count(*) FROM Albums"));
}

TEST_F(LibraryDatabaseTest, ALockedFileFailsTheSaveAndLosesNothing)
{
    std::vector<AlbumRecord> albums = { MakeAlbum(2, 100) };
    SaveAlbums(albums);
    Retitle(albums[0], "Waiting");
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(UnixPath("lib.mdb").c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    try {
        m_database->Save();
        ADD_FAILURE() << "the save went through a locked file";
    } catch (const _com_error& error) {
        EXPECT_FALSE(error.Description().empty());
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(1, m_library->CountChanged());
    ASSERT_TRUE(m_database->Save());
    EXPECT_EQ("Waiting", Count("SELECT Title FROM Albums"));
}

}
