// The document's menu commands routed through OnCmdMsg as the frame routes
// them, their states read through CCmdUI on a real menu: the Playlist menu
// and the Add commands, volume and mute, user buttons, the media keys, the
// current player's transport, and Help.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocResource.h"
#include "core/doc/OpenLink.h"

#include "core/players/SonyPlayer.h"

#include <afxwin.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace {

const char kAlbum[] = "00000000000000A1";

class DocMenuCommandsTest : public DocFixture
{
protected:
    void SetUp() override
    {
        Open();
        AddMp3Album(kAlbum, 6);
    }

    void Command(UINT id) { EXPECT_TRUE(m_doc->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr)) << id; }

    // The item's state after the document's update handler ran on it:
    // "on" or "off", then " checked" when it is checked.
    std::string State(UINT id)
    {
        UINT state = UpdatedMenuState(m_doc, id);
        return std::string(state & MF_GRAYED ? "off" : "on") + (state & MF_CHECKED ? " checked" : "");
    }

    CPlayList& List() { return m_doc->GetCurrentPlayList(); }
    void Fill(int entries)
    {
        List().Clear();
        for (int i = 0; i < entries; ++i)
            List().AddItem(CLibItem(kAlbum, i));
    }
    void Select(std::initializer_list<int> tracks)
    {
        m_doc->GetSelectionList().Clear();
        for (int track : tracks)
            m_doc->GetSelectionList().AddItem(CLibItem(kAlbum, track));
    }
    // "track,track,... @pointer"
    std::string ListText()
    {
        std::string text;
        for (int i = 0; i < List().GetCount(); ++i)
            text += (i ? "," : "") + std::to_string(List().GetItem(i).GetTrack());
        return text + " @" + std::to_string(List().GetPointer());
    }
    Texts Events()
    {
        Texts events;
        for (const std::string& line : m_trace.Take())
        {
            if (line.compare(0, 6, "event ") == 0)
                events.push_back(line.substr(6));
        }
        return events;
    }
    CDocCommandTargets& Targets() { return m_doc->GetCommandTargets(); }
};

TEST_F(DocMenuCommandsTest, PlaylistCommandsChangeTheCurrentList)
{
    const struct
    {
        UINT id;
        int entries;
        int pointer;
        PlayState state;
        const char* list;
        PlayState after;
    } cases[] = {
        { ID_PLAYLIST_PLAY, 2, 0, kStopped, "0,1 @0", kPlaying },
        { ID_PLAYLIST_STOP, 2, 0, kPlaying, "0,1 @0", kStopped },
        { ID_PLAYLIST_PAUSE, 2, 0, kPlaying, "0,1 @0", kPaused },
        { ID_PLAYLIST_PAUSE, 2, 0, kPaused, "0,1 @0", kPlaying },
        { ID_PLAYLIST_PAUSE, 2, 0, kStopped, "0,1 @0", kPaused },
        { ID_PLAYLIST_NEXT, 3, 0, kStopped, "0,1,2 @1", kStopped },
        { ID_PLAYLIST_PREVIOUS, 3, 2, kStopped, "0,1,2 @1", kStopped },
        { ID_PLAYLIST_CLEAR, 3, 1, kStopped, " @0", kStopped },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        Fill(c.entries);
        List().SetPointer(c.pointer);
        if (c.state == kPlaying)
            List().SetPlaying();
        else if (c.state == kPaused)
            List().SetPaused();
        else
            List().SetStopped();
        Command(c.id);
        EXPECT_EQ(c.list, ListText());
        EXPECT_EQ(c.after == kPlaying, List().IsPlaying());
        EXPECT_EQ(c.after == kPaused, List().IsPaused());
    }
}

