#include "tests/support/TestFramework.h"

#include "tests/support/FtpTestServer.h"
#include "tests/support/TempFolder.h"
#include "mp3/decoder/tests/NetTestHelpers.h"
#include "mp3/decoder/NetFtp.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>

namespace {

const char kUser[] = "joe";
const char kPassword[] = "secret";

// A folder with one song for the server to serve.
class CFtpFolder
{
public:
    explicit CFtpFolder(const std::string& song)
    {
        if (!m_folder.IsValid())
            throw std::runtime_error("no temporary folder");
        std::ofstream(m_folder.UnixPath("song.mp3"), std::ios::binary) << song;
    }
    const std::string& Path() const { return m_folder.Path(); }

private:
    CTempFolder m_folder{"zym-ftp-folder"};
};

class NetFtpTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(0, NetStartup()); }

    void TearDown() override { FtpClose(m_sock); }

    int Open(const std::string& text)
    {
        int parsed = ParseNetUrl(&m_url, text.c_str());
        if (parsed != 0)
            return parsed;
        m_length = 0xdead;
        return FtpOpen(&m_sock, &m_url, &m_length, m_log.Notify());
    }

    const std::string m_song = NetTestBytes(200000);
    CFtpFolder m_folder{m_song};
    CNetReportLog m_log;
    NetUrl m_url;
    NetSocket* m_sock = nullptr;
    unsigned int m_length = 0;
};

} // namespace

TEST_F(NetFtpTest, FetchesAnonymously)
{
    CFtpTestServer server(m_folder.Path());
    ASSERT_EQ(0, Open(server.Url("/song.mp3")));
    int end = 0;
    EXPECT_TRUE(NetReadToEnd(m_sock, &end) == m_song);
    EXPECT_EQ(kNetErrSocketClosed, end);
    EXPECT_EQ(0u, m_length);   // this server announces no size

    std::string status = "host 127.0.0.1, port " + std::to_string(server.Port());
    EXPECT_EQ(status, m_log.Detail("connecting"));
    EXPECT_EQ(status, m_log.Detail("connected"));
    EXPECT_EQ("anonymous", m_log.Detail("logging in as"));
    EXPECT_EQ(kNetAnonymousPassword, m_log.Detail("sending PASS"));
    EXPECT_EQ("/song.mp3", m_log.Detail("sending RETR"));
    EXPECT_NE("(none)", m_log.Detail("sending PORT"));
    EXPECT_EQ("", m_log.Detail("got connection on data socket"));
    EXPECT_EQ("", m_log.Detail("connected and receiving"));
}

TEST_F(NetFtpTest, FetchesAsAUser)
{
    CFtpTestServer server(m_folder.Path(), kUser, kPassword);
    ASSERT_EQ(0, Open(server.Url("/song.mp3", std::string(kUser) + ":" + kPassword + "@")));
    int end = 0;
    EXPECT_TRUE(NetReadToEnd(m_sock, &end) == m_song);
    EXPECT_EQ(kUser, m_log.Detail("logging in as"));
}

struct RefusalCase
{
    const char* credentials;
    const char* path;
    const char* code;
};

const RefusalCase kRefusalCases[] = {
    {"joe:wrong@", "/song.mp3", "530"},
    {"joe:secret@", "/missing.mp3", "550"},
};

TEST_F(NetFtpTest, ErrorRepliesFailTheOpen)
{
    CFtpTestServer server(m_folder.Path(), kUser, kPassword);
    for (const RefusalCase& c : kRefusalCases) {
        SCOPED_TRACE(c.code);
        m_log.Clear();
        EXPECT_EQ(kNetErrFtpErrorReply, Open(server.Url(c.path, c.credentials)));
        EXPECT_EQ(nullptr, m_sock);
        int level = -1;
        EXPECT_EQ(c.code, m_log.Detail("errror code returned", &level));
        EXPECT_EQ(kNotifyProtocol, level);
    }
}

TEST_F(NetFtpTest, RefusedConnection)
{
    int port = NetRefusingPort();
    ASSERT_NE(0, port);
    EXPECT_EQ(kNetErrConnectionRefused, Open("ftp://127.0.0.1:" + std::to_string(port) + "/a"));
    EXPECT_EQ(nullptr, m_sock);
    EXPECT_EQ("connection refused", m_log.Detail("connection failed"));
}
