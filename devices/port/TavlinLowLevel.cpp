// LOWLEVEL words: a text of items, each a word and its argument in square
// brackets, turned into framed writes on the unit's ports.
#include "devices/port/TavlinLowLevel.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "devices/port/LowLevelText.h"

namespace {

const double kBitMessageVersion = 1.1;
const int kControlBusPorts = 4;
const int kRoutingFields = 16;

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
struct CTavlinLowLevel::LowLevelWord
{
    const char* word;
    void (CTavlinLowLevel::*handler)(const char* rest, const char* arg);
};

// Matched by substring, first match wins: every word that contains another
// stands before it ("irrepeat" and the "ir..." settings before "ir", "slb"
// before "sl", "pardir", "parhs" and "parread" before "par").
const CTavlinLowLevel::LowLevelWord CTavlinLowLevel::kLowLevelWords[] = {
    {"carrier", &CTavlinLowLevel::WordCarrier},
    {"baud", &CTavlinLowLevel::WordBaud},
    {"pardir", &CTavlinLowLevel::WordParallelDirection},
    {"parhs", &CTavlinLowLevel::WordParallelHandshake},
    {"parread", &CTavlinLowLevel::WordParallelRead},
    {"storemacro1", &CTavlinLowLevel::WordStoreMacro1},
    {"storemacro2", &CTavlinLowLevel::WordStoreMacro2},
    {"endmacro", &CTavlinLowLevel::WordEndMacro},
    {"playmacro1", &CTavlinLowLevel::WordPlayMacro1},
    {"playmacro2", &CTavlinLowLevel::WordPlayMacro2},
    {"irtxports", &CTavlinLowLevel::WordIRTransmitPorts},
    {"irroutingtable", &CTavlinLowLevel::WordIRRoutingTable},
    {"irrxporten", &CTavlinLowLevel::WordIRReceivePorts},
    {"irrxportpol", &CTavlinLowLevel::WordIRReceivePolarity},
    {"irmml", &CTavlinLowLevel::WordMinMessageLength},
    {"irto", &CTavlinLowLevel::WordTimeoutPeriod},
    {"irts", &CTavlinLowLevel::WordSamplePeriod},
    {"flush", &CTavlinLowLevel::WordFlush},
    {"getserialno", &CTavlinLowLevel::WordSerialNumber},
    {"getversion", &CTavlinLowLevel::WordVersion},
    {"irrepeat", &CTavlinLowLevel::WordIRRepeat},
    {"ir", &CTavlinLowLevel::WordIR},
    {"slb", &CTavlinLowLevel::WordBitMessage},
    {"sl", &CTavlinLowLevel::WordControlBus},
    {"par", &CTavlinLowLevel::WordParallel},
    {"ser", &CTavlinLowLevel::WordSerial},
};

void CTavlinLowLevel::Execute(const char* text)
{
    CString lower(text);
    lower.MakeLower();
    const char* rest = lower;
    for (;;) {
        const char* open = strchr(rest, '[');
        const char* close = strchr(rest, ']');
        if (!open && !close)
            break;
        // An item cut short ends the text; what came before it has been sent.
        if (!open || !close) {
            m_port.m_error.Fail("Unbalanced brackets in LOWLEVEL text: %s", rest);
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
}

void CTavlinLowLevel::WordCarrier(const char*, const char* arg)
{
    m_port.SetCarrier(strtod(arg, nullptr));
}

void CTavlinLowLevel::WordBaud(const char*, const char* arg)
{
    m_port.SetBaudRate(int(strtod(arg, nullptr)));
}

void CTavlinLowLevel::WordParallelDirection(const char*, const char* arg)
{
    m_port.SetParallelDirection(BYTE(strtol(arg, nullptr, 10)));
}

// The argument is the flags byte itself: b in bit 0, a in bit 1, c in bit 2.
void CTavlinLowLevel::WordParallelHandshake(const char*, const char* arg)
{
    long v = strtol(arg, nullptr, 10);
    m_port.SetParallelHandshake(v & 2, v & 1, v & 4);
}

void CTavlinLowLevel::WordParallelRead(const char*, const char*)
{
    m_port.ReadParallel();
}

void CTavlinLowLevel::WordStoreMacro1(const char*, const char*)
{
    m_port.StoreMacro1();
}

void CTavlinLowLevel::WordStoreMacro2(const char*, const char*)
{
    m_port.StoreMacro2();
}

void CTavlinLowLevel::WordEndMacro(const char*, const char*)
{
    m_port.EndMacro();
}

void CTavlinLowLevel::WordPlayMacro1(const char*, const char*)
{
    m_port.PlayMacro1();
}

void CTavlinLowLevel::WordPlayMacro2(const char*, const char*)
{
    m_port.PlayMacro2();
}

void CTavlinLowLevel::WordIRTransmitPorts(const char*, const char* arg)
{
    m_port.SetIRTransmitPorts(int(strtol(arg, nullptr, 10)));
}

void CTavlinLowLevel::WordIRRoutingTable(const char*, const char* arg)
{
    int ports[8];
    double carriers[8];
    int fields = sscanf(arg, "%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf,%d,%lf",
                        &ports[0], &carriers[0], &ports[1], &carriers[1], &ports[2], &carriers[2],
                        &ports[3], &carriers[3], &ports[4], &carriers[4], &ports[5], &carriers[5],
                        &ports[6], &carriers[6], &ports[7], &carriers[7]);
    if (fields == kRoutingFields)
        m_port.SetIRRoutingTable(ports, carriers);
}

void CTavlinLowLevel::WordIRReceivePorts(const char*, const char* arg)
{
    m_port.SetIRReceivePorts(int(strtol(arg, nullptr, 10)));
}

void CTavlinLowLevel::WordIRReceivePolarity(const char*, const char* arg)
{
    m_port.SetIRReceivePolarity(int(strtol(arg, nullptr, 10)));
}

void CTavlinLowLevel::WordMinMessageLength(const char*, const char* arg)
{
    m_port.SetMinMessageLength(int(strtol(arg, nullptr, 10)));
}

void CTavlinLowLevel::WordTimeoutPeriod(const char*, const char* arg)
{
    m_port.SetTimeoutPeriod(strtod(arg, nullptr) * 0.000001);
}

void CTavlinLowLevel::WordSamplePeriod(const char*, const char* arg)
{
    m_port.SetSamplePeriod(strtod(arg, nullptr) * 0.000001);
}

// Waits for the monitoring thread to see the echo; it does not read itself.
void CTavlinLowLevel::WordFlush(const char*, const char* arg)
{
    m_port.Flush(FALSE, int(strtol(arg, nullptr, 10)));
}

void CTavlinLowLevel::WordSerialNumber(const char*, const char*)
{
    m_port.RequestSerialNumber();
}

// The next reading of responses reports the known version.
void CTavlinLowLevel::WordVersion(const char*, const char*)
{
    m_port.m_versionWanted = 1;
}

// The receive parser sends the code again at every echo of a sync mark until an
// item that sends data clears the flag.
void CTavlinLowLevel::WordIRRepeat(const char*, const char* arg)
{
    const int kFirstSendings = 3;
    for (int i = 0; i < kFirstSendings; ++i) {
        m_port.SendIRTimings(arg);
        m_port.SendNextSyncMark();
    }
    m_port.SetIRRepeat(TRUE, arg);
}

void CTavlinLowLevel::WordIR(const char*, const char* arg)
{
    m_port.SetIRRepeat(FALSE, "");
    m_port.SendIRTimings(arg);
}

void CTavlinLowLevel::WordBitMessage(const char* rest, const char* arg)
{
    m_port.SetIRRepeat(FALSE, "");
    int port = ControlBusPort(rest);
    if (port < 0 || m_port.GetVersion() < kBitMessageVersion)
        return;
    int bitCount;
    std::vector<BYTE> bytes = BinaryTextToBytes(arg, bitCount);
    if (bytes.empty())
        return;
    std::vector<BYTE> frames = m_port.Frame(port, bytes.data(), int(bytes.size()) - 1, false);
    frames.push_back(BYTE((port << 5) + 0x1F));
    frames.push_back(0x04);
    frames.push_back(BYTE(bitCount % 8));
    frames.push_back(bytes.back());
    frames.push_back(BYTE(port << 5));
    m_port.WriteUnlocked(frames.data(), int(frames.size()));
}

void CTavlinLowLevel::WordControlBus(const char* rest, const char* arg)
{
    m_port.SetIRRepeat(FALSE, "");
    int port = ControlBusPort(rest);
    if (port >= 0)
        m_port.SendPortMessage(port, HexTextToBytes(arg));
}

void CTavlinLowLevel::WordParallel(const char*, const char* arg)
{
    m_port.SetIRRepeat(FALSE, "");
    m_port.SendPortMessage(CTavlinPort::kParallelPort, HexTextToBytes(arg));
}

void CTavlinLowLevel::WordSerial(const char*, const char* arg)
{
    m_port.SetIRRepeat(FALSE, "");
    m_port.SendPortMessage(CTavlinPort::kSerialPort, HexTextToBytes(arg));
}
