// Driver of one Tavlin interface device on one COM port. The device multiplexes
// eight ports over the serial line: control-bus ports 0-3, the IR port 4, the
// parallel port 5, the serial port 6 and its own system port 7. Every byte that
// starts a unit on the line is a header: device port in bits 7-5, count in bits
// 4-0 (1-30 data bytes follow, 0 ends the port's message, 0x1F is a port command
// followed by its code and arguments). Answers come back in the same framing.
#pragma once

#include <afx.h>
#include <afxmt.h>

#include "devices/util/Error.h"
#include "devices/util/SerialLine.h"
#include "devices/port/TavlinReceiver.h"

#include <atomic>
#include <vector>

// The receive parser's error counters, read by the device server's views.
enum TavlinErrorKind
{
    kTransmitTimeouts,      // every port
    kReceiveOverflows,      // serial port
    kReceiveOverruns,       // serial port
    kFramingErrors,         // serial port
    kIllegalCommands,       // control-bus, IR, serial and system ports
    kCommandTimeouts,       // system port
    kReboots,               // "Defaults Loaded / Reboot"
    kTavlinErrorKinds
};

class CTavlinPort
{
public:
    enum
    {
        kIRPort = 4,
        kParallelPort = 5,
        kSerialPort = 6,
        kSystemPort = 7,
        kDevicePorts = 8
    };
    // Every port command the driver sends, a row of kCommands.
    enum Command
    {
        kEnablePort,
        kDisablePort,
        kSetSamplePeriod,
        kRequestSamplePeriod,
        kSetCarrier,
        kRequestCarrier,
        kSetIRTransmitPorts,
        kSetIRReceivePorts,
        kSetIRRoutingTable,
        kSetIRReceivePolarity,
        kSetTimeoutPeriod,
        kRequestTimeoutPeriod,
        kSetMinMessageLength,
        kRequestMinMessageLength,
        kRequestIRTransmitPorts,
        kRequestIRReceivePorts,
        kRequestIRRoutingTable,
        kRequestIRReceivePolarity,
        kSetParallelHandshake,
        kRequestParallelHandshake,
        kSetParallelDirection,
        kRequestParallelDirection,
        kReadParallel,
        kSetBaudRate,
        kRequestBaudRate,
        kRequestVersion,
        kRequestSerialNumber,
        kWriteSerialNumber,
        kStoreToEEPROM,
        kLoadFromEEPROM,
        kPlayMacro1,
        kPlayMacro2,
        kStoreMacro1,
        kStoreMacro2,
        kSystemCommand16,
        kCommandCount
    };
    // Firmware from which the unit has IR port masks and routing, and names the
    // receiver of each IR message.
    static constexpr double kIRPortsVersion = 2.0;
    // Current time in seconds; replaceable so that tests can drive the keep-alive.
    typedef double (*SecondsClock)();

    // The port opens at once; messageBox is its error holder's mode from the
    // start, so that an owner that wants no boxes sees none for the opening.
    explicit CTavlinPort(int comPort, BOOL messageBox = TRUE);
    CTavlinPort(const CTavlinPort&) = delete;
    CTavlinPort& operator=(const CTavlinPort&) = delete;

    // COM port
    BOOL Open();
    void Configure();
    BOOL Write(const BYTE* bytes, int n);
    BOOL WriteUnlocked(const BYTE* bytes, int n);
    BOOL ReadExact(BYTE* buffer, int n, int timeout);
    // Reads what has come until a read brings nothing.
    void DrainInput();
    static BOOL PortExists(int n);

    // Finding and keeping the device
    BOOL Locate();
    void Reset();
    // Sends a sync mark and waits until the device has echoed it; false when
    // timeout ms passed first. With read set it reads responses itself, else it
    // waits for the monitoring thread to do so.
    BOOL Flush(BOOL read, int timeout);
    void RequestSettings(BOOL read);
    BOOL SetBaudRate(int rate);

