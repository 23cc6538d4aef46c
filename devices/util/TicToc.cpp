#include "devices/util/TicToc.h"

namespace {

const double kSecondsPerUnit = 1e-7;

ULONGLONG Units(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void ThreadTimes(ULONGLONG& kernel, ULONGLONG& user)
{
    FILETIME created, exited, kernelTime, userTime;
    if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelTime, &userTime)) {
        kernel = Units(kernelTime);
        user = Units(userTime);
    }
}

} // namespace

CTicToc::CTicToc()
    : m_startKernel(0), m_startUser(0), m_stopKernel(0), m_stopUser(0)
{
}

CTicToc::~CTicToc()
{
}

void CTicToc::Tic()
{
    ThreadTimes(m_startKernel, m_startUser);
}

void CTicToc::Toc()
{
    ThreadTimes(m_stopKernel, m_stopUser);
}

double CTicToc::UserSeconds() const
{
    return double(LONGLONG(m_stopUser - m_startUser)) * kSecondsPerUnit;
}

double CTicToc::KernelSeconds() const
{
    return double(LONGLONG(m_stopKernel - m_startKernel)) * kSecondsPerUnit;
}
