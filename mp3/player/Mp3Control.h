// The MP3 player as the player control drives it: requests on an album and a
// track (from 0; -1 the whole album), and the state the control polls. The
// requests return at once; the player carries them out on its own thread.
#pragma once

#include <afx.h>

#include <time.h>

class AlbumRecord;

class CMp3Control
{
public:
    virtual ~CMp3Control() {}
    virtual BOOL Play(const AlbumRecord& album, int track) = 0;
    // Play for the item the caller saw playing a moment ago: when it has
    // ended since, it is not started over (FALSE). A player whose items
    // never end by themselves just plays.
    virtual BOOL PlayOn(const AlbumRecord& album, int track) { return Play(album, track); }
    virtual BOOL Pause(const AlbumRecord& album, int track) = 0;
    virtual BOOL Cue(const AlbumRecord& album, int track) = 0;
    virtual BOOL StopPlayback() = 0;
    virtual BOOL IsPlaying() = 0;
    virtual BOOL IsPaused() = 0;
    // Loading: from the request of a new item or track until the decoder has
    // its stream, plays, pauses or gives up. A player that opens nothing is
    // never busy.
    virtual BOOL IsBusy() { return FALSE; }
    // The album and track it plays or played last.
    virtual CString GetAlbumId() = 0;
    virtual int GetTrack() = 0;
    // Seconds since its last start below its grace time: a start not yet
    // reported as playing still counts as playing.
    virtual BOOL InStartGrace() = 0;
    // The current item has ended, cannot play, or is within the overlap time
    // of its end.
    virtual BOOL IsNearEnd() = 0;
    virtual void ClearNearEnd() = 0;
    // The control's own word (the play-list action); the player never reads it.
    virtual int GetPlayState() = 0;
    virtual void SetPlayState(int state) = 0;
    // The options' fade times in seconds; the overlap makes the item near its
    // end that many seconds early.
    virtual void SetFades(int fadeDown, int fadeUp, int overlap) = 0;
    // The play list's preview flag (0 or 1), kept with the player's state.
    virtual void SetPreview(BYTE preview) = 0;
    // Set whenever the state, the duration or the second changed; a manual
    // reset event that the document's tick tests without waiting.
    virtual HANDLE GetStatusEvent() const = 0;

    // The transport buttons of the player menu; each only posts its request.
    virtual void PostPlay() = 0;
    virtual void Stop() = 0;
    virtual void TogglePause() = 0;
    virtual BOOL NextTrack() = 0;
    virtual BOOL PrevTrack() = 0;
    // What the window title shows: the current track's file (empty without
    // one), its position (-1 until known) and when it started playing
    // (time() seconds, 0 never).
    virtual CString GetCurrentLocation() = 0;
    virtual void GetPosition(int* minutes, int* seconds) = 0;
    virtual time_t GetPlayStart() = 0;
};
