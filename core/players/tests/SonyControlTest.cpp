// The player control against simulated changers: the bus scan and the players
// it makes, the start-up words, routing of play-list entries to changers and
// the MP3 player, whether an entry still plays, polls, power and stop all, and
// a rescan while other threads use the players.
#include "tests/support/TestFramework.h"

#include "core/players/tests/ChangerTextPath.h"
#include "core/players/tests/StandIns.h"
#include "devices/manager/DeviceManager.h"
#include "devices/util/HexText.h"
#include "tests/support/MessageBoxScript.h"
#include "devices/util/ResourceText.h"
#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "library/playlist/LibItem.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kPatienceMs = 5000;
const char kAlbumA[] = "000000000000000A";   // changer 0, slot 5
const char kAlbumB[] = "000000000000000B";   // changer 0, slot 6
const char kAlbumBig[] = "000000000000000C"; // changer 0, slot 450
const char kAlbumMp3[] = "000000000000000D"; // MP3 player
const char kAlbumMp3b[] = "000000000000000E"; // MP3 player
const char kAlbumLost[] = "000000000000000F"; // changer 7, none such

// Relays texts to a listener and marks the thread they arrive on, so that a
// flush sent from another thread can wait for the answers before it.
class CMarkedListener : public CCallbackTarget
{
public:
    explicit CMarkedListener(const TextCallback& target) : m_target(target) {}
    void OnText(CString text)
    {
        s_delivering = true;
        m_target.Invoke(text);
        s_delivering = false;
    }
    static thread_local bool s_delivering;

private:
    TextCallback m_target;
};

thread_local bool CMarkedListener::s_delivering = false;

// The text-level changer path of unit 0, bus port 0, with the low-level scan
// devices of every unit answering probes from the buses a test sets up, and
// the definitions and message-box setting of every device it is given. A flush
// waits, as on the unit, until the answers sent before it are delivered.
class CScanningPath : public CChangerTextPath
{
public:
    BOOL SendDeviceCommand(const char* text) override
    {
        BOOL result = CChangerTextPath::SendDeviceCommand(text);
        CString rest(text);
        CString device;
        CString command;
        while (NextCommandItem(rest, device, command)) {
            if (device.Left(5) == "sfpll")
                ScanItem(device, command);
        }
        if (strstr(text, ":flush") && !CMarkedListener::s_delivering)
            WaitUntilDelivered(kPatienceMs);
        return result;
    }

    BOOL AddDeviceText(const char* text, const char* name, int number, int unit, int ports) override
    {
        const char* kDefinitions[] = {"CDSLS.CDE", "CDSLR.CDE", "CDCA.CDE", "CDIR.CDE"};
        std::string definition = text;
        for (const char* d : kDefinitions) {
            if (LoadResourceText(d) == text)
                definition = d;
        }
        char line[160];
        snprintf(line, sizeof line, "%s %s %d %d 0x%x%s", name, definition.c_str(), number, unit, ports,
                 boxes ? "" : " quiet");
        devices.push_back(line);
        return TRUE;
    }

    BOOL DeleteDevice(const char* name) override
    {
        deleted.push_back(name);
        return TRUE;
    }

    BOOL SetDeviceListener(const char* name, const TextCallback& listener) override
    {
        if (strncmp(name, "sfpll", 5) == 0) {
            m_scanListener = listener;
            return TRUE;
        }
        m_relays.emplace_back(new CMarkedListener(listener));
        TextCallback relay;
        relay.object = m_relays.back().get();
        relay.function = static_cast<TextFunction>(&CMarkedListener::OnText);
        return CChangerTextPath::SetDeviceListener(name, relay);
    }

    int GetNumTavlins() override { return units; }
    void SetMessageBoxes(BOOL on) override { boxes = on; }
    BOOL GetMessageBoxes() override { return boxes; }

    // Bus 0/0 is the one that also carries the players' words.
    CChangerBus& Bus(int unit, int port)
    {
        if (unit == 0 && port == 0)
            return bus;
        std::unique_ptr<CChangerBus>& other = m_others[unit * 4 + port];
        if (!other)
            other.reset(new CChangerBus([](const std::string&) {}));
        return *other;
    }

