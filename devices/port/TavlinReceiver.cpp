// Receive parser: framed bytes from the device become event texts, the device's
// answers update the settings cache, its error answers are reported and counted.
#include "devices/port/TavlinReceiver.h"

#include "devices/port/TavlinPort.h"

#include "devices/util/HexText.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/runtime/DebugOutput.h"

namespace {

const int kMessageWaitMs = 100;   // for the next header once a message is open
const int kDataWaitMs = 1000;
const int kAnswerWaitMs = 250;
const int kCountMask = 0x1F;
const int kEndOfMessage = 0;
const int kPortAnswer = 0x1F;
const int kControlBusPorts = 4;
const int kNoCounter = -1;
const int kBaudRateCodes = 5;
const int kUnitsPerTurn = 256;   // about 2 s of a busy line at 38400 baud
// No port of the unit carries a message this long; beyond it the rest of the
// message is dropped, so that one never ended cannot grow without bound.
const int kLongestMessageText = 8192;

const char* const kPrefixes[CTavlinPort::kDevicePorts] = {
    "sl0[", "sl1[", "sl2[", "sl3[", "ir0[", "par[", "ser[", "sys[",
};

const char* const kUnknownAnswers[CTavlinPort::kDevicePorts] = {
    "Tavlin port %d Unkown Response [%02X].", "Tavlin port %d Unkown Response [%02X].",
    "Tavlin port %d Unkown Response [%02X].", "Tavlin port %d Unkown Response [%02X].",
    "IR port Unkown Response [%02X].", "Parallel port Unkown Response [%02X].",
    "Serial port Unkown Response [%02X].", "System Unkown Response [%02X].",
};

const BYTE kBus = 0x0F;
const BYTE kIR = 1 << CTavlinPort::kIRPort;
const BYTE kParallel = 1 << CTavlinPort::kParallelPort;
const BYTE kSerial = 1 << CTavlinPort::kSerialPort;
const BYTE kSystem = 1 << CTavlinPort::kSystemPort;
const BYTE kEveryPort = 0xFF;

} // namespace

// One answer of the device: the ports it comes from, its code and argument
// count; a text to report (with the counter it raises and whether the device
// gets the reset sequence) and/or a handler of its arguments.
struct CTavlinReceiver::AnswerRule
{
    BYTE ports;
    BYTE code;
    BYTE argBytes;
    void (CTavlinReceiver::*handler)(int port, const BYTE* args);
    const char* text;   // "%d" takes the port on the control-bus ports
    int counter;
    bool critical;
};

