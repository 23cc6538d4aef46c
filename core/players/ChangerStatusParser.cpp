#include "core/players/ChangerStatusParser.h"

#include "core/players/ChangerLink.h"
#include "core/players/ChangerStateStore.h"
#include "core/players/PlayerHost.h"
#include "core/players/SonyPlayer.h"
#include "devices/util/Bcd.h"
#include "devices/util/HexText.h"

#include <string.h>

namespace {

// Memo and CD-text packets: a disc or part byte, two more, 14 characters and a
// continuation byte.
const size_t kTextPacketBytes = 17;
const int kArtistTextLength = 20;
const int kArtistPacketChars = 13;
const int kArtistsPerPacket = 16;
const int kPreviewSeconds = 15;
const int kLateReportSeconds = -20;
const BYTE kPoweredOff = 0x10;
const BYTE kDiscsScanned = 0x80;
const BYTE kPowerOffStatus = 0x2F;
const BYTE kDoorOpenStatus1 = 0x0F;
const BYTE kDoorOpenStatus2 = 0x03;
// Reports this soon after a command may still be about the place before it.
const int kSettleSeconds = 5;

int Bcd(BYTE b)
{
    return int(Bcd8ToDecimal(b));
}

} // namespace

CChangerStatusParser::CChangerStatusParser(CSonyPlayer& player, CChangerStateStore& store, CPlayerHost* host)
    : m_player(player), m_store(store), m_host(host), m_state(store.Parsed()), m_texts(store.ParsedTexts())
{
}

const CChangerStatusParser::EventRule CChangerStatusParser::kEvents[] = {
    {"play", &CChangerStatusParser::OnPlay},
    {"stop", &CChangerStatusParser::OnStop},
    {"pause", &CChangerStatusParser::OnPause},
    {"unloading", &CChangerStatusParser::OnUnloading},
    {"error", &CChangerStatusParser::OnError},
    {"no_disc", &CChangerStatusParser::OnNoDisc},
    {"ignored", &CChangerStatusParser::OnIgnored},
    {"stored", &CChangerStatusParser::OnStored},
    {"door_open", &CChangerStatusParser::OnDoorOpen},
    {"door_close", &CChangerStatusParser::OnDoorClose},
    {"power_on", &CChangerStatusParser::OnPowerOn},
    {"power_off", &CChangerStatusParser::OnPowerOff},
    {"playing", &CChangerStatusParser::OnPlayingReport},
    {"30s_to_eot", &CChangerStatusParser::On30sToEnd},
    {"time", &CChangerStatusParser::OnTimeReport},
    {"now_at_disc", &CChangerStatusParser::OnNowAtDisc},
    {"goto_disc", &CChangerStatusParser::OnGotoDisc},
    {"displaying_disc", &CChangerStatusParser::OnDisplayingDisc},
    {"disc_info", &CChangerStatusParser::OnDiscInfo},
    {"track_info", &CChangerStatusParser::OnTrackInfo},
    {"player_type", &CChangerStatusParser::OnPlayerType},
    {"player_name", &CChangerStatusParser::OnPlayerName},
    {"memo_written", &CChangerStatusParser::OnMemoWritten},
    {"artist_data", &CChangerStatusParser::OnArtistData},
    {"artist_text", &CChangerStatusParser::OnArtistText},
    {"no_artist", &CChangerStatusParser::OnNoArtist},
    {"memo_text", &CChangerStatusParser::OnMemoText},
    {"memo_text2", &CChangerStatusParser::OnMemoText2},
    {"memo_text3", &CChangerStatusParser::OnMemoText3},
    {"invalid_disc2", &CChangerStatusParser::OnInvalidDisc2},
    {"cd_text", &CChangerStatusParser::OnCdText},
    {"cd_text_extra", &CChangerStatusParser::OnCdTextExtra},
    {"no_cd_text", &CChangerStatusParser::OnNoCdText},
    {"no_group", &CChangerStatusParser::OnNoGroup},
    {"group_text", &CChangerStatusParser::OnGroupText},
    {"group_discs_low", &CChangerStatusParser::OnGroupDiscsLow},
    {"group_discs_high", &CChangerStatusParser::OnGroupDiscsHigh},
    {"group_discs_higher", &CChangerStatusParser::OnGroupDiscsHigher},
    {"delete_file", &CChangerStatusParser::OnDeleteFile},
    {"no_delete_file", &CChangerStatusParser::OnNoDeleteFile},
    {"mode", &CChangerStatusParser::OnModeReport},
};

