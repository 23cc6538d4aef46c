#include "faultscout/ModuleList.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>

namespace {

bool Listed(const std::vector<ProcessModule>& modules, const std::string& path)
{
    return std::any_of(modules.begin(), modules.end(),
                       [&](const ProcessModule& module) { return module.path == path; });
}

} // namespace

bool ListProcessModules(HANDLE process, std::vector<ProcessModule>& modules)
{
    modules.clear();
    // The list can grow between the two calls: ask again until it fits.
    std::vector<HMODULE> handles(64);
    for (;;) {
        DWORD needed = 0;
        DWORD size = static_cast<DWORD>(handles.size() * sizeof(HMODULE));
        if (!EnumProcessModules(process, handles.data(), size, &needed))
            return false;
        if (needed <= size) {
            handles.resize(needed / sizeof(HMODULE));
            break;
        }
        handles.resize(needed / sizeof(HMODULE) + 16);
    }
    for (HMODULE handle : handles) {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameExA(process, handle, path, sizeof path);
        MODULEINFO info = {};
        if (!length || !GetModuleInformation(process, handle, &info, sizeof info))
            continue;
        std::string lower(path, length);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!Listed(modules, lower))
            modules.push_back({lower, reinterpret_cast<DWORD64>(info.lpBaseOfDll), info.SizeOfImage});
    }
    return true;
}
