// A pointer that one thread installs and others call through. Calls run under
// the slot's lock, so clearing the slot waits for a call in progress.
#pragma once

#include <windows.h>

template <class T>
class CLockedSlot
{
public:
    CLockedSlot() { InitializeCriticalSection(&m_lock); }
    ~CLockedSlot() { DeleteCriticalSection(&m_lock); }
    CLockedSlot(const CLockedSlot&) = delete;
    CLockedSlot& operator=(const CLockedSlot&) = delete;

    void Set(T* target)
    {
        EnterCriticalSection(&m_lock);
        m_target = target;
        LeaveCriticalSection(&m_lock);
    }

    // Runs call(target) when a target is installed; false when none is.
    template <class Call>
    bool Use(Call call)
    {
        EnterCriticalSection(&m_lock);
        T* target = m_target;
        if (target)
            call(*target);
        LeaveCriticalSection(&m_lock);
        return target != nullptr;
    }

private:
    CRITICAL_SECTION m_lock;
    T* m_target = nullptr;
};
