// FTP replies that a real server does not give on demand, played from scripts.
#include "tests/support/TestFramework.h"

#include "mp3/decoder/tests/NetTestHelpers.h"
#include "mp3/decoder/NetFtp.h"

#include <stdio.h>

namespace {

const int kWaitMs = 5000;

// Plays an FTP server on 127.0.0.1: sends the greeting and then one reply per
// command. On PORT it connects to the address given, as a server opening an
// active data connection, and sends the data there after the next preliminary
// ("1xx") reply.
class CScriptedFtpServer
{
public:
    CScriptedFtpServer(const std::vector<std::string>& replies, const std::string& data)
        : m_replies(replies), m_data(data)
    {
        NetSocketListen(&m_listener, 0, nullptr);
        NetSocketGetLocalAddress(m_listener, &m_port, nullptr);
        m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~CScriptedFtpServer()
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        NetSocketClose(m_listener);
    }

    std::string Url() const { return "ftp://127.0.0.1:" + std::to_string(m_port) + "/song.mp3"; }
    // Waits until the script has ended.
    std::vector<std::string> Commands()
    {
        WaitForSingleObject(m_thread, INFINITE);
        return m_commands;
    }

private:
    static DWORD WINAPI Run(void* self)
    {
        static_cast<CScriptedFtpServer*>(self)->Play();
        return 0;
    }

    void Play()
    {
        NetSocket* control = nullptr;
        if (NetSocketAccept(&control, m_listener, nullptr, nullptr, kWaitMs) != 0)
            return;
        NetSocket* data = nullptr;
        for (size_t i = 0; i < m_replies.size(); ++i) {
            if (i > 0) {
                char line[256];
                if (NetSocketReadLine(control, line, sizeof(line), kWaitMs) < 0)
                    break;
                m_commands.push_back(line);
                OpenData(line, &data);
            }
            NetSocketSendText(control, (m_replies[i] + "\r\n").c_str());
            if (m_replies[i][0] == '1' && data) {
                NetSocketSend(data, m_data.data(), int(m_data.size()));
                NetSocketClose(data);
                data = nullptr;
            }
        }
        NetSocketClose(data);
        NetSocketClose(control);
    }

    void OpenData(const char* command, NetSocket** data)
    {
        int a, b, c, d, high, low;
        if (sscanf(command, "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &high, &low) != 6)
            return;
        std::string host = std::to_string(a) + "." + std::to_string(b) + "." +
                           std::to_string(c) + "." + std::to_string(d);
        NetSocketConnect(data, host.c_str(), high * 256 + low, kWaitMs);
    }

    std::vector<std::string> m_replies;
    std::string m_data;
    NetSocket* m_listener = nullptr;
    int m_port = 0;
    HANDLE m_thread = nullptr;
    std::vector<std::string> m_commands;
};

struct ScriptCase
{
    const char* name;
    std::vector<std::string> replies;
    int result;
    unsigned int length;
};

const std::vector<std::string> kLogIn = {"220-Welcome\r\n220-to the\r\n220 server", "331 Password",
                                         "230 Logged in", "200 Binary", "200 PORT ok"};

std::vector<std::string> LogInThen(const std::string& reply)
{
    std::vector<std::string> replies = kLogIn;
    replies.push_back(reply);
    return replies;
}

const ScriptCase kScriptCases[] = {
    {"size announced", LogInThen("150 Opening BINARY connection for song.mp3 (3000000 bytes)"), 0,
     3000000},
    {"size in a continued reply",
     LogInThen("150-Opening (x) connection\r\n150-for song.mp3 (1234 bytes)\r\n150 now"), 0, 1234},
    {"no size", LogInThen("125 Transfer starting"), 0, 0},
    {"logged in at once", {"220 ready", "230 Logged in"}, kNetErrFtp, 0},
    {"reply too short", {"22"}, kNetErrInvalidFtpReply, 0},
    {"busy", {"421 Too many users"}, kNetErrFtpErrorReply, 0},
    {"transfer refused", LogInThen("550 No such file"), kNetErrFtpErrorReply, 0},
    {"retrieve answered as done", LogInThen("226 Done"), kNetErrFtp, 0},
};

} // namespace

TEST(NetFtpScriptTest, FollowsTheReplies)
{
    ASSERT_EQ(0, NetStartup());
    const std::string data = NetTestBytes(30000);
    for (const ScriptCase& c : kScriptCases) {
        SCOPED_TRACE(c.name);
        CScriptedFtpServer server(c.replies, data);
        NetUrl url;
        ASSERT_EQ(0, ParseNetUrl(&url, server.Url().c_str()));
        NetSocket* sock = nullptr;
        unsigned int length = 0xdead;
        ASSERT_EQ(c.result, FtpOpen(&sock, &url, &length, nullptr));
        if (c.result != 0) {
            EXPECT_EQ(nullptr, sock);
            continue;
        }
        EXPECT_EQ(c.length, length);
        int end = 0;
        EXPECT_TRUE(NetReadToEnd(sock, &end) == data);
        FtpClose(sock);
    }
}

TEST(NetFtpScriptTest, SendsTheLogInAndTransferCommands)
{
    ASSERT_EQ(0, NetStartup());
    CScriptedFtpServer server(LogInThen("150 Go"), "data");
    NetUrl url;
    ASSERT_EQ(0, ParseNetUrl(&url, server.Url().c_str()));
    NetSocket* sock = nullptr;
    unsigned int length = 0;
    ASSERT_EQ(0, FtpOpen(&sock, &url, &length, nullptr));
    std::vector<std::string> commands = server.Commands();
    FtpClose(sock);
    ASSERT_EQ(5u, commands.size());
    EXPECT_EQ("USER anonymous", commands[0]);
    EXPECT_EQ(std::string("PASS ") + kNetAnonymousPassword, commands[1]);
    EXPECT_EQ("TYPE I", commands[2]);
    EXPECT_EQ(0u, commands[3].find("PORT 127,0,0,1,"));
    EXPECT_EQ("RETR /song.mp3", commands[4]);
}