CString CChangerStatusParser::SplitStatusText(const CString& text, bool& upper, std::vector<BYTE>& bytes)
{
    upper = false;
    bytes.clear();
    int colon = text.Find(':');
    if (colon < 0)
        return CString();
    upper = colon > 0 && text[colon - 1] == 'a';
    CString rest = text.Mid(colon + 1);
    int open = rest.Find('[');
    CString name = open < 0 ? rest : rest.Left(open);
    name.TrimLeft();
    name.TrimRight();
    int close = open < 0 ? -1 : rest.Find(']', open);
    if (close >= 0)
        bytes = HexTextToBytes(rest.Mid(open + 1, close - open - 1));
    return name;
}

void CChangerStatusParser::OnStatusText(const CString& text)
{
    m_store.BeginParse();
    m_state.lastReceived = m_host->Now();
    m_statusText = text;
    bool upper = false;
    std::vector<BYTE> bytes;
    CString name = SplitStatusText(text, upper, bytes);
    for (const EventRule& rule : kEvents) {
        if (name == rule.name) {
            (this->*rule.handler)(upper, bytes);
            break;
        }
    }
    CString position;
    position.Format("D%d T%d [%d:%02d/%d:%02d]", m_state.currentDisc, m_state.currentTrack, m_state.elapsedMinutes,
                    m_state.elapsedSeconds, m_state.lengthMinutes, m_state.lengthSeconds);
    m_texts.statusLine = name + position;
    m_store.EndParse();
}

bool CChangerStatusParser::DetectSkippingDiscs()
{
    CChangerStateStore::COutside outside(m_store);
    return m_host->DetectSkippingDiscs() != FALSE;
}

void CChangerStatusParser::FadeUpOrPlay()
{
    if (m_state.fadeUpTime > 0 && !m_state.preview)
        m_player.FadeUp(m_state.fadeUpTime);
    else
        m_player.Play();
}

void CChangerStatusParser::Fire(const CString& text)
{
    CChangerStateStore::COutside outside(m_store);
    m_host->FireEvent(text);
}

void CChangerStatusParser::Debug(const CString& text)
{
    CChangerStateStore::COutside outside(m_store);
    m_host->DebugEvent(text);
}

bool CChangerStatusParser::AfterSettle() const
{
    return m_host->Now() - m_state.lastCommand > kSettleSeconds;
}

// The bytes from `from` up to the first zero, at most `most` of them.
CString CChangerStatusParser::BytesText(const std::vector<BYTE>& b, size_t from, size_t most) const
{
    CString text;
    for (size_t i = from; i < b.size() && i < from + most && b[i]; ++i)
        text += char(b[i]);
    return text;
}

void CChangerStatusParser::MarkSlot(int s)
{
    if (!ChangerState::IsSlot(s))
        return;
    m_state.slots[s - 1] |= kSlotHasDisc | kSlotKnown;
    m_state.changeStamp = m_host->Now();
}

void CChangerStatusParser::CheckLibrary(int track, int minutes, int seconds)
{
    if (m_state.playState == kPlaySearching || !ChangerState::IsSlot(m_state.currentDisc) ||
        (m_state.slots[m_state.currentDisc - 1] & kSlotChecked))
        return;
    m_state.slots[m_state.currentDisc - 1] |= kSlotChecked;
    m_state.changeStamp = m_host->Now();
    BOOL matches;
    {
        CChangerStateStore::COutside outside(m_store);
        matches = m_host->VerifyDiscAt(m_state.playerNumber, m_state.currentDisc, track, minutes, seconds);
    }
    if (!matches)
        m_state.newDisc = 1;
}

