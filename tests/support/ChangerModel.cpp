#include "tests/support/ChangerModel.h"

#include <windows.h>

namespace {

// The codes below are the changers' own, as public tables of their bus give
// them, kept apart from the program's definitions so that a wrong definition
// shows as a changer that does not understand.

// Words the program sends.
enum SendCode
{
    kPlay = 0x00,
    kStop = 0x01,
    kPause = 0x02,
    kQueryStored = 0x0E,
    kMode = 0x0F,
    kNormal = 0x1F,   // ends a scan
    kPlayerType = 0x22,
    kTimecodeOn = 0x25,
    kTimecodeOff = 0x26,
    kPowerOn = 0x2E,
    kPowerOff = 0x2F,
    kQueryMemoText = 0x40,
    kQueryDeleteFile = 0x41,
    kQueryGroupText = 0x42,
    kQueryDisc = 0x44,
    kQueryTrack = 0x45,
    kQueryCdText = 0x4A,
    kPlayAt = 0x50,
    kPauseAt = 0x51,
    kFadeDown = 0x5E,
    kFadeUp = 0x5F,
    kPlayerName = 0x6A,
    kSetMemoText = 0x80,
    kSetMemoText2 = 0x82,
    kQueryArtistMemo = 0x92,
    kSetArtistMemo = 0x93,
    kQueryArtistData = 0x94,
    kSetArtist = 0x95,
};

// Answers and reports of the changer.
enum AnswerCode
{
    kPlayed = 0x00,
    kStopped = 0x01,
    kPaused = 0x02,
    kThirtySecondsLeft = 0x0C,
    kDoorOpened = 0x18,
    kPoweredOn = 0x2E,
    kPoweredOff = 0x2F,
    kNoDiscHere = 0x05,
    kNoDeleteFile = 0x11,
    kNoCdText = 0x1D,
    kMemoWritten = 0x1F,
    kMemoText = 0x40,
    kDeleteFile = 0x41,
    kGroupText = 0x42,
    kCdText = 0x4A,
    kPlaying = 0x50,
    kTime = 0x51,
    kNoDisc = 0x53,
    kNowAtDisc = 0x58,
    kDiscInfo = 0x60,
    kPlayerTypeAnswer = 0x61,
    kTrackInfo = 0x62,
    kPlayerNameAnswer = 0x6A,
    kModeAnswer = 0x70,
    kStored = 0x71,
    kDoorClosed = 0x83,
    kArtistText = 0x90,
    kNoArtist = 0x91,
    kArtistData = 0x92,
};

} // namespace

const ChangerWord kChangerCommands[] = {
    {"play", kPlay}, {"stop", kStop}, {"pause", kPause}, {"mode", kMode}, {"player_type", kPlayerType},
    {"timecode_on", kTimecodeOn}, {"timecode_off", kTimecodeOff}, {"power_on", kPowerOn},
    {"power_off", kPowerOff}, {"query_memo_text", kQueryMemoText}, {"query_group_text", kQueryGroupText},
    {"query_disc", kQueryDisc}, {"query_track", kQueryTrack}, {"query_cd_text", kQueryCdText},
    {"play_dt", kPlayAt}, {"pause_dt", kPauseAt}, {"fade_down", kFadeDown}, {"fade_up", kFadeUp},
    {"player_name", kPlayerName}, {"query_delete_file", kQueryDeleteFile}, {"set_memo_text", kSetMemoText},
    {"set_memo_text2", kSetMemoText2}, {"query_artist_memo", kQueryArtistMemo},
    {"set_artist_memo", kSetArtistMemo}, {"query_artist_data", kQueryArtistData}, {"set_artist", kSetArtist},
    {"query_stored", kQueryStored}, {"normal", kNormal}, {nullptr, 0},
};

