// What the automation pieces need of the program's one document. The document
// registers itself for FireEvent (SetEventDocument) and hands itself to its
// mapper at start-up. Every operation may be called from any thread. The
// folder, version, logging and clock operations run under the event log's
// lock, which may be taken while the device manager's lock is held (the
// mapper listens on the monitoring thread): they must not call the device path.
#pragma once

#include <afx.h>

class CAutoMapper;

class CEventDocument
{
public:
    virtual ~CEventDocument() {}

    // The document's send operation: true when every item was handed on.
    virtual BOOL SendDeviceCommand(const char* text) = 0;
    virtual CString GetTransmitDeviceName() = 0;
    virtual CAutoMapper& GetMapper() = 0;
    // The command language's "debug" switch.
    virtual BOOL IsDebugOn() = 0;
    // The folder of the program's executable, ending in a backslash.
    virtual CString GetProgramFolder() = 0;
    // The executable's file version, or "unknown" when it has none.
    virtual CString GetVersionText() = 0;
    // The option "Enable Tavlin Activity Logging", read at each event.
    virtual BOOL IsActivityLoggingOn() = 0;
    virtual void SetActivityLogging(BOOL on) = 0;
    virtual SYSTEMTIME GetLocalTime() = 0;
};