// After a move: the entry is finishing when the changer went to another disc.
void CChangerStatusParser::NearEndForDisc()
{
    if (m_state.playState == kPlaySingleTrack || m_state.playState == kPlayWholeDisc)
        m_state.nearEnd = m_state.currentDisc != m_state.requestedDisc;
}

// ---- Transport ----

void CChangerStatusParser::OnPlay(bool, const std::vector<BYTE>&)
{
    m_state.nearEnd = 0;
    m_state.report = 0;
    m_state.SetPlaying(true, m_host->Now());
    m_state.changing = 0;
    m_state.paused = 0;
    m_state.playPending = 0;
    m_state.scanMode = kScanNone;
}

void CChangerStatusParser::OnStop(bool, const std::vector<BYTE>&)
{
    if (AfterSettle())
        m_state.nearEnd = 1;
    m_state.fadeDownSent = 0;
    m_state.previousElapsedTotal = -1;
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 0;
    m_state.paused = 0;
    if (m_state.playRequest) {
        m_state.playState = kPlayNone;
        m_state.playRequest = 0;
    }
}

void CChangerStatusParser::OnPause(bool, const std::vector<BYTE>&)
{
    m_state.nearEnd = 0;
    m_state.fadeDownSent = 0;
    m_state.report = 0;
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 0;
    m_state.paused = 1;
    m_state.scanMode = kScanNone;
}

void CChangerStatusParser::OnUnloading(bool, const std::vector<BYTE>&)
{
    m_state.nearEnd = 0;
    m_state.fadeDownSent = 0;
    m_state.report = 0;
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 1;
    m_state.paused = 0;
    m_state.busy = 1;
    m_state.scanMode = kScanNone;
}

void CChangerStatusParser::OnError(bool, const std::vector<BYTE>&)
{
    m_state.error = 1;
}

void CChangerStatusParser::OnNoDisc(bool upper, const std::vector<BYTE>& b)
{
    m_state.noDiscSeen = 1;
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 0;
    m_state.paused = 0;
    m_state.report = 0;
    m_state.scanMode = kScanNone;
    if (b.empty())
        return;
    int s = CChangerLink::DecodeDisc(b[0], upper);
    m_state.noDisc = s;
    if (ChangerState::IsSlot(s)) {
        m_state.slots[s - 1] = (m_state.slots[s - 1] | kSlotKnown) & ~DWORD(kSlotHasDisc);
        m_state.changeStamp = m_host->Now();
    }
}

void CChangerStatusParser::OnIgnored(bool, const std::vector<BYTE>&)
{
    if (!m_state.noDiscSeen)
        m_state.noDisc = kNoDiscIgnored;
}

void CChangerStatusParser::OnStored(bool, const std::vector<BYTE>& b)
{
    if (!b.empty())
        m_state.storedBits = b[0];
}

void CChangerStatusParser::OnDoorOpen(bool, const std::vector<BYTE>&)
{
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 0;
    m_state.paused = 0;
    m_state.report = 0;
    m_state.doorOpen = 1;
    memset(m_state.slots, 0, sizeof m_state.slots);
    m_state.scanMode = kScanNone;
}

void CChangerStatusParser::OnDoorClose(bool, const std::vector<BYTE>&)
{
    m_state.report = 0;
    m_state.doorOpen = 0;
    memset(m_state.slots, 0, sizeof m_state.slots);
}

void CChangerStatusParser::OnPowerOn(bool, const std::vector<BYTE>&)
{
    m_state.report = 0;
    m_state.powered = 1;
    if (!m_state.powerWanted)
        m_player.PowerOff();
}

void CChangerStatusParser::OnPowerOff(bool, const std::vector<BYTE>&)
{
    m_state.report = 0;
    m_state.powered = 0;
    m_state.playing = 0;
    m_state.paused = 0;
    m_state.changing = 0;
    m_state.scanMode = kScanNone;
    if (m_state.powerWanted)
        m_player.PowerOn();
}

void CChangerStatusParser::On30sToEnd(bool, const std::vector<BYTE>&)
{
    m_state.report = 1;
    m_state.busy = 0;
    if (!m_state.playing && !m_state.paused) {
        m_state.changing = 1;
        m_player.QueryMode();
    }
}

// ---- Disc moves and information ----

