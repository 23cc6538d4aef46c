// Driver of one CM11a X10 power-line interface on one COM port. Commands of a
// "cm11a" device become X10 transmissions, each frame confirmed by the
// interface's checksum of its bytes; the interface's uploads of X10 traffic
// become event texts, and its clock requests after a power failure are
// answered with the local time.
#pragma once

#include <afx.h>
#include <afxmt.h>

#include <time.h>

#include <vector>

#include "devices/util/Error.h"
#include "devices/util/SerialLine.h"

struct X10Frame
{
    std::vector<BYTE> bytes;
    BOOL expectsChecksum;
    BOOL expectsStatus;
    int tries;
};

class CCM11aPort
{
public:
    // Current time in seconds; replaceable so that tests can drive the time-outs
    // and the clock frames.
    typedef time_t (*SecondsClock)();

    // The port opens at once; messageBox is its error holder's mode from the
    // start, so that an owner that wants no boxes sees none for the opening.
    explicit CCM11aPort(int comPort, BOOL messageBox = TRUE);
    CCM11aPort(const CCM11aPort&) = delete;
    CCM11aPort& operator=(const CCM11aPort&) = delete;

    // Queues the frames of one command; failures go to the error holder only.
    int SendCommand(const char* command);
    // Answers what the interface sent, sends the next queued frame when it is
    // idle and appends event texts to out. step is the read wait in ms.
    int ReadEvents(CString& out, int step);

    int GetComPort() const { return m_comPort; }
    int GetBaudRate() const { return m_baudRate; }
    double GetVersion() const { return m_version; }
    CString GetErrorText() const { return m_error.m_text; }
    CError& GetError() { return m_error; }
    BOOL IsOpenFailed() const { return m_openFailed; }
    // The bytes of the frame at the head of the queue as "%02X" text.
    CString GetQueueHead();
    void SetClock(SecondsClock clock) { m_clock = clock; }

private:
    struct FunctionWord;
    static const FunctionWord kFunctionWords[];
    struct UploadFunction;
    static const UploadFunction kUploadFunctions[];

    struct Address
    {
        int house;
        std::vector<int> units;
        int level;
        int command;
    };

    BOOL ParseAddress(const CString& args, Address& address);
    void QueueAddressFrames(const Address& address);
    void Queue(const X10Frame& frame, bool atFront = false);
    static X10Frame NewFrame(const BYTE* bytes, int n, BOOL expectsChecksum);
    void QueueClock();
    // A request repeated while the answer still waits needs no second answer.
    bool ClockQueued();
    void Transmit();
    void DropFront();
    void DropFrontLocked();
    void HandleByte(BYTE byte, CString& out, int step);
    void OnChecksum(BYTE byte);
    void AskForUpload();
    void ReadUpload(int length, CString& out, int step);
    void ReadStatus(BYTE first, CString& out, int step);
    void DecodeUpload(const BYTE* bytes, int n, CString& out);
    CString UnitsText() const;
    BOOL Write(const BYTE* bytes, int n);

    CError m_error;
    BOOL m_openFailed;
    // Guards the transmit queue between the sending and the monitoring thread.
    CCriticalSection m_queueLock;
    std::vector<X10Frame> m_queue;
    // Upload decoding state; the protocol flags below it belong to the
    // monitoring thread alone.
    std::vector<int> m_units;
    BOOL m_functionSeen;
    int m_house;
    int m_lastUnit;
    BOOL m_awaitingChecksum;
    BOOL m_awaitingUpload;
    BOOL m_ready;
    BOOL m_awaitingStatus;
    time_t m_lastTransmit;
    int m_expectedChecksum;
    double m_version;
    int m_baudRate;
    int m_comPort;
    CSerialLine m_line;
    SecondsClock m_clock;
};
