#include "tests/support/TestFramework.h"

#include "tests/support/CddbTestServer.h"
#include "library/web/tests/HttpTestSupport.h"
#include "tests/support/MessageBoxScript.h"
#include "library/web/CDDBClient.h"

#include <objbase.h>

#include <string>

namespace {

const char kServer[] = "cddb.test";
const char kQuery[] = "cddb+query+0d025803+3+150+15150+37650+602";
const char kServerError[] = "\n\nCDDB Server Error. Try a different server.\n"
                            "(Could be a problem with your Internet connection)";
const char kLimit[] = "CDDB Server Error. Request limit exceeded on all available servers.";
const char kTiming[] = "The track timing information of the disc 'Old title' does not agree "
                       "its total playing time. You should try deleting this disc and "
                       "searching for it again to obtain the correct disc timing.";
const char kNoEmail[] = "A valid e-mail address needs to be entered before using a CDDB server. "
                        "Please enter one in the View->Options->CDDB property sheet.";

// The windows of the program: a scripted choice, and counts of what was asked.
class CScriptedUser : public CCDDBUser
{
public:
    void EnsureUserEmail(CCDDBClient&) override { emailChecks++; }
    int ChooseMatch(CCDDBClient& client, AlbumRecord&) override
    {
        offered = client.m_matches.size();
        matchAsks++;
        return choice;
    }
    int ChooseServer(CCDDBClient&) override { return choice; }

    int choice = 0;
    int emailChecks = 0;
    int matchAsks = 0;
    size_t offered = 0;
};

// Three tracks of 200, 300 and 100 seconds on a disc of 602 seconds.
AlbumRecord FixtureAlbum()
{
    AlbumRecord album = MakeAlbum({ 15000, 22500, 7500 }, 45150);
    album.SetTitle(kAlbumIndex, "Old title");
    album.SetNotes(kAlbumIndex, "old notes");
    album.SetState(kAlbumClean);
    return album;
}

std::vector<std::string> BoxTexts(const CMessageBoxScript& boxes)
{
    std::vector<std::string> texts;
    for (const ShownMessageBox& box : boxes.Shown())
        texts.push_back(box.text);
    return texts;
}

class CDDBClientTest : public ::testing::Test
{
protected:
    CDDBClientTest()
    {
        client.m_strUserEmail = "jo.b@example.org";
        client.SetCurrentServerHost(kServer);
        client.m_defaultServer.m_strHost = kServer;
        client.SetProxy(1, ("127.0.0.1:" + std::to_string(server.Port())).c_str(), "", "", "");
        client.m_pUser = &user;
        client.m_pTaskMgr = &tasks;
        client.m_pKeywords = &keywords;
    }

    // The commands sent, each as host and command.
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> sent;
        for (const CddbCommand& command : server.Commands())
            sent.push_back(command.host + " " + command.command);
        return sent;
    }

    void AnswerSites(const std::string& sites)
    {
        server.Answer(kServer, "sites", "210 OK, site information follows\r\n" + sites + ".\r\n");
    }

    CCddbTestServer server;
    CScriptedUser user;
    CRecordingTasks tasks;
    CMasterKeyword keywords;
    CCDDBClient client;
};

