// The changer player's status parser: every answer or report of the changer
// updates the player's state, may send the commands the playing logic needs
// (time code, fades, stops, re-queueing, power, front-panel modes), and ends
// with the status event signalled, after all fields are written.
#include "core/players/SonyPlayer.h"

#include "devices/util/Bcd.h"
#include "devices/util/HexText.h"
#include "core/players/PlayerHost.h"

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

int Bcd(BYTE b)
{
    return int(BcdToInt(b));
}

} // namespace

const CSonyPlayer::EventRule CSonyPlayer::kEvents[] = {
    {"play", &CSonyPlayer::OnPlay},
    {"stop", &CSonyPlayer::OnStop},
    {"pause", &CSonyPlayer::OnPause},
    {"unloading", &CSonyPlayer::OnUnloading},
    {"error", &CSonyPlayer::OnError},
    {"no_disc", &CSonyPlayer::OnNoDisc},
    {"ignored", &CSonyPlayer::OnIgnored},
    {"stored", &CSonyPlayer::OnStored},
    {"door_open", &CSonyPlayer::OnDoorOpen},
    {"door_close", &CSonyPlayer::OnDoorClose},
    {"power_on", &CSonyPlayer::OnPowerOn},
    {"power_off", &CSonyPlayer::OnPowerOff},
    {"playing", &CSonyPlayer::OnPlayingReport},
    {"30s_to_eot", &CSonyPlayer::On30sToEnd},
    {"time", &CSonyPlayer::OnTimeReport},
    {"now_at_disc", &CSonyPlayer::OnNowAtDisc},
    {"goto_disc", &CSonyPlayer::OnGotoDisc},
    {"displaying_disc", &CSonyPlayer::OnDisplayingDisc},
    {"disc_info", &CSonyPlayer::OnDiscInfo},
    {"track_info", &CSonyPlayer::OnTrackInfo},
    {"player_type", &CSonyPlayer::OnPlayerType},
    {"player_name", &CSonyPlayer::OnPlayerName},
    {"memo_written", &CSonyPlayer::OnMemoWritten},
    {"artist_data", &CSonyPlayer::OnArtistData},
    {"artist_text", &CSonyPlayer::OnArtistText},
    {"no_artist", &CSonyPlayer::OnNoArtist},
    {"memo_text", &CSonyPlayer::OnMemoText},
    {"memo_text2", &CSonyPlayer::OnMemoText2},
    {"memo_text3", &CSonyPlayer::OnMemoText3},
    {"invalid_disc2", &CSonyPlayer::OnInvalidDisc2},
    {"cd_text", &CSonyPlayer::OnCdText},
    {"cd_text_extra", &CSonyPlayer::OnCdTextExtra},
    {"no_cd_text", &CSonyPlayer::OnNoCdText},
    {"no_group", &CSonyPlayer::OnNoGroup},
    {"group_text", &CSonyPlayer::OnGroupText},
    {"group_discs_low", &CSonyPlayer::OnGroupDiscsLow},
    {"group_discs_high", &CSonyPlayer::OnGroupDiscsHigh},
    {"group_discs_higher", &CSonyPlayer::OnGroupDiscsHigher},
    {"delete_file", &CSonyPlayer::OnDeleteFile},
    {"no_delete_file", &CSonyPlayer::OnNoDeleteFile},
    {"mode", &CSonyPlayer::OnModeReport},
};

CString CSonyPlayer::SplitStatusText(const CString& text, bool& upper, std::vector<BYTE>& bytes)
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

void CSonyPlayer::OnStatusText(CString text)
{
    m_parserThread = GetCurrentThreadId();
    m_lastReceived = m_host->Now();
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
    position.Format("D%d T%d [%d:%02d/%d:%02d]", m_currentDisc, m_currentTrack, m_elapsedMinutes,
                    m_elapsedSeconds, m_lengthMinutes, m_lengthSeconds);
    SetText(m_statusLine, name + position);
    m_parserThread = 0;
    SetEvent(m_statusEvent);
}

