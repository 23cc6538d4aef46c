// Synchronisation objects: thin owners of Win32 kernel objects (and of a
// critical section), locked through CSingleLock or CMultiLock.
#pragma once

#include <afx.h>

class CSyncObject : public CObject
{
public:
    explicit CSyncObject(LPCSTR name);
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }

    // TRUE when the object was acquired within the time-out.
    virtual BOOL Lock(DWORD timeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG count, LPLONG previousCount = NULL);

    HANDLE m_hObject;

protected:
    // Takes the new kernel object; a CResourceException when there is none
    // (a name taken by an object of another kind, for one).
    void Attach(HANDLE object);
};

// Recursive, like the Win32 critical section it owns.
class CCriticalSection : public CSyncObject
{
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }

    BOOL Lock();
    // A critical section cannot time out: the time-out is ignored and the call waits.
    BOOL Lock(DWORD timeout) override;
    BOOL Unlock() override;

    CRITICAL_SECTION m_sect;
};

class CEvent : public CSyncObject
{
public:
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCSTR name = NULL,
                    LPSECURITY_ATTRIBUTES security = NULL);

    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    // An event has nothing to give back.
    BOOL Unlock() override;
};

class CMutex : public CSyncObject
{
public:
    explicit CMutex(BOOL initiallyOwn = FALSE, LPCSTR name = NULL,
                    LPSECURITY_ATTRIBUTES security = NULL);

    // A mutex left behind by a thread that ended while owning it is taken over.
    BOOL Lock(DWORD timeout = INFINITE) override;
    BOOL Unlock() override;
};

class CSemaphore : public CSyncObject
{
public:
    explicit CSemaphore(LONG initialCount = 1, LONG maxCount = 1, LPCSTR name = NULL,
                        LPSECURITY_ATTRIBUTES security = NULL);

    BOOL Unlock() override;
    BOOL Unlock(LONG count, LPLONG previousCount = NULL) override;
};
