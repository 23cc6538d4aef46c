// Scoped access to synchronisation objects: what a lock acquired it gives back
// when it is destroyed.
#pragma once

#include "platform/mfc/SyncObject.h"

class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
    ~CSingleLock();

    BOOL Lock(DWORD timeout = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG count, LPLONG previousCount = NULL);
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSingleLock(const CSingleLock&);
    void operator=(const CSingleLock&);

    CSyncObject* m_pObject;
    BOOL m_bAcquired;
};

// Waits on several kernel objects at once (critical sections have no handle to
// wait on and cannot take part).
class CMultiLock
{
public:
    CMultiLock(CSyncObject* objects[], DWORD count, BOOL initialLock = FALSE);
    ~CMultiLock();

    // The wait's result as WaitForMultipleObjects (or MsgWaitForMultipleObjects,
    // with a wake mask) gives it: WAIT_OBJECT_0 + index of the object that ended
    // the wait, WAIT_ABANDONED_0 + index, WAIT_OBJECT_0 + count for a message,
    // WAIT_TIMEOUT or WAIT_FAILED.
    DWORD Lock(DWORD timeout = INFINITE, BOOL waitForAll = TRUE, DWORD wakeMask = 0);
    BOOL Unlock();
    BOOL Unlock(LONG count, LPLONG previousCount = NULL);
    BOOL IsLocked(DWORD index) const;

private:
    CMultiLock(const CMultiLock&);
    void operator=(const CMultiLock&);

    void MarkAcquired(DWORD result, BOOL waitForAll);
    // Without a count each object's own Unlock runs.
    BOOL UnlockEach(BOOL withCount, LONG count, LPLONG previousCount);

    CSyncObject** m_ppObjectArray;
    HANDLE* m_pHandleArray;
    BOOL* m_bLockedArray;
    DWORD m_dwCount;
};
