#include "tests/support/TestFramework.h"

#include "tests/support/LocalHttpServer.h"
#include "mp3/decoder/tests/NetTestHelpers.h"
#include "mp3/decoder/NetHttp.h"

namespace {

const unsigned int kUnset = 0xdead;

class NetHttpTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(0, NetStartup()); }

    void TearDown() override { HttpClose(m_sock); }

    // Parses text into m_url and opens it.
    int Open(const std::string& text, int first = -1, int last = -1,
             const NetProxy* proxy = nullptr)
    {
        int parsed = ParseNetUrl(&m_url, text.c_str());
        if (parsed != 0)
            return parsed;
        m_length = kUnset;
        return HttpOpen(&m_sock, &m_url, &m_length, first, last, proxy, m_log.Notify());
    }

    std::string ReadBody(int* end)
    {
        return NetReadToEnd(m_sock, end);
    }

    CLocalHttpServer m_server;
    CNetReportLog m_log;
    NetUrl m_url;
    NetSocket* m_sock = nullptr;
    unsigned int m_length = kUnset;
};

} // namespace

TEST_F(NetHttpTest, FetchesTheBodyByteForByte)
{
    const std::string body = NetTestBytes(300000);
    m_server.Answer("/music/song.mp3", HttpReply::Ok(body));
    ASSERT_EQ(0, Open(m_server.Url("/music/song.mp3")));
    EXPECT_EQ(body.size(), m_length);
    int end = 0;
    EXPECT_TRUE(ReadBody(&end) == body);
    EXPECT_EQ(kNetErrSocketClosed, end);

    std::vector<HttpRequestRecord> requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0].method);
    EXPECT_EQ("/music/song.mp3", requests[0].target);
    EXPECT_EQ("HTTP/1.0", requests[0].version);
    EXPECT_EQ("127.0.0.1", requests[0].Header("Host"));
    EXPECT_EQ("MpegAudio/1.0", requests[0].Header("User-Agent"));
    EXPECT_EQ("*/*", requests[0].Header("Accept"));
    EXPECT_EQ("", requests[0].Header("Range"));

    std::string status = "host 127.0.0.1, port " + std::to_string(m_server.Port());
    int level = -1;
    EXPECT_EQ(status, m_log.Detail("connecting", &level));
    EXPECT_EQ(kNotifyStatus, level);
    EXPECT_EQ(status, m_log.Detail("connected"));
    EXPECT_EQ("/music/song.mp3", m_log.Detail("requesting data", &level));
    EXPECT_EQ(kNotifyProgress, level);
    EXPECT_EQ("HTTP/1.0 200 OK", m_log.Detail("got http reply"));
    EXPECT_EQ("", m_log.Detail("http request successfull", &level));
    EXPECT_EQ(kNotifyStatus, level);
}

TEST_F(NetHttpTest, ReadsTheContentLengthInEitherSpelling)
{
    const char* headers[] = {"Content-length: 1234", "Content-Length: 1234", "content-length:1234"};
    for (const char* header : headers) {
        SCOPED_TRACE(header);
        HttpReply reply = HttpReply::Ok("body");
        reply.sendLength = false;
        reply.headers = {"Content-Type: audio/mpeg", header};
        m_server.Answer("/a", reply);
        ASSERT_EQ(0, Open(m_server.Url("/a")));
        EXPECT_EQ(1234u, m_length);
        HttpClose(m_sock);
        m_sock = nullptr;
    }
    HttpReply unknown = HttpReply::Ok("body");
    unknown.sendLength = false;
    m_server.Answer("/a", unknown);
    ASSERT_EQ(0, Open(m_server.Url("/a")));
    EXPECT_EQ(kUnset, m_length);
}

struct RangeCase
{
    int first;
    int last;
    const char* range;
};

const RangeCase kRangeCases[] = {
    {100, 199, "bytes=100-199"},
    {100, -1, "bytes=100-"},
    {-1, 500, "bytes=-500"},
    {0, 0, "bytes=0-0"},
};

TEST_F(NetHttpTest, AsksForARange)
{
    const std::string body = NetTestBytes(1000);
    for (const RangeCase& c : kRangeCases) {
        SCOPED_TRACE(c.range);
        m_log.Clear();
        HttpReply reply = HttpReply::Ok(body.substr(100, 100));
        reply.statusLine = "HTTP/1.1 206 Partial Content";
        m_server.Answer("/r.mp3", reply);
        ASSERT_EQ(0, Open(m_server.Url("/r.mp3"), c.first, c.last));
        int end = 0;
        EXPECT_TRUE(ReadBody(&end) == body.substr(100, 100));
        HttpClose(m_sock);
        m_sock = nullptr;

        HttpRequestRecord request = m_server.Requests().back();
        EXPECT_EQ("HTTP/1.1", request.version);
        EXPECT_EQ(c.range, request.Header("Range"));
        EXPECT_EQ("close", request.Header("Connection"));
        EXPECT_EQ("mpegaudio/1.0", request.Header("User-Agent"));
        EXPECT_EQ("127.0.0.1", request.Header("Host"));
        EXPECT_EQ(c.range, m_log.Detail("limiting range to "));
    }
}

