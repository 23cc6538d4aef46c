#include "SerialLine.h"

#include <stdio.h>

#include <vector>

namespace {

const DWORD kQueueBytes = 2048;
const DWORD kWriteMsPerByte = 50;

} // namespace

CSerialLine::CSerialLine(CError& error) : m_error(error), m_handle(nullptr)
{
}

CSerialLine::~CSerialLine()
{
    if (!m_handle)
        return;
    if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
        m_error.ReportLastError();
    if (!CloseHandle(m_handle))
        m_error.ReportLastError();
}

BOOL CSerialLine::Open(int comPort, int baudRate, int drainBlock)
{
    char name[32];
    snprintf(name, sizeof name, comPort < 10 ? "COM%d" : "\\\\.\\COM%d", comPort);
    HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error.ReportLastError();
        return FALSE;
    }
    m_handle = handle;
    if (!SetupComm(m_handle, kQueueBytes, kQueueBytes))
        m_error.ReportLastError();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb))
        m_error.ReportLastError();
    dcb.BaudRate = baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    // The flag word loses 0x430C; the other flags stay as they were.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(m_handle, &dcb))
        m_error.ReportLastError();
    // Reads return at once with whatever has come.
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, kWriteMsPerByte, 0};
    if (!SetCommTimeouts(m_handle, &timeouts))
        m_error.ReportLastError();
    if (!SetCommMask(m_handle, 0))
        m_error.ReportLastError();
    if (!PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR))
        m_error.ReportLastError();
    Drain(drainBlock);
    return TRUE;
}

BOOL CSerialLine::Write(const BYTE* bytes, int n)
{
    if (!m_handle)
        return FALSE;
    DWORD written = 0;
    if (WriteFile(m_handle, bytes, n, &written, nullptr) && int(written) == n)
        return TRUE;
    m_error.ReportLastError();
    return FALSE;
}

int CSerialLine::Read(BYTE* buffer, int n)
{
    if (!m_handle || n < 1)
        return 0;
    DWORD got = 0;
    if (ReadFile(m_handle, buffer, n, &got, nullptr))
        return int(got);
    m_error.ReportLastError();
    return 0;
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
        got += count;
        if (count > 0 || got == n)
            continue;
        if (waited >= timeoutMs)
            break;
        Sleep(stepMs);
        waited += stepMs;
    }
    return got;
}

void CSerialLine::Drain(int block)
{
    std::vector<BYTE> buffer(block);
    while (Read(buffer.data(), block) > 0) {
    }
}
