#include "JetRegistration.h"

#include <windows.h>
#include <string>

bool RegisterJetProvider(const char* unixPath)
{
    if (!unixPath || !*unixPath)
        return false;
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        return false;
    typedef HRESULT (WINAPI *RegisterFunc)();
    RegisterFunc registerServer = reinterpret_cast<RegisterFunc>(GetProcAddress(module, "DllRegisterServer"));
    return registerServer && SUCCEEDED(registerServer());
}
