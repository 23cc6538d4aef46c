// The document's road to its devices. Everything the program sends to a device
// and every device it defines goes through one of these operations; the road
// behind them is the device manager in this process or the device server.
// Device numbers and units count from 0.
#pragma once

#include <afx.h>

#include "devices/manager/TextCallback.h"

class CDevicePath
{
public:
    virtual ~CDevicePath() {}

    // True when every item of the text was handed on.
    virtual BOOL SendDeviceCommand(const char* text) = 0;
    virtual BOOL AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports) = 0;
    virtual BOOL AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                               int ports) = 0;
    virtual BOOL DeleteDevice(const char* name) = 0;
    // Listeners run on the thread that delivers the texts and must not wait for
    // that thread (a ":flush" sent from a listener waits for nothing useful).
    virtual BOOL SetDeviceListener(const char* name, const TextCallback& listener) = 0;
    virtual BOOL SetListener(const TextCallback& listener) = 0;
    virtual BOOL SetReportNoMatch(int flag) = 0;
    virtual int GetNumTavlins() = 0;
    virtual int GetNumDevices() = 0;
    // Gives requests still on their way up to ms to be done.
    virtual void WaitForDevicePath(int ms) = 0;
    // Whether device errors show message boxes; devices added later copy it.
    virtual void SetMessageBoxes(BOOL on) = 0;
    virtual BOOL GetMessageBoxes() = 0;
};

// What a device path needs of the document.
class CDevicePathHost
{
public:
    virtual ~CDevicePathHost() {}
    virtual void FireEvent(const char* text) = 0;
    // The automation device that carries the program's own events.
    virtual CString GetTransmitDeviceName() = 0;
};

// The document before a path exists, or when none could be made: every
// operation does nothing and reports failure, without an error event.
class CNoDevicePath : public CDevicePath
{
public:
    BOOL SendDeviceCommand(const char*) override { return FALSE; }
    BOOL AddDevice(const char*, const char*, int, int, int) override { return FALSE; }
    BOOL AddDeviceText(const char*, const char*, int, int, int) override { return FALSE; }
    BOOL DeleteDevice(const char*) override { return FALSE; }
    BOOL SetDeviceListener(const char*, const TextCallback&) override { return FALSE; }
    BOOL SetListener(const TextCallback&) override { return FALSE; }
    BOOL SetReportNoMatch(int) override { return FALSE; }
    int GetNumTavlins() override { return 0; }
    int GetNumDevices() override { return 0; }
    void WaitForDevicePath(int) override {}
    void SetMessageBoxes(BOOL) override {}
    BOOL GetMessageBoxes() override { return FALSE; }
};