// The bytes from `from` up to the first zero, at most `most` of them.
CString CSonyPlayer::BytesText(const std::vector<BYTE>& b, size_t from, size_t most) const
{
    CString text;
    for (size_t i = from; i < b.size() && i < from + most && b[i]; ++i)
        text += char(b[i]);
    return text;
}

void CSonyPlayer::MarkSlot(int s)
{
    if (!IsSlot(s))
        return;
    m_slots[s - 1] |= kSlotHasDisc | kSlotKnown;
    m_changeStamp = m_host->Now();
}

void CSonyPlayer::CheckLibrary(int track, int minutes, int seconds)
{
    if (m_playState == kPlaySearching || !IsSlot(m_currentDisc) ||
        (m_slots[m_currentDisc - 1] & kSlotChecked))
        return;
    m_slots[m_currentDisc - 1] |= kSlotChecked;
    m_changeStamp = m_host->Now();
    if (!m_host->VerifyDiscAt(m_playerNumber, m_currentDisc, track, minutes, seconds))
        m_newDisc = 1;
}

// After a move: the entry is finishing when the changer went to another disc.
void CSonyPlayer::NearEndForDisc()
{
    if (m_playState == kPlaySingleTrack || m_playState == kPlayWholeDisc)
        m_nearEnd = m_currentDisc != m_requestedDisc;
}

// ---- Transport ----

void CSonyPlayer::OnPlay(bool, const std::vector<BYTE>&)
{
    m_nearEnd = 0;
    m_report = 0;
    SetPlaying(TRUE);
    m_changing = 0;
    m_paused = 0;
    m_playPending = 0;
    m_scanMode = kScanNone;
}

void CSonyPlayer::OnStop(bool, const std::vector<BYTE>&)
{
    if (AfterSettle(m_host->Now()))
        m_nearEnd = 1;
    m_fadeDownSent = 0;
    m_previousElapsedTotal = -1;
    SetPlaying(FALSE);
    m_changing = 0;
    m_paused = 0;
    if (m_playRequest) {
        m_playState = kPlayNone;
        m_playRequest = 0;
    }
}

void CSonyPlayer::OnPause(bool, const std::vector<BYTE>&)
{
    m_nearEnd = 0;
    m_fadeDownSent = 0;
    m_report = 0;
    SetPlaying(FALSE);
    m_changing = 0;
    m_paused = 1;
    m_scanMode = kScanNone;
}

void CSonyPlayer::OnUnloading(bool, const std::vector<BYTE>&)
{
    m_nearEnd = 0;
    m_fadeDownSent = 0;
    m_report = 0;
    SetPlaying(FALSE);
    m_changing = 1;
    m_paused = 0;
    m_busy = 1;
    m_scanMode = kScanNone;
}

void CSonyPlayer::OnError(bool, const std::vector<BYTE>&)
{
    m_error = 1;
}

void CSonyPlayer::OnNoDisc(bool upper, const std::vector<BYTE>& b)
{
    m_noDiscSeen = 1;
    SetPlaying(FALSE);
    m_changing = 0;
    m_paused = 0;
    m_report = 0;
    m_scanMode = kScanNone;
    if (b.empty())
        return;
    int s = DecodeDisc(b[0], upper);
    m_noDisc = s;
    if (IsSlot(s)) {
        m_slots[s - 1] = (m_slots[s - 1] | kSlotKnown) & ~DWORD(kSlotHasDisc);
        m_changeStamp = m_host->Now();
    }
}

void CSonyPlayer::OnIgnored(bool, const std::vector<BYTE>&)
{
    if (!m_noDiscSeen)
        m_noDisc = kNoDiscIgnored;
}

void CSonyPlayer::OnStored(bool, const std::vector<BYTE>& b)
{
    if (!b.empty())
        m_storedBits = b[0];
}

void CSonyPlayer::OnDoorOpen(bool, const std::vector<BYTE>&)
{
    SetPlaying(FALSE);
    m_changing = 0;
    m_paused = 0;
    m_report = 0;
    m_doorOpen = 1;
    memset(m_slots, 0, sizeof m_slots);
    m_scanMode = kScanNone;
}

