// Sets a variable of the Win32 process environment (the one GetEnvironmentVariable
// reads and child processes inherit, which setenv does not reach) for the life of
// the object, and puts back what was there before.
#pragma once

#include <windows.h>

#include <string>

class CScopedProcessVariable
{
public:
    CScopedProcessVariable(const char* name, const std::string& value) : m_name(name)
    {
        char old[MAX_PATH * 2] = "";
        DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        m_had = length > 0 && length < sizeof old;
        m_old = old;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~CScopedProcessVariable() { SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }
    CScopedProcessVariable(const CScopedProcessVariable&) = delete;
    CScopedProcessVariable& operator=(const CScopedProcessVariable&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had;
};
