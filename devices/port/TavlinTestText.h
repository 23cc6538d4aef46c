// What the factory tests of an interface unit make of its self tests' results
// (the device server's functional test and the firmware upgrader show the same
// lines), and the serial number they give a unit that passed.
#pragma once

#include <afx.h>

// "sl%d Pass " or "sl%d Fail " for control-bus ports 0-3; bit n of the mask: port n failed.
CString SLinkResultText(int failedPorts);
// "ir%dP ", "ir%dF " or "ir%d? " for IR outputs 1-7; bit n of the mask: output n failed.
CString IRPortsResultText(int failedOutputs);
// The time in seconds (least significant byte first), then the low bytes of
// four successive pseudo-random numbers.
void MakeSerialNumber(BYTE serial[8]);