    std::vector<std::string> Probes()
    {
        std::vector<std::string> probes;
        for (const std::string& text : TakeSent()) {
            if (text.compare(0, 5, "sfpll") == 0 && text.find(":sl") != std::string::npos)
                probes.push_back(text.substr(0, text.find(' ')));
        }
        return probes;
    }

    void Answer(const char* text) { m_scanListener.Invoke(text); }

    int units = 1;
    const char* version = "3.0";
    BOOL boxes = TRUE;
    std::vector<std::string> devices;
    std::vector<std::string> deleted;

private:
    void ScanItem(const CString& device, const CString& command)
    {
        int unit = device[5] - '0';
        if (command == "getversion") {
            Answer(device + ":version[" + version + "] ");
            return;
        }
        if (command.Left(2) != "sl" || command.Find('[') != 3)
            return;
        int port = command[2] - '0';
        std::vector<BYTE> probe = HexTextToBytes(command.Mid(4, command.Find(']') - 4));
        for (const std::string& answer : Bus(unit, port).OnBusMessage(std::string(probe.begin(), probe.end()))) {
            CString hex;
            for (char c : answer) {
                CString b;
                b.Format("%02X", BYTE(c));
                hex += b;
            }
            Answer(device + ":" + command.Left(3) + "[" + hex + "] ");
        }
    }

    TextCallback m_scanListener;
    std::map<int, std::unique_ptr<CChangerBus>> m_others;
    std::vector<std::unique_ptr<CMarkedListener>> m_relays;
};

// The document: the scanning path, a library of a few albums, the MP3 player
// stand-in and a clock the test sets.
class CControlHostStandIn : public CControlHost
{
public:
    CControlHostStandIn()
    {
        library.SetHost(&m_libraryHost);
        AddAlbum(kAlbumA, 0, 5, 3);
        AddAlbum(kAlbumB, 0, 6, 2);
        AddAlbum(kAlbumBig, 0, 450, 1);
        AddAlbum(kAlbumMp3, kMp3Player, 0, 2, "Z:\\music\\d");
        AddAlbum(kAlbumMp3b, kMp3Player, 0, 1, "Z:\\music\\e");
        AddAlbum(kAlbumLost, 7, 1, 1);
    }

    CDevicePath& GetDevicePath() override { return path; }
    void FireEvent(const char*) override {}
    void DebugEvent(const char* text) override
    {
        CSingleLock hold(&m_lock, TRUE);
        debug.push_back(text);
    }
    double GetFirmwareVersion() override { return firmware; }
    BOOL DetectSkippingDiscs() override { return FALSE; }
    BOOL VerifyDiscAt(int, int, int, int, int) override { return TRUE; }
    time_t Now() override { return now; }
    void SetFirmwareVersion(double version) override { firmware = version; }
    CMusicLibrary& GetLibrary() override { return library; }
    CMp3Control* GetMp3Player() override { return mp3Enabled ? &mp3 : nullptr; }
    BOOL IsDiscSearchRunning() override { return searching; }
    BOOL IsLibraryLoading() override { return loading; }
    void IdentifyDiscs(int player) override { identified.push_back(player); }
    void FatalError(const char* text) override { ADD_FAILURE() << text; }

    std::vector<std::string> TakeDebug()
    {
        CSingleLock hold(&m_lock, TRUE);
        std::vector<std::string> texts;
        texts.swap(debug);
        return texts;
    }

    CScanningPath path;
    CMusicLibrary library;
    CFakeMp3 mp3;
    bool mp3Enabled = true;
    double firmware = 0;
    time_t now = 1000000;
    BOOL searching = FALSE;
    BOOL loading = FALSE;
    std::vector<int> identified;

private:
    void AddAlbum(const char* id, int player, int slot, int tracks, const char* files = nullptr)
    {
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(id);
        album.SetTrackCount(tracks);
        for (int t = 0; t < tracks; ++t) {
            album.SetPlayTime(t, 100 + t);
            if (files)
                album.SetFileLocation(t, (files + std::to_string(t) + ".mp3").c_str());
        }
        album.SetPlayer(player);
        album.SetSlot(slot);
        album.SetPresent(true);
        library.AppendAlbum(album);
    }

