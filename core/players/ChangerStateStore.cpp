#include "core/players/ChangerStateStore.h"

#include "devices/util/MessageWaits.h"

#include <algorithm>

const char kArtistPlaceholder[] = "XXXXXXXXXXXXXXXXXXXX";

namespace {

const int kPlaceholderArtists = 201;
// How often a wait looks at its cancel flag and the thread's messages.
const DWORD kCancelStepMs = 50;

} // namespace

CChangerStateStore::CChangerStateStore() : m_statusEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    for (int a = 0; a < kPlaceholderArtists; ++a)
        m_texts.artistTexts[a] = kArtistPlaceholder;
}

CChangerStateStore::~CChangerStateStore()
{
    CloseHandle(m_statusEvent);
}

ChangerState CChangerStateStore::Get() const
{
    CSingleLock lock(&m_lock, TRUE);
    return m_state;
}

void CChangerStateStore::Change(const std::function<void(ChangerState&)>& change)
{
    CSingleLock lock(&m_lock, TRUE);
    change(m_state);
    Wake();
}

CString CChangerStateStore::ReadText(const std::function<CString(const ChangerTexts&)>& read) const
{
    CSingleLock lock(&m_lock, TRUE);
    return read(m_texts);
}

void CChangerStateStore::ChangeTexts(const std::function<void(ChangerTexts&)>& change)
{
    CSingleLock lock(&m_lock, TRUE);
    change(m_texts);
    Wake();
}

// Called with the lock held.
void CChangerStateStore::Wake()
{
    for (HANDLE waiter : m_waiters)
        SetEvent(waiter);
}

HANDLE CChangerStateStore::AddWaiter() const
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CSingleLock lock(&m_lock, TRUE);
    m_waiters.push_back(event);
    return event;
}

void CChangerStateStore::RemoveWaiter(HANDLE event) const
{
    {
        CSingleLock lock(&m_lock, TRUE);
        m_waiters.erase(std::find(m_waiters.begin(), m_waiters.end(), event));
    }
    CloseHandle(event);
}

bool CChangerStateStore::WaitFor(int ms, const std::function<bool(const ChangerState&)>& holds,
                                 const TaskCancelFlag* cancel) const
{
    if (ms < 1)
        return false;
    // Registered before the first look: no change after it goes unseen.
    HANDLE changed = AddWaiter();
    const DWORD start = GetTickCount();
    bool held = false;
    for (;;) {
        if (cancel && *cancel)
            break;
        if (holds(Get())) {
            held = true;
            break;
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= DWORD(ms))
            break;
        DWORD step = std::min(DWORD(ms) - elapsed, kCancelStepMs);
        MsgWaitForMultipleObjects(1, &changed, FALSE, step, QS_ALLINPUT);
        PumpWaitingMessages();
    }
    RemoveWaiter(changed);
    return held;
}

void CChangerStateStore::BeginParse()
{
    m_lock.Lock();
    m_parserThread = GetCurrentThreadId();
}

void CChangerStateStore::EndParse()
{
    m_parserThread = 0;
    Wake();
    m_lock.Unlock();
    SetEvent(m_statusEvent);
}

CChangerStateStore::COutside::COutside(CChangerStateStore& store)
    : m_store(store), m_released(store.OnParserThread())
{
    if (m_released)
        m_store.m_lock.Unlock();
}

CChangerStateStore::COutside::~COutside()
{
    if (m_released)
        m_store.m_lock.Lock();
}
