#include "platform/mfc/SyncObject.h"

CSyncObject::CSyncObject(LPCSTR)
    : m_hObject(NULL)
{
}

CSyncObject::~CSyncObject()
{
    if (m_hObject)
        CloseHandle(m_hObject);
}

void CSyncObject::Attach(HANDLE object)
{
    if (!object)
        AfxThrowResourceException();
    m_hObject = object;
}

BOOL CSyncObject::Lock(DWORD timeout)
{
    return WaitForSingleObject(m_hObject, timeout) == WAIT_OBJECT_0;
}

BOOL CSyncObject::Unlock(LONG, LPLONG)
{
    return TRUE;
}

CCriticalSection::CCriticalSection()
    : CSyncObject(NULL)
{
    InitializeCriticalSection(&m_sect);
}

CCriticalSection::~CCriticalSection()
{
    DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock()
{
    EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD)
{
    return Lock();
}

BOOL CCriticalSection::Unlock()
{
    LeaveCriticalSection(&m_sect);
    return TRUE;
}

CEvent::CEvent(BOOL initiallyOwn, BOOL manualReset, LPCSTR name, LPSECURITY_ATTRIBUTES security)
    : CSyncObject(name)
{
    Attach(CreateEventA(security, manualReset, initiallyOwn, name));
}

BOOL CEvent::SetEvent()
{
    return ::SetEvent(m_hObject);
}

BOOL CEvent::PulseEvent()
{
    return ::PulseEvent(m_hObject);
}

BOOL CEvent::ResetEvent()
{
    return ::ResetEvent(m_hObject);
}

BOOL CEvent::Unlock()
{
    return TRUE;
}

CMutex::CMutex(BOOL initiallyOwn, LPCSTR name, LPSECURITY_ATTRIBUTES security)
    : CSyncObject(name)
{
    Attach(CreateMutexA(security, initiallyOwn, name));
}

BOOL CMutex::Lock(DWORD timeout)
{
    // An abandoned mutex belongs to the caller now; calling that a failure would
    // leave it owned for ever.
    DWORD result = WaitForSingleObject(m_hObject, timeout);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

BOOL CMutex::Unlock()
{
    return ReleaseMutex(m_hObject);
}

CSemaphore::CSemaphore(LONG initialCount, LONG maxCount, LPCSTR name,
                       LPSECURITY_ATTRIBUTES security)
    : CSyncObject(name)
{
    Attach(CreateSemaphoreA(security, initialCount, maxCount, name));
}

BOOL CSemaphore::Unlock()
{
    return Unlock(1, NULL);
}

BOOL CSemaphore::Unlock(LONG count, LPLONG previousCount)
{
    return ReleaseSemaphore(m_hObject, count, previousCount);
}
