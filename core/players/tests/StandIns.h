// Stand-ins for tests of the player control's callers: the MP3 player, whose
// requests are recorded as "play D 2" (the album id's last character and the
// track) and whose states the test sets, and a library host that does nothing.
#pragma once

#include "mp3/player/Mp3Control.h"
#include "library/records/AlbumRecord.h"
#include "library/records/LibraryHost.h"

#include <string>
#include <vector>

class CFakeMp3 : public CMp3Control
{
public:
    BOOL Play(const AlbumRecord& album, int track) override { return Note("play", album, track); }
    BOOL Pause(const AlbumRecord& album, int track) override { return Note("pause", album, track); }
    BOOL Cue(const AlbumRecord& album, int track) override { return Note("cue", album, track); }
    BOOL StopPlayback() override
    {
        requests.push_back("stop");
        return TRUE;
    }
    BOOL IsPlaying() override { return playing; }
    BOOL IsPaused() override { return paused; }
    BOOL IsBusy() override { return busy; }
    CString GetAlbumId() override { return albumId; }
    int GetTrack() override { return track; }
    BOOL InStartGrace() override { return grace; }
    BOOL IsNearEnd() override { return nearEnd; }
    int GetPlayState() override { return playState; }
    void SetPlayState(int state) override { playState = state; }
    void ClearNearEnd() override { nearEnd = FALSE; }
    void SetFades(int down, int up, int overlap) override
    {
        fades = std::to_string(down) + " " + std::to_string(up) + " " + std::to_string(overlap);
    }
    void SetPreview(BYTE value) override { preview = value; }
    HANDLE GetStatusEvent() const override { return statusEvent; }
    void PostPlay() override { requests.push_back("post play"); }
    void Stop() override { requests.push_back("post stop"); }
    void TogglePause() override { requests.push_back("toggle pause"); }
    BOOL NextTrack() override
    {
        requests.push_back("next track");
        return TRUE;
    }
    BOOL PrevTrack() override
    {
        requests.push_back("previous track");
        return TRUE;
    }
    CString GetCurrentLocation() override { return location; }
    void GetPosition(int* m, int* s) override
    {
        *m = minutes;
        *s = seconds;
    }
    time_t GetPlayStart() override { return playStart; }

    BOOL Note(const char* what, const AlbumRecord& album, int t)
    {
        requests.push_back(std::string(what) + " " + std::string(album.GetIdText()).substr(15) + " " +
                           std::to_string(t));
        return TRUE;
    }

    std::vector<std::string> requests;
    BOOL playing = FALSE;
    BOOL paused = FALSE;
    BOOL busy = FALSE;
    BOOL grace = FALSE;
    BOOL nearEnd = FALSE;
    CString albumId;
    int track = -1;
    int playState = 0;
    BYTE preview = 0;
    HANDLE statusEvent = nullptr;
    std::string fades;   // "down up overlap" as last set
    CString location;
    int minutes = -1;
    int seconds = -1;
    time_t playStart = 0;
};

class CLibraryHostStandIn : public CLibraryHost
{
public:
    void FireEvent(const char*) override {}
    void ThreadStarted(const char*) override {}
    void ThreadEnded() override {}
    bool IsPlayerAvailable(int) override { return true; }
};