void CSonyPlayer::OnDoorClose(bool, const std::vector<BYTE>&)
{
    m_report = 0;
    m_doorOpen = 0;
    memset(m_slots, 0, sizeof m_slots);
}

void CSonyPlayer::OnPowerOn(bool, const std::vector<BYTE>&)
{
    m_report = 0;
    m_powered = 1;
    if (!m_powerWanted)
        PowerOff();
}

void CSonyPlayer::OnPowerOff(bool, const std::vector<BYTE>&)
{
    m_report = 0;
    m_powered = 0;
    m_playing = 0;
    m_paused = 0;
    m_changing = 0;
    m_scanMode = kScanNone;
    if (m_powerWanted)
        PowerOn();
}

void CSonyPlayer::On30sToEnd(bool, const std::vector<BYTE>&)
{
    m_report = 1;
    m_busy = 0;
    if (!m_playing && !m_paused) {
        m_changing = 1;
        QueryMode();
    }
}

// ---- Disc moves and information ----

void CSonyPlayer::OnNowAtDisc(bool upper, const std::vector<BYTE>& b)
{
    m_scanMode = kScanNone;
    m_report = 0;
    m_busy = 1;
    if (b.empty())
        return;
    m_currentDisc = DecodeDisc(b[0], upper);
    m_noDisc = kNoDiscPresent;
    MarkSlot(m_currentDisc);
    SetCurrentTrack(-1);
    NearEndForDisc();
}

void CSonyPlayer::OnGotoDisc(bool upper, const std::vector<BYTE>& b)
{
    m_scanMode = kScanNone;
    m_report = 0;
    m_busy = 1;
    SetPlaying(FALSE);
    m_changing = 1;
    m_paused = 0;
    if (b.empty())
        return;
    m_currentDisc = DecodeDisc(b[0], upper);
    SetCurrentTrack(-1);
    ClearDiscInfo();
    NearEndForDisc();
}

void CSonyPlayer::OnDisplayingDisc(bool upper, const std::vector<BYTE>& b)
{
    m_report = 0;
    if (!m_playing && !m_paused) {
        m_changing = 1;
        QueryMode();
    }
    if (!b.empty()) {
        m_currentDisc = DecodeDisc(b[0], upper);
        m_noDisc = kNoDiscPresent;
        MarkSlot(m_currentDisc);
        SetCurrentTrack(-1);
        ClearDiscInfo();
        NearEndForDisc();
    }
    m_busy = 0;
}

void CSonyPlayer::OnDiscInfo(bool upper, const std::vector<BYTE>& b)
{
    m_noDisc = kNoDiscNone;
    m_busy = 0;
    m_report = 1;
    if (b.size() < 6)
        return;
    m_currentDisc = DecodeDisc(b[0], upper);
    MarkSlot(m_currentDisc);
    m_lastTrack = Bcd(b[2]);
    m_totalMinutes = Bcd(b[3]);
    m_totalSeconds = Bcd(b[4]);
    m_totalFrames = Bcd(b[5]);
    // Written last: the disc-information wait watches it.
    m_leadValue = Bcd(b[1]);
}

void CSonyPlayer::OnTrackInfo(bool upper, const std::vector<BYTE>& b)
{
    m_busy = 0;
    m_report = 1;
    if (b.size() < 4)
        return;
    m_currentDisc = DecodeDisc(b[0], upper);
    m_noDisc = kNoDiscPresent;
    MarkSlot(m_currentDisc);
    m_infoMinutes = Bcd(b[2]);
    m_infoSeconds = Bcd(b[3]);
    int track = Bcd(b[1]);
    if (track == m_currentTrack) {
        m_lengthMinutes = m_infoMinutes;
        m_lengthSeconds = m_infoSeconds;
    }
    // Written last: the track-information wait watches it.
    m_infoTrack = track;
    CheckLibrary(track, m_infoMinutes, m_infoSeconds);
}

