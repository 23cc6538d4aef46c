// Sets (or, given nullptr, unsets) an environment variable for the life of the
// object, and puts back what was there before.
#pragma once

#include <stdlib.h>

#include <string>

class CScopedVariable
{
public:
    CScopedVariable(const char* name, const char* value) : m_name(name)
    {
        const char* old = getenv(name);
        m_had = old != nullptr;
        m_old = old ? old : "";
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CScopedVariable()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had;
};