void CChangerStatusParser::OnNowAtDisc(bool upper, const std::vector<BYTE>& b)
{
    m_state.scanMode = kScanNone;
    m_state.report = 0;
    m_state.busy = 1;
    if (b.empty())
        return;
    m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
    m_state.noDisc = kNoDiscPresent;
    MarkSlot(m_state.currentDisc);
    m_state.SetCurrentTrack(-1);
    NearEndForDisc();
}

void CChangerStatusParser::OnGotoDisc(bool upper, const std::vector<BYTE>& b)
{
    m_state.scanMode = kScanNone;
    m_state.report = 0;
    m_state.busy = 1;
    m_state.SetPlaying(false, m_host->Now());
    m_state.changing = 1;
    m_state.paused = 0;
    if (b.empty())
        return;
    m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
    m_state.SetCurrentTrack(-1);
    m_state.ClearDiscInfo();
    NearEndForDisc();
}

void CChangerStatusParser::OnDisplayingDisc(bool upper, const std::vector<BYTE>& b)
{
    m_state.report = 0;
    if (!m_state.playing && !m_state.paused) {
        m_state.changing = 1;
        m_player.QueryMode();
    }
    if (!b.empty()) {
        m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
        m_state.noDisc = kNoDiscPresent;
        MarkSlot(m_state.currentDisc);
        m_state.SetCurrentTrack(-1);
        m_state.ClearDiscInfo();
        NearEndForDisc();
    }
    m_state.busy = 0;
}

void CChangerStatusParser::OnDiscInfo(bool upper, const std::vector<BYTE>& b)
{
    m_state.noDisc = kNoDiscNone;
    m_state.busy = 0;
    m_state.report = 1;
    if (b.size() < 6)
        return;
    m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
    MarkSlot(m_state.currentDisc);
    m_state.lastTrack = Bcd(b[2]);
    m_state.totalMinutes = Bcd(b[3]);
    m_state.totalSeconds = Bcd(b[4]);
    m_state.totalFrames = Bcd(b[5]);
    // Written last: the disc-information wait watches it.
    m_state.leadValue = Bcd(b[1]);
}

void CChangerStatusParser::OnTrackInfo(bool upper, const std::vector<BYTE>& b)
{
    m_state.busy = 0;
    m_state.report = 1;
    if (b.size() < 4)
        return;
    m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
    m_state.noDisc = kNoDiscPresent;
    MarkSlot(m_state.currentDisc);
    m_state.infoMinutes = Bcd(b[2]);
    m_state.infoSeconds = Bcd(b[3]);
    int track = Bcd(b[1]);
    if (track == m_state.currentTrack) {
        m_state.lengthMinutes = m_state.infoMinutes;
        m_state.lengthSeconds = m_state.infoSeconds;
    }
    // Written last: the track-information wait watches it.
    m_state.infoTrack = track;
    CheckLibrary(track, m_state.infoMinutes, m_state.infoSeconds);
}

void CChangerStatusParser::OnPlayerType(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 2)
        return;
    m_state.capacity = b[0] == 0 ? 100 : CChangerLink::DecodeDisc(b[0], upper);
    m_state.settleTime = 25;
    m_state.typeCode = b[1];
}

void CChangerStatusParser::OnPlayerName(bool, const std::vector<BYTE>& b)
{
    CString name = BytesText(b, 0, kNameLength);
    m_texts.playerName = name;
    m_state.model355 = name.Find("455") >= 0 || name.Find("355") >= 0;
}

// ---- Memos, CD text, groups, artists ----

void CChangerStatusParser::OnMemoWritten(bool, const std::vector<BYTE>&)
{
    m_state.acknowledge = 1;
}

void CChangerStatusParser::OnArtistData(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kArtistsPerPacket)
        return;
    int p = b[0];
    if (p < 1 || p * kArtistsPerPacket > kDiscArtists - 1)
        return;
    for (int i = 0; i < kArtistsPerPacket; ++i)
        m_state.discArtists[(p - 1) * kArtistsPerPacket + 1 + i] = b[1 + i];
}

