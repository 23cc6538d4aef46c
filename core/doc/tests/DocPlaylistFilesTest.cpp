// Play-list files of the current play list and the search list: names in the
// play-list folder, full paths as given, the search list replaced, entries
// inserted where asked, files that cannot be read or written, the commands'
// states, and the real file dialog.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/WindowDriver.h"

#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocResource.h"

#include <sys/stat.h>

namespace {

const char kAlbum[] = "00000000000000A1";

class DocPlaylistFilesTest : public DocFixture
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, mkdir(m_folder.UnixPath("lists").c_str(), 0700));
        Open();
        m_doc->GetOptions().m_page9.m_playlistDirectory = "lists";
        AddMp3Album(kAlbum, 8);
        WriteFile("lists/party.pla", "ZYM Playlist V1.1\r\n00000000000000A1 6\r\n00000000000000A1 7\r\n");
        WriteFile("elsewhere.pla", "ZYM Playlist V1.1\r\n00000000000000A1 5\r\n");
        m_trace.Take();
    }

    CDocPlaylistFiles& Files() { return m_doc->GetCommandTargets().playlistFiles; }
    static std::string Tracks(CPlayList& list)
    {
        std::string text;
        for (int i = 0; i < list.GetCount(); ++i)
            text += (i ? "," : "") + std::to_string(list.GetItem(i).GetTrack());
        return text;
    }
    void Fill(CPlayList& list, std::initializer_list<int> tracks)
    {
        list.Clear();
        for (int track : tracks)
            list.AddItem(CLibItem(kAlbum, track));
    }
    std::string State(UINT id) { return UpdatedMenuState(m_doc, id) & MF_GRAYED ? "off" : "on"; }
};

TEST_F(DocPlaylistFilesTest, NamesAreTakenInThePlaylistFolder)
{
    EXPECT_EQ(m_folder.WindowsPath("lists\\party.pla"), std::string(Files().GetPlaylistPath("party.pla")));
    EXPECT_EQ(m_folder.WindowsPath("elsewhere.pla"),
              std::string(Files().GetPlaylistPath(m_folder.WindowsPath("elsewhere.pla").c_str())));

    CPlayList& list = m_doc->GetCurrentPlayList();
    Fill(list, { 0, 1, 2 });
    EXPECT_TRUE(Files().OpenPlaylistFile("party.pla", 1));
    EXPECT_EQ("0,6,7,1,2", Tracks(list));
    EXPECT_TRUE(Files().OpenPlaylistFile(m_folder.WindowsPath("elsewhere.pla").c_str(), -1));
    EXPECT_EQ("0,6,7,1,2,5", Tracks(list));
}

