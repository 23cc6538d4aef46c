// The automation queue: the names of the two automation devices and the
// commands that the receiving device delivers, kept for the document's tick.
// The receive callback runs on the device layer's delivering thread, Pop and
// IsEmpty on the GUI thread, so commands run there in arrival order.
#pragma once

#include <afxmt.h>

#include <deque>

#include "devices/manager/TextCallback.h"

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

    // The program's own sends (event-map actions, the device view) may hold
    // commands for its receiving device: they are noted, so that when they
    // come back through the device layer Pop can tell them from a client's.
    void NoteOwnSend(const char* text);

    // The oldest command, or an empty text when none waits; own tells
    // whether the program sent it itself.
    CString Pop(BOOL* own = nullptr);
    BOOL IsEmpty();
    // The count of commands dropped for want of room since the last call.
    int TakeDropped();

private:
    CString m_receiveName;
    CString m_transmitName;
    struct Command
    {
        CString text;
        BOOL own;
    };

    CCriticalSection m_lock;   // guards the fields below; nothing is called under it
    std::deque<Command> m_queue;
    // Own commands on their way through the device layer, oldest first; as
    // many as the queue holds, since one that never arrives is not waited for.
    std::deque<CString> m_ownOnTheWay;
    int m_dropped = 0;
};