TEST_F(NetHttpTest, GoesThroughAProxy)
{
    const std::string url = "http://music.example.net:8000/live/a.mp3";
    const std::string body = NetTestBytes(5000);
    m_server.Answer(url, HttpReply::Ok(body));
    NetProxy proxy;
    proxy.host = "127.0.0.1";
    proxy.port = static_cast<unsigned short>(m_server.Port());
    ASSERT_EQ(0, Open(url, -1, -1, &proxy));
    int end = 0;
    EXPECT_TRUE(ReadBody(&end) == body);
    HttpRequestRecord request = m_server.Requests().back();
    EXPECT_EQ(url, request.target);
    EXPECT_EQ("music.example.net", request.Header("Host"));
    EXPECT_EQ("host 127.0.0.1, port " + std::to_string(m_server.Port()),
              m_log.Detail("connecting"));
}

TEST_F(NetHttpTest, FollowsARedirectToAnotherHost)
{
    CLocalHttpServer other("127.0.0.2");
    const std::string body = NetTestBytes(20000);
    const std::string location = other.Url("/new.mp3");
    HttpReply moved = HttpReply::Redirect(location);
    moved.body = "moved";   // its length must not pass for the new location's
    m_server.Answer("/old.mp3", moved);
    HttpReply target = HttpReply::Ok(body);
    target.sendLength = false;
    other.Answer("/new.mp3", target);

    ASSERT_EQ(0, Open(m_server.Url("/old.mp3")));
    int end = 0;
    EXPECT_TRUE(ReadBody(&end) == body);
    EXPECT_EQ(kUnset, m_length);
    EXPECT_EQ(location, m_url.url);
    EXPECT_EQ("127.0.0.2", m_url.host);
    EXPECT_EQ(other.Port(), m_url.port);
    EXPECT_EQ("/new.mp3", m_url.path);
    EXPECT_EQ(1u, other.Requests().size());
    EXPECT_EQ("127.0.0.2", other.Requests()[0].Header("Host"));
    EXPECT_EQ(location, m_log.Detail("http redirect, new location"));
}

