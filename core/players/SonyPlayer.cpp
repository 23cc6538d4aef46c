// The changer player's places, requests of the player control, waits and texts.
#include "core/players/SonyPlayer.h"

#include "core/devpath/DevicePath.h"
#include "core/players/PlayerHost.h"

namespace {

const int kSettleSeconds = 10;
const int kModePolls = 20;
const int kModePollMs = 100;
const int kRetries = 5;

} // namespace

CSonyPlayer::CSonyPlayer(CPlayerHost* host)
    : m_host(host), m_link(host, m_store), m_transport(m_link, m_store, host), m_queries(m_link, m_store),
      m_keypad(m_link, m_store), m_memos(*this, m_link, m_keypad, m_store), m_parser(*this, m_store, host)
{
}

CSonyPlayer::~CSonyPlayer()
{
    Flush();
    CDevicePath& path = m_host->GetDevicePath();
    const ChangerAddress& a = GetAddress();
    path.DeleteDevice(a.controlDevice);
    path.DeleteDevice(a.sendDevice);
    path.DeleteDevice(a.receiveDevice);
    if (!a.upperSendDevice.IsEmpty())
        path.DeleteDevice(a.upperSendDevice);
    if (!a.upperReceiveDevice.IsEmpty())
        path.DeleteDevice(a.upperReceiveDevice);
}

// ---- Disc and track codes ----

void CSonyPlayer::GetDiscAddress(int disc, CString& device, CString& code) const
{
    m_link.GetDiscAddress(disc, m_store.Get().capacity, device, code);
}

CString CSonyPlayer::EncodeDisc(int disc) const
{
    return CChangerLink::EncodeDisc(disc, m_store.Get().capacity);
}

int CSonyPlayer::DecodeTrack(int code, bool forceBcd)
{
    int track = 0;
    m_store.Change([&](ChangerState& s) { track = s.DecodeTrack(code, forceBcd); });
    return track;
}

void CSonyPlayer::DebugEvent(const char* text)
{
    CChangerStateStore::COutside outside(m_store);
    m_host->DebugEvent(text);
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
    if (m_link.OldFirmware())
        text += item;
    return Send(text + m_link.Pause45());
}

void CSonyPlayer::SetQueued(ChangerState& s, int disc, int track, bool keepSearch)
{
    if (!(keepSearch && s.playState == kPlaySearching))
        s.playState = track < 0 ? kPlayWholeDisc : kPlaySingleTrack;
    s.queuedDisc = disc;
    s.queuedTrack = track < 0 ? -1 : track + 1;
}

BOOL CSonyPlayer::PlayOrCue(int disc, int track, BOOL play)
{
    if (!CanAddress(disc, track))
        return FALSE;
    time_t now = m_host->Now();
    m_store.Change([&](ChangerState& s) {
        s.lastCommand = now;
        s.playRequest = play ? 1 : 0;
        s.playPending = 1;
        s.nearEnd = 0;
        s.requestedDisc = disc;
        s.requestedTrack = track;
        s.noDisc = kNoDiscNone;
        SetQueued(s, disc, track, false);
    });
    EnsureContinuousMode();
    ChangerState s = m_store.Get();
    if (play)
        SendPlaceText(disc, track, TRUE);
    else if (disc != s.currentDisc)
        SendPlaceText(disc, track, FALSE);
    else if (!(track + 1 == s.currentTrack && s.playing))
        SendPlaceText(disc, track, s.fadeUpTime <= 0);
    return TRUE;
}

BOOL CSonyPlayer::Cue(int disc, int track)
{
    if (!CanAddress(disc, track))
        return FALSE;
    time_t now = m_host->Now();
    m_store.Change([&](ChangerState& s) {
        s.lastCommand = now;
        s.noDisc = kNoDiscNone;
        s.playRequest = 0;
        SetQueued(s, disc, track, true);
    });
    EnsureContinuousMode();
    m_store.Change([&](ChangerState& s) {
        s.playPending = 0;
        s.nearEnd = 0;
        s.requestedDisc = disc;
        s.requestedTrack = track;
    });
    SendPlaceText(disc, track, FALSE);
    return TRUE;
}

void CSonyPlayer::SetRequest(int disc, int track, BOOL play)
{
    m_store.Change([&](ChangerState& s) {
        s.playRequest = play ? 1 : 0;
        s.requestedDisc = disc;
        s.requestedTrack = track;
        s.noDisc = kNoDiscNone;
        SetQueued(s, disc, track, false);
    });
}

void CSonyPlayer::SetNextEntry(int disc, int track)
{
    m_store.Change([disc, track](ChangerState& s) {
        s.nextDisc = disc;
        s.nextTrack = track + 1;
    });
}

