// A Kelto switch at the device side of a pty-backed COM port. It takes the
// program's command frames (0xFF 0x00 0x40, then the payload with 0xFF sent as
// 0xFF 0x01; a frame ends where the next begins or the line falls quiet),
// answers a ping with a pong that echoes its mark bytes and "get_info" with
// its version, and runs a boot loader after a reset: 0xF5 is answered with
// 0x04, flash blocks are stored (0xF0) and read back (0xF1), 0xF4 leaves it.
// Tests script further answers, silence and line noise.
#pragma once

#include "tests/support/PtySerial.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/support/SimulatorThread.h"

class CKeltoSimulator : public CSimulatorThread
{
public:
    explicit CKeltoSimulator(CPtySerial& pty, BYTE versionByte = 0x12);
    ~CKeltoSimulator() override;
    CKeltoSimulator(const CKeltoSimulator&) = delete;
    CKeltoSimulator& operator=(const CKeltoSimulator&) = delete;

    // The bytes sent back for every frame with this opcode, instead of the
    // built-in answer.
    void SetAnswer(BYTE opcode, const std::string& bytes);
    void SetSilent(bool silent);
    // Bytes as they are, unasked.
    void Send(const std::string& bytes);

    // Payloads of the frames taken, 0xFF 0x01 turned back into 0xFF.
    std::vector<std::string> Frames() const;
    // Bytes that came outside any frame while the boot loader did not run.
    std::string Unframed() const;
    void Clear();
    bool WaitForFrames(size_t n, int timeoutMs) const;
    // Waits until the simulator has taken all the line brought since the call
    // began and the line has then stayed quiet: every frame sent before is in
    // Frames(), every boot command answered.
    bool WaitUntilQuiet(int timeoutMs) const;
    bool InBootLoader() const;
    // length bytes of flash from a word address.
    std::string Flash(int wordAddress, int length) const;

private:
    void Step() override;
    size_t TakeFrames(const std::string& bytes);
    void Answer(const std::string& payload);
    void TakeBootCommand(const std::string& bytes);
    void TakeWholeBootCommand();
    void Reply(const std::string& bytes);
    unsigned QuietPasses() const;

    CPtySerial& m_pty;
    // Bytes of the line since it was last quiet, and the quiet polls since.
    std::string m_pending;
    int m_quiet = 0;
    // Passes that ended with nothing to read and nothing pending (under m_lock).
    unsigned m_quietPasses = 0;

    mutable std::mutex m_lock;
    BYTE m_versionByte;
    bool m_silent = false;
    bool m_bootLoader = false;
    std::map<BYTE, std::string> m_answers;
    std::vector<std::string> m_frames;
    std::string m_unframed;
    std::string m_flash;
};
