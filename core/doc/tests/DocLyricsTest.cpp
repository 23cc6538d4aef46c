#include "core/doc/tests/WebDocFixture.h"

#include "core/doc/DocLyrics.h"

namespace {

const char kHost[] = "lyrics.example";
const char kSongPage[] = "<html><body>Artist: The Others<br>\nAlbum: Late<br>\nSong: Over There<br>\n"
                         "first line<br>\nsecond line<br>\n</body></html>";
const std::string kLongLyrics(120, 'x');

class DocLyricsTest : public WebDocFixture
{
protected:
    void Answer(const std::string& object, const std::string& body)
    {
        m_server.Answer(Url(kHost, object), HttpReply::Ok(body));
    }

    CDocLyrics m_lyrics{ *m_doc };
};

TEST_F(DocLyricsTest, TrackLyricsComeFromTheTextPageTheSearchLinks)
{
    std::string id = AddAlbum("The Others", "Late", { { "Over There", "", "" } });
    Select(id, 0);
    // Every "the" goes, also inside words; blanks become "+".
    Answer("/search.html?band=+ors&song=over+re", "<a href=\"text.html?id=42\">Over There</a>");
    Answer("/text.html?id=42", kSongPage);
    m_lyrics.OnLibraryGetLyrics();

    EXPECT_EQ(std::vector<std::string>({ Url(kHost, "/search.html?band=+ors&song=over+re"),
                                         Url(kHost, "/text.html?id=42") }),
              Targets());
    for (const HttpRequestRecord& request : m_server.Requests())
        EXPECT_EQ("Halvane ZYM", request.Header("User-Agent"));
    EXPECT_EQ("first line\r\nsecond line", Str(Album(id).GetLyrics(0)));
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
    Texts lines = Lines("");
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "hint 4"));
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "task Looking Up Lyrics"));
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "status Lyrics Lookup for the others / over there"));
}

TEST_F(DocLyricsTest, AResultPageLeadsToItsFirstTextPage)
{
    std::string id = AddAlbum("Band", "Late", { { "Song", "", "" } });
    Select(id, 0);
    Answer("/search.html?band=band&song=song", "<a href=\"search.html?id=7\">3 songs</a>");
    Answer("/search.html?id=7", "<a href=\"text.html?id=9\">a</a> <a href=\"text.html?id=10\">b</a>");
    Answer("/text.html?id=9", kSongPage);
    m_lyrics.OnLibraryGetLyrics();

    EXPECT_EQ(std::vector<std::string>({ Url(kHost, "/search.html?band=band&song=song"),
                                         Url(kHost, "/search.html?id=7"), Url(kHost, "/text.html?id=9") }),
              Targets());
    EXPECT_EQ("first line\r\nsecond line", Str(Album(id).GetLyrics(0)));
}

TEST_F(DocLyricsTest, AnswersWithoutLyricsLeaveTheTrackAsItWas)
{
    struct Case
    {
        const char* name;
        std::string search;
        std::string textPage;
    };
    const Case cases[] = {
        { "no link", "<html>no results</html>", kSongPage },
        { "link with a blank", "<a href=\"text.html?id=4 2\">x</a>", kSongPage },
        { "text page cut short", "<a href=\"text.html?id=42\">x</a>", std::string(kSongPage).substr(0, 60) },
        { "binary text page", "<a href=\"text.html?id=42\">x</a>", std::string("Artist:\0\x01\x02", 10) },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string id = AddAlbum("Band", "Late", { { "Song", "", "" } });
        m_doc->GetSelectionList().Clear();
        Select(id, 0);
        m_server.Answer(Url(kHost, "/search.html?band=band&song=song"), HttpReply::Ok(c.search));
        m_server.Answer(Url(kHost, "/text.html?id=42"), HttpReply::Ok(c.textPage));
        m_lyrics.OnLibraryGetLyrics();
        EXPECT_EQ("", Str(Album(id).GetLyrics(0)));
    }
}

// Which songs a whole disc tries, by what the artist search answered: the
// album artist's songs only when the site did not say "nothing found" or
// lists them; other artists' songs always; never a track with lyrics or
// without title.
TEST_F(DocLyricsTest, WholeDiscSkipRules)
{
    struct Case
    {
        const char* name;
        std::string artistPage;
        std::vector<std::string> songsTried;
    };
    const Case cases[] = {
        // "Other" is asked for as "or": the "the" inside it goes too.
        { "artist unknown", "Sorry, NOTHING FOUND.", { "or" } },
        { "artist known", "<a>Known</a>", { "known", "unlisted", "or" } },
        { "search failed", "", { "known", "unlisted", "or" } },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_server.Answer(Url(kHost, "/search.html?band=band"), HttpReply::Ok(c.artistPage));
        std::string id = AddAlbum("Band", "Late",
                 { { "Known", "", "" }, { "Unlisted", "", "" }, { "Other", "Guest", "" },
                   { "Done", "", "old lyrics" }, { "", "", "" } });
        m_doc->GetSelectionList().Clear();
        Select(id, kWholeAlbum);
        size_t before = m_server.Requests().size();
        m_lyrics.OnLibraryGetLyrics();

        std::vector<std::string> tried;
        std::vector<HttpRequestRecord> requests = m_server.Requests();
        ASSERT_LT(before, requests.size());
        EXPECT_EQ(Url(kHost, "/search.html?band=band"), requests[before].target);
        for (size_t i = before + 1; i < requests.size(); ++i)
        {
            size_t song = requests[i].target.find("&song=");
            ASSERT_NE(std::string::npos, song) << requests[i].target;
            tried.push_back(requests[i].target.substr(song + 6));
        }
        EXPECT_EQ(c.songsTried, tried);
    }
}