// ---- State ----

void CSonyPlayer::ClearDiscInfo()
{
    m_store.Change([](ChangerState& s) { s.ClearDiscInfo(); });
}

void CSonyPlayer::SetCurrentTrack(int track)
{
    m_store.Change([track](ChangerState& s) { s.SetCurrentTrack(track); });
}

void CSonyPlayer::SetPlaying(BOOL flag)
{
    time_t now = m_host->Now();
    m_store.Change([flag, now](ChangerState& s) { s.SetPlaying(flag != FALSE, now); });
}

namespace {

// Whether the changer, playing or paused as flag says, stands at the place.
BOOL IsAt(const ChangerState& s, int flag, int disc, int track)
{
    if (s.busy || !flag || s.currentDisc < 1 || s.currentDisc != disc)
        return FALSE;
    if (s.currentTrack < 1)
        return track < 0;
    return track < 0 || s.currentTrack == track + 1;
}

} // namespace

BOOL CSonyPlayer::IsPlayingAt(int disc, int track) const
{
    ChangerState s = m_store.Get();
    return IsAt(s, s.playing, disc, track);
}

BOOL CSonyPlayer::IsPausedAt(int disc, int track) const
{
    ChangerState s = m_store.Get();
    return IsAt(s, s.paused, disc, track);
}

BOOL CSonyPlayer::IsPlaying(int disc, int track)
{
    const ChangerState s = m_store.Get();
    if (s.noDisc == disc || s.noDisc == kNoDiscIgnored) {
        DebugEvent("isplaying nodisc");
        return FALSE;
    }
    if (m_host->Now() - s.lastCommand < kSettleSeconds && s.requestedDisc == disc && s.requestedTrack == track)
        return TRUE;
    if (s.busy) {
        if (!s.IsActive())
            return FALSE;
        return (s.model355 && s.requestedDisc == disc) || s.currentDisc == disc;
    }
    if (!s.IsActive()) {
        DebugEvent("isplaying notplaying");
        return FALSE;
    }
    if (s.currentDisc < 1)
        return TRUE;
    if (s.currentDisc != disc) {
        DebugEvent("isplaying disc mismatch");
        return FALSE;
    }
    if (s.currentTrack < 1 || track < 0 || s.currentTrack == track + 1)
        return TRUE;
    DebugEvent("isplaying track mismatch");
    return FALSE;
}

int CSonyPlayer::FindGroupOfDisc(int slot) const
{
    if (!ChangerState::IsSlot(slot) || (slot - 1) / 8 >= kGroupMapBytes)
        return -1;
    const ChangerState s = m_store.Get();
    for (int g = 0; g < kGroups; ++g) {
        if (s.groupValid[g] && (s.groupMaps[g][(slot - 1) / 8] & (1 << ((slot - 1) % 8))))
            return g;
    }
    return -1;
}

BOOL CSonyPlayer::HasUnknownSlots() const
{
    const ChangerState s = m_store.Get();
    if (s.doorOpen || s.capacity < 1)
        return FALSE;
    for (int slot = 1; slot <= s.capacity && slot <= kSlots; ++slot) {
        if (!(s.slots[slot - 1] & kSlotKnown))
            return TRUE;
    }
    return FALSE;
}

bool CSonyPlayer::HasAllBits(int bits) const
{
    int typeCode = m_store.Get().typeCode;
    return typeCode >= 0 && (typeCode & bits) == bits;
}

// ---- Requests of the player control ----

void CSonyPlayer::FadeUpOrPlay()
{
    ChangerState s = m_store.Get();
    if (s.fadeUpTime > 0 && !s.preview)
        FadeUp(s.fadeUpTime);
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
    ChangerState s = m_store.Get();
    if (s.IsActive() || s.playPending)
        Stop();
    m_store.Change([](ChangerState& state) { state.playPending = 0; });
    return TRUE;
}

BOOL CSonyPlayer::EnsureContinuousMode()
{
    auto continuous = [](const ChangerState& s) {
        return !s.program && !s.shuffle && s.allDiscs && !s.repeatOne && !s.repeatAll;
    };
    ChangerState s = m_store.Get();
    if (s.program || s.shuffle || !s.allDiscs)
        KeyContinue();
    else if (s.repeatOne || s.repeatAll)
        KeyRepeat();
    else
        return TRUE;
    // The mode report that ends the wait comes through the parser itself.
    if (m_store.OnParserThread())
        return FALSE;
    return m_store.WaitFor(kModePolls * kModePollMs, continuous, nullptr);
}

// ---- Requests that wait ----