TEST_F(CDDBClientTest, ExactMatchReadsTheEntryIntoTheAlbum)
{
    server.Answer(kServer, kQuery, "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    server.AnswerRead(kServer, "rock", "a50b4d03", CCddbTestServer::kEntry);
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;

    ASSERT_TRUE(client.LookupDisc(album));
    EXPECT_EQ((std::vector<std::string>{ "cddb.test " + std::string(kQuery),
                                         "cddb.test cddb+read+rock+a50b4d03" }),
              Sent());
    EXPECT_EQ("jo%2Eb+example%2Eorg+zym+1.0", server.Commands()[0].hello);
    EXPECT_EQ("Harbour Lights", Str(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ("The Quiet Set", Str(album.GetArtist(kAlbumIndex)));
    EXPECT_EQ("Duet", Str(album.GetTitle(1)));
    EXPECT_EQ("Guest Singer", Str(album.GetArtist(1)));
    EXPECT_EQ(0xa50b4d03u, album.GetCddbId());
    EXPECT_EQ("rock", Str(keywords.FormatKeywordList(album.GetKeywordList(kAlbumIndex))));
    EXPECT_EQ("old notes", Str(album.GetNotes(kAlbumIndex)));
    EXPECT_EQ(std::vector<std::string>{}, BoxTexts(boxes));
    EXPECT_FALSE(client.m_bServerError);
    std::vector<std::string> created = tasks.Created();
    EXPECT_EQ("CDDBLookup", created.front());
    EXPECT_EQ((int)created.size(), tasks.Ended());
}

TEST_F(CDDBClientTest, InexactMatches)
{
    const char* const kTwo = "211 close matches found\r\n"
                             "rock a50b4d03 The Quiet Set / Harbour Lights\r\n"
                             "misc b60c5e03 The Quiet Set / Harbour Lights (live)\r\n"
                             ".\r\n";
    // Some gateways end their lines with LF alone.
    const char* const kTwoLf = "211 close matches found\n"
                               "rock a50b4d03 The Quiet Set / Harbour Lights\n"
                               "misc b60c5e03 The Quiet Set / Harbour Lights (live)\n"
                               ".\n";
    const char* const kOne = "211 close matches found\r\n"
                             "misc b60c5e03 The Quiet Set / Harbour Lights (live)\r\n"
                             ".\r\n";
    struct Case
    {
        const char* reply;
        BOOL ask;
        int choice;
        int asks;            // times the chooser was shown
        const char* read;    // the read command, "" when none
    };
    const Case cases[] = {
        { kOne, TRUE, 0, 0, "cddb+read+misc+b60c5e03" },
        { kTwo, FALSE, 1, 0, "cddb+read+rock+a50b4d03" },
        { kTwo, TRUE, 1, 1, "cddb+read+misc+b60c5e03" },
        { kTwo, TRUE, -1, 1, "" },
        { kTwoLf, TRUE, 1, 1, "cddb+read+misc+b60c5e03" },
    };
    for (const Case& c : cases) {
        CCddbTestServer gateway;
        gateway.Answer(kServer, kQuery, c.reply);
        gateway.AnswerRead(kServer, "rock", "a50b4d03", CCddbTestServer::kEntry);
        gateway.AnswerRead(kServer, "misc", "b60c5e03", CCddbTestServer::kEntry);
        client.SetProxy(1, "127.0.0.1", std::to_string(gateway.Port()).c_str(), "", "");
        client.m_bAsk = c.ask;
        user = CScriptedUser();
        user.choice = c.choice;
        AlbumRecord album = FixtureAlbum();

        bool found = client.LookupDisc(album);
        std::vector<CddbCommand> commands = gateway.Commands();
        EXPECT_EQ(*c.read != '\0', found) << c.read;
        EXPECT_EQ(c.asks, user.matchAsks) << c.read;
        ASSERT_EQ(*c.read ? 2u : 1u, commands.size()) << c.read;
        if (*c.read)
            EXPECT_EQ(c.read, commands[1].command);
        else
            EXPECT_EQ("Old title", Str(album.GetTitle(kAlbumIndex)));
        if (c.asks)
            EXPECT_EQ(2u, user.offered);
    }
}

// The wait for each request dispatches this thread's messages; a quit among
// them neither ends the look-up early nor is lost to the loop that owns it.
TEST_F(CDDBClientTest, AQuitDuringTheLookUpWaitsForTheOuterLoop)
{
    server.Answer(kServer, kQuery, "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    server.AnswerRead(kServer, "rock", "a50b4d03", CCddbTestServer::kEntry);
    AlbumRecord album = FixtureAlbum();
    PostQuitMessage(9);

    ASSERT_TRUE(client.LookupDisc(album));
    EXPECT_EQ("Harbour Lights", Str(album.GetTitle(kAlbumIndex)));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, message.wParam);
}

TEST_F(CDDBClientTest, NoMatchEndsQuietly)
{
    server.Answer(kServer, kQuery, "202 No match for disc ID 0d025803.\r\n");
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{}, BoxTexts(boxes));
    EXPECT_FALSE(client.m_bServerError);
    EXPECT_EQ(kAlbumClean, album.GetState());
}

TEST_F(CDDBClientTest, RequestLimitWalksTheSitesThenGivesUp)
{
    AnswerSites("first.test http 80 /~cddb/cddb.cgi N000.00 W000.00 First server\r\n"
                "second.test http 80 /~cddb/cddb.cgi N000.00 W000.00 Second server\r\n"
                "third.test http 80 /~cddb/cddb.cgi N000.00 W000.00 Third server\r\n");
    for (const char* host : { kServer, "second.test", "third.test" })
        server.Answer(host, kQuery, "417 Access limit exceeded\r\n");
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ((std::vector<std::string>{ "cddb.test " + std::string(kQuery), "cddb.test sites",
                                         "second.test " + std::string(kQuery),
                                         "third.test " + std::string(kQuery) }),
              Sent());
    EXPECT_EQ(std::vector<std::string>{ kLimit }, BoxTexts(boxes));
    EXPECT_TRUE(client.m_bServerError);
}

TEST_F(CDDBClientTest, ServerErrorsAreShown)
{
    server.Answer(kServer, kQuery, "500 Command syntax error\r\n");
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{ std::string(" Command syntax error") + kServerError },
              BoxTexts(boxes));
    EXPECT_TRUE(client.m_bServerError);
}

TEST_F(CDDBClientTest, TimingThatDisagreesSendsNothing)
{
    AlbumRecord album = MakeAlbum({ 15000, 22500, 7500 }, 40000);
    album.SetTitle(kAlbumIndex, "Old title");
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{ kTiming }, BoxTexts(boxes));
    EXPECT_TRUE(server.Commands().empty());
}

