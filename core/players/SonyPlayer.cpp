// The changer player's state, its bus codes and the texts it composes.
#include "core/players/SonyPlayer.h"

#include "devices/util/Bcd.h"
#include "core/devpath/DevicePath.h"
#include "devices/util/MessageWaits.h"
#include "core/players/PlayerHost.h"

namespace {

const char kArtistPlaceholder[] = "XXXXXXXXXXXXXXXXXXXX";
const int kPlaceholderArtists = 201;
const double kLastOldFirmware = 2.8;
const int kDiscsBelowUpper = 200;
const int kLowerCapacityOnly = 100;
const int kSettleSeconds = 10;
const int kModePolls = 20;
const int kModePollMs = 100;
const int kRetries = 5;
const char kEF[] = ":sl[EF]";

} // namespace

// Front-panel keys and how each is framed.
struct CSonyPlayer::KeyRule
{
    const char* key;
    KeyFamily family;
    const char* lastPause;   // the pause that ends a key with EF
};

const CSonyPlayer::KeyRule CSonyPlayer::kKeys[] = {
    {"disc", kKeyPauseEF, ":ir[-5000] "},
    {"enter", kKeyPauseEF, ":ir[-5000] "},
    {"clear", kKeyPauseEF, ":ir[-5000] "},
    {"memo_input", kKeyPauseEF, ":ir[-5000] "},
    {"memo_scan", kKeyPauseEF, ":ir[-5000] "},
    {"up_arrow", kKeyPauseEF, ":ir[-5000] "},
    {"block", kKeyPauseEF, ":ir[-100000] "},
    {"track", kKeyPauseEF, ":ir[-5000] "},
    {"down_arrow", kKeyEF, ":ir[-5000] "},
    {"left_arrow", kKeyEF, ":ir[-5000] "},
    {"right_arrow", kKeyEF, ":ir[-5000] "},
    {"player_select", kKeyEF, ":ir[-5000] "},
    {"program", kKeyOnly, nullptr},
    {"continue", kKeyOnly, nullptr},
    {"repeat", kKeyOnly, nullptr},
};

CSonyPlayer::CSonyPlayer(CPlayerHost* host) : m_host(host)
{
    m_statusEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(m_statusEvent);
    ClearDiscInfo();
    for (int& artist : m_discArtists)
        artist = -1;
    for (int a = 0; a < kPlaceholderArtists; ++a)
        m_artistTexts[a] = kArtistPlaceholder;
}

CSonyPlayer::~CSonyPlayer()
{
    Flush();
    CDevicePath& path = m_host->GetDevicePath();
    path.DeleteDevice(m_controlDevice);
    path.DeleteDevice(m_sendDevice);
    path.DeleteDevice(m_receiveDevice);
    if (!m_upperSendDevice.IsEmpty())
        path.DeleteDevice(m_upperSendDevice);
    if (!m_upperReceiveDevice.IsEmpty())
        path.DeleteDevice(m_upperReceiveDevice);
    CloseHandle(m_statusEvent);
}

// ---- Disc and track codes ----

void CSonyPlayer::GetDiscAddress(int disc, CString& device, CString& code) const
{
    device = disc > kDiscsBelowUpper ? m_upperSendDevice : m_sendDevice;
    code = EncodeDisc(disc);
}

// A disc code is one byte (the upper slots count from 201) on a device the
// changer has; a track code is two BCD digits.
bool CSonyPlayer::CanAddress(int disc, int track) const
{
    const int kLastUpperDisc = kDiscsBelowUpper + 0xFF;
    const int kLastTrackIndex = 98;
    if (disc > kLastUpperDisc || track > kLastTrackIndex)
        return false;
    return disc <= kDiscsBelowUpper || !m_upperSendDevice.IsEmpty();
}

CString CSonyPlayer::EncodeDisc(int disc) const
{
    CString code;
    if (disc <= 0)
        code = "FF";
    else if (disc <= 99)
        code.Format("%02x", IntToBcd(disc));
    else if (disc == 100 && m_capacity == kLowerCapacityOnly)
        code = "00";
    else if (disc <= kDiscsBelowUpper)
        code.Format("%02x", disc + 54);
    else
        code.Format("%02x", disc - kDiscsBelowUpper);
    return code;
}

CString CSonyPlayer::EncodeTrack(int track)
{
    CString code;
    code.Format("%02x", IntToBcd(track < 0 ? 1 : track + 1));
    return code;
}