const ChangerWord kChangerAnswers[] = {
    {"play", kPlayed}, {"stop", kStopped}, {"pause", kPaused}, {"30s_to_eot", kThirtySecondsLeft},
    {"door_open", kDoorOpened}, {"power_on", kPoweredOn}, {"power_off", kPoweredOff}, {"memo_text", kMemoText},
    {"group_text", kGroupText}, {"cd_text", kCdText}, {"playing", kPlaying}, {"time", kTime},
    {"no_disc", kNoDisc}, {"now_at_disc", kNowAtDisc}, {"disc_info", kDiscInfo},
    {"player_type", kPlayerTypeAnswer}, {"track_info", kTrackInfo}, {"player_name", kPlayerNameAnswer},
    {"mode", kModeAnswer}, {"door_close", kDoorClosed}, {"no_delete_file", kNoDeleteFile},
    {"memo_written", kMemoWritten}, {"delete_file", kDeleteFile}, {"artist_text", kArtistText},
    {"no_artist", kNoArtist}, {"artist_data", kArtistData}, {"stored", kStored}, {"no_cd_text", kNoCdText},
    {"no_disc", kNoDiscHere}, {nullptr, 0},
};

// Remote-control key words, seven bits sent lowest first.
const ChangerWord kChangerKeys[] = {
    {"0", 0x20}, {"disc", 0x4A}, {"track", 0x4B}, {"block", 0x4C},
    {"hit_list", 0x5C}, {"+", 0x3E}, {"-", 0x3D}, {"power_on", 0x2E}, {"power_off", 0x2F}, {"play", 0x32},
    {"stop", 0x38}, {"pause", 0x39}, {nullptr, 0},
};

namespace {

const int kSendBase = 0x90;
const int kAnswerBase = 0x98;
const int kUpperOffset = 3;
const int kEveryone = 0x97;
const int kWarningSeconds = 30;
const size_t kMemoPart = 13;
const size_t kMemoLength = 20;
const int kArtistsPerPacket = 16;

int Bcd(int n)
{
    return (n / 10 % 10) << 4 | n % 10;
}

int FromBcd(int b)
{
    return (b >> 4) * 10 + (b & 0x0F);
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += char(v);
    return bytes;
}

// Text padded with zero bytes (or cut) to length.
std::string Field(const std::string& text, size_t length)
{
    std::string field = text.substr(0, length);
    field.resize(length, '\0');
    return field;
}

} // namespace

CChangerModel::CChangerModel(int id, int typeCode, int capacity)
    : m_id(id), m_typeCode(typeCode), m_capacity(capacity)
{
}

void CChangerModel::SetDisc(int slot, const ChangerDisc& disc)
{
    m_discs[slot] = disc;
    m_memos[slot] = disc.memo;
}

std::string CChangerModel::Memo(int slot) const
{
    auto found = m_memos.find(slot);
    return found == m_memos.end() ? std::string() : found->second;
}

std::string CChangerModel::Artist(int artist) const
{
    auto found = m_artists.find(artist);
    return found == m_artists.end() ? std::string() : found->second;
}

int CChangerModel::SlotArtist(int slot) const
{
    auto found = m_slotArtists.find(slot);
    return found == m_slotArtists.end() ? 0 : found->second;
}

void CChangerModel::SetModes(bool allDiscs, bool repeatOne, bool repeatAll, int shuffleOrProgram)
{
    m_allDiscs = allDiscs;
    m_repeatOne = repeatOne;
    m_repeatAll = repeatAll;
    m_shuffleOrProgram = shuffleOrProgram;
}

const ChangerDisc* CChangerModel::Loaded(int slot) const
{
    auto found = m_discs.find(slot);
    return found == m_discs.end() || found->second.tracks.empty() ? nullptr : &found->second;
}

std::string CChangerModel::Answer(int code, const std::string& data, bool upper) const
{
    int address = kAnswerBase + m_id + (upper ? kUpperOffset : 0);
    return Bytes({address, code}) + data;
}

