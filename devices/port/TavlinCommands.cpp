// Port commands: the device's settings, queries, macros and EEPROM, framed as
// (port << 5) + 0x1F, a code and its arguments. Multi-byte counts go high byte
// first, 4-byte values as they lie in memory (least significant byte first).
#include "TavlinPort.h"

#include <math.h>
#include <string.h>

namespace {

// Command headers of the device ports.
const BYTE kIRCommand = 0x9F;
const BYTE kParallelCommand = 0xBF;
const BYTE kSerialCommand = 0xDF;
const BYTE kSystemCommand = 0xFF;
const BYTE kPortCommand = 0x1F;

const double kLowestCarrier = 2441.40625;   // the carrier clock / 2048
const int kLargestDivisor = 2048;
const int kLargestDivider = 256;
const double kShortestSamplePeriod = 0.000049;
const double kLongestSamplePeriod = 0.001;
const double kShortestTimeout = 0.00005;
const int kLargestTimeoutCount = 65536;
const int kLongestMinMessageLength = 15;
const int kBaudRates[] = {2400, 4800, 9600, 19200, 38400};   // index = the device's code

int Round(double value)
{
    return int(value + 0.5);
}

} // namespace

BOOL CTavlinPort::SendCommand(BYTE header, BYTE code, const BYTE* args, int n)
{
    BYTE bytes[2 + 16];
    bytes[0] = header;
    bytes[1] = code;
    memcpy(bytes + 2, args, n);
    return Write(bytes, 2 + n);
}

BOOL CTavlinPort::EnablePort(int p)
{
    return SendCommand(BYTE((p << 5) + kPortCommand), 0x03);
}

BOOL CTavlinPort::DisablePort(int p)
{
    return SendCommand(BYTE((p << 5) + kPortCommand), 0x02);
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
    return SendCommand(kIRCommand, 0x04, args, sizeof args);
}

BOOL CTavlinPort::RequestSamplePeriod()
{
    return SendCommand(kIRCommand, 0x05);
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
    return SendCommand(kIRCommand, 0x06, args, sizeof args);
}

BOOL CTavlinPort::RequestCarrier()
{
    return SendCommand(kIRCommand, 0x07);
}

BOOL CTavlinPort::SetIRTransmitPorts(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return SendCommand(kIRCommand, 0x08, &arg, 1);
}

BOOL CTavlinPort::SetIRReceivePorts(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return SendCommand(kIRCommand, 0x09, &arg, 1);
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
    return SendCommand(kIRCommand, 0x0A, args, sizeof args);
}

BOOL CTavlinPort::SetIRReceivePolarity(int mask)
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    BYTE arg = BYTE(mask);
    return SendCommand(kIRCommand, 0x0B, &arg, 1);
}

// The device answers these queries with the codes of the set commands 0x08-0x0B.
BOOL CTavlinPort::RequestIRTransmitPorts()
{
    return SendCommand(kIRCommand, 0x10);
}

BOOL CTavlinPort::RequestIRReceivePorts()
{
    return SendCommand(kIRCommand, 0x11);
}

BOOL CTavlinPort::RequestIRRoutingTable()
{
    return SendCommand(kIRCommand, 0x12);
}

BOOL CTavlinPort::RequestIRReceivePolarity()
{
    return SendCommand(kIRCommand, 0x13);
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
    return SendCommand(kIRCommand, 0x0C, args, sizeof args);
}

BOOL CTavlinPort::RequestTimeoutPeriod()
{
    return SendCommand(kIRCommand, 0x0D);
}

BOOL CTavlinPort::SetMinMessageLength(int n)
{
    if (n < 0)
        return m_error.Fail("%d is to short of a minimum message length (0 is the shortest)", n);
    if (n > kLongestMinMessageLength)
        return m_error.Fail("%d is to long of a minimum message length (%d is the longest)", n,
                            kLongestMinMessageLength);
    BYTE arg = BYTE(n);
    return SendCommand(kIRCommand, 0x0E, &arg, 1);
}

BOOL CTavlinPort::RequestMinMessageLength()
{
    return SendCommand(kIRCommand, 0x0F);
}

BOOL CTavlinPort::SetParallelHandshake(BOOL a, BOOL b, BOOL c)
{
    BYTE flags = BYTE((b ? 1 : 0) + (a ? 2 : 0) + (c ? 4 : 0));
    return SendCommand(kParallelCommand, 0x10, &flags, 1);
}

BOOL CTavlinPort::RequestParallelHandshake()
{
    return SendCommand(kParallelCommand, 0x11);
}

BOOL CTavlinPort::SetParallelDirection(int mask)
{
    BYTE arg = BYTE(mask);
    return SendCommand(kParallelCommand, 0x12, &arg, 1);
}

BOOL CTavlinPort::RequestParallelDirection()
{
    return SendCommand(kParallelCommand, 0x13);
}

// Answered as parallel-port data.
BOOL CTavlinPort::ReadParallel()
{
    return SendCommand(kParallelCommand, 0x14);
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
    BOOL written = SendCommand(kSerialCommand, 0x08, &arg, 1);
    // The device's answer makes the parser store the rate and reconfigure the port.
    ReadResponsesFor(500);
    return written;
}

BOOL CTavlinPort::RequestBaudRate()
{
    return SendCommand(kSerialCommand, 0x09);
}

BOOL CTavlinPort::RequestVersion()
{
    return SendCommand(kSystemCommand, 0x0B);
}

BOOL CTavlinPort::RequestSerialNumber()
{
    return SendCommand(kSystemCommand, 0x0C);
}

BOOL CTavlinPort::WriteSerialNumber(DWORD value, const BYTE serial[8])
{
    BYTE args[12];
    memcpy(args, &value, 4);
    memcpy(args + 4, serial, 8);
    return SendCommand(kSystemCommand, 0x0D, args, sizeof args);
}

BOOL CTavlinPort::StoreToEEPROM()
{
    return SendCommand(kSystemCommand, 0x0E);
}

BOOL CTavlinPort::LoadFromEEPROM()
{
    return SendCommand(kSystemCommand, 0x0F);
}

BOOL CTavlinPort::PlayMacro1()
{
    return SendCommand(kSystemCommand, 0x10);
}

BOOL CTavlinPort::PlayMacro2()
{
    return SendCommand(kSystemCommand, 0x11);
}

BOOL CTavlinPort::StoreMacro1()
{
    return SendCommand(kSystemCommand, 0x12);
}

BOOL CTavlinPort::StoreMacro2()
{
    return SendCommand(kSystemCommand, 0x13);
}

BOOL CTavlinPort::SystemCommand16(DWORD value)
{
    BYTE args[4];
    memcpy(args, &value, 4);
    return SendCommand(kSystemCommand, 0x10, args, sizeof args);
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