    // Port commands: (port << 5) + 0x1F, a code and its argument bytes, each one
    // locked write; ReadParallel is answered as parallel-port data.
    BOOL EnablePort(int p) { return Send(kEnablePort, nullptr, p); }
    BOOL DisablePort(int p) { return Send(kDisablePort, nullptr, p); }
    BOOL SetSamplePeriod(double seconds);
    BOOL RequestSamplePeriod() { return Send(kRequestSamplePeriod); }
    BOOL SetCarrier(double hertz);
    BOOL RequestCarrier() { return Send(kRequestCarrier); }
    BOOL SetIRTransmitPorts(int mask);
    BOOL SetIRReceivePorts(int mask);
    BOOL SetIRRoutingTable(const int ports[8], const double carriers[8]);
    BOOL SetIRReceivePolarity(int mask);
    BOOL RequestIRTransmitPorts() { return Send(kRequestIRTransmitPorts); }
    BOOL RequestIRReceivePorts() { return Send(kRequestIRReceivePorts); }
    BOOL RequestIRRoutingTable() { return Send(kRequestIRRoutingTable); }
    BOOL RequestIRReceivePolarity() { return Send(kRequestIRReceivePolarity); }
    BOOL SetTimeoutPeriod(double seconds);
    BOOL RequestTimeoutPeriod() { return Send(kRequestTimeoutPeriod); }
    BOOL SetMinMessageLength(int n);
    BOOL RequestMinMessageLength() { return Send(kRequestMinMessageLength); }
    BOOL SetParallelHandshake(BOOL a, BOOL b, BOOL c);
    BOOL RequestParallelHandshake() { return Send(kRequestParallelHandshake); }
    BOOL SetParallelDirection(int mask);
    BOOL RequestParallelDirection() { return Send(kRequestParallelDirection); }
    BOOL ReadParallel() { return Send(kReadParallel); }
    BOOL RequestBaudRate() { return Send(kRequestBaudRate); }
    BOOL RequestVersion() { return Send(kRequestVersion); }
    BOOL RequestSerialNumber() { return Send(kRequestSerialNumber); }
    BOOL WriteSerialNumber(DWORD value, const BYTE serial[8]);
    BOOL StoreToEEPROM() { return Send(kStoreToEEPROM); }
    BOOL LoadFromEEPROM() { return Send(kLoadFromEEPROM); }
    BOOL PlayMacro1() { return Send(kPlayMacro1); }
    BOOL PlayMacro2() { return Send(kPlayMacro2); }
    BOOL StoreMacro1() { return Send(kStoreMacro1); }
    BOOL StoreMacro2() { return Send(kStoreMacro2); }
    BOOL SystemCommand16(DWORD value);
    BOOL EndMacro();
    BOOL SendResetSequence();
    BOOL SendSyncMark(BYTE mark);

    // LOWLEVEL words (CTavlinLowLevel): executes every item of the text under the
    // write lock.
    BOOL ExecuteLowLevel(const char* text);
    // IR timing text as IR data chunks and end byte, written without the lock
    // (the caller holds it); nothing when the text holds no duration.
    BOOL SendIRTimings(const char* text);
    // The unit's IR data bytes for a timing text at the current sample period;
    // false (reported) when a duration is too long to send.
    BOOL EncodeIRTimings(const char* text, std::vector<BYTE>& bytes);

    // Self tests on the loopback fixture (CTavlinSelfTest): 0 passes, else the
    // failure value.
    int RunTest(int kind, int rounds);
    BOOL TestIRLoopback(int txPort, int rxPort, double carrier);

    // Boot loader (CTavlinBootLoader)
    BOOL SendBootLoaderRequest();
    BOOL EnterBootLoader();
    BOOL WaitForBootLoader(int timeout);
    BOOL ExitBootLoader();
    BOOL WriteFlashBlock(int address, int length, const BYTE* data);
    BOOL ReadFlashBlock(int address, int length, BYTE* out);
    BOOL SendBootLoaderCode();

    // Receiving (CTavlinReceiver): texts of the messages completed during the
    // call, in port order.
    BOOL ReadResponses(CString& out, int timeout) { return m_receiver.Read(out, timeout); }
    CString DecodeIRBytes(const BYTE* bytes, int n, double& total)
    {
        return m_receiver.DecodeIRBytes(bytes, n, total);
    }
    BOOL IsAlive() const;
    // What the unit reported last stands until it answers again; a version it
    // never reports tells whether an answer came.
    void SetVersion(double version) { m_version = version; }

