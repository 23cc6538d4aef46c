// zym from the program folder, started and closed on two libraries: the
// sample and one of 10,000 albums. Prints milliseconds from the start to the
// main window, to every album listed, to the start-up's end (the first
// moment after which no dialog shows for a second) and for the close, and
// zym's peak memory; then what the large library takes over the sample,
// beside the size of its file.
//
//   shellbench.exe.so  (in a Wine prefix with an X display)
#include "tests/support/ProcessWindows.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include "JetRegistration.h"

#include <psapi.h>
#include <stdio.h>

#include <string>

namespace
{
const char kOptionsKey[] = "Software\\Halvane\\zym\\Options";
const char kTipKey[] = "Software\\Halvane\\zym\\Tip";
const int kLibraryWindowId = 108;
const int kPlayerWindowId = 114;
const DWORD kQuietMs = 1000;
const DWORD kTimeoutMs = 300000;
const DWORD kPollMs = 10;

void SetUpProfile(const std::string& library)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvane\\zym");
    RegSetKeyValueA(HKEY_CURRENT_USER, kOptionsKey, "New DB Path", REG_SZ, library.c_str(),
                    (DWORD)library.size() + 1);
    DWORD zero = 0, one = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, kOptionsKey, "COM Ports to Check", REG_DWORD, &zero, sizeof(zero));
    RegSetKeyValueA(HKEY_CURRENT_USER, kTipKey, "StartUp", REG_DWORD, &one, sizeof(one));
}

// Milliseconds since start until condition holds; -1 on time-out.
template <typename Condition>
long MsUntil(DWORD start, Condition condition)
{
    while (GetTickCount() - start < kTimeoutMs)
    {
        if (condition())
            return (long)(GetTickCount() - start);
        Sleep(kPollMs);
    }
    return -1;
}

double MiB(SIZE_T bytes)
{
    return bytes / (1024.0 * 1024.0);
}

// Peak working set in bytes; 0 when the system does not tell.
SIZE_T PeakMemory(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = { sizeof(counters) };
    return GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

// zym's peak memory once its start-up has ended.
SIZE_T Measure(const char* name, const std::string& library, int albums)
{
    SetUpProfile(library);
    std::string command = "\"" + WindowsPath(std::string(ZYM_PROGRAM_FOLDER) + "/zym.exe") + "\"";
    STARTUPINFOA startup = { sizeof(startup) };
    PROCESS_INFORMATION process = {};
    DWORD start = GetTickCount();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        printf("%s: zym did not start\n", name);
        return 0;
    }
    HWND main = nullptr;
    long window = MsUntil(start, [&] {
        for (HWND candidate : VisibleWindowsOf(process.dwProcessId))
            if (FindWindowExA(candidate, nullptr, "MDIClient", nullptr))
                main = candidate;
        return main != nullptr;
    });
    long listed = MsUntil(start, [&] { return main && ListRowsIn(GetDlgItem(main, kLibraryWindowId)) == albums; });
    main = WaitForQuietMainWindow(process.hProcess, process.dwProcessId, kPlayerWindowId, kQuietMs, kTimeoutMs);
    long ready = main ? (long)(GetTickCount() - start - kQuietMs) : -1;
    SIZE_T peak = PeakMemory(process.hProcess);
    DWORD closing = GetTickCount();
    if (main)
        PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD ended = WaitForSingleObject(process.hProcess, kTimeoutMs);
    long close = ended == WAIT_OBJECT_0 ? (long)(GetTickCount() - closing) : -1;
    if (ended != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    printf("%s (%d albums): window %ld ms, albums listed %ld ms, start-up ended %ld ms, close %ld ms, "
           "peak memory %.1f MiB\n", name, albums, window, listed, ready, close, MiB(peak));
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return peak;
}

SIZE_T FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}
}

int main()
{
    CTempFolder folder("shellbench");
    if (!folder.IsValid() || !RegisterJetProvider(ZYM_JET_DLL))
    {
        printf("shellbench: no temporary folder or no database provider\n");
        return 1;
    }
    const struct
    {
        const char* name;
        const char* library;
        int albums;
    } runs[] = {
        { "sample", ZYM_PROGRAM_FOLDER "/sample.mdb", ZYM_SAMPLE_ALBUMS },
        { "large", ZYM_LARGE_LIBRARY, ZYM_LARGE_ALBUMS },
    };
    SIZE_T peaks[2] = {};
    SIZE_T largeFile = 0;
    for (int i = 0; i < 2; i++)
    {
        std::string copy = folder.WindowsPath(runs[i].name) + ".mdb";
        CopyFileA(WindowsPath(runs[i].library).c_str(), copy.c_str(), FALSE);
        largeFile = FileSize(copy);
        peaks[i] = Measure(runs[i].name, copy, runs[i].albums);
    }
    if (peaks[0] && peaks[1] && largeFile)
        printf("the large library takes %.1f MiB over the sample; its file: %.1f MiB; ratio %.2f\n",
               MiB(peaks[1] - peaks[0]), MiB(largeFile), double(peaks[1] - peaks[0]) / largeFile);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvane\\zym");
    return 0;
}
