#include "tests/support/TestFramework.h"

#include "library/web/tests/HttpTestSupport.h"
#include "tests/support/LocalHttpServer.h"

#include <afxinet.h>

#include <memory>

namespace {

// A request straight to the local server through the session classes.
struct Exchange
{
    explicit Exchange(CLocalHttpServer& server, const char* object, int verb = HTTP_VERB_GET)
        : connection(session.GetHttpConnection("127.0.0.1", (INTERNET_PORT)server.Port())),
          file(connection->OpenRequest(verb, object))
    {
        file->SendRequest();
    }

    CInternetSession session;
    std::unique_ptr<CHttpConnection> connection;
    std::unique_ptr<CHttpFile> file;
};

TEST(InternetSession, ReadStringGivesLinesWithoutTheirEnds)
{
    CLocalHttpServer server;
    server.Answer("/lines", HttpReply::Ok("first\r\nsecond\n\nlast without end"));
    Exchange exchange(server, "/lines");
    DWORD status = 0;
    ASSERT_TRUE(exchange.file->QueryInfoStatusCode(status));
    EXPECT_EQ(200u, status);
    std::vector<std::string> lines;
    CString line;
    while (exchange.file->ReadString(line))
        lines.push_back(Str(line));
    EXPECT_EQ((std::vector<std::string>{ "first", "second", "", "last without end" }), lines);
}

TEST(InternetSession, ReadDrainsWhatReadStringBuffered)
{
    CLocalHttpServer server;
    server.Answer("/mixed", HttpReply::Ok("head\nbody bytes"));
    Exchange exchange(server, "/mixed");
    CString line;
    ASSERT_TRUE(exchange.file->ReadString(line));
    char rest[64] = "";
    UINT read = exchange.file->Read(rest, sizeof rest - 1);
    EXPECT_EQ("head", Str(line));
    EXPECT_EQ("body bytes", std::string(rest, read));
}

TEST(InternetSession, VerbsAndStatusText)
{
    CLocalHttpServer server;
    server.Answer("/verbs", HttpReply::Ok(""));
    const std::pair<int, const char*> verbs[] = {
        { HTTP_VERB_GET, "GET" }, { HTTP_VERB_HEAD, "HEAD" }, { HTTP_VERB_DELETE, "DELETE" },
    };
    for (const auto& verb : verbs) {
        Exchange exchange(server, "/verbs", verb.first);
        EXPECT_EQ(verb.second, server.Requests().back().method);
        EXPECT_EQ(verb.second, Str(exchange.file->GetVerb()));
        CString text;
        EXPECT_TRUE(exchange.file->QueryInfo(HTTP_QUERY_STATUS_TEXT, text));
        EXPECT_EQ("OK", Str(text));
    }
}

TEST(InternetSession, FailuresThrowWithTheWinInetCode)
{
    int port;
    {
        CLocalHttpServer gone;
        port = gone.Port();
    }
    CInternetSession session;
    std::unique_ptr<CHttpConnection> connection(
        session.GetHttpConnection("127.0.0.1", (INTERNET_PORT)port));
    std::unique_ptr<CHttpFile> file(connection->OpenRequest(HTTP_VERB_GET, "/"));
    DWORD error = 0;
    char text[256] = "";
    try {
        file->SendRequest();
    } catch (CInternetException* e) {
        error = e->m_dwError;
        e->GetErrorMessage(text, sizeof text);
        e->Delete();
    }
    EXPECT_EQ((DWORD)ERROR_INTERNET_CANNOT_CONNECT, error);
    EXPECT_NE("", std::string(text));
    // A verb number outside the table is refused.
    error = 0;
    try {
        delete connection->OpenRequest(HTTP_VERB_UNLINK + 1, "/");
    } catch (CInternetException* e) {
        error = e->m_dwError;
        e->Delete();
    }
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, error);
}

} // namespace