TEST_F(DocMenuCommandsTest, AddCommandsInsertTheSelection)
{
    const struct
    {
        UINT id;
        int doubleClickOption;
        int entries;
        int pointer;
        const char* list;
        bool playing;
    } cases[] = {
        { ID_LIBRARY_ADD_TO_END, 0, 2, 0, "0,1,4,5 @0", false },
        { ID_ADD_TO_END, 0, 2, 1, "0,1,4,5 @1", false },
        { ID_LIBRARY_ADD_AS_NEXT, 0, 3, 0, "0,4,5,1,2 @0", false },
        // On an empty list "after the current entry" is clamped to the start.
        { ID_LIBRARY_ADD_AS_NEXT, 0, 0, 0, "4,5 @0", false },
        { ID_LIBRARY_ADD_AS_NEXT_AND_PLAY, 0, 3, 0, "0,4,5,1,2 @1", true },
        { ID_PLAY_NOW, 0, 1, 0, "0,4,5 @0", false },
        { ID_PLAY_NOW, 1, 2, 0, "0,4,5,1 @0", false },
        { ID_PLAY_NOW, 2, 2, 0, "0,4,5,1 @1", true },
        { ID_PLAY_NOW, 3, 2, 0, "0,1 @0", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.id) + " option " + std::to_string(c.doubleClickOption));
        m_doc->GetOptions().m_page2.m_doubleClickPlayOption = c.doubleClickOption;
        Fill(c.entries);
        List().SetPointer(c.pointer);
        List().SetStopped();
        Select({ 4, 5 });
        Command(c.id);
        EXPECT_EQ(c.list, ListText());
        EXPECT_EQ(c.playing, List().IsPlaying());
        EXPECT_EQ(2, m_doc->GetSelectionList().GetCount());
    }
}

// Whole albums become their tracks; the selection itself stays as it was.
TEST_F(DocMenuCommandsTest, AddExplodeShuffleAlternateAddsEveryTrack)
{
    Fill(1);
    m_doc->GetSelectionList().Clear();
    m_doc->GetSelectionList().AddItem(CLibItem(kAlbum, kWholeAlbum));
    Command(ID_ADD_EXPLODE_SHUFFLE_ALTERNATE);
    ASSERT_EQ(7, List().GetCount());
    int tracks[6] = {};
    for (int i = 0; i < 7; ++i)
    {
        int track = List().GetItem(i).GetTrack();
        ASSERT_TRUE(track >= 0 && track < 6);
        ++tracks[track];
    }
    EXPECT_EQ(2, tracks[0]);
    for (int t = 1; t < 6; ++t)
        EXPECT_EQ(1, tracks[t]);
    ASSERT_EQ(1, m_doc->GetSelectionList().GetCount());
    EXPECT_TRUE(m_doc->GetSelectionList().GetItem(0).IsWholeAlbum());
}

TEST_F(DocMenuCommandsTest, FlagsFlipAndShowAsMarks)
{
    Fill(1);
    EXPECT_EQ("on", State(ID_PLAYLIST_LOOP));
    Command(ID_PLAYLIST_LOOP);
    EXPECT_TRUE(List().GetLoop());
    EXPECT_EQ("on checked", State(ID_PLAYLIST_LOOP));
    Command(ID_PLAYLIST_LOOP);
    EXPECT_EQ("on", State(ID_PLAYLIST_LOOP));

    EXPECT_EQ("on", State(ID_PLAYLIST_PREVIEW));
    Command(ID_PLAYLIST_PREVIEW);
    EXPECT_EQ("on checked", State(ID_PLAYLIST_PREVIEW));
    EXPECT_EQ(1, m_frame.mp3.preview);
    Command(ID_PLAYLIST_PREVIEW);
    EXPECT_EQ(0, m_frame.mp3.preview);

    EXPECT_EQ("on", State(ID_PLAYLIST_RANDOM));
    Command(ID_PLAYLIST_RANDOM);
    EXPECT_EQ("on checked", State(ID_PLAYLIST_RANDOM));
    Command(ID_PLAYLIST_RANDOM);
    EXPECT_EQ("on", State(ID_PLAYLIST_RANDOM));
}

TEST_F(DocMenuCommandsTest, StatesFollowTheListsEntries)
{
    const struct
    {
        int entries;
        const char* alternate;
        const char* clear;
    } cases[] = { { 0, "off", "off" }, { 1, "off", "on" }, { 3, "off", "on" }, { 4, "on", "on" } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.entries);
        Fill(c.entries);
        EXPECT_EQ(c.alternate, State(ID_PLAYLIST_ALTERNATE));
        EXPECT_EQ(c.alternate, State(ID_PLAYLIST_OPTIMIZE));
        for (UINT id : { ID_PLAYLIST_CLEAR, ID_PLAYLIST_PAUSE, ID_PLAYLIST_PLAY, ID_PLAYLIST_SHUFFLE })
            EXPECT_EQ(c.clear, State(id)) << id;
        EXPECT_EQ("on", State(ID_PLAYLIST_STOP));
    }
    // The document's update handler keeps it greyed.
    EXPECT_EQ("off", State(ID_LIBRARY_WEB_PAGES));
    for (UINT id : { ID_LIBRARY_GET_LYRICS, ID_LIBRARY_SUBMIT_LYRICS, ID_LIBRARY_GET_COVERS, ID_ADD_MP3 })
        EXPECT_EQ("on", State(id)) << id;
}