    // Settings as the device last reported them
    int GetComPort() const { return m_comPort; }
    int GetBaudRate() const { return m_baudRate; }
    double GetVersion() const { return m_version; }
    double GetCarrier() const { return m_carrier; }
    double GetSamplePeriod() const { return m_samplePeriod; }
    double GetTimeoutPeriod() const { return m_timeoutCount * m_samplePeriod; }
    int GetMinMessageLength() const { return m_minMessageLength; }
    void GetSerialNumber(BYTE serial[8]) const;
    DWORD GetSignature() const { return m_signature; }
    int GetIRTransmitPorts() const { return m_irTransmitPorts; }
    int GetIRReceivePorts() const { return m_irReceivePorts; }
    int GetIRReceivePolarity() const { return m_irReceivePolarity; }
    void GetParallelHandshake(BOOL* a, BOOL* b, BOOL* c) const;
    int GetParallelDirection() const { return m_parallelDirection; }
    BOOL IsPortEnabled(int p) const { return (m_enabledPorts >> p) & 1; }
    BOOL GetIRRoutingTable(int ports[8], double carriers[8]) const;
    void SetReceiverSkew(double seconds) { m_receiverSkew = seconds; }
    double GetReceiverSkew() const { return m_receiverSkew; }
    void SetMaxSignalLength(double seconds) { m_maxSignalLength = seconds; }
    double GetMaxSignalLength() const { return m_maxSignalLength; }
    CString GetErrorText() const { return m_error.m_text; }
    CError& GetError() { return m_error; }
    LONG GetErrorCount(TavlinErrorKind kind) const { return m_errorCounts[kind]; }
    LONG GetComResets() const { return m_comResets; }
    BOOL IsOpenFailed() const { return m_openFailed; }
    BOOL IsLocated() const { return m_located; }

    void SetKeepAlive(BOOL on) { m_keepAlive = on; }
    void SetClock(SecondsClock clock) { m_clock = clock; }

private:
    // The interpreter's words set the repeat and the version wish and send
    // framed messages.
    friend class CTavlinLowLevel;
    // The receive parser keeps the settings cache and the sync marks up to date.
    friend class CTavlinReceiver;

    static constexpr double kCarrierClock = 5000000;   // Hz; carriers divide it down
    static constexpr int kSyncMarks = 30;
    static constexpr double kSampleTick = 0.0000002;   // seconds per sample period count


    struct CommandRule;
    static const CommandRule kCommands[kCommandCount];
    // The command's header (for the given device port, or the command's own when
    // port is -1), code and argument bytes in one locked write.
    BOOL Send(Command command, const BYTE* args = nullptr, int port = -1);
    BOOL CarrierSetting(double hertz, BYTE& exponent, BYTE& divider);
    void ReadResponsesFor(int ms);
    double Now() const { return m_clock(); }
    int SendNextSyncMark();
    void SetIRRepeat(BOOL on, const char* text);
    static std::vector<BYTE> Frame(int port, const BYTE* bytes, int n, bool end);
    void SendPortMessage(int port, const std::vector<BYTE>& bytes);



    std::atomic<BOOL> m_keepAlive;
    // Set by "irrepeat": every echoed sync mark sends the repeat text again.
    // Both live under the write lock: LOWLEVEL words set them, and the
    // receiving thread sends the repeat holding it.
    BOOL m_irRepeat;
    CString m_irRepeatText;
    CError m_error;
    BOOL m_openFailed;
    // Every locked write and the whole of one LOWLEVEL execution hold it.
    CCriticalSection m_writeLock;
    std::atomic<BYTE> m_busy;
    LONG m_comResets;
    double m_version;
    BYTE m_serialNumber[8];
    DWORD m_signature;
    double m_samplePeriod;
    double m_carrier;
    int m_timeoutCount;
    double m_receiverSkew;
    double m_maxSignalLength;
    int m_routingPorts[8];
    double m_routingCarriers[8];
    int m_irReceivePolarity;
    int m_irReceivePorts;
    int m_irTransmitPorts;
    int m_enabledPorts;
    int m_minMessageLength;
    int m_parallelDirection;
    int m_parallelHandshake;
    std::atomic<BOOL> m_located;
    std::atomic<BYTE> m_versionWanted;
    double m_lastResetRequest;
    double m_versionTime;
    DWORD m_versionTick;
    LONG m_syncCounter;
    std::atomic<LONG> m_lastSyncEcho;
    // Grows with every echo, so that a wait can tell a new echo from an old one.
    std::atomic<LONG> m_syncEchoes;
    LONG m_errorCounts[kTavlinErrorKinds];
    int m_baudRate;
    int m_comPort;
    // The line belongs to the receiving side (the monitoring thread, or whoever
    // reads responses while none runs): only it closes and reopens the handle,
    // which other threads write through unlocked. A writer whose write failed
    // sets m_reopenWanted; the next reading of responses reopens.
    CSerialLine m_line;
    std::atomic<LONG> m_reopenWanted;
    SecondsClock m_clock;

    CTavlinReceiver m_receiver;
};
