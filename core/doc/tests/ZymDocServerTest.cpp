// The document on the device server's road: the start-up waits for the
// server before it defines the automation devices there, the unit is the
// one the server found, and the road stays what it was until the next start.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/server/ServerEnvironment.h"

#include "core/doc/OpenLink.h"
#include "server/TavlinClient.h"
#include "core/devpath/TavlinRemote.h"
#include "server/tests/TestSite.h"
#include "tests/support/Waits.h"

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

Texts g_opened;

BOOL RecordOpen(const char* file, const char* parameters, const char* folder)
{
    g_opened.push_back(std::string(file) + "|" + parameters + "|" + folder);
    return TRUE;
}

HRESULT CallText(ITavlin* client, HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*), const char* text)
{
    std::u16string wide = Wide(text);
    LPWSTR p = reinterpret_cast<LPWSTR>(&wide[0]);
    return (client->*method)(&p);
}

HRESULT AddDevice(ITavlin* client, const char* name, const char* text)
{
    std::u16string wideName = Wide(name), wideText = Wide(text);
    LPWSTR n = reinterpret_cast<LPWSTR>(&wideName[0]);
    LPWSTR t = reinterpret_cast<LPWSTR>(&wideText[0]);
    return client->AddDeviceText(&n, &t, 0, 0, 0);
}

// Another program on the machine, a client of the device server: it defines
// "zym" to send commands and "zymr" to hear the running document's answers.
// What it may have the document open or write: documents and web links open,
// programs and anything with parameters are refused, files are written only
// inside their folders, and every refusal answers the client.
TEST_F(ZymDocServerTest, AServerClientOpensDocumentsOnlyAndWritesOnlyInsideItsFolders)
{
    SetLinkOpener(RecordOpen);
    g_opened.clear();
    Option("Use TavlinX", 1);
    Option("Auto Locate Players", 0);
    Option("Playlist Directory", m_folder.WindowsPath("").c_str());
    Open();
    m_doc->RunStartup();
    ITavlin* client = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_TavlinClient, nullptr, CLSCTX_LOCAL_SERVER, IID_ITavlin,
                                     reinterpret_cast<void**>(&client)));
    CTestSite* site = new CTestSite;
    ASSERT_EQ(S_OK, client->DAdvise(site));
    ASSERT_EQ(S_OK, AddDevice(client, "zym", "type=devtx"));
    ASSERT_EQ(S_OK, AddDevice(client, "zymr", "type=devrx"));
    // The answers to a command: the ticks run until the marker's answer comes.
    size_t seen = 0;
    auto ask = [&](const std::string& command) {
        EXPECT_EQ(S_OK, CallText(client, &ITavlin::Send, ("zym:" + command + " zym:echo[end]").c_str()));
        Texts answers;
        bool answered = WaitUntil(
            [&] {
                m_doc->RunTick();
                site->WaitFor(seen + 1, 10);
                Texts texts = site->Texts();
                for (; seen < texts.size(); seen++) {
                    if (texts[seen] == "zymr:echo[end]")
                    {
                        ++seen;
                        return true;
                    }
                    answers.push_back(texts[seen]);
                }
                return false;
            },
            10000);
        EXPECT_TRUE(answered) << "no answer to " << command;
        return answers;
    };
    const std::string outside = "zymr:error[playlist_save - the name must stay inside its folder: ";
    const struct
    {
        const char* text;
        Texts answers;
    } cases[] = {
        { "shell[notes.txt]", {} },
        { "shell[cmd.exe,/c echo x > z:\\tmp\\owned.txt]", { "zymr:error[shell - refused cmd.exe: parameters are not allowed]" } },
        { "shell[owned.bat]", { "zymr:error[shell - refused owned.bat: programs and scripts are not opened]" } },
        { "shell[file:///c:/owned.txt]", { "zymr:error[shell - refused file:///c:/owned.txt: only http and https links are opened]" } },
        { "playlist_save[..\\owned.bat]", { outside + "..\\owned.bat]" } },
        { "playlist_save[z:\\tmp\\owned.pla]", { outside + "z:\\tmp\\owned.pla]" } },
        { "playlist_save[kept.pla]", {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        Texts answers;
        for (const std::string& answer : ask(c.text))
        {
            // Only the answers to the command, not the document's own news.
            if (answer.compare(0, 11, "zymr:error[") == 0)
                answers.push_back(answer);
        }
        EXPECT_EQ(c.answers, answers);
    }
    EXPECT_EQ(Texts({ "notes.txt||" }), g_opened);
    EXPECT_TRUE(m_folder.Exists("kept.pla"));
    EXPECT_FALSE(m_folder.Exists("owned.bat"));
    client->Release();
    site->Release();
    Close();
    SetLinkOpener(nullptr);
}

} // namespace
