// The changer player's requests: every text it composes at new and old
// firmware, the bus codes of discs and tracks, the request logic on a clock the
// test sets, keypad typing and the description of a player.
#include "tests/support/TestFramework.h"

#include "core/players/tests/FakePlayerHost.h"
#include "core/players/SonyPlayer.h"

#include <functional>
#include <memory>

namespace {

const char S[] = "cdsls001";
const char P45[] = " cdsls001:ir[-45000] ";

class SonyPlayerTest : public ::testing::Test
{
protected:
    SonyPlayerTest() : player(new CSonyPlayer(&host))
    {
        NameChangerDevices(*player);
        player->ChangeState([&](ChangerState& s) {
            s.capacity = 400;
            s.allDiscs = 1;   // continuous mode already: no key, no wait
        });
    }

    std::vector<std::string> Sent() { return host.path.TakeSent(); }

    CFakePlayerHost host;
    std::unique_ptr<CSonyPlayer> player;
};

struct ComposerCase
{
    const char* name;
    std::function<void(CSonyPlayer&)> call;
    std::string newText;
    std::string oldText;   // empty: the same as newText
};

TEST_F(SonyPlayerTest, ComposersWriteExactTextsAtNewAndOldFirmware)
{
    const std::string s = S;
    const std::string p45 = P45;
    const ComposerCase cases[] = {
        {"play", [](CSonyPlayer& p) { p.Play(); }, s + ":play " + p45, s + ":play " + s + ":play " + p45},
        {"pause", [](CSonyPlayer& p) { p.Pause(); }, s + ":pause " + p45, s + ":pause " + s + ":pause " + p45},
        {"pause toggle", [](CSonyPlayer& p) { p.PauseToggle(); }, s + ":pause_toggle" + p45, ""},
        {"stop", [](CSonyPlayer& p) { p.Stop(); }, s + ":stop " + s + ":stop" + p45, ""},
        {"next", [](CSonyPlayer& p) { p.NextTrack(); }, s + ":>>|" + p45, ""},
        {"previous", [](CSonyPlayer& p) { p.PreviousTrack(); }, s + ":|<<" + p45, ""},
        {"scan forward", [](CSonyPlayer& p) { p.ScanForward(); }, s + ":>>", s + ":>> " + s + ":>>"},
        {"scan backward", [](CSonyPlayer& p) { p.ScanBackward(); }, s + ":<<", s + ":<< " + s + ":<<"},
        {"fast forward", [](CSonyPlayer& p) { p.FastForward(); }, s + ":>>>", s + ":>>> " + s + ":>>>"},
        {"fast backward", [](CSonyPlayer& p) { p.FastBackward(); }, s + ":<<<", s + ":<<< " + s + ":<<<"},
        {"normal", [](CSonyPlayer& p) { p.NormalSpeed(); }, s + ":normal", s + ":normal " + s + ":normal"},
        {"timecode on", [](CSonyPlayer& p) { p.TimecodeOn(); }, s + ":timecode_on",
         s + ":timecode_on " + s + ":timecode_on "},
        {"timecode off", [](CSonyPlayer& p) { p.TimecodeOff(); }, s + ":timecode_off" + p45, ""},
        {"power on", [](CSonyPlayer& p) { p.PowerOn(); }, s + ":power_on" + p45, ""},
        {"power off", [](CSonyPlayer& p) { p.PowerOff(); }, s + ":power_off" + p45 + s + ":flush[2000]", ""},
        {"remote on", [](CSonyPlayer& p) { p.RemoteOn(); }, p45 + s + ":remote_on" + p45, ""},
        {"remote off", [](CSonyPlayer& p) { p.RemoteOff(); }, p45 + s + ":remote_off" + p45, ""},
        {"player type", [](CSonyPlayer& p) { p.QueryPlayerType(); }, s + ":player_type" + p45, ""},
        {"player name", [](CSonyPlayer& p) { p.QueryPlayerName(); }, s + ":player_name " + s + ":ir[-200000]", ""},
        {"mode", [](CSonyPlayer& p) { p.QueryMode(); }, s + ":mode" + p45, ""},
        {"stored", [](CSonyPlayer& p) { p.QueryStored(); }, s + ":query_stored" + p45, ""},
        {"flush", [](CSonyPlayer& p) { p.Flush(); }, s + ":flush[2000]", ""},
        {"fade up", [](CSonyPlayer& p) { p.FadeUp(0x12); }, s + ":fade_up[12] " + p45,
         s + ":fade_up[12] " + s + ":fade_up[12]" + p45},
        {"fade down", [](CSonyPlayer& p) { p.FadeDown(5); }, s + ":fade_down[05]" + p45, ""},
        {"query disc upper", [](CSonyPlayer& p) { p.QueryDisc(201); }, "cdsls004a:query_disc[01]" + p45, ""},
        {"query disc", [](CSonyPlayer& p) { p.QueryDisc(150); }, s + ":query_disc[cc]" + p45, ""},
        {"query track", [](CSonyPlayer& p) { p.QueryTrack(45, 9); }, s + ":query_track[4510]" + p45, ""},
        {"memo text", [](CSonyPlayer& p) { p.QueryMemoText(12); }, s + ":query_memo_text[12]" + p45, ""},
        {"memo text 2", [](CSonyPlayer& p) { p.QueryMemoText2(300); },
         "cdsls004a:query_memo_text2[64]" + p45, ""},
        {"delete file", [](CSonyPlayer& p) { p.QueryDeleteFile(1); }, s + ":query_delete_file[01]" + p45, ""},
        {"cd text", [](CSonyPlayer& p) { p.QueryCdText(12); }, s + ":query_cd_text[12]" + p45, ""},
        {"group text", [](CSonyPlayer& p) { p.QueryGroupText(9); }, s + ":query_group_text[0a]" + p45, ""},
        {"group discs", [](CSonyPlayer& p) { p.QueryGroupDiscs(0); }, s + ":query_group_discs[01]" + p45, ""},
        {"artist memo", [](CSonyPlayer& p) { p.QueryArtistMemo(0x1f); }, s + ":query_artist_memo[1f]" + p45, ""},
        {"artist data", [](CSonyPlayer& p) { p.QueryArtistData(25); }, s + ":query_artist_data[19]" + p45, ""},
        {"play whole disc", [](CSonyPlayer& p) { p.PlayOrCue(5, -1, TRUE); }, s + ":play_dt[0501] " + p45,
         s + ":play_dt[0501] " + s + ":play_dt[0501]" + p45},
        {"cue upper", [](CSonyPlayer& p) { p.Cue(250, 2); }, "cdsls004a:pause_dt[3203] " + p45,
         "cdsls004a:pause_dt[3203] cdsls004a:pause_dt[3203]" + p45},
    };
    for (double firmware : {3.0, 2.8}) {
        host.firmware = firmware;
        for (const ComposerCase& c : cases) {
            player->ChangeState([&](ChangerState& s) { s.fadeDownSent = 0; });
            c.call(*player);
            std::string expected = firmware < 2.9 && !c.oldText.empty() ? c.oldText : c.newText;
            EXPECT_EQ(std::vector<std::string>{expected}, Sent()) << c.name << " at " << firmware;
        }
    }
}

TEST_F(SonyPlayerTest, KeysFrameTheirWordsWithTheBusByteAndPauses)
{
    const std::string ef = "cdca001:sl[EF] ";
    const std::string p5 = "cdsls001:ir[-5000] ";
    const struct
    {
        std::function<void(CSonyPlayer&)> call;
        std::string text;
    } cases[] = {
        {[](CSonyPlayer& p) { p.KeyDisc(); }, "cdca001:disc  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyEnter(); }, "cdca001:enter  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyClear(); }, "cdca001:clear  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyMemoInput(); }, "cdca001:memo_input  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyMemoScan(); }, "cdca001:memo_scan  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyUpArrow(); }, "cdca001:up_arrow  " + p5 + ef + p5},
        {[](CSonyPlayer& p) { p.KeyBlock(); }, "cdca001:block  " + p5 + ef + "cdsls001:ir[-100000] "},
        {[](CSonyPlayer& p) { p.KeyTrack(); }, "cdca001:track  " + p5 + ef + p5 + " " + p5},
        {[](CSonyPlayer& p) { p.KeyDownArrow(); }, "cdca001:down_arrow " + ef + p5},
        {[](CSonyPlayer& p) { p.KeyLeftArrow(); }, "cdca001:left_arrow " + ef + p5},
        {[](CSonyPlayer& p) { p.KeyRightArrow(); }, "cdca001:right_arrow " + ef + p5},
        {[](CSonyPlayer& p) { p.KeyPlayerSelect(); }, "cdca001:player_select " + ef + p5},
        {[](CSonyPlayer& p) { p.KeyProgram(); }, "cdca001:program cdsls001:ir[-100000] "},
        {[](CSonyPlayer& p) { p.KeyContinue(); }, "cdca001:continue cdsls001:ir[-100000] "},
        {[](CSonyPlayer& p) { p.KeyRepeat(); }, "cdca001:repeat cdsls001:ir[-100000] "},
        {[](CSonyPlayer& p) { p.KeyDigit(7); }, "cdca001:7  " + p5 + " " + ef + p5},
    };
    for (const auto& c : cases) {
        c.call(*player);
        EXPECT_EQ(std::vector<std::string>{c.text}, Sent());
    }
    player->SendShortClose();
    EXPECT_EQ(std::vector<std::string>{"cdca001:sl[920F] cdca001:ir[-100000]"}, Sent());
    player->SendOpeningSequence();
    EXPECT_EQ((std::vector<std::string>{"cdca001:sl[9222] cdca001:ir[-50000]",
                                        "cdca001:sl[9A61FE00] cdca001:ir[-50000]",
                                        "cdca001:sl[920F] cdca001:ir[-50000]",
                                        "cdca001:sl[9A700340000100] cdca001:ir[-100000]"}),
              Sent());
}

