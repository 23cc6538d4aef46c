#include "tests/support/FileSizeLimit.h"

#include <signal.h>

CFileSizeLimit::CFileSizeLimit(rlim_t bytes) : m_set(false)
{
    if (getrlimit(RLIMIT_FSIZE, &m_previous) != 0)
        return;
    struct rlimit limit = m_previous;
    limit.rlim_cur = bytes;
    signal(SIGXFSZ, SIG_IGN);
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

CFileSizeLimit::~CFileSizeLimit()
{
    if (m_set)
        setrlimit(RLIMIT_FSIZE, &m_previous);
}
