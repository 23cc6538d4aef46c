// Servers that never finish their reply head: each open ends with the time-out.
#include "tests/support/TestFramework.h"

#include "tests/support/LocalHttpServer.h"
#include "mp3/decoder/tests/NetTestHelpers.h"
#include "mp3/decoder/NetHttp.h"

namespace {

struct StallCase
{
    const char* name;
    int sendBytes;     // of the reply, before the server stops sending
    int trickleMs;
};

const StallCase kStallCases[] = {
    {"silent after the request", 0, 0},
    {"silent within the headers", 30, 0},
    // Every byte comes well within the time-out, the whole head never does.
    {"trickling a long head", -1, 100},
};

} // namespace

TEST(NetHttpStallTest, OpenEndsWithTheTimeout)
{
    ASSERT_EQ(0, NetStartup());
    CLocalHttpServer server;
    for (const StallCase& c : kStallCases) {
        SCOPED_TRACE(c.name);
        HttpReply reply = HttpReply::Ok("body");
        for (int i = 0; i < 20; ++i)
            reply.headers.push_back("X-Padding-" + std::to_string(i) + ": some text to send");
        reply.sendBytes = c.sendBytes;
        reply.ending = HttpReply::kStall;
        reply.trickleMs = c.trickleMs;
        server.Answer("/a", reply);

        NetUrl url;
        ASSERT_EQ(0, ParseNetUrl(&url, server.Url("/a").c_str()));
        NetSocket* sock = nullptr;
        unsigned int length = 0;
        EXPECT_EQ(kErrTimeout, HttpOpen(&sock, &url, &length, -1, -1, nullptr, nullptr));
        EXPECT_EQ(nullptr, sock);
    }
}