void CChangerStatusParser::OnArtistText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 2 || b[1] < 1)
        return;
    int a = b[0];
    int p = b[1];
    CString& text = m_texts.artistTexts[a];
    if (p == 1)
        text = CString(' ', kArtistTextLength);
    // Texts left empty or short by other answers are padded before writing.
    while (text.GetLength() < kArtistTextLength)
        text += ' ';
    for (int i = 0; i < kArtistPacketChars && 2 + size_t(i) < b.size(); ++i) {
        int position = kArtistPacketChars * (p - 1) + i;
        if (position >= kArtistTextLength)
            break;
        text.SetAt(position, char(b[2 + i]));
    }
}

void CChangerStatusParser::OnNoArtist(bool, const std::vector<BYTE>& b)
{
    if (!b.empty())
        m_texts.artistTexts[b[0]] = CString(' ', kArtistTextLength - 1);
}

void CChangerStatusParser::OnMemoText(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 14)
        return;
    m_texts.memoText = BytesText(b, 1, 13);
    m_state.memoDisc = CChangerLink::DecodeDisc(b[0], upper);
}

void CChangerStatusParser::OnMemoText2(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    m_texts.memoText = BytesText(b, 3, 14);
    m_state.memoDisc = CChangerLink::DecodeDisc(b[0], upper);
    m_state.memoPart = b[2];
    m_state.memoComplete = b[16] == 0;
}

void CChangerStatusParser::OnMemoText3(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    m_texts.memoText += BytesText(b, 1, 16);
    m_state.memoPart = b[0];
    m_state.memoComplete = b[16] == 0;
}

void CChangerStatusParser::OnInvalidDisc2(bool, const std::vector<BYTE>&)
{
    m_texts.memoText = CString();
    m_state.memoDisc = 255;
    m_state.memoPart = 0;
}

void CChangerStatusParser::OnCdText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    m_texts.cdText = BytesText(b, 3, 14);
    m_state.cdTextTrack = Bcd(b[0]);
    m_state.cdTextPart = b[2];
    m_state.cdTextComplete = b[16] == 0;
}

void CChangerStatusParser::OnCdTextExtra(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    m_texts.cdText += BytesText(b, 1, 16);
    m_state.cdTextPart = b[0];
    m_state.cdTextComplete = b[16] == 0;
}

void CChangerStatusParser::OnNoCdText(bool, const std::vector<BYTE>&)
{
    m_texts.cdText = CString();
    m_state.cdTextComplete = 1;
}

void CChangerStatusParser::OnNoGroup(bool, const std::vector<BYTE>&)
{
    m_state.groupReply = -2;
}

void CChangerStatusParser::OnGroupText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kGroupPartBytes)
        return;
    int g = b[0];
    if (g >= 1 && g <= kGroups)
        m_texts.groupNames[g - 1] = BytesText(b, 1, kGroupPartBytes);
    m_state.groupReply = g;
}

// One third of a group's disc map; the group is complete with its last part.
void CChangerStatusParser::OnGroupDiscs(const std::vector<BYTE>& b, int part, bool complete)
{
    if (b.size() < 1 + kGroupPartBytes)
        return;
    int g = b[0];
    if (g < 1 || g > kGroups)
        return;
    memcpy(m_state.groupMaps[g - 1] + part * kGroupPartBytes, &b[1], kGroupPartBytes);
    if (complete) {
        m_state.groupValid[g - 1] = 1;
        m_state.groupReply = g;
    }
}

void CChangerStatusParser::OnGroupDiscsLow(bool, const std::vector<BYTE>& b)
{
    OnGroupDiscs(b, 0, m_state.capacity < 200);
}

void CChangerStatusParser::OnGroupDiscsHigh(bool, const std::vector<BYTE>& b)
{
    m_state.acknowledge = 1;
    OnGroupDiscs(b, 1, m_state.capacity < 300);
}

void CChangerStatusParser::OnGroupDiscsHigher(bool, const std::vector<BYTE>& b)
{
    OnGroupDiscs(b, 2, true);
}

void CChangerStatusParser::OnDeleteFile(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kDeleteFileBytes)
        return;
    memcpy(m_state.deleteFile, &b[1], kDeleteFileBytes);
    m_state.deleteFileDisc = CChangerLink::DecodeDisc(b[0], upper);
}

