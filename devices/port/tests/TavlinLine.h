// A CTavlinPort on a pty-backed COM port, quiet for unattended tests: errors go
// to the debugger output and nothing is sent unless a test asks for it.
#pragma once

#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "tests/support/PtySerial.h"
#include "devices/port/TavlinPort.h"

#include <string>

class TavlinLine : public ::testing::Test
{
protected:
    TavlinLine() : m_port(m_pty.Port())
    {
        m_port.GetError().m_messageBox = FALSE;
        m_port.SetKeepAlive(FALSE);
    }

    // Plays bytes from the device and parses what came within the wait.
    CString Receive(const std::string& bytes, int timeoutMs = 100)
    {
        m_pty.Write(bytes);
        CString out;
        m_port.ReadResponses(out, timeoutMs);
        return out;
    }

    // What the program wrote to the device, once nothing more comes for quietMs.
    std::string Sent(int quietMs = 50)
    {
        std::string bytes;
        for (std::string part; !(part = m_pty.Read(4096, quietMs)).empty();)
            bytes += part;
        return bytes;
    }

    CDebugCapture m_debug;
    CPtySerial m_pty;
    CTavlinPort m_port;
};
