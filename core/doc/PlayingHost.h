// What the playing thread (CPlayMusic) needs of the document.
#pragma once

#include <windows.h>
#include <time.h>

class CPlayList;
class CSonyControl;

class CPlayingHost
{
public:
    virtual ~CPlayingHost() {}
    virtual CPlayList& GetCurrentPlayList() = 0;
    virtual CSonyControl& GetPlayerControl() = 0;
    virtual void FireEvent(const char* text) = 0;
    virtual time_t Now() = 0;
    // The options "Pre-Queue Mode" and "Fade Overlap Time".
    virtual int GetPreQueueMode() = 0;
    virtual int GetFadeOverlapTime() = 0;
    // Registration with the crash link, on the thread itself.
    virtual void ThreadStarted(const char* name) = 0;
    virtual void ThreadEnded() = 0;
    // The shutdown's wait for the thread, on the document's clock.
    virtual DWORD WaitForThread(HANDLE thread, DWORD milliseconds) = 0;
};