void CChangerStatusParser::OnNoDeleteFile(bool, const std::vector<BYTE>&)
{
    memset(m_state.deleteFile, 0xFF, sizeof m_state.deleteFile);
    m_state.deleteFileDisc = 255;
}

// ---- Playing and time reports ----

void CChangerStatusParser::OnPlayingReport(bool upper, const std::vector<BYTE>& b)
{
    if (!m_state.playing && !m_state.paused)
        m_state.changing = 1;
    m_state.nearEnd = 0;
    m_state.report = 1;
    m_state.busy = 0;
    if (b.size() < 4) {
        m_player.TimecodeOn();
    } else {
        m_state.currentDisc = CChangerLink::DecodeDisc(b[0], upper);
        m_state.noDisc = kNoDiscPresent;
        MarkSlot(m_state.currentDisc);
        m_state.SetCurrentTrack(m_state.DecodeTrack(b[1], true));
        m_state.lengthMinutes = Bcd(b[2]);
        m_state.lengthSeconds = Bcd(b[3]);
        CheckLibrary(m_state.currentTrack, m_state.lengthMinutes, m_state.lengthSeconds);
        PlayingByState(m_statusText);
        PendingPlay(m_statusText);
    }
    if (m_state.lastTrack < 0 && m_state.playState != kPlaySearching)
        m_player.QueryDisc(m_state.currentDisc);
}

void CChangerStatusParser::PlayingByState(const CString& text)
{
    bool queuedHere = m_state.queuedDisc == m_state.currentDisc && m_state.queuedTrack == m_state.currentTrack;
    bool nextHere = m_state.nextDisc == m_state.currentDisc && m_state.nextTrack == m_state.currentTrack;
    bool settled = AfterSettle();
    CString event;
    switch (m_state.playState) {
    case kPlaySingleTrack:
        if (queuedHere || nextHere) {
            event.Format("begin_track[%04x%02x]", m_state.currentDisc, m_state.currentTrack);
            Fire(event);
        }
        if (queuedHere) {
            m_player.TimecodeOn();
            break;
        }
        Debug("playing single mismatch");
        if (settled && m_state.playing && !nextHere) {
            Debug("playing single mismatch stop " + text);
            m_player.Stop();
            break;
        }
        if (settled && m_state.fadeUpTime > 0 && !m_state.preview)
            m_player.FadeUp(m_state.fadeUpTime);
        m_player.TimecodeOn();
        break;
    case kPlayWholeDisc:
        if (m_state.playing &&
            (m_state.queuedDisc != m_state.currentDisc || m_state.currentTrack == kTrackUnreadable)) {
            Debug("playing disc mismatch");
            if (settled) {
                Debug("playing disc mismatch stop " + text);
                m_player.Stop();
            }
            break;
        }
        m_player.TimecodeOn();
        event.Format("begin_track[%02x%02x]", m_state.currentDisc, m_state.currentTrack);
        Fire(event);
        break;
    case kPlaySearching:
        break;
    default:
        m_player.TimecodeOn();
        break;
    }
}

void CChangerStatusParser::PendingPlay(const CString& text)
{
    if (!m_state.playPending || m_state.newDisc || m_state.playState == kPlaySearching ||
        m_state.requestedDisc != m_state.currentDisc)
        return;
    bool nextHere = m_state.nextDisc == m_state.currentDisc && m_state.nextTrack == m_state.currentTrack;
    bool reached = m_state.playing
                       ? m_state.nextTrack == m_state.currentTrack
                       : nextHere || m_state.requestedTrack + 1 == m_state.currentTrack || m_state.requestedTrack == -1;
    if (reached) {
        if (m_state.fadeUpTime > 0 && !m_state.preview)
            m_player.FadeUp(m_state.fadeUpTime);
        else if (!m_state.playing && !nextHere)
            m_player.Play();
    } else if (m_state.currentTrack == 1) {
        // Some changers go to track 1 instead of the track asked for.
        Debug("CX270 misqueue to track 1 " + text);
        m_state.SetCurrentTrack(-1);
        m_player.PlayOrCue(m_state.requestedDisc, m_state.requestedTrack, FALSE);
    }
}

