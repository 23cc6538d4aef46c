// What every test of the real server shares: COM in the multithreaded
// apartment, the proxy/stub library, the server and the interface control
// registered, and one interface unit on a pty whose port the server finds in
// its options when COM starts it. The unit's first control-bus port hears
// itself.
#pragma once

#include "TavlinSimulator.h"

CTavlinSimulator& ServerUnit();
