#include "mp3/player/MPEGRequests.h"

#include <time.h>

#include "mp3/decoder/DecoderMessage.h"
#include "mp3/decoder/DecoderPlayer.h"

namespace {

// The current album's id before the first request: it matches no album.
const char kNoAlbumId[] = "<none>";

// Seconds a start counts as playing before the decoder reports it: opening a
// file over the network or on a sleeping disc takes that long.
const DWORD kStartGraceSeconds = 5;

}  // namespace

class CMPEGRequests::CGuard
{
public:
    explicit CGuard(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~CGuard() { LeaveCriticalSection(&m_lock); }
    CGuard(const CGuard&) = delete;
    CGuard& operator=(const CGuard&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

CMPEGRequests::CMPEGRequests()
{
    InitializeCriticalSection(&m_lock);
    ResetItem();
}

CMPEGRequests::~CMPEGRequests()
{
    DeleteCriticalSection(&m_lock);
}

void CMPEGRequests::ResetItem()
{
    CGuard guard(m_lock);
    m_album = AlbumRecord();
    m_album.SetIdText(kNoAlbumId);
    m_durationMinutes = m_durationSeconds = -1;
    m_positionMinutes = m_positionSeconds = -1;
    m_track = -1;
    m_wholeAlbum = FALSE;
    m_playRequested = 0;
    m_finished = m_playing = m_paused = m_error = m_busy = 0;
}

BOOL CMPEGRequests::IsCurrent(const AlbumRecord& album, int track) const
{
    if (track < 0)
        return album.GetIdText() == m_album.GetIdText();
    if (track >= album.GetTrackCount() || m_track < 0 || m_track >= m_album.GetTrackCount())
        return FALSE;
    return album.GetFileLocation(track) == m_album.GetFileLocation(m_track);
}

BOOL CMPEGRequests::IsPlayingItem(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    return m_playing && IsCurrent(album, track);
}

BOOL CMPEGRequests::IsPausedItem(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    return m_paused && IsCurrent(album, track);
}

DWORD CMPEGRequests::Now()
{
    return (DWORD)time(nullptr);
}

BOOL CMPEGRequests::Target(const AlbumRecord& album, int track, int* target)
{
    m_steppedPastFailedOpen = FALSE;
    m_wholeAlbum = track < 0;
    *target = track < 0 ? 0 : track;
    return *target < album.GetTrackCount();
}

BOOL CMPEGRequests::IsNewItem(const AlbumRecord& album, int track) const
{
    return album.GetIdText() != m_album.GetIdText() || track != m_track;
}

void CMPEGRequests::Open()
{
    m_error = 0;
    m_opening = TRUE;
    m_busy = 1;
    m_resuming = FALSE;
    // The stream opened tells its own length.
    m_durationMinutes = m_durationSeconds = -1;
    PostRequest(kMp3Open);
}

void CMPEGRequests::StampPlay()
{
    m_requestTime = Now();
    PostRequest(kMp3Play);
}

void CMPEGRequests::Resume()
{
    m_resuming = TRUE;
    PostRequest(kMp3Play);
}

void CMPEGRequests::StartItem(const AlbumRecord& album, int track)
{
    int t;
    if (!Target(album, track, &t))
        return;
    if (IsNewItem(album, t)) {
        m_album = album;
        m_track = t;
        m_requestTime = Now();
        PostRequest(kMp3Stop);
        Open();
        StampPlay();
        if (!m_playing)
            m_playingSince = Now();
        m_playing = 1;
        m_finished = 0;
    }
    m_playRequested = 1;
    // The playing thread asks for the current item at every step: the item
    // playing keeps its near-end mark, or the next player would start and
    // be cued back in turn.
    if (!(m_playing && IsCurrent(album, track)) && !m_error) {
        m_finished = 0;
        PostRequest(kMp3Play);
        m_playing = 1;
    }
}

void CMPEGRequests::CueItem(const AlbumRecord& album, int track)
{
    int t;
    if (!Target(album, track, &t))
        return;
    if (IsNewItem(album, t)) {
        m_album = album;
        m_track = t;
        m_positionMinutes = m_positionSeconds = 0;
        Open();
    }
    m_resuming = FALSE;
    PostRequest(kMp3Stop);
    PostRequest(kMp3Pause);
    m_playRequested = 0;
    m_finished = 0;
    m_paused = 1;
}

BOOL CMPEGRequests::Play(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    if (m_playing && IsCurrent(album, track))
        return FALSE;
    if (m_paused && IsCurrent(album, track))
        Resume();
    else
        StartItem(album, track);
    return TRUE;
}

BOOL CMPEGRequests::PlayOn(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    // The item ended after the caller looked: playing it now would start it over.
    if (m_finished && !m_playing && !m_paused && IsCurrent(album, track))
        return FALSE;
    return Play(album, track);
}

BOOL CMPEGRequests::Pause(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    if (m_playing && IsCurrent(album, track)) {
        PostRequest(kMp3Pause);
        return TRUE;
    }
    if (m_paused && IsCurrent(album, track))
        return FALSE;
    CueItem(album, track);
    return TRUE;
}

BOOL CMPEGRequests::Cue(const AlbumRecord& album, int track)
{
    CGuard guard(m_lock);
    if (m_paused && IsCurrent(album, track) && m_positionMinutes == 0 && m_positionSeconds == 0)
        return FALSE;
    CueItem(album, track);
    return TRUE;
}

BOOL CMPEGRequests::StopPlayback()
{
    CGuard guard(m_lock);
    m_resuming = FALSE;
    if (m_playing || m_paused)
        PostRequest(kMp3Stop);
    return TRUE;
}

BOOL CMPEGRequests::PrevTrack()
{
    CGuard guard(m_lock);
    if (m_track > 0) {
        m_track--;
        PostRequest(kMp3Stop);
        Open();
        if (m_playing)
            PostRequest(kMp3Play);
    }
    return TRUE;
}

BOOL CMPEGRequests::NextTrack()
{
    CGuard guard(m_lock);
    if (m_track + 1 < m_album.GetTrackCount()) {
        m_track++;
        if (m_playing) {
            Open();
            PostRequest(kMp3Play);
        } else {
            PostRequest(kMp3Stop);
            Open();
        }
    }
    return TRUE;
}

void CMPEGRequests::PostPlay()
{
    CGuard guard(m_lock);
    StampPlay();
}

void CMPEGRequests::PostOpen()
{
    CGuard guard(m_lock);
    Open();
}

void CMPEGRequests::Stop()
{
    CGuard guard(m_lock);
    m_resuming = FALSE;
    PostRequest(kMp3Stop);
}

void CMPEGRequests::PostPause()
{
    PostRequest(kMp3Pause);
}

void CMPEGRequests::TogglePause()
{
    CGuard guard(m_lock);
    if (m_playing)
        PostRequest(kMp3Pause);
    else if (m_paused)
        Resume();
}

BOOL CMPEGRequests::IsPlaying()
{
    CGuard guard(m_lock);
    return m_playing;
}

BOOL CMPEGRequests::IsPaused()
{
    CGuard guard(m_lock);
    return m_paused;
}

BOOL CMPEGRequests::IsBusy()
{
    CGuard guard(m_lock);
    return m_busy;
}

BOOL CMPEGRequests::IsFinished()
{
    CGuard guard(m_lock);
    return m_finished;
}

BOOL CMPEGRequests::HasError()
{
    CGuard guard(m_lock);
    return m_error;
}

void CMPEGRequests::ClearFinished()
{
    CGuard guard(m_lock);
    m_finished = 0;
}

CString CMPEGRequests::GetAlbumId()
{
    CGuard guard(m_lock);
    return m_album.GetIdText();
}

int CMPEGRequests::GetTrack()
{
    CGuard guard(m_lock);
    return m_track;
}

CString CMPEGRequests::GetCurrentLocation()
{
    CGuard guard(m_lock);
    return m_track >= 0 && m_track < m_album.GetTrackCount() ? m_album.GetFileLocation(m_track) : CString();
}

void CMPEGRequests::GetPosition(int* minutes, int* seconds)
{
    CGuard guard(m_lock);
    *minutes = m_positionMinutes;
    *seconds = m_positionSeconds;
}

time_t CMPEGRequests::GetPlayStart()
{
    CGuard guard(m_lock);
    return m_playingSince;
}

void CMPEGRequests::GetDuration(int* minutes, int* seconds)
{
    CGuard guard(m_lock);
    *minutes = m_durationMinutes;
    *seconds = m_durationSeconds;
}

BOOL CMPEGRequests::IsWholeAlbum()
{
    CGuard guard(m_lock);
    return m_wholeAlbum;
}

BOOL CMPEGRequests::InStartGrace()
{
    CGuard guard(m_lock);
    return m_requestTime != 0 && Now() - m_requestTime < kStartGraceSeconds;
}

int CMPEGRequests::GetPlayState()
{
    CGuard guard(m_lock);
    return m_playState;
}

void CMPEGRequests::SetPlayState(int state)
{
    CGuard guard(m_lock);
    m_playState = state;
}

// An item that ended is over, also inside its start's grace time: a short
// track must not count as playing on, or the next play request starts it again.
void CMPEGRequests::EndItem()
{
    m_requestTime = 0;
    m_steppedPastFailedOpen = FALSE;
    m_resuming = FALSE;
    m_finished = 1;
    m_playing = m_paused = 0;
    m_opening = FALSE;
    m_busy = 0;
}

BOOL CMPEGRequests::StepToNextTrack()
{
    if (!m_wholeAlbum || m_track + 1 >= m_album.GetTrackCount())
        return FALSE;
    m_track++;
    return TRUE;
}

void CMPEGRequests::OnPlayerState(int state)
{
    CGuard guard(m_lock);
    switch (state) {
    case kPlayerStopped:
        if (m_opening)
            m_playing = m_paused = 0;
        else if (!m_resuming)
            EndItem();
        break;
    case kPlayerPlaying:
        m_resuming = FALSE;
        m_finished = 0;
        m_playing = 1;
        m_paused = 0;
        m_opening = FALSE;
        m_busy = 0;
        break;
    case kPlayerPaused:
        m_resuming = FALSE;
        m_playing = 0;
        m_paused = 1;
        m_opening = FALSE;
        m_busy = 0;
        break;
    case kPlayerInputEnd:
        if (StepToNextTrack()) {
            Open();
            PostRequest(kMp3Play);
        } else {
            EndItem();
            SendCommand(kMsgStop);
        }
        break;
    }
    SignalStatus();
}

void CMPEGRequests::OnInputDuration(int seconds)
{
    CGuard guard(m_lock);
    m_durationMinutes = seconds / 60;
    m_durationSeconds = seconds % 60;
    m_busy = 0;
    SignalStatus();
}

void CMPEGRequests::OnInputTimecode(int minutes, int seconds)
{
    CGuard guard(m_lock);
    m_playing = 1;
    BOOL changed = seconds != m_positionSeconds || minutes != m_positionMinutes;
    m_positionMinutes = minutes;
    m_positionSeconds = seconds;
    if (changed)
        SignalStatus();
    // Until the stream tells its length no end is near: a start would
    // otherwise look finished and start the next player at once. A stream
    // without a length header opens with a length of 0, the real one
    // following its first frame's timecode.
    if (m_durationMinutes < 0 || (m_durationMinutes == 0 && m_durationSeconds == 0))
        return;
    int remaining = (m_durationMinutes * 60 + m_durationSeconds) - (minutes * 60 + seconds);
    m_finished = m_fadeOverlapTime >= 1 && remaining < m_fadeOverlapTime;
}

void CMPEGRequests::SetFades(int fadeDown, int fadeUp, int overlap)
{
    CGuard guard(m_lock);
    m_fadeDownTime = fadeDown;
    m_fadeUpTime = fadeUp;
    m_fadeOverlapTime = overlap;
}

void CMPEGRequests::SetPreview(BYTE preview)
{
    CGuard guard(m_lock);
    m_preview = preview;
}

void CMPEGRequests::OnNack(int command)
{
    CGuard guard(m_lock);
    // The stop that goes before an open finds no input when nothing played
    // before: that says nothing about the new item.
    if (command == kMsgStop && m_opening)
        return;
    if (command == kMsgPlay && m_steppedPastFailedOpen) {
        m_steppedPastFailedOpen = FALSE;
        m_playRequested = 1;
        PostRequest(kMp3Play);
    } else if ((command == kMsgPlay || command == kMsgInputOpen) && StepToNextTrack()) {
        Open();
        m_steppedPastFailedOpen = command == kMsgInputOpen;
        if (command == kMsgPlay) {
            m_playRequested = 1;
            PostRequest(kMp3Play);
        }
    } else {
        EndItem();
        m_error = 1;
    }
    SignalStatus();
}

void CMPEGRequests::OnOutputFailed()
{
    CGuard guard(m_lock);
    // Every other track would fail on the same device: the album stops where
    // it is, and a finished item would let the play list move on as if it had
    // played.
    EndItem();
    m_finished = 0;
    m_playRequested = 0;
    m_error = 1;
    ReportNoOutput();
    SignalStatus();
}

void CMPEGRequests::OnErrorReport()
{
    CGuard guard(m_lock);
    EndItem();
}
