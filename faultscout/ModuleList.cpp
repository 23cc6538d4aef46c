#include "ModuleList.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>

bool ListProcessModules(HANDLE process, std::vector<std::string>& paths)
{
    paths.clear();
    // The list can grow between the two calls: ask again until it fits.
    std::vector<HMODULE> modules(64);
    for (;;) {
        DWORD needed = 0;
        DWORD size = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!EnumProcessModules(process, modules.data(), size, &needed))
            return false;
        if (needed <= size) {
            modules.resize(needed / sizeof(HMODULE));
            break;
        }
        modules.resize(needed / sizeof(HMODULE) + 16);
    }
    for (HMODULE module : modules) {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameExA(process, module, path, sizeof path);
        if (!length)
            continue;
        std::string lower(path, length);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (std::find(paths.begin(), paths.end(), lower) == paths.end())
            paths.push_back(lower);
    }
    return true;
}
