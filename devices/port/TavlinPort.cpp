// COM port handling, locating the device, sync marks and settings requests.
#include "TavlinPort.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "runtime/DebugOutput.h"
#include "runtime/SystemErrorText.h"

namespace {

const DWORD kQueueBytes = 16384;
const DWORD kWriteMsPerByte = 50;
const int kDrainBlock = 100;
const int kReadStepMs = 10;
const int kDefaultBaudRate = 38400;
// Tried from the fastest down.
const int kLocateRates[] = {38400, 19200, 9600, 4800, 2400};
const int kLocateWakeBytes = 10;
const double kHighestVersion = 9.0;

double SystemSeconds()
{
    return double(time(nullptr));
}

} // namespace

CTavlinPort::CTavlinPort(int comPort)
    : m_keepAlive(TRUE), m_irRepeat(FALSE), m_repeatDue(false), m_openFailed(FALSE), m_busy(0), m_comResets(0), m_version(0),
      m_signature(0), m_samplePeriod(0.0001), m_carrier(40000), m_timeoutCount(0),
      m_receiverSkew(-0.0001), m_maxSignalLength(1.0), m_irReceivePolarity(0),
      m_irReceivePorts(255), m_irTransmitPorts(255), m_enabledPorts(0xBF),
      m_minMessageLength(0), m_parallelDirection(0), m_parallelHandshake(0), m_located(TRUE),
      m_versionWanted(0), m_lastResetRequest(0), m_versionTime(0), m_versionTick(0),
      m_syncCounter(1), m_lastSyncEcho(0), m_syncEchoes(0), m_baudRate(kDefaultBaudRate),
      m_comPort(comPort), m_handle(nullptr), m_clock(SystemSeconds), m_openMessages(0),
      m_bitMode(0), m_cutMessages(0), m_irOverflow(0), m_irDuration(0), m_irEnded(0)
{
    memset(m_serialNumber, 0, sizeof m_serialNumber);
    memset(m_errorCounts, 0, sizeof m_errorCounts);
    memset(m_bitCount, 0, sizeof m_bitCount);
    for (int i = 0; i < 8; ++i) {
        m_routingPorts[i] = 0;
        m_routingCarriers[i] = 40000;
    }
    InitializeCriticalSection(&m_writeLock);
    Open();
}

CTavlinPort::~CTavlinPort()
{
    if (m_handle) {
        if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
            ReportCommFailure();
        if (!CloseHandle(m_handle))
            ReportCommFailure();
    }
    DeleteCriticalSection(&m_writeLock);
}

// A failed system call: the line's error state, then the system's text.
void CTavlinPort::ReportCommFailure()
{
    DWORD code = GetLastError();
    DumpCommErrors();
    SetLastError(code);
    m_error.ReportLastError();
}

void CTavlinPort::DumpCommErrors()
{
    DWORD errors = 0;
    COMSTAT stat = {};
    if (ClearCommError(m_handle, &errors, &stat)) {
        DebugOutputF("CCE %X | %X %X %X %X %X %X %X %X %X\n", unsigned(errors),
                     unsigned(errors & 1), unsigned((errors >> 1) & 1), unsigned((errors >> 2) & 1),
                     unsigned((errors >> 3) & 1), unsigned((errors >> 4) & 1),
                     unsigned((errors >> 5) & 1), unsigned((errors >> 6) & 1),
                     unsigned(stat.cbInQue), unsigned(stat.cbOutQue));
    } else {
        DebugOutputF("CCE error [%s]\n", SystemErrorText(GetLastError()).c_str());
    }
    DWORD modem = 0;
    // A pseudo-terminal has no modem lines: the failure is only noted.
    if (GetCommModemStatus(m_handle, &modem))
        DebugOutputF("GCMS %X\n", unsigned(modem));
    else
        DebugOutputF("GCMS error [%s]\n", SystemErrorText(GetLastError()).c_str());
}

void CTavlinPort::DumpCommProperties()
{
    COMMPROP prop = {};
    if (!GetCommProperties(m_handle, &prop)) {
        DebugOutputF("GCP error [%s]\n", SystemErrorText(GetLastError()).c_str());
        return;
    }
    DebugOutputF("GCP Length %d\n", int(prop.wPacketLength));
    DebugOutputF("GCP Version %d\n", int(prop.wPacketVersion));
    DebugOutputF("GCP Service Mask 0x%X\n", unsigned(prop.dwServiceMask));
    DebugOutputF("GCP Max TX Queue %d\n", int(prop.dwMaxTxQueue));
    DebugOutputF("GCP Max RX Queue %d\n", int(prop.dwMaxRxQueue));
    DebugOutputF("GCP Max Baud 0x%X\n", unsigned(prop.dwMaxBaud));
    DebugOutputF("GCP Provider Type 0x%X\n", unsigned(prop.dwProvSubType));
    DebugOutputF("GCP Provider Caps 0x%X\n", unsigned(prop.dwProvCapabilities));
    DebugOutputF("GCP Settable Params 0x%X\n", unsigned(prop.dwSettableParams));
    DebugOutputF("GCP Settable Baud 0x%X\n", unsigned(prop.dwSettableBaud));
    DebugOutputF("GCP Settable Data 0x%X\n", unsigned(prop.wSettableData));
    DebugOutputF("GCP Settable Stop/Parity 0x%X\n", unsigned(prop.wSettableStopParity));
    DebugOutputF("GCP Current TX Queue %d\n", int(prop.dwCurrentTxQueue));
    DebugOutputF("GCP Current RX Queue %d\n", int(prop.dwCurrentRxQueue));
    DebugOutputF("GCP Prov Spec 1 0x%X\n", unsigned(prop.dwProvSpec1));
    DebugOutputF("GCP Prov Spec 2 0x%X\n", unsigned(prop.dwProvSpec2));
    DebugOutputF("GCP Prov Char 0x%X\n", unsigned(prop.wcProvChar[0]));
}