void CSonyPlayer::OnPlayerType(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 2)
        return;
    m_capacity = b[0] == 0 ? 100 : DecodeDisc(b[0], upper);
    m_settleTime = 25;
    m_typeCode = b[1];
}

void CSonyPlayer::OnPlayerName(bool, const std::vector<BYTE>& b)
{
    CString name = BytesText(b, 0, kNameLength);
    SetText(m_playerName, name);
    m_model355 = name.Find("455") >= 0 || name.Find("355") >= 0;
}

// ---- Memos, CD text, groups, artists ----

void CSonyPlayer::OnMemoWritten(bool, const std::vector<BYTE>&)
{
    m_acknowledge = 1;
}

void CSonyPlayer::OnArtistData(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kArtistsPerPacket)
        return;
    int p = b[0];
    if (p < 1 || p * kArtistsPerPacket > kDiscArtists - 1)
        return;
    for (int i = 0; i < kArtistsPerPacket; ++i)
        m_discArtists[(p - 1) * kArtistsPerPacket + 1 + i] = b[1 + i];
}

void CSonyPlayer::OnArtistText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 2 || b[1] < 1)
        return;
    int a = b[0];
    int p = b[1];
    CSingleLock lock(&m_textLock, TRUE);
    CString& text = m_artistTexts[a];
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

void CSonyPlayer::OnNoArtist(bool, const std::vector<BYTE>& b)
{
    if (!b.empty())
        SetText(m_artistTexts[b[0]], CString(' ', kArtistTextLength - 1));
}

void CSonyPlayer::OnMemoText(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 14)
        return;
    SetText(m_memoText, BytesText(b, 1, 13));
    m_memoDisc = DecodeDisc(b[0], upper);
}

void CSonyPlayer::OnMemoText2(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    SetText(m_memoText, BytesText(b, 3, 14));
    m_memoDisc = DecodeDisc(b[0], upper);
    m_memoPart = b[2];
    m_memoComplete = b[16] == 0;
}

void CSonyPlayer::OnMemoText3(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    SetText(m_memoText, GetMemoText() + BytesText(b, 1, 16));
    m_memoPart = b[0];
    m_memoComplete = b[16] == 0;
}

void CSonyPlayer::OnInvalidDisc2(bool, const std::vector<BYTE>&)
{
    SetText(m_memoText, CString());
    m_memoDisc = 255;
    m_memoPart = 0;
}

void CSonyPlayer::OnCdText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    SetText(m_cdText, BytesText(b, 3, 14));
    m_cdTextTrack = Bcd(b[0]);
    m_cdTextPart = b[2];
    m_cdTextComplete = b[16] == 0;
}

void CSonyPlayer::OnCdTextExtra(bool, const std::vector<BYTE>& b)
{
    if (b.size() < kTextPacketBytes)
        return;
    SetText(m_cdText, GetCdText() + BytesText(b, 1, 16));
    m_cdTextPart = b[0];
    m_cdTextComplete = b[16] == 0;
}

void CSonyPlayer::OnNoCdText(bool, const std::vector<BYTE>&)
{
    SetText(m_cdText, CString());
    m_cdTextComplete = 1;
}

void CSonyPlayer::OnNoGroup(bool, const std::vector<BYTE>&)
{
    m_groupReply = -2;
}

void CSonyPlayer::OnGroupText(bool, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kGroupPartBytes)
        return;
    int g = b[0];
    if (g >= 1 && g <= kGroups)
        SetText(m_groupNames[g - 1], BytesText(b, 1, kGroupPartBytes));
    m_groupReply = g;
}

// One third of a group's disc map; the group is complete with its last part.
void CSonyPlayer::OnGroupDiscs(const std::vector<BYTE>& b, int part, bool complete)
{
    if (b.size() < 1 + kGroupPartBytes)
        return;
    int g = b[0];
    if (g < 1 || g > kGroups)
        return;
    memcpy(m_groupMaps[g - 1] + part * kGroupPartBytes, &b[1], kGroupPartBytes);
    if (complete) {
        m_groupValid[g - 1] = 1;
        m_groupReply = g;
    }
}

