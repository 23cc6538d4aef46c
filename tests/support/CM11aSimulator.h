// A CM11a X10 interface at the device side of a pty-backed COM port. It takes
// the program's frames (address and function frames of two bytes, extended
// frames of four, the status request and the clock frame), answers each with
// the checksum of its bytes and, once the program confirms it with 0x00, says
// it is ready again with 0x55. Tests script the interface's own traffic: X10
// uploads (announced with 0x5A, sent after the program's 0xC3), the power-fail
// clock request 0xA5, wrong checksums, silence and line noise.
#pragma once

#include "tests/support/PtySerial.h"

#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/support/SimulatorThread.h"

class CCM11aSimulator : public CSimulatorThread
{
public:
    explicit CCM11aSimulator(CPtySerial& pty);
    ~CCM11aSimulator() override;
    CCM11aSimulator(const CCM11aSimulator&) = delete;
    CCM11aSimulator& operator=(const CCM11aSimulator&) = delete;

    // The next n frames are answered with a checksum one too high.
    void SetWrongChecksums(int n);
    // A silent interface takes frames but never answers them.
    void SetSilent(bool silent);
    // The 14 bytes answered to a status request.
    void SetStatus(const std::string& reply);
    // Announces an upload with 0x5A; the buffer (length byte, mask, data) goes
    // out when the program answers 0xC3.
    void Upload(const std::string& buffer);
    // The power-fail request for the clock.
    void RequestClock();
    // Bytes as they are, unasked.
    void Send(const std::string& bytes);

    // Everything the program wrote.
    std::string Received() const;
    bool WaitForReceived(const std::string& bytes, int timeoutMs) const;
    // The six bytes of the last clock frame, empty before one came.
    std::string Clock() const;

private:
    void Step() override;
    void Take(BYTE byte);
    void FrameDone();
    void Reply(const std::string& bytes);

    CPtySerial& m_pty;

    mutable std::mutex m_lock;
    std::string m_received;
    std::string m_frame;        // frame being taken
    size_t m_frameLength = 0;   // its expected length
    bool m_clockFrame = false;
    std::string m_clock;
    std::string m_status;
    std::string m_upload;
    int m_wrongChecksums = 0;
    bool m_silent = false;
};