// The code of a slot on the bus and whether the upper address carries it.
std::string CChangerModel::DiscCode(int slot, bool& upper) const
{
    upper = slot > 200;
    if (upper)
        return Bytes({slot - 200});
    if (slot == 100)
        return Bytes({m_capacity == 100 ? 0 : 0x9A});
    return Bytes({slot > 99 ? slot + 54 : Bcd(slot)});
}

int CChangerModel::DecodeDisc(int code, bool upper) const
{
    if (upper)
        return code + 200;
    if (code == 0)
        return 100;
    return code > 0x99 ? code - 54 : FromBcd(code);
}

std::string CChangerModel::PlayingReport() const
{
    bool upper = false;
    std::string disc = DiscCode(m_disc, upper);
    int length = Loaded(m_disc)->tracks[m_track - 1];
    return Answer(kPlaying, disc + Bytes({Bcd(m_track), Bcd(length / 60), Bcd(length % 60)}), upper);
}

std::string CChangerModel::ModeReport() const
{
    int status = m_doorOpen ? 0x0F : (m_playing ? 0x01 : 0) | (m_paused ? 0x02 : 0) | (m_powered ? 0 : 0x10);
    int modes = 0x80 | (m_allDiscs ? 0x40 : 0) | (m_repeatOne ? 0x20 : 0) | (m_repeatAll ? 0x10 : 0) |
                (m_shuffleOrProgram & 0x0F);
    bool upper = false;
    std::string disc = m_disc ? DiscCode(m_disc, upper) : Bytes({0xFF});
    int track = m_faults.binaryTracks ? m_track : Bcd(m_track);
    return Answer(kModeAnswer, Bytes({status, modes, 0}) + disc + Bytes({track}), upper);
}

// Moving to a place, then playing or pausing there.
std::vector<std::string> CChangerModel::MoveTo(int slot, int track, bool play)
{
    bool upper = false;
    std::string code = DiscCode(slot, upper);
    const ChangerDisc* disc = Loaded(slot);
    if (!disc)
        return {Answer(kNoDisc, code, upper)};
    std::vector<std::string> answers;
    if (slot != m_disc)
        answers.push_back(Answer(kNowAtDisc, code, upper));
    m_disc = slot;
    bool misqueue = m_faults.misqueues > 0;
    if (misqueue)
        --m_faults.misqueues;
    m_track = misqueue || track < 1 || track > int(disc->tracks.size()) ? 1 : track;
    m_elapsed = 0;
    m_playing = play;
    m_paused = !play;
    answers.push_back(Answer(play ? kPlayed : kPaused));
    answers.push_back(PlayingReport());
    return answers;
}

std::vector<std::string> CChangerModel::Receive(const std::string& message)
{
    if (message.size() < 2 || m_faults.silent)
        return {};
    int address = BYTE(message[0]);
    bool upper = address == kSendBase + kUpperOffset + m_id && m_capacity > 200;
    if (address != kSendBase + m_id && !upper && address != kEveryone)
        return {};
    int code = BYTE(message[1]);
    std::string data = message.substr(2);
    if (!m_powered && code != kPowerOn && code != kMode)
        return {};
    switch (code) {
    case kPlay:
        if (!m_disc)
            return {};
        m_playing = true;
        m_paused = false;
        return {Answer(kPlayed), PlayingReport()};
    case kStop:
        m_playing = m_paused = false;
        return {Answer(kStopped)};
    case kPause:
        if (!m_playing)
            return {};
        m_playing = false;
        m_paused = true;
        return {Answer(kPaused)};
    case kTimecodeOn:
        m_timeCode = true;
        return {};
    case kTimecodeOff:
        m_timeCode = false;
        return {};
    case kPowerOn:
    case kPowerOff:
        m_powered = code == kPowerOn;
        m_playing = m_paused = false;
        return {Answer(m_powered ? kPoweredOn : kPoweredOff)};
    case kFadeDown:
        ++m_fadeDowns;
        return {};
    case kFadeUp:
        return m_disc ? Receive(Bytes({address, kPlay})) : std::vector<std::string>();
    case kPlayAt:
    case kPauseAt:
        if (data.size() < 2)
            return {};
        return MoveTo(DecodeDisc(BYTE(data[0]), upper), FromBcd(BYTE(data[1])), code == kPlayAt);
    default:
        return Query(code, data, upper);
    }
}

