#include "platform/crt/Random.h"

namespace
{
const unsigned int kMultiplier = 214013;
const unsigned int kIncrement = 2531011;

thread_local unsigned int t_seed = 1;

int Step(unsigned int& seed)
{
    seed = seed * kMultiplier + kIncrement;
    return (int)((seed >> 16) & kMsRandMax);
}
}

void MsSrand(unsigned int seed)
{
    t_seed = seed;
}

int MsRand()
{
    return Step(t_seed);
}

int CMsRandom::Next()
{
    return Step(m_seed);
}
