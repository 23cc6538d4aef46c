// The one home of a changer player's state. Every write holds the lock; readers
// get copies; waits block on an event of their own that every change sets.
//
// The status parser holds the lock for the whole of one changer text and
// changes the state in place, so that a reader sees a text's changes all at
// once. While the parser's thread calls out (sends a command, fires an event,
// asks the library) it lets go of the lock through a COutside: nothing that
// takes another lock is ever called with this one held, so it comes last in
// every lock order.
#pragma once

#include <afxmt.h>

#include <atomic>
#include <functional>
#include <vector>

#include "core/players/ChangerState.h"
#include "devices/util/TaskCancelFlag.h"

// An artist text the changer has not told yet: the first artists start with
// it, so that a read can tell them from texts it answered.
extern const char kArtistPlaceholder[];

// The texts the parser writes; under the same lock, read one at a time.
struct ChangerTexts
{
    CString playerName;
    CString statusLine;
    CString memoText;
    CString cdText;
    CString groupNames[ChangerState::kGroups];
    CString artistTexts[ChangerState::kArtists];
};

class CChangerStateStore
{
public:
    CChangerStateStore();
    ~CChangerStateStore();
    CChangerStateStore(const CChangerStateStore&) = delete;
    CChangerStateStore& operator=(const CChangerStateStore&) = delete;

    ChangerState Get() const;
    // Runs change on the state with the lock held, then wakes the waiters.
    // change must not call out (no sends, no events).
    void Change(const std::function<void(ChangerState&)>& change);
    CString ReadText(const std::function<CString(const ChangerTexts&)>& read) const;
    void ChangeTexts(const std::function<void(ChangerTexts&)>& change);

    // True once holds is true of the state; false after ms or once *cancel
    // is set (cancel may be null), and at once for ms below 1. The calling
    // thread's messages are dispatched meanwhile, so that its windows stay
    // responsive; the cancel flag, which nobody signals, is looked at every
    // 50 ms.
    bool WaitFor(int ms, const std::function<bool(const ChangerState&)>& holds, const TaskCancelFlag* cancel) const;

    // Signalled after every parsed text; the document and the views reset it
    // when they take the news.
    HANDLE GetStatusEvent() const { return m_statusEvent; }

    // One changer text: the lock is held from BeginParse to EndParse, and
    // Parsed is the state in place for the parser's thread meanwhile.
    void BeginParse();
    ChangerState& Parsed() { return m_state; }
    ChangerTexts& ParsedTexts() { return m_texts; }
    void EndParse();
    bool OnParserThread() const { return GetCurrentThreadId() == m_parserThread; }

    // Lets go of the parse's hold for its lifetime, on the parser's thread;
    // elsewhere it does nothing.
    class COutside
    {
    public:
        explicit COutside(CChangerStateStore& store);
        ~COutside();
        COutside(const COutside&) = delete;
        COutside& operator=(const COutside&) = delete;

    private:
        CChangerStateStore& m_store;
        bool m_released;
    };

private:
    void Wake();
    HANDLE AddWaiter() const;
    void RemoveWaiter(HANDLE event) const;

    mutable CCriticalSection m_lock;   // guards everything below
    ChangerState m_state;
    ChangerTexts m_texts;
    mutable std::vector<HANDLE> m_waiters;   // one auto-reset event per wait
    HANDLE m_statusEvent;
    std::atomic<DWORD> m_parserThread{0};
};
