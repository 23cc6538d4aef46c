// The automation queue: the names of the two automation devices and the
// commands that the receiving device delivers, kept for the document's tick.
// The receive callback runs on the device layer's delivering thread, Pop and
// IsEmpty on the GUI thread, so commands run there in arrival order.
#pragma once

#include <afxmt.h>

#include <deque>

#include "TextCallback.h"

class CZYMAutomation : public CCallbackTarget
{
public:
    // Commands waiting beyond this are dropped and counted: a client that
    // floods the queue must not grow memory without end.
    enum { kMaxQueuedCommands = 5000 };

    CZYMAutomation();
    virtual ~CZYMAutomation();

    CString GetReceiveName() const { return m_receiveName; }
    CString GetTransmitName() const { return m_transmitName; }

    // Takes "device:command" and queues what follows the first colon; a text
    // without a colon is dropped, and so is a command the full queue has no
    // room for.
    void OnReceive(CString text);
    TextCallback GetReceiveCallback();

    // The oldest command, or an empty text when none waits.
    CString Pop();
    BOOL IsEmpty();
    // The count of commands dropped for want of room since the last call.
    int TakeDropped();

private:
    CString m_receiveName;
    CString m_transmitName;
    CCriticalSection m_lock;   // guards m_queue; nothing is called under it
    std::deque<CString> m_queue;
    int m_dropped = 0;
};
