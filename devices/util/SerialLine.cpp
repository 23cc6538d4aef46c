#include "devices/util/SerialLine.h"

#include <stdio.h>

#include <vector>

#include "platform/runtime/DebugOutput.h"
#include "platform/runtime/SystemErrorText.h"

CSerialLine::CSerialLine(CError& error, const SerialSetup& setup)
    : m_error(error), m_setup(setup), m_handle(nullptr)
{
}

CSerialLine::~CSerialLine()
{
    if (!m_handle)
        return;
    if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
        ReportFailure();
    if (!CloseHandle(m_handle))
        ReportFailure();
}

// A failed system call: with diagnostics the line's error state first, then
// the system's text.
void CSerialLine::ReportFailure()
{
    if (m_setup.diagnostics) {
        DWORD code = GetLastError();
        DumpCommErrors();
        SetLastError(code);
    }
    m_error.ReportLastError();
}

void CSerialLine::DumpCommErrors()
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

void CSerialLine::DumpCommProperties()
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

BOOL CSerialLine::Open(int comPort, int baudRate)
{
    if (m_handle) {
        HANDLE old = m_handle;
        m_handle = nullptr;
        if (!CloseHandle(old)) {
            m_error.ReportLastError();
            return FALSE;
        }
    }
    char name[32];
    snprintf(name, sizeof name, comPort < 10 ? "COM%d" : "\\\\.\\COM%d", comPort);
    HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error.ReportLastError();
        return FALSE;
    }
    m_handle = handle;
    Configure(baudRate);
    return TRUE;
}

void CSerialLine::Configure(int baudRate)
{
    if (!SetupComm(m_handle, m_setup.queueBytes, m_setup.queueBytes))
        ReportFailure();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb))
        ReportFailure();
    dcb.BaudRate = baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = m_setup.ctsFlowControl;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fAbortOnError = FALSE;
    // With flow control every flag is set; without, the others stay as they were.
    if (m_setup.ctsFlowControl) {
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.XonLim = 0;
        dcb.XoffLim = 0;
    }
    if (!SetCommState(m_handle, &dcb))
        ReportFailure();
    // Reads return at once with whatever has come; writes get 50 ms a byte.
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 50, 0};
    if (!SetCommTimeouts(m_handle, &timeouts))
        ReportFailure();
    if (!SetCommMask(m_handle, 0))
        ReportFailure();
    if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
        ReportFailure();
    Drain();
    if (m_setup.diagnostics)
        DumpCommProperties();
}

BOOL CSerialLine::Write(const BYTE* bytes, int n)
{
    if (!m_handle)
        return FALSE;
    DWORD written = 0;
    if (!WriteFile(m_handle, bytes, n, &written, nullptr)) {
        ReportFailure();
        return FALSE;
    }
    if (int(written) == n)
        return TRUE;
    m_error.Fail("COM port write cut short: %d of %d bytes went out", int(written), n);
    return FALSE;
}

int CSerialLine::Read(BYTE* buffer, int n)
{
    if (!m_handle)
        return -1;
    if (n < 1)
        return 0;
    DWORD got = 0;
    if (ReadFile(m_handle, buffer, n, &got, nullptr))
        return int(got);
    ReportFailure();
    return -1;
}

bool CSerialLine::ReadByte(BYTE& byte, int stepMs)
{
    if (Read(&byte, 1) == 1)
        return true;
    Sleep(stepMs);
    return Read(&byte, 1) == 1;
}

int CSerialLine::ReadExact(BYTE* buffer, int n, int stepMs, int timeoutMs)
{
    int got = 0;
    int waited = 0;
    while (got < n) {
        int count = Read(buffer + got, n - got);
        if (count > 0) {
            got += count;
            continue;
        }
        if (waited >= timeoutMs)
            break;
        Sleep(stepMs);
        waited += stepMs;
    }
    return got;
}

void CSerialLine::Drain()
{
    std::vector<BYTE> buffer(m_setup.drainBlock);
    while (Read(buffer.data(), m_setup.drainBlock) > 0) {
    }
}
