// While it lives, no file of this process may grow past a given size: writes
// beyond it fail as they would on a full disk (the signal such a write raises
// is ignored from then on).
#pragma once

#include <sys/resource.h>

class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t bytes);
    ~CFileSizeLimit();
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

    bool IsSet() const { return m_set; }

private:
    struct rlimit m_previous;
    bool m_set;
};
