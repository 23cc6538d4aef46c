// What the library needs of the program above it (the document): it fires
// program events, registers its worker threads with the crash link and knows
// which players are available. The owner implements this, so library code
// never includes the core.
#pragma once

class CLibraryHost
{
public:
    virtual ~CLibraryHost() {}
    virtual void FireEvent(const char* text) = 0;
    // Called on the worker thread itself, by name ("LibLoad"), when it starts and ends.
    virtual void ThreadStarted(const char* name) = 0;
    virtual void ThreadEnded() = 0;
    virtual bool IsPlayerAvailable(int player) = 0;
};

class CMusicLibrary;

// The library database's load, run on the load thread. It fills the library
// through RemoveAllAlbums and AppendAlbum and stops early once the library's
// loading flag is cleared.
class CLibraryLoader
{
public:
    virtual ~CLibraryLoader() {}
    virtual void Load(CMusicLibrary& library) = 0;
};