// The key word of each text sent to the Control-A1 device.
std::vector<std::string> Keys(const std::vector<std::string>& texts)
{
    std::vector<std::string> keys;
    for (const std::string& text : texts)
        keys.push_back(text.substr(8, text.find(' ') - 8));
    return keys;
}

TEST_F(SonyPlayerTest, TypingPressesModeKeysDigitsAndEnter)
{
    std::vector<std::string> expected = {"2", "enter", "disc", "2", "2", "enter", "disc", "1", "disc"};
    expected.insert(expected.end(), 14, "1");
    expected.push_back("enter");
    int mode = 0;
    for (char ch : std::string("Ab1."))
        player->KeyCharacter(ch, &mode);
    EXPECT_EQ(expected, Keys(Sent()));
    EXPECT_EQ(0, mode);

    const struct
    {
        char ch;
        int typeCode;
        int modeBefore;
        std::vector<std::string> keys;
    } cases[] = {
        {'Q', 0, 0, {"0", "enter"}},
        {'z', 0, 1, {"0", "0", "enter"}},
        {'P', 0, 0, {"7", "enter"}},
        {'S', 0, 0, {"7", "7", "7", "enter"}},
        {'T', 0, 0, {"8", "enter"}},
        {'y', 0, 1, {"9", "9", "9", "enter"}},
        {'!', 0, 1, {"1", "enter"}},
        {'~', 0, 0, std::vector<std::string>(32, "1")},
        {' ', 0, 2, {"block"}},
        {' ', 27, 1, {"track"}},
        {'7', 0, 0, {"disc", "disc", "7"}},
    };
    for (const auto& c : cases) {
        player->ChangeState([&](ChangerState& s) { s.typeCode = c.typeCode; });
        int m = c.modeBefore;
        player->KeyCharacter(c.ch, &m);
        std::vector<std::string> keys = c.keys;
        if (c.ch == '~')
            keys.push_back("enter");
        EXPECT_EQ(keys, Keys(Sent())) << c.ch;
    }
}

