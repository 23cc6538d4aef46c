// What the Playlist menu's commands and the window title need of the document
// beyond the library commands' part: the playing list's operations, the
// switches they share with the command language, the program's events and
// the user's last activity. GUI thread only.
#pragma once

#include "core/doc/LibraryDocument.h"

class CNoOutputNotice;
struct DocSwitches;

class CPlaylistDocument : public CLibraryDocument
{
public:
    virtual void OnPlaylistPlay() = 0;
    virtual void OnPlaylistStop() = 0;
    virtual void OnPlaylistRandom() = 0;
    virtual BOOL IsSleeping() const = 0;
    virtual void WakeUp() = 0;
    virtual DocSwitches& GetSwitches() = 0;
    virtual void FireEvent(const char* text) = 0;
    // True while the user acted lately: the title then leaves the selection
    // where it is.
    virtual BOOL UserActedRecently() = 0;
    // That no wave output device would open, taken from the MP3 thread.
    virtual CNoOutputNotice& GetNoOutputNotice() = 0;
};
