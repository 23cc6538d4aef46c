// The built-in input module for network streams: http, ftp, udp and tcp URLs, read
// into a ring buffer with a buffering hysteresis and progress events.
#pragma once

struct Decoder;

// Events the module reports through the decoder's event report.
const int kNetEventConnecting = 16;
const int kNetEventConnected = 17;
const int kNetEventUnderflow = 19;
const int kNetEventRefilled = 20;
const int kNetEventProgress = 21;
const int kNetEventEnd = 22;

// Registers the module and starts Windows sockets; returns the module's id or an error.
int RegisterNetworkInputModule(Decoder* decoder);
