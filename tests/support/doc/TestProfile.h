// The application object of the document's tests: its profile lives under a
// registry key of the test's own, removed at the end.
#pragma once

#include <afxwin.h>

#include <string>

class CTestProfileApp : public CWinApp
{
public:
    explicit CTestProfileApp(const char* registryKey) : CWinApp("Zym"), m_key(registryKey)
    {
        SetRegistryKey(registryKey);
    }
    ~CTestProfileApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str()); }

private:
    std::string m_key;
};