const CTavlinReceiver::AnswerRule CTavlinReceiver::kAnswers[] = {
    {kEveryPort, 0x02, 0, &CTavlinReceiver::OnDisabled, nullptr, kNoCounter, false},
    {kEveryPort, 0x03, 0, &CTavlinReceiver::OnEnabled, nullptr, kNoCounter, false},
    {kBus, 0x04, 1, &CTavlinReceiver::OnBitCount, nullptr, kNoCounter, false},
    {kBus, 0x80, 0, &CTavlinReceiver::OnReceiveError, "Tavlin port %d Receive error.", kNoCounter, false},
    {kBus, 0x81, 0, nullptr, "Tavlin port %d Transmit Timeout error.(critical - will resume)",
     kTransmitTimeouts, true},
    {kBus, 0xFF, 0, nullptr, "Tavlin port %d Illegal Command.(critical - will resume)",
     kIllegalCommands, true},
    {kIR, 0x01, 1, &CTavlinReceiver::OnIRReceivePort, nullptr, kNoCounter, false},
    {kIR, 0x04, 2, &CTavlinReceiver::OnSamplePeriod, nullptr, kNoCounter, false},
    {kIR, 0x06, 2, &CTavlinReceiver::OnCarrier, nullptr, kNoCounter, false},
    {kIR, 0x08, 1, &CTavlinReceiver::OnIRTransmitPorts, nullptr, kNoCounter, false},
    {kIR, 0x09, 1, &CTavlinReceiver::OnIRReceivePorts, nullptr, kNoCounter, false},
    {kIR, 0x0A, 16, &CTavlinReceiver::OnIRRoutingTable, nullptr, kNoCounter, false},
    {kIR, 0x0B, 1, &CTavlinReceiver::OnIRReceivePolarity, nullptr, kNoCounter, false},
    {kIR, 0x0C, 2, &CTavlinReceiver::OnTimeoutCount, nullptr, kNoCounter, false},
    {kIR, 0x0E, 1, &CTavlinReceiver::OnMinMessageLength, nullptr, kNoCounter, false},
    {kIR, 0x81, 0, nullptr, "IR port Transmit Timeout error.(critical - will resume)",
     kTransmitTimeouts, true},
    {kIR, 0x82, 0, nullptr, "IR port Illegal Sample Period.", kNoCounter, false},
    {kIR, 0xFF, 0, nullptr, "IR port Illegal Command.", kIllegalCommands, true},
    {kParallel, 0x10, 1, &CTavlinReceiver::OnParallelHandshake, nullptr, kNoCounter, false},
    {kParallel, 0x12, 1, &CTavlinReceiver::OnParallelDirection, nullptr, kNoCounter, false},
    {kParallel, 0x81, 0, nullptr, "Parallel port Transmit Timeout error.(critical - will resume)",
     kTransmitTimeouts, true},
    {kParallel, 0xFF, 0, nullptr, "Parallel port Illegal Command.(critical - will resume)",
     kNoCounter, true},
    {kSerial, 0x00, 4, &CTavlinReceiver::OnSyncMarkNumber, nullptr, kNoCounter, false},
    {kSerial, 0x08, 1, &CTavlinReceiver::OnBaudRate, nullptr, kNoCounter, false},
    {kSerial, 0x81, 0, nullptr, "Serial port Transmit Timeout error.(critical - will resume)",
     kTransmitTimeouts, true},
    {kSerial, 0x83, 0, nullptr, "Serial port receive overflow.(critical - will resume)",
     kReceiveOverflows, true},
    {kSerial, 0x84, 0, nullptr, "Serial port Illegal Baud Rate.", kNoCounter, false},
    {kSerial, 0x85, 0, nullptr, "Serial port receive framing error.(critical - will resume)",
     kFramingErrors, true},
    {kSerial, 0x86, 0, nullptr, "Serial port receive overrun.(critical - will resume)",
     kReceiveOverruns, true},
    {kSerial, 0xFF, 0, nullptr, "Serial port Illegal Command.(critical - will resume)",
     kIllegalCommands, true},
    {kSystem, 0x0B, 1, &CTavlinReceiver::OnVersion, nullptr, kNoCounter, false},
    {kSystem, 0x0C, 8, &CTavlinReceiver::OnSerialNumber, nullptr, kNoCounter, false},
    {kSystem, 0x0E, 0, nullptr, nullptr, kNoCounter, false},
    {kSystem, 0x0F, 0, nullptr, "Defaults Loaded / Reboot", kReboots, false},
    {kSystem, 0x10, 4, &CTavlinReceiver::OnSignature, nullptr, kNoCounter, false},
    {kSystem, 0x8F, 0, nullptr, "SEEPROM Write Error ", kNoCounter, false},
    {kSystem, 0x90, 0, nullptr, "Command Timeout.(critical - will resume)", kCommandTimeouts, true},
    {kSystem, 0xFF, 0, nullptr, "System Illegal Command.(critical - will resume)",
     kIllegalCommands, true},
};

CTavlinReceiver::CTavlinReceiver(CTavlinPort& port)
    : m_port(port), m_repeatDue(false), m_openMessages(0), m_bitMode(0), m_cutMessages(0),
      m_irOverflow(0), m_irDuration(0), m_irEnded(0)
{
    memset(m_bitCount, 0, sizeof m_bitCount);
}

