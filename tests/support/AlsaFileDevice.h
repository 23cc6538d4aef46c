// The sound system's default device as a file: a test-only ALSA configuration
// in a home folder of its own sends what Wine's waveOut plays to a file, byte
// for byte. The sound system reads its configuration once, at the first
// waveOut call of the process, so make the device before that call.
//
// The device writes a new file at each open instead of truncating the last,
// so what was played before a close and reopen is kept.
#pragma once

#include <string>

#include "tests/support/TempFolder.h"

class CAlsaFileDevice
{
public:
    CAlsaFileDevice();

    bool IsValid() const { return m_home.IsValid(); }
    // What the device received so far.
    std::string Played() const;

private:
    CTempFolder m_home;
};

// The 16-bit samples of pcm that are not zero: Wine pads each opening and end
// with silence, and fills with silence where the device ran dry on a loaded
// machine.
std::string WithoutSilence(const std::string& pcm);
