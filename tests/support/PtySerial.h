// A COM port of the test's Wine prefix backed by a pseudo-terminal pair. The
// program under test opens "COMn" through Win32 as it would a real port; the
// test (or a device simulator) plays the device at the pty master.
//
// Ports are shared by every test program of the run: a port is held under a
// file lock in the prefix's dosdevices folder while the fixture lives, and the
// link and registry value that were there before are put back afterwards.
#pragma once

#include <cstddef>
#include <string>

class CPtySerial
{
public:
    // port 0 takes the first free port from kFirstFreePort on; a given port
    // waits until no other test holds it. Throws where WINEPREFIX is not set.
    explicit CPtySerial(int port = 0);
    ~CPtySerial();
    CPtySerial(const CPtySerial&) = delete;
    CPtySerial& operator=(const CPtySerial&) = delete;

    static constexpr int kFirstFreePort = 10;

    int Port() const { return m_port; }
    std::string Name() const;   // "COM5"

    // Device side. Writes all bytes unless timeoutMs passes first.
    bool Write(const std::string& bytes, int timeoutMs = 2000);
    // Waits up to timeoutMs for the first byte, then returns what has come (at most max).
    std::string Read(size_t max, int timeoutMs);
    // Reads until n bytes have come or timeoutMs has passed; returns what came.
    std::string ReadExact(size_t n, int timeoutMs);
    // Discards what has come and keeps discarding until quietMs pass without a byte.
    void Drain(int quietMs = 50);
    // The master's file descriptor, for simulators that poll it themselves.
    int DeviceFd() const { return m_master; }

private:
    void Lock(int port, bool wait);
    void Link();
    void Unlink();

    std::string m_dosDevices;   // of $WINEPREFIX; the fixture refuses to run without it
    int m_port = 0;
    int m_master = -1;
    int m_slave = -1;   // kept open so the master never sees a hang-up between opens
    int m_lockFd = -1;
    std::string m_slavePath;
    std::string m_linkPath;
    std::string m_oldTarget;   // link that was there before, put back at the end
};
