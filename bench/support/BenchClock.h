// The benches' clock: the performance counter, in seconds.
#pragma once

#include <windows.h>

inline double BenchSeconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}
