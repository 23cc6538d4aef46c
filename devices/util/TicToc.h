// Stopwatch of the calling thread's processor time.
#pragma once

#include <windows.h>

class CTicToc
{
public:
    CTicToc();
    virtual ~CTicToc();

    void Tic();
    void Toc();
    double UserSeconds() const;
    double KernelSeconds() const;

private:
    // Thread times in 100 ns units.
    ULONGLONG m_startKernel;
    ULONGLONG m_startUser;
    ULONGLONG m_stopKernel;
    ULONGLONG m_stopUser;
};
