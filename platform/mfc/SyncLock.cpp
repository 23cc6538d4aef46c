#include "platform/mfc/SyncLock.h"

CSingleLock::CSingleLock(CSyncObject* object, BOOL initialLock)
    : m_pObject(object), m_bAcquired(FALSE)
{
    if (initialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

BOOL CSingleLock::Lock(DWORD timeout)
{
    if (!m_bAcquired)
        m_bAcquired = m_pObject->Lock(timeout);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG count, LPLONG previousCount)
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(count, previousCount);
    return !m_bAcquired;
}

CMultiLock::CMultiLock(CSyncObject* objects[], DWORD count, BOOL initialLock)
    : m_ppObjectArray(new CSyncObject*[count]), m_pHandleArray(new HANDLE[count]),
      m_bLockedArray(new BOOL[count]), m_dwCount(count)
{
    for (DWORD i = 0; i < count; i++)
    {
        ASSERT(objects[i]->m_hObject != NULL);
        m_ppObjectArray[i] = objects[i];
        m_pHandleArray[i] = objects[i]->m_hObject;
        m_bLockedArray[i] = FALSE;
    }
    if (initialLock)
        Lock();
}

CMultiLock::~CMultiLock()
{
    Unlock();
    delete[] m_bLockedArray;
    delete[] m_pHandleArray;
    delete[] m_ppObjectArray;
}

DWORD CMultiLock::Lock(DWORD timeout, BOOL waitForAll, DWORD wakeMask)
{
    DWORD result;
    if (wakeMask)
        result = MsgWaitForMultipleObjects(m_dwCount, m_pHandleArray, waitForAll, timeout,
                                           wakeMask);
    else
        result = WaitForMultipleObjects(m_dwCount, m_pHandleArray, waitForAll, timeout);
    MarkAcquired(result, waitForAll);
    return result;
}

void CMultiLock::MarkAcquired(DWORD result, BOOL waitForAll)
{
    DWORD index;
    if (result < WAIT_OBJECT_0 + m_dwCount)
        index = result - WAIT_OBJECT_0;
    else if (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + m_dwCount)
        index = result - WAIT_ABANDONED_0;
    else
        return;
    if (waitForAll)
    {
        for (DWORD i = 0; i < m_dwCount; i++)
            m_bLockedArray[i] = TRUE;
    }
    else
    {
        m_bLockedArray[index] = TRUE;
    }
}

BOOL CMultiLock::Unlock()
{
    return UnlockEach(FALSE, 0, NULL);
}

BOOL CMultiLock::Unlock(LONG count, LPLONG previousCount)
{
    return UnlockEach(TRUE, count, previousCount);
}

BOOL CMultiLock::UnlockEach(BOOL withCount, LONG count, LPLONG previousCount)
{
    BOOL ok = TRUE;
    for (DWORD i = 0; i < m_dwCount; i++)
    {
        if (!m_bLockedArray[i])
            continue;
        CSyncObject* object = m_ppObjectArray[i];
        BOOL released = withCount ? object->Unlock(count, previousCount) : object->Unlock();
        m_bLockedArray[i] = !released;
        ok = ok && released;
    }
    return ok;
}

BOOL CMultiLock::IsLocked(DWORD index) const
{
    return index < m_dwCount && m_bLockedArray[index];
}
