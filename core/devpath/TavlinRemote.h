// The device path over the device server: every operation is a call on the
// server's ITavlin object, and received texts come back through a site this
// path advises. The server counts devices and units from 0, as the document
// does. Failures never fire the host's error event: a -1 from the server
// reaches the catch-all listener as "tavlinx:error[" + the server's error
// text + "]", the way the server's own rejections arrive. Sends, added
// definition texts, deletions and the no-match flag report success whatever
// the server answered; an added file reports whether the server took it.
#pragma once

#include <windows.h>

#include <vector>

#include "DevicePath.h"
#include "Tavlin.h"

class CTavlinRemoteSite;

class CTavlinRemote : public CDevicePath
{
public:
    // server may be null (no device server): every call then reports the
    // missing server as an error text.
    explicit CTavlinRemote(ITavlin* server);
    ~CTavlinRemote() override;

    BOOL SendDeviceCommand(const char* text) override;
    BOOL AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports) override;
    BOOL AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                       int ports) override;
    BOOL DeleteDevice(const char* name) override;
    BOOL SetDeviceListener(const char* name, const TextCallback& listener) override;
    BOOL SetListener(const TextCallback& listener) override;
    BOOL SetReportNoMatch(int flag) override;
    int GetNumTavlins() override;
    int GetNumDevices() override;
    // Calls are done when they return: nothing is left on its way.
    void WaitForDevicePath(int) override {}
    void SetMessageBoxes(BOOL on) override { m_messageBoxes = on; }
    BOOL GetMessageBoxes() override { return m_messageBoxes; }

    // A received "device:message": the device's listeners in registration
    // order under the lock, then the catch-all listener outside it.
    void Deliver(const CString& text);

private:
    struct Listener
    {
        CString device;
        TextCallback callback;
    };

    // The server's result, or -1 with its error text handed to the catch-all
    // listener.
    HRESULT Checked(HRESULT result);
    HRESULT Missing();
    HRESULT CallWithText(HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*), const char* text);
    HRESULT Add(HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*, LPWSTR*, LONG, LONG, LONG),
                const char* source, const char* name, int deviceNumber, int unit, int ports);
    CString ServerError();

    ITavlin* m_server;
    CTavlinRemoteSite* m_site;
    // Guards the listener list and the catch-all listener.
    CRITICAL_SECTION m_lock;
    std::vector<Listener> m_listeners;
    TextCallback m_catchAll;
    int m_units;
    BOOL m_messageBoxes;
};
