// The interface unit's boot loader: entered with two system command headers,
// it then talks in plain bytes (no frames) until told to leave. It reads the
// line itself, so the monitoring thread must leave the port alone meanwhile.
#pragma once

#include "devices/port/TavlinPort.h"

class CTavlinBootLoader
{
public:
    explicit CTavlinBootLoader(CTavlinPort& port) : m_port(port) {}

    BOOL SendRequest();
    BOOL Enter();
    BOOL WaitUntilReady(int timeout);
    BOOL Exit();
    BOOL WriteFlashBlock(int address, int length, const BYTE* data);
    BOOL ReadFlashBlock(int address, int length, BYTE* out);
    BOOL SendCode();

private:
    bool BlockFits(int length);

    CTavlinPort& m_port;
};
