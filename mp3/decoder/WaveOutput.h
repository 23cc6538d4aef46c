// The built-in output module that plays the decoded samples through waveOut and sets
// the master level through the mixer. It takes the empty name and "/dev/wave/N".
#pragma once

struct Decoder;

// Returns the module's id or an error.
int RegisterWaveOutputModule(Decoder* decoder);

// How many 10 ms waits a buffer that never finishes is given before the device is
// reported stuck (5000; 0 restores that). Lets tests of a stuck device end quickly.
void SetWaveOutputMaxWaits(int waits);

// The waveOut volume word (left level low, right high) for a level of 0 to 65535 and
// a balance of 0 (left) to 1 (right).
unsigned WaveVolumeWord(float level, float balance);