BOOL CTavlinPort::Open()
{
    DebugOutput("Reset Comm\n");
    if (m_handle) {
        ++m_comResets;
        HANDLE old = m_handle;
        m_handle = nullptr;
        if (!CloseHandle(old)) {
            m_error.ReportLastError();
            return FALSE;
        }
    }
    char name[32];
    snprintf(name, sizeof name, m_comPort < 10 ? "COM%d" : "\\\\.\\COM%d", m_comPort);
    HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error.ReportLastError();
        m_openFailed = TRUE;
        return FALSE;
    }
    m_openFailed = FALSE;
    m_handle = handle;
    Configure();
    return TRUE;
}

void CTavlinPort::Configure()
{
    if (!SetupComm(m_handle, kQueueBytes, kQueueBytes))
        ReportCommFailure();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb))
        ReportCommFailure();
    dcb.BaudRate = m_baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = TRUE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    dcb.XonLim = 0;
    dcb.XoffLim = 0;
    if (!SetCommState(m_handle, &dcb))
        ReportCommFailure();
    // Reads return at once with whatever has come.
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, kWriteMsPerByte, 0};
    if (!SetCommTimeouts(m_handle, &timeouts))
        ReportCommFailure();
    if (!SetCommMask(m_handle, 0))
        ReportCommFailure();
    if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
        ReportCommFailure();
    DrainInput();
    DumpCommProperties();
}

void CTavlinPort::DrainInput()
{
    BYTE block[kDrainBlock];
    DWORD got = 0;
    while (ReadFile(m_handle, block, sizeof block, &got, nullptr) && got > 0) {
    }
}

BOOL CTavlinPort::WriteUnlocked(const BYTE* bytes, int n)
{
    if (!m_handle)
        return FALSE;
    DWORD written = 0;
    if (WriteFile(m_handle, bytes, n, &written, nullptr))
        return TRUE;
    ReportCommFailure();
    Open();
    return FALSE;
}

BOOL CTavlinPort::Write(const BYTE* bytes, int n)
{
    EnterCriticalSection(&m_writeLock);
    BOOL written = WriteUnlocked(bytes, n);
    LeaveCriticalSection(&m_writeLock);
    return written;
}

BOOL CTavlinPort::ReadExact(BYTE* buffer, int n, int timeout)
{
    if (n < 1)
        return TRUE;
    memset(buffer, 0, n);
    if (!m_handle)
        return FALSE;
    int got = 0;
    int remaining = timeout;
    while (got < n) {
        DWORD count = 0;
        if (!ReadFile(m_handle, buffer + got, n - got, &count, nullptr)) {
            ReportCommFailure();
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
    EnterCriticalSection(&m_writeLock);
    SendResetSequence();
    RequestVersion();
    LeaveCriticalSection(&m_writeLock);
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
        Sleep(100);
        BYTE wake[kLocateWakeBytes] = {};
        if (!WriteUnlocked(wake, sizeof wake))
            continue;
        SendResetSequence();
        SendResetSequence();
        double saved = m_version;
        m_version = 0;
        RequestVersion();
        ReadResponsesFor(300);
        if (m_version != 0 && m_version <= kHighestVersion) {
            m_located = TRUE;
            RequestSettings(TRUE);
            ReadResponsesFor(10);
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
            Sleep(1);   // the monitoring thread reads the echo
        }
    }
}

void CTavlinPort::RequestSettings(BOOL read)
{
    const int kFlushMs = 1000;
    Flush(read, kFlushMs);
    RequestCarrier();
    RequestSamplePeriod();
    RequestTimeoutPeriod();
    RequestMinMessageLength();
    RequestParallelHandshake();
    RequestParallelDirection();
    Flush(read, kFlushMs);
    if (m_version >= kIRPortsVersion) {
        RequestSerialNumber();
        RequestIRTransmitPorts();
        RequestIRRoutingTable();
        RequestIRReceivePorts();
        RequestIRReceivePolarity();
    }
    Flush(read, kFlushMs);
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