BOOL CTavlinReceiver::Read(CString& out, int timeout)
{
    if (m_port.m_reopenWanted.exchange(0))
        m_port.Open();
    SendDueRepeat();
    if (m_port.m_keepAlive && m_port.Now() > m_port.m_lastResetRequest + 1)
        m_port.Reset();
    if (m_port.m_versionWanted) {
        m_port.m_versionWanted = 0;
        CString version;
        version.Format("version[%1.1lf] ", m_port.m_version);
        m_text[CTavlinPort::kSystemPort] += version;
    }
    bool readAny = false;
    bool closed = false;
    // A line that never stops sending still gives the other ports their turn:
    // what stays open is taken up by the next call.
    for (int units = 0; !closed && units < kUnitsPerTurn; ++units) {
        BYTE header;
        if (!m_port.ReadExact(&header, 1, m_openMessages ? kMessageWaitMs : timeout))
            break;
        readAny = true;
        int port = header >> 5;
        int count = header & kCountMask;
        if (count == kEndOfMessage)
            closed = EndOfMessage(port);
        else if (count == kPortAnswer)
            closed = ReadAnswer(port);
        else if (port == CTavlinPort::kSerialPort)
            OnSyncEcho(count - 1);
        else
            ReadData(port, header);
    }
    for (int p = 0; p < CTavlinPort::kDevicePorts; ++p) {
        out += m_completed[p];
        m_completed[p].Empty();
        if (!(m_openMessages & (1 << p))) {
            out += m_text[p];
            m_text[p].Empty();
        }
    }
    return readAny;
}

void CTavlinReceiver::OpenMessage(int port)
{
    m_openMessages |= 1 << port;
    m_cutMessages &= ~(1 << port);
    if (port < kControlBusPorts && (m_bitMode & (1 << port)))
        m_text[port].Format("slb%d[", port);
    else
        m_text[port] = kPrefixes[port];
    if (port == CTavlinPort::kIRPort) {
        m_irOverflow = 0;
        m_irDuration = 0;
        m_irEnded = 0;
    }
}

void CTavlinReceiver::CloseMessage(int port)
{
    m_completed[port] += m_text[port] + "] ";
    m_text[port].Empty();
    m_openMessages &= ~(1 << port);
}

void CTavlinReceiver::ReadData(int port, BYTE header)
{
    int count = header & kCountMask;
    BYTE data[kCountMask];
    if (!m_port.ReadExact(data, count, kDataWaitMs)) {
        m_port.m_error.Fail("Port %d Timeoutcont cmd = %02X", port, header);
        return;
    }
    // An IR message whose receive-port answer never came ends when the next begins,
    // so that one lost answer cannot make the message grow on without end.
    if (port == CTavlinPort::kIRPort && m_irEnded && (m_openMessages & kIR))
        CloseMessage(port);
    bool opening = !(m_openMessages & (1 << port));
    if (opening)
        OpenMessage(port);
    if (port == CTavlinPort::kIRPort)
        m_text[port] += DecodeIRBytes(data, count, m_irDuration);
    else if (opening && (m_bitMode & (1 << port)))
        m_text[port] += FormatBits(data, m_bitCount[port] < count * 8 ? m_bitCount[port] : count * 8);
    else if (!(m_cutMessages & (1 << port)))
        m_text[port] += FormatHex(data, count);
    if (port != CTavlinPort::kIRPort && m_text[port].GetLength() > kLongestMessageText) {
        m_text[port] = m_text[port].Left(kLongestMessageText);
        m_cutMessages |= 1 << port;
        m_port.m_error.Fail("Port %d message longer than %d characters: the rest is dropped", port,
                     kLongestMessageText);
    }
}

bool CTavlinReceiver::EndOfMessage(int port)
{
    bool wasOpen = (m_openMessages >> port) & 1;
    m_bitMode &= ~(1 << port);
    if (port == CTavlinPort::kIRPort) {
        m_irOverflow = 0;
        m_irDuration = 0;
        // From firmware 2.0 the message ends with the answer naming its receiver.
        if (wasOpen && m_port.m_version >= CTavlinPort::kIRPortsVersion) {
            m_irEnded = 1;
            return false;
        }
    }
    if (wasOpen)
        CloseMessage(port);
    return wasOpen;
}

