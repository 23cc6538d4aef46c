// Command encoder: port commands and framed messages. Port commands are the device's settings, queries, macros and EEPROM, framed as
// (port << 5) + 0x1F, a code and its arguments. Multi-byte counts go high byte
// first, 4-byte values as they lie in memory (least significant byte first).
#include "devices/port/TavlinPort.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace {

const BYTE kPortCommand = 0x1F;   // the count that makes a header a port command

const double kLowestCarrier = 2441.40625;   // the carrier clock / 2048
const int kLargestDivisor = 2048;
const int kLargestDivider = 256;
const double kShortestSamplePeriod = 0.000049;
const double kLongestSamplePeriod = 0.001;
const double kShortestTimeout = 0.00005;
const int kLargestTimeoutCount = 65536;
const int kLongestMinMessageLength = 15;
const int kBaudRates[] = {2400, 4800, 9600, 19200, 38400};   // index = the device's code
const int kBaudAnswerMs = 500;

int Round(double value)
{
    return int(value + 0.5);
}

const int kMaxChunk = 30;
const BYTE kMarkBit = 0x80;          // an IR data byte with the carrier on
const int kMostPeriods = 0x7F;       // sample periods one IR data byte can hold
const double kLeadingSpace = 0.001;  // seconds of space before a short first mark
const double kShortFirstMark = 400;  // us
// Nothing the unit can receive lasts this long; longer durations are refused
// before the encoding could grow without bound.
const double kLongestDuration = 10000000;   // us
const char kNumberChars[] = "+-.0123456789";

} // namespace

struct CTavlinPort::CommandRule
{
    int port;   // the device port whose command header leads it
    BYTE code;
    BYTE argBytes;
};

// In the order of Command.
const CTavlinPort::CommandRule CTavlinPort::kCommands[kCommandCount] = {
    {0, 0x03, 0},              // EnablePort
    {0, 0x02, 0},              // DisablePort
    {kIRPort, 0x04, 2},        // SetSamplePeriod
    {kIRPort, 0x05, 0},        // RequestSamplePeriod
    {kIRPort, 0x06, 2},        // SetCarrier
    {kIRPort, 0x07, 0},        // RequestCarrier
    {kIRPort, 0x08, 1},        // SetIRTransmitPorts
    {kIRPort, 0x09, 1},        // SetIRReceivePorts
    {kIRPort, 0x0A, 16},       // SetIRRoutingTable
    {kIRPort, 0x0B, 1},        // SetIRReceivePolarity
    {kIRPort, 0x0C, 2},        // SetTimeoutPeriod
    {kIRPort, 0x0D, 0},        // RequestTimeoutPeriod
    {kIRPort, 0x0E, 1},        // SetMinMessageLength
    {kIRPort, 0x0F, 0},        // RequestMinMessageLength
    {kIRPort, 0x10, 0},        // RequestIRTransmitPorts
    {kIRPort, 0x11, 0},        // RequestIRReceivePorts
    {kIRPort, 0x12, 0},        // RequestIRRoutingTable
    {kIRPort, 0x13, 0},        // RequestIRReceivePolarity
    {kParallelPort, 0x10, 1},  // SetParallelHandshake
    {kParallelPort, 0x11, 0},  // RequestParallelHandshake
    {kParallelPort, 0x12, 1},  // SetParallelDirection
    {kParallelPort, 0x13, 0},  // RequestParallelDirection
    {kParallelPort, 0x14, 0},  // ReadParallel
    {kSerialPort, 0x08, 1},    // SetBaudRate
    {kSerialPort, 0x09, 0},    // RequestBaudRate
    {kSystemPort, 0x0B, 0},    // RequestVersion
    {kSystemPort, 0x0C, 0},    // RequestSerialNumber
    {kSystemPort, 0x0D, 12},   // WriteSerialNumber
    {kSystemPort, 0x0E, 0},    // StoreToEEPROM
    {kSystemPort, 0x0F, 0},    // LoadFromEEPROM
    {kSystemPort, 0x10, 0},    // PlayMacro1
    {kSystemPort, 0x11, 0},    // PlayMacro2
    {kSystemPort, 0x12, 0},    // StoreMacro1
    {kSystemPort, 0x13, 0},    // StoreMacro2
    {kSystemPort, 0x10, 4},    // SystemCommand16
};

BOOL CTavlinPort::Send(Command command, const BYTE* args, int port)
{
    const CommandRule& rule = kCommands[command];
    BYTE bytes[2 + 16];
    bytes[0] = BYTE(((port < 0 ? rule.port : port) << 5) + kPortCommand);
    bytes[1] = rule.code;
    if (rule.argBytes)
        memcpy(bytes + 2, args, rule.argBytes);
    return Write(bytes, 2 + rule.argBytes);
}