// A location without a scheme is taken against the URL that gave it.
TEST_F(NetHttpTest, FollowsRelativeRedirects)
{
    CLocalHttpServer other("127.0.0.2");
    other.Answer("/there.mp3", HttpReply::Ok("other host"));
    m_server.Answer("/music/new.mp3", HttpReply::Ok("beside"));
    m_server.Answer("/root.mp3", HttpReply::Ok("root"));
    const struct
    {
        HttpReply redirect;
        std::string body;
        std::string url;
    } cases[] = {
        {HttpReply::Redirect("new.mp3"), "beside", m_server.Url("/music/new.mp3")},
        {HttpReply::Redirect("/root.mp3", 308), "root", m_server.Url("/root.mp3")},
        {HttpReply::Redirect("//" + other.Url("/there.mp3").substr(7), 307), "other host", other.Url("/there.mp3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        m_server.Answer("/music/old.mp3", c.redirect);
        ASSERT_EQ(0, Open(m_server.Url("/music/old.mp3")));
        int end = 0;
        EXPECT_EQ(c.body, ReadBody(&end));
        EXPECT_EQ(c.url, m_url.url);
        HttpClose(m_sock);
        m_sock = nullptr;
    }
}

// Redirects are followed up to a limit, so that a loop ends.
TEST_F(NetHttpTest, FollowsRedirectsUpToTheLimit)
{
    for (int i = 0; i < kHttpMaxRedirects; ++i) {
        m_server.Answer("/hop" + std::to_string(i),
                        HttpReply::Redirect(m_server.Url("/hop" + std::to_string(i + 1))));
    }
    m_server.Answer("/hop" + std::to_string(kHttpMaxRedirects), HttpReply::Ok("end"));
    ASSERT_EQ(0, Open(m_server.Url("/hop0")));
    int end = 0;
    EXPECT_EQ("end", ReadBody(&end));
    EXPECT_EQ(size_t(kHttpMaxRedirects + 1), m_server.Requests().size());
}

TEST_F(NetHttpTest, RedirectLoopEnds)
{
    m_server.Answer("/loop", HttpReply::Redirect(m_server.Url("/loop")));
    EXPECT_EQ(kNetErrHttp, Open(m_server.Url("/loop")));
    EXPECT_EQ(nullptr, m_sock);
    EXPECT_EQ(size_t(kHttpMaxRedirects + 1), m_server.Requests().size());
    EXPECT_EQ(m_server.Url("/loop"), m_log.Detail("too many http redirects"));
}

struct BadRedirectCase
{
    const char* location;
    int result;
};

const BadRedirectCase kBadRedirectCases[] = {
    {"ftp://127.0.0.1/x.mp3", kNetErrUnsupportedScheme},   // an http stream must stay http
    {"http:nowhere", kNetErrInvalidUrlSyntax},
    {"gopher://host/x", kNetErrUnsupportedScheme},
};

TEST_F(NetHttpTest, RefusesRedirectsItCannotFollow)
{
    for (const BadRedirectCase& c : kBadRedirectCases) {
        SCOPED_TRACE(c.location);
        m_server.Answer("/x", HttpReply::Redirect(c.location));
        EXPECT_EQ(c.result, Open(m_server.Url("/x")));
        EXPECT_EQ(nullptr, m_sock);
    }
}

struct StatusCase
{
    const char* statusLine;
    int result;
};

const StatusCase kStatusCases[] = {
    {"HTTP/1.0 200 OK", 0},
    {"HTTP/1.1 206 Partial Content", 0},
    {"HTTP/1.0 100 Continue", 0},
    {"HTTP/1.0 200", kNetErrInvalidHttpReply},   // no reason phrase
    {"HTTP/1.0 099 Odd", kNetErrInvalidHttpReply},
    {"ICY 200 OK", kNetErrInvalidHttpReply},
    {"HTTP/1.0 404 Not Found", kNetErrHttpErrorReply},
    {"HTTP/1.1 503 Busy", kNetErrHttpErrorReply},
    {"HTTP/1.0 600 Odd", kNetErrHttp},
    {"HTTP/1.0 X00 Odd", kNetErrHttp},
};

TEST_F(NetHttpTest, JudgesTheStatusLine)
{
    for (const StatusCase& c : kStatusCases) {
        SCOPED_TRACE(c.statusLine);
        HttpReply reply = HttpReply::Ok("body");
        reply.statusLine = c.statusLine;
        m_server.Answer("/s", reply);
        m_log.Clear();
        EXPECT_EQ(c.result, Open(m_server.Url("/s")));
        EXPECT_EQ(c.result == 0, m_sock != nullptr);
        std::string failed = m_log.Detail("http request failed");
        EXPECT_EQ(c.result == kNetErrHttpErrorReply ? c.statusLine : "(none)", failed);
        HttpClose(m_sock);
        m_sock = nullptr;
    }
}

TEST_F(NetHttpTest, EmptyFirstLineStartsTheBody)
{
    HttpReply reply;
    reply.statusLine = "";
    reply.sendLength = false;
    reply.body = "raw";
    m_server.Answer("/raw", reply);
    ASSERT_EQ(0, Open(m_server.Url("/raw")));
    int end = 0;
    EXPECT_EQ("\r\nraw", ReadBody(&end));
}

TEST_F(NetHttpTest, ServerClosingEarly)
{
    const std::string body = NetTestBytes(5000);
    HttpReply reply = HttpReply::Ok(body);

    reply.sendBytes = 0;
    m_server.Answer("/a", reply);
    EXPECT_EQ(kNetErrSocketClosed, Open(m_server.Url("/a")));
    EXPECT_EQ(nullptr, m_sock);

    reply.sendBytes = 25;   // within the headers
    m_server.Answer("/a", reply);
    EXPECT_EQ(kNetErrSocketClosed, Open(m_server.Url("/a")));
    EXPECT_EQ(nullptr, m_sock);

    reply.sendBytes = int(reply.Head().size()) + 1000;
    m_server.Answer("/a", reply);
    ASSERT_EQ(0, Open(m_server.Url("/a")));
    EXPECT_EQ(body.size(), m_length);
    int end = 0;
    EXPECT_TRUE(ReadBody(&end) == body.substr(0, 1000));
    EXPECT_EQ(kNetErrSocketClosed, end);
}

// A server that stops sending in the body holds a reader only for its time-out.
TEST_F(NetHttpTest, StallInTheBodyTimesOut)
{
    const std::string body = NetTestBytes(5000);
    HttpReply reply = HttpReply::Ok(body);
    reply.sendBytes = int(reply.Head().size()) + 1000;
    reply.ending = HttpReply::kStall;
    m_server.Answer("/a", reply);
    ASSERT_EQ(0, Open(m_server.Url("/a")));
    int end = 0;
    EXPECT_TRUE(NetReadToEnd(m_sock, &end, 200) == body.substr(0, 1000));
    EXPECT_EQ(kErrTimeout, end);
}

TEST_F(NetHttpTest, ConnectionFailures)
{
    int port = NetRefusingPort();
    ASSERT_NE(0, port);
    EXPECT_EQ(kNetErrConnectionRefused, Open("http://127.0.0.1:" + std::to_string(port) + "/a"));
    EXPECT_EQ("connection refused", m_log.Detail("connection failed"));

    // A long host name is cut in the status text.
    const std::string host = "1" + std::string(249, 'a');
    m_log.Clear();
    EXPECT_EQ(kNetErrHostUnknown, Open("http://" + host + "/a"));
    EXPECT_EQ("host " + host.substr(0, 200) + "...", m_log.Detail("connecting"));
    EXPECT_EQ("host unknown", m_log.Detail("connection failed"));
}
