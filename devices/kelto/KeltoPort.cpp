#include "devices/kelto/KeltoPort.h"

#include <stdarg.h>
#include <stdio.h>

#include <vector>

#include "devices/util/HexText.h"

namespace {

const int kBaudRate = 38400;
// No flow control; small queues.
const SerialSetup kLineSetup = {2048, false, 10000, false};
const BYTE kFrameStart[] = {0xFF, 0x00, 0x40};
// Inside a frame 0xFF starts the frame, so a payload byte 0xFF goes as 0xFF 0x01.
const BYTE kEscape = 0xFF;
const BYTE kEscapedFF = 0x01;
const BYTE kPingOpcode = 37;
const BYTE kResetOpcode = 128;
const int kFlushWordMs = 2000;
const int kLocateMs = 300;
const double kHighestVersion = 9.0;
const int kMarkMask = 0xFFFF;
// Marks are 16-bit: an echo has reached a mark when it lies less than half the
// circle ahead of it.
const int kHalfMarkCircle = 0x8000;
// Codes taken from the line in one call: a line full of noise still leaves the
// monitoring thread to the other ports.
const int kMaxCodesPerCall = 64;
const int kMaxPayload = 16;

// Boot loader (raw bytes, no command frame)
const BYTE kBootEnquiry = 0xF5;
const BYTE kBootReady = 0x04;
const BYTE kBootExit = 0xF4;
const BYTE kBootWriteBlock = 0xF0;
const BYTE kBootReadBlock = 0xF1;
const BYTE kBlockWritten = 1;
const int kBootStartMs = 500;
const int kBootWaitMs = 2000;
const int kBootStepMs = 200;
const int kBlockTries = 3;
const int kBlockTimeoutMs = 1000;
const int kReadStepMs = 10;

enum
{
    kRawWord = -1,
    kFlushWord = -2
};

} // namespace

struct CKeltoPort::CommandWord
{
    const char* word;
    int opcode;
};

// Matched as substrings in this order: the first match wins.
const CKeltoPort::CommandWord CKeltoPort::kCommandWords[] = {
    {"raw", kRawWord},
    {"set_port", 0},
    {"get_port", 1},
    {"get_allports", 2},
    {"set_allports", 42},
    {"get_statusquick", 43},
    {"get_statusall", 3},
    {"get_status", 4},
    {"get_chstatusall", 6},
    {"get_chstatus", 5},
    {"set_lcdbright", 7},
    {"get_lcdbright", 8},
    {"set_lcdcontrast", 9},
    {"get_lcdcontrast", 10},
    {"set_revert", 11},
    {"get_revert", 12},
    {"set_dropout", 13},
    {"get_dropout", 14},
    {"set_numin", 15},
    {"get_numin", 16},
    {"set_numout", 17},
    {"get_numout", 18},
    {"set_ircodeset", 19},
    {"get_ircodeset", 20},
    {"set_idnum", 21},
    {"get_idnum", 22},
    {"monitor", 23},
    {"key", 24},
    {"set_outmode", 25},
    {"get_outmode", 26},
    {"set_alloutmode", 27},
    {"get_alloutmode", 28},
    {"set_outmask", 29},
    {"get_outmask", 30},
    {"set_outvisible", 31},
    {"get_outvisible", 32},
    {"set_alloutvisible", 33},
    {"get_alloutvisible", 34},
    {"get_info", 35},
    {"get_versionstring", 36},
    {"ping", kPingOpcode},
    {"get_serialno", 38},
    {"recall", 39},
    {"save_defaults", 41},
    {"save", 40},
    {"csreset", 88},
    {"reset", kResetOpcode},
    {"flush", kFlushWord},
};

struct CKeltoPort::Response
{
    BYTE code;
    const char* word;
    int length;
};