BOOL CTavlinPort::SetSamplePeriod(double seconds)
{
    double shortest = 1.0 / m_baudRate > kShortestSamplePeriod ? 1.0 / m_baudRate
                                                                : kShortestSamplePeriod;
    if (!(seconds >= shortest))   // not a number is no period either
        return m_error.Fail("%.0lfus is to short of a sampling period (%.0lfus is the shortest at this baud rate)",
                            seconds * 1e6, shortest * 1e6);
    if (seconds > kLongestSamplePeriod)
        return m_error.Fail("%.0lfus is to long of a sampling period (%.0lfus is the longest)", seconds * 1e6,
                            kLongestSamplePeriod * 1e6);
    int count = Round(seconds / kSampleTick);
    BYTE args[] = {BYTE(count >> 8), BYTE(count)};
    return Send(kSetSamplePeriod, args);
}

// Carrier = kCarrierClock / (2^exponent * (divider + 1)); 0 Hz is no carrier.
BOOL CTavlinPort::CarrierSetting(double hertz, BYTE& exponent, BYTE& divider)
{
    exponent = 0;
    divider = 0;
    if (hertz == 0)
        return TRUE;
    double divisor = floor(kCarrierClock / hertz);
    if (divisor == 0)
        return m_error.Fail("%lf is to high of a carrier frequency (%lf is the max)", hertz, kCarrierClock);
    // A negative frequency (or no number at all) is no carrier the unit can make.
    if (hertz < 0 || !(divisor <= kLargestDivisor))
        return m_error.Fail("%lf is to low of a carrier frequency (%lf is the minimum)", hertz,
                            kLowestCarrier);
    int n = int(divisor);
    while ((n >> exponent) > kLargestDivider)
        ++exponent;
    divider = BYTE((n >> exponent) - 1);
    return TRUE;
}

BOOL CTavlinPort::SetCarrier(double hertz)
{
    BYTE args[2];
    if (!CarrierSetting(hertz, args[0], args[1]))
        return FALSE;
    return Send(kSetCarrier, args);
}

BOOL CTavlinPort::SetIRTransmitPorts(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return Send(kSetIRTransmitPorts, &arg);
}

BOOL CTavlinPort::SetIRReceivePorts(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return Send(kSetIRReceivePorts, &arg);
}

// Entries carry no exponent: the device reads each back as kCarrierClock /
// (divider + 1), so carriers below 19532 Hz come out higher than asked.
BOOL CTavlinPort::SetIRRoutingTable(const int ports[8], const double carriers[8])
{
    BYTE args[16];
    for (int i = 0; i < 8; ++i) {
        BYTE exponent;
        if (!CarrierSetting(carriers[i], exponent, args[2 * i + 1]))
            return FALSE;
        args[2 * i] = BYTE(ports[i]);
    }
    return Send(kSetIRRoutingTable, args);
}

BOOL CTavlinPort::SetIRReceivePolarity(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return Send(kSetIRReceivePolarity, &arg);
}

BOOL CTavlinPort::SetTimeoutPeriod(double seconds)
{
    if (!(seconds >= kShortestTimeout))   // not a number is no period either
        return m_error.Fail("%.0lfus is to short of a timeout period  (%.0lfus is the shortest)",
                            seconds * 1e6, kShortestTimeout * 1e6);
    double count = floor(seconds / m_samplePeriod + 0.5);
    if (count == 0)
        return m_error.Fail("%.0lfus is to short of a timeout period (%.0lfus is the shortest)",
                            seconds * 1e6, m_samplePeriod * 1e6);
    if (count > kLargestTimeoutCount)
        return m_error.Fail("%.0lfus is to long of a timeout period (%.0lfus is the longest)",
                            seconds * 1e6, kLargestTimeoutCount * m_samplePeriod * 1e6);
    // The count is 16 bits on the wire: 65536 goes out as 0.
    int n = int(count);
    BYTE args[] = {BYTE(n >> 8), BYTE(n)};
    return Send(kSetTimeoutPeriod, args);
}

BOOL CTavlinPort::SetMinMessageLength(int n)
{
    if (n < 0)
        return m_error.Fail("%d is to short of a minimum message length (0 is the shortest)", n);
    if (n > kLongestMinMessageLength)
        return m_error.Fail("%d is to long of a minimum message length (%d is the longest)", n,
                            kLongestMinMessageLength);
    BYTE arg = BYTE(n);
    return Send(kSetMinMessageLength, &arg);
}

BOOL CTavlinPort::SetParallelHandshake(BOOL a, BOOL b, BOOL c)
{
    BYTE flags = BYTE((b ? 1 : 0) + (a ? 2 : 0) + (c ? 4 : 0));
    return Send(kSetParallelHandshake, &flags);
}

BOOL CTavlinPort::SetParallelDirection(int mask)
{
    BYTE arg = BYTE(mask);
    return Send(kSetParallelDirection, &arg);
}

