#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "core/devpath/InProcessPath.h"

namespace {

using ::testing::ElementsAreArray;
using ::testing::Matcher;
using ::testing::StartsWith;

const char kAlbumD[] = "000000000000000D";

// An MP3 player that hangs in its state question until the test lets it go.
class CHangingMp3 : public CFakeMp3
{
public:
    CHangingMp3()
        : hanging(CreateEventA(nullptr, TRUE, FALSE, nullptr)), release(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          stopped(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~CHangingMp3() override
    {
        CloseHandle(hanging);
        CloseHandle(release);
        CloseHandle(stopped);
    }
    BOOL IsPlaying() override
    {
        SetEvent(hanging);
        WaitForSingleObject(release, INFINITE);
        return FALSE;
    }
    BOOL StopPlayback() override
    {
        if (WaitForSingleObject(release, 0) == WAIT_OBJECT_0)
            SetEvent(stopped);
        return CFakeMp3::StopPlayback();
    }

    HANDLE hanging, release, stopped;
};

typedef DocFixture ZymDocTest;

std::vector<Matcher<std::string>> Lines(const Texts& lines)
{
    std::vector<Matcher<std::string>> matchers;
    for (const std::string& line : lines)
    {
        if (!line.empty() && line.back() == '*')
            matchers.push_back(StartsWith(line.substr(0, line.size() - 1)));
        else
            matchers.push_back(line);
    }
    return matchers;
}

TEST_F(ZymDocTest, StartUpWithoutAnInterfaceUnit)
{
    WriteFile("amp.cde", "type=devtx\n");
    Option("Devices", "devname=\"amp\" devfile=\"amp.cde\" enabled=1\n"
                      "devname=\"off\" devfile=\"amp.cde\" enabled=0\n"
                      "devname=\"gone\" devfile=\"missing.cde\" enabled=1\n");
    Open();
    CMessageBoxScript boxes;
    m_doc->RunStartup();
    EXPECT_THAT(m_trace.Take(), ElementsAreArray(Lines({
        "views", "hint 16", "task Initializing", "status Enabling Mapper", "status Starting LibLoad Thread",
        "status Enabling Automation 1/4", "status Enabling Automation 2/4", "status Enabling Automation 3/4",
        "status Locating Tavlins", "status Adding Misc Devices", "event error[*", "hint 5",
        "event first_pre_startup", "event pre_startup", "status Starting Playing Thread", "task ended",
        "hint 6", "tip",
    })));
    // The two automation devices and the one enabled device that could be read.
    EXPECT_EQ(3, m_doc->GetDevicePath().GetNumDevices());
    const DeviceList& devices = m_doc->GetOptions().m_page6.m_devices;
    ASSERT_EQ(3u, devices.size());
    EXPECT_EQ(DeviceEntry::kDefined, devices[0].status);
    EXPECT_EQ(DeviceEntry::kDefined, devices[1].status);
    EXPECT_EQ(DeviceEntry::kFailed, devices[2].status);
    EXPECT_FALSE(m_doc->GetMusicLibrary().IsLoading());
    // The analyser beside this program.
    EXPECT_TRUE(m_doc->GetAnalyzer() != nullptr);

    // Once only.
    m_doc->RunStartup();
    EXPECT_EQ(Texts(), m_trace.Take());
}

TEST_F(ZymDocTest, AStartUpWithoutLocatingAndWithTheLibraryLoad)
{
    Option("Auto Locate Tavlins", 0);
    Option("Auto Load DB", 1);
    Option("Helper Banners", 0);
    Open();
    m_doc->RunStartup();
    Texts trace = m_trace.Take();
    // The load thread's own status may come between any two of the start-up's.
    Texts statuses;
    for (const std::string& line : trace)
    {
        if (line.compare(0, 7, "status ") == 0 && line != "status Querying CD Library Albums")
            statuses.push_back(line.substr(7));
    }
    EXPECT_EQ(Texts({ "Enabling Mapper", "Starting LibLoad Thread", "Enabling Automation 1/4",
                      "Enabling Automation 2/4", "Enabling Automation 3/4", "Adding Misc Devices",
                      "Starting Playing Thread" }),
              statuses);
    EXPECT_EQ("hint 17", trace[1]);
}

// Changers by their availability; the MP3 player under both its numbers,
// only while it exists.
TEST_F(ZymDocTest, PlayersAvailable)
{
    Open();
    const struct
    {
        int player;
        bool withMp3;
        bool withoutMp3;
    } cases[] = {
        { 0, false, false }, { 47, false, false }, { 48, false, false }, { -1, false, false },
        { 1001, true, false }, { 1101, true, false }, { 1000, false, false }, { 1102, false, false },
    };
    for (const auto& c : cases)
    {
        m_frame.player = &m_frame.mp3;
        EXPECT_EQ(c.withMp3, m_doc->IsPlayerAvailable(c.player)) << c.player;
        m_frame.player = nullptr;
        EXPECT_EQ(c.withoutMp3, m_doc->IsPlayerAvailable(c.player)) << c.player;
    }
    m_frame.player = &m_frame.mp3;
}

TEST_F(ZymDocTest, TheLocateGuard)
{
    const struct
    {
        int leftOver;
        int ports;
        bool box;
        int portsAfter;
    } cases[] = {
        { 0, 0, false, 0 },
        // A locate that never came back: no search, the message, no ports.
        { 1, 0x0F, true, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.leftOver);
        Option("COM Port Locate Failure", c.leftOver);
        Option("COM Ports to Check", c.ports);
        Open();
        CMessageBoxScript boxes;
        m_doc->LocateTavlins(0, 0);
        ASSERT_EQ(c.box ? 1u : 0u, boxes.Shown().size());
        if (c.box)
            EXPECT_EQ("ZYM is having trouble locating your Tavlin. Please go to View|Options|Tavlin and select the "
                      "correct COM port to which the Tavlin is connected and restart ZYM.",
                      boxes.Shown()[0].text);
        EXPECT_EQ(c.portsAfter, m_doc->GetOptions().m_page4.GetComPortMask());
        EXPECT_EQ(0u, m_app.GetProfileInt("Options", "COM Port Locate Failure", -1));
        EXPECT_EQ(0, m_doc->GetDevicePath().GetNumTavlins());
        Close();
    }
}

TEST_F(ZymDocTest, OptionsApplied)
{
    Option("Fade Down Time", 4);
    Option("Fade Overlap Time", -6);
    Option("Track Finish Tweek", 2);
    Option("Auto Locate Tavlins", 0);
    Open();
    m_doc->RunStartup();
    m_trace.Take();
    EXPECT_FALSE(m_doc->IsUsingServer());
    EXPECT_TRUE(dynamic_cast<CInProcessPath*>(&m_doc->GetDevicePath()) != nullptr);
    EXPECT_EQ(4, m_doc->GetSonyControl()->m_fadeDownTime);
    EXPECT_EQ(-6, m_doc->GetSonyControl()->m_fadeOverlapTime);
    EXPECT_EQ(2, m_doc->GetSonyControl()->m_trackFinishTweak);
    EXPECT_EQ("4 0 -6", m_frame.mp3.fades);

    CZymOptions& options = m_doc->GetOptions();
    options.m_page4.m_useTavlinX = 1;
    options.m_page5.m_fadeUpTime = 5;
    options.m_page8.m_helperBanners = 0;
    options.m_page2.m_disableEditing = 1;
    m_doc->ApplyOptions(0, 0);
    EXPECT_EQ(Texts({ "hint 17", "hint 19" }), m_trace.Take());
    // The road stays what it was until the next start.
    EXPECT_FALSE(m_doc->IsUsingServer());
    EXPECT_TRUE(dynamic_cast<CInProcessPath*>(&m_doc->GetDevicePath()) != nullptr);
    EXPECT_EQ(5, m_doc->GetSonyControl()->m_fadeUpTime);
    EXPECT_EQ("4 5 -6", m_frame.mp3.fades);
    // Applying saved them.
    EXPECT_EQ(1u, m_app.GetProfileInt("Options", "Use TavlinX", 0));
}

// The disc-database client's user asks for an address; the options keep what
// it stored, so that their next save does not bring the old one back.
TEST_F(ZymDocTest, TheStartUpAsksForAnEmailAddressAndTheOptionsKeepIt)
{
    class CAskingUser : public CCDDBUser
    {
    public:
        void EnsureUserEmail(CCDDBClient& client) override
        {
            ++asked;
            AfxGetApp()->WriteProfileString("Options", "User Email", "me@example.org");
            client.m_strUserEmail = "me@example.org";
        }
        int ChooseMatch(CCDDBClient&, AlbumRecord&) override { return -1; }
        int ChooseServer(CCDDBClient&) override { return -1; }
        int asked = 0;
    } user;
    Option("Auto Locate Tavlins", 0);
    Option("User Email", "nobody");
    Open();
    m_doc->GetCddbClient().m_pUser = &user;
    m_doc->RunStartup();
    EXPECT_EQ(1, user.asked);
    m_doc->ApplyOptions(0, 0);
    EXPECT_STREQ("me@example.org", m_app.GetProfileString("Options", "User Email"));
    EXPECT_STREQ("me@example.org", m_doc->GetCddbClient().m_strUserEmail);

    m_trace.Take();
    m_doc->OnViewOptions();
    EXPECT_EQ(Texts({ "options ZYM Options", "hint 0" }), m_trace.Take());
    m_doc->GetCddbClient().m_pUser = nullptr;
}

TEST_F(ZymDocTest, RefusingToClose)
{
    const struct
    {
        const char* what;
        bool task;
        bool changed;
        int autoSave;
        int answer;
        BOOL result;
        const char* box;
    } cases[] = {
        { "nothing changed", false, false, 0, 0, TRUE, nullptr },
        { "a task of this thread runs", true, true, 1, IDOK, FALSE,
          "You are currently in the middle of a task, please cancel that task before exiting." },
        { "changes, not saved", false, true, 0, IDNO, TRUE, "The CD Library has been modified. Should I save the changes?" },
        { "changes, cancelled", false, true, 0, IDCANCEL, FALSE,
          "The CD Library has been modified. Should I save the changes?" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Option("Auto Save DB X", c.autoSave);
        Open();
        if (c.changed)
        {
            AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
            album.SetIdText(kAlbumD);
            m_doc->GetMusicLibrary().AppendAlbum(album);
            m_doc->GetMusicLibrary().MarkAllChanged();
        }
        int task = c.task ? m_doc->GetTaskMgr().CreateTask("busy", nullptr, 0) : 0;
        m_trace.Take();
        CMessageBoxScript boxes;
        if (c.answer)
            boxes.Then(c.answer);
        EXPECT_EQ(c.result, m_doc->SaveModified());
        ASSERT_EQ(c.box ? 1u : 0u, boxes.Shown().size());
        if (c.box)
            EXPECT_EQ(c.box, boxes.Shown()[0].text);
        // Views commit their edits unless a task refused the close first.
        EXPECT_EQ(c.task ? Texts() : Texts({ "hint 4" }), m_trace.Take());
        if (c.task)
            m_doc->GetTaskMgr().EndTask(task);
        Close();
    }
}

TEST_F(ZymDocTest, ShutdownEndsThePlayingThreadAndKeepsThePlayList)
{
    Option("Auto Locate Tavlins", 0);
    Open();
    m_doc->RunStartup();
    m_doc->GetPlayList()->SetLoop(true);
    m_trace.Take();
    Close();
    EXPECT_EQ(Texts({ "event shutdown", "event last_shutdown", "closed" }), m_trace.Take());
    EXPECT_EQ(1u, m_app.GetProfileInt("Options", "Playlist Loop", 0));
    EXPECT_EQ(0u, m_app.GetProfileInt("Options", "Playlist Preview", 1));
    EXPECT_STREQ("ZYM Playlist V1.1\n", m_app.GetProfileString("Current Playlist", "Playlist"));
}

// The thread reaches the player control, the device road and the document:
// when it will not end, the close goes on and frees none of them.
TEST_F(ZymDocTest, APlayingThreadThatWillNotEndKeepsWhatItUses)
{
    CHangingMp3 hangingPlayer;
    m_frame.player = &hangingPlayer;
    Option("Auto Locate Tavlins", 0);
    Open();
    AddMp3Album(kAlbumD, 1);
    m_doc->GetClock().Set(1000000);
    m_doc->RunStartup();
    m_doc->GetPlayList()->AddItem(CLibItem(kAlbumD, 0));
    m_doc->OnPlaylistPlay();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hangingPlayer.hanging, 10000));

    CSonyControl* control = m_doc->GetSonyControl();
    {
        CMessageBoxScript boxes;
        m_doc->OnCloseDocument();
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Unable to end music playing thread.", boxes.Shown()[0].text);
    }
    // Let go, the thread finishes its step with the control it holds: the
    // entry is over, the list stops and the player is told to stop.
    SetEvent(hangingPlayer.release);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hangingPlayer.stopped, 10000));
    EXPECT_EQ(1, control->GetPlayerSlotCount());
    // The document stays too: the thread's last steps reach it.
    m_trace.doc = nullptr;
    m_doc = nullptr;
}

TEST_F(ZymDocTest, SleepAndWake)
{
    Open();
    // Events before the start-up has defined the sending device raise no boxes.
    CMessageBoxScript boxes;
    m_doc->GetPlayList()->AddItem(CLibItem(kAlbumD, 0));
    m_doc->OnPlaylistPlay();
    m_trace.Take();
    m_doc->GoToSleep();
    EXPECT_TRUE(m_doc->IsSleeping());
    EXPECT_TRUE(m_doc->GetPlayList()->IsStopped());
    EXPECT_EQ(Texts({ "event shutdown", "asleep" }), (m_trace.Add("asleep"), m_trace.Take()));
    m_doc->OnPlaylistPlay();
    EXPECT_FALSE(m_doc->IsSleeping());
    EXPECT_TRUE(m_doc->GetPlayList()->IsPlaying());
    EXPECT_EQ(Texts({ "event pre_startup", "event startup", "awake" }), (m_trace.Add("awake"), m_trace.Take()));
    EXPECT_TRUE(boxes.Shown().empty());
    Close();
}

} // namespace
