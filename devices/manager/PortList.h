// The ports of one kind of hardware that the device manager owns, with what
// the last search for them found on each COM index.
#pragma once

#include <afxmt.h>

#include <vector>

#include "devices/x10/CM11aPort.h"
#include "devices/util/Error.h"
#include "devices/kelto/KeltoPort.h"
#include "devices/port/TavlinPort.h"

// Whether the hardware answers on its opened port; a CM11a needs no search.
inline bool LocatePort(CTavlinPort* port) { return port->Locate() != FALSE; }
inline bool LocatePort(CKeltoPort* port) { return port->Locate(); }
inline bool LocatePort(CCM11aPort*) { return true; }

template <class TPort>
class CPortList
{
public:
    enum
    {
        kMaxPorts = 8,
        kComIndices = 256
    };

    // kind names the hardware in error texts; lock guards the list and the
    // error holder's text.
    CPortList(const char* kind, CCriticalSection& lock, CError& error)
        : m_kind(kind), m_lock(lock), m_error(error)
    {
        memset(m_requested, 0, sizeof(m_requested));
        memset(m_openError, 0, sizeof(m_openError));
        memset(m_found, 0, sizeof(m_found));
    }
    ~CPortList() { RemoveAll(); }
    CPortList(const CPortList&) = delete;
    CPortList& operator=(const CPortList&) = delete;

    // Replaces the list by the ports of the mask (bit i: COM(i + 1)) where the
    // hardware answers.
    void AddMasked(int mask)
    {
        RemoveAll();
        for (int i = 0; i < kMaxPorts; ++i) {
            m_requested[i] = 0;
            m_openError[i] = 0;
            m_found[i] = 0;
            if (!(mask & (1 << i)))
                continue;
            m_requested[i] = 1;
            TPort* port = NewPort(i + 1);
            m_openError[i] = port->IsOpenFailed();
            if (!port->IsOpenFailed() && LocatePort(port)) {
                m_found[i] = 1;
                Append(port);
            } else {
                delete port;
            }
        }
    }

    // One port without searching; 1, or 0 with the error reported.
    int Add(int com)
    {
        if (Count() >= kMaxPorts)
            return Fail("Error: Maximum " + m_kind + " Ports Exceeded");
        for (TPort* port : m_ports) {
            if (port->GetComPort() == com) {
                CString text;
                text.Format("Error: %s already defined on COM%d.", static_cast<const char*>(m_kind), com);
                return Fail(text);
            }
        }
        Append(NewPort(com));
        return 1;
    }

    TPort* Get(int n)
    {
        if (n < 0 || n >= Count()) {
            Fail("Error: Invalid " + m_kind + " Ports Requested");
            return nullptr;
        }
        return m_ports[n];
    }

    int Remove(int n)
    {
        CSingleLock lock(&m_lock, TRUE);
        if (n >= 0 && n < Count()) {
            delete m_ports[n];
            m_ports.erase(m_ports.begin() + n);
        }
        return 1;
    }

    int RemoveAll()
    {
        while (Count() > 0)
            Remove(0);
        return 1;
    }

    int Count() const { return int(m_ports.size()); }
    // Without the lock: only the monitoring thread and a caller that stopped it walk the list.
    TPort* At(int n) const { return m_ports[n]; }
    LONG ErrorSum() const
    {
        LONG sum = 0;
        for (TPort* port : m_ports)
            sum += port->GetError().m_reported;
        return sum;
    }
    int WasRequested(int comIndex) const { return m_requested[comIndex]; }
    int GetOpenError(int comIndex) const { return m_openError[comIndex]; }
    int WasFound(int comIndex) const { return m_found[comIndex]; }

private:
    TPort* NewPort(int com)
    {
        return new TPort(com, m_error.m_messageBox);
    }

    void Append(TPort* port)
    {
        CSingleLock lock(&m_lock, TRUE);
        m_ports.push_back(port);
    }

    int Fail(const CString& text)
    {
        CSingleLock lock(&m_lock, TRUE);
        m_error.m_text = text;
        m_error.Report();
        return 0;
    }

    CString m_kind;
    CCriticalSection& m_lock;
    CError& m_error;
    std::vector<TPort*> m_ports;
    int m_requested[kComIndices];
    int m_openError[kComIndices];
    int m_found[kComIndices];
};