bool CTavlinReceiver::ReadAnswer(int port)
{
    BYTE code = 0;
    if (!m_port.ReadExact(&code, 1, kAnswerWaitMs))
        m_port.m_error.Fail("Port %d Timeoutcont cmd = %02X", port, 0);
    for (const AnswerRule& rule : kAnswers) {
        if (!(rule.ports & (1 << port)) || rule.code != code)
            continue;
        BYTE args[16];
        if (!m_port.ReadExact(args, rule.argBytes, kAnswerWaitMs)) {
            m_port.m_error.Fail("Port %d Timeoutcont cmd = %02X", port, code);
            return false;
        }
        if (rule.counter != kNoCounter)
            InterlockedIncrement(&m_port.m_errorCounts[rule.counter]);
        if (rule.text)
            ReportAnswerText(rule.text, port, code);
        if (rule.critical && m_port.m_located)
            m_port.SendResetSequence();
        BYTE openBefore = m_openMessages;
        if (rule.handler)
            (this->*rule.handler)(port, args);
        return (openBefore & ~m_openMessages) != 0;
    }
    ReportAnswerText(kUnknownAnswers[port], port, code);
    return false;
}

void CTavlinReceiver::ReportAnswerText(const char* text, int port, int code)
{
    if (port < kControlBusPorts)
        m_port.m_error.Fail(text, port, code);
    else
        m_port.m_error.Fail(text, code);
}

void CTavlinReceiver::OnEnabled(int port, const BYTE*)
{
    m_port.m_enabledPorts |= 1 << port;
}

void CTavlinReceiver::OnDisabled(int port, const BYTE*)
{
    m_port.m_enabledPorts &= ~(1 << port);
}

// The message so far becomes a bit message: its hex data as bits, without the
// bits of the last byte that the count leaves out.
void CTavlinReceiver::OnBitCount(int port, const BYTE* args)
{
    m_bitCount[port] = args[0];
    m_bitMode |= 1 << port;
    if (!(m_openMessages & (1 << port)))
        return;
    CString hex = m_text[port].Mid(int(strlen(kPrefixes[port])));
    CString bits;
    for (int i = 0; i + 1 < hex.GetLength(); i += 2) {
        BYTE value = BYTE(strtoul(hex.Mid(i, 2), nullptr, 16));
        bits += FormatBits(&value, 8);
    }
    int kept = bits.GetLength() - (8 - args[0] % 8) % 8;
    m_text[port].Format("slb%d[", port);
    m_text[port] += bits.Left(kept > 0 ? kept : 0);
}

void CTavlinReceiver::OnReceiveError(int port, const BYTE*)
{
    if (m_openMessages & (1 << port))
        CloseMessage(port);
}

void CTavlinReceiver::OnIRReceivePort(int port, const BYTE* args)
{
    if (m_text[port].GetLength() <= 3)
        return;
    m_text[port].SetAt(2, char('0' + args[0]));
    m_irOverflow = 0;
    m_irDuration = 0;
    m_irEnded = 0;
    CloseMessage(port);
}

void CTavlinReceiver::OnSamplePeriod(int, const BYTE* args)
{
    m_port.m_samplePeriod = (args[0] * 256 + args[1]) * CTavlinPort::kSampleTick;
}

void CTavlinReceiver::OnCarrier(int, const BYTE* args)
{
    if (args[0] == 0 && args[1] == 0)
        m_port.m_carrier = 0;
    else
        m_port.m_carrier = CTavlinPort::kCarrierClock / (ldexp(1.0, args[0]) * (args[1] + 1));
}

void CTavlinReceiver::OnIRTransmitPorts(int, const BYTE* args)
{
    m_port.m_irTransmitPorts = args[0];
}

void CTavlinReceiver::OnIRReceivePorts(int, const BYTE* args)
{
    m_port.m_irReceivePorts = args[0];
}

void CTavlinReceiver::OnIRRoutingTable(int, const BYTE* args)
{
    for (int i = 0; i < 8; ++i) {
        m_port.m_routingPorts[i] = args[2 * i];
        BYTE divider = args[2 * i + 1];
        m_port.m_routingCarriers[i] = divider == 0 ? 0 : CTavlinPort::kCarrierClock / (divider + 1);
    }
}

void CTavlinReceiver::OnIRReceivePolarity(int, const BYTE* args)
{
    m_port.m_irReceivePolarity = args[0];
}

void CTavlinReceiver::OnTimeoutCount(int, const BYTE* args)
{
    m_port.m_timeoutCount = args[0] * 256 + args[1];
}

