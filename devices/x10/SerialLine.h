// One COM port as the CM11a and Kelto drivers use it: opened unshared, no
// flow control, reads that return at once with whatever has come, and every
// failing call reported through the owner's error holder.
#pragma once

#include <windows.h>

#include "Error.h"

class CSerialLine
{
public:
    explicit CSerialLine(CError& error);
    // Purges and closes the port; failures are reported.
    ~CSerialLine();
    CSerialLine(const CSerialLine&) = delete;
    CSerialLine& operator=(const CSerialLine&) = delete;

    // Opens "COMn" at the rate (8 data bits, no parity, one stop bit) and then
    // drains the input in blocks of drainBlock bytes. False when the port
    // cannot be opened (reported); a failing set-up call is reported and the
    // set-up goes on.
    BOOL Open(int comPort, int baudRate, int drainBlock);
    BOOL IsOpen() const { return m_handle != nullptr; }

    BOOL Write(const BYTE* bytes, int n);
    // One read of what has come, at most n bytes; 0 when nothing came or the
    // read failed (reported).
    int Read(BYTE* buffer, int n);
    // One byte; a read that brings nothing is tried once more after stepMs.
    bool ReadByte(BYTE& byte, int stepMs);
    // Up to n bytes, trying again every stepMs until timeoutMs have passed
    // without the rest; returns how many came.
    int ReadExact(BYTE* buffer, int n, int stepMs, int timeoutMs);
    // Reads blocks until a read brings nothing.
    void Drain(int block);

private:
    CError& m_error;
    HANDLE m_handle;
};