int CSonyPlayer::DecodeDisc(int code, bool upper) const
{
    if (upper)
        return code + kDiscsBelowUpper;
    if (code == 0)
        return 100;
    if (code > 0x99)
        return code - 54;
    return int(BcdToInt(code));
}

int CSonyPlayer::DecodeTrack(int code, bool forceBcd)
{
    if (code > 0x99)
        return kTrackUnreadable;
    if (code < 1)
        return -1;
    if (m_binaryTracks && !forceBcd)
        return code;
    if (!IsValidBcd(code) || (m_typeCode == 27 && code > 9 && code == m_currentTrack)) {
        // Some changers count tracks in binary; once seen, for good.
        m_binaryTracks = 1;
        return code;
    }
    return int(BcdToInt(code));
}

// ---- Sending ----

BOOL CSonyPlayer::Send(const CString& text)
{
    return m_host->GetDevicePath().SendDeviceCommand(text);
}

bool CSonyPlayer::OldFirmware()
{
    // Versions come in tenths; the margin keeps 2.8 itself old.
    return m_host->GetFirmwareVersion() < kLastOldFirmware + 0.05;
}

CString CSonyPlayer::Word(const char* word) const
{
    return m_sendDevice + ":" + word;
}

CString CSonyPlayer::Pause45() const
{
    return " " + m_sendDevice + ":ir[-45000] ";
}

// S ":" word, doubled with old firmware: the first copy ends with a blank, the
// last with between.
CString CSonyPlayer::Twice(const char* word, const char* between)
{
    CString text = Word(word) + between;
    if (OldFirmware())
        text = Word(word) + " " + text;
    return text;
}

void CSonyPlayer::Play()
{
    m_nearEnd = 0;
    Send(Twice("play", " ") + Pause45());
}

void CSonyPlayer::Pause()
{
    m_playPending = 0;
    m_nearEnd = 0;
    Send(Twice("pause", " ") + Pause45());
}

BOOL CSonyPlayer::PauseToggle()
{
    return Send(Word("pause_toggle") + Pause45());
}

BOOL CSonyPlayer::Stop()
{
    return Send(Word("stop ") + Word("stop") + Pause45());
}

BOOL CSonyPlayer::NextTrack()
{
    m_scanMode = kScanNone;
    return Send(Word(">>|") + Pause45());
}

BOOL CSonyPlayer::PreviousTrack()
{
    m_scanMode = kScanNone;
    return Send(Word("|<<") + Pause45());
}

void CSonyPlayer::SetSpeed(int scanMode, const char* word)
{
    m_scanMode = scanMode;
    Send(Twice(word, ""));
}

void CSonyPlayer::ScanForward() { SetSpeed(kScanForward, ">>"); }
void CSonyPlayer::ScanBackward() { SetSpeed(kScanBackward, "<<"); }
void CSonyPlayer::FastForward() { SetSpeed(kFastForward, ">>>"); }
void CSonyPlayer::FastBackward() { SetSpeed(kFastBackward, "<<<"); }
void CSonyPlayer::NormalSpeed() { SetSpeed(kScanNone, "normal"); }

void CSonyPlayer::NudgeForward()
{
    ScanForward();
    NormalSpeed();
}

BOOL CSonyPlayer::TimecodeOn()
{
    CString text = Word("timecode_on");
    if (OldFirmware())
        text = Word("timecode_on ") + Word("timecode_on ");
    return Send(text);
}

BOOL CSonyPlayer::TimecodeOff()
{
    return Send(Word("timecode_off") + Pause45());
}

BOOL CSonyPlayer::PowerOn()
{
    m_powerWanted = 1;
    return Send(Word("power_on") + Pause45());
}

BOOL CSonyPlayer::PowerOff()
{
    m_powerWanted = 0;
    CString text = Word("power_off") + Pause45();
    // The parser sends from the thread that delivers device texts; a ":flush"
    // from there would hold delivery waiting for an echo only that thread reads.
    if (!OnParserThread())
        text += Word("flush[2000]");
    return Send(text);
}

BOOL CSonyPlayer::RemoteOn()
{
    return Send(Pause45() + Word("remote_on") + Pause45());
}

BOOL CSonyPlayer::RemoteOff()
{
    return Send(Pause45() + Word("remote_off") + Pause45());
}

