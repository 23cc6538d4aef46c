#include "tests/support/TestFramework.h"

#include "mp3/decoder/tests/NetTestHelpers.h"
#include "mp3/decoder/NetWorker.h"

#include <string.h>
#include <unistd.h>

namespace {

const int kWaitMs = 5000;

// A connected pair on 127.0.0.1: client and the server side it reached.
class NetSocketTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(0, NetStartup()); }

    void SetUp() override
    {
        ASSERT_EQ(0, NetSocketListen(&m_listener, 0, nullptr));
        ASSERT_EQ(0, NetSocketGetLocalAddress(m_listener, &m_port, nullptr));
        ASSERT_NE(0, m_port);
    }

    void TearDown() override
    {
        NetSocketClose(m_client);
        NetSocketClose(m_server);
        NetSocketClose(m_listener);
    }

    void Connect()
    {
        ASSERT_EQ(0, NetSocketConnect(&m_client, "127.0.0.1", m_port, kWaitMs));
        int port = 0;
        unsigned char address[4] = {};
        ASSERT_EQ(0, NetSocketAccept(&m_server, m_listener, &port, address, kWaitMs));
        EXPECT_EQ(m_port, port);
        EXPECT_EQ(0, memcmp(address, "\x7f\0\0\x01", 4));
    }

    NetSocket* m_listener = nullptr;
    NetSocket* m_client = nullptr;
    NetSocket* m_server = nullptr;
    int m_port = 0;
};

DWORD WINAPI ReturnFortyTwo(void*)
{
    return 42;
}

DWORD WINAPI SleepLong(void*)
{
    Sleep(3000);
    return 1;
}

struct Trickle
{
    NetSocket* sock;
    const char* text;
    int pauseMs;
};

DWORD WINAPI SendSlowly(void* argument)
{
    Trickle* trickle = static_cast<Trickle*>(argument);
    for (const char* c = trickle->text; *c; ++c) {
        if (NetSocketSend(trickle->sock, c, 1) != 0)
            break;
        Sleep(trickle->pauseMs);
    }
    return 0;
}

} // namespace

TEST(NetWorkerTest, GivesTheExitCodeOrTimesOut)
{
    DWORD result = 7;
    EXPECT_EQ(0, RunWithTimeout(ReturnFortyTwo, nullptr, &result, kWaitMs));
    EXPECT_EQ(42u, result);
    result = 7;
    EXPECT_EQ(kErrTimeout, RunWithTimeout(SleepLong, nullptr, &result, 50));
    EXPECT_EQ(0u, result);
}

struct LineCase
{
    const char* sent;
    int size;
    int result;
    const char* line;
};

const LineCase kLineCases[] = {
    {"hello\r\n", 32, 5, "hello"},
    {"a\rb\n", 32, 2, "ab"},
    {"\r\n", 32, 0, ""},
    {"abcdefghij\n", 8, 8, "abcdefg"},   // cut: the buffer's size comes back
    {"abcdefg\n", 8, 7, "abcdefg"},
};

TEST_F(NetSocketTest, ReadsLines)
{
    Connect();
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.sent);
        ASSERT_EQ(0, NetSocketSendText(m_client, c.sent));
        char line[64];
        memset(line, 'x', sizeof(line));
        EXPECT_EQ(c.result, NetSocketReadLine(m_server, line, c.size, kWaitMs));
        EXPECT_STREQ(c.line, line);
        char rest[64];
        while (NetSocketReceive(m_server, rest, sizeof(rest), 100) > 0) {
        }
    }
}

TEST_F(NetSocketTest, LineEndedByThePeerClosing)
{
    Connect();
    ASSERT_EQ(0, NetSocketSendText(m_client, "abc"));
    NetSocketClose(m_client);
    m_client = nullptr;
    char line[32];
    EXPECT_EQ(kNetErrSocketClosed, NetSocketReadLine(m_server, line, sizeof(line), kWaitMs));
    EXPECT_STREQ("abc", line);
}

// Each byte comes well within the time-out, but the line does not.
TEST_F(NetSocketTest, TricklingLineTimesOut)
{
    Connect();
    Trickle trickle = {m_client, "a line that comes one byte at a time\n", 100};
    HANDLE sender = CreateThread(nullptr, 0, SendSlowly, &trickle, 0, nullptr);
    ASSERT_NE(nullptr, sender);
    char line[64];
    EXPECT_EQ(kErrTimeout, NetSocketReadLine(m_server, line, sizeof(line), 1000));
    WaitForSingleObject(sender, INFINITE);
    CloseHandle(sender);
}

