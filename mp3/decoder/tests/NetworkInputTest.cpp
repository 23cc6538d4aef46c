// Streams played from a local HTTP server and a real FTP server: the decoded output
// equals that of the same file read from disk, through a proxy and a redirect, from a
// server that closes early and from one that stalls.
#include "tests/support/TestFramework.h"

#include <string>
#include <vector>

#include "mp3/decoder/NetErrors.h"
#include "mp3/decoder/NetSocket.h"
#include "mp3/decoder/NetworkInput.h"
#include "mp3/decoder/DecoderPlayer.h"
#include "mp3/decoder/tests/DecoderTestSupport.h"
#include "tests/support/FtpTestServer.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TempFolder.h"

namespace {

// 133120 bytes: more than the high mark of 16384 that playback waits for.
const char kStream[] = "l3-sin1k0db.bit";

struct Event {
    int code;
    int value;
};

void CollectEvent(void* context, int, int code, int value, const char*)
{
    ((std::vector<Event>*)context)->push_back({code, value});
}

class NetworkInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ZYM_NEED_STREAMS();
        m_path = TestStreamPath(kStream);
        ASSERT_FALSE(m_path.empty());
        m_bytes = ReadBytes(m_path);
        m_fromDisk = DecodeWithDecoder(WindowsPath(m_path));
        ASSERT_FALSE(m_fromDisk.empty());
        ASSERT_EQ(0, CreateDecoder(&m_decoder));
        m_decoder->reportContext = &m_events;
        m_decoder->eventReport = CollectEvent;
        RegisterBuiltinInputModules(m_decoder);
    }
    void TearDown() override { DestroyDecoder(m_decoder); }

    // The events without the buffering progress, whose count depends on how the
    // bytes arrive; progress always reports less than the high mark.
    std::vector<int> EventCodes() const
    {
        std::vector<int> codes;
        for (const Event& e : m_events) {
            if (e.code == kNetEventProgress)
                EXPECT_LT(e.value, 100);
            else
                codes.push_back(e.code);
        }
        return codes;
    }

    std::string m_path;
    std::string m_bytes;
    std::string m_fromDisk;
    Decoder* m_decoder = nullptr;
    std::vector<Event> m_events;
    CLocalHttpServer m_server;
};

TEST_F(NetworkInputTest, HttpStreamsDecodeAsFromDisk)
{
    CLocalHttpServer proxy;
    m_server.Answer("/stream.mp3", HttpReply::Ok(m_bytes));
    m_server.Answer("/old.mp3", HttpReply::Redirect(m_server.Url("/stream.mp3")));
    proxy.Answer(m_server.Url("/stream.mp3"), HttpReply::Ok(m_bytes));
    const struct {
        const char* label;
        std::string url;
        bool viaProxy;
    } cases[] = {
        {"direct", m_server.Url("/stream.mp3"), false},
        {"redirect", m_server.Url("/old.mp3"), false},
        {"proxy", m_server.Url("/stream.mp3"), true},
    };
    for (const auto& c : cases) {
        if (c.viaProxy) {
            SetStringVariable(m_decoder, "NETWORK.HTTP.PROXY.HOSTNAME", "127.0.0.1");
            SetIntegerVariable(m_decoder, "NETWORK.HTTP.PROXY.PORT", proxy.Port());
        }
        m_events.clear();
        int end = 0;
        std::string decoded = DecodeAll(m_decoder, c.url, -1, &end);
        EXPECT_EQ(kErrInputEnd, end) << c.label;
        EXPECT_EQ(1, m_decoder->input.module->id) << c.label;
        EXPECT_EQ(m_bytes.size(), m_decoder->size) << c.label << ": the size is the content length";
        EXPECT_TRUE(decoded == m_fromDisk) << c.label;
        EXPECT_EQ((std::vector<int>{kNetEventConnecting, kNetEventConnected, kNetEventRefilled, kNetEventEnd,
                                    kNetEventUnderflow}),
                  EventCodes())
            << c.label;
        CloseInput(m_decoder);
    }
    // The module asks for the whole stream: no range.
    ASSERT_FALSE(m_server.Requests().empty());
    EXPECT_EQ("", m_server.Requests()[0].Header("Range"));
    ASSERT_EQ(1u, proxy.Requests().size());
    EXPECT_EQ(m_server.Url("/stream.mp3"), proxy.Requests()[0].target);
}

