// A Winelib program copied beside its caller as NAME.exe (the ELF module itself,
// not the launcher script) starts through CreateProcess as a real Win32 child: it
// inherits pipe ends, and a handle duplicated into it is valid there. The crash
// link starts the reporter this way.
#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <string>

namespace {

struct Pipe
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    Pipe()
    {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        CreatePipe(&read, &write, &sa, 4096);
    }
    ~Pipe()
    {
        if (read) CloseHandle(read);
        if (write) CloseHandle(write);
    }
};

std::string Hex(HANDLE h)
{
    char text[32];
    wsprintfA(text, "%x", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(h)));
    return text;
}

class ChildStartTest : public ::testing::TestWithParam<const char*>
{
protected:
    CTempFolder folder{"childstart"};
};

TEST_P(ChildStartTest, ChildInheritsPipesAndReceivesDuplicatedHandle)
{
    ASSERT_TRUE(folder.IsValid());
    std::string dir = folder.WindowsPath(GetParam());
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::string exe = dir + "\\Probe.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(PROBE_CHILD_MODULE).c_str(), exe.c_str(), FALSE));

    Pipe toChild, fromChild;
    std::string command = "\"" + exe + "\" -x " + Hex(toChild.read) + " " + Hex(fromChild.write);
    STARTUPINFOA si = {sizeof si};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, DETACHED_PROCESS,
                               nullptr, nullptr, &si, &pi))
        << GetLastError();

    HANDLE inChild = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), pi.hProcess, &inChild,
                                PROCESS_ALL_ACCESS, TRUE, 0));
    DWORD value = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(inChild));
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(toChild.write, &value, sizeof value, &count, nullptr));
    DWORD answer = 0;
    ASSERT_TRUE(ReadFile(fromChild.read, &answer, sizeof answer, &count, nullptr));
    EXPECT_EQ(GetCurrentProcessId(), answer);

    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 20000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

INSTANTIATE_TEST_SUITE_P(Folders, ChildStartTest, ::testing::Values("plain", "with blanks"));

} // namespace