TEST_F(SonyPlayerTest, DiscNumbersAndMemoEntryByKeys)
{
    player->KeyDiscNumber(123);
    EXPECT_EQ((std::vector<std::string>{"disc", "1", "2", "3"}), Keys(Sent()));
    player->KeyDiscNumber(7);
    EXPECT_EQ((std::vector<std::string>{"disc", "7"}), Keys(Sent()));
    player->EnterDiscMemoByKeys(12, "AB");
    EXPECT_EQ((std::vector<std::string>{"disc", "1", "2", "memo_input", "clear", "2", "enter", "2", "2",
                                        "enter", "memo_input"}),
              Keys(Sent()));
    player->KeyTextField("ABCDEFGHIJKLMNOP");   // only the first 13 characters
    std::vector<std::string> keys = Keys(Sent());
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "enter"), 13);
}

TEST_F(SonyPlayerTest, DiscAndTrackCodes)
{
    const struct
    {
        int capacity;
        int disc;
        const char* device;
        const char* code;
    } discs[] = {
        {100, 100, "cdsls001", "00"}, {200, 100, "cdsls001", "9a"}, {200, 200, "cdsls001", "fe"},
        {400, 201, "cdsls004a", "01"}, {400, 210, "cdsls004a", "0a"}, {400, 300, "cdsls004a", "64"},
        {400, 400, "cdsls004a", "c8"}, {400, 45, "cdsls001", "45"}, {400, 0, "cdsls001", "FF"},
        {400, -3, "cdsls001", "FF"},
    };
    for (const auto& d : discs) {
        player->ChangeState([&](ChangerState& s) { s.capacity = d.capacity; });
        CString device;
        CString code;
        player->GetDiscAddress(d.disc, device, code);
        EXPECT_STREQ(d.device, device) << d.disc;
        EXPECT_STREQ(d.code, code) << d.disc;
    }
    const struct
    {
        int track;
        const char* code;
    } tracks[] = {{-1, "01"}, {0, "01"}, {9, "10"}, {98, "99"}};
    for (const auto& t : tracks)
        EXPECT_STREQ(t.code, CSonyPlayer::EncodeTrack(t.track)) << t.track;

    const struct
    {
        int code;
        bool upper;
        int disc;
    } decoded[] = {{0, false, 100}, {0, true, 200}, {0x9a, false, 100}, {0xfe, false, 200},
                   {0x45, false, 45}, {0xc8, true, 400}, {0x64, true, 300}};
    for (const auto& d : decoded)
        EXPECT_EQ(d.disc, player->DecodeDisc(d.code, d.upper)) << d.code;
}