TEST_F(NetworkInputTest, AServerThatClosesEarlyGivesWhatItSent)
{
    HttpReply reply = HttpReply::Ok(m_bytes);
    size_t half = m_bytes.size() / 2;
    reply.sendBytes = (int)(reply.Head().size() + half);
    m_server.Answer("/cut.mp3", reply);
    CTempFolder folder("zym-net");
    ASSERT_TRUE(folder.IsValid());
    WriteBytes(folder.UnixPath("cut.mp3"), m_bytes.substr(0, half));
    std::string expected = DecodeWithDecoder(folder.WindowsPath("cut.mp3"));

    int end = 0;
    std::string decoded = DecodeAll(m_decoder, m_server.Url("/cut.mp3"), -1, &end);
    EXPECT_EQ(kErrInputEnd, end);
    EXPECT_FALSE(decoded.empty());
    EXPECT_TRUE(decoded == expected) << decoded.size() << " bytes decoded, " << expected.size() << " expected";
}

TEST_F(NetworkInputTest, FtpStreamsDecodeAsFromDisk)
{
    CTempFolder folder("zym-ftp");
    ASSERT_TRUE(folder.IsValid());
    WriteBytes(folder.UnixPath("stream.mp3"), m_bytes);
    CFtpTestServer ftp(folder.UnixPath(""));
    int end = 0;
    std::string decoded = DecodeAll(m_decoder, ftp.Url("/stream.mp3"), -1, &end);
    EXPECT_EQ(kErrInputEnd, end);
    EXPECT_TRUE(decoded == m_fromDisk);
}

TEST_F(NetworkInputTest, AStalledServerLeavesThePlayerResponsive)
{
    HttpReply reply = HttpReply::Ok(m_bytes);
    reply.sendBytes = (int)(reply.Head().size() + 4000);
    reply.ending = HttpReply::kStall;
    m_server.Answer("/stall.mp3", reply);
    CTempFolder folder("zym-stall");
    ASSERT_TRUE(folder.IsValid());

    CPlayerClient client;
    ASSERT_EQ(0, client.Created());
    std::string output = "wav:" + folder.WindowsPath("out.wav");
    ASSERT_EQ(0, client.Command(kMsgSetOutputName, output.c_str()));
    ASSERT_EQ(0, client.Command(kMsgInputOpen, m_server.Url("/stall.mp3").c_str()));
    ASSERT_EQ(0, client.Command(kMsgPlay));
    // Buffering: 4000 of the 16384 bytes wanted are held, and stay so.
    Note progress;
    ASSERT_TRUE(client.WaitFor(kMsgModuleEvent, 1, &progress));
    while (progress.values[1] != kNetEventProgress)
        ASSERT_TRUE(client.WaitFor(kMsgModuleEvent, 1, &progress));
    EXPECT_EQ(4000 * 100 / 16384, progress.values[2]);
    // The player thread still takes commands while the server sends nothing.
    ASSERT_EQ(0, client.Command(kMsgPing, 3));
    ASSERT_EQ(0, client.Command(kMsgStop));
    ASSERT_EQ(0, client.Command(kMsgInputClose));
    EXPECT_EQ(kPlayerStopped, client.SeenCodes(kMsgPlayerState).back().values[0]);
}

