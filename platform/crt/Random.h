// The Microsoft C runtime's random generator: 15-bit results from a linear
// congruential generator whose seed each thread keeps for itself.
#pragma once

const int kMsRandMax = 0x7FFF;

// Seeds the calling thread's generator (a thread that never seeds starts at 1).
void MsSrand(unsigned int seed);
// Next value of the calling thread's sequence, 0..kMsRandMax.
int MsRand();
