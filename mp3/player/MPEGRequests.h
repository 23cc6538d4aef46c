// The MP3 player's requests: the item it plays and the flags the player control
// polls. The control's threads call the request operations; each only posts a
// private message, so every decoder command leaves from the MP3 thread, whose
// notification handlers change the same item and flags: one lock guards them.
#pragma once

#include <windows.h>
#include <afxmt.h>

#include "mp3/player/Mp3Control.h"
#include "library/records/AlbumRecord.h"

// Private messages, posted by the requests to the MP3 thread's window.
const UINT kMp3Open = 0x8300;
const UINT kMp3Play = 0x8301;
const UINT kMp3Stop = 0x8302;
const UINT kMp3Pause = 0x8303;

class CMPEGRequests : public CMp3Control
{
public:
    CMPEGRequests();
    virtual ~CMPEGRequests() = default;
    CMPEGRequests(const CMPEGRequests&) = delete;
    CMPEGRequests& operator=(const CMPEGRequests&) = delete;

    BOOL IsPlayingItem(const AlbumRecord& album, int track);
    BOOL IsPausedItem(const AlbumRecord& album, int track);
    BOOL Play(const AlbumRecord& album, int track) override;
    BOOL PlayOn(const AlbumRecord& album, int track) override;
    BOOL Pause(const AlbumRecord& album, int track) override;
    BOOL Cue(const AlbumRecord& album, int track) override;
    BOOL StopPlayback() override;
    BOOL PrevTrack() override;
    BOOL NextTrack() override;
    void PostPlay() override;
    void PostOpen();
    void Stop() override;
    void PostPause();
    void TogglePause() override;

    BOOL IsPlaying() override;
    BOOL IsPaused() override;
    BOOL IsBusy() override;
    BOOL IsFinished();
    BOOL HasError();
    void ClearFinished();
    CString GetAlbumId() override;
    int GetTrack() override;
    // The current track's file location; empty when the track is outside the album.
    CString GetCurrentLocation() override;
    // Minutes and seconds; -1 until known.
    void GetPosition(int* minutes, int* seconds) override;
    time_t GetPlayStart() override;
    void GetDuration(int* minutes, int* seconds);
    BOOL IsWholeAlbum();
    BOOL InStartGrace() override;
    // Near the end is finished: the overlap time sets it early.
    BOOL IsNearEnd() override { return IsFinished(); }
    void ClearNearEnd() override { ClearFinished(); }
    int GetPlayState() override;
    void SetPlayState(int state) override;

    // On the MP3 thread: the decoder's notifications.
    void OnPlayerState(int state);
    void OnInputDuration(int seconds);
    void OnInputTimecode(int minutes, int seconds);
    void OnNack(int command);
    // A play refused because no wave output device could be opened: the item
    // stops with its error flag, neither stepping through the album nor
    // counting as finished, and the player reports it.
    void OnOutputFailed();
    void OnErrorReport();
    void SetFades(int fadeDown, int fadeUp, int overlap) override;
    void SetPreview(BYTE preview) override;

protected:
    // Every flag and the item back to before the first request.
    void ResetItem();
    virtual void PostRequest(UINT message) = 0;
    // Sends a decoder command from the MP3 thread.
    virtual void SendCommand(int code) = 0;
    // Tells the poller that the state, the duration or the second changed.
    virtual void SignalStatus() {}
    // Tells the program that no wave output device could be opened; called
    // with the lock held, on the MP3 thread: it must only post.
    virtual void ReportNoOutput() {}
    // Seconds, as time() gives them.
    virtual DWORD Now();

    CCriticalSection m_lock;
    AlbumRecord m_album;
    int m_durationMinutes = -1;
    int m_durationSeconds = -1;
    int m_positionMinutes = -1;
    int m_positionSeconds = -1;
    int m_track = -1;
    BOOL m_wholeAlbum = FALSE;
    int m_playRequested = 0;
    BYTE m_finished = 0;
    BYTE m_playing = 0;
    BYTE m_paused = 0;
    BYTE m_error = 0;
    // Set when an open is posted; cleared by the stream's length (which the
    // decoder reports as soon as the open succeeded), playing, paused, or
    // the item's end or failure.
    BYTE m_busy = 0;
    int m_playState = 0;
    // Kept for the options; only the overlap acts (near end that early).
    int m_fadeDownTime = 0;
    int m_fadeUpTime = 0;
    int m_fadeOverlapTime = 0;
    BYTE m_preview = 0;
    DWORD m_requestTime = 0;
    DWORD m_playingSince = 0;
    // Set from the request of an open until the new item plays, pauses or
    // fails: the "stopped" of the stop that went before the open, and its
    // refusal when nothing was open, belong to the old item. Set when the open
    // is posted, not when it is carried out: the MP3 thread may carry out the
    // stop, and the decoder answer it, before the open is even posted.
    BOOL m_opening = FALSE;
    // Set when a failed open of a whole album stepped to the next track: the
    // play that followed the failed open plays that track, it does not step again.
    BOOL m_steppedPastFailedOpen = FALSE;
    // Set from the play request of a cued or paused item until it plays: a
    // "stopped" the decoder reports meanwhile is the late answer to the stop
    // that went before the cue, not an end of the item. Cleared by any newer
    // stop or open request, so that their "stopped" still counts.
    BOOL m_resuming = FALSE;

private:
    BOOL IsCurrent(const AlbumRecord& album, int track) const;
    void StartItem(const AlbumRecord& album, int track);
    void CueItem(const AlbumRecord& album, int track);
    // Whole-album flag and the track to make current; FALSE past the album's end.
    BOOL Target(const AlbumRecord& album, int track, int* target);
    BOOL IsNewItem(const AlbumRecord& album, int track) const;
    void Open();
    void StampPlay();
    void Resume();
    void EndItem();
    BOOL StepToNextTrack();
};
