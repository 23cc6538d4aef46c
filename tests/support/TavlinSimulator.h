// A Tavlin interface unit at the device side of a pty-backed COM port. It reads
// the program's frames on its own thread and answers as the unit does: version,
// serial number and settings queries, baud-rate changes, and the serial port's
// data sent back unchanged (which is how sync marks are echoed). It listens and
// talks only while the program's line rate (the pty's termios) matches its own.
// Tests script further output (control-bus messages, IR timings, parallel data,
// error answers), whole or split into pieces with pauses between them.
// On the test fixture the unit's outputs are wired back to its inputs, and its
// boot loader stores and returns flash blocks.
// While it lives the simulator owns the device side of the pty: tests talk to
// the unit through it, not through the pty.
#pragma once

#include "tests/support/PtySerial.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

// What the unit's set commands left and its queries report.
struct TavlinUnitSettings
{
    int sampleCount = 500;             // 0.2 us units: 100 us
    BYTE carrierExponent = 0;
    BYTE carrierDivider = 124;         // 40000 Hz
    int timeoutCount = 0;
    BYTE minMessageLength = 0;
    BYTE irTransmitPorts = 0xFF;
    BYTE irReceivePorts = 0xFF;
    BYTE irReceivePolarity = 0;
    BYTE routing[16] = {};
    BYTE parallelHandshake = 0;
    BYTE parallelDirection = 0;
    BYTE parallelInput = 0;            // answered to a parallel read
    BYTE enabledPorts = 0xBF;
};

// How the test fixture wires the unit's outputs back to its inputs.
struct TavlinFixture
{
    BYTE busPorts = 0;          // control-bus ports whose messages come back on themselves
    BYTE irChannels = 0;        // IR transmitters facing their own receivers
    bool parallel = false;      // parallel outputs 1-6 wired in pairs (1-2, 3-4, 5-6)
    int irDurationChange = 0;   // -1: the receiver loses the last duration; +1: sees one more
    BYTE varloOutputs = 0;      // IR transmitters that receiver 0 also sees (a Varlo unit's wiring)
};

// A data message the program sent to one of the unit's ports.
struct TavlinUnitMessage
{
    int port;
    std::string data;
    int bitCount;   // valid bits of the last byte of a control-bus bit message, else 8
};

// Equipment on a control-bus port of the unit (a changer, say): it hears every
// whole message the unit sends on the port and answers with whole messages of
// its own (address byte first). Called on the simulator's thread.
class CTavlinBusDevice
{
public:
    virtual ~CTavlinBusDevice() {}
    virtual std::vector<std::string> OnBusMessage(const std::string& message) = 0;
};

class CTavlinSimulator
{
public:
    explicit CTavlinSimulator(CPtySerial& pty, int baudRate = 38400, double version = 2.1);
    ~CTavlinSimulator();
    CTavlinSimulator(const CTavlinSimulator&) = delete;
    CTavlinSimulator& operator=(const CTavlinSimulator&) = delete;

    void SetVersion(double version);
    void SetBaudRate(int rate);
    int GetBaudRate() const;
    void SetSerialNumber(const std::string& eightBytes);
    std::string SerialNumber() const;
    // A silent unit reads but never answers.
    void SetSilent(bool silent);
    TavlinUnitSettings Settings() const;
    void SetSettings(const TavlinUnitSettings& settings);

    // Output in the order given; each piece is followed by its pause.
    void Send(const std::string& bytes, int pauseAfterMs = 0);
    void SendInPieces(const std::string& bytes, size_t pieceSize, int pauseMs);
    // True once everything scripted has been written.
    bool WaitUntilSent(int timeoutMs);

    // Frames as the unit writes them.
    static std::string Message(int port, const std::string& data);   // chunks and end byte
    static std::string Answer(int port, BYTE code, const std::string& args = std::string());
    static std::string Bytes(std::initializer_list<int> values);
    // An IR message of durations in microseconds (marks positive, spaces
    // negative) at the sample period; a receiver of 0 or more adds the answer
    // that names it, as firmware 2.0 and later send.
    static std::string IRMessage(const std::vector<double>& durations, double samplePeriod,
                                 int receiver = -1);

    // Outputs wired back to inputs; nothing is wired at first.
    void SetFixture(const TavlinFixture& fixture);
    static TavlinFixture FullyWired();
    // Equipment on a control-bus port (0-3); null takes it away. Not owned.
    void AttachBusDevice(int port, CTavlinBusDevice* device);

    // Boot loader: entered by two system command headers.
    bool InBootLoader() const;
    // length bytes of flash from a word address.
    std::string Flash(int wordAddress, int length) const;
    // Line noise on the next n flash blocks written: their checksums fail.
    void CorruptNextBlocks(int n);

    // Everything the unit took in at a matching rate, and the data messages in it.
    std::string Received() const;
    void ClearReceived();
    bool WaitForReceived(const std::string& part, int timeoutMs) const;
    std::vector<TavlinUnitMessage> Messages() const;
    // Every whole command the unit took, as port << 8 | code, in order.
    std::vector<int> Commands() const;
    void ClearCommands();
    // Bytes that came while the program's rate was not the unit's.
    size_t Garbled() const;

private:
    struct Piece
    {
        std::string bytes;
        int pauseAfterMs;
    };

    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    int LineRate() const;
    void Take(const std::string& bytes);
    size_t Parse(const std::string& bytes);
    size_t Command(int port, const std::string& bytes);
    void Data(int port, const std::string& data);
    void EndOfMessage(int port);
    void Reply(const std::string& bytes);
    void Loopback(int port, const std::string& data, int bitCount);
    void IRLoopback(const std::string& data);
    BYTE ParallelInput() const;
    size_t BootLoaderCommand(const std::string& bytes);
    void SendDue();
    BYTE VersionByte() const;

    CPtySerial& m_pty;
    int m_slave = -1;   // the program's side, for its termios
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};

    mutable std::mutex m_lock;
    int m_baudRate;
    double m_version;
    std::string m_serialNumber;
    bool m_silent = false;
    TavlinUnitSettings m_settings;
    std::deque<Piece> m_script;
    DWORD m_nextSend = 0;
    bool m_sending = false;
    std::string m_input;   // bytes of a unit not yet complete
    std::string m_received;
    size_t m_garbled = 0;
    std::string m_open[8];
    int m_openBits[8] = {};
    std::vector<TavlinUnitMessage> m_messages;
    std::vector<int> m_commands;
    TavlinFixture m_fixture;
    CTavlinBusDevice* m_busDevices[4] = {};
    BYTE m_parallelOutput = 0;
    bool m_bootLoader = false;
    std::string m_flash;
    int m_corruptBlocks = 0;
};
