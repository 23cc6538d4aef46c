// The interface control in a window of its host: a hidden child window with
// the control's id, and the control's dispatch members by id. Results are the
// control's own; a call the control did not take gives -1.
#pragma once

#include <afxwin.h>

#include "platform/mfc/OleDispatchDriver.h"

class CTavlinx : public CWnd
{
public:
    // Makes the control by its class id, and the window with the given id.
    BOOL Create(CWnd* parent, UINT id);
    // Hands the control's events to the handler until Disconnect.
    HRESULT Advise(COleEventHandler* handler);
    void Disconnect();

    long AddDevice(LPCSTR file, LPCSTR name, long device, long unit, long ports);
    long AddDeviceText(LPCSTR text, LPCSTR name, long device, long unit, long ports);
    long DeleteDevice(LPCSTR name);
    long Send(LPCSTR text);
    short GetNumTavlins();
    short GetNumDevices();
    void SetReportNoMatch(short flag);
    long LoadServer();

    // Text argument i of an event, counted from the first, whether the control
    // passed it by value or by reference; empty when missing.
    static CString EventText(DISPPARAMS* params, UINT i);

private:
    long Add(DISPID id, LPCSTR source, LPCSTR name, long device, long unit, long ports);
    long CallWithText(DISPID id, LPCSTR text);
    short ShortProperty(DISPID id);

    COleDispatchDriver m_control;
    COleEventSink* m_sink = nullptr;
};
