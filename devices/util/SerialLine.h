// One COM port as the device drivers use it: opened unshared, 8 data bits, no
// parity, one stop bit, reads that return at once with whatever has come, and
// every failing call reported through the owner's error holder.
#pragma once

#include <windows.h>

#include "devices/util/Error.h"

// What differs between the drivers' lines. The interface unit runs CTS flow
// control on large queues and logs the line's state with every failure; the
// CM11a and the Kelto switch run without flow control.
struct SerialSetup
{
    DWORD queueBytes;
    bool ctsFlowControl;
    int drainBlock;      // bytes per read while draining the input
    bool diagnostics;    // COM error dump before each report, COM properties after set-up
};

class CSerialLine
{
public:
    CSerialLine(CError& error, const SerialSetup& setup);
    // Purges and closes the port; failures are reported.
    ~CSerialLine();
    CSerialLine(const CSerialLine&) = delete;
    CSerialLine& operator=(const CSerialLine&) = delete;

    // Closes an open handle first (a failure there is reported and ends the
    // call), then opens "COMn" ("\\.\COMn" from 10 on) and configures it. False
    // when the port cannot be opened (reported); the line is closed then.
    BOOL Open(int comPort, int baudRate);
    // Queues, line format and rate, flow control, time-outs, purge, then drains
    // the input. A failing call is reported and the set-up goes on.
    void Configure(int baudRate);
    BOOL IsOpen() const { return m_handle != nullptr; }

    // False when the line is closed, or when the write fails or comes out short
    // (reported).
    BOOL Write(const BYTE* bytes, int n);
    // One read of what has come, at most n bytes; -1 when the read failed
    // (reported).
    int Read(BYTE* buffer, int n);
    // One byte; a read that brings nothing is tried once more after stepMs.
    bool ReadByte(BYTE& byte, int stepMs);
    // Up to n bytes, trying again every stepMs until timeoutMs have passed
    // without the rest; returns how many came.
    int ReadExact(BYTE* buffer, int n, int stepMs, int timeoutMs);
    // Reads blocks until a read brings nothing.
    void Drain();

private:
    void ReportFailure();
    void DumpCommErrors();
    void DumpCommProperties();

    CError& m_error;
    const SerialSetup m_setup;
    HANDLE m_handle;
};