    CLibraryHostStandIn m_libraryHost;
    CCriticalSection m_lock;
    std::vector<std::string> debug;
};

struct Changer
{
    int unit, port, id, type, capacity;
    const char* name;
};

// A document with its changers, scanned.
struct Scanned
{
    Scanned(const std::vector<Changer>& changers, const char* version = "3.0", int units = 1, bool mp3 = true)
    {
        host.path.units = units;
        host.path.version = version;
        host.mp3Enabled = mp3;
        for (const Changer& c : changers) {
            CChangerModel& model = host.path.Bus(c.unit, c.port).Add(c.id, c.type, c.capacity);
            ChangerDisc disc;
            disc.tracks = {200, 180, 240};
            for (int slot : {5, 6, 450})
                model.SetDisc(slot, disc);
            model.SetName(c.name);
        }
        control.reset(new CSonyControl(&host));
        control->ScanBus(FALSE);
        Settle();
    }

    ~Scanned()
    {
        Settle();
        control.reset();
    }

    void Settle() { EXPECT_TRUE(host.path.WaitUntilDelivered(kPatienceMs)); }

    CControlHostStandIn host;
    std::unique_ptr<CSonyControl> control;
};

// Items of the sent texts whose word is one of the words, "device:word".
std::vector<std::string> Words(const std::vector<std::string>& sent, const std::vector<std::string>& words)
{
    std::vector<std::string> found;
    for (const std::string& text : sent) {
        CString rest(text.c_str());
        CString device;
        CString command;
        while (NextCommandItem(rest, device, command)) {
            if (std::find(words.begin(), words.end(), std::string(command)) != words.end())
                found.push_back(std::string(device) + ":" + std::string(command));
        }
    }
    return found;
}

const Changer kCx400 = {0, 0, 0, 107, 400, "LIVING ROOM"};

TEST(SonyControl, ScanMakesPlayersInBusOrderWithTheirDevices)
{
    const struct
    {
        const char* version;
        int units;
        std::vector<Changer> changers;
        size_t probes;
        int capacity;
        std::vector<std::string> devices;
    } cases[] = {
        {"3.0", 1, {kCx400}, 12, 400,
         {"cdsls001 CDSLS.CDE 0 0 0x1", "cdsls004a CDSLS.CDE 3 0 0x1", "cdslr001 CDSLR.CDE 0 0 0x1",
          "cdslr004a CDSLR.CDE 3 0 0x1", "cdca001 CDCA.CDE 0 0 0x1", "cdir01 CDIR.CDE 0 0 0xff0 quiet"}},
        // Bus order, not the order of the answers; 300 discs use the upper address too.
        {"2.8", 2, {{1, 3, 2, 27, 200, "A"}, {0, 2, 1, 11, 100, "B"}, {0, 0, 2, 11, 50, "C"}, {1, 0, 0, 107, 300, "D"}},
         48, 650,
         {"cdsls003 CDSLS.CDE 2 0 0x1", "cdslr003 CDSLR.CDE 2 0 0x1", "cdca003 CDCA.CDE 2 0 0x1",
          "cdir03 CDIR.CDE 2 0 0xff0 quiet", "cdsls022 CDSLS.CDE 1 0 0x4", "cdslr022 CDSLR.CDE 1 0 0x4",
          "cdca022 CDCA.CDE 1 0 0x4", "cdir02 CDIR.CDE 1 0 0xff0 quiet", "cdsls101 CDSLS.CDE 0 1 0x1",
          "cdsls104a CDSLS.CDE 3 1 0x1", "cdslr101 CDSLR.CDE 0 1 0x1", "cdslr104a CDSLR.CDE 3 1 0x1",
          "cdca101 CDCA.CDE 0 1 0x1", "cdir11 CDIR.CDE 0 1 0xff0 quiet", "cdsls133 CDSLS.CDE 2 1 0x8",
          "cdslr133 CDSLR.CDE 2 1 0x8", "cdca133 CDCA.CDE 2 1 0x8", "cdir13 CDIR.CDE 2 1 0xff0 quiet"}},
    };
    for (const auto& c : cases) {
        Scanned s(c.changers, c.version, c.units);
        EXPECT_EQ(atof(c.version), s.host.firmware);
        EXPECT_EQ(c.changers.size(), size_t(s.control->GetPlayerCount()));
        EXPECT_EQ(c.capacity, s.control->GetTotalCapacity());
        // Boxes stay on for every device but the infrared ones.
        EXPECT_TRUE(s.host.path.boxes);
        std::vector<std::string> devices;
        int scanDevices = 0;
        for (const std::string& d : s.host.path.devices) {
            if (d.compare(0, 5, "sfpll") == 0)
                EXPECT_EQ(std::to_string(scanDevices++), d.substr(5, d.find(' ') - 5)) << d;
            else
                devices.push_back(d);
        }
        EXPECT_EQ(c.devices, devices) << c.version;
        EXPECT_EQ(c.units, scanDevices);
        int deletedScan = static_cast<int>(std::count_if(s.host.path.deleted.begin(), s.host.path.deleted.end(),
            [](const std::string& d) { return d.compare(0, 5, "sfpll") == 0; }));
        EXPECT_EQ(c.units, deletedScan);
        EXPECT_EQ(c.probes, s.host.path.Probes().size()) << c.version;
    }
}