// Library/Make web pages writes the first album's page from the template in
// the current directory, the track section once a track; without a template
// the read error is told and no page is written. The command stays greyed.
TEST_F(DocMenuCommandsTest, WebPagesCommandWritesTheFirstAlbumsPage)
{
    CTempFolder folder("webpages");
    ASSERT_TRUE(folder.IsValid());
    char previous[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.WindowsPath("").c_str()));
    AlbumRecord first = m_doc->GetMusicLibrary().NewAlbum();
    ASSERT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(0, first));
    const std::string page = std::string(first.GetIdText()) + ".htm";
    std::string tracks;
    for (int i = 1; i <= first.GetTrackCount(); ++i) {
        char number[8];
        snprintf(number, sizeof number, "[%2d]", i);
        tracks += number;
    }
    const struct
    {
        const char* name;
        const char* pageTemplate;
        size_t boxes;
        std::string written;
    } cases[] = {
        {"no template", nullptr, 1, ""},
        {"a template", "<p><!--trackloopstart-->[track_num]<!--trackloopend--></p>", 0,
         "<p>" + tracks + "</p>"},
    };
    for (const auto& c : cases) {
        if (c.pageTemplate)
            std::ofstream(folder.UnixPath("disc.htm")) << c.pageTemplate;
        CMessageBoxScript boxes;
        Command(ID_LIBRARY_WEB_PAGES);
        EXPECT_EQ(c.boxes, boxes.Shown().size()) << c.name;
        std::ifstream in(folder.UnixPath(page.c_str()));
        std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(c.written, written) << c.name;
    }
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ("off", State(ID_LIBRARY_WEB_PAGES));
}

TEST_F(DocMenuCommandsTest, VolumeMuteAndUserButtonsFireEvents)
{
    m_trace.Take();
    for (UINT id : { ID_VOLUME_UP, ID_VOLUME_DOWN, ID_MUTE, ID_MUTE, ID_MUTE, ID_USER_BUTTON_FIRST,
                     ID_USER_BUTTON_FIRST + 41, ID_USER_BUTTON_LAST })
        Command(id);
    EXPECT_EQ(Texts({ "vol_up", "vol_down", "mute_on", "mute_off", "mute_on", "user_button[001]",
                      "user_button[042]", "user_button[100]" }),
              Events());
    EXPECT_FALSE(m_doc->OnCmdMsg(ID_USER_BUTTON_LAST + 1, CN_COMMAND, nullptr, nullptr));
}

// WM_APPCOMMAND's lParam: the command in bits 16-27, the device in 28-31.
TEST_F(DocMenuCommandsTest, MediaKeysFromEveryDeviceDriveThePlayingList)
{
    const LPARAM devices[] = { 0x0000, 0x1000 /* OEM */, 0x8000 /* mouse */ };
    for (LPARAM device : devices)
    {
        SCOPED_TRACE(device);
        Fill(3);
        List().SetPointer(1);
        List().SetPlaying();
        CDocTransport& keys = Targets().transport;
        auto key = [&](LPARAM command) { return keys.OnAppCommand(0, MAKELPARAM(0, command | device)); };
        EXPECT_EQ(1, key(11));
        EXPECT_EQ(2, List().GetPointer());
        EXPECT_EQ(1, key(12));
        EXPECT_EQ(1, List().GetPointer());
        EXPECT_EQ(1, key(14));
        EXPECT_TRUE(List().IsPaused());
        EXPECT_EQ(1, key(14));
        EXPECT_TRUE(List().IsPlaying());
        EXPECT_EQ(1, key(13));
        EXPECT_TRUE(List().IsStopped());
        EXPECT_EQ(0, key(10)); // volume up: the frame passes it on
        EXPECT_EQ(0, key(46)); // media play
        EXPECT_TRUE(List().IsStopped());
    }
}