void CChangerStatusParser::OnTimeReport(bool, const std::vector<BYTE>& b)
{
    m_state.noDisc = kNoDiscNone;
    m_state.busy = 0;
    m_state.report = 1;
    if (b.size() != 4)
        return;
    int m = Bcd(b[2]);
    int s = Bcd(b[3]);
    if (m_state.lengthMinutes >= 0 && m_state.lengthSeconds >= 0 && m_state.currentTrack != kTrackUnreadable) {
        if (s >= 60 || (m_state.lengthMinutes - m) * 60 - s + m_state.lengthSeconds <= kLateReportSeconds)
            return;
    } else if (m >= 100 || s >= 60) {
        return;
    }
    m_state.elapsedMinutes = m;
    m_state.elapsedSeconds = s;
    m_state.SetCurrentTrack(m_state.DecodeTrack(b[0], true));
    if (b[1] == 0) {
        // Index 0: the time before the track's start.
        m_state.elapsedMinutes = -m;
        m_state.elapsedSeconds = -s;
    }
    if (!m_state.playing && !m_state.paused) {
        m_state.changing = 1;
        m_player.QueryMode();
    }
    m_state.elapsedTotal = m_state.elapsedMinutes * 60 + m_state.elapsedSeconds;
    if (m_state.elapsedTotal > 1 && m_state.currentDisc == m_state.queuedDisc &&
        (m_state.playState != kPlaySingleTrack || m_state.currentTrack == m_state.queuedTrack))
        m_state.playPending = 0;
    if ((m_state.lengthMinutes < 0 || m_state.lengthSeconds < 0) && m_state.currentTrack != kTrackUnreadable) {
        if (m_state.currentDisc != -1)
            m_player.QueryTrack(m_state.currentDisc, m_state.currentTrack - 1);
    } else if (m_state.preview) {
        if (m_state.elapsedTotal > kPreviewSeconds)
            m_player.Stop();
    } else {
        int remaining =
            (m_state.lengthMinutes - m_state.elapsedMinutes) * 60 + m_state.lengthSeconds - m_state.elapsedSeconds;
        TimeActions(remaining, m_statusText);
        DetectSkip();
    }
    if (m_state.lastTrack < 0)
        m_player.QueryDisc(m_state.currentDisc);
}

// Fade-down, the near-end flag and the stop at the end of the entry.
void CChangerStatusParser::TimeActions(int remaining, const CString& text)
{
    const int f = m_state.fadeDownTime;
    const int o = m_state.fadeOverlapTime;
    const int k = m_state.trackFinishTweak;
    const bool single = m_state.playState == kPlaySingleTrack;
    const bool disc = m_state.playState == kPlayWholeDisc;
    const bool onQueued = m_state.currentTrack == m_state.queuedTrack;
    const bool onLast = m_state.currentTrack == m_state.lastTrack;
    const bool settled = AfterSettle();
    const bool nextContinues = m_state.nextDisc == m_state.currentDisc &&
                               m_state.nextTrack == (onQueued ? m_state.currentTrack + 1 : m_state.currentTrack);
    if (single && f > 0 && (remaining < f + 2 || !onQueued) && !nextContinues)
        m_player.FadeDown(f);
    else if (onLast && disc && f > 0 && remaining < f + 2)
        m_player.FadeDown(f);

    if (single && o > 0 && (remaining < o + 2 || !onQueued) && settled) {
        Debug("startnext single " + text);
        m_state.nearEnd = 1;
    } else if (onLast && disc && o > 0 && remaining < o + 2 && settled) {
        Debug("startnext disc " + text);
        m_state.nearEnd = 1;
    }

    bool nextHere = (onQueued || m_state.nextTrack == m_state.currentTrack) && m_state.nextDisc == m_state.currentDisc;
    if (single && (remaining < k + 2 || !onQueued) && settled && !nextHere) {
        Debug("time single stop " + text);
        m_player.Stop();
    } else if (((onLast && disc && remaining < k + 2) || m_state.currentTrack == kTrackUnreadable) && settled) {
        Debug("time disc stop " + text);
        m_player.Stop();
    }
}