BOOL CSonyPlayer::QueryPlayerType()
{
    return Send(Word("player_type") + Pause45());
}

BOOL CSonyPlayer::QueryPlayerName()
{
    return Send(Word("player_name ") + Word("ir[-200000]"));
}

BOOL CSonyPlayer::QueryMode()
{
    m_lastModePoll = m_host->Now();
    return Send(Word("mode") + Pause45());
}

BOOL CSonyPlayer::QueryStored()
{
    return Send(Word("query_stored") + Pause45());
}

BOOL CSonyPlayer::Flush()
{
    return Send(Word("flush[2000]"));
}

void CSonyPlayer::FadeUp(int rate)
{
    CString word;
    word.Format("fade_up[%02x]", rate);
    CString text = Word(word) + " ";
    if (OldFirmware())
        text += Word(word);
    Send(text + Pause45());
}

void CSonyPlayer::FadeDown(int rate)
{
    if (m_fadeDownSent)
        return;
    m_fadeDownSent = 1;
    CString word;
    word.Format("fade_down[%02x]", rate);
    Send(Word(word) + Pause45());
}

// ---- Queries with an argument ----

BOOL CSonyPlayer::SendDiscQuery(const char* word, int disc)
{
    if (!CanAddress(disc, -1))
        return FALSE;
    CString device;
    CString code;
    GetDiscAddress(disc, device, code);
    return Send(device + ":" + word + "[" + code + "]" + Pause45());
}

BOOL CSonyPlayer::QueryDisc(int disc)
{
    return SendDiscQuery("query_disc", disc);
}

BOOL CSonyPlayer::QueryTrack(int disc, int track)
{
    if (track < 0 || !CanAddress(disc, track))
        return FALSE;
    CString device;
    CString code;
    GetDiscAddress(disc, device, code);
    return Send(device + ":query_track[" + code + EncodeTrack(track) + "]" + Pause45());
}

BOOL CSonyPlayer::QueryMemoText(int disc)
{
    return SendDiscQuery("query_memo_text", disc);
}

BOOL CSonyPlayer::QueryMemoText2(int disc)
{
    return SendDiscQuery("query_memo_text2", disc);
}

BOOL CSonyPlayer::QueryDeleteFile(int disc)
{
    return SendDiscQuery("query_delete_file", disc);
}

BOOL CSonyPlayer::SendArgumentQuery(const char* format, int value)
{
    CString word;
    word.Format(format, value);
    return Send(Word(word) + Pause45());
}

BOOL CSonyPlayer::QueryCdText(int track)
{
    if (track < 0 || track > 99)
        return FALSE;
    return SendArgumentQuery("query_cd_text[%02x]", int(IntToBcd(track)));
}

BOOL CSonyPlayer::QueryGroupText(int group)
{
    return SendArgumentQuery("query_group_text[%02x]", group + 1);
}

BOOL CSonyPlayer::QueryGroupDiscs(int group)
{
    return SendArgumentQuery("query_group_discs[%02x]", group + 1);
}

BOOL CSonyPlayer::QueryArtistMemo(int artist)
{
    return SendArgumentQuery("query_artist_memo[%02x]", artist);
}

BOOL CSonyPlayer::QueryArtistData(int packet)
{
    return SendArgumentQuery("query_artist_data[%02x]", packet);
}

// ---- Places ----

// The play or cue word at a place; the pause after it always goes to S.
BOOL CSonyPlayer::SendPlaceText(int disc, int track, BOOL play)
{
    CString device;
    CString code;
    GetDiscAddress(disc, device, code);
    CString item = device + (play ? ":play_dt[" : ":pause_dt[") + code + EncodeTrack(track) + "]";
    CString text = item + " ";
    if (OldFirmware())
        text += item;
    return Send(text + Pause45());
}

void CSonyPlayer::SetQueued(int disc, int track, bool keepSearch)
{
    if (!(keepSearch && m_playState == kPlaySearching))
        m_playState = track < 0 ? kPlayWholeDisc : kPlaySingleTrack;
    m_queuedDisc = disc;
    m_queuedTrack = track < 0 ? -1 : track + 1;
}

