#include "crt/Random.h"

namespace
{
const unsigned int kMultiplier = 214013;
const unsigned int kIncrement = 2531011;

thread_local unsigned int t_seed = 1;
}

void MsSrand(unsigned int seed)
{
    t_seed = seed;
}

int MsRand()
{
    t_seed = t_seed * kMultiplier + kIncrement;
    return (int)((t_seed >> 16) & kMsRandMax);
}
