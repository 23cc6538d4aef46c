#include "core/players/OldFirmware.h"

namespace {

const double kLastOldFirmware = 2.8;

} // namespace

// The version is read with "%lf" from the unit's answer, so "2.8" compares
// equal to the constant; 0 (no answer yet) counts as old.
bool IsOldFirmware(double version)
{
    return version <= kLastOldFirmware;
}