TEST(SonyControl, StartUpWordsGoOverAllChangersStepByStepAndControlA1ModeIsNamedOnce)
{
    CMessageBoxScript boxes;
    Scanned s({{0, 0, 0, 107, 200, "CDP-CX455"}, {0, 0, 1, 27, 100, "KITCHEN"}});
    std::vector<std::string> expected = {
        "cdsls001:power_on", "cdsls002:power_on", "cdsls001:timecode_on", "cdsls002:timecode_on",
        "cdsls001:remote_on", "cdsls002:remote_on", "cdsls001:player_name", "cdsls001:flush[2000]",
        "cdsls002:player_name", "cdsls002:flush[2000]"};
    std::vector<std::string> words =
        Words(s.host.path.TakeSent(), {"power_on", "timecode_on", "remote_on", "player_name", "flush[2000]"});
    words.erase(std::remove_if(words.begin(), words.end(),
                               [](const std::string& w) { return w.compare(0, 5, "sfpll") == 0; }),
                words.end());
    EXPECT_EQ(expected, words);
    std::vector<ShownMessageBox> shown = boxes.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("It appears that your ZYM player CD1 (a CDP-CX220/225/230/240/260 on port S-Link 0, set to ID0) is in "
              "\"Control-A1\" mode instead of \"Control-A II\" mode.\nZYM will not be able to access slots beyond "
              "200 on this player until you set the player to \"Control-A1 II\" mode from its front panel.\nYou "
              "will need to restart ZYM after this change to access the higher slots.",
              shown[0].text);
}

TEST(SonyControl, ScanAnswersOfOtherShapesChangeNothing)
{
    Scanned s({});
    EXPECT_EQ(0, s.control->GetPlayerCount());
    const char* answers[] = {
        "sfpll0:sl0[98616400]",     // the one good answer, for contrast: taken
        "sfpll0:sl1[986100]",       // short
        "sfpll0:sl1[9861006400]",   // long
        "sfpll0:sl1[97610064]",     // not an answer address
        "sfpll0:sl1[9E610064]",
        "sfpll0:sl1[98620064]",     // not a type answer
        "cdslr001:sl1[98610064]",   // not a scan device
        "sfpll0:sl9[98610064]",     // no such bus port
        "sfpll0:version[0.9]",      // versions below 1.0 and texts that are none
        "sfpll0:version[abc]",
        "sfpll0:version[]",
        "garbage",
        "",
    };
    for (const char* a : answers)
        s.host.path.Answer(a);
    for (int address = 0; address < CSonyControl::kMaxPlayers; ++address)
        EXPECT_EQ(address == 0 ? 0x6400 + 0x00 : 0, s.control->GetBusStatus(address) & 0xFF00) << address;
    EXPECT_EQ(3.0, s.host.firmware);
    // The upper answer addresses land on the same bus address as the lower ones.
    s.host.path.Answer("sfpll1:sl3[9D61C86B]");
    EXPECT_EQ(0xC86B, s.control->GetBusStatus(1 * 12 + 3 * 3 + 2));
}