TEST_F(SonyPlayerTest, TrackDecodingTurnsBinaryForGood)
{
    EXPECT_EQ(CSonyPlayer::kTrackUnreadable, player->DecodeTrack(0x9a, false));
    EXPECT_EQ(-1, player->DecodeTrack(0, false));
    EXPECT_EQ(12, player->DecodeTrack(0x12, false));
    EXPECT_EQ(0, player->GetState().binaryTracks);

    // A type-27 changer repeating its current track number in binary.
    player->ChangeState([&](ChangerState& s) { s.typeCode = 27; });
    player->SetCurrentTrack(0x12);
    EXPECT_EQ(0x12, player->DecodeTrack(0x12, false));
    EXPECT_EQ(1, player->GetState().binaryTracks);
    EXPECT_EQ(0x15, player->DecodeTrack(0x15, false));
    EXPECT_EQ(15, player->DecodeTrack(0x15, true));

    CSonyPlayer other(&host);
    EXPECT_EQ(0x0c, other.DecodeTrack(0x0c, false));   // not BCD
    EXPECT_EQ(1, other.GetState().binaryTracks);
}

TEST_F(SonyPlayerTest, IsPlayingTrustsARequestForTenSecondsThenTheReports)
{
    player->PlayOrCue(5, 2, FALSE);
    Sent();
    host.now += 9;
    EXPECT_TRUE(player->IsPlaying(5, 2));
    host.now += 1;
    EXPECT_FALSE(player->IsPlaying(5, 2));
    EXPECT_EQ("isplaying notplaying", host.debug.back());

    const struct
    {
        int playing;
        int busy;
        int disc;
        int track;      // current, from 1
        int askDisc;
        int askTrack;   // from 0
        bool result;
        const char* debug;
    } cases[] = {
        {1, 0, 5, 3, 5, 2, true, nullptr},
        {1, 0, 5, 3, 5, -1, true, nullptr},
        {1, 0, 5, -1, 5, 7, true, nullptr},
        {1, 0, -1, 3, 9, 7, true, nullptr},
        {1, 0, 5, 3, 5, 3, false, "isplaying track mismatch"},
        {1, 0, 5, 3, 6, 2, false, "isplaying disc mismatch"},
        {1, 1, 5, 3, 5, 8, true, nullptr},
        {0, 1, 5, 3, 5, 2, false, nullptr},
    };
    for (const auto& c : cases) {
        host.debug.clear();
        player->ChangeState([&](ChangerState& s) {
            s.playing = c.playing;
            s.busy = c.busy;
            s.currentDisc = c.disc;
            s.currentTrack = c.track;
        });
        EXPECT_EQ(c.result, bool(player->IsPlaying(c.askDisc, c.askTrack))) << c.askDisc << "/" << c.askTrack;
        if (c.debug) {
            EXPECT_EQ(std::vector<std::string>{c.debug}, host.debug);
        }
    }
    player->ChangeState([&](ChangerState& s) { s.noDisc = 5; });
    EXPECT_FALSE(player->IsPlaying(5, 2));
    EXPECT_EQ("isplaying nodisc", host.debug.back());
}

