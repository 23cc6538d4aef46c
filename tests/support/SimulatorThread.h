// The Win32 thread of a device simulator: it runs the simulator's loop until
// the simulator stops it. A simulator calls Start at the end of its
// constructor and Stop first thing in its destructor, while its members live.
#pragma once

#include <windows.h>

#include <atomic>

class CSimulatorThread
{
public:
    virtual ~CSimulatorThread();

protected:
    void Start();
    void Stop();
    bool Stopping() const { return m_stop; }
    // One pass of the loop; it should wait a few ms for the line.
    virtual void Step() = 0;

private:
    static DWORD WINAPI ThreadMain(void* self);

    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
};