std::vector<std::string> CChangerModel::Query(int code, const std::string& data, bool upper)
{
    int slot = data.empty() ? 0 : DecodeDisc(BYTE(data[0]), upper);
    const ChangerDisc* disc = Loaded(slot);
    switch (code) {
    case kMode:
        return {ModeReport()};
    case kQueryStored: {
        // What the loaded disc carries: 0x01 a memo, 0x30 CD text.
        const ChangerDisc* current = Loaded(m_disc);
        int bits = current && !current->cdText.empty() ? 0x30 : 0;
        return {Answer(kStored, Bytes({bits | (Memo(m_disc).empty() ? 0 : 0x01)}))};
    }
    case kPlayerType: {
        // 300- and 400-disc models answer from their upper address.
        bool fromUpper = m_capacity > 200;
        int capacity = m_capacity == 100 ? 0 : m_capacity > 200 ? m_capacity - 200
                                               : m_capacity > 99 ? m_capacity + 54 : Bcd(m_capacity);
        return {Answer(kPlayerTypeAnswer, Bytes({capacity, m_typeCode}), fromUpper)};
    }
    case kPlayerName:
        return {Answer(kPlayerNameAnswer, Field(m_name, 14))};
    case kQueryDisc: {
        if (!disc)
            return {Answer(kNoDisc, data.substr(0, 1), upper)};
        int total = 0;
        for (int length : disc->tracks)
            total += length;
        return {Answer(kDiscInfo, data.substr(0, 1) + Bytes({0x01, Bcd(int(disc->tracks.size())),
                                                            Bcd(total / 60), Bcd(total % 60), 0}), upper)};
    }
    case kQueryTrack: {
        int track = data.size() < 2 ? 0 : FromBcd(BYTE(data[1]));
        if (!disc || track < 1 || track > int(disc->tracks.size()))
            return {Answer(kNoDisc, data.substr(0, 1), upper)};
        int length = disc->tracks[track - 1];
        return {Answer(kTrackInfo, data.substr(0, 2) + Bytes({Bcd(length / 60), Bcd(length % 60)}), upper)};
    }
    case kQueryMemoText:
    case kQueryDeleteFile:
        return MemoAnswer(code, data, upper);
    case kSetMemoText:
    case kSetMemoText2:
    case kSetArtistMemo:
    case kSetArtist:
        return WriteMemo(code, data, upper);
    case kQueryArtistMemo:
        return data.empty() ? std::vector<std::string>() : ArtistTexts(BYTE(data[0]));
    case kQueryArtistData:
        return data.empty() ? std::vector<std::string>() : ArtistData(BYTE(data[0]));
    case kQueryCdText: {
        const ChangerDisc* current = Loaded(m_disc);
        if (!current || data.empty())
            return {};
        if (current->cdText.empty())
            return {Answer(kNoCdText)};
        return {Answer(kCdText, data.substr(0, 1) + Bytes({0, 1}) + Field(current->cdText, 14) + Bytes({0}))};
    }
    case kQueryGroupText: {
        int group = data.empty() ? 0 : BYTE(data[0]);
        auto found = m_groups.find(group - 1);
        if (found == m_groups.end())
            return {};
        return {Answer(kGroupText, Bytes({group}) + Field(found->second, 13))};
    }
    default:
        return {};
    }
}

