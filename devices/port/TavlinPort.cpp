// COM port handling, locating the device, sync marks and settings requests.
#include "devices/port/TavlinPort.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "devices/util/HexText.h"
#include "devices/port/TavlinBootLoader.h"
#include "devices/port/TavlinLowLevel.h"
#include "devices/port/TavlinSelfTest.h"
#include "platform/runtime/DebugOutput.h"

namespace {

// CTS flow control on large queues, the line's state logged with each failure.
const SerialSetup kLineSetup = {16384, true, 100, true};
const int kReadStepMs = 10;
const int kDefaultBaudRate = 38400;
// Tried from the fastest down.
const int kLocateRates[] = {38400, 19200, 9600, 4800, 2400};
const int kLocateWakeBytes = 10;
const int kLocateSettleMs = 100;    // after the line changed its rate
const int kLocateAnswerMs = 300;    // for the version answer at each rate
const int kSettingsAnswerMs = 10;   // for the last settings answers after locating
const int kSettingsFlushMs = 1000;
const int kEchoPollMs = 1;          // while the monitoring thread reads the echo
const double kHighestVersion = 9.0;

double SystemSeconds()
{
    return double(time(nullptr));
}

} // namespace

CTavlinPort::CTavlinPort(int comPort, BOOL messageBox)
    : m_keepAlive(TRUE), m_irRepeat(FALSE), m_openFailed(FALSE), m_busy(0), m_comResets(0), m_version(0),
      m_signature(0), m_samplePeriod(0.0001), m_carrier(40000), m_timeoutCount(0),
      m_receiverSkew(-0.0001), m_maxSignalLength(1.0), m_irReceivePolarity(0),
      m_irReceivePorts(255), m_irTransmitPorts(255), m_enabledPorts(0xBF),
      m_minMessageLength(0), m_parallelDirection(0), m_parallelHandshake(0), m_located(TRUE),
      m_versionWanted(0), m_lastResetRequest(0), m_versionTime(0), m_versionTick(0),
      m_syncCounter(1), m_lastSyncEcho(0), m_syncEchoes(0), m_baudRate(kDefaultBaudRate),
      m_comPort(comPort), m_line(m_error, kLineSetup), m_reopenWanted(0), m_clock(SystemSeconds),
      m_receiver(*this)
{
    memset(m_serialNumber, 0, sizeof m_serialNumber);
    memset(m_errorCounts, 0, sizeof m_errorCounts);
    for (int i = 0; i < 8; ++i) {
        m_routingPorts[i] = 0;
        m_routingCarriers[i] = 40000;
    }
    m_error.m_messageBox = messageBox;
    Open();
}

BOOL CTavlinPort::Open()
{
    DebugOutput("Reset Comm\n");
    m_reopenWanted = 0;
    if (m_line.IsOpen())
        ++m_comResets;
    m_openFailed = !m_line.Open(m_comPort, m_baudRate);
    return !m_openFailed;
}

void CTavlinPort::Configure()
{
    m_line.Configure(m_baudRate);
}

BOOL CTavlinPort::WriteUnlocked(const BYTE* bytes, int n)
{
    if (!m_line.IsOpen())
        return FALSE;
    if (m_line.Write(bytes, n))
        return TRUE;
    m_reopenWanted = 1;
    return FALSE;
}

BOOL CTavlinPort::Write(const BYTE* bytes, int n)
{
    CSingleLock lock(&m_writeLock, TRUE);
    return WriteUnlocked(bytes, n);
}

BOOL CTavlinPort::ReadExact(BYTE* buffer, int n, int timeout)
{
    if (n < 1)
        return TRUE;
    memset(buffer, 0, n);
    if (!m_line.IsOpen())
        return FALSE;
    int got = 0;
    int remaining = timeout;
    while (got < n) {
        int count = m_line.Read(buffer + got, n - got);
        if (count < 0) {
            DebugOutput("RE " + FormatHex(buffer, got) + "\n");
            Open();
            return FALSE;
        }
        got += count;
        if (count > 0) {
            remaining = timeout;
            continue;
        }
        if (remaining <= 0) {
            if (got > 0)
                DebugOutput("TO\n");
            return FALSE;
        }
        Sleep(kReadStepMs);
        remaining -= kReadStepMs;
    }
    return TRUE;
}

BOOL CTavlinPort::PortExists(int n)
{
    char wanted[32];
    snprintf(wanted, sizeof wanted, "COM%d", n);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return FALSE;
    BOOL found = FALSE;
    for (DWORD i = 0; !found; ++i) {
        char name[256];
        BYTE data[256];
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS)
            break;
        data[dataLength] = 0;
        found = type == REG_SZ && strcmp(reinterpret_cast<char*>(data), wanted) == 0;
    }
    RegCloseKey(key);
    return found;
}

void CTavlinPort::Reset()
{
    if (m_busy)
        return;
    {
        CSingleLock lock(&m_writeLock, TRUE);
        SendResetSequence();
        RequestVersion();
    }
    m_lastResetRequest = Now();
}

void CTavlinPort::ReadResponsesFor(int ms)
{
    DWORD start = GetTickCount();
    CString ignored;
    for (DWORD elapsed = 0; elapsed < DWORD(ms); elapsed = GetTickCount() - start)
        ReadResponses(ignored, ms - int(elapsed));
}