// A disc that skips reports the same or an earlier time again: nudge it on.
void CChangerStatusParser::DetectSkip()
{
    if (m_state.currentDisc != -1 && m_state.currentDisc == m_state.previousDisc &&
        m_state.currentTrack == m_state.previousTrack &&
        (m_state.elapsedTotal < m_state.previousElapsedTotal ||
         (m_state.elapsedTotal == m_state.previousElapsedTotal && m_state.elapsedSeconds != 0)) &&
        m_state.scanMode == kScanNone && DetectSkippingDiscs())
        m_player.NudgeForward();
    m_state.previousElapsedTotal = m_state.elapsedTotal;
    m_state.previousDisc = m_state.currentDisc;
    m_state.previousTrack = m_state.currentTrack;
}

// ---- Mode report ----

void CChangerStatusParser::OnModeReport(bool upper, const std::vector<BYTE>& b)
{
    const int kModeBytes = 5;
    if (b.size() != kModeBytes)
        return;
    const BYTE status = b[0];
    const BYTE modes = b[1];
    MarkSlot(m_state.currentDisc);
    m_state.powered = !(status & kPoweredOff);
    m_state.busy = !(modes & kDiscsScanned);
    m_state.currentDisc = m_state.model355 && m_state.busy ? -1 : CChangerLink::DecodeDisc(b[3], upper);
    m_state.SetPlaying((status & 0x01) != 0, m_host->Now());
    m_state.paused = (status & 0x02) ? 1 : 0;
    m_state.changing = 0;
    if (status == kPowerOffStatus || status == kDoorOpenStatus1 || status == kDoorOpenStatus2) {
        m_state.SetPlaying(false, m_host->Now());
        m_state.paused = m_state.changing = m_state.busy = 0;
    }
    m_state.doorOpen = status == kDoorOpenStatus1 || status == kDoorOpenStatus2;
    if (!m_state.paused && !m_state.playing)
        m_state.scanMode = kScanNone;
    m_state.SetCurrentTrack(m_state.busy ? -1 : m_state.DecodeTrack(b[4], false));
    bool trackRequest = m_state.playState != kPlayNone && m_state.playState != kPlayWholeDisc &&
                        m_state.playState != kPlaySearching;
    if (trackRequest && m_state.playPending && m_state.requestedDisc == m_state.currentDisc &&
        m_state.requestedTrack + 1 != m_state.currentTrack) {
        m_state.SetCurrentTrack(-1);
        m_player.PlayOrCue(m_state.requestedDisc, m_state.requestedTrack, FALSE);
    }
    m_state.allDiscs = (modes >> 6) & 1;
    m_state.repeatOne = (modes >> 5) & 1;
    m_state.repeatAll = (modes >> 4) & 1;
    m_state.program = (modes & 0x0F) > 1;
    m_state.shuffle = (modes & 0x0F) == 1;
    if (m_state.playState != kPlaySearching && ChangerState::IsSlot(m_state.currentDisc) &&
        !(m_state.slots[m_state.currentDisc - 1] & kSlotChecked) && (m_state.paused || m_state.playing) &&
        m_state.currentTrack != kTrackUnreadable)
        m_player.QueryTrack(m_state.currentDisc, m_state.currentTrack - 1);
    if (m_state.playing)
        m_player.TimecodeOn();
    if (!m_state.busy && m_state.paused && m_state.playPending && !m_state.newDisc &&
        m_state.requestedDisc == m_state.currentDisc &&
        (m_state.requestedTrack + 1 == m_state.currentTrack || m_state.requestedTrack == -1))
        FadeUpOrPlay();
    if (!m_state.powered && m_state.powerWanted)
        m_player.PowerOn();
    else if (m_state.powered && !m_state.powerWanted)
        m_player.PowerOff();
    if (m_state.playState != kPlayNone) {
        if (m_state.program || m_state.shuffle || !m_state.allDiscs)
            m_player.KeyContinue();
        else if (m_state.repeatOne || m_state.repeatAll)
            m_player.KeyRepeat();
    }
}