const CKeltoPort::Response CKeltoPort::kResponses[] = {
    {1, "port", 2},           {2, "allports", 4},   {3, "statusall", 16},
    {4, "status", 2},         {5, "chstatus", 4},   {8, "lcdbright", 1},
    {10, "lcdcontrast", 1},   {12, "revert", 1},    {14, "dropout", 1},
    {16, "numin", 1},         {18, "numout", 1},    {20, "ircodeset", 1},
    {22, "idnum", 1},         {26, "outmode", 2},   {28, "alloutmode", 1},
    {30, "outmask", 3},       {32, "outvisible", 2}, {34, "alloutvisible", 1},
    {35, "info", 3},          {36, "versionstring", 16}, {37, "pong", 2},
    {38, "serialno", 16},     {43, "statusallquick", 4}, {84, "peek", 3},
    {87, "csreg", 2},
};

CKeltoPort::CKeltoPort(int comPort, BOOL messageBox)
    : m_bootMode(FALSE), m_markCounter(0), m_lastEcho(0), m_echoes(0), m_openFailed(FALSE),
      m_version(0), m_located(0), m_baudRate(kBaudRate), m_comPort(comPort), m_line(m_error, kLineSetup)
{
    m_error.m_messageBox = messageBox;
    m_openFailed = !m_line.Open(comPort, kBaudRate);
}

BOOL CKeltoPort::WriteRaw(const BYTE* bytes, int n)
{
    CSingleLock lock(&m_lock, TRUE);
    return m_line.Write(bytes, n);
}

BOOL CKeltoPort::WriteFrame(const BYTE* bytes, int n)
{
    std::vector<BYTE> frame(kFrameStart, kFrameStart + sizeof kFrameStart);
    for (int i = 0; i < n; ++i) {
        frame.push_back(bytes[i]);
        if (bytes[i] == kEscape)
            frame.push_back(kEscapedFF);
    }
    return WriteRaw(frame.data(), int(frame.size()));
}

// Items are words with bracketed arguments, or bare words separated by blanks.
int CKeltoPort::SendCommand(const char* command)
{
    CString text(command);
    text.MakeLower();
    while (!text.IsEmpty()) {
        CString word;
        CString args;
        int open = text.Find('[');
        int close = text.Find(']');
        if (open >= 0 && close >= 0) {
            word = text.Left(open);
            if (close > open)
                args = text.Mid(open + 1, close - open - 1);
            text = text.Mid(close + 1);
        } else {
            int blank = text.Find(' ');
            word = blank < 0 ? text : text.Left(blank);
            text = blank < 0 ? CString() : text.Mid(blank + 1);
        }
        SendWord(word, args);
    }
    return 1;
}

void CKeltoPort::SendWord(const CString& word, const CString& args)
{
    for (const CommandWord& entry : kCommandWords) {
        if (word.Find(entry.word) < 0)
            continue;
        if (entry.opcode == kRawWord) {
            std::vector<BYTE> bytes = HexTextToBytes(args);
            WriteRaw(bytes.data(), int(bytes.size()));
        } else if (entry.opcode == kFlushWord) {
            Flush(kFlushWordMs);
        } else {
            CString payload;
            payload.Format("%02X", entry.opcode);
            std::vector<BYTE> bytes = HexTextToBytes(payload + args);
            WriteFrame(bytes.data(), int(bytes.size()));
        }
        return;
    }
}

int CKeltoPort::ReadResponses(CString& out, int step)
{
    if (m_bootMode) {
        Sleep(step);
        return 1;
    }
    BYTE code;
    for (int n = 0; n < kMaxCodesPerCall && m_line.ReadByte(code, step); ++n) {
        const Response* response = nullptr;
        for (const Response& entry : kResponses) {
            if (entry.code == code) {
                response = &entry;
                break;
            }
        }
        if (!response)
            continue;
        BYTE payload[kMaxPayload];
        int got = 0;
        while (got < response->length && m_line.ReadByte(payload[got], step))
            ++got;
        if (got < response->length) {
            m_error.m_text.Format("Kelto response %s cut short: %d of %d bytes came",
                                  response->word, got, response->length);
            m_error.Report();
            break;
        }
        out += CString(response->word) + "[" + FormatHex(payload, response->length) + "] ";
        OnResponse(code, payload);
    }
    return 1;
}

