// The LOWLEVEL word interpreter: a text of items, each a word and its argument
// in square brackets, turned into the port's commands and framed writes. The
// port runs it under its write lock.
#pragma once

#include "devices/port/TavlinPort.h"

class CTavlinLowLevel
{
public:
    explicit CTavlinLowLevel(CTavlinPort& port) : m_port(port) {}

    // Every item of the text in order, case-blind; an item without a closing
    // bracket ends it.
    void Execute(const char* text);

private:
    struct LowLevelWord;
    static const LowLevelWord kLowLevelWords[];

    // rest is the item's word behind the matched text.
    void WordCarrier(const char* rest, const char* arg);
    void WordBaud(const char* rest, const char* arg);
    void WordParallelDirection(const char* rest, const char* arg);
    void WordParallelHandshake(const char* rest, const char* arg);
    void WordParallelRead(const char* rest, const char* arg);
    void WordStoreMacro1(const char* rest, const char* arg);
    void WordStoreMacro2(const char* rest, const char* arg);
    void WordEndMacro(const char* rest, const char* arg);
    void WordPlayMacro1(const char* rest, const char* arg);
    void WordPlayMacro2(const char* rest, const char* arg);
    void WordIRTransmitPorts(const char* rest, const char* arg);
    void WordIRRoutingTable(const char* rest, const char* arg);
    void WordIRReceivePorts(const char* rest, const char* arg);
    void WordIRReceivePolarity(const char* rest, const char* arg);
    void WordMinMessageLength(const char* rest, const char* arg);
    void WordTimeoutPeriod(const char* rest, const char* arg);
    void WordSamplePeriod(const char* rest, const char* arg);
    void WordFlush(const char* rest, const char* arg);
    void WordSerialNumber(const char* rest, const char* arg);
    void WordVersion(const char* rest, const char* arg);
    void WordIRRepeat(const char* rest, const char* arg);
    void WordIR(const char* rest, const char* arg);
    void WordBitMessage(const char* rest, const char* arg);
    void WordControlBus(const char* rest, const char* arg);
    void WordParallel(const char* rest, const char* arg);
    void WordSerial(const char* rest, const char* arg);

    CTavlinPort& m_port;
};
