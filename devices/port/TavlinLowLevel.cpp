// LOWLEVEL words: a text of items, each a word and its argument in square
// brackets, turned into framed writes on the unit's ports.
#include "TavlinPort.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "LowLevelText.h"

namespace {

const int kMaxChunk = 30;
const BYTE kIRData = 0x80;           // IR data header; with count 0 the end byte
const BYTE kMarkBit = 0x80;          // an IR data byte with the carrier on
const int kMostPeriods = 0x7F;       // sample periods one IR data byte can hold
const double kLeadingSpace = 0.001;  // seconds of space before a short first mark
const double kShortFirstMark = 400;  // us
// Nothing the unit can receive lasts this long; longer durations are refused
// before the encoding could grow without bound.
const double kLongestDuration = 10000000;   // us
const char kNumberChars[] = "+-.0123456789";
const double kBitMessageVersion = 1.1;
const int kControlBusPorts = 4;
const int kRoutingFields = 16;

int Round(double value)
{
    return int(value + 0.5);
}

// The control-bus port number behind "sl" or "slb"; -1 when it is missing or
// not 0-3.
int ControlBusPort(const char* rest)
{
    char* end;
    long port = strtol(rest, &end, 10);
    bool digits = end != rest && rest[0] >= '0' && rest[0] <= '9';
    return digits && port >= 0 && port < kControlBusPorts ? int(port) : -1;
}

} // namespace

// One LOWLEVEL word: rest is the text of the item's word behind the match.
struct CTavlinPort::LowLevelWord
{
    const char* word;
    void (CTavlinPort::*handler)(const char* rest, const char* arg);
};

// Matched by substring, first match wins: every word that contains another
// stands before it ("irrepeat" and the "ir..." settings before "ir", "slb"
// before "sl", "pardir", "parhs" and "parread" before "par").
const CTavlinPort::LowLevelWord CTavlinPort::kLowLevelWords[] = {
    {"carrier", &CTavlinPort::WordCarrier},
    {"baud", &CTavlinPort::WordBaud},
    {"pardir", &CTavlinPort::WordParallelDirection},
    {"parhs", &CTavlinPort::WordParallelHandshake},
    {"parread", &CTavlinPort::WordParallelRead},
    {"storemacro1", &CTavlinPort::WordStoreMacro1},
    {"storemacro2", &CTavlinPort::WordStoreMacro2},
    {"endmacro", &CTavlinPort::WordEndMacro},
    {"playmacro1", &CTavlinPort::WordPlayMacro1},
    {"playmacro2", &CTavlinPort::WordPlayMacro2},
    {"irtxports", &CTavlinPort::WordIRTransmitPorts},
    {"irroutingtable", &CTavlinPort::WordIRRoutingTable},
    {"irrxporten", &CTavlinPort::WordIRReceivePorts},
    {"irrxportpol", &CTavlinPort::WordIRReceivePolarity},
    {"irmml", &CTavlinPort::WordMinMessageLength},
    {"irto", &CTavlinPort::WordTimeoutPeriod},
    {"irts", &CTavlinPort::WordSamplePeriod},
    {"flush", &CTavlinPort::WordFlush},
    {"getserialno", &CTavlinPort::WordSerialNumber},
    {"getversion", &CTavlinPort::WordVersion},
    {"irrepeat", &CTavlinPort::WordIRRepeat},
    {"ir", &CTavlinPort::WordIR},
    {"slb", &CTavlinPort::WordBitMessage},
    {"sl", &CTavlinPort::WordControlBus},
    {"par", &CTavlinPort::WordParallel},
    {"ser", &CTavlinPort::WordSerial},
};

BOOL CTavlinPort::ExecuteLowLevel(const char* text)
{
    CString lower(text);
    lower.MakeLower();
    EnterCriticalSection(&m_writeLock);
    m_busy = 1;
    const char* rest = lower;
    for (;;) {
        const char* open = strchr(rest, '[');
        const char* close = strchr(rest, ']');
        if (!open && !close)
            break;
        // An item cut short ends the text; what came before it has been sent.
        if (!open || !close) {
            m_error.Fail("Unbalanced brackets in LOWLEVEL text: %s", rest);
            break;
        }
        CString word(rest, int(open - rest));
        CString arg = close > open ? CString(open + 1, int(close - open - 1)) : CString();
        rest = close + 1;
        for (const LowLevelWord& w : kLowLevelWords) {
            const char* found = strstr(word, w.word);
            if (found) {
                (this->*w.handler)(found + strlen(w.word), arg);
                break;
            }
        }
    }
    m_busy = 0;
    LeaveCriticalSection(&m_writeLock);
    return TRUE;
}

void CTavlinPort::WordCarrier(const char*, const char* arg)
{
    SetCarrier(strtod(arg, nullptr));
}

void CTavlinPort::WordBaud(const char*, const char* arg)
{
    SetBaudRate(int(strtod(arg, nullptr)));
}

void CTavlinPort::WordParallelDirection(const char*, const char* arg)
{
    SetParallelDirection(BYTE(strtol(arg, nullptr, 10)));
}