BOOL CTavlinPort::Locate()
{
    if (m_openFailed)
        return FALSE;
    m_located = FALSE;
    for (int rate : kLocateRates) {
        m_baudRate = rate;
        DebugOutputF("*** Baud = %d\n", rate);
        Configure();
        Sleep(kLocateSettleMs);
        BYTE wake[kLocateWakeBytes] = {};
        if (!WriteUnlocked(wake, sizeof wake))
            continue;
        SendResetSequence();
        SendResetSequence();
        double saved = m_version;
        m_version = 0;
        RequestVersion();
        ReadResponsesFor(kLocateAnswerMs);
        if (m_version != 0 && m_version <= kHighestVersion) {
            m_located = TRUE;
            RequestSettings(TRUE);
            ReadResponsesFor(kSettingsAnswerMs);
            return TRUE;
        }
        m_version = saved;
    }
    return FALSE;
}

BOOL CTavlinPort::Flush(BOOL read, int timeout)
{
    LONG echoesAtStart = m_syncEchoes;
    LONG echoAtStart = m_lastSyncEcho;
    int mark = SendNextSyncMark();
    // How far the last echo lies behind the mark in modulo order; an echo of the
    // mark itself from an earlier round is a full round behind.
    int startDistance = (echoAtStart - mark + kSyncMarks) % kSyncMarks;
    if (startDistance == 0)
        startDistance = kSyncMarks;
    DWORD start = GetTickCount();
    CString ignored;
    for (;;) {
        if (m_syncEchoes != echoesAtStart &&
            (m_lastSyncEcho - mark + kSyncMarks) % kSyncMarks < startDistance)
            return TRUE;
        if (GetTickCount() - start >= DWORD(timeout))
            return FALSE;
        if (read) {
            while (ReadResponses(ignored, kReadStepMs)) {
            }
        } else {
            Sleep(kEchoPollMs);
        }
    }
}

void CTavlinPort::RequestSettings(BOOL read)
{
    Flush(read, kSettingsFlushMs);
    RequestCarrier();
    RequestSamplePeriod();
    RequestTimeoutPeriod();
    RequestMinMessageLength();
    RequestParallelHandshake();
    RequestParallelDirection();
    Flush(read, kSettingsFlushMs);
    if (m_version >= kIRPortsVersion) {
        RequestSerialNumber();
        RequestIRTransmitPorts();
        RequestIRRoutingTable();
        RequestIRReceivePorts();
        RequestIRReceivePolarity();
    }
    Flush(read, kSettingsFlushMs);
}

BOOL CTavlinPort::IsAlive() const
{
    const double kAliveSeconds = 10;
    return m_lastResetRequest - m_versionTime <= kAliveSeconds;
}

void CTavlinPort::GetSerialNumber(BYTE serial[8]) const
{
    memcpy(serial, m_serialNumber, sizeof m_serialNumber);
}

void CTavlinPort::GetParallelHandshake(BOOL* a, BOOL* b, BOOL* c) const
{
    // The flags byte holds b in bit 0, a in bit 1, c in bit 2.
    if (a)
        *a = (m_parallelHandshake >> 1) & 1;
    if (b)
        *b = m_parallelHandshake & 1;
    if (c)
        *c = (m_parallelHandshake >> 2) & 1;
}

BOOL CTavlinPort::GetIRRoutingTable(int ports[8], double carriers[8]) const
{
    if (m_version < kIRPortsVersion)
        return FALSE;
    for (int i = 0; i < 8; ++i) {
        ports[i] = m_routingPorts[i];
        carriers[i] = m_routingCarriers[i];
    }
    return TRUE;
}

BOOL CTavlinPort::ExecuteLowLevel(const char* text)
{
    CSingleLock lock(&m_writeLock, TRUE);
    m_busy = 1;
    CTavlinLowLevel(*this).Execute(text);
    m_busy = 0;
    return TRUE;
}

void CTavlinPort::DrainInput()
{
    m_line.Drain();
}

int CTavlinPort::RunTest(int kind, int rounds)
{
    return CTavlinSelfTest(*this).Run(kind, rounds);
}

BOOL CTavlinPort::TestIRLoopback(int txPort, int rxPort, double carrier)
{
    return CTavlinSelfTest(*this).TestIRLoopback(txPort, rxPort, carrier);
}

BOOL CTavlinPort::SendBootLoaderRequest()
{
    return CTavlinBootLoader(*this).SendRequest();
}

BOOL CTavlinPort::EnterBootLoader()
{
    return CTavlinBootLoader(*this).Enter();
}

BOOL CTavlinPort::WaitForBootLoader(int timeout)
{
    return CTavlinBootLoader(*this).WaitUntilReady(timeout);
}

BOOL CTavlinPort::ExitBootLoader()
{
    return CTavlinBootLoader(*this).Exit();
}

BOOL CTavlinPort::WriteFlashBlock(int address, int length, const BYTE* data)
{
    return CTavlinBootLoader(*this).WriteFlashBlock(address, length, data);
}

BOOL CTavlinPort::ReadFlashBlock(int address, int length, BYTE* out)
{
    return CTavlinBootLoader(*this).ReadFlashBlock(address, length, out);
}

BOOL CTavlinPort::SendBootLoaderCode()
{
    return CTavlinBootLoader(*this).SendCode();
}