void CKeltoPort::OnResponse(BYTE code, const BYTE* payload)
{
    const BYTE kInfo = 35;
    if (code == kPingOpcode) {
        m_lastEcho = payload[0] * 256 + payload[1];
        ++m_echoes;
    } else if (code == kInfo) {
        m_version = (payload[0] >> 4) + (payload[0] & 15) * 0.1;
    }
}

void CKeltoPort::ReadResponsesFor(int ms)
{
    DWORD start = GetTickCount();
    CString ignored;
    while (GetTickCount() - start < DWORD(ms))
        ReadResponses(ignored, kReadStepMs);
}

bool CKeltoPort::Locate()
{
    if (m_located)
        return m_version != 0;
    double saved = m_version;
    m_version = 0;
    SendCommand("get_info");
    m_located = 1;
    ReadResponsesFor(kLocateMs);
    if (m_version != 0 && m_version <= kHighestVersion)
        return true;
    m_version = saved;
    return false;
}

// The ping goes framed like every other command word: the switch reads only
// frames, and an unframed 0x25 would be taken for noise.
bool CKeltoPort::Flush(int timeout)
{
    LONG echoesAtStart = m_echoes;
    int mark = m_markCounter.fetch_add(1) & kMarkMask;
    BYTE ping[] = {kPingOpcode, BYTE(mark >> 8), BYTE(mark & 0xFF)};
    WriteFrame(ping, sizeof ping);
    DWORD start = GetTickCount();
    for (;;) {
        if (m_echoes != echoesAtStart && ((m_lastEcho - mark) & kMarkMask) < kHalfMarkCircle)
            return true;
        if (GetTickCount() - start >= DWORD(timeout))
            return false;
        Sleep(0);
    }
}

void CKeltoPort::Reset()
{
    m_bootMode = FALSE;
    WriteFrame(&kResetOpcode, 1);
}

BOOL CKeltoPort::EnterBootLoader()
{
    Reset();
    m_bootMode = TRUE;
    Sleep(kBootStartMs);
    return WaitForBootLoader(kBootWaitMs);
}

BOOL CKeltoPort::WaitForBootLoader(int timeout)
{
    m_line.Drain();
    for (;;) {
        WriteRaw(&kBootEnquiry, 1);
        BYTE answer[2];
        if (m_line.ReadExact(answer, sizeof answer, kReadStepMs, kBootStepMs) > 0 &&
            answer[0] == kBootReady) {
            m_line.Drain();
            return TRUE;
        }
        timeout -= kBootStepMs;
        if (timeout < 1)
            return FALSE;
    }
}

BOOL CKeltoPort::ExitBootLoader()
{
    m_bootMode = FALSE;
    WriteRaw(&kBootExit, 1);
    return TRUE;
}

// length counts bytes; the boot loader counts 16-bit words.
BOOL CKeltoPort::WriteFlashBlock(int address, int length, const BYTE* data)
{
    std::vector<BYTE> block = {kBootWriteBlock, BYTE(address >> 8), BYTE(address & 0xFF),
                               BYTE(length / 2)};
    int sum = 0;
    for (int i = 0; i < length; ++i) {
        block.push_back(data[i]);
        sum += data[i];
    }
    block.push_back(BYTE(sum));
    for (int i = 0; i < kBlockTries; ++i) {
        WriteRaw(block.data(), int(block.size()));
        BYTE answer = 0;
        if (m_line.ReadExact(&answer, 1, kReadStepMs, kBlockTimeoutMs) == 1 &&
            answer == kBlockWritten)
            return TRUE;
    }
    return FALSE;
}

BOOL CKeltoPort::ReadFlashBlock(int address, int length, BYTE* out)
{
    BYTE request[] = {kBootReadBlock, BYTE(address >> 8), BYTE(address & 0xFF), BYTE(length / 2)};
    for (int i = 0; i < kBlockTries; ++i) {
        WriteRaw(request, sizeof request);
        if (m_line.ReadExact(out, length, kReadStepMs, kBlockTimeoutMs) == length)
            return TRUE;
    }
    return FALSE;
}