TEST_F(DocLyricsTest, TrackEntriesAskOnlyForTracksWithoutLyricsThatHaveArtistAndTitle)
{
    struct Case
    {
        const char* name;
        const char* albumArtist;
        Track track;
        bool asked;
    };
    const Case cases[] = {
        { "plain", "Band", { "Song", "", "" }, true },
        { "has lyrics", "Band", { "Song", "", "la la" }, false },
        { "no title", "Band", { "", "", "" }, false },
        { "no artist", "", { "Song", "", "" }, false },
        { "own artist", "", { "Song", "Guest", "" }, true },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string id = AddAlbum(c.albumArtist, "Late", { c.track });
        m_doc->GetSelectionList().Clear();
        Select(id, 0);
        size_t before = m_server.Requests().size();
        m_lyrics.OnLibraryGetLyrics();
        EXPECT_EQ(c.asked, m_server.Requests().size() > before);
    }
}

TEST_F(DocLyricsTest, SubmissionPostsTheFormToTheSite)
{
    std::string id = AddAlbum("The Band", "Late & Early", { { "Other Song", "", kLongLyrics } });
    Select(id, 0);
    m_server.Answer(Url(kHost, "/search.html?band=+band"), HttpReply::Ok("error: 0 artists found"));
    m_server.Answer(Url(kHost, "/zym/add.php3"), HttpReply::Ok("thank you"));
    m_lyrics.OnLibrarySubmitLyrics();

    std::vector<HttpRequestRecord> requests = m_server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("GET", requests[0].method);
    EXPECT_EQ("POST", requests[1].method);
    EXPECT_EQ(Url(kHost, "/zym/add.php3"), requests[1].target);
    EXPECT_EQ("band=+band&album=Late+%26+Early&song=or+song&data=" + kLongLyrics, requests[1].body);
    EXPECT_EQ("application/x-www-form-urlencoded", requests[1].Header("Content-Type"));
    EXPECT_EQ(Texts({ "task Submitting Lyrics" }), Lines("task S"));
}

TEST_F(DocLyricsTest, SubmitLyricsIsRefusedOnAnErrorAnswerOrNone)
{
    struct Case
    {
        const char* name;
        HttpReply reply;
        BOOL accepted;
    };
    HttpReply missing = HttpReply::Ok("");
    missing.statusLine = "HTTP/1.0 500 Server Error";
    const Case cases[] = {
        { "accepted", HttpReply::Ok("added"), TRUE },
        { "refused", HttpReply::Ok("error: bad band"), FALSE },
        { "failed", missing, FALSE },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_server.Answer(Url(kHost, "/zym/add.php3"), c.reply);
        EXPECT_EQ(c.accepted, m_lyrics.SubmitLyrics("Late", "band", "song", "la"));
        m_server.Answer(Url(kHost, "/zym/add.php3"), HttpReply::Ok(""));
    }
}

// Which tracks of a whole disc are sent, by the album artist's page and, for
// other artists or when the site offered several, each track's own page.
TEST_F(DocLyricsTest, WholeDiscSubmissionSkipRules)
{
    struct Case
    {
        const char* name;
        std::string albumArtistPage;
        std::string guestPage;
        std::vector<std::string> songsSent;
    };
    const Case cases[] = {
        { "site knows no such artist", "error: 0 artists found", "guest", { "known", "new" } },
        { "site lists one song", "known", "error: 0 artists found", { "new", "guest" } },
        { "site offers several artists", "error: 3 artists found", "guest", { "known", "new" } },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_server.Answer(Url(kHost, "/search.html?band=band"), HttpReply::Ok(c.albumArtistPage));
        m_server.Answer(Url(kHost, "/search.html?band=guest"), HttpReply::Ok(c.guestPage));
        m_server.Answer(Url(kHost, "/zym/add.php3"), HttpReply::Ok("ok"));
        std::string id = AddAlbum("Band", "Late",
                 { { "Known", "", kLongLyrics }, { "New", "", kLongLyrics }, { "Guest", "Guest", kLongLyrics },
                   { "Short", "", "short lyrics" } });
        m_doc->GetSelectionList().Clear();
        Select(id, kWholeAlbum);
        size_t before = m_server.Requests().size();
        m_lyrics.OnLibrarySubmitLyrics();

        std::vector<std::string> sent;
        std::vector<HttpRequestRecord> requests = m_server.Requests();
        for (size_t i = before; i < requests.size(); ++i)
        {
            if (requests[i].method != "POST")
                continue;
            size_t song = requests[i].body.find("&song=");
            size_t data = requests[i].body.find("&data=");
            sent.push_back(requests[i].body.substr(song + 6, data - song - 6));
        }
        EXPECT_EQ(c.songsSent, sent);
    }
}

// The run ends after the request in hand: no further page of that song, no
// lyrics stored, no next track.
TEST_F(DocLyricsTest, ACancelledRunEndsAfterTheCurrentRequest)
{
    std::string id = AddAlbum("Band", "Late", { { "Song", "", "" }, { "Next", "", "" } });
    Select(id, 0);
    Select(id, 1);
    Answer("/search.html?band=band&song=song", "<a href=\"text.html?id=42\">Song</a>");
    Answer("/text.html?id=42", kSongPage);
    CCancelAtRequest canceller(m_doc->GetTaskMgr(), "Looking Up Lyrics");
    m_doc->GetTaskMgr().AddListener(&canceller);
    m_lyrics.OnLibraryGetLyrics();

    EXPECT_EQ(std::vector<std::string>({ Url(kHost, "/search.html?band=band&song=song") }), Targets());
    EXPECT_EQ("", Str(Album(id).GetLyrics(0)));
    // The canceller goes before the document would tell it of its close.
    Close();
}

} // namespace
