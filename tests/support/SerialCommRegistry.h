// The "COMn" values under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, through which
// programs learn which ports exist.
#pragma once

#include <string>

namespace SerialCommRegistry {

// Adds the fixture's value for "COMn"; false when the key cannot be written.
bool Add(int port);
void Remove(int port);
bool HasPort(int port);

}