TEST_F(CDDBClientTest, InvalidEmailsSendNothing)
{
    for (const char* email : { "", "nobody", "@example.org", "jo@" }) {
        client.m_strUserEmail = email;
        AlbumRecord album = FixtureAlbum();
        CMessageBoxScript boxes;
        boxes.Then(IDOK).Then(IDOK);
        EXPECT_FALSE(client.LookupDisc(album)) << email;
        // The empty reply then reads as a server error.
        EXPECT_EQ((std::vector<std::string>{ kNoEmail, kServerError }), BoxTexts(boxes)) << email;
    }
    EXPECT_TRUE(server.Commands().empty());
    EXPECT_EQ(4, user.emailChecks);
}

TEST_F(CDDBClientTest, EscapeUrl)
{
    const char* const cases[][2] = {
        { "a &", "a+%26" },
        { "Jo Doe+1@x.org", "Jo+Doe%2B1%40x%2Eorg" },
        { "\xe9t\xe9", "%E9t%E9" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[1], Str(CCDDBClient::EscapeUrl(c[0]))) << c[0];
}

TEST_F(CDDBClientTest, SiteListAndServerChoice)
{
    AnswerSites("first.test http 80 /~cddb/cddb.cgi N000.00 W000.00 First server\r\n"
                "short\r\n"
                "ftp.test cddbp 888 - N000.00 W000.00 No web gateway\r\n"
                "second.test http 8080 /cgi-bin/cddb.cgi N033.45 W084.23  Atlanta, GA  \r\n");
    user.choice = 1;
    ASSERT_TRUE(client.ChooseServer());
    ASSERT_EQ(2u, client.m_sites.size());
    const CDDBSite& site = client.m_currentServer;
    EXPECT_EQ("second.test", Str(site.m_strHost));
    EXPECT_EQ("http", Str(site.m_strProtocol));
    EXPECT_EQ("8080", Str(site.m_strPort));
    EXPECT_EQ("/cgi-bin/cddb.cgi", Str(site.m_strPath));
    EXPECT_EQ("N033.45", Str(site.m_strLatitude));
    EXPECT_EQ("W084.23", Str(site.m_strLongitude));
    EXPECT_EQ("Atlanta, GA", Str(site.m_strDescription));

    // Asking again does not repeat the list; cancel keeps the server.
    user.choice = -1;
    EXPECT_FALSE(client.ChooseServer());
    EXPECT_EQ(2u, client.m_sites.size());
    EXPECT_EQ("second.test", Str(client.m_currentServer.m_strHost));
}

TEST_F(CDDBClientTest, ProxySettings)
{
    client.SetProxy(1, "proxy.test:3128", "8080", "user", "secret");
    EXPECT_EQ("proxy.test", Str(client.m_strProxyHost));
    EXPECT_EQ("3128", Str(client.m_strProxyPort));
    client.SetProxy(0x101, "proxy.test", "8080", "user", "secret");
    EXPECT_EQ(1, client.m_bUseProxy);
    EXPECT_EQ("8080", Str(client.m_strProxyPort));
    EXPECT_EQ("user", Str(client.m_strProxyUser));
    EXPECT_EQ("secret", Str(client.m_strProxyPassword));
}

TEST_F(CDDBClientTest, LookingUpAgainReplacesTheEntrysNotes)
{
    server.Answer(kServer, kQuery, "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    server.AnswerRead(kServer, "rock", "a50b4d03", CCddbTestServer::kEntryWithNotes);
    AlbumRecord album = FixtureAlbum();
    ASSERT_TRUE(client.LookupDisc(album));
    ASSERT_TRUE(client.LookupDisc(album));
    EXPECT_EQ("Recorded live\r\nin one take", Str(album.GetNotes(kAlbumIndex)));
    EXPECT_EQ("Two \\ voices", Str(album.GetRecord(1)->m_notes));
    EXPECT_EQ("Duet", Str(album.GetTitle(1)));
}

TEST_F(CDDBClientTest, BadAnswersLeaveTheAlbumAsItWas)
{
    const std::string readStart = "210 rock a50b4d03 CD database entry follows\r\n";
    HttpReply truncated = HttpReply::Ok(readStart + CCddbTestServer::kEntry + ".\r\n");
    truncated.sendBytes = (int)(truncated.Head().size() + readStart.size() + 120);
    HttpReply huge = HttpReply::Ok(readStart + CCddbTestServer::kEntry +
                                   "EXTD=" + std::string(70000, 'x') + "\r\n.\r\n");
    std::string binary = readStart + "DISCID=a5";
    binary += std::string("\0\x01\xff\r\n", 5) + "DTITLE=A / B\r\n.\r\n";
    HttpReply redirect = HttpReply::Redirect("http://cddb.test/~cddb/cddb.cgi?cmd=cddb+read+rock+a50b4d03&loop");
    struct Case
    {
        const char* name;
        HttpReply reply;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        { "malformed", HttpReply::Ok("210 rock a50b4d03\r\nno entry here\r\n"), {} },
        { "truncated", truncated, {} },
        { "huge", huge, {} },
        { "binary", HttpReply::Ok(binary), {} },
        { "redirect loop", redirect, { "HTTP Error (302)" } },
    };
    for (const Case& c : cases) {
        CCddbTestServer gateway;
        gateway.Answer(kServer, kQuery, "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
        gateway.Answer(kServer, "cddb+read+rock+a50b4d03*", c.reply);
        client.SetProxy(1, "127.0.0.1", std::to_string(gateway.Port()).c_str(), "", "");
        AlbumRecord album = FixtureAlbum();
        CMessageBoxScript boxes;
        for (size_t i = 0; i < c.boxes.size(); i++)
            boxes.Then(IDOK);
        EXPECT_FALSE(client.LookupDisc(album)) << c.name;
        EXPECT_EQ(c.boxes, BoxTexts(boxes)) << c.name;
        EXPECT_EQ("Old title", Str(album.GetTitle(kAlbumIndex))) << c.name;
        EXPECT_EQ("old notes", Str(album.GetNotes(kAlbumIndex))) << c.name;
        EXPECT_EQ(0u, album.GetCddbId()) << c.name;
        EXPECT_EQ(kAlbumClean, album.GetState()) << c.name;
    }
}

TEST_F(CDDBClientTest, QueryRepliesThatAreNoRepliesAreServerErrors)
{
    const char* const replies[] = { "", "garbage\r\n", "200\r\n", "2000000000000 x y\r\n" };
    for (const char* reply : replies) {
        CCddbTestServer gateway;
        gateway.Answer(kServer, kQuery, reply);
        client.SetProxy(1, "127.0.0.1", std::to_string(gateway.Port()).c_str(), "", "");
        AlbumRecord album = FixtureAlbum();
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        EXPECT_FALSE(client.LookupDisc(album)) << reply;
        ASSERT_EQ(1u, boxes.Shown().size()) << reply;
        EXPECT_NE(std::string::npos, boxes.Shown()[0].text.find(kServerError)) << reply;
        EXPECT_EQ("Old title", Str(album.GetTitle(kAlbumIndex))) << reply;
    }
}

// The control road: with no outside control installed the client registers
// our stand-in, which asks the server of the program's options (the public
// gateway by default) through the client's proxy.
class CDDBControlRoadTest : public CDDBClientTest
{
protected:
    static void SetUpTestSuite() { CoInitialize(NULL); }

    CDDBControlRoadTest() { client.m_bUseControl = TRUE; }
};

TEST_F(CDDBControlRoadTest, ExactMatchFillsTheAlbum)
{
    server.Answer(kCddbDefaultHost, "cddb+query+0d025803+3+150+15150+37650+602",
                  "200 rock a50b4d03 The Quiet Set / Harbour Lights\r\n");
    server.AnswerRead(kCddbDefaultHost, "rock", "a50b4d03", CCddbTestServer::kEntryWithNotes);
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;
    ASSERT_TRUE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{}, BoxTexts(boxes));
    EXPECT_EQ("Harbour Lights", Str(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ("The Quiet Set", Str(album.GetArtist(kAlbumIndex)));
    EXPECT_EQ("Opening", Str(album.GetTitle(0)));
    EXPECT_EQ("Duet", Str(album.GetTitle(1)));
    EXPECT_EQ("Guest Singer", Str(album.GetArtist(1)));
    EXPECT_EQ(1998, album.GetReleased(kAlbumIndex).GetYear());
    EXPECT_EQ("rock progressive",
              Str(keywords.FormatKeywordList(album.GetKeywordList(kAlbumIndex))));
    // The disc's and the tracks' extended texts replace the album's notes,
    // so that looking up again does not repeat them.
    const char notes[] = "Recorded live\r\nin one take\r\nTwo \\ voices";
    EXPECT_EQ(notes, Str(album.GetNotes(kAlbumIndex)));
    ASSERT_TRUE(client.LookupDisc(album));
    EXPECT_EQ(notes, Str(album.GetNotes(kAlbumIndex)));
    // The user's e-mail is the HTTP road's business only.
    EXPECT_EQ(0, user.emailChecks);
}

TEST_F(CDDBControlRoadTest, SeveralMatchesTakeTheFirstWithoutAsking)
{
    server.Answer(kCddbDefaultHost, "cddb+query+*",
                  "211 close matches found\r\n"
                  "misc b60c5e03 The Quiet Set / Harbour Lights (live)\r\n"
                  "rock a50b4d03 The Quiet Set / Harbour Lights\r\n"
                  ".\r\n");
    server.AnswerRead(kCddbDefaultHost, "misc", "b60c5e03", CCddbTestServer::kEntry);
    AlbumRecord album = FixtureAlbum();
    ASSERT_TRUE(client.LookupDisc(album));
    std::vector<CddbCommand> commands = server.Commands();
    ASSERT_EQ(2u, commands.size());
    EXPECT_EQ("cddb+read+misc+b60c5e03", commands[1].command);
    EXPECT_EQ("Harbour Lights", Str(album.GetTitle(kAlbumIndex)));
}

TEST_F(CDDBControlRoadTest, NoMatchLeavesTheAlbum)
{
    server.Answer(kCddbDefaultHost, "cddb+query+*", "202 No match\r\n");
    AlbumRecord album = FixtureAlbum();
    CMessageBoxScript boxes;
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{}, BoxTexts(boxes));
    EXPECT_EQ("Old title", Str(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ(kAlbumClean, album.GetState());
    EXPECT_TRUE(client.ShowServiceRegistration());
}

TEST_F(CDDBControlRoadTest, ABadTableOfContentsIsAControlError)
{
    AlbumRecord album;
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(client.LookupDisc(album));
    EXPECT_EQ(std::vector<std::string>{ "Error using CDDB Control" }, BoxTexts(boxes));
    EXPECT_TRUE(server.Commands().empty());
}

} // namespace
