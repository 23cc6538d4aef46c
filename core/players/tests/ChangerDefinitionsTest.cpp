// The changers' built-in device definitions: they load from the program's
// resources with their names and code counts, the codes the player uses
// compose to the changers' bits, and the remote's IR codes decode back to
// their names.
#include "tests/support/TestFramework.h"

#include "tests/support/ChangerModel.h"
#include "devices/manager/Device.h"
#include "devices/util/ResourceText.h"

#include <memory>
#include <string>

namespace {

std::unique_ptr<CDevice> LoadBuiltIn(const char* resource, int deviceNumber, int ports)
{
    CString text = LoadResourceText(resource);
    EXPECT_FALSE(text.IsEmpty()) << resource;
    std::unique_ptr<CDevice> device(new CDevice);
    device->GetError().m_messageBox = FALSE;
    EXPECT_EQ(1, device->Load(text, deviceNumber, FALSE)) << resource << ": " << device->GetErrorText();
    device->SetPortMask(ports);
    return device;
}

TEST(ChangerDefinitions, LoadWithTheirDescriptionsTypesAndCodes)
{
    const struct
    {
        const char* resource;
        const char* type;
        const char* description;
        int codes;
        const char* first;
        const char* last;
    } cases[] = {
        {"CDSLS.CDE", "tavlin", "sony cdp-cx200 send", 58, "play", "unk98querymemo"},
        {"CDSLR.CDE", "tavlin", "sony cdp-cx200 receive", 59, "play", "artist_group_mode"},
        {"CDCA.CDE", "tavlin", "sony cd player remote rm-dx200", 52, "1", "right_arrow"},
        {"CDIR.CDE", "ir", "Unknown", 45, "power_on", "extra"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDevice> device = LoadBuiltIn(c.resource, 0, 1);
        EXPECT_STREQ(c.type, device->GetType()) << c.resource;
        EXPECT_STREQ(c.description, device->GetDescription()) << c.resource;
        ASSERT_EQ(c.codes, device->GetNumCodes()) << c.resource;
        EXPECT_STREQ(c.first, device->GetCode(0).name) << c.resource;
        EXPECT_STREQ(c.last, device->GetCode(c.codes - 1).name) << c.resource;
        for (int i = 0; i < c.codes; ++i) {
            for (int j = i + 1; j < c.codes; ++j) {
                // A changer says "no disc" in two words: alone, and with the slot.
                if (device->GetCode(i).name != "no_disc")
                    EXPECT_STRNE(device->GetCode(i).name, device->GetCode(j).name) << c.resource;
                EXPECT_STRNE(device->GetCode(i).data, device->GetCode(j).data) << c.resource;
            }
        }
    }
}

// The code bits of a word, lowest first for the remote's seven-bit words.
std::string WordBits(int code, int width, bool lowestFirst)
{
    std::string bits;
    for (int i = 0; i < width; ++i)
        bits += char('0' + (code >> (lowestFirst ? i : width - 1 - i) & 1));
    return bits;
}

// Each word of the changers' own table has a row of that name beginning with
// the word's bits.
TEST(ChangerDefinitions, WordsAreTheChangersOwn)
{
    const struct
    {
        const char* resource;
        const ChangerWord* words;
        int width;
        bool lowestFirst;
    } tables[] = {
        {"CDSLS.CDE", kChangerCommands, 8, false},
        {"CDSLR.CDE", kChangerAnswers, 8, false},
        {"CDCA.CDE", kChangerKeys, 7, true},
        {"CDIR.CDE", kChangerKeys, 7, true},
    };
    for (const auto& table : tables) {
        std::unique_ptr<CDevice> device = LoadBuiltIn(table.resource, 0, 1);
        for (const ChangerWord* w = table.words; w->name; ++w) {
            std::string bits = WordBits(w->code, table.width, table.lowestFirst);
            bool named = false;
            bool found = false;
            for (int i = 0; i < device->GetNumCodes(); ++i) {
                const DeviceCode& code = device->GetCode(i);
                named = named || code.name == w->name;
                found = found || (code.name == w->name && std::string(code.data).compare(0, bits.size(), bits) == 0);
            }
            // The IR remote has no hit-list key.
            if (named || strcmp(table.resource, "CDIR.CDE") != 0)
                EXPECT_TRUE(found) << table.resource << " " << w->name << " should be " << bits;
        }
    }
}

TEST(ChangerDefinitions, NamesThePlayerSendsAndParsesAreThere)
{
    const char* const sent[] = {"play", "stop", "pause", "pause_toggle", ">>|", "|<<", "query_stored", "mode",
                                ">>>", "<<<", ">>", "<<", "normal", "remote_off", "remote_on", "player_type",
                                "timecode_on", "timecode_off", "power_on", "power_off", "query_memo_text",
                                "query_delete_file", "query_group_text", "query_group_discs", "query_disc",
                                "query_track", "query_memo_text2", "query_cd_text", "play_dt", "pause_dt",
                                "fade_down", "fade_up", "player_name", "query_artist_memo", "query_artist_data"};
    const char* const received[] = {
        "play", "stop", "pause", "ignored", "unloading", "error", "no_disc", "stored", "door_open",
        "door_close", "power_on", "power_off", "playing", "30s_to_eot", "time", "now_at_disc", "goto_disc",
        "displaying_disc", "disc_info", "track_info", "player_type", "player_name", "memo_written",
        "artist_data", "artist_text", "no_artist", "memo_text", "memo_text2", "memo_text3", "invalid_disc2",
        "cd_text", "cd_text_extra", "no_cd_text", "no_group", "group_text", "group_discs_low",
        "group_discs_high", "group_discs_higher", "delete_file", "no_delete_file", "mode"};
    const char* const keys[] = {"disc", "enter", "clear", "memo_input", "memo_scan", "up_arrow", "block",
                                "track", "down_arrow", "left_arrow", "right_arrow", "player_select",
                                "program", "continue", "repeat", "0", "9"};
    const struct
    {
        const char* resource;
        const char* const* names;
        size_t count;
    } sets[] = {{"CDSLS.CDE", sent, sizeof sent / sizeof *sent},
                {"CDSLR.CDE", received, sizeof received / sizeof *received},
                {"CDCA.CDE", keys, sizeof keys / sizeof *keys}};
    for (const auto& set : sets) {
        std::unique_ptr<CDevice> device = LoadBuiltIn(set.resource, 0, 1);
        for (size_t n = 0; n < set.count; ++n) {
            bool found = false;
            for (int i = 0; i < device->GetNumCodes(); ++i)
                found = found || device->GetCode(i).name == set.names[n];
            EXPECT_TRUE(found) << set.resource << " lacks " << set.names[n];
        }
    }
}

TEST(ChangerDefinitions, BusWordsComposeToTheChangersBytes)
{
    const struct
    {
        const char* resource;
        int deviceNumber;
        int ports;
        const char* command;
        const char* lowLevel;
    } cases[] = {
        {"CDSLS.CDE", 0, 1, "play", "sl0[9000] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "stop", "sl0[9001] ir[-5000] "},
        {"CDSLS.CDE", 1, 2, "pause", "sl1[9102] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "mode", "sl0[900F] ir[-5000] "},
        {"CDSLS.CDE", 2, 8, "remote_off", "sl3[9220] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "remote_on", "sl0[9021] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "player_type", "sl0[9022] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "timecode_on", "sl0[9025] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "timecode_off", "sl0[9026] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "power_on", "sl0[902E] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "power_off", "sl0[902F] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_memo_text[12]", "sl0[904012] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_group_text[01]", "sl0[904201] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_disc[45]", "sl0[904445] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_track[4510]", "sl0[90454510] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_cd_text[03]", "sl0[904A03] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "play_dt[0503]", "sl0[90500503] ir[-5000] "},
        {"CDSLS.CDE", 3, 1, "play_dt[0101]", "sl0[93500101] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "pause_dt[0503]", "sl0[90510503] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "fade_down[05]", "sl0[905E05] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "fade_up[05]", "sl0[905F05] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "player_name", "sl0[906A] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "query_slots", "sl0[9072] ir[-5000] "},
        {"CDSLS.CDE", 6, 1, "play", "sl0[9700] ir[-5000] "},
        {"CDSLS.CDE", 0, 1, "set_memo_text[01414243444546474849505152]",
         "sl0[908001414243444546474849505152] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "play", "sl0[9800] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "stop", "sl0[9801] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "pause", "sl0[9802] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "start_of_track", "sl0[9809] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "30s_to_eot", "sl0[980C] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "door_open", "sl0[9818] ir[-5000] "},
        {"CDSLR.CDE", 4, 1, "power_on", "sl0[9C2E] ir[-5000] "},
        {"CDSLR.CDE", 5, 1, "power_off", "sl0[9D2F] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "playing[05031234]", "sl0[985005031234] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "time[01010203]", "sl0[985101010203] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "no_disc[07]", "sl0[985307] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "now_at_disc[07]", "sl0[985807] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "disc_info[070112453000]", "sl0[9860070112453000] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "track_info[07010345]", "sl0[986207010345] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "player_type[c86b]", "sl0[9861c86b] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "player_name", "sl0[986A] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "mode[01c0000503]", "sl0[987001c0000503] ir[-5000] "},
        {"CDSLR.CDE", 0, 1, "stored[31]", "sl0[987131] ir[-5000] "},
        {"CDSLR.CDE", 6, 1, "door_close", "sl0[9F83] ir[-5000] "},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDevice> device = LoadBuiltIn(c.resource, c.deviceNumber, c.ports);
        EXPECT_STREQ(c.lowLevel, device->ComposeCommand(c.command)) << c.resource << " " << c.command;
    }
}

// The symbols an IR code of the remote carries: seven command bits and the
// address bits of its device number.
TEST(ChangerDefinitions, RemoteCodesDecodeBackToTheirNames)
{
    const struct
    {
        int deviceNumber;
        const char* name;
        const char* symbols;
    } cases[] = {
        {0, "power_on", "011101010001"},
        {0, "power_off", "111101010001"},
        {0, "play", "010011010001"},
        {0, "pause", "100111010001"},
        {0, "stop", "000111010001"},
        {1, "play", "010011010011100"},
        {2, "stop", "000111010001010"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDevice> device = LoadBuiltIn("CDIR.CDE", c.deviceNumber, 0x10);
        EXPECT_EQ(40000.0, device->GetCarrier());
        CString sent = device->ComposeCommand(c.name);
        int open = sent.Find("ir[");
        ASSERT_GE(open, 0) << sent;
        CString timings = sent.Mid(open + 3, sent.Find(']', open) - open - 3);
        double score = 0;
        CString symbols = device->MatchPattern(timings, &score);
        EXPECT_STREQ(c.symbols, symbols) << c.name;
        std::string matched;
        for (int i = 0; i < device->GetNumCodes(); ++i) {
            if (device->CodeMatches(i, symbols))
                matched += std::string(device->GetCode(i).name) + " ";
        }
        EXPECT_EQ(std::string(c.name) + " ", matched);
    }
}

TEST(ChangerDefinitions, RemoteWordsGoOnTheBusWithTheChangersAddress)
{
    const struct
    {
        int deviceNumber;
        const char* command;
        const char* lowLevel;
    } cases[] = {
        {0, "play", "sl0[E4D1] ir[-5000] "},
        {1, "play", "slb0[1110010011010011100] ir[-5000] "},
        {0, "enter", "sl0[ED11] ir[-5000] "},
        {0, "sl[EF]", "sl0[ef] ir[-15000] "},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDevice> device = LoadBuiltIn("CDCA.CDE", c.deviceNumber, 1);
        EXPECT_STREQ(c.lowLevel, device->ComposeCommand(c.command)) << c.command;
    }
}

} // namespace