TEST(SonyControl, NoInterfaceUnitMeansNoScanAndNoPlayers)
{
    Scanned s({kCx400}, "3.0", 0);
    EXPECT_EQ(0, s.control->GetPlayerCount());
    EXPECT_TRUE(s.host.path.TakeSent().empty());
    EXPECT_EQ("No Players Available.", std::string(s.control->ListPlayers()));
    EXPECT_EQ(1, s.control->GetPlayerSlotCount());
    EXPECT_EQ("mp3", std::string(s.control->GetPlayerName(0)));
    EXPECT_EQ("", std::string(s.control->GetPlayerName(1)));
    EXPECT_EQ(1001, s.control->GetPlayerId(0));
    EXPECT_EQ(-1, s.control->GetPlayerId(1));
}

TEST(SonyControl, EntriesAreRoutedToTheirChanger)
{
    Scanned s({kCx400});
    CLibItem a1(kAlbumA, 1), a0(kAlbumA, 0), b(kAlbumB, kWholeAlbum);
    ASSERT_TRUE(s.control->PlayEntry(&a1, &b));
    s.Settle();
    EXPECT_TRUE(
        s.host.path.bus.Inspect(0, [](CChangerModel& m) { return m.IsPlaying() && m.Disc() == 5 && m.Track() == 2; }));
    CSonyPlayer* p = s.control->GetPlayer(0);
    EXPECT_EQ(6, p->GetState().nextDisc);
    EXPECT_EQ(0, p->GetState().nextTrack);
    ASSERT_TRUE(s.control->PauseEntry(&a1, nullptr));
    s.Settle();
    EXPECT_TRUE(s.host.path.bus.Inspect(0, [](CChangerModel& m) { return m.IsPaused(); }));
    EXPECT_EQ(-1, p->GetState().nextDisc);
    ASSERT_TRUE(s.control->CueEntry(&a0, &a1));
    s.Settle();
    EXPECT_TRUE(s.host.path.bus.Inspect(0, [](CChangerModel& m) { return !m.IsPlaying() && m.Track() == 1; }));
    EXPECT_EQ(5, p->GetState().nextDisc);
    EXPECT_EQ(2, p->GetState().nextTrack);
}

TEST(SonyControl, EntriesThatDoNotResolveGiveFalseAndSendNothing)
{
    Scanned s({{0, 0, 0, 107, 200, "SMALL"}});
    CLibItem big(kAlbumBig, 0), lost(kAlbumLost, 0), missing("00000000000000FF", 0), a(kAlbumA, 0);
    s.host.path.TakeSent();
    for (CLibItem* entry : {&big, &lost, &missing}) {
        EXPECT_FALSE(s.control->PlayEntry(entry, nullptr)) << entry->GetId();
        EXPECT_FALSE(s.control->CueEntry(entry, nullptr)) << entry->GetId();
        EXPECT_FALSE(s.control->IsEntryPlaying(entry)) << entry->GetId();
        EXPECT_FALSE(s.control->IsEntryNearEnd(entry)) << entry->GetId();
    }
    EXPECT_FALSE(s.control->PlayEntry(nullptr, nullptr));
    EXPECT_TRUE(s.host.path.TakeSent().empty());
}