TEST_F(NetSocketTest, ReceiveTimesOutThenSeesTheClose)
{
    Connect();
    char buffer[16];
    EXPECT_EQ(kErrTimeout, NetSocketReceive(m_server, buffer, sizeof(buffer), 50));
    ASSERT_EQ(0, NetSocketSend(m_client, "xyz", 3));
    EXPECT_EQ(3, NetSocketReceive(m_server, buffer, sizeof(buffer), kWaitMs));
    NetSocketClose(m_client);
    m_client = nullptr;
    EXPECT_EQ(kNetErrSocketClosed, NetSocketReceive(m_server, buffer, sizeof(buffer), kWaitMs));
}

TEST_F(NetSocketTest, AcceptTimesOut)
{
    EXPECT_EQ(kErrTimeout, NetSocketAccept(&m_server, m_listener, nullptr, nullptr, 50));
    EXPECT_EQ(nullptr, m_server);
}

TEST_F(NetSocketTest, ConnectsByName)
{
    if (access("/etc/hosts", F_OK) != 0)
        GTEST_SKIP() << "this machine has no /etc/hosts: no name resolves";
    ASSERT_EQ(0, NetSocketConnect(&m_client, "localhost", m_port, kWaitMs));
    EXPECT_EQ(0, NetSocketAccept(&m_server, m_listener, nullptr, nullptr, kWaitMs));
}

TEST_F(NetSocketTest, RefusedConnection)
{
    NetSocketClose(m_listener);
    m_listener = nullptr;
    EXPECT_EQ(kNetErrConnectionRefused, NetSocketConnect(&m_client, "127.0.0.1", m_port, kWaitMs));
    EXPECT_EQ(nullptr, m_client);
}

// A listener whose backlog is full lets connects hang: they give up at the
// time-out, and the worker left connecting closes its socket by itself.
TEST_F(NetSocketTest, ConnectTimesOutWhenNobodyAnswers)
{
    const int kMaxTries = 8;
    std::vector<NetSocket*> waiting;
    int result = 0;
    for (int i = 0; i < kMaxTries && result == 0; ++i) {
        NetSocket* sock = nullptr;
        result = NetSocketConnect(&sock, "127.0.0.1", m_port, 300);
        if (sock)
            waiting.push_back(sock);
    }
    EXPECT_EQ(kErrTimeout, result);
    for (NetSocket* sock : waiting)
        NetSocketClose(sock);
}

TEST_F(NetSocketTest, UnknownHosts)
{
    const char* hosts[] = {"", "1.2.3", "127.0.0.256", "8-"};
    for (const char* host : hosts) {
        SCOPED_TRACE(host);
        EXPECT_EQ(kNetErrHostUnknown, NetSocketConnect(&m_client, host, m_port, kWaitMs));
        EXPECT_EQ(nullptr, m_client);
    }
    EXPECT_EQ(kNetErrHostUnknown, NetSocketConnect(&m_client, nullptr, m_port, kWaitMs));
}

TEST_F(NetSocketTest, DatagramsReachTheBoundPort)
{
    NetSocket* receiver = nullptr;
    NetSocket* sender = nullptr;
    ASSERT_EQ(0, NetSocketBindDatagram(&receiver, 0, nullptr));
    int port = 0;
    ASSERT_EQ(0, NetSocketGetLocalAddress(receiver, &port, nullptr));
    ASSERT_EQ(0, NetSocketOpenDatagramSender(&sender, "127.0.0.1", port, kWaitMs));
    EXPECT_EQ(0, NetSocketSendText(sender, "datagram"));
    char buffer[32] = {};
    EXPECT_EQ(8, NetSocketReceive(receiver, buffer, sizeof(buffer), kWaitMs));
    EXPECT_STREQ("datagram", buffer);
    NetSocketClose(sender);
    NetSocketClose(receiver);
}

TEST_F(NetSocketTest, BindingATakenPortFails)
{
    NetSocket* second = nullptr;
    EXPECT_EQ(kNetErrBindFailed, NetSocketListen(&second, m_port, nullptr));
    EXPECT_EQ(nullptr, second);
}

TEST(NetSocketAccessTest, AbsentSocket)
{
    uintptr_t handle = 0;
    EXPECT_EQ(kNetFailed, NetSocketGetHandle(nullptr, &handle));
    EXPECT_EQ(kNetFailed, NetSocketSetUser(nullptr, &handle));
    EXPECT_EQ(nullptr, NetSocketGetUser(nullptr));
    EXPECT_EQ(kNetFailed, NetSocketGetLocalAddress(nullptr, nullptr, nullptr));
    char buffer[4];
    EXPECT_EQ(kErrInternal, NetSocketReceive(nullptr, buffer, sizeof(buffer), 0));
    EXPECT_EQ(kErrInternal, NetSocketSend(nullptr, buffer, sizeof(buffer)));
}
