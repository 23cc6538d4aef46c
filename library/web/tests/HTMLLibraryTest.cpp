#include "tests/support/TestFramework.h"

#include "library/web/tests/HttpTestSupport.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "library/web/HTMLLibrary.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadUnixFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string DataFile(const char* name)
{
    return ReadUnixFile(SourcePath(std::string("library/web/tests/data/") + name));
}

// Two tracks: the first has no artist or notes of its own, a title that is a
// field name, and has been played; the album's texts need escaping.
AlbumRecord FixtureAlbum()
{
    AlbumRecord album = MakeAlbum({ 185 * 75, 600 * 75 }, 790 * 75);
    album.SetIdText("00112233AABBCCDD");
    album.SetTitle(kAlbumIndex, "Rock & Roll <Live>");
    album.SetArtist(kAlbumIndex, "Band \"X\"");
    album.SetNotes(kAlbumIndex, "N&B");
    album.SetPlayer(0);
    album.SetSlot(17);
    album.SetPresent(true);
    album.SetTitle(0, "disc_title");
    album.AddTimePlayed(0, 125);
    for (int i = 0; i < 3; i++)
        album.CountPlay(0);
    album.SetTitle(1, "Second");
    album.SetArtist(1, "Guest");
    album.SetNotes(1, "own");
    return album;
}

// Runs with the current directory in a folder of its own.
class HTMLLibraryTest : public ::testing::Test
{
protected:
    HTMLLibraryTest() : folder("l1-html")
    {
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(folder.WindowsPath("").c_str());
    }
    ~HTMLLibraryTest() override { SetCurrentDirectoryA(m_previous); }

    void WriteTemplate(const std::string& text)
    {
        std::ofstream(folder.UnixPath("disc.htm"), std::ios::binary) << text;
    }

    CTempFolder folder;

private:
    char m_previous[MAX_PATH];
};

TEST_F(HTMLLibraryTest, PageOfTheFirstAlbumMatchesTheExpectedPage)
{
    WriteTemplate(DataFile("disc.htm"));
    CMusicLibrary library;
    AlbumRecord album = FixtureAlbum();
    library.AppendAlbum(album);
    CHTMLLibrary pages;
    pages.MakeWebPages(library);
    ASSERT_TRUE(folder.Exists("00112233AABBCCDD.htm"));
    EXPECT_EQ(DataFile("disc-expected.htm"), ReadUnixFile(folder.UnixPath("00112233AABBCCDD.htm")));
}

// Ids come from a file another program may have written: only an id of the
// known form names a page, and only in the current directory.
TEST_F(HTMLLibraryTest, OnlyAlbumIdsNamePages)
{
    WriteTemplate("page");
    // A path in the id would be honoured as it stands: this one points into
    // the test's own folder.
    const std::string path = folder.WindowsPath("named-by-a-path");
    const struct
    {
        std::string id;
        const char* page; // null: refused
    } cases[] = {
        { "00112233aabbccdd", "00112233aabbccdd.htm" },
        { "1A2B3C4D", "1A2B3C4D.htm" },
        { path, nullptr },
        { "0011223344556677.htm", nullptr },
        { "00112233AABBCCGG", nullptr },
        { "00112233AABBCCD/", nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases) {
        CMusicLibrary library;
        AlbumRecord album = FixtureAlbum();
        album.SetIdText(c.id.c_str());
        library.AppendAlbum(album);
        CHTMLLibrary pages;
        CMessageBoxScript boxes;
        pages.MakeWebPages(library);
        if (c.page) {
            EXPECT_TRUE(boxes.Shown().empty()) << c.id;
            EXPECT_EQ("page", ReadUnixFile(folder.UnixPath(c.page))) << c.id;
        } else {
            ASSERT_EQ(1u, boxes.Shown().size()) << c.id;
            EXPECT_EQ("Album id [" + c.id + "] does not name a page", boxes.Shown()[0].text);
        }
    }
    EXPECT_FALSE(folder.Exists("named-by-a-path.htm"));
}

TEST_F(HTMLLibraryTest, ReplaceFields)
{
    AlbumRecord album = FixtureAlbum();
    const char* const cases[][2] = {
        { "track_timeplayed", "   2:05" },
        { "track_timesplayed", "   3" },
        { "track_time", " 3:05" },
        { "[track_num]", "[ 1]" },
        { "track_titletrack_artist", "disc_titleBand &quot;X&quot;" },
        { "disc_time disc_timesplayed", "13:10    3" },
        { "no fields", "no fields" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[1], Str(CHTMLLibrary::ReplaceFields(c[0], album, 0))) << c[0];
}

TEST_F(HTMLLibraryTest, TrackSections)
{
    AlbumRecord twelve = MakeAlbum(std::vector<int>(12, 750), 9150);
    EXPECT_EQ("a[ 1][ 2][ 3][ 4][ 5][ 6][ 7][ 8][ 9][10][11][12]b",
              Str(CHTMLLibrary::ExpandTrackLoop(
                  "a<!--trackloopstart-->[track_num]<!--trackloopend-->b", twelve)));
    const char* const unchanged[] = {
        "<p>track_title disc_title</p>",
        "<!--trackloopstart-->track_num without an end",
    };
    for (const char* text : unchanged)
        EXPECT_EQ(text, Str(CHTMLLibrary::ExpandTrackLoop(text, twelve)));
    // Every section repeats; the text between sections stays.
    AlbumRecord album = FixtureAlbum();
    EXPECT_EQ("( 1)( 2)-[disc_title][Second]",
              Str(CHTMLLibrary::ExpandTrackLoop("<!--trackloopstart-->(track_num)<!--trackloopend-->-"
                                                "<!--trackloopstart-->[track_title]<!--trackloopend-->",
                                                album)));
}

TEST_F(HTMLLibraryTest, MissingTemplateAndUnwritablePage)
{
    CMusicLibrary library;
    AlbumRecord album = FixtureAlbum();
    library.AppendAlbum(album);
    CHTMLLibrary pages;
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        pages.MakeWebPages(library);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Couldn't read file disc.htm", boxes.Shown()[0].text);
    }
    EXPECT_FALSE(folder.Exists("00112233AABBCCDD.htm"));

    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    std::string path = folder.WindowsPath("no such folder\\page.htm");
    EXPECT_FALSE(pages.WriteFile(path.c_str(), "text"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Couldn't write file  " + path, boxes.Shown()[0].text);
}

} // namespace