void CSonyPlayer::OnGroupDiscsLow(bool, const std::vector<BYTE>& b)
{
    OnGroupDiscs(b, 0, m_capacity < 200);
}

void CSonyPlayer::OnGroupDiscsHigh(bool, const std::vector<BYTE>& b)
{
    m_acknowledge = 1;
    OnGroupDiscs(b, 1, m_capacity < 300);
}

void CSonyPlayer::OnGroupDiscsHigher(bool, const std::vector<BYTE>& b)
{
    OnGroupDiscs(b, 2, true);
}

void CSonyPlayer::OnDeleteFile(bool upper, const std::vector<BYTE>& b)
{
    if (b.size() < 1 + kDeleteFileBytes)
        return;
    memcpy(m_deleteFile, &b[1], kDeleteFileBytes);
    m_deleteFileDisc = DecodeDisc(b[0], upper);
}

void CSonyPlayer::OnNoDeleteFile(bool, const std::vector<BYTE>&)
{
    memset(m_deleteFile, 0xFF, sizeof m_deleteFile);
    m_deleteFileDisc = 255;
}

// ---- Playing and time reports ----

void CSonyPlayer::OnPlayingReport(bool upper, const std::vector<BYTE>& b)
{
    if (!m_playing && !m_paused)
        m_changing = 1;
    m_nearEnd = 0;
    m_report = 1;
    m_busy = 0;
    if (b.size() < 4) {
        TimecodeOn();
    } else {
        m_currentDisc = DecodeDisc(b[0], upper);
        m_noDisc = kNoDiscPresent;
        MarkSlot(m_currentDisc);
        SetCurrentTrack(DecodeTrack(b[1], true));
        m_lengthMinutes = Bcd(b[2]);
        m_lengthSeconds = Bcd(b[3]);
        CheckLibrary(m_currentTrack, m_lengthMinutes, m_lengthSeconds);
        PlayingByState(m_statusText);
        PendingPlay(m_statusText);
    }
    if (m_lastTrack < 0 && m_playState != kPlaySearching)
        QueryDisc(m_currentDisc);
}

void CSonyPlayer::PlayingByState(const CString& text)
{
    bool queuedHere = m_queuedDisc == m_currentDisc && m_queuedTrack == m_currentTrack;
    bool nextHere = m_nextDisc == m_currentDisc && m_nextTrack == m_currentTrack;
    bool settled = AfterSettle(m_host->Now());
    CString event;
    switch (m_playState) {
    case kPlaySingleTrack:
        if (queuedHere || nextHere) {
            event.Format("begin_track[%04x%02x]", m_currentDisc, m_currentTrack);
            m_host->FireEvent(event);
        }
        if (queuedHere) {
            TimecodeOn();
            break;
        }
        m_host->DebugEvent("playing single mismatch");
        if (settled && m_playing && !nextHere) {
            m_host->DebugEvent("playing single mismatch stop " + text);
            Stop();
            break;
        }
        if (settled && m_fadeUpTime > 0 && !m_preview)
            FadeUp(m_fadeUpTime);
        TimecodeOn();
        break;
    case kPlayWholeDisc:
        if (m_playing && (m_queuedDisc != m_currentDisc || m_currentTrack == kTrackUnreadable)) {
            m_host->DebugEvent("playing disc mismatch");
            if (settled) {
                m_host->DebugEvent("playing disc mismatch stop " + text);
                Stop();
            }
            break;
        }
        TimecodeOn();
        event.Format("begin_track[%02x%02x]", m_currentDisc, m_currentTrack);
        m_host->FireEvent(event);
        break;
    case kPlaySearching:
        break;
    default:
        TimecodeOn();
        break;
    }
}