BOOL CSonyPlayer::PlayOrCue(int disc, int track, BOOL play)
{
    if (!CanAddress(disc, track))
        return FALSE;
    m_lastCommand = m_host->Now();
    m_playRequest = play ? 1 : 0;
    m_playPending = 1;
    m_nearEnd = 0;
    m_requestedDisc = disc;
    m_requestedTrack = track;
    m_noDisc = kNoDiscNone;
    SetQueued(disc, track, false);
    EnsureContinuousMode();
    if (play)
        SendPlaceText(disc, track, TRUE);
    else if (disc != m_currentDisc)
        SendPlaceText(disc, track, FALSE);
    else if (!(track + 1 == m_currentTrack && m_playing))
        SendPlaceText(disc, track, m_fadeUpTime <= 0);
    return TRUE;
}

BOOL CSonyPlayer::Cue(int disc, int track)
{
    if (!CanAddress(disc, track))
        return FALSE;
    m_lastCommand = m_host->Now();
    m_noDisc = kNoDiscNone;
    m_playRequest = 0;
    SetQueued(disc, track, true);
    EnsureContinuousMode();
    m_playPending = 0;
    m_nearEnd = 0;
    m_requestedDisc = disc;
    m_requestedTrack = track;
    SendPlaceText(disc, track, FALSE);
    return TRUE;
}

void CSonyPlayer::SetRequest(int disc, int track, BOOL play)
{
    m_playRequest = play ? 1 : 0;
    m_requestedDisc = disc;
    m_requestedTrack = track;
    m_noDisc = kNoDiscNone;
    SetQueued(disc, track, false);
}

void CSonyPlayer::SetNextEntry(int disc, int track)
{
    m_nextDisc = disc;
    m_nextTrack = track + 1;
}

// ---- Keys ----

BOOL CSonyPlayer::SendKey(const char* key)
{
    for (const KeyRule& rule : kKeys) {
        if (strcmp(rule.key, key) != 0)
            continue;
        CString c = m_controlDevice + ":";
        if (rule.family == kKeyOnly)
            return Send(c + key + " " + m_sendDevice + ":ir[-100000] ");
        if (rule.family == kKeyEF)
            return Send(c + key + " " + m_controlDevice + kEF + " " + m_sendDevice + rule.lastPause);
        CString text = c + key + "  " + m_sendDevice + ":ir[-5000] " + m_controlDevice + kEF + " " +
               m_sendDevice + rule.lastPause;
        if (strcmp(key, "track") == 0)
            text += " " + m_sendDevice + ":ir[-5000] ";
        return Send(text);
    }
    return FALSE;
}

BOOL CSonyPlayer::KeyDisc() { return SendKey("disc"); }
BOOL CSonyPlayer::KeyEnter() { return SendKey("enter"); }
BOOL CSonyPlayer::KeyClear() { return SendKey("clear"); }
BOOL CSonyPlayer::KeyMemoInput() { return SendKey("memo_input"); }
BOOL CSonyPlayer::KeyMemoScan() { return SendKey("memo_scan"); }
BOOL CSonyPlayer::KeyUpArrow() { return SendKey("up_arrow"); }
BOOL CSonyPlayer::KeyBlock() { return SendKey("block"); }
BOOL CSonyPlayer::KeyTrack() { return SendKey("track"); }
BOOL CSonyPlayer::KeyDownArrow() { return SendKey("down_arrow"); }
BOOL CSonyPlayer::KeyLeftArrow() { return SendKey("left_arrow"); }
BOOL CSonyPlayer::KeyRightArrow() { return SendKey("right_arrow"); }
BOOL CSonyPlayer::KeyPlayerSelect() { return SendKey("player_select"); }
BOOL CSonyPlayer::KeyProgram() { return SendKey("program"); }
BOOL CSonyPlayer::KeyContinue() { return SendKey("continue"); }
BOOL CSonyPlayer::KeyRepeat() { return SendKey("repeat"); }

BOOL CSonyPlayer::KeyDigit(int digit)
{
    CString text;
    text.Format("%s:%d  %s:ir[-5000]  %s%s %s:ir[-5000] ", (const char*)m_controlDevice, digit,
                (const char*)m_sendDevice, (const char*)m_controlDevice, kEF, (const char*)m_sendDevice);
    return Send(text);
}

BOOL CSonyPlayer::KeyDiscNumber(int disc)
{
    BOOL sent = KeyDisc();
    if (disc > 99)
        sent = KeyDigit(disc / 100 % 10) && sent;
    if (disc > 9)
        sent = KeyDigit(disc / 10 % 10) && sent;
    return KeyDigit(disc % 10) && sent;
}

