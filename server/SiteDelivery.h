// Hands one client's received texts to its ITavlinSite, in the order they came,
// on a thread of its own. The device manager's listeners run under its lock;
// Receive is a call into another process that may call the server back (a
// client that sends from its Receive) or take its time, so the listener only
// queues the text and this thread makes the call outside every lock of the
// server.
#pragma once
#include <windows.h>
#include <afx.h>
#include <afxmt.h>
#include <atomic>
#include <deque>
#include <string>
#include "Tavlin.h"

class CSiteDelivery
{
public:
    // Takes the stream that holds the site marshalled for another apartment.
    // Null when the thread cannot be started (the stream is released then).
    static CSiteDelivery* Start(IStream* marshalledSite);

    // Any thread; never waits for the client.
    void Post(const CString& text);

    // True once a call found the client's process gone; nothing more is sent.
    BOOL IsSiteGone() const { return m_siteGone; }

    // The owner lets go: queued texts are dropped, the site is released on the
    // delivery thread. Waits up to waitMs for that; a thread still inside a
    // slow Receive finishes on its own later and frees what it shares with
    // the owner, so late work touches nothing the owner freed.
    void Stop(DWORD waitMs);

private:
    explicit CSiteDelivery(IStream* stream);
    ~CSiteDelivery();
    static DWORD WINAPI ThreadProc(void* self);
    void Run();
    ITavlinSite* Unmarshal();
    BOOL Next(CString& text);
    void Release();

    // Guards m_queue and m_stopping.
    CCriticalSection m_lock;
    std::deque<CString> m_queue;
    BOOL m_stopping;
    // Set for every text and for the stop (auto reset).
    CEvent m_wake;
    // Set by the thread as the last act before it drops its hold (manual
    // reset); the owner's hold keeps it alive while Stop waits on it.
    CEvent m_done;
    IStream* m_stream;
    std::atomic<LONG> m_siteGone;
    // Two holders: the owner until Stop, the thread until it ends.
    std::atomic<LONG> m_refs;
};