TEST_F(SonyPlayerTest, RequestsOfThePlayerControl)
{
    player->ChangeState([&](ChangerState& s) {
        s.currentDisc = 5;
        s.currentTrack = 3;
        s.playing = 1;
    });
    EXPECT_FALSE(player->PlayAt(5, 2));   // already there: only the request is noted
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(CSonyPlayer::kPlaySingleTrack, player->GetState().playState);
    EXPECT_EQ(3, player->GetState().queuedTrack);

    player->ChangeState([&](ChangerState& s) {
        s.playing = 0;
        s.paused = 1;
        s.fadeUpTime = 4;
    });
    EXPECT_TRUE(player->PlayAt(5, 2));
    EXPECT_EQ(std::vector<std::string>{std::string(S) + ":fade_up[04] " + P45}, Sent());
    player->ChangeState([&](ChangerState& s) { s.fadeUpTime = 0; });
    EXPECT_TRUE(player->PlayAt(5, 2));
    EXPECT_EQ(std::vector<std::string>{std::string(S) + ":play " + P45}, Sent());

    player->ChangeState([&](ChangerState& s) { s.paused = 0; });
    host.now += 60;
    EXPECT_TRUE(player->PlayAt(7, -1));   // another disc: cued, played when it arrives
    EXPECT_EQ(std::vector<std::string>{std::string(S) + ":pause_dt[0701] " + P45}, Sent());
    EXPECT_EQ(1, player->GetState().playPending);
    EXPECT_EQ(CSonyPlayer::kPlayWholeDisc, player->GetState().playState);
    EXPECT_FALSE(player->PlayAt(7, -1));   // still settling: nothing again
    EXPECT_TRUE(Sent().empty());

    // Cue while another track of the disc plays, then the same track.
    player->ChangeState([&](ChangerState& s) {
        s.currentDisc = 7;
        s.currentTrack = 4;
        s.playing = 1;
    });
    player->PlayOrCue(7, 5, FALSE);
    EXPECT_EQ(std::vector<std::string>{std::string(S) + ":play_dt[0706] " + P45}, Sent());
    player->PlayOrCue(7, 3, FALSE);
    EXPECT_TRUE(Sent().empty());

    player->StopIfActive();
    EXPECT_EQ(1u, Sent().size());
    player->ChangeState([&](ChangerState& s) { s.playing = 0; });
    player->StopIfActive();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SonyPlayerTest, FailuresAndRefusals)
{
    host.path.result = FALSE;
    EXPECT_FALSE(player->Stop());
    EXPECT_FALSE(player->QueryDisc(3));
    Sent();
    EXPECT_FALSE(player->QueryTrack(3, -1));
    EXPECT_FALSE(player->QueryCdText(100));
    EXPECT_FALSE(player->QueryCdText(-1));
    EXPECT_TRUE(Sent().empty());

    host.path.result = TRUE;
    const struct
    {
        int disc;
        int track;
        const char* upper;
    } places[] = {{456, 0, "cdsls004a"}, {5, 99, "cdsls004a"}, {201, 0, ""}};
    for (const auto& place : places) {
        ChangerAddress address = player->GetAddress();
        address.upperSendDevice = place.upper;
        player->SetAddress(address);
        EXPECT_FALSE(player->PlayOrCue(place.disc, place.track, TRUE)) << place.disc;
        EXPECT_FALSE(player->Cue(place.disc, place.track)) << place.disc;
        EXPECT_FALSE(player->PlayAt(place.disc, place.track)) << place.disc;
        EXPECT_FALSE(player->QueryTrack(place.disc, place.track)) << place.disc;
        EXPECT_TRUE(Sent().empty()) << place.disc;
    }
    EXPECT_FALSE(player->QueryDisc(456));
    EXPECT_FALSE(player->QueryMemoText(456));
    EXPECT_TRUE(Sent().empty());
    player->FadeDown(5);
    player->FadeDown(5);
    EXPECT_EQ(1u, Sent().size());
}

