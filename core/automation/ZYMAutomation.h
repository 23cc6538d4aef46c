// The automation queue: the names of the two automation devices and the
// commands that the receiving device delivers, kept for the document's tick.
// The receive callback runs on the device layer's delivering thread, Pop and
// IsEmpty on the GUI thread, so commands run there in arrival order.
#pragma once

#include <afxmt.h>

#include <vector>

#include "TextCallback.h"

class CZYMAutomation : public CCallbackTarget
{
public:
    CZYMAutomation();
    virtual ~CZYMAutomation();

    CString GetReceiveName() const { return m_receiveName; }
    CString GetTransmitName() const { return m_transmitName; }

    // Takes "device:command" and queues what follows the first colon; a text
    // without a colon is dropped.
    void OnReceive(CString text);
    TextCallback GetReceiveCallback();

    // The oldest command, or an empty text when none waits.
    CString Pop();
    BOOL IsEmpty();

private:
    CString m_receiveName;
    CString m_transmitName;
    CCriticalSection m_lock;   // guards m_queue; nothing is called under it
    std::vector<CString> m_queue;
};