// The MP3 player is current once the title follows it.
TEST_F(DocMenuCommandsTest, TransportOfTheMp3Player)
{
    for (UINT id : { ID_PLAYER_PLAY, ID_PLAYER_STOP, ID_PLAYER_PAUSE })
        EXPECT_EQ("off", State(id)) << id;
    EXPECT_EQ("on", State(ID_PLAYER_TRACK_FWD));
    m_frame.mp3.playing = TRUE;
    m_frame.mp3.playStart = 100;
    m_frame.mp3.location = "Z:\\music\\00000000000000A10.mp3";
    m_frame.mp3.track = 0;
    Targets().title.UpdateTitle();
    ASSERT_EQ(kMp3Player, Targets().title.GetPlayer());
    for (UINT id : { ID_PLAYER_PLAY, ID_PLAYER_STOP, ID_PLAYER_PAUSE, ID_PLAYER_TRACK_FWD, ID_PLAYER_TRACK_BACK })
    {
        EXPECT_EQ("on", State(id)) << id;
        Command(id);
    }
    for (UINT id : { ID_PLAYER_FORWARD, ID_PLAYER_REWIND, ID_PLAYER_FAST_FORWARD, ID_PLAYER_FAST_REWIND })
    {
        EXPECT_EQ("off", State(id)) << id;
        Command(id);
    }
    EXPECT_EQ(std::vector<std::string>({ "post play", "post stop", "toggle pause", "next track", "previous track" }),
              m_frame.mp3.requests);

    // Without its playback thread the player's buttons are off.
    m_doc->GetOptions().m_page5.m_enableMp3 = 0;
    for (UINT id : { ID_PLAYER_PLAY, ID_PLAYER_STOP, ID_PLAYER_PAUSE })
        EXPECT_EQ("off", State(id)) << id;
}

// The player view's choice is the player the transport acts on, and the one
// chosen before becomes the previous player; the title moves it on to the
// player that plays.
TEST_F(DocMenuCommandsTest, TheChosenPlayerTakesTheTransport)
{
    CMessageBoxScript deviceBoxes;
    ASSERT_TRUE(m_doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE));
    const struct
    {
        int chosen;
        int previous;
        const char* transport;
        const char* speed;
        std::vector<std::string> mp3Requests;
    } cases[] = {
        { kMp3Player, -1, "on", "off", { "post play" } },
        { 0, kMp3Player, "on", "on", {} },
        { 0, kMp3Player, "on", "on", {} },
        { -1, 0, "off", "off", {} },
        { 5, -1, "off", "off", {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.chosen);
        m_frame.mp3.requests.clear();
        m_doc->SetCurrentPlayer(c.chosen);
        EXPECT_EQ(c.chosen, m_doc->GetCurrentPlayer());
        EXPECT_EQ(c.previous, Targets().title.GetPreviousPlayer());
        EXPECT_EQ(c.transport, State(ID_PLAYER_PLAY));
        EXPECT_EQ(c.speed, State(ID_PLAYER_FORWARD));
        Command(ID_PLAYER_PLAY);
        EXPECT_EQ(c.mp3Requests, m_frame.mp3.requests);
    }
    m_frame.mp3.playing = TRUE;
    m_frame.mp3.playStart = 100;
    Targets().title.UpdateTitle();
    EXPECT_EQ(kMp3Player, m_doc->GetCurrentPlayer());
    Close();
}

