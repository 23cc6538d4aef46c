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

CMPEGRequests::CMPEGRequests()
{
    ResetItem();
}

void CMPEGRequests::ResetItem()
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    return m_playing && IsCurrent(album, track);
}

BOOL CMPEGRequests::IsPausedItem(const AlbumRecord& album, int track)
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    // The item ended after the caller looked: playing it now would start it over.
    if (m_finished && !m_playing && !m_paused && IsCurrent(album, track))
        return FALSE;
    return Play(album, track);
}

BOOL CMPEGRequests::Pause(const AlbumRecord& album, int track)
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    if (m_paused && IsCurrent(album, track) && m_positionMinutes == 0 && m_positionSeconds == 0)
        return FALSE;
    CueItem(album, track);
    return TRUE;
}

BOOL CMPEGRequests::StopPlayback()
{
    CSingleLock guard(&m_lock, TRUE);
    m_resuming = FALSE;
    if (m_playing || m_paused)
        PostRequest(kMp3Stop);
    return TRUE;
}

BOOL CMPEGRequests::PrevTrack()
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    StampPlay();
}

void CMPEGRequests::PostOpen()
{
    CSingleLock guard(&m_lock, TRUE);
    Open();
}

void CMPEGRequests::Stop()
{
    CSingleLock guard(&m_lock, TRUE);
    m_resuming = FALSE;
    PostRequest(kMp3Stop);
}

void CMPEGRequests::PostPause()
{
    PostRequest(kMp3Pause);
}

void CMPEGRequests::TogglePause()
{
    CSingleLock guard(&m_lock, TRUE);
    if (m_playing)
        PostRequest(kMp3Pause);
    else if (m_paused)
        Resume();
}

BOOL CMPEGRequests::IsPlaying()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_playing;
}

BOOL CMPEGRequests::IsPaused()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_paused;
}

BOOL CMPEGRequests::IsBusy()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_busy;
}

BOOL CMPEGRequests::IsFinished()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_finished;
}

BOOL CMPEGRequests::HasError()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_error;
}

void CMPEGRequests::ClearFinished()
{
    CSingleLock guard(&m_lock, TRUE);
    m_finished = 0;
}

CString CMPEGRequests::GetAlbumId()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_album.GetIdText();
}

int CMPEGRequests::GetTrack()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_track;
}

CString CMPEGRequests::GetCurrentLocation()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_track >= 0 && m_track < m_album.GetTrackCount() ? m_album.GetFileLocation(m_track) : CString();
}

void CMPEGRequests::GetPosition(int* minutes, int* seconds)
{
    CSingleLock guard(&m_lock, TRUE);
    *minutes = m_positionMinutes;
    *seconds = m_positionSeconds;
}

time_t CMPEGRequests::GetPlayStart()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_playingSince;
}

void CMPEGRequests::GetDuration(int* minutes, int* seconds)
{
    CSingleLock guard(&m_lock, TRUE);
    *minutes = m_durationMinutes;
    *seconds = m_durationSeconds;
}

BOOL CMPEGRequests::IsWholeAlbum()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_wholeAlbum;
}

BOOL CMPEGRequests::InStartGrace()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_requestTime != 0 && Now() - m_requestTime < kStartGraceSeconds;
}

int CMPEGRequests::GetPlayState()
{
    CSingleLock guard(&m_lock, TRUE);
    return m_playState;
}

void CMPEGRequests::SetPlayState(int state)
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    m_durationMinutes = seconds / 60;
    m_durationSeconds = seconds % 60;
    m_busy = 0;
    SignalStatus();
}

void CMPEGRequests::OnInputTimecode(int minutes, int seconds)
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    m_fadeDownTime = fadeDown;
    m_fadeUpTime = fadeUp;
    m_fadeOverlapTime = overlap;
}

void CMPEGRequests::SetPreview(BYTE preview)
{
    CSingleLock guard(&m_lock, TRUE);
    m_preview = preview;
}

void CMPEGRequests::OnNack(int command)
{
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
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
    CSingleLock guard(&m_lock, TRUE);
    EndItem();
}