void CSonyPlayer::SendOpeningSequence()
{
    const char* const kSteps[][2] = {
        {"9222", "-50000"}, {"9A61FE00", "-50000"}, {"920F", "-50000"}, {"9A700340000100", "-100000"},
    };
    for (const auto& step : kSteps)
        Send(m_controlDevice + ":sl[" + step[0] + "] " + m_controlDevice + ":ir[" + step[1] + "]");
}

void CSonyPlayer::SendShortClose()
{
    Send(m_controlDevice + ":sl[920F] " + m_controlDevice + ":ir[-100000]");
}

void CSonyPlayer::KeyPresses(int key, int times)
{
    for (int i = 0; i < times; ++i)
        KeyDigit(key);
}

void CSonyPlayer::KeyCharacter(char ch, int* charMode)
{
    const char kUpper = 0, kLower = 1, kDigits = 2;
    int wanted = *charMode;
    int key = -1;
    int presses = 0;
    bool enter = true;
    if (isalpha(BYTE(ch))) {
        wanted = isupper(BYTE(ch)) ? kUpper : kLower;
        int i = toupper(BYTE(ch)) - 'A';
        if (i == 'Q' - 'A' || i == 'Z' - 'A') {
            key = 0;
            presses = i == 'Q' - 'A' ? 1 : 2;
        } else {
            if (i > 'P' - 'A')
                --i;
            key = i / 3 + 2;
            presses = i % 3 + 1;
        }
    } else if (isdigit(BYTE(ch))) {
        wanted = kDigits;
        key = ch - '0';
        presses = 1;
        enter = false;
    } else if (ch >= 0x21 && ch <= 0x7E) {
        if (wanted == kDigits)
            wanted = kUpper;
        int position = 0;
        for (char c = 0x21; c < ch; ++c)
            position += isalnum(BYTE(c)) ? 0 : 1;
        key = 1;
        presses = position + 1;
    } else {
        enter = false;
    }
    while (*charMode != wanted) {
        KeyDisc();
        *charMode = (*charMode + 1) % 3;
    }
    if (key < 0) {
        // A space: the changers of type 27 take the track key for it.
        if (m_typeCode == 27)
            KeyTrack();
        else
            KeyBlock();
        return;
    }
    KeyPresses(key, presses);
    if (enter)
        KeyEnter();
}

void CSonyPlayer::KeyTextField(const char* text)
{
    const int kFieldLength = 13;
    KeyClear();
    int mode = 0;
    for (int i = 0; i < kFieldLength && text[i]; ++i)
        KeyCharacter(text[i], &mode);
}

void CSonyPlayer::KeyText(const char* text, BOOL shortClose)
{
    const int kTextLength = 16;
    KeyClear();
    int mode = 0;
    for (int i = 0; i < kTextLength && text[i]; ++i)
        KeyCharacter(text[i], &mode);
    if (shortClose)
        SendShortClose();
    else
        SendOpeningSequence();
}

void CSonyPlayer::EnterDiscMemoByKeys(int disc, const char* text)
{
    KeyDiscNumber(disc);
    KeyMemoInput();
    KeyTextField(text);
    if (strlen(text) < 13)
        KeyMemoInput();
}

// ---- State ----

void CSonyPlayer::ClearDiscInfo()
{
    m_lengthMinutes = m_lengthSeconds = -1;
    m_elapsedMinutes = m_elapsedSeconds = -1;
    m_lastTrack = m_totalMinutes = m_totalSeconds = m_leadValue = m_totalFrames = -1;
    m_infoTrack = m_infoMinutes = m_infoSeconds = -1;
}

void CSonyPlayer::SetCurrentTrack(int track)
{
    if (track == m_currentTrack)
        return;
    m_currentTrack = track;
    m_lengthMinutes = m_lengthSeconds = -1;
}

void CSonyPlayer::SetPlaying(BOOL flag)
{
    if (flag && !m_playing)
        m_playStart = m_host->Now();
    m_playing = flag ? 1 : 0;
}

// Whether the changer, playing or paused as flag says, stands at the place.
BOOL CSonyPlayer::IsAt(int flag, int disc, int track) const
{
    if (m_busy || !flag || m_currentDisc < 1 || m_currentDisc != disc)
        return FALSE;
    if (m_currentTrack < 1)
        return track < 0;
    return track < 0 || m_currentTrack == track + 1;
}