// The argument is the flags byte itself: b in bit 0, a in bit 1, c in bit 2.
void CTavlinPort::WordParallelHandshake(const char*, const char* arg)
{
    long v = strtol(arg, nullptr, 10);
    SetParallelHandshake(v & 2, v & 1, v & 4);
}

void CTavlinPort::WordParallelRead(const char*, const char*)
{
    ReadParallel();
}

void CTavlinPort::WordStoreMacro1(const char*, const char*)
{
    StoreMacro1();
}

void CTavlinPort::WordStoreMacro2(const char*, const char*)
{
    StoreMacro2();
}

void CTavlinPort::WordEndMacro(const char*, const char*)
{
    EndMacro();
}

void CTavlinPort::WordPlayMacro1(const char*, const char*)
{
    PlayMacro1();
}

void CTavlinPort::WordPlayMacro2(const char*, const char*)
{
    PlayMacro2();
}

void CTavlinPort::WordIRTransmitPorts(const char*, const char* arg)
{
    SetIRTransmitPorts(int(strtol(arg, nullptr, 10)));
}

void CTavlinPort::WordIRRoutingTable(const char*, const char* arg)
{
    int ports[8];
    double carriers[8];
    int fields = sscanf(arg, "%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf",
                        &ports[0], &carriers[0], &ports[1], &carriers[1], &ports[2], &carriers[2],
                        &ports[3], &carriers[3], &ports[4], &carriers[4], &ports[5], &carriers[5],
                        &ports[6], &carriers[6], &ports[7], &carriers[7]);
    if (fields == kRoutingFields)
        SetIRRoutingTable(ports, carriers);
}

void CTavlinPort::WordIRReceivePorts(const char*, const char* arg)
{
    SetIRReceivePorts(int(strtol(arg, nullptr, 10)));
}

void CTavlinPort::WordIRReceivePolarity(const char*, const char* arg)
{
    SetIRReceivePolarity(int(strtol(arg, nullptr, 10)));
}

void CTavlinPort::WordMinMessageLength(const char*, const char* arg)
{
    SetMinMessageLength(int(strtol(arg, nullptr, 10)));
}

void CTavlinPort::WordTimeoutPeriod(const char*, const char* arg)
{
    SetTimeoutPeriod(strtod(arg, nullptr) * 0.000001);
}

void CTavlinPort::WordSamplePeriod(const char*, const char* arg)
{
    SetSamplePeriod(strtod(arg, nullptr) * 0.000001);
}

// Waits for the monitoring thread to see the echo; it does not read itself.
void CTavlinPort::WordFlush(const char*, const char* arg)
{
    Flush(FALSE, int(strtol(arg, nullptr, 10)));
}

void CTavlinPort::WordSerialNumber(const char*, const char*)
{
    RequestSerialNumber();
}

// The next reading of responses reports the known version.
void CTavlinPort::WordVersion(const char*, const char*)
{
    m_versionWanted = 1;
}

// The receive parser sends the code again at every echo of a sync mark until an
// item that sends data clears the flag.
void CTavlinPort::WordIRRepeat(const char*, const char* arg)
{
    const int kFirstSendings = 3;
    for (int i = 0; i < kFirstSendings; ++i) {
        SendIRTimings(arg);
        SendNextSyncMark();
    }
    SetIRRepeat(TRUE, arg);
}

// Called by the words only, under the write lock.
void CTavlinPort::SetIRRepeat(BOOL on, const char* text)
{
    m_irRepeat = on;
    m_irRepeatText = text;
}

void CTavlinPort::WordIR(const char*, const char* arg)
{
    SetIRRepeat(FALSE, "");
    SendIRTimings(arg);
}

void CTavlinPort::WordBitMessage(const char* rest, const char* arg)
{
    SetIRRepeat(FALSE, "");
    int port = ControlBusPort(rest);
    if (port < 0 || m_version < kBitMessageVersion)
        return;
    int bitCount;
    std::vector<BYTE> bytes = BinaryTextToBytes(arg, bitCount);
    if (bytes.empty())
        return;
    std::vector<BYTE> frames = Frame(port, bytes.data(), int(bytes.size()) - 1, false);
    frames.push_back(BYTE((port << 5) + 0x1F));
    frames.push_back(0x04);
    frames.push_back(BYTE(bitCount % 8));
    frames.push_back(bytes.back());
    frames.push_back(BYTE(port << 5));
    WriteUnlocked(frames.data(), int(frames.size()));
}

void CTavlinPort::WordControlBus(const char* rest, const char* arg)
{
    SetIRRepeat(FALSE, "");
    int port = ControlBusPort(rest);
    if (port >= 0)
        SendPortMessage(port, HexTextToBytes(arg));
}

void CTavlinPort::WordParallel(const char*, const char* arg)
{
    SetIRRepeat(FALSE, "");
    SendPortMessage(kParallelPort, HexTextToBytes(arg));
}

void CTavlinPort::WordSerial(const char*, const char* arg)
{
    SetIRRepeat(FALSE, "");
    SendPortMessage(kSerialPort, HexTextToBytes(arg));
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
