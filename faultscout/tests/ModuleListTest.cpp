// The module list of a live process: this test program's own.
#include "TestFramework.h"

#include "ModuleList.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ModuleListTest, ListsEveryLoadedModuleOnceLowerCased)
{
    std::vector<std::string> paths;
    ASSERT_TRUE(ListProcessModules(GetCurrentProcess(), paths));
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    char kernel[MAX_PATH];
    GetModuleFileNameA(GetModuleHandleA("kernel32.dll"), kernel, sizeof kernel);
    for (const char* expected : {self, kernel})
        EXPECT_NE(paths.end(), std::find(paths.begin(), paths.end(), Lower(expected))) << expected;
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(Lower(paths[i]), paths[i]);
        EXPECT_EQ(paths.end(), std::find(paths.begin() + i + 1, paths.end(), paths[i])) << paths[i];
    }
}

TEST(ModuleListTest, UnreadableProcessFailsWithEmptyList)
{
    std::vector<std::string> paths = {"stale"};
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(ListProcessModules(event, paths));
    EXPECT_NE(0u, GetLastError());
    EXPECT_TRUE(paths.empty());
    CloseHandle(event);
}

} // namespace