BOOL CSonyPlayer::IsPlayingAt(int disc, int track) const
{
    return IsAt(m_playing, disc, track);
}

BOOL CSonyPlayer::IsPausedAt(int disc, int track) const
{
    return IsAt(m_paused, disc, track);
}

BOOL CSonyPlayer::IsPlaying(int disc, int track)
{
    if (m_noDisc == disc || m_noDisc == kNoDiscIgnored) {
        m_host->DebugEvent("isplaying nodisc");
        return FALSE;
    }
    if (m_host->Now() - m_lastCommand < kSettleSeconds && m_requestedDisc == disc &&
        m_requestedTrack == track)
        return TRUE;
    if (m_busy) {
        if (!IsActive())
            return FALSE;
        return (m_model355 && m_requestedDisc == disc) || m_currentDisc == disc;
    }
    if (!IsActive()) {
        m_host->DebugEvent("isplaying notplaying");
        return FALSE;
    }
    if (m_currentDisc < 1)
        return TRUE;
    if (m_currentDisc != disc) {
        m_host->DebugEvent("isplaying disc mismatch");
        return FALSE;
    }
    if (m_currentTrack < 1 || track < 0 || m_currentTrack == track + 1)
        return TRUE;
    m_host->DebugEvent("isplaying track mismatch");
    return FALSE;
}

int CSonyPlayer::FindGroupOfDisc(int slot) const
{
    if (!IsSlot(slot) || (slot - 1) / 8 >= kGroupMapBytes)
        return -1;
    for (int g = 0; g < kGroups; ++g) {
        if (m_groupValid[g] && (m_groupMaps[g][(slot - 1) / 8] & (1 << ((slot - 1) % 8))))
            return g;
    }
    return -1;
}

BOOL CSonyPlayer::HasUnknownSlots() const
{
    if (m_doorOpen || m_capacity < 1)
        return FALSE;
    for (int s = 1; s <= m_capacity && s <= kSlots; ++s) {
        if (!(m_slots[s - 1] & kSlotKnown))
            return TRUE;
    }
    return FALSE;
}

// ---- Requests of the player control ----

void CSonyPlayer::FadeUpOrPlay()
{
    if (m_fadeUpTime > 0 && !m_preview)
        FadeUp(m_fadeUpTime);
    else
        Play();
}

BOOL CSonyPlayer::PlayAt(int disc, int track)
{
    if (IsPlayingAt(disc, track)) {
        SetRequest(disc, track, FALSE);
        return FALSE;
    }
    if (IsPausedAt(disc, track)) {
        FadeUpOrPlay();
        return TRUE;
    }
    if (IsPlaying(disc, track))
        return FALSE;
    return PlayOrCue(disc, track, FALSE);
}

BOOL CSonyPlayer::PauseAt(int disc, int track)
{
    return HoldAt(disc, track, &CSonyPlayer::Pause);
}

BOOL CSonyPlayer::CueAt(int disc, int track)
{
    return HoldAt(disc, track, nullptr);
}

// Pause or cue: a playing place is held (pause, else cued again) and its mode
// asked; a place already held or being reached is left alone.
BOOL CSonyPlayer::HoldAt(int disc, int track, void (CSonyPlayer::*hold)())
{
    if (IsPlayingAt(disc, track)) {
        if (hold)
            (this->*hold)();
        else
            Cue(disc, track);
        QueryMode();
        return TRUE;
    }
    if (IsPausedAt(disc, track) || IsPlaying(disc, track))
        return FALSE;
    return Cue(disc, track);
}

// A play on its way (its word sent, or waiting for the changer to reach its
// place) counts: the changer reports it only after the stop is asked for, and
// would play on. The stop also ends the wait, so reaching the place starts
// nothing.
BOOL CSonyPlayer::StopIfActive()
{
    if (IsActive() || m_playPending)
        Stop();
    m_playPending = 0;
    return TRUE;
}

BOOL CSonyPlayer::EnsureContinuousMode()
{
    if (m_program || m_shuffle || !m_allDiscs)
        KeyContinue();
    else if (m_repeatOne || m_repeatAll)
        KeyRepeat();
    else
        return TRUE;
    // The mode report that ends the wait comes through the parser itself.
    if (OnParserThread())
        return FALSE;
    for (int poll = 0; poll < kModePolls; ++poll) {
        if (!m_program && !m_shuffle && m_allDiscs && !m_repeatOne && !m_repeatAll)
            return TRUE;
        Sleep(kModePollMs);
    }
    return FALSE;
}