// Loaded: the disc is in its changer's drive, or the MP3 player holds the
// entry. The flag: what the changer knows of the entry's slot.
TEST(SonyControl, WhetherAnEntryIsLoadedAndWhatItsSlotFlagSays)
{
    Scanned s({kCx400});
    CLibItem a0(kAlbumA, 0), a1(kAlbumA, 1), b(kAlbumB, kWholeAlbum), d1(kAlbumMp3, 1), d0(kAlbumMp3, 0),
        d(kAlbumMp3, kWholeAlbum), e(kAlbumMp3b, kWholeAlbum), lost(kAlbumLost, 0);
    ASSERT_TRUE(s.control->PlayEntry(&a0, nullptr));
    s.Settle();
    CSonyPlayer* p = s.control->GetPlayer(0);
    p->ChangeState([&](ChangerState& s) {
        s.slots[5 - 1] = CSonyPlayer::kSlotHasDisc | CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotChecked;
        s.slots[6 - 1] = CSonyPlayer::kSlotKnown;
    });
    s.host.mp3.playing = TRUE;
    s.host.mp3.albumId = kAlbumMp3;
    s.host.mp3.track = 1;
    const struct
    {
        const char* name;
        const CLibItem& entry;
        BOOL loaded;
        DWORD flag;
    } cases[] = {
        {"disc in the drive", a0, TRUE, 7},
        {"another track of it", a1, TRUE, 7},
        {"a disc known to be missing", b, FALSE, CSonyPlayer::kSlotKnown},
        {"the MP3 player's track", d1, TRUE, 3},
        {"another track of its album", d0, FALSE, 3},
        {"its whole album", d, TRUE, 3},
        {"another album", e, FALSE, 3},
        {"no such changer", lost, FALSE, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.loaded, s.control->IsEntryLoaded(&c.entry)) << c.name;
        EXPECT_EQ(c.flag, s.control->GetEntryPlayerFlag(&c.entry)) << c.name;
    }
    s.host.mp3.playing = FALSE;
    EXPECT_FALSE(s.control->IsEntryLoaded(&d1));
}

// The players after a removed one move up, with their numbers; its devices go.
TEST(SonyControl, RemovingAPlayerMovesTheOthersUp)
{
    Scanned s({{0, 0, 0, 27, 100, "A"}, {0, 0, 1, 27, 100, "B"}, {0, 0, 2, 27, 100, "C"}});
    s.host.path.deleted.clear();
    EXPECT_FALSE(s.control->RemovePlayer(3));
    EXPECT_FALSE(s.control->RemovePlayer(-1));
    EXPECT_TRUE(s.control->RemovePlayer(1));
    ASSERT_EQ(2, s.control->GetPlayerCount());
    EXPECT_EQ("cdsls001", std::string(s.control->GetPlayer(0)->GetAddress().sendDevice));
    EXPECT_EQ("cdsls003", std::string(s.control->GetPlayer(1)->GetAddress().sendDevice));
    EXPECT_EQ(1, s.control->GetPlayer(1)->GetState().playerNumber);
    EXPECT_EQ((std::vector<std::string>{"cdca002", "cdsls002", "cdslr002"}), s.host.path.deleted);
    EXPECT_EQ(std::string("cd2"), std::string(s.control->GetPlayerName(1)));
}

TEST(SonyControl, Mp3EntriesGoToTheMp3PlayerOrToABoxWhenItIsOff)
{
    CLibItem d1(kAlbumMp3, 1), e(kAlbumMp3b, kWholeAlbum);
    {
        Scanned s({kCx400});
        EXPECT_TRUE(s.control->PlayEntry(&d1, nullptr));
        EXPECT_TRUE(s.control->PauseEntry(&e, nullptr));
        EXPECT_TRUE(s.control->CueEntry(&d1, &e));
        EXPECT_TRUE(s.control->StopPlayer(1));
        EXPECT_FALSE(s.control->StopPlayer(2));
        std::vector<std::string> expected = {"play D 1", "pause E -1", "cue D 1", "stop"};
        EXPECT_EQ(expected, s.host.mp3.requests);
    }
    CMessageBoxScript boxes;
    Scanned s({kCx400}, "3.0", 1, false);
    EXPECT_FALSE(s.control->PlayEntry(&d1, nullptr));
    EXPECT_TRUE(s.control->PauseEntry(&d1, nullptr));
    EXPECT_TRUE(s.control->CueEntry(&d1, nullptr));
    EXPECT_FALSE(s.control->IsEntryPlaying(&d1));
    EXPECT_TRUE(s.control->IsEntryNearEnd(&d1));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("You are trying to play an MP3 file, but the MP3 player is no longer enabled. Please enable it under "
              "View | Options | Players and restart ZYM.",
              boxes.Shown()[0].text);
}