void CTavlinReceiver::OnMinMessageLength(int, const BYTE* args)
{
    m_port.m_minMessageLength = args[0];
}

void CTavlinReceiver::OnParallelHandshake(int, const BYTE* args)
{
    m_port.m_parallelHandshake = args[0];
}

void CTavlinReceiver::OnParallelDirection(int, const BYTE* args)
{
    m_port.m_parallelDirection = args[0];
}

void CTavlinReceiver::OnSyncMarkNumber(int, const BYTE* args)
{
    DWORD mark;
    memcpy(&mark, args, 4);
    m_port.m_lastSyncEcho = LONG(mark % CTavlinPort::kSyncMarks);
    ++m_port.m_syncEchoes;
}

// The answer carries exactly its one code byte, whether or not the rate changed.
void CTavlinReceiver::OnBaudRate(int, const BYTE* args)
{
    if (args[0] >= kBaudRateCodes) {
        m_port.m_error.Fail("Serial port Illegal Baud Rate.");
        return;
    }
    int rate = 2400 << args[0];
    if (rate == m_port.m_baudRate)
        return;
    m_port.m_baudRate = rate;
    m_port.Configure();
}

void CTavlinReceiver::OnVersion(int, const BYTE* args)
{
    m_port.m_version = (args[0] >> 4) + (args[0] & 0x0F) * 0.1;
    m_port.m_versionTime = m_port.Now();
    m_port.m_versionTick = GetTickCount();
}

void CTavlinReceiver::OnSerialNumber(int, const BYTE* args)
{
    memcpy(m_port.m_serialNumber, args, sizeof m_port.m_serialNumber);
    m_text[CTavlinPort::kSystemPort] += "serialno[" + FormatHex(args, 8) + "] ";
}

void CTavlinReceiver::OnSignature(int, const BYTE* args)
{
    memcpy(&m_port.m_signature, args, 4);
    CString text;
    text.Format("signature[%08X] ", unsigned(m_port.m_signature));
    m_text[CTavlinPort::kSystemPort] += text;
}

void CTavlinReceiver::OnSyncEcho(int mark)
{
    m_port.m_lastSyncEcho = mark;
    ++m_port.m_syncEchoes;
    m_repeatDue = true;
    SendDueRepeat();
}

// The repeat goes out under the write lock, so that it never falls between the
// frames of another thread's message. When a LOWLEVEL execution holds the lock
// (it may be waiting in "flush" for the next echo, which this thread must go on
// reading), the repeat waits for a later reading instead of blocking.
void CTavlinReceiver::SendDueRepeat()
{
    // CCriticalSection cannot time out, so the try goes to the section itself.
    if (!m_repeatDue || !TryEnterCriticalSection(m_port.m_writeLock))
        return;
    m_repeatDue = false;
    if (m_port.m_irRepeat) {
        m_port.SendIRTimings(m_port.m_irRepeatText);
        m_port.SendNextSyncMark();
    }
    m_port.m_writeLock.Unlock();
}

// Each byte: the mark bit (0x80) and a count of sample periods. Runs of bytes
// with the same mark bit make one duration, written in microseconds, marks
// positive and spaces negative, the receiver skew added after the sign.
CString CTavlinReceiver::DecodeIRBytes(const BYTE* bytes, int n, double& total)
{
    CString text;
    int i = 0;
    while (i < n && !m_irOverflow) {
        BYTE mark = bytes[i] & 0x80;
        int count = 0;
        for (; i < n && (bytes[i] & 0x80) == mark; ++i)
            count += bytes[i] & 0x7F;
        double duration = (mark ? 1 : -1) * count * m_port.m_samplePeriod + m_port.m_receiverSkew;
        // A duration shorter than one period is line noise; counting it as one
        // period keeps a stream of them within the bound as well.
        total += fabs(duration) > m_port.m_samplePeriod ? fabs(duration) : m_port.m_samplePeriod;
        if (total > m_port.m_maxSignalLength)
            m_irOverflow = 1;
        CString number;
        number.Format("%.1lf ", duration * 1e6);
        text += number;
    }
    return text;
}