// ---- Requests that wait ----

BOOL CSonyPlayer::ReadDiscInfo(int disc, const volatile BYTE* cancel)
{
    const int kUnknown = -1;
    m_leadValue = kUnknown;
    const volatile int* lead = &m_leadValue;
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryDisc(disc);
        Flush();
        if (WaitForCondition(5000, [lead] { return *lead != kUnknown; }, cancel))
            return TRUE;
    }
    return FALSE;
}

BOOL CSonyPlayer::ReadTrackInfo(int disc, int track, const volatile BYTE* cancel)
{
    const int wanted = track + 1;
    m_infoTrack = -1;
    const volatile int* answered = &m_infoTrack;
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryTrack(disc, track);
        Flush();
        if (WaitForCondition(2000, [answered, wanted] { return *answered == wanted; }, cancel))
            return TRUE;
    }
    return FALSE;
}

BOOL CSonyPlayer::WaitForDiscReady(int slot, int ms, const volatile BYTE* cancel)
{
    const volatile int* disc = &m_currentDisc;
    const volatile int* track = &m_currentTrack;
    return WaitForCondition(ms, [=] { return *disc == slot && (*track >= 1 || *track == kTrackUnreadable); }, cancel);
}

BOOL CSonyPlayer::DetectPlayerType()
{
    const int kUnknown = -1;
    m_typeCode = kUnknown;
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryPlayerType();
        if (WaitForBuffersDiffer(500, &m_typeCode, &kUnknown, sizeof(int), nullptr))
            return TRUE;
    }
    return FALSE;
}

void CSonyPlayer::DownloadGroups()
{
    typedef BOOL (CSonyPlayer::*Query)(int);
    const Query kQueries[] = {&CSonyPlayer::QueryGroupText, &CSonyPlayer::QueryGroupDiscs};
    const int kUnknown = -1;
    Send(Word("ir[-100000]"));
    for (Query query : kQueries) {
        for (int g = 0; g < kGroups; ++g) {
            m_groupReply = kUnknown;
            bool answered = false;
            for (int attempt = 0; attempt <= kRetries && !answered; ++attempt) {
                (this->*query)(g);
                Flush();
                answered = WaitForBuffersDiffer(1000, &m_groupReply, &kUnknown, sizeof(int), nullptr);
            }
            if (!answered)
                return;
        }
    }
}

BOOL CSonyPlayer::WaitForPlaying(int ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (m_report)
            return TRUE;
        ResetEvent(m_statusEvent);
        if (m_report)
            return TRUE;
        DWORD spent = GetTickCount() - start;
        if (spent >= DWORD(ms) || WaitForSingleObject(m_statusEvent, ms - spent) != WAIT_OBJECT_0)
            return FALSE;
    }
}

// ---- Texts ----

void CSonyPlayer::SetText(CString& field, const CString& value)
{
    CSingleLock lock(&m_textLock, TRUE);
    field = value;
}

CString CSonyPlayer::GetPlayerName() const
{
    CSingleLock lock(&m_textLock, TRUE);
    return m_playerName;
}

CString CSonyPlayer::GetStatusLine() const
{
    CSingleLock lock(&m_textLock, TRUE);
    return m_statusLine;
}

CString CSonyPlayer::GetMemoText() const
{
    CSingleLock lock(&m_textLock, TRUE);
    return m_memoText;
}

CString CSonyPlayer::GetCdText() const
{
    CSingleLock lock(&m_textLock, TRUE);
    return m_cdText;
}

CString CSonyPlayer::GetGroupName(int group) const
{
    CSingleLock lock(&m_textLock, TRUE);
    return group >= 0 && group < kGroups ? m_groupNames[group] : CString();
}

CString CSonyPlayer::GetArtistText(int artist) const
{
    CSingleLock lock(&m_textLock, TRUE);
    return artist >= 0 && artist < kArtists ? m_artistTexts[artist] : CString();
}

void CSonyPlayer::SetArtistText(int artist, const char* text)
{
    if (artist >= 0 && artist < kArtists)
        SetText(m_artistTexts[artist], text);
}

CString CSonyPlayer::GetName() const
{
    CString name;
    name.Format("CD %d", m_playerNumber + 1);
    return name;
}