// A changer's speed buttons: pressed again, the changer goes back to normal;
// another speed switches to it directly.
TEST_F(DocMenuCommandsTest, SpeedButtonsOfAChanger)
{
    // No unit answers for the changer's devices: each word it sends says so.
    CMessageBoxScript deviceBoxes;
    CSonyControl& control = *m_doc->GetSonyControl();
    ASSERT_TRUE(control.AddPlayer(0, 0, 0, FALSE));
    CSonyPlayer& changer = *control.GetPlayer(0);
    changer.ChangeState([](ChangerState& s) {
        s.playing = 1;
        s.playStart = 50;
    });
    Targets().title.UpdateTitle();
    ASSERT_EQ(0, Targets().title.GetPlayer());
    const struct
    {
        UINT id;
        int mode;
    } presses[] = {
        { ID_PLAYER_FORWARD, CSonyPlayer::kScanForward },  { ID_PLAYER_FORWARD, CSonyPlayer::kScanNone },
        { ID_PLAYER_FORWARD, CSonyPlayer::kScanForward },  { ID_PLAYER_FAST_FORWARD, CSonyPlayer::kFastForward },
        { ID_PLAYER_REWIND, CSonyPlayer::kScanBackward },  { ID_PLAYER_FAST_REWIND, CSonyPlayer::kFastBackward },
        { ID_PLAYER_FAST_REWIND, CSonyPlayer::kScanNone },
    };
    const UINT speeds[] = { ID_PLAYER_REWIND, ID_PLAYER_FORWARD, ID_PLAYER_FAST_FORWARD, ID_PLAYER_FAST_REWIND };
    for (const auto& press : presses)
    {
        Command(press.id);
        EXPECT_EQ(press.mode, changer.GetState().scanMode) << press.id;
        // Speed states 1 to 4 are the buttons in the order Forward, Rewind, Fast Forward, Fast Rewind.
        for (UINT id : speeds)
        {
            bool checked = press.mode != CSonyPlayer::kScanNone && id == press.id;
            EXPECT_EQ(checked ? "on checked" : "on", State(id)) << press.id << " " << id;
        }
    }
    for (UINT id : { ID_PLAYER_PLAY, ID_PLAYER_STOP, ID_PLAYER_PAUSE })
        EXPECT_EQ("on", State(id)) << id;
    Close();
}

// Through a real frame: WM_INITMENUPOPUP updates the menu's items through
// the active view to the document, and WM_COMMAND reaches the document the
// same way.
TEST_F(DocMenuCommandsTest, AFrameRoutesCommandsAndStatesToTheDocument)
{
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "ZYM", WS_OVERLAPPEDWINDOW));
    // A view deletes itself with its window, as the frame's do.
    CRecordingView* view = new CRecordingView(m_trace);
    m_doc->AddView(view);
    ASSERT_TRUE(view->Create(nullptr, "view", WS_CHILD, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(view);
    CMenu popup;
    popup.CreatePopupMenu();
    for (UINT id : { ID_PLAYLIST_PLAY, ID_PLAYLIST_ALTERNATE, ID_PLAYLIST_LOOP })
        popup.AppendMenu(MF_STRING, id, "item");
    Fill(4);
    List().SetLoop(true);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), 0);
    EXPECT_EQ(0u, popup.GetMenuState(ID_PLAYLIST_ALTERNATE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(UINT(MF_CHECKED), popup.GetMenuState(ID_PLAYLIST_LOOP, MF_BYCOMMAND) & MF_CHECKED);
    List().Clear();
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), 0);
    EXPECT_EQ(UINT(MF_GRAYED), popup.GetMenuState(ID_PLAYLIST_PLAY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(UINT(MF_GRAYED), popup.GetMenuState(ID_PLAYLIST_ALTERNATE, MF_BYCOMMAND) & MF_GRAYED);

    m_trace.Take();
    frame->SendMessage(WM_COMMAND, ID_USER_BUTTON_FIRST + 6);
    frame->SendMessage(WM_COMMAND, ID_PLAYLIST_LOOP);
    EXPECT_EQ(Texts({ "user_button[007]" }), Events());
    EXPECT_FALSE(List().GetLoop());
    frame->DestroyWindow();
}

std::vector<std::string> g_links;

BOOL RecordLink(const char* file, const char*, const char*)
{
    g_links.push_back(file);
    return TRUE;
}

TEST_F(DocMenuCommandsTest, HelpOpensLinksAndSaysWhenItsFileIsMissing)
{
    g_links.clear();
    SetLinkOpener(RecordLink);
    for (UINT id : { ID_HELP_MAIL, ID_HELP_CDDB, ID_HELP_WEBSITE })
        Command(id);
    SetLinkOpener(nullptr);
    ASSERT_EQ(3u, g_links.size());
    EXPECT_EQ(0u, g_links[0].find("mailto:"));
    EXPECT_EQ(0u, g_links[1].find("http://"));
    EXPECT_EQ(0u, g_links[2].find("http://"));

    CMessageBoxScript boxes;
    Command(ID_HELP_TOPICS);
    ASSERT_EQ(1u, boxes.Shown().size());
    std::string folder = m_folder.WindowsPath("");
    folder.erase(folder.find_last_not_of('\\') + 1);
    std::string parent = folder.substr(0, folder.rfind('\\') + 1);
    EXPECT_EQ("Unable to find or start the help files (" + parent + "help\\tavlin.chm).", boxes.Shown()[0].text);
}

} // namespace
