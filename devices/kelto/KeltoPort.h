// Driver of one Kelto switch (a matrix of inputs to outputs with an LCD, IR
// code sets, an identity number and its own firmware) on one COM port.
// Commands of a "kelto" device go out as command frames; the switch's answers
// come back as response texts; the boot loader takes flash blocks for the
// firmware upgrader.
#pragma once

#include <afx.h>
#include <afxmt.h>

#include <atomic>

#include "devices/util/Error.h"
#include "devices/util/SerialLine.h"

class CKeltoPort
{
public:
    // The port opens at once; messageBox is its error holder's mode from the
    // start, so that an owner that wants no boxes sees none for the opening.
    explicit CKeltoPort(int comPort, BOOL messageBox = TRUE);
    CKeltoPort(const CKeltoPort&) = delete;
    CKeltoPort& operator=(const CKeltoPort&) = delete;

    int SendCommand(const char* command);
    // Appends the texts of the responses read; step is the read wait in ms.
    int ReadResponses(CString& out, int step);
    // True when the switch answered with its version.
    bool Locate();
    // Sends a ping with the next mark and waits until the monitoring thread has
    // recorded its echo; false when timeout ms passed first.
    bool Flush(int timeout);
    BOOL WriteRaw(const BYTE* bytes, int n);
    // 0xFF 0x00 0x40, then the payload with every 0xFF sent as 0xFF 0x01.
    BOOL WriteFrame(const BYTE* bytes, int n);

    // Boot loader
    void Reset();
    BOOL EnterBootLoader();
    BOOL WaitForBootLoader(int timeout);
    BOOL ExitBootLoader();
    BOOL WriteFlashBlock(int address, int length, const BYTE* data);
    BOOL ReadFlashBlock(int address, int length, BYTE* out);

    int GetComPort() const { return m_comPort; }
    int GetBaudRate() const { return m_baudRate; }
    double GetVersion() const { return m_version; }
    CString GetErrorText() const { return m_error.m_text; }
    CError& GetError() { return m_error; }
    BOOL IsOpenFailed() const { return m_openFailed; }
    BOOL IsLocated() const { return m_located; }
    BOOL IsInBootMode() const { return m_bootMode; }
    int GetLastEcho() const { return m_lastEcho; }

private:
    struct CommandWord;
    static const CommandWord kCommandWords[];
    struct Response;
    static const Response kResponses[];

    void SendWord(const CString& word, const CString& args);
    void ReadResponsesFor(int ms);
    void OnResponse(BYTE code, const BYTE* payload);

    // Set while the boot loader runs: responses are not read meanwhile.
    std::atomic<BOOL> m_bootMode;
    std::atomic<LONG> m_markCounter;
    std::atomic<LONG> m_lastEcho;
    // Grows with every echo, so that a flush can tell a new echo from an old one.
    std::atomic<LONG> m_echoes;
    CError m_error;
    BOOL m_openFailed;
    // Keeps the frames of concurrent writers whole.
    CCriticalSection m_lock;
    std::atomic<double> m_version;
    BYTE m_located;
    int m_baudRate;
    int m_comPort;
    CSerialLine m_line;
};