TEST_F(NetworkInputTest, ATcpStreamSendsAnEmptyLineFirst)
{
    NetSocket* listener = nullptr;
    int port = 0;
    ASSERT_EQ(0, NetSocketListen(&listener, 0, nullptr));
    ASSERT_EQ(0, NetSocketGetLocalAddress(listener, &port, nullptr));
    std::string url = "tcp://127.0.0.1:" + std::to_string(port);
    ASSERT_EQ(0, SelectInput(m_decoder, url.c_str(), -1));
    ASSERT_EQ(0, OpenInput(m_decoder));
    NetSocket* peer = nullptr;
    ASSERT_EQ(0, NetSocketAccept(&peer, listener, nullptr, nullptr, 5000));
    char line[2];
    ASSERT_EQ(2, NetSocketReceive(peer, line, sizeof(line), 5000));
    EXPECT_EQ("\r\n", std::string(line, 2));
    ASSERT_EQ(0, NetSocketSend(peer, m_bytes.data(), (int)m_bytes.size()));
    NetSocketClose(peer);
    NetSocketClose(listener);

    int end = 0;
    std::string decoded = DecodeOpenInput(m_decoder, &end);
    EXPECT_EQ(kErrInputEnd, end);
    EXPECT_TRUE(decoded == m_fromDisk);
}

TEST_F(NetworkInputTest, AUdpStreamTakesDatagramsFromAnySender)
{
    // One receive's worth each, and few enough that the socket holds them all while
    // nothing reads them yet.
    const int kDatagram = 8192;
    const size_t kSent = 8 * kDatagram;
    // A free port: bind one, note it, let it go.
    NetSocket* probe = nullptr;
    int port = 0;
    ASSERT_EQ(0, NetSocketBindDatagram(&probe, 0, nullptr));
    ASSERT_EQ(0, NetSocketGetLocalAddress(probe, &port, nullptr));
    NetSocketClose(probe);

    // The host is not used: datagrams from any sender are taken.
    std::string url = "udp://192.0.2.1:" + std::to_string(port);
    ASSERT_EQ(0, SelectInput(m_decoder, url.c_str(), -1));
    ASSERT_EQ(0, OpenInput(m_decoder));
    NetSocket* sender = nullptr;
    ASSERT_EQ(0, NetSocketOpenDatagramSender(&sender, "127.0.0.1", port, 5000));
    for (size_t at = 0; at < kSent; at += kDatagram) {
        std::string piece = m_bytes.substr(at, kDatagram);
        ASSERT_EQ(0, NetSocketSend(sender, piece.data(), (int)piece.size()));
    }
    NetSocketClose(sender);

    // A datagram stream has no end: decode until no more comes.
    std::string decoded;
    int timeouts = 0;
    while (timeouts < 20) {
        int code = DecodeFrame(m_decoder, nullptr);
        if (code == 0)
            decoded.append((const char*)m_decoder->pcm, m_decoder->pcmBytes);
        timeouts = code == kErrTimeout ? timeouts + 1 : 0;
    }
    // What the file of the sent bytes gives, the frame that waits for a following
    // header perhaps excepted.
    CTempFolder folder("zym-udp");
    ASSERT_TRUE(folder.IsValid());
    WriteBytes(folder.UnixPath("sent.mp3"), m_bytes.substr(0, kSent));
    std::string sent = DecodeWithDecoder(folder.WindowsPath("sent.mp3"));
    ASSERT_LE(decoded.size(), sent.size());
    EXPECT_GE(decoded.size(), sent.size() - 2 * kDecoderFrameBytes);
    EXPECT_TRUE(sent.compare(0, decoded.size(), decoded) == 0);
}

TEST_F(NetworkInputTest, ConnectionFailuresAreTheClientsCodes)
{
    const struct {
        std::string url;
        int code;
    } cases[] = {
        {"http://127.0.0.1:1/x.mp3", kNetErrConnectionRefused},
        {m_server.Url("/missing.mp3"), kNetErrHttpErrorReply},
        {"http://", kNetErrInvalidUrlSyntax},
    };
    for (const auto& c : cases) {
        int end = 0;
        DecodeAll(m_decoder, c.url, 1, &end);
        EXPECT_EQ(c.code, end) << c.url;
        EXPECT_STRNE("", GetDecoderErrorText(end));
    }
}

} // namespace
