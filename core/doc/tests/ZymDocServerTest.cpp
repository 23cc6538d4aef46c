// The document on the device server's road: the start-up waits for the
// server before it defines the automation devices there, the unit is the
// one the server found, and the road stays what it was until the next start.
#include "DocFixture.h"
#include "ServerEnvironment.h"

#include "TavlinRemote.h"

#include <mutex>

namespace {

std::mutex g_threadsLock;
Texts g_threads;

// Threads tell their name when they start and null when they end.
void RecordThread(const char* name)
{
    std::lock_guard<std::mutex> hold(g_threadsLock);
    g_threads.push_back(name ? name : "(ended)");
}

typedef DocFixture ZymDocServerTest;

Texts WithoutEvents(const Texts& trace)
{
    Texts lines;
    for (const std::string& line : trace)
    {
        if (line.compare(0, 6, "event ") != 0)
            lines.push_back(line);
    }
    return lines;
}

TEST_F(ZymDocServerTest, StartUpWaitsForTheServerAndUsesItsUnit)
{
    Option("Use TavlinX", 1);
    Option("Auto Locate Players", 0);
    SetThreadRegistration(RecordThread);
    Open();
    ASSERT_TRUE(m_doc->IsUsingServer());
    ASSERT_TRUE(dynamic_cast<CTavlinRemote*>(&m_doc->GetDevicePath()) != nullptr);
    m_doc->RunStartup();
    EXPECT_EQ(Texts({
                  "views", "hint 16", "task Initializing", "status Enabling Mapper", "status Starting LibLoad Thread",
                  "indicator on", "status Waiting for server to load 1/2", "status Waiting for server to load 2/2",
                  "status Enabling Automation 1/4", "status Enabling Automation 2/4", "status Enabling Automation 3/4",
                  "status Locating Tavlins", "status Adding Misc Devices", "hint 5", "status Starting Playing Thread",
                  "task ended", "hint 6", "tip",
              }),
              WithoutEvents(m_trace.Take()));
    EXPECT_EQ(1, m_doc->GetDevicePath().GetNumTavlins());
    // The two automation devices, defined on the server.
    EXPECT_EQ(2, m_doc->GetDevicePath().GetNumDevices());
    // A device command goes to the server's unit.
    ASSERT_TRUE(m_doc->GetDevicePath().AddDeviceText("type=tavlin\n00011010:power\n", "tv", 0, 0, 1));
    ServerUnit().ClearReceived();
    EXPECT_TRUE(m_doc->SendDeviceCommand("tv:power"));
    EXPECT_TRUE(ServerUnit().WaitForReceived(std::string("\x01\x1A\x00", 3), 5000));

    // "Use TavlinX" off takes effect at the next start only.
    m_doc->GetOptions().m_page4.m_useTavlinX = 0;
    m_doc->ApplyOptions(0, 0);
    EXPECT_TRUE(m_doc->IsUsingServer());
    m_trace.Take();
    Close();
    EXPECT_EQ(Texts({ "closed" }), WithoutEvents(m_trace.Take()));
    SetThreadRegistration(nullptr);
    // The server road's thread and the playing thread, each known to the
    // crash link while it ran.
    std::lock_guard<std::mutex> hold(g_threadsLock);
    EXPECT_EQ(1, std::count(g_threads.begin(), g_threads.end(), "TavlinX"));
    EXPECT_EQ(1, std::count(g_threads.begin(), g_threads.end(), "PlayMusic"));
    EXPECT_EQ(2, std::count(g_threads.begin(), g_threads.end(), "(ended)"));
}

} // namespace