TEST(SonyControl, WhetherAnMp3EntryStillPlays)
{
    const struct
    {
        BOOL playing, paused, grace;
        const char* album;
        int track;
        const char* entryAlbum;
        int entryTrack;
        BOOL result;
        const char* debug;
    } cases[] = {
        {TRUE, FALSE, FALSE, kAlbumMp3, -1, kAlbumMp3, -1, TRUE, nullptr},
        {FALSE, TRUE, FALSE, kAlbumMp3b, -1, kAlbumMp3, -1, FALSE, "mp3isplaying discid nomatch"},
        {TRUE, FALSE, FALSE, kAlbumMp3, 1, kAlbumMp3, 1, TRUE, nullptr},
        {TRUE, FALSE, FALSE, kAlbumMp3, 5, kAlbumMp3, 1, FALSE, "mp3isplaying discid nomatch"},
        {TRUE, FALSE, FALSE, kAlbumMp3b, 0, kAlbumMp3, 0, FALSE, "mp3isplaying fileid nomatch"},
        {FALSE, FALSE, TRUE, kAlbumMp3, 0, kAlbumMp3, 0, TRUE, nullptr},
        {FALSE, FALSE, TRUE, kAlbumMp3b, 0, kAlbumMp3, -1, TRUE, nullptr},
        {FALSE, FALSE, TRUE, kAlbumMp3b, 0, kAlbumMp3, 1, FALSE, "mp3isplaying flag noplay"},
        {FALSE, FALSE, FALSE, kAlbumMp3, 0, kAlbumMp3, 0, FALSE, "mp3isplaying flag noplay"},
    };
    Scanned s({kCx400});
    for (const auto& c : cases) {
        s.host.mp3.playing = c.playing;
        s.host.mp3.paused = c.paused;
        s.host.mp3.grace = c.grace;
        s.host.mp3.albumId = c.album;
        s.host.mp3.track = c.track;
        s.host.TakeDebug();
        CLibItem entry(c.entryAlbum, c.entryTrack);
        EXPECT_EQ(c.result, s.control->IsEntryPlaying(&entry)) << c.album << " " << c.track;
        std::vector<std::string> debug = s.host.TakeDebug();
        EXPECT_EQ(c.debug ? std::vector<std::string>{c.debug} : std::vector<std::string>{}, debug)
            << c.album << " " << c.track;
    }
}

TEST(SonyControl, StopAllStopsEachBusOnceAndTheMp3Player)
{
    Scanned s({{0, 0, 0, 27, 100, "A"}, {0, 0, 1, 27, 100, "B"}, {0, 1, 2, 27, 100, "C"}});
    s.host.path.TakeSent();
    s.control->StopAll();
    std::vector<std::string> expected = {"cdsls001:sl[9701]", "cdsls013:sl[9701]"};
    EXPECT_EQ(expected, s.host.path.TakeSent());
    EXPECT_EQ(std::vector<std::string>{"stop"}, s.host.mp3.requests);
}

TEST(SonyControl, PowerWordsGoTwiceToOldUnits)
{
    for (const char* version : {"2.8", "3.0"}) {
        Scanned s({kCx400}, version);
        size_t times = strcmp(version, "2.8") == 0 ? 2 : 1;
        for (bool on : {false, true}) {
            s.host.path.TakeSent();
            if (on)
                s.control->PowerOnAll();
            else
                s.control->PowerOffAll();
            std::vector<std::string> words = Words(s.host.path.TakeSent(), {"power_off", "power_on", "mode"});
            std::vector<std::string> expected(times, on ? "cdsls001:power_on" : "cdsls001:power_off");
            expected.push_back("cdsls001:mode");
            EXPECT_EQ(expected, words) << version;
            s.Settle();
        }
        EXPECT_EQ(1, s.control->GetPlayer(0)->GetState().powered);
    }
}

TEST(SonyControl, StatusPollsAQuietChangerOnTheClock)
{
    Scanned s({kCx400});
    const struct
    {
        int advance;
        bool polled;
    } steps[] = {{0, true}, {0, false}, {3, false}, {1, true}, {2, false}, {6, true}};
    for (const auto& step : steps) {
        s.host.now += step.advance;
        s.host.path.TakeSent();
        s.control->PollStatus();
        s.Settle();
        EXPECT_EQ(step.polled, !Words(s.host.path.TakeSent(), {"mode"}).empty()) << s.host.now;
    }
}