BOOL CSonyPlayer::ReadDiscInfo(int disc, const TaskCancelFlag* cancel)
{
    const int kUnknown = -1;
    m_store.Change([](ChangerState& s) { s.leadValue = kUnknown; });
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryDisc(disc);
        Flush();
        if (m_store.WaitFor(5000, [](const ChangerState& s) { return s.leadValue != kUnknown; }, cancel))
            return TRUE;
    }
    return FALSE;
}

BOOL CSonyPlayer::ReadTrackInfo(int disc, int track, const TaskCancelFlag* cancel)
{
    const int wanted = track + 1;
    m_store.Change([](ChangerState& s) { s.infoTrack = -1; });
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryTrack(disc, track);
        Flush();
        if (m_store.WaitFor(2000, [wanted](const ChangerState& s) { return s.infoTrack == wanted; }, cancel))
            return TRUE;
    }
    return FALSE;
}

BOOL CSonyPlayer::WaitForDiscReady(int slot, int ms, const TaskCancelFlag* cancel)
{
    auto ready = [slot](const ChangerState& s) {
        return s.currentDisc == slot && (s.currentTrack >= 1 || s.currentTrack == kTrackUnreadable);
    };
    return m_store.WaitFor(ms, ready, cancel);
}

BOOL CSonyPlayer::DetectPlayerType()
{
    const int kUnknown = -1;
    m_store.Change([](ChangerState& s) { s.typeCode = kUnknown; });
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        QueryPlayerType();
        if (m_store.WaitFor(500, [](const ChangerState& s) { return s.typeCode != kUnknown; }, nullptr))
            return TRUE;
    }
    return FALSE;
}

void CSonyPlayer::DownloadGroups()
{
    typedef BOOL (CSonyPlayer::*Query)(int);
    const Query kQueries[] = {&CSonyPlayer::QueryGroupText, &CSonyPlayer::QueryGroupDiscs};
    const int kUnknown = -1;
    auto answered = [](const ChangerState& s) { return s.groupReply != kUnknown; };
    Send(m_link.Word("ir[-100000]"));
    for (Query query : kQueries) {
        for (int g = 0; g < kGroups; ++g) {
            m_store.Change([](ChangerState& s) { s.groupReply = kUnknown; });
            bool heard = false;
            for (int attempt = 0; attempt <= kRetries && !heard; ++attempt) {
                (this->*query)(g);
                Flush();
                heard = m_store.WaitFor(1000, answered, nullptr);
            }
            if (!heard)
                return;
        }
    }
}

BOOL CSonyPlayer::WaitForPlaying(int ms)
{
    return m_store.WaitFor(ms, [](const ChangerState& s) { return s.report != 0; }, nullptr);
}

// ---- Texts ----

CString CSonyPlayer::GetPlayerName() const
{
    return m_store.ReadText([](const ChangerTexts& t) { return t.playerName; });
}

CString CSonyPlayer::GetStatusLine() const
{
    return m_store.ReadText([](const ChangerTexts& t) { return t.statusLine; });
}

CString CSonyPlayer::GetMemoText() const
{
    return m_store.ReadText([](const ChangerTexts& t) { return t.memoText; });
}

CString CSonyPlayer::GetCdText() const
{
    return m_store.ReadText([](const ChangerTexts& t) { return t.cdText; });
}

CString CSonyPlayer::GetGroupName(int group) const
{
    if (group < 0 || group >= kGroups)
        return CString();
    return m_store.ReadText([group](const ChangerTexts& t) { return t.groupNames[group]; });
}

CString CSonyPlayer::GetArtistText(int artist) const
{
    if (artist < 0 || artist >= kArtists)
        return CString();
    return m_store.ReadText([artist](const ChangerTexts& t) { return t.artistTexts[artist]; });
}

void CSonyPlayer::SetArtistText(int artist, const char* text)
{
    if (artist >= 0 && artist < kArtists)
        m_store.ChangeTexts([artist, text](ChangerTexts& t) { t.artistTexts[artist] = text; });
}

CString CSonyPlayer::GetName() const
{
    CString name;
    name.Format("CD %d", m_store.Get().playerNumber + 1);
    return name;
}

CSearchModeHold::CSearchModeHold(CSonyPlayer& player) : m_player(player), m_saved(ChangerState::kPlayNone)
{
    player.ChangeState([this](ChangerState& s) {
        m_saved = s.playState;
        s.playState = ChangerState::kPlaySearching;
    });
}

CSearchModeHold::~CSearchModeHold()
{
    int saved = m_saved;
    m_player.ChangeState([saved](ChangerState& s) { s.playState = saved; });
}