TEST_F(SonyPlayerTest, DescriptionFromNameOrModel)
{
    const struct
    {
        int typeCode;
        int capacity;
        const char* name;
        const char* text;
    } cases[] = {
        {107, 400, "", "CDP-CX400/450 (400-disc)"},
        {107, 300, "", "CDP-CX300/335/333ES/350 (300-disc)"},
        {107, 200, "", "CDP-CX220/225/230/240/260 (200-disc)"},
        {11, 100, "", "CDP-CX151 (100-disc)"},
        {11, 300, "", "CDP-CX250/255/70ES (300-disc)"},
        {27, 300, "", "CDP-CX270/90ES (300-disc)"},
        {0, 5, "", "CDP-CE505 (5-disc)"},
        {0, 200, "", "CDP-CX200/205/210 (200-disc)"},
        {3, 5, "", "CDP-CE515/525 (5-disc)"},
        {-1, 0, "", "Unreported"},
        {0, 100, "",
         "Unknown [(100)00] Please report this number to changers@halvane.example along with your actual "
         "player model. (100-disc)"},
        {0x4F, 0, "", "Unknown [(0)4F] Please report this number to changers@halvane.example along with "
                      "your actual player model."},
        {107, 400, "Living room", "Living room (400-disc)"},
    };
    for (const auto& c : cases) {
        CSonyPlayer p(&host);
        p.ChangeState([&](ChangerState& s) {
            s.typeCode = c.typeCode;
            s.capacity = c.capacity;
        });
        if (*c.name) {
            std::string bytes;
            for (const char* ch = c.name; *ch; ++ch) {
                char hex[3];
                snprintf(hex, sizeof hex, "%02X", BYTE(*ch));
                bytes += hex;
            }
            p.OnStatusText(("cdslr001:player_name[" + bytes + "]").c_str());
        }
        EXPECT_STREQ(c.text, p.GetDescription());
    }
    player->ChangeState([&](ChangerState& s) { s.playerNumber = 2; });
    EXPECT_STREQ("CD 3", player->GetName());
}

TEST_F(SonyPlayerTest, DestructionFlushesAndDeletesItsDevices)
{
    player.reset();
    EXPECT_EQ(std::vector<std::string>{"cdsls001:flush[2000]"}, Sent());
    EXPECT_EQ((std::vector<std::string>{"cdca001", "cdsls001", "cdslr001", "cdsls004a", "cdslr004a"}),
              host.path.deleted);
}

// Sends a text other than a report to the player until told to stop.
struct Chatter
{
    CSonyPlayer* player;
    volatile LONG stop;

    static DWORD WINAPI Run(void* self)
    {
        Chatter* c = static_cast<Chatter*>(self);
        while (!c->stop) {
            c->player->OnStatusText("cdslr001:stored[01]");
            Sleep(5);
        }
        return 0;
    }
};

TEST_F(SonyPlayerTest, WaitForPlayingEndsWhileTheChangerTalksOfOtherThings)
{
    Chatter chatter = {player.get(), 0};
    HANDLE thread = CreateThread(nullptr, 0, Chatter::Run, &chatter, 0, nullptr);
    EXPECT_FALSE(player->WaitForPlaying(200));
    player->OnStatusText("cdslr001:30s_to_eot");
    EXPECT_TRUE(player->WaitForPlaying(200));
    InterlockedExchange(&chatter.stop, 1);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

} // namespace
