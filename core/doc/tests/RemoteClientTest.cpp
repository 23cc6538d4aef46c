// The command language on a remote control's road: a second user of the
// document's device manager sends "zym:..." texts through the dispatcher and
// hears the answers on its own "zymr" device, as a client of the device
// server would; the test runs the ticks that the main window's timer would.
#include "tests/support/doc/DocFixture.h"

#include "devices/manager/DeviceManager.h"
#include "core/doc/OpenLink.h"
#include "tests/support/Waits.h"

#include <mutex>

namespace {

const char kAlbumA[] = "000000000000000A";
const DWORD kPatienceMs = 10000;
const char kMarker[] = "echo[end]";

class CRemoteClient : public CCallbackTarget
{
public:
    explicit CRemoteClient(CDeviceManager& manager)
        : m_manager(manager), m_user(manager.AddUser()), m_arrived(CreateEventA(nullptr, FALSE, FALSE, nullptr))
    {
        EXPECT_EQ(1, m_manager.AddDeviceText(m_user, "type=devtx\n", "zym", 0, 0, 0));
        EXPECT_EQ(1, m_manager.AddDeviceText(m_user, "type=devrx\n", "zymr", 0, 0, 0));
        m_manager.SetDeviceCallback(m_user, "zymr", this, static_cast<TextFunction>(&CRemoteClient::OnReply));
    }
    ~CRemoteClient()
    {
        m_manager.RemoveUser(m_user);
        CloseHandle(m_arrived);
    }

    BOOL Send(const std::string& text) { return m_manager.Send(m_user, text.c_str()); }
    HANDLE Arrived() const { return m_arrived; }
    // What arrived so far, without the device's name.
    Texts Take()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        Texts replies;
        replies.swap(m_replies);
        return replies;
    }

private:
    // On the manager's monitoring thread.
    void OnReply(CString text)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_replies.push_back(std::string(text.Mid(text.Find(':') + 1)));
        SetEvent(m_arrived);
    }

    CDeviceManager& m_manager;
    int m_user;
    HANDLE m_arrived;
    std::mutex m_lock;
    Texts m_replies;
};

Texts g_opened;

BOOL RecordOpen(const char* file, const char* parameters, const char* folder)
{
    g_opened.push_back(std::string(file) + "|" + parameters + "|" + folder);
    return TRUE;
}

class RemoteClientTest : public DocFixture
{
protected:
    void SetUp() override
    {
        SetLinkOpener(RecordOpen);
        g_opened.clear();
        // No port is searched, but the monitoring thread that carries the
        // texts between users runs.
        Option("Auto Locate Tavlins", 1);
        Open();
        AddMp3Album(kAlbumA, 2);
        m_doc->RunTick();
        ASSERT_TRUE(m_doc->GetDeviceManager() != nullptr);
        m_client.reset(new CRemoteClient(*m_doc->GetDeviceManager()));
        // The start-up's own events go by first.
        Ask("echo[ready]");
    }

    void TearDown() override
    {
        m_client.reset();
        SetLinkOpener(nullptr);
    }

    // The answers to the command: a marker command follows it, and the ticks
    // run until the marker's answer arrives.
    Texts Ask(const std::string& command)
    {
        EXPECT_TRUE(m_client->Send("zym:" + command));
        EXPECT_TRUE(m_client->Send(std::string("zym:") + kMarker));
        Texts replies;
        bool answered = WaitUntil(
            [&] {
                m_doc->RunTick();
                WaitForSingleObject(m_client->Arrived(), 10);
                for (const std::string& reply : m_client->Take())
                {
                    if (reply == kMarker)
                        return true;
                    replies.push_back(reply);
                }
                return false;
            },
            kPatienceMs);
        EXPECT_TRUE(answered) << "no answer to " << command;
        return replies;
    }

    std::unique_ptr<CRemoteClient> m_client;
};

