// The module list of a live process: this test program's own.
#include "tests/support/TestFramework.h"

#include "faultscout/ModuleList.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ModuleListTest, ListsEveryLoadedModuleOnceLowerCasedWithItsPlace)
{
    std::vector<ProcessModule> modules;
    ASSERT_TRUE(ListProcessModules(GetCurrentProcess(), modules));
    std::vector<std::string> paths;
    for (const auto& module : modules)
        paths.push_back(module.path);
    for (HMODULE handle : {GetModuleHandleA(nullptr), GetModuleHandleA("kernel32.dll")}) {
        char path[MAX_PATH];
        GetModuleFileNameA(handle, path, sizeof path);
        auto found = std::find(paths.begin(), paths.end(), Lower(path));
        ASSERT_NE(paths.end(), found) << path;
        const ProcessModule& module = modules[found - paths.begin()];
        EXPECT_EQ(reinterpret_cast<DWORD64>(handle), module.base) << path;
        EXPECT_NE(0u, module.size) << path;
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(Lower(paths[i]), paths[i]);
        EXPECT_EQ(paths.end(), std::find(paths.begin() + i + 1, paths.end(), paths[i])) << paths[i];
    }
}

TEST(ModuleListTest, UnreadableProcessFailsWithEmptyList)
{
    std::vector<ProcessModule> modules = {{"stale", 1, 1}};
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(ListProcessModules(event, modules));
    EXPECT_NE(0u, GetLastError());
    EXPECT_TRUE(modules.empty());
    CloseHandle(event);
}

} // namespace