// Memo and delete-file answers, late by one query when the fault says so.
std::vector<std::string> CChangerModel::MemoAnswer(int code, const std::string& data, bool upper)
{
    int slot = data.empty() ? 0 : DecodeDisc(BYTE(data[0]), upper);
    const ChangerDisc* disc = Loaded(slot);
    std::vector<std::string> answer;
    if (disc && code == kQueryMemoText)
        answer.push_back(Answer(kMemoText, data.substr(0, 1) + Field(Memo(slot), kMemoPart), upper));
    else if (disc && disc->deleteFile.empty())
        answer.push_back(Answer(kNoDeleteFile));
    else if (disc)
        answer.push_back(Answer(kDeleteFile, data.substr(0, 1) + Field(disc->deleteFile, 13), upper));
    if (!m_faults.lateAnswers)
        return answer;
    answer.swap(m_lastMemoAnswer);
    return answer;
}

// set_memo_text: disc, 13 characters; set_memo_text2: disc, part 2, 7
// characters; set_artist_memo: artist, part, 13 characters (part 2: 7 of
// them); set_artist: disc, artist.
std::vector<std::string> CChangerModel::WriteMemo(int code, const std::string& data, bool upper)
{
    if (data.size() < 2)
        return {};
    int first = BYTE(data[0]);
    if (code == kSetArtist) {
        int slot = DecodeDisc(first, upper);
        m_slotArtists[slot] = BYTE(data[1]);
        return ArtistData((slot - 1) / kArtistsPerPacket + 1);
    }
    std::string* text = code == kSetArtistMemo ? &m_artists[first] : &m_memos[DecodeDisc(first, upper)];
    bool second = code == kSetMemoText2 || (code == kSetArtistMemo && BYTE(data[1]) == 2);
    size_t skip = code == kSetMemoText ? 1 : 2;
    std::string characters = data.substr(skip, second ? kMemoLength - kMemoPart : kMemoPart);
    *text = second ? Field(*text, kMemoPart) + characters : characters;
    return Acknowledge();
}

std::vector<std::string> CChangerModel::Acknowledge()
{
    if (m_faults.unacknowledged > 0) {
        --m_faults.unacknowledged;
        return {};
    }
    return {Answer(kMemoWritten)};
}

std::vector<std::string> CChangerModel::ArtistTexts(int artist) const
{
    std::string name = Artist(artist);
    if (name.empty())
        return {Answer(kNoArtist, Bytes({artist}))};
    std::string padded = name + std::string(kMemoLength, ' ');
    return {Answer(kArtistText, Bytes({artist, 1}) + padded.substr(0, kMemoPart)),
            Answer(kArtistText, Bytes({artist, 2}) + Field(padded.substr(kMemoPart, kMemoLength - kMemoPart), kMemoPart))};
}

std::vector<std::string> CChangerModel::ArtistData(int packet) const
{
    std::string bytes = Bytes({packet});
    for (int i = 0; i < kArtistsPerPacket; ++i)
        bytes += char(SlotArtist((packet - 1) * kArtistsPerPacket + 1 + i));
    return {Answer(kArtistData, bytes)};
}

std::vector<std::string> CChangerModel::Second()
{
    if (!m_playing || m_faults.silent)
        return {};
    const ChangerDisc* disc = Loaded(m_disc);
    int length = disc->tracks[m_track - 1];
    if (!m_faults.skipping)
        ++m_elapsed;
    std::vector<std::string> reports;
    if (m_elapsed >= length) {
        if (m_track == int(disc->tracks.size())) {
            m_playing = false;
            return {Answer(kStopped)};
        }
        ++m_track;
        m_elapsed = 0;
        reports.push_back(PlayingReport());
    }
    if (length - m_elapsed == kWarningSeconds)
        reports.push_back(Answer(kThirtySecondsLeft));
    if (m_timeCode)
        reports.push_back(Answer(kTime, Bytes({Bcd(m_track), 1, Bcd(m_elapsed / 60), Bcd(m_elapsed % 60)})));
    return reports;
}

std::vector<std::string> CChangerModel::Door(bool open)
{
    m_doorOpen = open;
    m_playing = m_paused = false;
    return {Answer(open ? kDoorOpened : kDoorClosed)};
}