TEST_F(RemoteClientTest, CommandsAnswerTheClient)
{
    const struct
    {
        const char* text;
        Texts replies;
    } cases[] = {
        { "echo[ Over Here ]", { "echo[over here]" } },
        { "getstate", { "state[stopped]" } },
        { "playlist_insert[top,000000000000000a,2]", {} },
        { "playlist_insert[top,000000000000000a,3]",
          { "error[playlist_insert - track number out of range for this disc]" } },
        { "playlist_size", { "playlist_size[1,1:40]" } },
        { "playlist_getpointer", { "playlist_pointer[1]" } },
        { "nosuchword", { "error[unknown command - nosuchword]" } },
        // The error quotes the text with its bracket; the client gets it as
        // one item.
        { "playlist_getitem[5", { "error[unknown command - playlist_getitem(5]" } },
        { "search[title = (]", { "error[search - Missing operand]" } },
        { "mute[on]", { "mute_on" } },
        { "list_players", { "player_info[mp3,\"MPEG Audio Decoder\",\"mp3\",0,software]", "player_info[end,,]" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.replies, Ask(c.text));
    }
}

// What a client may have opened or written: documents and web links open,
// programs and anything with parameters are refused, and files are written
// only inside their folders. Each refusal answers the client.
TEST_F(RemoteClientTest, AClientOpensDocumentsOnlyAndWritesOnlyInsideItsFolders)
{
    m_doc->GetOptions().m_page9.m_playlistDirectory = m_folder.WindowsPath("").c_str();
    const std::string outside = "the name must stay inside its folder: ";
    const struct
    {
        const char* text;
        Texts replies;
    } cases[] = {
        { "shell[notes.txt]", {} },
        { "shell[https://example.org/]", {} },
        { "shell[cmd.exe,/c echo x > z:\\tmp\\owned.txt]", { "error[shell - refused cmd.exe: parameters are not allowed]" } },
        { "shell[c:\\windows\\system32\\cmd.exe]",
          { "error[shell - refused c:\\windows\\system32\\cmd.exe: programs and scripts are not opened]" } },
        { "shell[\\\\host\\share\\a.pdf]", { "error[shell - refused \\\\host\\share\\a.pdf: network paths are not opened]" } },
        { "playlist_insert[top,000000000000000a,1]", {} },
        { "playlist_save[..\\owned.bat]", { "error[playlist_save - " + outside + "..\\owned.bat]" } },
        { "searchlist_save[z:\\tmp\\owned.pla]", { "error[searchlist_save - " + outside + "z:\\tmp\\owned.pla]" } },
        { "library_save_all[..\\owned.mdb]", { "error[library_save_all - " + outside + "..\\owned.mdb]" } },
        { "mapfile_load[c:\\owned.map]", { "error[mapfile_load - " + outside + "c:\\owned.map]" } },
        { "playlist_save[kept.pla]", {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.replies, Ask(c.text));
    }
    EXPECT_EQ(Texts({ "notes.txt||", "https://example.org/||" }), g_opened);
    EXPECT_FALSE(m_folder.Exists("owned.bat"));
    EXPECT_TRUE(m_folder.Exists("kept.pla"));
}

// An event-map action speaks the command language as a client does, with the
// same refusals; they reach the client as events.
TEST_F(RemoteClientTest, MapActionsAreHeldToTheSameRules)
{
    WriteFile("map.txt", "echo[go] { zym:shell[cmd.exe,/c echo x] zym:playlist_save[..\\owned.bat] }\n");
    ASSERT_TRUE(m_doc->GetMapper().LoadMapFile(m_folder.WindowsPath("map.txt").c_str()));
    EXPECT_EQ(Texts({ "echo[go]" }), Ask("echo[go]"));
    // The actions were queued behind the marker; they answer before the next one.
    EXPECT_EQ(Texts({ "error[shell - refused cmd.exe: parameters are not allowed]",
                      "error[playlist_save - the name must stay inside its folder: ..\\owned.bat]", "echo[later]" }),
              Ask("echo[later]"));
    EXPECT_EQ(Texts(), g_opened);
    EXPECT_FALSE(m_folder.Exists("owned.bat"));
}

// A map that acts on errors with commands of its own: a client's bad command
// fires one error, the map's three actions come back as commands and fail in
// turn, and those failures (the program's own) start nothing more; before,
// each tick tripled them.
TEST_F(RemoteClientTest, AMapThatActsOnErrorsDoesNotAnswerItsOwnFailures)
{
    const std::string error = "error[unknown command - nosuchword]";
    WriteFile("map.txt", "error { zym:nosuchword }\nerror { zym:nosuchword }\nerror { zym:nosuchword }\n");
    ASSERT_TRUE(m_doc->GetMapper().LoadMapFile(m_folder.WindowsPath("map.txt").c_str()));
    EXPECT_EQ(Texts({ error }), Ask("nosuchword"));
    EXPECT_EQ(Texts({ error, error, error, "echo[later]" }), Ask("echo[later]"));
    EXPECT_EQ(Texts({ "echo[again]" }), Ask("echo[again]"));
    // A client's failure is still a root event of the map.
    EXPECT_EQ(Texts({ error }), Ask("nosuchword"));
    EXPECT_EQ(Texts({ error, error, error, "echo[last]" }), Ask("echo[last]"));
}

// A title is outside text: its brackets cannot end the reply early and send
// the rest to the document as a command of its own.
TEST_F(RemoteClientTest, ATitleInAReplyStaysOneItem)
{
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord album;
    ASSERT_TRUE(library.GetAlbumAt(library.FindAlbumIndex(kAlbumA), album));
    album.SetTitle(kAlbumIndex, "Live] zym:shell[evil.bat] [");
    library.StoreAlbum(album);
    m_doc->GetCurrentPlayList().AddItem(CLibItem(kAlbumA, 0));
    Texts replies = Ask("playlist_getitem[1]");
    ASSERT_EQ(1u, replies.size());
    EXPECT_EQ(0u, replies[0].find("playlist_item[\"1\",\"Live) zym:shell(evil.bat) (\",")) << replies[0];
    EXPECT_EQ(']', replies[0].back());
    EXPECT_EQ(Texts(), g_opened);
}

} // namespace
