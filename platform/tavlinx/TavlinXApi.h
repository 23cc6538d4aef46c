// The interface control as its hosts see it: the class, the dispatch members
// with their ids, and the events it fires through its connection point
// (Receive with the device name and the message, both by reference, and the
// stock error event). Our stand-in reaches the device server through ITavlin.
#pragma once

#include <windows.h>
#include <olectl.h>

// {8A0AA45F-12B3-40C0-AAA3-0B4D961F751D}
extern const CLSID CLSID_TavlinX;
// The outgoing interface whose Invoke receives the events.
extern const IID DIID_TavlinXEvents;

enum TavlinXDispatchId
{
    kTavlinXNumTavlins = 1,      // property, short
    kTavlinXReportNoMatch = 2,   // property, short
    kTavlinXAddDevice = 4,       // (file, name, device, unit, ports) -> long
    kTavlinXDeleteDevice = 5,    // (name) -> long
    kTavlinXSend = 7,            // (text) -> long
    kTavlinXAddDeviceText = 8,   // (definition text, name, device, unit, ports) -> long
    kTavlinXNumDevices = 9,      // property, short
    kTavlinXLoadServer = 13,     // () -> long
};

enum TavlinXEventId
{
    kTavlinXReceiveEvent = 1,                 // (BSTR* device, BSTR* message)
    kTavlinXErrorEvent = DISPID_ERROREVENT,   // the stock error event
};

// Registers the control's class object for this process, so that
// CoCreateInstance(CLSID_TavlinX) makes our stand-in; the cookie revokes it.
HRESULT RegisterTavlinXClass(DWORD* cookie);