void CSonyPlayer::PendingPlay(const CString& text)
{
    if (!m_playPending || m_newDisc || m_playState == kPlaySearching || m_requestedDisc != m_currentDisc)
        return;
    bool nextHere = m_nextDisc == m_currentDisc && m_nextTrack == m_currentTrack;
    bool reached = m_playing ? m_nextTrack == m_currentTrack
                             : nextHere || m_requestedTrack + 1 == m_currentTrack || m_requestedTrack == -1;
    if (reached) {
        if (m_fadeUpTime > 0 && !m_preview)
            FadeUp(m_fadeUpTime);
        else if (!m_playing && !nextHere)
            Play();
    } else if (m_currentTrack == 1) {
        // Some changers go to track 1 instead of the track asked for.
        m_host->DebugEvent("CX270 misqueue to track 1 " + text);
        SetCurrentTrack(-1);
        PlayOrCue(m_requestedDisc, m_requestedTrack, FALSE);
    }
}

void CSonyPlayer::OnTimeReport(bool, const std::vector<BYTE>& b)
{
    m_noDisc = kNoDiscNone;
    m_busy = 0;
    m_report = 1;
    if (b.size() != 4)
        return;
    int m = Bcd(b[2]);
    int s = Bcd(b[3]);
    if (m_lengthMinutes >= 0 && m_lengthSeconds >= 0 && m_currentTrack != kTrackUnreadable) {
        if (s >= 60 || (m_lengthMinutes - m) * 60 - s + m_lengthSeconds <= kLateReportSeconds)
            return;
    } else if (m >= 100 || s >= 60) {
        return;
    }
    m_elapsedMinutes = m;
    m_elapsedSeconds = s;
    SetCurrentTrack(DecodeTrack(b[0], true));
    if (b[1] == 0) {
        // Index 0: the time before the track's start.
        m_elapsedMinutes = -m;
        m_elapsedSeconds = -s;
    }
    if (!m_playing && !m_paused) {
        m_changing = 1;
        QueryMode();
    }
    m_elapsedTotal = m_elapsedMinutes * 60 + m_elapsedSeconds;
    if (m_elapsedTotal > 1 && m_currentDisc == m_queuedDisc &&
        (m_playState != kPlaySingleTrack || m_currentTrack == m_queuedTrack))
        m_playPending = 0;
    if ((m_lengthMinutes < 0 || m_lengthSeconds < 0) && m_currentTrack != kTrackUnreadable) {
        if (m_currentDisc != -1)
            QueryTrack(m_currentDisc, m_currentTrack - 1);
    } else if (m_preview) {
        if (m_elapsedTotal > kPreviewSeconds)
            Stop();
    } else {
        int remaining = (m_lengthMinutes - m_elapsedMinutes) * 60 + m_lengthSeconds - m_elapsedSeconds;
        TimeActions(remaining, m_statusText);
        DetectSkip();
    }
    if (m_lastTrack < 0)
        QueryDisc(m_currentDisc);
}

// Fade-down, the near-end flag and the stop at the end of the entry.
void CSonyPlayer::TimeActions(int remaining, const CString& text)
{
    const int f = m_fadeDownTime;
    const int o = m_fadeOverlapTime;
    const int k = m_trackFinishTweak;
    const bool single = m_playState == kPlaySingleTrack;
    const bool disc = m_playState == kPlayWholeDisc;
    const bool onQueued = m_currentTrack == m_queuedTrack;
    const bool onLast = m_currentTrack == m_lastTrack;
    const bool settled = AfterSettle(m_host->Now());
    const bool nextContinues = m_nextDisc == m_currentDisc &&
                               m_nextTrack == (onQueued ? m_currentTrack + 1 : m_currentTrack);
    if (single && f > 0 && (remaining < f + 2 || !onQueued) && !nextContinues)
        FadeDown(f);
    else if (onLast && disc && f > 0 && remaining < f + 2)
        FadeDown(f);

    if (single && o > 0 && (remaining < o + 2 || !onQueued) && settled) {
        m_host->DebugEvent("startnext single " + text);
        m_nearEnd = 1;
    } else if (onLast && disc && o > 0 && remaining < o + 2 && settled) {
        m_host->DebugEvent("startnext disc " + text);
        m_nearEnd = 1;
    }

    bool nextHere = (onQueued || m_nextTrack == m_currentTrack) && m_nextDisc == m_currentDisc;
    if (single && (remaining < k + 2 || !onQueued) && settled && !nextHere) {
        m_host->DebugEvent("time single stop " + text);
        Stop();
    } else if (((onLast && disc && remaining < k + 2) || m_currentTrack == kTrackUnreadable) && settled) {
        m_host->DebugEvent("time disc stop " + text);
        Stop();
    }
}

