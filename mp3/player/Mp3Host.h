// What the MP3 player needs of the program above it (the document): the music
// library whose lengths it corrects, two options, and the crash link its
// thread registers with. The document implements it, so mp3/player never
// includes the core.
#pragma once

#include <afx.h>

class CMusicLibrary;

class CMp3Host
{
public:
    virtual ~CMp3Host() {}
    virtual CMusicLibrary& GetLibrary() = 0;
    // The option "Music File Directory": track files are found against it,
    // and it against the program's folder.
    virtual CString GetMusicFileDirectory() = 0;
    // The option "MP3 Output Name"; empty or "(default)" for the wave mapper.
    virtual CString GetOutputName() = 0;
    // Called on the MP3 thread whenever a play found no wave output device
    // that would open. It must not block that thread: post, never show a box.
    virtual void ReportNoOutputDevice() = 0;
    // Called on the MP3 thread itself, by name ("MP3"), when it starts and ends.
    virtual void ThreadStarted(const char* name) = 0;
    virtual void ThreadEnded() = 0;
};