// One resolver serves the menu and the command language: names below the
// play-list folder (the option against the program's folder, on its drive
// when the option has none), full paths as they are, nothing for an
// impossible name.
TEST_F(DocPlaylistFilesTest, PlaylistNamesResolveOneWay)
{
    const std::string program(m_doc->GetProgramFolder());
    const std::string drive = program.substr(0, 2);
    const std::string parent = program.substr(0, program.rfind('\\', program.size() - 2) + 1);
    const struct
    {
        const char* folder;
        const char* name;
        std::string path;
    } cases[] = {
        { "lists", "party.pla", program + "lists\\party.pla" },
        { "lists", "party", program + "lists\\party" },
        { "lists", "sub\\party.pla", program + "lists\\sub\\party.pla" },
        { "lists", "..\\party.pla", program + "party.pla" },
        { "lists", "C:\\other\\x.pla", "C:\\other\\x.pla" },
        { "lists", "\\other\\x.pla", drive + "\\other\\x.pla" },
        { "\\Lists", "party.pla", drive + "\\Lists\\party.pla" },
        { "C:\\Lists\\", "party.pla", "C:\\Lists\\party.pla" },
        { "..\\Playlists", "party.pla", parent + "Playlists\\party.pla" },
        { "", "party.pla", program + "party.pla" },
        { "lists", "", program + "lists" },
        { "lists", "bad|name.pla", "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.folder) + " + " + c.name);
        m_doc->GetOptions().m_page9.m_playlistDirectory = c.folder;
        EXPECT_EQ(c.path, std::string(Files().GetPlaylistPath(c.name)));
    }
}

TEST_F(DocPlaylistFilesTest, TheSearchListIsReplaced)
{
    CPlayList& search = m_doc->GetSearchList();
    Fill(search, { 0, 1 });
    EXPECT_TRUE(Files().OpenSearchListFile("party.pla", 0));
    EXPECT_EQ("6,7", Tracks(search));
    EXPECT_EQ(Texts({ "hint 8" }), m_trace.Take());
}

TEST_F(DocPlaylistFilesTest, SavedListsReadBack)
{
    Fill(m_doc->GetCurrentPlayList(), { 3, 1 });
    Fill(m_doc->GetSearchList(), { 4 });
    EXPECT_TRUE(Files().SavePlaylist(m_folder.WindowsPath("lists\\current.pla").c_str()));
    EXPECT_TRUE(Files().SaveSearchList(m_folder.WindowsPath("lists\\search.pla").c_str()));
    Fill(m_doc->GetCurrentPlayList(), {});
    EXPECT_TRUE(Files().OpenPlaylistFile("current.pla", -1));
    EXPECT_TRUE(Files().OpenPlaylistFile("search.pla", -1));
    EXPECT_EQ("3,1,4", Tracks(m_doc->GetCurrentPlayList()));
}

// Each failure says why in the list's box and changes nothing.
TEST_F(DocPlaylistFilesTest, FilesThatCannotBeReadOrWritten)
{
    WriteFile("lists/notes.pla", "shopping list\r\n");
    CPlayList& list = m_doc->GetCurrentPlayList();
    Fill(list, { 0 });
    const struct
    {
        std::function<BOOL()> call;
        std::string box;
    } cases[] = {
        { [&] { return Files().OpenPlaylistFile("missing.pla", -1); },
          "Unable to open playlist " + m_folder.WindowsPath("lists\\missing.pla") },
        { [&] { return Files().OpenPlaylistFile("", -1); }, "Unable to open playlist " + m_folder.WindowsPath("lists") },
        { [&] { return Files().OpenPlaylistFile("notes.pla", -1); },
          m_folder.WindowsPath("lists\\notes.pla") + " is not a valid playlist file." },
        { [&] { return Files().SavePlaylist(m_folder.WindowsPath("no folder\\x.pla").c_str()); }, "" },
        { [&] { return Files().SavePlaylist(m_folder.WindowsPath("lists").c_str()); }, "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.box);
        CMessageBoxScript boxes;
        EXPECT_FALSE(c.call());
        ASSERT_EQ(1u, boxes.Shown().size());
        if (!c.box.empty())
            EXPECT_EQ(c.box, boxes.Shown()[0].text);
        EXPECT_EQ("0", Tracks(list));
    }
    EXPECT_TRUE(m_folder.Exists("lists"));
}

TEST_F(DocPlaylistFilesTest, SaveNeedsAFileNameAndEntries)
{
    CPlayList& list = m_doc->GetCurrentPlayList();
    list.Clear();
    EXPECT_EQ("off", State(ID_PLAYLIST_SAVE));
    EXPECT_EQ("off", State(ID_PLAYLIST_SAVE_AS));
    list.AddItem(CLibItem(kAlbum, 0));
    EXPECT_EQ("off", State(ID_PLAYLIST_SAVE));
    EXPECT_EQ("on", State(ID_PLAYLIST_SAVE_AS));
    ASSERT_TRUE(Files().OpenPlaylistFile("party.pla", -1));
    EXPECT_EQ("on", State(ID_PLAYLIST_SAVE));
    list.AddItem(CLibItem(kAlbum, 2));
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_PLAYLIST_SAVE, CN_COMMAND, nullptr, nullptr));
    list.Clear();
    ASSERT_TRUE(Files().OpenPlaylistFile("party.pla", -1));
    EXPECT_EQ("0,6,7,2", Tracks(list));
    list.Clear();
    EXPECT_EQ("off", State(ID_PLAYLIST_SAVE));
}

// The real open dialog, answered by a person: the file name typed, OK pressed.
DWORD WINAPI AnswerFileDialog(void* name)
{
    HWND dialog = FindProcessDialog(GetCurrentProcessId(), 10000);
    if (!dialog)
        return 1;
    HWND edit = FindDescendant(dialog, "Edit");
    if (!edit)
        return 2;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(name)));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
}

TEST_F(DocPlaylistFilesTest, TheOpenCommandAsksWithTheFileDialog)
{
    CPlayList& list = m_doc->GetCurrentPlayList();
    list.Clear();
    std::string name = m_folder.WindowsPath("lists\\party.pla");
    HANDLE answer = CreateThread(nullptr, 0, AnswerFileDialog, const_cast<char*>(name.c_str()), 0, nullptr);
    ASSERT_TRUE(answer != nullptr);
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_PLAYLIST_OPEN, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(answer, 10000));
    DWORD code = 99;
    GetExitCodeThread(answer, &code);
    CloseHandle(answer);
    EXPECT_EQ(0u, code);
    EXPECT_EQ("6,7", Tracks(list));
}

} // namespace
