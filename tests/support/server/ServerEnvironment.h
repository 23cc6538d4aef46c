// What every test of the real server shares: COM in the multithreaded
// apartment, the proxy/stub library, the server and the interface control
// registered, and one interface unit on a pty whose port the server finds in
// its options when COM starts it. The unit's first control-bus port hears
// itself.
#pragma once

#include "tests/support/TavlinSimulator.h"

CTavlinSimulator& ServerUnit();

// Waits until no copy of the server runs (a COM-started server quits a few
// ticks after its last client object); false when one still runs after 20 s.
bool NoServerRuns();