BOOL CTavlinPort::SetBaudRate(int rate)
{
    if (rate == m_baudRate)
        return TRUE;
    int code = 0;
    while (code < int(sizeof kBaudRates / sizeof kBaudRates[0]) && kBaudRates[code] != rate)
        ++code;
    if (code == int(sizeof kBaudRates / sizeof kBaudRates[0])) {
        m_error.m_text.Format("%dbps is an invalid baud rate.", rate);
        return FALSE;
    }
    BYTE arg = BYTE(code);
    BOOL written = Send(kSetBaudRate, &arg);
    // The device's answer makes the parser store the rate and reconfigure the port.
    ReadResponsesFor(kBaudAnswerMs);
    return written;
}

BOOL CTavlinPort::WriteSerialNumber(DWORD value, const BYTE serial[8])
{
    BYTE args[12];
    memcpy(args, &value, 4);
    memcpy(args + 4, serial, 8);
    return Send(kWriteSerialNumber, args);
}

BOOL CTavlinPort::SystemCommand16(DWORD value)
{
    BYTE args[4];
    memcpy(args, &value, 4);
    return Send(kSystemCommand16, args);
}

// Two end bytes of control-bus port 3.
BOOL CTavlinPort::EndMacro()
{
    const BYTE bytes[] = {0x60, 0x60};
    return Write(bytes, sizeof bytes);
}

BOOL CTavlinPort::SendResetSequence()
{
    const BYTE bytes[] = {0x00, 0xFF, 0xAA};
    return WriteUnlocked(bytes, sizeof bytes);
}

// One data byte for the serial port, which the device sends back unchanged; the
// marks are 0xC1-0xDE, so the echo reads as a serial
// header that the receive parser records.
BOOL CTavlinPort::SendSyncMark(BYTE mark)
{
    const BYTE bytes[] = {0xC1, mark, 0xC0};
    return WriteUnlocked(bytes, sizeof bytes);
}

// Called by the words only, under the write lock.
void CTavlinPort::SetIRRepeat(BOOL on, const char* text)
{
    m_irRepeat = on;
    m_irRepeatText = text;
}

// Chunks of at most 30 bytes, each led by (port << 5) + count, and with end set
// the end byte (port << 5).
std::vector<BYTE> CTavlinPort::Frame(int port, const BYTE* bytes, int n, bool end)
{
    std::vector<BYTE> frames;
    for (int at = 0; at < n; at += kMaxChunk) {
        int count = n - at < kMaxChunk ? n - at : kMaxChunk;
        frames.push_back(BYTE((port << 5) + count));
        frames.insert(frames.end(), bytes + at, bytes + at + count);
    }
    if (end)
        frames.push_back(BYTE(port << 5));
    return frames;
}

void CTavlinPort::SendPortMessage(int port, const std::vector<BYTE>& bytes)
{
    if (bytes.empty())
        return;
    std::vector<BYTE> frames = Frame(port, bytes.data(), int(bytes.size()), true);
    WriteUnlocked(frames.data(), int(frames.size()));
}

int CTavlinPort::SendNextSyncMark()
{
    int mark = int((InterlockedExchangeAdd(&m_syncCounter, 1) - 1) % kSyncMarks);
    SendSyncMark(BYTE(0xC1 + mark));
    return mark;
}

BOOL CTavlinPort::SendIRTimings(const char* text)
{
    std::vector<BYTE> bytes;
    if (!EncodeIRTimings(text, bytes))
        return FALSE;
    if (bytes.empty())
        return TRUE;
    std::vector<BYTE> frames = Frame(kIRPort, bytes.data(), int(bytes.size()), true);
    return WriteUnlocked(frames.data(), int(frames.size()));
}

// Carries the difference between the true and the emitted total from one
// duration to the next, so that long codes do not drift by rounding.
BOOL CTavlinPort::EncodeIRTimings(const char* text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    double periodUs = m_samplePeriod * 1000000;
    double trueTotal = 0;
    double emitted = 0;
    const char* at = text;
    for (;;) {
        at += strcspn(at, kNumberChars);
        size_t length = strspn(at, kNumberChars);
        if (length == 0)
            return TRUE;
        CString number(at, int(length));
        at += length;
        double value = strtod(number, nullptr);
        double magnitude = fabs(trunc(value));
        if (magnitude > kLongestDuration)
            return m_error.Fail("%.0lfus is to long of an IR duration (%.0lfus is the longest)", magnitude,
                                kLongestDuration);
        if (bytes.empty() && value > 0 && value < kShortFirstMark)
            bytes.push_back(BYTE(Round(kLeadingSpace / m_samplePeriod)));
        trueTotal += magnitude;
        int n = Round((trueTotal - emitted) / periodUs);
        emitted += n * periodUs;
        for (; n > 0; n -= kMostPeriods) {
            int b = n < kMostPeriods ? n : kMostPeriods;
            bytes.push_back(BYTE(value >= 0 ? b + kMarkBit : b));
        }
    }
}