// A disc that skips reports the same or an earlier time again: nudge it on.
void CSonyPlayer::DetectSkip()
{
    if (m_currentDisc != -1 && m_currentDisc == m_previousDisc && m_currentTrack == m_previousTrack &&
        (m_elapsedTotal < m_previousElapsedTotal ||
         (m_elapsedTotal == m_previousElapsedTotal && m_elapsedSeconds != 0)) &&
        m_scanMode == kScanNone && m_host->DetectSkippingDiscs())
        NudgeForward();
    m_previousElapsedTotal = m_elapsedTotal;
    m_previousDisc = m_currentDisc;
    m_previousTrack = m_currentTrack;
}

// ---- Mode report ----

void CSonyPlayer::OnModeReport(bool upper, const std::vector<BYTE>& b)
{
    const int kModeBytes = 5;
    if (b.size() != kModeBytes)
        return;
    const BYTE status = b[0];
    const BYTE modes = b[1];
    MarkSlot(m_currentDisc);
    m_powered = !(status & kPoweredOff);
    m_busy = !(modes & kDiscsScanned);
    m_currentDisc = m_model355 && m_busy ? -1 : DecodeDisc(b[3], upper);
    SetPlaying(status & 0x01);
    m_paused = (status & 0x02) ? 1 : 0;
    m_changing = 0;
    if (status == kPowerOffStatus || status == kDoorOpenStatus1 || status == kDoorOpenStatus2) {
        SetPlaying(FALSE);
        m_paused = m_changing = m_busy = 0;
    }
    m_doorOpen = status == kDoorOpenStatus1 || status == kDoorOpenStatus2;
    if (!m_paused && !m_playing)
        m_scanMode = kScanNone;
    SetCurrentTrack(m_busy ? -1 : DecodeTrack(b[4], false));
    bool trackRequest = m_playState != kPlayNone && m_playState != kPlayWholeDisc &&
                        m_playState != kPlaySearching;
    if (trackRequest && m_playPending && m_requestedDisc == m_currentDisc &&
        m_requestedTrack + 1 != m_currentTrack) {
        SetCurrentTrack(-1);
        PlayOrCue(m_requestedDisc, m_requestedTrack, FALSE);
    }
    m_allDiscs = (modes >> 6) & 1;
    m_repeatOne = (modes >> 5) & 1;
    m_repeatAll = (modes >> 4) & 1;
    m_program = (modes & 0x0F) > 1;
    m_shuffle = (modes & 0x0F) == 1;
    if (m_playState != kPlaySearching && IsSlot(m_currentDisc) &&
        !(m_slots[m_currentDisc - 1] & kSlotChecked) && (m_paused || m_playing) &&
        m_currentTrack != kTrackUnreadable)
        QueryTrack(m_currentDisc, m_currentTrack - 1);
    if (m_playing)
        TimecodeOn();
    if (!m_busy && m_paused && m_playPending && !m_newDisc && m_requestedDisc == m_currentDisc &&
        (m_requestedTrack + 1 == m_currentTrack || m_requestedTrack == -1))
        FadeUpOrPlay();
    if (!m_powered && m_powerWanted)
        PowerOn();
    else if (m_powered && !m_powerWanted)
        PowerOff();
    if (m_playState != kPlayNone) {
        if (m_program || m_shuffle || !m_allDiscs)
            KeyContinue();
        else if (m_repeatOne || m_repeatAll)
            KeyRepeat();
    }
}
