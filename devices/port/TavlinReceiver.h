// The interface unit's receive parser: framed bytes from the unit become event
// texts, one per message, while the unit's answers update the port's settings
// cache, its error answers are reported and counted, and sync mark echoes are
// recorded and answered. It runs on the receiving side of the port only.
#pragma once

#include <afx.h>

class CTavlinPort;

class CTavlinReceiver
{
public:
    explicit CTavlinReceiver(CTavlinPort& port);
    CTavlinReceiver(const CTavlinReceiver&) = delete;
    CTavlinReceiver& operator=(const CTavlinReceiver&) = delete;

    // Texts of the messages completed during the call, in port order; true when
    // at least one byte came. timeout is the wait for the first byte.
    BOOL Read(CString& out, int timeout);
    CString DecodeIRBytes(const BYTE* bytes, int n, double& total);

private:
    enum { kPorts = 8 };
    struct AnswerRule;
    static const AnswerRule kAnswers[];

    void ReadData(int port, BYTE header);
    bool ReadAnswer(int port);
    bool EndOfMessage(int port);
    void OpenMessage(int port);
    void CloseMessage(int port);
    void ReportAnswerText(const char* text, int port, int code);
    void OnEnabled(int port, const BYTE* args);
    void OnDisabled(int port, const BYTE* args);
    void OnBitCount(int port, const BYTE* args);
    void OnReceiveError(int port, const BYTE* args);
    void OnIRReceivePort(int port, const BYTE* args);
    void OnSamplePeriod(int port, const BYTE* args);
    void OnCarrier(int port, const BYTE* args);
    void OnIRTransmitPorts(int port, const BYTE* args);
    void OnIRReceivePorts(int port, const BYTE* args);
    void OnIRRoutingTable(int port, const BYTE* args);
    void OnIRReceivePolarity(int port, const BYTE* args);
    void OnTimeoutCount(int port, const BYTE* args);
    void OnMinMessageLength(int port, const BYTE* args);
    void OnParallelHandshake(int port, const BYTE* args);
    void OnParallelDirection(int port, const BYTE* args);
    void OnSyncMarkNumber(int port, const BYTE* args);
    void OnBaudRate(int port, const BYTE* args);
    void OnVersion(int port, const BYTE* args);
    void OnSerialNumber(int port, const BYTE* args);
    void OnSignature(int port, const BYTE* args);
    void OnSyncEcho(int mark);
    void SendDueRepeat();

    CTavlinPort& m_port;
    // An echo asked for a repeat while another thread held the write lock.
    bool m_repeatDue;
    BYTE m_openMessages;
    BYTE m_bitMode;
    CString m_text[kPorts];
    // Ports whose message passed the longest text and drops the rest.
    BYTE m_cutMessages;
    // Texts of messages closed during the current call, handed out at its end.
    CString m_completed[kPorts];
    int m_bitCount[kPorts];
    BYTE m_irOverflow;
    double m_irDuration;
    // The IR message saw its end byte and waits for its receive-port answer.
    BYTE m_irEnded;
};