TEST(SonyControl, NewDiscsAreIdentifiedOnceAndNotDuringASearchOrLoad)
{
    Scanned s({kCx400, {0, 0, 1, 27, 100, "B"}});
    s.control->GetPlayer(1)->ChangeState([](ChangerState& state) { state.newDisc = 1; });
    s.host.searching = TRUE;
    s.control->PollNewDiscs();
    s.host.searching = FALSE;
    s.host.loading = TRUE;
    s.control->PollNewDiscs();
    EXPECT_TRUE(s.host.identified.empty());
    s.host.loading = FALSE;
    s.control->PollNewDiscs();
    s.control->PollNewDiscs();
    EXPECT_EQ(std::vector<int>{1}, s.host.identified);
}

TEST(SonyControl, PlayStatesOfAllPlayers)
{
    Scanned s({kCx400, {0, 0, 1, 27, 100, "B"}, {0, 0, 2, 27, 100, "C"}});
    const int before[] = {0, 2, 3};
    for (int i = 0; i < 3; ++i) {
        s.control->GetPlayer(i)->ChangeState([&](ChangerState& state) {
            state.playState = before[i];
            state.nearEnd = 1;
        });
    }
    s.host.mp3.playState = 2;
    s.host.mp3.nearEnd = TRUE;
    s.control->SetAllPlayStates(4);
    const int after[] = {1, 2, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(after[i], s.control->GetPlayer(i)->GetState().playState);
        EXPECT_EQ(0, s.control->GetPlayer(i)->GetState().nearEnd);
    }
    EXPECT_EQ(2, s.host.mp3.playState);
    EXPECT_FALSE(s.host.mp3.nearEnd);
    s.control->SetAllPlayStates(5);
    s.control->SetPlayState(3, 6);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(5, s.control->GetPlayer(i)->GetState().playState);
    EXPECT_EQ(6, s.host.mp3.playState);
}

TEST(SonyControl, PreviewReachesEveryChangerAndTheMp3Player)
{
    Scanned s({kCx400, {0, 0, 1, 27, 100, "B"}});
    for (BOOL preview : {TRUE, FALSE}) {
        s.control->SetPreview(preview);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(preview, s.control->GetPlayer(i)->GetState().preview) << i;
        EXPECT_EQ(preview, s.host.mp3.preview);
    }
}

// A rescan while the playing thread routes and the delivering thread parses:
// no player may be freed under either.
struct Worker
{
    CSonyControl* control;
    volatile LONG stop;
    int (*body)(CSonyControl&);
    static DWORD WINAPI Run(void* self)
    {
        Worker* w = static_cast<Worker*>(self);
        while (!w->stop)
            w->body(*w->control);
        return 0;
    }
};

TEST(SonyControl, RescanFreesNoPlayerInUse)
{
    Scanned s({kCx400});
    Worker router = {s.control.get(), 0, [](CSonyControl& c) {
                         CLibItem a(kAlbumA, 0);
                         return int(c.IsEntryPlaying(&a)) + int(c.IsEntryNearEnd(&a)) + int(c.StopPlayer(0));
                     }};
    Worker parser = {s.control.get(), 0, [](CSonyControl& c) {
                         c.OnPlayerText("cdslr001:play ");
                         c.OnPlayerText("cdslr004a:stop ");
                         return c.GetTotalCapacity();
                     }};
    HANDLE threads[] = {CreateThread(nullptr, 0, Worker::Run, &router, 0, nullptr),
                        CreateThread(nullptr, 0, Worker::Run, &parser, 0, nullptr)};
    for (int i = 0; i < 20; ++i) {
        s.control->ScanBus(FALSE);
        EXPECT_EQ(1, s.control->GetPlayerCount());
    }
    InterlockedExchange(&router.stop, 1);
    InterlockedExchange(&parser.stop, 1);
    WaitForMultipleObjects(2, threads, TRUE, INFINITE);
    for (HANDLE t : threads)
        CloseHandle(t);
}

} // namespace
