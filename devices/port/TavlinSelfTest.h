// Functional tests of an interface unit on the loopback test fixture, driven
// through the port's own commands and LOWLEVEL words; they read the responses
// themselves, so the monitoring thread must leave the port alone meanwhile.
#pragma once

#include "devices/port/TavlinPort.h"

class CTavlinSelfTest
{
public:
    explicit CTavlinSelfTest(CTavlinPort& port) : m_port(port) {}

    // 0 passes, else the failure value of the kind.
    int Run(int kind, int rounds);
    bool TestIRLoopback(int txPort, int rxPort, double carrier);

private:
    struct IRMasks
    {
        int receive;
        int transmit;
    };
    IRMasks BeginIRTest(double carrier);
    void EndIRTest(const IRMasks& saved);
    void SetIRMasks(int receive, int transmit);
    void Drain();
    CString ReadTextFor(int ms);
    bool IRRoundTrip();
    int IRChannelTest(int kind, int rounds);
    int ParallelTest();

    CTavlinPort& m_port;
};
