// The Microsoft C runtime's random generator: 15-bit results from a linear
// congruential generator whose seed each thread keeps for itself.
#pragma once

const int kMsRandMax = 0x7FFF;

// Seeds the calling thread's generator (a thread that never seeds starts at 1).
void MsSrand(unsigned int seed);
// Next value of the calling thread's sequence, 0..kMsRandMax.
int MsRand();

// The same generator with a state of its own, for work that must neither
// disturb nor follow the thread's sequence.
class CMsRandom
{
public:
    explicit CMsRandom(unsigned int seed) : m_seed(seed) {}
    // Next value of this sequence, 0..kMsRandMax.
    int Next();

private:
    unsigned int m_seed;
};
